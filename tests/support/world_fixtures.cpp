// Solver scenarios on the fake engine: see world_fixtures.h.
#include "tests/support/world_fixtures.h"

#include <random>
#include <vector>

#include "app/config.h"
#include "app/frame.h"
#include "solver/evolution.h"
#include "tests/support/fake_engine.h"
#include "tests/support/font_fixtures.h"
#include "util/random.h"

namespace {

constexpr char HOUSE_IMAGE[] = "graphics\\building.png";
constexpr char LOGO_IMAGE[] = "graphics\\pelmora.png";

TARN_GRAPHICS* Register(const char* name, HTEXTURE texture, float w, float h, float hotX,
                        float hotY, bool circle) {
  TARN_GRAPHICS* graphics = MainScene->AddGraphics(name, texture, 0, 0, w, h, 0, 0, 0);
  graphics->sprite->SetColor(0xFFFFFFFF);
  graphics->sprite->SetBlendMode(BLEND_DEFAULT);
  graphics->sprite->SetHotSpot(hotX, hotY);
  if (circle) graphics->circles.AddCircle(HOUSE_HOT_X, HOUSE_HOT_Y, 14.0f);
  return graphics;
}

std::vector<QPATHDATA*> Owners(const char* name) {
  std::vector<QPATHDATA*> owners;
  if (!MainScene) return owners;
  int count = MainScene->CollectObjects(name, false, nullptr);
  for (int i = 0; i < count; ++i) {
    TARN_OBJECT* object = MainScene->GetResult(i);
    if (object && object->owner) owners.push_back(static_cast<QPATHDATA*>(object->owner));
  }
  return owners;
}

}  // namespace

void SolverScenario::SetUp(uint32_t seed) {
  FakeEngine& fake = FakeEngine::Get();
  fake.AddTexture(HOUSE_IMAGE, 24, 24);
  fake.AddTexture(LOGO_IMAGE, 377, 166);
  if (!Engine) {
    Engine = hgeCreate(ENGINE_VERSION);
    ownsEngine = true;
  }
  SeedRandom(seed);

  delete MainScene;
  MainScene = new TARN();
  logoTexture = Engine->Texture_Load(LOGO_IMAGE, 0, false);
  houseTexture = Engine->Texture_Load(HOUSE_IMAGE, 0, false);
  pathTexture = Engine->Texture_Load(HOUSE_IMAGE, 0, false);
  Register(SITE_NAME, logoTexture, 377, 166, 188, 83, false);
  Register("qbuilding", houseTexture, HOUSE_FRAME, HOUSE_FRAME, HOUSE_HOT_X, HOUSE_HOT_Y, true);
  Register("qpath", pathTexture, HOUSE_FRAME, HOUSE_FRAME, HOUSE_HOT_X, HOUSE_HOT_Y, true);

  delete SmallFont;
  SmallFont = MakeTestFont(fake, "graphics\\fontsmall.fnt");

  World.Clear();
  TemplateGenome.Clear();
  CandidatePanel.Clear();
  CandidatePanel.SetPosition(MAP_WIDTH + 5.0f, 5.0f);
  CandidatePanel.visible = true;
  FrameClock = 0.0f;
  NextInputTime = 0.0f;
}

void SolverScenario::TearDown() {
  World.Clear();
  TemplateGenome.Clear();
  CandidatePanel.Clear();
  delete MainScene;
  MainScene = nullptr;
  delete SmallFont;
  SmallFont = nullptr;
  if (Engine) {
    for (HTEXTURE texture : {logoTexture, houseTexture, pathTexture})
      if (texture) Engine->Texture_Free(texture);
  }
  logoTexture = houseTexture = pathTexture = 0;
  if (ownsEngine && Engine) {
    Engine->Release();
    Engine = nullptr;
  }
  ownsEngine = false;
  FrameClock = 0.0f;
  NextInputTime = 0.0f;
}

std::vector<std::pair<float, float>> SolverScenario::PlaceHouses(int n, uint32_t seed) {
  std::mt19937 generator(seed);
  std::uniform_int_distribution<int> across(static_cast<int>(PLACE_MARGIN),
                                            static_cast<int>(MAP_WIDTH - PLACE_MARGIN));
  std::uniform_int_distribution<int> down(static_cast<int>(PLACE_MARGIN),
                                          static_cast<int>(PLACE_BOTTOM));
  std::vector<std::pair<float, float>> placed;
  for (const QPATHDATA* house : Houses())
    if (house->object) placed.emplace_back(house->object->x, house->object->y);
  const size_t before = placed.size();
  // Random sequential placement: 200 houses cover a fifth of the area, far
  // below where free spots become rare.
  while (static_cast<int>(placed.size() - before) < n) {
    float x = static_cast<float>(across(generator));
    float y = static_cast<float>(down(generator));
    bool clear = true;
    for (const auto& [px, py] : placed)
      if ((px - x) * (px - x) + (py - y) * (py - y) < PLACE_SPACING * PLACE_SPACING) {
        clear = false;
        break;
      }
    if (!clear) continue;
    placed.emplace_back(x, y);
    World.AddBuilding(x, y);
  }
  ResetPaths();
  return {placed.begin() + static_cast<long>(before), placed.end()};
}

QPATHDATA* SolverScenario::AddHouse(float x, float y) {
  QPATHDATA* house = World.AddBuilding(x, y);
  ResetPaths();
  return house;
}

void SolverScenario::MeasureLengths() {
  DrawTours();
}

int SolverScenario::GrowPopulation(int steps) {
  for (int i = 0; i < steps; ++i) {
    MeasureLengths();
    Evolve(&World);
    MeasureLengths();
  }
  return CandidateCount();
}

void SolverScenario::EditFrame(bool leftAddsHouses) {
  FakeEngine& fake = FakeEngine::Get();
  EditBuildings(&World, fake.mouseX, fake.mouseY, leftAddsHouses);
  MeasureLengths();
  FrameClock += fake.delta / FRAME_TIME;
}

std::vector<QPATHDATA*> SolverScenario::Candidates() const {
  return Owners("qpath");
}
std::vector<QPATHDATA*> SolverScenario::Houses() const {
  return Owners("qbuilding");
}

bool IsPermutation(const QUEN_DATA& genes, int n) {
  if (genes.Count() != n) return false;
  std::vector<bool> seen(static_cast<size_t>(n), false);
  for (int i = 0; i < n; ++i) {
    int32_t g = genes.GetGene(i);
    if (g < 0 || g >= n || seen[static_cast<size_t>(g)]) return false;
    seen[static_cast<size_t>(g)] = true;
  }
  return true;
}
