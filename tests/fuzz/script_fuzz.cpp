// Fuzz target: the scripted runner's script parser. Any bytes give either
// commands within the language's limits, or no commands and one error on a
// line of the text. A good script written back out, one command a line,
// must parse again to the same commands.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/script/script.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "script fuzz: %s\n", what);
  std::abort();
}

bool IsButton(int key) {
  const std::string name = script::KeyName(key);
  return name == "left" || name == "right" || name == "middle";
}

std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

std::string Write(const script::Command& c) {
  using script::Op;
  switch (c.op) {
    case Op::Seed:
      return "seed " + std::to_string(c.seed);
    case Op::Delta:
      return "delta " + Number(c.seconds);
    case Op::Move:
      return "move " + Number(c.x) + " " + Number(c.y);
    case Op::Down:
      return (IsButton(c.key) ? "down " : "keydown ") + script::KeyName(c.key);
    case Op::Up:
      return (IsButton(c.key) ? "up " : "keyup ") + script::KeyName(c.key);
    case Op::Click:
      return "click " + script::KeyName(c.key);
    case Op::Frames:
      return "frames " + std::to_string(c.count);
    case Op::Shot:
      return "shot " + c.path;
    case Op::Dump:
      return "dump " + c.path;
  }
  return "";
}

bool Same(const script::Command& a, const script::Command& b) {
  return a.op == b.op && a.seed == b.seed && a.seconds == b.seconds && a.x == b.x && a.y == b.y &&
         a.key == b.key && a.count == b.count && a.path == b.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const script::ParseResult result = script::ParseScript(text);
  if (!result.Ok()) {
    Check(result.commands.empty(), "commands next to an error");
    Check(!result.error.empty() && result.error.find('\n') == std::string::npos,
          "an error that is not one line");
    long lines = 1;
    for (char c : text) lines += c == '\n';
    Check(result.errorLine >= 1 && result.errorLine <= lines, "an error on no line of the text");
    return 0;
  }

  int lastLine = 0;
  bool framesSeen = false;
  std::string written;
  for (const script::Command& c : result.commands) {
    Check(c.line > lastLine, "command lines out of order");
    lastLine = c.line;
    switch (c.op) {
      case script::Op::Seed:
        Check(!framesSeen, "a seed after frames");
        break;
      case script::Op::Delta:
        Check(c.seconds > 0.0f && c.seconds <= script::MAX_DELTA, "a delta out of range");
        break;
      case script::Op::Move:
        Check(std::isfinite(c.x) && std::isfinite(c.y) &&
                  std::fabs(c.x) <= script::MAX_COORDINATE &&
                  std::fabs(c.y) <= script::MAX_COORDINATE,
              "a position out of range");
        break;
      case script::Op::Down:
      case script::Op::Up:
      case script::Op::Click:
        Check(!script::KeyName(c.key).empty(), "a key without a name");
        if (c.op == script::Op::Click) Check(IsButton(c.key), "a click of a key");
        break;
      case script::Op::Frames:
        Check(c.count >= 0 && c.count <= script::MAX_FRAMES, "a frame count out of range");
        framesSeen = true;
        break;
      case script::Op::Shot:
      case script::Op::Dump:
        Check(!c.path.empty() && c.path.find('\n') == std::string::npos, "a bad file name");
        break;
    }
    written += Write(c) + "\n";
  }

  const script::ParseResult again = script::ParseScript(written);
  Check(again.Ok(), "a good script written out does not parse");
  Check(again.commands.size() == result.commands.size(), "written out, the count changed");
  for (size_t i = 0; i < again.commands.size(); ++i)
    Check(Same(again.commands[i], result.commands[i]), "written out, a command changed");
  return 0;
}
