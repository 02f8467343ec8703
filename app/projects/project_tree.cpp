#include "projects/project_tree.h"

#include "commands/document_host.h"
#include "common_dialogs.h"
#include "interaction.h"
#include "markup/document_title.h"
#include "projects/archive_flag.h"
#include "projects/egenskaber.h"
#include "projects/file_actions.h"
#include "projects/file_drag.h"
#include "projects/prj_filer.h"
#include "projects/project_paths.h"
#include "projects/project_store.h"
#include "projects/size_text.h"
#include "qtext.h"
#include "startup/program_folder.h"
#include "startup/splash.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kTopText = QStringLiteral("Morvel-projekter");
const QString kRootPrefix = QStringLiteral("- ");
const QString kChooseRoot = QStringLiteral("Vælg projektets rodbibliotek:");
constexpr int kKindRole = Qt::UserRole;

std::string path8(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString fromPath8(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

QIcon iconFor(ProjectNodeKind kind, bool expanded) {
  QStyle* style = QApplication::style();
  switch (kind) {
    case ProjectNodeKind::Top:
      return style->standardIcon(QStyle::SP_ComputerIcon);
    case ProjectNodeKind::Project:
      return style->standardIcon(expanded ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
    case ProjectNodeKind::RootFolder:
      return style->standardIcon(QStyle::SP_DriveHDIcon);
    case ProjectNodeKind::HtmlDocument:
      return style->standardIcon(QStyle::SP_FileDialogContentsView);
    case ProjectNodeKind::OtherFile:
      return style->standardIcon(QStyle::SP_FileIcon);
    case ProjectNodeKind::MissingFile:
      return style->standardIcon(QStyle::SP_MessageBoxWarning);
  }
  return {};
}

void setBold(QTreeWidgetItem* node, bool bold) {
  QFont font = node->font(0);
  if (font.bold() == bold) return;
  font.setBold(bold);
  node->setFont(0, font);
}

bool isDocument(ProjectNodeKind kind) {
  return kind == ProjectNodeKind::HtmlDocument || kind == ProjectNodeKind::OtherFile ||
         kind == ProjectNodeKind::MissingFile;
}

// A name typed in place loses the blanks and tabs it begins with, which are
// easily typed by mistake and hard to see.
QString withoutLeadingBlanks(const QString& text) {
  qsizetype k = 0;
  while (k < text.size() && (text[k] == QLatin1Char(' ') || text[k] == QLatin1Char('\t'))) ++k;
  return text.mid(k);
}

// Commits an in-place edit of a node's text and tells the tree.
class RenameDelegate : public QStyledItemDelegate {
 public:
  RenameDelegate(QObject* parent, std::function<void(const QString&)> committed)
      : QStyledItemDelegate(parent), committed_(std::move(committed)) {}
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    const QString before = index.data().toString();
    QStyledItemDelegate::setModelData(editor, model, index);
    if (index.data().toString() != before) committed_(before);
  }
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    editing_ = true;
    return QStyledItemDelegate::createEditor(parent, option, index);
  }
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
    editing_ = false;
    QStyledItemDelegate::destroyEditor(editor, index);
  }
  bool editing() const { return editing_; }

 private:
  std::function<void(const QString&)> committed_;
  mutable bool editing_ = false;
};

}  // namespace

ProjectTree::ProjectTree(morvel::DocumentHost& host, QTreeWidget* tree, QObject* parent)
    : QObject(parent), owner_(host), tree_(tree) {
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  tree_->setAutoScroll(true);
  auto* delegate = new RenameDelegate(tree_, [this](const QString& before) {
    if (QTreeWidgetItem* node = tree_->currentItem()) renamed(node, before);
  });
  tree_->setItemDelegate(delegate);
  editing_ = [delegate] { return delegate->editing(); };
  createToolButtons();
  createMenu();
  connectTree();
}

ProjectTree::~ProjectTree() = default;

// ---------------------------------------------------------------------------
// The store

QString ProjectTree::storePath() const {
  return QDir(morvel::programFolder()).filePath(QString::fromLatin1(morvel::kProjectStoreName));
}

