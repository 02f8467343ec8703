// Text in and out, lines, selection, replacing, modified flags and
// bookmarks of a Tivra32 window, through its messages.
#include "editor_harness.h"
#include "scripted_responder.h"

#include <string>
#include <vector>

using editor_test::Editor;
using editor_test::NotifyWindow;
using editor_test::range;
using Lines = std::vector<std::string>;

namespace {

TEST(EditorText, AnEmptyTextHasOneEmptyLine) {
  NotifyWindow parent;
  Editor e(parent);
  ASSERT_TRUE(e.hwnd());
  EXPECT_EQ(e.lineCount(), 1);
  EXPECT_EQ(e.send(WM_GETTEXTLENGTH, 1), 0);
  EXPECT_TRUE(editor_test::sameText(e.text(), ""));
  EXPECT_EQ(e.send(EM_LINELENGTH, 0, 1), 0);
  EXPECT_EQ(e.send(EM_LINELENGTH, 0, 2), -1);
  EXPECT_EQ(e.send(EM_LINELENGTH, 0, 0), -1) << "wParam 0 and lParam 0 name line 0";
  char buffer[TIVRA_LINE_BUFFER] = {'x', 'x'};
  EXPECT_EQ(e.send(EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_EQ(buffer[0], 0);
}

TEST(EditorText, LineEndsOfEveryKindSplitAndComeBackAsCrLf) {
  NotifyWindow parent;
  Editor e(parent);
  ASSERT_EQ(e.setText("a\rb\nc\r\nd"), 0);
  EXPECT_EQ(e.lines(), (Lines{"a", "b", "c", "d"}));
  EXPECT_TRUE(editor_test::sameText(e.text(), "a\r\nb\r\nc\r\nd"));
  EXPECT_EQ(e.send(WM_GETTEXTLENGTH, 1), 10);

  e.setText("last\r\n");
  EXPECT_EQ(e.lines(), (Lines{"last", ""}));
  EXPECT_TRUE(editor_test::sameText(e.text(), "last\r\n"));

  // LF then CR are two line ends; a lone CR at the end ends the line too.
  e.setText("x\n\ry\r");
  EXPECT_EQ(e.lines(), (Lines{"x", "", "y", ""}));
  e.setText("\r\n\r\n");
  EXPECT_EQ(e.lines(), (Lines{"", "", ""}));
}

// A long line: the first 8193 characters, the next 8193, the rest; each
// piece a letter of its own, so that a piece out of place shows.
std::string longLine(size_t length, char first = 'a') {
  std::string out;
  for (size_t i = 0; i < length; ++i) out += static_cast<char>(first + i / 8193 % 3);
  return out;
}

TEST(EditorText, LongRunsAreCutIntoPiecesThatReadBackAsOneLine) {
  NotifyWindow parent;
  Editor e(parent);
  const std::string twenty = longLine(20000);
  ASSERT_EQ(e.setText(twenty), 0);
  ASSERT_EQ(e.lineCount(), 3);
  EXPECT_EQ(e.send(EM_LINELENGTH, 0, 1), 8193);
  EXPECT_EQ(e.send(EM_LINELENGTH, 0, 2), 8193);
  EXPECT_EQ(e.send(EM_LINELENGTH, 0, 3), 3614);
  EXPECT_EQ(e.send(TM_GETLONGLINES), 1);
  EXPECT_TRUE(editor_test::sameText(e.text(), twenty)) << "no line end where the line was cut";
  // The text read back and set again gives the same lines.
  ASSERT_EQ(e.setText(e.text()), 0);
  EXPECT_EQ(e.lines(), (Lines{twenty.substr(0, 8193), twenty.substr(8193, 8193), twenty.substr(16386)}));

  // Between other lines, with every kind of line end around it; selections
  // over the pieces read back joined too.
  const std::string text = "f\xF8r\n" + twenty + "\r\nmidt\r" + longLine(11334, 'd') + "\r\nefter";
  ASSERT_EQ(e.setText(text), 0);
  EXPECT_EQ(e.lineCount(), 8);
  EXPECT_EQ(e.send(TM_GETLONGLINES), 2);
  const std::string crlf = "f\xF8r\r\n" + twenty + "\r\nmidt\r\n" + longLine(11334, 'd') + "\r\nefter";
  EXPECT_TRUE(editor_test::sameText(e.text(), crlf));
  e.select(2, 8000, 3, 10);
  EXPECT_EQ(e.send(TM_GETSELLENGTH), 203);
  std::string selected(204, '\0');
  e.send(TM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(selected.data()));
  EXPECT_EQ(selected.c_str(), twenty.substr(8000, 203));
  ASSERT_EQ(e.setText("kort"), 0);
  EXPECT_EQ(e.send(TM_GETLONGLINES), 0);

  // A line of exactly 8193 characters stays one line, so that such a text
  // reads back and loads again unchanged.
  const std::string exact = std::string(8193, 'y') + "\r\nz";
  e.setText(exact);
  EXPECT_EQ(e.lineCount(), 2);
  EXPECT_TRUE(editor_test::sameText(e.text(), exact));
  e.setText(std::string(16386, 'w'));
  EXPECT_EQ(e.lineCount(), 2);

  // The characters around the insertion point count towards the pieces.
  e.setText(std::string(8000, 'a'));
  e.select(1, 4000, 1, 4000);
  ASSERT_EQ(e.replace(std::string(500, 'b')), 0);
  ASSERT_EQ(e.lineCount(), 2);
  EXPECT_TRUE(
      editor_test::sameText(e.line(1), std::string(4000, 'a') + std::string(500, 'b') + std::string(3693, 'a')));
  EXPECT_EQ(e.line(2), std::string(307, 'a'));
  EXPECT_TRUE(editor_test::sameText(e.text(), std::string(4000, 'a') + std::string(500, 'b') + std::string(4000, 'a')));
}

TEST(EditorText, GetLineFillsAtMost8193BytesAndTakesTheLineFromTheBuffer) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText(std::string(8193, 'q') + "\r\nshort\r\nthird");
  std::vector<char> buffer(TIVRA_LINE_BUFFER + 1, '#');
  EXPECT_EQ(e.send(EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer.data())), 8193);
  EXPECT_EQ(std::string(buffer.data(), 8193), std::string(8193, 'q'));
  EXPECT_EQ(buffer[8193], '#') << "nothing is written beyond the 8193 bytes the caller provides";

  // wParam 0: the line number is the first 32-bit value of the buffer.
  const LONG three = 3;
  std::memcpy(buffer.data(), &three, sizeof three);
  EXPECT_EQ(e.send(EM_GETLINE, 0, reinterpret_cast<LPARAM>(buffer.data())), 5);
  EXPECT_STREQ(buffer.data(), "third");
  EXPECT_EQ(e.send(TM_GETLINE, 2, reinterpret_cast<LPARAM>(buffer.data())), 5);
  EXPECT_STREQ(buffer.data(), "short");
  EXPECT_EQ(e.send(EM_GETLINE, 4, reinterpret_cast<LPARAM>(buffer.data())), 0);
  EXPECT_EQ(e.send(EM_LINELENGTH, 2, 0), 5) << "wParam names the line when lParam is 0";
  EXPECT_EQ(e.send(TM_LINELENGTH, 1, 3), 5) << "lParam wins";
}

TEST(EditorText, SetTextWithAnotherWParamOnlySetsTheCaption) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("body");
  EXPECT_TRUE(e.send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("caption")));
  EXPECT_EQ(e.send(TM_SETTEXT, 2, reinterpret_cast<LPARAM>("other")), TRUE);
  EXPECT_TRUE(editor_test::sameText(e.text(), "body"));
  char caption[32] = {};
  GetWindowText(e.hwnd(), caption, sizeof caption);
  EXPECT_STREQ(caption, "other");
  EXPECT_EQ(GetWindowTextLength(e.hwnd()), 5);
  EXPECT_EQ(e.send(WM_SETTEXT, 1, 0), -1) << "no text";
  EXPECT_EQ(e.send(WM_GETTEXT, 1, 0), -1) << "no buffer";
  EXPECT_TRUE(editor_test::sameText(e.text(), "body"));
}

