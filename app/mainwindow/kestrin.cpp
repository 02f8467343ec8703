// TKestrin: start-up, layout and closing of the main window.
#include "mainwindow/kestrin.h"

#include "component/tivra_component.h"
#include "controls/status_bar.h"
#include "host.h"
#include "interaction.h"
#include "mainwindow/documents.h"
#include "mainwindow/file_list.h"
#include "mainwindow/file_panes.h"
#include "markup/date_format.h"
#include "projects/file_drag.h"
#include "projects/project_tree.h"
#include "qtext.h"
#include "settings/indstillinger.h"
#include "settings/settings_store.h"
#include "startup/help.h"
#include "startup/program_folder.h"
#include "startup/splash.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

namespace st = morvel::settings;

namespace {

// A keyword for a help file from the selected text: "<TABLE>" asks for TABLE.
QString helpKeyword(const QString& selected) {
  QString keyword = selected.trimmed();
  keyword.remove(QLatin1Char('<')).remove(QLatin1Char('>')).remove(QLatin1Char('/'));
  return keyword.trimmed();
}

// Status bar panels: widths at 96 dots per inch (panel 0 takes the rest).
constexpr int kPanelWidths[] = {0, 80, 60, 100, 60, 135};
// What panel 0 leaves beside the others, at 96 dots per inch.
constexpr int kPanelZeroMargin = 190;
constexpr int kOverwriteIndent = 7;
constexpr int kSplitterMinimum = 160;
constexpr int kFindColumns[] = {270, 30, 340};

int scaled(const QWidget* w, int pixelsAt96) { return pixelsAt96 * w->logicalDpiX() / 96; }

}  // namespace

TKestrin::TKestrin(morvel::RegIniFile& store, QWidget* parent)
    : QMainWindow(parent), store_(store), tabs_(new QTabWidget(this)) {
  setObjectName(QStringLiteral("Kestrin"));
  setWindowTitle(morvel::productName());
  // Files dropped from a file manager.
  setAcceptDrops(true);
  hwnd_ = platform::attachWindow(
      this, [this](HWND h, UINT msg, WPARAM wParam, LPARAM lParam) { return windowMessage(h, msg, wParam, lParam); });
  tabs_->setObjectName(QStringLiteral("TabControl1"));
  tabs_->tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tabs_->tabBar(), &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { showTabContextMenu(tabs_->tabBar()->mapToGlobal(at)); });
  createFilePanes();
  createPublishing();
  createStatusBar();
  createMenus();
  createToolBar();
  createPopupMenus();
  filePanes_->addMenuCommands(viewStyles_->actions(), command(QStringLiteral("pictureViewer")));
  disableUnbuiltCommands();
  createHiddenControls();
  // Whenever the program becomes active again, another program may have
  // changed an open file. Asked after the activation has settled.
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive)
      QMetaObject::invokeMethod(
          this, [this] { checkFilesChangedByOthers(); }, Qt::QueuedConnection);
  });
  masterPage_ = -1;
  // The settings dialog comes before the first editor, which takes its look.
  settings_ = morvel::readSettings(store_);
  indstillinger_ = std::make_unique<TIndstillinger>(*this);
  // Made now and kept, so that a script lasts for the whole run.
  elementDialogs_.scriptEditor();
  // The first document: "Nyt dokument 1" with the editor Tivra0.
  appendDocument(QStringLiteral("Nyt dokument 1"));
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int i) {
    if (i >= 0 && i < documentCount() && i != active_) activateDocument(i);
  });
  readStartSettings();
}

