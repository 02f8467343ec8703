// Display and colouring through the window's messages: the syntax table and
// the word scanner, painting and its colours, the caret, scrolling, the
// position under a point, and word wrap.
#include "common_dialogs.h"
#include "editor_harness.h"
#include "scripted_responder.h"

#include <cstring>
#include <string>
#include <vector>

using editor_test::Editor;
using editor_test::NotifyWindow;

namespace {

// The program's own syntax for HTML: item 1 the double quote (doubled to
// escape it), items 2 and 3 empty, ">" opens and "<" closes a "comment"
// (the text between the codes), items 6 and 7 empty, item 8 the slash.
const std::vector<WORD> kPageSyntax = {0x2222, 0x0101, 0x0101, 0x003E, 0x003C, 0x0101, 0x0101, 0x002F};

void usePageSyntax(const Editor& e) {
  e.send(TM_SETSYNTAX, kPageSyntax.size(), reinterpret_cast<LPARAM>(kPageSyntax.data()));
  e.setOptions(TivraOption::StartInComments | TivraOption::MultiLineItems, true);
}

struct Scanned {
  LRESULT result;
  WORD type;
  LONG value;
  std::string text;
};

Scanned scanNext(const Editor& e, bool acrossLines = false) {
  TivraToken t{};
  const LRESULT r = e.send(TM_SCANNEXT, acrossLines ? 1 : 0, reinterpret_cast<LPARAM>(&t));
  return Scanned{r, t.WordType, t.WordValue, t.WordStr};
}

// The tokens of one line of the scan, up to its end (result 4).
std::vector<Scanned> scanLine(const Editor& e) {
  std::vector<Scanned> out;
  for (Scanned s = scanNext(e); s.result == 0; s = scanNext(e)) out.push_back(s);
  return out;
}

std::vector<std::string> texts(const std::vector<Scanned>& tokens) {
  std::vector<std::string> out;
  for (const Scanned& s : tokens) out.push_back(s.text);
  return out;
}

using Strings = std::vector<std::string>;

LONG charMetrics(const Editor& e) { return static_cast<LONG>(e.send(TM_GETCHARMETRICS)); }
int averageWidth(const Editor& e) { return LOWORD(charMetrics(e)); }
int lineHeight(const Editor& e) { return HIWORD(charMetrics(e)); }

std::string lines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "line " + std::to_string(i) + (i < count ? "\r\n" : "");
  return text;
}

// ---------------------------------------------------------------------------
// Syntax and the word scanner

TEST(DisplaySyntax, PageSyntaxSplitsTagsFromTheTextAroundThem) {
  NotifyWindow parent;
  Editor e(parent);
  usePageSyntax(e);
  e.setText("Tekst med <b>fed</b> skrift\r\nog mere");
  ASSERT_EQ(e.send(TM_SCANSTART), 0);
  const std::vector<Scanned> first = scanLine(e);
  EXPECT_EQ(texts(first), (Strings{"Tekst med <", "b", ">fed<", "/", "b", "> skrift"}));
  ASSERT_EQ(first.size(), 6u);
  // Outside the tags: comment tokens; inside: words and the delimiter "/".
  for (size_t i : {0u, 2u, 5u}) {
    EXPECT_EQ(first[i].type, TIVRA_TOKEN_STRING) << first[i].text;
    EXPECT_EQ(HIWORD(first[i].value), 1) << "scanner kind of a comment";
  }
  EXPECT_EQ(first[1].type, TIVRA_TOKEN_WORD);
  EXPECT_EQ(first[1].value, 11) << "a word's value is its column";
  EXPECT_EQ(first[3].type, TIVRA_TOKEN_DELIMITER);
  EXPECT_EQ(first[3].value, MAKELONG(17, 8));

  // The comment left open at the end of the line goes on in the next.
  EXPECT_EQ(e.send(TM_SCANNEXTLINE), 0);
  const std::vector<Scanned> second = scanLine(e);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].text, "og mere");
  EXPECT_EQ(HIWORD(second[0].value), 1);
  EXPECT_EQ(e.send(TM_SCANNEXTLINE), 1) << "no line after the last";
}

TEST(DisplaySyntax, StringsHideCommentMarkersAndKeepEscapedDelimiters) {
  NotifyWindow parent;
  Editor e(parent);  // the built-in table: "\"" with "\\", "//", "/* */"
  e.setText("s = \"a // b\"; // note\r\nt = \"x\\\"y\" + 'c'\r\na. b");
  e.send(TM_SCANSTART);
  std::vector<Scanned> tokens = scanLine(e);
  EXPECT_EQ(texts(tokens), (Strings{"s", "=", "\"a // b\"", ";", "// note"}));
  EXPECT_EQ(tokens[2].type, TIVRA_TOKEN_STRING);
  EXPECT_EQ(tokens[2].value, MAKELONG(4, 0)) << "scanner kind 0: a string";
  EXPECT_EQ(tokens[4].value, MAKELONG(14, 1)) << "scanner kind 1: a comment";

  e.send(TM_SCANNEXTLINE);
  tokens = scanLine(e);
  EXPECT_EQ(texts(tokens), (Strings{"t", "=", "\"x\\\"y\"", "+", "'c'"})) << "' is no item of the built-in table";

  e.send(TM_SCANNEXTLINE);
  tokens = scanLine(e);
  EXPECT_EQ(texts(tokens), (Strings{"a", ". ", "b"})) << "two-character items before one-character ones";
  EXPECT_EQ(tokens[1].value, MAKELONG(1, 12));
}

