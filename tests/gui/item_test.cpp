// TARNGUI_ITEM: parts list and bounds, the pointer state machine, text entry.
#include "gui/item.h"

#include <gtest/gtest.h>

#include "tests/support/gui_fixtures.h"

namespace {

class ItemTest : public GuiTest {
 protected:
  // An item at (20, 30) with "Clear" left/top aligned: bounds (20, 30, 60, 45).
  void SetUpButton(TARNGUI_ITEM& item) {
    ASSERT_NE(item.AddPart(0, 0, "Clear", font, 0, 0, 0, 0), nullptr);
    item.SetPosition(20, 30);
  }
  // An item whose only part is an editable field.
  TARNGUI_PART* SetUpField(TARNGUI_ITEM& item, const std::string& text) {
    TARNGUI_PART* part = item.AddPart(0, 0, text, font, 0, 0, 0, 0);
    part->editable = true;
    item.SetPosition(20, 30);
    return part;
  }
};

constexpr float W = TEST_GLYPH_WIDTH;
constexpr float H = TEST_FONT_HEIGHT;

void ExpectRect(const hgeRect& r, float x1, float y1, float x2, float y2) {
  EXPECT_FALSE(r.empty);
  EXPECT_FLOAT_EQ(r.x1, x1);
  EXPECT_FLOAT_EQ(r.y1, y1);
  EXPECT_FLOAT_EQ(r.x2, x2);
  EXPECT_FLOAT_EQ(r.y2, y2);
}

TEST_F(ItemTest, ConstructionGivesTheDefaults) {
  TARNGUI_ITEM item("Button1");
  EXPECT_EQ(item.GetName(), "Button1");
  EXPECT_TRUE(item.visible);
  EXPECT_TRUE(item.enabled);
  EXPECT_EQ(item.state, GUI_IDLE);
  EXPECT_TRUE(item.bounds.empty);
  EXPECT_EQ(item.PartCount(), 0);
}

TEST_F(ItemTest, BoundsEncloseEveryPartAndFollowThePosition) {
  TARNGUI_ITEM item("x");
  item.AddPart(0, 0, "abcd", font, TEXT_MIDDLE | TEXT_CENTER, 0, 0, 0);  // -16..16, -7.5..7.5
  ExpectRect(item.bounds, -2 * W, -H / 2, 2 * W, H / 2);
  item.AddPart(10, 20, "abcdef", font, 0, 0, 0, 0);  // 10..58, 20..35
  ExpectRect(item.bounds, -2 * W, -H / 2, 10 + 6 * W, 20 + H);
  item.SetPosition(100, 200);
  ExpectRect(item.bounds, 100 - 2 * W, 200 - H / 2, 110 + 6 * W, 220 + H);
  ExpectRect(item.ComputeBounds(), 100 - 2 * W, 200 - H / 2, 110 + 6 * W, 220 + H);

  // Deleting a part shrinks the box; bad indexes change nothing.
  for (int bad : {-1, 2, 99}) {
    item.DeletePart(bad);
    EXPECT_EQ(item.PartCount(), 2) << "index " << bad;
  }
  item.DeletePart(0);
  ASSERT_EQ(item.PartCount(), 1);
  EXPECT_EQ(item.GetPart(0)->text, "abcdef");
  ExpectRect(item.bounds, 110, 220, 110 + 6 * W, 220 + H);
  item.DeletePart(0);
  EXPECT_TRUE(item.bounds.empty);
}

TEST_F(ItemTest, AddPartWithoutFontKeepsThePartsDefaults) {
  TARNGUI_ITEM item("x");
  TARNGUI_PART* part = item.AddPart(5, 6, "text", nullptr, 10, 1, 2, 3);
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(item.PartCount(), 1);
  EXPECT_EQ(part->text, "");
  EXPECT_EQ(part->colorNormal, 0x80FFFFFFu);
  ExpectRect(item.bounds, 0, 0, 0, 0);
}

TEST_F(ItemTest, ClearResetsTheItemAndDropsItsParts) {
  TARNGUI_ITEM item("x");
  SetUpButton(item);
  item.visible = item.enabled = false;
  item.state = GUI_HOVER;
  item.Clear();
  EXPECT_FLOAT_EQ(item.x, 0);
  EXPECT_FLOAT_EQ(item.y, 0);
  EXPECT_TRUE(item.visible && item.enabled);
  EXPECT_EQ(item.state, GUI_IDLE);
  EXPECT_TRUE(item.bounds.empty);
  EXPECT_EQ(item.PartCount(), 0);
  EXPECT_EQ(item.GetName(), "x");
}

TEST_F(ItemTest, DrawDrawsEveryPartAtTheItemsScreenPosition) {
  TARNGUI_ITEM item("x");
  item.AddPart(0, 0, "ab", font, 0, 0xFF000001, 0xFF000002, 0xFF000003);
  item.AddPart(0, 20, "c", font, 0, 0xFF000001, 0xFF000002, 0xFF000003);
  item.SetPosition(10, 5);
  item.enabled = false;
  item.Draw(100, 200);
  std::vector<DrawnGlyph> glyphs = DrawnGlyphs(fake);
  ASSERT_EQ(glyphs.size(), 3u);
  EXPECT_EQ(DrawnText(fake), "abc");
  EXPECT_FLOAT_EQ(glyphs[0].x, 110);
  EXPECT_FLOAT_EQ(glyphs[0].y, 205);
  EXPECT_FLOAT_EQ(glyphs[2].y, 225);
  for (const DrawnGlyph& g : glyphs) EXPECT_EQ(g.colour, 0xFF000003u);
}

TEST_F(ItemTest, PointerStateTable) {
  const int states[] = {GUI_IDLE,  GUI_ENTER, GUI_HOVER,         GUI_CLICK,
                        GUI_LEAVE, GUI_EDIT,  GUI_DISABLED_HOVER};
  // Columns: hit with no button, hit with button 1, hit with button 2, no hit.
  const int expected[7][4] = {
      {GUI_ENTER, GUI_CLICK, GUI_CLICK, GUI_IDLE},  {GUI_HOVER, GUI_CLICK, GUI_CLICK, GUI_IDLE},
      {GUI_HOVER, GUI_CLICK, GUI_CLICK, GUI_LEAVE}, {GUI_HOVER, GUI_CLICK, GUI_CLICK, GUI_LEAVE},
      {GUI_HOVER, GUI_CLICK, GUI_CLICK, GUI_IDLE},  {GUI_HOVER, GUI_CLICK, GUI_CLICK, GUI_IDLE},
      {GUI_HOVER, GUI_CLICK, GUI_CLICK, GUI_IDLE},
  };
  struct Input {
    int key;
    float mx, my;
  } inputs[] = {{0, 40, 37}, {KEY_LBUTTON, 40, 37}, {KEY_RBUTTON, 40, 37}, {0, 5, 37}};
  for (int s = 0; s < 7; ++s) {
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(testing::Message() << "previous " << states[s] << " input " << i);
      TARNGUI_ITEM item("x");
      SetUpButton(item);
      item.state = states[s];
      bool hit = i < 3;
      // Highlights must be set on a hit and cleared otherwise.
      item.HighlightParts(!hit);
      EXPECT_EQ(item.HandleInput(inputs[i].key, inputs[i].mx, inputs[i].my, 0, 0, 0),
                expected[s][i]);
      EXPECT_EQ(item.state, expected[s][i]);
      EXPECT_EQ(item.GetPart(0)->highlighted, hit);
    }
  }
}

