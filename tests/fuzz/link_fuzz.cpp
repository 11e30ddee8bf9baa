// Fuzz target: the link launcher's field utilities with arbitrary buffer
// contents, field, position and capacity. SetBufferField gets a heap buffer
// of exactly `capacity` bytes (which need not hold a terminator), so any
// access beyond it is caught. A success leaves a terminated text within the
// capacity whose field at `position` is the quoted field and whose earlier
// fields are untouched; a failure leaves the buffer as it was. SetField
// always fits.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/link.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "link fuzz: %s\n", what);
  std::abort();
}

// Fields of a line split as the scanner splits them: a quote toggles
// "inside", separators outside quotes end a field.
std::vector<std::string> Fields(const std::string& line, char sep, char quote) {
  std::vector<std::string> fields(1);
  bool inside = false;
  for (char ch : line) {
    if (ch == quote) inside = !inside;
    if (!inside && ch == sep && ch != quote) {
      fields.emplace_back();
    } else {
      fields.back() += ch;
    }
  }
  return fields;
}

// Reads the fixed-size head of the input; missing bytes read as 0.
struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  uint8_t Byte() { return at < size ? data[at++] : 0; }
  int32_t Int() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return static_cast<int32_t>(v);
  }
};

// The field must come back exactly, and every field before it unchanged,
// when the old line had no quote character (an unbalanced quote in the old
// line may rightly swallow the new field) and the field is not empty (an
// empty last field is trimmed away with its separator).
void CheckFields(const std::string& before, const std::string& after, char sep, char quote,
                 const std::string& field, int position) {
  if (field.empty() || sep == quote || sep == '\0' || quote == '\0') return;
  if (before.find(quote) != std::string::npos) return;
  const std::vector<std::string> old = Fields(before, sep, quote);
  const std::vector<std::string> now = Fields(after, sep, quote);
  Check(static_cast<int>(now.size()) > position, "the field is missing from the result");
  Check(now[static_cast<size_t>(position)] == QuoteField(field, sep, quote),
        "the field at the position is not the quoted field");
  for (int i = 0; i < position && i < static_cast<int>(old.size()); ++i)
    Check(now[static_cast<size_t>(i)] == old[static_cast<size_t>(i)],
          "a field before the position changed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  const char sep = static_cast<char>(in.Byte());
  const char quote = static_cast<char>(in.Byte());
  const uint8_t flags = in.Byte();
  const bool trim = flags & 1;
  // Small positions and capacities most of the time; now and then any value.
  int position = in.Int();
  int capacity = in.Int();
  if (!(flags & 2)) position = static_cast<int>(static_cast<uint32_t>(position) % 64) - 2;
  if (!(flags & 4)) capacity = static_cast<int>(static_cast<uint32_t>(capacity) % 300) - 2;
  const uint8_t fieldLength = in.Byte();
  std::string field;
  while (field.size() < fieldLength && in.at < size) field += static_cast<char>(in.Byte());
  // Both entry points take the field as a C text.
  field = field.substr(0, field.find('\0'));
  const std::string contents(reinterpret_cast<const char*>(data) + in.at, size - in.at);

  // SetBufferField on a buffer of exactly `capacity` bytes.
  if (capacity > 0 && capacity <= 65536) {
    const size_t cap = static_cast<size_t>(capacity);
    std::vector<char> buf(cap);
    for (size_t i = 0; i < cap; ++i) buf[i] = i < contents.size() ? contents[i] : '\0';
    const std::vector<char> original = buf;
    const char* terminator = static_cast<const char*>(std::memchr(original.data(), 0, cap));
    const std::string before =
        terminator ? std::string(original.data(), terminator) : std::string();
    const int r = SetBufferField(buf.data(), sep, field.c_str(), position, capacity, quote, trim);
    if (r == FIELD_DONE) {
      Check(std::memchr(buf.data(), 0, cap) != nullptr, "the result is not terminated");
      Check(position >= 0 && terminator, "success on bad arguments");
      const std::string after(buf.data());
      // A zero separator or quote cuts the text short wherever it lands.
      if (trim && sep != '\0' && quote != '\0')
        Check(after.empty() || after.back() != sep, "a trailing separator survived");
      CheckFields(before, after, sep, quote, field, position);
    } else {
      Check(r == FIELD_BAD_ARGUMENTS || r == FIELD_TOO_LONG, "an unknown result");
      Check(buf == original, "a failure changed the buffer");
    }
  } else if (capacity <= 0) {
    char small[4] = {'a', '\0', 'b', 'c'};
    const int r = SetBufferField(small, sep, field.c_str(), position, capacity, quote, trim);
    Check(r == FIELD_BAD_ARGUMENTS && std::memcmp(small, "a\0bc", 4) == 0,
          "a capacity of 0 or less was accepted");
  }

  // SetField on the same contents as a text line: it always fits. Its work
  // buffer grows with the position, so far positions are left out.
  if (position >= (1 << 16)) return 0;
  std::string line = contents.substr(0, contents.find('\0'));
  const std::string before = line;
  const int r = SetField(line, sep, field, position, quote);
  if (position < 0) {
    Check(r == FIELD_BAD_ARGUMENTS && line == before, "a negative position was accepted");
  } else {
    Check(r == FIELD_DONE, "SetField did not fit");
    CheckFields(before, line, sep, quote, field, position);
  }
  return 0;
}
