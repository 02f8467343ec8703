#include "markup/text_position.h"

#include <algorithm>

namespace morvel {

namespace {

// Past the line break at `at` (CR LF, LF or CR).
std::size_t pastLineBreak(std::string_view text, std::size_t at) {
  if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') return at + 2;
  return at + 1;
}

// Walks the lines of a text from the first: where each ends, and where the
// next begins (right there after a piece that continues).
class LineWalker {
 public:
  LineWalker(std::string_view text, const ContinuedLines& continued) : text_(text), continued_(continued) {}

  int line() const { return line_; }
  std::size_t start() const { return start_; }
  // The end of the current line's characters.
  std::size_t end() {
    if (continues()) return std::min(start_ + continued_[next_].length, text_.size());
    return std::min(text_.find_first_of("\r\n", start_), text_.size());
  }
  // Where the next line begins; npos after the last line.
  std::size_t nextStart() {
    const std::size_t e = end();
    if (continues()) return e;
    return e < text_.size() ? pastLineBreak(text_, e) : std::string_view::npos;
  }
  // False after the last line.
  bool advance() {
    const std::size_t next = nextStart();
    if (next == std::string_view::npos) return false;
    start_ = next;
    ++line_;
    return true;
  }

 private:
  bool continues() {
    while (next_ < continued_.size() && continued_[next_].line < line_) ++next_;
    return next_ < continued_.size() && continued_[next_].line == line_;
  }

  std::string_view text_;
  const ContinuedLines& continued_;
  std::size_t next_ = 0;
  int line_ = 1;
  std::size_t start_ = 0;
};

}  // namespace

TextPosition positionAt(std::string_view text, std::size_t offset, const ContinuedLines& continued) {
  offset = std::min(offset, text.size());
  LineWalker lines(text, continued);
  for (;;) {
    const std::size_t end = lines.end();
    const std::size_t next = lines.nextStart();
    // An offset between the CR and the LF of one break is the end of that line.
    if (end >= offset || next == std::string_view::npos || next > offset)
      return TextPosition{lines.line(), static_cast<int>(std::min(offset, end) - lines.start())};
    lines.advance();
  }
}

std::size_t offsetOf(std::string_view text, TextPosition position, const ContinuedLines& continued) {
  LineWalker lines(text, continued);
  while (lines.line() < position.line) {
    if (!lines.advance()) return text.size();
  }
  return std::min(lines.start() + static_cast<std::size_t>(std::max(position.column, 0)), lines.end());
}

int editorLineOf(int textLine, const ContinuedLines& continued) {
  int pushed = 0;
  for (std::size_t k = 0; k < continued.size(); ++k) {
    // Every piece of one line of the text gives the same number here.
    const int lineOfText = continued[k].line - static_cast<int>(k);
    if (lineOfText >= textLine) break;
    ++pushed;
  }
  return textLine + pushed;
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
