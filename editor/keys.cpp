// The key table: caret moves (Shift extends the selection), the insert
// mode, clipboard and undo keys, and the keys that open the search
// commands.
#include "editing.h"

#include "entry_points.h"
#include "line_breaks.h"
#include "text_messages.h"
#include "text_store.h"
#include "view.h"

#include <algorithm>

namespace tivra {

namespace {

struct Target {
  int32_t line;
  int column;
};

Target caretPosition(const Instance& inst) { return Target{inst.text.caret.line, inst.caretColumn}; }

int lengthOf(const Instance& inst, int32_t line) {
  return line == inst.text.caret.line ? inst.lineBuffer.length : lineLength(lineFromNumber(inst, line));
}

bool wrapKeys(const Instance& inst) { return inst.options & TivraOption::WrapKeys; }

Target left(const Instance& inst) {
  Target t = caretPosition(inst);
  if (t.column > 0) return Target{t.line, t.column - 1};
  if (wrapKeys(inst) && t.line > 1) return Target{t.line - 1, lengthOf(inst, t.line - 1)};
  return t;
}

Target right(const Instance& inst) {
  Target t = caretPosition(inst);
  if (t.column < inst.lineBuffer.length) return Target{t.line, t.column + 1};
  if (wrapKeys(inst) && t.line < inst.text.lineCount) return Target{t.line + 1, 0};
  return t;
}

// Words are separated by spaces, TABs and line ends.
Target previousWord(const Instance& inst) {
  Target t = caretPosition(inst);
  if (t.column == 0) return wrapKeys(inst) ? left(inst) : t;
  const char* text = inst.lineBuffer.text;
  int i = t.column;
  while (i > 0 && isBlank(text[i - 1])) --i;
  while (i > 0 && !isBlank(text[i - 1])) --i;
  return Target{t.line, i};
}

Target nextWord(const Instance& inst) {
  Target t = caretPosition(inst);
  const int length = inst.lineBuffer.length;
  if (t.column == length) return wrapKeys(inst) ? right(inst) : t;
  const char* text = inst.lineBuffer.text;
  int i = t.column;
  while (i < length && !isBlank(text[i])) ++i;
  while (i < length && isBlank(text[i])) ++i;
  return Target{t.line, i};
}

// Up, Down and the page keys move by the rows the window shows: the lines,
// or with word wrap the sub-lines.

// The column in a row at the pixel offset the caret keeps. The end of a
// sub-line that is not its line's last is where the next one starts, which
// shows on the next row: the caret stays before it.
int keptColumn(Instance& inst, const Row& row) {
  const RowText t = rowText(inst, row);
  const int column = columnNearest(inst, t.line, t.start, t.end, inst.layout.caretPixelColumn);
  return column == t.end && t.end < static_cast<int>(t.line.size()) ? column - 1 : column;
}

// The caret's row. The offset kept is the caret's own unless the caret
// still stands where the last move by rows put it (EM_SETSEL and the like
// move it without a word).
Row caretRowKeepingOffset(Instance& inst) {
  const CaretSpot spot = caretSpot(inst);
  if (keptColumn(inst, spot.row) != inst.caretColumn) inst.layout.caretPixelColumn = spot.offset;
  return spot.row;
}

void moveToRow(Instance& inst, const Row& row, bool extend) {
  moveCaret(inst, row.line, keptColumn(inst, row), extend, true);
}

void moveByRows(Instance& inst, int count, bool extend) {
  Row row = caretRowKeepingOffset(inst);
  stepRows(inst, row, count);
  moveToRow(inst, row, extend);
}

void pageMove(Instance& inst, bool down, bool extend) {
  const int rows = visibleRows(inst);
  SendMessage(inst.window, WM_VSCROLL, down ? SB_PAGEDOWN : SB_PAGEUP, 0);
  moveByRows(inst, down ? rows : -rows, extend);
}

void windowRow(Instance& inst, bool bottom, bool extend) {
  caretRowKeepingOffset(inst);
  Row row = topRow(inst);
  if (bottom) stepRows(inst, row, visibleRows(inst) - 1);
  moveToRow(inst, row, extend);
}

void moveTo(Instance& inst, Target t, bool extend) { moveCaret(inst, t.line, t.column, extend); }

// Keys with Ctrl held; false for a key that means nothing with Ctrl.
bool controlKey(Instance& inst, WPARAM key, bool shift) {
  const int32_t line = inst.text.caret.line;
  switch (key) {
    case VK_LEFT:
    case 'L':
      moveTo(inst, previousWord(inst), shift);
      return true;
    case VK_RIGHT:
    case 'R':
      moveTo(inst, nextWord(inst), shift);
      return true;
    case VK_UP:
      moveCaret(inst, line, 0, shift);
      return true;
    case VK_DOWN:
      moveCaret(inst, line, inst.lineBuffer.length, shift);
      return true;
    case VK_HOME:
      moveCaret(inst, 1, 0, shift);
      return true;
    case VK_END:
      moveCaret(inst, inst.text.lineCount, lengthOf(inst, inst.text.lineCount), shift);
      return true;
    case VK_PRIOR:
    case 'U':
      windowRow(inst, false, shift);
      return true;
    case VK_NEXT:
    case 'D':
      windowRow(inst, true, shift);
      return true;
    default:
      return false;
  }
}

// Keys that act rather than move; they scroll for themselves.
bool commandKey(Instance& inst, WPARAM key, bool ctrl, bool shift) {
  switch (key) {
    case VK_INSERT:
      if (ctrl && shift)
        editingCommand(inst, TCMD_DUPLICATE);
      else if (ctrl)
        editingCommand(inst, TCMD_COPY);
      else if (shift)
        editingCommand(inst, TCMD_PASTE);
      else
        SendMessage(inst.window, TM_SETINSERTMODE, 2, 0);
      return true;
    case VK_DELETE:
      if (shift && !ctrl)
        editingCommand(inst, TCMD_CUT);
      else if (ctrl)
        deleteSelectionKey(inst);
      else
        deleteKey(inst);
      return true;
    case VK_BACK:
      if (ctrl) editingCommand(inst, shift ? TCMD_REDO : TCMD_UNDO);
      return ctrl;
    case VK_F3:
      searchCommand(inst, TCMD_FINDNEXT);
      return true;
    default:
      break;
  }
  if (!ctrl) return false;
  switch (key) {
    case 'V':
      editingCommand(inst, TCMD_PASTE);
      return true;
    case 'C':
      editingCommand(inst, TCMD_COPY);
      return true;
    case 'X':
      editingCommand(inst, TCMD_CUT);
      return true;
    case 'Y':
      deleteLineKey(inst, shift);
      return true;
    case 'Z':
      editingCommand(inst, TCMD_REDO);
      return true;
    case 'A':
      selectAll(inst);
      afterCaretMove(inst);
      return true;
    case 'F':
      searchCommand(inst, TCMD_FIND);
      return true;
    case 'G':
      searchCommand(inst, TCMD_GOTOLINE);
      return true;
    case 'H':
      if (!readOnly(inst)) searchCommand(inst, TCMD_REPLACE);
      return true;
    default:
      return false;
  }
}

bool moveKey(Instance& inst, WPARAM key, bool shift) {
  const int32_t line = inst.text.caret.line;
  switch (key) {
    case VK_LEFT:
      moveTo(inst, left(inst), shift);
      return true;
    case VK_RIGHT:
      moveTo(inst, right(inst), shift);
      return true;
    case VK_UP:
      moveByRows(inst, -1, shift);
      return true;
    case VK_DOWN:
      moveByRows(inst, 1, shift);
      return true;
    case VK_HOME:
      moveCaret(inst, line, 0, shift);
      return true;
    case VK_END:
      moveCaret(inst, line, inst.lineBuffer.length, shift);
      return true;
    case VK_PRIOR:
      pageMove(inst, false, shift);
      return true;
    case VK_NEXT:
      pageMove(inst, true, shift);
      return true;
    default:
      return false;
  }
}

}  // namespace

LRESULT onKeyDown(Instance& inst, WPARAM key, LPARAM) {
  if (inst.mouseSelecting) return 0;
  const bool ctrl = ctrlDown();
  const bool shift = shiftDown();
  if (commandKey(inst, key, ctrl, shift)) return 0;
  const bool moved = ctrl ? controlKey(inst, key, shift) : moveKey(inst, key, shift);
  if (moved) afterCaretMove(inst);
  return 0;
}

}  // namespace tivra
