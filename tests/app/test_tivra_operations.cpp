// TTivra's operations: the messages that carry each one out, and nothing
// while the window does not exist.
#include "tivra_recorder.h"

#include "interaction.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>

using app_test::RecordingTivra;
using app_test::Sent;

namespace {

// Cancels the dialogs and messages that the editor's commands open.
class CancelEverything {
 public:
  CancelEverything() {
    previous_ = platform::setResponder(
        [](platform::Request& r) { return r.kind == platform::RequestKind::MessageBox ? IDCANCEL : 0; });
  }
  ~CancelEverything() { platform::setResponder(std::move(previous_)); }

 private:
  platform::Responder previous_;
};

TEST(TivraOperations, NothingHappensBeforeTheWindowExists) {
  TTivra t;
  t.InsertText(QStringLiteral("tabt"));
  t.AppendText(QStringLiteral("tabt"));
  t.ClearAll();
  t.DeleteLineAt(1);
  t.SelectAll();
  t.SetSelection();
  EXPECT_FALSE(t.CanUndo());
  EXPECT_EQ(t.LineCount(), 0);
  EXPECT_EQ(t.LineLength(1), 0);
  EXPECT_EQ(t.GetLineText(1), "");
  EXPECT_EQ(t.SelLength(), 0);
  EXPECT_EQ(t.Find(QStringLiteral("x")), 0);
  EXPECT_EQ(t.FindInRange(QStringLiteral("x")), 0);
  EXPECT_EQ(t.TokenAtCaret(), 4);
  EXPECT_FALSE(t.Modified());
  int line = 0, column = 0;
  EXPECT_FALSE(t.PositionFromPoint(1, 1, line, column));
  QTemporaryDir dir;
  EXPECT_FALSE(t.LoadFile(dir.filePath(QStringLiteral("a.htm"))));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.htm"))));
  // The operations were not kept for later; the stored text was.
  t.setText(QStringLiteral("gemt"));
  t.HandleNeeded();
  EXPECT_EQ(t.Text(), "gemt");
}

TEST(TivraOperations, CommandsAndEditMessages) {
  CancelEverything cancel;
  RecordingTivra t;
  t.HandleNeeded();
  t.take();
  t.SelectAll();
  t.FindDialog();
  t.FindNext();
  t.ReplaceDialog();
  t.GotoLineDialog();
  t.PrintSetup();
  t.PrintText();
  t.NewText();
  std::vector<WPARAM> commands;
  for (const Sent& s : t.takeCommands()) {
    if (s.msg == WM_COMMAND) commands.push_back(s.wParam);
  }
  EXPECT_EQ(commands, (std::vector<WPARAM>{1018, 1021, 1022, 1023, 1025, 1007, 1006, 1001}));

  t.Undo();
  t.Redo();
  t.CanUndo();
  t.CanRedo();
  t.Cut();
  t.Copy();
  t.Paste();
  t.ClearSelection();
  t.ClearAll();
  t.EmptyUndoBuffer();
  const std::vector<Sent> sent = t.takeCommands();
  std::vector<std::pair<UINT, WPARAM>> got;
  for (const Sent& s : sent) got.push_back({s.msg, s.wParam});
  const std::vector<std::pair<UINT, WPARAM>> expected = {
      {TM_UNDO, 0}, {TM_UNDO, 1},  {EM_CANUNDO, 0}, {EM_CANUNDO, 1}, {WM_CUT, 0},
      {WM_COPY, 0}, {WM_PASTE, 0}, {WM_CLEAR, 0},   {WM_CLEAR, 1},   {EM_EMPTYUNDOBUFFER, 0}};
  EXPECT_EQ(got, expected);
}

TEST(TivraOperations, SelectionsAndTheirText) {
  TTivra t;
  t.HandleNeeded();
  t.setText(QStringLiteral("første\r\nanden linie"));
  t.setStartLine(2);
  t.setStartPos(6);
  t.setEndLine(2);
  t.setEndPos(11);
  t.SetSelection();
  EXPECT_EQ(t.SelLength(), 5);
  EXPECT_EQ(t.SelText(), "linie");
  t.setStartLine(1);
  t.setEndPos(0);
  t.GetSelection();
  EXPECT_EQ(t.StartLine(), 2);
  EXPECT_EQ(t.EndPos(), 11);
  t.InsertText(QStringLiteral("række"));
  EXPECT_EQ(t.Text(), "første\r\nanden række");
  EXPECT_EQ(t.LineCount(), 2);
  EXPECT_EQ(t.LineLength(1), 6);
  EXPECT_EQ(t.GetLineText(1), "første");
  EXPECT_EQ(t.GetLineBytes(1), "f\xF8rste");
}

TEST(TivraOperations, LineNumbersBeyond16BitsTravelInTheBuffer) {
  RecordingTivra t;
  t.HandleNeeded();
  t.setText(QStringLiteral("a\r\nb"));
  t.take();
  EXPECT_EQ(t.GetLineText(2), "b");
  EXPECT_EQ(t.GetLineText(70000), "");
  EXPECT_EQ(t.GetLineText(0), "");
  const std::vector<Sent> sent = t.takeCommands();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].wParam, 2u);
  EXPECT_EQ(sent[1].wParam, 0u);
  EXPECT_EQ(sent[1].firstNumber, 70000);
  EXPECT_EQ(sent[2].wParam, 0u);
  EXPECT_EQ(sent[2].firstNumber, 0);
}

