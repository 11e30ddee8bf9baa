// Every cell is the full line height with the glyph at the baseline, because
// the font draws a glyph's rectangle at the pen's top and takes the tallest
// rectangle as its line height.
#include "tools/glyph_sheet.h"

#include <algorithm>
#include <cstdio>

namespace {

// Windows-1252 codes 128-159; 0 where the code page leaves a hole.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr int kGap = 1;  // transparent pixels around every cell

int NextPowerOfTwo(int v) {
  int p = 1;
  while (p < v) p <<= 1;
  return p;
}

struct Rendered {
  int code;
  GlyphBitmap glyph;
  int cellWidth;
};

// Places the cells in rows across `sheetWidth`; returns the height used, or
// -1 when a cell is wider than the sheet.
int Layout(std::vector<Rendered>& glyphs, int lineHeight, int sheetWidth,
           std::vector<GlyphCell>* cells) {
  cells->clear();
  int x = kGap, y = kGap;
  for (const Rendered& r : glyphs) {
    if (r.cellWidth + 2 * kGap > sheetWidth) return -1;
    if (x + r.cellWidth + kGap > sheetWidth) {
      x = kGap;
      y += lineHeight + kGap;
    }
    GlyphCell cell;
    cell.code = r.code;
    cell.x = x;
    cell.y = y;
    cell.w = r.cellWidth;
    cell.h = lineHeight;
    cells->push_back(cell);
    x += r.cellWidth + kGap;
  }
  return y + lineHeight + kGap;
}

}  // namespace

uint32_t CodePageToUnicode(int code) {
  if (code >= 32 && code <= 126) return static_cast<uint32_t>(code);
  if (code >= 128 && code <= 159) return kHighControls[code - 128];
  if (code >= 160 && code <= 255) return static_cast<uint32_t>(code);
  return 0;
}

const GlyphCell* GlyphSheet::Find(int code) const {
  for (const GlyphCell& cell : cells) {
    if (cell.code == code) return &cell;
  }
  return nullptr;
}

std::string GlyphSheet::Description(const std::string& bitmapName) const {
  std::string text = "[HGEFONT]\r\nBitmap=" + bitmapName + "\r\n\r\n";
  char line[96];
  for (const GlyphCell& c : cells) {
    std::snprintf(line, sizeof line, "Char=%02X,%d,%d,%d,%d,%d,%d\r\n", c.code, c.x, c.y, c.w, c.h,
                  c.pre, c.post);
    text += line;
  }
  return text;
}

int GlyphSheet::MeasureLine(const std::string& text) const {
  int width = 0;
  for (unsigned char byte : text) {
    if (byte == '\n') break;
    const GlyphCell* cell = Find(byte);
    if (!cell) cell = Find('?');
    if (cell) width += cell->w + cell->pre + cell->post;
  }
  return width;
}

bool BuildGlyphSheet(const Typeface& face, GlyphSheet* sheet, std::string* error) {
  if (!sheet) return false;
  std::vector<Rendered> glyphs;
  int ascent = 0, descent = 0;
  for (int code = 32; code <= 255; ++code) {
    const uint32_t unicode = CodePageToUnicode(code);
    if (unicode == 0 || !face.HasGlyph(unicode)) continue;
    Rendered r;
    r.code = code;
    if (!face.Render(unicode, &r.glyph)) continue;
    const bool ink = r.glyph.width > 0 && r.glyph.rows > 0;
    // A blank glyph still needs a cell: its width carries the advance.
    r.cellWidth = ink ? r.glyph.width : std::max(1, r.glyph.advance);
    if (ink) {
      ascent = std::max(ascent, r.glyph.top);
      descent = std::max(descent, r.glyph.rows - r.glyph.top);
    }
    glyphs.push_back(std::move(r));
  }
  for (int code = 32; code <= 126; ++code) {
    const bool found = std::any_of(glyphs.begin(), glyphs.end(),
                                   [code](const Rendered& r) { return r.code == code; });
    if (!found) {
      if (error)
        *error = "the typeface lacks the printable ASCII character " + std::to_string(code);
      return false;
    }
  }
  const int lineHeight = ascent + descent;
  if (lineHeight <= 0) {
    if (error) *error = "the typeface rendered no ink";
    return false;
  }

  // The narrowest power-of-two sheet that is not taller than it is wide.
  std::vector<GlyphCell> cells;
  int width = 64, used = -1;
  for (; width <= 8192; width <<= 1) {
    used = Layout(glyphs, lineHeight, width, &cells);
    if (used > 0 && used <= width) break;
  }
  if (used <= 0 || width > 8192) {
    if (error) *error = "the glyphs do not fit a sheet";
    return false;
  }

  sheet->lineHeight = lineHeight;
  sheet->ascent = ascent;
  // White everywhere, so filtering at glyph edges never darkens them.
  sheet->image = Image(width, NextPowerOfTwo(used), Rgba{255, 255, 255, 0});
  sheet->cells.clear();
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const Rendered& r = glyphs[i];
    GlyphCell cell = cells[i];
    const bool ink = r.glyph.width > 0 && r.glyph.rows > 0;
    if (ink) {
      cell.pre = r.glyph.left;
      cell.post = r.glyph.advance - r.glyph.left - r.glyph.width;
      const int top = ascent - r.glyph.top;
      for (int row = 0; row < r.glyph.rows; ++row) {
        for (int col = 0; col < r.glyph.width; ++col) {
          sheet->image.At(cell.x + col, cell.y + top + row).a =
              r.glyph.coverage[static_cast<size_t>(row) * r.glyph.width + col];
        }
      }
    } else {
      cell.pre = 0;
      cell.post = r.glyph.advance - cell.w;
    }
    sheet->cells.push_back(cell);
  }
  return true;
}
