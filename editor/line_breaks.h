// Where a line too wide for its room is broken into pieces: word wrap on
// the screen and long lines on paper break alike.
#pragma once

#include <algorithm>
#include <string_view>

namespace tivra {

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

// How many characters from the start of `text` fit in `width` pixels;
// advance(x, c) is the offset after character c drawn at offset x.
template <typename Advance>
int fittingLength(std::string_view text, int width, Advance&& advance) {
  const int size = static_cast<int>(text.size());
  int x = 0;
  int fitting = 0;
  while (fitting < size) {
    const int next = advance(x, text[static_cast<size_t>(fitting)]);
    if (next > width) break;
    x = next;
    ++fitting;
  }
  return fitting;
}

// The length of the first piece of `text`, of which only `fitting`
// characters fit: up to and with the last blank that fits (a blank that
// overflows stays at the end of the piece, so that the next one starts
// with the next word); without a blank, all that fits, at least one
// character.
inline int breakAtBlank(std::string_view text, int fitting) {
  if (fitting >= static_cast<int>(text.size())) return static_cast<int>(text.size());
  if (isBlank(text[static_cast<size_t>(fitting)])) return fitting + 1;
  for (int b = fitting - 1; b >= 0; --b) {
    if (isBlank(text[static_cast<size_t>(b)])) return b + 1;
  }
  return std::max(fitting, 1);
}

}  // namespace tivra