TEST(DisplaySyntax, BlockCommentsCarryOverOnlyWithMultiLineItems) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("x /* open\r\ny = 1");
  e.send(TM_SCANSTART);
  EXPECT_EQ(texts(scanLine(e)), (Strings{"x", "/* open"}));
  e.send(TM_SCANNEXTLINE);
  EXPECT_EQ(texts(scanLine(e)), (Strings{"y", "=", "1"})) << "each line starts afresh";

  e.setOptions(TivraOption::MultiLineItems, true);
  e.send(TM_SCANSTART);
  scanLine(e);
  e.send(TM_SCANNEXTLINE);
  EXPECT_EQ(texts(scanLine(e)), (Strings{"y = 1"})) << "the comment goes on";
}

TEST(DisplaySyntax, StringsCarryOverOnlyWithMultiLineStrings) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("a \"open\r\nstill\" b");
  e.setOptions(TivraOption::MultiLineItems, true);
  auto secondLine = [&] {
    e.send(TM_SCANSTART);
    scanLine(e);
    e.send(TM_SCANNEXTLINE);
    return scanLine(e);
  };
  std::vector<Scanned> second = secondLine();
  EXPECT_EQ(texts(second), (Strings{"still", "\" b"})) << "a string ends with its line";

  e.setOptions(TivraOption::MultiLineStrings, true);
  second = secondLine();
  ASSERT_EQ(texts(second), (Strings{"still\"", "b"}));
  EXPECT_EQ(second[0].type, TIVRA_TOKEN_STRING_STATE) << "the carried part of a string";

  e.setOptions(TivraOption::SingleLineStrings, true);
  EXPECT_EQ(texts(secondLine()), (Strings{"still", "\" b"}));
}

TEST(DisplaySyntax, NumberFormsOfWords) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("0x1F -12 +7 2.5 1e5 12px 0x 99999999999 -2147483648 x12 0xFFFFFFFF");
  e.send(TM_SCANSTART);
  const std::vector<Scanned> t = scanLine(e);
  ASSERT_EQ(t.size(), 11u);
  const WORD number = TIVRA_TOKEN_WORD | TIVRA_WORD_NUMBER;
  EXPECT_EQ(t[0].type, number | TIVRA_WORD_HASVALUE | TIVRA_WORD_HEX);
  EXPECT_EQ(t[0].value, 31);
  EXPECT_EQ(t[1].type, number | TIVRA_WORD_HASVALUE);
  EXPECT_EQ(t[1].value, -12);
  EXPECT_EQ(t[2].value, 7);
  EXPECT_EQ(t[3].type, number | TIVRA_WORD_FRACTION);
  EXPECT_EQ(t[3].value, 12) << "without a value the column";
  EXPECT_EQ(t[4].type, number | TIVRA_WORD_EXPONENT);
  EXPECT_EQ(t[5].type, number | TIVRA_WORD_SUFFIX);
  EXPECT_EQ(t[6].type, number | TIVRA_WORD_HEX) << "a prefix without digits has no value";
  EXPECT_EQ(t[7].type, number) << "too large for 32 bits";
  EXPECT_EQ(t[8].type, number | TIVRA_WORD_HASVALUE);
  EXPECT_EQ(t[8].value, INT32_MIN);
  EXPECT_EQ(t[9].type, TIVRA_TOKEN_WORD);
  EXPECT_EQ(t[10].value, -1) << "eight hexadecimal digits fill the 32 bits";
}

TEST(DisplaySyntax, ScannerProtocolAndItsEnd) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("ab cd\r\n\r\nef");
  EXPECT_EQ(e.send(TM_GETMODIFY, 1), 1);
  EXPECT_EQ(e.send(TM_SCANNEXT, 0, 0), 1) << "no scan running";
  e.send(TM_SCANSTART);
  EXPECT_EQ(e.send(TM_GETMODIFY, 1), 0) << "starting a scan clears modified bit 1";

  EXPECT_EQ(scanNext(e).text, "ab");
  TivraRange r{};
  EXPECT_EQ(e.send(TM_SCANTOKENRANGE, 0, reinterpret_cast<LPARAM>(&r)), 0);
  EXPECT_EQ(r, editor_test::range(1, 0, 1, 2));
  char rest[TIVRA_LINE_BUFFER + 1];
  e.send(TM_SCANRESTOFLINE, 0, reinterpret_cast<LPARAM>(rest));
  EXPECT_STREQ(rest, " cd");
  EXPECT_EQ(scanNext(e).text, "cd");
  const Scanned end = scanNext(e);
  EXPECT_EQ(end.result, 4);
  EXPECT_EQ(end.type, TIVRA_TOKEN_NONE);
  EXPECT_EQ(scanNext(e).result, 4) << "stays at the end of the line";

  // Across lines: the empty line is passed, then the end of the text.
  const Scanned ef = scanNext(e, true);
  EXPECT_EQ(ef.text, "ef");
  e.send(TM_SCANTOKENRANGE, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r, editor_test::range(3, 0, 3, 2));
  EXPECT_EQ(scanNext(e, true).result, 1);

  // Any change of the text ends a running scan.
  e.send(TM_SCANSTART);
  EXPECT_EQ(scanNext(e).result, 0);
  e.select(1, 0, 1, 0);
  e.replace("x");
  EXPECT_EQ(scanNext(e).result, 1);
}

