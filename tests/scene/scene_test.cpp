// The scene: object numbering, the three indexes, draw order, deletion and
// detaching, and the name-prefix queries.
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/support/engine_test.h"
#include "tests/support/scene_fixtures.h"
#include "util/text.h"

namespace {

using scene_fixtures::AddCellGraphic;

class SceneTest : public EngineTest {
 protected:
  TARN scene;
  TARN_GRAPHICS* house = AddCellGraphic(scene, "qbuilding");
  TARN_GRAPHICS* path = AddCellGraphic(scene, "qpath");

  TARN_OBJECT* House(float x, float y, int id = 0) {
    TARN_OBJECT* o = scene.CreateObject("qbuilding", house, x, y, id);
    scene.SetObjectDepth(o, 10);
    return o;
  }
  std::vector<TARN_OBJECT*> Results() const {
    std::vector<TARN_OBJECT*> out;
    for (int i = 0; i < scene.ResultCount(); ++i) out.push_back(scene.GetResult(i));
    return out;
  }
};

// Every live object sits exactly once in each index, under the right key, and
// nothing else does.
void ExpectIndexed(const TARN& scene, const std::vector<TARN_OBJECT*>& live) {
  struct Index {
    const char* what;
    const NamedList<TARN_OBJECT>& list;
    std::string (*key)(const TARN_OBJECT*);
  } indexes[] = {
      {"by id", scene.ObjectsById(), [](const TARN_OBJECT* o) { return std::to_string(o->id); }},
      {"by name", scene.ObjectsByName(), [](const TARN_OBJECT* o) { return o->name; }},
      {"draw order", scene.DrawOrder(),
       [](const TARN_OBJECT* o) { return NumberKey(std::to_string(o->id), o->depth); }},
  };
  for (const Index& index : indexes) {
    ASSERT_EQ(index.list.Count(), static_cast<int>(live.size())) << index.what;
    std::map<const TARN_OBJECT*, int> seen;
    for (int i = 0; i < index.list.Count(); ++i) {
      const TARN_OBJECT* o = index.list.Object(i);
      ASSERT_NE(o, nullptr) << index.what;
      ++seen[o];
      EXPECT_EQ(index.list.Name(i), index.key(o)) << index.what << " position " << i;
      if (i > 0 && index.list.Options().sorted) {
        EXPECT_LE(index.list.Name(i - 1), index.list.Name(i)) << index.what;
      }
    }
    for (const TARN_OBJECT* o : live) EXPECT_EQ(seen[o], 1) << index.what << " id " << o->id;
  }
}

TEST_F(SceneTest, ObjectIdsComeFromTheCounterOrAreTakenAsGiven) {
  struct Case {
    std::vector<int> requested;
    std::vector<int> expected;
    int counterAfter;
  } cases[] = {
      {{0, 0, 0}, {1, 2, 3}, 3},
      {{0, 0, 0, 7, 0}, {1, 2, 3, 7, 8}, 8},
      {{0, 0, 2}, {1, 2, 2}, 2},  // an explicit duplicate gives a second id 2
      {{-1, 5, 3, 0}, {1, 5, 3, 6}, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.requested));
    TARN s;
    std::vector<TARN_OBJECT*> made;
    std::vector<int> ids;
    for (int id : c.requested) {
      made.push_back(s.CreateObject("qbuilding", nullptr, 10, 10, id));
      ids.push_back(made.back()->id);
    }
    EXPECT_EQ(ids, c.expected);
    EXPECT_EQ(s.NextObjectId(), c.counterAfter);
    ExpectIndexed(s, made);
  }
}

TEST_F(SceneTest, DeleteAllRestartsObjectIdsAndKeepsGraphics) {
  for (int i = 0; i < 3; ++i) House(10.0f * i, 10);
  scene.CreateObject("qpath", path, -100, -100, 40);
  int graphicsCounter = scene.NextGraphicsId();
  scene.DeleteAllObjects(false);
  EXPECT_EQ(scene.ObjectCount(), 0);
  ExpectIndexed(scene, {});
  EXPECT_EQ(scene.NextObjectId(), 0);
  EXPECT_EQ(scene.CreateObject("qbuilding", house, 0, 0, 0)->id, 1);
  EXPECT_EQ(scene.FindGraphics("qbuilding"), house);
  EXPECT_EQ(scene.FindGraphics("qpath"), path);
  EXPECT_EQ(scene.NextGraphicsId(), graphicsCounter);
  EXPECT_EQ(scene.AddGraphics("more", 0, 0, 0, 1, 1, 0, 0, 0)->id, graphicsCounter + 1);
}