TEST(TivraOperations, AppendAndDeleteLines) {
  TTivra t;
  t.HandleNeeded();
  t.setText(QStringLiteral("a\r\nb\r\nc"));
  t.AppendText(QStringLiteral("d"));
  EXPECT_EQ(t.Text(), "a\r\nb\r\ncd");
  t.DeleteLineAt(2);
  EXPECT_EQ(t.Text(), "a\r\ncd");
  t.DeleteLineAt(-3);  // the first line
  EXPECT_EQ(t.Text(), "cd");
  t.setText(QStringLiteral("a\r\nb"));
  t.EmptyUndoBuffer();
  t.DeleteLineAt(9);  // no such line: nothing happens
  EXPECT_EQ(t.Text(), "a\r\nb");
  EXPECT_FALSE(t.CanUndo());
  t.DeleteLineAt(2);  // the whole last line
  EXPECT_EQ(t.Text(), "a\r\n");
}

TEST(TivraOperations, ModifiedUsesTheComponentsBitIndex) {
  TTivra t;
  t.HandleNeeded();
  t.setText(QStringLiteral("ændret"));
  EXPECT_TRUE(t.Modified());
  t.SetModified(false);  // bit 0 is the editor's own
  EXPECT_TRUE(t.Modified());
  t.setModifiedBit(2);
  EXPECT_TRUE(t.Modified());
  t.SetModified(false);
  EXPECT_FALSE(t.Modified());
  t.AppendText(QStringLiteral("!"));
  EXPECT_TRUE(t.Modified());
}

