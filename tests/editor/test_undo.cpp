// The undo buffer of a Tivra32 window: random editing checked against a
// model, then undone to the start and redone to the end; the depth; what
// undo and redo do to the caret, the modified flags and the redo steps.
#include "editor_harness.h"
#include "instance.h"
#include "keyboard.h"
#include "line_index.h"

#include <cstring>
#include <random>
#include <string>
#include <vector>

using editor_test::caret;
using editor_test::Editor;
using editor_test::kCtrl;
using editor_test::key;
using editor_test::NotifyWindow;
using editor_test::range;
using editor_test::type;
using Lines = std::vector<std::string>;

namespace {

void putOnClipboard(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
  GlobalUnlock(h);
  SetClipboardData(CF_TEXT, h);
  CloseClipboard();
}

// What the editor should do, on a vector of lines, with DefaultSelection
// and AutoIndent on, in insert mode.
struct Model {
  Lines lines{""};
  long caretLine = 1, anchorLine = 1;
  int caretColumn = 0, anchorColumn = 0;

  bool hasSelection() const { return caretLine != anchorLine || caretColumn != anchorColumn; }
  void moveTo(long line, int column) {
    caretLine = anchorLine = line;
    caretColumn = anchorColumn = column;
  }
  std::string& line(long n) { return lines[static_cast<size_t>(n - 1)]; }

  void deleteSelection() {
    long l1 = anchorLine, l2 = caretLine;
    int c1 = anchorColumn, c2 = caretColumn;
    if (l1 > l2 || (l1 == l2 && c1 > c2)) {
      std::swap(l1, l2);
      std::swap(c1, c2);
    }
    const std::string joined = line(l1).substr(0, static_cast<size_t>(c1)) + line(l2).substr(static_cast<size_t>(c2));
    lines.erase(lines.begin() + l1, lines.begin() + l2);
    line(l1) = joined;
    moveTo(l1, c1);
  }

  void insert(const std::string& text) {
    const std::string rest = line(caretLine).substr(static_cast<size_t>(caretColumn));
    line(caretLine).resize(static_cast<size_t>(caretColumn));
    size_t start = 0;
    for (;;) {
      const size_t end = text.find("\r\n", start);
      line(caretLine) += text.substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (end == std::string::npos) break;
      lines.insert(lines.begin() + caretLine, std::string());
      ++caretLine;
      start = end + 2;
    }
    caretColumn = static_cast<int>(line(caretLine).size());
    line(caretLine) += rest;
    moveTo(caretLine, caretColumn);
  }

  void type(char c) {
    if (hasSelection()) deleteSelection();
    insert(std::string(1, c));
  }

  void returnKey() {
    if (hasSelection()) deleteSelection();
    const std::string& text = line(caretLine);
    size_t blanks = 0;
    while (blanks < static_cast<size_t>(caretColumn) && (text[blanks] == ' ' || text[blanks] == '\t')) ++blanks;
    insert("\r\n" + text.substr(0, blanks));
  }

  void join(long first) {
    const int at = static_cast<int>(line(first).size());
    line(first) += line(first + 1);
    lines.erase(lines.begin() + first);
    moveTo(first, at);
  }

  void backspace() {
    if (hasSelection()) return deleteSelection();
    if (caretColumn > 0) {
      line(caretLine).erase(static_cast<size_t>(caretColumn - 1), 1);
      moveTo(caretLine, caretColumn - 1);
    } else if (caretLine > 1) {
      join(caretLine - 1);
    }
  }

  void deleteKey() {
    if (hasSelection()) return deleteSelection();
    if (caretColumn < static_cast<int>(line(caretLine).size()))
      line(caretLine).erase(static_cast<size_t>(caretColumn), 1);
    else if (caretLine < static_cast<long>(lines.size()))
      join(caretLine);
  }

  void deleteLine() {
    if (caretLine < static_cast<long>(lines.size()))
      lines.erase(lines.begin() + caretLine - 1);
    else
      line(caretLine).clear();
    moveTo(caretLine, 0);
  }

  void paste(const std::string& text) {
    if (hasSelection()) deleteSelection();
    insert(text);
  }

