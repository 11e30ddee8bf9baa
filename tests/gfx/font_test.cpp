// hgeFont: reading descriptions (good and malformed), measuring, drawing
// through the quads the fake engine records, and giving back every glyph,
// texture and engine reference.
#include "gfx/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/support/engine_test.h"
#include "tests/support/font_fixtures.h"

namespace {

const char* const NAME = "graphics\\font.fnt";

class FontTest : public EngineTest {
 protected:
  void TearDown() override {
    // Every font of a test is gone by now: nothing it made may outlive it.
    EXPECT_EQ(fake.LiveTextureCount(), 0) << "a texture was not freed";
    EXPECT_EQ(fake.refCount, refsAtStart) << "an engine reference was not given back";
    EngineTest::TearDown();
  }

  std::unique_ptr<hgeFont> Load(const std::string& description, const char* name = NAME) {
    fake.AddResource(name, description);
    return std::make_unique<hgeFont>(name);
  }

  static int GlyphCount(const hgeFont& font) {
    int n = 0;
    for (int code = 0; code < 256; ++code) n += font.GetGlyph(code) != nullptr;
    return n;
  }

  static void ExpectEmpty(const hgeFont& font) {
    EXPECT_EQ(font.GetTexture(), 0u);
    EXPECT_EQ(GlyphCount(font), 0);
    EXPECT_FLOAT_EQ(font.GetLineHeight(), 0);
  }
};

// ---- Reading the description ---------------------------------------------

TEST_F(FontTest, HeaderMustBeExact) {
  const std::string body = "Bitmap=font.png\nChar=41,0,0,8,15,0,0\n";
  struct Case {
    std::string text;
    bool logged;
    bool glyph;
  } cases[] = {
      {"[HGEFONT]\n" + body, false, true},
      {"[HGEFONT] \n" + body, true, false},  // one trailing blank
      {"[hgefont]\n" + body, true, false},
      {" [HGEFONT]\n" + body, true, false},
      {"\n[HGEFONT]\n" + body, true, false},  // an empty first line
      {"[HGEFONT]", false, false},            // the header alone, no line break
      {"[HGEFONT]\n", false, false},
      {"", true, false},
  };
  fake.AddTexture("graphics\\font.png", 128, 128);
  for (const Case& c : cases) {
    SCOPED_TRACE("description \"" + c.text + "\"");
    fake.logLines.clear();
    auto font = Load(c.text);
    if (c.logged) {
      ASSERT_EQ(fake.logLines.size(), 1u);
      EXPECT_EQ(fake.logLines[0], "Font graphics\\font.fnt has incorrect format.");
    } else {
      EXPECT_TRUE(fake.logLines.empty());
    }
    if (c.glyph) {
      EXPECT_NE(font->GetGlyph(0x41), nullptr);
      EXPECT_NE(font->GetTexture(), 0u);
    } else {
      ExpectEmpty(*font);
    }
  }
}

TEST_F(FontTest, MissingDescriptionGivesEmptyFontSilently) {
  hgeFont font("graphics\\nothing.fnt");
  ExpectEmpty(font);
  EXPECT_TRUE(fake.logLines.empty());
  EXPECT_FLOAT_EQ(font.MeasureLine("abc"), 0);
  font.DrawString(10, 10, TEXT_CENTER, "abc");
  font.DrawFormatted(10, 10, TEXT_RIGHT, "%d", 42);
  font.SetTextColor(0xFF00FF00);
  EXPECT_TRUE(fake.quads.empty());
}

TEST_F(FontTest, LineBreaksOfAnyKindReadTheSame) {
  const std::vector<std::string> lines = {"[HGEFONT]", "Bitmap=font.png", "Char=41,1,2,3,4,5,6",
                                          "Char=42,7,8,9,10,11,12"};
  fake.AddTexture("graphics\\font.png", 64, 64);
  for (const char* separator : {"\n", "\r\n", "\n\n\n", "\r", "\r\n\r\n\n"}) {
    for (bool finalBreak : {true, false}) {
      std::string text;
      for (size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || finalBreak) text += separator;
      }
      SCOPED_TRACE("description \"" + text + "\"");
      auto font = Load(text);
      EXPECT_EQ(fake.TextureName(font->GetTexture()), "graphics/font.png");
      ASSERT_EQ(GlyphCount(*font), 2);
      float x, y, w, h;
      font->GetGlyph(0x42)->GetTextureRect(&x, &y, &w, &h);
      EXPECT_EQ(
          (std::vector<float>{x, y, w, h, font->GetPreAdvance(0x42), font->GetPostAdvance(0x42)}),
          (std::vector<float>{7, 8, 9, 10, 11, 12}));
      EXPECT_FLOAT_EQ(font->GetLineHeight(), 10);
    }
  }
}

