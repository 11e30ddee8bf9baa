// Resource packs and files through the real backend: packs made with the pack
// builder's writer and with libzip directly, the built Graphics.paq, damaged
// packs of every kind, name separators, the plain-file fallback and where
// both are looked up.
#include <unistd.h>
#include <zip.h>

#include <fstream>
#include <random>
#include <sstream>

#include "app/password.h"
#include "engine_fixture.h"
#include "tools/pack_writer.h"

namespace {

struct Member {
  std::string name, bytes;
};

std::string Random(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng());
  return s;
}

const std::vector<Member>& Members() {
  static const std::vector<Member> members = {
      {"graphics\\font.fnt", "[HGEFONT]\nBitmap=font.png\nChar=\"A\",1,1,8,12,0,0\n"},
      {"graphics\\building.png", Random(3000, 1)},
      {"graphics\\pelmora.png", Random(5000, 2)},
      {"readme.txt", ""},
  };
  return members;
}

// Writes an AES-256 encrypted zip archive.
void WriteAesPack(const std::string& path, const std::string& password,
                  const std::vector<Member>& members) {
  ASSERT_TRUE(zip_encryption_method_supported(ZIP_EM_AES_256, 1)) << "libzip without AES";
  int error = 0;
  zip_t* za = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(za, nullptr) << error;
  for (const Member& m : members) {
    zip_source_t* src = zip_source_buffer(za, m.bytes.data(), m.bytes.size(), 0);
    const zip_int64_t index = zip_file_add(za, m.name.c_str(), src, ZIP_FL_ENC_RAW);
    ASSERT_GE(index, 0) << zip_strerror(za);
    ASSERT_EQ(zip_file_set_encryption(za, static_cast<zip_uint64_t>(index), ZIP_EM_AES_256,
                                      password.c_str()),
              0);
  }
  ASSERT_EQ(zip_close(za), 0) << zip_strerror(za);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

int CountLines(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

class ResourcesTest : public SdlEngineTest {
 protected:
  void SetUp() override {
    SdlEngineTest::SetUp();
    backend::SetResourceDirectory(dir.Path());
    packPath = dir.File("Graphics.paq");
  }
  void TearDown() override {
    EXPECT_EQ(TheBackend().resources.Outstanding(), 0) << "a loaded resource was not freed";
    SdlEngineTest::TearDown();
  }
  // Loads and gives back; true with *bytes when found.
  bool Load(const char* name, std::string* bytes) {
    uint32_t size = 12345;
    void* data = engine->Resource_Load(name, &size);
    if (!data) {
      EXPECT_EQ(size, 0u);
      return false;
    }
    EXPECT_EQ(static_cast<char*>(data)[size], '\0') << "loaded resources end in a zero byte";
    bytes->assign(static_cast<char*>(data), size);
    engine->Resource_Free(data);
    return true;
  }
  TempDir dir;
  std::string packPath;
};

TEST_F(ResourcesTest, EveryMemberReadsBackWithTheRightPassword) {
  WriteAesPack(packPath, "K7Q2", Members());
  ASSERT_TRUE(engine->Resource_AttachPack("Graphics.paq", "K7Q2"));
  for (const Member& m : Members()) {
    std::string got;
    ASSERT_TRUE(Load(m.name.c_str(), &got)) << m.name;
    EXPECT_EQ(got, m.bytes) << m.name;
  }
}

TEST_F(ResourcesTest, APackFromThePackBuilderReadsBackWhole) {
  std::vector<PackMember> members;
  for (const Member& m : Members()) members.push_back({m.name, m.bytes});
  members.push_back({"graphics\\stored.bin", Random(700, 5), true, false});
  members.push_back({"plain\\open.txt", "not encrypted", false, true});
  std::string error;
  ASSERT_TRUE(WritePack(packPath, "Z9Z9", members, &error)) << error;
  ASSERT_TRUE(engine->Resource_AttachPack("Graphics.paq", "Z9Z9"));
  for (const PackMember& m : members) {
    std::string got;
    ASSERT_TRUE(Load(m.name.c_str(), &got)) << m.name;
    EXPECT_EQ(got, m.bytes) << m.name;
  }
  testing::internal::CaptureStderr();
  EXPECT_FALSE(engine->Resource_AttachPack("Graphics.paq", "Z9Z8"));
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(CountLines(log, "wrong password"), 1) << log;
  std::string got;
  EXPECT_FALSE(Load("graphics\\font.fnt", &got)) << "the pack with the wrong password is gone";
}

TEST_F(ResourcesTest, TheBuiltGraphicsPackGivesTheProgramItsAssets) {
  ASSERT_TRUE(std::filesystem::exists(QP_PACK_PATH)) << QP_PACK_PATH;
  std::filesystem::copy_file(QP_PACK_PATH, packPath);
  ASSERT_TRUE(engine->Resource_AttachPack("Graphics.paq", PackPassword().c_str()));
  for (const char* name : {"graphics\\font.fnt", "graphics\\fontsmall.fnt"}) {
    std::string got;
    ASSERT_TRUE(Load(name, &got)) << name;
    EXPECT_EQ(got.rfind("[HGEFONT]", 0), 0u) << name;
  }
  for (const char* name : {"graphics\\pelmora.png", "graphics\\building.png", "graphics\\font.png",
                           "graphics\\fontsmall.png"}) {
    const HTEXTURE texture = engine->Texture_Load(name);
    EXPECT_NE(texture, 0u) << name;
    EXPECT_GT(engine->Texture_GetWidth(texture), 0) << name;
    engine->Texture_Free(texture);
  }
}

TEST_F(ResourcesTest, EitherSeparatorAndAnyLetterCaseFindAMember) {
  WriteAesPack(packPath, "K7Q2", Members());
  ASSERT_TRUE(engine->Resource_AttachPack("Graphics.paq", "K7Q2"));
  for (const char* name : {"graphics\\font.fnt", "graphics/font.fnt", "Graphics\\FONT.fnt"}) {
    std::string got;
    ASSERT_TRUE(Load(name, &got)) << name;
    EXPECT_EQ(got, Members()[0].bytes) << name;
  }
  std::string got;
  EXPECT_FALSE(Load("graphics\\font", &got));
  EXPECT_FALSE(Load("font.fnt", &got));
  EXPECT_FALSE(Load("", &got));
  EXPECT_FALSE(Load(nullptr, &got));
}

TEST_F(ResourcesTest, PlainFilesBesideThePackAreTheFallback) {
  WriteAesPack(packPath, "K7Q2", Members());
  ASSERT_TRUE(engine->Resource_AttachPack("Graphics.paq", "K7Q2"));
  std::filesystem::create_directories(dir.File("graphics"));
  WriteAll(dir.File("graphics/extra.txt"), "plain file");
  WriteAll(dir.File("graphics/font.fnt"), "the plain copy");
  std::string got;
  ASSERT_TRUE(Load("graphics\\extra.txt", &got));
  EXPECT_EQ(got, "plain file");
  ASSERT_TRUE(Load("graphics\\font.fnt", &got));
  EXPECT_EQ(got, Members()[0].bytes) << "the pack comes first";
  EXPECT_FALSE(Load("graphics", &got)) << "a directory is not a resource";
}

TEST_F(ResourcesTest, ABadPackNeverGivesDamagedBytesAndSaysWhyOnce) {
  WriteAesPack(packPath, "K7Q2", Members());
  const std::string good = ReadAll(packPath);
  auto flipped = [&](size_t at) {
    std::string bytes = good;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
    return bytes;
  };
  struct Case {
    const char* what;
    std::string bytes;  // the file written; empty means none
    const char* password;
    bool refused;  // attaching must report failure
    bool noticed;  // some load must fail; otherwise the damage may be harmless
  } cases[] = {
      {"wrong password", good, "XXXX", true, true},
      {"no password", good, "", true, true},
      {"missing file", "", "K7Q2", true, true},
      {"empty file", std::string(), "K7Q2", true, true},
      {"truncated to half", good.substr(0, good.size() / 2), "K7Q2", true, true},
      {"truncated by one byte", good.substr(0, good.size() - 1), "K7Q2", false, true},
      {"not a zip", Random(4000, 9), "K7Q2", true, true},
      {"flipped in a member's data", flipped(good.size() / 2), "K7Q2", false, true},
      {"flipped in a local header", flipped(40), "K7Q2", false, false},
      {"flipped in the directory", flipped(good.size() - 60), "K7Q2", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(packPath);
    if (!c.bytes.empty() || std::string(c.what) == "empty file") WriteAll(packPath, c.bytes);
    testing::internal::CaptureStderr();
    const bool attached = engine->Resource_AttachPack("Graphics.paq", c.password);
    int loaded = 0;
    for (int round = 0; round < 3; ++round)
      for (const Member& m : Members()) {
        std::string got;
        if (Load(m.name.c_str(), &got)) {
          EXPECT_EQ(got, m.bytes) << m.name << " came back damaged";
          ++loaded;
        }
      }
    const std::string log = testing::internal::GetCapturedStderr();
    const int lines = CountLines(log, "Resource pack");
    if (c.refused) {
      EXPECT_FALSE(attached);
    }
    if (!attached) {
      EXPECT_EQ(loaded, 0) << "members of a refused pack loaded";
    }
    if (c.noticed) {
      EXPECT_LT(loaded, 3 * static_cast<int>(Members().size())) << "the damage went unnoticed";
      EXPECT_EQ(lines, 1) << log;
    } else {
      EXPECT_LE(lines, 1) << log;
    }
  }
}

TEST_F(ResourcesTest, AMemberClaimingAHugeSizeIsRefused) {
  const std::vector<Member> members = {{"big.bin", std::string(100, 'x')}, {"small.txt", "ok"}};
  WriteAesPack(packPath, "K7Q2", members);
  std::string bytes = ReadAll(packPath);
  // Central directory entry of the first member: uncompressed size at +24.
  const size_t entry = bytes.find(std::string("PK\x01\x02", 4));
  ASSERT_NE(entry, std::string::npos);
  const uint32_t huge = 0xF0000000u;
  for (int i = 0; i < 4; ++i) bytes[entry + 24 + i] = static_cast<char>(huge >> (8 * i));
  WriteAll(packPath, bytes);

  testing::internal::CaptureStderr();
  engine->Resource_AttachPack("Graphics.paq", "K7Q2");
  std::string got;
  EXPECT_FALSE(Load("big.bin", &got));
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("MB allowed"), std::string::npos) << log;
  ASSERT_TRUE(Load("small.txt", &got)) << "the rest of the pack still loads";
  EXPECT_EQ(got, "ok");
}

TEST_F(ResourcesTest, FreeingIgnoresNullForeignAndFreedPointers) {
  WriteAll(dir.File("a.txt"), "abc");
  uint32_t size = 0;
  void* data = engine->Resource_Load("a.txt", &size);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(size, 3u);
  int local = 0;
  engine->Resource_Free(nullptr);
  engine->Resource_Free(&local);
  engine->Resource_Free(data);
  engine->Resource_Free(data);
  EXPECT_EQ(TheBackend().resources.Outstanding(), 0);
  void* again = engine->Resource_Load("a.txt");
  EXPECT_NE(again, nullptr) << "the size pointer may be null";
  engine->Resource_Free(again);
}

TEST_F(ResourcesTest, PacksAreLookedUpBesideTheExecutableNotInTheWorkingDirectory) {
  backend::SetResourceDirectory("");
  // A pack in the working directory is not the program's pack.
  WriteAesPack(dir.File("QpCwdOnly.paq"), "K7Q2", Members());
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(dir.Path().c_str()), 0);
  testing::internal::CaptureStderr();
  const bool fromWorkingDirectory = engine->Resource_AttachPack("QpCwdOnly.paq", "K7Q2");
  testing::internal::GetCapturedStderr();
  ASSERT_EQ(chdir(cwd), 0);
  EXPECT_FALSE(fromWorkingDirectory);

  char* base = SDL_GetBasePath();
  ASSERT_NE(base, nullptr);
  const std::string besideExe = std::string(base) + "QpBesideExe.paq";
  SDL_free(base);
  WriteAesPack(besideExe, "K7Q2", Members());
  const bool attached = engine->Resource_AttachPack("QpBesideExe.paq", "K7Q2");
  std::string got;
  const bool loaded = Load("graphics/font.fnt", &got);
  std::filesystem::remove(besideExe);
  EXPECT_TRUE(attached);
  EXPECT_TRUE(loaded);
}

}  // namespace