TKestrin::~TKestrin() {
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

// ---------------------------------------------------------------------------
// Controls

void TKestrin::createFilePanes() {
  splForm_ = new QSplitter(Qt::Horizontal, this);
  splForm_->setObjectName(QStringLiteral("splForm"));
  splForm_->setChildrenCollapsible(false);
  pagFiler_ = new QTabWidget(splForm_);
  pagFiler_->setObjectName(QStringLiteral("pagFiler"));
  pagFiler_->setMinimumWidth(kSplitterMinimum / 2);
  filePanes_ = new FilePanes(*this, pagFiler_, this);
  htmlPane_ = &filePanes_->html();
  mediaPane_ = &filePanes_->media();
  filePanes_->hooks.insertLink = [this](const QString& file) { markup_.insertCodeForFile(file); };
  filePanes_->hooks.closeAllDocuments = [this] { closeAllDocuments(); };
  filePanes_->hooks.closeActiveDocument = [this] { closeActiveDocument(); };
  filePanes_->hooks.internalBrowserShown = [this] { return internalBrowserShown(); };
  // Inserting a picture the preview has read takes its size from there.
  markup_.viewerPictureSize = [this](const QString& file) -> std::optional<morvel::PictureSize> {
    if (filePanes_->previewedFile() != file || !filePanes_->previewedPicture()) return std::nullopt;
    return filePanes_->previewedPicture()->full;
  };
  auto* projects = new QWidget;
  projects->setObjectName(QStringLiteral("tabProjekt"));
  trwProjekt_ = new QTreeWidget(projects);
  trwProjekt_->setObjectName(QStringLiteral("trwProjekt"));
  trwProjekt_->setHeaderHidden(true);
  auto* projectLayout = new QVBoxLayout(projects);
  projectLayout->setContentsMargins(2, 2, 2, 2);
  projectLayout->addWidget(trwProjekt_);
  projects_ = new ProjectTree(*this, trwProjekt_, this);
  pagFiler_->addTab(projects, QStringLiteral("Projekter"));

  splFind_ = new QSplitter(Qt::Vertical, splForm_);
  splFind_->setObjectName(QStringLiteral("splFind"));
  tabs_->setParent(splFind_);
  tabs_->setMinimumWidth(kSplitterMinimum);
  splFind_->addWidget(tabs_);
  lwFind_ = new QTreeWidget(splFind_);
  lwFind_->setObjectName(QStringLiteral("lwFind"));
  lwFind_->setColumnCount(3);
  lwFind_->setHeaderHidden(true);
  lwFind_->setRootIsDecorated(false);
  for (int c = 0; c < 3; ++c) lwFind_->setColumnWidth(c, kFindColumns[c]);
  lwFind_->hide();
  splFind_->addWidget(lwFind_);

  splForm_->addWidget(pagFiler_);
  splForm_->addWidget(splFind_);
  splForm_->setStretchFactor(0, 0);
  splForm_->setStretchFactor(1, 1);
  connect(splForm_, &QSplitter::splitterMoved, this, [this] {
    if (pagFiler_->isVisible()) paneWidth_ = pagFiler_->width();
  });
  setCentralWidget(splForm_);
}

void TKestrin::createHiddenControls() {
  rlTop_ = new QWidget(tabs_);
  rlTop_->setObjectName(QStringLiteral("rlTop"));
  rlTop_->hide();
  rlVenstre_ = new QWidget(tabs_);
  rlVenstre_->setObjectName(QStringLiteral("rlVenstre"));
  rlVenstre_->hide();
  lwTmp_ = new QListWidget(this);
  lwTmp_->setObjectName(QStringLiteral("lwTmp"));
  lwTmp_->hide();
  edtTmp_ = new TTivra(this);
  edtTmp_->setObjectName(QStringLiteral("edtTmp"));
  edtTmp_->hide();
}

void TKestrin::createStatusBar() {
  statusBar_ = new TFriendlyStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("StatusBar1"));
  const QString texts[] = {QStringLiteral("Dokumentet er ikke gemt"),
                           QStringLiteral("0 tegn"),
                           QStringLiteral("1:1"),
                           QStringLiteral("CR LF"),
                           QStringLiteral("Dato"),
                           QString()};
  for (int i = 0; i < 6; ++i) statusBar_->AddPanel(texts[i], i == 0 ? 0 : scaled(this, kPanelWidths[i]));
  // The date must fit in the font of this screen.
  const int dateWidth = statusBar_->Panel(4)->fontMetrics().horizontalAdvance(QStringLiteral("00-00-0000")) + 8;
  statusBar_->setPanelWidth(4, std::max(scaled(this, kPanelWidths[4]), dateWidth));
  QLabel* last = statusBar_->Panel(5);
  last->setFrameShape(QFrame::NoFrame);
  last->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  // The progress bar of long work covers the first panel while it runs.
  progressBar_ = new QProgressBar(statusBar_->Panel(0));
  progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
  progressBar_->setRange(0, 100);
  progressBar_->setTextVisible(false);
  progressBar_->hide();
  auto* cover = new QHBoxLayout(statusBar_->Panel(0));
  cover->setContentsMargins(0, 0, 0, 0);
  cover->addWidget(progressBar_);

  overwrite_ = new QLabel(QStringLiteral("Overskriv"), statusBar_->Panel(3));
  overwrite_->setObjectName(QStringLiteral("lblOverskriv"));
  overwrite_->setEnabled(false);  // enabled while the editor overwrites
  auto* place = new QHBoxLayout(statusBar_->Panel(3));
  place->setContentsMargins(scaled(this, kOverwriteIndent) - 5, 0, 0, 0);
  place->addWidget(overwrite_);
  // The document's line ends stand at the panel's right, beside "Overskriv".
  statusBar_->Panel(3)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setStatusBar(statusBar_);
}

