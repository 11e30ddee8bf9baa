// Input from SDL events and injected input, in key codes of the engine.
#include "engine/sdl/input.h"

#include "gfx/engine.h"

int KeyCodeFromSdl(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return KEY_A + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return KEY_0 + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return KEY_F1 + (key - SDLK_F1);
  switch (key) {
    case SDLK_BACKSPACE:
      return KEY_BACKSPACE;
    case SDLK_TAB:
      return KEY_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return KEY_ENTER;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return KEY_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return KEY_CTRL;
    case SDLK_LALT:
    case SDLK_RALT:
      return KEY_ALT;
    case SDLK_ESCAPE:
      return KEY_ESCAPE;
    case SDLK_SPACE:
      return KEY_SPACE;
    case SDLK_PAGEUP:
      return KEY_PGUP;
    case SDLK_PAGEDOWN:
      return KEY_PGDN;
    case SDLK_END:
      return KEY_END;
    case SDLK_HOME:
      return KEY_HOME;
    case SDLK_LEFT:
      return KEY_LEFT;
    case SDLK_UP:
      return KEY_UP;
    case SDLK_RIGHT:
      return KEY_RIGHT;
    case SDLK_DOWN:
      return KEY_DOWN;
    case SDLK_INSERT:
      return KEY_INSERT;
    case SDLK_DELETE:
      return KEY_DELETE;
    default:
      return 0;
  }
}

int KeyCodeFromSdlButton(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return KEY_LBUTTON;
    case SDL_BUTTON_RIGHT:
      return KEY_RBUTTON;
    case SDL_BUTTON_MIDDLE:
      return KEY_MBUTTON;
    default:
      return 0;
  }
}

void InputState::Down(int key) {
  if (key <= 0 || key >= 256) return;
  held_[key] = true;
  // The first key of the frame is the frame's key; a quick press and
  // release inside one frame still counts.
  if (frameKey_ == 0) frameKey_ = key;
}

void InputState::Up(int key) {
  if (key > 0 && key < 256) held_[key] = false;
}

void InputState::HandleEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN:
      if (!e.key.repeat) Down(KeyCodeFromSdl(e.key.keysym.sym));
      break;
    case SDL_KEYUP:
      Up(KeyCodeFromSdl(e.key.keysym.sym));
      break;
    case SDL_MOUSEMOTION:
      SetMouse(static_cast<float>(e.motion.x), static_cast<float>(e.motion.y));
      break;
    case SDL_MOUSEBUTTONDOWN:
      SetMouse(static_cast<float>(e.button.x), static_cast<float>(e.button.y));
      Down(KeyCodeFromSdlButton(e.button.button));
      break;
    case SDL_MOUSEBUTTONUP:
      SetMouse(static_cast<float>(e.button.x), static_cast<float>(e.button.y));
      Up(KeyCodeFromSdlButton(e.button.button));
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_ENTER) over_ = true;
      if (e.window.event == SDL_WINDOWEVENT_LEAVE) over_ = false;
      break;
    default:
      break;
  }
}

void InputState::ApplyInjected() {
  for (const Injected& e : injected_) {
    switch (e.kind) {
      case Injected::MOVE:
        SetMouse(e.x, e.y);
        break;
      case Injected::KEY_DOWN:
        Down(e.key);
        break;
      case Injected::KEY_UP:
        Up(e.key);
        break;
      case Injected::OVER:
        over_ = true;
        break;
      case Injected::OUT:
        over_ = false;
        break;
    }
  }
  injected_.clear();
}

void InputState::ResyncWithDevice() {
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_KEYDOWN, SDL_KEYUP);
  SDL_FlushEvents(SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP);
  held_.reset();
  // The global state asks the display server, so a button released over
  // another window (the box) is seen as released.
  const Uint32 buttons = SDL_GetGlobalMouseState(nullptr, nullptr);
  for (Uint8 b : {Uint8(SDL_BUTTON_LEFT), Uint8(SDL_BUTTON_RIGHT), Uint8(SDL_BUTTON_MIDDLE)})
    if (buttons & SDL_BUTTON(b)) held_[KeyCodeFromSdlButton(b)] = true;
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  for (int sc = 0; keys && sc < count; ++sc) {
    if (!keys[sc]) continue;
    const int key = KeyCodeFromSdl(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(sc)));
    if (key) held_[key] = true;
  }
}

void InputState::Reset() {
  held_.reset();
  frameKey_ = 0;
  mouseX_ = mouseY_ = 0;
  over_ = false;
  injected_.clear();
}
