// What the lab writes: the per-generation figures as CSV and a hand-written
// SVG plot of the convergence (tour lengths above, edge diversity below).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/lab/lab.h"

// One row per seed and generation:
// seed,generation,candidates,best,mean,worst,diversity
void WriteCsv(std::ostream& out, const std::vector<SeedRun>& runs);

struct PlotInfo {
  std::string title;  // shown as is, after making it safe for XML
  std::string subtitle;
  float optimal = 0.0f;  // drawn as a dashed line when hasOptimal
  bool hasOptimal = false;
};

// Best, mean and worst length per generation, averaged over the seeds with
// the range over the seeds as a band, and the diversity the same way. All
// runs must have the same number of generations.
void WritePlot(std::ostream& out, const std::vector<SeedRun>& runs, const PlotInfo& info);

// Tick positions for an axis over [low, high]: about `target` round values
// (1, 2 or 5 times a power of ten apart), every one within the range.
std::vector<double> AxisTicks(double low, double high, int target);