TEST(DisplaySyntax, TokenAtTheCaret) {
  NotifyWindow parent;
  Editor e(parent);
  usePageSyntax(e);
  e.setText("plain <FONT SIZE=\"5\"> text");
  TivraToken t{};
  auto at = [&](SHORT column) {
    e.select(1, column, 1, column);
    t = TivraToken{};
    return e.send(TM_TOKENATCARET, 0, reinterpret_cast<LPARAM>(&t));
  };
  EXPECT_EQ(at(8), 0);
  EXPECT_STREQ(t.WordStr, "FONT");
  EXPECT_EQ(at(11), 0) << "right after a word";
  EXPECT_STREQ(t.WordStr, "FONT");
  EXPECT_EQ(at(18), 0);
  EXPECT_STREQ(t.WordStr, "\"5\"");
  EXPECT_EQ(at(2), 4) << "the text between the codes is no token";
  EXPECT_EQ(at(24), 4);

  e.setOptions(TivraOption::CurrentWordAsText, true);
  EXPECT_EQ(at(14), 0);
  EXPECT_STREQ(t.WordStr, "SIZE=\"5\">") << "the blank-separated word";
  EXPECT_EQ(at(2), 0);
  EXPECT_STREQ(t.WordStr, "plain");
}

// ---------------------------------------------------------------------------
// Painting

// A memory DC with a bitmap of the given size, for TM_PAINTLINES.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(dc_, width, height);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  void paint(const Editor& e) {
    const WORD size[2] = {static_cast<WORD>(height_), static_cast<WORD>(width_)};
    ASSERT_EQ(e.send(TM_PAINTLINES, reinterpret_cast<WPARAM>(dc_), reinterpret_cast<LPARAM>(size)), 0);
  }
  COLORREF pixel(int x, int y) const { return GetPixel(dc_, x, y); }
  // Pixels of a colour in columns [left, right) and rows [top, bottom).
  int count(int left, int right, int top, int bottom, bool (*match)(COLORREF)) const {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) n += match(pixel(x, y));
    return n;
  }

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

bool reddish(COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) < 80 && GetBValue(c) < 80; }

// Glyphs are smoothed: their cores come near the text colour, not always
// onto it.
bool nearTextColour(COLORREF c) {
  const COLORREF t = GetSysColor(COLOR_WINDOWTEXT);
  auto near = [](int a, int b) { return a - b < 90 && b - a < 90; };
  return near(GetRValue(c), GetRValue(t)) && near(GetGValue(c), GetGValue(t)) && near(GetBValue(c), GetBValue(t));
}

TEST(DisplayPainting, NotifyWindowColoursTheTagsAndNotTheText) {
  NotifyWindow parent;
  Editor e(parent, TS_COLOURING);
  usePageSyntax(e);
  std::vector<std::string> asked;
  parent.handlers[TM_COLOURWORD] = [&](WPARAM dc, LPARAM token) {
    asked.push_back(reinterpret_cast<const TivraToken*>(token)->WordStr);
    SetTextColor(reinterpret_cast<HDC>(dc), RGB(255, 0, 0));
    return LRESULT{0};
  };
  e.setText("HHHH <FONT> HHHH");
  Canvas canvas(300, 40);
  canvas.paint(e);
  EXPECT_EQ(asked, (Strings{"FONT"})) << "only the inside of the tag is asked for";

  const int w = averageWidth(e);
  const int h = lineHeight(e);
  EXPECT_GT(canvas.count(6 * w, 10 * w, 0, h, reddish), 0) << "the tag's word is red";
  EXPECT_EQ(canvas.count(0, 5 * w, 0, h, reddish), 0) << "the text before the tag is not";
  EXPECT_EQ(canvas.count(12 * w, 16 * w, 0, h, reddish), 0) << "nor the text after it";
  EXPECT_GT(canvas.count(0, 4 * w, 0, h, nearTextColour), 0) << "the text in the window's text colour";
}

