// The scripted runner: runs the real program once (RunProgram, with its
// assets, pack and frame callbacks) on the SDL backend's offscreen driver,
// with a fixed frame time and no pacing, and plays a parsed script from the
// backend's before- and after-frame hooks. Message boxes are recorded and
// dismissed at once; started command lines are recorded, not started.
#pragma once

#include <string>
#include <vector>

#include "tools/script/script.h"
#include "tools/script/state_dump.h"

struct ScriptOutcome {
  int exitCode = 0;    // 0 done, 1 the run failed (see error)
  std::string error;   // "line N: ..." or why the program did not run
  std::string notice;  // something the user should know, the run still counted
  RunRecord record;
};

// Runs the commands; call once per process (the backend is global state).
ScriptOutcome RunScript(const std::vector<script::Command>& commands);
