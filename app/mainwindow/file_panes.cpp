#include "mainwindow/file_panes.h"

#include "commands/document_host.h"
#include "common_dialogs.h"
#include "controls/picture_image.h"
#include "interaction.h"
#include "mainwindow/file_list.h"
#include "mainwindow/folder_tree.h"
#include "projects/egenskaber.h"
#include "projects/file_actions.h"
#include "projects/project_paths.h"
#include "projects/size_text.h"
#include "settings/settings.h"
#include "startup/splash.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct FilterButton {
  const char* name;
  QString hint;
  QString mask;
  QStyle::StandardPixmap icon;
};

const std::array<FilterButton, 4> kHtmlFilters{{
    {"btnHTML", QStringLiteral("HTML-filer"), QStringLiteral("*.htm*;*.shtml;*.phtml;*.asp"),
     QStyle::SP_FileDialogContentsView},
    {"btnStyleSheet", QStringLiteral("Style Sheets"), QStringLiteral("*.css"), QStyle::SP_FileDialogDetailedView},
    {"btnSkript", QStringLiteral("Skript-filer"), QStringLiteral("*.js;*.java;*.cgi;*.pl"),
     QStyle::SP_FileDialogListView},
    {"btnAlle", QStringLiteral("Alle filer"), QStringLiteral("*.*"), QStyle::SP_DirOpenIcon},
}};

const std::array<FilterButton, 4> kMediaFilters{{
    {"btnGrafik", QStringLiteral("Grafikfiler"), QStringLiteral("*.gif;*.jpg;*.jpeg"), QStyle::SP_FileDialogInfoView},
    {"btnLyd", QStringLiteral("Lydfiler"), QStringLiteral("*.wav;*.au;*.mid"), QStyle::SP_MediaVolume},
    {"btnProgram", QStringLiteral("Programfiler"), QStringLiteral("*.exe,*.zip"), QStyle::SP_ComputerIcon},
    {"btnAlle2", QStringLiteral("Alle filer"), QStringLiteral("*.*"), QStyle::SP_DirOpenIcon},
}};

// The list keeps at least this height beside the preview.
constexpr int kLeastListHeight = 100;
constexpr int kLeastViewerHeight = 40;
// The gap the fitted preview keeps to the viewer's edges on each axis.
constexpr int kViewerMargin = 4;