  std::string text() const {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\r\n" : "") + lines[i];
    return out;
  }
};

struct State {
  std::string text;
  long lineCount;
  bool operator==(const State&) const = default;
};

State stateOf(const Editor& e) { return State{e.text(), e.lineCount()}; }

long linesIn(const std::string& text) {
  long n = 1;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++n;
  return n;
}

TEST(EditorUndo, RandomEditingUndoesToTheStartAndRedoesToTheEnd) {
  NotifyWindow parent;
  Editor e(parent);
  e.setOptions(TivraOption::DefaultSelection | TivraOption::AutoIndent, true);
  Model model;
  model.lines = {"  Morvel", "\tskriver", "sider"};
  // Enough lines for the line index to hold many chunks.
  for (int i = 1; i <= 150; ++i) model.lines.push_back("linje " + std::to_string(i));
  e.setText(model.text());
  const tivra::Instance& inst = *tivra::instanceOf(e.hwnd());
  std::mt19937 random(20261208);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto randomPosition = [&](long* line, int* column) {
    *line = 1 + pick(static_cast<int>(model.lines.size()));
    *column = pick(static_cast<int>(model.line(*line).size()) + 1);
  };

  std::vector<State> snapshots{stateOf(e)};
  for (int step = 0; step < 300; ++step) {
    const int what = pick(10);
    if (what <= 1) {
      // Somewhere else, often with a selection: not a change by itself.
      long l1, l2;
      int c1, c2;
      randomPosition(&l1, &c1);
      if (pick(2))
        randomPosition(&l2, &c2);
      else
        l2 = l1, c2 = c1;
      e.select(l1, static_cast<SHORT>(c1), l2, static_cast<SHORT>(c2));
      model.anchorLine = l1, model.anchorColumn = c1, model.caretLine = l2, model.caretColumn = c2;
      continue;
    }
    switch (what) {
      case 2: {
        const char c = " \tabcxyz\xE6"[pick(9)];
        type(e, std::string(1, c));
        model.type(c);
        break;
      }
      case 3:
        type(e, "\r");
        model.returnKey();
        break;
      case 4:
        type(e, "\b");
        model.backspace();
        break;
      case 5:
        key(e, VK_DELETE);
        model.deleteKey();
        break;
      case 6:
        key(e, 'Y', kCtrl);
        model.deleteLine();
        break;
      case 7: {
        const std::string text = pick(2) ? "ny\r\n  linje" : "ord";
        putOnClipboard(text);
        key(e, 'V', kCtrl);
        model.paste(text);
        break;
      }
      default: {
        long l1, l2;
        int c1, c2;
        randomPosition(&l1, &c1);
        randomPosition(&l2, &c2);
        e.select(l1, static_cast<SHORT>(c1), l2, static_cast<SHORT>(c2));
        model.anchorLine = l1, model.anchorColumn = c1, model.caretLine = l2, model.caretColumn = c2;
        key(e, VK_DELETE);
        model.deleteKey();
        break;
      }
    }
    ASSERT_EQ(tivra::checkLineIndex(inst), "") << "after step " << step << " (" << what << ")";
    ASSERT_EQ(e.lines(), model.lines) << "after step " << step << " (" << what << ")";
    ASSERT_EQ(e.selection(), range(model.anchorLine, static_cast<SHORT>(model.anchorColumn), model.caretLine,
                                   static_cast<SHORT>(model.caretColumn)))
        << "after step " << step;
    if (!(stateOf(e) == snapshots.back())) snapshots.push_back(stateOf(e));
  }
  ASSERT_GT(snapshots.size(), 150u);

  // Undo to the start: every state the editing passed through comes back,
  // in reverse order.
  std::vector<State> trail{stateOf(e)};
  while (e.send(EM_CANUNDO, 0)) {
    ASSERT_EQ(e.send(EM_UNDO, 0), 0);
    ASSERT_EQ(tivra::checkLineIndex(inst), "") << "undo " << trail.size();
    trail.push_back(stateOf(e));
    ASSERT_EQ(trail.back().lineCount, linesIn(trail.back().text));
    ASSERT_LT(trail.size(), 2000u);
  }
  EXPECT_EQ(e.send(EM_UNDO, 0), -1);
  ASSERT_EQ(trail.back(), snapshots.front()) << "undone to the original text";
  size_t next = snapshots.size();
  for (const State& s : trail) {
    if (next > 0 && s == snapshots[next - 1]) --next;
  }
  EXPECT_EQ(next, 0u) << snapshots.size() - next << " states of the editing never came back";

  // Redo to the end, through the same states forward.
  for (size_t i = trail.size() - 1; i > 0; --i) {
    ASSERT_EQ(e.send(EM_CANUNDO, 1), 1);
    ASSERT_EQ(e.send(EM_UNDO, 1), 0);
    ASSERT_EQ(tivra::checkLineIndex(inst), "") << "redo step " << trail.size() - i;
    ASSERT_EQ(stateOf(e), trail[i - 1]) << "redo step " << trail.size() - i;
  }
  EXPECT_EQ(e.send(EM_CANUNDO, 1), 0);
  EXPECT_EQ(e.text(), model.text());
}

TEST(EditorUndo, TheDepthKeepsOnlyTheLastSteps) {
  NotifyWindow parent;
  Editor e(parent);
  EXPECT_EQ(e.send(TM_SETUNDODEPTH, 3), 3);
  e.setText("start");
  e.send(EM_EMPTYUNDOBUFFER);
  const char* edits[] = {"a", "b", "c", "d"};
  std::vector<std::string> after;
  for (const char* text : edits) {
    e.select(1, 0, 1, 0);
    e.replace(text);
    after.push_back(e.text());
  }
  EXPECT_EQ(e.text(), "dcbastart");
  EXPECT_EQ(e.send(EM_UNDO, 0), 0);
  EXPECT_EQ(e.send(EM_UNDO, 0), 0);
  EXPECT_EQ(e.send(EM_UNDO, 0), 0);
  EXPECT_EQ(e.text(), after[0]) << "three undos restore the text after the first edit";
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 0);
  EXPECT_EQ(e.send(EM_UNDO, 0), -1);
  EXPECT_EQ(e.text(), after[0]);
  EXPECT_EQ(e.send(EM_UNDO, 1), 0);
  EXPECT_EQ(e.text(), after[1]);
}

