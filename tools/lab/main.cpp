// quenpath-lab: runs the program's solver headlessly on a TSPLIB instance
// for a number of generations and seeds, writes the figures (CSV, SVG plot)
// and compares the shortest candidate with the optimal tour.
//
//   quenpath-lab berlin52.tsp --generations 2000 --seeds 3
//                --opt berlin52.opt.tour --csv run.csv --plot run.svg
//
// Exit codes: 0 done, 2 a bad option or file (with a message on stderr),
// 1 the headless program could not be set up.
#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tools/lab/lab.h"
#include "tools/lab/report.h"
#include "tools/lab/tsplib.h"

namespace {

constexpr int kBadInput = 2;

int Refuse(const std::string& message) {
  std::cerr << "quenpath-lab: " << message << "\n";
  return kBadInput;
}

std::string Fixed(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (std::filesystem::exists(a, ec) && std::filesystem::exists(b, ec))
    return std::filesystem::equivalent(a, b, ec);
  return std::filesystem::absolute(a, ec).lexically_normal() ==
         std::filesystem::absolute(b, ec).lexically_normal();
}

// Equal lengths give 1 even when both are 0 (all cities on one point).
double Ratio(float best, float optimal) {
  if (optimal > 0.0f) return static_cast<double>(best) / optimal;
  return best <= 0.0f ? 1.0 : INFINITY;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Runs QuenPath's genetic algorithm headlessly on a TSPLIB instance (EUC_2D, "
      "at most 200 cities) and records its convergence.",
      "quenpath-lab"};
  std::string instancePath, optPath, csvPath, plotPath;
  int generations = 1000;
  int seeds = 1;
  unsigned firstSeed = 1;
  bool verbose = false;
  app.add_option("instance", instancePath, "TSPLIB instance (.tsp)")->required();
  app.add_option("-g,--generations", generations, "evolution steps per seed")
      ->capture_default_str()
      ->check(CLI::Range(0, 1000000));
  app.add_option("-s,--seeds", seeds, "number of runs, seeded first-seed, first-seed + 1, ...")
      ->capture_default_str()
      ->check(CLI::Range(1, 1000));
  app.add_option("--first-seed", firstSeed, "seed of the first run")->capture_default_str();
  app.add_option("--opt", optPath, "optimal tour (.opt.tour) to compare the result with");
  app.add_option("--csv", csvPath, "write best, mean, worst and diversity per generation");
  app.add_option("--plot", plotPath, "write an SVG plot of the convergence");
  app.add_flag("-v,--verbose", verbose, "report each seed's time per generation on stderr");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);
    return Refuse(std::string(e.what()) + "\nRun with --help for the options.");
  }

  std::string text, error;
  TspInstance instance;
  if (!ReadTextFile(instancePath, &text, &error)) return Refuse(error);
  if (!ParseTsp(text, &instance, &error)) return Refuse(instancePath + ": " + error);
  std::vector<int> optimalOrder;
  if (!optPath.empty()) {
    if (!ReadTextFile(optPath, &text, &error)) return Refuse(error);
    if (!ParseTour(text, instance, &optimalOrder, &error)) return Refuse(optPath + ": " + error);
  }

  // Outputs are opened before the run, so a wrong path fails at once.
  std::vector<std::string> inputs = {instancePath};
  if (!optPath.empty()) inputs.push_back(optPath);
  for (const std::string* output : {&csvPath, &plotPath}) {
    if (output->empty()) continue;
    for (const std::string& input : inputs)
      if (SameFile(*output, input)) return Refuse(*output + ": would overwrite an input file");
  }
  if (!csvPath.empty() && SameFile(csvPath, plotPath))
    return Refuse("--csv and --plot name the same file");
  std::ofstream csv, plot;
  if (!csvPath.empty()) {
    csv.open(csvPath, std::ios::binary | std::ios::trunc);
    if (!csv) return Refuse(csvPath + ": cannot be written");
  }
  if (!plotPath.empty()) {
    plot.open(plotPath, std::ios::binary | std::ios::trunc);
    if (!plot) return Refuse(plotPath + ": cannot be written");
  }

  if (!StartLab(&error)) {
    std::cerr << "quenpath-lab: " << error << "\n";
    return 1;
  }
  const std::vector<LabPoint> points = ScaleToMap(instance);
  const bool hasOptimal = !optimalOrder.empty();
  const float optimal = hasOptimal ? MeasureTour(points, optimalOrder) : 0.0f;

  std::vector<SeedRun> runs;
  double ratioSum = 0.0;
  for (int k = 0; k < seeds; ++k) {
    SeedRun run = RunSeed(points, firstSeed + static_cast<unsigned>(k), generations);
    std::cout << "seed " << run.seed << " best " << Fixed(run.best, 2);
    if (hasOptimal) {
      double ratio = Ratio(run.best, optimal);
      ratioSum += ratio;
      std::cout << " optimal " << Fixed(optimal, 2) << " ratio " << Fixed(ratio, 4);
    }
    std::cout << "\n";
    if (verbose) {
      const GenerationStats& last = run.history.back();
      std::cerr << "seed " << run.seed << ": " << generations << " generations, "
                << Fixed(run.secondsPerGeneration * 1000.0, 4) << " ms per generation (Evolve "
                << Fixed(run.secondsEvolving * 1000.0, 4) << " ms), " << last.candidates
                << " candidates, diversity " << Fixed(last.diversity, 4) << "\n";
    }
    runs.push_back(std::move(run));
  }
  if (hasOptimal) std::cout << "mean ratio " << Fixed(ratioSum / seeds, 4) << "\n";
  StopLab();

  if (csv.is_open()) {
    WriteCsv(csv, runs);
    csv.close();
    if (!csv) return Refuse(csvPath + ": writing failed");
  }
  if (plot.is_open()) {
    PlotInfo info;
    const std::string name =
        instance.name.empty() ? std::filesystem::path(instancePath).stem().string() : instance.name;
    info.title = name + ": convergence of the genetic algorithm";
    info.subtitle = std::to_string(instance.cities.size()) + " cities, " +
                    std::to_string(generations) + " generations, " + std::to_string(seeds) +
                    (seeds == 1 ? " seed" : " seeds");
    if (hasOptimal) {
      info.hasOptimal = true;
      info.optimal = optimal;
      info.subtitle += "; mean ratio to the optimal tour after the last generation " +
                       Fixed(ratioSum / seeds, 3);
    }
    WritePlot(plot, runs, info);
    plot.close();
    if (!plot) return Refuse(plotPath + ": writing failed");
  }
  return std::cout.good() ? 0 : 1;
}
