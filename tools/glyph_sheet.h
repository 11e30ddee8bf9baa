// GlyphSheet: a bitmap font cut from a Typeface, for the program's font
// description format: white glyphs (alpha = coverage) packed into one
// transparent sheet, plus the "[HGEFONT]" text that names the sheet and
// places every glyph.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/image.h"
#include "tools/typeface.h"

// One glyph's rectangle in the sheet and its advances, as written on its
// Char line.
struct GlyphCell {
  int code = 0;  // single-byte code
  int x = 0, y = 0, w = 0, h = 0;
  int pre = 0, post = 0;
};

struct GlyphSheet {
  Image image;
  std::vector<GlyphCell> cells;  // ascending by code
  int lineHeight = 0;            // every cell's height: ascent + descent
  int ascent = 0;                // cell top to baseline

  const GlyphCell* Find(int code) const;
  // The description file text, naming `bitmapName` on its Bitmap line.
  std::string Description(const std::string& bitmapName) const;
  // Width of a single-byte text as the program's font measures it: glyph
  // width plus both advances per byte, "?" for codes without a glyph.
  int MeasureLine(const std::string& text) const;
};

// The Unicode code point a single-byte code stands for in the program's
// code page (Windows-1252, which is Latin-1 from 160 up); 0 for codes that
// stand for nothing printable there.
uint32_t CodePageToUnicode(int code);

// Renders codes 32-126, and those of 128-255 the face has a glyph for, at
// the face's current size. Cells are spaced by one transparent pixel; the
// sheet is a power of two on each side.
bool BuildGlyphSheet(const Typeface& face, GlyphSheet* sheet, std::string* error);
