// The real program against damaged assets, end to end: a copy of the
// quenpath binary in a scratch directory beside a Graphics.paq made here
// with the pack writer (or none), run headless on SDL's offscreen driver
// with no display, so its message box text goes to standard error. A pack
// it cannot use must give "Can't load graphics." and a clean exit 0; a
// garbage font description only its one log line, and the program runs on
// until it is told to close (SIGTERM, which SDL turns into a close request).
// Every run is bounded by a deadline: a hang fails the test.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/password.h"
#include "tools/pack_writer.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr char ASSET_BOX[] = "Error: Can't load graphics.";
constexpr char BIG_FONT_LINE[] = "Font graphics\\font.fnt has incorrect format.";
constexpr char SMALL_FONT_LINE[] = "Font graphics\\fontsmall.fnt has incorrect format.";
// Generous: a start-up takes about a second, more on a loaded machine.
constexpr double START_DEADLINE = 60.0;

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The program run as a child process, its standard output and error read
// through one pipe.
class Program {
 public:
  ~Program() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    if (fd >= 0) close(fd);
  }

  bool Start(const fs::path& binary) {
    int pipes[2];
    if (pipe(pipes) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipes[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipes[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipes[0]);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    // Headless: the offscreen driver and no display for a message box.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      if (entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("WAYLAND_DISPLAY=", 0) == 0 ||
          entry.rfind("SDL_VIDEODRIVER=", 0) == 0)
        continue;
      env.push_back(entry);
    }
    env.push_back("SDL_VIDEODRIVER=offscreen");
    std::vector<char*> envp;
    for (std::string& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string path = binary.string();
    char* argv[] = {path.data(), nullptr};

    const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipes[1]);
    fd = pipes[0];
    if (rc != 0) {
      pid = -1;
      return false;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    return true;
  }

  // Reads output until `done` holds for it, the program has exited, or
  // the deadline passes. True when `done` held.
  bool ReadUntil(const std::function<bool(const std::string&)>& done, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(seconds));
    while (!done(output)) {
      if (!Pump(deadline)) return done(output);
    }
    return true;
  }

  // Waits for the exit; false when the deadline passed first.
  bool WaitForExit(double seconds) {
    ReadUntil([](const std::string&) { return false; }, seconds);
    return exited;
  }

  void Signal(int sig) {
    if (pid > 0 && !exited) kill(pid, sig);
  }

  bool Running() {
    Reap(false);
    return !exited;
  }

  std::string output;
  bool exited = false;
  int exitCode = -1;
  int signal = 0;

 private:
  // One read or wait step. False once the output has ended and the program
  // has exited, or the deadline passed.
  bool Pump(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    if (fd < 0) {
      // The output ended; only the exit is left to wait for.
      Reap(false);
      if (exited) return false;
      usleep(10000);
      return true;
    }
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 100)));
    if (ready > 0) {
      char chunk[4096];
      const ssize_t n = read(fd, chunk, sizeof chunk);
      if (n > 0) {
        output.append(chunk, static_cast<size_t>(n));
      } else if (n == 0) {
        close(fd);
        fd = -1;
      }
    }
    Reap(false);
    return !(exited && fd < 0);
  }

  void Reap(bool block) {
    if (pid <= 0 || exited) return;
    int status = 0;
    if (waitpid(pid, &status, block ? 0 : WNOHANG) == pid) {
      exited = true;
      pid = -1;
      if (WIFEXITED(status)) exitCode = WEXITSTATUS(status);
      if (WIFSIGNALED(status)) signal = WTERMSIG(status);
    }
  }

  pid_t pid = -1;
  int fd = -1;
};

std::vector<PackMember> SoundMembers() {
  const fs::path assets = QP_ASSET_DIR;
  std::vector<PackMember> members;
  for (const char* file :
       {"graphics/font.fnt", "graphics/font.png", "graphics/fontsmall.fnt",
        "graphics/fontsmall.png", "graphics/pelmora.png", "graphics/building.png"}) {
    PackMember m;
    m.name = file;
    for (char& c : m.name)
      if (c == '/') c = '\\';
    m.bytes = ReadFile(assets / file);
    members.push_back(std::move(m));
  }
  return members;
}

void Replace(std::vector<PackMember>& members, const std::string& name, const std::string& bytes) {
  for (PackMember& m : members)
    if (m.name == name) m.bytes = bytes;
}

// Bytes that are no description and no image: a fixed pseudo-random run
// with line breaks and a stray zero in it.
std::string Garbage(size_t size) {
  std::string bytes(size, '\0');
  uint32_t x = 2463534242u;
  for (char& c : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>(x & 0xFF);
  }
  bytes[size / 2] = '\0';
  bytes[10] = '\n';
  return bytes;
}

std::string WrongPassword() {
  return PackPassword() == "WRNG" ? "WRNH" : "WRNG";
}

enum class Expect {
  AssetBox,  // "Can't load graphics.", then the program ends by itself
  RunsOn,    // no box; the frame loop runs until the program is closed
};

