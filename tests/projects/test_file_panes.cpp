// The "HTML" and "Medie" file panes of a real main window on real files in a
// temporary folder, driven through their lists, keys, menus, drops and the
// interaction seam; the trash is a test trash below XDG_DATA_HOME.
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/status_bar.h"
#include "mainwindow/file_list.h"
#include "mainwindow/file_panes.h"
#include "mainwindow/folder_tree.h"
#include "mainwindow/kestrin.h"
#include "picture_files.h"
#include "program_run.h"
#include "projects/archive_flag.h"
#include "projects/egenskaber.h"
#include "projects/file_drag.h"
#include "projects/project_tree.h"
#include "scripted_responder.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

#include <fstream>
#include <iterator>

#include <sys/stat.h>

namespace {

using testing_support::ScriptedResponder;

std::string fileBytes(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Drags `data` over `target` and lets go at `at`, as a drag of the desktop
// does: the drop reaches only a widget that took the drag when it entered.
// True when the drop was taken.
bool dragAndDrop(QWidget* target, const QPoint& at, const QMimeData* data, Qt::DropAction action) {
  QDragEnterEvent enter(at, action, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDragMoveEvent move(at, action, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &move);
  QDropEvent drop(at, action, data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

ScriptedResponder::Handler chooseFolder(const QString& folder, QString* title = nullptr) {
  return [folder, title](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::BrowseFolder);
    auto* choice = static_cast<platform::FolderDialogRequest*>(r.data);
    if (title) *title = choice->title;
    choice->chosen = folder;
    return 1;
  };
}

class FilePanesTest : public ::testing::Test {
 protected:
  FilePanesTest() {
    run.environment.set("MORVEL_HOME", run.dir.path());
    run.environment.set("XDG_DATA_HOME", run.dir.filePath(QStringLiteral("data")));
    site = run.dir.filePath(QStringLiteral("site"));
    QDir().mkpath(site + QStringLiteral("/img"));
    run.restart();
    k().resize(900, 650);
    k().show();
  }

  TKestrin& k() { return run.kestrin(); }
  FilePanes& panes() { return k().filePanes(); }
  FilePane& html() { return k().htmlPane(); }
  FilePane& media() { return k().mediaPane(); }
  QString write(const QString& name, const std::string& bytes) {
    const QString path = QDir(site).filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
  }
  QString status(int panel) { return k().statusText(panel); }
  // Shows the page with its list on `folder`, and selects `names`.
  void show(FilePane& pane, const QString& folder, const QStringList& names = {}) {
    k().pagFiler()->setCurrentWidget(&pane);
    pane.setFolder(folder);
    if (!names.isEmpty()) pane.fileList()->selectFiles(names);
  }
  QAbstractItemView* view(FilePane& pane) { return pane.fileList()->view(); }
  QAction* item(const char* name) { return panes().popFilboks()->findChild<QAction*>(QString::fromLatin1(name)); }
  TTivra& editor() { return *k().activeEditor(); }

  app_test::ProgramRun run;
  QString site;
};

// ---------------------------------------------------------------------------
// Listing, filters and opening

TEST_F(FilePanesTest, AnUpperCasePageIsListedAndOpensAsADocument) {
  const QString page = write(QStringLiteral("Index.HTM"), "<TITLE>Forside</TITLE>");
  write(QStringLiteral("noter.txt"), "tekst");
  write(QStringLiteral("stil.css"), "p {}");
  show(html(), site, {QStringLiteral("Index.HTM")});
  EXPECT_EQ(html().fileList()->names(), QStringList{QStringLiteral("Index.HTM")});
  EXPECT_EQ(status(0), QStringLiteral("Forside"));
  EXPECT_EQ(status(1), QStringLiteral("0,1 KB"));
  QTest::keyClick(view(html()), Qt::Key_Return);
  EXPECT_EQ(k().findOpenDocument(page), 0);

  // Text and style sheets open as documents too, each once.
  html().filterButton(3)->click();
  html().fileList()->selectAll();
  panes().openSelected();
  EXPECT_EQ(k().documentCount(), 3);
  EXPECT_GE(k().findOpenDocument(QDir(site).filePath(QStringLiteral("stil.css"))), 0);
}

TEST_F(FilePanesTest, FilterButtonsAndMenuItemsChooseTheFilesListed) {
  const QString folder = QDir(site).filePath(QStringLiteral("img"));
  for (const char* name : {"a.exe", "b.zip", "c.gif", "d.wav", "e.txt", "f.JPEG"})
    write(QStringLiteral("img/") + QLatin1String(name), "x");
  show(media(), folder);
  EXPECT_EQ(media().fileList()->names(), (QStringList{QStringLiteral("c.gif"), QStringLiteral("f.JPEG")}));
  media().filterButton(2)->click();
  EXPECT_EQ(media().mask(), QStringLiteral("*.exe,*.zip"));
  EXPECT_EQ(media().fileList()->names(), (QStringList{QStringLiteral("a.exe"), QStringLiteral("b.zip")}));
  EXPECT_EQ(status(0), folder + QLatin1Char('/'));
  EXPECT_EQ(status(1), QStringLiteral("2 fil(er)"));

  // The menu's filters follow the buttons, and choose as they do.
  panes().menuOpening();
  EXPECT_FALSE(item("popFilBilleder")->isChecked());
  EXPECT_TRUE(item("popFilHTML")->isChecked());
  item("popFilLyd")->trigger();
  EXPECT_TRUE(media().filterButton(1)->isChecked());
  EXPECT_EQ(media().fileList()->names(), QStringList{QStringLiteral("d.wav")});
  item("popFilAlle")->trigger();
  EXPECT_EQ(k().pagFiler()->currentWidget(), &html());
  EXPECT_TRUE(html().filterButton(3)->isChecked());
  panes().menuOpening();
  EXPECT_TRUE(item("popFilAlle")->isChecked());
  EXPECT_TRUE(item("popFilLyd")->isChecked());
}

TEST_F(FilePanesTest, PicturesOpenInTheGraphicsProgramAndOtherFilesInTheDesktopsProgram) {
  const QString tools = run.dir.filePath(QStringLiteral("programmer"));
  QDir().mkpath(tools);
  auto script = [&](const QString& name, const QString& out) {
    const QString path = QDir(tools).filePath(name);
    std::ofstream(path.toStdString()) << "#!/bin/sh\necho \"$@\" > \"" << out.toStdString() << ".tmp\"\nmv \""
                                      << out.toStdString() << ".tmp\" \"" << out.toStdString() << "\"\n";
    ::chmod(path.toLocal8Bit().constData(), 0755);
    return path;
  };
  const QString graphicsOut = run.dir.filePath(QStringLiteral("grafik.txt"));
  const QString desktopOut = run.dir.filePath(QStringLiteral("xdg.txt"));
  const QString graphics = script(QStringLiteral("tegn"), graphicsOut);
  script(QStringLiteral("xdg-open"), desktopOut);
  run.environment.set("PATH", tools + QLatin1Char(':') + qEnvironmentVariable("PATH"));
  run.changeSettings([&](morvel::Settings& s) { s.graphicsProgram = graphics; });
  const QString photo = write(QStringLiteral("img/foto.jpg"), "x");
  const QString archive = write(QStringLiteral("img/pakke.zip"), "x");

  show(media(), QDir(site).filePath(QStringLiteral("img")), {QStringLiteral("foto.jpg")});
  panes().openSelected();
  QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(graphicsOut), 20000);
  EXPECT_EQ(fileBytes(graphicsOut), photo.toStdString() + "\n");

  media().filterButton(3)->click();
  media().fileList()->selectFiles({QStringLiteral("pakke.zip")});
  panes().openSelected();
  QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(desktopOut), 20000);
  EXPECT_EQ(fileBytes(desktopOut), archive.toStdString() + "\n");
  EXPECT_EQ(k().documentCount(), 1);
}

TEST_F(FilePanesTest, ALargeFolderShowsItsNamesAtOnceAndItsDetailsAsTheLoopRuns) {
  const QString folder = run.dir.filePath(QStringLiteral("stor"));
  QDir().mkpath(folder);
  for (int i = 0; i < 10000; ++i)
    std::ofstream((folder + QStringLiteral("/side%1.htm").arg(i, 5, 10, QLatin1Char('0'))).toStdString()) << i;
  show(html(), folder);
  EXPECT_EQ(html().fileList()->count(), 10000);
  EXPECT_EQ(status(1), QStringLiteral("10000 fil(er)"));
  EXPECT_FALSE(html().fileList()->model().detailed()) << "the details come while the loop runs";
  QTRY_VERIFY_WITH_TIMEOUT(html().fileList()->model().detailed(), 60000);
  const QModelIndex last = html().fileList()->model().index(9999, FileListModel::kSize);
  EXPECT_EQ(last.data().toString(), QStringLiteral("0,1 KB"));
  const QString shortName = last.siblingAtColumn(FileListModel::kShortName).data().toString();
  EXPECT_TRUE(shortName.contains(QLatin1Char('~')) && shortName.endsWith(QLatin1String(".HTM")) &&
              shortName.size() <= 12)
      << shortName.toStdString();
}

// ---------------------------------------------------------------------------
// Selection information and the preview

TEST_F(FilePanesTest, AJpegOfSixtyThousandBytesIsPreviewedAtAQuarter) {
  const QString folder = QDir(site).filePath(QStringLiteral("img"));
  const std::string photo = QDir(folder).filePath(QStringLiteral("foto.jpg")).toStdString();
  ASSERT_TRUE(testing_support::writeJpeg(photo, 800, 600));
  std::string bytes = fileBytes(QString::fromStdString(photo));
  ASSERT_LT(bytes.size(), 60000u);
  bytes.resize(60000, '\0');
  write(QStringLiteral("img/foto.jpg"), bytes);
  const QString skew = QDir(folder).filePath(QStringLiteral("skaev.jpg"));
  ASSERT_TRUE(testing_support::writeJpeg(skew.toStdString(), 801, 3));
  std::string skewBytes = fileBytes(skew);
  skewBytes.resize(60000, '\0');
  write(QStringLiteral("img/skaev.jpg"), skewBytes);
  write(QStringLiteral("img/skadet.jpg"), std::string("\xFF\xD8\xFF", 3));

  show(media(), folder, {QStringLiteral("foto.jpg")});
  panes().showSelectionInformation();
  ASSERT_TRUE(panes().previewedPicture());
  EXPECT_EQ(panes().previewedPicture()->factor, 4);
  EXPECT_EQ(panes().previewedPicture()->width, 200);
  EXPECT_EQ(status(0), QStringLiteral("Billedfil. Dimensioner 800 x 600 pixels."));
  EXPECT_EQ(status(1), QStringLiteral("58,5 KB"));
  EXPECT_TRUE(media().previewShown());
  EXPECT_FALSE(media().imgViewer()->pixmap().isNull());
  EXPECT_EQ(media().lblViewer()->text(), QStringLiteral("foto.jpg"));

  // The picture's own size, also where a scaled decode rounds it (a
  // quarter of 801 is decoded as 201).
  media().fileList()->selectFiles({QStringLiteral("skaev.jpg")});
  EXPECT_EQ(panes().previewedPicture()->width, 201);
  EXPECT_EQ(status(0), QStringLiteral("Billedfil. Dimensioner 801 x 3 pixels."));
  media().fileList()->selectFiles({QStringLiteral("skadet.jpg")});
  EXPECT_EQ(status(0), QStringLiteral("Billedfil. Dimensioner ukendte. Morvel kan ikke læse formatet."));
  EXPECT_FALSE(media().previewShown());

  // Without the setting, or with another filter, no preview.
  run.changeSettings([](morvel::Settings& s) { s.showPictures = false; });
  media().fileList()->selectFiles({QStringLiteral("foto.jpg")});
  EXPECT_FALSE(media().previewShown());
  EXPECT_EQ(status(0), QStringLiteral("Billedfil. Dimensioner 800 x 600 pixels."));
  run.changeSettings([](morvel::Settings& s) { s.showPictures = true; });
  media().fileList()->selectFiles({QStringLiteral("skaev.jpg")});
  EXPECT_TRUE(media().previewShown());
  media().filterButton(3)->click();
  EXPECT_FALSE(media().previewShown());
}

// ---------------------------------------------------------------------------
// Links

TEST_F(FilePanesTest, ALinkToEachKindOfFileRelativeToThePage) {
  const QString page = write(QStringLiteral("index.htm"), "");
  ASSERT_TRUE(testing_support::writeGif(QDir(site).filePath(QStringLiteral("img/a.gif")).toStdString(), 64, 9));
  write(QStringLiteral("img/gong.mid"), "MThd");
  write(QStringLiteral("img/hent.zip"), "PK");
  write(QStringLiteral("img/brev.doc"), "x");
  ASSERT_TRUE(k().openFile(page));
  show(media(), QDir(site).filePath(QStringLiteral("img")), {QStringLiteral("a.gif")});
  panes().menuOpening();
  ASSERT_TRUE(item("popFilIndsaet")->isVisible());
  ASSERT_TRUE(item("popFilIndsaet")->isEnabled());
  item("popFilIndsaet")->trigger();
  EXPECT_EQ(editor().TextBytes(), "<IMG SRC=\"img/a.gif\" BORDER=\"0\" WIDTH=\"64\" HEIGHT=\"9\" ALT=\"\">");

  media().filterButton(3)->click();
  for (const char* name : {"gong.mid", "hent.zip"}) {
    media().fileList()->selectFiles({QString::fromLatin1(name)});
    panes().insertLink();
  }
  EXPECT_EQ(editor().TextBytes(),
            "<IMG SRC=\"img/a.gif\" BORDER=\"0\" WIDTH=\"64\" HEIGHT=\"9\" ALT=\"\">"
            "<EMBED SRC=\"img/gong.mid\" AUTOSTART=\"True\" HIDDEN=\"True\"><BGSOUND SRC=\"img/gong.mid\">"
            "<A HREF=\"img/hent.zip\">hent.zip</A>");
  media().fileList()->selectFiles({QStringLiteral("brev.doc")});
  panes().menuOpening();
  EXPECT_FALSE(item("popFilIndsaet")->isEnabled());

  // From a page without a file: the file's name alone.
  k().newDocument();
  media().fileList()->selectFiles({QStringLiteral("a.gif")});
  panes().insertLink();
  EXPECT_EQ(editor().TextBytes(), "<IMG SRC=\"a.gif\" BORDER=\"0\" WIDTH=\"64\" HEIGHT=\"9\" ALT=\"\">");
}

// The window's point over the editor's text position `line`:`column`.
QPoint windowPoint(TKestrin& k, TTivra& e, int line, int column) {
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 600; ++x) {
      int l = 0;
      int c = 0;
      if (e.PositionFromPoint(x, y, l, c) && l == line && c == column) {
        POINT p{x + 1, y + 1};
        ClientToScreen(e.Handle(), &p);
        return k.mapFromGlobal(QPoint(p.x, p.y));
      }
    }
  }
  ADD_FAILURE() << "no point for " << line << ":" << column;
  return {};
}

