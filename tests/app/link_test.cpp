// The link launcher: field quoting, field replacement in a bounded buffer
// and on a text line, and the command line that opens a web page.
#include "app/link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/engine_test.h"

namespace {

TEST(QuoteField, QuotesOnlyWhatNeedsIt) {
  struct Case {
    const char* field;
    const char* quoted;
  } cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"a b", "\"a b\""},
      {" ", "\" \""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\""},
      {"tab\there", "tab\there"},  // only the given separator counts
  };
  for (const Case& c : cases) EXPECT_EQ(QuoteField(c.field, ' ', '"'), c.quoted) << c.field;
  EXPECT_EQ(QuoteField("a;b", ';', '\''), "'a;b'");
  EXPECT_EQ(QuoteField("it's", ';', '\''), "'it''s'");
}

TEST(SetField, ReplacesAppendsAndTrims) {
  struct Case {
    const char* line;
    const char* field;
    int position;
    int result;
    const char* expected;
  } cases[] = {
      {"", "Explorer", 0, FIELD_DONE, "Explorer"},
      {"Explorer", "https://example.org/", 1, FIELD_DONE, "Explorer https://example.org/"},
      {"Explorer", "a b", 1, FIELD_DONE, "Explorer \"a b\""},
      {"Explorer", "say \"hi\"", 1, FIELD_DONE, "Explorer \"say \"\"hi\"\"\""},
      // Position 3 of two fields: an empty field, then the new one.
      {"a b", "z", 3, FIELD_DONE, "a b  z"},
      {"a b c", "z", 0, FIELD_DONE, "z b c"},
      {"a b c", "z", 1, FIELD_DONE, "a z c"},
      {"a b c", "z", 2, FIELD_DONE, "a b z"},
      {"abc", "z", 0, FIELD_DONE, "z"},
      // A separator inside quotes does not end the field.
      {"\"x y\" b", "z", 1, FIELD_DONE, "\"x y\" z"},
      {"\"x y\" b", "z", 0, FIELD_DONE, "z b"},
      {"a \"b c d\" e", "z", 2, FIELD_DONE, "a \"b c d\" z"},
      // Trailing separators go after every change.
      {"a b  ", "z", 0, FIELD_DONE, "z b"},
      {"a b", "", 1, FIELD_DONE, "a"},
      {"a", "", 2, FIELD_DONE, "a"},
      {"   ", "", 0, FIELD_DONE, ""},
      {"", "z", 2, FIELD_DONE, "  z"},
      {"a b", "z", -1, FIELD_BAD_ARGUMENTS, "a b"},
      {"a b", "z", -2147483647 - 1, FIELD_BAD_ARGUMENTS, "a b"},
      // The work buffer's capacity would not fit an int.
      {"a b", "z", 2147483647, FIELD_TOO_LONG, "a b"},
  };
  for (const Case& c : cases) {
    std::string line = c.line;
    EXPECT_EQ(SetField(line, ' ', c.field, c.position, '"'), c.result)
        << "'" << c.line << "' position " << c.position;
    EXPECT_EQ(line, c.expected) << "'" << c.line << "' position " << c.position;
  }
}

// A buffer of `capacity` bytes followed by guard bytes that must survive.
struct GuardedBuffer {
  static constexpr int GUARD = 16;
  std::vector<char> bytes;
  int capacity;
  // Copies the text and its terminator, cut at the capacity.
  GuardedBuffer(const char* text, int capacity) : bytes(capacity + GUARD, '#'), capacity(capacity) {
    std::memcpy(bytes.data(), text, std::min<size_t>(std::strlen(text) + 1, capacity));
  }
  char* data() { return bytes.data(); }
  bool GuardIntact() const {
    for (int i = capacity; i < capacity + GUARD; ++i)
      if (bytes[i] != '#') return false;
    return true;
  }
};

