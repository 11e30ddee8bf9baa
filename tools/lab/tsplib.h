// Readers for TSPLIB text: a symmetric EUC_2D instance (NODE_COORD_SECTION)
// and an optimal-tour file (TOUR_SECTION). Both take any bytes and either
// fill their result or return false with a one-line message saying what is
// wrong and where; they never throw and never read past the text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The most cities the map takes: the program's own house limit.
inline constexpr int TSP_MAX_CITIES = 200;
// Coordinates beyond this magnitude are refused, so that spans and scaled
// positions stay finite and meaningful in single precision.
inline constexpr double TSP_MAX_COORDINATE = 1e12;

struct TspCity {
  long id = 0;  // the node id of the file (usually 1 .. n)
  double x = 0.0;
  double y = 0.0;
};

struct TspInstance {
  std::string name;
  std::vector<TspCity> cities;  // in the order of NODE_COORD_SECTION
};

// Parses a .tsp file. On failure `instance` is left empty and `error` says why.
bool ParseTsp(std::string_view text, TspInstance* instance, std::string* error);

// Parses a .tour file against an instance: the first tour of TOUR_SECTION,
// node ids ending with -1 or the end of the text, which must visit every
// city of the instance exactly once. `order` receives indexes into
// instance.cities.
bool ParseTour(std::string_view text, const TspInstance& instance, std::vector<int>* order,
               std::string* error);

// Reads a whole file; false with a message when it cannot be read.
bool ReadTextFile(const std::string& path, std::string* text, std::string* error);
