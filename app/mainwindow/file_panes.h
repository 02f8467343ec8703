// The "HTML" and "Medie" pages of the main window's file pane pagFiler and
// what the user does with their files.
//
// FilePane is one page: the drive list, the folder tree, the file list
// with its filter buttons and, on the media page, the picture preview.
// FilePanes holds both pages and the pop-up menu popFilboks of their lists,
// and carries out the commands on the files of the list that is showing:
// opening them, inserting a link to one, moving, copying, deleting,
// renaming, publishing, the properties, and the selection information in
// the status bar.
#pragma once

#include "markup/picture_reader.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QMimeData;
class QSplitter;
class QTabWidget;
class QToolBar;
class QToolButton;
class TDirTree;
class TDriveCombo;
class TFileList;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class FilePane : public QWidget {
 public:
  enum class Kind { Html, Media };

  FilePane(Kind kind, std::shared_ptr<QHash<QString, QString>> remembered, QWidget* parent = nullptr);

  Kind kind() const { return kind_; }
  QString folder() const;
  // Shows the folder: its drive, its place in the tree and its files. A
  // folder that does not exist is kept as it is (it is written back at
  // close) and lists nothing.
  void setFolder(const QString& folder);
  QString mask() const;
  void setMask(const QString& mask);
  // The filter button that is down: its place among the page's four.
  int filter() const { return filter_; }
  void setFilter(int filter);
  // Reads the folder again.
  void refresh();
  // Reads the drives and the tree again too.
  void rereadFolders();

  int folderTreeHeight() const;
  void setFolderTreeHeight(int height);
  // 0 large icons, 1 small icons, 2 list, 3 details.
  int viewStyle() const;
  void setViewStyle(int style);

  // The picture preview of the media page.
  bool previewShown() const;
  void showPreview(const QImage& picture, const QString& caption);
  void hidePreview();
  int viewerHeight() const { return viewerHeight_; }
  void setViewerHeight(int height);

  TFileList* fileList() const { return list_; }
  TDirTree* folderTree() const { return tree_; }
  TDriveCombo* driveList() const { return drives_; }
  QToolBar* buttons() const { return buttons_; }
  QToolButton* filterButton(int filter) const { return filterButtons_[static_cast<std::size_t>(filter)]; }
  QLabel* imgViewer() const { return imgViewer_; }
  QLabel* lblViewer() const { return lblViewer_; }

  // A folder was chosen or the filter changed.
  std::function<void()> onListChanged;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void chooseFolder(const QString& folder);
  void layOutPreview();

  Kind kind_;
  TDriveCombo* drives_;
  TDirTree* tree_;
  TFileList* list_;
  QToolBar* buttons_;
  std::array<QToolButton*, 4> filterButtons_{};
  QSplitter* splDir_;
  QSplitter* splViewer_ = nullptr;
  QWidget* viewer_ = nullptr;
  QLabel* imgViewer_ = nullptr;
  QLabel* lblViewer_ = nullptr;
  QImage preview_;
  int filter_ = 0;
  int treeHeight_ = 140;
  int viewerHeight_ = 96;
  QString folder_;
};

class FilePanes : public QObject {
 public:
  // What the panes need of the main window besides its documents.
  struct Hooks {
    // Inserts the code for a file at the caret of the active document.
    std::function<void(const QString& file)> insertLink;
    std::function<void()> closeAllDocuments;
    std::function<void()> closeActiveDocument;
    std::function<bool()> internalBrowserShown;
    // The publishing window: files to send, and its files dropped on a
    // list to fetch into a folder. While empty, the command is greyed and
    // nothing of it is taken.
    std::function<void(const QStringList& files)> publishFiles;
    std::function<bool(const QMimeData* data)> acceptsPublishingDrop;
    std::function<void(const QMimeData* data, const QString& folder)> fetchInto;
  };

  // Adds the two pages to `pages` (before the projects page).
  FilePanes(morvel::DocumentHost& host, QTabWidget* pages, QObject* parent = nullptr);
  ~FilePanes() override;

  FilePane& html() const { return *html_; }
  FilePane& media() const { return *media_; }
  // The page showing: the media page, or else the HTML page.
  FilePane& active() const;

  QMenu* popFilboks() const { return menu_; }
  // The view styles (shared with the main menu) and the picture viewer
  // command, which the pop-up menu shows too.
  void addMenuCommands(const QList<QAction*>& viewStyles, QAction* pictureViewer);
  void setViewStyle(int style);

  Hooks hooks;

  // --- The commands on the active list
  void openSelected();
  void insertLink();
  void moveOrCopySelected(bool copy);
  void deleteSelected();
  void renameSelected();
  void publishSelected();
  void showProperties();
  void refreshActive();
  // The status bar and the preview for the selected file.
  void showSelectionInformation();
  // The menu's items for the selection, as when it opens.
  void menuOpening();
  // The folder and the number of files in the status bar.
  void showListStatus();
  // The picture last decoded for the preview.
  QString previewedFile() const { return previewedFile_; }
  const std::optional<morvel::DecodedPicture>& previewedPicture() const { return previewed_; }

 private:
  void connectPane(FilePane& pane);
  void createMenu();
  bool keyPressed(const QKeyEvent* key, bool act);
  void filesDropped(const QStringList& files, const QString& folder);
  void showPicture(const QString& file);
  void refreshBoth();

  morvel::DocumentHost& host_;
  QTabWidget* pages_;
  FilePane* html_;
  FilePane* media_;
  QMenu* menu_ = nullptr;
  std::shared_ptr<QHash<QString, QString>> remembered_;
  QString previewedFile_;
  std::optional<morvel::DecodedPicture> previewed_;
};

// A folder path as the panes keep it: "/" separators, no "." or ".." parts,
// no trailing "/" (except the root itself).
QString normalisedFolder(const QString& path);