TEST_F(SceneTest, DeleteAllDetachingHandsTheObjectsOver) {
  TARN_OBJECT* a = House(10, 10);
  TARN_OBJECT* b = House(20, 10);
  scene.CollectObjects("qbuilding", false, nullptr);
  scene.DeleteAllObjects(true);
  std::unique_ptr<TARN_OBJECT> ownA(a), ownB(b);
  EXPECT_EQ(scene.ObjectCount(), 0);
  EXPECT_EQ(a->name, "qbuilding");  // still alive: ours now
  EXPECT_EQ(scene.GetResult(0), nullptr);
  EXPECT_EQ(scene.GetResult(1), nullptr);
  scene.Render(0, 0, 0, 0);
  EXPECT_EQ(fake.quads.size(), 0u);
}

TEST_F(SceneTest, DrawOrderRunsByDepthPartThenIdTextThenNewestFirst) {
  struct Made {
    int id;
    float depth;
  };
  struct Case {
    const char* what;
    std::vector<Made> made;
    std::vector<int> drawn;  // indexes into made, in drawing order
  } cases[] = {
      {"ids 9 and 17 at depth 10", {{9, 10}, {17, 10}}, {1, 0}},
      {"10.2 and 10.7 share a key part", {{9, 10.2f}, {17, 10.7f}}, {1, 0}},
      {"fractions do not outrank the id", {{9, 10.7f}, {17, 10.2f}}, {1, 0}},
      {"-100 before 10", {{3, 10}, {5, -100}}, {1, 0}},
      {"-100 before 10 with a higher id", {{3, 10}, {50, -100}}, {1, 0}},
      {"same id and key part: newer first", {{4, 10.2f}, {4, 10.7f}}, {1, 0}},
      {"integer part beats the id", {{17, 11}, {9, 10}}, {1, 0}},
      {"three", {{2, 10}, {10, 10}, {1, 300}}, {1, 0, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TARN s;
    TARN_GRAPHICS* g = AddCellGraphic(s, "qbuilding");
    std::vector<TARN_OBJECT*> made;
    for (size_t i = 0; i < c.made.size(); ++i) {
      // Created lower down each time, so the creation depth alone would draw
      // them in creation order.
      float x = 100.0f + 50.0f * static_cast<float>(i);
      TARN_OBJECT* o = s.CreateObject("qbuilding", g, x, 100.0f + 100.0f * i, c.made[i].id);
      s.SetObjectDepth(o, c.made[i].depth);
      EXPECT_FLOAT_EQ(o->depth, c.made[i].depth);
      made.push_back(o);
    }
    ExpectIndexed(s, made);
    fake.ClearDrawing();
    s.Render(0, 0, 0, 0);
    ASSERT_EQ(fake.quads.size(), c.drawn.size());
    for (size_t k = 0; k < c.drawn.size(); ++k)
      EXPECT_FLOAT_EQ(fake.quads[k].v[0].x + scene_fixtures::HOT_X, made[c.drawn[k]]->x)
          << "drawn " << k;
  }
}

TEST_F(SceneTest, DrawKeysCarryTheDepthPartAndTheId) {
  TARN_OBJECT* a = scene.CreateObject("qbuilding", house, 0, 0, 17);
  scene.SetObjectDepth(a, 10);
  TARN_OBJECT* b = scene.CreateObject("qpath", path, 0, -100, 3);
  ASSERT_EQ(scene.DrawOrder().Count(), 2);
  EXPECT_EQ(scene.DrawOrder().Name(0), "009999999003");
  EXPECT_EQ(scene.DrawOrder().Object(0), b);
  EXPECT_EQ(scene.DrawOrder().Name(1), "0100000001017");
}

TEST_F(SceneTest, DeleteObjectRemovesItEverywhereAndBlanksItsResult) {
  TARN_OBJECT* a = House(100, 100);
  TARN_OBJECT* b = House(200, 100);
  TARN_OBJECT* c = House(300, 100);
  TARN_OBJECT* p = scene.CreateObject("qpath", path, -100, -100, 0);
  ASSERT_EQ(scene.CollectObjects("qbuilding", false, nullptr), 3);
  scene.SetObjectDepth(b, 55.5f);  // the draw-order entry moves; deletion must still find it
  scene.DeleteObject(b, false);
  ExpectIndexed(scene, {a, c, p});
  EXPECT_EQ(scene.ResultCount(), 3);
  EXPECT_EQ(Results(), (std::vector<TARN_OBJECT*>{c, nullptr, a}));
  scene.Render(0, 0, 0, 0);
  EXPECT_EQ(fake.quads.size(), 3u);
  EXPECT_EQ(scene.CollectObjects("qbuilding", false, nullptr), 2);
}

TEST_F(SceneTest, DeleteObjectIgnoresWhatTheSceneDoesNotHold) {
  TARN other;
  TARN_OBJECT* mine = House(100, 100);
  TARN_OBJECT* theirs = other.CreateObject("qbuilding", nullptr, 100, 100, mine->id);
  scene.DeleteObject(nullptr, false);
  scene.DeleteObject(theirs, false);  // same id, other scene
  ExpectIndexed(scene, {mine});
  ExpectIndexed(other, {theirs});
  EXPECT_EQ(theirs->name, "qbuilding");
  scene.DeleteObject(mine, true);
  scene.DeleteObject(mine, false);  // detached: no longer ours to destroy
  ExpectIndexed(scene, {});
  delete mine;
}

TEST_F(SceneTest, DeleteObjectFindsObjectsWhoseFieldsWereWrittenDirectly) {
  TARN_OBJECT* keep = House(100, 100);
  TARN_OBJECT* renamed = House(200, 100);
  TARN_OBJECT* renumbered = House(300, 100);
  TARN_OBJECT* moved = House(400, 100);
  renamed->name = "qpath";
  renumbered->id = 77;
  moved->depth = 500;
  for (TARN_OBJECT* o : {renamed, renumbered, moved}) scene.DeleteObject(o, false);
  ExpectIndexed(scene, {keep});
  scene.Render(0, 0, 0, 0);  // would touch freed objects if an entry were left
  EXPECT_EQ(fake.quads.size(), 1u);
}

TEST_F(SceneTest, DeleteObjectWithASharedIdTakesThatObjectOnly) {
  TARN_OBJECT* first = House(100, 100, 2);
  TARN_OBJECT* second = House(200, 100, 2);
  TARN_OBJECT* third = House(300, 100, 2);
  scene.DeleteObject(second, false);
  ExpectIndexed(scene, {first, third});
  scene.DeleteObject(first, false);
  ExpectIndexed(scene, {third});
}

TEST_F(SceneTest, DetachedObjectLivesOnUnfoundAndUndrawn) {
  TARN_OBJECT* keep = House(300, 300);
  TARN_OBJECT* gone = House(100, 100);
  scene.DeleteObject(gone, true);
  std::unique_ptr<TARN_OBJECT> owned(gone);
  EXPECT_FLOAT_EQ(gone->x, 100);
  ExpectIndexed(scene, {keep});
  EXPECT_EQ(scene.CollectObjects("", false, nullptr), 1);
  EXPECT_EQ(scene.GetResult(0), keep);
  EXPECT_EQ(scene.FindNearestObject("qbuilding", true, 100, 100, 32, nullptr, nullptr), nullptr);
  hgeRect at(100, 100, 101, 101);
  EXPECT_EQ(scene.FindObjectInRect(&at, "qbuilding", nullptr), nullptr);
  std::unique_ptr<NamedList<TARN_OBJECT>> list(scene.CollectObjectsToList("", false, nullptr));
  EXPECT_EQ(list->Count(), 1);
  scene.Render(0, 0, 0, 0);
  ASSERT_EQ(fake.quads.size(), 1u);
  EXPECT_FLOAT_EQ(fake.quads[0].v[0].x, 288);
  scene.SetObjectDepth(gone, 50);
  EXPECT_FLOAT_EQ(gone->depth, 10);
}

TEST_F(SceneTest, SetObjectDepthOnAnotherScenesObjectChangesNothing) {
  TARN other;
  TARN_OBJECT* theirs = other.CreateObject("qbuilding", nullptr, 0, 30, 1);
  TARN_OBJECT* mine = scene.CreateObject("qbuilding", house, 0, 20, 1);
  scene.SetObjectDepth(theirs, 5);
  scene.SetObjectDepth(nullptr, 5);
  EXPECT_FLOAT_EQ(theirs->depth, 30);
  EXPECT_FLOAT_EQ(mine->depth, 20);
  ExpectIndexed(scene, {mine});
  ExpectIndexed(other, {theirs});
}

// Houses A, B, C (created in that order), a candidate, a logo and an
// unselectable house, for the name-prefix queries.
class QueryTest : public SceneTest {
 protected:
  TARN_OBJECT* a = House(100, 100);
  TARN_OBJECT* b = House(200, 100);
  TARN_OBJECT* c = House(300, 100);
  TARN_OBJECT* p = scene.CreateObject("qpath", path, 400, 100, 0);
  TARN_OBJECT* logo = scene.CreateObject("logo", nullptr, 500, 100, 0);
  TARN_OBJECT* hidden = Unselectable(House(600, 100));

  static TARN_OBJECT* Unselectable(TARN_OBJECT* o) {
    o->selectable = false;
    return o;
  }
};

TEST_F(QueryTest, CollectObjectsWalksTheNameRunNewestFirst) {
  struct Case {
    const char* prefix;
    bool firstOnly;
    TARN_OBJECT* excluded;
    std::vector<TARN_OBJECT*> expected;
  } cases[] = {
      {"qbuilding", false, nullptr, {c, b, a}},
      {"qbuilding", true, nullptr, {c}},
      {"qbuilding", false, b, {c, a}},
      {"qbuilding", true, c, {b}},
      {"q", false, nullptr, {c, b, a, p}},
      {"", false, nullptr, {logo, c, b, a, p}},
      {"qb", false, p, {c, b, a}},
      {"qbuildings", false, nullptr, {}},
      {"qpathx", false, nullptr, {}},
      {"Q", false, nullptr, {}},
      {"r", false, nullptr, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "prefix \"" << k.prefix << "\" firstOnly " << k.firstOnly);
    EXPECT_EQ(scene.CollectObjects(k.prefix, k.firstOnly, k.excluded),
              static_cast<int>(k.expected.size()));
    EXPECT_EQ(Results(), k.expected);
  }
}

TEST_F(QueryTest, GetResultOutsideTheResultsIsNone) {
  int count = scene.CollectObjects("qbuilding", false, nullptr);
  ASSERT_EQ(count, 3);
  for (int position : {-1, count, count + 5, -1000}) EXPECT_EQ(scene.GetResult(position), nullptr);
  scene.DeleteObject(c, false);
  EXPECT_EQ(scene.GetResult(0), nullptr);
  EXPECT_EQ(scene.GetResult(1), b);
}

TEST_F(QueryTest, CollectObjectsToListIsKeyedByIdTextAndLeavesResults) {
  TARN s;
  TARN_GRAPHICS* g = AddCellGraphic(s, "qbuilding");
  for (int id : {9, 10, 11}) s.CreateObject("qbuilding", g, 0, 0, id);
  s.CreateObject("qpath", g, 0, 0, 12);
  ASSERT_EQ(s.CollectObjects("qpath", false, nullptr), 1);
  struct Case {
    bool firstOnly;
    std::vector<std::string> keys;
  } cases[] = {{false, {"10", "11", "9"}}, {true, {"11"}}};
  for (const Case& k : cases) {
    std::unique_ptr<NamedList<TARN_OBJECT>> list(
        s.CollectObjectsToList("qb", k.firstOnly, nullptr));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->Options().sorted);
    EXPECT_FALSE(list->Options().owns);
    std::vector<std::string> keys;
    for (int i = 0; i < list->Count(); ++i) {
      keys.push_back(list->Name(i));
      EXPECT_EQ(std::to_string(list->Object(i)->id), list->Name(i));
    }
    EXPECT_EQ(keys, k.keys);
  }
  EXPECT_EQ(s.ResultCount(), 1);
  EXPECT_EQ(s.GetResult(0)->name, "qpath");
  // Exclusion and selectability as in CollectObjects.
  std::unique_ptr<NamedList<TARN_OBJECT>> list(scene.CollectObjectsToList("", false, b));
  EXPECT_EQ(list->Count(), 4);  // a, c, the candidate, the logo
  EXPECT_EQ(list->FindObject(b), -1);
  EXPECT_EQ(list->FindObject(hidden), -1);
}

TEST_F(SceneTest, CollectObjectsToListMatchesAddingTheWalkOneByOne) {
  // Duplicate ids are where building the list in bulk could differ from
  // adding the walk's entries one at a time.
  std::mt19937 rng(11);
  for (int i = 0; i < 120; ++i)
    scene.CreateObject(i % 3 ? "qbuilding" : "qbuildingx", house, 0, 0,
                       static_cast<int>(rng() % 40));
  for (bool firstOnly : {false, true}) {
    int count = scene.CollectObjects("qbuilding", firstOnly, nullptr);
    NamedList<TARN_OBJECT> expected({.sorted = true});
    for (int i = 0; i < count; ++i)
      expected.Add(std::to_string(scene.GetResult(i)->id), scene.GetResult(i));
    std::unique_ptr<NamedList<TARN_OBJECT>> list(
        scene.CollectObjectsToList("qbuilding", firstOnly, nullptr));
    ASSERT_EQ(list->Count(), expected.Count());
    for (int i = 0; i < list->Count(); ++i) {
      EXPECT_EQ(list->Name(i), expected.Name(i)) << i;
      EXPECT_EQ(list->Object(i), expected.Object(i)) << i;
    }
  }
}

TEST_F(SceneTest, FindNearestObjectModesRadiusAndTies) {
  TARN_OBJECT* edge = House(132, 100);    // exactly 32 to the right of (100, 100)
  TARN_OBJECT* corner = House(132, 101);  // offset (32, 1): just outside the circle
  TARN_OBJECT* west = House(90, 100);     // 10 away
  TARN_OBJECT* east = House(110, 100);    // 10 away, created later
  TARN_OBJECT* far = House(500, 500);
  TARN_OBJECT* square = House(124, 124);  // inside the square, outside the circle
  TARN_OBJECT* late = House(120, 100);    // 20 away, the newest: met first
  TARN_OBJECT* parked = scene.CreateObject("qpath", path, 100, 100, 0);  // other name, on the spot
  far->selectable = false;
  struct Case {
    const char* prefix;
    bool nearest;
    float x, y, radius;
    TARN_OBJECT* excluded;
    TARN_OBJECT* expected;
  } cases[] = {
      {"qbuilding", true, 100, 100, 32, nullptr, east},  // tie: the later one
      {"qbuilding", false, 100, 100, 32, nullptr, late},
      {"qbuilding", false, 100, 100, 32, late, east},
      {"qbuilding", true, 100, 100, 32, east, west},
      {"qbuilding", true, 164, 100, 32, nullptr, edge},
      {"qbuilding", true, 132, 101, 0, nullptr, corner},  // radius 0: the object on the spot
      {"qbuilding", true, 132, 100.5f, 0.4f, nullptr, nullptr},
      {"qbuilding", true, 500, 500, 1, nullptr, far},  // selectability does not matter
      {"qpath", true, 100, 100, 32, nullptr, parked},
      {"q", true, 100, 100, 5, nullptr, parked},
      {"qbuilding", true, 100, 100, NAN, nullptr, nullptr},
      {"qbuilding", true, 100, 100, -5, nullptr, nullptr},
      {"zz", true, 100, 100, 1000, nullptr, nullptr},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.prefix << " nearest " << k.nearest << " at (" << k.x
                                    << ", " << k.y << ") radius " << k.radius);
    EXPECT_EQ(scene.FindNearestObject(k.prefix, k.nearest, k.x, k.y, k.radius, nullptr, k.excluded),
              k.expected);
  }
  // Alone, the corner house at (32, 1) is not found and the edge one is.
  for (TARN_OBJECT* o : {west, east, square, late}) scene.DeleteObject(o, false);
  EXPECT_EQ(scene.FindNearestObject("qbuilding", true, 100, 100, 32, nullptr, edge), nullptr);
  EXPECT_EQ(scene.FindNearestObject("qbuilding", true, 100, 100, 32, nullptr, nullptr), edge);
}