TEST(TivraOperations, FindAndReplaceMessages) {
  CancelEverything cancel;
  RecordingTivra t;
  t.HandleNeeded();
  t.take();
  t.Find(QString(200, QLatin1Char('x')));
  std::vector<Sent> sent = t.takeCommands();
  ASSERT_EQ(RecordingTivra::ids(sent), (std::vector<UINT>{TM_SETFINDTEXT, TM_FIND}));
  EXPECT_EQ(sent[0].text, std::string(125, 'x'));
  EXPECT_EQ(sent[1].wParam, 0u);
  EXPECT_EQ(sent[1].lParam, 0);

  t.setStartLine(1);
  t.setEndLine(1);
  t.setStartPos(0);
  t.setEndPos(0);
  t.FindInRange(QStringLiteral("y"));
  sent = t.takeCommands();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_NE(sent[1].lParam, 0);
  EXPECT_EQ(sent[1].range, (TivraRange{0, 0, 1, 1}));

  t.Replace(QStringLiteral("a"), QStringLiteral("b"));
  t.ReplaceAll(QStringLiteral("c"), QStringLiteral("d"));
  sent = t.takeCommands();
  ASSERT_EQ(RecordingTivra::ids(sent),
            (std::vector<UINT>{TM_SETFINDTEXT, TM_SETFINDTEXT, TM_FIND, TM_SETFINDTEXT, TM_SETFINDTEXT, TM_FIND}));
  EXPECT_EQ(sent[1].wParam, 1u);
  EXPECT_EQ(sent[1].text, "b");
  EXPECT_EQ(sent[2].wParam, 1u);
  EXPECT_EQ(sent[5].wParam, 2u);
}

TEST(TivraOperations, FindDirectionKeepsTheOtherOptions) {
  TTivra t;
  t.HandleNeeded();
  auto options = [&t] { return SendMessage(t.Handle(), TM_GETFINDOPTIONS, 0, 0); };
  SendMessage(t.Handle(), TM_SETFINDOPTIONS, 0, 0xF);
  t.SetFindDirection(0);
  EXPECT_EQ(options(), TIVRA_FIND_WHOLEWORD | TIVRA_FIND_MATCHCASE | TIVRA_FIND_UP);
  t.SetFindDirection(2);
  EXPECT_EQ(options(), TIVRA_FIND_WHOLEWORD | TIVRA_FIND_MATCHCASE | TIVRA_FIND_WRAP);
  t.SetFindDirection(1);
  EXPECT_EQ(options(), TIVRA_FIND_WHOLEWORD | TIVRA_FIND_MATCHCASE);
}

TEST(TivraOperations, TokenAtTheCaretAndPositionAtAPoint) {
  TTivra t;
  t.resize(300, 100);
  t.HandleNeeded();
  t.setText(QStringLiteral("hello world"));
  t.setStartPos(8);
  t.setEndPos(8);
  t.SetSelection();
  ASSERT_EQ(t.TokenAtCaret(), 0);
  EXPECT_STREQ(t.Token().WordStr, "world");
  EXPECT_EQ(t.Token().WordType, TIVRA_TOKEN_WORD);
  t.setText(QString());
  EXPECT_EQ(t.TokenAtCaret(), 4);

  t.setText(QStringLiteral("a\r\nb\r\nc"));
  int line = 0, column = -1;
  ASSERT_TRUE(t.PositionFromPoint(1, 1, line, column));
  EXPECT_EQ(line, 1);
  EXPECT_EQ(column, 0);
}

TEST(TivraOperations, FilesByNameAndNamesThatCannotBeSent) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("æble.htm"));
  std::ofstream(path.toStdString()) << "<B>\xE6</B>";
  RecordingTivra t;
  t.HandleNeeded();
  ASSERT_TRUE(t.LoadFile(path));
  EXPECT_EQ(t.TextBytes(), "<B>\xE6</B>");
  t.take();
  EXPECT_FALSE(t.LoadFile(QString()));
  EXPECT_FALSE(t.LoadFile(QStringLiteral("<<untitled>>")));
  EXPECT_FALSE(t.LoadFile(QStringLiteral("<<Ikke navngivet>>")));
  // A name the code page cannot spell is refused, not loaded (or created)
  // under a name with "?" in it.
  EXPECT_FALSE(t.LoadFile(dir.filePath(QStringLiteral("жук.htm"))));
  EXPECT_FALSE(t.SaveFile(dir.filePath(QStringLiteral("жук.htm"))));
  EXPECT_TRUE(t.takeCommands().empty());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("æble.htm")});
  EXPECT_EQ(t.TextBytes(), "<B>\xE6</B>");
}

}  // namespace
