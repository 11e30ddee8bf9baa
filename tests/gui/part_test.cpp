// TARNGUI_PART: measuring, bounds by alignment, drawing of text and image.
#include "gui/part.h"

#include <gtest/gtest.h>

#include "tests/support/gui_fixtures.h"

namespace {

class PartTest : public GuiTest {};

constexpr float W = TEST_GLYPH_WIDTH;
constexpr float H = TEST_FONT_HEIGHT;

TEST_F(PartTest, DefaultsAcceptEveryCodeFrom32To255) {
  TARNGUI_PART part;
  ASSERT_EQ(part.acceptedChars.size(), 224u);
  for (size_t i = 0; i < part.acceptedChars.size(); ++i)
    EXPECT_EQ(static_cast<unsigned char>(part.acceptedChars[i]), 32 + i);
  EXPECT_EQ(part.colorNormal, 0x80FFFFFFu);
  EXPECT_EQ(part.colorHighlight, 0xFFFFFFFFu);
  EXPECT_FLOAT_EQ(part.scale, 1.0f);
}

TEST_F(PartTest, MeasureTextCountsLinesAndIgnoresBlanksAtLineEnds) {
  struct Case {
    const char* text;
    int lines;
    float width;  // in glyphs
  } cases[] = {
      {"Clear", 1, 5},
      {"", 1, 0},
      {"ab\r\ncde", 2, 3},   // CR LF is one break
      {"ab\n\rcde", 2, 3},   // so is LF CR
      {"ab\r\rcd", 3, 2},    // CR CR is two
      {"ab\n\ncd", 3, 2},    // LF LF is two
      {"x\r\n\r\ny", 3, 1},  // two pairs
      {"ab\n", 2, 2},        // a trailing break adds an empty line
      {"  word  ", 1, 4},
      {"\t\x01word\x7f", 1, 5},  // codes up to 32 are blanks, 127 is not
      {"a b", 1, 3},             // inner blanks count
      {"\xE9", 1, 1},            // a high byte is no blank: drawn as "?"
      {"  ab \r\n   abcd  ", 2, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "text \"" << c.text << "\"");
    TARNGUI_PART part;
    float width = -1, height = -1;
    font->SetDrawScale(3.0f);
    EXPECT_EQ(part.MeasureText(c.text, font, &width, &height), c.lines);
    EXPECT_FLOAT_EQ(width, c.width * W);
    EXPECT_FLOAT_EQ(height, c.lines * H);
    EXPECT_FLOAT_EQ(font->GetDrawScale(), 1.0f);

    // The part's scale multiplies both sizes; the font is still left at 1.
    part.scale = 2.0f;
    part.MeasureText(c.text, font, &width, &height);
    EXPECT_FLOAT_EQ(width, 2 * c.width * W);
    EXPECT_FLOAT_EQ(height, 2 * c.lines * H);
    EXPECT_FLOAT_EQ(font->GetDrawScale(), 1.0f);
  }
}

TEST_F(PartTest, MeasureTextWithoutFontLeavesTheSizes) {
  TARNGUI_PART part;
  float width = 7, height = 9;
  EXPECT_EQ(part.MeasureText("abc", nullptr, &width, &height), 0);
  EXPECT_FLOAT_EQ(width, 7);
  EXPECT_FLOAT_EQ(height, 9);
}

TEST_F(PartTest, SetupStoresAndMeasuresButNeedsAFont) {
  TARNGUI_PART part;
  part.Setup(1, 2, "old", font, 8, 0x11, 0x22, 0x33);
  part.highlighted = part.editable = part.focused = true;

  part.Setup(5, 6, "new text", nullptr, 2, 0x44, 0x55, 0x66);
  EXPECT_FLOAT_EQ(part.x, 1);
  EXPECT_FLOAT_EQ(part.y, 2);
  EXPECT_EQ(part.text, "old");
  EXPECT_EQ(part.align, 8);
  EXPECT_EQ(part.colorNormal, 0x11u);
  EXPECT_EQ(part.colorDisabled, 0x33u);
  EXPECT_TRUE(part.highlighted && part.editable && part.focused);
  EXPECT_FLOAT_EQ(part.width, 3 * W);

  part.Setup(5, 6, "new text", font, 2, 0x44, 0x55, 0x66);
  EXPECT_FLOAT_EQ(part.x, 5);
  EXPECT_FLOAT_EQ(part.y, 6);
  EXPECT_EQ(part.text, "new text");
  EXPECT_EQ(part.align, 2);
  EXPECT_EQ(part.colorNormal, 0x44u);
  EXPECT_EQ(part.colorHighlight, 0x55u);
  EXPECT_EQ(part.colorDisabled, 0x66u);
  EXPECT_FALSE(part.highlighted || part.editable || part.focused);
  EXPECT_EQ(part.font, font);
  EXPECT_FLOAT_EQ(part.width, 8 * W);
  EXPECT_FLOAT_EQ(part.height, H);
}

TEST_F(PartTest, UpdateSizeFollowsADirectTextChange) {
  TARNGUI_PART part;
  part.Setup(0, 0, "ab", font, 0, 0, 0, 0);
  part.text = "abcd\nx";
  EXPECT_FLOAT_EQ(part.width, 2 * W);  // stale until measured again
  part.UpdateSize();
  EXPECT_FLOAT_EQ(part.width, 4 * W);
  EXPECT_FLOAT_EQ(part.height, 2 * H);
}

TEST_F(PartTest, BoundsFollowTheAlignmentFlags) {
  // "Clear" at (100, 50): 40 x 15.
  struct Case {
    int align;
    float x1, y1, x2, y2;
  } cases[] = {
      {0, 100, 50, 140, 65},
      {TEXT_RIGHT, 60, 50, 100, 65},
      {TEXT_CENTER, 80, 50, 120, 65},
      {TEXT_RIGHT | TEXT_CENTER, 60, 50, 100, 65},  // placed as right-aligned
      {TEXT_BOTTOM, 100, 35, 140, 50},
      {TEXT_MIDDLE, 100, 42.5, 140, 57.5},
      {TEXT_BOTTOM | TEXT_MIDDLE, 100, 35, 140, 50},  // bottom wins
      {TEXT_MIDDLE | TEXT_CENTER, 80, 42.5, 120, 57.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "align " << c.align);
    TARNGUI_PART part;
    part.Setup(100, 50, "Clear", font, c.align, 0, 0, 0);
    hgeRect r = part.GetBounds();
    EXPECT_FALSE(r.empty);
    EXPECT_FLOAT_EQ(r.x1, c.x1);
    EXPECT_FLOAT_EQ(r.y1, c.y1);
    EXPECT_FLOAT_EQ(r.x2, c.x2);
    EXPECT_FLOAT_EQ(r.y2, c.y2);
  }
}

TEST_F(PartTest, BoundsAtOriginAreSymmetricForAlign10) {
  TARNGUI_PART part;
  part.Setup(0, 0, "Clear", font, 10, 0, 0, 0);
  float w = font->MeasureLine("Clear"), h = font->GetLineHeight();
  hgeRect r = part.GetBounds();
  EXPECT_FLOAT_EQ(r.x1, -w / 2);
  EXPECT_FLOAT_EQ(r.y1, -h / 2);
  EXPECT_FLOAT_EQ(r.x2, w / 2);
  EXPECT_FLOAT_EQ(r.y2, h / 2);
}

TEST_F(PartTest, BoundsOfAnImageOrOfNothing) {
  TARNGUI_PART bare;
  bare.x = 30;
  bare.y = 40;
  hgeRect r = bare.GetBounds();
  EXPECT_FALSE(r.empty);
  EXPECT_FLOAT_EQ(r.x1, 0);
  EXPECT_FLOAT_EQ(r.x2, 0);
  EXPECT_FLOAT_EQ(r.y1, 0);
  EXPECT_FLOAT_EQ(r.y2, 0);

  // The image takes precedence over the text and is scaled.
  TARNGUI_PART part;
  part.Setup(30, 40, "long caption", font, TEXT_CENTER | TEXT_BOTTOM, 0, 0, 0);
  part.image = new hgeSprite(0, 0, 0, 20, 10);
  part.scale = 2;
  r = part.GetBounds();
  EXPECT_FLOAT_EQ(r.x1, 10);
  EXPECT_FLOAT_EQ(r.x2, 50);
  EXPECT_FLOAT_EQ(r.y1, 20);
  EXPECT_FLOAT_EQ(r.y2, 40);
}

TEST_F(PartTest, DrawPlacesTextOnWholePixelsWithTheTruncatedVerticalOffset) {
  struct Case {
    int align;
    const char* text;
    float top;  // of the first glyph
  } cases[] = {
      {0, "Ab", 20},
      {TEXT_MIDDLE, "Ab", 13},   // 15 / 2 cut to 7
      {TEXT_MIDDLE, "A\nb", 5},  // 30 / 2
      {TEXT_BOTTOM, "Ab", 5},
      {TEXT_BOTTOM | TEXT_MIDDLE, "Ab", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "align " << c.align << " text " << c.text);
    TARNGUI_PART part;
    part.Setup(10.7f, 20.2f, c.text, font, c.align, 0xFF000001, 0xFF000002, 0xFF000003);
    fake.ClearDrawing();
    part.Draw(100.5f, 0.4f, true);  // floor(111.2) = 111, floor(20.6) = 20
    std::vector<DrawnGlyph> glyphs = DrawnGlyphs(fake);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].code, 'A');
    EXPECT_FLOAT_EQ(glyphs[0].x, 111);
    EXPECT_FLOAT_EQ(glyphs[0].y, c.top);
    EXPECT_EQ(glyphs[0].colour, 0xFF000001u);
  }
}

