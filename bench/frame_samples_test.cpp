// The benchmarks' sample statistics: the nearest-rank percentile the frame
// budgets are checked on, the mean and the maximum.
#include "bench/frame_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

FrameSamples Of(std::vector<double> values) {
  FrameSamples samples;
  for (double v : values) samples.Add(v);
  return samples;
}

std::vector<double> OneTo(int n) {
  std::vector<double> values;
  for (int i = 1; i <= n; ++i) values.push_back(i);
  return values;
}

TEST(FrameSamplesTest, NearestRankPercentiles) {
  struct Case {
    std::vector<double> values;
    double fraction;
    double expected;
  };
  const Case cases[] = {
      {OneTo(100), 0.99, 99},  // 99 of 100 samples are at most 99
      {OneTo(100), 0.5, 50},
      {OneTo(1000), 0.99, 990},
      {OneTo(3000), 0.99, 2970},
      {OneTo(101), 0.99, 100},  // rank ceil(99.99) = 100
      {OneTo(10), 0.99, 10},    // too few samples: the largest
      {OneTo(10), 1.0, 10},
      {OneTo(10), 0.0, 1},  // rank 0 is clamped to the smallest
      {{7}, 0.99, 7},
      {{}, 0.99, 0},
  };
  for (const Case& c : cases) {
    std::vector<double> shuffled = c.values;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(3));
    EXPECT_EQ(Of(shuffled).PercentileSeconds(c.fraction), c.expected)
        << c.values.size() << " samples, fraction " << c.fraction;
  }
}

TEST(FrameSamplesTest, MeanAndMaxOfUnorderedSamples) {
  const FrameSamples samples = Of({0.004, 0.001, 0.010, 0.001});
  EXPECT_DOUBLE_EQ(samples.MeanSeconds(), 0.004);
  EXPECT_DOUBLE_EQ(samples.MaxSeconds(), 0.010);
  EXPECT_EQ(samples.Count(), 4u);
  const FrameSamples none;
  EXPECT_EQ(none.MeanSeconds(), 0);
  EXPECT_EQ(none.MaxSeconds(), 0);
}

}  // namespace
