// Lines drawn straight into a 32-bit ARGB frame buffer: the software path's
// line drawing, which is the program's hot spot (thousands of faint tour
// segments per frame), so it avoids SDL's per-line overhead.
#pragma once

#include <cstddef>
#include <cstdint>

struct PixelFrame {
  uint32_t* pixels = nullptr;  // 0xAARRGGBB, row by row
  int width = 0;
  int height = 0;
  int pitch = 0;  // pixels from one row to the next
};

// Draws a one-pixel line from (x1, y1) to (x2, y2), blending `colour` by its
// alpha over what is there (alpha 255 replaces). A point lies in the pixel
// that contains it (pixel i covers [i, i + 1)); the pixels follow Bresenham's
// path from the start pixel to the end pixel, the end pixel itself left out
// so that joined segments blend their shared corner once. Clipped to the
// frame; non-finite coordinates draw nothing.
void BlendLine(const PixelFrame& frame, float x1, float y1, float x2, float y2, uint32_t colour);

struct LineSegment {
  float x1, y1, x2, y2;
  uint32_t colour;
};

// Draws the lines in order, each exactly as BlendLine would.
void BlendLines(const PixelFrame& frame, const LineSegment* lines, size_t count);

// Fills the frame with the colour, made opaque.
void FillFrame(const PixelFrame& frame, uint32_t colour);