void ProjectTree::load() {
  tree_->clear();
  currentRoot_.clear();
  const QString path = storePath();
  const morvel::ProjectFile file = morvel::readProjectFile(path8(path));
  storeUnreadable_ = file.status == morvel::ProjectFileStatus::Unreadable;
  std::vector<QTreeWidgetItem*> parents;
  for (const morvel::ProjectLine& line : file.content.lines) {
    parents.resize(static_cast<size_t>(line.level));
    // Stores written before they were UTF-8 hold Windows-1252.
    const QStringList text{file.content.utf8 ? QString::fromStdString(line.text) : platform::fromCp1252(line.text)};
    auto* node = parents.empty() ? new QTreeWidgetItem(tree_, text) : new QTreeWidgetItem(parents.back(), text);
    parents.push_back(node);
  }
  if (!topNode()) new QTreeWidgetItem(tree_, QStringList{kTopText});
  refresh();
  if (storeUnreadable_) {
    platform::messageBox(owner_.dialogParent(), QStringLiteral("Kan ikke åbne filen %1.").arg(path),
                         morvel::productName(), MB_OK | MB_ICONSTOP);
  }
  if (file.content.invalidLevel) {
    // Closing writes the tree back; what the tree could not take stays in
    // a copy of the damaged store.
    const QString copy = path + QStringLiteral(".bak");
    QFile::remove(copy);
    QFile::copy(path, copy);
    platform::messageBox(owner_.dialogParent(), QString::fromLatin1(morvel::kInvalidTreeNodeLevel),
                         morvel::productName(), MB_OK | MB_ICONSTOP);
  }
}

bool ProjectTree::save() {
  if (storeUnreadable_) return false;
  std::vector<morvel::ProjectLine> lines;
  std::function<void(QTreeWidgetItem*, int)> collect = [&](QTreeWidgetItem* node, int level) {
    lines.push_back(morvel::ProjectLine{level, node->text(0).toStdString()});
    for (int k = 0; k < node->childCount(); ++k) collect(node->child(k), level + 1);
  };
  for (int k = 0; k < tree_->topLevelItemCount(); ++k) collect(tree_->topLevelItem(k), 0);
  QDir().mkpath(morvel::programFolder());
  return morvel::writeProjectFile(path8(storePath()), lines);
}

void ProjectTree::saveOrWarn() {
  if (save()) return;
  platform::messageBox(owner_.dialogParent(), QStringLiteral("ADVARSEL! Morvel kan ikke gemme projektet."),
                       morvel::productName(), MB_OK | MB_ICONEXCLAMATION);
}

// ---------------------------------------------------------------------------
// The tree

QTreeWidgetItem* ProjectTree::topNode() const { return tree_->topLevelItem(0); }

QList<QTreeWidgetItem*> ProjectTree::projectNodes() const {
  QList<QTreeWidgetItem*> projects;
  if (QTreeWidgetItem* top = topNode()) {
    for (int k = 0; k < top->childCount(); ++k) projects << top->child(k);
  }
  return projects;
}

ProjectNodeKind ProjectTree::kind(const QTreeWidgetItem* node) {
  return static_cast<ProjectNodeKind>(node->data(0, kKindRole).toInt());
}

QTreeWidgetItem* ProjectTree::projectOf(QTreeWidgetItem* node) {
  while (node && node->parent() && node->parent()->parent()) node = node->parent();
  return node && node->parent() ? node : nullptr;
}

QString ProjectTree::rootFolder(const QTreeWidgetItem* project) {
  if (!project || project->childCount() == 0) return {};
  return project->child(0)->text(0).mid(kRootPrefix.size());
}

QList<QTreeWidgetItem*> ProjectTree::documentNodes(const QTreeWidgetItem* project) {
  QList<QTreeWidgetItem*> documents;
  for (int k = 1; project && k < project->childCount(); ++k) documents << project->child(k);
  return documents;
}

QStringList ProjectTree::documentTexts(const QTreeWidgetItem* project) {
  QStringList texts;
  for (const QTreeWidgetItem* document : documentNodes(project)) texts << document->text(0);
  return texts;
}

QString ProjectTree::documentFile(const QTreeWidgetItem* document) {
  const QString root = rootFolder(document->parent());
  return fromPath8(morvel::resolveRelativePath(path8(root), path8(document->text(0))));
}

