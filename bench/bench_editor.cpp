// The editor control against QScintilla on a generated 10 MB page of about
// 150,000 lines, in the same run: setting the whole text, reading it back,
// fetching 100,000 random lines and every line in order. Prints the ratios
// at the end.
// Goals: loading takes at most half of QScintilla's time; random lines at
// most 3 times, all lines in order at most 2 times QScintilla's.
#include "editor_main.h"
#include "page.h"
#include "ratio.h"
#include "tivra.h"
#include "win32.h"

#include <Qsci/qsciscintilla.h>
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

using bench_page::page;
using bench_page::pageLines;

namespace {

constexpr int kRandomLines = 100000;

const std::vector<long>& randomLines() {
  static const std::vector<long> lines = [] {
    std::mt19937 random(7);
    std::uniform_int_distribution<long> pick(1, pageLines());
    std::vector<long> out(kRandomLines);
    for (long& n : out) n = pick(random);
    return out;
  }();
  return lines;
}

// ---------------------------------------------------------------------------
// The editor control

HWND tivraWithPage() {
  static HWND editor = [] {
    HWND h = bench_main::createEditor();
    SendMessage(h, WM_SETTEXT, 1, reinterpret_cast<LPARAM>(page().c_str()));
    return h;
  }();
  return editor;
}

void TivraLoad(benchmark::State& state) {
  HWND editor = bench_main::createEditor();
  if (!editor) {
    state.SkipWithError("no Tivra32 window");
    return;
  }
  for (auto _ : state) {
    if (SendMessage(editor, WM_SETTEXT, 1, reinterpret_cast<LPARAM>(page().c_str())) != 0)
      state.SkipWithError("load failed");
  }
  if (SendMessage(editor, EM_GETLINECOUNT, 0, 0) != pageLines()) state.SkipWithError("wrong line count");
  DestroyWindow(editor);
}

void TivraReadBack(benchmark::State& state) {
  HWND editor = tivraWithPage();
  std::string text;
  for (auto _ : state) {
    const LRESULT length = SendMessage(editor, WM_GETTEXTLENGTH, 1, 0);
    text.resize(static_cast<size_t>(length) + 1);
    SendMessage(editor, WM_GETTEXT, 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
  }
  if (text != page()) state.SkipWithError("text differs");
}

// The lines `numbers` names (all of them when empty), by EM_GETLINE; the
// characters copied are checked against the page once.
void tivraLines(benchmark::State& state, const std::vector<long>& numbers) {
  HWND editor = tivraWithPage();
  std::vector<char> buffer(TIVRA_LINE_BUFFER);
  size_t total = 0;
  for (auto _ : state) {
    total = 0;
    if (numbers.empty()) {
      for (long n = 1; n <= pageLines(); ++n)
        total += static_cast<size_t>(
            SendMessage(editor, EM_GETLINE, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(buffer.data())));
    } else {
      for (long n : numbers)
        total += static_cast<size_t>(
            SendMessage(editor, EM_GETLINE, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(buffer.data())));
    }
  }
  // All lines hold the page but its line ends.
  if (numbers.empty() && total != page().size() - 2 * static_cast<size_t>(pageLines() - 1))
    state.SkipWithError("the lines do not add up to the page");
  benchmark::DoNotOptimize(total);
}

void TivraRandomLines(benchmark::State& state) { tivraLines(state, randomLines()); }
void TivraAllLines(benchmark::State& state) { tivraLines(state, {}); }

// ---------------------------------------------------------------------------
// QScintilla, at its fastest for loading: no undo collection, no lexer.

QsciScintilla& scintilla() {
  static QsciScintilla* widget = [] {
    auto* w = new QsciScintilla;
    w->resize(640, 480);
    w->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    return w;
  }();
  return *widget;
}

QsciScintilla& scintillaWithPage() {
  static bool loaded = false;
  if (!loaded) {
    scintilla().SendScintilla(QsciScintillaBase::SCI_SETTEXT, 0UL, page().c_str());
    loaded = true;
  }
  return scintilla();
}

void ScintillaLoad(benchmark::State& state) {
  QsciScintilla& sci = scintilla();
  for (auto _ : state) sci.SendScintilla(QsciScintillaBase::SCI_SETTEXT, 0UL, page().c_str());
  if (sci.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT) != pageLines()) state.SkipWithError("wrong line count");
}

void ScintillaReadBack(benchmark::State& state) {
  QsciScintilla& sci = scintillaWithPage();
  std::string text;
  for (auto _ : state) {
    const long length = sci.SendScintilla(QsciScintillaBase::SCI_GETTEXTLENGTH);
    text.resize(static_cast<size_t>(length) + 1);
    sci.SendScintilla(QsciScintillaBase::SCI_GETTEXT, static_cast<unsigned long>(length + 1), text.data());
    text.resize(static_cast<size_t>(length));
  }
  if (text != page()) state.SkipWithError("text differs");
}

// SCI_GETLINE copies a line with its line end.
void scintillaLines(benchmark::State& state, const std::vector<long>& numbers) {
  QsciScintilla& sci = scintillaWithPage();
  std::vector<char> buffer(TIVRA_LINE_BUFFER + 2);
  size_t total = 0;
  for (auto _ : state) {
    total = 0;
    if (numbers.empty()) {
      for (long n = 1; n <= pageLines(); ++n)
        total += static_cast<size_t>(
            sci.SendScintilla(QsciScintillaBase::SCI_GETLINE, static_cast<unsigned long>(n - 1), buffer.data()));
    } else {
      for (long n : numbers)
        total += static_cast<size_t>(
            sci.SendScintilla(QsciScintillaBase::SCI_GETLINE, static_cast<unsigned long>(n - 1), buffer.data()));
    }
  }
  if (numbers.empty() && total != page().size()) state.SkipWithError("the lines do not add up to the page");
  benchmark::DoNotOptimize(total);
}

void ScintillaRandomLines(benchmark::State& state) { scintillaLines(state, randomLines()); }
void ScintillaAllLines(benchmark::State& state) { scintillaLines(state, {}); }

BENCHMARK(TivraLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(ScintillaLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(TivraReadBack)->Unit(benchmark::kMillisecond);
BENCHMARK(ScintillaReadBack)->Unit(benchmark::kMillisecond);
BENCHMARK(TivraRandomLines)->Unit(benchmark::kMillisecond);
BENCHMARK(ScintillaRandomLines)->Unit(benchmark::kMillisecond);
BENCHMARK(TivraAllLines)->Unit(benchmark::kMillisecond);
BENCHMARK(ScintillaAllLines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  bench_ratio::RatioReporter reporter;
  const int result = bench_main::runWithEditor(argc, argv, std::to_string(kRandomLines) + " random lines", &reporter);
  for (const std::string what : {"Load", "ReadBack", "RandomLines", "AllLines"})
    reporter.printRatio("Tivra" + what, "Scintilla" + what);
  return result;
}
