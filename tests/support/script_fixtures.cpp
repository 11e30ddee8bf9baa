// Running quenpath-script from the end-to-end tests and reading what it
// wrote. POSIX process handling and SDL2_image for PNG reading are fine
// here: this is test code, not the program.
#include "tests/support/script_fixtures.h"

#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Number(float v) {
  std::ostringstream out;
  out << v;
  return out.str();
}

double DistanceToSegment(double px, double py, const Segment& s) {
  const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - s.x1) * dx + (py - s.y1) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double cx = s.x1 + t * dx, cy = s.y1 + t * dy;
  return std::hypot(px - cx, py - cy);
}

}  // namespace

std::string RunnerPath() {
  return QP_SCRIPT_RUNNER;
}

ScriptSession::ScriptSession() {
  std::filesystem::create_directories(QP_E2E_SCRATCH);
  std::string pattern = std::string(QP_E2E_SCRATCH) + "/run-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data())) dir_ = buffer.data();
  EXPECT_FALSE(dir_.empty()) << "cannot make a scratch directory under " << QP_E2E_SCRATCH;
}

ScriptSession::~ScriptSession() {
  // Kept for a look when something failed, or when QP_E2E_KEEP is set.
  if (dir_.empty() || std::getenv("QP_E2E_KEEP") || ::testing::Test::HasFailure() ||
      ::testing::UnitTest::GetInstance()->failed_test_count() > 0)
    return;
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

int ScriptSession::Run(const std::string& script, bool viaStdin) {
  return RunWith(RunnerPath(), script, viaStdin);
}

int ScriptSession::RunWith(const std::string& runner, const std::string& script, bool viaStdin) {
  errors_.clear();
  const std::string scriptFile = File("script.txt");
  const std::string errorFile = File("stderr.txt");
  {
    std::ofstream out(scriptFile, std::ios::binary | std::ios::trunc);
    out << script;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, viaStdin ? scriptFile.c_str() : "/dev/null",
                                   O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());
  std::string arg = viaStdin ? "-" : scriptFile;
  char* argv[] = {const_cast<char*>(runner.c_str()), arg.data(), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, runner.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << runner;
    return -1;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  errors_ = ReadFile(errorFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

nlohmann::json ScriptSession::Json(const std::string& name) const {
  const std::string text = ReadFile(File(name));
  nlohmann::json value = nlohmann::json::parse(text, nullptr, false);
  if (value.is_discarded() || !value.is_object()) {
    ADD_FAILURE() << name << " is missing or not JSON; runner said: " << errors_;
    return nullptr;
  }
  return value;
}

Shot ScriptSession::Picture(const std::string& name) const {
  Shot shot;
  SDL_Surface* loaded = IMG_Load(File(name).c_str());
  if (!loaded) {
    ADD_FAILURE() << name << " cannot be read: " << IMG_GetError();
    return shot;
  }
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  if (!argb) {
    ADD_FAILURE() << name << " cannot be converted: " << SDL_GetError();
    return shot;
  }
  shot.width = argb->w;
  shot.height = argb->h;
  shot.pixels.resize(static_cast<size_t>(argb->w) * argb->h);
  for (int y = 0; y < argb->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                        static_cast<size_t>(y) * argb->pitch);
    std::copy(row, row + argb->w, shot.pixels.begin() + static_cast<size_t>(y) * argb->w);
  }
  SDL_FreeSurface(argb);
  return shot;
}

std::string MoveTo(float x, float y) {
  return "move " + Number(x) + " " + Number(y) + "\n";
}

std::string AddHouseAt(float x, float y) {
  // Two frames held: the very first frame of a run accepts no input.
  return MoveTo(x, y) + "down left\nframes 2\nup left\nframes 18\n";
}

Point ItemCentre(const nlohmann::json& item) {
  Point p;
  if (!item.is_object() || !item["bounds"].is_array() || item["bounds"].size() != 4) {
    ADD_FAILURE() << "item without bounds: " << item.dump();
    return p;
  }
  const auto& b = item["bounds"];
  p.x = (b[0].get<float>() + b[2].get<float>()) * 0.5f;
  p.y = (b[1].get<float>() + b[3].get<float>()) * 0.5f;
  return p;
}

std::string ClickItem(const nlohmann::json& item) {
  const Point p = ItemCentre(item);
  // A panel reports only its last busy item: the item the pointer just left
  // would hide a click made in the same frame.
  return MoveTo(p.x, p.y) + "frames 1\nclick left\n";
}

nlohmann::json FindByName(const nlohmann::json& items, const std::string& name) {
  if (items.is_array())
    for (const auto& item : items)
      if (item.value("name", "") == name) return item;
  return nullptr;
}

LineKind ClassifyLinePixel(uint32_t p) {
  const int r = Red(p), g = Green(p), b = Blue(p);
  if (r == 0 && g == 0 && b == 0) return LineKind::None;
  if (b <= 40 && r >= 200 && g >= 200) return LineKind::Yellow;
  if (r <= 40 && g >= 200 && b >= 200) return LineKind::Cyan;
  if (b == 0 && r == g) return LineKind::Faint;
  return LineKind::None;
}

std::vector<Segment> TourSegments(const nlohmann::json& candidate, const nlohmann::json& houses) {
  std::vector<nlohmann::json> ordered(houses.begin(), houses.end());
  std::sort(ordered.begin(), ordered.end(), [](const nlohmann::json& a, const nlohmann::json& b) {
    return std::to_string(a["id"].get<int>()) < std::to_string(b["id"].get<int>());
  });
  std::vector<Segment> tour;
  const auto& genes = candidate["genes"];
  const size_t n = genes.size();
  for (size_t j = 0; j < n; ++j) {
    const auto& a = ordered.at(genes[j].get<size_t>());
    const auto& b = ordered.at(genes[(j + 1) % n].get<size_t>());
    tour.push_back(
        {a["x"].get<float>(), a["y"].get<float>(), b["x"].get<float>(), b["y"].get<float>()});
  }
  return tour;
}

bool InLineArea(int x, int y, const nlohmann::json& houses) {
  if (x < 0 || y < 0 || x >= 960 || y >= 940) return false;
  for (const auto& h : houses) {
    // The icon is 24 x 24 with its hot spot at (12, 14); a margin for
    // filtering.
    const float hx = h["x"].get<float>(), hy = h["y"].get<float>();
    if (x >= hx - 15 && x <= hx + 15 && y >= hy - 17 && y <= hy + 13) return false;
  }
  return true;
}

LineCount CountLines(const Shot& shot, const nlohmann::json& houses,
                     const std::vector<Segment>& tour) {
  LineCount count;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      const LineKind kind = ClassifyLinePixel(shot.At(x, y));
      if (kind == LineKind::None || !InLineArea(x, y, houses)) continue;
      if (kind == LineKind::Faint) ++count.faint;
      if (kind == LineKind::Yellow) ++count.yellow;
      if (kind == LineKind::Cyan) ++count.cyan;
      if (!tour.empty()) {
        double nearest = 1e9;
        for (const Segment& s : tour) nearest = std::min(nearest, DistanceToSegment(x, y, s));
        if (nearest > 1.5) ++count.offTour;
      }
    }
  }
  return count;
}

double TourCoverage(const Shot& shot, const nlohmann::json& houses,
                    const std::vector<Segment>& tour, LineKind kind) {
  int points = 0, covered = 0;
  for (const Segment& s : tour) {
    const double length = std::hypot(s.x2 - s.x1, s.y2 - s.y1);
    const int steps = std::max(1, static_cast<int>(length));
    for (int i = 0; i <= steps; ++i) {
      const double t = static_cast<double>(i) / steps;
      const int px = static_cast<int>(std::lround(s.x1 + t * (s.x2 - s.x1)));
      const int py = static_cast<int>(std::lround(s.y1 + t * (s.y2 - s.y1)));
      if (!InLineArea(px, py, houses)) continue;
      ++points;
      bool hit = false;
      for (int dy = -1; dy <= 1 && !hit; ++dy)
        for (int dx = -1; dx <= 1 && !hit; ++dx) {
          const int x = px + dx, y = py + dy;
          if (x >= 0 && y >= 0 && x < shot.width && y < shot.height)
            hit = ClassifyLinePixel(shot.At(x, y)) == kind;
        }
      if (hit) ++covered;
    }
  }
  return points ? static_cast<double>(covered) / points : 0.0;
}
