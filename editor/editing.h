// What the sources of editing share (editing.cpp, keys.cpp, mouse.cpp,
// clipboard.cpp, undo_apply.cpp) and what search uses of them: moving the
// caret, the common tail of every change, and the text-changing actions
// that keys, menu commands and messages have in common.
#pragma once

#include "instance.h"

namespace tivra {

inline bool readOnly(const Instance& inst) { return inst.style & TS_READONLY; }
bool hasSelection(const Instance& inst);
bool shiftDown();
bool ctrlDown();

// Moves the caret to a position in the text. extend: the anchor stays
// (Shift held), else it follows the caret. The line buffer is committed
// when the caret leaves its line. keepPixelColumn: Up, Down and the page
// keys keep the pixel column that other moves set.
void moveCaret(Instance& inst, int32_t line, int column, bool extend, bool keepPixelColumn = false);

// After the caret or selection moved: the display follows (and scrolls the
// caret into view).
void afterCaretMove(Instance& inst);

// After a change of the stored text from `fromLine` on: every modified
// bit, the display, the caret into view, then TN_CHANGE, which may close
// the window: the caller must not touch `inst` afterwards.
void afterTextChange(Instance& inst, int32_t fromLine);

// The anchor column inside its line (the line buffer for the caret line),
// after an edit that may have shortened the line.
void clampAnchor(Instance& inst);

// Deletes a non-empty selection as one undo step, the caret at its start.
// False when there was nothing to delete or it could not be deleted.
bool deleteSelectionStep(Instance& inst);

// Delete, Ctrl+Delete and Ctrl+Y / Ctrl+Shift+Y (toEnd: from the caret to
// the end of the line); nothing in a read-only window.
void deleteKey(Instance& inst);
void deleteSelectionKey(Instance& inst);
void deleteLineKey(Instance& inst, bool toEnd);

// The clipboard (clipboard.cpp). copy: 0 when the selection went to the
// clipboard; paste: 0 when text came from it.
LRESULT copySelectionToClipboard(Instance& inst);
LRESULT pasteFromClipboard(Instance& inst);

}  // namespace tivra
