// The program at full load on the fake engine: see app_scenario.h.
#include "bench/app_scenario.h"

#include "app/config.h"
#include "app/program.h"
#include "tests/support/app_fixtures.h"
#include "tests/support/world_fixtures.h"
#include "util/random.h"

namespace {

// Frames of warm-up: enough for the first Evolve to take the 15 start
// candidates to 45 and for the logo to fade (a user who placed 200 houses
// has long pressed a button, which fades it within 10 frames).
constexpr int WARM_UP_FRAMES = 60;

}  // namespace

bool FullLoadApp::Start(int houses, uint32_t seed, std::string* error) {
  FakeEngine& fake = FakeEngine::Get();
  fake.Reset();
  fake.recordDrawing = false;
  RegisterPackFiles(fake);
  SeedRandom(seed);

  // The entry sequence up to the frame loop.
  Engine = hgeCreate(ENGINE_VERSION);
  ReleaseProgramObjects();
  Engine->System_SetState(STATE_FRAME_FUNC, FrameUpdate);
  Engine->System_SetState(STATE_RENDER_FUNC, FrameRender);
  MainScene = new TARN();
  started_ = true;
  if (LoadAssets()) {
    *error = "LoadAssets failed on the fake pack";
    return false;
  }
  BuildStartScene();

  SolverScenario placer;  // only its house placement: the scene is the program's
  placer.PlaceHouses(houses, seed);

  fake.SetMouse(REST_X, REST_Y);
  fake.Press(KEY_F);
  fake.Hold(KEY_F);
  for (int i = 0; i < WARM_UP_FRAMES; ++i) Frame();

  if (HouseCount() != houses || CandidateCount() != FULL_POPULATION || LogoObject) {
    *error = "the scenario reached " + std::to_string(HouseCount()) + " houses and " +
             std::to_string(CandidateCount()) + " candidates" +
             (LogoObject ? " with the logo still up" : "");
    return false;
  }
  return true;
}

void FullLoadApp::Stop() {
  if (!started_) return;
  ReleaseProgramObjects();
  if (Engine) Engine->Release();
  Engine = nullptr;
  FakeEngine::Get().Reset();
  started_ = false;
}

int FullLoadApp::CandidateCount() {
  return MainScene ? MainScene->CollectObjects("qpath", false, nullptr) : 0;
}

int FullLoadApp::HouseCount() {
  return MainScene ? MainScene->CollectObjects("qbuilding", false, nullptr) : 0;
}

bool StartSolverScenario(SolverScenario& scenario, int houses, int candidates, uint32_t seed,
                         std::string* error) {
  FakeEngine::Get().Reset();
  FakeEngine::Get().recordDrawing = false;
  scenario.SetUp(seed);
  CreatePaths(&World);
  scenario.PlaceHouses(houses, seed);
  scenario.GrowPopulation();
  if (scenario.HouseCount() != houses || scenario.CandidateCount() != candidates) {
    *error = "the scenario reached " + std::to_string(scenario.HouseCount()) + " houses and " +
             std::to_string(scenario.CandidateCount()) + " candidates";
    return false;
  }
  return true;
}

void StopSolverScenario(SolverScenario& scenario) {
  scenario.TearDown();
  FakeEngine::Get().Reset();
}
