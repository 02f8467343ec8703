// Painting the window's rows: the colours of the window, the selection,
// bookmarks and each token, TABs expanded to tab stops, sub-lines of
// wrapped lines.
#include "syntax.h"
#include "view.h"

#include <string>

namespace tivra {

namespace {

struct Colours {
  COLORREF text;
  COLORREF back;
  COLORREF selectedText;
  COLORREF selectedBack;
};

// A stretch of a line in one pair of colours (columns start ... end).
struct Run {
  int start;
  int end;
  COLORREF fg;
  COLORREF bg;
  bool selected;
};

// The window's colours: the system's, then whatever the notify window sets
// in the DC when asked.
Colours askColours(const Instance& inst, HDC dc, bool withSelection) {
  Colours c{};
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  if (inst.notifyWindow)
    SendMessage(inst.notifyWindow, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                reinterpret_cast<LPARAM>(inst.window));
  c.text = GetTextColor(dc);
  c.back = GetBkColor(dc);
  c.selectedText = c.text;
  c.selectedBack = c.back;
  if (withSelection) {
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    if (inst.notifyWindow) SendMessage(inst.notifyWindow, TM_COLOURSELECTION, reinterpret_cast<WPARAM>(dc), 0);
    c.selectedText = GetTextColor(dc);
    c.selectedBack = GetBkColor(dc);
  }
  return c;
}

const Bookmark* markedBookmark(const Instance& inst, int32_t line) {
  for (int i = 0; i <= inst.bookmarkHigh && i < TIVRA_MAX_BOOKMARKS; ++i) {
    const Bookmark& b = inst.bookmarks[i];
    if (b.marks && b.at.line == line) return &b;
  }
  return nullptr;
}

class RowPainter {
 public:
  RowPainter(Instance& inst, HDC dc, const RECT& area, bool transparent, bool withSelection)
      : inst_(inst),
        dc_(dc),
        area_(area),
        transparent_(transparent),
        withSelection_(withSelection),
        colouring_((inst.style & TS_COLOURING) && inst.notifyWindow),
        colours_(askColours(inst, dc, withSelection)),
        selection_(orderedSelection(inst)) {}

  // Paints the line's sub-lines from `firstSub` on, starting at row top y;
  // returns the y below the last row painted.
  int paintLine(int32_t line, LineHandle handle, int firstSub, int y);
  void fillRows(int y);

 private:
  void buildRuns(int32_t line, LineHandle handle, std::string_view text);
  void push(int start, int end, COLORREF fg, COLORREF bg, bool selected);
  void overlay(int start, int end, COLORREF fg, COLORREF bg, bool selected);
  void paintSubLine(std::string_view text, int start, int end, int y, bool lineEndSelected);
  void fillRow(int y, COLORREF back);

