// Fonts and metrics, WM_PAINT and painting into a caller's DC, the caret,
// scrolling, word-wrap settings and the view messages, and the hooks
// through which the rest of the control tells the display what changed.
#include "entry_points.h"
#include "notify.h"
#include "syntax.h"
#include "view.h"

#include <cstring>

namespace tivra {

namespace {

constexpr WPARAM kScrollToPosition = 273;  // TM_VSCROLL: line lParam; TM_HSCROLL: pixel column lParam
constexpr WPARAM kScrollToSubLine = 275;   // TM_VSCROLL: lParam -> (line, sub-line)
constexpr int kThumbScale = 10000;
constexpr int kPageUnits = 12;    // horizontal page: 12 units of the widest character
constexpr int kWheelRows = 3;     // rows per notch of the wheel
constexpr int kCaretFar = 32000;  // where a caret outside the window is parked

int g_screenDpi = 0;

// Read once, when the first window is made: the library is loaded before
// the program's QApplication exists, so it cannot be read at load.
int screenDpi(HWND hwnd) {
  if (g_screenDpi > 0) return g_screenDpi;
  if (HDC dc = GetDC(hwnd)) {
    g_screenDpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(hwnd, dc);
  }
  if (g_screenDpi <= 0) g_screenDpi = 96;
  return g_screenDpi;
}

// Without a font of its own the window uses what an edit box of the
// system's own would: Courier New at 10 points, fixed pitch (any
// monospaced face stands in where Courier New is missing).
LOGFONT defaultLogFont(HWND hwnd) {
  LOGFONT lf{};
  lf.lfHeight = -MulDiv(10, screenDpi(hwnd), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  std::strncpy(lf.lfFaceName, "Courier New", LF_FACESIZE - 1);
  return lf;
}

void measureFont(Instance& inst) {
  FontState& f = inst.font;
  TEXTMETRIC tm{};
  int widths[256] = {};
  HDC dc = GetDC(inst.window);
  if (dc) {
    const HGDIOBJ old = SelectObject(dc, f.font);
    GetTextMetrics(dc, &tm);
    GetCharWidth32(dc, 0, 255, widths);
    SelectObject(dc, old);
    ReleaseDC(inst.window, dc);
  }
  f.height = std::max<int>(1, tm.tmHeight);
  f.externalLeading = std::max<int>(0, tm.tmExternalLeading);
  f.overhang = tm.tmOverhang;
  f.averageCharWidth = std::max<int>(1, tm.tmAveCharWidth);
  f.maxCharWidth = std::max<int>(1, tm.tmMaxCharWidth);
  for (int c = 0; c < 256; ++c) f.charWidths[c] = std::max(1, widths[c] - f.overhang);
}

int leading(const Instance& inst) {
  return (inst.options & TivraOption::NoExternalLeading) ? 0 : inst.font.externalLeading;
}

// Line height, visible lines and wrap width from the font, the spacing and
// the client size.
void applyMetrics(Instance& inst) {
  Layout& l = inst.layout;
  inst.font.lineHeight = std::max(1, inst.font.height + leading(inst) + l.extraVertSpacing);
  l.visibleLines = std::max(1, (l.clientHeight + leading(inst)) / inst.font.lineHeight);
  l.wrapWidth = currentWrapWidth(inst);
}

int horzUnit(const Instance& inst) { return std::max(1, inst.font.maxCharWidth); }

void repaintAll(Instance& inst) { InvalidateRect(inst.window, nullptr, FALSE); }

// ---------------------------------------------------------------------------
// Rows

Row lastRow(Instance& inst) {
  Row r{inst.text.lineCount, inst.text.lastLine, 0};
  r.subLine = subLineCount(inst, r.line, r.handle) - 1;
  return r;
}

// Rows from the top of the window down to the start of `line` (its first
// sub-line); stops counting past `limit`. For the top line this is minus
// the sub-lines above the window; for a line above it, -1.
int rowsDownTo(Instance& inst, int32_t line, int limit) {
  const Row top = topRow(inst);
  if (line < top.line) return -1;
  if (line == top.line) return -top.subLine;
  if (line - top.line > limit) return limit + 1;
  int rows = subLineCount(inst, top.line, top.handle) - top.subLine;
  LineHandle h = nextLine(top.handle);
  for (int32_t n = top.line + 1; n < line && rows <= limit; ++n, h = nextLine(h)) rows += subLineCount(inst, n, h);
  return rows;
}

struct CaretPlace {
  CaretSpot spot;
  int row;  // from the top of the window; may lie outside it
  int x;    // client x
};

CaretPlace caretPlace(Instance& inst) {
  const CaretSpot spot = caretSpot(inst);
  // The caret's line may start above the window while its row is in it:
  // the top row is one of the line's later sub-lines.
  int row = -1;
  if (spot.row.line >= inst.text.firstVisible.line)
    row = std::max(-1, rowsDownTo(inst, spot.row.line, inst.layout.visibleLines + 1) + spot.row.subLine);
  return CaretPlace{spot, row, textLeft(inst) + spot.offset};
}

void placeCaret(Instance& inst) {
  if (!inst.layout.caretCreated) return;
  const CaretPlace p = caretPlace(inst);
  long x = p.x;
  long y = static_cast<long>(p.row) * rowHeight(inst);
  if (p.row < 0 || p.row > inst.layout.visibleLines || x < 0 || x > kCaretFar || y < 0 || y > kCaretFar)
    x = y = kCaretFar;
  SetCaretPos(static_cast<int>(x), static_cast<int>(y));
}

void createCaret(Instance& inst) {
  const int width = inst.layout.caretWidth > 0 ? inst.layout.caretWidth : GetSystemMetrics(SM_CXBORDER);
  CreateCaret(inst.window, nullptr, std::max(1, width), rowHeight(inst));
  inst.layout.caretCreated = true;
  placeCaret(inst);
  ShowCaret(inst.window);
}

// ---------------------------------------------------------------------------
// Scroll bars and positions

void updateVertBar(Instance& inst) {
  const int32_t count = std::max<int32_t>(1, inst.text.lineCount);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = kThumbScale;
  si.nPage = static_cast<UINT>(std::max<int32_t>(1, kThumbScale / count));
  si.nPos = static_cast<int>(static_cast<int64_t>(inst.text.firstVisible.line - 1) * kThumbScale / count);
  SetScrollInfo(inst.window, SB_VERT, &si, TRUE);
}

void updateHorzBar(Instance& inst) {
  const int unit = horzUnit(inst);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = wrapping(inst) ? 0 : inst.layout.horzScrollRange / unit;
  si.nPage = static_cast<UINT>(std::max(1, inst.layout.clientWidth / unit));
  si.nPos = inst.layout.horzScrollPos / unit;
  SetScrollInfo(inst.window, SB_HORZ, &si, TRUE);
}

// Makes `row` the top row. False when it already was.
bool setTopRow(Instance& inst, Row row) {
  if (row.line == inst.text.firstVisible.line && row.subLine == inst.layout.firstVisibleSubLine) return false;
  inst.text.firstVisible = LineRef{row.line, row.handle};
  inst.layout.firstVisibleSubLine = row.subLine;
  repaintAll(inst);
  placeCaret(inst);
  updateVertBar(inst);
  notifyParent(inst, TN_VSCROLL);
  return true;
}

Row clampedRow(Instance& inst, long line, long subLine) {
  Row r{};
  r.line = static_cast<int32_t>(std::clamp<long>(line, 1, inst.text.lineCount));
  r.handle = lineFromNumber(inst, r.line);
  r.subLine = static_cast<int>(std::clamp<long>(subLine, 0, subLineCount(inst, r.line, r.handle) - 1));
  return r;
}

void scrollRows(Instance& inst, int count) {
  Row r = topRow(inst);
  stepRows(inst, r, count);
  setTopRow(inst, r);
}

bool setHorzPos(Instance& inst, int pixels) {
  Layout& l = inst.layout;
  pixels = wrapping(inst) ? 0 : std::max(0, pixels);
  if (pixels == l.horzScrollPos) return false;
  l.horzScrollPos = pixels;
  if (pixels > l.horzScrollRange) l.horzScrollRange = (pixels + horzUnit(inst) - 1) / horzUnit(inst) * horzUnit(inst);
  repaintAll(inst);
  placeCaret(inst);
  updateHorzBar(inst);
  notifyParent(inst, TN_HSCROLL);
  return true;
}

LRESULT scrollVertically(Instance& inst, WPARAM wParam, LPARAM lParam) {
  const int visible = visibleRows(inst);
  switch (LOWORD(wParam)) {
    case SB_LINEUP:
      scrollRows(inst, -1);
      break;
    case SB_LINEDOWN:
      scrollRows(inst, 1);
      break;
    case SB_PAGEUP:
      scrollRows(inst, -visible);
      break;
    case SB_PAGEDOWN:
      scrollRows(inst, visible);
      break;
    case SB_TOP:
      setTopRow(inst, clampedRow(inst, 1, 0));
      break;
    case SB_BOTTOM: {
      Row r = lastRow(inst);
      stepRows(inst, r, -(visible - 1));
      setTopRow(inst, r);
      break;
    }
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      const int64_t thumb = HIWORD(wParam);
      setTopRow(inst, clampedRow(inst, static_cast<long>(thumb * inst.text.lineCount / kThumbScale + 1), 0));
      break;
    }
    case kScrollToPosition:
      setTopRow(inst, clampedRow(inst, static_cast<long>(lParam), 0));
      break;
    case kScrollToSubLine: {
      if (!lParam) return -1;
      LONG target[2];
      std::memcpy(target, reinterpret_cast<const void*>(lParam), sizeof target);
      setTopRow(inst, clampedRow(inst, target[0], target[1]));
      break;
    }
    default:
      break;
  }
  return 0;
}

LRESULT scrollHorizontally(Instance& inst, WPARAM wParam, LPARAM lParam) {
  const int unit = horzUnit(inst);
  const Layout& l = inst.layout;
  auto within = [&](int pixels) { return std::clamp(pixels, 0, std::max(l.horzScrollRange, 0)); };
  switch (LOWORD(wParam)) {
    case SB_LINELEFT:
      setHorzPos(inst, within(l.horzScrollPos - unit));
      break;
    case SB_LINERIGHT:
      setHorzPos(inst, within(l.horzScrollPos + unit));
      break;
    case SB_PAGELEFT:
      setHorzPos(inst, within(l.horzScrollPos - kPageUnits * unit));
      break;
    case SB_PAGERIGHT:
      setHorzPos(inst, within(l.horzScrollPos + kPageUnits * unit));
      break;
    case SB_LEFT:
      setHorzPos(inst, 0);
      break;
    case SB_RIGHT:
      setHorzPos(inst, l.horzScrollRange);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      setHorzPos(inst, within(HIWORD(wParam) * unit));
      break;
    case kScrollToPosition:
      setHorzPos(inst, static_cast<int>(std::clamp<LPARAM>(lParam, 0, 1 << 24)));
      break;
    default:
      break;
  }
  return 0;
}

// Scrolls so that the caret's row is in the window and, without word wrap,
// its column too: by rows vertically, by a part of the width sideways, so
// that typing at the right edge does not scroll at every key.
void keepCaretVisible(Instance& inst) {
  const CaretPlace p = caretPlace(inst);
  const int visible = visibleRows(inst);
  if (p.row < 0) {
    setTopRow(inst, p.spot.row);
  } else if (p.row >= visible) {
    Row r = p.spot.row;
    stepRows(inst, r, -(visible - 1));
    setTopRow(inst, r);
  }
  if (wrapping(inst)) return;
  const int textX = p.spot.offset;
  const int width = std::max(1, inst.layout.clientWidth - inst.layout.extraHorzSpacing);
  const int left = inst.layout.horzScrollPos;
  if (textX < left)
    setHorzPos(inst, std::max(0, textX - width / 4));
  else if (textX >= left + width)
    setHorzPos(inst, textX - width * 3 / 4);
}

// The rows from the one holding `line` down to the bottom need painting.
void repaintFrom(Instance& inst, int32_t line) {
  const int rows = rowsDownTo(inst, line, inst.layout.visibleLines + 1);
  if (rows > inst.layout.visibleLines) return;
  if (rows <= 0) {
    repaintAll(inst);
    return;
  }
  const RECT below{0, rows * rowHeight(inst), inst.layout.clientWidth, inst.layout.clientHeight};
  InvalidateRect(inst.window, &below, FALSE);
}

void repaintLines(Instance& inst, int32_t first, int32_t last) {
  const int top = rowsDownTo(inst, first, inst.layout.visibleLines + 1);
  if (top > inst.layout.visibleLines) return;
  if (last < inst.text.firstVisible.line) return;
  const int bottom = rowsDownTo(inst, last + 1, inst.layout.visibleLines + 1);
  const RECT r{0, std::max(0, top) * rowHeight(inst), inst.layout.clientWidth, std::max(bottom, 1) * rowHeight(inst)};
  InvalidateRect(inst.window, &r, FALSE);
}

// The top row stays on a sub-line that exists.
void clampTopRow(Instance& inst) {
  const LineRef top = inst.text.firstVisible;
  const int count = subLineCount(inst, top.line, top.handle);
  if (inst.layout.firstVisibleSubLine >= count) inst.layout.firstVisibleSubLine = count - 1;
  if (inst.layout.firstVisibleSubLine < 0) inst.layout.firstVisibleSubLine = 0;
}

// ---------------------------------------------------------------------------
// Fonts

void useFont(Instance& inst, HFONT font, const LOGFONT& lf, bool owned) {
  FontState& f = inst.font;
  const HFONT old = f.font;
  const bool oldOwned = f.ownsFont;
  f.font = font;
  f.ownsFont = owned;
  f.logFont = lf;
  if (old && oldOwned && old != font) DeleteObject(old);
  measureFont(inst);
  applyMetrics(inst);
  clampTopRow(inst);
  if (inst.layout.caretCreated) createCaret(inst);
  repaintAll(inst);
  updateVertBar(inst);
  updateHorzBar(inst);
}

// ---------------------------------------------------------------------------
// Sub-lines asked for by number

// Sub-line `sub` of line `line`; false when either does not exist.
bool subLineText(Instance& inst, LPARAM line, WPARAM sub, std::string_view* out) {
  if (line < 1 || line > inst.text.lineCount) return false;
  const auto number = static_cast<int32_t>(line);
  const std::string_view text = shownLineText(inst, number, lineFromNumber(inst, number));
  std::vector<int> starts;
  subLineStarts(inst, text, starts);
  if (sub >= starts.size()) return false;
  const int start = starts[sub];
  *out = text.substr(
      static_cast<size_t>(start),
      static_cast<size_t>(subLineEnd(starts, static_cast<int>(sub), static_cast<int>(text.size())) - start));
  return true;
}

// The line number is in the buffer's first 32 bits.
LRESULT copySubLine(Instance& inst, WPARAM sub, char* buffer) {
  if (!buffer) return -1;
  LONG line = 0;
  std::memcpy(&line, buffer, sizeof line);
  std::string_view text;
  if (!subLineText(inst, line, sub, &text)) return -1;
  copyToLineBuffer(text, buffer);
  return static_cast<LRESULT>(text.size());
}

LRESULT subLineLengthMessage(Instance& inst, WPARAM sub, LPARAM line) {
  std::string_view text;
  return subLineText(inst, line, sub, &text) ? static_cast<LRESULT>(text.size()) : -1;
}

}  // namespace

// ---------------------------------------------------------------------------
// Rows

Row topRow(const Instance& inst) {
  return Row{inst.text.firstVisible.line, inst.text.firstVisible.handle, inst.layout.firstVisibleSubLine};
}

bool rowAt(Instance& inst, int y, Row* row) {
  if (y < 0) return false;
  Row r = topRow(inst);
  const int down = y / rowHeight(inst);
  if (stepRows(inst, r, down) < down) return false;
  *row = r;
  return true;
}

RowText rowText(Instance& inst, const Row& row) {
  const std::string_view line = shownLineText(inst, row.line, row.handle);
  std::vector<int> starts;
  subLineStarts(inst, line, starts);
  const int sub = std::min<int>(row.subLine, static_cast<int>(starts.size()) - 1);
  return RowText{line, starts[static_cast<size_t>(sub)], subLineEnd(starts, sub, static_cast<int>(line.size()))};
}

int columnAt(Instance& inst, const Row& row, int x) {
  const RowText t = rowText(inst, row);
  return columnNearest(inst, t.line, t.start, t.end, x - textLeft(inst));
}

CaretSpot caretSpot(Instance& inst) {
  const std::string_view text(inst.lineBuffer.text, static_cast<size_t>(inst.lineBuffer.length));
  std::vector<int> starts;
  subLineStarts(inst, text, starts);
  const int column = std::clamp<int>(inst.caretColumn, 0, static_cast<int>(text.size()));
  const int sub = subLineOfColumn(starts, column);
  const int start = starts[static_cast<size_t>(sub)];
  const int offset = textWidth(inst, text.substr(static_cast<size_t>(start), static_cast<size_t>(column - start)));
  return CaretSpot{Row{inst.text.caret.line, inst.text.caret.handle, sub}, offset};
}

int stepRows(Instance& inst, Row& row, int count) {
  int moved = 0;
  if (!wrapping(inst)) {
    // One row per line: walk the list.
    const int32_t target = std::clamp<int64_t>(static_cast<int64_t>(row.line) + count, 1, inst.text.lineCount);
    for (; row.line < target; ++row.line, ++moved) row.handle = nextLine(row.handle);
    for (; row.line > target; --row.line, --moved) row.handle = prevLine(row.handle);
    row.subLine = 0;
    return moved;
  }
  for (; count > 0; --count, ++moved) {
    if (row.subLine + 1 < subLineCount(inst, row.line, row.handle)) {
      ++row.subLine;
    } else if (row.line < inst.text.lineCount) {
      row = Row{row.line + 1, nextLine(row.handle), 0};
    } else {
      break;
    }
  }
  for (; count < 0; ++count, --moved) {
    if (row.subLine > 0) {
      --row.subLine;
    } else if (row.line > 1) {
      const LineHandle h = prevLine(row.handle);
      row = Row{row.line - 1, h, subLineCount(inst, row.line - 1, h) - 1};
    } else {
      break;
    }
  }
  return moved;
}

void noteLineSeen(Instance& inst, std::string_view text) {
  if (wrapping(inst)) return;
  const int unit = horzUnit(inst);
  // Only a line that may be wider than the range is measured.
  const int64_t byLength = static_cast<int64_t>(text.size()) * inst.font.averageCharWidth;
  if (byLength + unit <= inst.layout.horzScrollRange && text.find('\t') == std::string_view::npos) return;
  const int64_t wide = std::max<int64_t>(byLength, textWidth(inst, text)) + unit;
  const int range = static_cast<int>(std::min<int64_t>(wide / unit * unit, 1 << 24));
  if (range <= inst.layout.horzScrollRange) return;
  inst.layout.horzScrollRange = range;
  updateHorzBar(inst);
}

// ---------------------------------------------------------------------------
// Entry points

void initDisplay(Instance& inst) {
  RECT client{};
  GetClientRect(inst.window, &client);
  inst.layout.clientWidth = client.right;
  inst.layout.clientHeight = client.bottom;
  const LOGFONT lf = defaultLogFont(inst.window);
  useFont(inst, CreateFontIndirect(&lf), lf, true);
  inst.lineStates.validThrough = 1;
}

void destroyDisplay(Instance& inst) {
  if (inst.layout.caretCreated) {
    DestroyCaret();
    inst.layout.caretCreated = false;
  }
  if (inst.font.font && inst.font.ownsFont) DeleteObject(inst.font.font);
  inst.font.font = nullptr;
}

LRESULT onPaint(Instance& inst) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(inst.window, &ps);
  if (!dc) return 0;
  RECT client{0, 0, inst.layout.clientWidth, inst.layout.clientHeight};
  HDC target = dc;
  HDC memory = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  const bool notifyPaints = (inst.style & TS_PAINTNOTIFY) && inst.notifyWindow;
  if (notifyPaints) {
    const auto bitmap = reinterpret_cast<HBITMAP>(SendMessage(
        inst.notifyWindow, TM_PAINTNOTIFICATION, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(&client)));
    BITMAP info{};
    if (bitmap && GetObject(bitmap, sizeof info, &info) == sizeof info) {
      memory = CreateCompatibleDC(dc);
      oldBitmap = SelectObject(memory, bitmap);
      IntersectClipRect(memory, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
      target = memory;
    }
  }
  paintRows(inst, target, ps.rcPaint, notifyPaints, true);
  if (memory) {
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left, ps.rcPaint.bottom - ps.rcPaint.top,
           memory, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
  }
  EndPaint(inst.window, &ps);
  return 0;
}

LRESULT paintLines(Instance& inst, HDC dc, LPARAM size) {
  if (!dc || !size) return -1;
  WORD heightAndWidth[2];
  std::memcpy(heightAndWidth, reinterpret_cast<const void*>(size), sizeof heightAndWidth);
  const RECT area{0, 0, heightAndWidth[1], heightAndWidth[0]};
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  paintRows(inst, dc, area, false, false);
  RestoreDC(dc, saved);
  return 0;
}

void onSize(Instance& inst, int width, int height) {
  inst.layout.clientWidth = width;
  inst.layout.clientHeight = height;
  applyMetrics(inst);
  clampTopRow(inst);
  repaintAll(inst);
  updateHorzBar(inst);
  placeCaret(inst);
}

void onFocusChange(Instance& inst, bool gained) {
  if (gained) {
    createCaret(inst);
  } else if (inst.layout.caretCreated) {
    DestroyCaret();
    inst.layout.caretCreated = false;
  }
}

LRESULT setFont(Instance& inst, HFONT font, bool madeByWindow) {
  LOGFONT lf{};
  if (!font) {
    lf = defaultLogFont(inst.window);
    useFont(inst, CreateFontIndirect(&lf), lf, true);
  } else {
    if (GetObject(font, sizeof lf, &lf) != static_cast<int>(sizeof lf)) return -1;
    useFont(inst, font, lf, madeByWindow);
  }
  notifyParent(inst, TN_FONTCHANGED);
  return 0;
}

LRESULT setLogFont(Instance& inst, const LOGFONT* font) {
  if (!font) return -1;
  useFont(inst, CreateFontIndirect(font), *font, true);
  notifyParent(inst, TN_FONTCHANGED);
  return 0;
}

// Command 1031: the font dialog, starting from the window's font.
LRESULT fontCommand(Instance& inst) {
  LOGFONT lf = inst.font.logFont;
  CHOOSEFONT cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = inst.window;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFont(&cf)) return 0;
  return setLogFont(inst, &lf);
}

