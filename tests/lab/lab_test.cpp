// The lab's figures: scaling into the map, tour measuring, edge diversity,
// and whole runs of the program's solver where the answer is known.
#include "tools/lab/lab.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "tools/lab/report.h"

namespace {

TspInstance Cities(const std::vector<std::pair<double, double>>& xy) {
  TspInstance instance;
  long id = 1;
  for (auto [x, y] : xy) instance.cities.push_back({id++, x, y});
  return instance;
}

TspInstance RandomCities(int n, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> coordinate(0.0, 5000.0);
  std::vector<std::pair<double, double>> xy;
  for (int i = 0; i < n; ++i) xy.emplace_back(coordinate(random), coordinate(random));
  return Cities(xy);
}

double Distance(const LabPoint& a, const LabPoint& b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

TEST(LabScale, FitsTheMapUniformlyAndCentred) {
  struct Case {
    const char* what;
    TspInstance instance;
  };
  const Case cases[] = {
      {"wide", Cities({{0, 0}, {2000, 0}, {1000, 500}, {2000, 500}})},
      {"tall, negative", Cities({{-5, -300}, {-5, 100}, {-45, -100}})},
      {"tiny", Cities({{0.001, 0.002}, {0.003, 0.001}, {0.002, 0.004}})},
  };
  for (const Case& c : cases) {
    std::vector<LabPoint> points = ScaleToMap(c.instance, 40.0f);
    ASSERT_EQ(points.size(), c.instance.cities.size()) << c.what;
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const LabPoint& p : points) {
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    // The longer side spans the map less both margins; both sides are
    // centred.
    EXPECT_NEAR(std::max(maxX - minX, maxY - minY), 880.0f, 0.01f) << c.what;
    EXPECT_NEAR(minX + maxX, 960.0f, 0.01f) << c.what;
    EXPECT_NEAR(minY + maxY, 960.0f, 0.01f) << c.what;
    // One scale for both axes: every distance grows by the same factor.
    const auto& cities = c.instance.cities;
    const double factor = Distance(points[0], points[1]) /
                          std::hypot(cities[0].x - cities[1].x, cities[0].y - cities[1].y);
    for (size_t i = 0; i < points.size(); ++i)
      for (size_t j = i + 1; j < points.size(); ++j)
        EXPECT_NEAR(Distance(points[i], points[j]),
                    factor * std::hypot(cities[i].x - cities[j].x, cities[i].y - cities[j].y), 0.01)
            << c.what << " " << i << "-" << j;
  }
  std::vector<LabPoint> same = ScaleToMap(Cities({{7, 7}, {7, 7}}));
  for (const LabPoint& p : same) {
    EXPECT_EQ(p.x, 480.0f);
    EXPECT_EQ(p.y, 480.0f);
  }
}

TEST(LabMeasure, ClosedTourLengthAndEdgeDiversity) {
  const std::vector<LabPoint> triangle = {{0, 0}, {3, 0}, {0, 4}};
  EXPECT_EQ(MeasureTour(triangle, {0, 1, 2}), 12.0f);
  EXPECT_EQ(MeasureTour(triangle, {2, 0, 1}), 12.0f);
  EXPECT_EQ(MeasureTour({{0, 0}, {6, 8}}, {1, 0}), 20.0f);  // there and back

  struct Case {
    const char* what;
    std::vector<std::vector<int>> tours;
    double diversity;
  };
  const Case cases[] = {
      {"one tour", {{0, 1, 2, 3, 4}}, 1.0},
      {"three copies", {{0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}}, 1.0 / 3.0},
      {"reversed and rotated: same edges", {{0, 1, 2, 3, 4}, {2, 1, 0, 4, 3}}, 0.5},
      {"no shared edge", {{0, 1, 2, 3, 4}, {0, 2, 4, 1, 3}}, 1.0},
      {"one edge shared of four", {{0, 1, 2, 3}, {0, 1, 3, 2}}, 6.0 / 8.0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(EdgeDiversity(c.tours), c.diversity) << c.what;
}

class LabRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    ASSERT_TRUE(StartLab(&error)) << error;
  }
  static void TearDownTestSuite() { StopLab(); }
};

// Four corners of a square: the perimeter is the only optimal tour, and the
// solver has to find it.
TEST_F(LabRun, FindsTheSquaresPerimeter) {
  const std::vector<LabPoint> points = ScaleToMap(Cities({{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
  const float optimal = MeasureTour(points, {0, 1, 2, 3});
  EXPECT_FLOAT_EQ(optimal, 4 * 880.0f);
  for (uint32_t seed : {1u, 2u, 3u}) {
    SeedRun run = RunSeed(points, seed, 30);
    EXPECT_EQ(run.best, optimal) << "seed " << seed;
    EXPECT_EQ(MeasureTour(points, run.bestTour), optimal) << "seed " << seed;
  }
}

TEST_F(LabRun, RecordsEveryGenerationAsTheProgramMeasuresIt) {
  const std::vector<LabPoint> points = ScaleToMap(RandomCities(100, 5));
  const int generations = 40;
  SeedRun run = RunSeed(points, 9, generations);
  ASSERT_EQ(run.history.size(), static_cast<size_t>(generations + 1));
  // The first population is the reset's 15 random tours; the step makes 45.
  EXPECT_EQ(run.history[0].candidates, 15);
  EXPECT_GT(run.history[0].diversity, 0.5);
  float previousBest = run.history[0].best;
  for (const GenerationStats& g : run.history) {
    if (g.generation > 0) {
      EXPECT_EQ(g.candidates, 45) << g.generation;
    }
    EXPECT_LT(g.best, g.worst) << g.generation;  // 45 tours of 100 cities never all tie
    EXPECT_GT(g.diversity, 0.0) << g.generation;
    EXPECT_LE(g.diversity, 1.0) << g.generation;
    // The seven shortest always survive, so the best never gets worse.
    EXPECT_LE(g.best, previousBest) << g.generation;
    previousBest = g.best;
  }
  EXPECT_LT(run.history.back().best, run.history[0].best);
  // The best tour comes back as indexes of the given points (with 100 houses
  // the program's house order by id text differs from the order of adding),
  // and measures what the program measured.
  std::vector<int> sorted = run.bestTour;
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < 100; ++i) ASSERT_EQ(sorted[static_cast<size_t>(i)], i);
  EXPECT_EQ(MeasureTour(points, run.bestTour), run.best);
}

TEST_F(LabRun, ASeedGivesTheSameRunEveryTime) {
  const std::vector<LabPoint> points = ScaleToMap(RandomCities(30, 3));
  SeedRun first = RunSeed(points, 4, 15);
  SeedRun again = RunSeed(points, 4, 15);
  SeedRun other = RunSeed(points, 5, 15);
  ASSERT_EQ(first.history.size(), again.history.size());
  for (size_t g = 0; g < first.history.size(); ++g) {
    EXPECT_EQ(first.history[g].best, again.history[g].best) << g;
    EXPECT_EQ(first.history[g].worst, again.history[g].worst) << g;
    EXPECT_EQ(first.history[g].diversity, again.history[g].diversity) << g;
  }
  EXPECT_EQ(first.bestTour, again.bestTour);
  EXPECT_NE(first.history[0].worst, other.history[0].worst);
}

TEST(LabReport, TicksAreRoundAndInsideTheRange) {
  struct Case {
    double low, high;
    int target;
    std::vector<double> ticks;
  };
  const Case cases[] = {
      {0, 2000, 8, {0, 200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000}},
      {0, 17305, 6, {0, 2000, 4000, 6000, 8000, 10000, 12000, 14000, 16000}},
      {0, 1, 4, {0, 0.2, 0.4, 0.6, 0.8, 1.0}},
      {3, 3, 5, {3}},
      {5, 1, 5, {}},
  };
  for (const Case& c : cases) {
    std::vector<double> ticks = AxisTicks(c.low, c.high, c.target);
    ASSERT_EQ(ticks.size(), c.ticks.size()) << c.low << ".." << c.high;
    for (size_t i = 0; i < ticks.size(); ++i) EXPECT_NEAR(ticks[i], c.ticks[i], 1e-9);
  }
}

}  // namespace
