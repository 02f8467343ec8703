#include "text_messages.h"

#include "entry_points.h"
#include "notify.h"
#include "text_store.h"
#include "undo.h"

#include <algorithm>
#include <cstring>

namespace tivra {

namespace {

struct Position {
  int32_t line;
  int column;
};

// A caller's position moved into the text: lines before the first go to its
// start, lines after the last to its end; columns stay inside the line.
Position clampPosition(const Instance& inst, LONG line, SHORT column) {
  if (line <= 0) return Position{1, 0};
  if (line > inst.text.lineCount) return Position{inst.text.lineCount, lineLength(inst.text.lastLine)};
  const int length = lineLength(lineFromNumber(inst, line));
  return Position{line, std::clamp<int>(column, 0, length)};
}

bool isEmpty(const TivraRange& r) { return r.StartLine == r.EndLine && r.StartPos == r.EndPos; }

void afterChange(Instance& inst, int32_t fromLine) {
  markTextChanged(inst, fromLine);
  textChanged(inst, fromLine);
  notifyTextChanged(inst);
}

void recordDeletion(Instance& inst, const TivraRange& r, LineHandle removed) {
  UndoStep step{};
  step.kind = kUndoRangeDeleted;
  step.column = static_cast<uint16_t>(r.StartPos);
  step.secondColumn = static_cast<uint16_t>(r.EndPos);
  step.line = r.StartLine;
  step.lineDelta = r.EndLine - r.StartLine;
  step.savedLines = removed;
  recordStep(inst, step);
}

void recordInsertion(Instance& inst, const TivraRange& r) {
  UndoStep step{};
  step.kind = kUndoRangeInserted;
  step.column = static_cast<uint16_t>(r.StartPos);
  step.secondColumn = static_cast<uint16_t>(r.EndPos);
  step.line = r.StartLine;
  step.lineDelta = r.EndLine - r.StartLine;
  recordStep(inst, step);
}

}  // namespace

bool deleteRangeOrTell(Instance& inst, const TivraRange& range, LineHandle* removed, int longest) {
  switch (deleteRange(inst, range, removed, longest)) {
    case StoreResult::Ok:
      return true;
    case StoreResult::LineTooLong:
      reportMaxLine(inst);
      return false;
    case StoreResult::OutOfMemory:
      reportOutOfMemory(inst);
      return false;
  }
  return false;
}

bool joinLinesOrTell(Instance& inst, int32_t line, int* joint, bool* continued, int longest) {
  const LineHandle h = lineFromNumber(inst, line);
  const int length = lineLength(h);
  const bool pieces = continues(inst, h);
  LineHandle removed = 0;
  if (!deleteRangeOrTell(inst, TivraRange{static_cast<SHORT>(length), 0, line, line + 1}, &removed, longest))
    return false;
  freeChain(inst, removed);
  *joint = length;
  *continued = pieces;
  return true;
}

// ---------------------------------------------------------------------------
// Whole text

LRESULT setWholeText(Instance& inst, const char* text) {
  if (!text) return -1;
  clearText(inst);
  TextInserter inserter(inst, 1, 0);
  const bool ok = inserter.feed(text, std::strlen(text)) && inserter.finish(nullptr);
  if (ok) inst.text.longLinesLoaded = inserter.longLines();
  setSelection(inst, 1, 0, 1, 0);
  inst.text.firstVisible = LineRef{1, inst.text.firstLine};
  markTextChanged(inst, 1);
  textChanged(inst, 1);
  HWND hwnd = inst.window;
  if (!ok) reportOutOfMemory(inst);
  // The notify window may have closed the editor while it was told.
  if (IsWindow(hwnd)) notifyTextChanged(inst);
  return ok ? 0 : -1;
}

LRESULT copyWholeText(Instance& inst, char* buffer, WPARAM lineEnds) {
  if (!buffer) return -1;
  commitLineBuffer(inst);
  copyRange(inst, wholeText(inst), buffer, lineEnds == TIVRA_TEXT_SAVED ? savedLineEnd(inst) : "\r\n");
  return 0;
}

LRESULT wholeTextLength(Instance& inst, WPARAM lineEnds) {
  commitLineBuffer(inst);
  return static_cast<LRESULT>(
      rangeLength(inst, wholeText(inst), lineEnds == TIVRA_TEXT_SAVED ? savedLineEnd(inst) : "\r\n"));
}

// ---------------------------------------------------------------------------
// Selection

LRESULT getSelection(Instance& inst, TivraRange* range) {
  if (!range) return -1;
  *range = TivraRange{inst.anchorColumn, inst.caretColumn, inst.text.anchor.line, inst.text.caret.line};
  return 0;
}

LRESULT setSelectionMessage(Instance& inst, const TivraRange* range) {
  if (!range) return -1;
  commitLineBuffer(inst);
  const Position anchor = clampPosition(inst, range->StartLine, range->StartPos);
  const Position caret = clampPosition(inst, range->EndLine, range->EndPos);
  setSelection(inst, anchor.line, anchor.column, caret.line, caret.column);
  selectionChanged(inst);
  return 0;
}

LRESULT selectionLength(Instance& inst) {
  commitLineBuffer(inst);
  return static_cast<LRESULT>(rangeLength(inst, orderedSelection(inst)));
}

LRESULT copySelection(Instance& inst, char* buffer) {
  if (!buffer) return -1;
  commitLineBuffer(inst);
  copyRange(inst, orderedSelection(inst), buffer);
  return 0;
}

LRESULT selectAll(Instance& inst) {
  commitLineBuffer(inst);
  setSelection(inst, 1, 0, inst.text.lineCount, lineLength(inst.text.lastLine));
  selectionChanged(inst);
  return 0;
}

// ---------------------------------------------------------------------------
// Changing the text

bool replaceRange(Instance& inst, const TivraRange& range, std::string_view text, TivraRange* inserted) {
  const TivraRange before{inst.anchorColumn, inst.caretColumn, inst.text.anchor.line, inst.text.caret.line};
  LineHandle removed = 0;
  if (!deleteRangeOrTell(inst, range, &removed)) return false;
  *inserted = TivraRange{range.StartPos, range.StartPos, range.StartLine, range.StartLine};
  if (!text.empty()) {
    PinnedHandle pin(inst, removed);
    if (insertTextAt(inst, range.StartLine, range.StartPos, text, inserted) != StoreResult::Ok) {
      // Leave the text as it was.
      if (removed) restoreRange(inst, range.StartLine, removed);
      setSelection(inst, before.StartLine, before.StartPos, before.EndLine, before.EndPos);
      reportOutOfMemory(inst);
      return false;
    }
  }
  // A replacement is two steps: the deletion, then the insertion.
  if (removed) recordDeletion(inst, range, removed);
  if (!text.empty()) recordInsertion(inst, *inserted);
  return true;
}

LRESULT replaceSelection(Instance& inst, const char* text) {
  if (!text) return -1;
  if (!commitLineBuffer(inst)) return -1;
  const TivraRange sel = orderedSelection(inst);
  const size_t length = std::strlen(text);
  if (isEmpty(sel) && length == 0) return 0;
  TivraRange inserted{};
  if (!replaceRange(inst, sel, std::string_view(text, length), &inserted)) return -1;
  if (inst.options & TivraOption::DefaultSelection)
    setSelection(inst, inserted.EndLine, inserted.EndPos, inserted.EndLine, inserted.EndPos);
  else
    setSelection(inst, inserted.StartLine, inserted.StartPos, inserted.EndLine, inserted.EndPos);
  afterChange(inst, sel.StartLine);
  return 0;
}

LRESULT clearAll(Instance& inst) {
  clearText(inst);
  afterChange(inst, 1);
  return 0;
}

LRESULT clearMessage(Instance& inst, WPARAM wholeText) {
  if (wholeText == 1) return clearAll(inst);
  if (!commitLineBuffer(inst)) return -1;
  const TivraRange sel = orderedSelection(inst);
  if (isEmpty(sel)) return 0;
  LineHandle removed = 0;
  if (!deleteRangeOrTell(inst, sel, &removed)) return -1;
  recordDeletion(inst, sel, removed);
  setSelection(inst, sel.StartLine, sel.StartPos, sel.StartLine, sel.StartPos);
  afterChange(inst, sel.StartLine);
  return 0;
}

// ---------------------------------------------------------------------------
// Lines

LRESULT getLine(Instance& inst, WPARAM lineParam, char* buffer) {
  if (!buffer) return 0;
  LONG line = static_cast<LONG>(lineParam);
  if (lineParam == 0) std::memcpy(&line, buffer, sizeof line);
  if (line < 1 || line > inst.text.lineCount) return 0;
  commitLineBuffer(inst);
  const std::string_view text = lineText(lineFromNumber(inst, line));
  copyToLineBuffer(text, buffer);
  return static_cast<LRESULT>(text.size());
}

LRESULT lineLengthMessage(Instance& inst, WPARAM wParam, LPARAM lParam) {
  const LONG line = lParam != 0 ? static_cast<LONG>(lParam) : static_cast<LONG>(wParam);
  if (line < 1 || line > inst.text.lineCount) return -1;
  commitLineBuffer(inst);
  return lineLength(lineFromNumber(inst, line));
}

// ---------------------------------------------------------------------------
// Bookmarks

LRESULT setBookmark(Instance& inst, WPARAM index, LPARAM lineParam) {
  if (index > static_cast<WPARAM>(inst.bookmarkHigh)) return -1;
  const LONG line =
      lineParam == 0 ? inst.text.caret.line : std::clamp<LONG>(static_cast<LONG>(lineParam), 1, inst.text.lineCount);
  inst.bookmarks[index].at = LineRef{line, lineFromNumber(inst, line)};
  layoutChanged(inst);
  return 0;
}

LRESULT getBookmark(Instance& inst, WPARAM index) {
  if (index > static_cast<WPARAM>(inst.bookmarkHigh)) return -1;
  return inst.bookmarks[index].at.line;
}

LRESULT setBookmarkLook(Instance& inst, WPARAM indexAndFlags, LPARAM colour) {
  const WPARAM index = indexAndFlags & 0xFF;
  const WPARAM flags = (indexAndFlags >> 8) & 0xFF;
  if (index > static_cast<WPARAM>(inst.bookmarkHigh)) return -1;
  Bookmark& b = inst.bookmarks[index];
  if (flags & TIVRA_BOOKMARK_FOREGROUND) b.foreground = static_cast<COLORREF>(colour);
  if (flags & TIVRA_BOOKMARK_BACKGROUND) b.background = static_cast<COLORREF>(colour);
  if (flags & TIVRA_BOOKMARK_SETMARK0) b.marks |= 1;
  if (flags & TIVRA_BOOKMARK_CLEARMARK0) b.marks &= static_cast<uint8_t>(~1);
  if (flags & TIVRA_BOOKMARK_SETMARK1) b.marks |= 2;
  if (flags & TIVRA_BOOKMARK_CLEARMARK1) b.marks &= static_cast<uint8_t>(~2);
  layoutChanged(inst);
  return 0;
}

LRESULT setBookmarkCount(Instance& inst, WPARAM count) {
  const int high = static_cast<int>(std::clamp<WPARAM>(count, 2, TIVRA_MAX_BOOKMARKS) - 1);
  for (int i = inst.bookmarkHigh + 1; i <= high; ++i)
    inst.bookmarks[i] = Bookmark{LineRef{1, inst.text.firstLine}, kBookmarkForeground, kBookmarkBackground, 0};
  inst.bookmarkHigh = high;
  layoutChanged(inst);
  return 0;
}

}  // namespace tivra
