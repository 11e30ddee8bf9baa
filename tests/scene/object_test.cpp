// Scene objects: their defaults, what drawing one does (cell selection,
// culling, colour override, the submitted quad) and their boxes.
#include "scene/object.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene/scene.h"
#include "tests/support/engine_test.h"
#include "tests/support/scene_fixtures.h"

namespace {

using scene_fixtures::AddCellGraphic;

class ObjectTest : public EngineTest {
 protected:
  TARN scene;
  TARN_GRAPHICS* house = AddCellGraphic(scene, "qbuilding");
};

TEST_F(ObjectTest, NewObjectTakesTheDefaults) {
  TARN_OBJECT* o = scene.CreateObject("qbuilding", house, 100, 200, 0);
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->name, "qbuilding");
  EXPECT_FLOAT_EQ(o->x, 100);
  EXPECT_FLOAT_EQ(o->y, 200);
  EXPECT_FLOAT_EQ(o->depth, 200);
  EXPECT_FLOAT_EQ(o->scale, 1);
  EXPECT_FLOAT_EQ(o->rotation, 0);
  EXPECT_TRUE(o->visible);
  EXPECT_TRUE(o->selectable);
  EXPECT_FALSE(o->frozen);
  EXPECT_FALSE(o->colorOverride);
  EXPECT_EQ(o->owner, nullptr);
  EXPECT_EQ(o->graphics, house);
  EXPECT_EQ(o->scene, &scene);
  EXPECT_EQ(o->cellRow, 0);
  EXPECT_EQ(o->cellIndex, 0);
}

TEST_F(ObjectTest, CullingAgainstTheRectangle) {
  struct Case {
    float left, top, right, bottom;
    float x, y, scale, offsetX;
    bool drawn;
    float corner0X, corner0Y;  // where vertex 0 lands when drawn
  } cases[] = {
      {0, 0, 960, 960, 100, 100, 1, 0, true, 88, 86},
      {0, 0, 960, 960, 1000, 100, 1, 0, false, 0, 0},   // box left 988 > 960
      {0, 0, 960, 960, -5, 100, 1, 0, true, -17, 86},   // -17 + 24 = 7 >= 0
      {0, 0, 960, 960, -20, 100, 1, 0, false, 0, 0},    // -32 + 24 = -8 < 0
      {0, 0, 960, 960, 972, 100, 1, 0, true, 960, 86},  // box left exactly 960
      {0, 0, 960, 960, -12, 100, 1, 0, true, -24, 86},  // box right exactly 0
      {0, 0, 960, 960, 100, -10, 1, 0, true, 88, -24},  // box bottom exactly 0
      {0, 0, 960, 960, 100, 974, 1, 0, true, 88, 960},  // box top exactly 960
      {0, 0, 960, 960, 100, -5, 1, 0, true, 88, -19},
      {0, 0, 960, 960, 100, -20, 1, 0, false, 0, 0},    // -34 + 24 < 0
      {0, 0, 960, 960, 100, 975, 1, 0, false, 0, 0},    // box top 961 > 960
      {0, 0, 960, 960, -20, 100, 2, 0, true, -44, 72},  // scaled box reaches 4
      {0, 0, 960, 960, -20, 100, 1, 30, true, -2, 86},  // the draw offset moves box and quad
      {0, 0, 960, 960, 1000, 100, 1, -60, true, 928, 86},
      {0, 0, 0, 0, 1000, 100, 1, 0, true, 988, 86},  // no culling at all
      {0, 0, 0, 0, -20, -5000, 1, 0, true, -32, -5014},
      {0, 0, 960, 0, 100, -5000, 1, 0, true, 88, -5014},  // culls along x only
      {0, 0, 960, 0, 1000, 100, 1, 0, false, 0, 0},
      {960, 0, 0, 960, 5000, 100, 1, 0, true, 4988, 86},  // reversed bounds: no x culling
  };
  TARN_OBJECT* o = scene.CreateObject("qbuilding", house, 0, 0, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "rect (" << c.left << ", " << c.top << ", " << c.right
                                    << ", " << c.bottom << ") at (" << c.x << ", " << c.y
                                    << ") scale " << c.scale << " offset " << c.offsetX);
    o->x = c.x;
    o->y = c.y;
    o->scale = c.scale;
    o->drawOffsetX = c.offsetX;
    fake.ClearDrawing();
    scene.Render(c.left, c.top, c.right, c.bottom);
    ASSERT_EQ(fake.quads.size(), c.drawn ? 1u : 0u);
    if (c.drawn) {
      EXPECT_FLOAT_EQ(fake.quads[0].v[0].x, c.corner0X);
      EXPECT_FLOAT_EQ(fake.quads[0].v[0].y, c.corner0Y);
    }
  }
}

