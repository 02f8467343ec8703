#include "undo.h"

#include "arena.h"
#include "text_store.h"

#include <algorithm>
#include <cstring>

namespace tivra {

namespace {

void freeSavedLines(Instance& inst, UndoStep& step) {
  if (step.savedLines) freeChain(inst, step.savedLines);
  step = UndoStep{};
}

}  // namespace

void recordStep(Instance& inst, const UndoStep& newStep) {
  UndoStep step = newStep;
  {
    PinnedHandle pin(inst, step.savedLines);
    commitLineBuffer(inst);
  }
  for (int i = inst.undoPosition; i < inst.undoTotal; ++i) freeSavedLines(inst, inst.undoSteps[i]);
  inst.undoTotal = inst.undoPosition;
  const int depth = std::clamp<int>(inst.undoDepth, 1, TIVRA_MAX_UNDO);
  while (inst.undoPosition >= depth) {
    freeSavedLines(inst, inst.undoSteps[0]);
    std::memmove(&inst.undoSteps[0], &inst.undoSteps[1], sizeof(UndoStep) * (inst.undoTotal - 1));
    inst.undoSteps[inst.undoTotal - 1] = UndoStep{};
    --inst.undoPosition;
    --inst.undoTotal;
  }
  inst.undoSteps[inst.undoPosition] = step;
  inst.undoTotal = ++inst.undoPosition;
}

void emptyUndoBuffer(Instance& inst) {
  for (int i = 0; i < inst.undoTotal; ++i) freeSavedLines(inst, inst.undoSteps[i]);
  inst.undoPosition = inst.undoTotal = 0;
}

void discardUndoSteps(Instance& inst) {
  for (int i = 0; i < inst.undoTotal; ++i) inst.undoSteps[i] = UndoStep{};
  inst.undoPosition = inst.undoTotal = 0;
}

int setUndoDepth(Instance& inst, long depth) {
  inst.undoDepth = static_cast<uint16_t>(std::clamp<long>(depth, 1, TIVRA_MAX_UNDO));
  emptyUndoBuffer(inst);
  return inst.undoDepth;
}

bool canUndo(const Instance& inst) { return inst.undoPosition > 0 || lineBufferDiffers(inst); }

bool canRedo(const Instance& inst) { return inst.undoPosition < inst.undoTotal && !lineBufferDiffers(inst); }

}  // namespace tivra