TEST(EditorSelection, SetSelClampsToTheTextAndGetSelIsNotOrdered) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("first\r\nsecond\r\nend");
  EXPECT_EQ(e.select(0, 3, 9, 0), 0);
  EXPECT_EQ(e.selection(), range(1, 0, 3, 3));
  e.select(-5, 0, 2, 100);
  EXPECT_EQ(e.selection(), range(1, 0, 2, 6));
  e.select(2, -4, 2, 2);
  EXPECT_EQ(e.selection(), range(2, 0, 2, 2));

  // Selecting upwards: the start (anchor) comes after the end (caret).
  e.select(3, 2, 1, 3);
  EXPECT_EQ(e.selection(), range(3, 2, 1, 3));
  EXPECT_EQ(e.send(TM_GETSELLENGTH), 2 + 2 + 6 + 2 + 2);
  EXPECT_EQ(e.selectedText(), "st\r\nsecond\r\nen");

  EXPECT_EQ(e.send(EM_SETSEL, 0, 0), -1);
  EXPECT_EQ(e.send(EM_GETSEL, 0, 0), -1);
  EXPECT_EQ(e.send(TM_GETSELTEXT, 0, 0), -1);
  EXPECT_EQ(e.selection(), range(3, 2, 1, 3)) << "a refused request changes nothing";
}

