// End-to-end through quenpath-script: one scripted session of the real
// program (start, ten houses, three seconds of F, hovering labels, Clear,
// Ouit), and shorter runs for the house limit, the links, the logo fade,
// Ouit and the runner's own errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/config.h"
#include "tests/support/script_fixtures.h"

namespace {

using nlohmann::json;

// Label colours: the shortest candidate cyan, every other yellow.
constexpr char BEST_LABEL_COLOUR[] = "0xA000FFFF";
constexpr char OTHER_LABEL_COLOUR[] = "0x80FFFF00";
constexpr float LABEL_ROW = 16.0f;
constexpr int START_CANDIDATES = 15;
constexpr int GROWN_CANDIDATES = 45;
// The input hold-off after an accepted action, in frame units of 20 ms.
constexpr float HOLD_OFF = 0.35f / 0.02f;

// Ten houses well apart, clear of the link strip and of each other.
const std::vector<Point> TEN_HOUSES = {{120, 150}, {420, 90}, {800, 160}, {880, 520}, {650, 820},
                                       {300, 860}, {80, 560}, {260, 420}, {560, 400}, {700, 620}};

std::string ExpectedLabelText(const json& candidate) {
  char text[64];
  std::snprintf(text, sizeof text, "QPath #%04d G=%02d L=%06.0f", candidate["id"].get<int>(),
                candidate["generation"].get<int>(), candidate["length"].get<double>());
  return text;
}

bool IsPermutation(const json& genes, int n) {
  if (!genes.is_array() || static_cast<int>(genes.size()) != n) return false;
  std::vector<int> values = genes.get<std::vector<int>>();
  std::sort(values.begin(), values.end());
  for (int i = 0; i < n; ++i)
    if (values[i] != i) return false;
  return true;
}

// The undirected segments of a tour, to tell tours apart as drawn.
std::set<std::pair<std::pair<float, float>, std::pair<float, float>>> SegmentSet(
    const std::vector<Segment>& tour) {
  std::set<std::pair<std::pair<float, float>, std::pair<float, float>>> set;
  for (const Segment& s : tour) {
    auto a = std::make_pair(s.x1, s.y1), b = std::make_pair(s.x2, s.y2);
    set.insert(a < b ? std::make_pair(a, b) : std::make_pair(b, a));
  }
  return set;
}

// Labels follow the candidates: one per candidate, named by its id, on the
// row of its place in the scene's order, with its text and colours.
void ExpectLabelsMatch(const json& state) {
  const json& candidates = state["candidates"];
  const json& labels = state["labels"];
  ASSERT_EQ(labels.size(), candidates.size());
  for (size_t row = 0; row < candidates.size(); ++row) {
    const json& c = candidates[row];
    const json label = FindByName(labels, std::to_string(c["id"].get<int>()));
    ASSERT_TRUE(label.is_object()) << "no label for candidate " << c["id"];
    EXPECT_FLOAT_EQ(label["y"].get<float>(), LABEL_ROW * row) << label.dump();
    EXPECT_EQ(label["text"], ExpectedLabelText(c));
    EXPECT_EQ(label["color_normal"], c["best"].get<bool>() ? BEST_LABEL_COLOUR : OTHER_LABEL_COLOUR)
        << label.dump();
  }
}

// ---------------------------------------------------------------------------
// One session, run twice: the first run shows where the labels are, the
// second (same seed, so the same game) hovers them, clears and quits.

class Session : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    first = new ScriptSession();
    firstExit = first->Run(Prefix());
    if (firstExit != 0) return;
    const json evolved = first->Json("evolved.json");
    if (evolved.is_null()) return;
    // A candidate marked best and one that is not, with their labels.
    for (const json& c : evolved["candidates"]) {
      if (c["best"].get<bool>()) {
        if (best.is_null()) best = c;
      } else if (other.is_null()) {
        other = c;
      }
    }
    if (best.is_null() || other.is_null()) return;
    const json layout = first->Json("start.json");
    const json& system = layout["system_panel"]["items"];
    const Point bestLabel =
        ItemCentre(FindByName(evolved["labels"], std::to_string(best["id"].get<int>())));
    const Point otherLabel =
        ItemCentre(FindByName(evolved["labels"], std::to_string(other["id"].get<int>())));

