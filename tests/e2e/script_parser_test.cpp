// The runner's script parser: what each command becomes, which lines are
// refused (and that the error names the right line), and that no input
// bytes can crash it or slip through as a half-parsed script.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "gfx/engine.h"
#include "tools/script/script.h"

namespace {

using script::Command;
using script::Op;
using script::ParseScript;

TEST(ScriptParser, EachCommandBecomesItsOperation) {
  const struct {
    const char* line;
    Op op;
    float seconds, x, y;
    int key, count;
    uint32_t seed;
    const char* path;
  } cases[] = {
      {"seed 4294967295", Op::Seed, 0, 0, 0, 0, 0, 4294967295u, ""},
      {"delta 0.4", Op::Delta, 0.4f, 0, 0, 0, 0, 0, ""},
      {"delta 1e-3", Op::Delta, 0.001f, 0, 0, 0, 0, 0, ""},
      {"move -12.5 +960", Op::Move, 0, -12.5f, 960.0f, 0, 0, 0, ""},
      {"move .5 5.", Op::Move, 0, 0.5f, 5.0f, 0, 0, 0, ""},
      {"down left", Op::Down, 0, 0, 0, KEY_LBUTTON, 0, 0, ""},
      {"up right", Op::Up, 0, 0, 0, KEY_RBUTTON, 0, 0, ""},
      {"click middle", Op::Click, 0, 0, 0, KEY_MBUTTON, 0, 0, ""},
      {"keydown f", Op::Down, 0, 0, 0, KEY_F, 0, 0, ""},
      {"keyup backspace", Op::Up, 0, 0, 0, KEY_BACKSPACE, 0, 0, ""},
      {"keydown 9", Op::Down, 0, 0, 0, KEY_9, 0, 0, ""},
      {"frames 1000000", Op::Frames, 0, 0, 0, 0, 1000000, 0, ""},
      {"frames 0", Op::Frames, 0, 0, 0, 0, 0, 0, ""},
      {"shot out/start.png", Op::Shot, 0, 0, 0, 0, 0, 0, "out/start.png"},
      {"dump   my state.json  ", Op::Dump, 0, 0, 0, 0, 0, 0, "my state.json"},
      {"\t frames\t3 # three frames", Op::Frames, 0, 0, 0, 0, 3, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto result = ParseScript(c.line);
    ASSERT_TRUE(result.Ok()) << result.error;
    ASSERT_EQ(result.commands.size(), 1u);
    const Command& cmd = result.commands[0];
    EXPECT_EQ(cmd.op, c.op);
    EXPECT_EQ(cmd.line, 1);
    EXPECT_FLOAT_EQ(cmd.seconds, c.seconds);
    EXPECT_FLOAT_EQ(cmd.x, c.x);
    EXPECT_FLOAT_EQ(cmd.y, c.y);
    EXPECT_EQ(cmd.key, c.key);
    EXPECT_EQ(cmd.count, c.count);
    EXPECT_EQ(cmd.seed, c.seed);
    EXPECT_EQ(cmd.path, c.path);
  }
}

TEST(ScriptParser, CommentsBlankLinesAndLineEndingsKeepTheLineNumbers) {
  const auto result = ParseScript("# a session\r\n\r\nseed 3\r\n   \n\tframes 2 # go\nkeydown f");
  ASSERT_TRUE(result.Ok()) << result.error;
  ASSERT_EQ(result.commands.size(), 3u);
  EXPECT_EQ(result.commands[0].line, 3);
  EXPECT_EQ(result.commands[1].line, 5);
  EXPECT_EQ(result.commands[1].count, 2);
  EXPECT_EQ(result.commands[2].line, 6);
  EXPECT_TRUE(ParseScript("").Ok());
  EXPECT_TRUE(ParseScript("").commands.empty());
}

TEST(ScriptParser, BadLinesAreRefusedWithTheirNumber) {
  using namespace std::string_literals;
  const struct {
    std::string text;
    int line;
    const char* says;
  } cases[] = {
      {"fly", 1, "unknown command"},
      {"FRAMES 1", 1, "unknown command"},
      {"frames 1\nframes", 2, "frames takes one number"},
      {"frames 1 2", 1, "frames takes one number"},
      {"frames -1", 1, "whole number"},
      {"frames 1000001", 1, "whole number"},
      {"frames 99999999999999999999999", 1, "whole number"},
      {"frames 1.5", 1, "whole number"},
      {"seed -1", 1, "seed"},
      {"seed 4294967296", 1, "seed"},
      {"frames 1\nseed 2", 2, "before the first frames"},
      {"delta 0", 1, "delta"},
      {"delta -0.02", 1, "delta"},
      {"delta 10.5", 1, "delta"},
      {"delta nan", 1, "delta"},
      {"delta inf", 1, "delta"},
      {"delta 0x1p-3", 1, "delta"},
      {"delta 1e-50", 1, "delta"},
      {"move 1e999 0", 1, "coordinates"},
      {"move NaN 0", 1, "coordinates"},
      {"move 100001 0", 1, "coordinates"},
      {"move 1", 1, "two numbers"},
      {"move 1,2 3", 1, "coordinates"},
      {"down", 1, "one button"},
      {"down f", 1, "unknown button"},
      {"keydown left", 1, "unknown key"},
      {"keydown F", 1, "unknown key"},
      {"shot", 1, "file name"},
      {"dump   # nothing", 1, "file name"},
      {"frames 1\n\n\nframes 2\x01", 4, "control character"},
      {"shot a\0b.png"s, 1, "control character"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto result = ParseScript(c.text);
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.errorLine, c.line);
    EXPECT_NE(result.error.find(c.says), std::string::npos) << result.error;
    EXPECT_TRUE(result.commands.empty()) << "a refused script must not run in part";
  }
}

TEST(ScriptParser, MessagesQuoteLongOrBinaryTokensBriefly) {
  const std::string token(100000, 'x');
  const auto result = ParseScript(token + "\n");
  ASSERT_FALSE(result.Ok());
  EXPECT_EQ(result.errorLine, 1);
  EXPECT_LT(result.error.size(), 120u);
  const auto binary = ParseScript("frames \xff\xfe");
  ASSERT_FALSE(binary.Ok());
  EXPECT_NE(binary.error.find("\\xFF\\xFE"), std::string::npos) << binary.error;
}

TEST(ScriptParser, AnyBytesGiveCommandsOrOneErrorInsideTheScript) {
  std::mt19937 random(12345);
  const std::string pieces[] = {"frames ", "move ", "delta ", "seed ", "down ", "shot ",
                                "#",       "\n",    " ",      "1",     "-",     "e",
                                ".",       "nan",   "left",   "f",     "\r\n",  "9999999999"};
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) {
      if (random() % 3 == 0)
        text += static_cast<char>(random() % 256);
      else
        text += pieces[random() % std::size(pieces)];
    }
    const auto result = ParseScript(text);
    int lines = 1;
    for (char ch : text) lines += ch == '\n';
    if (result.Ok()) {
      for (const Command& c : result.commands) {
        EXPECT_GE(c.line, 1);
        EXPECT_LE(c.line, lines);
        EXPECT_TRUE(std::isfinite(c.seconds) && std::isfinite(c.x) && std::isfinite(c.y));
        EXPECT_GE(c.count, 0);
        EXPECT_LE(c.count, script::MAX_FRAMES);
      }
    } else {
      EXPECT_GE(result.errorLine, 1);
      EXPECT_LE(result.errorLine, lines);
      EXPECT_FALSE(result.error.empty());
    }
  }
}

}  // namespace