TEST(EditorSelection, SelectAllCommandSpansTheText) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("one\r\ntwo\r\nthree");
  e.send(WM_COMMAND, TCMD_SELECTALL);
  EXPECT_EQ(e.selection(), range(1, 0, 3, 5));
  EXPECT_EQ(e.selectedText(), "one\r\ntwo\r\nthree");
}

TEST(EditorReplace, InsertedTextIsSelectedOrTheCaretFollowsItDependingOnDefaultSelection) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("hello world");
  e.select(1, 5, 1, 6);
  ASSERT_EQ(e.replace("\r\nnew\n"), 0);
  EXPECT_EQ(e.lines(), (Lines{"hello", "new", "world"}));
  EXPECT_EQ(e.selection(), range(1, 5, 3, 0)) << "without DefaultSelection the new text stays selected";

  e.setOptions(TivraOption::DefaultSelection, true);
  e.select(2, 3, 2, 0);
  ASSERT_EQ(e.replace("NEW"), 0);
  EXPECT_EQ(e.lines(), (Lines{"hello", "NEW", "world"}));
  EXPECT_EQ(e.selection(), range(2, 3, 2, 3));

  // Replacing a selection across lines with nothing joins them.
  e.select(1, 2, 3, 3);
  ASSERT_EQ(e.replace(""), 0);
  EXPECT_EQ(e.lines(), (Lines{"held"}));
  EXPECT_EQ(e.selection(), range(1, 2, 1, 2));

  e.setOptions(TivraOption::DefaultSelection, false);
  e.select(1, 4, 1, 4);
  ASSERT_EQ(e.replace("\r"), 0);
  EXPECT_EQ(e.lines(), (Lines{"held", ""}));
  EXPECT_EQ(e.selection(), range(1, 4, 2, 0));
  EXPECT_EQ(e.send(EM_REPLACESEL, 0, 0), -1);
}

TEST(EditorReplace, ClearDeletesTheSelectionAndWithOneTheWholeText) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("abc\r\ndef\r\nghi");
  e.select(3, 1, 1, 1);
  EXPECT_EQ(e.send(WM_CLEAR), 0);
  EXPECT_EQ(e.lines(), (Lines{"ahi"}));
  EXPECT_EQ(e.selection(), range(1, 1, 1, 1));
  EXPECT_EQ(e.send(WM_CLEAR, 1), 0);
  EXPECT_EQ(e.lineCount(), 1);
  EXPECT_TRUE(editor_test::sameText(e.text(), ""));
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 0) << "clearing everything leaves no undo step";
}

