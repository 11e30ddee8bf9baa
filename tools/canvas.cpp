// Curved shapes use the signed distance at the pixel centre (a one-pixel
// ramp across the edge); polygons are sampled 8 × 8 per pixel.
#include "tools/canvas.h"

#include <algorithm>
#include <cmath>

namespace {

float Clamp01(float v) {
  return std::min(1.0f, std::max(0.0f, v));
}

bool Inside(const std::vector<Point>& poly, float x, float y) {
  bool inside = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const Point& a = poly[i];
    const Point& b = poly[j];
    if ((a.y > y) != (b.y > y)) {
      const float cross = (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x;
      if (x < cross) inside = !inside;
    }
  }
  return inside;
}

}  // namespace

Canvas::Canvas(int w, int h)
    : width(std::max(0, w)), height(std::max(0, h)), pixels(static_cast<size_t>(width) * height) {}

void Canvas::Blend(int x, int y, uint32_t colour, float coverage) {
  if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0.0f) return;
  const float a = ((colour >> 24) & 0xFF) / 255.0f * Clamp01(coverage);
  const float r = ((colour >> 16) & 0xFF) / 255.0f;
  const float g = ((colour >> 8) & 0xFF) / 255.0f;
  const float b = (colour & 0xFF) / 255.0f;
  Pixel& p = pixels[static_cast<size_t>(y) * width + x];
  p.r = r * a + p.r * (1.0f - a);
  p.g = g * a + p.g * (1.0f - a);
  p.b = b * a + p.b * (1.0f - a);
  p.a = a + p.a * (1.0f - a);
}

void Canvas::FillPolygon(const std::vector<Point>& points, uint32_t colour) {
  if (points.size() < 3) return;
  float minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
  for (const Point& p : points) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const int x1 = std::max(0, static_cast<int>(std::floor(minX)));
  const int y1 = std::max(0, static_cast<int>(std::floor(minY)));
  const int x2 = std::min(width - 1, static_cast<int>(std::ceil(maxX)));
  const int y2 = std::min(height - 1, static_cast<int>(std::ceil(maxY)));
  constexpr int N = 8;
  for (int y = y1; y <= y2; ++y) {
    for (int x = x1; x <= x2; ++x) {
      int hits = 0;
      for (int sy = 0; sy < N; ++sy) {
        for (int sx = 0; sx < N; ++sx) {
          hits += Inside(points, x + (sx + 0.5f) / N, y + (sy + 0.5f) / N);
        }
      }
      Blend(x, y, colour, static_cast<float>(hits) / (N * N));
    }
  }
}

void Canvas::FillRect(float x1, float y1, float x2, float y2, uint32_t colour) {
  FillPolygon({{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}, colour);
}

void Canvas::PaintDistance(float x1, float y1, float x2, float y2,
                           const std::function<float(float, float)>& distance, uint32_t colour) {
  const int ix1 = std::max(0, static_cast<int>(std::floor(x1 - 1)));
  const int iy1 = std::max(0, static_cast<int>(std::floor(y1 - 1)));
  const int ix2 = std::min(width - 1, static_cast<int>(std::ceil(x2 + 1)));
  const int iy2 = std::min(height - 1, static_cast<int>(std::ceil(y2 + 1)));
  for (int y = iy1; y <= iy2; ++y) {
    for (int x = ix1; x <= ix2; ++x) {
      Blend(x, y, colour, Clamp01(0.5f - distance(x + 0.5f, y + 0.5f)));
    }
  }
}

void Canvas::FillDisc(float cx, float cy, float radius, uint32_t colour) {
  PaintDistance(
      cx - radius, cy - radius, cx + radius, cy + radius,
      [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; }, colour);
}

void Canvas::StrokeRing(float cx, float cy, float radius, float thickness, uint32_t colour) {
  const float outer = radius + thickness * 0.5f;
  PaintDistance(
      cx - outer, cy - outer, cx + outer, cy + outer,
      [=](float x, float y) {
        return std::fabs(std::hypot(x - cx, y - cy) - radius) - thickness * 0.5f;
      },
      colour);
}

void Canvas::StrokeLine(Point a, Point b, float thickness, uint32_t colour) {
  const float half = thickness * 0.5f;
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float length2 = dx * dx + dy * dy;
  PaintDistance(
      std::min(a.x, b.x) - half, std::min(a.y, b.y) - half, std::max(a.x, b.x) + half,
      std::max(a.y, b.y) + half,
      [=](float x, float y) {
        float t = length2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / length2 : 0.0f;
        t = Clamp01(t);
        return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy)) - half;
      },
      colour);
}

void Canvas::DrawMask(const GlyphBitmap& mask, int x, int y,
                      const std::function<uint32_t(int row)>& shade) {
  for (int row = 0; row < mask.rows; ++row) {
    const uint32_t colour = shade(row);
    for (int col = 0; col < mask.width; ++col) {
      const uint8_t c = mask.coverage[static_cast<size_t>(row) * mask.width + col];
      if (c) Blend(x + col, y + row, colour, c / 255.0f);
    }
  }
}

Image Canvas::ToImage() const {
  Image image(width, height);
  for (size_t i = 0; i < pixels.size(); ++i) {
    const Pixel& p = pixels[i];
    Rgba& out = image.pixels[i];
    out.a = static_cast<uint8_t>(std::lround(Clamp01(p.a) * 255.0f));
    if (out.a == 0) continue;
    out.r = static_cast<uint8_t>(std::lround(Clamp01(p.r / p.a) * 255.0f));
    out.g = static_cast<uint8_t>(std::lround(Clamp01(p.g / p.a) * 255.0f));
    out.b = static_cast<uint8_t>(std::lround(Clamp01(p.b / p.a) * 255.0f));
  }
  return image;
}
