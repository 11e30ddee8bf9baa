// TSPLIB readers. The text is split into lines and whitespace-separated
// words by hand and numbers are read with std::from_chars, so nothing depends
// on the locale, no byte can make the reader throw, and every message names
// the line it is about.
#include "tools/lab/tsplib.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsSpace(s[i])) ++i;
    size_t start = i;
    while (i < s.size() && !IsSpace(s[i])) ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

// A word as it may be shown in a message: printable ASCII only, shortened.
std::string Shown(std::string_view s) {
  constexpr size_t kMax = 40;
  std::string out = "'";
  for (size_t i = 0; i < s.size() && i < kMax; ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  }
  if (s.size() > kMax) out += "...";
  return out + "'";
}

bool ParseLong(std::string_view s, long* value) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, *value);
  return !s.empty() && ec == std::errc() && ptr == end;
}

// A finite decimal number (from_chars also reads "inf" and "nan", which are
// refused here by the caller's range check).
bool ParseDouble(std::string_view s, double* value) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty() || s.front() == '+') return false;
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, *value, std::chars_format::general);
  return ec == std::errc() && ptr == end;
}

// Lines are numbered from 1 and have their line feed removed.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {
    // A UTF-8 byte-order mark is harmless; skip it.
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
  }
  bool Next(std::string_view* line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    *line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    ++number_;
    return true;
  }
  int Number() const { return number_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int number_ = 0;
};

// A data line starts with something a number starts with.
bool IsDataLine(std::string_view line) {
  char c = line.front();
  return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

// "KEY : VALUE", "KEY: VALUE" or "KEY VALUE"; the key upper-cased.
void SplitKeyword(std::string_view line, std::string* key, std::string_view* value) {
  size_t colon = line.find(':');
  size_t space = 0;
  while (space < line.size() && !IsSpace(line[space])) ++space;
  size_t cut = std::min(colon, space);
  *key = Upper(Trim(line.substr(0, cut)));
  std::string_view rest = cut < line.size() ? Trim(line.substr(cut)) : std::string_view();
  if (!rest.empty() && rest.front() == ':') rest = Trim(rest.substr(1));
  *value = rest;
}

std::string At(int line) {
  return "line " + std::to_string(line) + ": ";
}

bool Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

}  // namespace

bool ParseTsp(std::string_view text, TspInstance* instance, std::string* error) {
  *instance = TspInstance();
  enum class State { kHeader, kNodes, kSkip } state = State::kHeader;
  long dimension = -1;
  int dimensionLine = 0;
  bool sawSection = false, sawWeightType = false, sawType = false;
  std::map<long, int> idLines;  // node id -> the line it was defined on
  TspInstance result;

  LineReader reader(text);
  std::string_view raw;
  while (reader.Next(&raw)) {
    const int ln = reader.Number();
    std::string_view line = Trim(raw);
    if (line.empty()) continue;

    if (IsDataLine(line)) {
      if (state == State::kSkip) continue;
      if (state == State::kHeader)
        return Fail(error, At(ln) + "numbers outside NODE_COORD_SECTION");
      std::vector<std::string_view> words = Words(line);
      if (words.size() != 3)
        return Fail(error, At(ln) + "expected a node as 'id x y', found " +
                               std::to_string(words.size()) + " fields");
      long id = 0;
      if (!ParseLong(words[0], &id) || id < 1)
        return Fail(error, At(ln) + "node id " + Shown(words[0]) + " is not a positive integer");
      double xy[2];
      for (int k = 0; k < 2; ++k) {
        if (!ParseDouble(words[1 + k], &xy[k]))
          return Fail(error, At(ln) + "coordinate " + Shown(words[1 + k]) + " is not a number");
        if (!std::isfinite(xy[k]) || std::fabs(xy[k]) > TSP_MAX_COORDINATE)
          return Fail(error, At(ln) + "coordinate " + Shown(words[1 + k]) +
                                 " is not a finite number within +-1e12");
      }
      auto [it, added] = idLines.emplace(id, ln);
      if (!added)
        return Fail(error, At(ln) + "node id " + std::to_string(id) + " already defined on line " +
                               std::to_string(it->second));
      if (static_cast<int>(result.cities.size()) >= TSP_MAX_CITIES)
        return Fail(error, At(ln) + "more than " + std::to_string(TSP_MAX_CITIES) +
                               " cities (the map holds at most " + std::to_string(TSP_MAX_CITIES) +
                               ")");
      result.cities.push_back({id, xy[0], xy[1]});
      continue;
    }

    // A keyword line ends any section.
    std::string key;
    std::string_view value;
    SplitKeyword(line, &key, &value);
    state = State::kHeader;
    if (key == "EOF") break;
    if (key == "NAME") {
      result.name = std::string(value.substr(0, 100));
    } else if (key == "TYPE") {
      if (sawType) return Fail(error, At(ln) + "TYPE given twice");
      sawType = true;
      if (Upper(value) != "TSP")
        return Fail(error, At(ln) + "TYPE is " + Shown(value) +
                               ", only symmetric TSP instances can be read");
    } else if (key == "DIMENSION") {
      if (dimension >= 0) return Fail(error, At(ln) + "DIMENSION given twice");
      if (!ParseLong(value, &dimension) || dimension < 0)
        return Fail(error, At(ln) + "DIMENSION " + Shown(value) + " is not a whole number");
      if (dimension < 2)
        return Fail(error, At(ln) + "DIMENSION " + std::to_string(dimension) +
                               ": a tour needs at least 2 cities");
      if (dimension > TSP_MAX_CITIES)
        return Fail(error, At(ln) + "DIMENSION " + std::to_string(dimension) + ": more than " +
                               std::to_string(TSP_MAX_CITIES) + " cities (the map holds at most " +
                               std::to_string(TSP_MAX_CITIES) + ")");
      dimensionLine = ln;
    } else if (key == "EDGE_WEIGHT_TYPE") {
      if (sawWeightType) return Fail(error, At(ln) + "EDGE_WEIGHT_TYPE given twice");
      sawWeightType = true;
      if (Upper(value) != "EUC_2D")
        return Fail(error,
                    At(ln) + "EDGE_WEIGHT_TYPE is " + Shown(value) + ", only EUC_2D is supported");
    } else if (key == "NODE_COORD_TYPE") {
      if (Upper(value) != "TWOD_COORDS")
        return Fail(error, At(ln) + "NODE_COORD_TYPE is " + Shown(value) +
                               ", only TWOD_COORDS is supported");
    } else if (key == "NODE_COORD_SECTION") {
      if (sawSection) return Fail(error, At(ln) + "NODE_COORD_SECTION given twice");
      sawSection = true;
      state = State::kNodes;
    } else if (key == "EDGE_WEIGHT_SECTION") {
      return Fail(error, At(ln) + "explicit edge weights are not supported, only EUC_2D");
    } else if (key.size() > 8 && key.ends_with("_SECTION")) {
      state = State::kSkip;  // display data and the like: not needed here
    }
    // Other keywords (COMMENT, DISPLAY_DATA_TYPE, ...) carry nothing we use.
  }

  if (!sawWeightType) return Fail(error, "EDGE_WEIGHT_TYPE is missing (EUC_2D expected)");
  if (dimension < 0) return Fail(error, "DIMENSION is missing");
  if (!sawSection) return Fail(error, "NODE_COORD_SECTION is missing");
  if (static_cast<long>(result.cities.size()) != dimension)
    return Fail(error, At(dimensionLine) + "DIMENSION is " + std::to_string(dimension) +
                           " but NODE_COORD_SECTION holds " + std::to_string(result.cities.size()) +
                           " nodes");
  *instance = std::move(result);
  return true;
}

