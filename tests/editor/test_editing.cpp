// Editing a Tivra32 window with keys, characters, the mouse, the clipboard
// and the edit commands.
#include "editor_harness.h"
#include "keyboard.h"
#include "scripted_responder.h"

#include <QApplication>
#include <QTest>

#include <cstring>
#include <string>
#include <vector>

using editor_test::caret;
using editor_test::Editor;
using editor_test::kCtrl;
using editor_test::key;
using editor_test::kShift;
using editor_test::NotifyWindow;
using editor_test::range;
using editor_test::type;
using Lines = std::vector<std::string>;
using Pos = std::pair<long, int>;

namespace {

std::string clipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<clipboard busy>";
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    const auto* p = static_cast<const char*>(GlobalLock(h));
    text.assign(p, strnlen(p, GlobalSize(h)));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

void putOnClipboard(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
  GlobalUnlock(h);
  SetClipboardData(CF_TEXT, h);
  CloseClipboard();
}

// ---------------------------------------------------------------------------
// Typing

TEST(EditorTyping, InsertAndOverwriteModes) {
  NotifyWindow parent;
  Editor e(parent);
  type(e, "abc");
  key(e, VK_HOME);
  parent.seen.clear();
  key(e, VK_INSERT);
  EXPECT_EQ(parent.codes(), (std::vector<WORD>{TN_OVERWRITEMODE}));
  type(e, "XY");
  EXPECT_EQ(e.text(), "XYc");
  key(e, VK_END);
  type(e, "d");
  EXPECT_EQ(e.text(), "XYcd") << "overwriting at the end of a line appends";
  key(e, VK_INSERT);
  EXPECT_EQ(parent.codes().back(), TN_INSERTMODE);
  key(e, VK_HOME);
  type(e, "\t>");
  EXPECT_EQ(e.text(), "\t>XYcd");
  EXPECT_EQ(caret(e), (Pos{1, 2}));

  // Control codes, 127 and 255 are not typed.
  for (int c : {1, 10, 27, 31, 127, 255}) e.send(WM_CHAR, static_cast<WPARAM>(c), 1);
  EXPECT_EQ(e.text(), "\t>XYcd");
  type(e, "\xE6\xF8\xE5");
  EXPECT_EQ(e.text(), "\t>\xE6\xF8\xE5XYcd");
}

TEST(EditorTyping, TypingChangesTheTextAndTellsTheParent) {
  NotifyWindow parent;
  Editor e(parent);
  parent.seen.clear();
  EXPECT_EQ(e.send(EM_GETMODIFY, 0), 0);
  type(e, "ab");
  EXPECT_EQ(parent.count(TN_CHANGE), 2);
  EXPECT_EQ(e.send(EM_GETMODIFY, 0), 1);
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 1) << "typing not yet stored can be undone";
}

TEST(EditorTyping, TheLineLimitRefusesTheCharacterAfter8192) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText(std::string(8191, 'a'));
  key(e, VK_END, kCtrl);
  type(e, "b");
  EXPECT_EQ(e.send(EM_LINELENGTH, 0, 1), 8192) << "8191 characters accept one more";

  testing_support::ScriptedResponder responder;
  responder.answer(IDOK);
  type(e, "c");
  EXPECT_EQ(e.send(EM_LINELENGTH, 0, 1), 8192);
  ASSERT_EQ(responder.seen().size(), 1u);
  EXPECT_EQ(responder.last().text, QString::fromUtf8("Maksimumlinelængden er overskredet"));
  EXPECT_EQ(responder.last().flags & MB_ICONMASK, MB_ICONSTOP);
  EXPECT_EQ(parent.count(TN_MAXTEXT), 1);

  parent.answers[TN_MAXTEXT] = 1;  // the parent tells the user itself
  type(e, "c");
  EXPECT_EQ(parent.count(TN_MAXTEXT), 2);
  EXPECT_EQ(e.send(EM_LINELENGTH, 0, 1), 8192);

  // Overwriting inside a full line does not lengthen it.
  key(e, VK_HOME);
  key(e, VK_INSERT);
  type(e, "Z");
  EXPECT_EQ(e.line(1).substr(0, 2), "Za");
  EXPECT_EQ(e.send(EM_LINELENGTH, 0, 1), 8192);
}

