// Changing the text from the keyboard and the edit menu: typing in insert
// and overwrite mode, Return, Backspace, Delete, deleting lines, and the
// caret moves that every editing source shares.
#include "editing.h"

#include "entry_points.h"
#include "notify.h"
#include "text_messages.h"
#include "text_store.h"
#include "undo.h"
#include "view.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace tivra {

namespace {

bool isEmpty(const TivraRange& r) { return r.StartLine == r.EndLine && r.StartPos == r.EndPos; }

bool anchorAtCaret(const Instance& inst) {
  return inst.text.anchor.line == inst.text.caret.line && inst.anchorColumn == inst.caretColumn;
}

void collapseToCaret(Instance& inst) {
  inst.text.anchor = inst.text.caret;
  inst.anchorColumn = inst.caretColumn;
}

// With DefaultSelection, typing, Return, Backspace and Delete take a
// selection away first.
bool selectionGoesFirst(const Instance& inst) {
  return (inst.options & TivraOption::DefaultSelection) && hasSelection(inst);
}

void deleteSelectionAndShow(Instance& inst) {
  if (deleteSelectionStep(inst)) afterTextChange(inst, inst.text.caret.line);
}

// The caret line changed in the line buffer only: bit 1, repainting from
// the line before (its colouring state may reach into this one).
void afterTyping(Instance& inst, bool selectionFollows) {
  if (selectionFollows) collapseToCaret(inst);
  clampAnchor(inst);
  inst.lineBuffer.edited = true;
  inst.modified |= 2;
  const int32_t from = std::max(1, inst.text.caret.line - 1);
  Layout& l = inst.layout;
  if (l.lowestChangedLine <= 0 || from < l.lowestChangedLine) l.lowestChangedLine = from;
  inst.layout.caretPixelColumn = caretSpot(inst).offset;
  textChanged(inst, from);
  afterCaretMove(inst);
  notifyTextChanged(inst);
}

void recordJoinOrSplit(Instance& inst, UndoKind kind, int32_t line, int column, bool continued = false) {
  UndoStep step{};
  step.kind = kind;
  step.line = line;
  step.column = static_cast<uint16_t>(column);
  step.continued = continued;
  recordStep(inst, step);
}

// Joins `line` with the next one (line buffer committed). False, after
// telling the user, when the joined line would be too long or memory runs
// out.
bool joinWithNext(Instance& inst, int32_t line) {
  int length = 0;
  bool continued = false;
  if (!joinLinesOrTell(inst, line, &length, &continued)) return false;
  recordJoinOrSplit(inst, kUndoLinesJoined, line, length, continued);
  setSelection(inst, line, length, line, length);
  markTextChanged(inst, line);
  return true;
}

// The leading spaces and TABs of a line, at most `limit` of them.
std::string leadingBlanks(const char* text, int limit) {
  int n = 0;
  while (n < limit && (text[n] == ' ' || text[n] == '\t')) ++n;
  return std::string(text, static_cast<size_t>(n));
}

void typeCharacter(Instance& inst, char c) {
  const bool followed = anchorAtCaret(inst) || (inst.options & TivraOption::DefaultSelection);
  bool deleted = false;
  if (selectionGoesFirst(inst)) {
    if (!deleteSelectionStep(inst)) return;
    deleted = true;
  }
  LineBuffer& b = inst.lineBuffer;
  const int column = inst.caretColumn;
  const bool lengthens = !inst.overwriteMode || column >= b.length;
  if (lengthens && b.length >= TIVRA_MAX_LINE) {
    if (deleted)
      afterTextChange(inst, inst.text.caret.line);
    else
      reportMaxLine(inst);
    return;
  }
  if (lengthens) {
    std::memmove(b.text + column + 1, b.text + column, static_cast<size_t>(b.length - column) + 1);
    ++b.length;
  }
  b.text[column] = c;
  ++inst.caretColumn;
  if (deleted) markTextChanged(inst, inst.text.caret.line);
  afterTyping(inst, followed);
}

void splitLine(Instance& inst) {
  if (selectionGoesFirst(inst) && !deleteSelectionStep(inst)) return;
  if (!commitLineBuffer(inst)) return;
  const bool followed = anchorAtCaret(inst) || (inst.options & TivraOption::DefaultSelection);
  const int32_t line = inst.text.caret.line;
  const int column = inst.caretColumn;
  const std::string indent =
      (inst.options & TivraOption::AutoIndent) ? leadingBlanks(inst.lineBuffer.text, column) : std::string();
  if (insertTextAt(inst, line, column, "\r\n", nullptr) != StoreResult::Ok) {
    reportOutOfMemory(inst);
    return;
  }
  recordJoinOrSplit(inst, kUndoLineSplit, line, column);
  moveCaret(inst, line + 1, 0, !followed);
  // The indentation is typed into the new line: a step of its own.
  if (!indent.empty()) {
    LineBuffer& b = inst.lineBuffer;
    std::memmove(b.text + indent.size(), b.text, static_cast<size_t>(b.length) + 1);
    std::memcpy(b.text, indent.data(), indent.size());
    b.length += static_cast<int>(indent.size());
    b.edited = true;
    inst.caretColumn = static_cast<int16_t>(indent.size());
    if (followed) collapseToCaret(inst);
  }
  afterTextChange(inst, line);
}

void returnKey(Instance& inst) {
  if (inst.overwriteMode && inst.text.caret.line < inst.text.lineCount) {
    moveCaret(inst, inst.text.caret.line + 1, 0, shiftDown());
    afterCaretMove(inst);
    return;
  }
  if (!readOnly(inst)) splitLine(inst);
}

void backspace(Instance& inst) {
  if (selectionGoesFirst(inst)) {
    deleteSelectionAndShow(inst);
    return;
  }
  LineBuffer& b = inst.lineBuffer;
  const int column = inst.caretColumn;
  if (column > 0) {
    const bool followed = anchorAtCaret(inst);
    std::memmove(b.text + column - 1, b.text + column, static_cast<size_t>(b.length - column) + 1);
    --b.length;
    --inst.caretColumn;
    afterTyping(inst, followed);
    return;
  }
  const int32_t line = inst.text.caret.line;
  if (line == 1 || !commitLineBuffer(inst)) return;
  if (joinWithNext(inst, line - 1)) afterTextChange(inst, line - 1);
}

}  // namespace