TEST_F(SceneTest, FindNearestObjectReportsWhereAFirstModeWalkStopped) {
  TARN_OBJECT* older = House(100, 100);
  TARN_OBJECT* newer = House(105, 100);
  scene.CreateObject("logo", nullptr, 0, 0, 0);  // sorts first: shifts the positions
  int position = -1;                             // a negative position starts at the prefix
  EXPECT_EQ(scene.FindNearestObject("qbuilding", false, 100, 100, 32, &position, nullptr), newer);
  EXPECT_EQ(position, 1);
  EXPECT_EQ(scene.ObjectsByName().Object(position), newer);
  // Going on from after the hit finds the next one.
  ++position;
  EXPECT_EQ(scene.FindNearestObject("qbuilding", false, 100, 100, 32, &position, nullptr), older);
  EXPECT_EQ(position, 2);
  ++position;
  EXPECT_EQ(scene.FindNearestObject("qbuilding", false, 100, 100, 32, &position, nullptr), nullptr);
  EXPECT_EQ(position, -1);
  position = 0;
  EXPECT_EQ(scene.FindNearestObject("qbuilding", true, 100, 100, 32, &position, nullptr), older);
  EXPECT_EQ(position, -1);  // nearest mode never reports a position
  position = 5;
  EXPECT_EQ(scene.FindNearestObject("qbuilding", false, 0, 0, 5, &position, nullptr), nullptr);
  EXPECT_EQ(position, -1);
  // Started before the run, an object of another name inside the square ends
  // the walk: it is never taken for a match.
  TARN_OBJECT* before = scene.CreateObject("mark", nullptr, 100, 100, 0);
  ASSERT_EQ(scene.ObjectsByName().Object(1), before);
  position = 1;
  EXPECT_EQ(scene.FindNearestObject("qbuilding", false, 100, 100, 32, &position, nullptr), nullptr);
  EXPECT_EQ(position, -1);
  position = 0;  // 0 is no position: the walk starts at the run
  EXPECT_EQ(scene.FindNearestObject("qbuilding", false, 100, 100, 32, &position, nullptr), newer);
  EXPECT_EQ(position, 2);
}

