#include "solver/genome.h"

#include <gtest/gtest.h>

#include "util/random.h"

namespace {

TEST(Genome, WidthsAreClamped) {
  QUEN_GENOM g("g");
  struct Case {
    int bits, stored;
  } cases[] = {{40, 32}, {-3, 1}, {0, 0}, {8, 8}, {32, 32}, {1, 1}};
  int total = 0;
  for (const Case& c : cases) {
    int index = g.AddGene(c.bits, "gene" + std::to_string(c.bits));
    EXPECT_EQ(g.GeneBits(index), c.stored) << c.bits;
    total += c.stored;
  }
  EXPECT_EQ(g.totalBits, total);
}

TEST(Genome, ExistingNameInAnyCaseReturnsItsIndex) {
  QUEN_GENOM g("g");
  g.AddGene(8, "0");
  g.AddGene(8, "3");
  g.AddGene(4, "Abc");
  EXPECT_EQ(g.AddGene(8, "3"), 1);
  EXPECT_EQ(g.AddGene(16, "aBC"), 2);
  EXPECT_EQ(g.GeneBits(2), 4);
  EXPECT_EQ(g.GeneCount(), 3);
  EXPECT_EQ(g.totalBits, 20);
  g.Clear();
  EXPECT_EQ(g.GeneCount(), 0);
  EXPECT_EQ(g.totalBits, 0);
  EXPECT_EQ(g.name, "g");
}

TEST(GeneArray, FillCopiesTheGenomeAndDrawsValues) {
  SeedRandom(11);
  QUEN_GENOM g("QuenPath");
  for (const char* name : {"0", "1", "2"}) g.AddGene(8, name);
  QUEN_DATA data;
  EXPECT_FALSE(data.HasValues());
  data.Fill(&g);
  ASSERT_EQ(data.Count(), 3);
  EXPECT_EQ(data.genom->name, "QuenPath");
  EXPECT_EQ(data.genom->totalBits, 24);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(data.genom->GeneName(i), std::to_string(i));
    EXPECT_EQ(data.genom->GeneBits(i), 8);
    EXPECT_GE(data.GetGene(i), 0);
    EXPECT_LE(data.GetGene(i), 255);
  }
  // The copy outlives a Clear of its source.
  g.Clear();
  EXPECT_EQ(data.Count(), 3);
  EXPECT_EQ(data.genom->GeneName(2), "2");
}

TEST(GeneArray, FillDiscardsOldContentsEvenFromAnEmptyGenome) {
  QUEN_GENOM g("g");
  g.AddGene(8, "0");
  QUEN_DATA data;
  data.Fill(&g);
  data.reserved = 9;
  QUEN_GENOM empty("e");
  data.Fill(&empty);
  EXPECT_FALSE(data.HasValues());
  EXPECT_EQ(data.Count(), 0);
  EXPECT_EQ(data.reserved, 0u);
  data.Fill(&g);
  data.Fill(nullptr);
  EXPECT_FALSE(data.HasValues());
  data.Empty();
  data.Empty();  // safe to repeat
}

TEST(GeneArray, OutOfRangeIndexesReadZeroAndWriteNothing) {
  QUEN_GENOM g("g");
  for (const char* name : {"0", "1"}) g.AddGene(8, name);
  QUEN_DATA data;
  data.Fill(&g);
  data.SetGene(0, 7);
  data.SetGene(1, 9);
  data.SetGene(2, 5);
  data.SetGene(-1, 5);
  EXPECT_EQ(data.GetGene(-1), 0);
  EXPECT_EQ(data.GetGene(2), 0);
  EXPECT_EQ(data.GetGene(0), 7);
  EXPECT_EQ(data.GetGene(1), 9);
  QUEN_DATA empty;
  empty.SetGene(0, 3);
  EXPECT_EQ(empty.GetGene(0), 0);
}

}  // namespace
