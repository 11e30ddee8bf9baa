// Solver benchmarks on the fake engine: one evolution step at 50, 100 and
// 200 houses, and the crossover's fill against the plain nested search.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/frame.h"
#include "bench/app_scenario.h"
#include "bench/frame_samples.h"
#include "solver/evolution.h"
#include "solver/world.h"
#include "tests/support/fake_engine.h"
#include "tests/support/world_fixtures.h"
#include "util/random.h"

namespace {

constexpr uint32_t SEED = 11;
constexpr int32_t EMPTY = 255;

// One Evolve on 45 candidates. Before each step, untimed, what the frame
// before it does: EditBuildings refreshes the 45 labels (the step removes
// those of the culled candidates) and DrawTours measures the lengths it
// ranks by.
void BM_Evolve(benchmark::State& state) {
  const int houses = static_cast<int>(state.range(0));
  SolverScenario scenario;
  std::string error;
  if (!StartSolverScenario(scenario, houses, FULL_POPULATION, SEED, &error)) {
    StopSolverScenario(scenario);
    state.SkipWithError(error.c_str());
    return;
  }
  TimedSeries steps;
  Stopwatch watch;
  int smallest = FULL_POPULATION, largest = 0;
  for (auto _ : state) {
    EditBuildings(&World, REST_X, REST_Y);
    DrawTours();
    watch.Start();
    Evolve(&World);
    state.SetIterationTime(watch.Stop());
    steps.Add(watch);
    const int candidates = scenario.CandidateCount();
    smallest = std::min(smallest, candidates);
    largest = std::max(largest, candidates);
  }
  steps.Report(state);
  state.counters["candidates_min"] = smallest;
  state.counters["candidates_max"] = largest;
  StopSolverScenario(scenario);
}
BENCHMARK(BM_Evolve)->Arg(50)->Arg(100)->Arg(200)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Steady-clock seconds of one call (the CPU clock costs a system call,
// which would weigh on a fill of a microsecond or two).
template <typename Work>
double WallSeconds(Work work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The fill as the step's description first gives it: for every empty
// position, the first gene of parent B that is not yet among the child's d
// genes.
void NestedFill(const QUEN_DATA& parentB, QUEN_DATA& child, int d) {
  for (int l = 0; l < d; ++l) {
    if (static_cast<uint32_t>(child.GetGene(l)) < static_cast<uint32_t>(EMPTY)) continue;
    for (int m = 0; m < d; ++m) {
      const int32_t g = parentB.GetGene(m);
      bool placed = false;
      for (int k = 0; k < d && !placed; ++k) placed = child.GetGene(k) == g;
      if (!placed) {
        child.SetGene(l, g);
        break;
      }
    }
  }
}

// The set-based CrossoverFill against NestedFill on the same two parents
// (two tours of a grown 200-house population) and the same random segment,
// each fill timed on its own. The two children must come out equal.
void BM_CrossoverFill(benchmark::State& state) {
  constexpr int GENES = MAX_BUILDINGS;
  SolverScenario scenario;
  std::string error;
  if (!StartSolverScenario(scenario, GENES, FULL_POPULATION, SEED, &error)) {
    StopSolverScenario(scenario);
    state.SkipWithError(error.c_str());
    return;
  }
  const std::vector<QPATHDATA*> candidates = scenario.Candidates();
  const QUEN_DATA& parentA = candidates.front()->genes;
  const QUEN_DATA& parentB = candidates.back()->genes;
  QUEN_DATA fast, nested;
  fast.FillBlank(&TemplateGenome);
  nested.FillBlank(&TemplateGenome);
  FrameSamples setTimes, nestedTimes;
  bool differ = fast.ValueCount() != GENES;
  for (auto _ : state) {
    int t = RandomBelow(GENES), v = RandomBelow(GENES);
    if (t > v) std::swap(t, v);
    CrossoverSegment(parentA, fast, t, v);
    CrossoverSegment(parentA, nested, t, v);

    const double setSeconds = WallSeconds([&] { CrossoverFill(parentB, fast); });
    const double nestedSeconds = WallSeconds([&] { NestedFill(parentB, nested, GENES); });

    state.SetIterationTime(setSeconds);
    setTimes.Add(setSeconds);
    nestedTimes.Add(nestedSeconds);
    for (int l = 0; l < GENES && !differ; ++l) differ = fast.GetGene(l) != nested.GetGene(l);
  }
  // Medians: a fill lasts microseconds, and the odd one that a preemption
  // swamped must not move the figure.
  const double setMedian = setTimes.PercentileSeconds(0.5);
  const double nestedMedian = nestedTimes.PercentileSeconds(0.5);
  state.counters["set_median_us"] = setMedian * 1e6;
  state.counters["nested_median_us"] = nestedMedian * 1e6;
  state.counters["speedup"] = setMedian > 0 ? nestedMedian / setMedian : 0;
  StopSolverScenario(scenario);
  if (differ) state.SkipWithError("the set-based fill and the nested search disagree");
}
BENCHMARK(BM_CrossoverFill)->Iterations(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
