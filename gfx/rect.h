// hgeRect: an axis-aligned rectangle with an "empty" flag, and the alignment
// flags that the font and the GUI share.
#pragma once

struct hgeRect {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool empty = true;

  hgeRect() = default;
  hgeRect(float left, float top, float right, float bottom) { Set(left, top, right, bottom); }

  void Set(float left, float top, float right, float bottom) {
    x1 = left;
    y1 = top;
    x2 = right;
    y2 = bottom;
    empty = false;
  }
  void Clear() { empty = true; }

  // Strict overlap test on centres and extents; it ignores the empty flag.
  // With a point rectangle (mx, my, mx, my) it means x1 < mx < x2 and
  // y1 < my < y2.
  bool Intersects(const hgeRect& other) const {
    float dx = (x1 + x2) - (other.x1 + other.x2);
    float dy = (y1 + y2) - (other.y1 + other.y2);
    if (dx < 0) dx = -dx;
    if (dy < 0) dy = -dy;
    return dx < (x2 - x1) + (other.x2 - other.x1) && dy < (y2 - y1) + (other.y2 - other.y1);
  }
};

// Alignment flags: one word shared by the font (two low bits) and the GUI.
enum : int {
  TEXT_LEFT = 0,
  TEXT_RIGHT = 1,
  TEXT_CENTER = 2,
  TEXT_TOP = 0,
  TEXT_BOTTOM = 4,
  TEXT_MIDDLE = 8,
};
