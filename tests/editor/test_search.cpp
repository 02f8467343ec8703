// Searching a Tivra32 window: find next, replace and replace all through
// TM_FIND and through the find and replace dialogs, go to line, bookmarks
// and bracket matching.
#include "editor_harness.h"
#include "keyboard.h"
#include "scripted_responder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <string>
#include <vector>

using editor_test::Editor;
using editor_test::key;
using editor_test::NotifyWindow;
using editor_test::range;
using Lines = std::vector<std::string>;

namespace {

void setFind(const Editor& e, const std::string& text, LPARAM options, const std::string& replacement = "") {
  ASSERT_EQ(e.send(TM_SETFINDTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())), 0);
  ASSERT_EQ(e.send(TM_SETFINDTEXT, 1, reinterpret_cast<LPARAM>(replacement.c_str())), 0);
  ASSERT_EQ(e.send(TM_SETFINDOPTIONS, 0, options), 0);
}

// Find next from the selection; the matches in the order found, until
// nothing more is found (the parent claims the not-found notification).
std::vector<TivraRange> allMatches(const Editor& e, NotifyWindow& parent) {
  int notFound = 0;
  parent.handlers[TM_FINDNOTIFY] = [&](WPARAM, LPARAM code) -> LRESULT {
    EXPECT_EQ(code, 0);
    ++notFound;
    return 1;
  };
  std::vector<TivraRange> found;
  while (notFound == 0 && found.size() < 20) {
    const TivraRange before = e.selection();
    if (e.send(TM_FIND, 0) == 1)
      found.push_back(e.selection());
    else
      EXPECT_EQ(e.selection(), before) << "a failed search leaves the selection";
  }
  parent.handlers.erase(TM_FINDNOTIFY);
  return found;
}

using R = std::vector<TivraRange>;

QDialog* visibleDialog(const char* name) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == name && w->isVisible()) return qobject_cast<QDialog*>(w);
  }
  return nullptr;
}

template <typename T>
T* control(QDialog* dialog, const char* name) {
  T* c = dialog ? dialog->findChild<T*>(name) : nullptr;
  EXPECT_TRUE(c) << "no control " << name;
  return c;
}

const char* const kWords = "Font font FONT\r\nfonts afont font_x\r\nen f\xF8nt F\xD8NT font.";

// ---------------------------------------------------------------------------
// Find next

TEST(EditorFind, CaseAndWholeWordsDownwards) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText(kWords);
  setFind(e, "font", 0);
  EXPECT_EQ(allMatches(e, parent), (R{range(1, 0, 1, 4), range(1, 5, 1, 9), range(1, 10, 1, 14), range(2, 0, 2, 4),
                                      range(2, 7, 2, 11), range(2, 12, 2, 16), range(3, 13, 3, 17)}));
  e.select(1, 0, 1, 0);
  setFind(e, "font", TIVRA_FIND_MATCHCASE);
  EXPECT_EQ(allMatches(e, parent),
            (R{range(1, 5, 1, 9), range(2, 0, 2, 4), range(2, 7, 2, 11), range(2, 12, 2, 16), range(3, 13, 3, 17)}));
  e.select(1, 0, 1, 0);
  setFind(e, "font", TIVRA_FIND_WHOLEWORD);
  EXPECT_EQ(allMatches(e, parent), (R{range(1, 0, 1, 4), range(1, 5, 1, 9), range(1, 10, 1, 14), range(3, 13, 3, 17)}))
      << "letters, digits and '_' are word characters; '.' is not";
  e.select(1, 0, 1, 0);
  setFind(e, "font", TIVRA_FIND_WHOLEWORD | TIVRA_FIND_MATCHCASE);
  EXPECT_EQ(allMatches(e, parent), (R{range(1, 5, 1, 9), range(3, 13, 3, 17)}));
  e.select(1, 0, 1, 0);
  setFind(e, "F\xD8nt", TIVRA_FIND_WHOLEWORD);
  EXPECT_EQ(allMatches(e, parent), (R{range(3, 3, 3, 7), range(3, 8, 3, 12)})) << "Danish letters fold their case";
}

