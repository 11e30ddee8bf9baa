// The engine's input state: mouse position and presence, held keys and
// buttons, and the key that went down during the frame. It is fed from SDL
// events and from injected input, one frame at a time.
#pragma once

#include <SDL.h>

#include <bitset>
#include <vector>

// The key code (gfx/engine.h) of an SDL key, 0 for keys the engine does not
// report.
int KeyCodeFromSdl(SDL_Keycode key);
// The key code of an SDL mouse button, 0 for others.
int KeyCodeFromSdlButton(Uint8 button);

class InputState {
 public:
  struct Injected {
    enum Kind { MOVE, KEY_DOWN, KEY_UP, OVER, OUT } kind;
    int key;
    float x, y;
  };

  // Starts a frame: forgets the previous frame's key.
  void BeginFrame() { frameKey_ = 0; }
  // Applies one SDL event (mouse coordinates already in logical units, as
  // the renderer delivers them).
  void HandleEvent(const SDL_Event& event);
  void Queue(const Injected& event) { injected_.push_back(event); }
  // Applies the injected input queued since the last call.
  void ApplyInjected();
  void DropInjected() { injected_.clear(); }

  // Held keys and buttons become what the devices show now; key and button
  // events queued meanwhile are dropped (they went to a modal box).
  void ResyncWithDevice();
  void Reset();

  void SetMouse(float x, float y) {
    mouseX_ = x;
    mouseY_ = y;
  }
  void SetOver(bool over) { over_ = over; }

  float MouseX() const { return mouseX_; }
  float MouseY() const { return mouseY_; }
  bool Over() const { return over_; }
  bool Held(int key) const { return key > 0 && key < 256 && held_[key]; }
  int FrameKey() const { return frameKey_; }

 private:
  void Down(int key);
  void Up(int key);

  std::bitset<256> held_;
  int frameKey_ = 0;
  float mouseX_ = 0, mouseY_ = 0;
  bool over_ = false;
  std::vector<Injected> injected_;
};