TEST_F(FilePanesTest, FilesDraggedOntoTheEditorBecomeLinksWhereTheyAreDropped) {
  const QString page = write(QStringLiteral("index.htm"), "ab cd\r\nef");
  const QString picture = QDir(site).filePath(QStringLiteral("img/b.gif"));
  ASSERT_TRUE(testing_support::writeGif(picture.toStdString(), 3, 2));
  ASSERT_TRUE(k().openFile(page));
  QApplication::processEvents();
  const QPoint at = windowPoint(k(), editor(), 1, 3);
  std::unique_ptr<QMimeData> data(morvel::fileDragData({picture}, true));
  EXPECT_TRUE(dragAndDrop(&k(), at, data.get(), Qt::CopyAction));
  EXPECT_EQ(editor().TextBytes(), "ab <IMG SRC=\"img/b.gif\" BORDER=\"0\" WIDTH=\"3\" HEIGHT=\"2\" ALT=\"\">cd\r\nef");

  // The same files let go over the file pane are not copied anywhere.
  show(html(), site);
  const QPoint onPane = k().pagFiler()->mapTo(&k(), QPoint(10, 100));
  EXPECT_FALSE(dragAndDrop(&k(), onPane, data.get(), Qt::CopyAction));
  EXPECT_FALSE(QFile::exists(QDir(site).filePath(QStringLiteral("b.gif"))));
  EXPECT_FALSE(k().dropLinks({picture}, onPane));
}

