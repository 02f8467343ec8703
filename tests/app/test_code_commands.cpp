// The code check and the clean-up commands of the main window: the check's
// report in its message box and from the command line, stripping the
// codes, codes in upper case (by the command and before saving) and line
// wrapping.
#include "component/tivra_component.h"
#include "mainwindow/kestrin.h"
#include "program_run.h"
#include "scripted_responder.h"
#include "settings/indstillinger.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>

#include <fstream>

namespace {

using testing_support::ScriptedResponder;

std::string fileBytes(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CodeCommands : public ::testing::Test {
 protected:
  TKestrin& k() { return run.kestrin(); }
  TTivra& e() { return *k().activeEditor(); }
  QAction* command(const char* name) {
    QAction* a = k().command(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
  }
  void openMenu(const char* name) { emit k().findChild<QMenu*>(QString::fromLatin1(name))->aboutToShow(); }
  void setText(const std::string& bytes) {
    e().setTextBytes(bytes);
    e().EmptyUndoBuffer();
  }
  std::string undone() {
    e().Undo();
    return e().TextBytes();
  }

  app_test::ProgramRun run;
};

TEST_F(CodeCommands, TheCheckShowsItsReportInAMessageBox) {
  QAction* check = command("checkCodes");
  EXPECT_EQ(check->text(), "Tje&k HTML-koder");
  EXPECT_EQ(check->shortcut(), QKeySequence(Qt::Key_F9));

  // An empty page cannot be checked: no message at all.
  openMenu("functionsMenu");
  EXPECT_FALSE(check->isEnabled());
  ScriptedResponder responder;
  k().codeCommands().checkHtmlCodes();
  EXPECT_TRUE(responder.seen().empty());

  // A start code split over lines 3 and 4, and a table that is not closed.
  // F9 is ready as soon as there is text, without opening the menu again.
  setText("<HTML>\r\n<BODY>\r\n<TABLE\r\nBORDER=1>\r\n<TR><TD>x</TD></TR>\r\n</BODY>\r\n</html>");
  EXPECT_TRUE(check->isEnabled());
  responder.answer(IDOK);
  check->trigger();
  EXPECT_EQ(responder.last().caption, "Brimvale's Morvel");
  EXPECT_EQ(
      responder.last().text,
      "Morvel fandt et ulige antal \"<\" og \">\" i linierne 3, 4 .- Der er 1 flere \"<TABLE\" end \"</TABLE>\"\n");

  setText("<HTML><BODY><B>fed</B></BODY></HTML>");
  responder.answer(IDOK);
  check->trigger();
  EXPECT_EQ(responder.last().text, "Morvel fandt ingen fejl i koden.");
  // Checking changes nothing.
  EXPECT_EQ(e().TextBytes(), "<HTML><BODY><B>fed</B></BODY></HTML>");
  EXPECT_FALSE(e().CanUndo());
}

TEST_F(CodeCommands, StrippingTheCodesLeavesTheWordsAndIsUndoneInTwoSteps) {
  QAction* strip = command("stripCodes");
  EXPECT_EQ(strip->text(), "Slet &HTML-koder");
  openMenu("editMenu");
  EXPECT_FALSE(strip->isEnabled());

  const std::string page = "a > b<P>F\xF8rste<BR>\r\n\r\n<B>fed</B>\r\n";
  setText(page);
  openMenu("editMenu");
  EXPECT_TRUE(strip->isEnabled());
  strip->trigger();
  // The stray ">" stays, and the empty line goes.
  EXPECT_EQ(e().TextBytes(), "a > bF\xF8rste\r\nfed\r\n");
  EXPECT_EQ(undone(), "");
  EXPECT_EQ(undone(), page);
}

TEST_F(CodeCommands, UpperCaseCodesKeepValuesCommentsScriptsTextAndTheSelection) {
  QAction* upper = command("codesToUpperCase");
  EXPECT_EQ(upper->text(), "Konver&ter koder til store bogstaver");
  const std::string page =
      "<a href=\"side.htm\" target=_blank>link</a>\r\n"
      "<!-- en kommentar --><b>fed</b>\r\n"
      "<script>if (a<b) x();</script>\r\n"
      "sidste linie med \xE6\r\n";
  setText(page);
  e().setStartLine(1);
  e().setStartPos(37);
  e().setEndLine(1);
  e().setEndPos(33);
  e().SetSelection();
  upper->trigger();
  EXPECT_EQ(e().TextBytes(),
            "<A HREF=\"side.htm\" TARGET=_blank>link</A>\r\n"
            "<!-- en kommentar --><B>fed</B>\r\n"
            "<SCRIPT>if (a<b) x();</SCRIPT>\r\n"
            "sidste linie med \xE6\r\n");
  e().GetSelection();
  EXPECT_EQ(e().StartPos(), 37);
  EXPECT_EQ(e().EndPos(), 33);
  EXPECT_EQ(e().SelTextBytes(), "link");
  EXPECT_EQ(undone(), "");
  EXPECT_EQ(undone(), page);
}

TEST_F(CodeCommands, SavingWritesCodesInUpperCaseWhenTheSettingIsOn) {
  run.changeSettings([](morvel::Settings& s) {
    s.automaticDate = false;
    s.generatorLine = false;
    s.codesInUpperCase = true;
  });
  const QString page = run.dir.filePath(QStringLiteral("side.htm"));
  std::ofstream(page.toStdString(), std::ios::binary) << "<p align=center>tekst</p>\r\n";
  ASSERT_TRUE(k().openFile(page));
  ASSERT_TRUE(k().saveDocument(0));
  EXPECT_EQ(fileBytes(page), "<P ALIGN=center>tekst</P>\r\n");

  // A text without codes is not touched, so nothing is there to undo.
  const QString plain = run.dir.filePath(QStringLiteral("ren.htm"));
  std::ofstream(plain.toStdString(), std::ios::binary) << "bare tekst\r\n";
  ASSERT_TRUE(k().openFile(plain));
  ASSERT_TRUE(k().saveDocument(1));
  EXPECT_EQ(fileBytes(plain), "bare tekst\r\n");
  EXPECT_FALSE(e().CanUndo());
}

TEST_F(CodeCommands, LineWrappingIsSwitchedPerDocument) {
  QAction* wrap = command("wordWrap");
  EXPECT_EQ(wrap->text(), "&Tekstombrydning");
  const bool initially = e().WordWrap();
  EXPECT_EQ(initially, k().settings().wordWrap);
  wrap->trigger();
  EXPECT_EQ(e().WordWrap(), !initially);
  EXPECT_EQ(wrap->isChecked(), !initially);
  EXPECT_EQ(e().ScrollBars(), initially ? TTivraScrollStyle::lsBoth : TTivraScrollStyle::lsVertical);

  // Another document keeps its own wrapping, and the check mark follows it.
  k().newDocument();
  EXPECT_EQ(e().WordWrap(), initially);
  EXPECT_EQ(wrap->isChecked(), initially);
  k().activateDocument(0);
  EXPECT_EQ(wrap->isChecked(), !initially);
}

// ---------------------------------------------------------------------------
// morvex --check

class CheckFromTheCommandLine : public ::testing::Test {
 protected:
  struct Outcome {
    int exitCode;
    std::string out;
    QString errors;
  };
  Outcome check(const QStringList& files) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Neither a screen nor the settings are needed: a platform that does
    // not exist would end the program, and the store must stay unwritten.
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("ingen-skaerm"));
    env.insert(QStringLiteral("MORVEL_CONFIG"), store());
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(MORVEX_EXECUTABLE), QStringList{QStringLiteral("--check")} + files);
    EXPECT_TRUE(p.waitForFinished(120000));
    return Outcome{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
                   QString::fromUtf8(p.readAllStandardError())};
  }
  void write(const char* name, const std::string& bytes) {
    std::ofstream(dir.filePath(QString::fromLatin1(name)).toStdString(), std::ios::binary) << bytes;
  }
  QString store() const { return dir.filePath(QStringLiteral("Morvel.ini")); }