TEST(EditorModified, FlagsFollowChangesAndCallersMarkers) {
  NotifyWindow parent;
  Editor e(parent);
  EXPECT_EQ(e.send(EM_GETMODIFY, 0), 0);
  EXPECT_EQ(e.send(EM_GETMODIFY, 1), 1) << "bit 1 is set at creation";
  EXPECT_EQ(e.send(EM_GETMODIFY, 7), 0);

  e.setText("x");
  for (WPARAM bit = 0; bit < 16; ++bit) EXPECT_EQ(e.send(EM_GETMODIFY, bit), 1) << "bit " << bit;

  EXPECT_EQ(e.send(EM_SETMODIFY, 0, 7), 0);
  EXPECT_EQ(e.send(TM_GETMODIFY, 7), 0);
  EXPECT_EQ(e.send(EM_GETMODIFY, 6), 1);
  EXPECT_EQ(e.send(TM_SETMODIFY, 1, 7 + 16), 0) << "the bit number is taken modulo 16";
  EXPECT_EQ(e.send(EM_GETMODIFY, 7), 1);
  EXPECT_EQ(e.send(EM_SETMODIFY, 0, 0), -1);
  EXPECT_EQ(e.send(EM_SETMODIFY, 0, 1), -1);
  EXPECT_EQ(e.send(EM_GETMODIFY, 0), 1) << "bits 0 and 1 cannot be cleared this way";

  e.send(EM_SETMODIFY, 0, 9);
  e.select(1, 0, 1, 1);
  e.replace("y");
  EXPECT_EQ(e.send(EM_GETMODIFY, 9), 1) << "every change sets every bit";
}

TEST(EditorUndoBuffer, DepthIsClampedAndEmptiesTheBuffer) {
  NotifyWindow parent;
  Editor e(parent);
  EXPECT_EQ(e.send(TM_GETMAXUNDODEPTH), 909);
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 0);
  e.setText("text");
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 0) << "setting the whole text empties the buffer";
  e.select(1, 0, 1, 2);
  e.replace("n");
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 1);
  EXPECT_EQ(e.send(EM_CANUNDO, 1), 0);
  EXPECT_EQ(e.send(TM_SETUNDODEPTH, 2000), 909);
  EXPECT_EQ(e.send(TM_CANUNDO, 0), 0);
  EXPECT_EQ(e.send(TM_SETUNDODEPTH, 0), 1);
  EXPECT_EQ(e.send(TM_SETUNDODEPTH, 25), 25);
  e.replace("m");
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 1);
  e.send(EM_EMPTYUNDOBUFFER);
  EXPECT_EQ(e.send(EM_CANUNDO, 0), 0);
  EXPECT_TRUE(editor_test::sameText(e.text(), "mxt"));
}

// Bookmark b is on line n.
void expectBookmark(const Editor& e, WPARAM index, long line) {
  EXPECT_EQ(e.send(TM_GETBOOKMARK, index), line) << "bookmark " << index;
}

TEST(EditorBookmarks, BookmarksStayOnTheirLinesThroughInsertionsAndDeletions) {
  NotifyWindow parent;
  Editor e(parent);
  std::string text;
  for (int i = 1; i <= 20; ++i) text += "line " + std::to_string(i) + "\r\n";
  e.setText(text);
  ASSERT_EQ(e.send(TM_SETBOOKMARK, 0, 10), 0);
  ASSERT_EQ(e.send(TM_SETBOOKMARK, 1, 5), 0);
  ASSERT_EQ(e.send(TM_SETBOOKMARK, 2, 21), 0);
  ASSERT_EQ(e.send(TM_SETBOOKMARK, 3, 99), 0) << "clamped to the last line";
  expectBookmark(e, 3, 21);

  // Two lines inserted above line 10.
  e.select(3, 0, 3, 0);
  e.replace("new a\r\nnew b\r\n");
  expectBookmark(e, 0, 12);
  expectBookmark(e, 1, 7);
  expectBookmark(e, 2, 23);

  // One line deleted above it.
  e.select(1, 0, 2, 0);
  e.replace("");
  expectBookmark(e, 0, 11);
  EXPECT_EQ(e.line(11), "line 10");

  // Deleting the bookmarked line: the bookmark goes to the line that follows.
  e.select(11, 0, 12, 0);
  e.send(WM_CLEAR);
  expectBookmark(e, 0, 11);
  EXPECT_EQ(e.line(11), "line 11");

  // Deleting the last line: the bookmark goes to the line before.
  const long last = e.lineCount();
  e.send(TM_SETBOOKMARK, 4, last);
  e.select(last - 1, static_cast<SHORT>(e.line(last - 1).size()), last, 0);
  e.send(WM_CLEAR);
  expectBookmark(e, 4, last - 1);
  EXPECT_EQ(e.lineCount(), last - 1);

  // Deleting a block of lines around a bookmark: it goes to the line that
  // follows the block.
  e.send(TM_SETBOOKMARK, 5, 6);
  e.select(5, 0, 8, 0);
  e.send(WM_CLEAR);
  expectBookmark(e, 5, 5);
  EXPECT_EQ(e.line(5), "line 7");
}

