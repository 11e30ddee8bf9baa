// The engine interface on SDL2: creation and reference counting, states,
// the window, the paced frame loop, the timer, and forwarding of input,
// resources, textures and drawing to their parts.
#include "gfx/engine.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <thread>

#include "engine/sdl/backend.h"
#include "engine/sdl/command_line.h"
#include "engine/sdl/log.h"

struct EngineBackendAccess {
  static hgeEngine* Make() { return new hgeEngine(); }
  static void Destroy(hgeEngine* engine) { delete engine; }
};

namespace {
hgeEngine* g_engine = nullptr;
int g_references = 0;

using Clock = std::chrono::steady_clock;

// Screen sizes outside this are not a window we can make.
constexpr int MAX_SCREEN_SIDE = 16384;
// Room left for the window frame and title bar when fitting the desktop.
constexpr int FRAME_ALLOWANCE = 64;

void SetHintIfUnset(const char* name, const char* value) {
  // Normal priority: an environment variable of the same name still wins.
  SDL_SetHintWithPriority(name, value, SDL_HINT_NORMAL);
}

}  // namespace

void FitWindowToDesktop(int width, int height, int usableWidth, int usableHeight, int* outWidth,
                        int* outHeight) {
  *outWidth = width;
  *outHeight = height;
  if (usableWidth <= 0 || usableHeight <= 0 || width <= 0 || height <= 0) return;
  const int roomW = std::max(1, usableWidth - FRAME_ALLOWANCE / 4);
  const int roomH = std::max(1, usableHeight - FRAME_ALLOWANCE);
  if (width <= roomW && height <= roomH) return;
  const double scale =
      std::min(static_cast<double>(roomW) / width, static_cast<double>(roomH) / height);
  *outWidth = std::clamp(static_cast<int>(std::lround(width * scale)), 1, roomW);
  *outHeight = std::clamp(static_cast<int>(std::lround(height * scale)), 1, roomH);
}

namespace {

void FitToDesktop(int width, int height, int* outW, int* outH) {
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = SDL_Rect{};
  FitWindowToDesktop(width, height, usable.w, usable.h, outW, outH);
}

// Starts SDL's video on a real display. SDL would fall back to its invisible
// offscreen driver when there is none, leaving a program running that nobody
// can see; that driver is used only when asked for by name.
bool StartVideo(Backend& b) {
  const char* fromEnvironment = SDL_getenv("SDL_VIDEODRIVER");
  if (!b.controls.videoDriver.empty() || (fromEnvironment && *fromEnvironment)) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    b.error = std::string("Cannot start the video system: ") + SDL_GetError();
    return false;
  }
  std::string reasons;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const char* name = SDL_GetVideoDriver(i);
    if (!name || !std::strcmp(name, "offscreen") || !std::strcmp(name, "dummy") ||
        !std::strcmp(name, "evdev"))
      continue;
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, name, SDL_HINT_OVERRIDE);
    const bool up = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    if (up) return true;
    reasons += std::string(reasons.empty() ? "" : "; ") + name + ": " + SDL_GetError();
  }
  b.error = "There is no display to open the window on (" + reasons + ")";
  return false;
}

void CloseWindow(Backend& b) {
  b.renderer.Destroy();
  if (b.window) SDL_DestroyWindow(b.window);
  b.window = nullptr;
  if (b.videoUp) {
    IMG_Quit();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  b.videoUp = false;
}

// Collects this frame's input: SDL's events, then the injected ones.
void PumpInput(Backend& b) {
  b.input.BeginFrame();
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (e.type == SDL_QUIT) b.closeRequested = true;
    if (e.type == SDL_WINDOWEVENT) {
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          b.closeRequested = true;
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          b.focused = true;
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          b.focused = false;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
          b.renderer.Invalidate();  // the window needs its frame again
          break;
        default:
          break;
      }
    }
    b.input.HandleEvent(e);
  }
  b.input.ApplyInjected();
}

}  // namespace

Backend& TheBackend() {
  // Never destroyed: static objects of the program (sprites, fonts) give
  // their engine references back during static clean-up, in no order we
  // control, and must still find the backend there.
  static Backend* backend = new Backend();
  return *backend;
}

