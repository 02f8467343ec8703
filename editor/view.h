// Measuring text with the window's font, the sub-lines of wrapped lines,
// and the rows of the window: what painting, scrolling, the caret, the
// keys that move it by rows and the mouse all go by, so that they agree
// on where every character stands.
//
// Pixel offsets are measured from the start of a (sub-)line's text with
// the character widths of the font (at least 1) and TABs expanded to the
// next multiple of the tab width. A wrapped line's sub-lines each start at
// the left margin, so their tab stops count from their own start.
#pragma once

#include "instance.h"
#include "text_store.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace tivra {

inline int charWidth(const Instance& inst, unsigned char c) { return std::max(1, inst.font.charWidths[c]); }
inline int tabWidth(const Instance& inst) {
  return std::max(1, inst.layout.tabSize) * std::max(1, inst.font.averageCharWidth);
}
inline int rowHeight(const Instance& inst) { return std::max(1, inst.font.lineHeight); }
inline bool wrapping(const Instance& inst) { return (inst.layout.wordWrapFlags & TIVRA_WRAP_ON) != 0; }
inline int visibleRows(const Instance& inst) { return std::max(1, inst.layout.visibleLines); }

// The client x where the text of every row starts: the margin, less the
// horizontal scroll position (there is none with word wrap).
inline int textLeft(const Instance& inst) {
  return inst.layout.extraHorzSpacing - (wrapping(inst) ? 0 : inst.layout.horzScrollPos);
}

// The offset after one more character at offset x.
inline int advance(const Instance& inst, int x, char c) {
  if (c == '\t') {
    const int tab = tabWidth(inst);
    return (x / tab + 1) * tab;
  }
  return x + charWidth(inst, static_cast<unsigned char>(c));
}

inline int textWidth(const Instance& inst, std::string_view text) {
  int x = 0;
  for (char c : text) x = advance(inst, x, c);
  return x;
}

// The column of text[start ... end) whose boundary lies nearest to pixel
// offset x from text[start]: start ... end.
inline int columnNearest(const Instance& inst, std::string_view text, int start, int end, int x) {
  int left = 0;
  for (int i = start; i < end; ++i) {
    const int right = advance(inst, left, text[static_cast<size_t>(i)]);
    if (x < right) return x - left <= right - x ? i : i + 1;
    left = right;
  }
  return end;
}

// ---------------------------------------------------------------------------
// Word wrap (wrap.cpp)

// The wrap width in force: the fixed width, or the client width less the
// margins; 0 without word wrap.
int currentWrapWidth(const Instance& inst);

// The length of the sub-line that starts `rest` (the rest of a line).
int subLineLength(Instance& inst, std::string_view rest);

// The start columns of a line's sub-lines (one entry, 0, without wrap).
void subLineStarts(Instance& inst, std::string_view text, std::vector<int>& starts);

// The number of sub-lines of a line (at least 1).
int subLineCount(Instance& inst, int32_t line, LineHandle handle);

// The sub-line holding a column: the one it starts, or the last one at
// the end of the line.
int subLineOfColumn(const std::vector<int>& starts, int column);

// Where sub-line `sub` of a line of `length` characters ends.
inline int subLineEnd(const std::vector<int>& starts, int sub, int length) {
  return sub + 1 < static_cast<int>(starts.size()) ? starts[static_cast<size_t>(sub + 1)] : length;
}

// ---------------------------------------------------------------------------
// Rows of the window (display.cpp)

// A row of the window: a line, or one sub-line of a wrapped line.
struct Row {
  int32_t line;
  LineHandle handle;
  int subLine;
};

// The top row of the window.
Row topRow(const Instance& inst);

// Moves a row by `count` rows (negative: up), stopping at the first and
// the last row of the text. Returns the number of rows moved (signed).
int stepRows(Instance& inst, Row& row, int count);

// The row at client y, counted down from the top row; false above the
// window or below the last row of the text.
bool rowAt(Instance& inst, int y, Row* row);

// A row's line and where its sub-line starts and ends in it.
struct RowText {
  std::string_view line;
  int start;
  int end;
};
RowText rowText(Instance& inst, const Row& row);

// The column of a row nearest to client x (the sub-line's start ... end).
int columnAt(Instance& inst, const Row& row, int x);

// The caret's row and its pixel offset from the start of that row's text
// (the pixel column that Up and Down keep).
struct CaretSpot {
  Row row;
  int offset;
};
CaretSpot caretSpot(Instance& inst);

// ---------------------------------------------------------------------------
// Painting (paint.cpp)

// Paints the rows that meet `area` into `dc`, from the window's top row.
// transparent: the notify window painted the background (paint
// notification); withSelection: the selection is shown in its colours.
void paintRows(Instance& inst, HDC dc, const RECT& area, bool transparent, bool withSelection);

// Grows the horizontal scroll range to a line seen in painting: its length
// times the average character width, or its width where TABs make it wider
// (display.cpp).
void noteLineSeen(Instance& inst, std::string_view text);

}  // namespace tivra