LRESULT onScroll(Instance& inst, bool vertical, WPARAM code, LPARAM lParam) {
  return vertical ? scrollVertically(inst, code, lParam) : scrollHorizontally(inst, code, lParam);
}

LRESULT onMouseWheel(Instance& inst, WPARAM wParam, LPARAM) {
  Layout& l = inst.layout;
  l.wheelRemainder += GET_WHEEL_DELTA_WPARAM(wParam);
  const int notches = l.wheelRemainder / WHEEL_DELTA;
  l.wheelRemainder -= notches * WHEEL_DELTA;
  if (notches) scrollRows(inst, -notches * kWheelRows);
  return 0;
}

LRESULT setWordWrap(Instance& inst, WPARAM flags, LPARAM width) {
  Layout& l = inst.layout;
  l.wordWrapFlags = static_cast<WORD>(flags & (TIVRA_WRAP_ON | TIVRA_WRAP_FIXEDWIDTH | TIVRA_WRAP_AUTOBREAK));
  l.wordWrapFixedWidth = static_cast<int>(std::clamp<LPARAM>(width, 0, 1 << 24));
  applyMetrics(inst);
  if (wrapping(inst)) l.horzScrollPos = 0;
  clampTopRow(inst);
  repaintAll(inst);
  updateHorzBar(inst);
  placeCaret(inst);
  return 0;
}

