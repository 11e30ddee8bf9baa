#include "util/text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "util/named_list.h"

std::string NumberKey(std::string_view suffix, double value) {
  // Clamp to the 32-bit range instead of letting the conversion overflow.
  int64_t whole = 0;
  if (std::isnan(value)) {
    whole = 0;
  } else if (value >= 2147483647.0) {
    whole = 2147483647;
  } else if (value <= -2147483648.0) {
    whole = -2147483648LL;
  } else {
    whole = static_cast<int32_t>(value);  // truncates toward zero
  }
  char digits[32];
  std::snprintf(digits, sizeof digits, "%011lld", static_cast<long long>(whole + 1000000000LL));
  std::string key(digits);
  key.append(suffix);
  return key;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

static unsigned char FoldByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

int CompareNames(std::string_view a, std::string_view b, bool caseSensitive) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[i]);
    if (!caseSensitive) {
      ca = FoldByte(ca);
      cb = FoldByte(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string FoldName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
  return folded;
}
