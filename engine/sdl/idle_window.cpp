// A window run by the engine's frame loop with callbacks that only clear the
// screen, for measuring frame pacing and the idle CPU use of the backend.
// Options: --lines draws the program's worst frame instead (45 random tours
// of 200 segments in faint white); --quads adds 1,000 glyph-sized textured
// quads; --no-skip draws every frame even when unchanged; --seconds N runs
// N seconds (default 10). Prints the mean and spread of the frame period and
// of the render time (wall clock and CPU) at the end.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <vector>

#include "engine/sdl/backend_control.h"
#include "gfx/engine.h"

namespace {
hgeEngine* engine = nullptr;
using Clock = std::chrono::steady_clock;
std::vector<double> periods;
std::vector<double> renders;
std::vector<double> renderCpu;
Clock::time_point lastFrame, endTime;
bool started = false;
bool drawLines = false;
bool drawQuads = false;
HTEXTURE glyphs = 0;
std::vector<float> tours;  // x, y pairs; 45 tours of 200 houses

bool Frame() {
  const auto now = Clock::now();
  if (started)
    periods.push_back(std::chrono::duration<double, std::milli>(now - lastFrame).count());
  started = true;
  lastFrame = now;
  return now >= endTime;
}

double ThreadCpuMs() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

bool Render() {
  const auto begin = Clock::now();
  const double cpuBegin = ThreadCpuMs();
  engine->Gfx_BeginScene();
  engine->Gfx_Clear(0);
  if (drawLines) {
    for (int t = 0; t < 45; ++t) {
      const float* p = &tours[static_cast<size_t>(t) * 400];
      for (int i = 0; i < 200; ++i) {
        const int j = (i + 1) % 200;
        engine->Gfx_RenderLine(p[2 * i], p[2 * i + 1], p[2 * j], p[2 * j + 1], 0x10FFFFFF);
      }
    }
  }
  if (drawQuads) {
    // About what the side panel's labels take: 1,000 glyphs of 8 x 12.
    for (int i = 0; i < 1000; ++i) {
      const float x = 960.0f + (i % 28) * 8.0f, y = (i / 28) * 14.0f;
      hgeQuad q{};
      const float xs[4] = {x, x + 8, x + 8, x}, ys[4] = {y, y, y + 12, y + 12};
      const float us[4] = {0, 0.5f, 0.5f, 0}, vs[4] = {0, 0, 0.75f, 0.75f};
      for (int k = 0; k < 4; ++k) q.v[k] = {xs[k], ys[k], 0.5f, 0xFFE0E0E0u, us[k], vs[k]};
      q.texture = glyphs;
      q.blend = BLEND_DEFAULT;
      engine->Gfx_RenderQuad(&q);
    }
  }
  engine->Gfx_EndScene();
  renders.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
  renderCpu.push_back(ThreadCpuMs() - cpuBegin);
  return false;
}

void Report(const char* what, std::vector<double> v) {
  if (v.empty()) return;
  double sum = 0;
  for (double x : v) sum += x;
  const double mean = sum / v.size();
  double var = 0;
  for (double x : v) var += (x - mean) * (x - mean);
  std::sort(v.begin(), v.end());
  std::printf("%s: n=%zu mean=%.3f ms sd=%.3f ms min=%.3f p50=%.3f p99=%.3f max=%.3f\n", what,
              v.size(), mean, std::sqrt(var / v.size()), v.front(), v[v.size() / 2],
              v[std::min(v.size() - 1, v.size() * 99 / 100)], v.back());
}
}  // namespace

int main(int argc, char** argv) {
  double seconds = 10;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--lines")) drawLines = true;
    if (!std::strcmp(argv[i], "--quads")) drawQuads = true;
    if (!std::strcmp(argv[i], "--no-skip")) backend::SetSkipUnchangedFrames(false);
    if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc) seconds = std::atof(argv[++i]);
  }
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> coord(0.0f, 960.0f);
  tours.resize(45 * 400);
  for (float& v : tours) v = coord(rng);

  engine = hgeCreate(ENGINE_VERSION);
  engine->System_SetState(STATE_FRAME_FUNC, Frame);
  engine->System_SetState(STATE_RENDER_FUNC, Render);
  engine->System_SetState(STATE_TITLE, "QuenPath idle window");
  engine->System_SetState(STATE_WINDOWED, true);
  engine->System_SetState(STATE_SCREEN_WIDTH, 1200);
  engine->System_SetState(STATE_SCREEN_HEIGHT, 960);
  engine->System_SetState(STATE_HIDE_MOUSE, false);
  engine->System_SetState(STATE_FPS, 50);
  engine->System_SetState(STATE_DONT_SUSPEND, true);
  if (!engine->System_Initiate()) {
    std::fprintf(stderr, "%s\n", engine->System_GetErrorMessage());
    engine->Release();
    return 1;
  }
  if (drawQuads) {
    // A 16 x 16 texture of half-transparent texels, made from a tiny BMP.
    std::vector<unsigned char> bmp(54 + 16 * 16 * 4, 0);
    const unsigned char header[54] = {'B', 'M', 0x36, 0x04, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0,  40,
                                      0,   0,   0,    16,   0, 0, 0, 16, 0, 0, 0,  1, 0, 32, 0};
    std::copy(header, header + 54, bmp.begin());
    for (size_t i = 54; i < bmp.size(); ++i) bmp[i] = (i % 4 == 1) ? 0x80 : 0xFF;
    glyphs = engine->Texture_Load(reinterpret_cast<const char*>(bmp.data()),
                                  static_cast<uint32_t>(bmp.size()));
    if (!glyphs) std::fprintf(stderr, "no glyph texture\n");
  }
  endTime = Clock::now() +
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  engine->System_Start();
  const long long shown = backend::FramesShown(), skipped = backend::FramesSkipped();
  engine->System_Shutdown();
  engine->Release();
  Report("frame period", periods);
  Report("render (wall)", renders);
  Report("render (CPU)", renderCpu);
  std::printf("frames shown %lld, skipped as unchanged %lld\n", shown, skipped);
  return 0;
}