    std::string rest;
    rest +=
        MoveTo(bestLabel.x, bestLabel.y) + "frames 3\ndump hover_best.json\nshot hover_best.png\n";
    rest += MoveTo(otherLabel.x, otherLabel.y) +
            "frames 3\ndump hover_other.json\nshot hover_other.png\n";
    rest += ClickItem(FindByName(system, "Button1")) + "frames 1\ndump clear.json\n";
    // Within the hold-off after Clear the map takes no house.
    rest += MoveTo(300, 300) + "down left\nframes 5\nup left\ndump clear_holdoff.json\n";
    rest += "frames 20\ndump after_clear.json\n";
    rest += ClickItem(FindByName(system, "4")) + "frames 1\nframes 5\ndump quit.json\n";
    second = new ScriptSession();
    secondExit = second->Run(Prefix() + rest);
  }

  static void TearDownTestSuite() {
    delete first;
    delete second;
    first = second = nullptr;
  }

  static std::string Prefix() {
    std::string s = "seed 7\nframes 1\ndump start.json\nshot start.png\n";
    for (const Point& p : TEN_HOUSES) s += AddHouseAt(p.x, p.y);
    s += "dump houses.json\n";
    s += "keydown f\nframes 150\nkeyup f\nframes 5\n";  // three seconds of F
    s += MoveTo(500, 700) + "frames 2\ndump evolved.json\nshot evolved.png\n";
    return s;
  }

  void SetUp() override {
    ASSERT_EQ(firstExit, 0) << first->Errors();
    ASSERT_FALSE(best.is_null()) << "no candidate was marked best";
    ASSERT_FALSE(other.is_null()) << "every candidate was marked best";
    ASSERT_EQ(secondExit, 0) << second->Errors();
  }

  static inline ScriptSession* first = nullptr;
  static inline ScriptSession* second = nullptr;
  static inline int firstExit = -1, secondExit = -1;
  static inline json best, other;
};

TEST_F(Session, StartShowsTheLogoFifteenEmptyCandidatesAndNoTour) {
  const json s = first->Json("start.json");
  EXPECT_EQ(s["frame"], 1);
  EXPECT_EQ(s["logo_alpha"], 255);
  EXPECT_EQ(s["logo_x"], 480.0);
  EXPECT_EQ(s["logo_y"], 380.0);
  EXPECT_TRUE(s["houses"].empty());
  ASSERT_EQ(s["candidates"].size(), static_cast<size_t>(START_CANDIDATES));
  for (const json& c : s["candidates"]) EXPECT_TRUE(c["genes"].empty()) << c.dump();
  ExpectLabelsMatch(s);
  EXPECT_EQ(s["candidate_panel"]["x"], 965.0);
  EXPECT_EQ(s["candidate_panel"]["y"], 5.0);
  EXPECT_FALSE(s["quit"].get<bool>());

  const Shot shot = first->Picture("start.png");
  ASSERT_EQ(shot.width, 1200);
  ASSERT_EQ(shot.height, 960);
  // No tour line anywhere on the map but under the logo and the credits.
  int linePixels = 0;
  for (int y = 0; y < 940; ++y)
    for (int x = 0; x < 960; ++x) {
      const bool logo = x >= 292 && x < 669 && y >= 297 && y < 464;
      const bool credits = y >= 735 && y < 830;
      if (!logo && !credits) linePixels += ClassifyLinePixel(shot.At(x, y)) != LineKind::None;
    }
  EXPECT_EQ(linePixels, 0);
  // The logo is drawn around its centre; the separator at x = 960.
  int logoPixels = 0;
  for (int y = 300; y < 460; ++y)
    for (int x = 300; x < 660; ++x) logoPixels += shot.At(x, y) != 0xFF000000u;
  EXPECT_GT(logoPixels, 1000);
  EXPECT_NE(shot.At(960, 100), 0xFF000000u);
}

