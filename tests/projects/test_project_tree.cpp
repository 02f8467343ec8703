// The project tree of the main window driven through its menu, keys and the
// interaction seam, with its store in the test's program folder.
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/status_bar.h"
#include "mainwindow/kestrin.h"
#include "program_run.h"
#include "projects/archive_flag.h"
#include "projects/prj_filer.h"
#include "projects/project_tree.h"
#include "scripted_responder.h"
#include "settings/indstillinger.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <fstream>
#include <iterator>

namespace {

using testing_support::ScriptedResponder;

std::string fileBytes(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The folder dialog answered with `folder`; its caption is kept.
ScriptedResponder::Handler chooseFolder(const QString& folder, QString* caption = nullptr) {
  return [folder, caption](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::BrowseFolder);
    if (caption) *caption = static_cast<platform::FolderDialogRequest*>(r.data)->title;
    static_cast<platform::FolderDialogRequest*>(r.data)->chosen = folder;
    return 1;
  };
}

ScriptedResponder::Handler chooseFiles(const QStringList& files, platform::FileDialogRequest* seen = nullptr) {
  return [files, seen](platform::Request& r) {
    auto& request = *static_cast<platform::FileDialogRequest*>(r.data);
    if (seen) *seen = request;
    request.chosen = files;
    return 1;
  };
}

class ProjectTreeTest : public ::testing::Test {
 protected:
  ProjectTreeTest() {
    run.environment.set("MORVEL_HOME", run.dir.path());
    site = run.dir.filePath(QStringLiteral("site/"));
    QDir().mkpath(site + QStringLiteral("sub"));
    QDir().mkpath(run.dir.filePath(QStringLiteral("sibling")));
    // The user's data folder, where the trash lies.
    QDir().mkpath(run.home() + QStringLiteral("/.local/share"));
    run.restart();
  }