TEST_F(FilePanesTest, AFileDroppedFromAFileManagerOnThePaneIsCopiedIntoItsFolder) {
  const QString outside = run.dir.filePath(QStringLiteral("skrivebord/nyt.gif"));
  QDir().mkpath(QFileInfo(outside).absolutePath());
  std::ofstream(outside.toStdString(), std::ios::binary) << "GIF89a";
  show(media(), QDir(site).filePath(QStringLiteral("img")));
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(outside)});
  const QPoint onList = view(media())->viewport()->mapTo(&k(), QPoint(20, 20));
  EXPECT_TRUE(dragAndDrop(&k(), onList, &data, Qt::CopyAction));
  EXPECT_EQ(fileBytes(QDir(site).filePath(QStringLiteral("img/nyt.gif"))), "GIF89a");
  EXPECT_EQ(media().fileList()->names(), QStringList{QStringLiteral("nyt.gif")});
  EXPECT_TRUE(QFile::exists(outside));
}

// ---------------------------------------------------------------------------
// Deleting, moving, copying, renaming

TEST_F(FilePanesTest, DeletedFilesGoToTheTrash) {
  write(QStringLiteral("a.htm"), "a");
  write(QStringLiteral("b.htm"), "b");
  show(html(), site, {QStringLiteral("a.htm"), QStringLiteral("b.htm")});
  ScriptedResponder responder;
  responder.answer(IDNO);
  QTest::keyClick(view(html()), Qt::Key_Delete);
  EXPECT_EQ(responder.last().text, QStringLiteral("Ønsker du at flytte disse 2 filer til papirkurven?"));
  EXPECT_EQ(responder.last().caption, QStringLiteral("Slet flere filer"));
  EXPECT_EQ(html().fileList()->count(), 2);

  responder.answer(IDYES);
  QTest::keyClick(view(html()), Qt::Key_Delete);
  EXPECT_EQ(html().fileList()->count(), 0);
  const QString trash = run.dir.filePath(QStringLiteral("data/Trash"));
  EXPECT_EQ(fileBytes(trash + QStringLiteral("/files/a.htm")), "a");
  EXPECT_EQ(fileBytes(trash + QStringLiteral("/files/b.htm")), "b");
  const std::string info = fileBytes(trash + QStringLiteral("/info/a.htm.trashinfo"));
  EXPECT_NE(info.find("Path=" + QDir(site).filePath(QStringLiteral("a.htm")).toStdString()), std::string::npos);
}