// ---------------------------------------------------------------------------
// Shared by the editing sources

bool hasSelection(const Instance& inst) { return !anchorAtCaret(inst); }

bool shiftDown() { return GetKeyState(VK_SHIFT) & 0x8000; }

bool ctrlDown() { return GetKeyState(VK_CONTROL) & 0x8000; }

void clampAnchor(Instance& inst) {
  const int length =
      inst.text.anchor.line == inst.text.caret.line ? inst.lineBuffer.length : lineLength(inst.text.anchor.handle);
  if (inst.anchorColumn > length) inst.anchorColumn = static_cast<int16_t>(length);
}

void moveCaret(Instance& inst, int32_t line, int column, bool extend, bool keepPixelColumn) {
  line = std::clamp<int32_t>(line, 1, inst.text.lineCount);
  if (line != inst.text.caret.line) {
    commitLineBuffer(inst);
    inst.text.caret = LineRef{line, lineFromNumber(inst, line)};
    loadLineBuffer(inst);
  }
  inst.caretColumn = static_cast<int16_t>(std::clamp(column, 0, inst.lineBuffer.length));
  if (!extend) collapseToCaret(inst);
  if (!keepPixelColumn) inst.layout.caretPixelColumn = caretSpot(inst).offset;
}

void afterCaretMove(Instance& inst) { selectionChanged(inst); }

void afterTextChange(Instance& inst, int32_t fromLine) {
  clampAnchor(inst);
  markTextChanged(inst, fromLine);
  inst.layout.caretPixelColumn = caretSpot(inst).offset;
  textChanged(inst, fromLine);
  afterCaretMove(inst);
  notifyTextChanged(inst);
}