TEST_F(PartTest, DrawLeavesTheHorizontalAlignmentToTheFont) {
  TARNGUI_PART part;
  part.Setup(100, 0, "abcd", font, TEXT_MIDDLE | TEXT_CENTER, 0, 0, 0);
  part.Draw(0, 0, true);
  std::vector<DrawnGlyph> glyphs = DrawnGlyphs(fake);
  ASSERT_EQ(glyphs.size(), 4u);
  EXPECT_FLOAT_EQ(glyphs[0].x, 100 - 2 * W);
}

TEST_F(PartTest, PercentSignsAreDrawnAsText) {
  TARNGUI_PART part;
  part.Setup(0, 0, "100% %s %d%%", font, 0, 0, 0, 0);
  part.Draw(0, 0, true);
  EXPECT_EQ(DrawnText(fake), "100% %s %d%%");
}

TEST_F(PartTest, FontScaleIsTheMeasuringScaleThenTheDrawingScale) {
  TARNGUI_PART part;
  part.scale = 2.0f;
  part.Setup(0, 0, "ab", font, 0, 0, 0, 0);
  EXPECT_FLOAT_EQ(font->GetDrawScale(), 1.0f);
  EXPECT_FLOAT_EQ(part.width, 2 * 2 * W);
  part.Draw(0, 0, true);
  EXPECT_FLOAT_EQ(font->GetDrawScale(), 2.0f);
  std::vector<DrawnGlyph> glyphs = DrawnGlyphs(fake);
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_FLOAT_EQ(glyphs[0].width, 2 * W);
  EXPECT_FLOAT_EQ(glyphs[1].x, 2 * W);
}

