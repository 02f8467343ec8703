// The "HTML" and "Medie" pages of the main window's file pane, as far as the
// main window needs them: the folder shown, the height of the folder tree,
// the files of the folder that match the page's mask, and the view style of
// the file list. The drive list, the folder tree, the filter buttons and the
// file commands belong to the file panes themselves.
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

class QLabel;
class QListWidget;

class FilePane : public QWidget {
 public:
  // `page`: "tabHTML" or "tabMedie"; the folder tree and the file list are
  // named `treeName` and `listName` ("Dir1", "lwHTML").
  FilePane(const QString& page, const QString& treeName, const QString& listName, const QString& mask,
           QWidget* parent = nullptr);

  QString folder() const { return folder_; }
  // Shows the folder and lists its files. A folder that does not exist is
  // kept as it is (it is written back at close) and lists nothing.
  void setFolder(const QString& folder);
  QString mask() const { return mask_; }
  void setMask(const QString& mask);
  // Reads the folder again.
  void refresh();

  int folderTreeHeight() const;
  void setFolderTreeHeight(int height);

  // 0 large icons, 1 small icons, 2 list, 3 details.
  int viewStyle() const { return viewStyle_; }
  void setViewStyle(int style);

  QListWidget* fileList() const { return list_; }
  QWidget* folderTree() const { return tree_; }

 private:
  QString folder_;
  QString mask_;
  int viewStyle_ = 3;
  QLabel* tree_;
  QListWidget* list_;
};

// A folder path as the panes keep it: "/" separators, no "." or ".." parts,
// no trailing "/" (except the root itself).
QString normalisedFolder(const QString& path);
