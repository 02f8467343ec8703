// Positions in an editor's text: a byte offset into the whole text, or a
// line (from 1) and a column (from 0) as the editor counts them. Lines end
// at CR LF, LF or a lone CR, as in the editor; the editor itself always
// hands out CR LF.
//
// The editor keeps a line longer than it takes as pieces, each a line of
// its own, and hands the text out with the pieces joined again: no line end
// marks where one piece stops. Those pieces are named with the text
// (ContinuedLines), so that positions agree with the editor's lines.
#pragma once

#include "markup/auto_insert.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace morvel {

struct TextPosition {
  int line = 1;
  int column = 0;

  friend bool operator==(const TextPosition&, const TextPosition&) = default;
};

// A line of the editor that goes on in the next one without a line end,
// and its length.
struct ContinuedLine {
  int line = 0;
  std::size_t length = 0;

  friend bool operator==(const ContinuedLine&, const ContinuedLine&) = default;
};
// In ascending order of lines; empty for a text without long lines.
using ContinuedLines = std::vector<ContinuedLine>;

// An offset past the end counts as the end of the text. The place where
// two pieces meet is the end of the first.
TextPosition positionAt(std::string_view text, std::size_t offset, const ContinuedLines& continued = {});

// A column past the end of its line counts as the line's end, a line past
// the last as the end of the text.
std::size_t offsetOf(std::string_view text, TextPosition position, const ContinuedLines& continued = {});

// The editor's number of a line counted by the line ends of the text: the
// pieces of longer lines before it push it down.
int editorLineOf(int textLine, const ContinuedLines& continued);

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
