#include "util/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "gfx/rect.h"

namespace {

TEST(NumberKey, Examples) {
  struct Case {
    double value;
    const char* suffix;
    const char* key;
  } cases[] = {
      {0.9, "", "01000000000"},
      {12.7, "", "01000000012"},
      {-100, "", "00999999900"},
      {10, "17", "0100000001017"},
      {-100, "3", "009999999003"},
      {-0.9, "", "01000000000"},  // truncation toward zero
      {1147483647.0, "", "02147483647"},
      {-1000000000.0, "", "00000000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberKey(c.suffix, c.value), c.key) << c.value;
}

TEST(NumberKey, TextOrderIsNumericOrderOverTheRange) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int64_t> any(-1000000000LL, 1147483647LL);
  std::vector<int64_t> values = {-1000000000LL, -1, 0, 1, 999, 1000, 1147483647LL};
  for (int i = 0; i < 2000; ++i) values.push_back(any(rng));
  std::vector<std::pair<std::string, int64_t>> keyed;
  for (int64_t v : values) keyed.emplace_back(NumberKey("", static_cast<double>(v)), v);
  std::sort(keyed.begin(), keyed.end());
  for (size_t i = 1; i < keyed.size(); ++i)
    ASSERT_LE(keyed[i - 1].second, keyed[i].second) << keyed[i - 1].first << " " << keyed[i].first;
}

TEST(NumberKey, OutOfRangeValuesDoNotOverflow) {
  EXPECT_EQ(NumberKey("", 1e30), NumberKey("", 2147483647.0));
  EXPECT_EQ(NumberKey("", 0.0 / 0.0), NumberKey("", 0.0));
  EXPECT_FALSE(NumberKey("", -1e30).empty());
}

TEST(StartsWith, Cases) {
  struct Case {
    const char* text;
    const char* prefix;
    bool expected;
  } cases[] = {
      {"qbuilding", "", true},  {"", "", true},           {"qbuilding", "q", true},
      {"qbuilding", "qbuilding", true}, {"q", "qbuilding", false}, {"qpath", "qb", false},
      {"Qpath", "q", false},    {"", "q", false},
  };
  for (const Case& c : cases) EXPECT_EQ(StartsWith(c.text, c.prefix), c.expected) << c.text << "/" << c.prefix;
}

TEST(HgeRect, EmptyFlag) {
  hgeRect r;
  EXPECT_TRUE(r.empty);
  r.Set(1, 2, 3, 4);
  EXPECT_FALSE(r.empty);
  EXPECT_EQ(r.x2, 3);
  r.Clear();
  EXPECT_TRUE(r.empty);
}

TEST(HgeRect, IntersectsIsStrict) {
  hgeRect box(10, 10, 20, 20);
  struct Case {
    float x, y;
    bool hit;
  } points[] = {
      {15, 15, true}, {10, 15, false}, {20, 15, false}, {15, 10, false},
      {15, 20, false}, {10.01f, 19.99f, true}, {25, 15, false},
  };
  for (const Case& p : points)
    EXPECT_EQ(box.Intersects(hgeRect(p.x, p.y, p.x, p.y)), p.hit) << p.x << "," << p.y;
  EXPECT_TRUE(box.Intersects(hgeRect(19, 19, 30, 30)));
  EXPECT_FALSE(box.Intersects(hgeRect(20, 10, 30, 20)));  // touching edges
  hgeRect cleared(10, 10, 20, 20);
  cleared.Clear();
  EXPECT_TRUE(cleared.Intersects(hgeRect(15, 15, 15, 15)));  // the flag is not looked at
}

}  // namespace