void TKestrin::layoutStatusBar() {
  statusBar_->setPanelWidth(3, scaled(this, kPanelWidths[3]));
  int others = 0;
  for (int i = 1; i <= 4; ++i) others += statusBar_->Panel(i)->width();
  const int first = std::max(0, width() - others - scaled(this, kPanelZeroMargin));
  statusBar_->setPanelWidth(0, first);
  progressBar_->setFixedWidth(first);
  const int third = width() - kFindColumns[0] - kFindColumns[1] - 30;
  if (third > 0) lwFind_->setColumnWidth(2, third);
}

void TKestrin::applyToolBarStyle() {
  const bool oldButtons = settings_.oldToolButtons;
  toolBar_->setFixedHeight(oldButtons ? 32 : 29);
  for (QToolButton* b : toolBar_->findChildren<QToolButton*>()) b->setAutoRaise(!oldButtons);
}

// ---------------------------------------------------------------------------
// Settings of section "Start"

void TKestrin::readStartSettings() {
  move(st::read(store_, st::start::Venstre), st::read(store_, st::start::Top));
  resize(st::read(store_, st::start::Bredde), st::read(store_, st::start::Hoejde));
  folderTreeHeight_ = st::read(store_, st::start::DirHoejde);
  htmlPane_->setFolderTreeHeight(folderTreeHeight_);
  mediaPane_->setFolderTreeHeight(folderTreeHeight_);
  mediaPane_->setViewerHeight(st::read(store_, st::start::ViewerHoejde));
  paneWidth_ = st::read(store_, st::start::FilBredde);
  // Toggled once below, so the panes show exactly when "Filboks" is set.
  command(QStringLiteral("mnuSkjulFilboks"))->setChecked(!st::read(store_, st::start::Filboks));
  setFileListView(st::read(store_, st::start::Vis));
  const int page = st::read(store_, st::start::Fane);
  pagFiler_->setCurrentIndex(page >= 0 && page < pagFiler_->count() ? page : 0);
  switch (st::read(store_, st::start::Status)) {
    case 2:
      setWindowState(Qt::WindowMinimized);
      break;
    case 3:
      setWindowState(Qt::WindowMaximized);
      break;
    default:
      break;
  }
  QString html = normalisedFolder(st::read(store_, st::start::Sti));
  if (html.isEmpty()) html = morvel::programFolder();
  QString media = normalisedFolder(st::read(store_, st::start::StiMedie));
  if (media.isEmpty()) media = html;
  htmlPane_->setFolder(html);
  mediaPane_->setFolder(media);
  toggleFilePanes();
  statusBar_->setPanelText(5, morvel::productName() + QLatin1Char(' ') + QStringLiteral(MORVEL_VERSION));
}

void TKestrin::writeStartSettings() {
  if (isMinimized()) {
    st::write(store_, st::start::Status, 2);
  } else if (isMaximized() || isFullScreen()) {
    st::write(store_, st::start::Status, 3);
  } else {
    st::write(store_, st::start::Top, y());
    st::write(store_, st::start::Venstre, x());
    st::write(store_, st::start::Hoejde, height());
    st::write(store_, st::start::Bredde, width());
    st::write(store_, st::start::Status, 1);
  }
  st::write(store_, st::start::DirHoejde, htmlPane_->folderTreeHeight());
  st::write(store_, st::start::ViewerHoejde, mediaPane_->viewerHeight());
  st::write(store_, st::start::FilBredde, paneWidth_);
  st::write(store_, st::start::Fane, pagFiler_->currentIndex());
  st::write(store_, st::start::Sti, htmlPane_->folder());
  st::write(store_, st::start::StiMedie, mediaPane_->folder());
  st::write(store_, st::start::Filboks, filePanesShown());
  st::write(store_, st::start::Vis, htmlPane_->viewStyle());
  st::write(store_, st::indstillinger::MSIE, settings_.internalBrowserMsie);
}

// ---------------------------------------------------------------------------
// Showing, resizing, closing

void TKestrin::setCommandLineFiles(const QStringList& files) { commandLineFiles_ = files; }

void TKestrin::setSplash(QWidget* splash) { splash_ = splash; }

void TKestrin::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!panesLaidOut_ && filePanesShown()) {
    panesLaidOut_ = true;
    splForm_->setSizes({paneWidth_, std::max(kSplitterMinimum, width() - paneWidth_)});
  }
  if (shown_) return;
  shown_ = true;
  applyToolBarStyle();
  loadProjectTree();
  if (splash_) {
    splash_->hide();
    splash_->deleteLater();
  }
  if (!commandLineFiles_.isEmpty()) openFileList(commandLineList(commandLineFiles_));
  if (TTivra* first = editor(0)) {
    setEditorWordWrap(*first, settings_.wordWrap);
    first->SetModified(false);
  }
  activateDocument(active_);
  // Activating showed the file name over the notice of a file just opened.
  if (!commandLineFiles_.isEmpty()) showLongLinesNotice(active_);
}