TEST(EditorTyping, DefaultSelectionDecidesWhetherTypingReplacesTheSelection) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("one two");
  e.select(1, 0, 1, 3);
  type(e, "X");
  EXPECT_EQ(e.text(), "oneX two") << "without DefaultSelection keys act at the caret";
  EXPECT_EQ(e.selection(), range(1, 0, 1, 4)) << "and the selection stays";

  e.setOptions(TivraOption::DefaultSelection, true);
  e.select(1, 4, 1, 8);
  type(e, "Y");
  EXPECT_EQ(e.text(), "oneXY");
  EXPECT_EQ(e.selection(), range(1, 5, 1, 5));

  e.setText("abc\r\ndef");
  e.select(1, 1, 2, 2);
  type(e, "\b");
  EXPECT_EQ(e.text(), "af");
  e.select(1, 0, 1, 1);
  key(e, VK_DELETE);
  EXPECT_EQ(e.text(), "f");
  e.select(1, 0, 1, 1);
  type(e, "\r");
  EXPECT_EQ(e.lines(), (Lines{"", ""}));
}

// ---------------------------------------------------------------------------
// Lines

TEST(EditorLines, ReturnSplitsTheLineAndAutoIndentCopiesTheLeadingBlanks) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("  \tab");
  e.select(1, 4, 1, 4);
  type(e, "\r");
  EXPECT_EQ(e.lines(), (Lines{"  \ta", "b"}));
  EXPECT_EQ(caret(e), (Pos{2, 0}));

  e.setOptions(TivraOption::AutoIndent, true);
  e.select(1, 4, 1, 4);
  type(e, "\r");
  EXPECT_EQ(e.lines(), (Lines{"  \ta", "  \t", "b"}));
  EXPECT_EQ(caret(e), (Pos{2, 3}));
  // Never more blanks than the split column.
  e.setText("    x");
  e.select(1, 2, 1, 2);
  type(e, "\r");
  EXPECT_EQ(e.lines(), (Lines{"  ", "    x"}));
  EXPECT_EQ(caret(e), (Pos{2, 2}));
}

TEST(EditorLines, ReturnInOverwriteModeMovesToTheNextLineButSplitsTheLast) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("abc\r\ndef");
  e.send(TM_SETINSERTMODE, 0);
  e.select(1, 2, 1, 2);
  type(e, "\r");
  EXPECT_EQ(e.lines(), (Lines{"abc", "def"}));
  EXPECT_EQ(caret(e), (Pos{2, 0}));
  type(e, "\r");
  EXPECT_EQ(e.lines(), (Lines{"abc", "", "def"})) << "the last line is split";

  // Moving this way works in a read-only window too, and Shift extends.
  e.setText("abc\r\ndef");
  e.send(EM_SETREADONLY, 1);
  e.select(1, 1, 1, 1);
  platform::setKeyDown(VK_SHIFT, true);
  type(e, "\r");
  platform::setKeyDown(VK_SHIFT, false);
  EXPECT_EQ(e.selection(), range(1, 1, 2, 0));
  type(e, "\r");
  EXPECT_EQ(e.lines(), (Lines{"abc", "def"}));
}

TEST(EditorLines, BackspaceAndDeleteJoinLinesAndStopAtTheEnds) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("ab\r\ncd");
  e.select(1, 0, 1, 0);
  type(e, "\b");
  EXPECT_EQ(e.text(), "ab\r\ncd") << "nothing before (1, 0)";
  e.select(2, 2, 2, 2);
  key(e, VK_DELETE);
  EXPECT_EQ(e.text(), "ab\r\ncd") << "nothing after the end of the last line";

  e.select(2, 0, 2, 0);
  type(e, "\b");
  EXPECT_EQ(e.text(), "abcd");
  EXPECT_EQ(caret(e), (Pos{1, 2}));
  type(e, "\r");
  key(e, VK_LEFT, 0);
  key(e, VK_UP);
  key(e, VK_END);
  key(e, VK_DELETE);
  EXPECT_EQ(e.text(), "abcd");
  type(e, "\b");
  EXPECT_EQ(e.text(), "acd");
  key(e, VK_DELETE);
  EXPECT_EQ(e.text(), "ad");

  // A join that would make a line longer than 8192 is refused.
  e.setText(std::string(5000, 'a') + "\r\n" + std::string(5000, 'b'));
  e.select(2, 0, 2, 0);
  parent.answers[TN_MAXTEXT] = 1;
  type(e, "\b");
  EXPECT_EQ(e.lineCount(), 2);
  EXPECT_EQ(parent.count(TN_MAXTEXT), 1);
}

