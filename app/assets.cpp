// Start-up assets and the scene reset: the two fonts and three graphics out
// of the resource pack, the SYSTEM panel, the first candidates and the logo;
// and ClearAll, which the start-up and the Clear button share.
#include <new>
#include <vector>

#include "app/config.h"
#include "app/program.h"

namespace {

struct GraphicSpec {
  const char* name;
  const char* file;
  float width, height;
  float hotX, hotY;
  bool circle;
};

// The house and the tour graphic each load the image as a texture of their
// own. Their collision circle sits on the hot spot.
const GraphicSpec GRAPHICS[] = {
    {SITE_NAME, "graphics\\pelmora.png", 377, 166, 188, 83, false},
    {"qbuilding", "graphics\\building.png", 24, 24, 12, 14, true},
    {"qpath", "graphics\\building.png", 24, 24, 12, 14, true},
};
constexpr float CIRCLE_X = 12, CIRCLE_Y = 14, CIRCLE_RADIUS = 14;

constexpr uint32_t PANEL_NORMAL = 0x80FFFFFF;
constexpr uint32_t PANEL_HIGHLIGHT = 0xFFFFFFFF;
constexpr uint32_t PANEL_DISABLED = 0xFF808080;
constexpr int ALIGN_CENTRED = TEXT_CENTER | TEXT_MIDDLE;

// Textures this module loaded; the graphics' sprites do not free them.
std::vector<HTEXTURE> loadedTextures;

}  // namespace

bool LoadAssets() {
  if (!Engine || !MainScene) return true;
  BigFont = new (std::nothrow) hgeFont("graphics\\font.fnt");
  if (!BigFont) return true;
  SmallFont = new (std::nothrow) hgeFont("graphics\\fontsmall.fnt");
  if (!SmallFont) return true;

  for (const GraphicSpec& row : GRAPHICS) {
    HTEXTURE texture = Engine->Texture_Load(row.file, 0, false);
    if (texture) loadedTextures.push_back(texture);
    TARN_GRAPHICS* graphics =
        MainScene->AddGraphics(row.name, texture, 0, 0, row.width, row.height, 0, 0, 0);
    if (!graphics || !graphics->sprite || graphics->sprite->GetTexture() == 0) return true;
    graphics->sprite->SetColor(0xFFFFFFFF, -1);
    graphics->sprite->SetBlendMode(BLEND_DEFAULT);
    graphics->sprite->SetHotSpot(row.hotX, row.hotY);
    if (row.circle) graphics->circles.AddCircle(CIRCLE_X, CIRCLE_Y, CIRCLE_RADIUS);
  }
  return false;
}

void BuildStartScene() {
  SystemPanel.BuildPanel(MAP_WIDTH + PANEL_WIDTH * 0.5f, MAP_HEIGHT - 120, "SYSTEM", "Clear",
                         "Reset", "Find path (F=step)", SmallFont, PANEL_NORMAL, PANEL_HIGHLIGHT,
                         PANEL_DISABLED);
  TARNGUI_ITEM* quit = SystemPanel.CreateItem(0, 0, "4", true, true);
  SystemPanel.CreatePart(quit, 0, 100, "Ouit", SmallFont, ALIGN_CENTRED, PANEL_NORMAL,
                         PANEL_HIGHLIGHT, PANEL_DISABLED);
  SystemPanel.visible = true;

  ClearAll();
  CreatePaths(&World);

  if (MainScene) {
    LogoObject = MainScene->CreateObject(SITE_NAME, MainScene->FindGraphics(SITE_NAME),
                                         MAP_WIDTH * 0.5f, MAP_HEIGHT * 0.5f - 100, 0);
  }
}

void ClearAll() {
  if (MainScene) MainScene->DeleteAllObjects(false);
  World.Clear();
  CandidatePanel.Clear();
  CandidatePanel.SetPosition(MAP_WIDTH + 5, 5);
  CandidatePanel.visible = true;
  FrameClock = 0.0f;
  NextInputTime = 0.0f;
  LogoObject = nullptr;
}

void ReleaseAssets() {
  delete MainScene;
  MainScene = nullptr;
  LogoObject = nullptr;
  delete BigFont;
  BigFont = nullptr;
  delete SmallFont;
  SmallFont = nullptr;
  if (Engine) {
    for (HTEXTURE texture : loadedTextures) Engine->Texture_Free(texture);
  }
  loadedTextures.clear();
}