QString ProjectTree::rootFolderOf(const QString& file) const {
  if (file.isEmpty()) return {};
  for (QTreeWidgetItem* project : projectNodes()) {
    for (const QTreeWidgetItem* document : documentNodes(project)) {
      if (QDir::cleanPath(documentFile(document)) == QDir::cleanPath(file)) return rootFolder(project);
    }
  }
  return {};
}

QTreeWidgetItem* ProjectTree::selectedNode() const {
  QTreeWidgetItem* node = tree_->currentItem();
  return node && node->isSelected() ? node : nullptr;
}

void ProjectTree::setKind(QTreeWidgetItem* node, ProjectNodeKind kind) {
  node->setData(0, kKindRole, static_cast<int>(kind));
  node->setIcon(0, iconFor(kind, node->isExpanded()));
  const bool editable = kind == ProjectNodeKind::Project || isDocument(kind);
  node->setFlags(editable ? node->flags() | Qt::ItemIsEditable : node->flags() & ~Qt::ItemIsEditable);
}

void ProjectTree::refreshDocument(QTreeWidgetItem* node, const QString& root) {
  const QString file = fromPath8(morvel::resolveRelativePath(path8(root), path8(node->text(0))));
  if (!QFileInfo(file).isFile()) {
    setBold(node, false);
    setKind(node, ProjectNodeKind::MissingFile);
    return;
  }
  setBold(node, morvel::hasArchiveFlag(path8(file)));
  const bool html = morvel::hasHtmlExtension(path8(node->text(0)));
  setKind(node, html ? ProjectNodeKind::HtmlDocument : ProjectNodeKind::OtherFile);
}

void ProjectTree::refresh() {
  for (int t = 0; t < tree_->topLevelItemCount(); ++t) {
    QTreeWidgetItem* top = tree_->topLevelItem(t);
    setKind(top, ProjectNodeKind::Top);
    if (top->childCount() > 0) top->setExpanded(true);
    for (int p = 0; p < top->childCount(); ++p) {
      QTreeWidgetItem* project = top->child(p);
      setKind(project, ProjectNodeKind::Project);
      if (project->childCount() == 0) continue;
      setKind(project->child(0), ProjectNodeKind::RootFolder);
      const QString root = rootFolder(project);
      bool anyBold = false;
      for (QTreeWidgetItem* document : documentNodes(project)) {
        refreshDocument(document, root);
        anyBold = anyBold || document->font(0).bold();
      }
      setBold(project, anyBold);
    }
  }
  for (int t = 0; t < tree_->topLevelItemCount(); ++t) sortChildren(tree_->topLevelItem(t));
  tree_->viewport()->update();
}

// Orders the children by their texts without regard to case, the
// root-folder node first; then their children the same way.
void ProjectTree::sortChildren(QTreeWidgetItem* node) {
  const int first = kind(node) == ProjectNodeKind::Project ? 1 : 0;
  QList<QTreeWidgetItem*> children;
  for (int k = first; k < node->childCount(); ++k) children << node->child(k);
  auto before = [](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
    return a->text(0).compare(b->text(0), Qt::CaseInsensitive) < 0;
  };
  if (!std::is_sorted(children.begin(), children.end(), before)) {
    QTreeWidgetItem* current = tree_->currentItem();
    QList<bool> expanded;
    for (QTreeWidgetItem* child : children) expanded << child->isExpanded();
    std::stable_sort(children.begin(), children.end(), before);
    QList<QTreeWidgetItem*> taken;
    while (node->childCount() > first) taken << node->takeChild(first);
    for (int k = 0; k < children.size(); ++k) node->addChild(children[k]);
    for (QTreeWidgetItem* child : children) child->setExpanded(expanded[taken.indexOf(child)]);
    if (current) tree_->setCurrentItem(current);
  }
  for (int k = 0; k < node->childCount(); ++k) sortChildren(node->child(k));
}

// ---------------------------------------------------------------------------
// Tool buttons, menu and the tree's events

