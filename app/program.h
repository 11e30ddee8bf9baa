// The program's entry sequence and the engine callbacks it installs.
#pragma once

// Runs the whole program: engine set-up, assets, the frame loop, shut-down.
// Returns the exit code, 0 on every path. It gives back everything it made
// before it returns, so it can run again in the same process.
int RunProgram();

// Engine callbacks: FrameUpdate returns true to end the loop.
bool FrameUpdate();
bool FrameRender();

// Start-up assets and the scene reset. LoadAssets returns true on failure.
bool LoadAssets();
void BuildStartScene();
void ClearAll();

// Destroys MainScene, the fonts and the textures LoadAssets loaded (the
// engine must still be there to free them).
void ReleaseAssets();
// Empties the world and both panels, then ReleaseAssets, and puts the frame
// clock, the hold-off and the logo fade back to their start values.
void ReleaseProgramObjects();
