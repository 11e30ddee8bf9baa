// Canvas: anti-aliased drawing of the few shapes the generated images need
// (polygons, discs, rings, thick lines, coverage masks), composited "over"
// in premultiplied floats and turned into an Image at the end.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/image.h"
#include "tools/typeface.h"

struct Point {
  float x, y;
};

class Canvas {
 public:
  Canvas(int width, int height);

  int Width() const { return width; }
  int Height() const { return height; }

  // Colours are ARGB words. Coordinates are in pixels; pixel (i, j) covers
  // the square from (i, j) to (i + 1, j + 1).
  void FillPolygon(const std::vector<Point>& points, uint32_t colour);
  void FillRect(float x1, float y1, float x2, float y2, uint32_t colour);
  void FillDisc(float cx, float cy, float radius, uint32_t colour);
  void StrokeRing(float cx, float cy, float radius, float thickness, uint32_t colour);
  void StrokeLine(Point a, Point b, float thickness, uint32_t colour);
  // Paints a coverage mask with its top-left corner at (x, y); the colour of
  // each pixel comes from `shade` (given the pixel's row within the mask).
  void DrawMask(const GlyphBitmap& mask, int x, int y,
                const std::function<uint32_t(int row)>& shade);

  Image ToImage() const;

 private:
  struct Pixel {
    float r = 0, g = 0, b = 0, a = 0;  // premultiplied
  };
  void Blend(int x, int y, uint32_t colour, float coverage);
  // Paints every pixel of the box whose centre lies within `reach` of the
  // shape, with coverage from the signed distance at the centre.
  void PaintDistance(float x1, float y1, float x2, float y2,
                     const std::function<float(float, float)>& distance, uint32_t colour);

  int width;
  int height;
  std::vector<Pixel> pixels;
};
