// Small text helpers shared by the scene, the solver and the lists.
#pragma once

#include <string>
#include <string_view>

// Draw-order and ranking key: the value truncated toward zero to a 32-bit
// integer, plus 1000000000, as decimal text left-padded with "0" to 11
// characters, then the suffix. Over -1000000000 .. 1147483647 the text order
// of the keys is the numeric order of the values.
std::string NumberKey(std::string_view suffix, double value);

// True when text begins with prefix, byte for byte; "" is a prefix of all.
bool StartsWith(std::string_view text, std::string_view prefix);
