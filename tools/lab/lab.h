// The solver lab: runs the program's own genetic algorithm headlessly on a
// fixed set of cities — the same scene, world, Evolve and tour measurement
// as the program, with a frame's measurement between any two steps — and
// records how the population converges.
//
// The engine is the fake one with drawing only counted, so a run costs the
// solver's work and the bookkeeping of the lines, nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/lab/tsplib.h"

struct LabPoint {
  float x = 0.0f;
  float y = 0.0f;
};

// The space kept free along each edge of the map when an instance is scaled.
inline constexpr float LAB_MARGIN = 40.0f;

// Scales the cities uniformly (one factor for both axes) into the 960 x 960
// map, leaving `margin` free on every side and centring the narrower axis.
// Cities that all share one point go to the map's centre.
std::vector<LabPoint> ScaleToMap(const TspInstance& instance, float margin = LAB_MARGIN);

// The closed tour's length measured as the program measures a candidate:
// PointDistance per leg, summed in single precision.
float MeasureTour(const std::vector<LabPoint>& points, const std::vector<int>& order);

// The share of distinct undirected edges among all edges of the tours
// (each tour a permutation of 0 .. n-1, closed): 1 when no two tours share
// an edge, 1/m when all m tours are the same.
double EdgeDiversity(const std::vector<std::vector<int>>& tours);

struct GenerationStats {
  int generation = 0;  // 0: the random population before the first step
  int candidates = 0;
  float best = 0.0f;
  double mean = 0.0;
  float worst = 0.0f;
  double diversity = 0.0;
};

struct SeedRun {
  uint32_t seed = 0;
  std::vector<GenerationStats> history;  // generations 0 .. G
  float best = 0.0f;                     // shortest candidate after the last step
  std::vector<int> bestTour;             // its tour, as indexes of the given points
  double secondsPerGeneration = 0.0;     // one Evolve plus one measurement
  double secondsEvolving = 0.0;          // the Evolve part of it
};

// The headless program state: the fake engine with drawing counted only,
// MainScene with the house and tour graphics. Made once per process.
bool StartLab(std::string* error);
void StopLab();

// Empties the world, places the points as houses (directly: the spacing rule
// of the mouse is for people, not for imported cities), makes the first
// random population from `seed`, measures it, then runs `generations` steps,
// measuring after each.
SeedRun RunSeed(const std::vector<LabPoint>& points, uint32_t seed, int generations);
