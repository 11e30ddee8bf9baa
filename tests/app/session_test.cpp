// A whole session through the frame callbacks: a full map of houses, F held
// until the population settles, the lengths measured by the drawing feeding
// the ranking and the labels, the shortest tour shown alone, and Ouit.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/config.h"
#include "app/frame.h"
#include "app/program.h"
#include "tests/support/app_fixtures.h"

namespace {

class SessionTest : public AppTest {};

TEST_F(SessionTest, FullMapEvolvesMeasuresAndLabelsTheShortest) {
  houses.PlaceHouses(200, 7);
  ASSERT_EQ(HouseCount(), 200);
  fake.SetMouse(1100, 780);  // the side panel, between the labels and SYSTEM
  fake.Hold(KEY_F);
  Frames(60);
  fake.ReleaseKey(KEY_F);
  Frames(2);  // labels now show the lengths and best of the last drawing

  const std::vector<QPATHDATA*> candidates = Candidates();
  ASSERT_EQ(candidates.size(), 45u);
  EXPECT_EQ(LinesOfColour(TOUR_FAINT_COLOUR).size(), 45u * 200u);
  QPATHDATA* best = nullptr;
  float shortest = 1e30f;
  int bestCount = 0;
  for (QPATHDATA* c : candidates) {
    EXPECT_TRUE(IsPermutation(c->genes, 200)) << "candidate " << c->id;
    EXPECT_GT(c->length, 0.0f);
    shortest = std::min(shortest, c->length);
    if (c->best) {
      best = c;
      ++bestCount;
    }
  }
  ASSERT_EQ(bestCount, 1);
  EXPECT_EQ(best->length, shortest);
  EXPECT_GT(best->generation, 1);

  // One label per candidate, rows 16 px apart; only the best is cyan.
  ASSERT_EQ(CandidatePanel.ItemCount(), 45);
  int cyan = 0;
  float lowest = 0;
  for (int i = 0; i < CandidatePanel.ItemCount(); ++i) {
    TARNGUI_ITEM* label = CandidatePanel.GetItem(i);
    lowest = std::max(lowest, label->y);
    if (label->GetPart(0)->colorNormal == 0xA000FFFF) {
      ++cyan;
      EXPECT_EQ(label->GetName(), std::to_string(best->id));
    }
  }
  EXPECT_EQ(cyan, 1);
  EXPECT_FLOAT_EQ(lowest, 16 * 44);

  // Resting on the best label draws its tour alone, in cyan.
  const ScreenPoint spot = ItemCentre(CandidatePanel, std::to_string(best->id).c_str());
  fake.SetMouse(spot.x, spot.y);
  Frames(2);
  EXPECT_EQ(World.highlighted, best->object);
  EXPECT_EQ(LinesOfColour(TOUR_BEST_COLOUR).size(), 200u);
  EXPECT_EQ(LinesOfColour(TOUR_FAINT_COLOUR).size(), 0u);

  const ScreenPoint quit = ItemCentre(SystemPanel, "4");
  fake.SetMouse(quit.x, quit.y);
  Frame();
  EXPECT_TRUE(ClickAt(quit.x, quit.y));
}

}  // namespace
