// The yardstick for the backend's idle CPU use: a bare SDL2 loop that opens
// a 1200 x 960 window with SDL's default renderer and clears and presents it
// at 50 frames per second for --seconds (default 10).
#include <SDL.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  double seconds = 10;
  for (int i = 1; i < argc; ++i)
    if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc) seconds = std::atof(argv[++i]);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window =
      SDL_CreateWindow("bare loop", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1200, 960, 0);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  if (!renderer) return 1;
  SDL_RendererInfo info;
  SDL_GetRendererInfo(renderer, &info);
  SDL_Log("renderer: %s", info.name);
  const Uint64 frequency = SDL_GetPerformanceFrequency();
  const Uint64 start = SDL_GetPerformanceCounter();
  Uint64 next = start;
  bool running = true;
  while (running &&
         SDL_GetPerformanceCounter() - start < static_cast<Uint64>(seconds * frequency)) {
    SDL_Event e;
    while (SDL_PollEvent(&e))
      if (e.type == SDL_QUIT) running = false;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    next += frequency / 50;
    const Uint64 now = SDL_GetPerformanceCounter();
    if (next > now) SDL_Delay(static_cast<Uint32>((next - now) * 1000 / frequency));
  }
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