TEST(DisplayPainting, WithoutANotifyWindowTheSystemColours) {
  Editor e(TS_COLOURING, "Hello world");
  Canvas canvas(200, 60);
  canvas.paint(e);
  const int h = lineHeight(e);
  EXPECT_EQ(canvas.pixel(190, 2), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(canvas.pixel(5, h + 5), GetSysColor(COLOR_WINDOW)) << "below the text";
  EXPECT_GT(canvas.count(0, 11 * averageWidth(e), 0, h, nearTextColour), 0);
}

TEST(DisplayPainting, WindowColoursSelectionColoursAndPaintNotification) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("abcdef\r\nsecond");
  // WM_CTLCOLOREDIT is no WM_USER message: a window of its own answers it
  // and hands the rest to the harness's.
  HWND colours = platform::createMessageWindow([&](HWND h, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (msg == WM_CTLCOLOREDIT) {
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
      return 0;
    }
    if (msg >= WM_USER) return SendMessage(parent.hwnd(), msg, wParam, lParam);
    return DefWindowProc(h, msg, wParam, lParam);
  });
  e.send(EM_SETHANDLE, 0, reinterpret_cast<LPARAM>(colours));
  parent.handlers[TM_COLOURSELECTION] = [](WPARAM dc, LPARAM) {
    SetBkColor(reinterpret_cast<HDC>(dc), RGB(0, 255, 0));
    return LRESULT{0};
  };
  e.select(1, 2, 1, 4);
  InvalidateRect(e.hwnd(), nullptr, FALSE);
  UpdateWindow(e.hwnd());
  HDC dc = GetDC(e.hwnd());
  const int w = averageWidth(e);
  EXPECT_EQ(GetPixel(dc, 250, 3), RGB(0, 0, 255)) << "WM_CTLCOLOREDIT gives the background";
  EXPECT_EQ(GetPixel(dc, 3 * w, 1), RGB(0, 255, 0)) << "the selection's background";
  EXPECT_EQ(GetPixel(dc, 5 * w + 1, 1), RGB(0, 0, 255)) << "after the selection";
  ReleaseDC(e.hwnd(), dc);

  // TM_PAINTLINES leaves the selection out.
  Canvas canvas(200, 30);
  canvas.paint(e);
  EXPECT_EQ(canvas.pixel(3 * w, 1), RGB(0, 0, 255));

  // Paint notification: the notify window paints a bitmap, the text goes
  // over it transparently, the result is copied to the window.
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP picture = CreateCompatibleBitmap(memory, 300, 200);
  HGDIOBJ old = SelectObject(memory, picture);
  RECT all{0, 0, 300, 200};
  HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
  FillRect(memory, &all, yellow);
  SelectObject(memory, old);
  DeleteDC(memory);
  int notified = 0;
  parent.handlers[TM_PAINTNOTIFICATION] = [&](WPARAM, LPARAM rect) {
    ++notified;
    EXPECT_EQ(reinterpret_cast<const RECT*>(rect)->right, 300);
    return reinterpret_cast<LRESULT>(picture);
  };
  e.select(1, 0, 1, 0);
  e.send(TM_SETPAINTNOTIFY, 1);
  UpdateWindow(e.hwnd());
  EXPECT_EQ(notified, 1);
  dc = GetDC(e.hwnd());
  EXPECT_EQ(GetPixel(dc, 250, 3), RGB(255, 255, 0)) << "the background stays the notify window's";
  ReleaseDC(e.hwnd(), dc);
  // The selection keeps its background over the picture, or it could not
  // be seen.
  e.select(1, 2, 1, 4);
  UpdateWindow(e.hwnd());
  dc = GetDC(e.hwnd());
  EXPECT_EQ(GetPixel(dc, 3 * w, 1), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 250, 3), RGB(255, 255, 0));
  ReleaseDC(e.hwnd(), dc);
  DeleteObject(picture);
  DeleteObject(yellow);
  e.send(EM_SETHANDLE, 0, reinterpret_cast<LPARAM>(parent.hwnd()));
  DestroyWindow(colours);
}

TEST(DisplayPainting, TokenBackgroundsOverTheNotifyPictureOnlyWithOption0040) {
  NotifyWindow parent;
  Editor e(parent, TS_COLOURING | TS_PAINTNOTIFY, "''''");
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP picture = CreateCompatibleBitmap(memory, 300, 200);
  HGDIOBJ old = SelectObject(memory, picture);
  PatBlt(memory, 0, 0, 300, 200, WHITENESS);
  SelectObject(memory, old);
  DeleteDC(memory);
  parent.handlers[TM_PAINTNOTIFICATION] = [&](WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(picture); };
  parent.handlers[TM_COLOURWORD] = [](WPARAM dc, LPARAM) {
    SetBkColor(reinterpret_cast<HDC>(dc), RGB(255, 0, 0));
    return LRESULT{0};
  };
  // Below the apostrophes: the cell's background only.
  auto cellBottom = [&] {
    InvalidateRect(e.hwnd(), nullptr, FALSE);
    UpdateWindow(e.hwnd());
    HDC dc = GetDC(e.hwnd());
    const COLORREF c = GetPixel(dc, averageWidth(e) * 2, lineHeight(e) - 1);
    ReleaseDC(e.hwnd(), dc);
    return c;
  };
  EXPECT_EQ(cellBottom(), RGB(255, 255, 255)) << "the picture shows through";
  e.setOptions(TivraOption::PaintBitmap, true);
  EXPECT_EQ(cellBottom(), RGB(255, 0, 0)) << "the token's own background";
  DeleteObject(picture);
}

