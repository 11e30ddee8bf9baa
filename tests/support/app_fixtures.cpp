// The application fixture: start-up on the fake engine, frame driving and
// reading back what was drawn.
#include "tests/support/app_fixtures.h"

#include "solver/world.h"
#include "tests/support/font_fixtures.h"
#include "util/random.h"

namespace {

// Both fonts name this sheet; it lies beside their descriptions.
constexpr char FONT_SHEET[] = "test_font.png";
constexpr char FONT_SHEET_FILE[] = "graphics\\test_font.png";

}  // namespace

void RegisterPackFiles(FakeEngine& fake) {
  const std::string description = MakeFontDescription(FONT_SHEET, TestFontGlyphs());
  fake.AddTexture(FONT_SHEET_FILE, TEST_SHEET_WIDTH, TEST_SHEET_HEIGHT);
  fake.AddResource(BIG_FONT_FILE, description);
  fake.AddResource(SMALL_FONT_FILE, description);
  fake.AddTexture(LOGO_FILE, LOGO_TEXTURE_W, LOGO_TEXTURE_H);
  fake.AddTexture(BUILDING_FILE, BUILDING_TEXTURE_W, BUILDING_TEXTURE_H);
}

ScreenPoint ItemCentre(const TARNGUI& panel, const char* itemName) {
  const TARNGUI_ITEM* item = panel.FindItem(itemName);
  if (!item) return {-1, -1};
  const hgeRect& b = item->bounds;
  return {panel.x + (b.x1 + b.x2) * 0.5f, panel.y + (b.y1 + b.y2) * 0.5f};
}

void AppTest::SetUp() {
  EngineTest::SetUp();
  RegisterPackFiles(fake);
  SeedRandom(1);
  // What the entry sequence does before the loop starts.
  Engine = hgeCreate(ENGINE_VERSION);
  ReleaseProgramObjects();
  Engine->System_SetState(STATE_FRAME_FUNC, FrameUpdate);
  Engine->System_SetState(STATE_RENDER_FUNC, FrameRender);
  MainScene = new TARN();
  ASSERT_FALSE(LoadAssets());
  BuildStartScene();
}

void AppTest::TearDown() {
  ReleaseProgramObjects();
  if (Engine) Engine->Release();
  Engine = nullptr;
  EXPECT_EQ(fake.refCount, refsAtStart) << "an engine reference was not given back";
  EXPECT_EQ(fake.LiveTextureCount(), 0) << "a texture was not freed";
  EngineTest::TearDown();
}

bool AppTest::Frame() {
  fake.ClearDrawing();
  return fake.RunFrame();
}

bool AppTest::Frames(int n) {
  for (int i = 0; i < n; ++i)
    if (Frame()) return true;
  return false;
}

bool AppTest::ClickAt(float x, float y, int button) {
  fake.SetMouse(x, y);
  fake.Hold(button);
  fake.Press(button);
  const bool stop = Frame();
  fake.ReleaseKey(button);
  return stop;
}

void AppTest::WaitForHoldOff() {
  fake.ReleaseAll();
  // 100 frames is far beyond the longest hold-off at the fake's frame time.
  for (int i = 0; i < 100 && !(NextInputTime < FrameClock); ++i) Frame();
  ASSERT_LT(NextInputTime, FrameClock) << "the hold-off never ran out";
}

std::vector<DrawnGlyph> AppTest::Glyphs(const hgeFont* font) const {
  std::vector<DrawnGlyph> out;
  if (!font || !font->GetTexture()) return out;
  for (const hgeQuad& q : fake.quads) {
    if (q.texture != font->GetTexture()) continue;
    // The test font's glyphs sit in rows of 16 cells on its sheet.
    const int column = static_cast<int>(q.v[0].u * TEST_SHEET_WIDTH + 0.5f) / TEST_GLYPH_WIDTH;
    const int row = static_cast<int>(q.v[0].v * TEST_SHEET_HEIGHT + 0.5f) / TEST_FONT_HEIGHT;
    const int code = TEST_FIRST_CODE + row * TEST_SHEET_COLUMNS + column;
    out.push_back({static_cast<char>(code), q.v[0].x, q.v[0].y, q.v[0].colour});
  }
  return out;
}

std::string AppTest::GlyphText(const hgeFont* font) const {
  std::string text;
  for (const DrawnGlyph& g : Glyphs(font)) text += g.code;
  return text;
}

std::optional<DrawnGlyph> AppTest::FindText(const hgeFont* font, const std::string& text) const {
  const std::vector<DrawnGlyph> glyphs = Glyphs(font);
  std::string all;
  for (const DrawnGlyph& g : glyphs) all += g.code;
  const size_t at = all.find(text);
  if (at == std::string::npos || text.empty()) return std::nullopt;
  return glyphs[at];
}

std::vector<FakeLine> AppTest::LinesOfColour(uint32_t colour) const {
  std::vector<FakeLine> out;
  for (const FakeLine& line : fake.lines)
    if (line.colour == colour) out.push_back(line);
  return out;
}

int AppTest::LogoAlpha() const {
  const TARN_GRAPHICS* logo = MainScene ? MainScene->FindGraphics(SITE_NAME) : nullptr;
  if (!logo || !logo->sprite) return -1;
  return static_cast<int>(logo->sprite->GetColor(0) >> 24);
}
