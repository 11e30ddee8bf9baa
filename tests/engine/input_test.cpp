// Input through the real backend: real SDL events pushed onto SDL's queue
// and the injected input of the backend controls, frame by frame.
#include "engine_fixture.h"
#include "gfx/os.h"

namespace {

struct Seen {
  int key;
  bool held;  // the watched key
  bool over;
  float x, y;
};

// Input comes either as real SDL events on SDL's queue or as the backend's
// injected input; the scenarios run through both.
enum class Source { PUSHED, INJECTED };
const Source SOURCES[] = {Source::PUSHED, Source::INJECTED};
const char* Name(Source s) {
  return s == Source::PUSHED ? "pushed SDL events" : "injected input";
}

class InputTest : public SdlEngineTest {
 protected:
  void SetUp() override {
    SdlEngineTest::SetUp();
    frameBody = [this] {
      float x = 0, y = 0;
      engine->Input_GetMousePos(&x, &y);
      seen.push_back({engine->Input_GetKey(), engine->Input_GetKeyState(watched),
                      engine->Input_IsMouseOver(), x, y});
      return false;
    };
  }
  Seen Frame() {
    const size_t before = seen.size();
    Run(1);
    EXPECT_EQ(seen.size(), before + 1);
    return seen.empty() ? Seen{} : seen.back();
  }
  void Down(Source s, int key) { Send(s, key, true); }
  void Up(Source s, int key) { Send(s, key, false); }

  int watched = KEY_LBUTTON;
  std::vector<Seen> seen;

 private:
  void Send(Source s, int key, bool down) {
    if (s == Source::INJECTED) {
      backend::InjectKey(key, down);
    } else if (key == KEY_LBUTTON || key == KEY_RBUTTON) {
      PushButton(key == KEY_LBUTTON ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT, down, 10, 10);
    } else {
      ASSERT_TRUE(key >= KEY_A && key <= KEY_Z);
      PushKey(SDLK_a + (key - KEY_A), down);
    }
  }
};

TEST_F(InputTest, AQuickClickIsTheKeyOfExactlyOneFrame) {
  for (Source s : SOURCES) {
    for (int key : {KEY_LBUTTON, KEY_RBUTTON, KEY_F}) {
      watched = key;
      Frame();  // a quiet frame first
      Down(s, key);
      Up(s, key);
      const Seen first = Frame();
      EXPECT_EQ(first.key, key) << Name(s);
      EXPECT_FALSE(first.held) << Name(s) << ": released within the frame";
      EXPECT_EQ(Frame().key, 0) << Name(s) << ": reported twice";
    }
  }
}

TEST_F(InputTest, AHeldButtonIsReportedOnceAndHeldUntilReleased) {
  for (Source s : SOURCES) {
    Down(s, KEY_LBUTTON);
    const Seen first = Frame();
    EXPECT_EQ(first.key, KEY_LBUTTON) << Name(s);
    EXPECT_TRUE(first.held) << Name(s);
    for (int i = 0; i < 3; ++i) {
      const Seen held = Frame();
      EXPECT_EQ(held.key, 0) << Name(s) << ": a held button repeats";
      EXPECT_TRUE(held.held) << Name(s);
    }
    Up(s, KEY_LBUTTON);
    const Seen released = Frame();
    EXPECT_EQ(released.key, 0) << Name(s);
    EXPECT_FALSE(released.held) << Name(s);
  }
}

TEST_F(InputTest, KeyboardAutoRepeatIsNotANewKey) {
  watched = KEY_F;
  PushKey(SDLK_f, true);
  EXPECT_EQ(Frame().key, KEY_F);
  PushKey(SDLK_f, true, /*repeat=*/true);
  PushKey(SDLK_f, true, /*repeat=*/true);
  const Seen repeated = Frame();
  EXPECT_EQ(repeated.key, 0);
  EXPECT_TRUE(repeated.held);
  PushKey(SDLK_f, false);
  EXPECT_FALSE(Frame().held);
}

TEST_F(InputTest, LeavingTheWindowClearsMouseOver) {
  PushWindowEvent(SDL_WINDOWEVENT_ENTER);
  EXPECT_TRUE(Frame().over);
  PushWindowEvent(SDL_WINDOWEVENT_LEAVE);
  EXPECT_FALSE(Frame().over);
  EXPECT_FALSE(Frame().over) << "it stays out until the pointer comes back";
  PushWindowEvent(SDL_WINDOWEVENT_ENTER);
  EXPECT_TRUE(Frame().over);
  backend::InjectMouseOver(false);
  EXPECT_FALSE(Frame().over);
  backend::InjectMouseOver(true);
  EXPECT_TRUE(Frame().over);
}

TEST_F(InputTest, MousePositionsAreInTheDrawingAreaEvenWhenTheWindowIsScaled) {
  PushMotion(300, 200);
  const Seen direct = Frame();
  EXPECT_FLOAT_EQ(direct.x, 300);
  EXPECT_FLOAT_EQ(direct.y, 200);
  backend::InjectMouseMove(12.5f, 700.25f);
  const Seen injected = Frame();
  EXPECT_FLOAT_EQ(injected.x, 12.5f);
  EXPECT_FLOAT_EQ(injected.y, 700.25f);

  // Beyond the window (a drag out of it) the nearest point of the area.
  struct Outside {
    float x, y, seenX, seenY;
  } outside[] = {{-50, 100, 0, 100}, {300, -4, 300, 0}, {1500, 2000, 1199, 959}};
  for (const Outside& o : outside) {
    backend::InjectMouseMove(o.x, o.y);
    const Seen clamped = Frame();
    EXPECT_FLOAT_EQ(clamped.x, o.seenX) << o.x << "," << o.y;
    EXPECT_FLOAT_EQ(clamped.y, o.seenY) << o.x << "," << o.y;
  }

  // At half size, window pixels map back to the 1200 x 960 area.
  SDL_SetWindowSize(Window(), 600, 480);
  Frame();  // lets the resize reach the renderer
  int w = 0, h = 0;
  SDL_GetWindowSize(Window(), &w, &h);
  ASSERT_EQ(w, 600) << "the offscreen driver did not resize";
  PushMotion(150, 120);
  const Seen scaled = Frame();
  EXPECT_NEAR(scaled.x, 300, 1);
  EXPECT_NEAR(scaled.y, 240, 1);
}

TEST_F(InputTest, AfterAMessageBoxHeldStatesMatchTheDevice) {
  for (Source s : SOURCES) {
    for (int key : {KEY_LBUTTON, KEY_F}) {
      watched = key;
      Down(s, key);
      ASSERT_TRUE(Frame().held) << Name(s);
      // The user lets go while the box is up; the release goes to the box.
      EXPECT_EQ(OS_MessageBox("Too many houses", "QuenPath", MB_FLAG_ICON_ERROR), 1);
      EXPECT_FALSE(Frame().held) << Name(s) << ": still held after the box";
    }
  }
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].text, "Too many houses");
  EXPECT_EQ(boxes[0].caption, "QuenPath");
  EXPECT_EQ(boxes[0].flags, MB_FLAG_ICON_ERROR);
}

}  // namespace
