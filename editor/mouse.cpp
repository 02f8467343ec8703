// The mouse: placing the caret, selecting by dragging (with a timer that
// keeps scrolling while the pointer is outside the text), the double-click
// on a word, and the context menu.
#include "editing.h"

#include "entry_points.h"
#include "syntax.h"
#include "view.h"

namespace tivra {

namespace {

constexpr UINT_PTR kSelectionTimer = 1;
constexpr UINT kSelectionTimerInterval = 100;

struct TextPosition {
  int32_t line;
  int column;
};

// The text under a client point; a point above, below or beside the text
// gives the nearest position in the rows the window shows (for selecting
// by dragging).
TextPosition positionUnder(Instance& inst, int x, int y) {
  Row row = topRow(inst);
  stepRows(inst, row, std::clamp(y < 0 ? 0 : y / rowHeight(inst), 0, visibleRows(inst) - 1));
  return TextPosition{row.line, columnAt(inst, row, x)};
}

bool insideTextArea(const Instance& inst, int x, int y) {
  return x >= 0 && y >= 0 && x < inst.layout.clientWidth && y < inst.layout.clientHeight;
}

void selectTo(Instance& inst, int x, int y) {
  const TextPosition p = positionUnder(inst, x, y);
  moveCaret(inst, p.line, p.column, true);
  afterCaretMove(inst);
}

void stopSelectionTimer(Instance& inst) {
  if (!inst.selectionTimer) return;
  KillTimer(inst.window, kSelectionTimer);
  inst.selectionTimer = false;
}

void buttonDown(Instance& inst, int x, int y, bool extend) {
  SetFocus(inst.window);
  SetCapture(inst.window);
  inst.mouseSelecting = true;
  inst.mousePoint = POINT{x, y};
  const TextPosition p = positionUnder(inst, x, y);
  moveCaret(inst, p.line, p.column, extend);
  afterCaretMove(inst);
}

void drag(Instance& inst, int x, int y) {
  inst.mousePoint = POINT{x, y};
  if (insideTextArea(inst, x, y)) {
    stopSelectionTimer(inst);
  } else if (!inst.selectionTimer) {
    SetTimer(inst.window, kSelectionTimer, kSelectionTimerInterval, nullptr);
    inst.selectionTimer = true;
  }
  selectTo(inst, x, y);
}

void buttonUp(Instance& inst) {
  stopSelectionTimer(inst);
  if (!inst.mouseSelecting) return;
  inst.mouseSelecting = false;
  if (GetCapture() == inst.window) ReleaseCapture();
}

void doubleClick(Instance& inst, int x, int y) {
  const TextPosition p = positionUnder(inst, x, y);
  moveCaret(inst, p.line, p.column, false);
  TivraToken token{};
  TivraRange span{};
  const bool found = tokenAt(inst, p.line, p.column, &token, &span);
  token.Window = inst.window;
  HWND hwnd = inst.window;
  const LRESULT handled = inst.notifyWindow
                              ? SendMessage(inst.notifyWindow, TM_WORDCLICKED, reinterpret_cast<WPARAM>(hwnd),
                                            found ? reinterpret_cast<LPARAM>(&token) : 0)
                              : 0;
  if (!IsWindow(hwnd)) return;
  if (found && handled == 0) {
    moveCaret(inst, span.StartLine, span.StartPos, false);
    moveCaret(inst, span.EndLine, span.EndPos, true);
  }
  afterCaretMove(inst);
}

void contextMenu(Instance& inst, int x, int y) {
  SetFocus(inst.window);
  if (!inst.menus.contextMenu) return;
  POINT screen{x, y};
  ClientToScreen(inst.window, &screen);
  HWND hwnd = inst.window;
  const int command = TrackPopupMenu(inst.menus.contextMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x,
                                     screen.y, 0, hwnd, nullptr);
  if (command > 0 && IsWindow(hwnd)) SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

}  // namespace

LRESULT onMouse(Instance& inst, UINT message, WPARAM keys, LPARAM point) {
  const int x = GET_X_LPARAM(point);
  const int y = GET_Y_LPARAM(point);
  switch (message) {
    case WM_LBUTTONDOWN:
      buttonDown(inst, x, y, keys & MK_SHIFT);
      break;
    case WM_MOUSEMOVE:
      if (inst.mouseSelecting) drag(inst, x, y);
      break;
    case WM_LBUTTONUP:
      buttonUp(inst);
      break;
    case WM_LBUTTONDBLCLK:
      doubleClick(inst, x, y);
      break;
    case WM_RBUTTONDOWN:
      contextMenu(inst, x, y);
      break;
    default:
      break;
  }
  return 0;
}

LRESULT onTimer(Instance& inst, WPARAM id) {
  if (id != kSelectionTimer || !inst.mouseSelecting) return 0;
  const POINT p = inst.mousePoint;
  if (p.y < 0)
    SendMessage(inst.window, WM_VSCROLL, SB_LINEUP, 0);
  else if (p.y >= inst.layout.clientHeight)
    SendMessage(inst.window, WM_VSCROLL, SB_LINEDOWN, 0);
  if (!wrapping(inst)) {
    if (p.x < 0)
      SendMessage(inst.window, WM_HSCROLL, SB_LINELEFT, 0);
    else if (p.x >= inst.layout.clientWidth)
      SendMessage(inst.window, WM_HSCROLL, SB_LINERIGHT, 0);
  }
  selectTo(inst, p.x, p.y);
  return 0;
}

}  // namespace tivra
