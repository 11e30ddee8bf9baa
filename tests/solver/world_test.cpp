// The tour world: entries, the population reset and the mouse editing of the
// houses, driven through the fake engine's scripted mouse.
#include "solver/world.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "app/config.h"
#include "gfx/os.h"
#include "tests/support/world_test.h"

namespace {

// Entries, objects and labels agree: every entry has its object, every
// candidate object points back into the world, and no label outlives its
// candidate.
void ExpectConsistent(const SolverScenario& scenario) {
  std::vector<QPATHDATA*> candidates = scenario.Candidates();
  std::vector<QPATHDATA*> houses = scenario.Houses();
  EXPECT_EQ(World.items.Count(), static_cast<int>(candidates.size() + houses.size()));
  std::set<std::string> ids;
  for (QPATHDATA* entry : candidates) {
    EXPECT_GE(World.items.FindObject(entry), 0);
    ids.insert(std::to_string(entry->id));
  }
  for (QPATHDATA* entry : houses) EXPECT_GE(World.items.FindObject(entry), 0);
  for (int i = 0; i < CandidatePanel.ItemCount(); ++i)
    EXPECT_TRUE(ids.count(CandidatePanel.GetItem(i)->GetName()))
        << CandidatePanel.GetItem(i)->GetName();
}

// A point more than 32 px away from every house.
std::pair<float, float> FreeSpot(const SolverScenario& scenario, int skip = 0) {
  std::vector<QPATHDATA*> houses = scenario.Houses();
  for (float y = 30; y < 900; y += 7)
    for (float x = 30; x < 930; x += 7) {
      bool clear = true;
      for (QPATHDATA* h : houses)
        if (std::hypot(h->object->x - x, h->object->y - y) <= 40) clear = false;
      if (clear && skip-- == 0) return {x, y};
    }
  ADD_FAILURE() << "no free spot";
  return {0, 0};
}

class WorldEditing : public WorldTest {
 protected:
  // One frame with the pointer at (x, y) and the given buttons held.
  void Frame(float x, float y, std::initializer_list<int> keys, bool leftAdds = true) {
    fake.ReleaseAll();
    for (int key : keys) fake.Hold(key);
    fake.SetMouse(x, y);
    scenario.EditFrame(leftAdds);
  }
  // Lets the hold-off run out before the next frame.
  void Wait() { FrameClock = NextInputTime + 1.0f; }
};

TEST_F(WorldEditing, LeftClickNeedsMoreThan32PixelsOfSpace) {
  struct Case {
    float dx, dy;
    bool adds;
  } cases[] = {{32, 0, false}, {0, -32, false}, {-22.5f, 22.5f, false}, {0, 0, false},
               {33, 0, true},  {0, 33, true},   {-23.5f, -23.5f, true}};
  for (const Case& c : cases) {
    scenario.TearDown();
    scenario.SetUp(1);
    CreatePaths(&World);
    scenario.AddHouse(400, 400);
    Wait();
    const float clock = FrameClock;
    Frame(400 + c.dx, 400 + c.dy, {KEY_LBUTTON});
    EXPECT_EQ(scenario.HouseCount(), c.adds ? 2 : 1) << c.dx << "," << c.dy;
    EXPECT_FLOAT_EQ(NextInputTime, clock + INPUT_DELAY) << "the hold-off restarts in every case";
    ExpectConsistent(scenario);
  }
}

TEST_F(WorldEditing, The201stHouseIsRefusedWithAMessage) {
  CreatePaths(&World);
  scenario.PlaceHouses(MAX_BUILDINGS - 1, 5);
  auto [x1, y1] = FreeSpot(scenario);
  Wait();
  Frame(x1, y1, {KEY_LBUTTON});
  EXPECT_EQ(scenario.HouseCount(), MAX_BUILDINGS);
  EXPECT_TRUE(fake.messageBoxes.empty());

  std::vector<QPATHDATA*> before = scenario.Candidates();
  auto [x2, y2] = FreeSpot(scenario);
  Wait();
  const float clock = FrameClock;
  Frame(x2, y2, {KEY_LBUTTON});
  EXPECT_EQ(scenario.HouseCount(), MAX_BUILDINGS);
  ASSERT_EQ(fake.messageBoxes.size(), 1u);
  EXPECT_EQ(fake.messageBoxes[0].text, "Maximum number of buildings.");
  EXPECT_EQ(fake.messageBoxes[0].caption, "QuenPath");
  EXPECT_EQ(fake.messageBoxes[0].flags, MB_FLAG_ICON_ERROR | MB_FLAG_OK);
  EXPECT_EQ(scenario.Candidates(), before) << "a refused click must not reset the tours";
  EXPECT_FLOAT_EQ(NextInputTime, clock + INPUT_DELAY);
}

TEST_F(WorldEditing, OffTheMapNothingIsEditedButLabelsAreRefreshed) {
  CreatePaths(&World);
  scenario.AddHouse(100, 100);
  struct Case {
    float x, y;
  } cases[] = {{960, 100}, {1100, 500}, {100, 960}, {100, 1200}, {1199, 959}};
  for (const Case& c : cases) {
    CandidatePanel.Clear();
    Wait();
    const float next = NextInputTime;
    Frame(c.x, c.y, {KEY_LBUTTON});
    Frame(c.x, c.y, {KEY_RBUTTON});
    EXPECT_EQ(scenario.HouseCount(), 1) << c.x << "," << c.y;
    EXPECT_FLOAT_EQ(NextInputTime, next);
    EXPECT_EQ(CandidatePanel.ItemCount(), START_PATHS);
  }
}

TEST_F(WorldEditing, RightButtonDeletesTheHouseUnderThePointer) {
  CreatePaths(&World);
  scenario.AddHouse(300, 300);
  scenario.AddHouse(500, 500);
  Wait();
  float clock = FrameClock;
  Frame(500, 500, {KEY_RBUTTON});
  ASSERT_EQ(scenario.HouseCount(), 1);
  EXPECT_FLOAT_EQ(scenario.Houses()[0]->object->x, 300);
  EXPECT_FLOAT_EQ(NextInputTime, clock + INPUT_DELAY * 0.5f);
  for (QPATHDATA* c : scenario.Candidates()) EXPECT_TRUE(IsPermutation(c->genes, 1));
  ExpectConsistent(scenario);

  // Nothing under the pointer: nothing goes, the half hold-off restarts.
  Wait();
  clock = FrameClock;
  Frame(700, 700, {KEY_RBUTTON});
  EXPECT_EQ(scenario.HouseCount(), 1);
  EXPECT_FLOAT_EQ(NextInputTime, clock + INPUT_DELAY * 0.5f);
}

TEST_F(WorldEditing, HeldButtonsRepeatOnlyAfterTheHoldOff) {
  CreatePaths(&World);
  // Left held: a house every 17.5 frame units, wherever there is room.
  std::vector<int> addedAt;
  for (int frame = 0; frame < 40; ++frame) {
    int before = scenario.HouseCount();
    auto [x, y] = FreeSpot(scenario);
    Frame(x, y, {KEY_LBUTTON});
    if (scenario.HouseCount() > before) addedAt.push_back(frame);
  }
  EXPECT_EQ(addedAt, (std::vector<int>{1, 19, 37}));

  // Right held over a stack of houses: one goes every 8.75 units.
  for (int i = 0; i < 5; ++i) scenario.AddHouse(600, 600);
  FrameClock = 0;
  NextInputTime = 0;
  std::vector<int> deletedAt;
  for (int frame = 0; frame < 30; ++frame) {
    int before = scenario.HouseCount();
    Frame(600, 600, {KEY_RBUTTON});
    if (scenario.HouseCount() < before) deletedAt.push_back(frame);
  }
  EXPECT_EQ(deletedAt, (std::vector<int>{1, 10, 19, 28}));
  ExpectConsistent(scenario);
}

TEST_F(WorldEditing, WithLeftAddsHousesOffTheLeftButtonAddsNothing) {
  CreatePaths(&World);
  scenario.AddHouse(300, 300);
  Wait();
  const float next = NextInputTime;
  Frame(600, 600, {KEY_LBUTTON}, false);
  EXPECT_EQ(scenario.HouseCount(), 1);
  EXPECT_FLOAT_EQ(NextInputTime, next) << "an ignored left button takes no hold-off";
  EXPECT_EQ(CandidatePanel.ItemCount(), START_PATHS);

  // Both buttons held: the right one is still handled.
  Frame(300, 300, {KEY_LBUTTON, KEY_RBUTTON}, false);
  EXPECT_EQ(scenario.HouseCount(), 0);
  EXPECT_FLOAT_EQ(NextInputTime, FrameClock - 1.0f + INPUT_DELAY * 0.5f);
}

TEST_F(WorldTest, ThreeHousesGiveRandomPermutationsNumberedFromZero) {
  CreatePaths(&World);
  for (float x : {100.0f, 300.0f, 500.0f}) scenario.AddHouse(x, 200);
  std::vector<QPATHDATA*> candidates = scenario.Candidates();
  ASSERT_EQ(candidates.size(), static_cast<size_t>(START_PATHS));
  std::set<int> ids;
  std::set<std::vector<int>> tours;
  for (QPATHDATA* c : candidates) {
    EXPECT_TRUE(IsPermutation(c->genes, 3));
    EXPECT_EQ(c->generation, 1);
    EXPECT_EQ(c->length, 0.0f);
    EXPECT_STREQ(c->kind, "QPath");
    EXPECT_STREQ(c->name, "qpath");
    ids.insert(c->id);
    tours.insert({c->genes.GetGene(0), c->genes.GetGene(1), c->genes.GetGene(2)});
  }
  EXPECT_EQ(ids.size(), static_cast<size_t>(START_PATHS));
  EXPECT_EQ(*ids.begin(), 0);
  EXPECT_EQ(*ids.rbegin(), START_PATHS - 1);
  EXPECT_EQ(World.pathCount, START_PATHS);
  EXPECT_GT(tours.size(), 1u) << "the tours are shuffled";
  EXPECT_EQ(TemplateGenome.GeneCount(), 3);
  ExpectConsistent(scenario);
}

TEST_F(WorldTest, AddingAHouseToAGrownPopulationResetsAll45) {
  CreatePaths(&World);
  scenario.PlaceHouses(20, 3);
  ASSERT_EQ(scenario.GrowPopulation(), FULL_POPULATION);
  scenario.AddHouse(5, 5);
  std::vector<QPATHDATA*> candidates = scenario.Candidates();
  ASSERT_EQ(candidates.size(), static_cast<size_t>(FULL_POPULATION));
  std::set<int> ids;
  for (QPATHDATA* c : candidates) {
    EXPECT_TRUE(IsPermutation(c->genes, 21));
    EXPECT_EQ(c->generation, 1);
    ids.insert(c->id);
  }
  EXPECT_EQ(ids.size(), static_cast<size_t>(FULL_POPULATION));
  EXPECT_EQ(*ids.rbegin(), FULL_POPULATION - 1);
  ExpectConsistent(scenario);
}

TEST_F(WorldEditing, WithoutHousesResetAndDeletingTheLastHouseChangeNothing) {
  CreatePaths(&World);
  std::vector<QPATHDATA*> start = scenario.Candidates();
  ResetPaths();
  EXPECT_EQ(scenario.Candidates(), start);
  for (QPATHDATA* c : start) EXPECT_EQ(c->genes.Count(), 0);

  scenario.AddHouse(300, 300);
  std::vector<QPATHDATA*> oneHouse = scenario.Candidates();
  Wait();
  Frame(300, 300, {KEY_RBUTTON});
  EXPECT_EQ(scenario.HouseCount(), 0);
  EXPECT_EQ(scenario.Candidates(), oneHouse);
  for (QPATHDATA* c : oneHouse) {
    EXPECT_EQ(c->genes.Count(), 1);
    EXPECT_EQ(c->genes.GetGene(0), 0);
  }
  ExpectConsistent(scenario);
}

TEST_F(WorldTest, EntriesAreKeyedByIdAndDeletionIsSafe) {
  QPATH world;
  QPATHDATA* house = world.AddBuilding(10, 10);
  QPATHDATA* a = world.AddPath(PARKED_X, PARKED_Y);
  QPATHDATA* b = world.AddPath(PARKED_X, PARKED_Y);
  EXPECT_EQ(house->id, -1);
  EXPECT_EQ(a->id, 0);
  EXPECT_EQ(b->id, 1);
  ASSERT_NE(b->object, nullptr);
  EXPECT_FALSE(b->object->visible);
  EXPECT_EQ(b->object->owner, b);
  EXPECT_FLOAT_EQ(house->object->depth, 10.0f);
  EXPECT_EQ(world.items.Name(world.items.FindObject(b)), "1");

  world.highlighted = b->object;
  TARN_OBJECT* objectB = b->object;
  world.DeleteAt(-1);
  world.DeleteAt(world.items.Count());
  QPATHDATA stranger;
  world.Delete(&stranger);
  world.Delete(nullptr);
  EXPECT_EQ(world.items.Count(), 3);
  EXPECT_EQ(world.highlighted, objectB);
  world.Delete(b);
  EXPECT_EQ(world.items.Count(), 2);
  EXPECT_EQ(world.highlighted, nullptr) << "the highlight goes with its entry";
  MainScene->DeleteObject(objectB, false);

  world.Clear();
  EXPECT_EQ(world.items.Count(), 0);
  EXPECT_EQ(world.pathCount, 0);
  MainScene->DeleteAllObjects(false);
}

TEST_F(WorldTest, WithoutTheGraphicsEntriesHaveNoObject) {
  delete MainScene;
  MainScene = new TARN();
  QPATHDATA* house = World.AddBuilding(10, 10);
  QPATHDATA* path = World.AddPath(PARKED_X, PARKED_Y);
  EXPECT_EQ(house->object, nullptr);
  EXPECT_EQ(path->object, nullptr);
  EXPECT_EQ(MainScene->ObjectCount(), 0);
  EditBuildings(&World, 50, 50);
  EXPECT_EQ(CandidatePanel.ItemCount(), 0) << "a candidate without an object gets no label";
}

}  // namespace
