// The software path's line drawing: which pixels a line covers, clipping,
// blending, and lines with absurd coordinates.
#include "engine/sdl/line_blend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <utility>
#include <vector>

namespace {

struct Canvas {
  int width, height;
  std::vector<uint32_t> pixels;
  Canvas(int w, int h, uint32_t fill = 0xFF000000u) : width(w), height(h), pixels(w * h, fill) {}
  PixelFrame Frame() { return PixelFrame{pixels.data(), width, height, width}; }
  uint32_t At(int x, int y) const { return pixels[y * width + x]; }
  std::set<std::pair<int, int>> Changed(uint32_t background = 0xFF000000u) const {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (At(x, y) != background) out.insert({x, y});
    return out;
  }
};

// Bresenham's pixels written as a closed form: step k along the longer axis
// moves the shorter one by round(k * short / long), halves rounding up; the
// end pixel is left out.
std::set<std::pair<int, int>> Expected(int x0, int y0, int x1, int y1) {
  std::set<std::pair<int, int>> out;
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const int sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
  const int n = std::max(dx, dy);
  for (int k = 0; k < n; ++k) {
    if (dx >= dy)
      out.insert({x0 + sx * k, y0 + sy * static_cast<int>((2LL * k * dy + dx) / (2LL * dx))});
    else
      out.insert({x0 + sx * static_cast<int>((2LL * k * dx + dy) / (2LL * dy)), y0 + sy * k});
  }
  return out;
}

TEST(BlendLine, CoversBresenhamPixelsWithoutTheEndPixel) {
  struct Case {
    float x1, y1, x2, y2;
  } cases[] = {
      {2, 5, 30, 5},
      {30, 5, 2, 5},  // horizontal, both directions
      {7, 1, 7, 40},
      {7, 40, 7, 1},  // vertical
      {1, 1, 41, 41},
      {41, 1, 1, 41},  // diagonals
      {3, 2, 47, 19},
      {47, 19, 3, 2},  // shallow
      {5, 3, 17, 45},
      {17, 45, 5, 3},               // steep
      {10.9f, 4.2f, 30.1f, 9.99f},  // fractions: the containing pixel counts
      {1, 1, 2, 1},                 // one pixel long
  };
  for (const Case& c : cases) {
    Canvas canvas(64, 64);
    BlendLine(canvas.Frame(), c.x1, c.y1, c.x2, c.y2, 0xFFFFFFFFu);
    const auto expected =
        Expected(static_cast<int>(std::floor(c.x1)), static_cast<int>(std::floor(c.y1)),
                 static_cast<int>(std::floor(c.x2)), static_cast<int>(std::floor(c.y2)));
    EXPECT_EQ(canvas.Changed(), expected) << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
  }
}

TEST(BlendLine, ClippedLineDrawsExactlyTheVisiblePartOfTheWholeLine) {
  // The same lines on a large canvas and on a small window into it: the
  // window must show exactly the large canvas's pixels.
  const int ox = 100, oy = 80, w = 50, h = 40;
  struct Case {
    float x1, y1, x2, y2;  // in the small window's coordinates
  } cases[] = {
      {-90, 20, 140, 25},  {140, 25, -90, 20},  {25, -70, 30, 110}, {30, 110, 25, -70},
      {-60, -50, 130, 95}, {130, -50, -60, 95}, {-95, 39, 145, 0},  {49, -79, 0, 119},
      {-10, -10, 5, 60},   {20, 10, 300, 12},
  };
  for (const Case& c : cases) {
    Canvas big(w + 2 * ox, h + 2 * oy), small(w, h);
    BlendLine(big.Frame(), c.x1 + ox, c.y1 + oy, c.x2 + ox, c.y2 + oy, 0xFFFFFFFFu);
    BlendLine(small.Frame(), c.x1, c.y1, c.x2, c.y2, 0xFFFFFFFFu);
    std::set<std::pair<int, int>> visible;
    for (auto [x, y] : big.Changed())
      if (x >= ox && x < ox + w && y >= oy && y < oy + h) visible.insert({x - ox, y - oy});
    EXPECT_EQ(small.Changed(), visible) << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
  }
}

TEST(BlendLine, BlendsTheColourByItsAlpha) {
  struct Case {
    uint32_t background, colour;
  } cases[] = {
      {0xFF000000u, 0x10FFFFFFu},  // the tours' faint white on black
      {0xFF204060u, 0x80FF0000u},  // half red over a dark blue
      {0xFFFFFFFFu, 0x40000000u},  // quarter black over white
      {0xFF123456u, 0xFF00FF00u},  // opaque replaces
      {0xFF808080u, 0x01FFFFFFu},  // nearly transparent
  };
  for (const Case& c : cases) {
    Canvas canvas(8, 2, c.background);
    BlendLine(canvas.Frame(), 0, 0, 8, 0, c.colour);
    const double a = (c.colour >> 24) / 255.0;
    for (int shift : {16, 8, 0}) {
      const double src = (c.colour >> shift) & 0xFF, dst = (c.background >> shift) & 0xFF;
      const double want = src * a + dst * (1 - a);
      const int got = (canvas.At(3, 0) >> shift) & 0xFF;
      EXPECT_NEAR(got, want, 1.0) << std::hex << c.colour << " over " << c.background;
    }
    EXPECT_EQ(canvas.At(3, 0) >> 24, 0xFFu);   // the frame stays opaque
    EXPECT_EQ(canvas.At(3, 1), c.background);  // the row below is untouched
  }
}

TEST(BlendLine, TransparentLinesAndAbsurdCoordinatesDoNotDraw) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float x1, y1, x2, y2;
    uint32_t colour;
  } cases[] = {
      {0, 0, 20, 20, 0x00FFFFFFu},  // alpha 0
      {nan, 0, 20, 20, 0xFFFFFFFFu},        {0, 0, inf, 20, 0xFFFFFFFFu},
      {-inf, -inf, inf, inf, 0xFFFFFFFFu},  {5, 5, 5, 5, 0xFFFFFFFFu},  // no length
      {-1e30f, -5, 1e30f, -5, 0xFFFFFFFFu},  // far lines that miss the canvas
      {40, 1e20f, 40, 3e20f, 0xFFFFFFFFu},
  };
  for (const Case& c : cases) {
    Canvas canvas(32, 32);
    BlendLine(canvas.Frame(), c.x1, c.y1, c.x2, c.y2, c.colour);
    EXPECT_TRUE(canvas.Changed().empty()) << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
  }
}

