// Letter case in page text: codes are compared without regard to the case of
// the letters a-z only; other bytes (Windows-1252 letters such as "æ")
// compare as they are, whatever the locale says. Every comparison of page
// text that ignores case goes through these.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace morvel {

constexpr char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

constexpr bool isAsciiLetter(char c) { return upperAscii(c) >= 'A' && upperAscii(c) <= 'Z'; }

// The text with a-z made A-Z.
inline std::string upperAsciiCopy(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = upperAscii(c);
  return upper;
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upperAscii(a[i]) != upperAscii(b[i])) return false;
  return true;
}

// Whether `pattern` stands at text[at], ignoring case.
inline bool matchesIgnoringCase(std::string_view text, std::size_t at, std::string_view pattern) {
  if (at > text.size() || text.size() - at < pattern.size()) return false;
  for (std::size_t i = 0; i < pattern.size(); ++i)
    if (upperAscii(text[at + i]) != upperAscii(pattern[i])) return false;
  return true;
}

inline bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return matchesIgnoringCase(text, 0, prefix);
}

// The first place at or after `from` where `pattern` starts, ignoring case;
// npos when there is none. A pattern that begins with a byte without case
// ("<", "-") is looked for with memchr, which long pages need.
inline std::size_t findIgnoringCase(std::string_view text, std::string_view pattern, std::size_t from = 0) {
  if (pattern.empty() || from > text.size()) return std::string_view::npos;
  const char first = pattern[0];
  for (std::size_t at = from; at + pattern.size() <= text.size(); ++at) {
    if (isAsciiLetter(first)) {
      if (upperAscii(text[at]) != upperAscii(first)) continue;
    } else {
      const void* hit = std::memchr(text.data() + at, first, text.size() - at);
      if (!hit) break;
      at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
      if (at + pattern.size() > text.size()) break;
    }
    if (matchesIgnoringCase(text, at, pattern)) return at;
  }
  return std::string_view::npos;
}

}  // namespace morvel