TEST(DisplayPainting, BookmarkMarksColourTheirLine) {
  NotifyWindow parent;
  Editor e(parent, 0, "one\r\ntwo");
  e.send(TM_SETBOOKMARK, 1, 2);
  Canvas before(100, 40);
  before.paint(e);
  const int h = lineHeight(e);
  EXPECT_EQ(before.pixel(90, h + 1), GetSysColor(COLOR_WINDOW)) << "a bookmark without marks shows nothing";
  e.send(TM_SETBOOKMARKLOOK, 1 | (TIVRA_BOOKMARK_SETMARK0 << 8));
  Canvas after(100, 40);
  after.paint(e);
  EXPECT_EQ(after.pixel(90, h + 1), RGB(255, 255, 0)) << "the default bookmark background";
}

// ---------------------------------------------------------------------------
// Scrolling, the caret and positions

struct Bar {
  int min, max, page, pos;
};

Bar vertBar(const Editor& e) {
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(e.hwnd(), SB_VERT, &si);
  return Bar{si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos};
}

TEST(DisplayScrolling, VerticalThumbScaleAndNotifications) {
  NotifyWindow parent;
  Editor e(parent, WS_VSCROLL, lines(100).c_str());
  const int visible = 200 / lineHeight(e);
  EXPECT_EQ(vertBar(e).max, 10000);
  EXPECT_EQ(vertBar(e).page, 100) << "10000 / line count";
  parent.seen.clear();
  e.send(WM_VSCROLL, SB_LINEDOWN);
  e.send(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 3);
  EXPECT_EQ(vertBar(e).pos, 200);
  EXPECT_EQ(parent.count(TN_VSCROLL), 2);
  e.send(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 3 + visible);
  e.send(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 5000));
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 51);
  e.send(TM_VSCROLL, 273, 1000);
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 100) << "clamped to the last line";
  e.send(WM_VSCROLL, SB_TOP);
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 1);
  e.send(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 100 - visible + 1) << "the last screen, full";
  parent.seen.clear();
  e.send(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(parent.count(TN_VSCROLL), 0) << "no notification without a move";

  // The wheel: three rows a notch, half notches add up.
  e.send(WM_VSCROLL, SB_TOP);
  e.send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)));
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 4);
  e.send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2));
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 4);
  e.send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2));
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 1);
}

TEST(DisplayScrolling, HorizontalUnitsRangeAndNotification) {
  NotifyWindow parent;
  Editor e(parent, WS_HSCROLL, std::string(200, 'x').c_str());
  Canvas canvas(300, 40);
  canvas.paint(e);  // the range grows to the lines painted
  LOGFONT lf{};
  e.send(TM_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&lf));
  const int w = averageWidth(e);
  parent.seen.clear();
  e.send(WM_HSCROLL, SB_PAGERIGHT);
  const int unit = static_cast<int>(e.send(TM_GETFIRSTVISIBLECOLUMN)) * w / 12;
  EXPECT_GE(unit, w) << "a unit is the widest character";
  EXPECT_EQ(parent.count(TN_HSCROLL), 1);
  e.send(WM_HSCROLL, SB_LINELEFT);
  EXPECT_EQ(e.send(TM_GETFIRSTVISIBLECOLUMN), 11 * unit / w);
  e.send(WM_HSCROLL, SB_RIGHT);
  const int range = (200 * w + unit) / unit * unit;
  EXPECT_EQ(e.send(TM_GETFIRSTVISIBLECOLUMN), range / w);
  e.send(WM_HSCROLL, SB_LINERIGHT);
  EXPECT_EQ(e.send(TM_GETFIRSTVISIBLECOLUMN), range / w) << "not beyond the widest line";
  e.send(TM_SETFIRSTVISIBLECOLUMN, 3);
  EXPECT_EQ(e.send(TM_GETFIRSTVISIBLECOLUMN), 3);

  // The caret moved far right brings its column into view, and back.
  e.select(1, 180, 1, 180);
  const LRESULT first = e.send(TM_GETFIRSTVISIBLECOLUMN);
  EXPECT_LE(first, 180);
  EXPECT_GT(first + 300 / w, 180);
  e.select(1, 0, 1, 0);
  EXPECT_EQ(e.send(TM_GETFIRSTVISIBLECOLUMN), 0);

  // TABs make a short line wide: the range reaches its end all the same.
  Editor tabs(parent, WS_HSCROLL, (std::string(20, '\t') + "end").c_str());
  canvas.paint(tabs);
  tabs.send(WM_HSCROLL, SB_RIGHT);
  EXPECT_GE(tabs.send(TM_GETFIRSTVISIBLECOLUMN), 20 * 8 + 3);
}

