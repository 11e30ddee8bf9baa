// Start-up assets and the scene reset: what LoadAssets registers, what it
// keeps when an image is missing, the start scene, and ClearAll.
#include <gtest/gtest.h>

#include <string>

#include "app/config.h"
#include "app/program.h"
#include "tests/support/app_fixtures.h"

namespace {

// LoadAssets alone, on a fresh scene, with the pack's files as registered.
class LoadAssetsTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    RegisterPackFiles(fake);
    Engine = hgeCreate(ENGINE_VERSION);
    MainScene = new TARN();
  }
  void TearDown() override {
    ReleaseProgramObjects();
    Engine->Release();
    Engine = nullptr;
    EXPECT_EQ(fake.LiveTextureCount(), 0);
    EXPECT_EQ(fake.refCount, refsAtStart);
    EngineTest::TearDown();
  }
};

TEST_F(LoadAssetsTest, RegistersTheFontsAndTheThreeGraphics) {
  ASSERT_FALSE(LoadAssets());
  ASSERT_NE(BigFont, nullptr);
  ASSERT_NE(SmallFont, nullptr);
  EXPECT_EQ(fake.TextureName(BigFont->GetTexture()), "graphics/test_font.png");
  EXPECT_FLOAT_EQ(SmallFont->MeasureLine("Clear"), 5 * 8);

  struct Expected {
    const char* name;
    const char* file;
    float w, h, hotX, hotY;
    int circles;
  } expected[] = {
      {"Pelmora", "graphics/pelmora.png", 377, 166, 188, 83, 0},
      {"qbuilding", "graphics/building.png", 24, 24, 12, 14, 1},
      {"qpath", "graphics/building.png", 24, 24, 12, 14, 1},
  };
  HTEXTURE textures[3] = {};
  for (int i = 0; i < 3; ++i) {
    const Expected& e = expected[i];
    TARN_GRAPHICS* g = MainScene->FindGraphics(e.name);
    ASSERT_NE(g, nullptr) << e.name;
    textures[i] = g->sprite->GetTexture();
    EXPECT_EQ(fake.TextureName(textures[i]), e.file) << e.name;
    EXPECT_FLOAT_EQ(g->sprite->GetWidth(), e.w) << e.name;
    EXPECT_FLOAT_EQ(g->sprite->GetHeight(), e.h) << e.name;
    float hx = 0, hy = 0;
    g->sprite->GetHotSpot(&hx, &hy);
    EXPECT_FLOAT_EQ(hx, e.hotX) << e.name;
    EXPECT_FLOAT_EQ(hy, e.hotY) << e.name;
    EXPECT_EQ(g->sprite->GetColor(3), 0xFFFFFFFFu) << e.name;
    EXPECT_EQ(g->sprite->GetBlendMode(), 2) << e.name;
    ASSERT_EQ(g->circles.Count(), e.circles) << e.name;
    if (e.circles) {
      EXPECT_FLOAT_EQ(g->circles.Get(0)->x, 12);
      EXPECT_FLOAT_EQ(g->circles.Get(0)->y, 14);
      EXPECT_FLOAT_EQ(g->circles.Get(0)->radius, 14);
    }
  }
  // The house and the tour graphic load the image as textures of their own.
  EXPECT_NE(textures[1], textures[2]);
}

TEST_F(LoadAssetsTest, MissingHouseImageFailsAfterTheLogo) {
  fake.RemoveTexture(BUILDING_FILE);
  EXPECT_TRUE(LoadAssets());
  // The fonts and the logo stay loaded.
  ASSERT_NE(BigFont, nullptr);
  ASSERT_NE(SmallFont, nullptr);
  EXPECT_NE(SmallFont->GetTexture(), 0u);
  TARN_GRAPHICS* logo = MainScene->FindGraphics(SITE_NAME);
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(fake.TextureName(logo->sprite->GetTexture()), "graphics/pelmora.png");
  EXPECT_EQ(MainScene->FindGraphics("qpath"), nullptr);
}

TEST_F(LoadAssetsTest, MissingLogoFailsBeforeAnyOtherGraphic) {
  fake.RemoveTexture(LOGO_FILE);
  EXPECT_TRUE(LoadAssets());
  EXPECT_NE(BigFont, nullptr);
  EXPECT_EQ(MainScene->FindGraphics("qbuilding"), nullptr);
}

