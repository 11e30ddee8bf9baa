// The built Graphics.paq: every asset the program loads is in it, encrypted
// with the program's password; the fonts describe every printable character
// in cells that lie inside their sheets; the small font fits the labels; the
// images have the sizes the program cuts them to; and the program's own font
// reader loads both descriptions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>

#include "app/password.h"
#include "gfx/font.h"
#include "tests/support/engine_test.h"
#include "tests/support/pack_fixtures.h"
#include "tools/image.h"

namespace {

// The widest label a candidate gets, and the room the side panel gives it.
constexpr char WIDEST_LABEL[] = "QPath #12345 G=100 L=012345";
constexpr float LABEL_ROOM = 235.0f;
// Candidate labels stand this far apart.
constexpr int LABEL_PITCH = 16;

struct Cell {
  int x, y, w, h, pre, post;
};

struct Description {
  std::vector<std::string> lines;
  std::string bitmap;
  std::map<int, Cell> cells;
};

Description Parse(const std::string& text) {
  Description d;
  std::string line;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      if (!line.empty()) d.lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) d.lines.push_back(line);
  for (const std::string& l : d.lines) {
    char name[260];
    unsigned code;
    Cell c;
    if (std::sscanf(l.c_str(), "Bitmap=%259s", name) == 1) d.bitmap = name;
    if (std::sscanf(l.c_str(), "Char=%x,%d,%d,%d,%d,%d,%d", &code, &c.x, &c.y, &c.w, &c.h, &c.pre,
                    &c.post) == 7) {
      d.cells[static_cast<int>(code)] = c;
    }
  }
  return d;
}

class BuiltPackTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    entries = new std::vector<PackEntry>;
    readError = new std::string;
    if (!ReadPack(QP_PACK_PATH, PackPassword(), entries, readError)) entries->clear();
  }
  static void TearDownTestSuite() {
    delete entries;
    delete readError;
  }

  void SetUp() override { ASSERT_FALSE(entries->empty()) << *readError; }

  static const std::string& Bytes(const std::string& name) {
    static const std::string none;
    const PackEntry* e = FindEntry(*entries, name);
    return e ? e->bytes : none;
  }
  static Image Decode(const std::string& name) {
    Image image;
    std::string error;
    EXPECT_TRUE(DecodePng(Bytes(name), &image, &error)) << name << ": " << error;
    return image;
  }

  static std::vector<PackEntry>* entries;
  static std::string* readError;
};
std::vector<PackEntry>* BuiltPackTest::entries = nullptr;
std::string* BuiltPackTest::readError = nullptr;

const char* const MEMBERS[] = {
    "graphics\\font.fnt",      "graphics\\font.png",    "graphics\\fontsmall.fnt",
    "graphics\\fontsmall.png", "graphics\\pelmora.png", "graphics\\building.png",
};

TEST_F(BuiltPackTest, HoldsEveryAssetEncryptedWithTheProgramsPassword) {
  EXPECT_EQ(entries->size(), std::size(MEMBERS));
  for (const char* name : MEMBERS) {
    const PackEntry* e = FindEntry(*entries, name);
    ASSERT_NE(e, nullptr) << name;
    EXPECT_EQ(e->encryption, ZIP_EM_AES_256) << name;
    EXPECT_FALSE(e->bytes.empty()) << name;
  }
  std::vector<PackEntry> sealed;
  std::string error;
  EXPECT_FALSE(ReadPack(QP_PACK_PATH, "", &sealed, &error));
}

struct FontCase {
  const char* description;
  int maxLineHeight;  // 0: no limit
};

