// Undo and redo: applying a step reverses its change and turns the step
// into its own inverse in place, so that undo and redo are the same work
// on the step at either side of the undo position.
#include "editing.h"

#include "entry_points.h"
#include "notify.h"
#include "text_messages.h"
#include "text_store.h"
#include "undo.h"

#include <cstring>

namespace tivra {

namespace {

// A join or deletion that undo or redo applies brings back a line that
// was: one of 8193 characters (a piece of a long line, or a line of that
// length loaded) is no longer than it was before.
constexpr int kLongestRestored = TIVRA_MAX_INSERTED_LINE;

int firstDifference(const char* a, const char* b) {
  int i = 0;
  while (a[i] && a[i] == b[i]) ++i;
  return i;
}

TivraRange spanOf(const UndoStep& step) {
  return TivraRange{static_cast<SHORT>(step.column), static_cast<SHORT>(step.secondColumn), step.line,
                    step.line + step.lineDelta};
}

// Puts the caret (and anchor) after applying; the line buffer is loaded
// from the store.
void place(Instance& inst, int32_t anchorLine, int anchorColumn, int32_t caretLine, int caretColumn) {
  setSelection(inst, anchorLine, anchorColumn, caretLine, caretColumn);
}

bool exchangeLine(Instance& inst, UndoStep& step) {
  const LineHandle current = lineFromNumber(inst, step.line);
  const int column = firstDifference(lineText(current), lineText(step.savedLines));
  step.savedLines = exchangeLineNode(inst, LineRef{step.line, current}, step.savedLines);
  place(inst, step.line, column, step.line, column);
  return true;
}

bool splitAgain(Instance& inst, UndoStep& step) {
  if (insertTextAt(inst, step.line, step.column, "\r\n", nullptr) != StoreResult::Ok) {
    reportOutOfMemory(inst);
    return false;
  }
  // Pieces of one line were joined: they are pieces again.
  if (step.continued) setContinues(inst, lineFromNumber(inst, step.line), true);
  step.kind = kUndoLineSplit;
  place(inst, step.line + 1, 0, step.line + 1, 0);
  return true;
}

bool joinAgain(Instance& inst, UndoStep& step) {
  int length = 0;
  if (!joinLinesOrTell(inst, step.line, &length, &step.continued, kLongestRestored)) return false;
  step.kind = kUndoLinesJoined;
  step.column = static_cast<uint16_t>(length);
  place(inst, step.line, length, step.line, length);
  return true;
}

bool restoreDeleted(Instance& inst, UndoStep& step) {
  restoreRange(inst, step.line, step.savedLines);
  step.savedLines = 0;
  step.kind = kUndoRangeInserted;
  const TivraRange r = spanOf(step);
  if (inst.options & TivraOption::DefaultSelection)
    place(inst, r.EndLine, r.EndPos, r.EndLine, r.EndPos);
  else
    place(inst, r.StartLine, r.StartPos, r.EndLine, r.EndPos);
  return true;
}

bool deleteInserted(Instance& inst, UndoStep& step) {
  LineHandle removed = 0;
  if (!deleteRangeOrTell(inst, spanOf(step), &removed, kLongestRestored)) return false;
  step.savedLines = removed;
  step.kind = kUndoRangeDeleted;
  place(inst, step.line, step.column, step.line, step.column);
  return true;
}

// Applies the step in place; false (text unchanged) when it could not be.
bool apply(Instance& inst, UndoStep& step) {
  switch (step.kind) {
    case kUndoLineReplaced:
      return exchangeLine(inst, step);
    case kUndoLinesJoined:
      return splitAgain(inst, step);
    case kUndoLineSplit:
      return joinAgain(inst, step);
    case kUndoRangeDeleted:
      return restoreDeleted(inst, step);
    case kUndoRangeInserted:
      return deleteInserted(inst, step);
    default:
      return false;
  }
}

}  // namespace

LRESULT undoOrRedo(Instance& inst, WPARAM which) {
  const bool redo = which == 1;
  if (redo ? !canRedo(inst) : !canUndo(inst)) return -1;
  // Typing not yet stored becomes the step that undo takes back first.
  if (!commitLineBuffer(inst)) return -1;
  if (redo ? inst.undoPosition >= inst.undoTotal : inst.undoPosition == 0) return -1;
  UndoStep& step = inst.undoSteps[redo ? inst.undoPosition : inst.undoPosition - 1];
  const int32_t line = step.line;
  if (!apply(inst, step)) return -1;
  if (redo)
    ++inst.undoPosition;
  else
    --inst.undoPosition;
  afterTextChange(inst, line);
  return 0;
}

}  // namespace tivra
