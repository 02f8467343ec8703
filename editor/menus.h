// The editor's menus ("&Filer", "&Rediger", "&Søg", "F&unktioner") and the
// availability of its commands.
#pragma once

#include "instance.h"

namespace tivra {

// At creation: the context menu (unless TS_NOCONTEXTMENU) and, for a
// top-level window with TS_MENUBAR, the menu bar get the popups.
void createMenus(Instance& inst, bool childWindow);
void destroyMenus(Instance& inst);

// Whether a command can be chosen now (TM_COMMANDSTATE).
bool commandAvailable(Instance& inst, UINT id);

// Enables or greys every editor command found in the menu by the rules of
// commandAvailable (TM_SETMENUSTATES, WM_INITMENUPOPUP).
void applyCommandStates(Instance& inst, HMENU menu);

}  // namespace tivra