TEST_F(ItemTest, SequencesOfFrames) {
  struct Frame {
    bool over;
    int key;
  };
  struct Case {
    const char* what;
    std::vector<Frame> frames;
    std::vector<int> states;
  } cases[] = {
      {"enter, stay, click, move off",
       {{true, 0}, {true, 0}, {true, KEY_LBUTTON}, {true, 0}, {false, 0}, {false, 0}},
       {GUI_ENTER, GUI_HOVER, GUI_CLICK, GUI_HOVER, GUI_LEAVE, GUI_IDLE}},
      {"one frame over", {{true, 0}, {false, 0}}, {GUI_ENTER, GUI_IDLE}},
      {"click on arrival, then away", {{true, KEY_RBUTTON}, {false, 0}}, {GUI_CLICK, GUI_LEAVE}},
      {"a key other than a button", {{true, KEY_F}, {true, KEY_BACKSPACE}}, {GUI_ENTER, GUI_HOVER}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TARNGUI_ITEM item("x");
    SetUpButton(item);
    for (size_t f = 0; f < c.frames.size(); ++f) {
      float mx = c.frames[f].over ? 40 : 100;
      EXPECT_EQ(item.HandleInput(c.frames[f].key, mx, 37, 0, 0, 0), c.states[f]) << "frame " << f;
    }
  }
}

TEST_F(ItemTest, EdgesAreNotAHitAndTheOffsetMovesTheBox) {
  // Bounds (20, 30, 60, 45), polled with the panel at (100, 200).
  struct Case {
    float mx, my;
    bool hit;
  } cases[] = {
      {120, 237, false},  {160, 237, false},  {140, 230, false},  {140, 245, false},
      {120.5, 237, true}, {159.5, 237, true}, {140, 230.5, true}, {140, 244.5, true},
      {40, 37, false},  // where the item would be without the offset
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "at " << c.mx << ", " << c.my);
    TARNGUI_ITEM item("x");
    SetUpButton(item);
    EXPECT_EQ(item.HandleInput(0, c.mx, c.my, 100, 200, 0), c.hit ? GUI_ENTER : GUI_IDLE);
  }
}

