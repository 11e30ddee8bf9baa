// The long random soak: the whole program on the fake engine, fed seeded,
// reproducible random input (house editing biased toward adding, the house
// limit, F held long, the SYSTEM panel, label hovering and clicks, the links,
// stray keys, Ouit and a fresh start, late frames of up to 0.2 s), with the
// world, scene and panel invariants checked after every frame.
//
// QP_SOAK_FRAMES (default 200000) and QP_SOAK_SEED choose the run; a failure
// prints both and the frame, so `QP_SOAK_SEED=s QP_SOAK_FRAMES=f` replays it.
// The checks of objects and entries run whenever the scene's objects changed
// (and the labels and the highlight after every frame); everything, the
// three scene indexes compared entry by entry included, runs every
// QP_SOAK_FULL_EVERY frames (default 16) whatever changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/link.h"
#include "app/program.h"
#include "tests/support/app_fixtures.h"
#include "util/random.h"
#include "util/text.h"

#if defined(__SANITIZE_ADDRESS__)
// The program allocates and frees all the time; a smaller quarantine, no
// fill of new blocks and shorter allocation stacks keep the sanitizer's own
// cost down. A use after free within the last few hundred frames is still
// caught, and the environment's ASAN_OPTIONS still override these.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=64:max_malloc_fill_size=0:malloc_context_size=12";
}
#endif

namespace {

constexpr int MAX_CANDIDATES = 45;
constexpr char LIMIT_MESSAGE[] = "Maximum number of buildings.";

long EnvNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return (end && *end == '\0' && value > 0) ? value : fallback;
}

// ---- Random input ---------------------------------------------------------

// What one gesture does for a number of frames. Weights bias the run toward
// adding houses so that it reaches the 200 limit between the rare Clears.
enum class Gesture {
  AddHouses,
  DeleteHouses,
  HoldF,
  ClickButton,
  HoverLabel,
  ClickLabel,
  Link,
  Wander,
  StrayKeys,
  Quit,
};

struct WeightedGesture {
  Gesture gesture;
  int weight;
};
constexpr WeightedGesture GESTURES[] = {
    {Gesture::AddHouses, 34},  {Gesture::DeleteHouses, 7}, {Gesture::HoldF, 12},
    {Gesture::ClickButton, 9}, {Gesture::HoverLabel, 12},  {Gesture::ClickLabel, 4},
    {Gesture::Link, 4},        {Gesture::Wander, 12},      {Gesture::StrayKeys, 5},
    {Gesture::Quit, 1},
};

class RandomInput {
 public:
  explicit RandomInput(uint64_t seed) : rng(seed) {}

  // Sets the fake's input for the next frame: mouse, held keys, the key that
  // goes down, the frame time.
  void Next(FakeEngine& fake) {
    fake.Press(0);
    if (left <= 0) Begin(fake);
    --left;
    ++step;
    switch (gesture) {
      case Gesture::AddHouses:
        // A new spot every 18..30 frames, a little past the hold-off.
        if (step % spotEvery == 0) MoveToRandomMapSpot(fake);
        fake.Hold(KEY_LBUTTON);
        break;
      case Gesture::DeleteHouses:
        if (step % 12 == 0) MoveToRandomHouse(fake);
        fake.Hold(KEY_RBUTTON);
        break;
      case Gesture::HoldF:
        fake.Hold(KEY_F);
        if (Chance(0.05)) Wiggle(fake, 40);
        if (Chance(0.01)) MoveToRandomLabel(fake);
        break;
      case Gesture::ClickButton:
      case Gesture::ClickLabel:
      case Gesture::Quit:
        // Rest on the target, then press on the third frame.
        if (step == 3) {
          fake.Press(button);
          fake.Hold(button);
        }
        if (step == 5) fake.ReleaseKey(button);
        break;
      case Gesture::HoverLabel:
        if (Chance(0.1)) Wiggle(fake, 2);
        break;
      case Gesture::Link:
        fake.Hold(KEY_LBUTTON);
        if (step == 1) fake.Press(KEY_LBUTTON);
        break;
      case Gesture::Wander:
        if (Chance(0.3)) Wiggle(fake, 60);
        if (Chance(0.02)) MoveAnywhere(fake);
        if (Chance(0.01)) fake.Press(Chance(0.5) ? KEY_LBUTTON : KEY_RBUTTON);
        break;
      case Gesture::StrayKeys:
        if (Chance(0.3)) fake.Press(Uniform(0, 255));
        if (Chance(0.05)) fake.Hold(Uniform(0, 255));
        if (Chance(0.2)) Wiggle(fake, 30);
        break;
    }
    fake.SetDelta(FrameTime());
  }

