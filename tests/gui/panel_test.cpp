// TARNGUI: the owned item list, polling and drawing, the panel builder.
#include "gui/panel.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/gui_fixtures.h"

namespace {

class PanelTest : public GuiTest {
 protected:
  // A visible panel at (100, 200) and an item "name" whose "Clear" caption
  // covers screen (100 + ix, 200 + iy) .. (+40, +15).
  TARNGUI_ITEM* AddButton(TARNGUI& panel, const std::string& name, float ix, float iy) {
    TARNGUI_ITEM* item = panel.CreateItem(ix, iy, name, true, true);
    EXPECT_NE(panel.CreatePart(item, 0, 0, "Clear", font, 0, 0xFF000001, 0xFF000002, 0xFF000003),
              nullptr);
    return item;
  }
  void Show(TARNGUI& panel) {
    panel.SetPosition(100, 200);
    panel.visible = true;
  }
};

constexpr float H = TEST_FONT_HEIGHT;

TEST_F(PanelTest, ConstructionAndClear) {
  TARNGUI panel;
  EXPECT_FALSE(panel.visible);
  EXPECT_EQ(panel.ItemCount(), 0);
  Show(panel);
  AddButton(panel, "a", 0, 0);
  AddButton(panel, "b", 0, 20);
  panel.Clear();
  EXPECT_FLOAT_EQ(panel.x, 0);
  EXPECT_FLOAT_EQ(panel.y, 0);
  EXPECT_FALSE(panel.visible);
  EXPECT_EQ(panel.ItemCount(), 0);
  EXPECT_EQ(panel.FindItem("a"), nullptr);
}

TEST_F(PanelTest, CreateItemSetsFlagsAndPosition) {
  TARNGUI panel;
  TARNGUI_ITEM* item = panel.CreateItem(3, 4, "Label7", false, false);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetName(), "Label7");
  EXPECT_FALSE(item->enabled);
  EXPECT_FALSE(item->visible);
  EXPECT_FLOAT_EQ(item->x, 3);
  EXPECT_FLOAT_EQ(item->y, 4);
  EXPECT_EQ(panel.GetItem(0), item);
}

TEST_F(PanelTest, AddItemTakesAnItemOnce) {
  TARNGUI panel;
  panel.AddItem(nullptr);
  EXPECT_EQ(panel.ItemCount(), 0);
  TARNGUI_ITEM* item = new TARNGUI_ITEM("a");
  panel.AddItem(item);
  panel.AddItem(item);  // owning it twice would free it twice
  EXPECT_EQ(panel.ItemCount(), 1);
  panel.AddItem(new TARNGUI_ITEM("a"));  // another item of the same name is welcome
  EXPECT_EQ(panel.ItemCount(), 2);
  EXPECT_EQ(panel.FindItem("a"), item);
}

TEST_F(PanelTest, FindItemIgnoresCaseAndFindsTheFirstOfEqualNames) {
  TARNGUI panel;
  TARNGUI_ITEM* first = panel.CreateItem(0, 0, "Button1", true, true);
  TARNGUI_ITEM* second = panel.CreateItem(0, 0, "BUTTON1", true, true);
  TARNGUI_ITEM* other = panel.CreateItem(0, 0, "Button2", true, true);
  struct Case {
    const char* name;
    TARNGUI_ITEM* found;
  } cases[] = {{"button1", first}, {"Button1", first},  {"bUTTON1", first},
               {"button2", other}, {"button", nullptr}, {"", nullptr}};
  for (const Case& c : cases) EXPECT_EQ(panel.FindItem(c.name), c.found) << c.name;

  panel.RemoveItem(first);
  EXPECT_EQ(panel.FindItem("button1"), second);
  panel.DeleteItem(0);
  EXPECT_EQ(panel.FindItem("button1"), nullptr);
  EXPECT_EQ(panel.FindItem("button2"), other);
}

TEST_F(PanelTest, DeleteAndRemoveIgnoreWhatIsNotThere) {
  TARNGUI panel, other;
  panel.CreateItem(0, 0, "a", true, true);
  TARNGUI_ITEM* b = panel.CreateItem(0, 0, "b", true, true);
  TARNGUI_ITEM* foreign = other.CreateItem(0, 0, "a", true, true);
  for (int bad : {-1, 2, 100}) panel.DeleteItem(bad);
  panel.RemoveItem(nullptr);
  panel.RemoveItem(foreign);
  EXPECT_EQ(panel.ItemCount(), 2);
  EXPECT_EQ(other.ItemCount(), 1);
  EXPECT_EQ(other.FindItem("a"), foreign);

  panel.DeleteItem(0);
  ASSERT_EQ(panel.ItemCount(), 1);
  EXPECT_EQ(panel.GetItem(0), b);
  EXPECT_EQ(panel.FindItem("a"), nullptr);
}

