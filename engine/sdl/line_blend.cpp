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
  void Apply(uint32_t* p) const {
    const uint32_t d = *p;
    const uint32_t outRb = (((d & 0xFF00FFu) * inverse + rb) >> 8) & 0xFF00FFu;
    const uint32_t outG = (((d & 0x00FF00u) * inverse + g) >> 8) & 0x00FF00u;
    *p = 0xFF000000u | outRb | outG;
  }
};

// The inner loop for a run that stays inside the frame. Everything it needs
// is a local, so the stores through `p` cannot make the compiler reload it.
template <bool OPAQUE>
void Run(uint32_t* p, int count, long long majorStride, long long minorStride, long long remainder,
         long long twoMinor, long long twoMajor, const Blender& blend) {
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

// Steps along the major axis (`major` pixels, end pixel excluded). The minor
// coordinate of step k is floor((2 k minorLen + majorLen) / (2 majorLen)),
// Bresenham's rounding, kept incrementally.
template <bool OPAQUE>
void Walk(const PixelFrame& f, long long x0, long long y0, long long dx, long long dy, int sx,
          int sy, const Blender& blend) {
  const bool xMajor = dx >= dy;
  const long long majorLen = xMajor ? dx : dy;
  const long long minorLen = xMajor ? dy : dx;
  const long long majorStart = xMajor ? x0 : y0;
  const int majorStep = xMajor ? sx : sy;
  const long long majorSize = xMajor ? f.width : f.height;
  // Steps k whose major coordinate is inside the frame.
  long long kFirst, kLast;
  if (majorStep > 0) {
    kFirst = -majorStart;
    kLast = majorSize - 1 - majorStart;
  } else {
    kFirst = majorStart - (majorSize - 1);
    kLast = majorStart;
  }
  kFirst = std::max(kFirst, 0LL);
  kLast = std::min(kLast, majorLen - 1);
  if (kFirst > kLast) return;

  const long long twoMajor = 2 * majorLen;
  const long long numerator = 2 * kFirst * minorLen + majorLen;
  long long minorOffset = numerator / twoMajor;
  long long remainder = numerator % twoMajor;
  const long long minorStart = xMajor ? y0 : x0;
  const int minorStep = xMajor ? sy : sx;
  const long long minorSize = xMajor ? f.height : f.width;
  long long minor = minorStart + minorStep * minorOffset;
  long long major = majorStart + majorStep * kFirst;

  // Is the minor coordinate inside the frame over the whole run? It moves
  // monotonically, so both ends tell.
  const long long lastMinorOffset = (2 * kLast * minorLen + majorLen) / twoMajor;
  const long long lastMinor = minorStart + minorStep * lastMinorOffset;
  const bool minorInside =
      minor >= 0 && minor < minorSize && lastMinor >= 0 && lastMinor < minorSize;

  const long long pitch = f.pitch;
  const long long majorStride = xMajor ? majorStep : majorStep * pitch;
  const long long minorStride = xMajor ? minorStep * pitch : minorStep;
  const long long twoMinor = 2 * minorLen;
  long long px = xMajor ? major : minor, py = xMajor ? minor : major;

  if (minorInside) {
    Run<OPAQUE>(f.pixels + py * pitch + px, static_cast<int>(kLast - kFirst + 1), majorStride,
                minorStride, remainder, twoMinor, twoMajor, blend);
    return;
  }
  for (long long k = kFirst; k <= kLast; ++k) {
    if (minor >= 0 && minor < minorSize) {
      uint32_t* p = f.pixels + (xMajor ? minor * pitch + major : major * pitch + minor);
      if (OPAQUE)
        *p = blend.colour;
      else
        blend.Apply(p);
    }
    major += majorStep;
    remainder += twoMinor;
    if (remainder >= twoMajor) {
      remainder -= twoMajor;
      minor += minorStep;
    }
  }
}

}  // namespace

void BlendLine(const PixelFrame& frame, float x1, float y1, float x2, float y2, uint32_t colour) {
  if (!frame.pixels || frame.width <= 0 || frame.height <= 0) return;
  if ((colour >> 24) == 0) return;
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
  double ax = x1, ay = y1, bx = x2, by = y2;
  if (std::fabs(ax) > FAR_LIMIT || std::fabs(ay) > FAR_LIMIT || std::fabs(bx) > FAR_LIMIT ||
      std::fabs(by) > FAR_LIMIT) {
    if (!ClipFar(ax, ay, bx, by)) return;
  }
  const long long x0 = static_cast<long long>(std::floor(ax));
  const long long y0 = static_cast<long long>(std::floor(ay));
  const long long xe = static_cast<long long>(std::floor(bx));
  const long long ye = static_cast<long long>(std::floor(by));
  const long long dx = std::llabs(xe - x0), dy = std::llabs(ye - y0);
  if (dx == 0 && dy == 0) return;
  const int sx = xe >= x0 ? 1 : -1, sy = ye >= y0 ? 1 : -1;
  const Blender blend(colour);
  if (blend.opaque)
    Walk<true>(frame, x0, y0, dx, dy, sx, sy, blend);
  else
    Walk<false>(frame, x0, y0, dx, dy, sx, sy, blend);
}

void FillFrame(const PixelFrame& frame, uint32_t colour) {
  if (!frame.pixels) return;
  const uint32_t value = colour | 0xFF000000u;
  for (int y = 0; y < frame.height; ++y) {
    uint32_t* row = frame.pixels + static_cast<long long>(y) * frame.pitch;
    std::fill(row, row + frame.width, value);
  }
}