  Gesture Current() const { return gesture; }
  long clearClicks = 0;

 private:
  void Begin(FakeEngine& fake) {
    fake.ReleaseAll();
    step = 0;
    int total = 0;
    for (const WeightedGesture& g : GESTURES) total += g.weight;
    int pick = Uniform(0, total - 1);
    for (const WeightedGesture& g : GESTURES) {
      if (pick < g.weight) {
        gesture = g.gesture;
        break;
      }
      pick -= g.weight;
    }
    button = KEY_LBUTTON;
    switch (gesture) {
      case Gesture::AddHouses:
        left = Uniform(20, 600);
        spotEvery = Uniform(18, 30);
        MoveToRandomMapSpot(fake);
        break;
      case Gesture::DeleteHouses:
        left = Uniform(5, 60);
        MoveToRandomHouse(fake);
        break;
      case Gesture::HoldF:
        left = Chance(0.2) ? Uniform(600, 2500) : Uniform(20, 300);
        break;
      case Gesture::ClickButton: {
        // Clear is rare: it throws away every house.
        const char* name = Chance(0.04) ? "Button1" : (Chance(0.5) ? "Button2" : "Button3");
        if (std::string(name) == "Button1") ++clearClicks;
        MoveTo(fake, ItemCentre(SystemPanel, name));
        if (Chance(0.1)) button = KEY_RBUTTON;
        left = Uniform(5, 12);
        break;
      }
      case Gesture::HoverLabel:
        MoveToRandomLabel(fake);
        left = Uniform(2, 80);
        break;
      case Gesture::ClickLabel:
        MoveToRandomLabel(fake);
        button = Chance(0.5) ? KEY_LBUTTON : KEY_RBUTTON;
        left = Uniform(5, 10);
        break;
      case Gesture::Link: {
        const int which = Uniform(0, 2);
        const float x = which == 0   ? UniformF(0, 119)
                        : which == 1 ? UniformF(861, 959)
                                     : UniformF(440, 520);  // the help label
        fake.SetMouse(x, UniformF(940.5f, 959.5f));
        left = Uniform(1, 60);
        break;
      }
      case Gesture::Wander:
        left = Uniform(10, 150);
        break;
      case Gesture::StrayKeys:
        left = Uniform(5, 40);
        break;
      case Gesture::Quit:
        MoveTo(fake, ItemCentre(SystemPanel, "4"));
        left = 8;
        break;
    }
  }

  float FrameTime() {
    if (Chance(1.0 / 400)) return UniformF(0.02f, 0.2f);  // a late frame
    if (Chance(1.0 / 2000)) return 0.0f;
    return UniformF(0.018f, 0.022f);
  }

  void MoveToRandomMapSpot(FakeEngine& fake) {
    // Now and then right at the map's edges, where the tests are strict.
    if (Chance(0.03)) {
      fake.SetMouse(Chance(0.5) ? UniformF(-2, 2) : UniformF(958, 960.5f), UniformF(0, 960));
      return;
    }
    fake.SetMouse(UniformF(0, 959.9f), UniformF(0, 939.9f));
  }

  void MoveToRandomHouse(FakeEngine& fake) {
    std::vector<const TARN_OBJECT*> houses;
    const NamedList<TARN_OBJECT>& byName = MainScene->ObjectsByName();
    for (int i = 0; i < byName.Count(); ++i)
      if (byName.Name(i) == "qbuilding" && byName.Object(i)) houses.push_back(byName.Object(i));
    if (houses.empty() || Chance(0.1)) {
      MoveToRandomMapSpot(fake);
      return;
    }
    const TARN_OBJECT* house = houses[static_cast<size_t>(Uniform(0, int(houses.size()) - 1))];
    fake.SetMouse(house->x + UniformF(-8, 8), house->y + UniformF(-8, 8));
  }