// Deleting from the end of one line takes the next lines away, whatever
// node of the joined lines the editor keeps: a bookmark on a line whose
// text is all gone goes to the line after, one on a line whose text is
// left stays with that text.
TEST(EditorBookmarks, ABookmarkOnADeletedLineGoesToTheLineThatFollows) {
  NotifyWindow parent;
  Editor e(parent);
  std::string text;
  for (int i = 1; i <= 12; ++i) text += "line" + std::to_string(i) + (i < 12 ? "\r\n" : "");
  e.setText(text);
  auto lineOf = [&](WPARAM index) { return e.line(e.send(TM_GETBOOKMARK, index)); };

  // From the end of "line9" to the end of "line10" (bookmarked).
  e.send(TM_SETBOOKMARK, 0, 10);
  e.send(TM_SETBOOKMARK, 1, 9);
  e.select(9, 5, 10, 6);
  ASSERT_EQ(e.send(WM_CLEAR), 0);
  EXPECT_EQ(lineOf(0), "line11");
  EXPECT_EQ(lineOf(1), "line9") << "the line the deletion started in stays";

  // Backspace at the start of a line joins it to the one above: its text
  // is left, and its bookmark stays with it.
  e.send(TM_SETBOOKMARK, 2, 3);
  e.select(3, 0, 3, 0);
  e.send(WM_CHAR, VK_BACK, 1);
  EXPECT_EQ(e.line(2), "line2line3");
  EXPECT_EQ(lineOf(2), "line2line3");

  // Deleting the last lines from the end of the line before: the bookmark
  // goes to that line, as nothing follows.
  const long last = e.lineCount();
  e.send(TM_SETBOOKMARK, 3, last);
  e.select(last - 2, 5, last, 6);
  ASSERT_EQ(e.send(WM_CLEAR), 0);
  EXPECT_EQ(e.send(TM_GETBOOKMARK, 3), e.lineCount());
  EXPECT_EQ(lineOf(3), "line9");

  // Undo brings the lines back; the bookmarks stay where they went.
  e.send(EM_UNDO, 0);
  EXPECT_EQ(e.line(e.lineCount()), "line12");
}

TEST(EditorBookmarks, IndexRangeCaretLineAndAppearance) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("a\r\nb\r\nc");
  e.select(2, 1, 2, 1);
  EXPECT_EQ(e.send(TM_SETBOOKMARK, 15, 0), 0) << "line 0 is the caret line";
  expectBookmark(e, 15, 2);
  EXPECT_EQ(e.send(TM_SETBOOKMARK, 16, 1), -1) << "16 bookmarks at creation";
  EXPECT_EQ(e.send(TM_SETBOOKMARKLOOK, 16 + (TIVRA_BOOKMARK_FOREGROUND << 8), RGB(1, 2, 3)), -1);
  EXPECT_EQ(e.send(TM_SETBOOKMARKLOOK, 3 + ((TIVRA_BOOKMARK_FOREGROUND | TIVRA_BOOKMARK_SETMARK1) << 8), RGB(1, 2, 3)),
            0);

  e.send(TM_SETBOOKMARKCOUNT, 40);
  EXPECT_EQ(e.send(TM_SETBOOKMARK, 39, 3), 0);
  EXPECT_EQ(e.send(TM_SETBOOKMARK, 40, 3), -1);
  expectBookmark(e, 30, 1);
  EXPECT_EQ(e.send(TM_GETBOOKMARK, 15), 2) << "existing bookmarks keep their lines";
  e.send(TM_SETBOOKMARKCOUNT, 1000);
  EXPECT_EQ(e.send(TM_SETBOOKMARK, 255, 3), 0);
  e.send(TM_SETBOOKMARKCOUNT, 0);
  EXPECT_EQ(e.send(TM_SETBOOKMARK, 1, 3), 0) << "at least indexes 0 and 1";
  EXPECT_EQ(e.send(TM_SETBOOKMARK, 2, 3), -1);
}

}  // namespace
