// Test helper started by the program-starter tests: writes its arguments,
// one per line, to the file named by ARGV_RECORDER_OUT (through a temporary
// file renamed into place, so a reader never sees half of it).
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const char* out = std::getenv("ARGV_RECORDER_OUT");
  if (!out) return 2;
  const std::string temporary = std::string(out) + ".part";
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (!f) return 3;
  for (int i = 1; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
  std::fclose(f);
  return std::rename(temporary.c_str(), out) == 0 ? 0 : 4;
}