// The candidate labels come and go by the dozen every frame.
TEST_F(PanelTest, ManyLabelsStayFindableWhileOthersAreRemoved) {
  TARNGUI panel;
  std::vector<TARNGUI_ITEM*> labels;
  for (int i = 0; i < 45; ++i)
    labels.push_back(panel.CreateItem(0, 0, "label" + std::to_string(i), true, true));
  for (int i = 0; i < 45; i += 3) panel.RemoveItem(labels[i]);
  EXPECT_EQ(panel.ItemCount(), 30);
  for (int i = 0; i < 45; ++i) {
    TARNGUI_ITEM* found = panel.FindItem("LABEL" + std::to_string(i));
    EXPECT_EQ(found, i % 3 == 0 ? nullptr : labels[i]) << "label " << i;
  }
  for (int i = 0; i < 45; i += 3)
    panel.AddItem(labels[i] = new TARNGUI_ITEM("label" + std::to_string(i)));
  for (int i = 0; i < 45; ++i) EXPECT_EQ(panel.FindItem("label" + std::to_string(i)), labels[i]);
}

TEST_F(PanelTest, CreatePartOnlyForItsOwnItems) {
  TARNGUI panel, other;
  TARNGUI_ITEM* mine = panel.CreateItem(0, 0, "a", true, true);
  TARNGUI_ITEM* theirs = other.CreateItem(0, 0, "a", true, true);
  EXPECT_EQ(panel.CreatePart(theirs, 0, 0, "x", font, 0, 0, 0, 0), nullptr);
  EXPECT_EQ(theirs->PartCount(), 0);
  EXPECT_EQ(panel.CreatePart(nullptr, 0, 0, "x", font, 0, 0, 0, 0), nullptr);
  TARNGUI_PART* part = panel.CreatePart(mine, 1, 2, "xyz", font, 10, 5, 6, 7);
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(mine->GetPart(0), part);
  EXPECT_EQ(part->text, "xyz");
  EXPECT_EQ(part->align, 10);
  EXPECT_EQ(part->colorDisabled, 7u);
}

TEST_F(PanelTest, AHiddenPanelReportsNothingAndLeavesItsItemsAlone) {
  TARNGUI panel;
  panel.SetPosition(100, 200);
  TARNGUI_ITEM* item = AddButton(panel, "a", 0, 0);
  item->state = GUI_HOVER;
  std::string name = "stale";
  EXPECT_EQ(panel.HandleInput(KEY_LBUTTON, 500, 500, &name, 0), GUI_IDLE);
  EXPECT_EQ(name, "");
  EXPECT_EQ(item->state, GUI_HOVER);
  panel.Draw();
  EXPECT_TRUE(fake.quads.empty());
}

TEST_F(PanelTest, TheLastItemThatIsNotIdleIsReported) {
  TARNGUI panel;
  Show(panel);
  TARNGUI_ITEM* a = AddButton(panel, "a", 0, 0);
  TARNGUI_ITEM* b = AddButton(panel, "b", 10, 5);  // overlaps a
  TARNGUI_ITEM* c = AddButton(panel, "c", 0, 100);
  TARNGUI_ITEM* hidden = AddButton(panel, "hidden", 0, 0);
  hidden->visible = false;

  struct Frame {
    int key, mx, my;
    int result;
    const char* name;
    int a, b, c;
  } frames[] = {
      {0, 120, 210, GUI_ENTER, "b", GUI_ENTER, GUI_ENTER, GUI_IDLE},
      {0, 120, 210, GUI_HOVER, "b", GUI_HOVER, GUI_HOVER, GUI_IDLE},
      {0, 105, 203, GUI_LEAVE, "b", GUI_HOVER, GUI_LEAVE, GUI_IDLE},  // b comes after a
      {KEY_LBUTTON, 105, 203, GUI_CLICK, "a", GUI_CLICK, GUI_IDLE, GUI_IDLE},
      {0, 120, 305, GUI_ENTER, "c", GUI_LEAVE, GUI_IDLE, GUI_ENTER},
      {0, 120, 305, GUI_HOVER, "c", GUI_IDLE, GUI_IDLE, GUI_HOVER},
      {0, 500, 500, GUI_LEAVE, "c", GUI_IDLE, GUI_IDLE, GUI_LEAVE},
      {0, 500, 500, GUI_IDLE, "", GUI_IDLE, GUI_IDLE, GUI_IDLE},
  };
  for (size_t f = 0; f < std::size(frames); ++f) {
    SCOPED_TRACE(testing::Message() << "frame " << f);
    const Frame& fr = frames[f];
    std::string name = "stale";
    EXPECT_EQ(panel.HandleInput(fr.key, fr.mx, fr.my, &name, 0), fr.result);
    EXPECT_EQ(name, fr.name);
    EXPECT_EQ(a->state, fr.a);
    EXPECT_EQ(b->state, fr.b);
    EXPECT_EQ(c->state, fr.c);
    EXPECT_EQ(hidden->state, GUI_IDLE);  // never polled
  }
}

