// The candidates' labels in CandidatePanel: text, colours, rows, removal.
#include "solver/labels.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/config.h"
#include "solver/world.h"
#include "tests/support/font_fixtures.h"
#include "tests/support/world_test.h"

namespace {

TARNGUI_ITEM* LabelOf(const QPATHDATA* entry) {
  return CandidatePanel.FindItem(std::to_string(entry->id));
}

std::set<std::string> LabelNames() {
  std::set<std::string> names;
  for (int i = 0; i < CandidatePanel.ItemCount(); ++i)
    names.insert(CandidatePanel.GetItem(i)->GetName());
  return names;
}

// Refreshes every label as the frame update does (pointer off the map).
void RefreshLabels() {
  EditBuildings(&World, 2000, 2000);
}

TEST(LabelText, FieldsHaveMinimumWidths) {
  struct Case {
    int id, generation;
    float length;
    const char* text;
  } cases[] = {
      {7, 3, 1234.6f, "QPath #0007 G=03 L=001235"},
      {12345, 100, 0.0f, "QPath #12345 G=100 L=000000"},
      {0, 1, 999999.4f, "QPath #0000 G=01 L=999999"},
      {44, 12, 1234567.0f, "QPath #0044 G=12 L=1234567"},
  };
  for (const Case& c : cases) {
    QPATHDATA entry;
    std::snprintf(entry.kind, sizeof entry.kind, "QPath");
    entry.id = c.id;
    entry.generation = c.generation;
    entry.length = c.length;
    EXPECT_EQ(FormatPathLabel(entry), c.text);
  }
}

TEST_F(WorldTest, TheShortestCandidateIsCyanAndTheOthersYellow) {
  CreatePaths(&World);
  scenario.PlaceHouses(12, 4);
  scenario.MeasureLengths();
  RefreshLabels();
  int cyan = 0;
  for (QPATHDATA* c : scenario.Candidates()) {
    TARNGUI_ITEM* item = LabelOf(c);
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(item->PartCount(), 1);
    const TARNGUI_PART* part = item->GetPart(0);
    EXPECT_TRUE(item->enabled);
    EXPECT_EQ(part->text, FormatPathLabel(*c));
    EXPECT_EQ(part->font, SmallFont);
    EXPECT_EQ(part->align, TEXT_MIDDLE);
    EXPECT_EQ(part->colorNormal, c->best ? 0xA000FFFFu : 0x80FFFF00u);
    EXPECT_EQ(part->colorHighlight, c->best ? 0xFF00FFFFu : 0xFFFFFF00u);
    EXPECT_EQ(part->colorDisabled, 0xFF808080u);
    EXPECT_FLOAT_EQ(part->width, TEST_GLYPH_WIDTH * part->text.size()) << "measured";
    cyan += c->best ? 1 : 0;
  }
  EXPECT_EQ(cyan, 1);

  // The best moves: the colours follow on the next refresh.
  QPATHDATA* old = nullptr;
  for (QPATHDATA* c : scenario.Candidates())
    if (c->best) old = c;
  QPATHDATA* other = scenario.Candidates()[old == scenario.Candidates()[0] ? 1 : 0];
  old->best = 0;
  other->best = 1;
  // A wider text is measured again.
  other->generation = 100;
  RefreshLabels();
  EXPECT_EQ(LabelOf(old)->GetPart(0)->colorNormal, 0x80FFFF00u);
  const TARNGUI_PART* part = LabelOf(other)->GetPart(0);
  EXPECT_EQ(part->colorNormal, 0xA000FFFFu);
  EXPECT_EQ(part->text, FormatPathLabel(*other));
  EXPECT_FLOAT_EQ(part->width, TEST_GLYPH_WIDTH * part->text.size());
}

TEST_F(WorldTest, RowsFollowTheSceneOrderSixteenPixelsApart) {
  CreatePaths(&World);
  scenario.PlaceHouses(25, 9);
  ASSERT_EQ(scenario.GrowPopulation(), FULL_POPULATION);
  RefreshLabels();
  std::vector<QPATHDATA*> candidates = scenario.Candidates();
  ASSERT_EQ(CandidatePanel.ItemCount(), FULL_POPULATION);
  for (size_t row = 0; row < candidates.size(); ++row) {
    TARNGUI_ITEM* item = LabelOf(candidates[row]);
    ASSERT_NE(item, nullptr);
    EXPECT_FLOAT_EQ(item->x, 0.0f);
    EXPECT_FLOAT_EQ(item->y, 16.0f * row);
  }
  EXPECT_FLOAT_EQ(LabelOf(candidates.back())->y, 704.0f);
}

TEST_F(WorldTest, RemovingALabelThatNeverExistedChangesNothing) {
  CreatePaths(&World);
  RefreshLabels();
  std::set<std::string> before = LabelNames();
  ASSERT_EQ(before.size(), static_cast<size_t>(START_PATHS));
  QPATHDATA stranger;
  stranger.id = 999;
  UpdatePathLabel(&stranger, -1);
  UpdatePathLabel(nullptr, -1);
  UpdatePathLabel(nullptr, 3);
  EXPECT_EQ(LabelNames(), before);

  QPATHDATA* first = scenario.Candidates()[0];
  UpdatePathLabel(first, -1);
  EXPECT_EQ(LabelOf(first), nullptr);
  EXPECT_EQ(CandidatePanel.ItemCount(), START_PATHS - 1);
}

TEST_F(WorldTest, AfterAResetNoLabelOfAnOldNumberRemains) {
  CreatePaths(&World);
  scenario.PlaceHouses(20, 2);
  ASSERT_EQ(scenario.GrowPopulation(), FULL_POPULATION);
  RefreshLabels();
  std::set<std::string> grown = LabelNames();
  ASSERT_EQ(grown.size(), static_cast<size_t>(FULL_POPULATION));
  ASSERT_GT(World.pathCount, FULL_POPULATION) << "children carry numbers above 44";

  scenario.AddHouse(5, 5);
  EXPECT_EQ(CandidatePanel.ItemCount(), 0) << "the reset takes every old label";
  RefreshLabels();
  std::set<std::string> expected;
  for (int id = 0; id < FULL_POPULATION; ++id) expected.insert(std::to_string(id));
  EXPECT_EQ(LabelNames(), expected);
}

}  // namespace
