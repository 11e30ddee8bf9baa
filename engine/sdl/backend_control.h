// Control of the SDL backend from tools, tests and benchmarks (never from
// the portable program code): headless runs on the `offscreen` video driver,
// renderer choice, a manual clock, injected input, hooks in place of the
// message box and the program starter, a frame limit with per-frame hooks,
// and a read-back of the rendered frame.
//
// A scripted run of the real program looks like this:
//
//   backend::SetVideoDriver("offscreen");
//   backend::UseManualClock(0.02f);            // every frame lasts 20 ms, no sleeping
//   backend::SetMessageBoxHook(RecordBox);     // boxes are recorded and dismissed
//   backend::SetProgramStarterHook(RecordStart);
//   backend::SetBeforeFrameHook([](int frame) {
//     if (frame == 10) backend::InjectMouseMove(300, 200);
//     if (frame == 11) backend::InjectClick(KEY_LBUTTON);
//     return frame < 100;                       // false ends System_Start
//   });
//   backend::SetAfterFrameHook([](int frame) {
//     std::vector<uint32_t> pixels; int w, h;
//     if (frame == 99) backend::ReadFrame(&pixels, &w, &h);
//   });
//   RunProgram();                               // System_Start runs the hooks
//
// Everything here may be called before hgeCreate. Settings stay until
// changed or until ResetControls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace backend {

// ---- Start-up (read by System_Initiate) -----------------------------------

// Video driver to open ("offscreen", "x11", "wayland", ...). Empty: SDL's own
// choice, which honours the SDL_VIDEODRIVER environment variable.
void SetVideoDriver(const std::string& driver);

enum class RendererChoice {
  Automatic,    // accelerated unless the only OpenGL is a software rasteriser
  Software,     // the CPU frame buffer, presented with SDL's software renderer
  Accelerated,  // SDL's accelerated renderer; System_Initiate fails without one
};
void SetRendererChoice(RendererChoice choice);

// After System_Initiate: true when frames are drawn into the CPU frame buffer.
bool UsesSoftwareFrame();
// After System_Initiate: the renderer in use and why it was chosen, as logged.
std::string RendererDescription();

// Directory in which packs and plain resource files are looked up. Empty:
// the directory of the executable (the default).
void SetResourceDirectory(const std::string& directory);

// ---- Clock ----------------------------------------------------------------

// With seconds > 0, every frame lasts exactly that long for Timer_GetDelta
// and the frame loop never sleeps. With 0 the real clock and pacing return.
void UseManualClock(float seconds);

// ---- Frame loop -----------------------------------------------------------

// Called at the start of every frame of System_Start or RunFrames, before the
// frame's input is collected, so that input injected here belongs to this
// frame. `frame` counts from 0 since the engine was initiated. Returning
// false ends the loop before the frame runs.
using BeforeFrameHook = std::function<bool(int frame)>;
void SetBeforeFrameHook(BeforeFrameHook hook);
// Called after the frame's render callback (the frame is presented by then).
using AfterFrameHook = std::function<void(int frame)>;
void SetAfterFrameHook(AfterFrameHook hook);

// System_Start returns after at most this many frames; 0 means no limit.
void SetFrameLimit(int frames);

// Runs up to `count` frames exactly as System_Start does (hooks and pacing
// included) and returns how many ran. Stops early when the frame callback
// returns true or the window is closed; then *ended is set to true. Needs an
// initiated engine and a frame callback, otherwise returns 0.
int RunFrames(int count, bool* ended = nullptr);

// ---- Injected input -------------------------------------------------------
// Applied, in the order given, when the next frame collects its input, after
// the real events. Coordinates are in the logical drawing area (1200 x 960
// for the program). Keys are the key codes of gfx/engine.h; mouse buttons
// are KEY_LBUTTON, KEY_RBUTTON and KEY_MBUTTON.

void InjectMouseMove(float x, float y);
void InjectKey(int key, bool down);
// Down and up within one frame: Input_GetKey reports it for that frame while
// Input_GetKeyState stays false.
void InjectClick(int key);
void InjectMouseOver(bool over);
// As if the user closed the window: the loop ends before the next frame.
void InjectWindowClose();

// ---- Operating-system calls -----------------------------------------------

// Replaces the message box: the hook is called instead of showing one and
// its result is OS_MessageBox's result. After it returns, held keys and
// buttons are taken from the real device again, as after a real box (so a
// held injected button is released; inject it again to keep holding).
// An empty hook restores the real box.
using MessageBoxHook =
    std::function<int(const std::string& text, const std::string& caption, unsigned flags)>;
void SetMessageBoxHook(MessageBoxHook hook);

struct StartRequest {
  std::string commandLine;  // as given to OS_StartProgram
  int showMode = 0;
  std::vector<std::string> fields;  // the split command line
  bool webPage = false;             // "Explorer" with one address
};
// Replaces the program starter: nothing is started, the hook's result is
// OS_StartProgram's result. An empty hook restores the real starter.
using ProgramStarterHook = std::function<unsigned(const StartRequest& request)>;
void SetProgramStarterHook(ProgramStarterHook hook);

// ---- Frame read-back ------------------------------------------------------

// With the CPU frame buffer every frame can be read back at no cost. With an
// accelerated renderer, frames are copied back from the GPU at Gfx_EndScene
// only while capture is on (it costs time).
void SetFrameCapture(bool on);
// The last frame presented by Gfx_EndScene, as 0xAARRGGBB pixels row by row,
// in logical size (1200 x 960 for the program). False when no frame exists.
// Call it between frames (for example from the after-frame hook).
bool ReadFrame(std::vector<uint32_t>* pixels, int* width, int* height);

// ---- Unchanged frames -----------------------------------------------------

// A frame drawn exactly like the one on screen is not drawn or shown again.
// Benchmarks that repeat one frame turn this off to measure real drawing.
void SetSkipUnchangedFrames(bool on);
// Frames drawn and shown, and frames skipped as unchanged, since the engine
// was initiated.
long long FramesShown();
long long FramesSkipped();

// Puts every setting above back to its default and drops pending injected
// input.
void ResetControls();

}  // namespace backend
