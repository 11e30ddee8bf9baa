// The lab's runs: scaling an instance into the map, the headless program
// state, and one seed's run of the program's solver with its figures.
#include "tools/lab/lab.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <unordered_map>

#include "app/config.h"
#include "app/frame.h"
#include "app/program.h"
#include "solver/evolution.h"
#include "solver/world.h"
#include "tests/support/fake_engine.h"
#include "tests/support/world_fixtures.h"
#include "util/random.h"

std::vector<LabPoint> ScaleToMap(const TspInstance& instance, float margin) {
  std::vector<LabPoint> points;
  if (instance.cities.empty()) return points;
  double minX = instance.cities[0].x, maxX = minX;
  double minY = instance.cities[0].y, maxY = minY;
  for (const TspCity& city : instance.cities) {
    minX = std::min(minX, city.x);
    maxX = std::max(maxX, city.x);
    minY = std::min(minY, city.y);
    maxY = std::max(maxY, city.y);
  }
  const double room = std::max(0.0, static_cast<double>(MAP_WIDTH) - 2.0 * margin);
  const double span = std::max(maxX - minX, maxY - minY);
  const double scale = span > 0.0 ? room / span : 0.0;
  // Centre both axes, so the narrower one gets equal space on either side.
  const double offsetX = 0.5 * (MAP_WIDTH - (maxX - minX) * scale);
  const double offsetY = 0.5 * (MAP_HEIGHT - (maxY - minY) * scale);
  points.reserve(instance.cities.size());
  for (const TspCity& city : instance.cities) {
    points.push_back({static_cast<float>(offsetX + (city.x - minX) * scale),
                      static_cast<float>(offsetY + (city.y - minY) * scale)});
  }
  return points;
}

float MeasureTour(const std::vector<LabPoint>& points, const std::vector<int>& order) {
  const size_t n = order.size();
  if (n < 2) return 0.0f;
  float length = 0.0f;
  for (size_t j = 0; j < n; ++j) {
    const LabPoint& a = points[static_cast<size_t>(order[j])];
    const LabPoint& b = points[static_cast<size_t>(order[(j + 1) % n])];
    length = static_cast<float>(length + PointDistance(a.x, a.y, b.x, b.y));
  }
  return length;
}

double EdgeDiversity(const std::vector<std::vector<int>>& tours) {
  size_t total = 0;
  int n = 0;
  for (const std::vector<int>& tour : tours) n = std::max(n, static_cast<int>(tour.size()));
  if (n < 2) return 0.0;
  std::vector<char> seen(static_cast<size_t>(n) * static_cast<size_t>(n), 0);
  size_t distinct = 0;
  for (const std::vector<int>& tour : tours) {
    const size_t length = tour.size();
    for (size_t j = 0; j < length; ++j) {
      int a = tour[j], b = tour[(j + 1) % length];
      if (a < 0 || b < 0 || a >= n || b >= n) continue;
      ++total;
      if (a > b) std::swap(a, b);
      char& mark = seen[static_cast<size_t>(a) * static_cast<size_t>(n) + static_cast<size_t>(b)];
      if (!mark) {
        mark = 1;
        ++distinct;
      }
    }
  }
  return total ? static_cast<double>(distinct) / static_cast<double>(total) : 0.0;
}