struct Case {
  const char* name;
  Expect expect;
  // Writes Graphics.paq into the directory (or leaves it out); false when
  // it cannot.
  std::function<bool(const fs::path& pack)> makePack;
  int bigFontLines = 0;
  int smallFontLines = 0;
};

bool Write(const fs::path& pack, const std::string& password, const std::vector<PackMember>& m) {
  std::string error;
  if (WritePack(pack.string(), password, m, &error)) return true;
  ADD_FAILURE() << "cannot write the pack: " << error;
  return false;
}

std::vector<Case> Cases() {
  return {
      {"sound pack", Expect::RunsOn,
       [](const fs::path& pack) { return Write(pack, PackPassword(), SoundMembers()); }},
      {"no pack", Expect::AssetBox, [](const fs::path&) { return true; }},
      {"empty file", Expect::AssetBox,
       [](const fs::path& pack) { return static_cast<bool>(std::ofstream(pack)); }},
      {"wrong password", Expect::AssetBox,
       [](const fs::path& pack) { return Write(pack, WrongPassword(), SoundMembers()); }},
      {"truncated pack", Expect::AssetBox,
       [](const fs::path& pack) {
         if (!Write(pack, PackPassword(), SoundMembers())) return false;
         fs::resize_file(pack, fs::file_size(pack) / 2);
         return true;
       }},
      {"house image not a PNG", Expect::AssetBox,
       [](const fs::path& pack) {
         std::vector<PackMember> m = SoundMembers();
         Replace(m, "graphics\\building.png", "GIF89a this is no PNG image\n");
         return Write(pack, PackPassword(), m);
       }},
      {"logo missing", Expect::AssetBox,
       [](const fs::path& pack) {
         std::vector<PackMember> m = SoundMembers();
         std::erase_if(m, [](const PackMember& p) { return p.name == "graphics\\pelmora.png"; });
         return Write(pack, PackPassword(), m);
       }},
      {"font description of garbage", Expect::RunsOn,
       [](const fs::path& pack) {
         std::vector<PackMember> m = SoundMembers();
         Replace(m, "graphics\\font.fnt", Garbage(3000));
         return Write(pack, PackPassword(), m);
       },
       1, 0},
      {"both fonts garbage, small one a wrong header", Expect::RunsOn,
       [](const fs::path& pack) {
         std::vector<PackMember> m = SoundMembers();
         Replace(m, "graphics\\font.fnt", Garbage(200));
         Replace(m, "graphics\\fontsmall.fnt", "[hgefont]\nBitmap=fontsmall.png\n");
         return Write(pack, PackPassword(), m);
       },
       1, 1},
  };
}

class DamagedAssetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qp-damaged-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
  // One case; its assertions end only this case.
  void Run(const Case& c, const fs::path& dir) {
    fs::create_directories(dir);
    const fs::path binary = dir / "quenpath";
    fs::copy_file(QP_PROGRAM, binary);
    if (!c.makePack(dir / "Graphics.paq")) return;

    Program program;
    ASSERT_TRUE(program.Start(binary));
    if (c.expect == Expect::AssetBox) {
      ASSERT_TRUE(program.WaitForExit(START_DEADLINE)) << "still running:\n" << program.output;
      EXPECT_EQ(Count(program.output, ASSET_BOX), 1) << program.output;
    } else {
      // The backend reports its renderer once the window exists (and SDL
      // turns SIGTERM into a close request); the font lines follow while
      // the assets load. Then the program must still be running.
      const int fontLines = c.bigFontLines + c.smallFontLines;
      ASSERT_TRUE(program.ReadUntil(
          [&](const std::string& out) {
            return Count(out, "Renderer:") > 0 && Count(out, "has incorrect format.") >= fontLines;
          },
          START_DEADLINE))
          << "no renderer line or fewer font lines than expected:\n"
          << program.output;
      // Give a program that would wrongly stop at start-up the time to do so.
      program.ReadUntil([](const std::string&) { return false; }, 1.0);
      ASSERT_TRUE(program.Running()) << "ended by itself:\n" << program.output;
      program.Signal(SIGTERM);
      ASSERT_TRUE(program.WaitForExit(START_DEADLINE)) << "did not close:\n" << program.output;
      EXPECT_EQ(Count(program.output, ASSET_BOX), 0) << program.output;
    }
    EXPECT_EQ(program.signal, 0) << "killed by signal " << program.signal << ":\n"
                                 << program.output;
    EXPECT_EQ(program.exitCode, 0) << program.output;
    EXPECT_EQ(Count(program.output, BIG_FONT_LINE), c.bigFontLines) << program.output;
    EXPECT_EQ(Count(program.output, SMALL_FONT_LINE), c.smallFontLines) << program.output;
  }

  fs::path root;
};

TEST_F(DamagedAssetsTest, ProgramReportsDamageAndExitsCleanly) {
  int index = 0;
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    Run(c, root / std::to_string(index++));
  }
}

}  // namespace