TEST(EditorLines, CtrlYDeletesTheCaretLine) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("one\r\ntwo\r\nthree");
  e.select(2, 1, 2, 1);
  key(e, 'Y', kCtrl);
  EXPECT_EQ(e.lines(), (Lines{"one", "three"}));
  EXPECT_EQ(caret(e), (Pos{2, 0}));
  key(e, 'Y', kCtrl);
  EXPECT_EQ(e.lines(), (Lines{"one", ""})) << "the last line loses its text";
  e.setText("keep this");
  e.select(1, 4, 1, 4);
  key(e, 'Y', kCtrl | kShift);
  EXPECT_EQ(e.text(), "keep");
  // Its character (25) is not typed.
  e.send(WM_CHAR, 25, 1);
  EXPECT_EQ(e.text(), "keep");
}

// Lines longer than the editor takes are kept as pieces, edited like lines:
// the line ends typed between them are kept, and the line stays one where
// none was typed, also when two of its pieces are joined. Undo and redo
// go back and forth through the same bytes.
TEST(EditorLines, EditingThePiecesOfALongLineKeepsItWhole) {
  NotifyWindow parent;
  Editor e(parent);
  e.setOptions(TivraOption::DefaultSelection, true);
  // Each piece a letter of its own, so that a piece out of place shows.
  auto longLine = [](size_t length, char first) {
    std::string out;
    for (size_t i = 0; i < length; ++i) out += static_cast<char>(first + i / 8193 % 3);
    return out;
  };
  const std::string one = longLine(20000, 'a');  // pieces of 8193, 8193 and 3614
  const std::string two = longLine(8200, 'x');   // pieces of 8193 and 7
  const std::string original = "start\r\n" + one + "\r\n" + two + "\r\nslut";
  ASSERT_EQ(e.setText(original), 0);
  ASSERT_EQ(e.lineCount(), 7);
  e.send(EM_EMPTYUNDOBUFFER);
  std::string expected = original;
  size_t twoAt = 7 + one.size() + 2;

  // Typing into the third piece.
  e.select(4, 10, 4, 10);
  type(e, "XY\b");
  expected.insert(7 + 16386 + 10, "X");
  ++twoAt;
  EXPECT_TRUE(editor_test::sameText(e.text(), expected));

  // Return inside the first piece: a line end of its own; the rest of the
  // piece still goes on in the next.
  e.select(2, 100, 2, 100);
  type(e, "\r");
  expected.insert(7 + 100, "\r\n");
  twoAt += 2;
  ASSERT_EQ(e.lineCount(), 8);
  EXPECT_TRUE(editor_test::sameText(e.text(), expected));

  // The second line's first piece made short, then joined with its last
  // piece by Delete: no byte changes.
  e.select(6, 0, 6, 8000);
  ASSERT_EQ(e.send(WM_CLEAR), 0);
  expected.erase(twoAt, 8000);
  e.select(6, 193, 6, 193);
  key(e, VK_DELETE);
  ASSERT_EQ(e.lineCount(), 7);
  EXPECT_EQ(e.line(6), two.substr(8000));
  EXPECT_TRUE(editor_test::sameText(e.text(), expected));

  // A span across two pieces replaced.
  e.select(3, 8000, 4, 8190);
  ASSERT_EQ(e.replace("--"), 0);
  expected.replace(7 + 100 + 2 + 8000, 8093 - 8000 + 8190, "--");
  EXPECT_TRUE(editor_test::sameText(e.text(), expected));
  EXPECT_EQ(parent.count(TN_MAXTEXT), 0);

  while (e.send(EM_CANUNDO, 0)) ASSERT_EQ(e.send(EM_UNDO, 0), 0);
  EXPECT_TRUE(editor_test::sameText(e.text(), original)) << "undone to the bytes it started from";
  EXPECT_EQ(e.lineCount(), 7);
  while (e.send(EM_CANUNDO, 1)) ASSERT_EQ(e.send(EM_UNDO, 1), 0);
  EXPECT_TRUE(editor_test::sameText(e.text(), expected)) << "redone to the end";
}

// ---------------------------------------------------------------------------
// Moving