  TKestrin& k() { return run.kestrin(); }
  ProjectTree& projects() { return k().projects(); }
  QTreeWidget* tree() { return projects().tree(); }
  QString storePath() { return run.dir.filePath(QStringLiteral("projekt.mvp")); }
  QString write(const QString& path, const std::string& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
  }
  void writeStore(const std::string& bytes) { write(storePath(), bytes); }
  void load() { k().loadProjectTree(); }
  void select(QTreeWidgetItem* node) {
    tree()->setCurrentItem(node);
    node->setSelected(true);
  }
  void trigger(const char* name) {
    QAction* a = tree()->findChild<QAction*>(QString::fromLatin1(name));
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }
  QTreeWidgetItem* project(int i) { return projects().topNode()->child(i); }
  QStringList texts(const QTreeWidgetItem* node) {
    QStringList list;
    for (int k = 0; k < node->childCount(); ++k) list << node->child(k)->text(0);
    return list;
  }
  // A store with one project on `site` and the given document lines.
  void storeWithProject(const std::string& documents) {
    writeStore("Morvel-projekter\r\n Hjemmeside\r\n  - " + site.toStdString() + "\r\n" + documents);
    load();
  }
  // Types `text` into the in-place editor of the node being edited and
  // commits it.
  void typeIntoEditor(const QString& text) {
    auto* editor = tree()->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits the edit once the key has been handled, and lets the
    // editor go later.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  app_test::ProgramRun run;
  QString site;
};

TEST_F(ProjectTreeTest, WithoutAStoreTheTreeHoldsTheTopNodeAloneAndClosingWritesIt) {
  load();
  ASSERT_EQ(tree()->topLevelItemCount(), 1);
  EXPECT_EQ(projects().topNode()->text(0), "Morvel-projekter");
  EXPECT_EQ(ProjectTree::kind(projects().topNode()), ProjectNodeKind::Top);
  k().saveProjectTree();
  EXPECT_EQ(fileBytes(storePath()), "Morvel-projekter\r\n");
}

TEST_F(ProjectTreeTest, TheStoreBecomesTheTreeWithKindsMarksAndOrderAndIsWrittenBackUnchanged) {
  write(site + QStringLiteral("index.htm"), "<TITLE>Forside</TITLE>");
  const QString changed = write(site + QStringLiteral("sub/Nyheder.html"), "x");
  const QString published = write(site + QStringLiteral("b.css"), "x");
  write(run.dir.filePath(QStringLiteral("sibling/menu.htm")), "x");
  write(site + QStringLiteral("Index.HTM"), "x");
  for (const QString& f : {site + "index.htm", published, run.dir.filePath("sibling/menu.htm"), site + "Index.HTM"}) {
    ASSERT_TRUE(morvel::clearArchiveFlag(QFile::encodeName(f).toStdString()));
  }
  const std::string root = site.toStdString();
  // Sorted already, as the program writes it; the second project has no
  // changed file.
  const std::string store =
      "Morvel-projekter\r\n"
      " Andet\r\n"
      "  - " +
      root +
      "\r\n"
      "  ../sibling/menu.htm\r\n"
      "  b.css\r\n"
      "  Index.HTM\r\n"
      " Hjemmeside\r\n"
      "  - " +
      root +
      "\r\n"
      "  gone.htm\r\n"
      "  index.htm\r\n"
      "  sub/Nyheder.html\r\n";
  writeStore(store);
  load();
  ASSERT_EQ(texts(projects().topNode()), (QStringList{"Andet", "Hjemmeside"}));
  EXPECT_TRUE(projects().topNode()->isExpanded());
  QTreeWidgetItem* other = project(0);
  QTreeWidgetItem* home = project(1);
  EXPECT_EQ(ProjectTree::rootFolder(home), site);
  EXPECT_EQ(ProjectTree::kind(home->child(0)), ProjectNodeKind::RootFolder);
  EXPECT_EQ(ProjectTree::kind(home->child(1)), ProjectNodeKind::MissingFile);
  EXPECT_EQ(ProjectTree::kind(home->child(2)), ProjectNodeKind::HtmlDocument);
  EXPECT_EQ(ProjectTree::kind(other->child(2)), ProjectNodeKind::OtherFile);
  EXPECT_EQ(ProjectTree::kind(other->child(3)), ProjectNodeKind::OtherFile);  // "Index.HTM"
  EXPECT_EQ(ProjectTree::documentFile(other->child(1)), run.dir.filePath("sibling/menu.htm"));
  // Bold: the changed file and its project only.
  EXPECT_TRUE(home->child(3)->font(0).bold());
  EXPECT_FALSE(home->child(2)->font(0).bold());
  EXPECT_TRUE(home->font(0).bold());
  EXPECT_FALSE(other->font(0).bold());
  k().saveProjectTree();
  EXPECT_EQ(fileBytes(storePath()), store);

  // Publishing the file takes the mark away at the next refresh.
  ASSERT_TRUE(morvel::clearArchiveFlag(QFile::encodeName(changed).toStdString()));
  k().refreshFilePanesAndProjects();
  EXPECT_FALSE(home->font(0).bold());
}

// Names of any language and file names that begin with a blank or hold a
// line feed are stored so that, after a restart, every document is found.
TEST_F(ProjectTreeTest, AProjectInAFolderOfAnyNameIsFoundWholeAfterARestart) {
  const QString root = run.dir.filePath(QStringLiteral("Проекты ø/"));
  ASSERT_TRUE(QDir().mkpath(root));
  const QStringList files{write(root + QStringLiteral(" forside.htm"), "<TITLE>Forside</TITLE>"),
                          write(root + QStringLiteral("\tfane.htm"), "f"),
                          write(root + QStringLiteral("to\nlinier.htm"), "t"),
                          write(root + QStringLiteral("sø.htm"), "s")};
  load();
  {
    ScriptedResponder responder;
    responder.answer(chooseFolder(root.chopped(1)));
    select(projects().topNode());
    trigger("popNyt");
    typeIntoEditor(QStringLiteral("Børnehaven"));
    responder.answer(chooseFiles(files));
    select(project(0));
    trigger("popTilfoej");
  }
  const QStringList stored = texts(project(0));
  ASSERT_EQ(stored.size(), 5);

  run.restart();
  load();
  ASSERT_EQ(texts(projects().topNode()), QStringList{"Børnehaven"});
  EXPECT_EQ(texts(project(0)), stored);
  EXPECT_EQ(ProjectTree::rootFolder(project(0)), root);
  for (QTreeWidgetItem* document : ProjectTree::documentNodes(project(0))) {
    EXPECT_EQ(ProjectTree::kind(document), ProjectNodeKind::HtmlDocument) << document->text(0).toStdString();
    EXPECT_TRUE(files.contains(ProjectTree::documentFile(document))) << document->text(0).toStdString();
  }
  // Opened all at once, each in its tab.
  select(project(0));
  trigger("popAbnAlle");
  EXPECT_EQ(k().documentCount(), 4);
  for (const QString& f : files) EXPECT_GE(k().findOpenDocument(f), 0) << f.toStdString();
}

// A store written before stores were UTF-8 is read in Windows-1252, and
// written back in UTF-8.
TEST_F(ProjectTreeTest, AStoreInWindows1252IsStillRead) {
  const QString root = run.dir.filePath(QStringLiteral("Børn/"));
  ASSERT_TRUE(QDir().mkpath(root));
  write(root + QStringLiteral("fælles.htm"), "x");
  writeStore("Morvel-projekter\r\n B\xF8rnehaven\r\n  - " +
             QFile::encodeName(root).replace("\xC3\xB8", "\xF8").toStdString() + "\r\n  f\xE6lles.htm\r\n");
  load();
  EXPECT_EQ(texts(projects().topNode()), QStringList{"Børnehaven"});
  EXPECT_EQ(ProjectTree::kind(project(0)->child(1)), ProjectNodeKind::HtmlDocument);
  k().saveProjectTree();
  EXPECT_EQ(fileBytes(storePath()), "Morvel-projekter\r\n B\xC3\xB8rnehaven\r\n  - " +
                                        QFile::encodeName(root).toStdString() + "\r\n  f\xC3\xA6lles.htm\r\n");
}

// Opening every document of a project whose file is missing: the message,
// and no empty tab left behind.
TEST_F(ProjectTreeTest, OpeningAllWithAMissingFileLeavesNoEmptyTab) {
  const QString page = write(site + QStringLiteral("a.htm"), "a");
  storeWithProject("  a.htm\r\n  borte.htm\r\n");
  k().editor(0)->InsertText(QStringLiteral("tekst"));
  ScriptedResponder responder;
  responder.answer(IDOK);
  select(project(0));
  trigger("popAbnAlle");
  ASSERT_EQ(responder.seen().size(), 1u);
  EXPECT_EQ(responder.last().text, QStringLiteral("Kan ikke åbne filen %1.").arg(site + QStringLiteral("borte.htm")));
  EXPECT_EQ(k().documentCount(), 2);
  EXPECT_EQ(k().fileName(1), page);
  EXPECT_FALSE(QFile::exists(site + QStringLiteral("borte.htm")));
}

TEST_F(ProjectTreeTest, RefreshSortsProjectsAndDocumentsWithoutRegardToCaseAndKeepsTheRootFolderFirst) {
  writeStore("Morvel-projekter\r\n b\r\n  - /zz/\r\n  Zeta.htm\r\n  alpha.htm\r\n  ../Beta.htm\r\n A\r\n  - /\r\n");
  load();
  EXPECT_EQ(texts(projects().topNode()), (QStringList{"A", "b"}));
  EXPECT_EQ(texts(project(1)), (QStringList{"- /zz/", "../Beta.htm", "alpha.htm", "Zeta.htm"}));
}

TEST_F(ProjectTreeTest, ADamagedStoreSaysSoKeepsWhatCameBeforeAndKeepsACopyOfTheWholeFile) {
  const std::string damaged = "Morvel-projekter\r\n P\r\n  - /\r\n     x.htm\r\n Q\r\n  - /\r\n";
  writeStore(damaged);
  ScriptedResponder responder;
  responder.answer(IDOK);
  load();
  EXPECT_EQ(responder.last().text, "Invalid TreeNode Level");
  EXPECT_EQ(texts(projects().topNode()), QStringList{"P"});
  EXPECT_EQ(fileBytes(storePath() + ".bak"), damaged);
}

TEST_F(ProjectTreeTest, ANewProjectIsNamedInPlaceAndALeadingSpaceNeverReachesTheStore) {
  load();
  ScriptedResponder responder;
  QString caption;
  responder.answer(chooseFolder(site.chopped(1), &caption));
  select(projects().topNode());
  projects().menuOpening();
  EXPECT_TRUE(tree()->findChild<QAction*>("popNyt")->isVisible());
  trigger("popNyt");
  EXPECT_EQ(caption, "Vælg projektets rodbibliotek:");
  QTreeWidgetItem* p = project(0);
  EXPECT_EQ(p->text(0), "[Ingen titel]");
  EXPECT_EQ(p->child(0)->text(0), "- " + site);
  EXPECT_EQ(tree()->currentItem(), p);
  EXPECT_TRUE(p->isExpanded());
  typeIntoEditor(QStringLiteral("  Min side"));
  EXPECT_EQ(p->text(0), "Min side");
  k().saveProjectTree();
  EXPECT_EQ(fileBytes(storePath()), "Morvel-projekter\r\n Min side\r\n  - " + site.toStdString() + "\r\n");
}

TEST_F(ProjectTreeTest, AddingDocumentsStoresRelativePathsOnceAndChangingTheRootKeepsThemPointingAtTheSameFiles) {
  storeWithProject("");
  const QString page = write(site + QStringLiteral("index.htm"), "x");
  const QString sibling = write(run.dir.filePath(QStringLiteral("sibling/page.htm")), "x");
  const QString sub = write(site + QStringLiteral("sub/a.htm"), "x");
  select(project(0));
  ScriptedResponder responder;
  platform::FileDialogRequest seen;
  responder.answer(chooseFiles({page, sibling}, &seen));
  trigger("popTilfoej");
  EXPECT_EQ(seen.title, "Tilføj dokumenter til projekt");
  EXPECT_EQ(seen.folder, site);
  EXPECT_TRUE(seen.multiSelect);
  ASSERT_EQ(seen.filters.size(), 3);
  EXPECT_EQ(seen.filters[0].second, (QStringList{"*.htm*", "*.shtml", "*.phtml", "*.asp"}));
  EXPECT_EQ(seen.filters[2].first, "Alle filer ");
  // The same file again adds nothing.
  responder.answer(chooseFiles({page, sub}));
  trigger("popTilfoej");
  EXPECT_EQ(texts(project(0)), (QStringList{"- " + site, "../sibling/page.htm", "index.htm", "sub/a.htm"}));
  EXPECT_NE(fileBytes(storePath()).find("  ../sibling/page.htm\r\n"), std::string::npos);

  const QString newRoot = run.dir.filePath(QStringLiteral("site/sub"));
  responder.answer(chooseFolder(newRoot));
  trigger("popRedigerRod");
  EXPECT_EQ(project(0)->child(0)->text(0), "- " + newRoot + "/");
  for (QTreeWidgetItem* d : ProjectTree::documentNodes(project(0))) {
    EXPECT_NE(ProjectTree::kind(d), ProjectNodeKind::MissingFile) << d->text(0).toStdString();
  }
  EXPECT_EQ(texts(project(0)), (QStringList{"- " + newRoot + "/", "../../sibling/page.htm", "../index.htm", "a.htm"}));
  EXPECT_EQ(projects().currentRoot(), newRoot + "/");
}

TEST_F(ProjectTreeTest, TheActiveDocumentIsAddedOnlyWithAFileName) {
  storeWithProject("");
  select(project(0));
  ScriptedResponder responder;
  responder.answer(IDOK);
  trigger("popTilfoejAktive");
  EXPECT_EQ(responder.last().text, "Det aktive dokument skal gemmes, før det kan tilføjes til projektet.");
  EXPECT_EQ(project(0)->childCount(), 1);
  ASSERT_TRUE(k().openFile(write(site + QStringLiteral("sub/b.htm"), "<TITLE>B</TITLE>")));
  trigger("popTilfoejAktive");
  trigger("popTilfoejAktive");
  EXPECT_EQ(texts(project(0)), (QStringList{"- " + site, "sub/b.htm"}));
  EXPECT_NE(fileBytes(storePath()).find("  sub/b.htm\r\n"), std::string::npos);
}

TEST_F(ProjectTreeTest, TheMenuShowsTheCommandsOfTheSelectedNodeAndTheButtonsFollow) {
  write(site + QStringLiteral("a.htm"), "x");
  storeWithProject("  a.htm\r\n");
  auto visible = [this] {
    projects().menuOpening();
    QStringList names;
    for (QAction* a : projects().popProjekt()->actions()) {
      if (a->isVisible() && !a->isSeparator()) names << a->objectName();
    }
    return names;
  };
  auto enabled = [this](const char* name) { return tree()->parentWidget()->findChild<QAction*>(name)->isEnabled(); };
  tree()->setCurrentItem(nullptr);
  EXPECT_EQ(visible(), (QStringList{"popNyt", "popOpdater"}));
  select(projects().topNode());
  EXPECT_EQ(visible(), (QStringList{"popNyt", "popOpdater"}));
  EXPECT_FALSE(enabled("btnAabn"));
  select(project(0));
  EXPECT_EQ(visible(), (QStringList{"popAbnAlle", "popOpdaterProjekt", "popTilfoej", "popTilfoejAktive",
                                    "popFindIProjekt", "popErstatIProjekt", "popFlytProjekt", "popKopierProjekt",
                                    "popOmdoebP", "popSletProjekt", "popRedigerRod", "popOpdater", "popEgenskaber"}));
  EXPECT_TRUE(enabled("btnAabn") && enabled("btnEgenskaber") && enabled("btnTilfoejDok"));
  // The publishing window takes the project's files.
  EXPECT_TRUE(enabled("btnFtp"));
  select(project(0)->child(0));
  EXPECT_EQ(visible(), (QStringList{"popRedigerRod", "popOpdater"}));
  EXPECT_FALSE(enabled("btnAabn") || enabled("btnTilfoejDok"));
  select(project(0)->child(1));
  EXPECT_EQ(visible(), (QStringList{"popAabnDok", "popPrjDokTilWWW", "popFjernDok", "Omdb1", "popSletDok", "popOpdater",
                                    "popEgenskaber"}));
  EXPECT_TRUE(enabled("btnAabn") && !enabled("btnTilfoejDok"));
}

TEST_F(ProjectTreeTest, ARightClickSelectsTheNodeUnderTheMouseBeforeTheMenuOpens) {
  storeWithProject("");
  tree()->resize(300, 300);
  QTreeWidgetItem* p = project(0);
  const QPoint at = tree()->visualItemRect(p).center();
  ASSERT_FALSE(at.isNull());
  ScriptedResponder responder;
  bool deleteShown = false;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::PopupMenu);
    deleteShown = static_cast<QMenu*>(r.data)->findChild<QAction*>("popSletProjekt")->isVisible();
    return 0;
  });
  emit tree()->customContextMenuRequested(at);
  EXPECT_EQ(tree()->currentItem(), p);
  EXPECT_TRUE(deleteShown);
}

