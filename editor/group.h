// The group window "TivraGroup32": a hidden window that stands for a set of
// editor windows (one document tab each, say) towards a program's menu and
// a shared find dialog. It forwards what it receives to its current member.
#pragma once

#include "instance.h"

#include <vector>

namespace tivra {

struct GroupInstance {
  HWND window;
  std::vector<HWND> members;  // in the order they joined
  HWND current;               // where messages go; 0 without members
  bool overwriteMode;         // inherited by members that join
  SearchState search;         // the shared find settings and dialog
  bool destroying;
};

// The group record of a "TivraGroup32" window, or null.
GroupInstance* groupInstanceOf(HWND hwnd);

LRESULT CALLBACK groupWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Called by a member editor.
void groupMemberLeaving(HWND group, HWND editor);
void groupMemberFocused(HWND group, HWND editor);
void groupEnableMembers(HWND group, bool enable);

}  // namespace tivra
