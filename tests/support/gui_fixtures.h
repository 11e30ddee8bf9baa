// Helpers for GUI tests: a fixture that owns the test font, and a reader that
// turns the quads the fake engine recorded back into the characters drawn
// with that font (code, top-left corner, colour).
//
//   class MyTest : public GuiTest {};
//   part.Draw(0, 0, true);
//   std::vector<DrawnGlyph> glyphs = DrawnGlyphs(fake);
//   EXPECT_EQ(DrawnText(fake), "Clear");
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "gfx/font.h"
#include "tests/support/engine_test.h"
#include "tests/support/font_fixtures.h"

struct DrawnGlyph {
  int code;  // -1 when the quad is not a glyph of the test font
  float x, y;
  float width;
  uint32_t colour;
};

// Reads the glyph code from the quad's texture coordinates on the test
// font's sheet.
inline std::vector<DrawnGlyph> DrawnGlyphs(const FakeEngine& fake) {
  std::vector<DrawnGlyph> glyphs;
  for (const hgeQuad& q : fake.quads) {
    int column = static_cast<int>(std::lround(q.v[0].u * TEST_SHEET_WIDTH / TEST_GLYPH_WIDTH));
    int row = static_cast<int>(std::lround(q.v[0].v * TEST_SHEET_HEIGHT / TEST_FONT_HEIGHT));
    int code = TEST_FIRST_CODE + row * TEST_SHEET_COLUMNS + column;
    if (code > TEST_LAST_CODE) code = -1;
    glyphs.push_back({code, q.v[0].x, q.v[0].y, q.v[1].x - q.v[0].x, q.v[0].colour});
  }
  return glyphs;
}

inline std::string DrawnText(const FakeEngine& fake) {
  std::string text;
  for (const DrawnGlyph& g : DrawnGlyphs(fake)) text.push_back(g.code < 0 ? '#' : char(g.code));
  return text;
}

// Every test gets a fresh fake engine and the 8 x 15 test font.
class GuiTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    font = MakeTestFont(fake);
    ASSERT_FLOAT_EQ(font->GetLineHeight(), TEST_FONT_HEIGHT);
    fake.ClearDrawing();
  }
  void TearDown() override {
    delete font;
    font = nullptr;
    EngineTest::TearDown();
  }
  hgeFont* font = nullptr;
};