TEST_F(ProjectTreeTest, SelectingShowsTheRootOrTheTitleAndSizeInTheStatusBar) {
  write(site + QStringLiteral("a.htm"), "<TITLE>Forside &aelig;</TITLE>" + std::string(500, ' '));
  storeWithProject("  a.htm\r\n  gone.htm\r\n");
  TFriendlyStatusBar* status = k().StatusBar1();
  select(project(0));
  EXPECT_EQ(status->PanelText(0), "Rodbibliotek: " + site);
  EXPECT_EQ(status->PanelText(1), "2 dokumenter");
  select(project(0)->child(1));
  EXPECT_EQ(status->PanelText(0), "Forside æ");
  EXPECT_EQ(status->PanelText(1), "0,5 KB");
}

TEST_F(ProjectTreeTest, DoubleClickAndEnterOpenPagesAndStyleSheetsButNotOtherFiles) {
  const QString page = write(site + QStringLiteral("a.htm"), "a");
  const QString css = write(site + QStringLiteral("s.css"), "s");
  write(site + QStringLiteral("Index.HTM"), "i");
  storeWithProject("  a.htm\r\n  Index.HTM\r\n  s.css\r\n");
  QTreeWidgetItem* p = project(0);
  select(p->child(2));  // Index.HTM
  QTest::keyClick(tree(), Qt::Key_Return);
  EXPECT_TRUE(k().fileName(k().activeDocument()).isEmpty());
  select(p->child(3));
  tree()->setFocus();
  QTest::keyClick(tree(), Qt::Key_Return);
  EXPECT_EQ(k().fileName(k().activeDocument()), css);
  // A project opens every document, whatever its kind.
  select(p);
  trigger("popAbnAlle");
  EXPECT_EQ(k().documentCount(), 3);
  EXPECT_EQ(k().findOpenDocument(page) >= 0 && k().findOpenDocument(site + "Index.HTM") >= 0, true);
}

