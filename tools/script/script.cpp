// Parsing of runner scripts. Numbers are read with a strict grammar before
// conversion, so "nan", "inf", hex floats and overlong digit runs are
// refused instead of turning into surprising values.
#include "tools/script/script.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "gfx/engine.h"

namespace script {
namespace {

struct NamedKey {
  const char* name;
  int key;
};

constexpr NamedKey BUTTONS[] = {
    {"left", KEY_LBUTTON}, {"right", KEY_RBUTTON}, {"middle", KEY_MBUTTON}};
constexpr NamedKey KEYS[] = {{"backspace", KEY_BACKSPACE},
                             {"tab", KEY_TAB},
                             {"enter", KEY_ENTER},
                             {"escape", KEY_ESCAPE},
                             {"space", KEY_SPACE}};

// Tokens longer than this are never a valid number or name.
constexpr size_t MAX_TOKEN = 64;
// How much of an offending token an error message quotes.
constexpr size_t QUOTE_LIMIT = 32;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The token as it may be shown in a message: bounded, non-printable bytes
// escaped.
std::string Quote(std::string_view token) {
  std::string out = "'";
  for (size_t i = 0; i < token.size() && i < QUOTE_LIMIT; ++i) {
    const unsigned char c = static_cast<unsigned char>(token[i]);
    if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  if (token.size() > QUOTE_LIMIT) out += "...";
  return out + "'";
}

std::vector<std::string_view> SplitTokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

bool ParseUnsigned(std::string_view token, uint64_t limit, uint64_t* value) {
  if (token.empty() || token.size() > 20) return false;
  uint64_t v = 0;
  for (char c : token) {
    if (!IsDigit(c)) return false;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (v > (limit - digit) / 10) return false;
    v = v * 10 + digit;
  }
  *value = v;
  return true;
}

// [+-] digits [. digits] [e [+-] digits], with at least one mantissa digit.
bool HasRealGrammar(std::string_view t) {
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == t.size();
}

bool ParseReal(std::string_view token, double* value) {
  if (token.empty() || token.size() > MAX_TOKEN || !HasRealGrammar(token)) return false;
  // from_chars takes no leading '+'.
  if (token[0] == '+') token.remove_prefix(1);
  double v = 0.0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), v);
  if (error != std::errc() || end != token.data() + token.size() || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

bool FindKey(const NamedKey* table, size_t size, std::string_view name, int* key) {
  for (size_t i = 0; i < size; ++i) {
    if (name == table[i].name) {
      *key = table[i].key;
      return true;
    }
  }
  return false;
}

bool ParseButton(std::string_view name, int* key) {
  return FindKey(BUTTONS, std::size(BUTTONS), name, key);
}

bool ParseKey(std::string_view name, int* key) {
  if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') {
    *key = KEY_A + (name[0] - 'a');
    return true;
  }
  if (name.size() == 1 && IsDigit(name[0])) {
    *key = KEY_0 + (name[0] - '0');
    return true;
  }
  return FindKey(KEYS, std::size(KEYS), name, key);
}

// The rest of the line after the command word, without surrounding blanks.
std::string_view RestAfter(std::string_view line, std::string_view word) {
  std::string_view rest = line.substr(static_cast<size_t>(word.data() + word.size() - line.data()));
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
  return rest;
}

class LineParser {
 public:
  LineParser(std::string_view line, int number, bool framesSeen)
      : line_(line), number_(number), framesSeen_(framesSeen) {}

