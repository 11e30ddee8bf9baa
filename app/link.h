// The link launcher: a few utilities for lines of separator-delimited,
// optionally quoted fields, and the web-page opener built on them.
//
// A field holding the separator or the quote character is enclosed in quote
// characters with every quote inside it doubled. While a line is scanned, a
// quote character toggles "inside quotes"; separators inside quotes do not
// end a field. Positions count from 0.
#pragma once

#include <string>

// Results of SetBufferField and SetField.
enum : int {
  FIELD_DONE = 0,
  FIELD_BAD_ARGUMENTS = -1,
  FIELD_TOO_LONG = -2,
};

// The field, enclosed in quotes (inner quotes doubled) when it holds the
// separator or the quote character; otherwise unchanged.
std::string QuoteField(const std::string& field, char sep, char quote);

// Replaces the field at `position` of the zero-terminated line in `buf`, or
// appends it (after empty fields as needed). `capacity` is the size of `buf`
// including the terminator; nothing is ever written or read beyond it. With
// `trim`, separators at the end of the result are removed.
// Returns FIELD_DONE, FIELD_BAD_ARGUMENTS (negative position, capacity <= 0,
// no buffer or field, or no terminator within the capacity) or
// FIELD_TOO_LONG; on failure `buf` is unchanged.
int SetBufferField(char* buf, char sep, const char* field, int position, int capacity, char quote,
                   bool trim);
// The same with trailing separators always trimmed.
int SetBufferField(char* buf, char sep, const char* field, int position, int capacity, char quote);

// SetBufferField on a text line, with a work buffer that always fits the
// result. On failure the line is unchanged.
int SetField(std::string& line, char sep, const std::string& field, int position, char quote);

// Starts "Explorer <address>" (the address quoted if needed) with show mode
// 5; a failed start is not reported.
void OpenWebPage(const std::string& address);

// The command line OpenWebPage starts for an address.
std::string WebPageCommand(const std::string& address);