void LogLine(const char* format, ...) {
  char line[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  // One line, whatever the text holds.
  for (char* c = line; *c; ++c)
    if (*c == '\n' || *c == '\r') *c = ' ';
  std::fprintf(stderr, "%s\n", line);
}

// ---- hgeCreate / Release --------------------------------------------------

hgeEngine* hgeCreate(int version) {
  if (version != ENGINE_VERSION) return nullptr;
  if (!g_engine) g_engine = EngineBackendAccess::Make();
  ++g_references;
  return g_engine;
}

void hgeEngine::Release() {
  if (g_references <= 0 || this != g_engine) return;
  if (--g_references > 0) return;
  System_Shutdown();
  Backend& b = TheBackend();
  b.resources.DetachAll();
  b.states = EngineStates();
  EngineBackendAccess::Destroy(g_engine);
  g_engine = nullptr;
}

// ---- States ---------------------------------------------------------------

void hgeEngine::System_SetState(EngineBoolState state, bool value) {
  EngineStates& s = TheBackend().states;
  switch (state) {
    case STATE_WINDOWED:
      s.windowed = value;
      break;
    case STATE_ZBUFFER:
      break;  // 2D drawing in call order; no depth buffer
    case STATE_TEXTURE_FILTER:
      s.textureFilter = value;
      break;
    case STATE_USE_SOUND:
      s.useSound = value;
      break;
    case STATE_DONT_SUSPEND:
      s.dontSuspend = value;
      break;
    case STATE_HIDE_MOUSE:
      s.hideMouse = value;
      if (TheBackend().window) SDL_ShowCursor(value ? SDL_DISABLE : SDL_ENABLE);
      break;
  }
}

void hgeEngine::System_SetState(EngineIntState state, int value) {
  EngineStates& s = TheBackend().states;
  switch (state) {
    case STATE_SCREEN_WIDTH:
      s.width = value;
      break;
    case STATE_SCREEN_HEIGHT:
      s.height = value;
      break;
    case STATE_SCREEN_BPP:
      break;  // always 32 bits
    case STATE_FPS:
      s.fps = value;
      break;
  }
}

void hgeEngine::System_SetState(EngineFuncState state, hgeCallback value) {
  EngineStates& s = TheBackend().states;
  if (state == STATE_FRAME_FUNC) s.frameFunc = value;
  if (state == STATE_RENDER_FUNC) s.renderFunc = value;
}

void hgeEngine::System_SetState(EngineTextState state, const char* value) {
  Backend& b = TheBackend();
  if (state != STATE_TITLE) return;
  b.states.title = value ? value : "";
  if (b.window) SDL_SetWindowTitle(b.window, b.states.title.c_str());
}

// ---- System ---------------------------------------------------------------

bool hgeEngine::System_Initiate() {
  Backend& b = TheBackend();
  if (b.window) return true;
  const EngineStates& s = b.states;
  if (s.width <= 0 || s.height <= 0 || s.width > MAX_SCREEN_SIDE || s.height > MAX_SCREEN_SIDE) {
    b.error = "The screen size " + std::to_string(s.width) + " x " + std::to_string(s.height) +
              " cannot be shown";
    return false;
  }

  if (!b.controls.videoDriver.empty())
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, b.controls.videoDriver.c_str(),
                            SDL_HINT_OVERRIDE);
  SetHintIfUnset(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // The window surface of the software path goes straight to the display,
  // not through OpenGL.
  SetHintIfUnset(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SetHintIfUnset(SDL_HINT_RENDER_VSYNC, "0");
  SetHintIfUnset(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SetHintIfUnset(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SetHintIfUnset(SDL_HINT_RENDER_SCALE_QUALITY, s.textureFilter ? "linear" : "nearest");

  if (!StartVideo(b)) return false;
  b.videoUp = true;
  if (s.useSound && !b.soundWarned) {
    b.soundWarned = true;
    LogLine("Sound is not supported; the program runs silent");
  }

  // Without a real display there is no desktop to fit, and no pointer to
  // leave the window.
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool headless =
      driver && (!std::strcmp(driver, "offscreen") || !std::strcmp(driver, "dummy"));
  int w = s.width, h = s.height;
  Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN;
  if (!s.windowed)
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  else if (!headless)
    FitToDesktop(s.width, s.height, &w, &h);
  b.window = SDL_CreateWindow(s.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                              flags);
  if (!b.window) {
    b.error = std::string("Cannot create the window: ") + SDL_GetError();
    CloseWindow(b);
    return false;
  }
  SDL_SetWindowMinimumSize(b.window, std::max(1, s.width / 8), std::max(1, s.height / 8));

  FrameRenderer::Settings settings;
  settings.width = s.width;
  settings.height = s.height;
  settings.linearFiltering = s.textureFilter;
  settings.choice = b.controls.rendererChoice;
  std::string why;
  if (!b.renderer.Create(b.window, settings, &why)) {
    b.error = why;
    CloseWindow(b);
    return false;
  }
  b.renderer.SetCapture(b.controls.capture);
  b.renderer.SetSkipUnchanged(b.controls.skipUnchanged);
  LogLine("Renderer: %s", b.renderer.Description().c_str());

  IMG_Init(IMG_INIT_PNG);
  SDL_ShowWindow(b.window);
  SDL_ShowCursor(s.hideMouse ? SDL_DISABLE : SDL_ENABLE);
  SDL_StopTextInput();  // keys only; no input method window

  b.input.Reset();
  int mx = 0, my = 0;
  SDL_GetMouseState(&mx, &my);
  float lx = static_cast<float>(mx), ly = static_cast<float>(my);
  SDL_RenderWindowToLogical(b.renderer.WindowRenderer(), mx, my, &lx, &ly);
  b.input.SetMouse(lx, ly);
  b.input.SetOver(headless || SDL_GetMouseFocus() == b.window);
  b.closeRequested = false;
  b.focused = true;
  b.frameIndex = 0;
  b.loopStarted = false;
  b.delta = 0.0f;
  b.error.clear();
  return true;
}

const char* hgeEngine::System_GetErrorMessage() {
  return TheBackend().error.c_str();
}

int RunFrameLoop(int count, bool* ended) {
  Backend& b = TheBackend();
  if (ended) *ended = false;
  if (!b.window || !b.states.frameFunc) return 0;
  const int fps = b.states.fps > 0 ? std::min(b.states.fps, 1000) : 60;
  const auto period =
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / fps));
  int ran = 0;
  b.closeRequested = false;
  b.nextDeadline = Clock::now();
  for (;;) {
    if (count > 0 && ran >= count) break;
    if (b.controls.beforeFrame && !b.controls.beforeFrame(b.frameIndex)) break;
    PumpInput(b);
    if (b.closeRequested) {
      if (ended) *ended = true;
      break;
    }
    const bool manual = b.controls.manualDelta > 0.0f;
    if (!manual && !b.states.dontSuspend && !b.focused) {
      // Paused while in the background: wait for the window to come back.
      SDL_WaitEventTimeout(nullptr, 100);
      b.loopStarted = false;
      b.nextDeadline = Clock::now();
      continue;
    }
    const auto now = Clock::now();
    if (manual)
      b.delta = b.controls.manualDelta;
    else if (!b.loopStarted)
      b.delta = 1.0f / static_cast<float>(fps);
    else
      b.delta = std::chrono::duration<float>(now - b.lastFrameStart).count();
    b.lastFrameStart = now;
    b.loopStarted = true;

    const bool stop = b.states.frameFunc();
    if (!stop && b.states.renderFunc) b.states.renderFunc();
    if (b.controls.afterFrame) b.controls.afterFrame(b.frameIndex);
    ++b.frameIndex;
    ++ran;
    if (stop) {
      if (ended) *ended = true;
      break;
    }
    if ((b.frameIndex & 63) == 0) ReapStartedPrograms();
    if (manual) continue;
    // Sleep to the next deadline; after a stall (a message box, a slow
    // frame) start afresh instead of rushing frames to catch up.
    b.nextDeadline += period;
    const auto after = Clock::now();
    if (after > b.nextDeadline + period)
      b.nextDeadline = after;
    else
      std::this_thread::sleep_until(b.nextDeadline);
  }
  return ran;
}

bool hgeEngine::System_Start() {
  Backend& b = TheBackend();
  if (!b.window) {
    LogLine("System_Start: the engine is not initiated");
    return false;
  }
  if (!b.states.frameFunc) {
    LogLine("System_Start: no frame function");
    return false;
  }
  RunFrameLoop(b.controls.frameLimit, nullptr);
  return true;
}

void hgeEngine::System_Shutdown() {
  Backend& b = TheBackend();
  CloseWindow(b);
  b.input.Reset();
  ReapStartedPrograms();
}

void hgeEngine::System_Log(const char* format, ...) {
  char line[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format ? format : "", args);
  va_end(args);
  LogLine("%s", line);
}

// ---- Resources ------------------------------------------------------------

bool hgeEngine::Resource_AttachPack(const char* filename, const char* password) {
  return TheBackend().resources.AttachPack(filename, password);
}

void* hgeEngine::Resource_Load(const char* filename, uint32_t* size) {
  return TheBackend().resources.Load(filename, size);
}

void hgeEngine::Resource_Free(void* resource) {
  TheBackend().resources.Free(resource);
}

// ---- Textures -------------------------------------------------------------

HTEXTURE hgeEngine::Texture_Load(const char* filename, uint32_t size, bool) {
  Backend& b = TheBackend();
  if (!filename) return 0;
  if (!b.renderer.Ready()) {
    if (!b.textureLoadWarned) LogLine("Texture_Load: the engine is not initiated");
    b.textureLoadWarned = true;
    return 0;
  }
  void* owned = nullptr;
  const void* bytes = filename;
  uint32_t length = size;
  if (size == 0) {
    owned = Resource_Load(filename, &length);
    if (!owned) return 0;
    bytes = owned;
  }
  HTEXTURE texture = 0;
  if (SDL_RWops* rw =
          SDL_RWFromConstMem(bytes, static_cast<int>(std::min<uint32_t>(length, INT32_MAX)))) {
    if (SDL_Surface* image = IMG_Load_RW(rw, 1)) {
      texture = b.renderer.AddTexture(image);
      SDL_FreeSurface(image);
    } else {
      LogLine("Texture %s cannot be decoded: %s", size == 0 ? filename : "(from memory)",
              IMG_GetError());
    }
  }
  if (owned) Resource_Free(owned);
  return texture;
}

void hgeEngine::Texture_Free(HTEXTURE texture) {
  TheBackend().renderer.FreeTexture(texture);
}

int hgeEngine::Texture_GetWidth(HTEXTURE texture, bool) {
  int w = 0, h = 0;
  return TheBackend().renderer.TextureSize(texture, &w, &h) ? w : 0;
}

int hgeEngine::Texture_GetHeight(HTEXTURE texture, bool) {
  int w = 0, h = 0;
  return TheBackend().renderer.TextureSize(texture, &w, &h) ? h : 0;
}

// ---- Timer and input ------------------------------------------------------

float hgeEngine::Timer_GetDelta() {
  return TheBackend().delta;
}

void hgeEngine::Input_GetMousePos(float* x, float* y) {
  const Backend& b = TheBackend();
  float mx = b.input.MouseX(), my = b.input.MouseY();
  // While a button is held SDL keeps reporting the pointer beyond the window
  // (and the letterbox bands map outside the drawing area): report the
  // nearest point of the drawing area, so nothing is placed where it cannot
  // be seen or reached again.
  if (b.window && b.states.width > 0 && b.states.height > 0) {
    mx = std::clamp(mx, 0.0f, static_cast<float>(b.states.width - 1));
    my = std::clamp(my, 0.0f, static_cast<float>(b.states.height - 1));
  }
  if (x) *x = mx;
  if (y) *y = my;
}

bool hgeEngine::Input_IsMouseOver() {
  return TheBackend().input.Over();
}
bool hgeEngine::Input_GetKeyState(int key) {
  return TheBackend().input.Held(key);
}
int hgeEngine::Input_GetKey() {
  return TheBackend().input.FrameKey();
}

// ---- Drawing --------------------------------------------------------------

bool hgeEngine::Gfx_BeginScene(HTARGET target) {
  // The screen is the only target.
  if (target != 0 || !TheBackend().renderer.Ready()) return false;
  TheBackend().renderer.Begin();
  return true;
}

void hgeEngine::Gfx_EndScene() {
  TheBackend().renderer.Present();
}
void hgeEngine::Gfx_Clear(uint32_t colour) {
  TheBackend().renderer.Clear(colour);
}

void hgeEngine::Gfx_RenderLine(float x1, float y1, float x2, float y2, uint32_t colour, float) {
  TheBackend().renderer.Line(x1, y1, x2, y2, colour);
}

void hgeEngine::Gfx_RenderQuad(const hgeQuad* quad) {
  if (quad) TheBackend().renderer.Quad(*quad);
}
