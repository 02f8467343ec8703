// Replace all on the 10 MB page: every "FONT" (any case) becomes "SKRIFT",
// then undo, in the editor control and in QScintilla in the same run.
//
// The editor records each replacement as its own undo steps and keeps at
// most 909 of them: its undo takes back what its buffer holds (the last
// 454 replacements and a half). QScintilla groups the whole replace-all as
// one undo action and its one undo restores every replacement. QScintilla
// runs with its modification notifications off (SCI_SETMODEVENTMASK 0): with
// them on, QsciScintilla's own handlers make one replace-all take minutes.
// Goal: the editor's replace-all is not slower than QScintilla's with
// notifications off.
#include "editor_main.h"
#include "page.h"
#include "ratio.h"
#include "tivra.h"
#include "win32.h"

#include <Qsci/qsciscintilla.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

constexpr char kFind[] = "FONT";
constexpr char kReplacement[] = "SKRIFT";

// The number of case-insensitive "FONT" in the page, counted plainly.
long expectedHits() {
  static const long hits = [] {
    long n = 0;
    const std::string& p = bench_page::page();
    for (size_t i = 0; i + 4 <= p.size(); ++i) n += strncasecmp(p.data() + i, kFind, 4) == 0;
    return n;
  }();
  return hits;
}

// ---------------------------------------------------------------------------
// The editor control

HWND tivraEditor() {
  static HWND editor = [] {
    HWND h = bench_main::createEditor();
    SendMessage(h, TM_SETFINDTEXT, 0, reinterpret_cast<LPARAM>(kFind));
    SendMessage(h, TM_SETFINDTEXT, 1, reinterpret_cast<LPARAM>(kReplacement));
    SendMessage(h, TM_SETFINDOPTIONS, 0, 0);
    return h;
  }();
  return editor;
}

void loadTivra(HWND editor) {
  SendMessage(editor, WM_SETTEXT, 1, reinterpret_cast<LPARAM>(bench_page::page().c_str()));
}

void TivraReplaceAll(benchmark::State& state) {
  HWND editor = tivraEditor();
  LRESULT count = 0;
  for (auto _ : state) {
    state.PauseTiming();
    loadTivra(editor);
    state.ResumeTiming();
    count = SendMessage(editor, TM_FIND, 2, 0);
  }
  if (count != expectedHits()) state.SkipWithError("wrong number of replacements");
  state.counters["replacements"] = static_cast<double>(count);
}

void TivraUndo(benchmark::State& state) {
  HWND editor = tivraEditor();
  long steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    loadTivra(editor);
    SendMessage(editor, TM_FIND, 2, 0);
    state.ResumeTiming();
    steps = 0;
    while (SendMessage(editor, EM_CANUNDO, 0, 0) && SendMessage(editor, EM_UNDO, 0, 0) == 0) ++steps;
  }
  if (steps != TIVRA_MAX_UNDO) state.SkipWithError("not every step of the buffer was undone");
  state.counters["steps"] = static_cast<double>(steps);
}

// ---------------------------------------------------------------------------
// QScintilla: undo collection on (it has to undo), no lexer.

QsciScintilla& scintilla() {
  static QsciScintilla* widget = [] {
    auto* w = new QsciScintilla;
    w->resize(640, 480);
    return w;
  }();
  return *widget;
}

void loadScintilla(QsciScintilla& sci) {
  sci.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0UL);
  sci.SendScintilla(QsciScintillaBase::SCI_SETTEXT, 0UL, bench_page::page().c_str());
  sci.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
}

long scintillaReplaceAll(QsciScintilla& sci) {
  const unsigned long findLength = std::strlen(kFind);
  sci.SendScintilla(QsciScintillaBase::SCI_SETSEARCHFLAGS, 0UL);
  sci.SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
  long count = 0;
  long start = 0;
  for (;;) {
    sci.SendScintilla(QsciScintillaBase::SCI_SETTARGETSTART, static_cast<unsigned long>(start));
    sci.SendScintilla(QsciScintillaBase::SCI_SETTARGETEND,
                      static_cast<unsigned long>(sci.SendScintilla(QsciScintillaBase::SCI_GETTEXTLENGTH)));
    if (sci.SendScintilla(QsciScintillaBase::SCI_SEARCHINTARGET, findLength, kFind) < 0) break;
    sci.SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, std::strlen(kReplacement), kReplacement);
    start = sci.SendScintilla(QsciScintillaBase::SCI_GETTARGETEND);
    ++count;
  }
  sci.SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
  return count;
}

void ScintillaReplaceAll(benchmark::State& state) {
  QsciScintilla& sci = scintilla();
  long count = 0;
  for (auto _ : state) {
    state.PauseTiming();
    loadScintilla(sci);
    state.ResumeTiming();
    count = scintillaReplaceAll(sci);
  }
  if (count != expectedHits()) state.SkipWithError("wrong number of replacements");
  state.counters["replacements"] = static_cast<double>(count);
}

void ScintillaUndo(benchmark::State& state) {
  QsciScintilla& sci = scintilla();
  for (auto _ : state) {
    state.PauseTiming();
    loadScintilla(sci);
    scintillaReplaceAll(sci);
    state.ResumeTiming();
    sci.SendScintilla(QsciScintillaBase::SCI_UNDO);
  }
  if (sci.SendScintilla(QsciScintillaBase::SCI_GETLENGTH) != static_cast<long>(bench_page::page().size()))
    state.SkipWithError("undo did not restore the page");
}

// Each iteration loads the page and (for undo) replaces all first, outside
// the time measured: a fixed count keeps the run short.
constexpr int kIterations = 5;
BENCHMARK(TivraReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(kIterations);
BENCHMARK(ScintillaReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(kIterations);
BENCHMARK(TivraUndo)->Unit(benchmark::kMillisecond)->Iterations(kIterations);
BENCHMARK(ScintillaUndo)->Unit(benchmark::kMillisecond)->Iterations(kIterations);

}  // namespace

int main(int argc, char** argv) {
  bench_ratio::RatioReporter reporter;
  const std::string about =
      std::string("\"") + kFind + "\" (any case) occurs " + std::to_string(expectedHits()) + " times";
  const int result = bench_main::runWithEditor(argc, argv, about, &reporter);
  reporter.printRatio("TivraReplaceAll", "ScintillaReplaceAll");
  reporter.printRatio("TivraUndo", "ScintillaUndo");
  return result;
}