TEST_F(ObjectTest, DrawingUsesRotationAndScale) {
  TARN_OBJECT* o = scene.CreateObject("qbuilding", house, 100, 100, 0);
  o->rotation = static_cast<float>(std::acos(-1.0) / 2);
  o->scale = 2;
  scene.Render(0, 0, 0, 0);
  ASSERT_EQ(fake.quads.size(), 1u);
  // Offset (-24, -28) turned a quarter clockwise is (28, -24).
  EXPECT_NEAR(fake.quads[0].v[0].x, 128, 1e-3);
  EXPECT_NEAR(fake.quads[0].v[0].y, 76, 1e-3);
  EXPECT_NEAR(fake.quads[0].v[2].x, 80, 1e-3);  // offset (24, 20) -> (-20, 24)
  EXPECT_NEAR(fake.quads[0].v[2].y, 124, 1e-3);
}

TEST_F(ObjectTest, EachObjectSelectsItsCellOnTheSharedSprite) {
  // A 48 x 48 sheet of 24 x 24 cells: two rows, two columns.
  TARN_GRAPHICS* sheet = AddCellGraphic(scene, "sheet", 48, 48);
  struct Case {
    int cellIndex, cellRow;
    bool visible, frozen;
    float frameX, frameY;  // the sprite's frame after drawing
    int rowAfter;
    size_t quads;
  } cases[] = {
      {1, 1, true, false, 24, 24, 1, 1},
      {0, 1, true, false, 0, 24, 1, 1},
      {1, 2, true, false, 24, 0, 0, 1},  // no third row: back to row 0
      {0, -1, true, false, 0, 0, 0, 1},
      {1, 1, false, false, 24, 24, 1, 0},  // hidden objects still select their cell
      {1, 1, true, true, 48, 48, 1, 0},    // frozen ones leave the sprite alone
  };
  TARN_OBJECT* o = scene.CreateObject("sheet", sheet, 100, 100, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "cell " << c.cellIndex << "/" << c.cellRow << " visible "
                                    << c.visible << " frozen " << c.frozen);
    sheet->sprite->SetTextureRect(48, 48, 24, 24);  // a frame no case selects
    o->cellIndex = c.cellIndex;
    o->cellRow = c.cellRow;
    o->visible = c.visible;
    o->frozen = c.frozen;
    fake.ClearDrawing();
    scene.Render(0, 0, 0, 0);
    float x, y, w, h;
    sheet->sprite->GetTextureRect(&x, &y, &w, &h);
    EXPECT_FLOAT_EQ(x, c.frameX);
    EXPECT_FLOAT_EQ(y, c.frameY);
    EXPECT_FLOAT_EQ(w, 24);
    EXPECT_FLOAT_EQ(h, 24);
    EXPECT_EQ(o->cellRow, c.rowAfter);
    EXPECT_EQ(fake.quads.size(), c.quads);
  }
}