TEST_F(ItemTest, AnEmptyCaptionIsWidenedFromTheSecondPoll) {
  TARNGUI_ITEM item("x");
  item.AddPart(0, 0, "", font, TEXT_MIDDLE | TEXT_CENTER, 0, 0, 0);
  item.SetPosition(50, 50);  // bounds (50, 42.5, 50, 57.5)
  EXPECT_EQ(item.HandleInput(0, 52, 50, 0, 0, 0), GUI_IDLE);
  ExpectRect(item.bounds, 45, 42.5, 55, 57.5);  // only the flat side grows
  EXPECT_EQ(item.HandleInput(0, 52, 50, 0, 0, 0), GUI_ENTER);
  EXPECT_EQ(item.HandleInput(0, 55, 50, 0, 0, 0), GUI_IDLE);  // the new edge
  EXPECT_EQ(item.HandleInput(0, 50, 58, 0, 0, 0), GUI_IDLE);
  ExpectRect(item.bounds, 45, 42.5, 55, 57.5);  // widened once only

  // Recomputing the bounds takes the widening back.
  item.SetPosition(50, 50);
  EXPECT_EQ(item.HandleInput(0, 52, 50, 0, 0, 0), GUI_IDLE);
  EXPECT_EQ(item.HandleInput(0, 52, 50, 0, 0, 0), GUI_ENTER);
}

TEST_F(ItemTest, AnItemWithoutPartsIsNeverHit) {
  TARNGUI_ITEM item("x");
  for (int frame = 0; frame < 3; ++frame)
    EXPECT_EQ(item.HandleInput(KEY_LBUTTON, 1, 1, 0, 0, 0), GUI_IDLE) << "frame " << frame;
}

TEST_F(ItemTest, ADisabledItemOnlyReportsThatThePointerIsOverIt) {
  TARNGUI_ITEM item("x");
  TARNGUI_PART* field = SetUpField(item, "ab");
  item.enabled = false;
  struct Case {
    int key;
    float mx;
    int state;
  } cases[] = {{0, 25, GUI_DISABLED_HOVER},
               {KEY_LBUTTON, 25, GUI_DISABLED_HOVER},
               {KEY_RBUTTON, 25, GUI_DISABLED_HOVER},
               {0, 100, GUI_IDLE},
               {KEY_LBUTTON, 100, GUI_IDLE}};
  for (const Case& c : cases) {
    EXPECT_EQ(item.HandleInput(c.key, c.mx, 37, 0, 0, 0), c.state) << "key " << c.key;
    EXPECT_FALSE(field->highlighted);
    EXPECT_FALSE(field->focused);
  }
  // Flags set before it was disabled stay, and typing does not reach it.
  field->highlighted = field->focused = true;
  EXPECT_EQ(item.HandleInput(KEY_BACKSPACE, 100, 37, 0, 0, 'c'), GUI_IDLE);
  EXPECT_TRUE(field->highlighted);
  EXPECT_TRUE(field->focused);
  EXPECT_EQ(field->text, "ab");
}

TEST_F(ItemTest, ClicksMoveTheFocusOfEditPartsOnly) {
  TARNGUI_ITEM item("x");
  TARNGUI_PART* field = SetUpField(item, "ab");
  TARNGUI_PART* caption = item.AddPart(0, 0, "label", font, 0, 0, 0, 0);

  item.HandleInput(0, 25, 37, 0, 0, 0);  // hovering gives no focus
  EXPECT_FALSE(field->focused);
  item.HandleInput(KEY_LBUTTON, 25, 37, 0, 0, 0);
  EXPECT_TRUE(field->focused);
  EXPECT_FALSE(caption->focused);
  item.HandleInput(0, 300, 37, 0, 0, 0);  // leaving keeps it
  EXPECT_TRUE(field->focused);
  item.HandleInput(KEY_RBUTTON, 300, 37, 0, 0, 0);  // a click elsewhere takes it
  EXPECT_FALSE(field->focused);

  // Typing now changes nothing.
  EXPECT_EQ(item.HandleInput(0, 300, 37, 0, 0, 'z'), GUI_IDLE);
  EXPECT_EQ(field->text, "ab");
}