  QTemporaryDir dir;
};

TEST_F(CheckFromTheCommandLine, ExitStatusAndReportsTellWhichPagesHaveFaults) {
  write("god.htm", "<HTML><BODY>Hej</BODY></HTML>\r\n");
  write("fejl.htm", "<html>\r\n<b>fed\r\n</html>\r\n<TD></TD></TD>");

  Outcome r = check({QStringLiteral("god.htm")});
  EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
  EXPECT_EQ(r.out, "god.htm:\nMorvel fandt ingen fejl i koden.\n");

  r = check({QStringLiteral("god.htm"), QStringLiteral("fejl.htm")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out,
            "god.htm:\nMorvel fandt ingen fejl i koden.\n"
            "fejl.htm:\n- Der er 1 flere \"<B>\" end \"</B>\"\n- Der er 1 flere \"</TD>\" end \"<TD\"\n");
  EXPECT_TRUE(r.errors.isEmpty());

  // A file that cannot be read: its own status and a message, the others checked.
  r = check({QStringLiteral("mangler.htm"), QStringLiteral("fejl.htm")});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.errors, "morvex: Kan ikke læse filen mangler.htm.\n");
  EXPECT_EQ(r.out.rfind("fejl.htm:\n", 0), 0u);

  r = check({});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.errors, "morvex: --check skal efterfølges af et eller flere filnavne.\n");
  EXPECT_FALSE(QFileInfo::exists(store()));
}

}  // namespace