TEST_F(FilePanesTest, MovingAndCopyingAskBeforeReplacing) {
  write(QStringLiteral("a.htm"), "ny a");
  write(QStringLiteral("b.htm"), "ny b");
  const QString archive = run.dir.filePath(QStringLiteral("arkiv"));
  QDir().mkpath(archive);
  std::ofstream((archive + QStringLiteral("/b.htm")).toStdString()) << "gammel b";
  show(html(), site, {QStringLiteral("a.htm"), QStringLiteral("b.htm")});

  ScriptedResponder responder;
  QString title;
  responder.answer(chooseFolder(archive, &title));
  responder.answer(IDNO);
  QTest::keyClick(view(html()), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(title, QStringLiteral("Vælg den mappe, du ønsker at kopiere de markerede filer til."));
  EXPECT_EQ(responder.last().text, archive + QStringLiteral("/b.htm findes allerede.\nVil du erstatte den?"));
  EXPECT_EQ(responder.last().flags & MB_TYPEMASK, UINT(MB_YESNOCANCEL));
  EXPECT_EQ(fileBytes(archive + QStringLiteral("/a.htm")), "ny a");
  EXPECT_EQ(fileBytes(archive + QStringLiteral("/b.htm")), "gammel b");
  EXPECT_EQ(html().fileList()->count(), 2);

  html().fileList()->selectFiles({QStringLiteral("a.htm"), QStringLiteral("b.htm")});
  responder.answer(chooseFolder(archive, &title));
  responder.answer(IDYES);  // a.htm
  responder.answer(IDYES);  // b.htm
  panes().menuOpening();
  item("popFilFlyt")->trigger();
  EXPECT_EQ(title, QStringLiteral("Vælg den mappe, du ønsker at flytte de markerede filer til."));
  EXPECT_EQ(fileBytes(archive + QStringLiteral("/b.htm")), "ny b");
  EXPECT_EQ(html().fileList()->count(), 0);
  EXPECT_FALSE(QFile::exists(QDir(site).filePath(QStringLiteral("a.htm"))));
}

TEST_F(FilePanesTest, ANameIsChangedInPlaceAndNeverOverAnotherFile) {
  write(QStringLiteral("a.htm"), "a");
  write(QStringLiteral("b.htm"), "b");
  show(html(), site, {QStringLiteral("a.htm")});
  auto rename = [this](const QString& name) {
    // The editor of the last rename goes first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::keyClick(view(html()), Qt::Key_F2);
    QLineEdit* field = view(html())->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(html().fileList()->editing());
    field->setText(name);
    QTest::keyClick(field, Qt::Key_Return);
    // The view takes the name on its next turn.
    QApplication::processEvents();
  };
  rename(QStringLiteral("forside.htm"));
  // Renamed where it stands, until the list is read again.
  EXPECT_EQ(html().fileList()->names(), (QStringList{QStringLiteral("forside.htm"), QStringLiteral("b.htm")}));
  EXPECT_EQ(fileBytes(QDir(site).filePath(QStringLiteral("forside.htm"))), "a");

  ScriptedResponder responder;
  responder.answer(IDOK);
  html().fileList()->selectFiles({QStringLiteral("forside.htm")});
  rename(QStringLiteral("b.htm"));
  EXPECT_EQ(responder.last().text, QStringLiteral("Der skete en fejl under omdøbningen."));
  EXPECT_EQ(html().fileList()->names(), (QStringList{QStringLiteral("forside.htm"), QStringLiteral("b.htm")}));
  EXPECT_EQ(fileBytes(QDir(site).filePath(QStringLiteral("b.htm"))), "b");
  EXPECT_EQ(fileBytes(QDir(site).filePath(QStringLiteral("forside.htm"))), "a");
}

TEST_F(FilePanesTest, FilesDraggedOntoAFolderOfTheTreeAreMovedThere) {
  write(QStringLiteral("a.htm"), "a");
  QDir().mkpath(QDir(site).filePath(QStringLiteral("arkiv")));
  show(html(), site);
  TDirTree* tree = html().folderTree();
  ASSERT_EQ(tree->currentFolder(), site);
  tree->currentItem()->setExpanded(true);
  QTreeWidgetItem* target = nullptr;
  for (int c = 0; c < tree->currentItem()->childCount(); ++c) {
    if (tree->currentItem()->child(c)->text(0) == QLatin1String("arkiv")) target = tree->currentItem()->child(c);
  }
  ASSERT_NE(target, nullptr);
  tree->scrollToItem(target);
  const QPoint at = tree->visualItemRect(target).center();
  const QString file = QDir(site).filePath(QStringLiteral("a.htm"));

  // The project tree's files are not taken.
  std::unique_ptr<QMimeData> fromProject(morvel::fileDragData({file}, false));
  EXPECT_FALSE(dragAndDrop(tree->viewport(), at, fromProject.get(), Qt::MoveAction));
  EXPECT_TRUE(QFile::exists(file));

  std::unique_ptr<QMimeData> fromList(morvel::fileDragData({file}, true));
  EXPECT_TRUE(dragAndDrop(tree->viewport(), at, fromList.get(), Qt::MoveAction));
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_EQ(fileBytes(QDir(site).filePath(QStringLiteral("arkiv/a.htm"))), "a");
  EXPECT_EQ(html().fileList()->count(), 0);
}

// ---------------------------------------------------------------------------
// Drives and the tree

TEST_F(FilePanesTest, TheTreeKeepsToItsDriveAndEachDriveRemembersItsFolder) {
  show(html(), site);
  TDriveCombo* drives = html().driveList();
  ASSERT_GE(drives->count(), 2);
  EXPECT_EQ(drives->itemText(0), QStringLiteral("Rodmappe (/)"));
  const int home = drives->findData(QDir::homePath());
  ASSERT_GE(home, 0);
  const int siteDrive = drives->currentIndex();
  EXPECT_NE(siteDrive, home);

  // The root's tree shows no folder of another file system.
  TDirTree root(QStringLiteral("proeve"));
  root.setDrive(QStringLiteral("/"));
  struct stat top {};
  ASSERT_EQ(::stat("/", &top), 0);
  const QStringList folders = root.subfolders(QStringLiteral("/"));
  EXPECT_FALSE(folders.isEmpty());
  for (const QString& folder : folders) {
    struct stat info {};
    ASSERT_EQ(::stat(folder.toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_dev, top.st_dev) << folder.toStdString();
  }

  emit drives->activated(home);
  EXPECT_EQ(html().folder(), QDir::homePath());
  EXPECT_EQ(html().folderTree()->drive(), QDir::homePath());
  emit drives->activated(siteDrive);
  EXPECT_EQ(html().folder(), site);
  EXPECT_EQ(html().folderTree()->currentFolder(), site);
}

TEST_F(FilePanesTest, ThePreviewHeightIsKeptBetweenRuns) {
  EXPECT_EQ(media().viewerHeight(), 96);
  run.store().WriteInteger("Start", "ViewerHoejde", 77);
  run.restart();
  EXPECT_EQ(media().viewerHeight(), 77);
  media().setViewerHeight(12);
  EXPECT_EQ(media().viewerHeight(), 40);
  ASSERT_TRUE(k().close());
  EXPECT_EQ(run.store().ReadInteger("Start", "ViewerHoejde", 0), 40);
}

// ---------------------------------------------------------------------------
// The menu, properties and publishing

TEST_F(FilePanesTest, TheMenuShowsTheFileCommandsForASelectionAndTheViewWithout) {
  write(QStringLiteral("a.htm"), "a");
  show(html(), site);
  panes().menuOpening();
  for (const char* name : {"popFilVisMenu", "popFilFiltyperMenu", "popFilOpdater", "popFilBilledfremviser"})
    EXPECT_TRUE(item(name)->isVisible()) << name;
  for (const char* name : {"popFilAabn", "popFilIndsaet", "popFilFlyt", "popFilSlet", "popFilEgenskaber"})
    EXPECT_FALSE(item(name)->isVisible()) << name;
  EXPECT_FALSE(item("popFilBilledfremviser")->isEnabled()) << "the picture viewer is greyed in the main menu too";
  EXPECT_EQ(panes().popFilboks()->findChild<QMenu*>(QStringLiteral("popFilVis"))->actions().size(), 4);

  html().fileList()->selectFiles({QStringLiteral("a.htm")});
  panes().menuOpening();
  EXPECT_TRUE(item("popFilAabn")->isVisible());
  EXPECT_EQ(panes().popFilboks()->defaultAction(), item("popFilAabn"));
  EXPECT_FALSE(item("popFilVisMenu")->isVisible());
  EXPECT_TRUE(item("popFilTilWWW")->isEnabled()) << "the publishing window takes the selected files";
  panes().hooks.internalBrowserShown = [] { return true; };
  panes().menuOpening();
  EXPECT_FALSE(item("popFilIndsaet")->isVisible());

  QStringList published;
  panes().hooks.publishFiles = [&published](const QStringList& files) { published = files; };
  panes().menuOpening();
  EXPECT_TRUE(item("popFilTilWWW")->isEnabled());
  QTest::keyClick(view(html()), Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(published, QStringList{QDir(site).filePath(QStringLiteral("a.htm"))});
}

TEST_F(FilePanesTest, ThePropertiesOfAFileShowWhatTheListShows) {
  const QString page = write(QStringLiteral("side.htm"), std::string(1234, ' '));
  show(html(), site, {QStringLiteral("side.htm")});
  html().fileList()->finishDetails();
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    auto* form = dynamic_cast<TfrmEgenskaber*>(r.form);
    EXPECT_NE(form, nullptr);
    if (!form) return 0;
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Egenskaber for ") + page);
    EXPECT_EQ(form->lblFilnavn->text(), QStringLiteral("side.htm"));
    EXPECT_EQ(form->lblAdresse->text(), site);
    EXPECT_EQ(form->lblStoerrelse->text(), QStringLiteral("1,2 KB (1.234 bytes)"));
    const QModelIndex row = html().fileList()->model().index(0, FileListModel::kModified);
    EXPECT_EQ(form->lblAendret->text(), row.data().toString());
    EXPECT_EQ(form->lblSidstAabnet->text(), row.siblingAtColumn(FileListModel::kAccessed).data().toString());
    return int(QDialog::Rejected);
  });
  QTest::keyClick(view(html()), Qt::Key_Return, Qt::AltModifier);
  EXPECT_EQ(responder.pending(), 0u);
  EXPECT_EQ(k().documentCount(), 1) << "Alt+Enter is not Enter";
}

// ---------------------------------------------------------------------------
// Looked at

// With MORVEL_SCREENSHOTS set to a folder, the window is written there: a
// project of five documents (one changed since it was published) and the
// media pane previewing a picture.
TEST_F(FilePanesTest, Screenshots) {
  QStringList documents;
  for (const char* name : {"index.htm", "om.htm", "kontakt.htm", "nyheder.htm", "sider/galleri.htm"}) {
    documents << write(QString::fromLatin1(name), "<TITLE>Side</TITLE>");
    if (documents.size() != 3) morvel::clearArchiveFlag(documents.last().toStdString());
  }
  const QString photo = QDir(site).filePath(QStringLiteral("img/solnedgang.jpg"));
  ASSERT_TRUE(testing_support::writeJpegPicture(photo.toStdString(), 320, 200, [](int x, int y) {
    return std::array<int, 3>{255 - y / 2, 80 + x / 3, 60 + y};
  }));
  std::ofstream(run.dir.filePath(QStringLiteral("projekt.mvp")).toStdString(), std::ios::binary)
      << "Morvel-projekter\r\n Hjemmesiden\r\n  - " << site.toStdString() << "/\r\n  index.htm\r\n  om.htm\r\n"
      << "  kontakt.htm\r\n  nyheder.htm\r\n  sider/galleri.htm\r\n";
  k().loadProjectTree();
  const QList<QTreeWidgetItem*> projects = k().projects().projectNodes();
  ASSERT_EQ(projects.size(), 1);
  EXPECT_TRUE(projects[0]->font(0).bold());
  int bold = 0;
  for (QTreeWidgetItem* d : ProjectTree::documentNodes(projects[0])) bold += d->font(0).bold() ? 1 : 0;
  EXPECT_EQ(bold, 1);

  ASSERT_TRUE(k().openFile(documents.first()));
  show(media(), QDir(site).filePath(QStringLiteral("img")), {QStringLiteral("solnedgang.jpg")});
  QApplication::processEvents();
  EXPECT_TRUE(media().previewShown());
  const QString folder = qEnvironmentVariable("MORVEL_SCREENSHOTS");
  if (folder.isEmpty()) return;
  k().grab().save(QDir(folder).filePath(QStringLiteral("medie.png")));
  k().pagFiler()->setCurrentIndex(2);
  projects[0]->setExpanded(true);
  k().projects().tree()->setCurrentItem(projects[0]);
  QApplication::processEvents();
  k().grab().save(QDir(folder).filePath(QStringLiteral("projekter.png")));
}

}  // namespace
