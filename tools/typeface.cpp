// Typeface on FreeType: hinted rendering with the light target, which keeps
// the outlines' shapes and snaps them vertically to the pixel grid.
#include "tools/typeface.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstring>

Typeface::~Typeface() {
  if (face) FT_Done_Face(face);
  if (library) FT_Done_FreeType(library);
}

bool Typeface::Open(const std::string& path, std::string* error) {
  if (face || library) {
    if (error) *error = "typeface already open";
    return false;
  }
  if (FT_Init_FreeType(&library) != 0) {
    library = nullptr;
    if (error) *error = "FreeType could not start";
    return false;
  }
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
    face = nullptr;
    if (error) *error = "cannot open font file " + path;
    return false;
  }
  if (!FT_IS_SCALABLE(face)) {
    if (error) *error = "font file is not scalable: " + path;
    return false;
  }
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
    if (error) *error = "font file has no Unicode character map: " + path;
    return false;
  }
  return true;
}

bool Typeface::SetPixelSize(float pixels, std::string* error) {
  if (!face || !(pixels > 0.0f) || pixels > 1000.0f) {
    if (error) *error = "bad pixel size or no typeface";
    return false;
  }
  FT_F26Dot6 size = static_cast<FT_F26Dot6>(std::lround(pixels * 64.0f));
  if (FT_Set_Char_Size(face, 0, size, 72, 72) != 0) {
    if (error) *error = "FreeType rejected the pixel size";
    return false;
  }
  return true;
}

bool Typeface::HasGlyph(uint32_t codepoint) const {
  return face && FT_Get_Char_Index(face, codepoint) != 0;
}

bool Typeface::Render(uint32_t codepoint, GlyphBitmap* glyph) const {
  if (!face || !glyph) return false;
  FT_UInt index = FT_Get_Char_Index(face, codepoint);
  if (index == 0) return false;
  if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT) != 0) return false;
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT) != 0) return false;
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.rows > 0 && bitmap.width > 0) return false;
  glyph->width = static_cast<int>(bitmap.width);
  glyph->rows = static_cast<int>(bitmap.rows);
  glyph->left = slot->bitmap_left;
  glyph->top = slot->bitmap_top;
  glyph->advance = static_cast<int>((slot->advance.x + 32) >> 6);
  glyph->coverage.assign(static_cast<size_t>(glyph->width) * glyph->rows, 0);
  for (int row = 0; row < glyph->rows; ++row) {
    const unsigned char* src = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
    if (bitmap.num_grays == 256 || bitmap.num_grays == 0) {
      std::memcpy(&glyph->coverage[static_cast<size_t>(row) * glyph->width], src, glyph->width);
    } else {
      // Fewer grey levels than a byte holds: stretch them to 0..255.
      const int top = bitmap.num_grays - 1;
      for (int x = 0; x < glyph->width; ++x) {
        glyph->coverage[static_cast<size_t>(row) * glyph->width + x] =
            static_cast<uint8_t>(src[x] * 255 / top);
      }
    }
  }
  return true;
}

int Typeface::Kerning(uint32_t left, uint32_t right) const {
  if (!face || !FT_HAS_KERNING(face)) return 0;
  FT_Vector delta{};
  FT_UInt a = FT_Get_Char_Index(face, left);
  FT_UInt b = FT_Get_Char_Index(face, right);
  if (a == 0 || b == 0) return 0;
  if (FT_Get_Kerning(face, a, b, FT_KERNING_DEFAULT, &delta) != 0) return 0;
  return static_cast<int>(delta.x >> 6);
}

bool Typeface::RenderLine(const std::u32string& text, GlyphBitmap* line) const {
  if (!line) return false;
  struct Placed {
    GlyphBitmap glyph;
    int x;
  };
  std::vector<Placed> placed;
  int pen = 0;
  int minX = 0, maxX = 0, maxTop = 0, maxBottom = 0;
  bool any = false;
  for (size_t i = 0; i < text.size(); ++i) {
    Placed p;
    if (!Render(text[i], &p.glyph)) continue;
    p.x = pen + p.glyph.left;
    if (p.glyph.width > 0 && p.glyph.rows > 0) {
      const int bottom = p.glyph.rows - p.glyph.top;
      if (!any) {
        minX = p.x;
        maxX = p.x + p.glyph.width;
        maxTop = p.glyph.top;
        maxBottom = bottom;
        any = true;
      } else {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x + p.glyph.width);
        maxTop = std::max(maxTop, p.glyph.top);
        maxBottom = std::max(maxBottom, bottom);
      }
    }
    pen += p.glyph.advance;
    if (i + 1 < text.size()) pen += Kerning(text[i], text[i + 1]);
    placed.push_back(std::move(p));
  }
  if (!any) return false;
  line->width = maxX - minX;
  line->rows = maxTop + maxBottom;
  line->left = minX;
  line->top = maxTop;
  line->advance = pen;
  line->coverage.assign(static_cast<size_t>(line->width) * line->rows, 0);
  for (const Placed& p : placed) {
    for (int row = 0; row < p.glyph.rows; ++row) {
      const int y = maxTop - p.glyph.top + row;
      for (int col = 0; col < p.glyph.width; ++col) {
        const int x = p.x - minX + col;
        uint8_t& dst = line->coverage[static_cast<size_t>(y) * line->width + x];
        const uint8_t src = p.glyph.coverage[static_cast<size_t>(row) * p.glyph.width + col];
        // Overlapping glyphs (kerned pairs) add their coverage, capped.
        dst = static_cast<uint8_t>(std::min(255, dst + src));
      }
    }
  }
  return true;
}