LRESULT setCaretWidth(Instance& inst, int width) {
  inst.layout.caretWidth = std::max(0, width);
  if (inst.layout.caretCreated) createCaret(inst);
  return 0;
}

LRESULT viewMessage(Instance& inst, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TM_SETFIRSTVISIBLELINE:
      setTopRow(inst, clampedRow(inst, static_cast<long>(lParam), static_cast<long>(wParam)));
      return 0;
    case TM_SETFIRSTVISIBLECOLUMN:
      setHorzPos(inst, static_cast<int>(std::min<WPARAM>(wParam, 1 << 16)) * inst.font.averageCharWidth);
      return 0;
    case TM_GETFIRSTSUBLINE:
      return inst.layout.firstVisibleSubLine;
    case TM_GETSUBLINE:
      return copySubLine(inst, wParam, reinterpret_cast<char*>(lParam));
    case TM_SUBLINELENGTH:
      return subLineLengthMessage(inst, wParam, lParam);
    case TM_SUBLINECOUNT:
      if (lParam < 1 || lParam > inst.text.lineCount) return 0;
      return subLineCount(inst, static_cast<int32_t>(lParam), lineFromNumber(inst, static_cast<int32_t>(lParam)));
    case TM_POSFROMPOINT: {
      Row row{};
      if (!rowAt(inst, GET_Y_LPARAM(lParam), &row)) return -1;
      return MAKELONG(row.line - inst.text.firstVisible.line, columnAt(inst, row, GET_X_LPARAM(lParam)));
    }
    default:
      return 0;
  }
}