  void MoveToRandomLabel(FakeEngine& fake) {
    const int count = CandidatePanel.ItemCount();
    if (count == 0) {
      fake.SetMouse(UniformF(965, 1195), UniformF(5, 700));
      return;
    }
    const TARNGUI_ITEM* item = CandidatePanel.GetItem(Uniform(0, count - 1));
    MoveTo(fake, ItemCentre(CandidatePanel, item->GetName().c_str()));
  }

  void MoveTo(FakeEngine& fake, ScreenPoint p) {
    if (p.x < 0) return;
    fake.SetMouse(p.x + UniformF(-1, 1), p.y + UniformF(-1, 1));
  }

  void MoveAnywhere(FakeEngine& fake) {
    // Mostly inside the window, sometimes beyond it.
    if (Chance(0.1)) {
      fake.SetMouse(UniformF(-200, 1400), UniformF(-200, 1200));
      return;
    }
    fake.SetMouse(UniformF(0, 1199.9f), UniformF(0, 959.9f));
  }

  void Wiggle(FakeEngine& fake, float by) {
    fake.SetMouse(std::clamp(fake.mouseX + UniformF(-by, by), -10.0f, 1210.0f),
                  std::clamp(fake.mouseY + UniformF(-by, by), -10.0f, 970.0f));
  }

  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }
  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  float UniformF(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }

  std::mt19937_64 rng;
  Gesture gesture = Gesture::Wander;
  int left = 0;
  int step = 0;
  int spotEvery = 20;
  int button = KEY_LBUTTON;
};

// ---- Invariants -------------------------------------------------------------

struct Snapshot {
  std::vector<const TARN_OBJECT*> houses;
  std::vector<const TARN_OBJECT*> candidates;
};

void TakeSnapshot(Snapshot& s) {
  s.houses.clear();
  s.candidates.clear();
  const NamedList<TARN_OBJECT>& byName = MainScene->ObjectsByName();
  for (int i = 0; i < byName.Count(); ++i) {
    const TARN_OBJECT* object = byName.Object(i);
    if (!object) continue;
    if (object->name == "qbuilding") s.houses.push_back(object);
    if (object->name == "qpath") s.candidates.push_back(object);
  }
}

class InvariantChecker {
 public:
  // Checks after a frame; returns what is wrong, or "" when all holds.
  // `labelsComplete`: no candidate can have been made since the frame's
  // label refresh, so every candidate must have its label. The checks of
  // the objects and entries (ownership, tours, spacing) run whenever the
  // scene's objects changed and on every `full` frame; the labels and the
  // highlight every frame; the scene's three indexes on `full` frames.
  std::string Check(bool labelsComplete, bool full) {
    signature.clear();
    const NamedList<TARN_OBJECT>& byId = MainScene->ObjectsById();
    for (int i = 0; i < byId.Count(); ++i) {
      const TARN_OBJECT* o = byId.Object(i);
      signature.push_back({o, o ? o->id : 0});
    }
    const bool changed = signature != lastSignature || World.items.Count() != lastItemCount;
    std::string e;
    if (changed || full) {
      TakeSnapshot(s);
      const int n = static_cast<int>(s.houses.size());
      const int m = static_cast<int>(s.candidates.size());
      if (n > MAX_BUILDINGS) return Say("%d houses, more than %d", n, MAX_BUILDINGS);
      if (m > MAX_CANDIDATES) return Say("%d candidates, more than %d", m, MAX_CANDIDATES);
      e = CheckOwnership(s);
      if (e.empty()) e = CheckGenes(s);
      if (e.empty()) e = CheckSpacing(s);
      if (e.empty() && full) e = CheckSceneIndexes();
      lastSignature.swap(signature);
      lastItemCount = World.items.Count();
    }
    if (e.empty() && World.highlighted &&
        std::find(s.candidates.begin(), s.candidates.end(), World.highlighted) ==
            s.candidates.end())
      e = "highlighted is not a live candidate";
    if (e.empty()) e = CheckLabels(s, labelsComplete);
    return e;
  }
  // Houses seen by the last check.
  int HouseCount() const { return static_cast<int>(s.houses.size()); }

 private:
  template <typename... Args>
  static std::string Say(const char* format, Args... args) {
    char text[256];
    std::snprintf(text, sizeof text, format, args...);
    return text;
  }