TEST(EditorMoves, ArrowsHomeEndAndWrapKeys) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("ab\r\ncd");
  e.select(2, 0, 2, 0);
  key(e, VK_LEFT);
  EXPECT_EQ(caret(e), (Pos{2, 0})) << "without WrapKeys Left stops at column 0";
  key(e, VK_END);
  key(e, VK_RIGHT);
  EXPECT_EQ(caret(e), (Pos{2, 2}));
  e.setOptions(TivraOption::WrapKeys, true);
  key(e, VK_HOME);
  key(e, VK_LEFT);
  EXPECT_EQ(caret(e), (Pos{1, 2}));
  key(e, VK_RIGHT);
  EXPECT_EQ(caret(e), (Pos{2, 0}));
  key(e, VK_END, kCtrl);
  EXPECT_EQ(caret(e), (Pos{2, 2}));
  key(e, VK_HOME, kCtrl | kShift);
  EXPECT_EQ(e.selection(), range(2, 2, 1, 0)) << "Shift keeps the anchor";
  key(e, VK_DOWN, kCtrl);
  EXPECT_EQ(e.selection(), range(1, 2, 1, 2)) << "Ctrl+Down: end of the line, the selection gone";
  key(e, VK_UP, kCtrl);
  EXPECT_EQ(caret(e), (Pos{1, 0}));
}

TEST(EditorMoves, WordsAreSeparatedByBlanks) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("one  two\tthree\r\nfour");
  e.select(1, 0, 1, 0);
  key(e, VK_RIGHT, kCtrl);
  EXPECT_EQ(caret(e), (Pos{1, 5}));
  key(e, 'R', kCtrl);
  EXPECT_EQ(caret(e), (Pos{1, 9}));
  key(e, VK_RIGHT, kCtrl);
  EXPECT_EQ(caret(e), (Pos{1, 14}));
  key(e, VK_RIGHT, kCtrl);
  EXPECT_EQ(caret(e), (Pos{1, 14})) << "without WrapKeys the end of the line stops";
  key(e, 'L', kCtrl | kShift);
  EXPECT_EQ(e.selection(), range(1, 14, 1, 9));
  key(e, VK_LEFT, kCtrl);
  EXPECT_EQ(caret(e), (Pos{1, 5}));
  e.setOptions(TivraOption::WrapKeys, true);
  e.select(1, 14, 1, 14);
  key(e, VK_RIGHT, kCtrl);
  EXPECT_EQ(caret(e), (Pos{2, 0}));
  key(e, VK_LEFT, kCtrl);
  EXPECT_EQ(caret(e), (Pos{1, 14}));
}

TEST(EditorMoves, UpAndDownKeepThePixelColumn) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("aaaaaaaa\r\naa\r\naaaaaaaa");
  e.select(1, 6, 1, 6);
  key(e, VK_DOWN);
  EXPECT_EQ(caret(e), (Pos{2, 2}));
  key(e, VK_DOWN);
  EXPECT_EQ(caret(e), (Pos{3, 6})) << "the column comes back after a short line";
  key(e, VK_UP, kShift);
  EXPECT_EQ(e.selection(), range(3, 6, 2, 2));
  key(e, VK_UP);
  key(e, VK_UP);
  EXPECT_EQ(caret(e), (Pos{1, 6})) << "Up on the first line stays";
}

TEST(EditorMoves, UpAndDownStepThroughTheRowsOfAWrappedLine) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("aaa bbb ccc ddd eee\r\n123456789");
  const int w = LOWORD(e.send(TM_GETCHARMETRICS));
  e.send(TM_SETWORDWRAP, TIVRA_WRAP_ON | TIVRA_WRAP_FIXEDWIDTH | TIVRA_WRAP_AUTOBREAK, 10 * w);
  ASSERT_EQ(e.send(TM_SUBLINECOUNT, 0, 1), 3) << "rows \"aaa bbb \", \"ccc ddd \", \"eee\", then line 2";
  e.select(1, 2, 1, 2);
  key(e, VK_DOWN);
  EXPECT_EQ(caret(e), (Pos{1, 10})) << "the next sub-line, at the same pixel column";
  key(e, VK_DOWN);
  EXPECT_EQ(caret(e), (Pos{1, 18}));
  key(e, VK_DOWN);
  EXPECT_EQ(caret(e), (Pos{2, 2}));
  key(e, VK_END);
  key(e, VK_UP);
  EXPECT_EQ(caret(e), (Pos{1, 19})) << "right of the last sub-line: the end of the line";
  key(e, VK_UP, kShift);
  EXPECT_EQ(e.selection(), range(1, 19, 1, 15)) << "right of another sub-line: before its last character, on its row";
  key(e, VK_UP);
  EXPECT_EQ(caret(e), (Pos{1, 7}));
  key(e, VK_UP);
  EXPECT_EQ(caret(e), (Pos{1, 7})) << "Up on the first row stays";
  for (int i = 0; i < 3; ++i) key(e, VK_DOWN);
  EXPECT_EQ(caret(e), (Pos{2, 9})) << "the column comes back after the short rows";

  e.send(TM_SETWORDWRAP, 0, 0);
  e.select(1, 2, 1, 2);
  key(e, VK_DOWN);
  EXPECT_EQ(caret(e), (Pos{2, 2})) << "without word wrap a line is one row";
}

