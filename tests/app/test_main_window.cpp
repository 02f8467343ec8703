// The main window as a user meets it: its controls, menus and tool bar, the
// layout kept between runs, the keys and the mouse in the editors, the edit
// and search commands, and the help.
#include "commands/code_insertion.h"
#include "component/tivra_component.h"
#include "controls/status_bar.h"
#include "host.h"
#include "mainwindow/file_panes.h"
#include "mainwindow/kestrin.h"
#include "program_run.h"
#include "scripted_responder.h"
#include "settings/indstillinger.h"
#include "startup/help.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <fstream>

namespace {

using testing_support::ScriptedResponder;

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() {
    // The program folder is the test's own; the window is made again with it.
    run.environment.set("MORVEL_HOME", run.dir.path());
    run.restart();
  }

  TKestrin& k() { return run.kestrin(); }
  QString write(const QString& name, const std::string& bytes) {
    const QString path = run.dir.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
  }
  QString folder(const QString& name) {
    QDir(run.dir.path()).mkpath(name);
    return run.dir.filePath(name);
  }
  void showActive() {
    k().show();
    k().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&k()));
  }
  QWidget* keysOf(TTivra& e) { return e.focusProxy() ? e.focusProxy() : &e; }
  // The client point of a text position, found by asking the editor.
  QPoint pointOf(TTivra& e, int line, int column) {
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 600; ++x) {
        int l = 0;
        int c = 0;
        if (e.PositionFromPoint(x, y, l, c) && l == line && c == column) return {x + 1, y + 1};
      }
    }
    ADD_FAILURE() << "no point for " << line << ":" << column;
    return {};
  }
  static LPARAM at(const QPoint& p) { return MAKELPARAM(p.x(), p.y()); }

  app_test::ProgramRun run;
};

