// The drive list and the folder tree of a file pane.
//
// TDriveCombo lists the drives (the root, the home folder, the mounted
// disks and media) and remembers, for each drive, the folder last used on
// it. TDirTree shows the folders of one drive, read a level at a time as
// the user opens them; a folder on another file system (another drive, or
// /proc) is not shown. Files dragged from a file list onto one of its
// folders are moved there.
#pragma once

#include "projects/drive_list.h"

#include <QComboBox>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <vector>

class TDriveCombo : public QComboBox {
 public:
  // The folders remembered per drive are shared by the panes' lists.
  TDriveCombo(const QString& name, std::shared_ptr<QHash<QString, QString>> remembered, QWidget* parent = nullptr);

  // Reads the drives again; `folder`'s own mount is listed too when no
  // drive holds it.
  void readDrives(const QString& folder);
  // The drive that holds `folder`, shown as the current one.
  void showDriveOf(const QString& folder);
  QString currentDrive() const;
  const std::vector<morvel::Drive>& drives() const { return drives_; }
  // The folder last used on a drive, or the drive's top folder.
  QString folderFor(const QString& drive) const;
  void remember(const QString& folder);

  // The user chose a drive: its folder.
  std::function<void(const QString& folder)> onDriveChosen;

 private:
  std::vector<morvel::Drive> drives_;
  std::shared_ptr<QHash<QString, QString>> remembered_;
};

class TDirTree : public QTreeWidget {
 public:
  explicit TDirTree(const QString& name, QWidget* parent = nullptr);

  // Shows the folders of the drive whose top folder is `top`.
  void setDrive(const QString& top);
  QString drive() const { return top_; }
  // Opens the tree down to `folder` and makes it the current one; false
  // when the folder is not on the drive or does not exist.
  bool setCurrentFolder(const QString& folder);
  QString currentFolder() const;
  // Reads the tree again, keeping the current folder where it still is.
  void reread();
  // The folders below `folder` as the tree lists them.
  QStringList subfolders(const QString& folder) const;

  std::function<void(const QString& folder)> onFolderChosen;
  // Files of a file list dropped on a folder.
  std::function<void(const QStringList& files, const QString& folder)> onFilesDropped;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QTreeWidgetItem* addFolder(QTreeWidgetItem* parent, const QString& path, const QString& text);
  void fill(QTreeWidgetItem* item);
  QTreeWidgetItem* itemOf(const QString& folder);

  QString top_;
  unsigned long long device_ = 0;  // the drive's file system
  bool choosing_ = false;
};
