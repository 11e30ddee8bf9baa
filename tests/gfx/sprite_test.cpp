#include "gfx/sprite.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/engine_test.h"

namespace {

class SpriteTest : public EngineTest {};

struct Point {
  float x, y;
};

void ExpectVertices(const hgeQuad& q, const Point (&expected)[4], float tolerance = 1e-4f) {
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(q.v[i].x, expected[i].x, tolerance) << "vertex " << i;
    EXPECT_NEAR(q.v[i].y, expected[i].y, tolerance) << "vertex " << i;
  }
}

TEST_F(SpriteTest, RenderTransformedPlacesTheCorners) {
  hgeSprite sprite(0, 0, 0, 24, 24);
  sprite.SetHotSpot(12, 14);
  struct Case {
    float rotation, h, v;
    Point corners[4];
  } cases[] = {
      {0, 1, 0, {{88, 86}, {112, 86}, {112, 110}, {88, 110}}},
      {0, 2, 0, {{76, 72}, {124, 72}, {124, 120}, {76, 120}}},  // vertical 0 = same as horizontal
      {0, 2, 1, {{76, 86}, {124, 86}, {124, 110}, {76, 110}}},
      // A quarter turn clockwise: the corner offset (-12, -14) becomes (14, -12).
      {static_cast<float>(M_PI / 2), 1, 0, {{114, 88}, {114, 112}, {90, 112}, {90, 88}}},
  };
  for (const Case& c : cases) {
    fake.ClearDrawing();
    sprite.RenderTransformed(100, 100, c.rotation, c.h, c.v);
    ASSERT_EQ(fake.quads.size(), 1u);
    SCOPED_TRACE(testing::Message() << "rotation " << c.rotation << " scale " << c.h << "/" << c.v);
    ExpectVertices(fake.quads[0], c.corners);
    EXPECT_FLOAT_EQ(fake.quads[0].v[0].z, 0.5f);
    EXPECT_EQ(fake.quads[0].blend, 2);
  }
}

TEST_F(SpriteTest, TextureCoordinatesFollowTheFrame) {
  fake.AddTexture("logo.png", 512, 256);
  HTEXTURE tex = hgeCreate(ENGINE_VERSION)->Texture_Load("logo.png");
  hgeSprite sprite(tex, 0, 0, 377, 166);
  const hgeQuad& q = sprite.Quad();
  EXPECT_FLOAT_EQ(q.v[0].u, 0);
  EXPECT_FLOAT_EQ(q.v[0].v, 0);
  EXPECT_FLOAT_EQ(q.v[2].u, 377.0f / 512);
  EXPECT_FLOAT_EQ(q.v[2].v, 166.0f / 256);
  EXPECT_FLOAT_EQ(q.v[1].u, 377.0f / 512);
  EXPECT_FLOAT_EQ(q.v[1].v, 0);
  EXPECT_FLOAT_EQ(q.v[3].u, 0);
  EXPECT_FLOAT_EQ(q.v[3].v, 166.0f / 256);
  EXPECT_EQ(sprite.GetTexture(), tex);
  hgeCreate(ENGINE_VERSION)->Release();
  hgeCreate(ENGINE_VERSION)->Release();
}

TEST_F(SpriteTest, NoTextureUsesTexelCoordinates) {
  hgeSprite sprite(0, 4, 8, 24, 24);
  EXPECT_FLOAT_EQ(sprite.Quad().v[2].u, 28);
  EXPECT_FLOAT_EQ(sprite.Quad().v[2].v, 32);
  EXPECT_EQ(sprite.GetTexture(), 0u);
}

TEST_F(SpriteTest, SetTextureRectKeepsHotSpotColoursAndMirroring) {
  hgeSprite sprite(0, 0, 0, 24, 24);
  sprite.SetHotSpot(12, 14);
  sprite.SetColor(0x80FF0000);
  sprite.SetColor(0xFF00FF00, 2);
  sprite.SetFlip(true, false);
  sprite.SetTextureRect(24, 0, 24, 24);
  float hx, hy;
  sprite.GetHotSpot(&hx, &hy);
  EXPECT_EQ(hx, 12);
  EXPECT_EQ(hy, 14);
  EXPECT_EQ(sprite.GetColor(0), 0x80FF0000u);
  EXPECT_EQ(sprite.GetColor(2), 0xFF00FF00u);
  bool fx, fy;
  sprite.GetFlip(&fx, &fy);
  EXPECT_TRUE(fx);
  EXPECT_FALSE(fy);
  // Mirrored horizontally: the left vertices carry the frame's right edge.
  EXPECT_FLOAT_EQ(sprite.Quad().v[0].u, 48);
  EXPECT_FLOAT_EQ(sprite.Quad().v[1].u, 24);
  EXPECT_FLOAT_EQ(sprite.Quad().v[3].u, 48);
  EXPECT_FLOAT_EQ(sprite.Quad().v[2].u, 24);
}

TEST_F(SpriteTest, BoundingBoxIgnoresRotationAndScale) {
  hgeSprite sprite(0, 0, 0, 24, 24);
  sprite.SetHotSpot(12, 14);
  sprite.RenderTransformed(100, 100, 1.0f, 3.0f, 0.0f);
  hgeRect box;
  sprite.GetBoundingBox(100, 100, &box);
  EXPECT_FALSE(box.empty);
  EXPECT_EQ(box.x1, 88);
  EXPECT_EQ(box.y1, 86);
  EXPECT_EQ(box.x2, 112);
  EXPECT_EQ(box.y2, 110);
}

TEST_F(SpriteTest, SetColorAllAndOne) {
  hgeSprite sprite(0, 0, 0, 8, 8);
  EXPECT_EQ(sprite.GetColor(3), 0xFFFFFFFFu);
  sprite.SetColor(0x12345678, -1);
  EXPECT_EQ(sprite.GetColor(3), 0x12345678u);
  sprite.SetColor(0xFF000000, 1);
  EXPECT_EQ(sprite.GetColor(1), 0xFF000000u);
  EXPECT_EQ(sprite.GetColor(0), 0x12345678u);
}

TEST_F(SpriteTest, HoldsOneEngineReferenceWhileAlive) {
  int before = fake.refCount;
  {
    hgeSprite a(0, 0, 0, 1, 1);
    hgeSprite b(0, 0, 0, 1, 1);
    EXPECT_EQ(fake.refCount, before + 2);
  }
  EXPECT_EQ(fake.refCount, before);
}

TEST(FloatColor, UnpacksExample) {
  FloatColor c;
  c.FromARGB(0x80FF0000);
  EXPECT_FLOAT_EQ(c.r, 1);
  EXPECT_FLOAT_EQ(c.g, 0);
  EXPECT_FLOAT_EQ(c.b, 0);
  EXPECT_FLOAT_EQ(c.a, 128.0f / 255);
  EXPECT_EQ(c.ToARGB(), 0x80FF0000u);
}

TEST(FloatColor, RoundTripsEveryChannelValue) {
  for (uint32_t v = 0; v < 256; ++v) {
    for (int shift : {0, 8, 16, 24}) {
      uint32_t argb = (v << shift) | (shift == 24 ? 0x00A1B2C3u : (0x7F000000u | (0x5Au << ((shift + 8) % 24))));
      FloatColor c;
      c.FromARGB(argb);
      ASSERT_EQ(c.ToARGB(), argb) << std::hex << argb;
    }
  }
}

}  // namespace
