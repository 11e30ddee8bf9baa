// The SDL backend's one state object, shared by the engine operations, the
// operating-system calls and the backend controls. Private to engine/sdl.
#pragma once

#include <SDL.h>

#include <chrono>
#include <string>

#include "engine/sdl/backend_control.h"
#include "engine/sdl/input.h"
#include "engine/sdl/renderer.h"
#include "engine/sdl/resources.h"
#include "gfx/engine.h"

struct EngineStates {
  std::string title = "QuenPath";
  bool windowed = true;
  int width = 800;
  int height = 600;
  bool hideMouse = true;
  bool useSound = false;
  bool dontSuspend = false;
  bool textureFilter = true;
  int fps = 0;
  hgeCallback frameFunc = nullptr;
  hgeCallback renderFunc = nullptr;
};

struct BackendControls {
  std::string videoDriver;
  backend::RendererChoice rendererChoice = backend::RendererChoice::Automatic;
  float manualDelta = 0.0f;
  int frameLimit = 0;
  backend::BeforeFrameHook beforeFrame;
  backend::AfterFrameHook afterFrame;
  backend::MessageBoxHook messageBox;
  backend::ProgramStarterHook programStarter;
  bool capture = false;
  bool skipUnchanged = true;
};

struct Backend {
  EngineStates states;
  BackendControls controls;
  std::string error = "";

  bool videoUp = false;
  SDL_Window* window = nullptr;
  FrameRenderer renderer;
  InputState input;
  ResourceStore resources;

  bool closeRequested = false;
  bool focused = true;
  int frameIndex = 0;
  float delta = 0.0f;
  bool loopStarted = false;  // the first frame's delta is the nominal one
  std::chrono::steady_clock::time_point lastFrameStart;
  std::chrono::steady_clock::time_point nextDeadline;
  bool textureLoadWarned = false;
  bool soundWarned = false;
};

Backend& TheBackend();

// The window's size for a drawing area on a desktop whose usable part is
// given: the area itself when it fits with room for the window frame,
// otherwise scaled down with its shape kept. An unknown desktop (0) keeps
// the area's size.
void FitWindowToDesktop(int width, int height, int usableWidth, int usableHeight, int* outWidth,
                        int* outHeight);

// Runs up to `count` frames (0: until the loop ends); returns the number
// run, *ended set when the frame callback or the user ended the loop.
int RunFrameLoop(int count, bool* ended);