TEST_F(QueryTest, FindObjectInRectUsesStrictEdges) {
  // Box of A: (88, 86)-(112, 110).
  struct Case {
    hgeRect rect;
    const char* prefix;
    TARN_OBJECT* excluded;
    TARN_OBJECT* expected;
  } cases[] = {
      {hgeRect(100, 100, 101, 101), "qbuilding", nullptr, a},
      {hgeRect(60, 90, 88, 91), "qbuilding", nullptr, nullptr},  // right edge on box left
      {hgeRect(60, 90, 88.5f, 91), "qbuilding", nullptr, a},
      {hgeRect(112, 90, 130, 91), "qbuilding", nullptr, nullptr},  // left edge on box right
      {hgeRect(111.5f, 90, 130, 91), "qbuilding", nullptr, a},
      {hgeRect(100, 60, 101, 86), "qbuilding", nullptr, nullptr},    // bottom edge on box top
      {hgeRect(100, 110, 101, 130), "qbuilding", nullptr, nullptr},  // top edge on box bottom
      {hgeRect(0, 0, 960, 960), "qbuilding", nullptr, c},            // newest first
      {hgeRect(0, 0, 960, 960), "qbuilding", c, b},
      {hgeRect(400, 100, 401, 101), "qbuilding", nullptr, nullptr},  // only the candidate there
      {hgeRect(400, 100, 401, 101), "q", nullptr, p},
      {hgeRect(500, 100, 501, 101), "", nullptr, nullptr},           // the logo has no box
      {hgeRect(600, 100, 601, 101), "qbuilding", nullptr, nullptr},  // unselectable
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "rect (" << k.rect.x1 << ", " << k.rect.y1 << ")-("
                                    << k.rect.x2 << ", " << k.rect.y2 << ") prefix " << k.prefix);
    EXPECT_EQ(scene.FindObjectInRect(&k.rect, k.prefix, k.excluded), k.expected);
  }
  EXPECT_EQ(scene.FindObjectInRect(nullptr, "qbuilding", nullptr), nullptr);
}

