// Fonts and metrics, painting, the caret, scrolling, word wrap, the syntax
// table and the word scanner.
#include "entry_points.h"

namespace tivra {

// Not built yet: the display work fills these in. Until then the window
// paints nothing of its text.

void initDisplay(Instance&) {}
void destroyDisplay(Instance&) {}

LRESULT onPaint(Instance& inst) {
  PAINTSTRUCT ps;
  BeginPaint(inst.window, &ps);
  EndPaint(inst.window, &ps);
  return 0;
}

void onSize(Instance& inst, int width, int height) {
  inst.layout.clientWidth = width;
  inst.layout.clientHeight = height;
}

void onFocusChange(Instance&, bool) {}
LRESULT setFont(Instance&, HFONT, bool) { return 0; }
LRESULT setLogFont(Instance&, const LOGFONT*) { return 0; }
LRESULT fontCommand(Instance&) { return 0; }
LRESULT setSyntax(Instance&, WPARAM, const WORD*) { return 0; }
LRESULT wordScannerMessage(Instance&, UINT, WPARAM, LPARAM) { return 0; }
LRESULT onScroll(Instance&, bool, WPARAM, LPARAM) { return 0; }
LRESULT onMouseWheel(Instance&, WPARAM, LPARAM) { return 0; }
LRESULT setWordWrap(Instance&, WPARAM, LPARAM) { return 0; }
LRESULT paintLines(Instance&, HDC, LPARAM) { return 0; }
LRESULT setCaretWidth(Instance& inst, int width) {
  inst.layout.caretWidth = width;
  return 0;
}
LRESULT viewMessage(Instance&, UINT, WPARAM, LPARAM) { return 0; }

void textChanged(Instance& inst, int32_t) { inst.scanner.running = false; }
void selectionChanged(Instance&) {}
void layoutChanged(Instance&) {}

}  // namespace tivra
