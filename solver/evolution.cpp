// One generation of the genetic algorithm over the world's candidate tours.
#include "solver/evolution.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/config.h"
#include "solver/labels.h"
#include "solver/world.h"
#include "util/random.h"
#include "util/text.h"

namespace {

constexpr int KEPT_SHORTEST = 7;
constexpr int CHANCE_SURVIVORS = 2;
constexpr double LENGTH_RESOLUTION = 100.0;  // duplicates agree to a hundredth
constexpr int32_t EMPTY_GENE = 255;

constexpr NamedListOptions RANKING_LIST{
    .sorted = true, .caseSensitive = true, .hashed = false, .owns = false};

QPATHDATA* EntryOf(const TARN_OBJECT* object) {
  return object ? static_cast<QPATHDATA*>(object->owner) : nullptr;
}

double Hundredths(const TARN_OBJECT* object) {
  return std::floor(LENGTH_RESOLUTION * static_cast<double>(EntryOf(object)->length));
}

// Label, entry, object: in this order, as the label is found by the entry's
// id and the entry must not outlive its object's last use.
void RemoveCandidate(QPATH* world, TARN_OBJECT* object) {
  QPATHDATA* entry = EntryOf(object);
  UpdatePathLabel(entry, -1);
  world->Delete(entry);
  MainScene->DeleteObject(object, false);
}

bool IsEmptyGene(int32_t value) {
  return static_cast<uint32_t>(value) >= EMPTY_GENE;
}

void SwapGenes(QUEN_DATA& genes, int a, int b) {
  int32_t held = genes.GetGene(a);
  genes.SetGene(a, genes.GetGene(b));
  genes.SetGene(b, held);
}

void Mutate(QUEN_DATA& child, int d) {
  const int choice = RandomBelow(2);
  if (d <= 1) return;
  if (choice == 0) {
    do {
      int a = RandomBelow(d);
      int b = RandomBelow(d);
      SwapGenes(child, a, b);
    } while (RandomBelow(3) != 0);
  } else {
    int t, v;
    do {
      t = RandomBelow(d);
      v = RandomBelow(d);
    } while (t == v);
    InvertRun(child, t, v);
  }
}

void Breed(QPATH* world, const QPATHDATA& parentA, const QPATHDATA& parentB, int d) {
  // TemplateGenome already holds the d house genes, so the child's genes
  // have their final shape; the segment below sets every one of them, which
  // makes random values to overwrite a waste inside the frame.
  QPATHDATA* child = world->AddPath(PARKED_X, PARKED_Y, false);
  int t = RandomBelow(d);
  int v = RandomBelow(d);
  if (t > v) std::swap(t, v);
  CrossoverSegment(parentA.genes, child->genes, t, v);
  CrossoverFill(parentB.genes, child->genes);
  Mutate(child->genes, d);
  int32_t elder = std::max(parentA.generation, parentB.generation);
  child->generation = elder < std::numeric_limits<int32_t>::max() ? elder + 1 : elder;
}

}  // namespace

void CrossoverSegment(const QUEN_DATA& parentA, QUEN_DATA& child, int t, int v) {
  const int d = child.ValueCount();
  const int na = parentA.ValueCount();
  const int32_t* a = parentA.Values();
  int32_t* genes = child.Values();
  for (int l = 0; l < d; ++l) genes[l] = (t <= l && l <= v) ? (l < na ? a[l] : 0) : EMPTY_GENE;
}

