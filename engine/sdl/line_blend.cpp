// Clipped Bresenham lines with alpha blending into an ARGB frame buffer.
#include "engine/sdl/line_blend.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Beyond this the integer stepping could overflow; such lines are cut to
// this box first (far outside any frame, so the visible part is unchanged).
constexpr double FAR_LIMIT = 16777216.0;

// Cohen-Sutherland clip of the segment to [-FAR_LIMIT, FAR_LIMIT] on both
// axes. Each cut point is worked out from the edge it lies on, so a line
// along an axis keeps its exact other coordinate however far it reaches.
bool ClipFar(double& x1, double& y1, double& x2, double& y2) {
  auto outcode = [](double x, double y) {
    int c = 0;
    if (x < -FAR_LIMIT) c |= 1;
    if (x > FAR_LIMIT) c |= 2;
    if (y < -FAR_LIMIT) c |= 4;
    if (y > FAR_LIMIT) c |= 8;
    return c;
  };
  for (int round = 0; round < 8; ++round) {
    const int c1 = outcode(x1, y1), c2 = outcode(x2, y2);
    if ((c1 | c2) == 0) return true;
    if (c1 & c2) return false;
    const int c = c1 ? c1 : c2;
    double x, y;
    if (c & 3) {
      x = (c & 1) ? -FAR_LIMIT : FAR_LIMIT;
      y = y1 + (y2 - y1) * ((x - x1) / (x2 - x1));
    } else {
      y = (c & 4) ? -FAR_LIMIT : FAR_LIMIT;
      x = x1 + (x2 - x1) * ((y - y1) / (y2 - y1));
    }
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    if (c == c1) {
      x1 = x;
      y1 = y;
    } else {
      x2 = x;
      y2 = y;
    }
  }
  return false;  // rounding kept a point outside: nothing sensible to draw
}

struct Blender {
  uint32_t rb, g, inverse;
  bool opaque;
  uint32_t colour;
  explicit Blender(uint32_t c) {
    uint32_t a = c >> 24;
    a += a >> 7;  // 0..256, so 255 gives the colour exactly
    rb = (c & 0xFF00FFu) * a;
    g = (c & 0x00FF00u) * a;
    inverse = 256 - a;
    opaque = a == 256;
    colour = c | 0xFF000000u;
  }
};

// The inner loop. Everything it needs is a local, so the stores through `p`
// cannot make the compiler reload it.
template <bool OPAQUE>
void Run(uint32_t* p, long long count, long long majorStride, long long minorStride,
         long long remainder, long long twoMinor, long long twoMajor, const Blender& blend) {
  const uint32_t rb = blend.rb, g = blend.g, inverse = blend.inverse, colour = blend.colour;
  for (; count > 0; --count) {
    if (OPAQUE) {
      *p = colour;
    } else {
      const uint32_t d = *p;
      *p = 0xFF000000u | ((((d & 0xFF00FFu) * inverse + rb) >> 8) & 0xFF00FFu) |
           ((((d & 0x00FF00u) * inverse + g) >> 8) & 0x00FF00u);
    }
    p += majorStride;
    remainder += twoMinor;
    if (remainder >= twoMajor) {
      remainder -= twoMajor;
      p += minorStride;
    }
  }
}

// A line reduced to its start and end pixels and its colour.
struct PixelLine {
  long long x0, y0, xe, ye;
  uint32_t colour;
};

bool Prepare(float x1, float y1, float x2, float y2, uint32_t colour, PixelLine* out) {
  if ((colour >> 24) == 0) return false;
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
    return false;
  double ax = x1, ay = y1, bx = x2, by = y2;
  if (std::fabs(ax) > FAR_LIMIT || std::fabs(ay) > FAR_LIMIT || std::fabs(bx) > FAR_LIMIT ||
      std::fabs(by) > FAR_LIMIT) {
    if (!ClipFar(ax, ay, bx, by)) return false;
  }
  out->x0 = static_cast<long long>(std::floor(ax));
  out->y0 = static_cast<long long>(std::floor(ay));
  out->xe = static_cast<long long>(std::floor(bx));
  out->ye = static_cast<long long>(std::floor(by));
  if (out->x0 == out->xe && out->y0 == out->ye) return false;
  out->colour = colour;
  return true;
}

// The first step k whose minor offset floor((2 k minorLen + majorLen) /
// (2 majorLen)) reaches m; past the end when it never does.
long long FirstStepReaching(long long m, long long majorLen, long long minorLen) {
  if (m <= 0) return 0;
  if (minorLen == 0) return majorLen;
  const long long numerator = 2 * majorLen * m - majorLen, denominator = 2 * minorLen;
  return (numerator + denominator - 1) / denominator;
}

