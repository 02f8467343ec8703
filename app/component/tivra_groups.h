// The process-wide list of editor groups: editor components with the same
// group number above 0 share one group window (class "TivraGroup32"), which
// gives them one find dialog and one insert mode.
#pragma once

#include "win32.h"

// Puts the editor into group `number` (> 0), creating the group window when
// the group has none yet. Returns the group window, or null when there is
// none to join.
HWND joinTivraGroup(int number, HWND editor);

// A component whose editor was in `group` is gone. The group window lives
// while components of the group do: destroying it would take the editors of
// the others with it.
void leaveTivraGroup(HWND group);

// The group window of a number, or null.
HWND tivraGroupWindow(int number);