  // Every entry's object points back at it and every house and candidate
  // object belongs to a live entry.
  // Sorted vectors kept between frames: the check itself must not allocate
  // much, or the sanitizer's allocator dominates the run.
  std::string CheckOwnership(const Snapshot& s) {
    inScene.clear();
    const NamedList<TARN_OBJECT>& byId = MainScene->ObjectsById();
    for (int i = 0; i < byId.Count(); ++i) inScene.push_back(byId.Object(i));
    std::sort(inScene.begin(), inScene.end());
    entries.clear();
    for (int i = 0; i < World.items.Count(); ++i) {
      const QPATHDATA* entry = World.items.Object(i);
      if (!entry) return Say("world item %d has no entry", i);
      entries.push_back(entry);
      if (!entry->object) return Say("entry id %d has no object", entry->id);
      if (entry->object->owner != entry)
        return Say("entry id %d: its object's owner is not the entry", entry->id);
      if (!std::binary_search(inScene.begin(), inScene.end(), entry->object))
        return Say("entry id %d: its object is not in the scene", entry->id);
    }
    std::sort(entries.begin(), entries.end());
    if (World.items.Count() != static_cast<int>(s.houses.size() + s.candidates.size()))
      return Say("%d world entries for %zu houses and %zu candidates", World.items.Count(),
                 s.houses.size(), s.candidates.size());
    for (const auto* list : {&s.houses, &s.candidates})
      for (const TARN_OBJECT* object : *list) {
        const auto* entry = static_cast<const QPATHDATA*>(object->owner);
        if (!entry || !std::binary_search(entries.begin(), entries.end(), entry))
          return Say("object %d (%s) has no live owner entry", object->id, object->name.c_str());
        if (entry->object != object) return Say("object %d: its entry names another", object->id);
      }
    return "";
  }

  // With houses on the map the population was built over them (every change
  // of the houses rebuilds it), so each tour is a permutation of 0 .. n-1.
  std::string CheckGenes(const Snapshot& s) {
    const int n = static_cast<int>(s.houses.size());
    if (n == 0) return "";
    if (seen.size() != static_cast<size_t>(n)) {
      seen.assign(static_cast<size_t>(n), 0);
      mark = 0;
    }
    for (const TARN_OBJECT* object : s.candidates) {
      const auto* entry = static_cast<const QPATHDATA*>(object->owner);
      if (entry->genes.Count() != n || static_cast<int>(entry->genes.values.size()) != n)
        return Say("candidate %d has %d genes over %d houses", entry->id, entry->genes.Count(), n);
      if (++mark == 0) {
        std::fill(seen.begin(), seen.end(), 0);
        mark = 1;
      }
      for (int j = 0; j < n; ++j) {
        const int32_t g = entry->genes.values[static_cast<size_t>(j)];
        if (g < 0 || g >= n) return Say("candidate %d: gene %d is %d of %d", entry->id, j, g, n);
        if (seen[static_cast<size_t>(g)] == mark)
          return Say("candidate %d visits house %d twice", entry->id, g);
        seen[static_cast<size_t>(g)] = mark;
      }
    }
    return "";
  }

