// The scripted runner's language: one command per line, "#" starts a
// comment. ParseScript turns any bytes into a list of commands or one error
// naming the first bad line; it never throws and never reads past the text.
//
//   seed N          random seed, before the first "frames" (0 .. 4294967295)
//   delta S         seconds every following frame lasts (0 < S <= 10)
//   move X Y        mouse position in window pixels
//   down|up|click B button left, right or middle; click = down and up in one frame
//   keydown|keyup K key a-z, 0-9, backspace, tab, enter, escape, space
//   frames N        run N frames (0 .. 1000000)
//   shot FILE       write the last rendered frame as PNG
//   dump FILE       write the program state as JSON
//
// Held buttons and keys stay held until "up"/"keyup", except that a message
// box takes them, as a real one does: press again after it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace script {

enum class Op { Seed, Delta, Move, Down, Up, Click, Frames, Shot, Dump };

struct Command {
  Op op = Op::Frames;
  int line = 0;  // 1-based line of the script
  uint32_t seed = 0;
  float seconds = 0.0f;
  float x = 0.0f, y = 0.0f;
  int key = 0;       // engine key code (gfx/engine.h) of a button or key
  int count = 0;     // frames
  std::string path;  // shot and dump
};

struct ParseResult {
  std::vector<Command> commands;
  int errorLine = 0;  // 0 when the script is good
  std::string error;  // what is wrong with that line
  bool Ok() const { return errorLine == 0; }
};

inline constexpr int MAX_FRAMES = 1000000;
inline constexpr float MAX_DELTA = 10.0f;
inline constexpr float MAX_COORDINATE = 100000.0f;

ParseResult ParseScript(std::string_view text);

// The name a key code is written with in a script ("f", "left"), or "".
std::string KeyName(int key);

}  // namespace script