TEST(EditorUndo, ANewEditDropsTheRedoSteps) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("x");
  for (const char* text : {"1", "2", "3"}) {
    e.select(1, 0, 1, 0);
    e.replace(text);
  }
  e.send(EM_UNDO, 0);
  e.send(EM_UNDO, 0);
  EXPECT_EQ(e.text(), "1x");
  EXPECT_EQ(e.send(EM_CANUNDO, 1), 1);
  e.select(1, 2, 1, 2);
  type(e, "!");
  EXPECT_EQ(e.send(EM_CANUNDO, 1), 0) << "typing not yet stored already blocks redo";
  EXPECT_EQ(e.send(EM_UNDO, 1), -1);
  EXPECT_EQ(e.text(), "1x!");
  EXPECT_EQ(e.send(EM_CANUNDO, 1), 0);
  EXPECT_EQ(e.send(EM_UNDO, 0), 0);
  EXPECT_EQ(e.text(), "1x");
  EXPECT_EQ(e.send(EM_UNDO, 1), 0);
  EXPECT_EQ(e.text(), "1x!");
}

TEST(EditorUndo, JoinsAndSplitsUndoAndRedoExactly) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("ab\r\ncd\r\nef");
  e.select(2, 0, 2, 0);
  type(e, "\b");
  ASSERT_EQ(e.lines(), (Lines{"abcd", "ef"}));
  EXPECT_EQ(e.send(EM_UNDO, 0), 0);
  EXPECT_EQ(e.lines(), (Lines{"ab", "cd", "ef"}));
  EXPECT_EQ(e.lineCount(), 3);
  EXPECT_EQ(caret(e), (std::pair<long, int>{2, 0}));
  EXPECT_EQ(e.send(EM_UNDO, 1), 0);
  EXPECT_EQ(e.lines(), (Lines{"abcd", "ef"})) << "redoing the join joins again";
  EXPECT_EQ(caret(e), (std::pair<long, int>{1, 2}));

  e.select(1, 1, 1, 1);
  type(e, "\r");
  EXPECT_EQ(e.send(EM_UNDO, 0), 0);
  EXPECT_EQ(e.lines(), (Lines{"abcd", "ef"}));
  EXPECT_EQ(caret(e), (std::pair<long, int>{1, 1}));
}

TEST(EditorUndo, UndoingPlacesTheCaretAndSetsEveryModifiedBit) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("hello world");
  e.select(1, 6, 1, 6);
  type(e, "big ");
  e.select(1, 0, 1, 0);  // stores the typing: one step
  for (int bit = 2; bit < 16; ++bit) e.send(EM_SETMODIFY, 0, bit);
  parent.seen.clear();
  EXPECT_EQ(e.send(WM_UNDO), 0);
  EXPECT_EQ(e.text(), "hello world");
  EXPECT_EQ(caret(e), (std::pair<long, int>{1, 6})) << "where the two versions of the line part";
  for (int bit : {0, 2, 9, 15}) EXPECT_EQ(e.send(EM_GETMODIFY, static_cast<WPARAM>(bit)), 1) << "bit " << bit;
  EXPECT_EQ(parent.count(TN_CHANGE), 1);

  // A deletion comes back selected, or with the caret after it.
  e.select(1, 0, 1, 6);
  e.send(WM_CLEAR);
  e.send(EM_UNDO, 0);
  EXPECT_EQ(e.selection(), range(1, 0, 1, 6));
  e.setOptions(TivraOption::DefaultSelection, true);
  e.send(EM_UNDO, 1);
  e.send(EM_UNDO, 0);
  EXPECT_EQ(e.selection(), range(1, 6, 1, 6));
  EXPECT_EQ(e.text(), "hello world");
}

TEST(EditorUndo, UndoKeysAndCommandsFollowTheKeyTable) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("a");
  e.select(1, 1, 1, 1);
  type(e, "b");
  EXPECT_EQ(e.send(TM_COMMANDSTATE, TCMD_UNDO), 1);
  key(e, VK_BACK, kCtrl);
  EXPECT_EQ(e.text(), "a");
  EXPECT_EQ(e.send(TM_COMMANDSTATE, TCMD_REDO), 1);
  key(e, 'Z', kCtrl);  // Ctrl+Z is redo in this key table
  EXPECT_EQ(e.text(), "ab");
  e.send(WM_COMMAND, TCMD_UNDO);
  EXPECT_EQ(e.text(), "a");
  e.send(WM_COMMAND, TCMD_REDO);
  EXPECT_EQ(e.text(), "ab");
  key(e, VK_BACK, kCtrl);
  key(e, VK_BACK, kCtrl | editor_test::kShift);
  EXPECT_EQ(e.text(), "ab");
}

}  // namespace
