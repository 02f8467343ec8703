// Editing by keys, characters, mouse and clipboard, and applying undo
// steps.
#include "entry_points.h"

namespace tivra {

// Not built yet: the editing work fills these in.

LRESULT onKeyDown(Instance&, WPARAM, LPARAM) { return 0; }
LRESULT onChar(Instance&, WPARAM, LPARAM) { return 0; }
LRESULT onMouse(Instance&, UINT, WPARAM, LPARAM) { return 0; }
LRESULT onTimer(Instance&, WPARAM) { return 0; }
LRESULT onCut(Instance&) { return -1; }
LRESULT onCopy(Instance&) { return -1; }
LRESULT onPaste(Instance&) { return -1; }
LRESULT editingCommand(Instance&, UINT) { return 0; }
LRESULT undoOrRedo(Instance&, WPARAM) { return -1; }

}  // namespace tivra
