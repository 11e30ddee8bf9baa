// Small working fonts for tests that measure or draw text through the fake
// engine.
//
// The test font made by MakeTestFont has a glyph for every code 32..126
// ("?" included), each TEST_GLYPH_WIDTH (8) px wide and TEST_FONT_HEIGHT
// (15) px high, with no pre- or post-advance. So a text of n printable
// characters measures 8 * n px at scale 1, and the line height is 15.
// Codes outside 32..126 have no glyph and draw as "?".
//
//   hgeFont* font = MakeTestFont(fake);      // fake: FakeEngine&
//   EXPECT_FLOAT_EQ(font->MeasureLine("abc"), 24);
//   delete font;                              // the caller owns it
//
// The font's texture is registered in the fake and loaded, so deleting the
// font is what frees it (FakeEngine::LiveTextureCount()).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "gfx/font.h"
#include "tests/support/fake_engine.h"

constexpr int TEST_GLYPH_WIDTH = 8;
constexpr int TEST_FONT_HEIGHT = 15;
constexpr int TEST_FIRST_CODE = 32;
constexpr int TEST_LAST_CODE = 126;
// The glyph sheet: 16 glyphs a row, 6 rows for the 95 codes.
constexpr int TEST_SHEET_COLUMNS = 16;
constexpr int TEST_SHEET_WIDTH = 128;
constexpr int TEST_SHEET_HEIGHT = 96;

// One Char line of a description.
struct TestGlyph {
  int code;
  int x, y, w, h;
  int pre, post;
};

// A description: the header, "Bitmap=<bitmap>" (left out when bitmap is
// empty) and one "Char=<hex code>,x,y,w,h,pre,post" line per glyph, lines
// ended by LF.
inline std::string MakeFontDescription(const std::string& bitmap,
                                       const std::vector<TestGlyph>& glyphs) {
  std::string text = "[HGEFONT]\n";
  if (!bitmap.empty()) text += "Bitmap=" + bitmap + "\n";
  for (const TestGlyph& g : glyphs) {
    char line[128];
    std::snprintf(line, sizeof line, "Char=%X,%d,%d,%d,%d,%d,%d\n", g.code, g.x, g.y, g.w, g.h,
                  g.pre, g.post);
    text += line;
  }
  return text;
}

// The glyphs of the test font: codes 32..126, 8 x 15, no advances, laid out
// in rows of 16 on the sheet.
inline std::vector<TestGlyph> TestFontGlyphs() {
  std::vector<TestGlyph> glyphs;
  for (int code = TEST_FIRST_CODE; code <= TEST_LAST_CODE; ++code) {
    int i = code - TEST_FIRST_CODE;
    glyphs.push_back({code, (i % TEST_SHEET_COLUMNS) * TEST_GLYPH_WIDTH,
                      (i / TEST_SHEET_COLUMNS) * TEST_FONT_HEIGHT, TEST_GLYPH_WIDTH,
                      TEST_FONT_HEIGHT, 0, 0});
  }
  return glyphs;
}

// Registers the test font's description under `name` and its sheet beside it
// ("<directory of name>test_font.png", 128 x 96) in the fake, and returns the
// loaded font. The caller deletes it.
inline hgeFont* MakeTestFont(FakeEngine& fake, const char* name = "graphics\\testfont.fnt") {
  std::string description = name;
  size_t slash = description.find_last_of("\\/");
  std::string sheet =
      (slash == std::string::npos ? std::string() : description.substr(0, slash + 1)) +
      "test_font.png";
  fake.AddTexture(sheet, TEST_SHEET_WIDTH, TEST_SHEET_HEIGHT);
  fake.AddResource(name, MakeFontDescription("test_font.png", TestFontGlyphs()));
  return new hgeFont(name);
}