TEST_F(FontTest, BitmapLineNamesTextureBesideTheDescription) {
  struct Case {
    const char* name;
    const char* line;
    const char* texture;  // normalised name of the loaded texture, "" for none
  } cases[] = {
      {"graphics\\fontsmall.fnt", "Bitmap=font.png", "graphics/font.png"},
      {"graphics/fontsmall.fnt", "Bitmap=font.png", "graphics/font.png"},
      {"fontsmall.fnt", "Bitmap=font.png", "font.png"},
      // A "\" wins over a later "/".
      {"pack\\graphics/fontsmall.fnt", "Bitmap=font.png", "pack/font.png"},
      {"a\\b\\c.fnt", "Bitmap = font.png", "a/b/font.png"},
      {"fontsmall.fnt", "Bitmap\t=\t font.png  and the rest", "font.png"},
      {"fontsmall.fnt", "Bitmap=sub\\font.png", "sub/font.png"},
      // Not Bitmap lines, or no file name in them: ignored.
      {"fontsmall.fnt", "Bitmap font.png", ""},
      {"fontsmall.fnt", "Bitmap=", ""},
      {"fontsmall.fnt", "Bitmap =   ", ""},
      {"fontsmall.fnt", "bitmap=font.png", ""},
      {"fontsmall.fnt", "Bitmaps=font.png", ""},
  };
  for (const char* texture :
       {"graphics/font.png", "font.png", "pack/font.png", "a/b/font.png", "sub/font.png"}) {
    fake.AddTexture(texture, 64, 64);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ": " + c.line);
    auto font = Load("[HGEFONT]\n" + std::string(c.line) + "\nChar=41,0,0,8,8,0,0\n", c.name);
    EXPECT_EQ(fake.TextureName(font->GetTexture()), c.texture);
    // An ignored line does not stop the reading.
    ASSERT_NE(font->GetGlyph(0x41), nullptr);
    EXPECT_EQ(font->GetGlyph(0x41)->GetTexture(), font->GetTexture());
  }
}

