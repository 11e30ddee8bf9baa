// The frame callback driven through whole frames on the fake engine: the
// hold-off, the SYSTEM panel, the F key, the links (and the house editing
// that must leave them alone), label hovering, the frame clock and the logo
// fade.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/frame.h"
#include "app/program.h"
#include "tests/support/app_fixtures.h"

namespace {

class FrameUpdateTest : public AppTest {
 protected:
  // A fresh start scene with the clock well past a hold-off that ran out.
  void FreshState(float clock) {
    ClearAll();
    CreatePaths(&World);
    FrameClock = clock;
    NextInputTime = 0;
    fake.started.clear();
    fake.ReleaseAll();
  }
};

TEST_F(FrameUpdateTest, OuitNeedsALeftClickOutsideTheHoldOff) {
  const ScreenPoint quit = ItemCentre(SystemPanel, "4");
  const ScreenPoint reset = ItemCentre(SystemPanel, "Button2");
  ASSERT_FLOAT_EQ(quit.x, 1080);
  ASSERT_FLOAT_EQ(quit.y, 940);
  Frames(30);
  EXPECT_FALSE(ClickAt(quit.x, quit.y, KEY_RBUTTON));
  // Leaving an item reports it for that frame; click elsewhere after that.
  fake.SetMouse(300, 300);
  Frame();

  // An accepted click on Reset starts the hold-off: 17.5 units.
  const float accepted = FrameClock;
  ASSERT_FALSE(ClickAt(reset.x, reset.y));
  ASSERT_FLOAT_EQ(NextInputTime, accepted + 17.5f);
  while (FrameClock < accepted + 17) Frame();
  EXPECT_FALSE(ClickAt(quit.x, quit.y)) << "clicked at " << FrameClock - 1;
  ASSERT_FLOAT_EQ(FrameClock, accepted + 18);
  // Nothing after the Ouit test runs in its frame: the clock stays.
  EXPECT_TRUE(ClickAt(quit.x, quit.y));
  EXPECT_FLOAT_EQ(FrameClock, accepted + 18);
}

TEST_F(FrameUpdateTest, LinksOpenOnlyInsideTheirOpenAreasAndAddNoHouse) {
  struct Case {
    float x, y;
    const char* page;  // null: none opens
    int houses;        // houses after the frame
  } cases[] = {
      {60, 950, SITE_URL, 0},
      {0, 959, SITE_URL, 0},
      {119.9f, 940.1f, SITE_URL, 0},
      {60, 940, nullptr, 1},  // y = 940 is outside the strip
      {120, 950, nullptr, 1},
      {480, 950, nullptr, 1},  // the help label is no link
      {60, 930, nullptr, 1},
      {860.1f, 950, ENGINE_SITE_URL, 0},
      {959.9f, 959, ENGINE_SITE_URL, 0},
      {860, 950, nullptr, 1},
      {960, 950, nullptr, 0},  // right of the map: neither
  };
  for (const Case& c : cases) {
    FreshState(100);
    fake.SetMouse(c.x, c.y);
    fake.Hold(KEY_LBUTTON);
    EXPECT_FALSE(FrameUpdate());
    EXPECT_EQ(HouseCount(), c.houses) << c.x << "," << c.y;
    if (!c.page) {
      EXPECT_TRUE(fake.started.empty()) << c.x << "," << c.y;
      continue;
    }
    ASSERT_EQ(fake.started.size(), 1u) << c.x << "," << c.y;
    EXPECT_EQ(fake.started[0].command, std::string("Explorer ") + c.page);
    EXPECT_EQ(fake.started[0].showMode, 5);
    EXPECT_FLOAT_EQ(NextInputTime, 100 + 17.5f);
  }
}

TEST_F(FrameUpdateTest, RightButtonStillDeletesOnALink) {
  FreshState(100);
  PlaceHouse(60, 950);
  ASSERT_EQ(HouseCount(), 1);
  fake.SetMouse(60, 950);
  fake.Hold(KEY_RBUTTON);
  FrameUpdate();
  EXPECT_EQ(HouseCount(), 0);
  EXPECT_TRUE(fake.started.empty());
}

TEST_F(FrameUpdateTest, HoldingOnALinkReopensAfterEveryHoldOff) {
  fake.SetMouse(60, 950);
  fake.Hold(KEY_LBUTTON);
  std::vector<float> openedAt;
  for (int frame = 0; frame < 40; ++frame) {
    const float clock = FrameClock;
    const size_t before = fake.started.size();
    Frame();
    if (fake.started.size() > before) openedAt.push_back(clock);
  }
  // Nothing in the first frame after the reset; then every 18 frames of
  // 0.02 s, the first that passes 17.5 units.
  EXPECT_EQ(openedAt, (std::vector<float>{1, 19, 37}));
  EXPECT_EQ(HouseCount(), 0);
}

TEST_F(FrameUpdateTest, ClockCountsFrameUnitsOfRealTime) {
  const ScreenPoint reset = ItemCentre(SystemPanel, "Button2");
  const ScreenPoint find = ItemCentre(SystemPanel, "Button3");
  fake.SetDelta(0.1f);
  Frame();
  EXPECT_FLOAT_EQ(FrameClock, 5);
  ASSERT_FALSE(ClickAt(reset.x, reset.y));  // accepted at 5: hold-off to 22.5
  ASSERT_FLOAT_EQ(NextInputTime, 22.5f);
  // At 10, 15 and 20 a click is refused; at 25 it is taken.
  for (float clock : {10.0f, 15.0f, 20.0f}) {
    ASSERT_FLOAT_EQ(FrameClock, clock);
    const int before = World.pathCount;
    ClickAt(find.x, find.y);
    EXPECT_EQ(World.pathCount, before) << "Find path taken at " << clock;
  }
  const int before = World.pathCount;
  ClickAt(find.x, find.y);
  EXPECT_GT(World.pathCount, before);
  EXPECT_FLOAT_EQ(NextInputTime, 25 + 17.5f);
}

TEST_F(FrameUpdateTest, ClearEmptiesEverythingAndRestartsTheHoldOff) {
  Frames(1);
  for (float x : {100.0f, 300.0f, 500.0f}) PlaceHouse(x, 200);
  ASSERT_NE(LogoObject, nullptr);
  const ScreenPoint clear = ItemCentre(SystemPanel, "Button1");
  const ScreenPoint find = ItemCentre(SystemPanel, "Button3");
  ASSERT_FALSE(ClickAt(clear.x, clear.y));
  EXPECT_EQ(HouseCount(), 0);
  EXPECT_EQ(World.items.Count(), 15);
  EXPECT_EQ(Candidates().size(), 15u);
  EXPECT_EQ(MainScene->ObjectCount(), 15);  // the logo went too
  EXPECT_EQ(LogoObject, nullptr);
  EXPECT_FLOAT_EQ(NextInputTime, 17.5f);
  EXPECT_FLOAT_EQ(FrameClock, 1);

  // Find path and the map ignore clicks until the clock passes 17.5.
  ClickAt(find.x, find.y);
  EXPECT_EQ(Candidates().size(), 15u);
  fake.SetMouse(300, 300);
  fake.Hold(KEY_LBUTTON);
  std::vector<float> addedAt;
  while (FrameClock < 25) {
    const float clock = FrameClock;
    const int before = HouseCount();
    Frame();
    if (HouseCount() > before) addedAt.push_back(clock);
  }
  EXPECT_EQ(addedAt, (std::vector<float>{18}));
}

TEST_F(FrameUpdateTest, ResetAndFindPathAct) {
  for (int i = 0; i < 10; ++i) PlaceHouse(60.0f + 80 * i, 100.0f + (i % 3) * 150);
  Frames(2);  // lengths measured
  const ScreenPoint reset = ItemCentre(SystemPanel, "Button2");
  const ScreenPoint find = ItemCentre(SystemPanel, "Button3");
  ClickAt(find.x, find.y);
  EXPECT_GT(World.pathCount, 15);
  EXPECT_GT(Candidates().size(), 15u);
  const size_t evolved = Candidates().size();
  fake.SetMouse(300, 300);
  WaitForHoldOff();
  ClickAt(reset.x, reset.y);
  EXPECT_EQ(World.pathCount, static_cast<int>(evolved));
  for (QPATHDATA* c : Candidates()) EXPECT_EQ(c->generation, 1);
}

TEST_F(FrameUpdateTest, HoldingFEvolvesEverySixthFrame) {
  fake.SetMouse(300, 300);
  fake.Hold(KEY_F);
  std::vector<float> evolvedAt;
  for (int frame = 0; frame < 16; ++frame) {
    const float clock = FrameClock;
    const int before = World.pathCount;
    Frame();
    if (World.pathCount != before) evolvedAt.push_back(clock);
  }
  EXPECT_EQ(evolvedAt, (std::vector<float>{1, 7, 13}));
}

TEST_F(FrameUpdateTest, ClickOnALabelOnlyTakesTheHoldOff) {
  Frames(2);
  const std::string name = std::to_string(Candidates()[0]->id);
  const ScreenPoint label = ItemCentre(CandidatePanel, name.c_str());
  ASSERT_GT(label.x, 965);
  const float clock = FrameClock;
  const int before = World.pathCount;
  ClickAt(label.x, label.y, KEY_RBUTTON);
  EXPECT_FLOAT_EQ(NextInputTime, clock + 17.5f);
  EXPECT_EQ(World.pathCount, before);
}

TEST_F(FrameUpdateTest, HoveringALabelShowsItsTourFromTheSecondFrame) {
  PlaceHouse(100, 100);
  PlaceHouse(400, 500);
  fake.SetMouse(300, 300);
  Frame();
  EXPECT_EQ(LinesOfColour(TOUR_FAINT_COLOUR).size(), 30u);
  QPATHDATA* first = Candidates()[0];
  const std::string name = std::to_string(first->id);
  const ScreenPoint label = ItemCentre(CandidatePanel, name.c_str());
  fake.SetMouse(label.x, label.y);
  Frame();
  EXPECT_EQ(World.highlighted, nullptr);
  EXPECT_EQ(LinesOfColour(TOUR_FAINT_COLOUR).size(), 30u);
  Frame();
  EXPECT_EQ(World.highlighted, first->object);
  // Only its tour: there and back, yellow as it is not the best (equal
  // lengths go to the oldest candidate).
  EXPECT_EQ(LinesOfColour(TOUR_FAINT_COLOUR).size(), 0u);
  EXPECT_EQ(LinesOfColour(TOUR_HIGHLIGHT_COLOUR).size(), 2u);
  // Moving off clears it again.
  fake.SetMouse(300, 300);
  Frame();
  EXPECT_EQ(World.highlighted, nullptr);
}

TEST_F(FrameUpdateTest, LogoWaitsFourSecondsThenFadesALevelAFrame) {
  fake.SetMouse(300, 300);
  Frames(201);  // the clock was 0 .. 200 in these frames
  EXPECT_EQ(LogoAlpha(), 255);
  Frame();
  EXPECT_EQ(LogoAlpha(), 254);
  Frames(254);
  EXPECT_EQ(LogoAlpha(), 0);
  EXPECT_NE(LogoObject, nullptr);
  Frame();
  EXPECT_EQ(LogoObject, nullptr);
  // The object stays in the scene, invisible; the credits are gone.
  EXPECT_EQ(MainScene->CollectObjects(SITE_NAME, false, nullptr), 1);
  EXPECT_FALSE(FindText(SmallFont, "Thank you"));
}

TEST_F(FrameUpdateTest, FirstInputSpeedsTheFadeUp) {
  struct Case {
    int key;   // pressed this frame
    int held;  // or held
    float x, y;
  } cases[] = {
      {KEY_SPACE, 0, 300, 300},
      {0, KEY_LBUTTON, 1100, 300},  // a held left button away from the map
  };
  for (const Case& c : cases) {
    ClearAll();
    CreatePaths(&World);
    LogoObject =
        MainScene->CreateObject(SITE_NAME, MainScene->FindGraphics(SITE_NAME), 480, 380, 0);
    LogoObject->graphics->sprite->SetColor(0xFFFFFFFF, -1);
    LogoFadeStep = 0.001f;
    fake.SetMouse(c.x, c.y);
    Frames(10);
    EXPECT_EQ(LogoAlpha(), 255);
    if (c.key) fake.Press(c.key);
    if (c.held) fake.Hold(c.held);
    Frame();
    fake.ReleaseAll();
    EXPECT_FLOAT_EQ(LogoFadeStep, 0.1f);
    Frames(9);
    EXPECT_GT(LogoAlpha(), 0);
    // The credits fade with the logo.
    std::optional<DrawnGlyph> credits = FindText(SmallFont, "Thank you");
    ASSERT_TRUE(credits);
    EXPECT_EQ(credits->colour >> 24, static_cast<uint32_t>(LogoAlpha()));
    Frame();
    EXPECT_EQ(LogoAlpha(), 0);
    Frame();
    EXPECT_EQ(LogoObject, nullptr);
  }
}

TEST_F(FrameUpdateTest, BrokenTimerDoesNotStopTheClock) {
  for (float delta :
       {-1.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    FreshState(10);
    fake.SetDelta(delta);
    Frame();
    EXPECT_FLOAT_EQ(FrameClock, 10) << delta;
    fake.SetDelta(0.02f);
    Frame();
    EXPECT_FLOAT_EQ(FrameClock, 11) << delta;
  }
}

}  // namespace