TEST(DisplayCaret, PlacedAtItsCellAndParkedOutsideTheWindow) {
  NotifyWindow parent;
  Editor e(parent, 0, lines(100).c_str());
  e.send(TM_SETTABSIZE, 4);
  e.select(2, 0, 2, 0);
  e.replace("\t");  // "\tline 2": the caret after the TAB
  SetFocus(e.hwnd());
  const int w = averageWidth(e);
  const int h = lineHeight(e);
  POINT p{};
  GetCaretPos(&p);
  EXPECT_EQ(p.x, 4 * w) << "a TAB reaches the next tab stop";
  EXPECT_EQ(p.y, h);

  e.send(TM_VSCROLL, 273, 50);
  GetCaretPos(&p);
  EXPECT_EQ(p.x, 32000);
  EXPECT_EQ(p.y, 32000);

  // Moving the caret brings it into view.
  e.select(90, 0, 90, 0);
  const LRESULT top = e.send(EM_GETFIRSTVISIBLELINE);
  EXPECT_LE(top, 90);
  EXPECT_GT(top + 200 / h, 90);
  GetCaretPos(&p);
  EXPECT_EQ(p.y, (90 - top) * h);
  SetFocus(nullptr);
}

TEST(DisplayCaret, InAWrappedLineThatStartsAboveTheWindow) {
  NotifyWindow parent;
  std::string words;
  for (int i = 0; i < 40; ++i) words += "aaa ";
  Editor e(parent, 0, words.c_str());
  const int w = averageWidth(e);
  const int h = lineHeight(e);
  e.send(TM_SETWORDWRAP, TIVRA_WRAP_ON | TIVRA_WRAP_FIXEDWIDTH | TIVRA_WRAP_AUTOBREAK, 10 * w);
  ASSERT_EQ(e.send(TM_SUBLINECOUNT, 0, 1), 20);
  e.send(TM_SETFIRSTVISIBLELINE, 5, 1);
  SetFocus(e.hwnd());
  e.select(1, 8 * 8 + 2, 1, 8 * 8 + 2);
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 1);
  EXPECT_EQ(e.send(TM_GETFIRSTSUBLINE), 5) << "a caret already in the window does not scroll it";
  POINT p{};
  GetCaretPos(&p);
  EXPECT_EQ(p.x, 2 * w);
  EXPECT_EQ(p.y, 3 * h) << "the caret shows in its row, not parked outside the window";
  e.select(1, 2 * 8, 1, 2 * 8);
  EXPECT_EQ(e.send(TM_GETFIRSTSUBLINE), 2) << "a caret above the window brings its row to the top";
  SetFocus(nullptr);
}