TEST_F(ObjectTest, HiddenObjectStillSelectsItsCellAfterAVisibleOne) {
  // Two objects share the sprite: the hidden one drawn last leaves its cell.
  TARN_GRAPHICS* sheet = AddCellGraphic(scene, "sheet", 48, 24);
  TARN_OBJECT* shown = scene.CreateObject("sheet", sheet, 100, 100, 0);
  TARN_OBJECT* hidden = scene.CreateObject("sheet", sheet, 200, 200, 0);
  shown->cellIndex = 1;
  hidden->visible = false;
  scene.Render(0, 0, 0, 0);
  ASSERT_EQ(fake.quads.size(), 1u);
  EXPECT_FLOAT_EQ(fake.quads[0].v[0].u, 24);  // no texture: texel coordinates
  float x;
  sheet->sprite->GetTextureRect(&x, nullptr, nullptr, nullptr);
  EXPECT_FLOAT_EQ(x, 0);
  EXPECT_EQ(scene.CollectObjects("sheet", false, nullptr), 2);
}

TEST_F(ObjectTest, ColourOverrideWritesTheSharedSprite) {
  scene.CreateObject("qbuilding", house, 100, 100, 0);
  TARN_OBJECT* tinted = scene.CreateObject("qbuilding", house, 100, 200, 0);
  TARN_OBJECT* corners = scene.CreateObject("qbuilding", house, 100, 300, 0);
  tinted->colorOverride = true;
  tinted->overrideColor = 0x80FF0000;
  corners->colorOverride = true;
  corners->perVertexOverride = true;
  const uint32_t four[4] = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004};
  for (int i = 0; i < 4; ++i) corners->vertexColors[i] = four[i];
  house->sprite->SetColor(0xFF00FF00);
  scene.Render(0, 0, 0, 0);
  ASSERT_EQ(fake.quads.size(), 3u);  // drawn by depth: plain, tinted, corners
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(fake.quads[0].v[i].colour, 0xFF00FF00u) << "plain keeps the sprite's colour";
    EXPECT_EQ(fake.quads[1].v[i].colour, 0x80FF0000u);
    EXPECT_EQ(fake.quads[2].v[i].colour, four[i]);
    EXPECT_EQ(house->sprite->GetColor(i), four[i]) << "the sprite keeps the last colours";
  }
}

TEST_F(ObjectTest, BoxScalesAboutTheAnchor) {
  struct Case {
    float scale;
    hgeRect expected;
  } cases[] = {
      {1, hgeRect(88, 86, 112, 110)},
      {0.5f, hgeRect(94, 93, 106, 105)},
      {2, hgeRect(76, 72, 124, 120)},
      {-1, hgeRect(112, 114, 88, 90)},  // mirrored: inside out
  };
  TARN_OBJECT* o = scene.CreateObject("qbuilding", house, 100, 100, 0);
  o->rotation = 1.0f;  // ignored by the box
  o->drawOffsetX = 50;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "scale " << c.scale);
    o->scale = c.scale;
    hgeRect box;
    ASSERT_TRUE(scene.GetObjectBox(o, &box));
    EXPECT_FALSE(box.empty);
    EXPECT_FLOAT_EQ(box.x1, c.expected.x1);
    EXPECT_FLOAT_EQ(box.y1, c.expected.y1);
    EXPECT_FLOAT_EQ(box.x2, c.expected.x2);
    EXPECT_FLOAT_EQ(box.y2, c.expected.y2);
  }
}

TEST_F(ObjectTest, NoBoxWithoutAGraphicOrRectangle) {
  TARN_OBJECT* bare = scene.CreateObject("bare", nullptr, 100, 100, 0);
  TARN_OBJECT* o = scene.CreateObject("qbuilding", house, 100, 100, 0);
  hgeRect box(1, 2, 3, 4);
  EXPECT_FALSE(scene.GetObjectBox(bare, &box));
  EXPECT_TRUE(box.empty);
  box.Set(1, 2, 3, 4);
  EXPECT_FALSE(scene.GetObjectBox(nullptr, &box));
  EXPECT_TRUE(box.empty);
  EXPECT_FALSE(scene.GetObjectBox(o, nullptr));
  // An object without a graphic is indexed but never drawn.
  scene.Render(0, 0, 0, 0);
  EXPECT_EQ(fake.quads.size(), 1u);
  EXPECT_EQ(scene.CollectObjects("bare", false, nullptr), 1);
}

}  // namespace
