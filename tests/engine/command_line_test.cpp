// The program starter: splitting command lines by the launcher's quoting
// rules, what counts as a web page, and real starts that must never let a
// shell see the line.
#include "engine/sdl/command_line.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "engine_fixture.h"
#include "gfx/os.h"

namespace {

using Fields = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheQuotingRules) {
  struct Case {
    const char* line;
    Fields fields;
  } cases[] = {
      {"Explorer https://www.pelmora.org/", {"Explorer", "https://www.pelmora.org/"}},
      {"Explorer \"https://x.org/a b\"", {"Explorer", "https://x.org/a b"}},
      {"prog \"say \"\"hi\"\"\"", {"prog", "say \"hi\""}},
      {"prog \"\"\"\"", {"prog", "\""}},
      {"prog \"\" last", {"prog", "", "last"}},
      {"  a   b  ", {"a", "b"}},
      {"", {}},
      {"   ", {}},
      {"prog \"unclosed text", {"prog", "unclosed text"}},
      {"a\"b c\"d e", {"ab cd", "e"}},
      {"prog a;b|c $(x) `y` 'z w'", {"prog", "a;b|c", "$(x)", "`y`", "'z", "w'"}},
      {"tab\tinside", {"tab\tinside"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.fields) << c.line;
  EXPECT_TRUE(SplitCommandLine(nullptr).empty());
}

// The launcher's own quoting: a field holding a space or a quote is quoted,
// its quotes doubled.
std::string QuoteField(const std::string& field) {
  if (field.find_first_of(" \"") == std::string::npos) return field;
  std::string out = "\"";
  for (char c : field) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

TEST(SplitCommandLine, GivesBackEveryFieldTheLauncherQuoted) {
  const Fields fields = {"Explorer",  "https://a.example/?q=1;rm -rf /",
                         "\"",        "a \"b\" c",
                         "x\"\"y",    "$(whoami)",
                         "`id`",      "plain",
                         "  spaced  "};
  std::string line;
  for (const std::string& f : fields) {
    if (!line.empty()) line += ' ';
    line += QuoteField(f);
  }
  EXPECT_EQ(SplitCommandLine(line.c_str()), fields) << line;
}

TEST(WebPageRequest, IsExplorerWithOneWebAddress) {
  struct Case {
    Fields fields;
    bool request;
  } requests[] = {
      {{"Explorer", "https://a.org/"}, true},
      {{"explorer.EXE", "http://a.org"}, true},
      {{"Explorer"}, false},
      {{"Explorer", "a", "b"}, false},
      {{"Explorerx", "https://a.org/"}, false},
      {{"firefox", "https://a.org/"}, false},
  };
  for (const Case& c : requests) EXPECT_EQ(IsWebPageRequest(c.fields), c.request) << c.fields[0];

  struct Address {
    const char* text;
    bool web;
  } addresses[] = {
      {"https://www.pelmora.org/", true},
      {"http://hge.relishgames.com/", true},
      {"HTTPS://A.ORG", true},
      {"https://a.org/?x=$(id);y=`id`|z", true},  // odd but harmless: never reaches a shell
      {"file:///etc/passwd", false},
      {"/usr/bin/xterm", false},
      {"javascript:alert(1)", false},
      {"https://", false},
      {"https:///path", false},
      {"https://a.org/\nsecond", false},
      {"", false},
  };
  for (const Address& a : addresses) EXPECT_EQ(IsWebAddress(a.text), a.web) << a.text;
}

// Waits until the recorder has written its file, or gives up after the
// timeout. Returns the lines it recorded.
bool WaitForRecord(const std::string& path, Fields* lines, std::chrono::seconds timeout) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < until) {
    std::ifstream in(path);
    if (in) {
      lines->clear();
      for (std::string line; std::getline(in, line);) lines->push_back(line);
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

class ProgramStarterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend::ResetControls();
    out = dir.File("argv.txt");
    setenv("ARGV_RECORDER_OUT", out.c_str(), 1);
    const char* path = std::getenv("PATH");
    savedPath = path ? path : "";
  }
  void TearDown() override {
    setenv("PATH", savedPath.c_str(), 1);
    unsetenv("ARGV_RECORDER_OUT");
    ReapStartedPrograms();
  }
  bool Exists(const std::string& name) { return std::filesystem::exists(dir.File(name)); }

  TempDir dir;
  std::string out, savedPath;
};

TEST_F(ProgramStarterTest, ArgumentsArriveWholeAndNoShellRunsThem) {
  const std::string marker = dir.File("shell-ran");
  const Fields args = {"one two",
                       ";touch " + marker,
                       "|touch " + marker,
                       "$(touch " + marker + ")",
                       "`touch " + marker + "`",
                       "&& touch " + marker,
                       "say \"hi\""};
  std::string line = QuoteField(ARGV_RECORDER);
  for (const std::string& a : args) {
    line += ' ';
    line += QuoteField(a);
  }
  EXPECT_GT(OS_StartProgram(line.c_str(), SHOW_CURRENT), 31u);
  Fields got;
  ASSERT_TRUE(WaitForRecord(out, &got, std::chrono::seconds(20))) << "the program did not run";
  EXPECT_EQ(got, args);
  EXPECT_FALSE(Exists("shell-ran"));
}

TEST_F(ProgramStarterTest, ExplorerOpensTheAddressWithTheWebPageOpener) {
  // The desktop's opener is xdg-open; a recorder of that name comes first.
  std::filesystem::create_directories(dir.File("bin"));
  std::filesystem::create_symlink(ARGV_RECORDER, dir.File("bin/xdg-open"));
  setenv("PATH", (dir.File("bin") + ":" + savedPath).c_str(), 1);
  const std::string address =
      "https://x.example/?a=1;touch%20f|b$(touch${IFS}" + dir.File("m") + ")`id`";
  EXPECT_GT(OS_StartProgram(("Explorer " + address).c_str(), SHOW_CURRENT), 31u);
  Fields got;
  ASSERT_TRUE(WaitForRecord(out, &got, std::chrono::seconds(20))) << "the opener did not run";
  EXPECT_EQ(got, Fields{address});
  EXPECT_FALSE(Exists("m"));
}

TEST_F(ProgramStarterTest, WhatCannotStartFailsWithoutStartingAnything) {
  std::filesystem::create_directories(dir.File("bin"));
  std::filesystem::create_symlink(ARGV_RECORDER, dir.File("bin/xdg-open"));
  setenv("PATH", (dir.File("bin") + ":" + savedPath).c_str(), 1);
  for (const char* line : {"", "   ", "qp-no-such-program-here arg", "Explorer file:///etc/passwd",
                           "Explorer /usr/bin/xterm", "\"\""}) {
    testing::internal::CaptureStderr();
    EXPECT_LE(OS_StartProgram(line, SHOW_CURRENT), 31u) << line;
    testing::internal::GetCapturedStderr();
  }
  // The refusals above never spawn; a later real start is the first record.
  ASSERT_GT(OS_StartProgram((QuoteField(ARGV_RECORDER) + " last").c_str(), SHOW_CURRENT), 31u);
  Fields got;
  ASSERT_TRUE(WaitForRecord(out, &got, std::chrono::seconds(20)));
  EXPECT_EQ(got, Fields{"last"});
}

TEST_F(ProgramStarterTest, TheHookSeesTheSplitRequestAndNothingStarts) {
  std::vector<backend::StartRequest> requests;
  backend::SetProgramStarterHook([&](const backend::StartRequest& r) {
    requests.push_back(r);
    return 42u;
  });
  EXPECT_EQ(OS_StartProgram("Explorer https://www.pelmora.org/", SHOW_CURRENT), 42u);
  EXPECT_EQ(OS_StartProgram((QuoteField(ARGV_RECORDER) + " \"a b\"").c_str(), SHOW_NORMAL), 42u);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_TRUE(requests[0].webPage);
  EXPECT_EQ(requests[0].fields, (Fields{"Explorer", "https://www.pelmora.org/"}));
  EXPECT_EQ(requests[0].showMode, SHOW_CURRENT);
  EXPECT_FALSE(requests[1].webPage);
  EXPECT_EQ(requests[1].fields, (Fields{ARGV_RECORDER, "a b"}));
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