std::string path8(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString extensionOf(const QString& file) { return QFileInfo(file).suffix().toLower(); }

bool isPicture(const QString& file) {
  const QString e = extensionOf(file);
  return e == QLatin1String("gif") || e == QLatin1String("jpg") || e == QLatin1String("jpeg");
}

// A page by its extension in lower case: "Index.HTM" is one.
bool isPage(const QString& file) { return morvel::hasHtmlExtension(path8(QFileInfo(file).fileName().toLower())); }

// The files a link can be inserted to.
bool takesLink(const QString& file) {
  static const QStringList kinds{QStringLiteral("zip"), QStringLiteral("exe"), QStringLiteral("css"),
                                 QStringLiteral("gif"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                 QStringLiteral("txt"), QStringLiteral("wav"), QStringLiteral("mid"),
                                 QStringLiteral("au")};
  return isPage(file) || kinds.contains(extensionOf(file));
}

QString shownFolder(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

}  // namespace

QString normalisedFolder(const QString& path) {
  if (path.isEmpty()) return path;
  return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

// ---------------------------------------------------------------------------
// FilePane

FilePane::FilePane(Kind kind, std::shared_ptr<QHash<QString, QString>> remembered, QWidget* parent)
    : QWidget(parent), kind_(kind) {
  const bool media = kind == Kind::Media;
  setObjectName(media ? QStringLiteral("tabMedie") : QStringLiteral("tabHTML"));
  drives_ = new TDriveCombo(media ? QStringLiteral("Drive2") : QStringLiteral("Drive1"), std::move(remembered));
  tree_ = new TDirTree(media ? QStringLiteral("Dir2") : QStringLiteral("Dir1"));
  list_ = new TFileList(media ? QStringLiteral("lwMedie") : QStringLiteral("lwHTML"));

  buttons_ = new QToolBar(this);
  buttons_->setObjectName(media ? QStringLiteral("mediaButtons") : QStringLiteral("htmlButtons"));
  buttons_->setIconSize(QSize(16, 16));
  auto* group = new QButtonGroup(this);
  const std::array<FilterButton, 4>& filters = media ? kMediaFilters : kHtmlFilters;
  for (int k = 0; k < 4; ++k) {
    const FilterButton& f = filters[static_cast<std::size_t>(k)];
    auto* b = new QToolButton;
    b->setObjectName(QString::fromLatin1(f.name));
    b->setIcon(style()->standardIcon(f.icon));
    b->setToolTip(f.hint);
    b->setCheckable(true);
    b->setAutoRaise(true);
    group->addButton(b, k);
    buttons_->addWidget(b);
    filterButtons_[static_cast<std::size_t>(k)] = b;
  }
  filterButtons_[0]->setChecked(true);
  connect(group, &QButtonGroup::idClicked, this, [this](int k) { setFilter(k); });
  buttons_->addSeparator();

  splDir_ = new QSplitter(Qt::Vertical, this);
  splDir_->setObjectName(media ? QStringLiteral("splDir2") : QStringLiteral("splDir1"));
  splDir_->setChildrenCollapsible(false);
  splDir_->addWidget(tree_);
  if (media) {
    splViewer_ = new QSplitter(Qt::Vertical);
    splViewer_->setObjectName(QStringLiteral("splViewer"));
    splViewer_->setChildrenCollapsible(false);
    viewer_ = new QWidget;
    viewer_->setObjectName(QStringLiteral("viewer"));
    imgViewer_ = new QLabel(viewer_);
    imgViewer_->setObjectName(QStringLiteral("imgViewer"));
    imgViewer_->setAlignment(Qt::AlignCenter);
    imgViewer_->setMinimumSize(1, 1);
    lblViewer_ = new QLabel(viewer_);
    lblViewer_->setObjectName(QStringLiteral("lblViewer"));
    lblViewer_->setAlignment(Qt::AlignCenter);
    auto* viewerLayout = new QVBoxLayout(viewer_);
    viewerLayout->setContentsMargins(0, 0, 0, 0);
    viewerLayout->setSpacing(0);
    viewerLayout->addWidget(imgViewer_, 1);
    viewerLayout->addWidget(lblViewer_);
    viewer_->setMinimumHeight(kLeastViewerHeight);
    viewer_->hide();
    imgViewer_->installEventFilter(this);
    splViewer_->addWidget(list_);
    splViewer_->addWidget(viewer_);
    splDir_->addWidget(splViewer_);
    connect(splViewer_, &QSplitter::splitterMoved, this, [this] {
      if (viewer_->isVisible()) viewerHeight_ = std::max(kLeastViewerHeight, splViewer_->sizes().value(1));
    });
  } else {
    splDir_->addWidget(list_);
  }
  splDir_->setStretchFactor(0, 0);
  splDir_->setStretchFactor(1, 1);
  connect(splDir_, &QSplitter::splitterMoved, this, [this] { treeHeight_ = splDir_->sizes().value(0); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  layout->addWidget(buttons_);
  layout->addWidget(drives_);
  layout->addWidget(splDir_, 1);

  list_->setMask(media ? QStringLiteral("*.gif;*.jpeg;*.jpg") : kHtmlFilters[0].mask);
  drives_->onDriveChosen = [this](const QString& folder) { setFolder(folder); };
  tree_->onFolderChosen = [this](const QString& folder) { chooseFolder(folder); };
  setFolderTreeHeight(treeHeight_);
}

QString FilePane::folder() const { return folder_; }

void FilePane::setFolder(const QString& folder) {
  folder_ = folder;
  drives_->readDrives(folder);
  const QString drive = drives_->currentDrive();
  if (drive != tree_->drive()) tree_->setDrive(drive);
  tree_->setCurrentFolder(folder);
  list_->setFolder(folder);
  drives_->remember(folder);
  hidePreview();
  if (onListChanged) onListChanged();
}

void FilePane::chooseFolder(const QString& folder) {
  folder_ = folder;
  list_->setFolder(folder);
  drives_->remember(folder);
  hidePreview();
  if (onListChanged) onListChanged();
}

QString FilePane::mask() const { return list_->mask(); }

void FilePane::setMask(const QString& mask) { list_->setMask(mask); }

void FilePane::setFilter(int filter) {
  filter_ = std::clamp(filter, 0, 3);
  filterButtons_[static_cast<std::size_t>(filter_)]->setChecked(true);
  list_->setMask((kind_ == Kind::Media ? kMediaFilters : kHtmlFilters)[static_cast<std::size_t>(filter_)].mask);
  if (filter_ != 0) hidePreview();
  if (onListChanged) onListChanged();
}

void FilePane::refresh() { list_->refresh(); }

void FilePane::rereadFolders() {
  drives_->readDrives(folder_);
  tree_->reread();
  list_->refresh();
}

int FilePane::folderTreeHeight() const { return treeHeight_; }

void FilePane::setFolderTreeHeight(int height) {
  treeHeight_ = std::max(0, height);
  splDir_->setSizes({treeHeight_, std::max(kLeastListHeight, splDir_->height() - treeHeight_)});
}

int FilePane::viewStyle() const { return list_->viewStyle(); }

void FilePane::setViewStyle(int style) { list_->setViewStyle(style); }

bool FilePane::previewShown() const { return viewer_ && !viewer_->isHidden(); }

void FilePane::setViewerHeight(int height) { viewerHeight_ = std::max(kLeastViewerHeight, height); }

void FilePane::showPreview(const QImage& picture, const QString& caption) {
  if (!viewer_) return;
  preview_ = picture;
  lblViewer_->setText(caption);
  const bool wasShown = previewShown();
  viewer_->show();
  if (!wasShown) {
    const int lower = splViewer_->height();
    splViewer_->setSizes({std::max(0, lower - viewerHeight_), viewerHeight_});
    // The tree gives way when the list would be lower than it may be.
    const int listHeight = lower - viewerHeight_;
    if (isVisible() && listHeight < kLeastListHeight) {
      const int tree = std::max(20, splDir_->sizes().value(0) - (kLeastListHeight - listHeight));
      splDir_->setSizes({tree, splDir_->height() - tree});
    }
  }
  layOutPreview();
}

void FilePane::hidePreview() {
  if (!viewer_) return;
  viewer_->hide();
  preview_ = QImage();
  imgViewer_->clear();
}

void FilePane::layOutPreview() {
  if (preview_.isNull()) return;
  const QSize box = imgViewer_->size() - QSize(kViewerMargin, kViewerMargin);
  const QSize fitted = fittedSize(preview_.size(), box);
  if (fitted.isEmpty()) return;
  imgViewer_->setPixmap(QPixmap::fromImage(preview_.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

bool FilePane::eventFilter(QObject* watched, QEvent* event) {
  if (watched == imgViewer_ && event->type() == QEvent::Resize) layOutPreview();
  return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// FilePanes

FilePanes::FilePanes(morvel::DocumentHost& host, QTabWidget* pages, QObject* parent)
    : QObject(parent), host_(host), pages_(pages), remembered_(std::make_shared<QHash<QString, QString>>()) {
  html_ = new FilePane(FilePane::Kind::Html, remembered_);
  media_ = new FilePane(FilePane::Kind::Media, remembered_);
  pages_->insertTab(0, html_, QStringLiteral("HTML"));
  pages_->insertTab(1, media_, QStringLiteral("Medie"));
  createMenu();
  connectPane(*html_);
  connectPane(*media_);
}

FilePanes::~FilePanes() = default;

FilePane& FilePanes::active() const { return pages_->currentWidget() == media_ ? *media_ : *html_; }

void FilePanes::connectPane(FilePane& pane) {
  TFileList* list = pane.fileList();
  list->onOpen = [this] { openSelected(); };
  list->onSelection = [this] { showSelectionInformation(); };
  list->onMenu = [this](const QPoint& at) {
    menuOpening();
    platform::popupMenu(menu_, POINT{at.x(), at.y()}, &active());
  };
  list->onKey = [this](QKeyEvent* key) { return keyPressed(key, true); };
  list->takesKey = [this](const QKeyEvent* key) { return keyPressed(key, false); };
  list->acceptsDrop = [this](const QMimeData* data) {
    return hooks.acceptsPublishingDrop && hooks.fetchInto && hooks.acceptsPublishingDrop(data);
  };
  list->dropped = [this, &pane](const QMimeData* data) {
    hooks.fetchInto(data, pane.folder());
    pane.refresh();
  };
  // The folders set while the window is made keep the status bar's first
  // texts; a folder chosen in the window shows its files there.
  pane.onListChanged = [this, &pane] {
    if (&pane == &active() && pane.isVisible()) showListStatus();
  };
  pane.folderTree()->onFilesDropped = [this](const QStringList& files, const QString& folder) {
    filesDropped(files, folder);
  };
  QStyle* style = QApplication::style();
  const QString suffix = pane.kind() == FilePane::Kind::Media ? QStringLiteral("2") : QString();
  QAction* closeAll = pane.buttons()->addAction(style->standardIcon(QStyle::SP_DialogCloseButton),
                                                QStringLiteral("Luk alle dokumenter"));
  pane.buttons()->widgetForAction(closeAll)->setObjectName(QStringLiteral("btnLukAlle") + suffix);
  connect(closeAll, &QAction::triggered, this, [this] {
    if (hooks.closeAllDocuments) hooks.closeAllDocuments();
  });
  QAction* close = pane.buttons()->addAction(style->standardIcon(QStyle::SP_TitleBarCloseButton),
                                             QStringLiteral("Luk det aktive dokument"));
  pane.buttons()->widgetForAction(close)->setObjectName(QStringLiteral("btnLukAktive") + suffix);
  connect(close, &QAction::triggered, this, [this] {
    if (hooks.closeActiveDocument) hooks.closeActiveDocument();
  });
}

// ---------------------------------------------------------------------------
// The pop-up menu

void FilePanes::createMenu() {
  menu_ = new QMenu(pages_);
  menu_->setObjectName(QStringLiteral("popFilboks"));
  auto add = [this](const char* name, const QString& caption, auto handler) {
    QAction* a = menu_->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  auto separator = [this](const char* name) { menu_->addSeparator()->setObjectName(QString::fromLatin1(name)); };
  menu_->setDefaultAction(add("popFilAabn", QStringLiteral("Å&bn"), [this] { openSelected(); }));
  add("popFilIndsaet", QStringLiteral("I&ndsæt henvisning"), [this] { insertLink(); });
  separator("popFilSkille1");
  add("popFilFlyt", QStringLiteral("&Flyt til...\tCtrl+Shift+X"), [this] { moveOrCopySelected(false); });
  add("popFilKopier", QStringLiteral("K&opier til...\tCtrl+Shift+C"), [this] { moveOrCopySelected(true); });
  add("popFilTilWWW", QStringLiteral("Overfør til Internet...\tCtrl+Shift+W"), [this] { publishSelected(); });
  separator("popFilSkille2");
  add("popFilSlet", QStringLiteral("&Slet"), [this] { deleteSelected(); });
  add("popFilOmdoeb", QStringLiteral("O&mdøb\tF2"), [this] { renameSelected(); });
  separator("popFilSkille3");
  QMenu* view = menu_->addMenu(QStringLiteral("&Vis"));
  view->setObjectName(QStringLiteral("popFilVis"));
  view->menuAction()->setObjectName(QStringLiteral("popFilVisMenu"));
  QMenu* kinds = menu_->addMenu(QStringLiteral("V&is filtyper"));
  kinds->setObjectName(QStringLiteral("popFilFiltyper"));
  kinds->menuAction()->setObjectName(QStringLiteral("popFilFiltyperMenu"));
  struct KindItem {
    const char* name;
    QString caption;
    bool media;
    int filter;
  };
  const KindItem items[] = {{"popFilHTML", QStringLiteral("&HTML-filer"), false, 0},
                            {"popFilBilleder", QStringLiteral("&Billedfiler"), true, 0},
                            {"popFilLyd", QStringLiteral("Ly&dfiler"), true, 1},
                            {"popFilAlle", QStringLiteral("&Alle filer"), false, 3}};
  for (const KindItem& item : items) {
    QAction* a = kinds->addAction(item.caption);
    a->setObjectName(QString::fromLatin1(item.name));
    a->setCheckable(true);
    FilePane* pane = item.media ? media_ : html_;
    const int filter = item.filter;
    connect(a, &QAction::triggered, this, [this, pane, filter] {
      pages_->setCurrentWidget(pane);
      pane->setFilter(filter);
    });
  }
  add("popFilOpdater", QStringLiteral("Op&dater filliste\tF5"), [this] { refreshActive(); });
  add("popFilBilledfremviser", QStringLiteral("Billedfre&mviser"), [] {});
  separator("popFilSkille4");
  add("popFilEgenskaber", QStringLiteral("&Egenskaber\tAlt+Enter"), [this] { showProperties(); });
}

void FilePanes::addMenuCommands(const QList<QAction*>& viewStyles, QAction* pictureViewer) {
  QMenu* view = menu_->findChild<QMenu*>(QStringLiteral("popFilVis"));
  for (QAction* a : viewStyles) view->addAction(a);
  QAction* viewer = menu_->findChild<QAction*>(QStringLiteral("popFilBilledfremviser"));
  if (!pictureViewer) return;
  // It follows the main menu's command, greyed while that is.
  viewer->setEnabled(pictureViewer->isEnabled());
  connect(pictureViewer, &QAction::changed, viewer,
          [viewer, pictureViewer] { viewer->setEnabled(pictureViewer->isEnabled()); });
  connect(viewer, &QAction::triggered, pictureViewer, &QAction::trigger);
}

void FilePanes::setViewStyle(int style) {
  html_->setViewStyle(style);
  media_->setViewStyle(style);
}

void FilePanes::menuOpening() {
  const QString file = active().fileList()->selectedFile();
  const bool selected = !file.isEmpty();
  auto item = [this](const char* name) { return menu_->findChild<QAction*>(QString::fromLatin1(name)); };
  for (const char* name : {"popFilAabn", "popFilSkille1", "popFilFlyt", "popFilKopier", "popFilTilWWW", "popFilSkille2",
                           "popFilSlet", "popFilOmdoeb", "popFilSkille4", "popFilEgenskaber"})
    item(name)->setVisible(selected);
  for (const char* name :
       {"popFilSkille3", "popFilVisMenu", "popFilFiltyperMenu", "popFilOpdater", "popFilBilledfremviser"})
    item(name)->setVisible(!selected);
  const bool browser = hooks.internalBrowserShown && hooks.internalBrowserShown();
  item("popFilIndsaet")->setVisible(selected && !browser);
  item("popFilIndsaet")->setEnabled(takesLink(file));
  item("popFilTilWWW")->setEnabled(bool(hooks.publishFiles));
  item("popFilHTML")->setChecked(html_->filter() == 0);
  item("popFilBilleder")->setChecked(media_->filter() == 0);
  item("popFilLyd")->setChecked(media_->filter() == 1);
  item("popFilAlle")->setChecked(html_->filter() == 3);
}

// Delete, F5, Ctrl+Shift+X, C and W and Alt+Enter in a file list.
bool FilePanes::keyPressed(const QKeyEvent* key, bool act) {
  const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
  std::function<void()> command;
  if (mods == Qt::NoModifier && key->key() == Qt::Key_Delete) {
    command = [this] { deleteSelected(); };
  } else if (mods == Qt::NoModifier && key->key() == Qt::Key_F5) {
    command = [this] { refreshActive(); };
  } else if (mods == (Qt::ControlModifier | Qt::ShiftModifier) && key->key() == Qt::Key_X) {
    command = [this] { moveOrCopySelected(false); };
  } else if (mods == (Qt::ControlModifier | Qt::ShiftModifier) && key->key() == Qt::Key_C) {
    command = [this] { moveOrCopySelected(true); };
  } else if (mods == (Qt::ControlModifier | Qt::ShiftModifier) && key->key() == Qt::Key_W) {
    command = [this] { publishSelected(); };
  } else if (mods == Qt::AltModifier && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
    command = [this] { showProperties(); };
  }
  if (!command) return false;
  if (act) command();
  return true;
}

// ---------------------------------------------------------------------------
// The commands

void FilePanes::openSelected() {
  for (const QString& file : active().fileList()->selectedFiles()) {
    const QString extension = extensionOf(file);
    if (isPage(file) || extension == QLatin1String("css") || extension == QLatin1String("txt")) {
      host_.openFile(file);
      continue;
    }
    const QString program = host_.settings().graphicsProgram.trimmed();
    bool started = false;
    if (isPicture(file) && !program.isEmpty() && QFileInfo(program).isFile())
      started = morvel::files::startProgram(program, {file});
    else
      started = morvel::files::openWithDesktop(file);
    if (!started) {
      platform::messageBox(active().window(), QStringLiteral("Kan ikke åbne %1.").arg(file), morvel::productName(),
                           MB_OK | MB_ICONSTOP);
    }
  }
}

void FilePanes::insertLink() {
  const QString file = active().fileList()->selectedFile();
  if (file.isEmpty() || !takesLink(file)) return;
  showSelectionInformation();
  if (hooks.insertLink) hooks.insertLink(file);
}

void FilePanes::moveOrCopySelected(bool copy) {
  const QStringList files = active().fileList()->selectedFiles();
  if (files.isEmpty()) return;
  platform::FolderDialogRequest choice;
  choice.title = QStringLiteral("Vælg den mappe, du ønsker at %1 de markerede filer til.")
                     .arg(copy ? QStringLiteral("kopiere") : QStringLiteral("flytte"));
  choice.folder = active().folder();
  platform::Request r(platform::RequestKind::BrowseFolder);
  r.parentWidget = host_.dialogParent();
  r.caption = choice.title;
  r.data = &choice;
  if (!platform::ask(r) || choice.chosen.isEmpty()) return;
  morvel::files::placeInFolder(host_.dialogParent(), &host_, files, choice.chosen, copy);
  refreshBoth();
}

void FilePanes::filesDropped(const QStringList& files, const QString& folder) {
  morvel::files::placeInFolder(host_.dialogParent(), &host_, files, folder, false);
  refreshBoth();
}

void FilePanes::deleteSelected() {
  if (active().fileList()->editing()) return;
  const QStringList files = active().fileList()->selectedFiles();
  if (morvel::files::moveToTrash(host_.dialogParent(), files) > 0) refreshBoth();
}

void FilePanes::renameSelected() { active().fileList()->editName(); }

void FilePanes::publishSelected() {
  const QStringList files = active().fileList()->selectedFiles();
  if (!files.isEmpty() && hooks.publishFiles) hooks.publishFiles(files);
}

void FilePanes::showProperties() {
  const QString file = active().fileList()->selectedFile();
  if (file.isEmpty()) return;
  morvel::properties::showFileProperties(host_, file, active().fileList()->listedFacts(file));
}

void FilePanes::refreshActive() {
  active().refresh();
  showListStatus();
}

void FilePanes::refreshBoth() {
  html_->refresh();
  media_->refresh();
  showListStatus();
}

void FilePanes::showListStatus() {
  const FilePane& pane = active();
  host_.setStatusText(0, shownFolder(pane.folder()));
  host_.setStatusText(1, QStringLiteral("%1 fil(er)").arg(pane.fileList()->count()));
}

void FilePanes::showSelectionInformation() {
  FilePane& pane = active();
  const QString file = pane.fileList()->selectedFile();
  if (file.isEmpty()) return;
  if (isPage(file)) {
    host_.setStatusText(0, host_.fileTitle(file));
  } else if (isPicture(file)) {
    showPicture(file);
  } else {
    host_.setStatusText(0, QString());
  }
  const morvel::FileFacts facts = morvel::factsOf(path8(file));
  host_.setStatusText(1, QString::fromStdString(morvel::shortSizeText(facts.bytes)));
}

void FilePanes::showPicture(const QString& file) {
  if (file != previewedFile_) {
    // A JPEG preview is decoded smaller the larger its file: the picture
    // is shown small anyway.
    const int scale = extensionOf(file) == QLatin1String("gif")
                          ? 1
                          : morvel::previewScaleForSize(static_cast<std::uint64_t>(QFileInfo(file).size()));
    previewed_ = morvel::decodePicture(path8(file), scale);
    previewedFile_ = file;
  }
  if (!previewed_) {
    host_.setStatusText(0, QStringLiteral("Billedfil. Dimensioner ukendte. Morvel kan ikke læse formatet."));
    media_->hidePreview();
    return;
  }
  host_.setStatusText(0, QStringLiteral("Billedfil. Dimensioner %1 x %2 pixels.")
                             .arg(previewed_->full.width)
                             .arg(previewed_->full.height));
  if (&active() == media_ && media_->filter() == 0 && host_.settings().showPictures)
    media_->showPreview(pictureImage(*previewed_), QFileInfo(file).fileName());
  else
    media_->hidePreview();
}