TEST_F(PartTest, ColourDependsOnEnabledHighlightAndFocus) {
  const uint32_t normal = 0xFF000001, light = 0xFF000002, off = 0xFF000003;
  struct Case {
    bool enabled, highlighted, editable, focused;
    uint32_t colour;
  } cases[] = {
      {true, false, false, false, normal},
      {true, true, false, false, light},
      {true, false, true, true, light},  // a focused edit field
      {true, false, true, false, normal},
      {true, false, false, true, normal},  // focus alone means nothing
      {false, true, true, true, off},
      {false, false, false, false, off},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "enabled " << c.enabled << " highlighted " << c.highlighted
                                    << " editable " << c.editable << " focused " << c.focused);
    TARNGUI_PART part;
    part.Setup(0, 0, "x", font, 0, normal, light, off);
    part.highlighted = c.highlighted;
    part.editable = c.editable;
    part.focused = c.focused;
    fake.ClearDrawing();
    part.Draw(0, 0, c.enabled);
    std::vector<DrawnGlyph> glyphs = DrawnGlyphs(fake);
    ASSERT_FALSE(glyphs.empty());
    EXPECT_EQ(glyphs[0].colour, c.colour);
    EXPECT_EQ(font->GetTextColor(), c.colour);
  }
}

TEST_F(PartTest, AnEmptyEditFieldShowsThreeDots) {
  TARNGUI_PART part;
  part.Setup(10.5f, 20, "", font, TEXT_MIDDLE, 0, 0xFF0000FF, 0);
  part.editable = true;
  part.focused = true;
  part.Draw(100, 0, true);
  std::vector<DrawnGlyph> glyphs = DrawnGlyphs(fake);
  ASSERT_EQ(glyphs.size(), 3u);
  const float xs[] = {107, 110, 113};  // floor(110.5 - 3), floor(110.5), floor(110.5 + 3)
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(glyphs[i].code, '.');
    EXPECT_FLOAT_EQ(glyphs[i].x, xs[i]);
    EXPECT_FLOAT_EQ(glyphs[i].y, 20 - 7);
    EXPECT_EQ(glyphs[i].colour, 0xFF0000FFu);
  }

  // Not for a field with text, nor for a plain empty caption.
  part.text = "a";
  fake.ClearDrawing();
  part.Draw(100, 0, true);
  EXPECT_EQ(DrawnText(fake), "a");
  part.text = "";
  part.editable = false;
  fake.ClearDrawing();
  part.Draw(100, 0, true);
  EXPECT_TRUE(fake.quads.empty());
}

