// Fixtures for the SDL backend tests: a real engine on the offscreen video
// driver with the program's window states, a manual clock, recorded message
// boxes, and helpers to push real SDL events and to read frame pixels.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/sdl/backend.h"
#include "engine/sdl/backend_control.h"
#include "gfx/engine.h"

struct RecordedBox {
  std::string text, caption;
  unsigned flags;
};

class SdlEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend::ResetControls();
    backend::SetVideoDriver("offscreen");
    backend::UseManualClock(0.02f);
    backend::SetMessageBoxHook([this](const std::string& t, const std::string& c, unsigned f) {
      boxes.push_back({t, c, f});
      return 1;
    });
    Configure();
    engine = hgeCreate(ENGINE_VERSION);
    ASSERT_NE(engine, nullptr);
    engine->System_SetState(STATE_TITLE, "QuenPath test");
    engine->System_SetState(STATE_WINDOWED, true);
    engine->System_SetState(STATE_SCREEN_WIDTH, 1200);
    engine->System_SetState(STATE_SCREEN_HEIGHT, 960);
    engine->System_SetState(STATE_HIDE_MOUSE, false);
    engine->System_SetState(STATE_FPS, 50);
    engine->System_SetState(STATE_DONT_SUSPEND, true);
    engine->System_SetState(STATE_TEXTURE_FILTER, false);
    engine->System_SetState(STATE_FRAME_FUNC, &SdlEngineTest::Frame);
    engine->System_SetState(STATE_RENDER_FUNC, &SdlEngineTest::Render);
    frameBody = nullptr;
    renderBody = nullptr;
    if (initiate && !engine->System_Initiate()) {
      if (mayBeUnavailable) GTEST_SKIP() << engine->System_GetErrorMessage();
      FAIL() << engine->System_GetErrorMessage();
    }
  }
  void TearDown() override {
    if (engine) {
      engine->System_Shutdown();
      engine->Release();
    }
    frameBody = nullptr;
    renderBody = nullptr;
    backend::ResetControls();
  }

  // Called after the controls are reset, before the engine starts.
  virtual void Configure() {}

  // Runs frames; the bodies below are called from the engine's callbacks.
  int Run(int frames = 1) { return backend::RunFrames(frames); }

  static bool Frame() { return frameBody ? frameBody() : false; }
  static bool Render() {
    if (renderBody) renderBody();
    return false;
  }

  SDL_Window* Window() const { return TheBackend().window; }
  Uint32 WindowId() const { return SDL_GetWindowID(Window()); }

  void PushButton(Uint8 button, bool down, int x, int y) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = WindowId();
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }
  void PushKey(SDL_Keycode key, bool down, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = WindowId();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }
  void PushMotion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = WindowId();
    e.motion.x = x;
    e.motion.y = y;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }
  void PushWindowEvent(Uint8 event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = WindowId();
    e.window.event = event;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }

  // The last presented frame.
  std::vector<uint32_t> ReadBack(int* width = nullptr, int* height = nullptr) {
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    EXPECT_TRUE(backend::ReadFrame(&pixels, &w, &h));
    if (width) *width = w;
    if (height) *height = h;
    return pixels;
  }

  hgeEngine* engine = nullptr;
  bool initiate = true;           // set false in a derived constructor to initiate by hand
  bool mayBeUnavailable = false;  // a failed start skips the test instead of failing it
  std::vector<RecordedBox> boxes;
  static inline std::function<bool()> frameBody;
  static inline std::function<void()> renderBody;
};

// A temporary directory removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/qp-engine-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made ? made : "";
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};