void ProjectTree::createToolButtons() {
  buttons_ = new QToolBar(tree_->parentWidget());
  buttons_->setObjectName(QStringLiteral("projectButtons"));
  buttons_->setIconSize(QSize(16, 16));
  QStyle* style = QApplication::style();
  struct Button {
    const char* name;
    QString hint;
    QStyle::StandardPixmap icon;
    void (ProjectTree::*handler)();
  };
  const Button list[] = {
      {"btnNytProjekt", QStringLiteral("Nyt projekt"), QStyle::SP_FileDialogNewFolder, &ProjectTree::newProject},
      {"btnTilfoejDok", QStringLiteral("Tilføj dokumenter"), QStyle::SP_FileDialogStart, &ProjectTree::addDocuments},
      {"btnAabn", QStringLiteral("Åbn dokument(er)"), QStyle::SP_DialogOpenButton, &ProjectTree::openSelected},
      {"btnFtp", QStringLiteral("Overfør til Internet"), QStyle::SP_ArrowUp, &ProjectTree::publishSelected},
      {"btnEgenskaber", QStringLiteral("Egenskaber"), QStyle::SP_FileDialogInfoView, &ProjectTree::propertiesSelected},
  };
  for (const Button& b : list) {
    QAction* a = buttons_->addAction(style->standardIcon(b.icon), b.hint);
    a->setToolTip(b.hint);
    buttons_->widgetForAction(a)->setObjectName(QString::fromLatin1(b.name));
    a->setObjectName(QString::fromLatin1(b.name));
    connect(a, &QAction::triggered, this, b.handler);
  }
  if (auto* layout = qobject_cast<QVBoxLayout*>(tree_->parentWidget()->layout())) layout->insertWidget(0, buttons_);
  updateToolButtons(nullptr);
}

QAction* ProjectTree::addMenuItem(const char* name, const QString& caption, void (ProjectTree::*handler)()) {
  QAction* a = menu_->addAction(caption);
  a->setObjectName(QString::fromLatin1(name));
  if (handler) connect(a, &QAction::triggered, this, handler);
  return a;
}

void ProjectTree::createMenu() {
  menu_ = new QMenu(tree_);
  menu_->setObjectName(QStringLiteral("popProjekt"));
  addMenuItem("popAbnAlle", QStringLiteral("Åbn alle dokumenter"), &ProjectTree::openAllDocuments);
  addMenuItem("popOpdaterProjekt", QStringLiteral("Opdater projekt på Internet..."), &ProjectTree::publishSelected);
  addMenuItem("popTilfoej", QStringLiteral("Tilføj dokumenter..."), &ProjectTree::addDocuments);
  addMenuItem("popTilfoejAktive", QStringLiteral("Tilføj det aktive dokument"), &ProjectTree::addActiveDocument);
  connect(addMenuItem("popFindIProjekt", QStringLiteral("Find i projekt..."), nullptr), &QAction::triggered, this,
          [this] {
            if (QTreeWidgetItem* p = projectOf(selectedNode()); p && searchInProject)
              searchInProject(p->text(0), false);
          });
  connect(addMenuItem("popErstatIProjekt", QStringLiteral("Erstat i projekt..."), nullptr), &QAction::triggered, this,
          [this] {
            if (QTreeWidgetItem* p = projectOf(selectedNode()); p && searchInProject) searchInProject(p->text(0), true);
          });
  addMenuItem("popNyt", QStringLiteral("Nyt projekt"), &ProjectTree::newProject);
  connect(addMenuItem("popFlytProjekt", QStringLiteral("Flyt projekt til..."), nullptr), &QAction::triggered, this,
          [this] { moveProject(false); });
  connect(addMenuItem("popKopierProjekt", QStringLiteral("Kopier projekt til..."), nullptr), &QAction::triggered, this,
          [this] { moveProject(true); });
  addMenuItem("popOmdoebP", QStringLiteral("Omdøb"), &ProjectTree::renameSelected);
  addMenuItem("popSletProjekt", QStringLiteral("Slet projekt"), &ProjectTree::deleteProject);
  menu_->addSeparator()->setObjectName(QStringLiteral("projectSeparator"));
  addMenuItem("popRedigerRod", QStringLiteral("Rediger rodbibliotek..."), &ProjectTree::changeRootFolder);
  addMenuItem("popAabnDok", QStringLiteral("Åbn"), &ProjectTree::openSelected);
  addMenuItem("popPrjDokTilWWW", QStringLiteral("Overfør til Internet..."), &ProjectTree::publishSelected);
  addMenuItem("popFjernDok", QStringLiteral("Fjern fra projekt"), &ProjectTree::removeDocument);
  // F2 and F5 are handled by the tree and the main window; the menu only
  // names them.
  addMenuItem("Omdb1", QStringLiteral("Omdøb\tF2"), &ProjectTree::renameSelected);
  addMenuItem("popSletDok", QStringLiteral("Slet"), &ProjectTree::deleteDocumentFile);
  menu_->addSeparator()->setObjectName(QStringLiteral("documentSeparator"));
  addMenuItem("popOpdater", QStringLiteral("Opdater\tF5"), &ProjectTree::refresh);
  menu_->addSeparator()->setObjectName(QStringLiteral("propertiesSeparator"));
  addMenuItem("popEgenskaber", QStringLiteral("Egenskaber"), &ProjectTree::propertiesSelected);
}

