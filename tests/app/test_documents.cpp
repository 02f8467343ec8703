// The documents of the main window driven through its menus and the
// interaction seam: opening, closing, saving, the recent files, files
// changed by other programs and files dropped on the window.
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "mainwindow/documents.h"
#include "mainwindow/file_list.h"
#include "mainwindow/file_panes.h"
#include "mainwindow/kestrin.h"
#include "mainwindow/recent_files.h"
#include "program_run.h"
#include "registry.h"
#include "scripted_responder.h"
#include "settings/indstillinger.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

#include <fstream>

namespace {

using testing_support::ScriptedResponder;

std::string fileBytes(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void setModified(const QString& path, const QDateTime& when) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

// A save or open dialog answered with the given full paths.
ScriptedResponder::Handler choose(const QStringList& paths, platform::FileDialogRequest* seen = nullptr) {
  return [paths, seen](platform::Request& r) {
    auto& fr = *static_cast<platform::FileDialogRequest*>(r.data);
    if (seen) *seen = fr;
    fr.chosen = paths;
    return 1;
  };
}

class Documents : public ::testing::Test {
 protected:
  Documents() {
    // The program folder is the test's own; the window is made again with it.
    run.environment.set("MORVEL_HOME", run.dir.path());
    // Saving writes the documents' own texts: no date or generator line.
    morvel::settings::write(run.store(), morvel::settings::indstillinger::Autodato, false);
    morvel::settings::write(run.store(), morvel::settings::indstillinger::Generator, false);
    run.restart();
  }

  TKestrin& k() { return run.kestrin(); }
  QString write(const QString& name, const std::string& bytes) {
    const QString path = run.dir.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
  }
  void trigger(const char* name) {
    QAction* a = k().command(QString::fromLatin1(name));
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }
  QString tab(int i) { return k().TabControl1()->tabText(i); }
  QStringList openFiles() {
    QStringList files;
    for (int i = 0; i < k().documentCount(); ++i) files << k().fileName(i);
    return files;
  }
  // Three pages a, b, c open in three tabs.
  QStringList openThree() {
    const QStringList pages{write(QStringLiteral("a.htm"), "<TITLE>A</TITLE>"),
                            write(QStringLiteral("b.htm"), "<TITLE>B</TITLE>"),
                            write(QStringLiteral("c.htm"), "<TITLE>C</TITLE>")};
    for (const QString& p : pages) EXPECT_TRUE(k().openFile(p));
    return pages;
  }

  app_test::ProgramRun run;
};

TEST_F(Documents, TheOpenDialogOpensEachChosenFileOnceAndRemembersItsFolder) {
  const QStringList pages = openThree();
  run.changeSettings([this](morvel::Settings& s) { s.openDialogFolder = run.dir.path(); });
  const QString d = write(QStringLiteral("d.htm"), "<TITLE>D</TITLE>");
  ScriptedResponder responder;
  platform::FileDialogRequest first;
  // b is open already: its tab is selected, no second copy is opened.
  responder.answer(choose({pages[1], d}, &first));
  trigger("openFiles");
  EXPECT_EQ(first.title, "Åbn");
  EXPECT_TRUE(first.multiSelect);
  EXPECT_EQ(first.folder, run.dir.path());
  ASSERT_EQ(first.filters.size(), 4);
  EXPECT_EQ(first.filters[0].first, "HTML-dokumenter");
  EXPECT_EQ(first.filters[0].second, (QStringList{"*.htm*", "*.shtml", "*.phtml", "*.asp"}));
  EXPECT_EQ(first.filters[2].second, QStringList{"*.mvs"});
  EXPECT_EQ(first.filters[3].first, "Tekstfiler");
  EXPECT_EQ(openFiles(), (QStringList{pages[0], pages[1], pages[2], d}));
  EXPECT_EQ(k().activeDocument(), 3);

  // Later dialogs start where the last one ended, not at the setting.
  QDir(run.dir.path()).mkdir(QStringLiteral("andet"));
  const QString e = run.dir.filePath(QStringLiteral("andet/e.htm"));
  std::ofstream(e.toStdString()) << "e";
  run.changeSettings([](morvel::Settings& s) { s.openDialogFolder = QStringLiteral("/"); });
  platform::FileDialogRequest second;
  responder.answer(choose({pages[1]}, &second));
  trigger("openFiles");
  EXPECT_EQ(second.folder, run.dir.path());
  EXPECT_EQ(k().documentCount(), 4);
  EXPECT_EQ(k().activeDocument(), 1);
}

TEST_F(Documents, ClosingTheSecondOfThreeRenamesTheLastEditorAndMovesTheMasterPage) {
  const QStringList pages = openThree();
  TTivra* third = k().editor(2);
  k().activateDocument(2);
  trigger("masterPage");
  EXPECT_EQ(k().masterPage(), 2);
  k().activateDocument(1);
  trigger("close");
  ASSERT_EQ(k().documentCount(), 2);
  EXPECT_EQ(openFiles(), (QStringList{pages[0], pages[2]}));
  EXPECT_EQ(k().editor(1), third);
  EXPECT_EQ(third->objectName(), "Tivra1");
  EXPECT_EQ(k().editor(0)->objectName(), "Tivra0");
  EXPECT_EQ(k().masterPage(), 1);
  EXPECT_EQ(k().activeDocument(), 0);
  EXPECT_EQ(k().TabControl1()->currentIndex(), 0);
  EXPECT_EQ(tab(1), "C");
  EXPECT_EQ(k().TabControl1()->count(), 2);

  // Closing the master page itself clears the mark.
  k().activateDocument(1);
  trigger("close");
  EXPECT_EQ(k().masterPage(), -1);
  EXPECT_EQ(k().documentCount(), 1);
}

TEST_F(Documents, ClosingTheOnlyDocumentLeavesAnEmptyFirstDocumentAndTheCounterGoesOn) {
  EXPECT_EQ(k().newDocument(), 1);
  EXPECT_EQ(tab(1), "Nyt dokument 2");
  trigger("close");
  const QString a = write(QStringLiteral("a.htm"), "<TITLE>A</TITLE>");
  ASSERT_TRUE(k().openFile(a));
  ASSERT_EQ(k().documentCount(), 1);
  TTivra* only = k().editor(0);
  trigger("close");
  ASSERT_EQ(k().documentCount(), 1);
  EXPECT_EQ(k().editor(0), only);
  EXPECT_EQ(tab(0), "Nyt dokument 1");
  EXPECT_EQ(k().fileName(0), "");
  EXPECT_EQ(k().document(0)->timeStamp, "");
  EXPECT_EQ(only->TextBytes(), "");
  EXPECT_FALSE(only->Modified());
  EXPECT_EQ(morvel::recentFiles(run.store()).value(0), a);
  k().newDocument();
  EXPECT_EQ(tab(1), "Nyt dokument 3");
}

TEST(RecentFiles, APathMovesUpAndANewOnePushesTheLastOut) {
  QTemporaryDir dir;
  morvel::RegIniFile store(dir.filePath(QStringLiteral("s.ini")).toStdString());
  auto fill = [&store](const QStringList& paths) {
    for (int n = 1; n <= 4; ++n)
      store.WriteString("Filer", "Fil" + std::to_string(n), paths.value(n - 1).toStdString());
  };
  fill({"b", "a", "c", "d"});
  morvel::recordRecentFile(store, QStringLiteral("a"));
  EXPECT_EQ(morvel::recentFiles(store), (QStringList{"a", "b", "c", "d"}));
  fill({"b", "a", "c", "d"});
  morvel::recordRecentFile(store, QStringLiteral("e"));
  EXPECT_EQ(morvel::recentFiles(store), (QStringList{"e", "b", "a", "c"}));
  // The last entry counts as new: it comes to the top and nothing repeats.
  fill({"b", "a", "c", "d"});
  morvel::recordRecentFile(store, QStringLiteral("d"));
  EXPECT_EQ(morvel::recentFiles(store), (QStringList{"d", "b", "a", "c"}));
  fill({"b", "a", "c", "d"});
  morvel::recordRecentFile(store, QStringLiteral("b"));
  EXPECT_EQ(morvel::recentFiles(store), (QStringList{"b", "a", "c", "d"}));
  // An empty list fills from the top; gaps are not copied down.
  fill({});
  morvel::recordRecentFile(store, QStringLiteral("x"));
  morvel::recordRecentFile(store, QStringLiteral("y"));
  EXPECT_EQ(morvel::recentFiles(store), (QStringList{"y", "x", "", ""}));
}

TEST_F(Documents, TheFileMenuShowsTheRecentFilesAndOpensThem) {
  QMenu* fileMenu = k().findChild<QMenu*>(QStringLiteral("fileMenu"));
  ASSERT_NE(fileMenu, nullptr);
  emit fileMenu->aboutToShow();
  EXPECT_FALSE(k().command(QStringLiteral("mnuSidsteFil1"))->isVisible());

  const QStringList pages = openThree();
  trigger("closeAll");
  emit fileMenu->aboutToShow();
  // Closed from the last tab to the first: a is the most recent.
  for (int i = 1; i <= 3; ++i) {
    QAction* item = k().command(QStringLiteral("mnuSidsteFil%1").arg(i));
    EXPECT_TRUE(item->isVisible());
    EXPECT_EQ(item->text(), QStringLiteral("&%1. ").arg(i) + pages[i - 1]);
  }
  EXPECT_FALSE(k().command(QStringLiteral("mnuSidsteFil4"))->isVisible());
  k().command(QStringLiteral("mnuSidsteFil2"))->trigger();
  EXPECT_EQ(openFiles(), QStringList{pages[1]});
}

TEST_F(Documents, TheCloseQuestionNamesTheDocumentAndAnEmptiedOneIsNotAskedAbout) {
  const QString a = write(QStringLiteral("a.htm"), "<TITLE>Forside</TITLE>");
  ASSERT_TRUE(k().openFile(a));
  k().newDocument();
  // Written and then deleted again: modified, but nothing to lose.
  k().editor(1)->InsertText(QStringLiteral("kort"));
  k().editor(1)->SelectAll();
  k().editor(1)->ClearSelection();
  ASSERT_TRUE(k().editor(1)->Modified());
  {
    ScriptedResponder none;
    trigger("close");
  }
  ASSERT_EQ(k().documentCount(), 1);

  k().editor(0)->InsertText(QStringLiteral("x"));
  ScriptedResponder responder;
  responder.answer(IDNO);
  trigger("close");
  EXPECT_EQ(responder.last().caption, "Luk fil");
  EXPECT_EQ(responder.last().text, "Skal ændringerne i Forside (a.htm) gemmes?");
  EXPECT_EQ(responder.last().flags, UINT(MB_YESNOCANCEL | MB_ICONEXCLAMATION));
  EXPECT_EQ(fileBytes(a), "<TITLE>Forside</TITLE>");

  k().editor(0)->InsertText(QStringLiteral("ny"));
  responder.answer(IDCANCEL);
  trigger("close");
  EXPECT_EQ(responder.last().text, "Skal ændringerne i Nyt dokument 1 gemmes?");
  EXPECT_EQ(k().editor(0)->TextBytes(), "ny");
}

TEST_F(Documents, CancelStopsCloseAllAndTheClosingOfTheWindow) {
  const QStringList pages = openThree();
  k().editor(1)->InsertText(QStringLiteral("ændret "));
  k().show();
  ScriptedResponder responder;
  responder.answer(IDCANCEL);
  trigger("closeAll");
  // c closed before the question; b and a stay.
  EXPECT_EQ(openFiles(), (QStringList{pages[0], pages[1]}));
  EXPECT_EQ(morvel::recentFiles(run.store()).value(0), pages[2]);

  responder.answer(IDCANCEL);
  EXPECT_FALSE(k().close());
  EXPECT_TRUE(k().isVisible());
  EXPECT_EQ(k().documentCount(), 2);
  EXPECT_FALSE(run.store().ValueExists("Start", "Status"));
}

TEST_F(Documents, YesWithoutASaveKeepsTheDocumentOpen) {
  k().editor(0)->InsertText(QStringLiteral("vigtig tekst"));
  ScriptedResponder responder;
  responder.answer(IDYES);
  responder.answer(0);  // the save dialog is cancelled
  EXPECT_FALSE(k().closeActiveDocument());
  EXPECT_EQ(k().editor(0)->TextBytes(), "vigtig tekst");

  // Yes with a name chosen saves, then closes.
  const QString page = run.dir.filePath(QStringLiteral("gemt.htm"));
  responder.answer(IDYES);
  responder.answer(choose({page}));
  EXPECT_TRUE(k().closeActiveDocument());
  EXPECT_EQ(fileBytes(page), "vigtig tekst");
  EXPECT_EQ(k().editor(0)->TextBytes(), "");
}

TEST_F(Documents, SavingAsATemplateKeepsTheDocumentsOwnName) {
  const QString a = write(QStringLiteral("a.htm"), "<TITLE>A</TITLE>");
  ASSERT_TRUE(k().openFile(a));
  k().editor(0)->InsertText(QStringLiteral("skabelon "));
  const QString mvs = run.dir.filePath(QStringLiteral("ny.mvs"));
  ScriptedResponder responder;
  platform::FileDialogRequest seen;
  responder.answer(choose({mvs}, &seen));
  trigger("saveAs");
  EXPECT_EQ(seen.suggestedName, "a.htm");
  EXPECT_EQ(seen.defaultExtension, "htm");
  ASSERT_EQ(seen.filters.size(), 3);
  EXPECT_EQ(seen.filters[2].first, "Skabeloner");
  EXPECT_EQ(fileBytes(mvs), "skabelon <TITLE>A</TITLE>");
  EXPECT_EQ(k().fileName(0), a);
  EXPECT_TRUE(k().editor(0)->Modified());
  EXPECT_EQ(fileBytes(a), "<TITLE>A</TITLE>");
}

TEST_F(Documents, HtmlModeAppendsHtmlOnlyToNamesWithoutAnExtension) {
  EXPECT_EQ(htmlModeName(QStringLiteral("/x/index")), "/x/index.html");
  EXPECT_EQ(htmlModeName(QStringLiteral("/x/index.htm")), "/x/index.htm");
  EXPECT_EQ(htmlModeName(QStringLiteral("/x/side.html")), "/x/side.html");
  EXPECT_EQ(htmlModeName(QStringLiteral("/x/a.js")), "/x/a.js.html");

  run.changeSettings([](morvel::Settings& s) {
    s.htmlExtension = true;
    s.generatorLine = false;
  });
  k().editor(0)->InsertText(QStringLiteral("side"));
  const QString existing = write(QStringLiteral("index.html"), "gammel");
  ScriptedResponder responder;
  platform::FileDialogRequest seen;
  responder.answer(choose({run.dir.filePath(QStringLiteral("index"))}, &seen));
  // The dialog knew only "index": the existing index.html is asked about.
  responder.answer(IDNO);
  EXPECT_FALSE(k().saveDocumentAs(0));
  EXPECT_EQ(seen.defaultExtension, "");
  EXPECT_EQ(responder.last().text, existing + " findes allerede.\nVil du erstatte den?");
  EXPECT_EQ(fileBytes(existing), "gammel");
  EXPECT_EQ(k().fileName(0), "");

  responder.answer(choose({run.dir.filePath(QStringLiteral("index"))}));
  responder.answer(IDYES);
  EXPECT_TRUE(k().saveDocumentAs(0));
  EXPECT_EQ(k().fileName(0), existing);
  EXPECT_EQ(fileBytes(existing), "side");
}

TEST_F(Documents, SaveAllSavesTheModifiedDocumentsOnly) {
  run.changeSettings([](morvel::Settings& s) { s.generatorLine = false; });
  const QStringList pages = openThree();
  k().editor(0)->InsertText(QStringLiteral("1"));
  k().editor(2)->InsertText(QStringLiteral("3"));
  setModified(pages[1], QDateTime(QDate(2001, 1, 1), QTime(1, 0)));
  trigger("saveAll");
  EXPECT_EQ(fileBytes(pages[0]), "1<TITLE>A</TITLE>");
  EXPECT_EQ(fileBytes(pages[2]), "3<TITLE>C</TITLE>");
  EXPECT_EQ(QFileInfo(pages[1]).lastModified(), QDateTime(QDate(2001, 1, 1), QTime(1, 0)));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(k().editor(i)->Modified());
  EXPECT_EQ(k().document(2)->timeStamp, fileTimeStamp(pages[2]));
}

TEST_F(Documents, AFileChangedByAnotherProgramIsAskedAboutOnce) {
  const QString a = write(QStringLiteral("a.htm"), "gammel");
  // Stored at the end of one year; changed early the next: as text the
  // new stamp sorts first, as a time it is later.
  setModified(a, QDateTime(QDate(2003, 12, 31), QTime(10, 0)));
  ASSERT_TRUE(k().openFile(a));
  const QString b = write(QStringLiteral("b.htm"), "b");
  ASSERT_TRUE(k().openFile(b));
  {
    ScriptedResponder none;
    k().checkFilesChangedByOthers();
  }
  std::ofstream(a.toStdString(), std::ios::binary) << "ny";
  setModified(a, QDateTime(QDate(2004, 1, 1), QTime(9, 0)));
  ScriptedResponder responder;
  responder.answer(IDYES);
  k().checkFilesChangedByOthers();
  EXPECT_EQ(responder.last().caption, "Dokument ændret");
  EXPECT_EQ(responder.last().text, "Et andet program har ændret \r\n" + a + "\r\nØnsker du at genindlæse dokumentet?");
  EXPECT_EQ(responder.last().flags, UINT(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(k().editor(0)->TextBytes(), "ny");
  EXPECT_FALSE(k().editor(0)->Modified());
  k().checkFilesChangedByOthers();  // the same change is not reported again

  setModified(a, QDateTime(QDate(2004, 1, 2), QTime(9, 0)));
  responder.answer(IDNO);
  k().checkFilesChangedByOthers();
  EXPECT_EQ(k().editor(0)->TextBytes(), "ny");
  k().checkFilesChangedByOthers();
  EXPECT_EQ(responder.seen().size(), 2u);
}

TEST_F(Documents, DroppedFilesOpenInTheEditorOrAreCopiedIntoTheFileList) {
  k().resize(800, 500);
  k().show();
  QDir(run.dir.path()).mkdir(QStringLiteral("liste"));
  k().htmlPane().setFolder(run.dir.filePath(QStringLiteral("liste")));
  const QString a = write(QStringLiteral("a.htm"), "<TITLE>A</TITLE>");
  const int paneRight = k().pagFiler()->mapTo(&k(), QPoint(k().pagFiler()->width(), 0)).x();
  ASSERT_GT(paneRight, 10);

  k().dropFiles({a}, QPoint(paneRight + 20, 100));
  EXPECT_EQ(openFiles(), QStringList{a});

  k().dropFiles({a}, QPoint(5, 100));
  const QString copy = run.dir.filePath(QStringLiteral("liste/a.htm"));
  EXPECT_EQ(fileBytes(copy), "<TITLE>A</TITLE>");
  EXPECT_EQ(k().htmlPane().fileList()->count(), 1);

  // The copy is there: replacing it is asked about.
  std::ofstream(copy.toStdString(), std::ios::binary) << "egen";
  ScriptedResponder responder;
  responder.answer(IDNO);
  k().dropFiles({a}, QPoint(5, 100));
  EXPECT_EQ(fileBytes(copy), "egen");

  k().pagFiler()->setCurrentIndex(2);
  responder.answer(IDOK);
  k().dropFiles({a}, QPoint(5, 100));
  EXPECT_EQ(responder.last().text, "Du kan kun slippe filer i tekstbehandleren og i fillisten.");

  // Hidden panes take no room: the file goes to the editor.
  const QString b = write(QStringLiteral("b.htm"), "b");
  k().setFilePanesShown(false);
  k().dropFiles({b}, QPoint(5, 100));
  EXPECT_EQ(openFiles(), (QStringList{a, b}));
}

TEST_F(Documents, TitlesOfFilesComeFromTheDiskOrTheOpenDocument) {
  const QString a = write(QStringLiteral("a.htm"), "<title>Bl&aring;t hus</title>");
  EXPECT_EQ(k().fileTitle(a), "Blåt hus");
  const QString b = write(QStringLiteral("b.htm"), "<P>ingen</P>");
  ASSERT_TRUE(k().openFile(b));
  EXPECT_EQ(k().fileTitle(b), "[Ingen titel]");
  k().editor(0)->InsertText(QStringLiteral("<TITLE>Endnu ikke gemt</TITLE>"));
  EXPECT_EQ(k().fileTitle(b), "Endnu ikke gemt");
  EXPECT_EQ(k().fileTitle(run.dir.filePath(QStringLiteral("mangler.htm"))), "[Ingen titel]");
}

TEST_F(Documents, AHandedOverListOpensItsFilesAndRestoresTheWindow) {
  const QString a = write(QStringLiteral("a.htm"), "a");
  const QString b = write(QStringLiteral("b.htm"), "b");
  k().showMinimized();
  k().receiveFileList(a + "?" + run.dir.filePath(QStringLiteral("mangler.htm")) + "?" + b + "?");
  EXPECT_EQ(openFiles(), (QStringList{a, b}));
  EXPECT_FALSE(k().isMinimized());
  EXPECT_TRUE(k().isVisible());
}

}  // namespace
