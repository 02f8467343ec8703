// Letter case of the ASCII letters only, for names that compare without
// regard to case (window classes, registered messages, dialog item
// classes). Other bytes compare as they are, whatever the C locale says.
#pragma once

#include <string_view>

namespace ascii {

constexpr char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

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

}  // namespace ascii