TEST(EditorFind, UpwardsFromTheSelectionStartAndNoWrap) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText(kWords);
  e.select(3, 18, 3, 18);
  setFind(e, "font", TIVRA_FIND_UP | TIVRA_FIND_WHOLEWORD | TIVRA_FIND_WRAP);
  EXPECT_EQ(allMatches(e, parent), (R{range(3, 13, 3, 17), range(1, 10, 1, 14), range(1, 5, 1, 9), range(1, 0, 1, 4)}))
      << "upward searches stop at the start of the text";
  e.select(3, 18, 3, 18);
  setFind(e, "font", TIVRA_FIND_UP | TIVRA_FIND_MATCHCASE);
  EXPECT_EQ(allMatches(e, parent),
            (R{range(3, 13, 3, 17), range(2, 12, 2, 16), range(2, 7, 2, 11), range(2, 0, 2, 4), range(1, 5, 1, 9)}));

  // From (1, 0) upwards there is nothing: the user is told.
  testing_support::ScriptedResponder responder;
  responder.answer(IDOK);
  e.select(1, 0, 1, 0);
  EXPECT_EQ(e.send(TM_FIND, 0), 0);
  ASSERT_EQ(responder.seen().size(), 1u);
  EXPECT_EQ(responder.last().text, QString::fromUtf8("Søgningen gav intet resultat"));
  EXPECT_EQ(responder.last().caption, "Tivra V2.09 (32-bit)");
  EXPECT_EQ(responder.last().flags & MB_ICONMASK, MB_ICONINFORMATION);
}

TEST(EditorFind, DownwardsWrapsOnceToTheStart) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("one two\r\none");
  setFind(e, "one", TIVRA_FIND_WRAP | TIVRA_FIND_WHOLEWORD);
  e.select(2, 3, 2, 3);
  EXPECT_EQ(e.send(TM_FIND, 0), 1);
  EXPECT_EQ(e.selection(), range(1, 0, 1, 3));
  EXPECT_EQ(e.send(TM_FIND, 0), 1);
  EXPECT_EQ(e.selection(), range(2, 0, 2, 3));
  EXPECT_EQ(e.send(TM_FIND, 0), 1);
  EXPECT_EQ(e.selection(), range(1, 0, 1, 3));

  // Nothing anywhere: one notification, and the selection stays.
  setFind(e, "three", TIVRA_FIND_WRAP);
  e.select(1, 4, 1, 7);
  std::vector<LPARAM> codes;
  parent.handlers[TM_FINDNOTIFY] = [&](WPARAM editor, LPARAM code) -> LRESULT {
    EXPECT_EQ(reinterpret_cast<HWND>(editor), e.hwnd());
    codes.push_back(code);
    return 1;
  };
  EXPECT_EQ(e.send(TM_FIND, 0), 0);
  EXPECT_EQ(codes, (std::vector<LPARAM>{0}));
  EXPECT_EQ(e.selection(), range(1, 4, 1, 7));
}

TEST(EditorFind, ARangeIsSearchedFromAndWrittenBack) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText(kWords);
  setFind(e, "font", TIVRA_FIND_WHOLEWORD);
  e.select(1, 1, 1, 2);
  TivraRange r = range(1, 9, 1, 9);
  EXPECT_EQ(e.send(TM_FIND, 0, reinterpret_cast<LPARAM>(&r)), 1);
  EXPECT_EQ(r, range(1, 10, 1, 14));
  EXPECT_EQ(e.send(TM_FIND, 0, reinterpret_cast<LPARAM>(&r)), 1);
  EXPECT_EQ(r, range(3, 13, 3, 17));
  EXPECT_EQ(e.selection(), range(1, 1, 1, 2)) << "the window's selection is left alone";
  TivraRange before = range(-5, -3, -1, 400);
  EXPECT_EQ(e.send(TM_FIND, 0, reinterpret_cast<LPARAM>(&before)), 1) << "a range before the text starts at (1, 0)";
  EXPECT_EQ(before, range(1, 0, 1, 4));
  TivraRange after = range(3, 2, 99, 3);
  e.send(TM_SETFINDOPTIONS, 0, TIVRA_FIND_WHOLEWORD | TIVRA_FIND_WRAP);
  EXPECT_EQ(e.send(TM_FIND, 0, reinterpret_cast<LPARAM>(&after)), 1) << "a range after the text ends at its end";
  EXPECT_EQ(after, range(1, 0, 1, 4));
}

