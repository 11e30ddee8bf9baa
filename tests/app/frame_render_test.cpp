// The render callback: tour drawing and measuring (the lengths the next
// evolution step ranks), the link labels, the help overlay and the credits.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "app/config.h"
#include "app/frame.h"
#include "app/program.h"
#include "tests/support/app_fixtures.h"

namespace {

class DrawToursTest : public AppTest {
 protected:
  // Gives a candidate the tour through the houses at these positions, in
  // this order (house index k is position k of the id-text ordered list).
  void SetTour(QPATHDATA* entry, const std::vector<std::pair<float, float>>& stops) {
    NamedList<TARN_OBJECT>* houses = MainScene->CollectObjectsToList("qbuilding", false, nullptr);
    ASSERT_EQ(houses->Count(), static_cast<int>(stops.size()));
    for (size_t j = 0; j < stops.size(); ++j) {
      int index = -1;
      for (int k = 0; k < houses->Count(); ++k)
        if (houses->Object(k)->x == stops[j].first && houses->Object(k)->y == stops[j].second)
          index = k;
      ASSERT_GE(index, 0);
      entry->genes.SetGene(static_cast<int>(j), index);
    }
    delete houses;
  }
  size_t TourLines() const {
    return LinesOfColour(TOUR_FAINT_COLOUR).size() + LinesOfColour(TOUR_BEST_COLOUR).size() +
           LinesOfColour(TOUR_HIGHLIGHT_COLOUR).size();
  }
  int BestCount() {
    int count = 0;
    for (QPATHDATA* c : Candidates()) count += c->best ? 1 : 0;
    return count;
  }
};

TEST_F(DrawToursTest, FewerThanTwoHousesDrawAndMeasureNothing) {
  for (int houses = 0; houses < 2; ++houses) {
    if (houses == 1) PlaceHouse(200, 200);
    std::vector<QPATHDATA*> candidates = Candidates();
    ASSERT_EQ(candidates.size(), 15u);
    for (size_t i = 0; i < candidates.size(); ++i) {
      candidates[i]->length = 10.0f + i;
      candidates[i]->best = i == 3;
    }
    fake.ClearDrawing();
    DrawTours();
    EXPECT_EQ(TourLines(), 0u) << houses << " houses";
    for (size_t i = 0; i < candidates.size(); ++i) {
      EXPECT_EQ(candidates[i]->length, 10.0f + i) << houses << " houses";
      EXPECT_EQ(candidates[i]->best, i == 3 ? 1 : 0) << houses << " houses";
    }
  }
}

TEST_F(DrawToursTest, TwoHousesGiveTwiceTheDistanceAndTheLaterTieWins) {
  PlaceHouse(100, 100);
  PlaceHouse(400, 500);
  fake.ClearDrawing();
  DrawTours();
  std::vector<QPATHDATA*> candidates = Candidates();
  ASSERT_EQ(candidates.size(), 15u);
  for (QPATHDATA* c : candidates) EXPECT_EQ(c->length, 1000.0f);
  // Every tour is there and back, in faint yellow.
  std::vector<FakeLine> lines = LinesOfColour(TOUR_FAINT_COLOUR);
  ASSERT_EQ(lines.size(), 30u);
  for (const FakeLine& l : lines) {
    EXPECT_FLOAT_EQ(std::hypot(l.x2 - l.x1, l.y2 - l.y1), 500.0f);
    EXPECT_EQ(l.z, 0.0f);
  }
  // All lengths are equal: the last candidate in result order is best.
  EXPECT_EQ(BestCount(), 1);
  EXPECT_EQ(candidates.back()->best, 1);
}

TEST_F(DrawToursTest, MarksTheUniqueShortest) {
  // Corners of a 300 x 400 rectangle: the perimeter is 1400, tours with a
  // diagonal pair 1600 or 1800.
  const std::pair<float, float> a{100, 100}, b{400, 100}, c{400, 500}, d{100, 500};
  for (auto p : {a, b, c, d}) PlaceHouse(p.first, p.second);
  std::vector<QPATHDATA*> candidates = Candidates();
  for (size_t i = 0; i < candidates.size(); ++i) {
    if (i == 5)
      SetTour(candidates[i], {a, b, c, d});
    else
      SetTour(candidates[i], i % 2 ? std::vector<std::pair<float, float>>{a, c, b, d}
                                   : std::vector<std::pair<float, float>>{a, b, d, c});
  }
  DrawTours();
  for (size_t i = 0; i < candidates.size(); ++i) {
    const float expected = i == 5 ? 1400.0f : (i % 2 ? 1800.0f : 1600.0f);
    EXPECT_EQ(candidates[i]->length, expected) << "candidate " << i;
  }
  EXPECT_EQ(BestCount(), 1);
  EXPECT_EQ(candidates[5]->best, 1);
}

TEST_F(DrawToursTest, HighlightedTourIsCyanOnlyWhenItWasAlreadyBest) {
  const std::pair<float, float> a{100, 100}, b{400, 100}, c{400, 500}, d{100, 500};
  for (auto p : {a, b, c, d}) PlaceHouse(p.first, p.second);
  std::vector<QPATHDATA*> candidates = Candidates();
  for (size_t i = 0; i < candidates.size(); ++i)
    SetTour(candidates[i], i == 2 ? std::vector<std::pair<float, float>>{a, b, c, d}
                                  : std::vector<std::pair<float, float>>{a, c, b, d});
  struct Case {
    size_t candidate;
    uint32_t firstColour, secondColour;
  } cases[] = {
      // The shortest is yellow the first time (best still cleared from the
      // reset), cyan once the previous drawing marked it.
      {2, TOUR_HIGHLIGHT_COLOUR, TOUR_BEST_COLOUR},
      {7, TOUR_HIGHLIGHT_COLOUR, TOUR_HIGHLIGHT_COLOUR},
  };
  for (const Case& k : cases) {
    for (QPATHDATA* e : candidates) e->best = 0;
    World.highlighted = candidates[k.candidate]->object;
    for (uint32_t colour : {k.firstColour, k.secondColour}) {
      fake.ClearDrawing();
      DrawTours();
      // Only the highlighted tour is drawn: its four segments.
      EXPECT_EQ(TourLines(), 4u) << "candidate " << k.candidate;
      EXPECT_EQ(LinesOfColour(colour).size(), 4u) << "candidate " << k.candidate;
    }
    // Every tour was measured all the same.
    EXPECT_EQ(candidates[0]->length, 1800.0f);
    EXPECT_EQ(candidates[2]->best, 1);
  }
}

TEST_F(DrawToursTest, LengthIsSummedInSinglePrecision) {
  // Three unit steps next to 2^24 each vanish in a float sum: 2^25 in
  // single precision, 33554436 if the sum were kept in double.
  const float far = 16777216.0f;
  const std::pair<float, float> a{0, 0}, b{far, 0}, c{far, 1}, d{far, 2}, e{far, 3};
  for (auto p : {a, b, c, d, e}) PlaceHouse(p.first, p.second);
  QPATHDATA* candidate = Candidates()[0];
  SetTour(candidate, {a, b, c, d, e});
  DrawTours();
  EXPECT_EQ(candidate->length, 33554432.0f);
}

TEST(PointDistance, SingleDifferencesDoubleRoot) {
  // The difference 1 - 1e8 rounds to -1e8 in single precision.
  EXPECT_EQ(PointDistance(1e8f, 0, 1, 0), 1e8);
  // The root is taken in double precision.
  EXPECT_EQ(PointDistance(0, 0, 1, 1), std::sqrt(2.0));
  EXPECT_EQ(PointDistance(10, 20, 13, 24), 5.0);
  EXPECT_EQ(PointDistance(3, 4, 3, 4), 0.0);
}

TEST_F(DrawToursTest, DrawLineNeedsAnEngine) {
  fake.ClearDrawing();
  DrawLine(nullptr, 0xFF123456, 1, 2, 3, 4, 0);
  EXPECT_TRUE(fake.lines.empty());
  DrawLine(Engine, 0xFF123456, 1, 2, 3, 4, 0.25f);
  ASSERT_EQ(fake.lines.size(), 1u);
  EXPECT_EQ(fake.lines[0].colour, 0xFF123456u);
  EXPECT_EQ(fake.lines[0].x2, 3.0f);
  EXPECT_EQ(fake.lines[0].z, 0.25f);
}

class FrameRenderTest : public AppTest {
 protected:
  static constexpr uint32_t WHITE = 0xFFFFFFFF;
  static constexpr uint32_t YELLOW = 0xFFFFFF00;
  static constexpr uint32_t GREY = 0xFFC0C0C0;
  uint32_t ColourOf(const std::string& text) {
    std::optional<DrawnGlyph> g = FindText(SmallFont, text);
    return g ? g->colour : 0;
  }
};

TEST_F(FrameRenderTest, DrawsTheFrameInOrder) {
  fake.SetMouse(300, 300);
  Frame();
  EXPECT_EQ(fake.beginSceneCount, 1);
  EXPECT_EQ(fake.endSceneCount, 1);
  ASSERT_EQ(fake.clears.size(), 1u);
  EXPECT_EQ(fake.clears[0], 0u);
  // The separator first, then the two underlines.
  ASSERT_EQ(fake.lines.size(), 3u);
  const FakeLine expected[] = {{960, 0, 960, 960, 0x80FFFFFF, 0},
                               {5, 958, 117, 958, WHITE, 0},
                               {865, 958, 955, 958, WHITE, 0}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(fake.lines[i].x1, expected[i].x1) << i;
    EXPECT_EQ(fake.lines[i].y1, expected[i].y1) << i;
    EXPECT_EQ(fake.lines[i].x2, expected[i].x2) << i;
    EXPECT_EQ(fake.lines[i].y2, expected[i].y2) << i;
    EXPECT_EQ(fake.lines[i].colour, expected[i].colour) << i;
  }
  // Labels: left-aligned at 5, right-aligned at 955, centred on 480.
  const std::string host = SiteHostLabel();
  EXPECT_EQ(host, "www.Pelmora.org");
  std::optional<DrawnGlyph> left = FindText(SmallFont, host);
  std::optional<DrawnGlyph> right = FindText(SmallFont, "HGE Relish Games");
  std::optional<DrawnGlyph> help = FindText(SmallFont, "Help & Credits");
  ASSERT_TRUE(left && right && help);
  EXPECT_EQ(left->x, 5);
  EXPECT_EQ(left->y, 945);
  EXPECT_EQ(right->x, 955 - 16 * 8);
  EXPECT_EQ(help->x, 480 - 14 * 8 / 2);
  // Panels are drawn: the SYSTEM head and a candidate label.
  EXPECT_TRUE(FindText(SmallFont, "SYSTEM"));
  EXPECT_TRUE(FindText(SmallFont, "QPath #0000 G=01 L=000000"));
  // The houses and the logo come from the scene: the logo's quad.
  bool logo = false;
  for (const hgeQuad& q : fake.quads)
    logo = logo || (q.v[0].x == 292 && q.v[0].y == 297 && q.v[2].x == 669 && q.v[2].y == 463);
  EXPECT_TRUE(logo);
}

TEST_F(FrameRenderTest, LabelsTurnYellowInsideTheirStrictAreas) {
  struct Case {
    float x, y;
    bool over;
    uint32_t left, right, help;
  } cases[] = {
      {60, 950, true, YELLOW, WHITE, WHITE},
      {60, 940, true, WHITE, WHITE, WHITE},  // the strip starts below 940
      {120, 950, true, WHITE, WHITE, WHITE},
      {119.5f, 941, true, YELLOW, WHITE, WHITE},
      {60, 950, false, WHITE, WHITE, WHITE},  // pointer outside the window
      {861, 950, true, WHITE, YELLOW, WHITE},
      {860, 950, true, WHITE, WHITE, WHITE},
      {959, 950, true, WHITE, YELLOW, WHITE},
      {441, 950, true, WHITE, WHITE, YELLOW},
      {440, 950, true, WHITE, WHITE, WHITE},
      {520, 950, true, WHITE, WHITE, WHITE},
      {480, 930, true, WHITE, WHITE, WHITE},
  };
  for (const Case& c : cases) {
    fake.SetMouse(c.x, c.y);
    fake.mouseOver = c.over;
    fake.ClearDrawing();
    FrameRender();
    EXPECT_EQ(ColourOf(SiteHostLabel()), c.left) << c.x << "," << c.y;
    EXPECT_EQ(ColourOf("HGE Relish Games"), c.right) << c.x << "," << c.y;
    EXPECT_EQ(ColourOf("Help & Credits"), c.help) << c.x << "," << c.y;
  }
}

TEST_F(FrameRenderTest, HelpAndCreditsOverlay) {
  const std::string creditsStart = "Thank you";
  // With the logo up the credits show in the logo's colour, without help.
  fake.SetMouse(300, 300);
  Frame();
  EXPECT_FALSE(FindText(BigFont, PROGRAM_NAME));
  ASSERT_TRUE(FindText(SmallFont, creditsStart));
  EXPECT_EQ(ColourOf(creditsStart), 0xFFFFFFFFu);
  MainScene->FindGraphics(SITE_NAME)->sprite->SetColor(0x7FFFFFFF, -1);
  fake.ClearDrawing();
  FrameRender();
  EXPECT_EQ(ColourOf(creditsStart), 0x7FFFFFFFu);

  // Hovering the help label: heading, help and credits in light grey.
  fake.SetMouse(480, 950);
  fake.ClearDrawing();
  FrameRender();
  std::optional<DrawnGlyph> heading = FindText(BigFont, PROGRAM_NAME);
  ASSERT_TRUE(heading);
  EXPECT_EQ(heading->colour, GREY);
  EXPECT_EQ(heading->y, 520);
  EXPECT_EQ(heading->x, 480 - 8 * 8 / 2);
  std::optional<DrawnGlyph> help = FindText(SmallFont, "(Travelling salesman problem)");
  ASSERT_TRUE(help);
  EXPECT_EQ(help->y, 548);
  EXPECT_EQ(help->colour, GREY);
  EXPECT_TRUE(FindText(SmallFont, "F - find path (step)."));
  std::optional<DrawnGlyph> credits = FindText(SmallFont, creditsStart);
  ASSERT_TRUE(credits);
  EXPECT_EQ(credits->colour, GREY);
  EXPECT_EQ(credits->y, 740);

  // Once the logo is gone the credits need the hover.
  LogoObject = nullptr;
  fake.SetMouse(300, 300);
  fake.ClearDrawing();
  FrameRender();
  EXPECT_FALSE(FindText(SmallFont, creditsStart));
  fake.SetMouse(480, 950);
  fake.ClearDrawing();
  FrameRender();
  EXPECT_EQ(ColourOf(creditsStart), GREY);
}

TEST(Credits, SixLinesWithOnePlaceholder) {
  const std::string& format = CreditsFormat();
  size_t placeholders = 0, percents = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    ++percents;
    if (format.compare(i, 2, "%s") == 0) ++placeholders;
  }
  EXPECT_EQ(placeholders, 1u);
  EXPECT_EQ(percents, 1u);
  std::vector<std::string> lines(1);
  for (char ch : CreditsText()) {
    if (ch == '\n')
      lines.emplace_back();
    else
      lines.back() += ch;
  }
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_TRUE(lines[1].empty());
  EXPECT_TRUE(lines[4].empty());
  EXPECT_NE(lines[2].find("HGE"), std::string::npos);
  EXPECT_NE(lines[2].find("Relish Games"), std::string::npos);
  EXPECT_NE(lines[3].find(SiteHostLabel()), std::string::npos);
  EXPECT_NE(lines[5].find(SITE_NAME), std::string::npos);
}

}  // namespace