TEST(SetBufferField, RespectsTheCapacity) {
  struct Case {
    const char* text;
    int capacity;
    const char* field;
    int position;
    bool trim;
    int result;
    const char* expected;
  } cases[] = {
      {"abc", 7, "de", 1, true, FIELD_DONE, "abc de"},   // exact fit
      {"abc", 6, "de", 1, true, FIELD_TOO_LONG, "abc"},  // one byte short
      {"abc", 8, "defghij", 1, true, FIELD_TOO_LONG, "abc"},
      {"abc", 4, "\"", 0, true, FIELD_TOO_LONG, "abc"},  // quoting makes it longer
      {"abc", 5, "\"", 0, true, FIELD_DONE, "\"\"\"\""},
      {"a b ", 8, "z", 0, false, FIELD_DONE, "z b "},
      {"a b ", 8, "z", 0, true, FIELD_DONE, "z b"},
      // The fit is checked before trimming.
      {"a", 3, "", 2, true, FIELD_TOO_LONG, "a"},
      {"a", 4, "", 2, true, FIELD_DONE, "a"},
      {"abc", 0, "z", 0, true, FIELD_BAD_ARGUMENTS, "abc"},
      {"abc", -5, "z", 0, true, FIELD_BAD_ARGUMENTS, "abc"},
      {"abc", 8, "z", -1, true, FIELD_BAD_ARGUMENTS, "abc"},
  };
  for (const Case& c : cases) {
    GuardedBuffer buf(c.text, c.capacity > 0 ? c.capacity : 8);
    EXPECT_EQ(SetBufferField(buf.data(), ' ', c.field, c.position, c.capacity, '"', c.trim),
              c.result)
        << "'" << c.text << "' capacity " << c.capacity;
    EXPECT_STREQ(buf.data(), c.expected) << "'" << c.text << "' capacity " << c.capacity;
    EXPECT_TRUE(buf.GuardIntact()) << "'" << c.text << "' capacity " << c.capacity;
  }
}

TEST(SetBufferField, RefusesMissingArgumentsAndUnterminatedText) {
  GuardedBuffer buf("abc", 8);
  EXPECT_EQ(SetBufferField(nullptr, ' ', "z", 0, 8, '"', true), FIELD_BAD_ARGUMENTS);
  EXPECT_EQ(SetBufferField(buf.data(), ' ', nullptr, 0, 8, '"', true), FIELD_BAD_ARGUMENTS);
  EXPECT_STREQ(buf.data(), "abc");

  // Four bytes of text and no terminator within a capacity of 4.
  GuardedBuffer full("abcd", 4);
  EXPECT_EQ(SetBufferField(full.data(), ' ', "z", 1, 4, '"', true), FIELD_BAD_ARGUMENTS);
  EXPECT_EQ(std::string(full.data(), 4), "abcd");
  EXPECT_TRUE(full.GuardIntact());
}

TEST(SetBufferField, ShortEntryPointTrims) {
  GuardedBuffer buf("a b  ", 16);
  EXPECT_EQ(SetBufferField(buf.data(), ' ', "z", 1, 16, '"'), FIELD_DONE);
  EXPECT_STREQ(buf.data(), "a z");
}

class OpenWebPageTest : public EngineTest {};

TEST_F(OpenWebPageTest, StartsExplorerWithTheAddressInShowMode5) {
  struct Case {
    const char* address;
    const char* command;
  } cases[] = {
      {"https://example.org/", "Explorer https://example.org/"},
      {"https://example.org/a b", "Explorer \"https://example.org/a b\""},
      {"x\"y", "Explorer \"x\"\"y\""},
      {"", "Explorer"},
  };
  for (const Case& c : cases) {
    fake.started.clear();
    OpenWebPage(c.address);
    ASSERT_EQ(fake.started.size(), 1u) << c.address;
    EXPECT_EQ(fake.started[0].command, c.command);
    EXPECT_EQ(fake.started[0].showMode, 5);
  }
}

}  // namespace