  Instance& inst_;
  HDC dc_;
  RECT area_;
  bool transparent_;
  bool withSelection_;
  bool colouring_;
  Colours colours_;
  TivraRange selection_;
  COLORREF rowBack_ = 0;
  std::vector<Run> runs_;
  std::vector<Run> scratchRuns_;
  std::vector<int> starts_;
  std::string chars_;
  std::vector<INT> advances_;
  TivraToken record_{};
};

void RowPainter::push(int start, int end, COLORREF fg, COLORREF bg, bool selected) {
  if (start >= end) return;
  if (!runs_.empty()) {
    Run& last = runs_.back();
    if (last.end == start && last.fg == fg && last.bg == bg && last.selected == selected) {
      last.end = end;
      return;
    }
  }
  runs_.push_back(Run{start, end, fg, bg, selected});
}

void RowPainter::overlay(int start, int end, COLORREF fg, COLORREF bg, bool selected) {
  scratchRuns_.swap(runs_);
  runs_.clear();
  for (const Run& r : scratchRuns_) {
    push(r.start, std::min(r.end, start), r.fg, r.bg, r.selected);
    push(std::max(r.start, start), std::min(r.end, end), fg, bg, selected);
    push(std::max(r.start, end), r.end, r.fg, r.bg, r.selected);
  }
}

void RowPainter::buildRuns(int32_t line, LineHandle handle, std::string_view text) {
  runs_.clear();
  const int length = static_cast<int>(text.size());
  if (!colouring_) {
    push(0, length, colours_.text, colours_.back, false);
  } else {
    LineTokenizer tokens(inst_, text, lineStartState(inst_, line, handle));
    int pos = 0;
    for (Token t = tokens.next(); t.cls != TokenClass::EndOfLine; t = tokens.next()) {
      push(pos, t.column, colours_.text, colours_.back, false);
      COLORREF fg = colours_.text;
      COLORREF bg = colours_.back;
      // Comments are painted in the window's colours: in the program's
      // syntax they are the text outside the codes.
      if (t.cls != TokenClass::Comment) {
        SetTextColor(dc_, fg);
        SetBkColor(dc_, bg);
        fillTokenRecord(inst_, text, t, &record_);
        SendMessage(inst_.notifyWindow, TM_COLOURWORD, reinterpret_cast<WPARAM>(dc_),
                    reinterpret_cast<LPARAM>(&record_));
        fg = GetTextColor(dc_);
        bg = GetBkColor(dc_);
      }
      push(t.column, t.column + t.length, fg, bg, false);
      pos = t.column + t.length;
    }
    push(pos, length, colours_.text, colours_.back, false);
  }
  rowBack_ = colours_.back;
  if (const Bookmark* b = markedBookmark(inst_, line)) {
    // Mark bit 0: the line in the bookmark's colours; bit 1: its
    // background only.
    rowBack_ = b->background;
    if (b->marks & 1) {
      overlay(0, length, b->foreground, b->background, false);
    } else {
      for (Run& r : runs_) {
        if (r.bg == colours_.back) r.bg = b->background;
      }
    }
  }
  if (withSelection_ && line >= selection_.StartLine && line <= selection_.EndLine) {
    const int from = line == selection_.StartLine ? selection_.StartPos : 0;
    const int to = line == selection_.EndLine ? selection_.EndPos : length;
    overlay(from, to, colours_.selectedText, colours_.selectedBack, true);
  }
}

void RowPainter::fillRow(int y, COLORREF back) {
  if (transparent_) return;
  const RECT r{area_.left, y, area_.right, y + rowHeight(inst_)};
  SetBkColor(dc_, back);
  ExtTextOut(dc_, area_.left, y, ETO_OPAQUE, &r, "", 0, nullptr);
}

void RowPainter::fillRows(int y) {
  for (; y < area_.bottom; y += rowHeight(inst_)) fillRow(y, colours_.back);
}

void RowPainter::paintSubLine(std::string_view text, int start, int end, int y, bool lineEndSelected) {
  const int height = rowHeight(inst_);
  const int left = textLeft(inst_);
  fillRow(y, rowBack_);
  int x = 0;
  for (const Run& run : runs_) {
    if (run.end <= start) continue;
    if (run.start >= end) break;
    const int from = std::max(run.start, start);
    const int to = std::min(run.end, end);
    const int runLeft = x;
    chars_.clear();
    advances_.clear();
    for (int i = from; i < to; ++i) {
      const char c = text[static_cast<size_t>(i)];
      const int next = advance(inst_, x, c);
      chars_.push_back(c == '\t' ? ' ' : c);
      advances_.push_back(next - x);
      x = next;
    }
    if (left + x <= area_.left) continue;
    if (left + runLeft >= area_.right) break;
    const bool opaque = transparent_
                            ? run.selected || ((inst_.options & TivraOption::PaintBitmap) && run.bg != rowBack_)
                            : run.bg != rowBack_;
    const RECT cell{left + runLeft, y, left + x, y + height};
    SetTextColor(dc_, run.fg);
    SetBkColor(dc_, run.bg);
    ExtTextOut(dc_, left + runLeft, y, opaque ? ETO_OPAQUE : 0, &cell, chars_.data(), static_cast<UINT>(chars_.size()),
               advances_.data());
  }
  if (lineEndSelected) {
    // A selected line end shows as one blank in the selection's colour, so
    // that a selected empty line can be seen.
    const RECT cell{left + x, y, left + x + charWidth(inst_, ' '), y + height};
    SetBkColor(dc_, colours_.selectedBack);
    ExtTextOut(dc_, cell.left, y, ETO_OPAQUE, &cell, "", 0, nullptr);
  }
}

int RowPainter::paintLine(int32_t line, LineHandle handle, int firstSub, int y) {
  const int height = rowHeight(inst_);
  const std::string_view text = shownLineText(inst_, line, handle);
  noteLineSeen(inst_, text);
  subLineStarts(inst_, text, starts_);
  const bool lineEndSelected = withSelection_ && line >= selection_.StartLine && line < selection_.EndLine;
  bool built = false;
  const int count = static_cast<int>(starts_.size());
  for (int sub = std::min(firstSub, count - 1); sub < count && y < area_.bottom; ++sub, y += height) {
    if (y + height <= area_.top) continue;
    if (!built) {
      buildRuns(line, handle, text);
      built = true;
    }
    paintSubLine(text, starts_[static_cast<size_t>(sub)], subLineEnd(starts_, sub, static_cast<int>(text.size())), y,
                 lineEndSelected && sub == count - 1);
  }
  return y;
}

}  // namespace

void paintRows(Instance& inst, HDC dc, const RECT& area, bool transparent, bool withSelection) {
  const int saved = SaveDC(dc);
  SelectObject(dc, inst.font.font);
  SetTextAlign(dc, TA_TOP | TA_LEFT);
  SetBkMode(dc, TRANSPARENT);
  RowPainter painter(inst, dc, area, transparent, withSelection);
  const Row top = topRow(inst);
  int32_t line = top.line;
  LineHandle handle = top.handle;
  int sub = top.subLine;
  int y = 0;
  while (y < area.bottom && handle) {
    y = painter.paintLine(line, handle, sub, y);
    handle = nextLine(handle);
    ++line;
    sub = 0;
  }
  painter.fillRows(y);
  RestoreDC(dc, saved);
}

}  // namespace tivra
