// WritePack: writes a resource pack, a zip archive whose members are
// AES-256 encrypted with the pack's password. Used by the pack builder and
// by tests that need packs of their own, damaged ones included.
#pragma once

#include <string>
#include <vector>

struct PackMember {
  std::string name;   // path inside the pack, "\" as separator
  std::string bytes;  // contents, any bytes
  bool encrypt = true;
  bool compress = true;  // deflate; off stores the bytes as they are
};

// Writes the pack to `path`, replacing a file there only once the new pack
// is complete. False with a reason when a member is unnamed or named twice,
// when encryption is asked for without a password, or when the file cannot
// be written.
bool WritePack(const std::string& path, const std::string& password,
               const std::vector<PackMember>& members, std::string* error);
