// Find and replace, go to line, the bookmark commands and bracket matching.
#include "entry_points.h"

namespace tivra {

// Not built yet: the search work fills these in.

LRESULT searchCommand(Instance&, UINT) { return 0; }
LRESULT findMessage(Instance&, WPARAM, TivraRange*) { return -1; }
LRESULT findReplaceDialogMessage(Instance&, WPARAM, LPARAM) { return 0; }
LRESULT groupFindReplaceDialogMessage(GroupInstance&, WPARAM, LPARAM) { return 0; }
bool caretAtBracket(Instance&) { return false; }
void enableFindDialog(Instance&, bool) {}
void destroyFindDialog(Instance&) {}
void destroyGroupFindDialog(GroupInstance&) {}

}  // namespace tivra