TEST(DisplayCaret, PositionAtAPoint) {
  NotifyWindow parent;
  Editor e(parent, 0, "abc\r\n\tx\r\nlast");
  const int w = averageWidth(e);
  const int h = lineHeight(e);
  auto at = [&](int x, int y) { return e.send(TM_POSFROMPOINT, 0, MAKELPARAM(x, y)); };
  EXPECT_EQ(at(w + 1, 1), MAKELONG(0, 1));
  EXPECT_EQ(at(w * 2 - 1, 1), MAKELONG(0, 2)) << "the nearer boundary";
  EXPECT_EQ(at(100 * w, 1), MAKELONG(0, 3)) << "past the end of the line";
  EXPECT_EQ(at(8 * w + 1, h + 1), MAKELONG(1, 1)) << "after the TAB of the second line";
  EXPECT_EQ(at(1, 3 * h + 1), -1) << "below the text";
  e.send(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(at(1, 1), MAKELONG(0, 0)) << "relative to the first visible line";

  // With word wrap the rows are sub-lines, each with tab stops from its own
  // start: "ab\tcd " and "ef\tgh".
  e.setText("x\r\nab\tcd ef\tgh");
  e.send(TM_SETTABSIZE, 4);
  e.send(TM_SETWORDWRAP, TIVRA_WRAP_ON | TIVRA_WRAP_FIXEDWIDTH | TIVRA_WRAP_AUTOBREAK, 7 * w);
  e.send(WM_VSCROLL, SB_TOP);
  ASSERT_EQ(e.send(TM_SUBLINELENGTH, 0, 2), 6);
  EXPECT_EQ(at(4 * w + 1, 2 * h + 1), MAKELONG(1, 9)) << "the \"g\" after the second TAB";
  EXPECT_EQ(at(100 * w, h + 1), MAKELONG(1, 6)) << "right of a sub-line: its end";
  EXPECT_EQ(at(1, 3 * h + 1), -1) << "below the last sub-line";
}

// ---------------------------------------------------------------------------
// Word wrap

std::string subLine(const Editor& e, LONG line, int sub) {
  std::vector<char> buffer(TIVRA_LINE_BUFFER + 1);
  std::memcpy(buffer.data(), &line, sizeof line);
  const LRESULT n = e.send(TM_GETSUBLINE, static_cast<WPARAM>(sub), reinterpret_cast<LPARAM>(buffer.data()));
  return n < 0 ? std::string("<none>") : std::string(buffer.data(), static_cast<size_t>(n));
}

// A sub-line and the rest of a scanned line go into a buffer of
// TIVRA_LINE_BUFFER bytes, as a line does: with a line of 8193 characters,
// nothing is written past the buffer (a heap buffer of that size lets the
// sanitizer see a byte too many; the guard bytes after it, a release build).
TEST(DisplayWrap, SubLinesAndTheRestOfALineStayInsideTheLineBuffer) {
  NotifyWindow parent;
  Editor e(parent);
  const std::string full(8193, 'z');
  e.setText(full + "\r\nkort");
  struct Guarded {
    std::vector<char> bytes = std::vector<char>(TIVRA_LINE_BUFFER + 16, '#');
    char* buffer() { return bytes.data(); }
    bool guardIntact() const { return std::string(bytes.end() - 16, bytes.end()) == std::string(16, '#'); }
  };

  Guarded sub;
  const LONG one = 1;
  std::memcpy(sub.buffer(), &one, sizeof one);
  EXPECT_EQ(e.send(TM_GETSUBLINE, 0, reinterpret_cast<LPARAM>(sub.buffer())), 8193);
  EXPECT_EQ(std::string(sub.buffer(), 8193), full);
  EXPECT_TRUE(sub.guardIntact()) << "TM_GETSUBLINE wrote past the line buffer";
  std::vector<char> exact(TIVRA_LINE_BUFFER);
  std::memcpy(exact.data(), &one, sizeof one);
  EXPECT_EQ(e.send(TM_GETSUBLINE, 0, reinterpret_cast<LPARAM>(exact.data())), 8193);

  Guarded rest;
  e.send(TM_SCANSTART);
  e.send(TM_SCANRESTOFLINE, 0, reinterpret_cast<LPARAM>(rest.buffer()));
  EXPECT_EQ(std::string(rest.buffer(), 8193), full);
  EXPECT_TRUE(rest.guardIntact()) << "TM_SCANRESTOFLINE wrote past the line buffer";
  e.send(TM_SCANRESTOFLINE, 0, reinterpret_cast<LPARAM>(exact.data()));

  // Shorter lines still end with a terminator.
  const LONG two = 2;
  std::memcpy(sub.buffer(), &two, sizeof two);
  EXPECT_EQ(e.send(TM_GETSUBLINE, 0, reinterpret_cast<LPARAM>(sub.buffer())), 4);
  EXPECT_STREQ(sub.buffer(), "kort");
}

TEST(DisplayWrap, AutomaticBreaksAfterBlanksAndInsideLongWords) {
  NotifyWindow parent;
  Editor e(parent, 0, "aaa bbb ccc ddd\r\nabcdefghijklmnopqrstuvwxy\r\nshort");
  const int w = averageWidth(e);
  e.send(TM_SETWORDWRAP, TIVRA_WRAP_ON | TIVRA_WRAP_FIXEDWIDTH | TIVRA_WRAP_AUTOBREAK, 10 * w);
  EXPECT_EQ(e.send(TM_SUBLINECOUNT, 0, 1), 2);
  EXPECT_EQ(subLine(e, 1, 0), "aaa bbb ");
  EXPECT_EQ(subLine(e, 1, 1), "ccc ddd");
  EXPECT_EQ(e.send(TM_SUBLINELENGTH, 1, 1), 7);
  EXPECT_EQ(subLine(e, 1, 2), "<none>");
  EXPECT_EQ(e.send(TM_SUBLINECOUNT, 0, 2), 3) << "a word wider than the width is cut";
  EXPECT_EQ(subLine(e, 2, 1), "klmnopqrst");
  EXPECT_EQ(e.send(TM_SUBLINECOUNT, 0, 3), 1);

  // Narrower than one character: one character a sub-line, never none.
  e.send(TM_SETWORDWRAP, TIVRA_WRAP_ON | TIVRA_WRAP_FIXEDWIDTH | TIVRA_WRAP_AUTOBREAK, 1);
  EXPECT_EQ(e.send(TM_SUBLINECOUNT, 0, 3), 5);
  for (int sub = 0; sub < 5; ++sub) EXPECT_EQ(e.send(TM_SUBLINELENGTH, static_cast<WPARAM>(sub), 3), 1);

  // Off: one sub-line, the whole line.
  e.send(TM_SETWORDWRAP, 0, 0);
  EXPECT_EQ(e.send(TM_SUBLINECOUNT, 0, 1), 1);
  EXPECT_EQ(subLine(e, 1, 0), "aaa bbb ccc ddd");
}

TEST(DisplayWrap, WithoutAutomaticBreaksTheNotifyWindowChooses) {
  NotifyWindow parent;
  Editor e(parent, 0, "abcdefghijklmnopqrstuvwxy");
  const int w = averageWidth(e);
  std::vector<std::pair<WPARAM, std::string>> asked;
  LRESULT answer = 3;
  parent.handlers[TM_WORDBREAK] = [&](WPARAM fitting, LPARAM rest) {
    asked.emplace_back(fitting, reinterpret_cast<const char*>(rest));
    return answer;
  };
  e.send(TM_SETWORDWRAP, TIVRA_WRAP_ON | TIVRA_WRAP_FIXEDWIDTH, 10 * w);
  EXPECT_EQ(subLine(e, 1, 0), "abc");
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked[0].first, 10u) << "the number of characters that fit";
  EXPECT_EQ(asked[0].second, "abcdefghijklmnopqrstuvwxy") << "and the rest of the line";
  answer = 11;  // out of range: all that fits
  EXPECT_EQ(subLine(e, 1, 0), "abcdefghij");
  answer = 0;
  EXPECT_EQ(e.send(TM_SUBLINECOUNT, 0, 1), 3);

  // Rows are sub-lines when scrolling.
  e.send(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 1);
  EXPECT_EQ(e.send(TM_GETFIRSTSUBLINE), 1);
  e.send(TM_SETFIRSTVISIBLELINE, 9, 1);
  EXPECT_EQ(e.send(TM_GETFIRSTSUBLINE), 2) << "clamped to the last sub-line";
}

