// Fuzz target: the lab's TSPLIB readers. The bytes are read as an instance
// and as a tour (against the instance they define, or a small fixed one when
// they define none). A success must give 2..200 distinct cities with finite
// coordinates, or a tour that visits every city once; a failure must leave
// the result empty and say why in one line.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tools/lab/tsplib.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "tsplib fuzz: %s\n", what);
  std::abort();
}

void CheckMessage(const std::string& error) {
  Check(!error.empty(), "a failure without a message");
  Check(error.find('\n') == std::string::npos, "a message of more than one line");
}

TspInstance SquareInstance() {
  TspInstance square;
  square.cities = {{1, 0, 0}, {2, 10, 0}, {3, 10, 10}, {4, 0, 10}};
  return square;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  TspInstance instance;
  instance.name = "left over";
  std::string error;
  if (ParseTsp(text, &instance, &error)) {
    const size_t n = instance.cities.size();
    Check(n >= 2 && n <= static_cast<size_t>(TSP_MAX_CITIES), "a city count out of range");
    std::set<long> ids;
    for (const TspCity& c : instance.cities) {
      Check(ids.insert(c.id).second, "a node id twice");
      Check(std::isfinite(c.x) && std::isfinite(c.y), "a coordinate that is not finite");
      Check(std::fabs(c.x) <= TSP_MAX_COORDINATE && std::fabs(c.y) <= TSP_MAX_COORDINATE,
            "a coordinate beyond the limit");
    }
  } else {
    CheckMessage(error);
    Check(instance.cities.empty() && instance.name.empty(), "a failed read left an instance");
  }

  const TspInstance against = instance.cities.empty() ? SquareInstance() : instance;
  std::vector<int> order = {7};
  error.clear();
  if (ParseTour(text, against, &order, &error)) {
    const int n = static_cast<int>(against.cities.size());
    Check(static_cast<int>(order.size()) == n, "a tour that misses cities");
    std::vector<bool> seen(static_cast<size_t>(n), false);
    for (int i : order) {
      Check(i >= 0 && i < n, "a tour index out of range");
      Check(!seen[static_cast<size_t>(i)], "a city visited twice");
      seen[static_cast<size_t>(i)] = true;
    }
  } else {
    CheckMessage(error);
    Check(order.empty(), "a failed read left a tour");
  }
  return 0;
}