void TKestrin::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  layoutStatusBar();
}

void TKestrin::closeEvent(QCloseEvent* event) {
  if (!closePublishing() || !closeAllDocuments()) {
    event->ignore();
    return;
  }
  if (!previewFile_.isEmpty()) QFile::remove(previewFile_);
  writeStartSettings();
  store_.UpdateFile();
  saveProjectTree();
  event->accept();
}

bool TKestrin::filePanesShown() const { return command(QStringLiteral("mnuSkjulFilboks"))->isChecked(); }

void TKestrin::toggleFilePanes() { setFilePanesShown(!filePanesShown()); }

void TKestrin::setFilePanesShown(bool show) {
  command(QStringLiteral("mnuSkjulFilboks"))->setChecked(show);
  if (QAction* button = command(QStringLiteral("filePanesButton"))) button->setChecked(show);
  pagFiler_->setVisible(show);
  if (show && isVisible()) {
    panesLaidOut_ = true;
    splForm_->setSizes({paneWidth_, std::max(kSplitterMinimum, splForm_->width() - paneWidth_)});
  }
}

// ---------------------------------------------------------------------------
// Files dropped from a file manager

void TKestrin::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TKestrin::dragMoveEvent(QDragMoveEvent* event) {
  // The program's own files go only into the editor, as links.
  if (!morvel::isOwnFileDrag(event->mimeData())) {
    event->acceptProposedAction();
    return;
  }
  const QWidget* e = activeEditor();
  const QPoint at = event->position().toPoint();
  if (e && e->isVisible() && e->rect().contains(e->mapFrom(this, at))) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void TKestrin::dropEvent(QDropEvent* event) {
  const QStringList files = morvel::draggedFiles(event->mimeData());
  if (files.isEmpty()) return;
  const QPoint at = event->position().toPoint();
  if (morvel::isOwnFileDrag(event->mimeData())) {
    if (dropLinks(files, at)) {
      event->setDropAction(Qt::CopyAction);
      event->accept();
    }
    return;
  }
  event->acceptProposedAction();
  dropFiles(files, at);
}

// ---------------------------------------------------------------------------

void TKestrin::applyEditorLook(const EditorLook& look) {
  look_ = look;
  for (const Document& d : documents_) ::applyEditorLook(*d.editor, look_);
}

void TKestrin::showSettings() { platform::runModal(indstillinger_.get(), this); }

morvel::ColourPair TKestrin::tokenColours(WORD wordType, LONG wordValue, const QString& word) const {
  return morvel::tokenColours(look_.scheme, wordType, wordValue, platform::toCp1252(word));
}

void TKestrin::receiveFileList(const QString& list) {
  if (!list.isEmpty()) openFileList(list);
  if (isMinimized()) setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  if (!isVisible()) show();
  raise();
  activateWindow();
}

void TKestrin::showAbout() {
  morvel::AboutBox about(this);
  platform::runModal(&about, this);
}

void TKestrin::showHtmlHelp() {
  const QString file = settings_.htmlHelpFile.trimmed();
  if (file.isEmpty()) {
    platform::messageBox(this,
                         QStringLiteral("Du skal angive stien til den fil, du ønsker at bruge som HTML-hjælpefil"),
                         morvel::productName(), MB_OK | MB_ICONINFORMATION);
    QTabWidget* pages = indstillinger_->pages;
    for (int k = 0; k < pages->count(); ++k) {
      if (pages->widget(k)->isAncestorOf(indstillinger_->txtHTMLHjaelp)) pages->setCurrentIndex(k);
    }
    indstillinger_->show();
    indstillinger_->raise();
    indstillinger_->activateWindow();
    indstillinger_->txtHTMLHjaelp->setFocus();
    return;
  }
  QUrl page = QUrl::fromLocalFile(file);
  const TTivra* e = activeEditor();
  // With text selected the help opens at that keyword.
  if (const QString keyword = e ? helpKeyword(e->SelText()) : QString(); !keyword.isEmpty()) page.setFragment(keyword);
  morvel::help::show(this, page);
}

// ---------------------------------------------------------------------------
// The status bar

QString TKestrin::statusText(int panel) const { return statusBar_->PanelText(panel); }

void TKestrin::setStatusText(int panel, const QString& text) { statusBar_->setPanelText(panel, text); }

void TKestrin::showProgress(int percent) {
  if (percent < 0) {
    progressBar_->hide();
    return;
  }
  progressBar_->show();
  progressBar_->setValue(percent);
  progressBar_->repaint();
}