namespace {

bool labStarted = false;
// The program-wide objects set up as at start-up: MainScene with the house
// and tour graphics, a font for the labels, an empty world.
SolverScenario scenario;

// The live candidates, in the scene's order, as the solver sees them.
std::vector<const QPATHDATA*> Candidates() {
  std::vector<const QPATHDATA*> entries;
  const int count = MainScene->CollectObjects("qpath", false, nullptr);
  for (int i = 0; i < count; ++i) {
    TARN_OBJECT* object = MainScene->GetResult(i);
    if (object && object->owner) entries.push_back(static_cast<const QPATHDATA*>(object->owner));
  }
  return entries;
}

std::vector<int> Tour(const QPATHDATA& entry) {
  const int n = entry.genes.Count();
  std::vector<int> tour(static_cast<size_t>(n));
  for (int j = 0; j < n; ++j) tour[static_cast<size_t>(j)] = entry.genes.GetGene(j);
  return tour;
}

GenerationStats Measure(int generation) {
  GenerationStats stats;
  stats.generation = generation;
  std::vector<const QPATHDATA*> entries = Candidates();
  stats.candidates = static_cast<int>(entries.size());
  if (entries.empty()) return stats;
  stats.best = std::numeric_limits<float>::max();
  stats.worst = std::numeric_limits<float>::lowest();
  double sum = 0.0;
  std::vector<std::vector<int>> tours;
  tours.reserve(entries.size());
  for (const QPATHDATA* entry : entries) {
    stats.best = std::min(stats.best, entry->length);
    stats.worst = std::max(stats.worst, entry->length);
    sum += entry->length;
    tours.push_back(Tour(*entry));
  }
  stats.mean = sum / static_cast<double>(entries.size());
  stats.diversity = EdgeDiversity(tours);
  return stats;
}

}  // namespace

bool StartLab(std::string* error) {
  if (labStarted) return true;
  FakeEngine& fake = FakeEngine::Get();
  fake.Reset();
  fake.recordDrawing = false;
  scenario.SetUp();
  if (!Engine || !MainScene || !MainScene->FindGraphics("qbuilding") ||
      !MainScene->FindGraphics("qpath")) {
    *error = "the headless program could not be set up";
    scenario.TearDown();
    return false;
  }
  labStarted = true;
  return true;
}

void StopLab() {
  if (!labStarted) return;
  ClearAll();
  scenario.TearDown();
  labStarted = false;
}

SeedRun RunSeed(const std::vector<LabPoint>& points, uint32_t seed, int generations) {
  SeedRun run;
  run.seed = seed;
  ClearAll();
  CreatePaths(&World);
  std::unordered_map<const QPATHDATA*, int> pointOf;
  for (size_t i = 0; i < points.size(); ++i)
    pointOf[World.AddBuilding(points[i].x, points[i].y)] = static_cast<int>(i);
  // Seeded only now: every entry made above drew random genes from the
  // template genome, whose size depends on the run before this one.
  SeedRandom(seed);
  ResetPaths();

  // The program draws a frame before the first step can be asked for.
  DrawTours();
  run.history.push_back(Measure(0));
  std::chrono::duration<double> evolving{0}, measuring{0};
  for (int g = 1; g <= generations; ++g) {
    auto start = std::chrono::steady_clock::now();
    Evolve(&World);
    auto evolved = std::chrono::steady_clock::now();
    DrawTours();
    measuring += std::chrono::steady_clock::now() - evolved;
    evolving += evolved - start;
    run.history.push_back(Measure(g));
  }
  if (generations > 0) {
    run.secondsEvolving = evolving.count() / generations;
    run.secondsPerGeneration = run.secondsEvolving + measuring.count() / generations;
  }

  // The shortest candidate (the one the measurement marked, on a tie) with
  // its genes turned from house indexes into indexes of `points`.
  std::vector<const QPATHDATA*> entries = Candidates();
  const QPATHDATA* best = nullptr;
  for (const QPATHDATA* entry : entries) {
    if (!best || entry->length < best->length || (entry->length == best->length && entry->best))
      best = entry;
  }
  if (best) {
    run.best = best->length;
    NamedList<TARN_OBJECT>* houses = MainScene->CollectObjectsToList("qbuilding", false, nullptr);
    for (int house : Tour(*best)) {
      TARN_OBJECT* object = houses->Object(house);
      auto it = object ? pointOf.find(static_cast<const QPATHDATA*>(object->owner)) : pointOf.end();
      run.bestTour.push_back(it != pointOf.end() ? it->second : -1);
    }
    delete houses;
  }
  return run;
}
