// Reading resource packs in tests straight through libzip, independent of
// the program's own pack reader, so a pack can be checked member by member:
// its bytes, how it is encrypted and how it is compressed.
//
//   std::vector<PackEntry> entries;
//   std::string error;
//   ASSERT_TRUE(ReadPack(path, PackPassword(), &entries, &error)) << error;
#pragma once

#include <zip.h>

#include <cstdint>
#include <string>
#include <vector>

struct PackEntry {
  std::string name;
  std::string bytes;
  uint16_t encryption = 0;   // ZIP_EM_NONE, ZIP_EM_AES_256, ...
  uint16_t compression = 0;  // ZIP_CM_STORE, ZIP_CM_DEFLATE, ...
};

// Reads every member with `password` (empty: none). False, with the member
// and libzip's reason, at the first member that cannot be read in full.
inline bool ReadPack(const std::string& path, const std::string& password,
                     std::vector<PackEntry>* entries, std::string* error) {
  entries->clear();
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (!archive) {
    *error = "cannot open " + path + " (libzip error " + std::to_string(code) + ")";
    return false;
  }
  if (!password.empty()) zip_set_default_password(archive, password.c_str());
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t st;
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st) != 0) {
      *error = zip_strerror(archive);
      zip_discard(archive);
      return false;
    }
    PackEntry entry;
    entry.name = st.name;
    entry.encryption = st.encryption_method;
    entry.compression = st.comp_method;
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
    if (!file) {
      *error = entry.name + ": " + zip_strerror(archive);
      zip_discard(archive);
      return false;
    }
    entry.bytes.resize(st.size);
    const zip_int64_t read = st.size ? zip_fread(file, entry.bytes.data(), st.size) : 0;
    char extra;
    const bool atEnd = zip_fread(file, &extra, 1) == 0;
    const bool ok = read == static_cast<zip_int64_t>(st.size) && atEnd;
    if (!ok) *error = entry.name + ": " + zip_file_strerror(file);
    zip_fclose(file);
    if (!ok) {
      zip_discard(archive);
      return false;
    }
    entries->push_back(std::move(entry));
  }
  zip_discard(archive);
  return true;
}

// The entry of that name, or null.
inline const PackEntry* FindEntry(const std::vector<PackEntry>& entries, const std::string& name) {
  for (const PackEntry& e : entries) {
    if (e.name == name) return &e;
  }
  return nullptr;
}
