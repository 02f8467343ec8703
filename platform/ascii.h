// Letter case of the ASCII letters only, for names that compare without
// regard to case (window classes, registered messages, tag and attribute
// names in pages). Other bytes compare as they are, whatever the C locale
// says. Every layer uses this one header.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace ascii {

constexpr char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr bool isLetter(char c) { return upper(c) >= 'A' && upper(c) <= 'Z'; }

inline std::string upperCopy(std::string_view text) {
  std::string copy(text);
  for (char& c : copy) c = upper(c);
  return copy;
}

constexpr bool equalIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::string_view::size_type i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

constexpr bool lessIgnoringCase(std::string_view a, std::string_view b) {
  const std::string_view::size_type n = a.size() < b.size() ? a.size() : b.size();
  for (std::string_view::size_type i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(lower(a[i]));
    const auto y = static_cast<unsigned char>(lower(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

// True when `pattern` stands at text[at], letters compared without case.
constexpr bool matchesIgnoringCase(std::string_view text, std::size_t at, std::string_view pattern) {
  if (at > text.size() || text.size() - at < pattern.size()) return false;
  for (std::size_t i = 0; i < pattern.size(); ++i)
    if (upper(text[at + i]) != upper(pattern[i])) return false;
  return true;
}

constexpr bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return matchesIgnoringCase(text, 0, prefix);
}

// The first place from `from` on where `pattern` stands, letters compared
// without case; npos when none (or the pattern is empty).
inline std::size_t findIgnoringCase(std::string_view text, std::string_view pattern, std::size_t from = 0) {
  if (pattern.empty() || from > text.size()) return std::string_view::npos;
  const char first = pattern[0];
  for (std::size_t at = from; at + pattern.size() <= text.size(); ++at) {
    if (isLetter(first)) {
      if (upper(text[at]) != upper(first)) continue;
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

}  // namespace ascii