TEST(EditorMoves, PageKeysCountTheRowsOfWrappedLines) {
  NotifyWindow parent;
  Editor e(parent);
  std::string words;
  for (int i = 0; i < 80; ++i) words += "aaa ";
  e.setText(words + "\r\nlast");
  const int w = LOWORD(e.send(TM_GETCHARMETRICS));
  e.send(TM_SETWORDWRAP, TIVRA_WRAP_ON | TIVRA_WRAP_FIXEDWIDTH | TIVRA_WRAP_AUTOBREAK, 10 * w);
  ASSERT_EQ(e.send(TM_SUBLINECOUNT, 0, 1), 40) << "two words a row";
  e.select(1, 1, 1, 1);
  key(e, VK_NEXT);
  const int rows = static_cast<int>(e.send(TM_GETFIRSTSUBLINE));
  ASSERT_GT(rows, 1) << "the window shows several rows";
  ASSERT_LT(2 * rows, 40);
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 1);
  EXPECT_EQ(caret(e), (Pos{1, rows * 8 + 1})) << "the caret moves with the rows";
  key(e, 'D', kCtrl);
  EXPECT_EQ(caret(e), (Pos{1, (2 * rows - 1) * 8 + 1})) << "Ctrl+D: the bottom row of the window";
  key(e, VK_PRIOR, kCtrl);
  EXPECT_EQ(caret(e), (Pos{1, rows * 8 + 1})) << "Ctrl+Page Up: the top row of the window";
}

TEST(EditorMoves, PageKeysMoveByTheWindowHeight) {
  NotifyWindow parent;
  Editor e(parent);
  std::string text;
  for (int i = 1; i <= 200; ++i) text += "line " + std::to_string(i) + "\r\n";
  e.setText(text);
  key(e, VK_NEXT);
  const long top = static_cast<long>(e.send(EM_GETFIRSTVISIBLELINE));
  const long rows = top - 1;
  ASSERT_GT(rows, 1) << "the window shows several lines";
  EXPECT_EQ(caret(e).first, 1 + rows) << "the caret moves with the text";
  key(e, VK_NEXT, kCtrl);
  EXPECT_EQ(caret(e).first, top + rows - 1) << "Ctrl+Page Down: bottom line of the window";
  key(e, 'U', kCtrl);
  EXPECT_EQ(caret(e).first, top) << "Ctrl+U: top line of the window";
  key(e, VK_PRIOR, kShift);
  EXPECT_EQ(caret(e).first, 1);
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 1);
  EXPECT_EQ(e.selection().StartLine, top);
}

// ---------------------------------------------------------------------------
// Read-only

TEST(EditorReadOnly, KeysAndCommandsLeaveTheTextButMessagesChangeIt) {
  NotifyWindow parent;
  Editor e(parent, TS_READONLY);
  e.setText("ab\r\ncd");
  putOnClipboard("xy");
  e.select(1, 1, 1, 1);
  type(e, "z\r\b");
  key(e, VK_DELETE);
  key(e, 'Y', kCtrl);
  key(e, 'V', kCtrl);
  key(e, VK_INSERT, kShift);
  e.select(1, 0, 1, 2);
  key(e, 'X', kCtrl);
  key(e, VK_DELETE, kShift);
  for (UINT id : {TCMD_CUT, TCMD_PASTE, TCMD_DELETE, TCMD_DUPLICATE, TCMD_CLEARALL}) e.send(WM_COMMAND, id);
  EXPECT_EQ(e.text(), "ab\r\ncd");
  key(e, VK_LEFT);
  EXPECT_EQ(caret(e), (Pos{1, 1})) << "moving still works";
  key(e, VK_HOME, kShift);
  key(e, 'C', kCtrl);
  EXPECT_EQ(clipboardText(), "a") << "copying still works";

  e.select(1, 0, 1, 2);
  e.replace("new");
  EXPECT_EQ(e.text(), "new\r\ncd");
  e.send(EM_UNDO, 0);
  EXPECT_EQ(e.text(), "\r\ncd");
  e.send(WM_PASTE);
  EXPECT_EQ(e.text(), "a\r\ncd");
}