TEST(EditorFind, WithoutAFindTextNothingHappens) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("text");
  EXPECT_EQ(e.send(TM_HASFINDTEXT), 0);
  EXPECT_EQ(e.send(TM_COMMANDSTATE, TCMD_FINDNEXT), 0);
  EXPECT_EQ(e.send(TM_FIND, 0), -1);
  EXPECT_EQ(e.send(TM_FIND, 2), -1);
  e.send(WM_COMMAND, TCMD_FINDNEXT);
  editor_test::key(e, VK_F3);
  EXPECT_EQ(e.selection(), range(1, 0, 1, 0));
  setFind(e, "x", 0);
  EXPECT_EQ(e.send(TM_COMMANDSTATE, TCMD_FINDNEXT), 1);
  editor_test::key(e, VK_F3);
  EXPECT_EQ(e.selection(), range(1, 2, 1, 3)) << "F3 finds next";
}

// ---------------------------------------------------------------------------
// Replace

TEST(EditorReplace, ReplaceOnlyASelectedMatch) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("Morvel and MORVEL");
  setFind(e, "morvel", 0, "Tivra");
  e.select(1, 0, 1, 4);
  EXPECT_EQ(e.send(TM_FIND, 1), 0) << "the selection is not the find text";
  EXPECT_EQ(e.text(), "Morvel and MORVEL");
  e.select(1, 11, 1, 17);
  EXPECT_EQ(e.send(TM_FIND, 1), 1);
  EXPECT_EQ(e.text(), "Morvel and Tivra");
  EXPECT_EQ(e.selection(), range(1, 11, 1, 16)) << "no further search through TM_FIND";
  e.send(EM_UNDO, 0);
  e.send(EM_UNDO, 0);
  EXPECT_EQ(e.text(), "Morvel and MORVEL") << "a replacement is two undo steps";
}

TEST(EditorReplace, ReplaceAllCountsAndTerminatesWhenTheReplacementHoldsTheFindText) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("banana\r\na\r\nbread");
  setFind(e, "a", 0, "aa");
  e.select(3, 1, 3, 2);
  EXPECT_EQ(e.send(TM_FIND, 2), 5);
  EXPECT_EQ(e.lines(), (Lines{"baanaanaa", "aa", "breaad"}));
  for (int i = 0; i < 10; ++i) e.send(EM_UNDO, 0);
  EXPECT_EQ(e.lines(), (Lines{"banana", "a", "bread"})) << "each replacement is its own undo steps";

  setFind(e, "FONT", TIVRA_FIND_WHOLEWORD, "SKRIFT");
  e.setText("<font> fonts FONT font");
  EXPECT_EQ(e.send(TM_FIND, 2), 3);
  EXPECT_EQ(e.text(), "<SKRIFT> fonts SKRIFT SKRIFT");

  setFind(e, "nowhere", 0, "x");
  e.select(1, 2, 1, 5);
  EXPECT_EQ(e.send(TM_FIND, 2), 0);
  EXPECT_EQ(e.selection(), range(1, 2, 1, 5)) << "nothing replaced: the selection stays";

  setFind(e, "SKRIFT", TIVRA_FIND_MATCHCASE, "");
  EXPECT_EQ(e.send(TM_FIND, 2), 3);
  EXPECT_EQ(e.text(), "<> fonts  ") << "an empty replacement deletes";
}

// ---------------------------------------------------------------------------
// The dialogs

