#include "mainwindow/file_panes.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QVBoxLayout>

FilePane::FilePane(const QString& page, const QString& treeName, const QString& listName, const QString& mask,
                   QWidget* parent)
    : QWidget(parent), mask_(mask), tree_(new QLabel(this)), list_(new QListWidget(this)) {
  setObjectName(page);
  tree_->setObjectName(treeName);
  tree_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  tree_->setWordWrap(true);
  tree_->setFrameShape(QFrame::StyledPanel);
  list_->setObjectName(listName);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(tree_);
  layout->addWidget(list_, 1);
  setFolderTreeHeight(140);
  setViewStyle(3);
}

void FilePane::setFolder(const QString& folder) {
  folder_ = folder;
  tree_->setText(QDir::toNativeSeparators(folder));
  refresh();
}

void FilePane::setMask(const QString& mask) {
  mask_ = mask;
  refresh();
}

void FilePane::refresh() {
  list_->clear();
  if (folder_.isEmpty()) return;
  const QStringList patterns = mask_.split(QRegularExpression(QStringLiteral("[;,]")), Qt::SkipEmptyParts);
  const QDir dir(folder_);
  for (const QString& name : dir.entryList(patterns, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase))
    list_->addItem(name);
}

int FilePane::folderTreeHeight() const { return tree_->minimumHeight(); }

void FilePane::setFolderTreeHeight(int height) { tree_->setFixedHeight(qMax(0, height)); }

void FilePane::setViewStyle(int style) {
  viewStyle_ = qBound(0, style, 3);
  list_->setViewMode(viewStyle_ == 0 ? QListView::IconMode : QListView::ListMode);
  list_->setFlow(viewStyle_ <= 1 ? QListView::LeftToRight : QListView::TopToBottom);
  list_->setWrapping(viewStyle_ <= 2);
  list_->setIconSize(viewStyle_ == 0 ? QSize(32, 32) : QSize(16, 16));
}

QString normalisedFolder(const QString& path) {
  if (path.isEmpty()) return path;
  return QDir::cleanPath(QDir::fromNativeSeparators(path));
}