  // Labels are named by the candidate's id: none without a candidate, none
  // twice, and (when no candidate can be newer than the label refresh) one
  // for every candidate.
  std::string CheckLabels(const Snapshot& s, bool labelsComplete) {
    ids.clear();
    for (const TARN_OBJECT* object : s.candidates)
      ids.push_back({static_cast<const QPATHDATA*>(object->owner)->id, 0});
    std::sort(ids.begin(), ids.end());
    for (size_t i = 1; i < ids.size(); ++i)
      if (ids[i].first == ids[i - 1].first) return Say("two candidates share id %d", ids[i].first);
    for (int i = 0; i < CandidatePanel.ItemCount(); ++i) {
      const TARNGUI_ITEM* item = CandidatePanel.GetItem(i);
      if (!item) return Say("candidate panel item %d is missing", i);
      const std::string& name = item->GetName();
      int id = 0;
      const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), id);
      auto it = std::lower_bound(ids.begin(), ids.end(), std::make_pair(id, 0));
      if (ec != std::errc() || end != name.data() + name.size() || it == ids.end() ||
          it->first != id || std::to_string(id) != name)
        return "a label without a candidate: " + name;
      if (++it->second > 1) return "two labels for candidate " + name;
    }
    if (labelsComplete)
      for (const auto& [id, labels] : ids)
        if (labels == 0) return Say("candidate %d has no label after the label refresh", id);
    return "";
  }

  // Houses are never within 32 px of each other. Only houses new since the
  // last check are compared, each against all.
  std::string CheckSpacing(const Snapshot& s) {
    houses.clear();
    for (const TARN_OBJECT* h : s.houses) houses.push_back({h, h->id, h->x, h->y});
    std::sort(houses.begin(), houses.end());
    if (houses == knownHouses) return "";
    for (const House& h : houses) {
      // A recycled address (a house deleted and another made) counts as new.
      if (std::binary_search(knownHouses.begin(), knownHouses.end(), h)) continue;
      for (const House& other : houses) {
        if (other.object == h.object) continue;
        const double dx = double(other.x) - h.x, dy = double(other.y) - h.y;
        if (std::sqrt(dx * dx + dy * dy) <= BUILDING_SPACING)
          return Say("houses %d (%.1f, %.1f) and %d (%.1f, %.1f) are within %.0f px", h.id,
                     double(h.x), double(h.y), other.id, double(other.x), double(other.y),
                     double(BUILDING_SPACING));
      }
    }
    knownHouses.swap(houses);
    return "";
  }

  // The three indexes hold the same objects under the right keys, the
  // sorted ones in order.
  std::string CheckSceneIndexes() {
    const NamedList<TARN_OBJECT>& byId = MainScene->ObjectsById();
    const NamedList<TARN_OBJECT>& byName = MainScene->ObjectsByName();
    const NamedList<TARN_OBJECT>& draw = MainScene->DrawOrder();
    if (byId.Count() != byName.Count() || byId.Count() != draw.Count())
      return Say("scene indexes differ in size: %d by id, %d by name, %d in draw order",
                 byId.Count(), byName.Count(), draw.Count());
    std::vector<const TARN_OBJECT*> a, b, c;
    for (int i = 0; i < byId.Count(); ++i) {
      const TARN_OBJECT* o = byId.Object(i);
      if (!o) return Say("objects by id: entry %d holds nothing", i);
      if (byId.Name(i) != std::to_string(o->id))
        return Say("objects by id: object %d is keyed '%s'", o->id, byId.Name(i).c_str());
      a.push_back(o);
    }
    for (int i = 0; i < byName.Count(); ++i) {
      const TARN_OBJECT* o = byName.Object(i);
      if (!o) return Say("objects by name: entry %d holds nothing", i);
      if (byName.Name(i) != o->name) return Say("objects by name: object %d misnamed", o->id);
      if (i > 0 && byName.Name(i - 1) > byName.Name(i)) return "objects by name out of order";
      b.push_back(o);
    }
    for (int i = 0; i < draw.Count(); ++i) {
      const TARN_OBJECT* o = draw.Object(i);
      if (!o) return Say("draw order: entry %d holds nothing", i);
      if (draw.Name(i) != NumberKey(std::to_string(o->id), o->depth))
        return Say("draw order: object %d is keyed '%s'", o->id, draw.Name(i).c_str());
      if (i > 0 && draw.Name(i - 1) > draw.Name(i)) return "draw order out of order";
      c.push_back(o);
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::sort(c.begin(), c.end());
    if (a != b || a != c) return "the scene indexes hold different objects";
    if (std::adjacent_find(a.begin(), a.end()) != a.end()) return "an object is indexed twice";
    return "";
  }

  struct House {
    const TARN_OBJECT* object;
    int id;
    float x, y;
    auto operator<=>(const House&) const = default;
  };

  Snapshot s;
  std::vector<std::pair<const TARN_OBJECT*, int>> signature, lastSignature;
  int lastItemCount = -1;
  std::vector<const TARN_OBJECT*> inScene;
  std::vector<const QPATHDATA*> entries;
  std::vector<uint32_t> seen;
  uint32_t mark = 0;
  std::vector<std::pair<int, int>> ids;  // candidate id, labels seen
  std::vector<House> houses, knownHouses;
};

// ---- The soak -------------------------------------------------------------

struct Reach {
  int maxHouses = 0;
  long limitBoxes = 0;
  int maxGeneration = 0;
  long clears = 0;
  long quits = 0;
  long highlightFrames = 0;
  long pagesOpened = 0;
  long lateFrames = 0;
};

