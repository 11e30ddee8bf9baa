// The engine's life cycle and frame loop: creation, start-up failures, how
// the loop ends, its hooks, the timer and the pacing, and the message box
// where no display exists.
#include <time.h>

#include <algorithm>
#include <chrono>

#include "engine_fixture.h"
#include "gfx/os.h"

namespace {

TEST(EngineCreate, OnlyTheInterfaceVersionGivesAnEngineAndItIsShared) {
  EXPECT_EQ(hgeCreate(0x150), nullptr);
  hgeEngine* a = hgeCreate(ENGINE_VERSION);
  hgeEngine* b = hgeCreate(ENGINE_VERSION);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  b->Release();
  a->Release();
}

class LoopTest : public SdlEngineTest {};

TEST_F(LoopTest, StartingFailsWithTheRealReason) {
  engine->System_Shutdown();
  backend::SetVideoDriver("no-such-driver");
  EXPECT_FALSE(engine->System_Initiate());
  const std::string message = engine->System_GetErrorMessage();
  EXPECT_NE(message.find("no-such-driver"), std::string::npos) << message;
  EXPECT_FALSE(engine->System_Start()) << "a loop without a window";

  backend::SetVideoDriver("offscreen");
  engine->System_SetState(STATE_SCREEN_WIDTH, 0);
  EXPECT_FALSE(engine->System_Initiate());
  EXPECT_STRNE(engine->System_GetErrorMessage(), "");
}

// Restores an environment variable at the end of a scope.
class SavedEnv {
 public:
  explicit SavedEnv(const char* name) : name_(name) {
    const char* value = std::getenv(name);
    had_ = value != nullptr;
    if (had_) value_ = value;
    unsetenv(name);
  }
  ~SavedEnv() {
    if (had_) setenv(name_, value_.c_str(), 1);
  }

 private:
  const char* name_;
  bool had_;
  std::string value_;
};

TEST_F(LoopTest, WithoutADisplayTheWindowIsNeverOpenedInvisibly) {
  engine->System_Shutdown();
  backend::SetVideoDriver("");
  SavedEnv driver("SDL_VIDEODRIVER"), x("DISPLAY"), wayland("WAYLAND_DISPLAY");
  if (engine->System_Initiate()) {
    // Some real display was found after all (a console, say): never the
    // invisible drivers.
    const std::string name = SDL_GetCurrentVideoDriver();
    EXPECT_NE(name, "offscreen");
    EXPECT_NE(name, "dummy");
  } else {
    const std::string message = engine->System_GetErrorMessage();
    EXPECT_NE(message.find("no display"), std::string::npos) << message;
  }
}

TEST_F(LoopTest, TheLoopEndsWhenTheFrameFunctionSaysSoWithoutRenderingThatFrame) {
  int frames = 0, renders = 0;
  frameBody = [&] { return ++frames == 5; };
  renderBody = [&] { ++renders; };
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(frames, 5);
  EXPECT_EQ(renders, 4);
}

TEST_F(LoopTest, ClosingTheWindowEndsTheLoop) {
  int frames = 0;
  frameBody = [&] {
    if (++frames == 3) backend::InjectWindowClose();
    return false;
  };
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(frames, 3);

  // The window manager's close request on the window does the same.
  frames = 0;
  frameBody = [&] {
    if (++frames == 2) PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    return false;
  };
  bool ended = false;
  EXPECT_EQ(backend::RunFrames(100, &ended), 2);
  EXPECT_TRUE(ended);
}

TEST_F(LoopTest, HooksAndTheFrameLimitDriveTheLoop) {
  std::vector<int> before, after, keys;
  backend::SetBeforeFrameHook([&](int frame) {
    before.push_back(frame);
    if (frame == 1) backend::InjectClick(KEY_F);
    return frame < 6;
  });
  backend::SetAfterFrameHook([&](int frame) { after.push_back(frame); });
  frameBody = [&] {
    keys.push_back(engine->Input_GetKey());
    return false;
  };
  backend::SetFrameLimit(4);
  EXPECT_TRUE(engine->System_Start());
  EXPECT_EQ(after, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(keys, (std::vector<int>{0, KEY_F, 0, 0}))
      << "input injected before a frame is its input";
  backend::SetFrameLimit(0);
  EXPECT_TRUE(engine->System_Start());  // ends when the hook says so, at frame 6
  EXPECT_EQ(before.back(), 6);
  EXPECT_EQ(after.back(), 5);
}

TEST_F(LoopTest, TheManualClockGivesItsDeltaWithoutSleeping) {
  backend::UseManualClock(0.25f);
  std::vector<float> deltas;
  frameBody = [&] {
    deltas.push_back(engine->Timer_GetDelta());
    return false;
  };
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(backend::RunFrames(20), 20);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4))
      << "20 frames of 0.25 s took real time";
  for (float d : deltas) EXPECT_FLOAT_EQ(d, 0.25f);
}

double ProcessCpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

TEST_F(LoopTest, TheRealClockPacesFramesBySleeping) {
  backend::UseManualClock(0);
  std::vector<float> deltas;
  frameBody = [&] {
    deltas.push_back(engine->Timer_GetDelta());
    return false;
  };
  const int frames = 15;
  const double cpuStart = ProcessCpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(backend::RunFrames(frames), frames);
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = ProcessCpuSeconds() - cpuStart;
  EXPECT_LT(cpu, wall * 0.5) << "the loop spins instead of sleeping";
  EXPECT_NEAR(deltas[0], 0.02f, 1e-6f) << "the first frame counts as one nominal frame";
  // The deltas are the times between frame starts. At 50 frames a second the
  // frames after the first start 20 ms apart at least; a loaded machine can
  // only make that longer.
  double sum = 0;
  for (size_t i = 1; i < deltas.size(); ++i) {
    EXPECT_GT(deltas[i], 0.0f);
    sum += deltas[i];
  }
  EXPECT_GE(sum, (frames - 1) * 0.020 - 0.002);
  EXPECT_LE(sum, wall);
}

TEST(WindowSize, TheDrawingAreaIsScaledDownOnlyWhenTheDesktopIsTooSmall) {
  struct Case {
    int usableW, usableH, w, h;
  } cases[] = {
      {1280, 1024, 1200, 960},                         // just room for the frame: as it is
      {1920, 1040, 1200, 960}, {1366, 728, 830, 664},  // a small laptop: by the height
      {1000, 2000, 984, 787},                          // a narrow portrait screen: by the width
      {0, 0, 1200, 960},                               // desktop unknown
      {40, 40, 1, 1},                                  // absurdly small: still a window
  };
  for (const Case& c : cases) {
    int w = 0, h = 0;
    FitWindowToDesktop(1200, 960, c.usableW, c.usableH, &w, &h);
    EXPECT_EQ(w, c.w) << c.usableW << "x" << c.usableH;
    EXPECT_EQ(h, c.h) << c.usableW << "x" << c.usableH;
    if (h > 100) {
      EXPECT_NEAR(static_cast<double>(w) / h, 1.25, 0.01) << "the shape is kept";
    }
  }
}

TEST(SystemLog, WritesOneLineToStandardError) {
  hgeEngine* engine = hgeCreate(ENGINE_VERSION);
  testing::internal::CaptureStderr();
  engine->System_Log("Font %s: bad line %d\nsecond part", "font.fnt", 7);
  engine->System_Log("%s", std::string(5000, 'x').c_str());
  const std::string err = testing::internal::GetCapturedStderr();
  engine->Release();
  const size_t first = err.find('\n');
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(err.substr(0, first), "Font font.fnt: bad line 7 second part");
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << "a long text is still one line";
}

TEST(MessageBox, WithoutADisplayTheMessageGoesToStandardError) {
  backend::ResetControls();
  // No display server to show a box on.
  SavedEnv x("DISPLAY"), wayland("WAYLAND_DISPLAY");
  testing::internal::CaptureStderr();
  const int result = OS_MessageBox("Can't load graphics.", "Error", MB_FLAG_ICON_ERROR);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(result, 0);
  EXPECT_NE(err.find("Error: Can't load graphics."), std::string::npos) << err;
}

}  // namespace
