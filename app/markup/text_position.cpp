#include "markup/text_position.h"

#include <algorithm>

namespace morvel {

namespace {

// Past the line break at `at` (CR LF, LF or CR).
std::size_t pastLineBreak(std::string_view text, std::size_t at) {
  if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') return at + 2;
  return at + 1;
}

}  // namespace

TextPosition positionAt(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  TextPosition p;
  std::size_t lineStart = 0;
  for (;;) {
    const std::size_t lineEnd = text.find_first_of("\r\n", lineStart);
    // An offset between the CR and the LF of one break is the end of that line.
    if (lineEnd == std::string_view::npos || lineEnd >= offset || pastLineBreak(text, lineEnd) > offset) {
      p.column = static_cast<int>(std::min(offset, lineEnd) - lineStart);
      return p;
    }
    lineStart = pastLineBreak(text, lineEnd);
    ++p.line;
  }
}

std::size_t offsetOf(std::string_view text, TextPosition position) {
  std::size_t lineStart = 0;
  for (int line = 1; line < position.line; ++line) {
    const std::size_t end = text.find_first_of("\r\n", lineStart);
    if (end == std::string_view::npos) return text.size();
    lineStart = pastLineBreak(text, end);
  }
  const std::size_t lineEnd = std::min(text.find_first_of("\r\n", lineStart), text.size());
  return std::min(lineStart + static_cast<std::size_t>(std::max(position.column, 0)), lineEnd);
}

TextPosition positionAfterInsert(TextPosition place, TextPosition at, std::string_view inserted) {
  const TextPosition end = positionAt(inserted, inserted.size());
  const int breaks = end.line - 1;
  if (place.line != at.line) return {place.line + breaks, place.column};
  const int tail = place.column - at.column;
  if (breaks == 0) return {place.line, place.column + end.column};
  return {place.line + breaks, end.column + tail};
}

std::size_t offsetAfterEdit(std::size_t offset, const TextEdit& edit) {
  if (offset < edit.position) return offset;
  const std::size_t erasedEnd = edit.position + edit.eraseLength;
  if (offset < erasedEnd) return edit.position + edit.insertText.size();
  return offset - edit.eraseLength + edit.insertText.size();
}

}  // namespace morvel
