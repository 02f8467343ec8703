// Pages come back as the user left them: real pages with LF, CR LF and CR
// line ends, Windows-1252 and UTF-8 bytes and lines longer than the editor
// takes, opened through the main window, edited and saved; names of files
// in any language; and the commands that find places in such pages (the
// code check, the edit-element command, the codes round a selection).
#include "commands/code_insertion.h"
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/status_bar.h"
#include "mainwindow/kestrin.h"
#include "pdf_reader.h"
#include "program_run.h"
#include "qtext.h"
#include "registry.h"
#include "scripted_responder.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>

#include <fstream>
#include <string>
#include <vector>

namespace {

using testing_support::ScriptedResponder;

std::string fileBytes(const QString& path) {
  std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Text of a minified script: no line end, and blanks only now and then.
std::string minified(std::size_t length) {
  std::string text;
  for (std::size_t i = 0; text.size() < length; ++i)
    text += "var v" + std::to_string(i) + "=f(" + std::to_string(i) + ");";
  text.resize(length);
  return text;
}

// A save dialog answered with the given full path.
ScriptedResponder::Handler saveAs(const QString& path) {
  return [path](platform::Request& r) {
    static_cast<platform::FileDialogRequest*>(r.data)->chosen = QStringList{path};
    return 1;
  };
}

class PageFiles : public ::testing::Test {
 protected:
  PageFiles() {
    run.environment.set("MORVEL_HOME", run.dir.path());
    // Saving writes the pages' own texts: no date or generator line.
    morvel::settings::write(run.store(), morvel::settings::indstillinger::Autodato, false);
    morvel::settings::write(run.store(), morvel::settings::indstillinger::Generator, false);
    run.restart();
  }

  TKestrin& k() { return run.kestrin(); }
  TTivra& active() { return *k().activeEditor(); }
  QString write(const QString& name, const std::string& bytes) {
    const QString path = run.dir.filePath(name);
    std::ofstream(QFile::encodeName(path).toStdString(), std::ios::binary) << bytes;
    return path;
  }
  void trigger(const char* name) {
    QAction* a = k().command(QString::fromLatin1(name));
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }
  QString panel(int i) { return k().StatusBar1()->PanelText(i); }
  // A letter typed and rubbed out at a place, as a user does.
  void typeAndRubOut(TTivra& e, morvel::TextPosition at) {
    morvel::select(e, at, at);
    SendMessage(e.Handle(), WM_CHAR, 'x', 0);
    SendMessage(e.Handle(), WM_CHAR, VK_BACK, 0);
  }

  app_test::ProgramRun run;
};

struct Page {
  const char* name;
  std::string bytes;
  const char* lineEnds;         // as the status bar shows them
  int longLines;                // lines longer than the editor takes
  morvel::TextPosition inside;  // a place for an insertion that is undone
};

TEST_F(PageFiles, EightRealPagesComeBackByteForByte) {
  const std::string script = minified(20000);
  const std::string pre(11334, '-');
  const std::vector<Page> pages{
      {"lf.htm", "<html>\n<head><title>LF</title></head>\n<body>\n<p>Linje</p>\n</body>\n</html>\n", "LF", 0, {3, 2}},
      {"crlf.htm",
       "<HTML>\r\n<BODY>\r\n<P>Bl\xE5"
       "b\xE6r og fl\xF8"
       "de</P>\r\n<P>\xA9 Anne \xC6rt\xF8</P>\r\n</BODY>\r\n</HTML>\r\n",
       "CR LF",
       0,
       {3, 4}},
      {"cr.htm", "<P>a</P>\r<P>b</P>\r\r<P>c</P>", "CR", 0, {2, 1}},
      {"utf8.htm",
       "<meta charset=\"utf-8\">\n<p>Caf\xC3\xA9 bl\xC3\xA5"
       "b\xC3\xA6r \xF0\x9F\x98\x80</p>\n",
       "LF",
       0,
       {2, 3}},
      {"minified.htm", "<html>\n<script>" + script + "</script>\n</html>\n", "LF", 1, {3, 1000}},
      {"pre.htm", "<PRE>\r\n" + pre + "\r\n</PRE>\r\n", "CR LF", 1, {2, 8000}},
      {"oneline.htm", "<p>ingen linieskift</p>", "CR LF", 0, {1, 4}},
      {"exact.htm", "<p>\n\t" + std::string(8192, 'y') + "\n" + std::string(16386, 'z') + "\n\n\n", "LF", 1, {3, 10}},
  };
  for (const Page& p : pages) {
    SCOPED_TRACE(p.name);
    const QString path = write(QString::fromLatin1(p.name), p.bytes);
    ASSERT_TRUE(k().openFile(path));
    TTivra& e = active();
    const int lines = e.LineCount();
    EXPECT_EQ(panel(3), QString::fromLatin1(p.lineEnds));
    if (p.longLines > 0)
      EXPECT_TRUE(panel(0).contains(QStringLiteral("over 8193 tegn"))) << panel(0).toStdString();
    else
      EXPECT_EQ(panel(0), path);
    typeAndRubOut(e, {1, 1});
    morvel::select(e, p.inside, p.inside);
    e.InsertBytes("<B>ny tekst</B>");
    e.Undo();
    ASSERT_TRUE(e.Modified());
    trigger("mnuGem");
    EXPECT_FALSE(e.Modified());
    EXPECT_EQ(fileBytes(path), p.bytes);
    // Read back: the same lines as when it was first opened.
    trigger("close");
    ASSERT_TRUE(k().openFile(path));
    EXPECT_EQ(active().LineCount(), lines);
  }
}

// A page given on the command line is opened as the window is shown; the
// notice must outlast that first showing of the window.
TEST_F(PageFiles, ThePageOfTheCommandLineGetsTheNoticeOfItsLongLines) {
  const QString path = write(QStringLiteral("lang.htm"), "<p>\n" + minified(9000) + "\n</p>\n");
  k().setCommandLineFiles({path});
  k().show();
  ASSERT_EQ(k().fileName(0), path);
  EXPECT_EQ(panel(0), QStringLiteral("lang.htm har en linie på over 8193 tegn. Den vises delt i flere linier, men "
                                     "gemmes uændret."));
  EXPECT_EQ(panel(3), "LF");
}

TEST_F(PageFiles, SaveAsAndEntityCodesKeepTheLineEndsOfTheDocument) {
  const QString path = write(QStringLiteral("side.htm"),
                             "<p>Bl\xE5"
                             "b\xE6r</p>\n<p>x</p>\n");
  ASSERT_TRUE(k().openFile(path));
  ScriptedResponder responder;
  const QString copy = run.dir.filePath(QStringLiteral("kopi.htm"));
  responder.answer(saveAs(copy));
  trigger("saveAs");
  EXPECT_EQ(fileBytes(copy),
            "<p>Bl\xE5"
            "b\xE6r</p>\n<p>x</p>\n");
  active().InsertBytes("\xF8");
  trigger("saveWithEntityCodes");
  EXPECT_EQ(fileBytes(copy), "&oslash;<p>Bl&aring;b&aelig;r</p>\n<p>x</p>\n");
  // A template saved from it has them too.
  const QString mvs = run.dir.filePath(QStringLiteral("skabelon.mvs"));
  responder.answer(saveAs(mvs));
  trigger("saveAs");
  EXPECT_EQ(fileBytes(mvs),
            "\xF8<p>Bl\xE5"
            "b\xE6r</p>\n<p>x</p>\n");
}

TEST_F(PageFiles, NewPagesHaveCrLfAlsoWhenTheirEditorHeldAnotherFile) {
  EXPECT_EQ(panel(3), "CR LF");
  const QString path = write(QStringLiteral("mac.htm"), "a\rb");
  ASSERT_TRUE(k().openFile(path));
  EXPECT_EQ(panel(3), "CR");
  trigger("close");  // the only document: its editor is used again
  EXPECT_EQ(panel(3), "CR LF");
  active().InsertBytes("a\r\nb");
  ScriptedResponder responder;
  const QString fresh = run.dir.filePath(QStringLiteral("ny.htm"));
  responder.answer(saveAs(fresh));
  trigger("mnuGem");
  EXPECT_EQ(fileBytes(fresh), "a\r\nb");
  k().newDocument();
  EXPECT_EQ(panel(3), "CR LF");
}

// With the setting on, a UTF-8 page is decoded to UTF-8 on opening and
// encoded by character on saving.
TEST_F(PageFiles, EntityCodesOnAUtf8PageKeepItsCharacters) {
  run.changeSettings([](morvel::Settings& s) { s.danishLetterCodes = true; });
  const std::string page = "<meta charset=\"utf-8\">\n<p>Caf\xC3\xA9 bl&aring;b&aelig;r &copy;</p>\n";
  const QString path = write(QStringLiteral("utf8.htm"), page);
  ASSERT_TRUE(k().openFile(path));
  EXPECT_EQ(active().TextBytes(),
            "<meta charset=\"utf-8\">\r\n<p>Caf\xC3\xA9 bl\xC3\xA5"
            "b\xC3\xA6r \xC2\xA9</p>\r\n");
  typeAndRubOut(active(), {2, 2});
  trigger("mnuGem");
  EXPECT_EQ(fileBytes(path), page);
}

// Names the editor's code page cannot spell: the program reads and writes
// the files itself.
TEST_F(PageFiles, FilesInFoldersOfAnyLanguageOpenAndSave) {
  ASSERT_TRUE(QDir(run.dir.path()).mkdir(QStringLiteral("Проекты")));
  const QString path = write(QStringLiteral("Проекты/side ø.htm"), "<p>\xE6\xF8\xE5</p>\n<p>\xCE\xA9</p>\n");
  ASSERT_TRUE(k().openFile(path));
  EXPECT_EQ(k().fileName(0), path);
  EXPECT_EQ(panel(0), path);
  EXPECT_EQ(panel(3), "LF");
  EXPECT_EQ(active().TextBytes(), "<p>\xE6\xF8\xE5</p>\r\n<p>\xCE\xA9</p>\r\n");
  EXPECT_FALSE(active().CanUndo());
  active().InsertBytes("x");
  trigger("mnuGem");
  EXPECT_EQ(fileBytes(path), "x<p>\xE6\xF8\xE5</p>\n<p>\xCE\xA9</p>\n");
  // Read again when another program changed it.
  write(QStringLiteral("Проекты/side ø.htm"), "ny\rtekst");
  QFile changed(path);
  ASSERT_TRUE(changed.open(QIODevice::ReadWrite));
  ASSERT_TRUE(changed.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
  changed.close();
  ScriptedResponder responder;
  responder.answer(IDYES);
  k().checkFilesChangedByOthers();
  EXPECT_EQ(active().TextBytes(), "ny\r\ntekst");
  EXPECT_EQ(panel(3), "CR");
}

TEST_F(PageFiles, AFileThatIsNotThereIsNeitherOpenedNorMade) {
  const QString missing = run.dir.filePath(QStringLiteral("findes-ikke.htm"));
  active().InsertBytes("tekst");
  ScriptedResponder responder;
  responder.answer(IDOK);
  EXPECT_FALSE(k().openFile(missing));
  EXPECT_EQ(responder.last().text, QStringLiteral("Kan ikke åbne filen %1.").arg(missing));
  EXPECT_EQ(k().documentCount(), 1);
  EXPECT_FALSE(QFile::exists(missing));
  // The next new document keeps the numbering.
  k().newDocument();
  EXPECT_EQ(k().TabControl1()->tabText(1), "Nyt dokument 2");
}

// ---------------------------------------------------------------------------
// Places in pages with long lines: the editor holds such a line as pieces,
// each a line of its own.

TEST_F(PageFiles, TheCodeCheckNamesTheEditorsLines) {
  active().setTextBytes("<P>\r\n<A HREF=\"x\">" + minified(20000) + "</A>\r\n<B");
  ScriptedResponder responder;
  responder.answer(IDOK);
  trigger("checkCodes");
  // Line 3 of the text is the editor's fifth: the long line is three.
  EXPECT_TRUE(
      responder.last().text.startsWith(QStringLiteral("Morvel fandt et ulige antal \"<\" og \">\" i linierne 5 .")))
      << responder.last().text.toStdString();
}

TEST_F(PageFiles, AnElementAfterALongLineIsEditedInItsPlace) {
  const std::string script = minified(20000);
  active().setTextBytes(script + "\r\n<HR SIZE=\"3\">\r\nslut");
  ASSERT_EQ(active().LineCount(), 5);
  const morvel::TextPosition inHr{4, 5};
  morvel::select(active(), inHr, inHr);
  ScriptedResponder responder;
  responder.answer([](platform::Request& r) {
    r.form->findChild<QLineEdit*>(QStringLiteral("txtTykkelse"))->setText(QStringLiteral("4"));
    r.form->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    return r.form->result();
  });
  k().elementDialogs().editElement();
  EXPECT_EQ(active().TextBytes(), script + "\r\n<HR SIZE=\"4\">\r\nslut");
}

TEST_F(PageFiles, CodesRoundASelectionThatFillsALine) {
  // Bold round a whole line of 8192 characters makes it longer than the
  // editor takes: it is cut, and the codes still go round the text.
  const std::string line(8192, 'a');
  active().setTextBytes(line + "\r\nnext");
  morvel::select(active(), {1, 0}, {1, 8192});
  trigger("bold");
  EXPECT_EQ(active().TextBytes(), "<B>" + line + "</B>\r\nnext");
  EXPECT_EQ(active().SelTextBytes(), line);
}

// ---------------------------------------------------------------------------
// Printing through the program's command

platform::Responder printTo(const QString& file) {
  return [file](platform::Request& r) {
    QPrinter* printer = static_cast<platform::PrintDialogRequest*>(r.data)->printer;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return 1;
  };
}

QString withoutBlanks(QString text) { return text.remove(QRegularExpression(QStringLiteral("\\s"))); }

TEST_F(PageFiles, APrintedPageHoldsEveryCharacterOfALongLine) {
  std::string line;  // 300 characters: every printable ASCII one, Danish letters, words
  for (char c = '!'; c <= '~'; ++c) line += c;
  line += "\xE6\xF8\xE5\xC6\xD8\xC5 ";
  for (int i = 0; line.size() < 300; ++i) line += "ord" + std::to_string(i) + " ";
  line.resize(300);
  active().setTextBytes("<P>Overskrift</P>\r\n" + line + "\r\n<P>slut</P>");
  const QString pdf = run.dir.filePath(QStringLiteral("side.pdf"));
  {
    ScriptedResponder responder;
    responder.answer(printTo(pdf));
    trigger("print");
  }
  ASSERT_TRUE(QFile::exists(pdf));
  if (!testing_support::pdfToolsPresent())
    GTEST_SKIP() << "pdftotext (poppler-utils) not installed: PDF contents not checked";
  const QString printed = withoutBlanks(testing_support::pdfPages(pdf).join(QString()));
  EXPECT_TRUE(printed.contains(withoutBlanks(platform::fromCp1252(line)))) << printed.toStdString();
  EXPECT_TRUE(printed.contains(QStringLiteral("<P>slut</P>")));
}

// The editor tells the program, and the user hears it once.
TEST_F(PageFiles, APrintJobThatCannotBeDoneIsToldOnce) {
  active().setTextBytes("<P>side</P>");
  const QString pdf = run.dir.filePath(QStringLiteral("findes-ikke/side.pdf"));
  ScriptedResponder responder;
  responder.answer(printTo(pdf));
  responder.answer(IDOK);
  trigger("print");
  ASSERT_EQ(responder.seen().size(), 2u);
  EXPECT_EQ(responder.last().kind, platform::RequestKind::MessageBox);
  EXPECT_EQ(responder.last().text, QStringLiteral("Udskrivningen kunne ikke gennemføres"));
  EXPECT_FALSE(QFile::exists(pdf));
}

}  // namespace