TEST_F(FontTest, CharLineCodeForms) {
  const char* numbers = ",1,2,3,4,5,6";
  struct Case {
    std::string code;  // what follows "Char" up to the numbers
    int expected;      // -1: the line is ignored
  } cases[] = {
      {"=41", 65},
      {"=0041", 65},
      {"=\"A\"", 65},
      {" = 41 ", 65},
      {"=   \"A\"  ", 65},
      {"=a", 10},
      {"=fF", 255},
      {"=100", -1},         // 256
      {"=", 0},             // no digits: code 0
      {"=FFFFFFFF", -1},    // negative in 32 bits
      {"=1000000041", 65},  // the top digits are shifted out
      {"=\"=\"", 61},       // the first "=" of the line introduces the code
      {"=\"\"\"", 34},
      {"=\",\"", 44},
      {"=\"\xE9\"", 0xE9},
      {"=\"Ax", 65},  // the closing byte is not inspected
      {"=\t41", -1},  // only blanks are skipped before the code
      {" 41", -1},    // no "="
      {"s=41", 65},   // any line starting with "Char"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("Char" + c.code + numbers);
    auto font = Load("[HGEFONT]\nChar" + c.code + numbers + "\n");
    if (c.expected < 0) {
      EXPECT_EQ(GlyphCount(*font), 0);
      EXPECT_FLOAT_EQ(font->GetLineHeight(), 0);
      continue;
    }
    ASSERT_EQ(GlyphCount(*font), 1);
    const hgeSprite* glyph = font->GetGlyph(c.expected);
    ASSERT_NE(glyph, nullptr);
    float x, y, w, h;
    glyph->GetTextureRect(&x, &y, &w, &h);
    EXPECT_EQ((std::vector<float>{x, y, w, h, font->GetPreAdvance(c.expected),
                                  font->GetPostAdvance(c.expected)}),
              (std::vector<float>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(glyph->GetTexture(), 0u);  // no Bitmap line before it
    EXPECT_EQ(glyph->GetColor(0), 0xFFFFFFFFu);
  }
}

TEST_F(FontTest, CharLineNumbers) {
  struct Case {
    std::string line;
    std::vector<float> values;  // x, y, w, h, pre, post; empty: ignored
  } cases[] = {
      {"Char=41 , 1 ,\t2,3 ,4, 5 ,6", {1, 2, 3, 4, 5, 6}},
      {"Char=41,-1,+2,3,4,-5,6 trailing text", {-1, 2, 3, 4, -5, 6}},
      {"Char=41,99999999999,0,1,1,-99999999999,0", {2147483647.0f, 0, 1, 1, -2147483648.0f, 0}},
      {"Char=41,0,18446744073709551621,1,-18446744073709551621,0,0",
       {0, 2147483647.0f, 1, -2147483648.0f, 0, 0}},
      {"Char=41,1,2,3,4,5", {}},  // five numbers
      {"Char=41,1,2,3,x,5,6", {}},
      {"Char=41,1,2,3,-,5,6", {}},
      {"Char=41 1,2,3,4,5,6", {}},  // no comma after the code
      {"Char=41,,1,2,3,4,5", {}},
      {"Char=\"", {}},  // ends right after the opening quote
      {"Char=\"A", {}},
      {"Char=", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    auto font = Load("[HGEFONT]\n" + c.line);
    if (c.values.empty()) {
      EXPECT_EQ(GlyphCount(*font), 0);
      continue;
    }
    ASSERT_NE(font->GetGlyph(0x41), nullptr);
    float x, y, w, h;
    font->GetGlyph(0x41)->GetTextureRect(&x, &y, &w, &h);
    EXPECT_EQ(
        (std::vector<float>{x, y, w, h, font->GetPreAdvance(0x41), font->GetPostAdvance(0x41)}),
        c.values);
  }
}

// A short line must not run on into what a longer earlier line left in the
// line buffer.
TEST_F(FontTest, ShortLineNeverReadsPastItsEnd) {
  for (const char* second : {"Char=\"A", "Char=\"", "Char=4", "Bitmap"}) {
    SCOPED_TRACE(second);
    auto font = Load(std::string("[HGEFONT]\nChar=\"ZB,1,2,3,4,5,6\n") + second);
    EXPECT_EQ(GlyphCount(*font), 1);
    EXPECT_NE(font->GetGlyph('Z'), nullptr);
  }
}

TEST_F(FontTest, LaterCharLineReplacesGlyphAndHeightKeepsTheLargest) {
  auto font =
      Load("[HGEFONT]\nChar=41,0,0,8,20,1,1\nChar=\"B\",0,0,4,12,0,0\nChar=41,16,0,6,10,2,3");
  ASSERT_EQ(GlyphCount(*font), 2);
  float x, y, w, h;
  font->GetGlyph(0x41)->GetTextureRect(&x, &y, &w, &h);
  EXPECT_EQ((std::vector<float>{x, y, w, h}), (std::vector<float>{16, 0, 6, 10}));
  EXPECT_FLOAT_EQ(font->GetPreAdvance(0x41), 2);
  EXPECT_FLOAT_EQ(font->GetPostAdvance(0x41), 3);
  EXPECT_FLOAT_EQ(font->GetLineHeight(), 20);
  // The replaced sprite was freed: the font holds its own reference plus
  // one per glyph.
  EXPECT_EQ(fake.refCount, refsAtStart + 1 + 2);
}

TEST_F(FontTest, TexturesFollowBitmapLinesAndAreAllFreed) {
  fake.AddTexture("a.png", 64, 64);
  fake.AddTexture("b.png", 32, 32);
  struct Case {
    const char* body;
    int live;             // textures alive while the font exists
    const char* current;  // the font's texture
    const char* glyphA;   // texture of glyph "A"
    const char* glyphB;   // texture of glyph "B", nullptr when it has none
  } cases[] = {
      {"Bitmap=a.png\nChar=41,0,0,8,8,0,0\nBitmap=b.png\nChar=42,0,0,8,8,0,0", 2, "b.png", "a.png",
       "b.png"},
      // A texture no glyph uses is freed as soon as it is replaced.
      {"Bitmap=a.png\nBitmap=b.png\nChar=41,0,0,8,8,0,0", 1, "b.png", "b.png", nullptr},
      {"Bitmap=a.png\nChar=41,0,0,8,8,0,0\nBitmap=b.png\nChar=41,0,0,8,8,0,0", 1, "b.png", "b.png",
       nullptr},
      {"Bitmap=a.png\nChar=41,0,0,8,8,0,0\nBitmap=a.png\nBitmap=b.png", 2, "b.png", "a.png",
       nullptr},
      // A texture that cannot be loaded stops the reading; earlier glyphs stay.
      {"Bitmap=a.png\nChar=41,0,0,8,8,0,0\nBitmap=none.png\nChar=42,0,0,8,8,0,0", 1, "", "a.png",
       nullptr},
      // Glyphs read before any Bitmap line have no texture.
      {"Char=41,0,0,8,8,0,0\nBitmap=a.png\nChar=42,0,0,8,8,0,0", 1, "a.png", "", "a.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    {
      auto font = Load(std::string("[HGEFONT]\n") + c.body, "f.fnt");
      EXPECT_EQ(fake.LiveTextureCount(), c.live);
      EXPECT_EQ(fake.TextureName(font->GetTexture()), c.current);
      ASSERT_NE(font->GetGlyph(0x41), nullptr);
      EXPECT_EQ(fake.TextureName(font->GetGlyph(0x41)->GetTexture()), c.glyphA);
      if (c.glyphB) {
        ASSERT_NE(font->GetGlyph(0x42), nullptr);
        EXPECT_EQ(fake.TextureName(font->GetGlyph(0x42)->GetTexture()), c.glyphB);
      } else {
        EXPECT_EQ(font->GetGlyph(0x42), nullptr);
      }
    }
    EXPECT_EQ(fake.LiveTextureCount(), 0);
    EXPECT_EQ(fake.refCount, refsAtStart);
  }
}

// ---- Limits -----------------------------------------------------------------

TEST_F(FontTest, LongLinesAreCutAt255Characters) {
  // The texture name is cut with the line: only its first 248 characters
  // (255 minus "Bitmap=") are read.
  std::string name(248, 'n');
  fake.AddTexture(name, 8, 8);
  fake.AddTexture(name + "TAIL", 8, 8);
  // What lies past character 255 of a line is skipped, not read as a line.
  std::string exact = "Char=41,0,0,8,8,0,0";
  exact += std::string(255 - exact.size(), ' ');
  std::string padded = "Char=42,0,0,8,8,0,0" + std::string(236, ' ') + "Char=43,0,0,8,8,0,0";
  std::string text =
      "[HGEFONT]\nBitmap=" + name + "TAIL\n" + padded + "\n" + exact + "\r\nChar=44,0,0,8,8,0,0\n";
  auto font = Load(text, "long.fnt");
  EXPECT_EQ(fake.TextureName(font->GetTexture()), name);
  EXPECT_NE(font->GetGlyph(0x41), nullptr);
  EXPECT_NE(font->GetGlyph(0x42), nullptr);
  EXPECT_EQ(font->GetGlyph(0x43), nullptr);
  EXPECT_NE(font->GetGlyph(0x44), nullptr);
  EXPECT_EQ(GlyphCount(*font), 3);
}

TEST_F(FontTest, TexturePathsOver259CharactersAreNotLoaded) {
  for (size_t length : {259u, 260u, 400u}) {
    // A directory long enough that directory + "glyphs.png" has `length` characters.
    std::string directory(length - 10 - 1, 'd');
    std::string name = directory + "\\font.fnt";
    std::string texture = directory + "\\glyphs.png";
    ASSERT_EQ(texture.size(), length);
    fake.AddTexture(texture, 8, 8);
    SCOPED_TRACE(length);
    auto font = Load("[HGEFONT]\nChar=20,0,0,8,8,0,0\nBitmap=glyphs.png\nChar=41,0,0,8,8,0,0\n",
                     name.c_str());
    bool loads = length <= 259;
    EXPECT_EQ(font->GetTexture() != 0, loads);
    // Like a texture that cannot be loaded, it stops the reading.
    EXPECT_NE(font->GetGlyph(0x20), nullptr);
    EXPECT_EQ(font->GetGlyph(0x41) != nullptr, loads);
  }
}

TEST_F(FontTest, ReadingStopsAtTheFirstZeroByte) {
  auto font =
      Load(std::string("[HGEFONT]\nChar=41,0,0,8,8,0,0\n") + '\0' + "Char=42,0,0,8,8,0,0\n");
  EXPECT_NE(font->GetGlyph(0x41), nullptr);
  EXPECT_EQ(font->GetGlyph(0x42), nullptr);
}

// Random descriptions built from the format's own pieces: whatever they
// hold, reading never goes astray (the sanitizer build watches), heights
// stay consistent and everything is given back.
TEST_F(FontTest, SurvivesArbitraryDescriptions) {
  const std::vector<std::string> pieces = {"Char",
                                           "Bitmap",
                                           "=",
                                           "\"",
                                           ",",
                                           " ",
                                           "\t",
                                           "\r",
                                           "\n",
                                           "\r\n",
                                           "41",
                                           "FFFFFFFF",
                                           "-",
                                           "7",
                                           "12345678901",
                                           "a.png",
                                           "b.png",
                                           "[HGEFONT]",
                                           std::string(300, 'x'),
                                           std::string(1, '\0'),
                                           "\xFF",
                                           "?"};
  fake.AddTexture("fuzz/a.png", 16, 16);
  fake.AddTexture("fuzz/b.png", 16, 16);
  std::mt19937 random(12345);
  for (int round = 0; round < 1500; ++round) {
    std::string text = round % 4 ? "[HGEFONT]\n" : "";
    int count = static_cast<int>(random() % 60);
    for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    {
      auto font = Load(text, "fuzz\\font.fnt");
      float tallest = 0;
      for (int code = 0; code < 256; ++code) {
        if (const hgeSprite* glyph = font->GetGlyph(code)) {
          tallest = std::max(tallest, glyph->GetHeight());
        }
      }
      EXPECT_GE(font->GetLineHeight(), tallest) << text;
      font->DrawString(0, 0, round % 4, text.c_str());
    }
    ASSERT_EQ(fake.LiveTextureCount(), 0) << text;
    ASSERT_EQ(fake.refCount, refsAtStart) << text;
    fake.ClearDrawing();
  }
}

// ---- Measuring and drawing --------------------------------------------------

// "A": 8 wide, advances 1 and 2 (11 in all); "B": 4 wide, post 1 (5);
// "?": 6 wide (6). Height 16, from "?".
const char* const DRAW_FONT =
    "[HGEFONT]\nBitmap=font.png\nChar=\"A\",0,0,8,10,1,2\nChar=42,8,0,4,12,0,1\n"
    "Char=3F,12,0,6,16,0,0\n";

struct Drawn {
  float x, y, width;
};

std::vector<Drawn> DrawnQuads(const FakeEngine& fake) {
  std::vector<Drawn> drawn;
  for (const hgeQuad& q : fake.quads) drawn.push_back({q.v[0].x, q.v[0].y, q.v[1].x - q.v[0].x});
  return drawn;
}

void ExpectDrawn(const FakeEngine& fake, const std::vector<Drawn>& expected) {
  std::vector<Drawn> drawn = DrawnQuads(fake);
  ASSERT_EQ(drawn.size(), expected.size());
  for (size_t i = 0; i < drawn.size(); ++i) {
    EXPECT_FLOAT_EQ(drawn[i].x, expected[i].x) << "glyph " << i;
    EXPECT_FLOAT_EQ(drawn[i].y, expected[i].y) << "glyph " << i;
    EXPECT_FLOAT_EQ(drawn[i].width, expected[i].width) << "glyph " << i;
  }
}

TEST_F(FontTest, MeasureLine) {
  fake.AddTexture("graphics\\font.png", 64, 64);
  auto font = Load(DRAW_FONT);
  struct Case {
    const char* text;
    float scale;
    float width;
  } cases[] = {
      {"", 1, 0},  {"A", 1, 11},       {"AB", 1, 16}, {"A\nBBBB", 1, 11}, {"\nAB", 1, 0},
      {"Z", 1, 6}, {"A\x80\r", 1, 23}, {"AB", 2, 32}, {"AB", 0.5f, 8},    {"ABAB\n", 1, 32},
  };
  for (const Case& c : cases) {
    font->SetDrawScale(c.scale);
    EXPECT_FLOAT_EQ(font->MeasureLine(c.text), c.width) << '"' << c.text << "\" scale " << c.scale;
  }
  EXPECT_FLOAT_EQ(font->MeasureLine(nullptr), 0);
}

TEST_F(FontTest, DrawStringPlacesGlyphs) {
  fake.AddTexture("graphics\\font.png", 64, 64);
  auto font = Load(DRAW_FONT);
  struct Case {
    int align;
    const char* text;
    float scale;
    std::vector<Drawn> quads;  // drawn at (100, 50)
  } cases[] = {
      {TEXT_LEFT, "AB", 1, {{101, 50, 8}, {111, 50, 4}}},
      {TEXT_RIGHT, "AB", 1, {{85, 50, 8}, {95, 50, 4}}},
      {TEXT_CENTER, "AB", 1, {{93, 50, 8}, {103, 50, 4}}},
      {TEXT_CENTER, "A", 1, {{96, 50, 8}}},  // 100 - trunc(5.5)
      {3, "AB", 1, {{101, 50, 8}, {111, 50, 4}}},
      {TEXT_MIDDLE | TEXT_CENTER, "AB", 1, {{93, 50, 8}, {103, 50, 4}}},
      {TEXT_BOTTOM, "AB", 1, {{101, 50, 8}, {111, 50, 4}}},
      {TEXT_BOTTOM | TEXT_RIGHT, "AB", 1, {{85, 50, 8}, {95, 50, 4}}},
      // Each line is aligned by its own width, one line height lower.
      {TEXT_CENTER, "AB\nA", 1, {{93, 50, 8}, {103, 50, 4}, {96, 66, 8}}},
      {TEXT_RIGHT, "A\nAB\n\nB", 1, {{90, 50, 8}, {85, 66, 8}, {95, 66, 4}, {95, 98, 4}}},
      // No glyph: "?" in its place, CR included.
      {TEXT_LEFT, "AZ\rB", 1, {{101, 50, 8}, {111, 50, 6}, {117, 50, 6}, {123, 50, 4}}},
      {TEXT_LEFT, "AB\nB", 2, {{102, 50, 16}, {122, 50, 8}, {100, 82, 8}}},
      {TEXT_CENTER, "AB", 2, {{86, 50, 16}, {106, 50, 8}}},
      {TEXT_LEFT, "", 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "align " << c.align << " \"" << c.text << "\" scale " << c.scale);
    fake.ClearDrawing();
    font->SetDrawScale(c.scale);
    font->DrawString(100, 50, c.align, c.text);
    ExpectDrawn(fake, c.quads);
  }
  EXPECT_FLOAT_EQ(font->GetLineHeight(), 16);  // unchanged by the scale
}

TEST_F(FontTest, LineAdvanceIsAWholeNumberOfPixels) {
  std::unique_ptr<hgeFont> font(MakeTestFont(fake));
  font->SetDrawScale(1.5f);  // 15 * 1.5 = 22.5
  font->DrawString(0, 10, TEXT_LEFT, "a\nb\nc");
  ExpectDrawn(fake, {{0, 10, 12}, {0, 32, 12}, {0, 54, 12}});
}

TEST_F(FontTest, MissingGlyphWithoutQuestionMarkNeitherDrawsNorAdvances) {
  auto font = Load("[HGEFONT]\nChar=41,0,0,8,10,1,2\n");
  EXPECT_FLOAT_EQ(font->MeasureLine("AZA"), 22);
  font->DrawString(100, 50, TEXT_LEFT, "AZ?A");
  ExpectDrawn(fake, {{101, 50, 8}, {112, 50, 8}});
}

TEST_F(FontTest, DrawFormattedFormatsAndCutsAt1023Bytes) {
  std::unique_ptr<hgeFont> font(MakeTestFont(fake));
  font->DrawFormatted(0, 0, TEXT_LEFT, "%d-%s", 12, "ab");
  ExpectDrawn(fake, {{0, 0, 8}, {8, 0, 8}, {16, 0, 8}, {24, 0, 8}, {32, 0, 8}});
  for (size_t length : {1023u, 1024u, 5000u}) {
    fake.ClearDrawing();
    std::string text(length, 'w');
    font->DrawFormatted(0, 0, TEXT_LEFT, "%s", text.c_str());
    EXPECT_EQ(fake.quads.size(), std::min<size_t>(length, 1023)) << length;
  }
}

TEST_F(FontTest, SetTextColorColoursEveryGlyph) {
  std::unique_ptr<hgeFont> font(MakeTestFont(fake));
  font->SetTextColor(0x80FF8000);
  EXPECT_EQ(font->GetTextColor(), 0x80FF8000u);
  for (int code = TEST_FIRST_CODE; code <= TEST_LAST_CODE; ++code) {
    for (int corner = 0; corner < 4; ++corner) {
      ASSERT_EQ(font->GetGlyph(code)->GetColor(corner), 0x80FF8000u) << code;
    }
  }
  font->DrawString(0, 0, TEXT_LEFT, "Hi");
  ASSERT_EQ(fake.quads.size(), 2u);
  for (const hgeQuad& q : fake.quads) {
    for (const hgeVertex& v : q.v) EXPECT_EQ(v.colour, 0x80FF8000u);
  }
}

TEST_F(FontTest, GlyphsCutTheirRectangleFromTheSheet) {
  std::unique_ptr<hgeFont> font(MakeTestFont(fake));
  // "B" is glyph 34 counting from code 32: row 2, column 2 (from 0) of the sheet.
  font->DrawString(0, 0, TEXT_LEFT, "B");
  ASSERT_EQ(fake.quads.size(), 1u);
  const hgeQuad& q = fake.quads[0];
  EXPECT_EQ(q.texture, font->GetTexture());
  EXPECT_FLOAT_EQ(q.v[0].u, 16.0f / 128);
  EXPECT_FLOAT_EQ(q.v[0].v, 30.0f / 96);
  EXPECT_FLOAT_EQ(q.v[2].u, 24.0f / 128);
  EXPECT_FLOAT_EQ(q.v[2].v, 45.0f / 96);
  EXPECT_FLOAT_EQ(q.v[2].y - q.v[0].y, 15);
}

}  // namespace