TEST(EditorFindDialog, SearchesWithTheDialogsChoicesAndKeepsThemWhenClosed) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText(kWords);
  setFind(e, "fon", 0);
  e.send(WM_COMMAND, TCMD_FIND);
  QDialog* dialog = visibleDialog("FindDialog");
  ASSERT_TRUE(dialog);
  auto* what = control<QLineEdit>(dialog, "findWhat");
  ASSERT_TRUE(what);
  EXPECT_EQ(what->text(), "fon") << "the dialog starts with the find text";
  EXPECT_EQ(what->maxLength(), 127);
  EXPECT_EQ(e.send(TM_SETFINDTEXT, 0, reinterpret_cast<LPARAM>("x")), -1) << "refused while the dialog is open";
  EXPECT_EQ(e.send(TM_SETFINDOPTIONS, 0, 0), -1);

  what->setText("font");
  control<QCheckBox>(dialog, "wholeWord")->setChecked(true);
  control<QPushButton>(dialog, "findNext")->click();
  EXPECT_EQ(e.selection(), range(1, 0, 1, 4));
  control<QPushButton>(dialog, "findNext")->click();
  EXPECT_EQ(e.selection(), range(1, 5, 1, 9));
  control<QRadioButton>(dialog, "up")->setChecked(true);
  control<QPushButton>(dialog, "findNext")->click();
  EXPECT_EQ(e.selection(), range(1, 0, 1, 4));

  dialog->reject();
  EXPECT_FALSE(visibleDialog("FindDialog"));
  EXPECT_EQ(e.send(TM_GETFINDOPTIONS), TIVRA_FIND_UP | TIVRA_FIND_WHOLEWORD) << "closing keeps the flags";
  char buffer[TIVRA_MAX_FIND_TEXT + 1] = {};
  e.send(TM_GETFINDTEXT, 0, reinterpret_cast<LPARAM>(buffer));
  EXPECT_STREQ(buffer, "font");
  EXPECT_EQ(e.send(TM_SETFINDTEXT, 0, reinterpret_cast<LPARAM>("x")), 0) << "accepted again";

  // Open again and destroy the editor with it: the dialog goes too.
  auto other = std::make_unique<Editor>(parent);
  other->send(WM_COMMAND, TCMD_FIND);
  ASSERT_TRUE(visibleDialog("FindDialog"));
  other.reset();
  EXPECT_FALSE(visibleDialog("FindDialog"));
}

TEST(EditorFindDialog, TheReplaceDialogReplacesFindsOnAndCounts) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("a cat, a cat\r\nand a cat");
  e.send(WM_COMMAND, TCMD_REPLACE);
  QDialog* dialog = visibleDialog("ReplaceDialog");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(control<QPushButton>(dialog, "cancel")->text(), "&Luk");
  EXPECT_EQ(control<QLineEdit>(dialog, "replaceWith")->maxLength(), 127);
  control<QLineEdit>(dialog, "findWhat")->setText("cat");
  control<QLineEdit>(dialog, "replaceWith")->setText("dog");
  auto* replace = control<QPushButton>(dialog, "replace");
  replace->click();
  EXPECT_EQ(e.text(), "a cat, a cat\r\nand a cat") << "the first press finds";
  EXPECT_EQ(e.selection(), range(1, 2, 1, 5));
  replace->click();
  EXPECT_EQ(e.text(), "a dog, a cat\r\nand a cat");
  EXPECT_EQ(e.selection(), range(1, 9, 1, 12)) << "and goes on to the next";

  testing_support::ScriptedResponder responder;
  responder.answer(IDOK);
  control<QPushButton>(dialog, "replaceAll")->click();
  EXPECT_EQ(e.text(), "a dog, a dog\r\nand a dog");
  ASSERT_EQ(responder.seen().size(), 1u);
  EXPECT_EQ(responder.last().text, "2 tilfælde erstattet");
  EXPECT_EQ(responder.last().flags & MB_ICONMASK, MB_ICONINFORMATION);

  e.setText("one cat");
  responder.answer(IDOK);
  control<QPushButton>(dialog, "replaceAll")->click();
  EXPECT_EQ(responder.last().text, QString::fromUtf8("Et tilfælde erstattet"));

  std::vector<LPARAM> counts;
  parent.handlers[TM_FINDNOTIFY] = [&](WPARAM, LPARAM code) -> LRESULT {
    counts.push_back(code);
    return 1;
  };
  e.setText("cat cat cat");
  control<QPushButton>(dialog, "replaceAll")->click();
  control<QPushButton>(dialog, "replaceAll")->click();
  EXPECT_EQ(counts, (std::vector<LPARAM>{3, 0})) << "the count, then nothing found";
  EXPECT_EQ(responder.seen().size(), 2u) << "the parent answered: no message";
  control<QPushButton>(dialog, "cancel")->click();
  EXPECT_FALSE(visibleDialog("ReplaceDialog"));
}

