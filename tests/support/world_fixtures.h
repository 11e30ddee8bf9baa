// Solver scenarios shared by the tests, the benchmarks and the lab: a fresh
// MainScene with the program's three graphics, a working SmallFont, an empty
// World and CandidatePanel, houses placed at legal positions, the lengths
// measured as the tour drawing measures them, and the population grown by
// Evolve. It runs on the fake engine and needs no test framework.
//
//   SolverScenario scenario;
//   scenario.SetUp(7);               // seeds the program's random source
//   scenario.PlaceHouses(200, 7);    // then one ResetPaths: 15 random tours
//   scenario.GrowPopulation();       // measure, Evolve, measure: 45 candidates
//   ...
//   scenario.TearDown();
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/engine.h"
#include "solver/world.h"

// Frame and hot spot of the house and candidate graphics, as at start-up.
inline constexpr float HOUSE_FRAME = 24.0f;
inline constexpr float HOUSE_HOT_X = 12.0f;
inline constexpr float HOUSE_HOT_Y = 14.0f;
// Where PlaceHouses puts houses: inside the map, clear of the link row at
// the bottom, and more than the 32 px spacing apart.
inline constexpr float PLACE_MARGIN = 20.0f;
inline constexpr float PLACE_BOTTOM = 920.0f;
inline constexpr float PLACE_SPACING = 33.0f;
// The population an Evolve step settles at.
inline constexpr int FULL_POPULATION = 45;

class SolverScenario {
 public:
  // Registers the textures in the fake engine, takes an engine reference,
  // makes MainScene (logo, "qbuilding", "qpath"), SmallFont, and empties the
  // World, TemplateGenome and CandidatePanel (placed at (965, 5), visible).
  // The clock and hold-off start at 0. Seeds the program's random source.
  void SetUp(uint32_t seed = 1);
  // Gives back everything SetUp made; the program-wide objects end empty.
  void TearDown();

  // n houses at distinct positions, each more than 32 px from the others
  // (drawn from their own generator, seeded with `seed`; the program's random
  // source is untouched), added with AddBuilding, then one ResetPaths.
  // Returns the positions in order of addition.
  std::vector<std::pair<float, float>> PlaceHouses(int n, uint32_t seed);
  // Adds one house where asked (no spacing rule), then ResetPaths.
  QPATHDATA* AddHouse(float x, float y);

  // The program's tour drawing (DrawTours), which measures every
  // candidate's closed tour, stores its length and marks the shortest. Its
  // lines go to the fake engine (set recordDrawing false to only count).
  void MeasureLengths();
  // `steps` times: measure, Evolve, measure (a frame is drawn between any
  // two steps). Returns the number of candidates afterwards.
  int GrowPopulation(int steps = 1);

  // One FrameUpdate as the world sees it: EditBuildings at the fake mouse,
  // then the tour measuring, then the clock advances by the fake's delta.
  void EditFrame(bool leftAddsHouses = true);

  // The candidates (owner entries) and houses in the scene's order, newest
  // first.
  std::vector<QPATHDATA*> Candidates() const;
  std::vector<QPATHDATA*> Houses() const;
  int CandidateCount() const { return static_cast<int>(Candidates().size()); }
  int HouseCount() const { return static_cast<int>(Houses().size()); }

  HTEXTURE houseTexture = 0, pathTexture = 0, logoTexture = 0;

 private:
  bool ownsEngine = false;
};

// True when the genes are a permutation of 0 .. n-1 (and there are n).
bool IsPermutation(const QUEN_DATA& genes, int n);