class SoakTest : public AppTest {
 protected:
  void Restart(uint32_t programSeed) {
    AppTest::TearDown();
    AppTest::SetUp();
    Prepare(programSeed);
  }
  void Prepare(uint32_t programSeed) {
    SeedRandom(programSeed);
    fake.recordDrawing = false;
  }
};

TEST_F(SoakTest, RandomInputKeepsEveryInvariant) {
  const long frames = EnvNumber("QP_SOAK_FRAMES", 200000);
  const uint64_t seed = static_cast<uint64_t>(EnvNumber("QP_SOAK_SEED", 20240611));
  const long fullEvery = EnvNumber("QP_SOAK_FULL_EVERY", 16);
  std::printf("soak: seed %llu, %ld frames\n", static_cast<unsigned long long>(seed), frames);
  Prepare(static_cast<uint32_t>(seed));

  RandomInput input(seed);
  InvariantChecker checker;
  Reach reach;
  const std::string pages[] = {WebPageCommand(SITE_URL), WebPageCommand(ENGINE_SITE_URL)};
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();

  for (long frame = 0; frame < frames; ++frame) {
    input.Next(fake);
    const bool accepting = NextInputTime < FrameClock;
    const bool mayRebuildAfterLabels =
        accepting && (fake.held.count(KEY_F) || fake.frameKey == KEY_LBUTTON);
    const float clockBefore = FrameClock;
    if (fake.delta > 0.1f) ++reach.lateFrames;
    fake.ClearDrawing();

    if (fake.RunFrame()) {
      // Ouit ends the loop; shut down as the program does and start again.
      ++reach.quits;
      Restart(static_cast<uint32_t>(seed + reach.quits));
      if (HasFailure()) {
        ADD_FAILURE() << "seed " << seed << " frame " << frame << ": shutting down after Ouit";
        return;
      }
      continue;
    }

    const std::string problem = checker.Check(!mayRebuildAfterLabels, frame % fullEvery == 0);
    if (!problem.empty()) {
      FAIL() << "seed " << seed << " frame " << frame << ": " << problem;
    }

    const int houses = checker.HouseCount();
    for (const FakeMessageBox& box : fake.messageBoxes) {
      if (box.text != LIMIT_MESSAGE || box.caption != PROGRAM_NAME || houses != MAX_BUILDINGS)
        FAIL() << "seed " << seed << " frame " << frame << ": message box '" << box.text
               << "' with " << houses << " houses";
      ++reach.limitBoxes;
    }
    fake.messageBoxes.clear();
    for (const FakeStarted& started : fake.started) {
      if (started.command != pages[0] && started.command != pages[1])
        FAIL() << "seed " << seed << " frame " << frame << ": started '" << started.command << "'";
      ++reach.pagesOpened;
    }
    fake.started.clear();

    reach.maxHouses = std::max(reach.maxHouses, houses);
    if (FrameClock < clockBefore) ++reach.clears;
    if (World.highlighted) ++reach.highlightFrames;
    if (frame % 64 == 0)
      for (int i = 0; i < World.items.Count(); ++i)
        reach.maxGeneration = std::max(reach.maxGeneration, World.items.Object(i)->generation);
  }

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  std::printf(
      "soak: %ld frames in %.1f s, %.1f s of CPU (%.0f frames/s); houses up to %d, %ld limit "
      "boxes, "
      "generation up to %d, %ld clears of %ld clicks, %ld quits, %ld highlighted frames, "
      "%ld pages, %ld late frames\n",
      frames, seconds, cpu, frames / cpu, reach.maxHouses, reach.limitBoxes, reach.maxGeneration,
      reach.clears, input.clearClicks, reach.quits, reach.highlightFrames, reach.pagesOpened,
      reach.lateFrames);

  // A run of full length must have reached every state it is meant to.
  if (frames >= 200000) {
    EXPECT_EQ(reach.maxHouses, MAX_BUILDINGS);
    EXPECT_GT(reach.limitBoxes, 0);
    EXPECT_GT(reach.maxGeneration, 50);
    EXPECT_GT(reach.clears, 0);
    EXPECT_GT(reach.quits, 0);
    EXPECT_GT(reach.highlightFrames, 0);
    EXPECT_GT(reach.pagesOpened, 0);
    EXPECT_GT(reach.lateFrames, 0);
  }
}

}  // namespace