// Draws the line's pixels that lie in rows [rowLo, rowHi) of the frame.
// Step k (0 <= k < the longer side, the end pixel left out) moves k along
// the longer axis and floor((2 k minorLen + majorLen) / (2 majorLen)) along
// the shorter one: Bresenham's rounding. The steps inside the frame are
// worked out first, so the loop itself never checks bounds.
template <bool OPAQUE>
void Walk(const PixelFrame& f, const PixelLine& line, long long rowLo, long long rowHi,
          const Blender& blend) {
  const long long dx = std::llabs(line.xe - line.x0), dy = std::llabs(line.ye - line.y0);
  const int sx = line.xe >= line.x0 ? 1 : -1, sy = line.ye >= line.y0 ? 1 : -1;
  const bool xMajor = dx >= dy;
  const long long majorLen = xMajor ? dx : dy, minorLen = xMajor ? dy : dx;
  const long long majorStart = xMajor ? line.x0 : line.y0;
  const long long minorStart = xMajor ? line.y0 : line.x0;
  const int majorStep = xMajor ? sx : sy, minorStep = xMajor ? sy : sx;
  const long long majorLo = xMajor ? 0 : rowLo, majorHi = xMajor ? f.width : rowHi;
  const long long minorLo = xMajor ? rowLo : 0, minorHi = xMajor ? rowHi : f.width;

  long long kFirst = 0, kLast = majorLen - 1;
  // The major coordinate inside [majorLo, majorHi).
  if (majorStep > 0) {
    kFirst = std::max(kFirst, majorLo - majorStart);
    kLast = std::min(kLast, majorHi - 1 - majorStart);
  } else {
    kFirst = std::max(kFirst, majorStart - (majorHi - 1));
    kLast = std::min(kLast, majorStart - majorLo);
  }
  // The minor offset inside the range that keeps the minor coordinate in
  // [minorLo, minorHi).
  long long offsetLo, offsetHi;
  if (minorStep > 0) {
    offsetLo = minorLo - minorStart;
    offsetHi = minorHi - 1 - minorStart;
  } else {
    offsetLo = minorStart - (minorHi - 1);
    offsetHi = minorStart - minorLo;
  }
  if (offsetHi < 0) return;
  kFirst = std::max(kFirst, FirstStepReaching(offsetLo, majorLen, minorLen));
  kLast = std::min(kLast, FirstStepReaching(offsetHi + 1, majorLen, minorLen) - 1);
  if (kFirst > kLast) return;

  const long long twoMajor = 2 * majorLen;
  const long long numerator = 2 * kFirst * minorLen + majorLen;
  const long long major = majorStart + majorStep * kFirst;
  const long long minor = minorStart + minorStep * (numerator / twoMajor);
  const long long px = xMajor ? major : minor, py = xMajor ? minor : major;
  const long long pitch = f.pitch;
  Run<OPAQUE>(f.pixels + py * pitch + px, kLast - kFirst + 1,
              xMajor ? majorStep : majorStep * pitch, xMajor ? minorStep * pitch : minorStep,
              numerator % twoMajor, 2 * minorLen, twoMajor, blend);
}

void Draw(const PixelFrame& f, const PixelLine& line, long long rowLo, long long rowHi) {
  const Blender blend(line.colour);
  if (blend.opaque)
    Walk<true>(f, line, rowLo, rowHi, blend);
  else
    Walk<false>(f, line, rowLo, rowHi, blend);
}

}  // namespace

void BlendLine(const PixelFrame& frame, float x1, float y1, float x2, float y2, uint32_t colour) {
  if (!frame.pixels || frame.width <= 0 || frame.height <= 0) return;
  PixelLine line;
  if (Prepare(x1, y1, x2, y2, colour, &line)) Draw(frame, line, 0, frame.height);
}

void BlendLines(const PixelFrame& frame, const LineSegment* lines, size_t count) {
  if (!frame.pixels || frame.width <= 0 || frame.height <= 0 || !lines) return;
  for (size_t i = 0; i < count; ++i) {
    PixelLine line;
    if (Prepare(lines[i].x1, lines[i].y1, lines[i].x2, lines[i].y2, lines[i].colour, &line))
      Draw(frame, line, 0, frame.height);
  }
}

void FillFrame(const PixelFrame& frame, uint32_t colour) {
  if (!frame.pixels) return;
  const uint32_t value = colour | 0xFF000000u;
  for (int y = 0; y < frame.height; ++y) {
    uint32_t* row = frame.pixels + static_cast<long long>(y) * frame.pitch;
    std::fill(row, row + frame.width, value);
  }
}