TEST_F(BuiltPackTest, FontsDescribeEveryPrintableCharacterInsideTheirSheets) {
  const FontCase fonts[] = {{"graphics\\font.fnt", 0},
                            {"graphics\\fontsmall.fnt", LABEL_PITCH - 1}};
  for (const FontCase& font : fonts) {
    SCOPED_TRACE(font.description);
    const Description d = Parse(Bytes(font.description));
    ASSERT_FALSE(d.lines.empty());
    EXPECT_EQ(d.lines[0], "[HGEFONT]");
    ASSERT_FALSE(d.bitmap.empty());
    const Image sheet = Decode("graphics\\" + d.bitmap);
    ASSERT_GT(sheet.width, 0);

    for (int code = 32; code <= 126; ++code) EXPECT_TRUE(d.cells.count(code)) << "code " << code;
    const int lineHeight = d.cells.begin()->second.h;
    if (font.maxLineHeight) {
      EXPECT_LE(lineHeight, font.maxLineHeight);
    }

    // Cells: full line height, inside the sheet, one clear pixel apart.
    std::vector<uint8_t> owner(sheet.pixels.size(), 0);
    for (const auto& [code, c] : d.cells) {
      EXPECT_EQ(c.h, lineHeight) << "code " << code;
      ASSERT_TRUE(c.x >= 1 && c.y >= 1 && c.w > 0 && c.x + c.w < sheet.width &&
                  c.y + c.h < sheet.height)
          << "code " << code << " lies outside the sheet or on its edge";
      for (int y = c.y - 1; y <= c.y + c.h; ++y) {
        for (int x = c.x - 1; x <= c.x + c.w; ++x) {
          const bool inside = x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
          uint8_t& o = owner[static_cast<size_t>(y) * sheet.width + x];
          if (inside) {
            EXPECT_EQ(o, 0) << "code " << code << " overlaps or touches another cell";
            o = 2;
          } else if (o == 2) {
            ADD_FAILURE() << "code " << code << " touches another cell at " << x << "," << y;
          } else {
            o = 1;
          }
        }
      }
    }
    // Ink only inside cells, and always white (alpha carries the coverage).
    int stray = 0, tinted = 0;
    for (size_t i = 0; i < sheet.pixels.size(); ++i) {
      const Rgba& p = sheet.pixels[i];
      if (p.a == 0) continue;
      stray += owner[i] != 2;
      tinted += p.r != 255 || p.g != 255 || p.b != 255;
    }
    EXPECT_EQ(stray, 0) << "pixels with ink outside every cell";
    EXPECT_EQ(tinted, 0) << "glyph pixels that are not white";

    // Blanks are blank; the rest carry ink, partly covered pixels included
    // (anti-aliasing).
    for (int code : {' ', 'A', 'g', '@', '~'}) {
      const Cell& c = d.cells.at(code);
      int ink = 0, partial = 0;
      for (int y = c.y; y < c.y + c.h; ++y) {
        for (int x = c.x; x < c.x + c.w; ++x) {
          ink += sheet.At(x, y).a > 0;
          partial += sheet.At(x, y).a > 0 && sheet.At(x, y).a < 255;
        }
      }
      if (code == ' ') {
        EXPECT_EQ(ink, 0) << "the space has ink";
      } else {
        EXPECT_GT(partial, 0) << "code " << code << " is not anti-aliased";
      }
    }
  }
}

TEST_F(BuiltPackTest, WidestCandidateLabelFitsThePanel) {
  const Description d = Parse(Bytes("graphics\\fontsmall.fnt"));
  int width = 0;
  for (unsigned char c : std::string(WIDEST_LABEL)) {
    ASSERT_TRUE(d.cells.count(c)) << "no glyph for " << c;
    const Cell& cell = d.cells.at(c);
    width += cell.w + cell.pre + cell.post;
  }
  EXPECT_GT(width, 0);
  EXPECT_LE(width, LABEL_ROOM);
}

// Where the program puts the sprite's hot spot and the house's click
// circle (centre and radius).
constexpr float HOT_X = 12, HOT_Y = 14, CLICK_RADIUS = 14;