TEST(DisplayWrap, ClientWidthWrapFollowsTheWindowSize) {
  NotifyWindow parent;
  Editor e(parent, 0, std::string(100, 'x').c_str());
  const int w = averageWidth(e);
  e.send(TM_SETWORDWRAP, TIVRA_WRAP_ON | TIVRA_WRAP_AUTOBREAK, 0);
  const LRESULT wide = e.send(TM_SUBLINELENGTH, 0, 1);
  EXPECT_EQ(wide, (300 - 1) / w) << "client width less 1 pixel";
  MoveWindow(e.hwnd(), 0, 0, 150, 200, TRUE);
  EXPECT_EQ(e.send(TM_SUBLINELENGTH, 0, 1), (150 - 1) / w);
}

// ---------------------------------------------------------------------------
// Fonts and metrics

TEST(DisplayFont, DefaultFontMetricsAndChanges) {
  NotifyWindow parent;
  Editor e(parent);
  LOGFONT lf{};
  e.send(TM_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&lf));
  EXPECT_STREQ(lf.lfFaceName, "Courier New");
  HDC screen = GetDC(e.hwnd());
  EXPECT_EQ(lf.lfHeight, -MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72));
  ReleaseDC(e.hwnd(), screen);
  EXPECT_GT(averageWidth(e), 0);
  const int height = lineHeight(e);
  EXPECT_GT(height, 0);

  e.send(TM_SETLAYOUT, 0, 0x40);
  EXPECT_EQ(lineHeight(e), height + 4) << "extra vertical spacing";

  parent.seen.clear();
  LOGFONT big = lf;
  big.lfHeight = lf.lfHeight * 2;
  std::strcpy(big.lfFaceName, "DejaVu Sans Mono");
  e.send(TM_SETLOGFONT, 0, reinterpret_cast<LPARAM>(&big));
  EXPECT_EQ(parent.count(TN_FONTCHANGED), 1);
  EXPECT_GT(lineHeight(e), height + 4);
  LOGFONT back{};
  e.send(TM_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&back));
  EXPECT_STREQ(back.lfFaceName, "DejaVu Sans Mono");

  HFONT font = CreateFontIndirect(&lf);
  e.send(WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  EXPECT_EQ(parent.count(TN_FONTCHANGED), 2);
  EXPECT_EQ(lineHeight(e), height + 4);
  DestroyWindow(e.hwnd());
  EXPECT_TRUE(DeleteObject(font)) << "a font the caller made stays the caller's";
}

TEST(DisplayFont, FontCommandTakesTheDialogsChoice) {
  testing_support::ScriptedResponder responder;
  NotifyWindow parent;
  Editor e(parent, TS_FONTCOMMAND);
  const int height = lineHeight(e);
  responder.answer(0);
  parent.seen.clear();
  e.send(WM_COMMAND, TCMD_FONT);
  EXPECT_EQ(parent.count(TN_FONTCHANGED), 0) << "cancelled";
  EXPECT_EQ(lineHeight(e), height);

  QFont shown;
  responder.answer([&](platform::Request& r) {
    auto& request = *static_cast<platform::FontDialogRequest*>(r.data);
    shown = request.font;
    request.font.setPointSize(20);
    return 1;
  });
  e.send(WM_COMMAND, TCMD_FONT);
  EXPECT_NEAR(shown.pointSizeF(), 10.0, 0.5) << "the dialog starts from the window's font";
  EXPECT_EQ(parent.count(TN_FONTCHANGED), 1);
  EXPECT_GT(lineHeight(e), height);
}

}  // namespace