void textChanged(Instance& inst, int32_t fromLine) {
  inst.scanner.running = false;
  Layout& l = inst.layout;
  if (l.lowestChangedLine > 0 && l.lowestChangedLine < fromLine) fromLine = l.lowestChangedLine;
  l.lowestChangedLine = 0;
  fromLine = std::max<int32_t>(fromLine, 1);
  invalidateLineStates(inst, fromLine);
  clampTopRow(inst);
  repaintFrom(inst, fromLine);
  updateVertBar(inst);
  keepCaretVisible(inst);
  placeCaret(inst);
  l.shownSelection = orderedSelection(inst);
}

void selectionChanged(Instance& inst) {
  Layout& l = inst.layout;
  const TivraRange now = orderedSelection(inst);
  const TivraRange& was = l.shownSelection;
  auto empty = [](const TivraRange& r) { return r.StartLine == r.EndLine && r.StartPos == r.EndPos; };
  if (!empty(was) || !empty(now)) {
    const bool same = was.StartLine == now.StartLine && was.EndLine == now.EndLine && was.StartPos == now.StartPos &&
                      was.EndPos == now.EndPos;
    if (!same) {
      // Repaint the lines whose selected part changed.
      if (empty(was))
        repaintLines(inst, now.StartLine, now.EndLine);
      else if (empty(now))
        repaintLines(inst, was.StartLine, was.EndLine);
      else {
        repaintLines(inst, std::min(was.StartLine, now.StartLine), std::max(was.StartLine, now.StartLine));
        repaintLines(inst, std::min(was.EndLine, now.EndLine), std::max(was.EndLine, now.EndLine));
      }
    }
  }
  l.shownSelection = now;
  keepCaretVisible(inst);
  placeCaret(inst);
}

void layoutChanged(Instance& inst) {
  rebuildScannerTables(inst);
  applyMetrics(inst);
  clampTopRow(inst);
  repaintAll(inst);
  updateVertBar(inst);
  updateHorzBar(inst);
  if (inst.layout.caretCreated) createCaret(inst);
}

}  // namespace tivra