TEST_F(ItemTest, TextEntry) {
  struct Case {
    const char* what;
    const char* text;
    int maxLength;
    const char* accepted;  // null: the default
    bool focused;
    int key, letter;
    const char* result;
    int state;
  } cases[] = {
      {"letter", "ab", 0, nullptr, true, 0, 'c', "abc", GUI_EDIT},
      {"high byte", "ab", 0, nullptr, true, 0, 0xE9, "ab\xE9", GUI_EDIT},
      {"room left", "ab", 3, nullptr, true, 0, 'c', "abc", GUI_EDIT},
      {"full", "abc", 3, nullptr, true, 0, 'd', "abc", GUI_IDLE},
      {"over full", "abcd", 3, nullptr, true, 0, 'd', "abcd", GUI_IDLE},
      {"backspace on full", "abc", 3, nullptr, true, KEY_BACKSPACE, 0, "ab", GUI_EDIT},
      {"backspace on empty", "", 0, nullptr, true, KEY_BACKSPACE, 0, "", GUI_EDIT},
      {"letter outranks backspace", "ab", 0, nullptr, true, KEY_BACKSPACE, 'c', "abc", GUI_EDIT},
      {"full and backspace", "abc", 3, nullptr, true, KEY_BACKSPACE, 'd', "abc", GUI_IDLE},
      {"no letter, other key", "ab", 0, nullptr, true, KEY_F, 0, "ab", GUI_IDLE},
      {"control letter", "ab", 0, nullptr, true, 0, 31, "ab", GUI_IDLE},
      {"letter beyond a byte", "ab", 0, nullptr, true, 0, 'c' + 256, "ab", GUI_IDLE},
      {"beyond a byte, backspace", "ab", 0, nullptr, true, KEY_BACKSPACE, 'c' + 256, "a", GUI_EDIT},
      {"not accepted", "12", 0, "0123456789", true, 0, 'x', "12", GUI_IDLE},
      {"not accepted, backspace", "12", 0, "0123456789", true, KEY_BACKSPACE, 'x', "1", GUI_EDIT},
      {"accepted digit", "12", 0, "0123456789", true, 0, '3', "123", GUI_EDIT},
      {"not focused", "ab", 0, nullptr, false, 0, 'c', "ab", GUI_IDLE},
      {"not focused, backspace", "ab", 0, nullptr, false, KEY_BACKSPACE, 0, "ab", GUI_IDLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TARNGUI_ITEM item("x");
    TARNGUI_PART* field = SetUpField(item, c.text);
    field->maxLength = c.maxLength;
    if (c.accepted) field->acceptedChars = c.accepted;
    field->focused = c.focused;
    // The pointer is away: typing reaches a focused field wherever it is.
    EXPECT_EQ(item.HandleInput(c.key, 500, 500, 0, 0, c.letter), c.state);
    EXPECT_EQ(field->text, c.result);
    // The field was measured again and the bounds follow it.
    float w = font->MeasureLine(field->text.c_str());
    EXPECT_FLOAT_EQ(field->width, w);
    ExpectRect(item.bounds, 20, 30, 20 + w, 30 + H);
  }
}

TEST_F(ItemTest, TypingReachesEveryFocusedFieldButNotImages) {
  TARNGUI_ITEM item("x");
  TARNGUI_PART* full = item.AddPart(0, 0, "x", font, 0, 0, 0, 0);
  TARNGUI_PART* open = item.AddPart(0, 20, "xy", font, 0, 0, 0, 0);
  TARNGUI_PART* image = item.AddPart(0, 40, "x", font, 0, 0, 0, 0);
  for (TARNGUI_PART* p : {full, open, image}) p->editable = p->focused = true;
  full->maxLength = 1;
  image->image = new hgeSprite(0, 0, 0, 4, 4);

  EXPECT_EQ(item.HandleInput(0, 500, 500, 0, 0, 'z'), GUI_EDIT);
  EXPECT_EQ(full->text, "x");
  EXPECT_EQ(open->text, "xyz");
  EXPECT_EQ(image->text, "x");
  EXPECT_FLOAT_EQ(item.bounds.x2, 3 * W);

  // A hit and a letter in one frame: the edit wins over the pointer state.
  EXPECT_EQ(item.HandleInput(0, 5, 25, 0, 0, 'q'), GUI_EDIT);
  EXPECT_EQ(open->text, "xyzq");
  EXPECT_EQ(item.HandleInput(0, 5, 25, 0, 0, 0), GUI_HOVER);
}

}  // namespace
