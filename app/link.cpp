// The link launcher: quoting and replacing fields of a command line, and
// starting the web-page opener with it.
#include "app/link.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "gfx/os.h"

std::string QuoteField(const std::string& field, char sep, char quote) {
  bool needs = field.find(sep) != std::string::npos;
  if (field.find(quote) == std::string::npos) {
    return needs ? quote + field + quote : field;
  }
  std::string quoted(1, quote);
  for (char ch : field) {
    quoted += ch;
    if (ch == quote) quoted += quote;
  }
  quoted += quote;
  return quoted;
}

int SetBufferField(char* buf, char sep, const char* field, int position, int capacity, char quote,
                   bool trim) {
  if (position < 0 || capacity <= 0 || !field || !buf) return FIELD_BAD_ARGUMENTS;
  // The text must end inside the buffer; a line without its terminator
  // would send the scan past the capacity.
  const void* end = std::memchr(buf, '\0', static_cast<size_t>(capacity));
  if (!end) return FIELD_BAD_ARGUMENTS;
  const size_t length = static_cast<size_t>(static_cast<const char*>(end) - buf);

  const std::string q = QuoteField(field, sep, quote);
  std::string out;
  bool inside = false;
  int count = 0;
  size_t last = 0;
  for (size_t i = 0; i < length; ++i) {
    const char ch = buf[i];
    if (ch == quote) {
      inside = !inside;
    } else if (!inside && ch == sep) {
      if (count == position) {
        if (count > 0) out += sep;
        out += q;
      } else {
        // The first field, or a later one with the separator before it.
        out.append(buf + last, i - last);
      }
      last = i;
      ++count;
    }
  }
  if (count < position) {
    // A far position would need as many separators: refuse it before
    // building a result that cannot fit (it could be gigabytes).
    const int64_t needed = static_cast<int64_t>(out.size() + (length - last) + q.size()) +
                           (static_cast<int64_t>(position) - count) + 1;
    if (needed > capacity) return FIELD_TOO_LONG;
    out.append(buf + last, length - last);
    out.append(static_cast<size_t>(position - count), sep);
    out += q;
  } else if (count == position) {
    if (count > 0) out += sep;
    out += q;
  } else if (last < length) {
    out.append(buf + last, length - last);
  }

  if (out.size() + 1 > static_cast<size_t>(capacity)) return FIELD_TOO_LONG;
  std::memcpy(buf, out.data(), out.size());
  buf[out.size()] = '\0';
  buf[capacity - 1] = '\0';
  if (trim) {
    size_t size = out.size();
    while (size > 0 && buf[size - 1] == sep) buf[--size] = '\0';
  }
  return FIELD_DONE;
}

int SetBufferField(char* buf, char sep, const char* field, int position, int capacity, char quote) {
  return SetBufferField(buf, sep, field, position, capacity, quote, true);
}

int SetField(std::string& line, char sep, const std::string& field, int position, char quote) {
  if (position < 0) return FIELD_BAD_ARGUMENTS;
  // A quoted field is at most twice as long plus its two quotes, so this
  // always holds the result; the capacity must still fit an int.
  const int64_t length =
      static_cast<int64_t>(line.size()) + 2 * static_cast<int64_t>(field.size()) + position + 12;
  if (length + 1 > INT_MAX) return FIELD_TOO_LONG;
  std::vector<char> buffer(static_cast<size_t>(length) + 1, ' ');
  std::memcpy(buffer.data(), line.data(), line.size());
  buffer[line.size()] = '\0';
  buffer[static_cast<size_t>(length)] = '\0';
  const int result = SetBufferField(buffer.data(), sep, field.c_str(), position,
                                    static_cast<int>(length) + 1, quote, true);
  if (result == FIELD_DONE) line = buffer.data();
  return result;
}

std::string WebPageCommand(const std::string& address) {
  std::string line;
  SetField(line, ' ', "Explorer", 0, '"');
  SetField(line, ' ', address, 1, '"');
  return line;
}

void OpenWebPage(const std::string& address) {
  // A page that does not open is not reported: the user can click again.
  OS_StartProgram(WebPageCommand(address).c_str(), SHOW_CURRENT);
}
