// The program's entry sequence and the engine callbacks it installs.
#pragma once

// Runs the whole program: engine set-up, assets, the frame loop, shut-down.
// Returns the exit code, 0 on every path.
int RunProgram();

// Engine callbacks: FrameUpdate returns true to end the loop.
bool FrameUpdate();
bool FrameRender();

// Start-up assets and the scene reset. LoadAssets returns true on failure.
bool LoadAssets();
void BuildStartScene();
void ClearAll();
