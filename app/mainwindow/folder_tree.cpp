#include "mainwindow/folder_tree.h"

#include "projects/file_drag.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QStyle>

#include <sys/stat.h>

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

std::string path8(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString fromPath8(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

unsigned long long deviceOf(const QString& folder) {
  struct stat info {};
  if (stat(path8(folder).c_str(), &info) != 0) return 0;
  return static_cast<unsigned long long>(info.st_dev);
}

QIcon driveIcon(morvel::DriveKind kind) {
  QStyle* style = QApplication::style();
  switch (kind) {
    case morvel::DriveKind::Root:
      return style->standardIcon(QStyle::SP_DriveHDIcon);
    case morvel::DriveKind::Home:
      return style->standardIcon(QStyle::SP_DirHomeIcon);
    case morvel::DriveKind::Removable:
      return style->standardIcon(QStyle::SP_DriveFDIcon);
    case morvel::DriveKind::Folder:
      break;
  }
  return style->standardIcon(QStyle::SP_DriveNetIcon);
}

}  // namespace

// ---------------------------------------------------------------------------
// TDriveCombo

TDriveCombo::TDriveCombo(const QString& name, std::shared_ptr<QHash<QString, QString>> remembered, QWidget* parent)
    : QComboBox(parent), remembered_(std::move(remembered)) {
  setObjectName(name);
  setIconSize(QSize(16, 16));
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (index < 0 || index >= static_cast<int>(drives_.size())) return;
    if (onDriveChosen) onDriveChosen(folderFor(fromPath8(drives_[static_cast<std::size_t>(index)].path)));
  });
}

void TDriveCombo::readDrives(const QString& folder) {
  const std::vector<morvel::MountPoint> mounts = morvel::readMountPoints();
  drives_ = morvel::driveList(mounts, path8(QDir::homePath()), morvel::readDiskLabels());
  const std::string folder8 = path8(folder);
  const std::string mount = morvel::mountPointOf(folder8, mounts);
  const int drive = morvel::driveOf(folder8, drives_);
  // A folder on a file system of its own that no drive holds (a temporary
  // file system, say): its mount is a drive too.
  if (!folder.isEmpty() && (drive < 0 || !morvel::folderHolds(drives_[static_cast<std::size_t>(drive)].path, mount)))
    drives_.push_back(morvel::Drive{mount, mount, morvel::DriveKind::Folder});
  const QSignalBlocker quiet(this);
  clear();
  for (const morvel::Drive& d : drives_) addItem(driveIcon(d.kind), fromPath8(d.label), fromPath8(d.path));
  showDriveOf(folder);
}

void TDriveCombo::showDriveOf(const QString& folder) {
  const int drive = morvel::driveOf(path8(folder), drives_);
  const QSignalBlocker quiet(this);
  setCurrentIndex(drive);
}

QString TDriveCombo::currentDrive() const {
  const int k = currentIndex();
  return k >= 0 && k < static_cast<int>(drives_.size()) ? fromPath8(drives_[static_cast<std::size_t>(k)].path)
                                                        : QString();
}

QString TDriveCombo::folderFor(const QString& drive) const {
  const QString folder = remembered_->value(drive);
  return !folder.isEmpty() && QDir(folder).exists() ? folder : drive;
}

void TDriveCombo::remember(const QString& folder) {
  const int drive = morvel::driveOf(path8(folder), drives_);
  if (drive >= 0) remembered_->insert(fromPath8(drives_[static_cast<std::size_t>(drive)].path), folder);
}

// ---------------------------------------------------------------------------
// TDirTree

TDirTree::TDirTree(const QString& name, QWidget* parent) : QTreeWidget(parent) {
  setObjectName(name);
  setHeaderHidden(true);
  setColumnCount(1);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setAutoExpandDelay(700);
  setAutoScroll(true);
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { fill(item); });
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item && !choosing_ && onFolderChosen) onFolderChosen(item->data(0, kPathRole).toString());
  });
}

QTreeWidgetItem* TDirTree::addFolder(QTreeWidgetItem* parent, const QString& path, const QString& text) {
  auto* item = parent ? new QTreeWidgetItem(parent, {text}) : new QTreeWidgetItem(this, {text});
  item->setData(0, kPathRole, path);
  item->setIcon(0, QApplication::style()->standardIcon(QStyle::SP_DirIcon));
  item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  return item;
}

void TDirTree::setDrive(const QString& top) {
  top_ = top;
  device_ = deviceOf(top);
  clear();
  addFolder(nullptr, top, top);
}

QStringList TDirTree::subfolders(const QString& folder) const {
  QStringList folders;
  const QDir dir(folder);
  for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    const QString path = dir.filePath(name);
    // Another file system mounted here belongs to another drive.
    if (deviceOf(path) == device_) folders << path;
  }
  return folders;
}

void TDirTree::fill(QTreeWidgetItem* item) {
  if (item->data(0, kFilledRole).toBool()) return;
  item->setData(0, kFilledRole, true);
  for (const QString& path : subfolders(item->data(0, kPathRole).toString()))
    addFolder(item, path, QFileInfo(path).fileName());
  item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* TDirTree::itemOf(const QString& folder) {
  if (topLevelItemCount() == 0 || !morvel::folderHolds(path8(top_), path8(folder))) return nullptr;
  QTreeWidgetItem* item = topLevelItem(0);
  const QString rest = folder.mid(top_.size());
  for (const QString& name : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    fill(item);
    QTreeWidgetItem* next = nullptr;
    for (int k = 0; k < item->childCount() && !next; ++k) {
      if (item->child(k)->text(0) == name) next = item->child(k);
    }
    if (!next) return nullptr;
    item = next;
  }
  return item;
}

bool TDirTree::setCurrentFolder(const QString& folder) {
  QTreeWidgetItem* item = itemOf(folder);
  if (!item) return false;
  choosing_ = true;
  for (QTreeWidgetItem* up = item->parent(); up; up = up->parent()) up->setExpanded(true);
  setCurrentItem(item);
  scrollToItem(item);
  choosing_ = false;
  return true;
}

QString TDirTree::currentFolder() const {
  const QTreeWidgetItem* item = currentItem();
  return item ? item->data(0, kPathRole).toString() : QString();
}

void TDirTree::reread() {
  QString folder = currentFolder();
  setDrive(top_);
  // The nearest folder that is still there.
  while (!folder.isEmpty() && !setCurrentFolder(folder)) {
    const QString up = QFileInfo(folder).absolutePath();
    if (up == folder) break;
    folder = up;
  }
}

void TDirTree::dragEnterEvent(QDragEnterEvent* event) {
  if (morvel::isFileListDrag(event->mimeData()))
    event->acceptProposedAction();
  else
    event->ignore();
}

void TDirTree::dragMoveEvent(QDragMoveEvent* event) {
  // Opens a folder the drag rests on and scrolls near the edges.
  QTreeWidget::dragMoveEvent(event);
  if (morvel::isFileListDrag(event->mimeData()) && itemAt(event->position().toPoint())) {
    event->setDropAction(Qt::MoveAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void TDirTree::dropEvent(QDropEvent* event) {
  QTreeWidgetItem* item = itemAt(event->position().toPoint());
  if (!item || !morvel::isFileListDrag(event->mimeData())) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::MoveAction);
  event->accept();
  if (onFilesDropped) onFilesDropped(morvel::draggedFiles(event->mimeData()), item->data(0, kPathRole).toString());
}