TEST_F(MainWindow, ControlsCarryTheirNamesAndThePanelsTheirFirstTexts) {
  for (const char* name :
       {"ToolBar1", "pagFiler", "splForm", "splFind",    "lwFind",       "StatusBar1",   "lblOverskriv", "ProgressBar1",
        "lwTmp",    "edtTmp",   "rlTop",   "rlVenstre",  "tabHTML",      "tabMedie",     "tabProjekt",   "Dir1",
        "Dir2",     "lwHTML",   "lwMedie", "trwProjekt", "popMarkTekst", "popUmarkTekst"}) {
    EXPECT_NE(k().findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
  }
  QTabWidget* pages = k().pagFiler();
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->tabText(0), "HTML");
  EXPECT_EQ(pages->tabText(1), "Medie");
  EXPECT_EQ(pages->tabText(2), "Projekter");
  const QStringList texts{"Dokumentet er ikke gemt", "0 tegn", "1:1", "CR LF", "Dato"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(k().StatusBar1()->PanelText(i), texts[i]) << i;
  EXPECT_FALSE(k().StatusBar1()->PanelText(5).isEmpty());
  EXPECT_EQ(k().StatusBar1()->Panel(1)->width(), 80 * k().logicalDpiX() / 96);
  EXPECT_EQ(k().lblOverskriv()->text(), "Overskriv");
  EXPECT_FALSE(k().lblOverskriv()->isEnabled());
  EXPECT_TRUE(k().ProgressBar1()->isHidden());
  EXPECT_TRUE(k().findChild<QWidget*>(QStringLiteral("lwFind"))->isHidden());

  k().show();
  // Panel 0 gives the room the others leave, and the progress bar covers it.
  EXPECT_EQ(k().ProgressBar1()->maximumWidth(), k().StatusBar1()->Panel(0)->width());
  EXPECT_EQ(k().findChild<QTreeWidget*>(QStringLiteral("trwProjekt"))->topLevelItem(0)->text(0), "Morvel-projekter");
}

TEST_F(MainWindow, TheToolBarHasEveryButtonInOrder) {
  QStringList hints;
  for (QAction* a : k().ToolBar1()->actions()) {
    if (!a->isSeparator()) hints << a->toolTip();
  }
  EXPECT_EQ(hints, (QStringList{"Nyt dokument",
                                "Gem",
                                "Fortryd",
                                "Vis/skjul filhåndtering",
                                "Fed skrift",
                                "Kursiv skrift",
                                "Understreget skrift",
                                "Skrifttype (dialogboks)",
                                "Centrér",
                                "Lige margener",
                                "Linieskift",
                                "Nyt afsnit",
                                "Vandret linie",
                                "Basiskoder - i gang med ny Web-side",
                                "Henvisning (dialogboks)",
                                "Grafik (dialogboks)",
                                "Lyd (dialogboks)",
                                "Vandret linie (dialogboks)",
                                "E-mailadresse (dialogboks)",
                                "Tabel (dialogboks)",
                                "Punktopstilling (dialogboks)",
                                "Nyt punkt",
                                "Rammer (dialogboks)",
                                "Kommentar",
                                "Indsæt opdateringsdato",
                                "Vis/skjul HTML-kodeboks",
                                "Indstillinger",
                                "Overførsel til Internet",
                                "Vis i ekstern browser",
                                "Intern browser"}));
  for (QAction* a : k().ToolBar1()->actions()) {
    if (!a->isSeparator()) {
      EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
    }
  }
  k().show();
  EXPECT_EQ(k().ToolBar1()->height(), 29);
}

TEST_F(MainWindow, MenuShortcutsAreUniqueAndListedOnTheHelpPage) {
  QStringList captions;
  for (QAction* a : k().menuBar()->actions()) captions << a->text();
  EXPECT_EQ(captions,
            (QStringList{"&Filer", "&Rediger", "F&ormater", "&Indsæt", "&Struktur", "F&unktioner", "&Vis", "&Hjælp"}));
  const struct {
    const char* name;
    const char* caption;
    QKeyCombination key;
  } expected[] = {
      {"newFromTemplate", "&Ny...", Qt::CTRL | Qt::Key_N},
      {"openFiles", "Å&bn...", Qt::CTRL | Qt::Key_O},
      {"mnuGem", "&Gem", Qt::CTRL | Qt::Key_S},
      {"close", "L&uk", Qt::CTRL | Qt::Key_F4},
      {"exit", "&Afslut", Qt::ALT | Qt::Key_F4},
      {"undo", "Fo&rtryd", Qt::CTRL | Qt::Key_Z},
      {"redo", "&Annuller fortryd", Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
      {"findNext", "Find n&æste", QKeyCombination(Qt::Key_F3)},
      {"goToLine", "&Gå til linie...", Qt::CTRL | Qt::Key_G},
      {"replace", "&Erstat...", Qt::CTRL | Qt::Key_R},
      {"mnuSkjulFilboks", "Fil&håndtering", QKeyCombination(Qt::Key_F7)},
      {"refresh", "Op&dater", QKeyCombination(Qt::Key_F5)},
      {"lineBreak", "Linie&skift", Qt::CTRL | Qt::Key_Return},
      {"paragraph", "&Afsnit", Qt::SHIFT | Qt::Key_Return},
      {"listItem", "&Punkt", Qt::CTRL | Qt::SHIFT | Qt::Key_U},
      {"checkCodes", "Tje&k HTML-koder", QKeyCombination(Qt::Key_F9)},
      {"showSettings", "&Indstillinger...", Qt::CTRL | Qt::SHIFT | Qt::Key_I},
      {"externalBrowser", "Vis side i &ekstern browser", QKeyCombination(Qt::Key_F11)},
  };
  for (const auto& e : expected) {
    QAction* a = k().command(QString::fromLatin1(e.name));
    ASSERT_NE(a, nullptr) << e.name;
    EXPECT_EQ(a->text(), QString::fromUtf8(e.caption)) << e.name;
    EXPECT_TRUE(a->shortcuts().contains(QKeySequence(e.key))) << e.name;
  }

  QFile page(morvel::help::pageForContext(340).toLocalFile());
  ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << page.fileName().toStdString();
  const QString shortcuts = QString::fromUtf8(page.readAll());
  QSet<QKeySequence> seen;
  // Windows of their own, such as the script editor, have keys of their own.
  const auto inOtherWindow = [&](QObject* o) {
    for (; o && o != &k(); o = o->parent())
      if (qobject_cast<QDialog*>(o)) return true;
    return false;
  };
  for (QAction* a : k().findChildren<QAction*>()) {
    // Items of the pop-up menus have no keys of their own.
    if (a->shortcuts().isEmpty() || a->parent() == k().popMarkTekst() || a->parent() == k().popUmarkTekst()) continue;
    if (inOtherWindow(a)) continue;
    const QKeySequence first = a->shortcuts().first();
    EXPECT_FALSE(seen.contains(first)) << first.toString().toStdString() << " twice";
    seen.insert(first);
    QString written =
        first.toString(QKeySequence::PortableText).replace(QLatin1String("Space"), QStringLiteral("Mellemrum"));
    if (a->objectName().startsWith(QLatin1String("mnuB"))) written = QStringLiteral("Ctrl+1 til Ctrl+9");
    if (a->objectName() == QLatin1String("saveWithEntityCodes")) written = QStringLiteral("Ctrl+Æ");
    if (a->objectName() == QLatin1String("fontSizeUp")) written = QStringLiteral("Ctrl++");
    if (a->objectName() == QLatin1String("fontSizeDown")) written = QStringLiteral("Ctrl+-");
    written.replace(QLatin1String("Return"), QStringLiteral("Enter"));
    EXPECT_TRUE(shortcuts.contains(QStringLiteral("<td>") + written + QStringLiteral("</td>")))
        << written.toStdString() << " (" << a->objectName().toStdString() << ") is not on the help page";
  }
}

TEST_F(MainWindow, TheHelpCommandsOpenTheProgramsOwnPages) {
  QList<QUrl> opened;
  morvel::help::setOpener([&opened](const QUrl& url) {
    opened << url;
    return true;
  });
  k().command(QStringLiteral("helpContents"))->trigger();
  k().command(QStringLiteral("keyboardShortcuts"))->trigger();
  k().command(QStringLiteral("searchHelp"))->trigger();
  morvel::help::setOpener({});
  ASSERT_EQ(opened.size(), 3);
  EXPECT_EQ(QFileInfo(opened[0].toLocalFile()).fileName(), "index.html");
  EXPECT_EQ(QFileInfo(opened[1].toLocalFile()).fileName(), "tastaturgenveje.html");
  EXPECT_EQ(QFileInfo(opened[2].toLocalFile()).fileName(), "soeg.html");
  for (const QUrl& url : opened) EXPECT_TRUE(QFileInfo::exists(url.toLocalFile())) << url.toString().toStdString();

  // A page that cannot be found is reported, not opened.
  ScriptedResponder responder;
  responder.answer(IDOK);
  EXPECT_FALSE(morvel::help::show(&k(), QUrl::fromLocalFile(run.dir.filePath(QStringLiteral("mangler.html")))));
  EXPECT_TRUE(responder.last().text.startsWith(QStringLiteral("Hjælpefilen ")));
}

TEST_F(MainWindow, TheLayoutIsTheSameAfterARestart) {
  const QString html = folder(QStringLiteral("sider"));
  const QString media = folder(QStringLiteral("billeder"));
  // The store of the current run.
  auto s = [this]() -> morvel::RegIniFile& { return run.store(); };
  s().WriteInteger("Start", "Top", 30);
  s().WriteInteger("Start", "Venstre", 40);
  s().WriteInteger("Start", "Højde", 500);
  s().WriteInteger("Start", "Bredde", 700);
  s().WriteInteger("Start", "DirHøjde", 111);
  s().WriteInteger("Start", "FilBredde", 222);
  s().WriteInteger("Start", "Vis", 1);
  s().WriteInteger("Start", "Fane", 2);
  s().WriteBool("Start", "Filboks", false);
  s().WriteString("Start", "Sti", html.toStdString());
  s().WriteString("Start", "StiMedie", media.toStdString());
  run.restart();
  EXPECT_EQ(k().pos(), QPoint(40, 30));
  EXPECT_EQ(k().size(), QSize(700, 500));
  EXPECT_FALSE(k().filePanesShown());
  EXPECT_FALSE(k().command(QStringLiteral("filePanesButton"))->isChecked());
  EXPECT_EQ(k().htmlPane().viewStyle(), 1);
  EXPECT_TRUE(k().command(QStringLiteral("viewSmallIcons"))->isChecked());
  EXPECT_EQ(k().pagFiler()->currentIndex(), 2);
  EXPECT_EQ(k().htmlPane().folder(), html);
  EXPECT_EQ(k().mediaPane().folder(), media);
  EXPECT_EQ(k().htmlPane().folderTreeHeight(), 111);

  k().show();
  k().setFilePanesShown(true);
  k().command(QStringLiteral("viewDetails"))->trigger();
  run.changeSettings([](morvel::Settings& s) { s.internalBrowserMsie = true; });
  ASSERT_TRUE(k().close());
  run.restart();
  EXPECT_EQ(s().ReadInteger("Start", "Status", 0), 1);
  EXPECT_EQ(s().ReadInteger("Start", "FilBredde", 0), 222);
  EXPECT_EQ(s().ReadInteger("Start", "DirHøjde", 0), 111);
  EXPECT_TRUE(s().ReadBool("Indstillinger", "MSIE", false));
  EXPECT_TRUE(k().filePanesShown());
  EXPECT_EQ(k().htmlPane().viewStyle(), 3);
  EXPECT_EQ(k().pagFiler()->currentIndex(), 2);
  EXPECT_EQ(k().mediaPane().folder(), media);

  // Closed maximised: the normal geometry of the run before stays.
  k().showMaximized();
  ASSERT_TRUE(k().close());
  EXPECT_EQ(s().ReadInteger("Start", "Status", 0), 3);
  EXPECT_EQ(s().ReadInteger("Start", "Bredde", 0), 700);
  EXPECT_EQ(s().ReadInteger("Start", "Top", 0), 30);
  run.restart();
  k().show();
  EXPECT_TRUE(k().isMaximized());
}

TEST_F(MainWindow, EachFileListViewComesBack) {
  for (int style : {0, 2, 1, 3}) {
    k().command(QStringList{"viewLargeIcons", "viewSmallIcons", "viewList", "viewDetails"}[style])->trigger();
    ASSERT_TRUE(k().close());
    run.restart();
    EXPECT_EQ(k().htmlPane().viewStyle(), style);
    EXPECT_EQ(k().mediaPane().viewStyle(), style);
  }
}

TEST_F(MainWindow, WithoutStoredFoldersThePanesShowTheProgramFolder) {
  EXPECT_EQ(k().htmlPane().folder(), run.dir.path());
  EXPECT_EQ(k().mediaPane().folder(), run.dir.path());
  EXPECT_TRUE(k().filePanesShown());
  k().show();
  k().command(QStringLiteral("mnuSkjulFilboks"))->trigger();
  EXPECT_FALSE(k().pagFiler()->isVisible());
  EXPECT_FALSE(k().command(QStringLiteral("filePanesButton"))->isChecked());
  k().command(QStringLiteral("filePanesButton"))->trigger();
  EXPECT_TRUE(k().pagFiler()->isVisible());
  EXPECT_TRUE(k().command(QStringLiteral("mnuSkjulFilboks"))->isChecked());
}

TEST_F(MainWindow, CtrlTabGoesRoundTheDocumentsAndOtherKeysOfTheEditor) {
  k().newDocument();
  k().newDocument();
  showActive();
  k().activateDocument(2);
  QTest::keyClick(keysOf(*k().editor(2)), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(k().activeDocument(), 0);
  EXPECT_EQ(k().TabControl1()->currentIndex(), 0);
  QTest::keyClick(keysOf(*k().editor(0)), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(k().activeDocument(), 2);
  QTest::keyClick(keysOf(*k().editor(2)), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(k().activeDocument(), 1);
  EXPECT_EQ(k().editor(1)->TextBytes(), "");  // the key was not typed

  QTest::keyClick(keysOf(*k().editor(1)), Qt::Key_Insert);
  EXPECT_TRUE(k().lblOverskriv()->isEnabled());
  QTest::keyClick(keysOf(*k().editor(1)), Qt::Key_Insert);
  EXPECT_FALSE(k().lblOverskriv()->isEnabled());

  QTest::keyClick(keysOf(*k().editor(1)), Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_TRUE(k().pagFiler()->hasFocus());
}

TEST_F(MainWindow, ARightClickInsideASelectionKeepsItAndOffersTheFormattingMenu) {
  showActive();
  TTivra& e = *k().editor(0);
  e.InsertText(QStringLiteral("hello abc world"));
  e.setStartLine(1);
  e.setStartPos(6);
  e.setEndLine(1);
  e.setEndPos(9);
  e.SetSelection();
  const QPoint inside = pointOf(e, 1, 7);
  ScriptedResponder responder;
  QMenu* shown = nullptr;
  responder.answer([&shown](platform::Request& r) {
    shown = static_cast<QMenu*>(r.data);
    return 0;
  });
  SendMessage(e.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at(inside));
  EXPECT_EQ(shown, k().popMarkTekst());
  EXPECT_EQ(e.SelText(), "abc");

  // Shift+F10 acts at the caret, which does not move.
  responder.answer([&shown](platform::Request& r) {
    shown = static_cast<QMenu*>(r.data);
    return 0;
  });
  QTest::keyClick(keysOf(e), Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(shown, k().popMarkTekst());
  EXPECT_EQ(e.SelText(), "abc");

  // The tab strip offers the document commands only.
  responder.answer([&shown](platform::Request& r) {
    shown = static_cast<QMenu*>(r.data);
    QStringList visible;
    for (QAction* a : shown->actions()) {
      if (a->isVisible() && !a->isSeparator()) visible << a->text();
    }
    EXPECT_EQ(visible, (QStringList{"L&uk dokument", "Overfør til Internet...", "&Åbn side i browser", "Egen&skaber",
                                    "&Moderside"}));
    return 0;
  });
  emit k().TabControl1()->tabBar()->customContextMenuRequested(QPoint(5, 5));
  EXPECT_EQ(shown, k().popUmarkTekst());
}

TEST_F(MainWindow, ARightClickWithoutASelectionMovesTheCaretFirst) {
  showActive();
  TTivra& e = *k().editor(0);
  e.InsertText(QStringLiteral("hello world"));
  e.setStartLine(1);
  e.setStartPos(0);
  e.setEndLine(1);
  e.setEndPos(0);
  e.SetSelection();
  ScriptedResponder responder;
  // Plain text has no token at the caret: the document menu, whole.
  responder.answer([](platform::Request& r) {
    auto* menu = static_cast<QMenu*>(r.data);
    int visible = 0;
    for (QAction* a : menu->actions()) visible += a->isVisible();
    EXPECT_EQ(visible, menu->actions().size());
    return 0;
  });
  SendMessage(e.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at(pointOf(e, 1, 4)));
  e.GetSelection();
  EXPECT_EQ(e.StartPos(), 4);
  EXPECT_EQ(e.EndPos(), 4);
  EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(MainWindow, SelectedTextIsMovedByDraggingIt) {
  showActive();
  TTivra& e = *k().editor(0);
  e.InsertText(QStringLiteral("hello abc world"));
  auto selectAbc = [&e] {
    e.setStartLine(1);
    e.setStartPos(6);
    e.setEndLine(1);
    e.setEndPos(9);
    e.SetSelection();
  };
  const QPoint onB = pointOf(e, 1, 7);
  const QPoint end = pointOf(e, 1, 14);
  selectAbc();
  SendMessage(e.Handle(), WM_MOUSEMOVE, 0, at(onB));
  SendMessage(e.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at(onB));
  SendMessage(e.Handle(), WM_MOUSEMOVE, MK_LBUTTON, at(end));
  SendMessage(e.Handle(), WM_LBUTTONUP, 0, at(end));
  EXPECT_EQ(e.TextBytes(), "hello  worlabcd");

  // Dropped on itself: nothing moves.
  e.setText(QStringLiteral("hello abc world"));
  selectAbc();
  SendMessage(e.Handle(), WM_MOUSEMOVE, 0, at(onB));
  SendMessage(e.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at(onB));
  SendMessage(e.Handle(), WM_LBUTTONUP, 0, at(onB));
  EXPECT_EQ(e.TextBytes(), "hello abc world");
  EXPECT_EQ(e.SelText(), "abc");

  // A press beside the selection only places the caret.
  SendMessage(e.Handle(), WM_MOUSEMOVE, 0, at(pointOf(e, 1, 2)));
  SendMessage(e.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at(pointOf(e, 1, 2)));
  SendMessage(e.Handle(), WM_LBUTTONUP, 0, at(pointOf(e, 1, 2)));
  EXPECT_EQ(e.TextBytes(), "hello abc world");
  EXPECT_EQ(e.SelLength(), 0);
}

TEST_F(MainWindow, MenusEnableTheirItemsForTheActiveDocument) {
  QMenu* edit = k().findChild<QMenu*>(QStringLiteral("editMenu"));
  QMenu* file = k().findChild<QMenu*>(QStringLiteral("fileMenu"));
  QMenu* functions = k().findChild<QMenu*>(QStringLiteral("functionsMenu"));
  emit edit->aboutToShow();
  emit file->aboutToShow();
  for (const char* name : {"cut", "copy", "deleteSelection", "find", "findNext", "replace", "goToLine", "stripCodes",
                           "undo", "mnuGem", "print", "properties"}) {
    EXPECT_FALSE(k().command(QString::fromLatin1(name))->isEnabled()) << name;
  }
  TTivra& e = *k().editor(0);
  e.InsertText(QStringLiteral("<head>x</head>"));
  e.SelectAll();
  emit edit->aboutToShow();
  emit file->aboutToShow();
  emit functions->aboutToShow();
  for (const char* name : {"cut", "copy", "deleteSelection", "find", "findNext", "replace", "goToLine", "stripCodes",
                           "undo", "mnuGem", "print", "renameTitle", "checkCodes"}) {
    EXPECT_TRUE(k().command(QString::fromLatin1(name))->isEnabled()) << name;
  }
  EXPECT_FALSE(k().command(QStringLiteral("properties"))->isEnabled());
  EXPECT_FALSE(k().command(QStringLiteral("masterPage"))->isChecked());
  k().command(QStringLiteral("masterPage"))->trigger();
  k().newDocument();
  emit functions->aboutToShow();
  EXPECT_FALSE(k().command(QStringLiteral("masterPage"))->isChecked());
  EXPECT_FALSE(k().command(QStringLiteral("renameTitle"))->isEnabled());
  EXPECT_EQ(k().masterPage(), 0);
}

TEST_F(MainWindow, CommandsWhosePartsAreNotBuiltStayGreyed) {
  const QString page = run.dir.filePath(QStringLiteral("side.htm"));
  QFile file(page);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<HTML><HEAD><TITLE>x</TITLE></HEAD><BODY><TABLE></TABLE></BODY></HTML>");
  file.close();
  ASSERT_TRUE(k().openFile(page));
  for (QMenu* menu : k().findChildren<QMenu*>()) emit menu->aboutToShow();
  for (const char* name : {"pictureViewer", "mnuUdvidetSoeg", "mnuUdvidetErstat", "mnuSoegeRes", "externalBrowser",
                           "documentBrowser", "externalBrowserButton", "internalBrowser", "internalBrowserButton",
                           "browser640", "browser800", "browser1024"}) {
    QAction* a = k().command(QString::fromLatin1(name));
    ASSERT_NE(a, nullptr) << name;
    EXPECT_FALSE(a->isEnabled()) << name;
  }
  EXPECT_FALSE(k().findChild<QMenu*>(QStringLiteral("browserSizeMenu"))->isEnabled());
  // The commands that work stay as they were.
  for (const char* name : {"openFiles",   "print",           "linkDialog",  "pictureDialog",     "fontDialog",
                           "formDialog",  "listDialog",      "checkCodes",  "renameTitle",       "showSettings",
                           "refresh",     "newFromTemplate", "baseCodes",   "documentBaseCodes", "baseCodesButton",
                           "tableDialog", "documentTable",   "tableButton", "framesDialog",      "framesButton",
                           "metaDialog",  "scriptEditor",    "codeBox",     "codeBoxButton",     "mnuWWW",
                           "popTilWWW",   "publishButton"})
    EXPECT_TRUE(k().command(QString::fromLatin1(name))->isEnabled()) << name;
}

TEST_F(MainWindow, EditCommandsActOnTheActiveEditorAndTheStatusFollows) {
  k().newDocument();
  TTivra& e = *k().editor(1);
  e.InsertText(QStringLiteral("tekst"));
  EXPECT_EQ(k().StatusBar1()->PanelText(1), "5 tegn");
  EXPECT_EQ(k().StatusBar1()->PanelText(2), "1 : 6");
  EXPECT_TRUE(k().command(QStringLiteral("saveButton"))->isEnabled());
  EXPECT_TRUE(k().command(QStringLiteral("undoButton"))->isEnabled());
  k().command(QStringLiteral("selectAll"))->trigger();
  EXPECT_EQ(e.SelText(), "tekst");
  k().command(QStringLiteral("undoButton"))->trigger();
  EXPECT_EQ(e.TextBytes(), "");
  EXPECT_EQ(k().editor(0)->TextBytes(), "");
  k().command(QStringLiteral("redo"))->trigger();
  EXPECT_EQ(e.TextBytes(), "tekst");

  // "Op&dater" shows a title typed since the tab was captioned.
  e.setText(QStringLiteral("<TITLE>Ny titel</TITLE>"));
  EXPECT_EQ(k().TabControl1()->tabText(1), "Nyt dokument 2");
  k().command(QStringLiteral("refresh"))->trigger();
  EXPECT_EQ(k().TabControl1()->tabText(1), "Ny titel");
  EXPECT_EQ(k().windowTitle(), "Brimvale's Morvel - Ny titel");
}

TEST_F(MainWindow, ReplaceAllReportsTheCountOfReplacements) {
  showActive();
  TTivra& e = *k().editor(0);
  e.InsertText(QStringLiteral("en to en tre en"));
  e.setStartLine(1);
  e.setStartPos(0);
  e.setEndLine(1);
  e.setEndPos(2);
  e.SetSelection();
  k().command(QStringLiteral("replace"))->trigger();
  auto* dialog = k().findChild<QDialog*>(QStringLiteral("ReplaceDialog"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("findWhat"))->text(), "en");
  dialog->findChild<QLineEdit*>(QStringLiteral("replaceWith"))->setText(QStringLiteral("et"));
  ScriptedResponder responder;
  responder.answer(IDOK);
  dialog->findChild<QPushButton*>(QStringLiteral("replaceAll"))->click();
  EXPECT_EQ(responder.last().text, "Morvel erstattede 3 tilfælde af \"en\".");
  EXPECT_EQ(e.TextBytes(), "et to et tre et");
  dialog->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
}

// Find from the program goes on once from the top, as the editor's own find
// does, and so does F3 after it; a selection over several lines gives its
// first line to the find field.
TEST_F(MainWindow, FindWrapsOnceAndTakesTheFirstLineOfTheSelection) {
  showActive();
  TTivra& e = *k().editor(0);
  e.setTextBytes("en kat\r\nto katte\r\ntre");
  morvel::select(e, {1, 3}, {2, 2});
  k().command(QStringLiteral("find"))->trigger();
  auto* dialog = k().findChild<QDialog*>(QStringLiteral("FindDialog"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("findWhat"))->text(), "kat");
  morvel::select(e, {3, 0}, {3, 0});
  dialog->findChild<QPushButton*>(QStringLiteral("findNext"))->click();
  EXPECT_EQ(morvel::selectionOf(e).anchor, (morvel::TextPosition{1, 3}));
  EXPECT_EQ(morvel::selectionOf(e).caret, (morvel::TextPosition{1, 6}));
  dialog->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
  k().command(QStringLiteral("findNext"))->trigger();
  EXPECT_EQ(morvel::selectionOf(e).anchor, (morvel::TextPosition{2, 3}));
  k().command(QStringLiteral("findNext"))->trigger();
  EXPECT_EQ(morvel::selectionOf(e).anchor, (morvel::TextPosition{1, 3})) << "from the top again";
}

// "Erstat" replaces the match that is selected and finds the next one; with
// no match selected it finds the first.
TEST_F(MainWindow, ReplaceReplacesTheCurrentMatchAndSearchesOn) {
  showActive();
  TTivra& e = *k().editor(0);
  e.setTextBytes("en kat, en kat\r\nen kat");
  morvel::select(e, {1, 0}, {1, 0});
  k().command(QStringLiteral("replace"))->trigger();
  auto* dialog = k().findChild<QDialog*>(QStringLiteral("ReplaceDialog"));
  ASSERT_NE(dialog, nullptr);
  dialog->findChild<QLineEdit*>(QStringLiteral("findWhat"))->setText(QStringLiteral("kat"));
  dialog->findChild<QLineEdit*>(QStringLiteral("replaceWith"))->setText(QStringLiteral("hund"));
  auto* replace = dialog->findChild<QPushButton*>(QStringLiteral("replace"));
  replace->click();
  EXPECT_EQ(e.TextBytes(), "en kat, en kat\r\nen kat");
  EXPECT_EQ(e.SelTextBytes(), "kat");
  EXPECT_EQ(morvel::selectionOf(e).anchor, (morvel::TextPosition{1, 3}));
  replace->click();
  EXPECT_EQ(e.TextBytes(), "en hund, en kat\r\nen kat");
  EXPECT_EQ(morvel::selectionOf(e).anchor, (morvel::TextPosition{1, 12}));
  replace->click();
  replace->click();
  EXPECT_EQ(e.TextBytes(), "en hund, en hund\r\nen hund");
  dialog->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
}

TEST_F(MainWindow, TheAboutBoxNamesTheProductAndItsVersion) {
  ScriptedResponder responder;
  QString shown;
  responder.answer([&shown](platform::Request& r) {
    for (QLabel* l : r.form->findChildren<QLabel*>()) shown += l->text() + "\n";
    return QDialog::Accepted;
  });
  k().command(QStringLiteral("about"))->trigger();
  EXPECT_TRUE(shown.contains(QStringLiteral("Brimvale's Morvel")));
  EXPECT_TRUE(shown.contains(QStringLiteral("Version 2.09")));
}

}  // namespace
