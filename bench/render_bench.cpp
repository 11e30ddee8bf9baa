// The full-load frame on the real SDL backend: the program itself
// (RunProgram, with its pack, assets and callbacks) on the offscreen video
// driver with the software renderer, driven by injected input as a user
// would: 200 houses placed with the left button, then F held. Each
// FrameRender is timed, pixels, upload and present included.
//
// The backend skips a frame drawn exactly like the one on screen; with F
// held most frames between two evolution steps are such repeats. The
// budgeted run turns that off so every frame draws the whole picture; the
// second run keeps it, as the program ships, and reports the frames that
// did draw apart.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/config.h"
#include "app/program.h"
#include "bench/frame_samples.h"
#include "engine/sdl/backend_control.h"
#include "solver/world.h"

namespace {

constexpr int HOUSES = MAX_BUILDINGS;
constexpr int FULL_POPULATION = 45;
constexpr int MEASURED_FRAMES = 300;
// Placing: a frame of 0.4 s runs the 0.35 s hold-off out every frame.
constexpr float PLACING_DELTA = 0.4f;
constexpr float PLAYING_DELTA = 0.02f;
constexpr int PLACING_FRAME_LIMIT = 4 * HOUSES;
// With F held the first Evolve takes the 15 start candidates to 45.
constexpr int WARM_UP_FRAMES = 60;
constexpr float REST_X = 700.0f, REST_Y = 600.0f;

// House positions spread over the map like a user's: random, inside the
// map and above the link row, more than the 32 px spacing apart.
std::vector<std::pair<float, float>> HousePositions(int n, uint32_t seed) {
  std::mt19937 generator(seed);
  std::uniform_int_distribution<int> across(20, 940), down(20, 920);
  std::vector<std::pair<float, float>> placed;
  while (static_cast<int>(placed.size()) < n) {
    const float x = static_cast<float>(across(generator));
    const float y = static_cast<float>(down(generator));
    bool clear = true;
    for (const auto& [px, py] : placed)
      if ((px - x) * (px - x) + (py - y) * (py - y) < 33.0f * 33.0f) clear = false;
    if (clear) placed.emplace_back(x, y);
  }
  return placed;
}

int CountOf(const char* name) {
  return MainScene ? MainScene->CollectObjects(name, false, nullptr) : 0;
}

// The run's state, reached from the engine callbacks and hooks.
struct Run {
  benchmark::State* state = nullptr;
  enum class Phase { Placing, WarmingUp, Measuring, Done } phase = Phase::Placing;
  std::vector<std::pair<float, float>> positions;
  int placingFrames = 0;
  int warmUpLeft = WARM_UP_FRAMES;
  bool checkedPixels = false;
  long long litPixels = 0;
  bool software = false;
  std::string renderer;
  std::string error;
  TimedSeries renders, drawn;
  FrameSamples frames;  // the whole frame: input, FrameUpdate, FrameRender
  Stopwatch renderWatch, frameWatch;
};
Run* run = nullptr;

bool TimedRender() {
  const long long shownBefore = backend::FramesShown();
  run->renderWatch.Start();
  const bool result = FrameRender();
  run->state->SetIterationTime(run->renderWatch.Stop());
  run->renders.Add(run->renderWatch);
  if (backend::FramesShown() != shownBefore) run->drawn.Add(run->renderWatch);
  return result;
}

bool BeforeFrame(int) {
  Run& r = *run;
  switch (r.phase) {
    case Run::Phase::Placing: {
      const int houses = CountOf("qbuilding");
      if (houses >= HOUSES) {
        backend::InjectKey(KEY_LBUTTON, false);
        backend::UseManualClock(PLAYING_DELTA);
        backend::InjectMouseMove(REST_X, REST_Y);
        backend::InjectKey(KEY_F, true);
        r.phase = Run::Phase::WarmingUp;
        return true;
      }
      if (++r.placingFrames > PLACING_FRAME_LIMIT) {
        r.error = "only " + std::to_string(houses) + " houses could be placed";
        return false;
      }
      if (r.placingFrames == 1) backend::InjectKey(KEY_LBUTTON, true);
      const auto [x, y] = r.positions[static_cast<size_t>(houses)];
      backend::InjectMouseMove(x, y);
      return true;
    }
    case Run::Phase::WarmingUp:
      if (--r.warmUpLeft > 0) return true;
      if (CountOf("qbuilding") != HOUSES || CountOf("qpath") != FULL_POPULATION || LogoObject) {
        r.error = "the program reached " + std::to_string(CountOf("qbuilding")) + " houses and " +
                  std::to_string(CountOf("qpath")) + " candidates" +
                  (LogoObject ? " with the logo still up" : "");
        return false;
      }
      r.software = backend::UsesSoftwareFrame();
      r.renderer = backend::RendererDescription();
      Engine->System_SetState(STATE_RENDER_FUNC, TimedRender);
      r.phase = Run::Phase::Measuring;
      [[fallthrough]];
    case Run::Phase::Measuring:
      if (!r.state->KeepRunning()) {
        r.phase = Run::Phase::Done;
        return false;
      }
      r.frameWatch.Start();
      return true;
    case Run::Phase::Done:
      return false;
  }
  return false;
}

void AfterFrame(int) {
  Run& r = *run;
  if (r.phase != Run::Phase::Measuring) return;
  r.frames.Add(r.frameWatch.Stop());
  if (r.checkedPixels) return;
  // The frame must really hold the tours: count lit pixels on the map.
  r.checkedPixels = true;
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  if (!backend::ReadFrame(&pixels, &w, &h)) return;
  for (int y = 0; y < h && y < static_cast<int>(MAP_HEIGHT); ++y)
    for (int x = 0; x < w && x < static_cast<int>(MAP_WIDTH); ++x)
      if (pixels[static_cast<size_t>(y) * w + x] & 0x00FFFFFF) ++r.litPixels;
}

void BM_RenderFullLoadSoftware(benchmark::State& state) {
  const bool skipUnchanged = state.range(0) != 0;
  Run r;
  r.state = &state;
  r.positions = HousePositions(HOUSES, 7);
  run = &r;
  backend::ResetControls();
  backend::SetVideoDriver("offscreen");
  backend::SetRendererChoice(backend::RendererChoice::Software);
  backend::SetResourceDirectory(QP_PACK_DIR);
  backend::UseManualClock(PLACING_DELTA);
  backend::SetSkipUnchangedFrames(skipUnchanged);
  std::vector<std::string> boxes;
  backend::SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
    boxes.push_back(text);
    return 1;
  });
  backend::SetProgramStarterHook([](const backend::StartRequest&) { return 0u; });
  backend::SetBeforeFrameHook(BeforeFrame);
  backend::SetAfterFrameHook(AfterFrame);

  RunProgram();

  backend::ResetControls();
  run = nullptr;
  if (!boxes.empty()) r.error = "the program showed a message box: " + boxes.front();
  if (r.error.empty() && r.phase != Run::Phase::Done) r.error = "the frame loop ended early";
  if (r.error.empty() && !r.software) r.error = "not on the software frame: " + r.renderer;
  // A frame of 45 faint tours lights a good part of the map.
  if (r.error.empty() && r.litPixels < 10000)
    r.error = "the measured frame shows no tours (" + std::to_string(r.litPixels) + " pixels lit)";
  if (!r.error.empty()) {
    state.SkipWithError(r.error.c_str());
    return;
  }
  r.renders.Report(state);
  r.drawn.Report(state, "drawn_");
  state.counters["drawn_share"] =
      static_cast<double>(r.drawn.Count()) / static_cast<double>(r.renders.Count());
  r.frames.Report(state, "frame_");
  state.counters["lit_pixels"] = static_cast<double>(r.litPixels);
  state.SetLabel(r.renderer);
}
BENCHMARK(BM_RenderFullLoadSoftware)
    ->ArgName("skip_unchanged")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(MEASURED_FRAMES)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