// Gives the genes of the search "first gene of B not among the child's" for
// every empty position, left to right, without rescanning B each time: counts
// of the child's values tell whether a gene is placed. Values below 255 are
// never overwritten, so once placed they stay placed and B's cursor only moves
// forward. Values of empty positions (255 and up, unsigned) can be freed
// again, so B's genes of that kind that were passed over are looked at again;
// the program's tours never hold one.
void CrossoverFill(const QUEN_DATA& parentB, QUEN_DATA& child) {
  const int d = child.ValueCount();
  if (d <= 0) return;
  int32_t* genes = child.Values();
  // Parent B read as the search reads it: genes past its end are 0.
  std::vector<int32_t> b(static_cast<size_t>(d), 0);
  std::copy_n(parentB.Values(), std::min(d, parentB.ValueCount()), b.begin());

  // The usual case: every value fits the table and B holds no empty marker.
  uint32_t highestChild = 0, highestB = 0;
  for (int l = 0; l < d; ++l)
    highestChild = std::max(highestChild, static_cast<uint32_t>(genes[l]));
  for (int32_t g : b) highestB = std::max(highestB, static_cast<uint32_t>(g));

  std::array<int, 256> smallCounts{};
  if (highestChild < smallCounts.size() && !IsEmptyGene(static_cast<int32_t>(highestB))) {
    for (int l = 0; l < d; ++l) ++smallCounts[static_cast<uint32_t>(genes[l])];
    int cursor = 0;
    for (int l = 0; l < d; ++l) {
      if (!IsEmptyGene(genes[l])) continue;
      while (cursor < d && smallCounts[static_cast<uint32_t>(b[static_cast<size_t>(cursor)])] != 0)
        ++cursor;
      if (cursor == d) return;  // every gene of B is placed: the rest stays empty
      int32_t g = b[static_cast<size_t>(cursor++)];
      --smallCounts[static_cast<uint32_t>(genes[l])];
      genes[l] = g;
      ++smallCounts[static_cast<uint32_t>(g)];
    }
    return;
  }

  std::unordered_map<int32_t, int> otherCounts;  // values out of 0..255
  auto count = [&](int32_t value) -> int& {
    uint32_t u = static_cast<uint32_t>(value);
    return u < smallCounts.size() ? smallCounts[u] : otherCounts[value];
  };
  for (int l = 0; l < d; ++l) ++count(genes[l]);
  std::vector<int> passed;  // positions of B before the cursor holding freeable genes
  int cursor = 0;
  for (int l = 0; l < d; ++l) {
    if (!IsEmptyGene(genes[l])) continue;
    int pick = -1;
    for (int m : passed)
      if (count(b[static_cast<size_t>(m)]) == 0) {
        pick = m;
        break;
      }
    while (pick < 0 && cursor < d) {
      int m = cursor++;
      int32_t g = b[static_cast<size_t>(m)];
      if (IsEmptyGene(g)) passed.push_back(m);
      if (count(g) == 0) pick = m;
    }
    if (pick < 0) continue;
    int32_t g = b[static_cast<size_t>(pick)];
    --count(genes[l]);
    genes[l] = g;
    ++count(g);
  }
}

void InvertRun(QUEN_DATA& child, int t, int v) {
  const int d = child.ValueCount();
  if (d <= 1 || t == v || t < 0 || v < 0 || t >= d || v >= d) return;
  int32_t* genes = child.Values();
  if (t > v) v += d;
  for (int l = t; l < v - (v - t) / 2; ++l) std::swap(genes[l % d], genes[(v + t - l) % d]);
}

void Evolve(QPATH* world) {
  if (!world || !MainScene) return;

  // Ranking by whole-pixel length; an equal key goes before the ones present,
  // so among equal lengths the older candidate (added later) ranks first.
  NamedList<TARN_OBJECT> ranking(RANKING_LIST);
  const int count = MainScene->CollectObjects("qpath", false, nullptr);
  for (int i = 0; i < count; ++i) {
    TARN_OBJECT* object = MainScene->GetResult(i);
    if (object && object->owner) ranking.Add(NumberKey("", EntryOf(object)->length), object);
  }

  // Duplicates: at most one removal per r and pass, passes until one removes
  // nothing or the ranking is down to the kept size.
  for (bool removed = true; removed;) {
    removed = false;
    if (ranking.Count() <= KEPT_SHORTEST) break;
    for (int r = 0; r < ranking.Count(); ++r) {
      const double key = Hundredths(ranking.Object(r));
      for (int s = r + 1; s < ranking.Count(); ++s) {
        if (Hundredths(ranking.Object(s)) != key) continue;
        RemoveCandidate(world, ranking.Take(s));
        removed = true;
        break;
      }
    }
  }

  // Chance survivors go to the front under the key of length 0.
  int p = KEPT_SHORTEST;
  for (int k = 0; k < CHANCE_SURVIVORS && ranking.Count() > p; ++k) {
    int i = p + RandomBelow(ranking.Count() - p);
    ranking.Add(NumberKey("", 0.0), ranking.Take(i));
    ++p;
  }

  while (ranking.Count() > p) RemoveCandidate(world, ranking.Take(p));

  const int d = MainScene->CollectObjects("qbuilding", false, nullptr);
  const int survivors = ranking.Count();
  if (survivors >= 2) PrepareHouseGenome(d);
  for (int r = 0; r < survivors; ++r)
    for (int s = r + 1; s < survivors; ++s)
      Breed(world, *EntryOf(ranking.Object(r)), *EntryOf(ranking.Object(s)), d);
}
