// Test program: a static object made before the engine gives its engine
// reference back during static clean-up, after main has shut the engine down
// and released its own reference, as the program's sprites and fonts do.
// It must end cleanly (exit code 0, nothing touched after destruction).
#include <cstdio>

#include "engine/sdl/backend_control.h"
#include "gfx/engine.h"

namespace {
struct LateHolder {
  hgeEngine* engine = nullptr;
  ~LateHolder() {
    if (engine) engine->Release();  // the last reference
  }
} holder;  // constructed before main, so destroyed after everything main made

bool Frame() {
  return true;
}
}  // namespace

int main() {
  backend::SetVideoDriver("offscreen");
  backend::UseManualClock(0.02f);
  hgeEngine* engine = hgeCreate(ENGINE_VERSION);
  holder.engine = hgeCreate(ENGINE_VERSION);
  engine->System_SetState(STATE_FRAME_FUNC, Frame);
  engine->System_SetState(STATE_SCREEN_WIDTH, 1200);
  engine->System_SetState(STATE_SCREEN_HEIGHT, 960);
  if (!engine->System_Initiate()) {
    std::fprintf(stderr, "%s\n", engine->System_GetErrorMessage());
    return 1;
  }
  engine->Resource_AttachPack("no-such.paq", "ABCD");
  engine->System_Start();
  engine->System_Shutdown();
  engine->Release();
  return 0;
}