TEST(BlendLine, HugeLinesAcrossTheCanvasStillDrawTheirVisiblePart) {
  Canvas canvas(32, 32);
  BlendLine(canvas.Frame(), -1e30f, 7.5f, 1e30f, 7.5f, 0xFFFFFFFFu);
  BlendLine(canvas.Frame(), 20.5f, 3e9f, 20.5f, -3e9f, 0xFFFFFFFFu);
  std::set<std::pair<int, int>> expected;
  for (int i = 0; i < 32; ++i) {
    expected.insert({i, 7});
    expected.insert({20, i});
  }
  EXPECT_EQ(canvas.Changed(), expected);
}

TEST(BlendLine, JoinedSegmentsBlendEachCornerOnce) {
  // A closed faint triangle: every pixel blended exactly once has the same
  // value; a corner blended twice would be brighter.
  Canvas canvas(64, 64);
  const float p[4][2] = {{5, 5}, {50, 12}, {20, 55}, {5, 5}};
  for (int i = 0; i < 3; ++i)
    BlendLine(canvas.Frame(), p[i][0], p[i][1], p[i + 1][0], p[i + 1][1], 0x40FFFFFFu);
  Canvas once(4, 1);
  BlendLine(once.Frame(), 0, 0, 4, 0, 0x40FFFFFFu);
  const auto changed = canvas.Changed();
  ASSERT_FALSE(changed.empty());
  for (auto [x, y] : changed) EXPECT_EQ(canvas.At(x, y), once.At(0, 0)) << x << "," << y;
  EXPECT_TRUE(changed.count({5, 5}) && changed.count({50, 12}) && changed.count({20, 55}));
}

TEST(FillFrame, FillsOnlyTheFrameRowsWithAnOpaqueColour) {
  std::vector<uint32_t> pixels(6 * 3, 0x11111111u);  // pitch 6, width 4
  FillFrame(PixelFrame{pixels.data(), 4, 3, 6}, 0x00ABCDEFu);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(pixels[y * 6 + x], x < 4 ? 0xFFABCDEFu : 0x11111111u);
}

}  // namespace
