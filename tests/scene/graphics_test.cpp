// The graphics registry: id choice, lookups by name, the graphic's sprite and
// sheet, and its owned shape lists.
#include "scene/graphics.h"

#include <gtest/gtest.h>

#include <vector>

#include "scene/scene.h"
#include "tests/support/engine_test.h"

namespace {

class GraphicsTest : public EngineTest {};

TEST_F(GraphicsTest, IdsComeFromTheCounterUnlessFreeAndPositive) {
  struct Case {
    std::vector<int> requested;
    std::vector<int> expected;
    int counterAfter;
  } cases[] = {
      {{0, 0, 0}, {1, 2, 3}, 3},
      {{5, 0}, {5, 6}, 6},
      {{5, 5}, {5, 6}, 6},        // a taken id falls back to the counter
      {{5, 3, 0}, {5, 3, 6}, 6},  // below the counter and free: kept, counter untouched
      {{-4, 2, 2, 1}, {1, 2, 3, 4}, 4},
  };
  for (const Case& c : cases) {
    TARN scene;
    std::vector<int> ids;
    for (int id : c.requested) {
      TARN_GRAPHICS* g = scene.AddGraphics("g", 0, 0, 0, 24, 24, 0, 0, id);
      ASSERT_NE(g, nullptr);
      EXPECT_EQ(g->scene, &scene);
      ids.push_back(g->id);
    }
    SCOPED_TRACE(testing::PrintToString(c.requested));
    EXPECT_EQ(ids, c.expected);
    EXPECT_EQ(scene.NextGraphicsId(), c.counterAfter);
  }
}

TEST_F(GraphicsTest, FindGraphicsIsExactCaseSensitiveAndPrefersTheLatest) {
  TARN scene;
  TARN_GRAPHICS* first = scene.AddGraphics("qbuilding", 0, 0, 0, 24, 24, 0, 0, 0);
  TARN_GRAPHICS* path = scene.AddGraphics("qpath", 0, 0, 0, 24, 24, 0, 0, 0);
  EXPECT_EQ(scene.FindGraphics("qbuilding"), first);
  TARN_GRAPHICS* later = scene.AddGraphics("qbuilding", 0, 0, 0, 24, 24, 0, 0, 0);
  EXPECT_EQ(scene.FindGraphics("qbuilding"), later);
  EXPECT_EQ(scene.FindGraphics("qpath"), path);
  for (const char* missing : {"QBUILDING", "qbuild", "qbuildings", ""})
    EXPECT_EQ(scene.FindGraphics(missing), nullptr) << missing;
}

TEST_F(GraphicsTest, SpriteAndSheetComeFromTheArguments) {
  fake.AddTexture("building.png", 64, 32);
  hgeEngine* engine = hgeCreate(ENGINE_VERSION);
  HTEXTURE texture = engine->Texture_Load("building.png");
  struct Case {
    float sheetW, sheetH, expectW, expectH;
  } cases[] = {
      {0, 0, 24, 24},  // one frame
      {96, 0, 96, 24},
      {10, 48, 24, 48},  // a sheet smaller than the frame is the frame
  };
  for (const Case& c : cases) {
    TARN scene;
    TARN_GRAPHICS* g = scene.AddGraphics("house", texture, 24, 0, 24, 24, c.sheetW, c.sheetH, 0);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->name, "house");
    EXPECT_FLOAT_EQ(g->sheetWidth, c.expectW);
    EXPECT_FLOAT_EQ(g->sheetHeight, c.expectH);
    ASSERT_NE(g->sprite, nullptr);
    EXPECT_EQ(g->sprite->GetTexture(), texture);
    float x, y, w, h;
    g->sprite->GetTextureRect(&x, &y, &w, &h);
    EXPECT_FLOAT_EQ(x, 24);
    EXPECT_FLOAT_EQ(w, 24);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(g->sprite->GetColor(i), 0xFFFFFFFFu);
    EXPECT_EQ(g->sprite->GetBlendMode(), 2);
  }
  engine->Texture_Free(texture);
  engine->Release();
}

TEST_F(GraphicsTest, FailedTextureStillRegisters) {
  TARN scene;
  TARN_GRAPHICS* g = scene.AddGraphics("logo", 0, 0, 0, 377, 166, 0, 0, 0);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->sprite->GetTexture(), 0u);
  EXPECT_EQ(scene.FindGraphics("logo"), g);
}

TEST_F(GraphicsTest, DestroyingTheSceneGivesBackEverySpriteReference) {
  {
    TARN scene;
    for (int i = 0; i < 3; ++i) scene.AddGraphics("g", 0, 0, 0, 24, 24, 0, 0, 0);
    EXPECT_EQ(fake.refCount, refsAtStart + 3);
  }
  EXPECT_EQ(fake.refCount, refsAtStart);
}

TEST_F(GraphicsTest, CircleListAddsDeletesAndClears) {
  TARN_COLLISIONCIRCLE circles;
  EXPECT_EQ(circles.AddCircle(12, 14, 14), 0);
  EXPECT_EQ(circles.AddCircle(1, 2, 3), 1);
  EXPECT_EQ(circles.AddCircle(4, 5, 6), 2);
  ASSERT_EQ(circles.Count(), 3);
  EXPECT_FLOAT_EQ(circles.Get(0)->x, 12);
  EXPECT_FLOAT_EQ(circles.Get(0)->y, 14);
  EXPECT_FLOAT_EQ(circles.Get(0)->radius, 14);

  for (int outside : {-1, 3, 100}) circles.DeleteEntry(outside);
  EXPECT_EQ(circles.Count(), 3);
  circles.DeleteEntry(1);
  ASSERT_EQ(circles.Count(), 2);
  EXPECT_FLOAT_EQ(circles.Get(1)->radius, 6);
  EXPECT_EQ(circles.Get(2), nullptr);

  circles.Clear();
  EXPECT_EQ(circles.Count(), 0);
  // The next circle starts the list again.
  EXPECT_EQ(circles.AddCircle(0, 0, 1), 0);
}

}  // namespace