TEST_F(PanelTest, ALeavingItemIsReportedBeforeALaterIdleOne) {
  TARNGUI panel;
  Show(panel);
  TARNGUI_ITEM* a = AddButton(panel, "a", 0, 0);
  AddButton(panel, "b", 0, 100);
  a->state = GUI_HOVER;
  std::string name;
  EXPECT_EQ(panel.HandleInput(0, 500, 500, &name, 0), GUI_LEAVE);
  EXPECT_EQ(name, "a");
  EXPECT_EQ(panel.HandleInput(0, 500, 500, nullptr, 0), GUI_IDLE);  // no place for a name
}

TEST_F(PanelTest, DrawShowsVisibleItemsInOrderAtThePanelPosition) {
  TARNGUI panel;
  Show(panel);
  TARNGUI_ITEM* a = panel.CreateItem(0, 0, "a", true, true);
  panel.CreatePart(a, 0, 0, "a", font, 0, 0, 0, 0);
  TARNGUI_ITEM* b = panel.CreateItem(0, 0, "b", true, false);
  panel.CreatePart(b, 0, 0, "b", font, 0, 0, 0, 0);
  TARNGUI_ITEM* c = panel.CreateItem(5, 6, "c", true, true);
  panel.CreatePart(c, 0, 0, "c", font, 0, 0, 0, 0);
  panel.Draw();
  EXPECT_EQ(DrawnText(fake), "ac");
  std::vector<DrawnGlyph> glyphs = DrawnGlyphs(fake);
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_FLOAT_EQ(glyphs[0].x, 100);
  EXPECT_FLOAT_EQ(glyphs[0].y, 200);
  EXPECT_FLOAT_EQ(glyphs[1].x, 105);
  EXPECT_FLOAT_EQ(glyphs[1].y, 206);
}

TEST_F(PanelTest, BuildPanelStacksTheRowsOnWholePixels) {
  struct Case {
    const char* head;
    const char* texts[3];
    float rows[4];
  } cases[] = {
      // 15 px lines: 2 x 15, then 1.5 x 15 = 22.5 cut to whole pixels each time.
      {"SYSTEM", {"Clear", "Reset", "Find path (F=step)"}, {0, 30, 52, 74}},
      // A two-line head pushes the buttons down by one more line.
      {"SYS\nTEM", {"Clear", "Reset", "Ouit"}, {0, 45, 67, 89}},
      // A two-line button gives the next row one more line.
      {"SYSTEM", {"Clear\r\nall", "Reset", "Ouit"}, {0, 30, 67, 89}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.head);
    TARNGUI panel;
    ASSERT_TRUE(panel.BuildPanel(1040, 300, c.head, c.texts[0], c.texts[1], c.texts[2], font,
                                 0x80FFFFFF, 0xFFFFFFFF, 0xFF808080));
    EXPECT_FLOAT_EQ(panel.x, 1040);
    EXPECT_FLOAT_EQ(panel.y, 300);
    EXPECT_FALSE(panel.visible);
    ASSERT_EQ(panel.ItemCount(), 4);
    const char* names[] = {"Head", "Button1", "Button2", "Button3"};
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(names[i]);
      TARNGUI_ITEM* item = panel.GetItem(i);
      EXPECT_EQ(item->GetName(), names[i]);
      EXPECT_FLOAT_EQ(item->x, 0);
      EXPECT_FLOAT_EQ(item->y, c.rows[i]);
      ASSERT_EQ(item->PartCount(), 1);
      TARNGUI_PART* part = item->GetPart(0);
      EXPECT_EQ(part->text, i == 0 ? c.head : c.texts[i - 1]);
      EXPECT_EQ(part->align, TEXT_MIDDLE | TEXT_CENTER);
      EXPECT_FLOAT_EQ(part->x, 0);
      EXPECT_FLOAT_EQ(part->y, 0);
      EXPECT_EQ(item->enabled, i != 0);
      uint32_t expected[3] = {0x80FFFFFF, 0xFFFFFFFF, 0xFF808080};
      if (i == 0) expected[0] = expected[2] = 0xFFFFFFFF;
      EXPECT_EQ(part->colorNormal, expected[0]);
      EXPECT_EQ(part->colorHighlight, expected[1]);
      EXPECT_EQ(part->colorDisabled, expected[2]);
    }
  }
}

