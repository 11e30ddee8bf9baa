// Genome copies share their gene table until one of them changes it; the
// changes must never reach the other copies, and a gene without a value
// must read as 0 instead of past the array.
#include <gtest/gtest.h>

#include "solver/genome.h"
#include "util/random.h"

namespace {

TEST(GeneSharing, ACopyChangedAfterAFillLeavesTheOthersAlone) {
  QUEN_GENOM source("QuenPath");
  for (const char* name : {"0", "1"}) source.AddGene(8, name);
  QUEN_DATA a, b;
  a.Fill(&source);
  b.Fill(&source);

  EXPECT_EQ(a.genom->AddGene(8, "Extra"), 2);
  EXPECT_EQ(a.genom->AddGene(3, "EXTRA"), 2) << "the copy still finds names in any case";
  EXPECT_EQ(source.AddGene(4, "late"), 2);
  struct Case {
    const QUEN_GENOM* genome;
    int count, totalBits;
    const char* third;
  } cases[] = {{a.genom, 3, 24, "Extra"}, {b.genom, 2, 16, ""}, {&source, 3, 20, "late"}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.genome->GeneCount(), c.count) << c.third;
    EXPECT_EQ(c.genome->totalBits, c.totalBits) << c.third;
    EXPECT_EQ(c.genome->GeneName(2), c.third);
    EXPECT_EQ(c.genome->GeneName(1), "1");
  }

  // a's new gene has no value: it reads 0 and takes no write.
  a.SetGene(2, 77);
  EXPECT_EQ(a.GetGene(2), 0);
  EXPECT_EQ(a.ValueCount(), 2);
  a.SetGene(1, 9);
  EXPECT_EQ(a.GetGene(1), 9);
  EXPECT_EQ(b.Count(), 2);
}

TEST(GeneSharing, FillBlankShapesWithoutDrawing) {
  QUEN_GENOM source("g");
  for (const char* name : {"0", "1", "2"}) source.AddGene(8, name);
  // What the source gives after the three byte draws of one Fill.
  SeedRandom(42);
  for (int i = 0; i < 3; ++i) RandomBits(8);
  const int32_t afterOneFill = RandomDraw();

  SeedRandom(42);
  QUEN_DATA data;
  data.Fill(&source);
  data.FillBlank(&source);
  EXPECT_EQ(RandomDraw(), afterOneFill) << "FillBlank draws nothing";
  ASSERT_EQ(data.Count(), 3);
  EXPECT_EQ(data.genom->totalBits, 24);
  EXPECT_EQ(data.genom->name, "g");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(data.GetGene(i), 0);
  data.FillBlank(nullptr);
  EXPECT_FALSE(data.HasValues());
}

}  // namespace