TEST(EditorFindDialog, ThePositionIsRemembered) {
  NotifyWindow parent;
  Editor e(parent);
  e.send(TM_SETDIALOGPOS, 1, MAKELONG(40, 50));
  e.send(WM_COMMAND, TCMD_FIND);
  QDialog* dialog = visibleDialog("FindDialog");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->pos(), QPoint(40, 50));
  dialog->move(120, 130);
  QApplication::processEvents();
  dialog->reject();
  e.send(WM_COMMAND, TCMD_REPLACE);
  dialog = visibleDialog("ReplaceDialog");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->pos(), QPoint(120, 130)) << "the find and replace dialogs share one place";
  dialog->reject();
}

TEST(EditorFindDialog, AGroupSharesOneDialogThatSearchesItsCurrentMember) {
  NotifyWindow parent;
  HWND group = CreateWindowEx(0, "TivraGroup32", "", WS_CHILD, 0, 0, 0, 0, parent.hwnd(), nullptr, nullptr, nullptr);
  ASSERT_TRUE(group);
  Editor a(parent);
  Editor b(parent);
  a.setText("one two one");
  b.setText("two one");
  a.send(TM_JOINGROUP, reinterpret_cast<WPARAM>(group));
  b.send(TM_JOINGROUP, reinterpret_cast<WPARAM>(group));
  b.send(WM_COMMAND, TCMD_FIND);
  QDialog* dialog = visibleDialog("FindDialog");
  ASSERT_TRUE(dialog);
  a.send(WM_COMMAND, TCMD_FIND);
  int dialogs = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) dialogs += w->objectName() == "FindDialog" && w->isVisible();
  EXPECT_EQ(dialogs, 1) << "one dialog for the group";

  control<QLineEdit>(dialog, "findWhat")->setText("one");
  control<QPushButton>(dialog, "findNext")->click();
  EXPECT_EQ(a.selection(), range(1, 0, 1, 3)) << "the group's current member searches";
  EXPECT_EQ(b.selection(), range(1, 0, 1, 0));
  char buffer[TIVRA_MAX_FIND_TEXT + 1] = {};
  a.send(TM_GETFINDTEXT, 0, reinterpret_cast<LPARAM>(buffer));
  EXPECT_STREQ(buffer, "one") << "the shared settings went to the member";

  SetFocus(b.hwnd());
  control<QPushButton>(dialog, "findNext")->click();
  EXPECT_EQ(b.selection(), range(1, 4, 1, 7)) << "the member with the focus is current";
  dialog->reject();
  EXPECT_FALSE(visibleDialog("FindDialog"));
  DestroyWindow(group);
}

// ---------------------------------------------------------------------------
// Go to line

TEST(EditorGoToLine, RefusesWhatIsNotALineAndSelectsTheLineGiven) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("one\r\ntwo\r\nthree\r\nfour\r\nfive");
  testing_support::ScriptedResponder responder;
  std::vector<QString> refusals;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::Form);
    EXPECT_EQ(r.caption, QString::fromUtf8("Vælg linienummer"));
    auto* field = r.form->findChild<QLineEdit*>("lineNumber");
    auto* ok = r.form->findChild<QPushButton*>("ok");
    auto* count = r.form->findChild<QLabel*>("lineCount");
    auto* prompt = r.form->findChild<QLabel*>("prompt");
    if (!field || !ok || !count || !prompt) {
      ADD_FAILURE() << "controls missing";
      return 0;
    }
    EXPECT_EQ(count->text(), "Der er 5 linier i teksten");
    EXPECT_EQ(prompt->text(), "&Skriv linienummer her:");
    EXPECT_EQ(field->maxLength(), 127);
    size_t tries = 0;
    for (const char* wrong : {"0", "6", "tre", "-2", "99999999999999"}) {
      field->setText(wrong);
      ok->click();
      EXPECT_EQ(refusals.size(), ++tries) << "refused with a message";
      EXPECT_EQ(field->selectedText(), wrong) << "the field's text is selected for another try";
    }
    field->setText(" 3 ");
    ok->click();
    return r.form->result();
  });
  for (int i = 0; i < 5; ++i) {
    responder.answer([&](platform::Request& r) {
      refusals.push_back(r.text);
      return IDOK;
    });
  }
  key(e, 'G', editor_test::kCtrl);
  EXPECT_EQ(responder.pending(), 0u);
  EXPECT_EQ(refusals, (std::vector<QString>{QString::fromUtf8("Tallet skal være mellem 1 og 5"),
                                            QString::fromUtf8("Tallet skal være mellem 1 og 5"), "Ugyldigt linienummer",
                                            QString::fromUtf8("Tallet skal være mellem 1 og 5"),
                                            QString::fromUtf8("Tallet skal være mellem 1 og 5")}));
  EXPECT_EQ(e.selection(), range(3, 0, 3, 5));

  // Cancelled: nothing moves.
  responder.answer([](platform::Request& r) {
    r.form->findChild<QPushButton*>("cancel")->click();
    return 0;
  });
  e.send(WM_COMMAND, TCMD_GOTOLINE);
  EXPECT_EQ(e.selection(), range(3, 0, 3, 5));
}

