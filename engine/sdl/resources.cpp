// Resource packs read with libzip, and plain files, beside the executable.
#include "engine/sdl/resources.h"

#include <SDL.h>
#include <sys/stat.h>
#include <zip.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/sdl/log.h"

namespace {

std::string Fold(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string ExecutableDirectory() {
  char* base = SDL_GetBasePath();
  std::string dir = base ? base : "";
  SDL_free(base);
  return dir;
}

}  // namespace

std::string NormaliseResourceName(const std::string& name) {
  std::string out = name;
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

struct ResourceStore::Pack {
  zip_t* zip = nullptr;
  std::string path;
  std::unordered_map<std::string, zip_uint64_t> exact;   // normalised name
  std::unordered_map<std::string, zip_uint64_t> folded;  // and lower case
  bool failureLogged = false;

  ~Pack() {
    if (zip) zip_discard(zip);
  }

  // Logs the first failure of the pack only; one damaged pack must not
  // flood the log on every load.
  void Fail(const char* what, const std::string& member, const std::string& why) {
    if (failureLogged) return;
    failureLogged = true;
    LogLine("Resource pack %s: %s %s: %s", path.c_str(), what, member.c_str(), why.c_str());
  }

  // Reads member `index` whole into a fresh buffer with a zero byte after
  // it. Null on any failure, with *code the libzip error.
  char* Read(zip_uint64_t index, uint64_t* size, int* code, std::string* why) {
    *code = ZIP_ER_OK;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)) {
      *why = zip_strerror(zip);
      return nullptr;
    }
    if (st.size > MAX_RESOURCE_SIZE) {
      *why = "it claims " + std::to_string(st.size) + " bytes, more than the " +
             std::to_string(MAX_RESOURCE_SIZE >> 20) + " MB allowed";
      return nullptr;
    }
    zip_file_t* file = zip_fopen_index(zip, index, 0);
    if (!file) {
      *code = zip_error_code_zip(zip_get_error(zip));
      *why = zip_strerror(zip);
      return nullptr;
    }
    char* data = static_cast<char*>(std::malloc(st.size + 1));
    uint64_t got = 0;
    bool ok = data != nullptr;
    while (ok && got < st.size) {
      const zip_int64_t n = zip_fread(file, data + got, st.size - got);
      if (n <= 0) {
        ok = false;
        break;
      }
      got += static_cast<uint64_t>(n);
    }
    // Reading to the end is what makes libzip check the CRC or the
    // authentication code; a member longer than it claims is damaged too.
    char extra;
    if (ok && zip_fread(file, &extra, 1) != 0) ok = false;
    if (!ok) {
      *code = zip_error_code_zip(zip_file_get_error(file));
      *why = data ? zip_file_strerror(file) : "out of memory";
      if (*code == ZIP_ER_OK) *why = "its size does not match the archive";
    }
    zip_fclose(file);
    if (!ok) {
      std::free(data);
      return nullptr;
    }
    data[st.size] = '\0';
    *size = st.size;
    return data;
  }
};

ResourceStore::ResourceStore() = default;
ResourceStore::~ResourceStore() {
  for (void* p : live_) std::free(p);
}

void ResourceStore::SetDirectory(const std::string& directory) {
  directory_ = directory;
  if (!directory_.empty() && directory_.back() != '/') directory_ += '/';
}

std::string ResourceStore::Directory() const {
  return directory_.empty() ? ExecutableDirectory() : directory_;
}

std::string ResourceStore::PathOf(const std::string& name) const {
  const std::string normal = NormaliseResourceName(name);
  if (!normal.empty() && normal[0] == '/') return normal;
  return Directory() + normal;
}