void ProjectTree::menuOpening() {
  QTreeWidgetItem* node = selectedNode();
  const ProjectNodeKind k = node ? kind(node) : ProjectNodeKind::Top;
  const bool project = node && k == ProjectNodeKind::Project;
  const bool document = node && isDocument(k);
  const bool rootNode = node && k == ProjectNodeKind::RootFolder;
  bool inProjectItems = true;
  bool inDocumentItems = false;
  for (QAction* a : menu_->actions()) {
    const QString name = a->objectName();
    if (name == QLatin1String("popRedigerRod")) {
      inProjectItems = false;
      inDocumentItems = true;
      a->setVisible(project || rootNode);
    } else if (inProjectItems) {
      a->setVisible(name == QLatin1String("popNyt") ? !node || k == ProjectNodeKind::Top : project);
    } else if (inDocumentItems) {
      a->setVisible(document);
      if (name == QLatin1String("documentSeparator")) inDocumentItems = false;
    } else if (name != QLatin1String("popOpdater")) {
      a->setVisible(node && k != ProjectNodeKind::Top && !rootNode);
    }
  }
  // Publishing and the search are handed to their windows; without them
  // the commands are greyed.
  for (const char* name : {"popOpdaterProjekt", "popPrjDokTilWWW"})
    menu_->findChild<QAction*>(QString::fromLatin1(name))->setEnabled(bool(publishFiles));
  for (const char* name : {"popFindIProjekt", "popErstatIProjekt"})
    menu_->findChild<QAction*>(QString::fromLatin1(name))->setEnabled(bool(searchInProject));
}

void ProjectTree::connectTree() {
  tree_->installEventFilter(this);
  viewport_ = tree_->viewport();
  viewport_->installEventFilter(this);
  connect(tree_, &QTreeWidget::customContextMenuRequested, this, &ProjectTree::showContextMenu);
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) { selectionChanged(node); });
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* node) {
    tree_->setCurrentItem(node);
    openSelected();
  });
  auto switchIcon = [](QTreeWidgetItem* node) {
    if (kind(node) == ProjectNodeKind::Project) node->setIcon(0, iconFor(ProjectNodeKind::Project, node->isExpanded()));
  };
  connect(tree_, &QTreeWidget::itemExpanded, this, switchIcon);
  connect(tree_, &QTreeWidget::itemCollapsed, this, switchIcon);
}

bool ProjectTree::startDrag(QTreeWidgetItem* node) {
  if (!node || !isDocument(kind(node)) || editing_()) return false;
  const QString file = documentFile(node);
  if (!QFileInfo(file).isFile()) return false;
  tree_->setCurrentItem(node);
  auto* drag = new QDrag(tree_);
  drag->setMimeData(morvel::fileDragData({file}));
  drag->setPixmap(node->icon(0).pixmap(16, 16));
  drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
  return true;
}

void ProjectTree::showContextMenu(const QPoint& at) {
  if (QTreeWidgetItem* node = tree_->itemAt(at)) tree_->setCurrentItem(node);
  menuOpening();
  const QPoint screen = tree_->viewport()->mapToGlobal(at);
  platform::popupMenu(menu_, POINT{screen.x(), screen.y()}, tree_);
}

bool ProjectTree::eventFilter(QObject* watched, QEvent* event) {
  // Compared, not asked of the tree: events come while it is destroyed.
  if (watched == viewport_) {
    if (event->type() == QEvent::MouseButtonPress) {
      const auto* press = static_cast<QMouseEvent*>(event);
      if (press->button() == Qt::LeftButton) dragStart_ = press->position().toPoint();
    } else if (event->type() == QEvent::MouseMove) {
      const auto* move = static_cast<QMouseEvent*>(event);
      if ((move->buttons() & Qt::LeftButton) &&
          (move->position().toPoint() - dragStart_).manhattanLength() >= QApplication::startDragDistance())
        return startDrag(tree_->itemAt(dragStart_));
    }
    return QObject::eventFilter(watched, event);
  }
  if (watched == tree_ && event->type() == QEvent::KeyPress && !editing_()) {
    if (keyPressed(static_cast<QKeyEvent*>(event)->key())) return true;
  }
  return QObject::eventFilter(watched, event);
}