TEST_F(BuiltPackTest, ImagesHaveTheSizesTheProgramCutsThemTo) {
  struct ImageCase {
    const char* name;
    int width, height;
  };
  for (const ImageCase& c : {ImageCase{"graphics\\building.png", 24, 24},
                             ImageCase{"graphics\\pelmora.png", 377, 166}}) {
    SCOPED_TRACE(c.name);
    const Image image = Decode(c.name);
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    if (image.width != c.width || image.height != c.height) continue;
    // Drawn over the black map: transparent around, opaque where drawn.
    for (auto [x, y] :
         {std::pair{0, 0}, {c.width - 1, 0}, {0, c.height - 1}, {c.width - 1, c.height - 1}}) {
      EXPECT_EQ(image.At(x, y).a, 0) << "corner " << x << "," << y;
    }
    int opaque = 0;
    for (const Rgba& p : image.pixels) opaque += p.a == 255;
    EXPECT_GT(opaque, c.width * c.height / 10) << "barely anything is drawn";
  }
}

TEST_F(BuiltPackTest, HouseSitsOnItsHotSpotInsideItsClickCircle) {
  const Image house = Decode("graphics\\building.png");
  ASSERT_EQ(house.width, 24);
  ASSERT_EQ(house.height, 24);
  EXPECT_EQ(house.At(static_cast<int>(HOT_X), static_cast<int>(HOT_Y)).a, 255);
  int left = house.width, right = -1, outside = 0;
  for (int y = 0; y < house.height; ++y) {
    for (int x = 0; x < house.width; ++x) {
      if (house.At(x, y).a == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      outside += std::hypot(x + 0.5f - HOT_X, y + 0.5f - HOT_Y) > CLICK_RADIUS;
    }
  }
  EXPECT_NEAR((left + right + 1) / 2.0f, HOT_X, 1.0f) << "not centred on the hot spot";
  EXPECT_EQ(outside, 0) << "pixels a click on the house would miss";
}

// The program's font reader, fed the pack's bytes through the fake engine.
class BuiltFontTest : public EngineTest {};

TEST_F(BuiltFontTest, ProgramLoadsBothFontsWithEveryPrintableGlyph) {
  std::vector<PackEntry> pack;
  std::string error;
  ASSERT_TRUE(ReadPack(QP_PACK_PATH, PackPassword(), &pack, &error)) << error;
  for (const PackEntry& e : pack) {
    if (e.name.size() > 4 && e.name.compare(e.name.size() - 4, 4, ".png") == 0) {
      Image image;
      ASSERT_TRUE(DecodePng(e.bytes, &image, &error)) << e.name << ": " << error;
      fake.AddTexture(e.name, image.width, image.height);
    } else {
      fake.AddResource(e.name, e.bytes);
    }
  }
  struct Expect {
    const char* name;
    const char* sheet;
  };
  for (const Expect& x : {Expect{"graphics\\font.fnt", "graphics\\font.png"},
                          Expect{"graphics\\fontsmall.fnt", "graphics\\fontsmall.png"}}) {
    SCOPED_TRACE(x.name);
    auto font = std::make_unique<hgeFont>(x.name);
    EXPECT_EQ(fake.TextureName(font->GetTexture()), FakeEngine::Normalise(x.sheet));
    for (int code = 32; code <= 126; ++code) {
      EXPECT_NE(font->GetGlyph(code), nullptr) << "code " << code;
    }
    EXPECT_GT(font->GetLineHeight(), 0.0f);
    if (std::string(x.name) == "graphics\\fontsmall.fnt") {
      EXPECT_LE(font->GetLineHeight(), LABEL_PITCH - 1);
      EXPECT_GT(font->MeasureLine(WIDEST_LABEL), 0.0f);
      EXPECT_LE(font->MeasureLine(WIDEST_LABEL), LABEL_ROOM);
    }
  }
  EXPECT_TRUE(fake.logLines.empty()) << fake.logLines.front();
}

}  // namespace
