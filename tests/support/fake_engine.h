// The recording fake engine that unit and integration tests link instead of
// the SDL backend. Resources come from an in-memory map, textures are
// registered with sizes, every line and quad is recorded, input is scripted
// per frame, and message boxes and started programs are recorded instead of
// shown.
//
//   FakeEngine& fake = FakeEngine::Get();
//   fake.Reset();
//   fake.AddTexture("graphics\\building.png", 32, 32);
//   fake.SetMouse(100, 100);
//   fake.Hold(KEY_LBUTTON);
//   fake.RunFrame();       // frame callback, then render callback
//   EXPECT_EQ(fake.lines.size(), 0u);
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gfx/engine.h"

struct FakeLine {
  float x1, y1, x2, y2;
  uint32_t colour;
  float z;
};

struct FakeMessageBox {
  std::string text;
  std::string caption;
  unsigned flags;
};

struct FakeStarted {
  std::string command;
  int showMode;
};

// One System_SetState call: the code, and the value as int (bools 0/1,
// callbacks 1 when set) and as text (titles).
struct FakeStateCall {
  int code;
  long long value;
  std::string text;
};

class FakeEngine {
 public:
  static FakeEngine& Get();

  // Forgets everything: resources, textures, input, records, failures.
  // Engine references held by live objects stay counted.
  void Reset();

  // ---- Resources and textures -------------------------------------------
  // Names are matched with "\" and "/" treated alike.
  void AddResource(const std::string& name, const std::string& bytes);
  void RemoveResource(const std::string& name);
  // A texture file that Texture_Load can load, with its stored size. Each
  // load gives a new handle.
  void AddTexture(const std::string& name, int width, int height);
  void RemoveTexture(const std::string& name);
  // Name that a live handle was loaded from ("" when unknown).
  std::string TextureName(HTEXTURE texture) const;
  int LiveTextureCount() const { return static_cast<int>(liveTextures.size()); }
  int OutstandingResources() const { return outstandingResources; }

  // ---- Input, per frame -------------------------------------------------
  void SetMouse(float x, float y) {
    mouseX = x;
    mouseY = y;
  }
  void Hold(int key) { held.insert(key); }
  void ReleaseKey(int key) { held.erase(key); }
  void ReleaseAll() { held.clear(); }
  // The key that goes down this frame; cleared after every RunFrame.
  void Press(int key) { frameKey = key; }
  void SetDelta(float seconds) { delta = seconds; }

  // Runs one frame: the frame callback, then the render callback. Returns
  // what the frame callback returned. The frame's key is cleared afterwards.
  bool RunFrame();
  // Runs frames until the frame callback returns true or `count` ran.
  // Returns the number of frames run.
  int RunFrames(int count);

  // ---- Records ------------------------------------------------------------
  void ClearDrawing() {
    lines.clear();
    quads.clear();
    lineCount = quadCount = 0;
  }

  // When false, drawing is counted but not stored (benchmarks).
  bool recordDrawing = true;
  std::vector<FakeLine> lines;
  std::vector<hgeQuad> quads;
  long long lineCount = 0;
  long long quadCount = 0;
  int beginSceneCount = 0;
  int endSceneCount = 0;
  std::vector<uint32_t> clears;

  std::vector<FakeStateCall> stateCalls;
  std::vector<std::string> logLines;
  std::vector<FakeMessageBox> messageBoxes;
  std::vector<FakeStarted> started;
  // Called for every message box (after it is recorded), while the "box is
  // up"; tests use it to change input as a user would meanwhile.
  std::function<void(const FakeMessageBox&)> onMessageBox;

  std::string attachedPack;
  std::string attachedPassword;
  bool packAttachResult = true;

  int refCount = 0;
  int createCount = 0;   // engines created (first reference)
  int destroyCount = 0;  // engines destroyed (last reference given back)
  int initiateCount = 0;
  int startCount = 0;
  int shutdownCount = 0;

  // ---- Behaviour switches -----------------------------------------------
  bool failInitiate = false;
  std::string errorMessage = "fake engine: no error";
  // Frames System_Start runs before it returns (it also stops when the frame
  // callback returns true).
  int framesOnStart = 0;

  // ---- Current engine state (read by the engine operations) ---------------
  hgeCallback frameFunc = nullptr;
  hgeCallback renderFunc = nullptr;
  float mouseX = 0, mouseY = 0;
  bool mouseOver = true;
  std::set<int> held;
  int frameKey = 0;
  float delta = 0.02f;

  std::map<std::string, std::string> resources;  // normalised name -> bytes
  std::map<std::string, std::pair<int, int>> textureFiles;
  std::map<HTEXTURE, std::string> liveTextures;
  HTEXTURE nextTexture = 1;
  int outstandingResources = 0;

  static std::string Normalise(const std::string& name);
};