bool deleteSelectionStep(Instance& inst) {
  if (!commitLineBuffer(inst)) return false;
  const TivraRange sel = orderedSelection(inst);
  if (isEmpty(sel)) return false;
  TivraRange none{};
  if (!replaceRange(inst, sel, {}, &none)) return false;
  setSelection(inst, sel.StartLine, sel.StartPos, sel.StartLine, sel.StartPos);
  return true;
}

// ---------------------------------------------------------------------------
// Actions of keys and commands, also used by keys.cpp

void deleteKey(Instance& inst) {
  if (readOnly(inst)) return;
  if (selectionGoesFirst(inst)) {
    deleteSelectionAndShow(inst);
    return;
  }
  LineBuffer& b = inst.lineBuffer;
  const int column = inst.caretColumn;
  if (column < b.length) {
    const bool followed = anchorAtCaret(inst);
    std::memmove(b.text + column, b.text + column + 1, static_cast<size_t>(b.length - column));
    --b.length;
    afterTyping(inst, followed);
    return;
  }
  const int32_t line = inst.text.caret.line;
  if (line == inst.text.lineCount || !commitLineBuffer(inst)) return;
  if (joinWithNext(inst, line)) afterTextChange(inst, line);
}

void deleteSelectionKey(Instance& inst) {
  if (!readOnly(inst)) deleteSelectionAndShow(inst);
}

// Ctrl+Y: the caret line with its line end (the last line: its text);
// toEnd (Ctrl+Shift+Y): from the caret to the end of the line.
void deleteLineKey(Instance& inst, bool toEnd) {
  if (readOnly(inst) || !commitLineBuffer(inst)) return;
  const int32_t line = inst.text.caret.line;
  const int length = inst.lineBuffer.length;
  TivraRange range{0, static_cast<SHORT>(length), line, line};
  if (toEnd)
    range.StartPos = inst.caretColumn;
  else if (line < inst.text.lineCount)
    range = TivraRange{0, 0, line, line + 1};
  if (isEmpty(range)) {
    moveCaret(inst, line, range.StartPos, false);
    afterCaretMove(inst);
    return;
  }
  TivraRange none{};
  if (!replaceRange(inst, range, {}, &none)) return;
  setSelection(inst, line, range.StartPos, line, range.StartPos);
  afterTextChange(inst, line);
}

LRESULT onChar(Instance& inst, WPARAM character, LPARAM) {
  if (inst.mouseSelecting || character > 255) return 0;
  const auto c = static_cast<unsigned char>(character);
  // Ctrl+H, Ctrl+I and Ctrl+M arrive as 8, 9 and 13 after their key has
  // done its own work (Ctrl+H opens the replace dialog): not typing.
  if (c < 32 && ctrlDown()) return 0;
  if (c == '\r') {
    returnKey(inst);
    return 0;
  }
  if (readOnly(inst)) return 0;
  if (c == 8)
    backspace(inst);
  else if (c == '\t' || (c > 31 && c != 127 && c != 255))
    typeCharacter(inst, static_cast<char>(c));
  return 0;
}

LRESULT editingCommand(Instance& inst, UINT id) {
  if (readOnly(inst) && id != TCMD_COPY) return 0;
  switch (id) {
    case TCMD_UNDO:
      return undoOrRedo(inst, 0);
    case TCMD_REDO:
      return undoOrRedo(inst, 1);
    case TCMD_CUT:
      return onCut(inst);
    case TCMD_COPY:
      return onCopy(inst);
    case TCMD_PASTE:
      return onPaste(inst);
    case TCMD_DELETE:
      deleteSelectionKey(inst);
      return 0;
    case TCMD_DUPLICATE:
      if (copySelectionToClipboard(inst) != 0) return 0;
      inst.text.anchor = inst.text.caret;
      inst.anchorColumn = inst.caretColumn;
      return onPaste(inst);
    case TCMD_EMPTYUNDO:
      emptyUndoBuffer(inst);
      return 0;
    case TCMD_CLEARALL:
      return clearAll(inst);
    default:
      return 0;
  }
}

}  // namespace tivra
