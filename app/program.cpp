// The entry sequence: seed the random source, configure and start the
// engine, load the assets, run the frame loop, shut down. The exit code is
// 0 on every path.
#include "app/program.h"

#include <chrono>
#include <cstdint>
#include <string>

#include "app/config.h"
#include "app/password.h"
#include "gfx/os.h"
#include "util/random.h"

namespace {

constexpr unsigned ENGINE_ERROR_BOX = MB_FLAG_ICON_ERROR | MB_FLAG_SYSTEM_MODAL;  // 0x1010
constexpr unsigned ASSET_ERROR_BOX = MB_FLAG_ICON_ERROR;                          // 0x10
constexpr float START_FADE_STEP = 0.001f;

uint32_t ClockSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
  return static_cast<uint32_t>(ticks ^ (ticks >> 32));
}

void ConfigureEngine() {
  Engine->System_SetState(STATE_FRAME_FUNC, FrameUpdate);
  Engine->System_SetState(STATE_RENDER_FUNC, FrameRender);
  const std::string title = std::string(PROGRAM_NAME) + " - " + SITE_NAME;
  Engine->System_SetState(STATE_TITLE, title.c_str());
  Engine->System_SetState(STATE_WINDOWED, true);
  Engine->System_SetState(STATE_SCREEN_WIDTH, static_cast<int>(MAP_WIDTH + PANEL_WIDTH));
  Engine->System_SetState(STATE_SCREEN_HEIGHT, static_cast<int>(MAP_HEIGHT));
  Engine->System_SetState(STATE_SCREEN_BPP, 32);
  Engine->System_SetState(STATE_USE_SOUND, false);
  Engine->System_SetState(STATE_HIDE_MOUSE, false);
  Engine->System_SetState(STATE_ZBUFFER, false);
  Engine->System_SetState(STATE_FPS, FRAME_RATE);
  Engine->System_SetState(STATE_DONT_SUSPEND, true);
  Engine->System_SetState(STATE_TEXTURE_FILTER, true);
}

}  // namespace

void ReleaseProgramObjects() {
  // Entries and labels first: they point at scene objects and fonts.
  World.Clear();
  CandidatePanel.Clear();
  SystemPanel.Clear();
  ReleaseAssets();
  FrameClock = 0.0f;
  NextInputTime = 0.0f;
  LogoFadeStep = START_FADE_STEP;
}

int RunProgram() {
  SeedRandom(ClockSeed());
  Engine = hgeCreate(ENGINE_VERSION);
  if (!Engine) return 0;
  // Whatever an earlier run in this process left behind goes first.
  ReleaseProgramObjects();
  ConfigureEngine();

  if (!Engine->System_Initiate()) {
    OS_MessageBox(Engine->System_GetErrorMessage(), "Error", ENGINE_ERROR_BOX);
  } else {
    MainScene = new TARN();
    // Not reported: a pack that cannot be attached shows up as missing
    // graphics below.
    Engine->Resource_AttachPack(PACK_FILE, PackPassword().c_str());
    if (LoadAssets()) {
      OS_MessageBox("Can't load graphics.", "Error", ASSET_ERROR_BOX);
    } else {
      BuildStartScene();
      Engine->System_Start();
    }
  }

  // The scene and the fonts hold engine references and textures; give them
  // back while the engine can still free them.
  ReleaseProgramObjects();
  Engine->System_Shutdown();
  Engine->Release();
  Engine = nullptr;
  return 0;
}
