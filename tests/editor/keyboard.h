// Keys and characters as a Tivra32 window receives them: WM_KEYDOWN with
// the modifier state that GetKeyState reports, and WM_CHAR.
#pragma once

#include "editor_harness.h"

#include <string_view>

namespace editor_test {

enum Modifiers { kNone = 0, kCtrl = 1, kShift = 2 };

inline void key(const Editor& e, int virtualKey, int modifiers = kNone) {
  platform::setKeyDown(VK_CONTROL, modifiers & kCtrl);
  platform::setKeyDown(VK_SHIFT, modifiers & kShift);
  e.send(WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
  platform::setKeyDown(VK_CONTROL, false);
  platform::setKeyDown(VK_SHIFT, false);
}

inline void type(const Editor& e, std::string_view text) {
  for (char c : text) e.send(WM_CHAR, static_cast<unsigned char>(c), 1);
}

// The caret as (line, column): the end of EM_GETSEL.
inline std::pair<long, int> caret(const Editor& e) {
  const TivraRange r = e.selection();
  return {r.EndLine, r.EndPos};
}

}  // namespace editor_test
