// Writes the pack fuzzer's seed corpus with the pack writer: a sound pack as
// the program ships it (small members), the same stored and unencrypted, and
// a pack without members. Binary seeds are made at build time rather than
// kept in the sources.
//
//   qp_make_seed_packs DIRECTORY
#include <cstdio>
#include <string>
#include <vector>

#include "app/password.h"
#include "tools/pack_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qp_make_seed_packs DIRECTORY\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::string font = "[HGEFONT]\nBitmap=font.png\nChar=41,0,0,8,15,0,1\n";
  // A PNG signature and a header chunk is as much as the reader looks at.
  static const char kPngHead[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x18\0\0\0\x18\x08\x06\0\0\0";
  const std::string png(kPngHead, sizeof kPngHead - 1);
  std::vector<PackMember> members = {
      {"graphics\\font.fnt", font},
      {"graphics\\fontsmall.fnt", font},
      {"graphics\\font.png", png, true, false},
      {"graphics\\pelmora.png", png, true, false},
      {"graphics\\building.png", png, true, false},
  };
  struct Seed {
    const char* file;
    bool encrypt, compress;
    size_t count;
  };
  const Seed seeds[] = {
      {"sound.paq", true, true, members.size()},
      {"plain.paq", false, false, members.size()},
      {"one.paq", true, false, 1},
      {"empty.paq", true, true, 0},
  };
  for (const Seed& seed : seeds) {
    std::vector<PackMember> chosen(members.begin(), members.begin() + seed.count);
    for (PackMember& m : chosen) {
      m.encrypt = seed.encrypt;
      m.compress = seed.compress && m.compress;
    }
    std::string error;
    if (!WritePack(dir + "/" + seed.file, PackPassword(), chosen, &error)) {
      std::fprintf(stderr, "qp_make_seed_packs: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
