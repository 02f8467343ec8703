// Display and colouring on the generated 10 MB page, coloured as the
// program colours HTML: a keystroke on the last screen or on the first
// followed by painting the window into a memory DC, or by the window's own
// repaint; painting the last screen after an edit at the top of the text
// (every line state below it is scanned again); and a full tokenize of the
// text through the word scanner. The keystrokes with their painting run
// beside QScintilla with its HTML lexer (and its modification notifications
// off, as in bench_editing), painting its view into an image
// of the same size, and the ratios are printed.
// Goal: a keystroke's repaint at the end of the page in at most 1 ms.
#include "editor_main.h"
#include "host.h"
#include "page.h"
#include "ratio.h"
#include "tivra.h"
#include "win32.h"

#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>
#include <benchmark/benchmark.h>

#include <QImage>

#include <cstring>
#include <string>
#include <vector>

using bench_page::page;
using bench_page::pageLines;

namespace {

using bench_main::kHeight;
using bench_main::kWidth;
const WORD kPageSyntax[] = {0x2222, 0x0101, 0x0101, 0x003E, 0x003C, 0x0101, 0x0101, 0x002F};

// Element names in one colour, values in another, the rest of a tag in a
// third: what the program's colouring handler does, in small.
LRESULT colourToken(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != TM_COLOURWORD) return 0;
  auto dc = reinterpret_cast<HDC>(wParam);
  const auto* token = reinterpret_cast<const TivraToken*>(lParam);
  static const char* const kElements[] = {"a", "b",      "br",    "font", "h2", "i", "img",
                                          "p", "script", "table", "td",   "tr", "em"};
  COLORREF colour = RGB(128, 0, 128);
  if (token->WordType == TIVRA_TOKEN_STRING || token->WordType == TIVRA_TOKEN_STRING_STATE) colour = RGB(0, 0, 128);
  if (token->WordType == TIVRA_TOKEN_WORD) {
    for (const char* name : kElements) {
      if (strcasecmp(name, token->WordStr) == 0) colour = RGB(255, 0, 0);
    }
  }
  SetTextColor(dc, colour);
  return 0;
}

struct Setup {
  HWND notify = nullptr;
  HWND editor = nullptr;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  bool types = false;  // a WM_CHAR changes the text
};

Setup& setup() {
  static Setup s = [] {
    Setup made;
    made.notify = platform::createMessageWindow([](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
      if (msg >= WM_USER) return colourToken(msg, w, l);
      return DefWindowProc(h, msg, w, l);
    });
    made.editor = bench_main::createEditor(TS_COLOURING | WS_VSCROLL | WS_HSCROLL);
    SendMessage(made.editor, TM_SETNOTIFY, 0, reinterpret_cast<LPARAM>(made.notify));
    SendMessage(made.editor, TM_SETSYNTAX, 8, reinterpret_cast<LPARAM>(kPageSyntax));
    SendMessage(made.editor, TM_SETOPTIONS,
                TivraOption::StartInComments | TivraOption::MultiLineItems | TivraOption::DefaultSelection, 0);
    SendMessage(made.editor, WM_SETTEXT, 1, reinterpret_cast<LPARAM>(page().c_str()));
    made.dc = CreateCompatibleDC(nullptr);
    made.bitmap = CreateCompatibleBitmap(made.dc, kWidth, kHeight);
    SelectObject(made.dc, made.bitmap);
    // A keystroke measured must really change the text: one character and
    // its Backspace tell.
    const LRESULT before = SendMessage(made.editor, WM_GETTEXTLENGTH, 1, 0);
    SendMessage(made.editor, WM_CHAR, 'x', 1);
    made.types = SendMessage(made.editor, WM_GETTEXTLENGTH, 1, 0) == before + 1;
    SendMessage(made.editor, WM_CHAR, VK_BACK, 1);
    return made;
  }();
  return s;
}

void paint(const Setup& s) {
  const WORD size[2] = {kHeight, kWidth};
  SendMessage(s.editor, TM_PAINTLINES, reinterpret_cast<WPARAM>(s.dc), reinterpret_cast<LPARAM>(size));
}

// One keystroke at the caret: a character, or taking it back again, so that
// the line keeps its length over the run.
void keystroke(const Setup& s, bool add) { SendMessage(s.editor, WM_CHAR, add ? 'x' : VK_BACK, 1); }

void placeCaret(const Setup& s, LONG line, SHORT column) {
  TivraRange r{column, column, line, line};
  SendMessage(s.editor, EM_SETSEL, 0, reinterpret_cast<LPARAM>(&r));
}

bool ready(benchmark::State& state, const Setup& s) {
  if (!IsWindow(s.editor) || SendMessage(s.editor, EM_GETLINECOUNT, 0, 0) != pageLines()) {
    state.SkipWithError("no Tivra32 window with the page");
    return false;
  }
  if (!s.types) {
    state.SkipWithError("typing does not change the text");
    return false;
  }
  return true;
}

