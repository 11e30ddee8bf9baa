// Helpers for the end-to-end tests of the scripted runner: run
// quenpath-script on a script in a scratch directory, read back its JSON
// dumps and PNG shots, write the usual script steps, and classify the
// pixels of a shot (tour lines, houses).
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// One PNG read back as 0xAARRGGBB pixels, rows top down.
struct Shot {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool Empty() const { return pixels.empty(); }
};

class ScriptSession {
 public:
  // A fresh scratch directory; removed again unless the test failed.
  ScriptSession();
  ~ScriptSession();
  ScriptSession(const ScriptSession&) = delete;
  ScriptSession& operator=(const ScriptSession&) = delete;

  const std::string& Directory() const { return dir_; }
  std::string File(const std::string& name) const { return dir_ + "/" + name; }

  // Writes the script to a file and runs the runner on it with the scratch
  // directory as working directory (so "dump x.json" lands there). With
  // viaStdin the script goes in on standard input ("-"). Returns the exit
  // code, or -1 when the runner could not be started or was killed.
  int Run(const std::string& script, bool viaStdin = false);
  // The same with another runner binary (a copy placed elsewhere).
  int RunWith(const std::string& runner, const std::string& script, bool viaStdin = false);
  // What the last run wrote to standard error.
  const std::string& Errors() const { return errors_; }

  // A dump of the last run; a null value (and a test failure) when missing
  // or unreadable.
  nlohmann::json Json(const std::string& name) const;
  Shot Picture(const std::string& name) const;

 private:
  std::string dir_;
  std::string errors_;
};

// The runner binary under test.
std::string RunnerPath();

// Script steps.
std::string MoveTo(float x, float y);
// Holds the left button for two frames at (x, y), then waits out the
// input hold-off: a house is added if the spot is free.
std::string AddHouseAt(float x, float y);
// Moves to the centre of an item's screen bounds (as dumped), lets one frame
// pass, then clicks left quickly; the click happens in the next frame run.
std::string ClickItem(const nlohmann::json& item);
// The centre of a dumped item's bounds.
struct Point {
  float x = 0, y = 0;
};
Point ItemCentre(const nlohmann::json& item);
// The dumped item with that name in a list of items; null when absent.
nlohmann::json FindByName(const nlohmann::json& items, const std::string& name);

// ---- Pixels ----------------------------------------------------------------

inline int Red(uint32_t p) {
  return static_cast<int>((p >> 16) & 0xFF);
}
inline int Green(uint32_t p) {
  return static_cast<int>((p >> 8) & 0xFF);
}
inline int Blue(uint32_t p) {
  return static_cast<int>(p & 0xFF);
}

enum class LineKind { None, Faint, Yellow, Cyan };
// Tour lines on the black map: faint yellow (alpha 16, stacking), full
// yellow or cyan.
LineKind ClassifyLinePixel(uint32_t p);

struct Segment {
  float x1, y1, x2, y2;
};
// The closed tour of a dumped candidate over dumped houses: gene k names the
// k-th house when the houses are ordered by the decimal text of their ids.
std::vector<Segment> TourSegments(const nlohmann::json& candidate, const nlohmann::json& houses);

// Where line pixels are counted: the map above the link strip, away from the
// house icons (which are drawn over the lines).
bool InLineArea(int x, int y, const nlohmann::json& houses);

struct LineCount {
  int faint = 0, yellow = 0, cyan = 0;
  int offTour = 0;  // line pixels farther than 1.5 px from every segment given
};
LineCount CountLines(const Shot& shot, const nlohmann::json& houses,
                     const std::vector<Segment>& tour = {});
// Share (0..1) of the points along the tour, inside the line area, that have
// a line pixel of the given kind within one pixel.
double TourCoverage(const Shot& shot, const nlohmann::json& houses,
                    const std::vector<Segment>& tour, LineKind kind);