TEST_F(Session, TenHousesGiveFifteenPermutationsLabelledInSceneOrder) {
  const json s = first->Json("houses.json");
  ASSERT_EQ(s["houses"].size(), TEN_HOUSES.size());
  std::set<std::pair<float, float>> placed, expected;
  for (const json& h : s["houses"]) placed.insert({h["x"].get<float>(), h["y"].get<float>()});
  for (const Point& p : TEN_HOUSES) expected.insert({p.x, p.y});
  EXPECT_EQ(placed, expected);
  EXPECT_EQ(s["logo_alpha"], nullptr) << "the first click fades the logo out fast";

  ASSERT_EQ(s["candidates"].size(), static_cast<size_t>(START_CANDIDATES));
  std::set<int> ids;
  for (const json& c : s["candidates"]) {
    EXPECT_TRUE(IsPermutation(c["genes"], 10)) << c.dump();
    EXPECT_EQ(c["generation"], 1);
    ids.insert(c["id"].get<int>());
  }
  EXPECT_EQ(ids.size(), static_cast<size_t>(START_CANDIDATES));
  EXPECT_EQ(*ids.begin(), 0);
  EXPECT_EQ(*ids.rbegin(), START_CANDIDATES - 1);
  ExpectLabelsMatch(s);
}

TEST_F(Session, HoldingFGrowsAndEvolvesThePopulationWithOneBest) {
  const json s = first->Json("evolved.json");
  ASSERT_EQ(s["candidates"].size(), static_cast<size_t>(GROWN_CANDIDATES));
  int bestCount = 0, evolved = 0;
  float shortest = 1e30f;
  for (const json& c : s["candidates"]) {
    EXPECT_TRUE(IsPermutation(c["genes"], 10)) << c.dump();
    bestCount += c["best"].get<bool>();
    evolved += c["generation"].get<int>() > 1;
    shortest = std::min(shortest, c["length"].get<float>());
  }
  EXPECT_EQ(bestCount, 1);
  EXPECT_GT(evolved, 0);
  EXPECT_FLOAT_EQ(best["length"].get<float>(), shortest);
  ExpectLabelsMatch(s);

  // Every tour is drawn faintly; none is highlighted.
  const Shot shot = first->Picture("evolved.png");
  const LineCount lines = CountLines(shot, s["houses"]);
  EXPECT_GT(lines.faint + lines.yellow, 1000);
  EXPECT_EQ(lines.cyan, 0);
  EXPECT_EQ(s["highlighted"], nullptr);
}

TEST_F(Session, TheSameSeedReplaysTheSameGame) {
  for (const char* name : {"start.json", "houses.json", "evolved.json"})
    EXPECT_EQ(first->Json(name), second->Json(name)) << name;
}

TEST_F(Session, HoveringALabelDrawsOnlyThatTour) {
  const json plain = first->Json("evolved.json");
  const Shot plainShot = first->Picture("evolved.png");
  struct Case {
    const char* dump;
    const char* shot;
    const json* candidate;
    LineKind colour;
  } cases[] = {{"hover_best.json", "hover_best.png", &best, LineKind::Cyan},
               {"hover_other.json", "hover_other.png", &other, LineKind::Yellow}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dump);
    const json s = second->Json(c.dump);
    EXPECT_EQ(s["highlighted"], (*c.candidate)["id"]);
    const std::vector<Segment> tour = TourSegments(*c.candidate, s["houses"]);
    const LineCount lines = CountLines(second->Picture(c.shot), s["houses"], tour);
    EXPECT_EQ(lines.faint, 0) << "other tours are still drawn";
    EXPECT_EQ(lines.offTour, 0) << "line pixels away from the hovered tour";
    EXPECT_EQ(c.colour == LineKind::Cyan ? lines.yellow : lines.cyan, 0) << "wrong colour";
    EXPECT_GT(TourCoverage(second->Picture(c.shot), s["houses"], tour, c.colour), 0.95);

    // Without hovering, tours that differ from this one show up as well.
    bool othersDiffer = false;
    for (const json& any : plain["candidates"])
      othersDiffer |= SegmentSet(TourSegments(any, plain["houses"])) != SegmentSet(tour);
    if (othersDiffer) {
      EXPECT_GT(CountLines(plainShot, plain["houses"], tour).offTour, 0);
    }
  }
}