TEST_F(LoadAssetsTest, UnreadableFontsDoNotFailStartUp) {
  fake.RemoveResource(BIG_FONT_FILE);
  fake.RemoveResource(SMALL_FONT_FILE);
  EXPECT_FALSE(LoadAssets());
  ASSERT_NE(SmallFont, nullptr);
  EXPECT_FLOAT_EQ(SmallFont->MeasureLine("Clear"), 0);
}

class StartSceneTest : public AppTest {};

TEST_F(StartSceneTest, BuildsTheSystemPanelCandidatesAndLogo) {
  ASSERT_TRUE(SystemPanel.visible);
  EXPECT_FLOAT_EQ(SystemPanel.x, 1080);
  EXPECT_FLOAT_EQ(SystemPanel.y, 840);
  const char* names[] = {"Head", "Button1", "Button2", "Button3", "4"};
  const char* texts[] = {"SYSTEM", "Clear", "Reset", "Find path (F=step)", "Ouit"};
  ASSERT_EQ(SystemPanel.ItemCount(), 5);
  for (int i = 0; i < 5; ++i) {
    TARNGUI_ITEM* item = SystemPanel.GetItem(i);
    EXPECT_EQ(item->GetName(), names[i]);
    ASSERT_EQ(item->PartCount(), 1) << names[i];
    EXPECT_EQ(item->GetPart(0)->text, texts[i]);
    EXPECT_EQ(item->GetPart(0)->font, SmallFont);
    EXPECT_EQ(item->GetPart(0)->align, 10);
  }
  TARNGUI_PART* quit = SystemPanel.GetItem(4)->GetPart(0);
  EXPECT_FLOAT_EQ(quit->y, 100);
  EXPECT_TRUE(SystemPanel.GetItem(4)->enabled);
  EXPECT_EQ(quit->colorNormal, 0x80FFFFFFu);
  EXPECT_EQ(quit->colorHighlight, 0xFFFFFFFFu);
  EXPECT_EQ(quit->colorDisabled, 0xFF808080u);

  EXPECT_EQ(Candidates().size(), 15u);
  EXPECT_EQ(HouseCount(), 0);
  ASSERT_NE(LogoObject, nullptr);
  EXPECT_EQ(LogoObject->name, SITE_NAME);
  EXPECT_EQ(LogoObject->graphics, MainScene->FindGraphics(SITE_NAME));
  EXPECT_FLOAT_EQ(LogoObject->x, 480);
  EXPECT_FLOAT_EQ(LogoObject->y, 380);
  EXPECT_TRUE(CandidatePanel.visible);
}

TEST_F(StartSceneTest, ClearAllEmptiesSceneWorldAndList) {
  PlaceHouse(100, 100);
  PlaceHouse(300, 300);
  Frames(2);  // labels exist now
  ASSERT_GT(CandidatePanel.ItemCount(), 0);
  FrameClock = 50;
  NextInputTime = 60;
  LogoFadeStep = 0.1f;

  ClearAll();
  EXPECT_EQ(MainScene->ObjectCount(), 0);
  EXPECT_EQ(World.items.Count(), 0);
  EXPECT_EQ(World.highlighted, nullptr);
  EXPECT_EQ(CandidatePanel.ItemCount(), 0);
  EXPECT_TRUE(CandidatePanel.visible);
  EXPECT_FLOAT_EQ(CandidatePanel.x, 965);
  EXPECT_FLOAT_EQ(CandidatePanel.y, 5);
  EXPECT_EQ(FrameClock, 0.0f);
  EXPECT_EQ(NextInputTime, 0.0f);
  EXPECT_EQ(LogoObject, nullptr);
  EXPECT_FLOAT_EQ(LogoFadeStep, 0.1f);
  // Graphics stay; object ids start again.
  EXPECT_NE(MainScene->FindGraphics("qbuilding"), nullptr);
  EXPECT_EQ(MainScene->CreateObject("x", nullptr, 0, 0, 0)->id, 1);
}

}  // namespace
