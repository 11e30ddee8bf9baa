// Typeface: one TrueType face opened with FreeType, rendered at a pixel size
// into anti-aliased coverage bitmaps. The asset generator cuts its glyph
// sheets and the logo's word mark out of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

// One rendered glyph: coverage 0..255 per pixel, rows top down, placed by
// its bearing relative to the pen on the baseline.
struct GlyphBitmap {
  int width = 0;
  int rows = 0;
  int left = 0;     // pen to the bitmap's left edge
  int top = 0;      // baseline to the bitmap's top row (up is positive)
  int advance = 0;  // whole pixels the pen moves
  std::vector<uint8_t> coverage;
};

class Typeface {
 public:
  Typeface() = default;
  ~Typeface();
  Typeface(const Typeface&) = delete;
  Typeface& operator=(const Typeface&) = delete;

  // False with a reason when the file is not a usable font.
  bool Open(const std::string& path, std::string* error);
  // Pixels per em; fractional sizes are allowed.
  bool SetPixelSize(float pixels, std::string* error);

  bool HasGlyph(uint32_t codepoint) const;
  // Renders the glyph of a Unicode code point; false when the face lacks it.
  bool Render(uint32_t codepoint, GlyphBitmap* glyph) const;
  // Renders a line of code points, with the face's kerning, into one
  // coverage mask cut to its ink; false when nothing in it has ink.
  bool RenderLine(const std::u32string& text, GlyphBitmap* line) const;
  // Horizontal kerning between two code points, whole pixels.
  int Kerning(uint32_t left, uint32_t right) const;

 private:
  FT_LibraryRec_* library = nullptr;
  FT_FaceRec_* face = nullptr;
};
