// Frame benchmarks on the fake engine (drawing counted, not stored): the
// whole frame at full load, the tour drawing alone, and the house added on
// a left click at 199 houses.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/frame.h"
#include "bench/app_scenario.h"
#include "bench/frame_samples.h"
#include "solver/world.h"
#include "tests/support/fake_engine.h"
#include "tests/support/world_fixtures.h"

namespace {

constexpr uint32_t SEED = 7;
constexpr int FULL_HOUSES = MAX_BUILDINGS;
// 3000 frames at 50 fps is one minute of F held: about 500 evolution steps,
// so the 99th percentile rests on some 30 of the slowest frames.
constexpr int FULL_LOAD_FRAMES = 3000;

// One FrameUpdate + FrameRender at 200 houses and 45 candidates with F held
// (Evolve every sixth frame or so), each frame timed on its own.
void BM_FrameFullLoad(benchmark::State& state) {
  FullLoadApp app;
  std::string error;
  if (!app.Start(FULL_HOUSES, SEED, &error)) {
    app.Stop();
    state.SkipWithError(error.c_str());
    return;
  }
  FakeEngine& fake = FakeEngine::Get();
  TimedSeries frames, evolveFrames;
  frames.Reserve(static_cast<size_t>(state.max_iterations));
  Stopwatch watch;
  long long lines = 0;
  int smallest = FULL_POPULATION, largest = 0;
  for (auto _ : state) {
    const int idsBefore = World.pathCount;
    fake.ClearDrawing();
    watch.Start();
    app.Frame();
    state.SetIterationTime(watch.Stop());
    frames.Add(watch);
    // Evolve is the only thing that hands out new candidate ids here.
    if (World.pathCount != idsBefore) evolveFrames.Add(watch);
    lines += fake.lineCount;
    const int candidates = FullLoadApp::CandidateCount();
    smallest = std::min(smallest, candidates);
    largest = std::max(largest, candidates);
  }
  frames.Report(state);
  evolveFrames.Report(state, "evolve_");
  const double n = static_cast<double>(frames.Count());
  state.counters["evolve_share"] = static_cast<double>(evolveFrames.Count()) / n;
  state.counters["lines_per_frame"] = static_cast<double>(lines) / n;
  state.counters["houses"] = FullLoadApp::HouseCount();
  state.counters["candidates_min"] = smallest;
  state.counters["candidates_max"] = largest;
  app.Stop();
}
BENCHMARK(BM_FrameFullLoad)
    ->Iterations(FULL_LOAD_FRAMES)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The solver's scenario at n houses with a grown population; the labels made
// as the frame's EditBuildings makes them.
bool StartSolver(SolverScenario& scenario, int houses, int candidates, std::string* error) {
  if (!StartSolverScenario(scenario, houses, candidates, SEED, error)) return false;
  FakeEngine::Get().ReleaseAll();
  EditBuildings(&World, REST_X, REST_Y);
  return true;
}

// The tour drawing at 200 houses x 45 candidates: 9,000 lines drawn and
// measured, the shortest marked.
void BM_DrawTours(benchmark::State& state) {
  SolverScenario scenario;
  std::string error;
  if (!StartSolver(scenario, FULL_HOUSES, FULL_POPULATION, &error)) {
    StopSolverScenario(scenario);
    state.SkipWithError(error.c_str());
    return;
  }
  FakeEngine& fake = FakeEngine::Get();
  fake.ClearDrawing();
  for (auto _ : state) DrawTours();
  state.counters["lines_per_call"] =
      static_cast<double>(fake.lineCount) / static_cast<double>(state.iterations());
  StopSolverScenario(scenario);
}
BENCHMARK(BM_DrawTours)->Unit(benchmark::kMicrosecond);

// A free spot for one more house: on the map, clear of the links, more than
// the spacing away from every house.
bool FreeSpot(const SolverScenario& scenario, float* x, float* y) {
  const std::vector<QPATHDATA*> houses = scenario.Houses();
  for (float sy = 40; sy < 900; sy += 7)
    for (float sx = 40; sx < 920; sx += 7) {
      bool clear = true;
      for (const QPATHDATA* house : houses) {
        const float dx = house->object->x - sx, dy = house->object->y - sy;
        if (std::sqrt(dx * dx + dy * dy) <= BUILDING_SPACING + 2) {
          clear = false;
          break;
        }
      }
      if (clear) {
        *x = sx;
        *y = sy;
        return true;
      }
    }
  return false;
}

// What EditBuildings does on the left click that adds the 200th house:
// AddBuilding, ResetPaths over 200 houses for the 45 candidates, and the 45
// labels made afresh. Between iterations (not timed) a right click there
// takes the house away again.
void BM_AddHouse(benchmark::State& state) {
  SolverScenario scenario;
  std::string error;
  if (!StartSolver(scenario, FULL_HOUSES - 1, FULL_POPULATION, &error)) {
    StopSolverScenario(scenario);
    state.SkipWithError(error.c_str());
    return;
  }
  float x = 0, y = 0;
  if (!FreeSpot(scenario, &x, &y)) {
    StopSolverScenario(scenario);
    state.SkipWithError("no free spot for the 200th house");
    return;
  }
  FakeEngine& fake = FakeEngine::Get();
  bool wrong = false;
  Stopwatch watch;
  TimedSeries adds;
  for (auto _ : state) {
    FrameClock = NextInputTime + 1;
    fake.ReleaseAll();
    fake.Hold(KEY_LBUTTON);
    watch.Start();
    EditBuildings(&World, x, y);
    state.SetIterationTime(watch.Stop());
    adds.Add(watch);

    wrong = wrong || scenario.HouseCount() != FULL_HOUSES ||
            CandidatePanel.FindItem(std::to_string(FULL_POPULATION - 1)) == nullptr;
    FrameClock = NextInputTime + 1;
    fake.ReleaseAll();
    fake.Hold(KEY_RBUTTON);
    EditBuildings(&World, x, y);
    wrong = wrong || scenario.HouseCount() != FULL_HOUSES - 1;
  }
  fake.ReleaseAll();
  adds.Report(state);
  state.counters["candidates"] = scenario.CandidateCount();
  StopSolverScenario(scenario);
  if (wrong) state.SkipWithError("the click did not add and the right click did not remove");
}
BENCHMARK(BM_AddHouse)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
