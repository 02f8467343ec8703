// Display and colouring on the generated 10 MB page, coloured as the
// program colours HTML: a keystroke on the last screen followed by
// painting the window into a memory DC, or by the window's own repaint;
// painting the last screen after an edit at the top of the text (every
// line state below it is scanned again); and a full tokenize of the text
// through the word scanner.
// Goal: a keystroke's repaint at the end of the page in at most 2 ms.
#include "editor_main.h"
#include "host.h"
#include "page.h"
#include "tivra.h"
#include "win32.h"

#include <benchmark/benchmark.h>

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

// Keystrokes near the end of the page, each followed by `repaint`.
template <typename Repaint>
void keystrokesAtTheEnd(benchmark::State& state, Repaint repaint) {
  const Setup& s = setup();
  if (!ready(state, s)) return;
  const LONG last = static_cast<LONG>(pageLines()) - 3;
  placeCaret(s, last, 4);
  repaint(s);
  bool add = true;
  for (auto _ : state) {
    keystroke(s, add);
    repaint(s);
    add = !add;
  }
  if (!add) keystroke(s, false);
  if (SendMessage(s.editor, EM_GETFIRSTVISIBLELINE, 0, 0) < last - 40)
    state.SkipWithError("the window did not follow the caret");
}

void KeystrokeAndPaintAtTheEnd(benchmark::State& state) { keystrokesAtTheEnd(state, paint); }

// The same through the window's own WM_PAINT: only the rows from the
// changed line down are painted, into the window's surface.
void KeystrokeAndWindowRepaintAtTheEnd(benchmark::State& state) {
  keystrokesAtTheEnd(state, [](const Setup& s) { UpdateWindow(s.editor); });
}

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
BENCHMARK(KeystrokeAndWindowRepaintAtTheEnd)->Unit(benchmark::kMicrosecond);
BENCHMARK(KeystrokeAtTheTopThenPaintTheEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(TokenizeWholeText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench_main::runWithEditor(argc, argv, ""); }
