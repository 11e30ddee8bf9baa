// Playing a script against the real program. RunProgram is called once;
// everything else happens in the backend's frame hooks, between frames:
// the before-frame hook runs commands until one asks for frames, the
// after-frame hook counts frames and, once Ouit has ended the loop, writes
// the remaining shots and dumps while the program's state still exists.
#include "tools/script/runner.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "app/config.h"
#include "app/program.h"
#include "engine/sdl/backend_control.h"
#include "util/random.h"

namespace {

using script::Command;
using script::Op;

constexpr float DEFAULT_DELTA = 0.02f;
constexpr uint32_t DEFAULT_SEED = 1;
// OS_StartProgram reports success with a value above 31.
constexpr unsigned START_ACCEPTED = 33;
constexpr int BOX_OK = 1;

std::string LinePrefix(const Command& c) {
  return "line " + std::to_string(c.line) + ": ";
}

bool WritePng(const std::string& path, std::vector<uint32_t> pixels, int width, int height,
              std::string* error) {
  // The screen is opaque whatever alpha the frame buffer kept.
  for (uint32_t& p : pixels) p |= 0xFF000000u;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32,
                                                            width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) {
    *error = SDL_GetError();
    return false;
  }
  const bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
  if (!ok) *error = IMG_GetError();
  SDL_FreeSurface(surface);
  return ok;
}

bool WriteText(const std::string& path, const std::string& text, std::string* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out << text;
  if (out) out.flush();
  if (!out) {
    *error = errno ? std::strerror(errno) : "write failed";
    return false;
  }
  return true;
}

class Runner {
 public:
  explicit Runner(const std::vector<Command>& commands) : commands_(commands) {
    for (const Command& c : commands_) {
      if (c.op == Op::Frames) break;
      if (c.op == Op::Seed) seed_ = c.seed;
    }
  }

  ScriptOutcome Run() {
    active_ = this;
    backend::ResetControls();
    backend::SetVideoDriver("offscreen");
    backend::SetRendererChoice(backend::RendererChoice::Software);
    backend::SetFrameCapture(true);
    backend::UseManualClock(DEFAULT_DELTA);
    backend::SetMessageBoxHook(
        [this](const std::string& text, const std::string& caption, unsigned flags) {
          outcome_.record.boxes.push_back({currentFrame_, text, caption, flags});
          return BOX_OK;
        });
    backend::SetProgramStarterHook([this](const backend::StartRequest& request) {
      outcome_.record.starts.push_back({currentFrame_, request.commandLine});
      return START_ACCEPTED;
    });
    backend::SetBeforeFrameHook([this](int frame) { return BeforeFrame(frame); });
    backend::SetAfterFrameHook([this](int frame) { AfterFrame(frame); });

    RunProgram();

    backend::ResetControls();
    active_ = nullptr;
    if (!loopReached_ && outcome_.error.empty()) {
      outcome_.exitCode = 1;
      outcome_.error = "the program did not start its frame loop";
      for (const RecordedBox& box : outcome_.record.boxes)
        outcome_.error += "; it said: \"" + box.text + "\"";
    }
    return outcome_;
  }

 private:
  // The real frame callback, watched for the Ouit that ends the loop.
  static bool WatchedFrameUpdate() {
    const bool end = FrameUpdate();
    if (end && active_) active_->outcome_.record.quit = true;
    return end;
  }

  bool BeforeFrame(int frame) {
    currentFrame_ = frame;
    if (!loopReached_) {
      loopReached_ = true;
      // Nothing random has happened yet: with no houses the first
      // candidates have no genes to draw.
      SeedRandom(seed_);
      Engine->System_SetState(STATE_FRAME_FUNC, &Runner::WatchedFrameUpdate);
    }
    if (framesLeft_ > 0) {
      --framesLeft_;
      return true;
    }
    return Advance(true);
  }

  void AfterFrame(int frame) {
    outcome_.record.frames = frame + 1;
    if (!outcome_.record.quit) return;
    // Ouit ended the loop; the state lives until RunProgram returns.
    if (framesLeft_ > 0) SkippedFrames(current_);
    framesLeft_ = 0;
    Advance(false);
  }

  // Runs commands until one asks for a frame (true) or the script ends or
  // fails (false). With the loop gone, frames and input are skipped.
  bool Advance(bool loopRunning) {
    while (next_ < commands_.size() && outcome_.exitCode == 0) {
      const Command& c = commands_[next_++];
      current_ = &c;
      switch (c.op) {
        case Op::Seed:
          break;  // applied before the first frame
        case Op::Delta:
          if (loopRunning) backend::UseManualClock(c.seconds);
          break;
        case Op::Move:
          if (loopRunning) backend::InjectMouseMove(c.x, c.y);
          break;
        case Op::Down:
        case Op::Up:
          if (loopRunning) backend::InjectKey(c.key, c.op == Op::Down);
          break;
        case Op::Click:
          if (loopRunning) backend::InjectClick(c.key);
          break;
        case Op::Frames:
          if (c.count == 0) break;
          if (!loopRunning) {
            SkippedFrames(&c);
            break;
          }
          framesLeft_ = c.count - 1;
          return true;
        case Op::Shot:
          Shot(c);
          break;
        case Op::Dump:
          Dump(c);
          break;
      }
    }
    return false;
  }

  void SkippedFrames(const Command* c) {
    if (!outcome_.notice.empty() || !c) return;
    outcome_.notice = LinePrefix(*c) + "Ouit ended the program; later frames were not run";
  }

  void Fail(const Command& c, const std::string& message) {
    outcome_.exitCode = 1;
    outcome_.error = LinePrefix(c) + message;
  }

  void Shot(const Command& c) {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    if (!backend::ReadFrame(&pixels, &width, &height) || width <= 0 || height <= 0) {
      Fail(c, "no frame has been rendered yet for " + c.path);
      return;
    }
    std::string why;
    if (!WritePng(c.path, std::move(pixels), width, height, &why))
      Fail(c, "cannot write " + c.path + ": " + why);
  }

  void Dump(const Command& c) {
    const std::string text =
        DescribeProgram(outcome_.record)
            .dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) +
        "\n";
    std::string why;
    if (!WriteText(c.path, text, &why)) Fail(c, "cannot write " + c.path + ": " + why);
  }

  static inline Runner* active_ = nullptr;

  const std::vector<Command>& commands_;
  uint32_t seed_ = DEFAULT_SEED;
  size_t next_ = 0;
  const Command* current_ = nullptr;
  int framesLeft_ = 0;
  int currentFrame_ = 0;
  bool loopReached_ = false;
  ScriptOutcome outcome_;
};

}  // namespace

ScriptOutcome RunScript(const std::vector<script::Command>& commands) {
  Runner runner(commands);
  return runner.Run();
}