TEST_F(ProjectTreeTest, SletMovesTheFileToTheTrashAndRemovesTheNodeOnlyWhenTheFileIsGone) {
  const QString page = write(site + QStringLiteral("a.htm"), "a");
  write(site + QStringLiteral("b.htm"), "b");
  storeWithProject("  a.htm\r\n  b.htm\r\n");
  select(project(0)->child(1));
  ScriptedResponder responder;
  responder.answer(IDNO);
  trigger("popSletDok");
  EXPECT_EQ(responder.last().caption, "Slet fil");
  EXPECT_EQ(responder.last().text, "Ønsker du at slette a.htm?");
  EXPECT_EQ(responder.last().flags, UINT(MB_YESNO | MB_ICONWARNING));
  EXPECT_TRUE(QFile::exists(page));
  responder.answer(IDYES);
  trigger("popSletDok");
  EXPECT_FALSE(QFile::exists(page));
  EXPECT_EQ(texts(project(0)), (QStringList{"- " + site, "b.htm"}));
  EXPECT_EQ(fileBytes(storePath()).find("a.htm"), std::string::npos);
  // A trash holds the file for undoing the deletion.
  EXPECT_TRUE(QFile::exists(run.home() + "/.local/share/Trash/files/a.htm"));
}

TEST_F(ProjectTreeTest, RemovingADocumentOrDeletingAProjectTouchesNoFile) {
  const QString page = write(site + QStringLiteral("a.htm"), "a");
  storeWithProject("  a.htm\r\n");
  writeStore("untouched");
  select(project(0)->child(1));
  tree()->setFocus();
  QTest::keyClick(tree(), Qt::Key_Delete);
  EXPECT_EQ(project(0)->childCount(), 1);
  ScriptedResponder responder;
  responder.answer(IDNO);
  responder.answer(IDYES);
  select(project(0));
  QTest::keyClick(tree(), Qt::Key_Delete);
  EXPECT_EQ(responder.last().caption, "Slet projekt");
  EXPECT_EQ(responder.last().text, "Ønsker du at slette Hjemmeside?");
  EXPECT_EQ(projects().topNode()->childCount(), 1);
  trigger("popSletProjekt");
  EXPECT_EQ(projects().topNode()->childCount(), 0);
  EXPECT_TRUE(QFile::exists(page));
  // Neither is written before the next save.
  EXPECT_EQ(fileBytes(storePath()), "untouched");
}