bool ProjectTree::keyPressed(int key) {
  QTreeWidgetItem* node = selectedNode();
  if (key == Qt::Key_F2) {
    renameSelected();
    return true;
  }
  if (!node) return false;
  const ProjectNodeKind k = kind(node);
  if (k != ProjectNodeKind::Project && !isDocument(k)) return false;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    openSelected();
    return true;
  }
  if (key == Qt::Key_Delete) {
    if (k == ProjectNodeKind::Project)
      deleteProject();
    else
      removeDocument();
    return true;
  }
  return false;
}

void ProjectTree::updateToolButtons(QTreeWidgetItem* node) {
  const ProjectNodeKind k = node ? kind(node) : ProjectNodeKind::Top;
  const bool projectOrDocument = node && (k == ProjectNodeKind::Project || isDocument(k));
  for (const char* name : {"btnAabn", "btnEgenskaber"}) {
    buttons_->findChild<QAction*>(QString::fromLatin1(name))->setEnabled(projectOrDocument);
  }
  buttons_->findChild<QAction*>(QStringLiteral("btnFtp"))->setEnabled(projectOrDocument && publishFiles);
  buttons_->findChild<QAction*>(QStringLiteral("btnTilfoejDok"))->setEnabled(node && k == ProjectNodeKind::Project);
}

void ProjectTree::selectionChanged(QTreeWidgetItem* node) {
  updateToolButtons(node);
  if (!node) return;
  const ProjectNodeKind k = kind(node);
  if (k == ProjectNodeKind::Project) {
    currentRoot_ = rootFolder(node);
    owner_.setStatusText(0, QStringLiteral("Rodbibliotek: ") + currentRoot_);
    owner_.setStatusText(1, QString::number(std::max(0, node->childCount() - 1)) + QStringLiteral(" dokumenter"));
  } else if (isDocument(k)) {
    currentRoot_ = rootFolder(node->parent());
    const QFileInfo file(documentFile(node));
    if (!file.isFile()) return;
    owner_.setStatusText(0, owner_.fileTitle(file.absoluteFilePath()));
    owner_.setStatusText(1, QString::fromStdString(morvel::shortSizeText(static_cast<std::uint64_t>(file.size()))));
  }
}

// ---------------------------------------------------------------------------
// Commands

bool ProjectTree::chooseFolder(const QString& caption, QString& folder) {
  platform::FolderDialogRequest choice;
  choice.title = caption;
  choice.folder = currentRoot_.isEmpty() ? QDir::homePath() : currentRoot_;
  platform::Request r(platform::RequestKind::BrowseFolder);
  r.parentWidget = owner_.dialogParent();
  r.caption = caption;
  r.data = &choice;
  if (!platform::ask(r) || choice.chosen.isEmpty()) return false;
  folder = fromPath8(morvel::withTrailingSlash(path8(choice.chosen)));
  return true;
}

void ProjectTree::newProject() {
  QString folder;
  if (!chooseFolder(kChooseRoot, folder)) return;
  QTreeWidgetItem* top = topNode();
  auto* project = new QTreeWidgetItem(top, QStringList{platform::fromCp1252(morvel::kNoTitle)});
  setKind(project, ProjectNodeKind::Project);
  setKind(new QTreeWidgetItem(project, QStringList{kRootPrefix + folder}), ProjectNodeKind::RootFolder);
  top->setExpanded(true);
  tree_->setCurrentItem(project);
  tree_->setFocus();
  project->setExpanded(true);
  tree_->editItem(project);
}

QTreeWidgetItem* ProjectTree::addDocument(QTreeWidgetItem* project, const QString& file) {
  const QString text = fromPath8(morvel::relativePath(path8(rootFolder(project)), path8(file)));
  for (QTreeWidgetItem* document : documentNodes(project)) {
    if (document->text(0) == text) return nullptr;
  }
  auto* node = new QTreeWidgetItem(project, QStringList{text});
  refreshDocument(node, rootFolder(project));
  if (node->font(0).bold()) setBold(project, true);
  return node;
}

