// The operating-system calls on SDL2 and POSIX: the message box (standard
// error where no box can be shown) and the program starter (the desktop's
// web-page opener, or posix_spawnp; never a shell).
#include "gfx/os.h"

#include <SDL.h>

#include <cstdio>

#include "engine/sdl/backend.h"
#include "engine/sdl/command_line.h"
#include "engine/sdl/log.h"

namespace {
// WinExec's "file not found", the failure the caller may look for.
constexpr unsigned START_FAILED = 2;
constexpr unsigned START_DONE = 33;

Uint32 MessageBoxIcon(unsigned flags) {
  switch (flags & 0xF0) {
    case 0x10:
      return SDL_MESSAGEBOX_ERROR;
    case 0x30:
      return SDL_MESSAGEBOX_WARNING;
    case 0x40:
      return SDL_MESSAGEBOX_INFORMATION;
    default:
      return 0;
  }
}

// The box took the input: held keys and buttons are the device's again.
void AfterBlockingCall() {
  Backend& b = TheBackend();
  if (b.window) b.input.ResyncWithDevice();
}
}  // namespace

int OS_MessageBox(const char* text, const char* caption, unsigned flags) {
  Backend& b = TheBackend();
  const char* t = text ? text : "";
  const char* c = caption ? caption : "";
  if (b.controls.messageBox) {
    const int result = b.controls.messageBox(t, c, flags);
    AfterBlockingCall();
    return result;
  }
  if (SDL_ShowSimpleMessageBox(MessageBoxIcon(flags), c, t, nullptr) == 0) {
    AfterBlockingCall();
    return 1;
  }
  // No display to show it on: say it where it can still be read.
  std::fprintf(stderr, "%s: %s\n", c, t);
  return 0;
}

unsigned OS_StartProgram(const char* commandLine, int showMode) {
  Backend& b = TheBackend();
  backend::StartRequest request;
  request.commandLine = commandLine ? commandLine : "";
  request.showMode = showMode;
  request.fields = SplitCommandLine(request.commandLine.c_str());
  request.webPage = IsWebPageRequest(request.fields);
  if (b.controls.programStarter) return b.controls.programStarter(request);

  if (request.fields.empty()) return START_FAILED;
  if (request.webPage) {
    const std::string& address = request.fields[1];
    if (!IsWebAddress(address)) {
      LogLine("Not opening \"%s\": not a web address", address.c_str());
      return START_FAILED;
    }
    if (SDL_OpenURL(address.c_str()) != 0) {
      LogLine("Cannot open %s: %s", address.c_str(), SDL_GetError());
      return START_FAILED;
    }
    return START_DONE;
  }
  std::string why;
  if (SpawnProgram(request.fields, &why) < 0) {
    LogLine("Cannot start %s: %s", request.fields[0].c_str(), why.c_str());
    return START_FAILED;
  }
  return START_DONE;
}
