// The yardstick for the program's idle CPU use: a bare SDL2 loop that opens
// the program's 1200 x 960 window with the renderer the program uses and
// only clears and presents it, 50 times a second, paced as the engine's
// frame loop paces (sleep to the next 20 ms deadline).
//
//   bench_bare_loop --renderer software|accelerated [--seconds S]
//
// Without --seconds it runs until the window is closed or it is told to
// quit (SIGTERM or SIGINT, which SDL turns into a quit event).
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  std::string renderer = "software";
  double seconds = 0;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--renderer") && i + 1 < argc) {
      renderer = argv[++i];
    } else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: %s --renderer software|accelerated [--seconds S]\n", argv[0]);
      return 2;
    }
  }
  if (renderer != "software" && renderer != "accelerated") {
    std::fprintf(stderr, "bench_bare_loop: unknown renderer %s\n", renderer.c_str());
    return 2;
  }
  // The hints the engine sets: the software window surface goes to the
  // display directly, and presenting never waits for a vertical blank.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "bench_bare_loop: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("QuenPath bare loop", SDL_WINDOWPOS_CENTERED,
                                        SDL_WINDOWPOS_CENTERED, 1200, 960, 0);
  const Uint32 flags = renderer == "software" ? SDL_RENDERER_SOFTWARE : SDL_RENDERER_ACCELERATED;
  SDL_Renderer* sdlRenderer = window ? SDL_CreateRenderer(window, -1, flags) : nullptr;
  if (!sdlRenderer) {
    std::fprintf(stderr, "bench_bare_loop: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(sdlRenderer, &info);
  std::fprintf(stderr, "bench_bare_loop: renderer %s\n", info.name ? info.name : "?");

  using Clock = std::chrono::steady_clock;
  const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(20));
  const auto start = Clock::now();
  auto deadline = start;
  for (bool running = true; running;) {
    SDL_Event e;
    while (SDL_PollEvent(&e))
      if (e.type == SDL_QUIT) running = false;
    SDL_SetRenderDrawColor(sdlRenderer, 0, 0, 0, 255);
    SDL_RenderClear(sdlRenderer);
    SDL_RenderPresent(sdlRenderer);
    if (seconds > 0 && Clock::now() - start >= std::chrono::duration<double>(seconds)) break;
    deadline += period;
    const auto now = Clock::now();
    if (now > deadline + period)
      deadline = now;
    else
      std::this_thread::sleep_until(deadline);
  }
  SDL_DestroyRenderer(sdlRenderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
