// Command-line fields for the program starter, and starting a program from
// them with posix_spawnp: no shell ever sees the line.
#include "engine/sdl/command_line.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace {
// Never destroyed: the engine may be shut down during static clean-up.
std::vector<pid_t>& Started() {
  static auto* started = new std::vector<pid_t>();
  return *started;
}

bool EqualsNoCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}
}  // namespace

std::vector<std::string> SplitCommandLine(const char* line) {
  std::vector<std::string> fields;
  if (!line) return fields;
  std::string field;
  bool inField = false;  // a field has started, even an empty quoted one
  bool quoted = false;
  for (const char* p = line; *p; ++p) {
    const char c = *p;
    if (c == '"') {
      inField = true;
      if (quoted && p[1] == '"') {
        field += '"';
        ++p;
      } else {
        quoted = !quoted;
      }
    } else if (c == ' ' && !quoted) {
      if (inField) fields.push_back(field);
      field.clear();
      inField = false;
    } else {
      field += c;
      inField = true;
    }
  }
  if (inField) fields.push_back(field);
  return fields;
}

bool IsWebPageRequest(const std::vector<std::string>& fields) {
  return fields.size() == 2 &&
         (EqualsNoCase(fields[0], "Explorer") || EqualsNoCase(fields[0], "Explorer.exe"));
}

bool IsWebAddress(const std::string& address) {
  size_t rest = 0;
  if (address.size() > 7 && EqualsNoCase(address.substr(0, 7), "http://")) rest = 7;
  if (address.size() > 8 && EqualsNoCase(address.substr(0, 8), "https://")) rest = 8;
  if (rest == 0 || rest >= address.size()) return false;
  if (address[rest] == '/') return false;  // no host
  for (unsigned char c : address)
    if (c <= ' ' || c == 0x7F) return false;
  return true;
}

int SpawnProgram(const std::vector<std::string>& args, std::string* error) {
  ReapStartedPrograms();
  if (args.empty() || args[0].empty()) {
    if (error) *error = "no program named";
    return -1;
  }
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  // Its own process group, so a Ctrl+C meant for us does not reach it, and
  // default signal handling whatever ours is.
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  sigaddset(&defaults, SIGCHLD);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setpgroup(&attr, 0);
  posix_spawnattr_setflags(&attr,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, argv[0], nullptr, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) {
    if (error) *error = std::strerror(rc);
    return -1;
  }
  Started().push_back(pid);
  return pid;
}

void ReapStartedPrograms() {
  std::vector<pid_t>& started = Started();
  for (size_t i = 0; i < started.size();) {
    int status = 0;
    const pid_t r = waitpid(started[i], &status, WNOHANG);
    if (r == started[i] || (r < 0 && errno == ECHILD)) {
      started[i] = started.back();
      started.pop_back();
    } else {
      ++i;
    }
  }
}