TEST_F(ProjectTreeTest, RenamingADocumentRenamesItsFileAndAFailedRenameKeepsTheOldName) {
  write(site + QStringLiteral("a.htm"), "a");
  storeWithProject("  a.htm\r\n");
  QTreeWidgetItem* d = project(0)->child(1);
  select(d);
  tree()->setFocus();
  QTest::keyClick(tree(), Qt::Key_F2);
  typeIntoEditor(QStringLiteral("b.htm"));
  EXPECT_EQ(d->text(0), "b.htm");
  EXPECT_TRUE(QFile::exists(site + "b.htm"));
  EXPECT_FALSE(QFile::exists(site + "a.htm"));

  ScriptedResponder responder;
  responder.answer(IDOK);
  trigger("Omdb1");
  typeIntoEditor(QStringLiteral("nowhere/c.htm"));
  ASSERT_EQ(responder.seen().size(), 1u);
  EXPECT_EQ(responder.last().text, "Der skete en fejl under omdøbningen.");
  EXPECT_EQ(d->text(0), "b.htm");
  EXPECT_TRUE(QFile::exists(site + "b.htm"));
  // An existing file is never replaced.
  write(site + QStringLiteral("c.htm"), "c");
  responder.answer(IDOK);
  trigger("Omdb1");
  typeIntoEditor(QStringLiteral("c.htm"));
  EXPECT_EQ(fileBytes(site + "c.htm"), "c");
  EXPECT_EQ(d->text(0), "b.htm");

  // F2 on the root-folder node changes the root folder.
  select(project(0)->child(0));
  responder.answer(chooseFolder(run.dir.path()));
  QTest::keyClick(tree(), Qt::Key_F2);
  EXPECT_EQ(project(0)->child(0)->text(0), "- " + run.dir.path() + "/");
  EXPECT_EQ(project(0)->child(1)->text(0), "site/b.htm");
}