  // Appends the line's command (if any) or sets *error.
  bool Parse(std::vector<Command>* out, std::string* error) {
    for (char c : line_) {
      const unsigned char u = static_cast<unsigned char>(c);
      if (u < 32 && c != '\t' && c != '\r') return Fail(error, "control character in the line");
      if (u == 127) return Fail(error, "control character in the line");
    }
    const std::vector<std::string_view> tokens = SplitTokens(line_);
    if (tokens.empty()) return true;
    const std::string_view word = tokens[0];
    const size_t args = tokens.size() - 1;
    Command cmd;
    cmd.line = number_;

    if (word == "seed") {
      if (args != 1) return Fail(error, "seed takes one number");
      uint64_t v = 0;
      if (!ParseUnsigned(tokens[1], std::numeric_limits<uint32_t>::max(), &v))
        return Fail(error,
                    "seed must be a whole number from 0 to 4294967295, not " + Quote(tokens[1]));
      if (framesSeen_) return Fail(error, "seed must come before the first frames");
      cmd.op = Op::Seed;
      cmd.seed = static_cast<uint32_t>(v);
    } else if (word == "delta") {
      if (args != 1) return Fail(error, "delta takes one number of seconds");
      double v = 0.0;
      if (!ParseReal(tokens[1], &v) || !(v > 0.0) || v > MAX_DELTA)
        return Fail(error, "delta must be a number of seconds above 0 and at most 10, not " +
                               Quote(tokens[1]));
      cmd.op = Op::Delta;
      cmd.seconds = static_cast<float>(v);
      if (!(cmd.seconds > 0.0f)) return Fail(error, "delta is too small: " + Quote(tokens[1]));
    } else if (word == "move") {
      if (args != 2) return Fail(error, "move takes two numbers, X and Y");
      double x = 0.0, y = 0.0;
      for (int i = 0; i < 2; ++i) {
        double* v = i == 0 ? &x : &y;
        if (!ParseReal(tokens[1 + i], v) || std::fabs(*v) > MAX_COORDINATE)
          return Fail(error,
                      "move needs coordinates from -100000 to 100000, not " + Quote(tokens[1 + i]));
      }
      cmd.op = Op::Move;
      cmd.x = static_cast<float>(x);
      cmd.y = static_cast<float>(y);
    } else if (word == "down" || word == "up" || word == "click") {
      if (args != 1)
        return Fail(error, std::string(word) + " takes one button: left, right or middle");
      if (!ParseButton(tokens[1], &cmd.key))
        return Fail(error, "unknown button " + Quote(tokens[1]) + " (left, right or middle)");
      cmd.op = word == "down" ? Op::Down : word == "up" ? Op::Up : Op::Click;
    } else if (word == "keydown" || word == "keyup") {
      if (args != 1) return Fail(error, std::string(word) + " takes one key");
      if (!ParseKey(tokens[1], &cmd.key))
        return Fail(error, "unknown key " + Quote(tokens[1]) +
                               " (a-z, 0-9, backspace, tab, enter, escape, space)");
      cmd.op = word == "keydown" ? Op::Down : Op::Up;
    } else if (word == "frames") {
      if (args != 1) return Fail(error, "frames takes one number");
      uint64_t v = 0;
      if (!ParseUnsigned(tokens[1], MAX_FRAMES, &v))
        return Fail(error,
                    "frames must be a whole number from 0 to 1000000, not " + Quote(tokens[1]));
      cmd.op = Op::Frames;
      cmd.count = static_cast<int>(v);
    } else if (word == "shot" || word == "dump") {
      const std::string_view path = RestAfter(line_, word);
      if (path.empty()) return Fail(error, std::string(word) + " takes a file name");
      cmd.op = word == "shot" ? Op::Shot : Op::Dump;
      cmd.path = std::string(path);
    } else {
      return Fail(error, "unknown command " + Quote(word));
    }
    out->push_back(std::move(cmd));
    return true;
  }

 private:
  static bool Fail(std::string* error, const std::string& message) {
    *error = message;
    return false;
  }

  std::string_view line_;
  int number_;
  bool framesSeen_;
};

}  // namespace

ParseResult ParseScript(std::string_view text) {
  ParseResult result;
  bool framesSeen = false;
  int number = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    // A script longer than this many lines cannot be numbered; refuse it.
    if (number == std::numeric_limits<int>::max()) {
      result.errorLine = number;
      result.error = "the script has too many lines";
      result.commands.clear();
      return result;
    }
    ++number;
    const size_t hash = line.find('#');
    if (hash != std::string_view::npos) line = line.substr(0, hash);
    std::string error;
    LineParser parser(line, number, framesSeen);
    if (!parser.Parse(&result.commands, &error)) {
      result.errorLine = number;
      result.error = error;
      result.commands.clear();
      return result;
    }
    if (!result.commands.empty() && result.commands.back().line == number &&
        result.commands.back().op == Op::Frames)
      framesSeen = true;
  }
  return result;
}

std::string KeyName(int key) {
  for (const NamedKey& b : BUTTONS)
    if (b.key == key) return b.name;
  for (const NamedKey& k : KEYS)
    if (k.key == key) return k.name;
  if (key >= KEY_A && key <= KEY_Z) return std::string(1, static_cast<char>('a' + (key - KEY_A)));
  if (key >= KEY_0 && key <= KEY_9) return std::string(1, static_cast<char>('0' + (key - KEY_0)));
  return "";
}

}  // namespace script
