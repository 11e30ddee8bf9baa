// The scripted runner's picture of the running program as JSON: clock and
// hold-off, houses, candidates, labels, both panels, the logo, and what the
// run recorded (message boxes, started command lines, Ouit). Read between
// frames only.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

struct RecordedBox {
  int frame = 0;
  std::string text;
  std::string caption;
  unsigned flags = 0;
};

struct RecordedStart {
  int frame = 0;
  std::string command;
};

struct RunRecord {
  int frames = 0;  // frames run so far
  bool quit = false;
  std::vector<RecordedBox> boxes;
  std::vector<RecordedStart> starts;
};

// "0xAARRGGBB".
std::string ColourText(uint32_t colour);

nlohmann::ordered_json DescribeProgram(const RunRecord& run);
