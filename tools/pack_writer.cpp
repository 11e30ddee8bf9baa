// Pack writing on libzip. Member times are pinned so that packs built from
// the same files differ only in the encryption's random salt.
#include "tools/pack_writer.h"

#include <zip.h>

#include <cstdio>
#include <set>

namespace {

// 2001-01-01 00:00:00 UTC, any fixed time will do.
constexpr time_t kMemberTime = 978307200;

bool Fail(std::string* error, const std::string& reason) {
  if (error) *error = reason;
  return false;
}

std::string ArchiveError(zip_t* archive) {
  return zip_strerror(archive);
}

}  // namespace

bool WritePack(const std::string& path, const std::string& password,
               const std::vector<PackMember>& members, std::string* error) {
  std::set<std::string> names;
  for (const PackMember& m : members) {
    if (m.name.empty()) return Fail(error, "a pack member has no name");
    if (!names.insert(m.name).second) return Fail(error, "pack member named twice: " + m.name);
    if (m.encrypt && password.empty())
      return Fail(error, "pack member " + m.name + " is to be encrypted but there is no password");
  }
  if (!zip_encryption_method_supported(ZIP_EM_AES_256, 1))
    return Fail(error, "this libzip cannot encrypt with AES-256");

  // libzip writes no file at all for an archive without members, so the
  // empty pack is its lone end record, written here.
  if (members.empty()) {
    static const char kEndRecord[22] = {'P', 'K', 5, 6};
    const std::string temp = path + ".part";
    FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file) return Fail(error, "cannot create " + path);
    const bool written = std::fwrite(kEndRecord, 1, sizeof kEndRecord, file) == sizeof kEndRecord;
    if (std::fclose(file) != 0 || !written || std::rename(temp.c_str(), path.c_str()) != 0) {
      std::remove(temp.c_str());
      return Fail(error, "cannot write " + path);
    }
    return true;
  }

  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (!archive) {
    zip_error_t reason;
    zip_error_init_with_code(&reason, code);
    std::string text = "cannot create " + path + ": " + zip_error_strerror(&reason);
    zip_error_fini(&reason);
    return Fail(error, text);
  }
  for (const PackMember& m : members) {
    // The buffer stays owned by the caller's vector until zip_close.
    zip_source_t* source = zip_source_buffer(archive, m.bytes.data(), m.bytes.size(), 0);
    if (!source) {
      std::string text = "cannot add " + m.name + ": " + ArchiveError(archive);
      zip_discard(archive);
      return Fail(error, text);
    }
    const zip_int64_t index = zip_file_add(archive, m.name.c_str(), source, 0);
    if (index < 0) {
      std::string text = "cannot add " + m.name + ": " + ArchiveError(archive);
      zip_source_free(source);
      zip_discard(archive);
      return Fail(error, text);
    }
    const auto i = static_cast<zip_uint64_t>(index);
    bool ok = zip_file_set_mtime(archive, i, kMemberTime, 0) == 0 &&
              zip_set_file_compression(archive, i, m.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                                       m.compress ? 9 : 0) == 0;
    if (ok && m.encrypt) {
      ok = zip_file_set_encryption(archive, i, ZIP_EM_AES_256, password.c_str()) == 0;
    }
    if (!ok) {
      std::string text = "cannot set up " + m.name + ": " + ArchiveError(archive);
      zip_discard(archive);
      return Fail(error, text);
    }
  }
  if (zip_close(archive) != 0) {
    std::string text = "cannot write " + path + ": " + ArchiveError(archive);
    zip_discard(archive);
    return Fail(error, text);
  }
  return true;
}
