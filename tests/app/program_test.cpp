// The entry sequence on the fake engine: engine configuration in order, the
// pack, the two start-up failures and their message boxes, the frame loop,
// and a clean hand-back so the program can run again.
#include "app/program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/config.h"
#include "app/password.h"
#include "tests/support/app_fixtures.h"
#include "tests/support/engine_test.h"

namespace {

class ProgramTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    RegisterPackFiles(fake);
  }
  void TearDown() override {
    // Every run gives back what it took, whichever way it ended.
    EXPECT_EQ(fake.refCount, refsAtStart) << "an engine reference was kept";
    EXPECT_EQ(fake.LiveTextureCount(), 0) << "a texture was kept";
    EXPECT_EQ(Engine, nullptr);
    EXPECT_EQ(MainScene, nullptr);
    EXPECT_EQ(SmallFont, nullptr);
    EngineTest::TearDown();
  }
};

TEST_F(ProgramTest, ConfiguresTheEngineInOrder) {
  EXPECT_EQ(RunProgram(), 0);
  struct Expected {
    int code;
    long long value;
  } expected[] = {
      {STATE_FRAME_FUNC, 1},
      {STATE_RENDER_FUNC, 1},
      {STATE_TITLE, 0},
      {STATE_WINDOWED, 1},
      {STATE_SCREEN_WIDTH, 1200},
      {STATE_SCREEN_HEIGHT, 960},
      {STATE_SCREEN_BPP, 32},
      {STATE_USE_SOUND, 0},
      {STATE_HIDE_MOUSE, 0},
      {STATE_ZBUFFER, 0},
      {STATE_FPS, 50},
      {STATE_DONT_SUSPEND, 1},
      {STATE_TEXTURE_FILTER, 1},
  };
  ASSERT_EQ(fake.stateCalls.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(fake.stateCalls[i].code, expected[i].code) << "call " << i;
    EXPECT_EQ(fake.stateCalls[i].value, expected[i].value) << "call " << i;
  }
  EXPECT_EQ(fake.stateCalls[2].text, "QuenPath - Pelmora");
  EXPECT_EQ(fake.attachedPack, "Graphics.paq");
  EXPECT_EQ(fake.attachedPassword, PackPassword());
  EXPECT_EQ(fake.attachedPassword.size(), 4u);
  EXPECT_EQ(fake.initiateCount, 1);
  EXPECT_EQ(fake.startCount, 1);
  EXPECT_EQ(fake.shutdownCount, 1);
  EXPECT_TRUE(fake.messageBoxes.empty());
}

TEST_F(ProgramTest, RunsTheFrameLoopOverTheStartScene) {
  fake.framesOnStart = 3;
  fake.SetMouse(300, 300);
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(fake.beginSceneCount, 3);
  EXPECT_EQ(fake.endSceneCount, 3);
  // The logo was drawn centred on (480, 380) in every frame.
  int logoQuads = 0;
  for (const hgeQuad& q : fake.quads)
    if (q.v[0].x == 480 - 188 && q.v[0].y == 380 - 83 && q.v[2].x == 480 - 188 + 377 &&
        q.v[2].y == 380 - 83 + 166)
      ++logoQuads;
  EXPECT_EQ(logoQuads, 3);
  // Without houses no tour line: only the separator and two underlines.
  EXPECT_EQ(fake.lines.size(), 3u * 3u);
}

TEST_F(ProgramTest, EngineFailureShowsItsMessageOnce) {
  fake.failInitiate = true;
  fake.errorMessage = "no display";
  EXPECT_EQ(RunProgram(), 0);
  ASSERT_EQ(fake.messageBoxes.size(), 1u);
  EXPECT_EQ(fake.messageBoxes[0].text, "no display");
  EXPECT_EQ(fake.messageBoxes[0].caption, "Error");
  EXPECT_EQ(fake.messageBoxes[0].flags, 0x1010u);
  EXPECT_EQ(fake.startCount, 0);
  EXPECT_TRUE(fake.attachedPack.empty());
  EXPECT_EQ(fake.shutdownCount, 1);
}

TEST_F(ProgramTest, MissingGraphicsStopBeforeTheLoop) {
  const char* missing[] = {BUILDING_FILE, LOGO_FILE};
  for (const char* file : missing) {
    fake.Reset();
    RegisterPackFiles(fake);
    fake.RemoveTexture(file);
    fake.framesOnStart = 5;
    EXPECT_EQ(RunProgram(), 0) << file;
    ASSERT_EQ(fake.messageBoxes.size(), 1u) << file;
    EXPECT_EQ(fake.messageBoxes[0].text, "Can't load graphics.");
    EXPECT_EQ(fake.messageBoxes[0].caption, "Error");
    EXPECT_EQ(fake.messageBoxes[0].flags, 0x10u);
    EXPECT_EQ(fake.startCount, 0) << file;
    EXPECT_EQ(fake.beginSceneCount, 0) << file;
    EXPECT_EQ(fake.shutdownCount, 1) << file;
  }
}

TEST_F(ProgramTest, RunsAgainFromAFreshStart) {
  for (int run = 0; run < 3; ++run) {
    fake.Reset();
    RegisterPackFiles(fake);
    fake.framesOnStart = 2;
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(fake.startCount, 1) << "run " << run;
    EXPECT_EQ(fake.beginSceneCount, 2) << "run " << run;
    EXPECT_EQ(World.items.Count(), 0) << "run " << run;
    EXPECT_EQ(SystemPanel.ItemCount(), 0) << "run " << run;
    EXPECT_FLOAT_EQ(LogoFadeStep, 0.001f);
  }
}

}  // namespace