// Keystrokes on line `line`, each followed by `repaint`.
template <typename Repaint>
void keystrokesOn(benchmark::State& state, LONG line, Repaint repaint) {
  const Setup& s = setup();
  if (!ready(state, s)) return;
  placeCaret(s, line, 4);
  repaint(s);
  bool add = true;
  for (auto _ : state) {
    keystroke(s, add);
    repaint(s);
    add = !add;
  }
  if (!add) keystroke(s, false);
  const LRESULT top = SendMessage(s.editor, EM_GETFIRSTVISIBLELINE, 0, 0);
  if (top > line || top < line - 40) state.SkipWithError("the window did not follow the caret");
}

LONG nearTheEnd() { return static_cast<LONG>(pageLines()) - 3; }

void KeystrokeAndPaintAtTheEnd(benchmark::State& state) { keystrokesOn(state, nearTheEnd(), paint); }
void KeystrokeAndPaintAtTheTop(benchmark::State& state) { keystrokesOn(state, 3, paint); }

// The same through the window's own WM_PAINT: only the rows from the
// changed line down are painted, into the window's surface.
void KeystrokeAndWindowRepaintAtTheEnd(benchmark::State& state) {
  keystrokesOn(state, nearTheEnd(), [](const Setup& s) { UpdateWindow(s.editor); });
}

// ---------------------------------------------------------------------------
// QScintilla with its HTML lexer: a keystroke, then its view painted into
// an image of the window's size.

QsciScintilla& scintilla() {
  static QsciScintilla* widget = [] {
    auto* w = new QsciScintilla;
    w->resize(kWidth, kHeight);
    w->setLexer(new QsciLexerHTML(w));
    w->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    w->SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0UL);
    w->SendScintilla(QsciScintillaBase::SCI_SETTEXT, 0UL, page().c_str());
    w->show();
    return w;
  }();
  return *widget;
}

void scintillaKeystrokesOn(benchmark::State& state, long line) {
  QsciScintilla& sci = scintilla();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  sci.SendScintilla(QsciScintillaBase::SCI_GOTOLINE, static_cast<unsigned long>(line - 1));
  sci.SendScintilla(QsciScintillaBase::SCI_CHARRIGHT);
  sci.viewport()->render(&image);
  const long length = sci.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
  bool add = true;
  for (auto _ : state) {
    if (add)
      sci.SendScintilla(QsciScintillaBase::SCI_ADDTEXT, 1UL, "x");
    else
      sci.SendScintilla(QsciScintillaBase::SCI_DELETEBACK);
    sci.viewport()->render(&image);
    add = !add;
  }
  if (!add) sci.SendScintilla(QsciScintillaBase::SCI_DELETEBACK);
  if (sci.SendScintilla(QsciScintillaBase::SCI_GETLENGTH) != length) state.SkipWithError("the text changed");
}

void ScintillaKeystrokeAndPaintAtTheEnd(benchmark::State& state) { scintillaKeystrokesOn(state, nearTheEnd()); }
void ScintillaKeystrokeAndPaintAtTheTop(benchmark::State& state) { scintillaKeystrokesOn(state, 3); }

void KeystrokeAtTheTopThenPaintTheEnd(benchmark::State& state) {
  const Setup& s = setup();
  if (!ready(state, s)) return;
  bool add = true;
  const LONG last = static_cast<LONG>(pageLines());
  for (auto _ : state) {
    state.PauseTiming();
    placeCaret(s, 2, add ? 0 : 1);
    keystroke(s, add);
    SendMessage(s.editor, TM_VSCROLL, 273, last - 20);
    state.ResumeTiming();
    paint(s);
    add = !add;
  }
  if (!add) {
    placeCaret(s, 2, 1);
    keystroke(s, false);
  }
}

void TokenizeWholeText(benchmark::State& state) {
  const Setup& s = setup();
  if (!ready(state, s)) return;
  TivraToken token{};
  long tokens = 0;
  for (auto _ : state) {
    tokens = 0;
    SendMessage(s.editor, TM_SCANSTART, 0, 0);
    while (SendMessage(s.editor, TM_SCANNEXT, 1, reinterpret_cast<LPARAM>(&token)) == 0) ++tokens;
  }
  state.counters["tokens"] = static_cast<double>(tokens);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page().size()));
}

BENCHMARK(KeystrokeAndPaintAtTheEnd)->Unit(benchmark::kMicrosecond);
BENCHMARK(ScintillaKeystrokeAndPaintAtTheEnd)->Unit(benchmark::kMicrosecond);
BENCHMARK(KeystrokeAndPaintAtTheTop)->Unit(benchmark::kMicrosecond);
BENCHMARK(ScintillaKeystrokeAndPaintAtTheTop)->Unit(benchmark::kMicrosecond);
BENCHMARK(KeystrokeAndWindowRepaintAtTheEnd)->Unit(benchmark::kMicrosecond);
BENCHMARK(KeystrokeAtTheTopThenPaintTheEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(TokenizeWholeText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  bench_ratio::RatioReporter reporter;
  const int result = bench_main::runWithEditor(argc, argv, "", &reporter);
  for (const std::string where : {"AtTheEnd", "AtTheTop"})
    reporter.printRatio("KeystrokeAndPaint" + where, "ScintillaKeystrokeAndPaint" + where);
  return result;
}
