// Per-frame cost of the scene in the program's worst case: 200 houses and 45
// candidates. Not part of the build yet; built by hand against a Release
// build directory, for example:
//
//   g++ -std=c++20 -O2 -I. bench/scene_bench.cpp build/libquenpath_core.a
//       build/tests/libqp_fake.a -lbenchmark -lpthread -o /tmp/scene_bench
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "scene/scene.h"
#include "tests/support/fake_engine.h"
#include "tests/support/scene_fixtures.h"

namespace {

struct Fixture {
  Fixture() {
    FakeEngine::Get().Reset();
    FakeEngine::Get().recordDrawing = false;
    built = scene_fixtures::BuildTourScene(scene);
    // Mouse positions over the map: on houses, between them and off the grid.
    for (int i = 0; i < 64; ++i)
      points.push_back(
          {20.0f + 14.7f * static_cast<float>(i), 30.0f + 7.3f * static_cast<float>(i)});
  }
  TARN scene;
  scene_fixtures::TourScene built;
  struct Point {
    float x, y;
  };
  std::vector<Point> points;
};

void BM_CollectCandidates(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) benchmark::DoNotOptimize(f.scene.CollectObjects("qpath", false, nullptr));
}
BENCHMARK(BM_CollectCandidates);

void BM_CollectHousesToList(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    std::unique_ptr<NamedList<TARN_OBJECT>> list(
        f.scene.CollectObjectsToList("qbuilding", false, nullptr));
    benchmark::DoNotOptimize(list->Count());
  }
}
BENCHMARK(BM_CollectHousesToList);

void BM_FindNearestHouse(benchmark::State& state) {
  Fixture f;
  size_t i = 0;
  for (auto _ : state) {
    const auto& p = f.points[i++ % f.points.size()];
    benchmark::DoNotOptimize(
        f.scene.FindNearestObject("qbuilding", true, p.x, p.y, 32, nullptr, nullptr));
  }
}
BENCHMARK(BM_FindNearestHouse);

void BM_FindHouseInRect(benchmark::State& state) {
  Fixture f;
  size_t i = 0;
  for (auto _ : state) {
    const auto& p = f.points[i++ % f.points.size()];
    hgeRect at(p.x, p.y, p.x + 1, p.y + 1);
    benchmark::DoNotOptimize(f.scene.FindObjectInRect(&at, "qbuilding", nullptr));
  }
}
BENCHMARK(BM_FindHouseInRect);

// The four queries the program makes every frame.
void BM_FrameQueries(benchmark::State& state) {
  Fixture f;
  size_t i = 0;
  for (auto _ : state) {
    const auto& p = f.points[i++ % f.points.size()];
    benchmark::DoNotOptimize(f.scene.CollectObjects("qpath", false, nullptr));
    std::unique_ptr<NamedList<TARN_OBJECT>> list(
        f.scene.CollectObjectsToList("qbuilding", false, nullptr));
    benchmark::DoNotOptimize(
        f.scene.FindNearestObject("qbuilding", true, p.x, p.y, 32, nullptr, nullptr));
    hgeRect at(p.x, p.y, p.x + 1, p.y + 1);
    benchmark::DoNotOptimize(f.scene.FindObjectInRect(&at, "qbuilding", nullptr));
  }
}
BENCHMARK(BM_FrameQueries);

// A candidate replaced, as the evolution step does: delete the oldest, make a
// new one. The results list holds all 45, the worst case for blanking it.
void BM_ReplaceCandidate(benchmark::State& state) {
  Fixture f;
  TARN_GRAPHICS* path = f.scene.FindGraphics("qpath");
  f.scene.CollectObjects("qpath", false, nullptr);
  size_t oldest = 0;
  for (auto _ : state) {
    f.scene.DeleteObject(f.built.candidates[oldest], false);
    TARN_OBJECT* o = f.scene.CreateObject("qpath", path, -100, -100, 0);
    o->visible = false;
    f.built.candidates[oldest] = o;
    oldest = (oldest + 1) % f.built.candidates.size();
  }
}
BENCHMARK(BM_ReplaceCandidate);

// A house deleted under the mouse and placed again, with the results list
// holding all 200 houses.
void BM_ReplaceHouse(benchmark::State& state) {
  Fixture f;
  TARN_GRAPHICS* house = f.scene.FindGraphics("qbuilding");
  f.scene.CollectObjects("qbuilding", false, nullptr);
  size_t i = 0;
  for (auto _ : state) {
    TARN_OBJECT*& slot = f.built.houses[(i * 37) % f.built.houses.size()];
    float x = slot->x, y = slot->y;
    f.scene.DeleteObject(slot, false);
    slot = f.scene.CreateObject("qbuilding", house, x, y, 0);
    f.scene.SetObjectDepth(slot, 10);
    ++i;
  }
}
BENCHMARK(BM_ReplaceHouse);

void BM_Render(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) f.scene.Render(0, 0, 0, 0);
}
BENCHMARK(BM_Render);

}  // namespace

BENCHMARK_MAIN();