void ProjectTree::addDocuments() {
  QTreeWidgetItem* project = selectedNode();
  if (!project || kind(project) != ProjectNodeKind::Project) return;
  platform::FileDialogRequest choice;
  choice.multiSelect = true;
  choice.fileMustExist = true;
  choice.title = QStringLiteral("Tilføj dokumenter til projekt");
  choice.folder = rootFolder(project);
  choice.filters = {
      {QStringLiteral("HTML-dokumenter"),
       {QStringLiteral("*.htm*"), QStringLiteral("*.shtml"), QStringLiteral("*.phtml"), QStringLiteral("*.asp")}},
      {QStringLiteral("Style Sheets"), {QStringLiteral("*.css")}},
      {QStringLiteral("Alle filer "), {QStringLiteral("*.*")}}};
  platform::Request r(platform::RequestKind::OpenFile);
  r.parentWidget = owner_.dialogParent();
  r.caption = choice.title;
  r.data = &choice;
  if (!platform::ask(r) || choice.chosen.isEmpty()) return;
  for (const QString& file : choice.chosen) addDocument(project, file);
  sortChildren(project);
  saveOrWarn();
}

void ProjectTree::addActiveDocument() {
  QTreeWidgetItem* project = selectedNode();
  if (!project || kind(project) != ProjectNodeKind::Project) return;
  const QString file = owner_.activeFileName();
  if (file.isEmpty()) {
    platform::messageBox(owner_.dialogParent(),
                         QStringLiteral("Det aktive dokument skal gemmes, før det kan tilføjes til projektet."),
                         morvel::productName(), MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (!addDocument(project, file)) return;
  sortChildren(project);
  saveOrWarn();
}

void ProjectTree::openAllDocuments() {
  QTreeWidgetItem* project = projectOf(selectedNode());
  if (!project || kind(project) != ProjectNodeKind::Project) return;
  for (QTreeWidgetItem* document : documentNodes(project)) owner_.openFile(documentFile(document));
}

void ProjectTree::openSelected() {
  QTreeWidgetItem* node = selectedNode();
  if (!node) return;
  if (kind(node) == ProjectNodeKind::Project) {
    openAllDocuments();
  } else if (isDocument(kind(node)) && morvel::opensInEditor(path8(node->text(0)))) {
    owner_.openFile(documentFile(node));
  }
}

void ProjectTree::renameSelected() {
  QTreeWidgetItem* node = selectedNode();
  if (!node) return;
  if (kind(node) == ProjectNodeKind::RootFolder)
    changeRootFolder();
  else if (node->flags() & Qt::ItemIsEditable)
    tree_->editItem(node);
}

void ProjectTree::renamed(QTreeWidgetItem* node, const QString& before) {
  const QString after = withoutLeadingBlanks(node->text(0));
  if (after.isEmpty() || after == before) {
    node->setText(0, before);
    return;
  }
  node->setText(0, after);
  if (!isDocument(kind(node))) return;
  const QString root = rootFolder(node->parent());
  const QString from = fromPath8(morvel::resolveRelativePath(path8(root), path8(before)));
  const QString to = fromPath8(morvel::resolveRelativePath(path8(root), path8(after)));
  // QFile::rename never replaces an existing file.
  if (!QFile::rename(from, to)) {
    node->setText(0, before);
    platform::messageBox(owner_.dialogParent(), QStringLiteral("Der skete en fejl under omdøbningen."),
                         morvel::productName(), MB_OK | MB_ICONSTOP);
    return;
  }
  refreshDocument(node, root);
}

void ProjectTree::deleteProject() {
  QTreeWidgetItem* project = selectedNode();
  if (!project || kind(project) != ProjectNodeKind::Project) return;
  const int answer =
      platform::messageBox(owner_.dialogParent(), QStringLiteral("Ønsker du at slette %1?").arg(project->text(0)),
                           QStringLiteral("Slet projekt"), MB_YESNO | MB_ICONWARNING);
  if (answer == IDYES) delete project;
}

void ProjectTree::removeDocument() {
  QTreeWidgetItem* document = selectedNode();
  if (!document || !isDocument(kind(document))) return;
  QTreeWidgetItem* project = document->parent();
  delete document;
  bool anyBold = false;
  for (QTreeWidgetItem* d : documentNodes(project)) anyBold = anyBold || d->font(0).bold();
  setBold(project, anyBold);
}

void ProjectTree::deleteDocumentFile() {
  QTreeWidgetItem* document = selectedNode();
  if (!document || !isDocument(kind(document))) return;
  const int answer =
      platform::messageBox(owner_.dialogParent(), QStringLiteral("Ønsker du at slette %1?").arg(document->text(0)),
                           QStringLiteral("Slet fil"), MB_YESNO | MB_ICONWARNING);
  if (answer != IDYES) return;
  const QString file = documentFile(document);
  if (!morvel::files::trashFile(file)) {
    platform::messageBox(owner_.dialogParent(), QStringLiteral("Kan ikke slette filen %1.").arg(file),
                         morvel::productName(), MB_OK | MB_ICONSTOP);
    return;
  }
  refresh();
  if (!QFileInfo::exists(file)) delete document;
  saveOrWarn();
}

void ProjectTree::changeRootFolder() {
  QTreeWidgetItem* project = projectOf(selectedNode());
  if (!project || project->childCount() == 0) return;
  QString folder;
  if (!chooseFolder(kChooseRoot, folder)) return;
  const std::string oldRoot = path8(rootFolder(project));
  project->child(0)->setText(0, kRootPrefix + folder);
  for (QTreeWidgetItem* document : documentNodes(project)) {
    const std::string file = morvel::resolveRelativePath(oldRoot, path8(document->text(0)));
    document->setText(0, fromPath8(morvel::relativePath(path8(folder), file)));
  }
  if (projectOf(selectedNode()) == project) currentRoot_ = folder;
  refresh();
}

void ProjectTree::showProjectFiles() {
  QTreeWidgetItem* project = projectOf(selectedNode());
  if (!project) return;
  if (!fileList_) fileList_ = new TfrmPrjFiler(owner_);
  fileList_->prepare(TfrmPrjFiler::Mode::Properties, project->text(0), rootFolder(project), documentTexts(project), {});
  platform::runModal(fileList_, owner_.dialogParent());
}

void ProjectTree::publishSelected() {
  QTreeWidgetItem* node = selectedNode();
  if (!node) return;
  if (isDocument(kind(node))) {
    if (publishFiles) publishFiles({documentFile(node)}, {});
    return;
  }
  QTreeWidgetItem* project = projectOf(node);
  if (!project || kind(project) != ProjectNodeKind::Project) return;
  if (!fileList_) fileList_ = new TfrmPrjFiler(owner_);
  fileList_->prepare(TfrmPrjFiler::Mode::Publish, project->text(0), rootFolder(project), documentTexts(project), {});
  if (platform::runModal(fileList_, owner_.dialogParent()) != QDialog::Accepted) return;
  if (publishFiles) publishFiles(fileList_->checkedCaptions(), rootFolder(project));
}

void ProjectTree::moveProject(bool copy) {
  QTreeWidgetItem* project = projectOf(selectedNode());
  if (!project || kind(project) != ProjectNodeKind::Project) return;
  QString destination;
  if (!chooseFolder(QStringLiteral("Vælg den mappe, der skal være projektets rodbibliotek."), destination)) return;
  if (!fileList_) fileList_ = new TfrmPrjFiler(owner_);
  const QString source = rootFolder(project);
  fileList_->prepare(copy ? TfrmPrjFiler::Mode::Copy : TfrmPrjFiler::Mode::Move, project->text(0), source,
                     documentTexts(project), destination);
  if (platform::runModal(fileList_, owner_.dialogParent()) != QDialog::Accepted) return;
  if (!copy) project->child(0)->setText(0, kRootPrefix + destination);
  fileList_->transfer(source, destination, copy);
  if (!copy && projectOf(selectedNode()) == project) currentRoot_ = destination;
  refresh();
}

void ProjectTree::propertiesSelected() {
  QTreeWidgetItem* node = selectedNode();
  if (!node) return;
  if (kind(node) == ProjectNodeKind::Project)
    showProjectFiles();
  else if (isDocument(kind(node)))
    morvel::properties::showFileProperties(owner_, documentFile(node));
}
