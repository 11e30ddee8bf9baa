// The frame callback: house editing, the two panels, the F key, the two web
// links, the logo fade and the frame clock, under the input hold-off: an
// action is accepted only while NextInputTime < FrameClock, and accepting
// one pushes NextInputTime past the clock by its delay.
#include <climits>
#include <cmath>

#include "app/config.h"
#include "app/frame.h"
#include "app/link.h"
#include "app/program.h"
#include "solver/evolution.h"

namespace {

constexpr float LINK_STRIP_TOP = MAP_HEIGHT - 20;  // 940
constexpr float LEFT_LINK_RIGHT = 120;
constexpr float RIGHT_LINK_LEFT = MAP_WIDTH - 100;  // 860
constexpr float HELP_HALF_WIDTH = 40;
// The logo waits this many frame units (4 s) before it fades by itself; a
// step above FAST_FADE_TEST means the user already gave input.
constexpr float LOGO_WAIT = 4.0f * FRAME_RATE;
constexpr float FAST_FADE_STEP = 0.1f;
constexpr float FAST_FADE_TEST = 0.09f;

bool Accepting() {
  return NextInputTime < FrameClock;
}

// The panels take integer pixels; out-of-range or NaN positions (a mouse
// the engine could not place) must not become undefined conversions.
int TruncateCoordinate(float value) {
  if (!(value > static_cast<float>(INT_MIN) && value < static_cast<float>(INT_MAX))) return 0;
  return static_cast<int>(value);
}

}  // namespace

bool InLeftLink(float mx, float my) {
  return my > LINK_STRIP_TOP && mx < LEFT_LINK_RIGHT;
}

bool InRightLink(float mx, float my) {
  return my > LINK_STRIP_TOP && RIGHT_LINK_LEFT < mx && mx < MAP_WIDTH;
}

bool InHelpLabel(float mx, float my) {
  const float centre = MAP_WIDTH * 0.5f;
  return my > LINK_STRIP_TOP && centre - HELP_HALF_WIDTH < mx && mx < centre + HELP_HALF_WIDTH;
}

void HandleCandidatePanel(float mx, float my) {
  if (!CandidatePanel.visible) return;
  World.highlighted = nullptr;
  std::string name;
  const int state = CandidatePanel.HandleInput(Engine->Input_GetKey(), TruncateCoordinate(mx),
                                               TruncateCoordinate(my), &name, 0);
  if (state == GUI_CLICK) {
    // A click on a label selects nothing; it only takes the hold-off.
    if (Engine->Input_GetKey() == KEY_LBUTTON && Accepting())
      NextInputTime = FrameClock + INPUT_DELAY;
    if (Engine->Input_GetKey() == KEY_RBUTTON && Accepting())
      NextInputTime = FrameClock + INPUT_DELAY;
  } else if (state == GUI_HOVER) {
    const int position = World.items.FindFirst(name);
    QPATHDATA* entry = position >= 0 ? World.items.Object(position) : nullptr;
    if (entry) World.highlighted = entry->object;
  }
}

bool HandleSystemPanel(float mx, float my) {
  if (!SystemPanel.visible) return false;
  std::string name;
  const int state = SystemPanel.HandleInput(Engine->Input_GetKey(), TruncateCoordinate(mx),
                                            TruncateCoordinate(my), &name, 0);
  if (state != GUI_CLICK || Engine->Input_GetKey() != KEY_LBUTTON || !Accepting()) return false;
  if (name == "Button1") {  // Clear
    ClearAll();
    CreatePaths(&World);
  } else if (name == "Button2") {  // Reset
    ResetPaths();
  } else if (name == "Button3") {  // Find path
    Evolve(&World);
  } else if (name == "4") {  // Ouit
    return true;
  }
  NextInputTime = FrameClock + INPUT_DELAY;
  return false;
}

void UpdateLogoFade() {
  if (!LogoObject) return;
  hgeSprite* sprite = LogoObject->graphics ? LogoObject->graphics->sprite : nullptr;
  FloatColor colour;
  if (sprite) colour.FromARGB(sprite->GetColor(0));
  if (FrameClock > LOGO_WAIT || LogoFadeStep > FAST_FADE_TEST) {
    if (colour.a > 0) {
      colour.a = colour.a < LogoFadeStep ? 0.0f : colour.a - LogoFadeStep;
    } else {
      LogoObject = nullptr;  // faded out; the object stays in the scene
    }
  }
  if (Engine->Input_GetKeyState(KEY_LBUTTON) || Engine->Input_GetKey() != 0)
    LogoFadeStep = FAST_FADE_STEP;
  if (LogoObject && sprite) sprite->SetColor(colour.ToARGB(), -1);
}

bool FrameUpdate() {
  if (!Engine) return false;
  float delta = Engine->Timer_GetDelta();
  // A timer that runs backwards or reports garbage must not stop the clock
  // for good (a NaN clock would refuse every later input).
  if (!std::isfinite(delta) || delta < 0.0f) delta = 0.0f;
  float mx = 0.0f, my = 0.0f;
  Engine->Input_GetMousePos(&mx, &my);

  // The links lie inside the map: a left press on one opens its page and
  // must not place a house there as well.
  const bool onLink = InLeftLink(mx, my) || InRightLink(mx, my);
  EditBuildings(&World, mx, my, !onLink);
  HandleCandidatePanel(mx, my);
  if (HandleSystemPanel(mx, my)) return true;

  if (Engine->Input_GetKeyState(KEY_F) && Accepting()) {
    Evolve(&World);
    NextInputTime = FrameClock + INPUT_DELAY / 3;
  }
  const bool left = Engine->Input_GetKeyState(KEY_LBUTTON);
  if (left && InLeftLink(mx, my) && Accepting()) {
    OpenWebPage(SITE_URL);
    NextInputTime = FrameClock + INPUT_DELAY;
  }
  if (left && InRightLink(mx, my) && Accepting()) {
    OpenWebPage(ENGINE_SITE_URL);
    NextInputTime = FrameClock + INPUT_DELAY;
  }
  UpdateLogoFade();
  FrameClock = FrameClock + delta / FRAME_TIME;
  return false;
}