TEST_F(Session, ClearEmptiesTheMapAndHoldsInputOff) {
  const json s = second->Json("clear.json");
  EXPECT_TRUE(s["houses"].empty());
  EXPECT_EQ(s["scene_objects"], START_CANDIDATES) << "only the fresh candidates' objects remain";
  EXPECT_EQ(s["world_entries"], START_CANDIDATES);
  ASSERT_EQ(s["candidates"].size(), static_cast<size_t>(START_CANDIDATES));
  std::set<int> ids;
  for (const json& c : s["candidates"]) {
    ids.insert(c["id"].get<int>());
    EXPECT_EQ(c["generation"], 1);
    EXPECT_EQ(c["length"], 0.0);
    EXPECT_FALSE(c["best"].get<bool>());
  }
  EXPECT_EQ(ids.size(), static_cast<size_t>(START_CANDIDATES));
  EXPECT_EQ(*ids.rbegin(), START_CANDIDATES - 1) << "fresh candidates are numbered from 0";
  EXPECT_EQ(s["logo_alpha"], nullptr);
  EXPECT_FLOAT_EQ(s["next_input_time"].get<float>(), HOLD_OFF);
  EXPECT_FLOAT_EQ(s["frame_clock"].get<float>(), 1.0f);

  const json held = second->Json("clear_holdoff.json");
  EXPECT_TRUE(held["houses"].empty()) << "a click within the hold-off placed a house";

  const json later = second->Json("after_clear.json");
  EXPECT_TRUE(later["houses"].empty());
  ASSERT_EQ(later["labels"].size(), static_cast<size_t>(START_CANDIDATES));
  ExpectLabelsMatch(later);
}

TEST_F(Session, OuitEndsTheRunWithExitCodeZero) {
  const json s = second->Json("quit.json");
  EXPECT_TRUE(s["quit"].get<bool>());
  const json before = second->Json("after_clear.json");
  // The frame of the click ran (after one to reach the button); the frames
  // asked for after it did not.
  EXPECT_EQ(s["frame"].get<int>(), before["frame"].get<int>() + 2);
  EXPECT_NE(second->Errors().find("Ouit"), std::string::npos) << second->Errors();
  EXPECT_TRUE(s["message_boxes"].empty());
  EXPECT_TRUE(s["started"].empty());
}

// ---------------------------------------------------------------------------
// Shorter runs.

TEST(ScriptRun, TheHouseLimitShowsItsMessageOncePerAttempt) {
  ScriptSession run;
  // 0.4 s frames: every frame outlasts the hold-off, one house per frame.
  std::string s = "frames 1\ndelta 0.4\ndown left\n";
  std::vector<Point> grid;
  for (int row = 0; row < 14; ++row)
    for (int col = 0; col < 15; ++col) grid.push_back({40.0f + 60 * col, 40.0f + 60 * row});
  for (int i = 0; i < MAX_BUILDINGS; ++i) s += MoveTo(grid[i].x, grid[i].y) + "frames 1\n";
  s += "dump full.json\n";
  // Two attempts more; the box takes the button, so press it again.
  s += MoveTo(grid[200].x, grid[200].y) + "frames 1\nframes 2\n";
  s += "down left\n" + MoveTo(grid[201].x, grid[201].y) + "frames 1\nup left\nframes 2\n";
  s += "dump limit.json\n";
  ASSERT_EQ(run.Run(s), 0) << run.Errors();

  const json full = run.Json("full.json");
  EXPECT_EQ(full["houses"].size(), static_cast<size_t>(MAX_BUILDINGS));
  EXPECT_TRUE(full["message_boxes"].empty());
  const json limit = run.Json("limit.json");
  EXPECT_EQ(limit["houses"].size(), static_cast<size_t>(MAX_BUILDINGS));
  const json& boxes = limit["message_boxes"];
  ASSERT_EQ(boxes.size(), 2u) << boxes.dump();
  for (const json& box : boxes) {
    EXPECT_EQ(box["text"], "Maximum number of buildings.");
    EXPECT_EQ(box["caption"], PROGRAM_NAME);
    EXPECT_EQ(box["flags"], 0x10);
  }
  EXPECT_EQ(boxes[0]["frame"], full["frame"]);
  EXPECT_EQ(boxes[1]["frame"].get<int>(), full["frame"].get<int>() + 3);
}