// ---------------------------------------------------------------------------
// Clipboard and edit commands

TEST(EditorClipboard, CopyCutAndPasteThroughKeysMessagesAndCommands) {
  NotifyWindow parent;
  Editor e(parent);
  e.setOptions(TivraOption::DefaultSelection, true);
  e.setText("first\r\nsecond");
  e.select(1, 2, 2, 3);
  EXPECT_EQ(e.send(WM_COPY), 0);
  EXPECT_EQ(clipboardText(), "rst\r\nsec");
  e.select(1, 0, 1, 0);
  EXPECT_EQ(e.send(WM_COPY), -1) << "nothing selected";
  EXPECT_EQ(clipboardText(), "rst\r\nsec");

  e.select(2, 6, 2, 6);
  key(e, 'V', kCtrl);
  EXPECT_EQ(e.lines(), (Lines{"first", "secondrst", "sec"}));
  EXPECT_EQ(e.selection(), range(3, 3, 3, 3)) << "the caret after the pasted text";

  e.select(1, 0, 2, 0);
  key(e, VK_DELETE, kShift);
  EXPECT_EQ(e.lines(), (Lines{"secondrst", "sec"}));
  EXPECT_EQ(clipboardText(), "first\r\n");

  e.select(2, 0, 2, 3);
  e.send(WM_COMMAND, TCMD_PASTE);
  EXPECT_EQ(e.lines(), (Lines{"secondrst", "first", ""}));

  e.setOptions(TivraOption::DefaultSelection, false);
  e.select(1, 0, 1, 0);
  key(e, VK_INSERT, kShift);
  EXPECT_EQ(e.lines(), (Lines{"first", "secondrst", "first", ""}));
  EXPECT_EQ(e.selection(), range(1, 0, 2, 0)) << "without DefaultSelection the pasted text stays selected";
  e.select(1, 1, 1, 3);
  key(e, VK_INSERT, kCtrl);
  EXPECT_EQ(clipboardText(), "ir");
  e.send(WM_COMMAND, TCMD_CUT);
  EXPECT_EQ(e.line(1), "fst");
  e.select(1, 0, 1, 1);
  e.send(WM_COMMAND, TCMD_DELETE);
  EXPECT_EQ(e.line(1), "st");
  EXPECT_EQ(clipboardText(), "ir") << "deleting leaves the clipboard";
}

TEST(EditorClipboard, DuplicatePutsTheSelectionTwice) {
  NotifyWindow parent;
  Editor e(parent);
  e.setOptions(TivraOption::DefaultSelection, true);
  e.setText("abc");
  e.select(1, 1, 1, 1);
  putOnClipboard("unchanged");
  e.send(WM_COMMAND, TCMD_DUPLICATE);
  EXPECT_EQ(e.text(), "abc") << "an empty selection changes nothing";
  EXPECT_EQ(clipboardText(), "unchanged");

  e.select(1, 0, 1, 2);
  key(e, VK_INSERT, kCtrl | kShift);
  EXPECT_EQ(e.text(), "ababc");
  e.select(1, 5, 1, 3);  // selected upwards: the copy goes before
  e.send(WM_COMMAND, TCMD_DUPLICATE);
  EXPECT_EQ(e.text(), "ababcbc");
}