TEST_F(PartTest, AnImageIsTintedAndDrawnUnroundedAtItsScale) {
  const uint32_t normal = 0x10203040, light = 0x50607080, off = 0x90A0B0C0;
  struct Case {
    bool enabled, highlighted;
    uint32_t colour;
  } cases[] = {{true, false, normal}, {true, true, light}, {false, true, off}};
  for (const Case& c : cases) {
    TARNGUI_PART part;
    part.Setup(1.25f, 2.5f, "", font, TEXT_MIDDLE | TEXT_CENTER, normal, light, off);
    part.image = new hgeSprite(0, 0, 0, 20, 10);
    part.scale = 2;
    part.highlighted = c.highlighted;
    fake.ClearDrawing();
    part.Draw(100, 200, c.enabled);
    ASSERT_EQ(fake.quads.size(), 1u);  // no text, no alignment
    const hgeQuad& q = fake.quads[0];
    EXPECT_FLOAT_EQ(q.v[0].x, 101.25f);
    EXPECT_FLOAT_EQ(q.v[0].y, 202.5f);
    EXPECT_FLOAT_EQ(q.v[2].x, 141.25f);
    EXPECT_FLOAT_EQ(q.v[2].y, 222.5f);
    for (const hgeVertex& v : q.v) EXPECT_EQ(v.colour, c.colour);
  }
}

TEST_F(PartTest, APartWithoutFontOrImageDrawsNothing) {
  TARNGUI_PART part;
  part.text = "abc";
  part.Draw(0, 0, true);
  EXPECT_TRUE(fake.quads.empty());
}

}  // namespace
