#include "util/random.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Random, BitsStayInRange) {
  SeedRandom(3);
  std::set<int32_t> seen1, seen8;
  bool negative32 = false;
  for (int i = 0; i < 4000; ++i) {
    int32_t v1 = RandomBits(1);
    int32_t v8 = RandomBits(8);
    ASSERT_TRUE(v1 == 0 || v1 == 1);
    ASSERT_GE(v8, 0);
    ASSERT_LE(v8, 255);
    seen1.insert(v1);
    seen8.insert(v8);
    if (RandomBits(32) < 0) negative32 = true;
  }
  EXPECT_EQ(seen1.size(), 2u);
  EXPECT_EQ(seen8.size(), 256u);
  EXPECT_TRUE(negative32);  // 32 bits reach the sign bit
  int32_t v12 = RandomBits(12);
  EXPECT_GE(v12, 0);
  EXPECT_LT(v12, 4096);
}

TEST(Random, BelowStaysInRangeAndZeroGivesZero) {
  SeedRandom(5);
  EXPECT_EQ(RandomBelow(0), 0);
  EXPECT_EQ(RandomBelow(-3), 0);
  std::set<int32_t> seen;
  for (int i = 0; i < 1000; ++i) {
    int32_t v = RandomBelow(7);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 7);
    seen.insert(v);
    ASSERT_GE(RandomDraw(), 0);
  }
  EXPECT_EQ(seen.size(), 7u);
}

TEST(Random, SeedMakesRunsReproducible) {
  SeedRandom(42);
  int32_t a = RandomDraw(), b = RandomBits(32);
  SeedRandom(42);
  EXPECT_EQ(RandomDraw(), a);
  EXPECT_EQ(RandomBits(32), b);
}

}  // namespace