TEST(EditorClipboard, AClipboardThatCannotBeOpenedIsReported) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("text");
  e.select(1, 0, 1, 4);
  ASSERT_TRUE(OpenClipboard(nullptr));  // someone else holds it
  {
    testing_support::ScriptedResponder responder;
    responder.answer(IDOK);
    EXPECT_EQ(e.send(WM_COPY), -1);
    ASSERT_EQ(responder.seen().size(), 1u);
    EXPECT_EQ(responder.last().text, "Klippebordsfejl");
    EXPECT_EQ(responder.last().caption, "Tivra V2.09 (32-bit)");
    EXPECT_EQ(responder.last().flags & MB_ICONMASK, MB_ICONSTOP);
  }
  EXPECT_EQ(parent.count(TN_CLIPBOARDERROR), 1);
  parent.answers[TN_CLIPBOARDERROR] = 1;
  EXPECT_EQ(e.send(WM_CUT), -1);
  EXPECT_EQ(e.text(), "text") << "a cut that could not copy deletes nothing";
  EXPECT_EQ(parent.count(TN_CLIPBOARDERROR), 2);
  CloseClipboard();
}

TEST(EditorCommands, SelectAllEmptyUndoAndClearAll) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("one\r\ntwo");
  key(e, 'A', kCtrl);
  EXPECT_EQ(e.selection(), range(1, 0, 2, 3));
  e.select(1, 0, 1, 0);
  e.send(WM_COMMAND, TCMD_SELECTALL);
  EXPECT_EQ(e.selection(), range(1, 0, 2, 3));

  e.replace("x");
  EXPECT_EQ(e.send(TM_COMMANDSTATE, TCMD_UNDO), 1);
  e.send(WM_COMMAND, TCMD_EMPTYUNDO);
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 0);
  e.send(WM_COMMAND, TCMD_CLEARALL);
  EXPECT_EQ(e.text(), "");
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 0) << "clearing all leaves no undo step";

  e.setText("stays");
  e.send(EM_SETREADONLY, 1);
  e.send(WM_COMMAND, TCMD_CLEARALL);
  EXPECT_EQ(e.text(), "stays");
}

// ---------------------------------------------------------------------------
// The mouse

class EditorMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    LOGFONT lf{};
    lf.lfHeight = -13;
    std::strcpy(lf.lfFaceName, "DejaVu Sans Mono");
    e.send(TM_SETLOGFONT, 0, reinterpret_cast<LPARAM>(&lf));
    const LRESULT metrics = e.send(TM_GETCHARMETRICS);
    width = LOWORD(metrics);
    height = HIWORD(metrics);
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);
    std::string text;
    for (int i = 1; i <= 60; ++i) text += "line number " + std::to_string(i) + "\r\n";
    e.setText(text);
  }

  // The client point in the middle of the left half of a character.
  LPARAM at(int row, int column) const { return MAKELPARAM(column * width + width / 4, row * height + height / 2); }

  NotifyWindow parent;
  Editor e{parent};
  int width = 0;
  int height = 0;
};

TEST_F(EditorMouse, ClickShiftClickAndDrag) {
  e.send(WM_LBUTTONDOWN, MK_LBUTTON, at(2, 5));
  EXPECT_EQ(e.selection(), range(3, 5, 3, 5));
  EXPECT_EQ(GetCapture(), e.hwnd());
  EXPECT_EQ(GetFocus(), e.hwnd());
  e.send(WM_MOUSEMOVE, MK_LBUTTON, at(4, 2));
  EXPECT_EQ(e.selection(), range(3, 5, 5, 2));
  type(e, "ignored");
  key(e, VK_RIGHT);
  EXPECT_EQ(e.selection(), range(3, 5, 5, 2)) << "keys wait while the mouse selects";
  e.send(WM_LBUTTONUP, 0, at(4, 2));
  EXPECT_EQ(GetCapture(), nullptr);
  e.send(WM_MOUSEMOVE, 0, at(6, 0));
  EXPECT_EQ(e.selection(), range(3, 5, 5, 2)) << "moving without the button selects nothing";

  e.send(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at(0, 1));
  EXPECT_EQ(e.selection(), range(3, 5, 1, 1)) << "Shift extends from the anchor";
  e.send(TM_MOUSEUP);
  EXPECT_EQ(GetCapture(), nullptr);
  e.send(WM_LBUTTONDOWN, MK_LBUTTON, at(0, 200));
  EXPECT_EQ(e.selection(), range(1, 13, 1, 13)) << "right of the text: the end of the line";
  e.send(WM_LBUTTONUP);
}

