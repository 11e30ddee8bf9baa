// WritePack: members come back byte for byte with the password and are
// sealed without it; bad member lists and unwritable paths fail with a
// reason and leave any earlier pack at that path alone.
#include "tools/pack_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "tests/support/pack_fixtures.h"

namespace {

const std::string PASSWORD = "K3Z9";

std::string Noise(size_t size, unsigned seed) {
  std::mt19937 gen(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(gen() & 0xFF);
  return bytes;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class PackWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("qp_pack_writer_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    path = (dir / "test.paq").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::filesystem::path dir;
  std::string path;
};

TEST_F(PackWriterTest, EveryMemberReadsBackWithThePassword) {
  std::vector<PackMember> members = {
      {"graphics\\font.fnt", "[HGEFONT]\r\nBitmap=font.png\r\nChar=41,1,1,7,13,0,1\r\n"},
      {"graphics\\nul_and_high.bin", std::string("\0\x01\xFF\x80\0", 5)},
      {"graphics\\empty.png", ""},
      {"graphics\\noise.png", Noise(200000, 7), true, false},  // stored, encrypted
      {"readme.txt", "plain", false, true},                    // deflated, not encrypted
      {"deep\\a\\b\\c.dat", Noise(1000, 8)},
  };
  std::string error;
  ASSERT_TRUE(WritePack(path, PASSWORD, members, &error)) << error;

  std::vector<PackEntry> entries;
  ASSERT_TRUE(ReadPack(path, PASSWORD, &entries, &error)) << error;
  ASSERT_EQ(entries.size(), members.size());
  for (const PackMember& m : members) {
    const PackEntry* e = FindEntry(entries, m.name);
    ASSERT_NE(e, nullptr) << m.name;
    EXPECT_EQ(e->bytes, m.bytes) << m.name;
    EXPECT_EQ(e->encryption, m.encrypt ? ZIP_EM_AES_256 : ZIP_EM_NONE) << m.name;
    EXPECT_EQ(e->compression, m.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE) << m.name;
  }
  // The plain text never stands in the file where a member is encrypted.
  EXPECT_EQ(Slurp(path).find("[HGEFONT]"), std::string::npos);
}

TEST_F(PackWriterTest, EncryptedMembersStaySealedWithoutTheRightPassword) {
  std::string error;
  ASSERT_TRUE(WritePack(path, PASSWORD, {{"graphics\\font.fnt", "[HGEFONT]\n"}}, &error)) << error;
  for (const std::string& wrong : {std::string(), std::string("K3Z8"), std::string("k3z9")}) {
    std::vector<PackEntry> entries;
    EXPECT_FALSE(ReadPack(path, wrong, &entries, &error)) << "password \"" << wrong << "\"";
  }
}

TEST_F(PackWriterTest, AnEmptyMemberListMakesAnEmptyArchive) {
  std::string error;
  ASSERT_TRUE(WritePack(path, PASSWORD, {}, &error)) << error;
  std::vector<PackEntry> entries = {{"stale", "x"}};
  ASSERT_TRUE(ReadPack(path, PASSWORD, &entries, &error)) << error;
  EXPECT_TRUE(entries.empty());
}

TEST_F(PackWriterTest, ANewPackReplacesTheOldOne) {
  std::string error;
  ASSERT_TRUE(WritePack(path, PASSWORD, {{"old.txt", "old"}}, &error)) << error;
  ASSERT_TRUE(WritePack(path, PASSWORD, {{"new.txt", "new"}}, &error)) << error;
  std::vector<PackEntry> entries;
  ASSERT_TRUE(ReadPack(path, PASSWORD, &entries, &error)) << error;
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "new.txt");
  EXPECT_EQ(entries[0].bytes, "new");
}

TEST_F(PackWriterTest, RefusedPacksLeaveTheEarlierPackAlone) {
  struct Case {
    const char* what;
    std::string password;
    std::vector<PackMember> members;
    bool unwritable;
  };
  const Case cases[] = {
      {"unnamed member", PASSWORD, {{"a", "1"}, {"", "2"}}, false},
      {"name used twice", PASSWORD, {{"a\\b", "1"}, {"a\\b", "2"}}, false},
      {"encryption without password", "", {{"a", "1"}}, false},
      {"folder that does not exist", PASSWORD, {{"a", "1"}}, true},
  };
  std::string error;
  ASSERT_TRUE(WritePack(path, PASSWORD, {{"keep.txt", "kept"}}, &error)) << error;
  const std::string before = Slurp(path);
  for (const Case& c : cases) {
    const std::string target = c.unwritable ? (dir / "missing" / "x.paq").string() : path;
    error.clear();
    EXPECT_FALSE(WritePack(target, c.password, c.members, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_EQ(Slurp(path), before) << c.what;
    if (c.unwritable) {
      EXPECT_FALSE(std::filesystem::exists(target)) << c.what;
    }
  }
}

TEST_F(PackWriterTest, UnencryptedPacksNeedNoPassword) {
  std::string error;
  ASSERT_TRUE(WritePack(path, "", {{"a.txt", "open", false, true}}, &error)) << error;
  std::vector<PackEntry> entries;
  ASSERT_TRUE(ReadPack(path, "", &entries, &error)) << error;
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].bytes, "open");
}

}  // namespace
