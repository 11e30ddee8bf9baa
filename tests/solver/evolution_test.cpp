// One evolution step: ranking, duplicate removal, survivors, breeding, and
// the crossover and mutation pieces against plain reference versions.
#include "solver/evolution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include "app/config.h"
#include "solver/labels.h"
#include "solver/world.h"
#include "tests/support/world_test.h"
#include "util/random.h"

namespace {

QUEN_DATA* MakeGenes(QUEN_GENOM& genome, const std::vector<int32_t>& values) {
  genome.Clear();
  for (size_t i = 0; i < values.size(); ++i) genome.AddGene(8, std::to_string(i));
  auto* data = new QUEN_DATA();
  data->Fill(&genome);
  for (size_t i = 0; i < values.size(); ++i) data->SetGene(static_cast<int>(i), values[i]);
  return data;
}

std::vector<int32_t> GenesOf(const QUEN_DATA& data) {
  std::vector<int32_t> values;
  for (int i = 0; i < data.Count(); ++i) values.push_back(data.GetGene(i));
  return values;
}

// The fill written as the plain nested search over parent B.
void ReferenceFill(const QUEN_DATA& parentB, QUEN_DATA& child) {
  const int d = child.Count();
  for (int l = 0; l < d; ++l) {
    if (static_cast<uint32_t>(child.GetGene(l)) < 255u) continue;
    for (int m = 0; m < d; ++m) {
      int32_t g = parentB.GetGene(m);
      bool present = false;
      for (int k = 0; k < d; ++k) present = present || child.GetGene(k) == g;
      if (!present) {
        child.SetGene(l, g);
        break;
      }
    }
  }
}

// Removes candidates (label, entry, object) until `keep` remain.
void KeepCandidates(const SolverScenario& scenario, int keep) {
  std::vector<QPATHDATA*> candidates = scenario.Candidates();
  for (size_t i = keep; i < candidates.size(); ++i) {
    TARN_OBJECT* object = candidates[i]->object;
    UpdatePathLabel(candidates[i], -1);
    World.Delete(candidates[i]);
    MainScene->DeleteObject(object, false);
  }
}

std::set<int> IdsOf(const std::vector<QPATHDATA*>& entries) {
  std::set<int> ids;
  for (const QPATHDATA* e : entries) ids.insert(e->id);
  return ids;
}

// Survivors keep their ids and children get new ones, so ids tell who lived
// (a freed entry's memory may well be reused for a child).
bool Alive(const std::vector<QPATHDATA*>& population, int id) {
  return IdsOf(population).count(id) != 0;
}

TEST(Crossover, SegmentFromAThenBsMissingGenesInBsOrder) {
  QUEN_GENOM genome("g");
  std::unique_ptr<QUEN_DATA> a(MakeGenes(genome, {0, 1, 2, 3, 4, 5}));
  std::unique_ptr<QUEN_DATA> b(MakeGenes(genome, {5, 4, 3, 2, 1, 0}));
  std::unique_ptr<QUEN_DATA> child(MakeGenes(genome, {9, 9, 9, 9, 9, 9}));
  CrossoverSegment(*a, *child, 2, 3);
  EXPECT_EQ(GenesOf(*child), (std::vector<int32_t>{255, 255, 2, 3, 255, 255}));
  CrossoverFill(*b, *child);
  EXPECT_EQ(GenesOf(*child), (std::vector<int32_t>{5, 4, 2, 3, 1, 0}));
}

TEST(Crossover, FillGivesTheGenesOfTheNestedSearch) {
  // Permutations as the program makes them, and parents holding anything a
  // 32-bit gene can: out-of-range values, the marker itself, repeats, and a
  // parent shorter than the child.
  std::mt19937 random(5);
  QUEN_GENOM genome("g");
  const std::vector<int32_t> odd = {-1, 255, 256, 300, 254, 0, 7, INT32_MIN, INT32_MAX, 1000000};
  for (int round = 0; round < 3000; ++round) {
    const int d = static_cast<int>(random() % 12);
    const int kind = round % 3;
    auto draw = [&](int n) {
      std::vector<int32_t> v(static_cast<size_t>(n));
      if (kind == 0) {
        for (int i = 0; i < n; ++i) v[static_cast<size_t>(i)] = i;
        std::shuffle(v.begin(), v.end(), random);
      } else {
        for (auto& x : v)
          x = (random() % 2) ? odd[random() % odd.size()] : static_cast<int32_t>(random() % 8);
      }
      return v;
    };
    std::vector<int32_t> av = draw(d), bv = draw(kind == 2 && d > 0 ? d - 1 : d);
    std::unique_ptr<QUEN_DATA> a(MakeGenes(genome, av));
    std::unique_ptr<QUEN_DATA> b(MakeGenes(genome, bv));
    std::unique_ptr<QUEN_DATA> fast(MakeGenes(genome, std::vector<int32_t>(d, 0)));
    std::unique_ptr<QUEN_DATA> slow(MakeGenes(genome, std::vector<int32_t>(d, 0)));
    int t = d ? static_cast<int>(random() % d) : 0, v = d ? static_cast<int>(random() % d) : 0;
    if (t > v) std::swap(t, v);
    CrossoverSegment(*a, *fast, t, v);
    CrossoverSegment(*a, *slow, t, v);
    CrossoverFill(*b, *fast);
    ReferenceFill(*b, *slow);
    ASSERT_EQ(GenesOf(*fast), GenesOf(*slow)) << "round " << round << " d " << d;
    if (kind == 0) {
      ASSERT_TRUE(IsPermutation(*fast, d));
    }
  }
}

TEST(Mutation, InversionReversesTheCircularRun) {
  QUEN_GENOM genome("g");
  // The example: d = 5, t = 3, v = 1 swaps (3, 1) and (4, 0), 2 stays.
  std::unique_ptr<QUEN_DATA> example(MakeGenes(genome, {10, 11, 12, 13, 14}));
  InvertRun(*example, 3, 1);
  EXPECT_EQ(GenesOf(*example), (std::vector<int32_t>{14, 13, 12, 11, 10}));

  for (int d = 1; d <= 7; ++d)
    for (int t = 0; t < d; ++t)
      for (int v = 0; v < d; ++v) {
        if (t == v) continue;
        std::vector<int32_t> start(static_cast<size_t>(d));
        for (int i = 0; i < d; ++i) start[static_cast<size_t>(i)] = 100 + i;
        std::vector<int32_t> expected = start;
        std::vector<int> run;
        for (int p = t;; p = (p + 1) % d) {
          run.push_back(p);
          if (p == v) break;
        }
        for (size_t k = 0; k < run.size(); ++k)
          expected[static_cast<size_t>(run[k])] =
              start[static_cast<size_t>(run[run.size() - 1 - k])];
        std::unique_ptr<QUEN_DATA> genes(MakeGenes(genome, start));
        InvertRun(*genes, t, v);
        EXPECT_EQ(GenesOf(*genes), expected) << "d " << d << " t " << t << " v " << v;
      }

  // Nothing to reverse, or positions outside the tour: the genes stay.
  std::unique_ptr<QUEN_DATA> genes(MakeGenes(genome, {1, 2, 3, 4}));
  const std::pair<int, int> invalid[] = {{2, 2}, {-1, 2}, {0, 4}, {7, 1}};
  for (auto [t, v] : invalid) InvertRun(*genes, t, v);
  EXPECT_EQ(GenesOf(*genes), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST_F(WorldTest, WithoutHousesFifteenBecomeTen) {
  CreatePaths(&World);
  EditBuildings(&World, 2000, 2000);
  Evolve(&World);
  std::vector<QPATHDATA*> after = scenario.Candidates();
  ASSERT_EQ(after.size(), 10u);
  int survivors = 0, children = 0;
  for (QPATHDATA* c : after) {
    EXPECT_EQ(c->genes.Count(), 0);
    if (c->id < START_PATHS) {
      ++survivors;
      EXPECT_EQ(c->generation, 1);
    } else {
      ++children;
      EXPECT_EQ(c->generation, 2);
    }
  }
  EXPECT_EQ(survivors, 4);
  EXPECT_EQ(children, 6);
  // Removed candidates took their labels; children get theirs next frame.
  EXPECT_EQ(CandidatePanel.ItemCount(), 4);
  EXPECT_EQ(World.items.Count(), 10);
  EXPECT_EQ(MainScene->ObjectCount(), 10);
}

TEST_F(WorldTest, PopulationSizeFollowsTheSurvivorsAfterDuplicates) {
  // Distinct lengths: c candidates leave S survivors and S(S-1)/2 children.
  struct Case {
    int candidates, survivors;
  } cases[] = {{0, 0}, {1, 1}, {2, 2}, {7, 7}, {8, 8}, {9, 9}, {12, 9}, {15, 9}};
  for (const Case& c : cases) {
    scenario.TearDown();
    scenario.SetUp(static_cast<uint32_t>(c.candidates) + 1);
    CreatePaths(&World);
    scenario.PlaceHouses(10, 6);
    KeepCandidates(scenario, c.candidates);
    std::vector<QPATHDATA*> before = scenario.Candidates();
    for (size_t i = 0; i < before.size(); ++i) before[i]->length = 100.0f + 10.0f * i;
    const std::set<int> beforeIds = IdsOf(before);
    Evolve(&World);
    std::vector<QPATHDATA*> after = scenario.Candidates();
    const int s = c.survivors;
    EXPECT_EQ(static_cast<int>(after.size()), s + s * (s - 1) / 2) << c.candidates;
    int kept = 0;
    for (QPATHDATA* e : after) {
      EXPECT_TRUE(IsPermutation(e->genes, 10));
      kept += static_cast<int>(beforeIds.count(e->id));
    }
    EXPECT_EQ(kept, s) << c.candidates;
  }
}

TEST_F(WorldTest, SevenOrFewerKeepEvenEqualLengths) {
  CreatePaths(&World);
  scenario.PlaceHouses(10, 6);
  KeepCandidates(scenario, 7);
  std::vector<QPATHDATA*> before = scenario.Candidates();
  for (QPATHDATA* c : before) c->length = 500.0f;
  std::set<int> beforeIds = IdsOf(before);
  Evolve(&World);
  std::vector<QPATHDATA*> after = scenario.Candidates();
  EXPECT_EQ(after.size(), 28u);
  for (int id : beforeIds) EXPECT_TRUE(Alive(after, id)) << id;
}

TEST_F(WorldTest, DuplicatesAgreeToTheHundredth) {
  // Six clearly different lengths and a pair; with no duplicate all 8 stay
  // (28 children), with one the older of the pair stays (7 + 21).
  struct Case {
    float first, second;
    bool duplicate;
  } cases[] = {{100.004f, 100.011f, false},
               {100.011f, 100.019f, true},
               {100.0f, 100.0099f, true},
               {99.999f, 100.0f, false}};
  for (const Case& c : cases) {
    scenario.TearDown();
    scenario.SetUp(3);
    CreatePaths(&World);
    scenario.PlaceHouses(10, 6);
    KeepCandidates(scenario, 8);
    std::vector<QPATHDATA*> before = scenario.Candidates();  // newest first
    for (int i = 0; i < 6; ++i) before[static_cast<size_t>(i)]->length = 10.0f * (i + 1);
    before[6]->length = c.first;
    before[7]->length = c.second;
    const int newer = before[6]->id, older = before[7]->id;
    Evolve(&World);
    std::vector<QPATHDATA*> after = scenario.Candidates();
    EXPECT_EQ(after.size(), c.duplicate ? 28u : 36u) << c.first << " " << c.second;
    EXPECT_TRUE(Alive(after, older)) << c.first << " " << c.second;
    EXPECT_EQ(Alive(after, newer), !c.duplicate) << c.first << " " << c.second;
  }
}

TEST_F(WorldTest, RankingIsByWholePixelsOlderFirstAmongEquals) {
  // Fifteen lengths in one whole pixel, the older ones longer within it:
  // the key sees only 100, so the seven oldest are "the shortest".
  CreatePaths(&World);
  scenario.PlaceHouses(10, 6);
  std::vector<QPATHDATA*> before = scenario.Candidates();
  for (QPATHDATA* c : before) c->length = 100.9f - 0.05f * c->id;
  Evolve(&World);
  std::vector<QPATHDATA*> after = scenario.Candidates();
  ASSERT_EQ(after.size(), static_cast<size_t>(FULL_POPULATION));
  std::set<int> survivors;
  for (QPATHDATA* c : after)
    if (c->generation == 1) survivors.insert(c->id);
  ASSERT_EQ(survivors.size(), 9u);
  for (int id = 0; id < 7; ++id) EXPECT_TRUE(survivors.count(id)) << id;
}

TEST_F(WorldTest, SevenShortestAndTwoOthersSurvive) {
  std::set<int> chanceRanks;  // places in length order of the chance survivors
  for (uint32_t seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
    scenario.TearDown();
    scenario.SetUp(seed);
    CreatePaths(&World);
    scenario.PlaceHouses(10, seed);
    KeepCandidates(scenario, 12);
    std::vector<QPATHDATA*> before = scenario.Candidates();
    // Lengths in an order unrelated to the scene's.
    for (size_t i = 0; i < before.size(); ++i) before[i]->length = 50.0f + ((i * 5) % 12) * 3.0f;
    std::vector<QPATHDATA*> sorted = before;
    std::sort(sorted.begin(), sorted.end(),
              [](const QPATHDATA* x, const QPATHDATA* y) { return x->length < y->length; });
    std::vector<int> byLength;
    for (const QPATHDATA* c : sorted) byLength.push_back(c->id);
    Evolve(&World);
    std::vector<QPATHDATA*> after = scenario.Candidates();
    ASSERT_EQ(after.size(), static_cast<size_t>(FULL_POPULATION));
    for (int i = 0; i < 7; ++i) EXPECT_TRUE(Alive(after, byLength[static_cast<size_t>(i)])) << seed;
    int chance = 0;
    for (size_t i = 7; i < byLength.size(); ++i)
      if (Alive(after, byLength[i])) {
        ++chance;
        chanceRanks.insert(static_cast<int>(i));
      }
    EXPECT_EQ(chance, 2) << seed;
  }
  // Drawn from all the others, not just the next two.
  EXPECT_GT(*chanceRanks.rbegin(), 8);
}

TEST_F(WorldTest, AChildIsOneGenerationPastItsElderParent) {
  CreatePaths(&World);
  scenario.PlaceHouses(10, 6);
  KeepCandidates(scenario, 2);
  std::vector<QPATHDATA*> parents = scenario.Candidates();
  parents[0]->generation = 4;
  parents[1]->generation = 7;
  parents[0]->length = 10;
  parents[1]->length = 20;
  const int nextId = World.pathCount;
  Evolve(&World);
  std::vector<QPATHDATA*> after = scenario.Candidates();
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[0]->generation, 8);
  EXPECT_EQ(after[0]->id, nextId);
  EXPECT_EQ(after[0]->length, 0.0f);
  EXPECT_TRUE(IsPermutation(after[0]->genes, 10));
}

TEST_F(WorldTest, FifteenBecomeFortyFiveAndStayWithPermutations) {
  CreatePaths(&World);
  scenario.PlaceHouses(40, 8);
  for (int step = 0; step < 12; ++step) {
    ASSERT_EQ(scenario.GrowPopulation(), FULL_POPULATION) << "step " << step;
    std::set<int> ids = IdsOf(scenario.Candidates());
    EXPECT_EQ(ids.size(), static_cast<size_t>(FULL_POPULATION));
    for (QPATHDATA* c : scenario.Candidates()) ASSERT_TRUE(IsPermutation(c->genes, 40));
    EXPECT_EQ(World.items.Count(), FULL_POPULATION + 40);
    EXPECT_EQ(MainScene->ObjectCount(), FULL_POPULATION + 40);
  }
  EXPECT_EQ(TemplateGenome.GeneCount(), 40);
}

TEST_F(WorldTest, AfterTheLastHouseWentChildrenHaveNoGenes) {
  // The candidates keep the one gene of the last house; the children are
  // bred for the houses there are now: none.
  CreatePaths(&World);
  QPATHDATA* house = scenario.AddHouse(100, 100);
  TARN_OBJECT* object = house->object;
  World.Delete(house);
  MainScene->DeleteObject(object, false);
  ResetPaths();
  Evolve(&World);
  int children = 0;
  for (QPATHDATA* c : scenario.Candidates()) {
    EXPECT_EQ(c->genes.Count(), c->generation == 1 ? 1 : 0) << c->id;
    children += c->generation == 1 ? 0 : 1;
  }
  EXPECT_EQ(children, 6);
  EXPECT_EQ(TemplateGenome.GeneCount(), 0);
}

TEST_F(WorldTest, OneHouseChildrenCopyGeneZeroWithoutMutation) {
  CreatePaths(&World);
  scenario.AddHouse(100, 100);
  Evolve(&World);
  std::vector<QPATHDATA*> after = scenario.Candidates();
  ASSERT_EQ(after.size(), 10u) << "equal lengths: 15 -> 4 survivors + 6 children";
  for (QPATHDATA* c : after) {
    ASSERT_EQ(c->genes.Count(), 1);
    EXPECT_EQ(c->genes.GetGene(0), 0);
  }
}

}  // namespace