// Random creations, deletions, detaches, re-depths and clears, checked after
// every step against the indexes' invariants and against brute-force answers
// to the queries.
TEST_F(SceneTest, RandomEditsKeepIndexesAndQueriesConsistent) {
  const char* names[] = {"qbuilding", "qpath", "qbuildingx", "logo", "q"};
  const char* prefixes[] = {"qbuilding", "qpath", "q", "", "l", "qbuildingy"};
  std::mt19937 rng(2024);
  auto uniform = [&](float lo, float hi) {
    return std::uniform_real_distribution<float>(lo, hi)(rng);
  };
  std::vector<TARN_OBJECT*> live;
  for (int step = 0; step < 1500; ++step) {
    SCOPED_TRACE(step);
    int op = static_cast<int>(rng() % 20);
    if (op < 9 || live.empty()) {
      int id = rng() % 3 ? 0 : static_cast<int>(rng() % 30);
      TARN_OBJECT* o = scene.CreateObject(names[rng() % 5], rng() % 7 ? house : nullptr,
                                          uniform(0, 300), uniform(0, 300), id);
      o->selectable = rng() % 6 != 0;
      live.push_back(o);
    } else if (op < 14) {
      size_t i = rng() % live.size();
      bool detach = rng() % 4 == 0;
      scene.DeleteObject(live[i], detach);
      if (detach) delete live[i];
      live.erase(live.begin() + static_cast<long>(i));
    } else if (op < 19) {
      scene.SetObjectDepth(live[rng() % live.size()], uniform(-300, 300));
    } else if (rng() % 10 == 0) {
      scene.DeleteAllObjects(false);
      live.clear();
    }
    ExpectIndexed(scene, live);
    if (HasFailure()) return;

    const char* prefix = prefixes[rng() % 6];
    auto matches = [&](const TARN_OBJECT* o) { return StartsWith(o->name, prefix); };
    int expectedCount = 0;
    for (TARN_OBJECT* o : live) expectedCount += matches(o) && o->selectable;
    ASSERT_EQ(scene.CollectObjects(prefix, false, nullptr), expectedCount) << prefix;

    float x = uniform(0, 300), y = uniform(0, 300), radius = uniform(0, 60);
    float bestDistance = INFINITY;
    for (TARN_OBJECT* o : live)
      if (matches(o)) {
        float dx = o->x - x, dy = o->y - y;
        float d = std::sqrt(dx * dx + dy * dy);
        if (d <= radius && d < bestDistance) bestDistance = d;
      }
    TARN_OBJECT* nearest = scene.FindNearestObject(prefix, true, x, y, radius, nullptr, nullptr);
    if (std::isinf(bestDistance)) {
      ASSERT_EQ(nearest, nullptr) << prefix;
    } else {
      ASSERT_NE(nearest, nullptr) << prefix;
      EXPECT_NEAR(std::hypot(nearest->x - x, nearest->y - y), bestDistance, 1e-3) << prefix;
    }

    hgeRect rect(x, y, x + uniform(1, 40), y + uniform(1, 40));
    TARN_OBJECT* inRect = nullptr;  // first in by-name order that overlaps
    const NamedList<TARN_OBJECT>& byName = scene.ObjectsByName();
    for (int i = 0; i < byName.Count() && !inRect; ++i) {
      TARN_OBJECT* o = byName.Object(i);
      hgeRect box;
      if (matches(o) && o->selectable && scene.GetObjectBox(o, &box) && rect.x2 > box.x1 &&
          rect.y2 > box.y1 && rect.x1 < box.x2 && rect.y1 < box.y2)
        inRect = o;
    }
    ASSERT_EQ(scene.FindObjectInRect(&rect, prefix, nullptr), inRect) << prefix;
  }
}

TEST_F(SceneTest, TourSceneAnswersTheFrameQueries) {
  scene_fixtures::TourScene built = scene_fixtures::BuildTourScene(scene);
  EXPECT_EQ(scene.CollectObjects("qpath", false, nullptr), 45);
  std::unique_ptr<NamedList<TARN_OBJECT>> houses(
      scene.CollectObjectsToList("qbuilding", false, nullptr));
  ASSERT_EQ(houses->Count(), 200);
  EXPECT_EQ(houses->Name(0), "1");
  EXPECT_EQ(houses->Name(1), "10");
  EXPECT_EQ(houses->Name(199), "99");
  TARN_OBJECT* h = built.houses[57];
  EXPECT_EQ(scene.FindNearestObject("qbuilding", true, h->x + 3, h->y - 2, 32, nullptr, nullptr),
            h);
  hgeRect at(h->x, h->y, h->x + 1, h->y + 1);
  EXPECT_EQ(scene.FindObjectInRect(&at, "qbuilding", nullptr), h);
  scene.Render(0, 0, 0, 0);
  EXPECT_EQ(fake.quads.size(), 200u);  // the candidates are hidden
}

}  // namespace