TEST(ScriptRun, LinksOpenTheirPagesWithoutPlacingHouses) {
  ScriptSession run;
  constexpr int HELD = 40;
  std::string s = "frames 1\n" + MoveTo(60, 950) + "down left\nframes " + std::to_string(HELD) +
                  "\nup left\nframes 20\n";
  s += MoveTo(910, 950) + "down left\nframes 1\nup left\nframes 1\ndump links.json\n";
  ASSERT_EQ(run.Run(s), 0) << run.Errors();
  const json state = run.Json("links.json");
  EXPECT_TRUE(state["houses"].empty()) << "a press on a link placed a house";

  const json& started = state["started"];
  ASSERT_GE(started.size(), 2u) << started.dump();
  std::vector<int> leftFrames;
  for (size_t i = 0; i + 1 < started.size(); ++i) {
    EXPECT_EQ(started[i]["command"], std::string("Explorer ") + SITE_URL);
    leftFrames.push_back(started[i]["frame"].get<int>());
  }
  EXPECT_EQ(started.back()["command"], std::string("Explorer ") + ENGINE_SITE_URL);
  // Held on the link, the page opens again each time the hold-off ran out:
  // 17.5 frame units, so every 18th frame of 20 ms.
  const int interval = static_cast<int>(HOLD_OFF) + 1;
  EXPECT_EQ(static_cast<int>(leftFrames.size()), (HELD - 1) / interval + 1);
  for (size_t i = 1; i < leftFrames.size(); ++i)
    EXPECT_EQ(leftFrames[i] - leftFrames[i - 1], interval);
}

TEST(ScriptRun, TheLogoWaitsFourSecondsThenFadesOneLevelPerFrame) {
  ScriptSession run;
  const std::string s =
      "frames 201\ndump opaque.json\nshot opaque.png\nframes 1\ndump fading.json\n"
      "frames 244\ndump late.json\nframes 20\ndump gone.json\nshot gone.png\n";
  ASSERT_EQ(run.Run(s), 0) << run.Errors();
  EXPECT_EQ(run.Json("opaque.json")["logo_alpha"], 255);
  EXPECT_EQ(run.Json("fading.json")["logo_alpha"], 254);
  const json late = run.Json("late.json");
  ASSERT_TRUE(late["logo_alpha"].is_number()) << "gone too early, at frame " << late["frame"];
  EXPECT_GT(late["logo_alpha"].get<int>(), 0);
  EXPECT_EQ(run.Json("gone.json")["logo_alpha"], nullptr);

  auto logoPixels = [](const Shot& shot) {
    int n = 0;
    for (int y = 297; y < 464; ++y)
      for (int x = 292; x < 669; ++x) n += shot.At(x, y) != 0xFF000000u;
    return n;
  };
  EXPECT_GT(logoPixels(run.Picture("opaque.png")), 1000);
  EXPECT_EQ(logoPixels(run.Picture("gone.png")), 0);
}

TEST(ScriptRun, AKeyMakesTheLogoVanishWithinTenFrames) {
  ScriptSession run;
  ASSERT_EQ(run.Run("frames 20\nkeydown a\nkeyup a\nframes 1\ndump pressed.json\n"
                    "frames 10\ndump vanished.json\n"),
            0)
      << run.Errors();
  EXPECT_EQ(run.Json("pressed.json")["logo_alpha"], 255);
  const json after = run.Json("vanished.json");
  EXPECT_TRUE(after["logo_alpha"].is_null() || after["logo_alpha"] == 0) << after["logo_alpha"];
}