TEST_F(ProjectTreeTest, TheFileListShowsTheDocumentsAndCopyingAProjectKeepsTheirPlaces) {
  write(site + QStringLiteral("a.htm"), "<TITLE>A</TITLE>");
  write(site + QStringLiteral("sub/b.htm"), std::string(2000, 'b'));
  // The title's entities are decoded.
  write(site + QStringLiteral("sub/t.htm"), "<title>K&oslash;b</title>");
  write(run.dir.filePath(QStringLiteral("sibling/c.htm")), "c");
  storeWithProject("  a.htm\r\n  ../sibling/c.htm\r\n  gone.htm\r\n  sub/b.htm\r\n  SUB/B.htm\r\n  sub/t.htm\r\n");
  select(project(0));
  ScriptedResponder responder;
  TfrmPrjFiler* list = nullptr;
  responder.answer([&](platform::Request& r) {
    list = static_cast<TfrmPrjFiler*>(r.form);
    return int(QDialog::Rejected);
  });
  trigger("popEgenskaber");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->windowTitle(), "Egenskaber for projektet Hjemmeside");
  EXPECT_EQ(list->cmdAnnuller->text(), "Luk");
  EXPECT_TRUE(list->cmdOK->isHidden());
  EXPECT_EQ(list->lwPrjFiler->topLevelItemCount(), 5);  // "SUB/B.htm" is "sub/b.htm" again
  EXPECT_EQ(list->lwPrjFiler->topLevelItem(4)->text(1), "Køb");
  QTreeWidgetItem* first = list->lwPrjFiler->topLevelItem(0);
  EXPECT_EQ(first->text(0), "../sibling/c.htm");
  EXPECT_EQ(list->lwPrjFiler->topLevelItem(1)->text(1), "A");
  EXPECT_EQ(list->lwPrjFiler->topLevelItem(0)->text(1), "");
  EXPECT_EQ(list->lwPrjFiler->topLevelItem(3)->text(2), "1,9 KB");
  EXPECT_EQ(list->StatusBar1->PanelText(0), "5 objekt(er)");

  const QString destination = run.dir.filePath(QStringLiteral("copy/site"));
  responder.answer(chooseFolder(destination));
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.form->windowTitle(), "Kopiering af Hjemmeside til " + destination + "/");
    // The missing file is not checked.
    EXPECT_EQ(list->StatusBar1->PanelText(1), "4 fil(er) markeret til kopiering");
    list->lwPrjFiler->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(list->StatusBar1->PanelText(1), "3 fil(er) markeret til kopiering");
    return int(QDialog::Accepted);
  });
  trigger("popKopierProjekt");
  EXPECT_EQ(fileBytes(destination + "/a.htm"), "<TITLE>A</TITLE>");
  EXPECT_EQ(fileBytes(destination + "/sub/b.htm"), std::string(2000, 'b'));
  EXPECT_FALSE(QFile::exists(run.dir.filePath("copy/sibling/c.htm")));
  EXPECT_TRUE(QFile::exists(site + "a.htm"));
  EXPECT_EQ(ProjectTree::rootFolder(project(0)), site);
}

