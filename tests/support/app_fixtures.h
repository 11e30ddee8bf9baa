// The application as the frame loop sees it, on the fake engine: the pack's
// files registered (two test fonts, the logo and house images), the engine
// reference the entry sequence holds, MainScene, LoadAssets and
// BuildStartScene, and the two callbacks installed. Plus helpers that drive
// frames with the scripted mouse and read back the drawn text.
//
//   class MyTest : public AppTest {};
//   TEST_F(MyTest, ...) {
//     PlaceHouse(100, 100);
//     ClickAt(LEFT_BUTTON_X, ...);
//     EXPECT_EQ(...);
//   }
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/program.h"
#include "tests/support/engine_test.h"
#include "tests/support/world_fixtures.h"

// The files LoadAssets reads, with the sizes the fake reports.
inline constexpr char BIG_FONT_FILE[] = "graphics\\font.fnt";
inline constexpr char SMALL_FONT_FILE[] = "graphics\\fontsmall.fnt";
inline constexpr char LOGO_FILE[] = "graphics\\pelmora.png";
inline constexpr char BUILDING_FILE[] = "graphics\\building.png";
inline constexpr int LOGO_TEXTURE_W = 512, LOGO_TEXTURE_H = 256;
inline constexpr int BUILDING_TEXTURE_W = 32, BUILDING_TEXTURE_H = 32;

// Registers the four files of the pack (and the fonts' glyph sheet) in the
// fake engine.
void RegisterPackFiles(FakeEngine& fake);

// The screen point in the middle of a panel item's bounds ("Button1", "4",
// a label's id text); (-1, -1) when the panel has no such item.
struct ScreenPoint {
  float x, y;
};
ScreenPoint ItemCentre(const TARNGUI& panel, const char* itemName);

// One glyph the fake saw drawn with a font's texture.
struct DrawnGlyph {
  char code;
  float x, y;  // the glyph quad's top-left corner
  uint32_t colour;
};

class AppTest : public EngineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A house at (x, y) and the population rebuilt over the houses, as a left
  // click there would do.
  void PlaceHouse(float x, float y) { houses.AddHouse(x, y); }
  // One frame (its drawing replaces the last one's records); returns what
  // FrameUpdate returned.
  bool Frame();
  // Runs n frames with the current input; returns true if one ended the loop.
  bool Frames(int n);
  // One frame with the left (or right) button going down and held at (x, y),
  // then the button released.
  bool ClickAt(float x, float y, int button = KEY_LBUTTON);
  // Runs frames with nothing held until FrameClock passes NextInputTime.
  void WaitForHoldOff();

  // The candidates in the scene's order (newest first) and the houses.
  std::vector<QPATHDATA*> Candidates() const { return houses.Candidates(); }
  int HouseCount() const { return houses.HouseCount(); }

  // Every glyph drawn last frame with the font's texture, in draw order, and
  // those glyphs' characters as one text (line feeds draw nothing).
  std::vector<DrawnGlyph> Glyphs(const hgeFont* font) const;
  std::string GlyphText(const hgeFont* font) const;
  // The first glyph of the first run spelling `text`; none when it was not
  // drawn.
  std::optional<DrawnGlyph> FindText(const hgeFont* font, const std::string& text) const;
  // The lines of the last frame in one colour.
  std::vector<FakeLine> LinesOfColour(uint32_t colour) const;

  // The logo sprite's current alpha (0..255); -1 without a logo graphic.
  int LogoAlpha() const;

  // The solver's scenario builders, used on the program's own start scene
  // (its SetUp and TearDown are not called: the start-up above replaces
  // them).
  SolverScenario houses;
};