TEST(ScriptRun, OuitTakesOnlyALeftClickOutsideTheHoldOff) {
  ScriptSession layoutRun;
  ASSERT_EQ(layoutRun.Run("frames 1\ndump layout.json\n"), 0) << layoutRun.Errors();
  const json items = layoutRun.Json("layout.json")["system_panel"]["items"];
  const json ouitItem = FindByName(items, "4");
  const Point ouit = ItemCentre(ouitItem);
  // Where the SYSTEM panel puts Ouit: centred on x 1080, row 100 below 840.
  EXPECT_NEAR(ouit.x, 1080.0f, 1.0f);
  EXPECT_NEAR(ouit.y, 940.0f, 1.0f);

  ScriptSession run;
  std::string s =
      "frames 1\n" + MoveTo(ouit.x, ouit.y) + "click right\nframes 1\ndump right.json\n";
  s += ClickItem(FindByName(items, "Button2")) + "frames 5\n";  // Reset takes the hold-off
  s += ClickItem(ouitItem) + "frames 1\ndump early.json\nframes 20\n";
  s += "click left\nframes 1\ndump quit.json\n";
  ASSERT_EQ(run.Run(s), 0) << run.Errors();
  EXPECT_FALSE(run.Json("right.json")["quit"].get<bool>());
  EXPECT_FALSE(run.Json("early.json")["quit"].get<bool>());
  const json quit = run.Json("quit.json");
  EXPECT_TRUE(quit["quit"].get<bool>());
  // Each ClickItem lets one frame pass before its click.
  EXPECT_EQ(quit["frame"], 1 + 1 + (1 + 5) + (1 + 1) + 20 + 1);
}

TEST(ScriptRun, BadScriptsStopWithTheLineNumberAndExitCodeTwo) {
  const struct {
    const char* script;
    const char* where;
  } cases[] = {
      {"frames 1\nfly away\n", "line 2"},
      {"# setup\nseed 3\nframes 1\nseed 4\n", "line 4"},
      {"move 10\n", "line 1"},
      {"frames 1\n\n\nframes nan\n", "line 4"},
  };
  for (const auto& c : cases) {
    ScriptSession run;
    EXPECT_EQ(run.Run(std::string(c.script) + "dump never.json\n"), 2) << c.script;
    EXPECT_NE(run.Errors().find(c.where), std::string::npos) << run.Errors();
    EXPECT_FALSE(std::filesystem::exists(run.File("never.json"))) << "a bad script still ran";
  }
}

TEST(ScriptRun, OutputThatCannotBeWrittenFailsTheRunAtItsLine) {
  const struct {
    const char* script;
    const char* says;
  } cases[] = {
      {"shot early.png\nframes 1\n", "line 1: no frame has been rendered"},
      {"frames 1\n\ndump no-such-dir/state.json\nframes 1\n", "line 3: cannot write"},
      {"frames 1\nshot no-such-dir/frame.png\n", "line 2: cannot write"},
  };
  for (const auto& c : cases) {
    ScriptSession run;
    EXPECT_EQ(run.Run(std::string(c.script) + "dump after.json\n"), 1) << c.script;
    EXPECT_NE(run.Errors().find(c.says), std::string::npos) << run.Errors();
    EXPECT_FALSE(std::filesystem::exists(run.File("after.json"))) << "the run went on";
  }
}

TEST(ScriptRun, ReadsTheScriptFromStandardInput) {
  ScriptSession run;
  ASSERT_EQ(run.Run("frames 3\ndump in.json\n", true), 0) << run.Errors();
  EXPECT_EQ(run.Json("in.json")["frame"], 3);
}

TEST(ScriptRun, AnotherSeedDrawsOtherTours) {
  std::string houses;
  for (const Point& p : TEN_HOUSES) houses += AddHouseAt(p.x, p.y);
  json genes[2];
  for (int seed : {1, 2}) {
    ScriptSession run;
    ASSERT_EQ(run.Run("seed " + std::to_string(seed) + "\n" + houses + "dump h.json\n"), 0)
        << run.Errors();
    const json state = run.Json("h.json");
    json& g = genes[seed - 1] = json::array();
    for (const json& c : state["candidates"]) g.push_back(c["genes"]);
  }
  EXPECT_EQ(genes[0].size(), static_cast<size_t>(START_CANDIDATES));
  EXPECT_NE(genes[0], genes[1]);
}

TEST(ScriptRun, AProgramThatCannotLoadItsGraphicsFailsTheRun) {
  ScriptSession run;
  // A copy of the runner with no Graphics.paq beside it.
  const std::string copy = run.File("quenpath-script");
  std::filesystem::copy_file(RunnerPath(), copy);
  EXPECT_EQ(run.RunWith(copy, "frames 5\ndump never.json\n"), 1);
  EXPECT_NE(run.Errors().find("Can't load graphics."), std::string::npos) << run.Errors();
  EXPECT_FALSE(std::filesystem::exists(run.File("never.json")));
}

}  // namespace
