// The undo buffer: recording steps and dropping them. Applying a step
// (undo and redo) is the editing layer's (entry_points.h).
#pragma once

#include "instance.h"

namespace tivra {

// Records a step after the line buffer is committed: redo steps above the
// position are dropped, and the oldest step when the depth is reached. The
// step's saved lines now belong to the buffer.
void recordStep(Instance& inst, const UndoStep& step);

// Drops every undo and redo step, freeing their saved lines.
void emptyUndoBuffer(Instance& inst);

// Forgets every step without freeing (their segments are being reset).
void discardUndoSteps(Instance& inst);

// Clamps the depth to 1...909, empties the buffer, returns the new depth.
int setUndoDepth(Instance& inst, long depth);

bool canUndo(const Instance& inst);
bool canRedo(const Instance& inst);

}  // namespace tivra
