// Test program: a static object made before the engine gives its engine
// reference back during static clean-up, after main has shut the engine down
// and released its own reference, as the program's sprites and fonts do.
// It must end cleanly (exit code 0, nothing touched after destruction),
// with a pack still attached when the last reference goes.
#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <string>

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

// A plain zip with one member, so the backend holds an open pack.
std::string WriteZip() {
  const std::string path = "/tmp/qp-late-release-" + std::to_string(getpid()) + ".zip";
  static const char text[] = "member";
  zip_t* za = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
  if (!za) return "";
  zip_file_add(za, "a.txt", zip_source_buffer(za, text, sizeof text - 1, 0), 0);
  return zip_close(za) == 0 ? path : "";
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
  const std::string pack = WriteZip();
  if (pack.empty() || !engine->Resource_AttachPack(pack.c_str(), "")) {
    std::fprintf(stderr, "cannot make the test pack\n");
    return 1;
  }
  unlink(pack.c_str());  // the open archive stays readable
  engine->System_Start();
  engine->System_Shutdown();
  engine->Release();
  return 0;
}