// ---------------------------------------------------------------------------
// Bookmarks

TEST(EditorBookmarks, ABookmarkFollowsItsLineAndTheCommandsUseBookmarkZero) {
  NotifyWindow parent;
  Editor e(parent);
  std::string text;
  for (int i = 1; i <= 20; ++i) text += "line " + std::to_string(i) + "\r\n";
  e.setText(text);
  ASSERT_EQ(e.send(TM_SETBOOKMARK, 1, 10), 0);
  e.select(3, 0, 3, 0);
  e.replace("new\r\nlines\r\n");
  EXPECT_EQ(e.send(TM_GETBOOKMARK, 1), 12) << "two lines inserted above";
  e.send(EM_UNDO, 0);
  EXPECT_EQ(e.send(TM_GETBOOKMARK, 1), 10);
  e.select(4, 2, 4, 2);
  key(e, 'Y', editor_test::kCtrl);
  EXPECT_EQ(e.send(TM_GETBOOKMARK, 1), 9) << "one line deleted above";

  e.select(7, 3, 7, 3);
  e.send(WM_COMMAND, TCMD_SETBOOKMARK);
  EXPECT_EQ(e.send(TM_GETBOOKMARK, 0), 7);
  e.select(1, 0, 1, 0);
  e.send(WM_COMMAND, TCMD_GOTOBOOKMARK);
  EXPECT_EQ(e.selection(), range(7, 0, 7, 6)) << "the bookmark's line is selected";
}

// ---------------------------------------------------------------------------
// Brackets

TEST(EditorBrackets, TheCounterpartIsFoundCountingNesting) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText("f(a, (b)) {\r\n  g(c) }\r\n(");
  parent.handlers[TM_CLASSIFYBRACKET] = [](WPARAM, LPARAM lParam) -> LRESULT {
    const std::string s = reinterpret_cast<const TivraToken*>(lParam)->WordStr;
    return s == "(" ? 2 : s == ")" ? 1 : s == "{" ? 6 : s == "}" ? 5 : 0;
  };
  e.select(1, 1, 1, 1);
  EXPECT_EQ(e.send(TM_COMMANDSTATE, TCMD_FINDBRACKET), 1);
  e.send(WM_COMMAND, TCMD_FINDBRACKET);
  EXPECT_EQ(e.selection(), range(1, 8, 1, 9)) << "the nested pair is skipped";
  e.select(1, 8, 1, 8);
  e.send(WM_COMMAND, TCMD_FINDBRACKET);
  EXPECT_EQ(e.selection(), range(1, 1, 1, 2)) << "a closing bracket is matched backwards";
  e.select(1, 10, 1, 10);
  e.send(WM_COMMAND, TCMD_FINDBRACKET);
  EXPECT_EQ(e.selection(), range(2, 7, 2, 8)) << "across lines, and the kinds of pair kept apart";

  e.select(1, 2, 1, 2);
  EXPECT_EQ(e.send(TM_COMMANDSTATE, TCMD_FINDBRACKET), 0);
  e.send(WM_COMMAND, TCMD_FINDBRACKET);
  EXPECT_EQ(e.selection(), range(1, 2, 1, 2)) << "not at a bracket: nothing happens";

  std::vector<LPARAM> codes;
  parent.handlers[TM_FINDNOTIFY] = [&](WPARAM, LPARAM code) -> LRESULT {
    codes.push_back(code);
    return 1;
  };
  e.select(3, 0, 3, 0);
  e.send(WM_COMMAND, TCMD_FINDBRACKET);
  EXPECT_EQ(codes, (std::vector<LPARAM>{-1})) << "no counterpart";
  EXPECT_EQ(e.selection(), range(3, 0, 3, 0));
}

}  // namespace