TEST_F(PanelTest, BuildPanelButtonsRespondWhereTheyAreDrawn) {
  TARNGUI panel;
  ASSERT_TRUE(panel.BuildPanel(1080, 100, "SYSTEM", "Clear", "Reset", "Ouit", font, 0x80FFFFFF,
                               0xFFFFFFFF, 0xFF808080));
  panel.visible = true;
  std::string name;
  // The head is disabled: hovering it says so, and never lights it up.
  EXPECT_EQ(panel.HandleInput(KEY_LBUTTON, 1080, 100, &name, 0), GUI_DISABLED_HOVER);
  EXPECT_EQ(name, "Head");
  EXPECT_FALSE(panel.FindItem("head")->GetPart(0)->highlighted);
  // "Reset" is 40 px wide, centred on x 1080, its line centred on 100 + 52.
  EXPECT_EQ(panel.HandleInput(KEY_LBUTTON, 1062, 150, &name, 0), GUI_CLICK);
  EXPECT_EQ(name, "Button2");

  panel.Draw();
  std::vector<DrawnGlyph> glyphs = DrawnGlyphs(fake);
  EXPECT_EQ(DrawnText(fake), "SYSTEMClearResetOuit");
  ASSERT_EQ(glyphs.size(), 20u);
  EXPECT_FLOAT_EQ(glyphs[0].x, 1080 - 24);  // "SYSTEM" is 48 px
  EXPECT_FLOAT_EQ(glyphs[0].y, 100 - 7);
  EXPECT_EQ(glyphs[0].colour, 0xFFFFFFFFu);  // the head's one colour
  EXPECT_EQ(glyphs[6].colour, 0x80FFFFFFu);  // "Clear", not under the pointer
  EXPECT_FLOAT_EQ(glyphs[11].y, 100 + 52 - 7);
  EXPECT_EQ(glyphs[11].colour, 0xFFFFFFFFu);  // "Reset", lit up
}

TEST_F(PanelTest, AnEmptyThirdButtonIsDisabledAndOnlyHitAfterWidening) {
  TARNGUI panel;
  ASSERT_TRUE(panel.BuildPanel(1080, 100, "SYSTEM", "Clear", "Reset", "", font, 0x80FFFFFF,
                               0xFFFFFFFF, 0xFF808080));
  panel.visible = true;
  ASSERT_EQ(panel.ItemCount(), 4);
  TARNGUI_ITEM* third = panel.FindItem("button3");
  ASSERT_NE(third, nullptr);
  EXPECT_FALSE(third->enabled);
  EXPECT_TRUE(panel.FindItem("button2")->enabled);

  fake.ClearDrawing();
  third->Draw(panel.x, panel.y);
  EXPECT_TRUE(fake.quads.empty());

  // Its anchor is (1080, 174); its line spans 174 +- 7.5.
  std::string name;
  EXPECT_EQ(panel.HandleInput(0, 1082, 174, &name, 0), GUI_IDLE);
  EXPECT_EQ(name, "");
  struct Case {
    int mx, my;
    int state;
  } cases[] = {{1082, 174, GUI_DISABLED_HOVER}, {1076, 180, GUI_DISABLED_HOVER},
               {1085, 174, GUI_IDLE},           {1075, 174, GUI_IDLE},
               {1080, 182, GUI_IDLE},           {1080, 167, GUI_DISABLED_HOVER}};
  for (const Case& c : cases) {
    EXPECT_EQ(panel.HandleInput(KEY_LBUTTON, c.mx, c.my, &name, 0), c.state)
        << c.mx << ", " << c.my;
    EXPECT_EQ(name, c.state == GUI_IDLE ? "" : "Button3");
  }
}

TEST_F(PanelTest, BuildPanelWithoutAFontAddsNothing) {
  TARNGUI panel;
  panel.SetPosition(7, 8);
  EXPECT_TRUE(panel.BuildPanel(1080, 100, "SYSTEM", "Clear", "Reset", "Ouit", nullptr, 0, 0, 0));
  EXPECT_EQ(panel.ItemCount(), 0);
  EXPECT_FLOAT_EQ(panel.x, 7);
  EXPECT_FLOAT_EQ(panel.y, 8);
}

TEST_F(PanelTest, ASecondBuildAppendsAndTheFirstItemsStayFound) {
  TARNGUI panel;
  ASSERT_TRUE(panel.BuildPanel(0, 0, "ONE", "a", "b", "c", font, 0, 0, 0));
  TARNGUI_ITEM* head = panel.FindItem("Head");
  ASSERT_TRUE(panel.BuildPanel(50, 60, "TWO", "d", "e", "f", font, 0, 0, 0));
  EXPECT_EQ(panel.ItemCount(), 8);
  EXPECT_EQ(panel.FindItem("Head"), head);
  EXPECT_EQ(panel.FindItem("Head")->GetPart(0)->text, "ONE");
  EXPECT_FLOAT_EQ(panel.x, 50);
}

}  // namespace
