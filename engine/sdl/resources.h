// Resources for the engine: password-protected zip packs (members AES-256
// encrypted, read with libzip) and plain files, both looked up beside the
// executable. Loaded resources are whole copies in memory, handed out until
// given back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class ResourceStore {
 public:
  // Larger resources are refused: sizes come from the archive, which must
  // not be trusted blindly.
  static constexpr uint64_t MAX_RESOURCE_SIZE = 64ull * 1024 * 1024;

  ResourceStore();
  ~ResourceStore();
  ResourceStore(const ResourceStore&) = delete;
  ResourceStore& operator=(const ResourceStore&) = delete;

  // Where packs and plain files are looked up; empty means beside the
  // executable.
  void SetDirectory(const std::string& directory);
  std::string Directory() const;
  // A relative name is taken from the directory above; "\" counts as "/".
  std::string PathOf(const std::string& name) const;

  // Opens the pack and checks the password on one member. False (and one
  // log line) when the pack is missing, damaged or the password is wrong;
  // loads then simply do not find its members. Attaching a pack again
  // replaces the earlier one of that file.
  bool AttachPack(const char* file, const char* password);
  void DetachAll();

  // The bytes of a pack member (packs in attach order) or else of a plain
  // file, with a terminating zero byte past the end. Null when none can be
  // read. Each result must be given back with Free.
  void* Load(const char* name, uint32_t* size);
  // Ignores null and anything Load did not hand out (or already took back).
  void Free(void* data);
  int Outstanding() const { return static_cast<int>(live_.size()); }

 private:
  struct Pack;
  void* ReadFile(const std::string& path, uint32_t* size);

  std::string directory_;
  std::vector<std::unique_ptr<Pack>> packs_;
  std::unordered_set<void*> live_;
};

// "graphics\font.fnt" and "graphics/font.fnt" both become the latter.
std::string NormaliseResourceName(const std::string& name);