TEST_F(ProjectTreeTest, MovingAProjectMovesItsFilesAndItsRootFolder) {
  write(site + QStringLiteral("a.htm"), "a");
  write(site + QStringLiteral("sub/b.htm"), "b");
  storeWithProject("  a.htm\r\n  sub/b.htm\r\n");
  select(project(0));
  const QString destination = run.dir.filePath(QStringLiteral("moved"));
  ScriptedResponder responder;
  QString caption;
  responder.answer(chooseFolder(destination, &caption));
  responder.answer(int(QDialog::Accepted));
  trigger("popFlytProjekt");
  EXPECT_EQ(caption, "Vælg den mappe, der skal være projektets rodbibliotek.");
  EXPECT_EQ(ProjectTree::rootFolder(project(0)), destination + "/");
  EXPECT_EQ(fileBytes(destination + "/sub/b.htm"), "b");
  EXPECT_FALSE(QFile::exists(site + "a.htm"));
  for (QTreeWidgetItem* d : ProjectTree::documentNodes(project(0))) {
    EXPECT_NE(ProjectTree::kind(d), ProjectNodeKind::MissingFile);
  }
}

TEST_F(ProjectTreeTest, PublishingAProjectHandsOverTheCheckedFiles) {
  write(site + QStringLiteral("a.htm"), "a");
  const QString b = write(site + QStringLiteral("b.htm"), "b");
  ASSERT_TRUE(morvel::clearArchiveFlag(QFile::encodeName(b).toStdString()));
  storeWithProject("  a.htm\r\n  b.htm\r\n");
  QStringList handed;
  QString handedRoot;
  projects().publishFiles = [&](const QStringList& files, const QString& root) {
    handed = files;
    handedRoot = root;
  };
  run.changeSettings([](morvel::Settings& s) { s.useArchiveFlag = true; });
  select(project(0));
  ScriptedResponder responder;
  responder.answer([](platform::Request& r) {
    EXPECT_EQ(r.form->windowTitle(), "Overførsel af Hjemmeside til Internet");
    EXPECT_EQ(r.form->findChild<TFriendlyStatusBar*>("StatusBar1")->PanelText(1), "1 fil(er) markeret til overførsel");
    return int(QDialog::Accepted);
  });
  trigger("popOpdaterProjekt");
  EXPECT_EQ(handed, QStringList{"a.htm"});
  EXPECT_EQ(handedRoot, site);
}

}  // namespace
