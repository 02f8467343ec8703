// Letter case in page text: codes are compared without regard to the case of
// the letters a-z only; other bytes (Windows-1252 letters such as "æ")
// compare as they are.
#pragma once

#include <cstddef>
#include <string_view>

namespace morvel {

constexpr char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The first place at or after `from` where `pattern` starts, ignoring the
// case of a-z; npos when there is none.
inline std::size_t findIgnoringCase(std::string_view text, std::string_view pattern, std::size_t from = 0) {
  if (pattern.empty() || from > text.size()) return std::string_view::npos;
  const char first = upperAscii(pattern[0]);
  for (std::size_t at = from; at + pattern.size() <= text.size(); ++at) {
    if (upperAscii(text[at]) != first) continue;
    std::size_t i = 1;
    while (i < pattern.size() && upperAscii(text[at + i]) == upperAscii(pattern[i])) ++i;
    if (i == pattern.size()) return at;
  }
  return std::string_view::npos;
}

}  // namespace morvel