bool ParseTour(std::string_view text, const TspInstance& instance, std::vector<int>* order,
               std::string* error) {
  order->clear();
  const int n = static_cast<int>(instance.cities.size());
  std::map<long, int> indexOfId;
  for (int i = 0; i < n; ++i) indexOfId[instance.cities[i].id] = i;
  std::vector<int> visitedOnLine(n, 0);
  std::vector<int> result;
  bool inSection = false, sawSection = false, sawDimension = false, done = false;

  LineReader reader(text);
  std::string_view raw;
  while (!done && reader.Next(&raw)) {
    const int ln = reader.Number();
    std::string_view line = Trim(raw);
    if (line.empty()) continue;
    if (inSection) {
      for (std::string_view word : Words(line)) {
        if (Upper(word) == "EOF") {
          done = true;
          break;
        }
        long id = 0;
        if (!ParseLong(word, &id))
          return Fail(error, At(ln) + "tour entry " + Shown(word) + " is not a node id");
        if (id == -1) {
          done = true;
          break;
        }
        auto it = indexOfId.find(id);
        if (it == indexOfId.end())
          return Fail(error,
                      At(ln) + "node id " + std::to_string(id) + " is not a city of the instance");
        if (visitedOnLine[it->second] != 0)
          return Fail(error, At(ln) + "node id " + std::to_string(id) +
                                 " visited twice (first on line " +
                                 std::to_string(visitedOnLine[it->second]) + ")");
        visitedOnLine[it->second] = ln;
        result.push_back(it->second);
      }
      continue;
    }
    if (IsDataLine(line)) return Fail(error, At(ln) + "numbers outside TOUR_SECTION");
    std::string key;
    std::string_view value;
    SplitKeyword(line, &key, &value);
    if (key == "EOF") break;
    if (key == "TYPE") {
      if (Upper(value) != "TOUR")
        return Fail(error, At(ln) + "TYPE is " + Shown(value) + ", a tour file has TYPE TOUR");
    } else if (key == "DIMENSION") {
      if (sawDimension) return Fail(error, At(ln) + "DIMENSION given twice");
      sawDimension = true;
      long dimension = 0;
      if (!ParseLong(value, &dimension))
        return Fail(error, At(ln) + "DIMENSION " + Shown(value) + " is not a whole number");
      if (dimension != n)
        return Fail(error, At(ln) + "DIMENSION is " + std::to_string(dimension) +
                               " but the instance has " + std::to_string(n) + " cities");
    } else if (key == "TOUR_SECTION") {
      inSection = sawSection = true;
    }
  }

  if (!sawSection) return Fail(error, "TOUR_SECTION is missing");
  if (static_cast<int>(result.size()) != n)
    return Fail(error, "the tour visits " + std::to_string(result.size()) + " of the " +
                           std::to_string(n) + " cities");
  *order = std::move(result);
  return true;
}

bool ReadTextFile(const std::string& path, std::string* text, std::string* error) {
  // Instances are a few kilobytes; refusing anything huge keeps a wrong
  // path (a disk image, /dev/zero) from hanging the tool.
  constexpr std::uintmax_t kMaxBytes = 16u << 20;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec))
    return Fail(
        error,
        path + ": " + (std::filesystem::exists(path, ec) ? "not a regular file" : "no such file"));
  std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) return Fail(error, path + ": cannot read its size");
  if (size > kMaxBytes) return Fail(error, path + ": too large for an instance file");
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(error, path + ": cannot be opened");
  text->assign(static_cast<size_t>(size), '\0');
  in.read(text->data(), static_cast<std::streamsize>(size));
  if (in.gcount() != static_cast<std::streamsize>(size))
    return Fail(error, path + ": cannot be read");
  return true;
}