bool ResourceStore::AttachPack(const char* file, const char* password) {
  if (!file || !*file) return false;
  const std::string path = PathOf(file);
  for (size_t i = 0; i < packs_.size(); ++i)
    if (packs_[i]->path == path) {
      packs_.erase(packs_.begin() + static_cast<long>(i));
      break;
    }

  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (!zip) {
    zip_error_t e;
    zip_error_init_with_code(&e, error);
    LogLine("Resource pack %s cannot be opened: %s", path.c_str(), zip_error_strerror(&e));
    zip_error_fini(&e);
    return false;
  }
  auto pack = std::make_unique<Pack>();
  pack->zip = zip;
  pack->path = path;
  zip_set_default_password(zip, password && *password ? password : nullptr);

  const zip_int64_t count = zip_get_num_entries(zip, 0);
  zip_int64_t probe = -1;
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    if (!name || !*name || name[std::strlen(name) - 1] == '/' ||
        name[std::strlen(name) - 1] == '\\')
      continue;
    const std::string normal = NormaliseResourceName(name);
    pack->exact.emplace(normal, static_cast<zip_uint64_t>(i));
    pack->folded.emplace(Fold(normal), static_cast<zip_uint64_t>(i));
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &st) == 0 &&
        (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE && probe < 0)
      probe = i;
  }

  // One member read in full tells whether the password opens the pack.
  if (probe >= 0) {
    uint64_t size = 0;
    int code = 0;
    std::string why;
    char* data = pack->Read(static_cast<zip_uint64_t>(probe), &size, &code, &why);
    std::free(data);
    if (!data) {
      const char* member = zip_get_name(zip, static_cast<zip_uint64_t>(probe), ZIP_FL_ENC_RAW);
      if (code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_NOPASSWD) {
        LogLine("Resource pack %s: wrong password", path.c_str());
        return false;
      }
      // An authentication failure looks like damage; either way the
      // pack's members will not load.
      pack->Fail("cannot read", member ? member : "?",
                 why + " (the pack is damaged or the password is wrong)");
    }
  }
  packs_.push_back(std::move(pack));
  return true;
}

void ResourceStore::DetachAll() {
  packs_.clear();
}

void* ResourceStore::Load(const char* name, uint32_t* size) {
  if (size) *size = 0;
  if (!name || !*name) return nullptr;
  const std::string normal = NormaliseResourceName(name);
  for (auto& pack : packs_) {
    auto it = pack->exact.find(normal);
    if (it == pack->exact.end()) {
      it = pack->folded.find(Fold(normal));
      if (it == pack->folded.end()) continue;
    }
    uint64_t length = 0;
    int code = 0;
    std::string why;
    char* data = pack->Read(it->second, &length, &code, &why);
    if (data) {
      live_.insert(data);
      if (size) *size = static_cast<uint32_t>(length);
      return data;
    }
    pack->Fail("cannot read", name, why);
  }
  return ReadFile(PathOf(name), size);
}

void* ResourceStore::ReadFile(const std::string& path, uint32_t* size) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return nullptr;
  struct stat st;
  char* data = nullptr;
  size_t length = 0;
  if (fstat(fileno(file), &st) == 0 && S_ISREG(st.st_mode)) {
    length = static_cast<size_t>(st.st_size);
    if (static_cast<uint64_t>(st.st_size) > MAX_RESOURCE_SIZE) {
      LogLine("Resource file %s: %lld bytes, more than the %llu MB allowed", path.c_str(),
              static_cast<long long>(st.st_size),
              static_cast<unsigned long long>(MAX_RESOURCE_SIZE >> 20));
    } else {
      data = static_cast<char*>(std::malloc(length + 1));
      if (data && std::fread(data, 1, length, file) != length) {
        std::free(data);
        data = nullptr;
      }
    }
  }
  std::fclose(file);
  if (!data) return nullptr;
  data[length] = '\0';
  live_.insert(data);
  if (size) *size = static_cast<uint32_t>(length);
  return data;
}

void ResourceStore::Free(void* data) {
  if (!data) return;
  auto it = live_.find(data);
  if (it == live_.end()) return;
  live_.erase(it);
  std::free(data);
}