TEST_F(EditorMouse, DraggingBelowTheWindowScrollsOnTheTimer) {
  RECT client{};
  GetClientRect(e.hwnd(), &client);
  e.send(WM_LBUTTONDOWN, MK_LBUTTON, at(0, 0));
  e.send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, client.bottom + 30));
  const long bottomRow = e.selection().EndLine;
  EXPECT_GT(bottomRow, 1) << "the selection reaches the bottom row";
  e.send(WM_TIMER, 1);
  e.send(WM_TIMER, 1);
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 3) << "each tick scrolls a line";
  EXPECT_EQ(e.selection().EndLine, bottomRow + 2);
  EXPECT_EQ(e.selection().StartLine, 1);
  // Back inside, the timer's ticks no longer scroll.
  e.send(WM_MOUSEMOVE, MK_LBUTTON, at(1, 0));
  EXPECT_EQ(e.selection().EndLine, 4);
  e.send(WM_LBUTTONUP);
  e.send(WM_TIMER, 1);
  EXPECT_EQ(e.send(EM_GETFIRSTVISIBLELINE), 3);
}

TEST_F(EditorMouse, DoubleClickOffersTheWordToTheParent) {
  std::vector<std::string> words;
  LRESULT answer = 0;
  parent.handlers[TM_WORDCLICKED] = [&](WPARAM editor, LPARAM token) -> LRESULT {
    EXPECT_EQ(reinterpret_cast<HWND>(editor), e.hwnd());
    words.push_back(token ? reinterpret_cast<const TivraToken*>(token)->WordStr : "<none>");
    return answer;
  };
  e.send(WM_LBUTTONDBLCLK, MK_LBUTTON, at(0, 7));
  ASSERT_EQ(words, (std::vector<std::string>{"number"}));
  EXPECT_EQ(e.selection(), range(1, 5, 1, 11)) << "an unclaimed word is selected";
  answer = 1;
  e.send(WM_LBUTTONDBLCLK, MK_LBUTTON, at(1, 1));
  EXPECT_EQ(words.back(), "line");
  EXPECT_EQ(e.selection(), range(2, 1, 2, 1)) << "a claimed word is not selected";
}

TEST_F(EditorMouse, TheRightButtonOpensTheContextMenu) {
  testing_support::ScriptedResponder responder;
  HMENU shown = nullptr;
  responder.answer([&](platform::Request& r) {
    shown = r.menu;
    return static_cast<int>(TCMD_SELECTALL);
  });
  e.send(WM_RBUTTONDOWN, MK_RBUTTON, at(1, 1));
  EXPECT_EQ(shown, reinterpret_cast<HMENU>(e.send(TM_GETHANDLE, TIVRA_HANDLE_CONTEXTMENU)));
  EXPECT_EQ(e.selection(), range(1, 0, 61, 0)) << "the chosen command ran";
  // Without a context menu nothing is asked.
  Editor plain(parent, TS_NOCONTEXTMENU);
  plain.send(WM_RBUTTONDOWN, MK_RBUTTON, at(0, 0));
}

// ---------------------------------------------------------------------------
// Real key events through the window's widget

TEST(EditorKeyEvents, KeysThroughTheHostedWidget) {
  NotifyWindow parent;
  Editor e(parent);
  e.setOptions(TivraOption::DefaultSelection, true);
  QWidget* w = platform::hostWidget(e.hwnd());
  ASSERT_TRUE(w);
  QTest::keyClicks(w, QString::fromUtf8("hej æ"));
  QTest::keyClick(w, Qt::Key_Return);
  QTest::keyClicks(w, "du");
  EXPECT_EQ(e.lines(), (Lines{"hej \xE6", "du"}));
  QTest::keyClick(w, Qt::Key_Home, Qt::ShiftModifier);
  QTest::keyClick(w, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(clipboardText(), "du");
  EXPECT_EQ(e.lines(), (Lines{"hej \xE6", ""}));
  QTest::keyClick(w, Qt::Key_Backspace, Qt::ControlModifier);
  EXPECT_EQ(e.lines(), (Lines{"hej \xE6", "du"})) << "Ctrl+Backspace undoes";
  // Ctrl+H opens the replace dialog; its character 8 deletes nothing.
  QTest::keyClick(w, Qt::Key_H, Qt::ControlModifier);
  EXPECT_EQ(e.lines(), (Lines{"hej \xE6", "du"}));
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == "ReplaceDialog") top->close();
  }
}

}  // namespace
