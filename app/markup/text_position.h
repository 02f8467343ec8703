// Positions in an editor's text: a byte offset into the whole text, or a
// line (from 1) and a column (from 0) as the editor counts them. Lines end
// at CR LF, LF or a lone CR, as in the editor; the editor itself always
// hands out CR LF.
#pragma once

#include "markup/auto_insert.h"

#include <cstddef>
#include <string_view>

namespace morvel {

struct TextPosition {
  int line = 1;
  int column = 0;

  friend bool operator==(const TextPosition&, const TextPosition&) = default;
};

// An offset past the end counts as the end of the text.
TextPosition positionAt(std::string_view text, std::size_t offset);

// A column past the end of its line counts as the line's end, a line past
// the last as the end of the text.
std::size_t offsetOf(std::string_view text, TextPosition position);

// Where `place` (at or after `at`) lies once `inserted` has been put in at
// `at`: on the same line it moves right by the inserted text, or down to
// its last line when that holds line breaks; on later lines it moves down.
TextPosition positionAfterInsert(TextPosition place, TextPosition at, std::string_view inserted);

// Where a place in the text lies after `edit` (whose position and erased
// length refer to the text before it). A place at or after the edited part
// moves with the text behind it; a place inside the erased part goes to
// the end of what was put in.
std::size_t offsetAfterEdit(std::size_t offset, const TextEdit& edit);

}  // namespace morvel
