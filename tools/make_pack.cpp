// The pack builder: packs files into a resource pack encrypted with the
// program's password. Each FILE is a path relative to ROOT; inside the pack
// its name uses "\" as separator (graphics/font.fnt -> graphics\font.fnt).
//
//   qp_make_pack OUTPUT.paq ROOT FILE...
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/password.h"
#include "tools/pack_writer.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: qp_make_pack OUTPUT.paq ROOT FILE...\n");
    return 2;
  }
  const std::string output = argv[1], root = argv[2];
  std::vector<PackMember> members;
  for (int i = 3; i < argc; ++i) {
    const std::string file = argv[i];
    std::ifstream in(root + "/" + file, std::ios::binary);
    std::ostringstream bytes;
    if (in.is_open()) bytes << in.rdbuf();
    if (!in.is_open() || in.bad()) {
      std::fprintf(stderr, "qp_make_pack: cannot read %s/%s\n", root.c_str(), file.c_str());
      return 1;
    }
    PackMember member;
    member.name = file;
    for (char& ch : member.name) {
      if (ch == '/') ch = '\\';
    }
    member.bytes = bytes.str();
    // PNG data is compressed already.
    member.compress = !(file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0);
    members.push_back(std::move(member));
  }
  std::string error;
  if (!WritePack(output, PackPassword(), members, &error)) {
    std::fprintf(stderr, "qp_make_pack: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
