// Fuzz target: arbitrary bytes as Graphics.paq for the SDL backend's pack
// reader, then a load of every member name the program asks for (and a few
// it does not). Every load must hand out a terminated copy of the size it
// reports, and every copy must be given back.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/password.h"
#include "engine/sdl/resources.h"

// The backend's log goes nowhere here: a damaged pack logs on every run.
void LogLine(const char*, ...) {}

namespace {

std::string directory;

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "pack fuzz: %s\n", what);
  std::abort();
}

const char* const NAMES[] = {
    "graphics\\font.fnt",
    "graphics\\fontsmall.fnt",
    "graphics\\pelmora.png",
    "graphics\\building.png",
    "graphics/font.png",
    "GRAPHICS\\FONT.FNT",
    "graphics\\",
    "missing.png",
    "",
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // libFuzzer may end the process without running exit handlers, so the
  // runner gives each run a TMPDIR of its own and removes it afterwards.
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qp-pack-fuzz-XXXXXX";
  const char* made = mkdtemp(pattern.data());
  Check(made != nullptr, "cannot make a temporary directory");
  directory = made;
  std::atexit([] {
    std::remove((directory + "/Graphics.paq").c_str());
    rmdir(directory.c_str());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = directory + "/Graphics.paq";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Check(file != nullptr, "cannot write the pack");
  Check(std::fwrite(data, 1, size, file) == size, "cannot write the pack");
  std::fclose(file);

  static const std::string password = PackPassword();
  ResourceStore store;
  store.SetDirectory(directory);
  store.AttachPack("Graphics.paq", password.c_str());
  for (const char* name : NAMES) {
    uint32_t length = 12345;
    void* bytes = store.Load(name, &length);
    if (bytes) {
      const char* text = static_cast<const char*>(bytes);
      Check(text[length] == '\0', "a load without its terminating zero");
      unsigned sum = 0;
      for (uint32_t i = 0; i < length; ++i) sum += static_cast<unsigned char>(text[i]);
      volatile unsigned sink = sum;
      (void)sink;
    } else {
      Check(length == 0, "a failed load reports a size");
    }
    store.Free(bytes);
    store.Free(bytes);  // a second give-back is ignored
  }
  Check(store.Outstanding() == 0, "a load was not given back");
  return 0;
}
