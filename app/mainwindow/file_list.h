// TFileList: the files of one folder that match a mask, in one of four
// views (large icons, small icons, list, details with eight columns), with
// multiple selection, renaming in place and dragging of the selected files.
//
// A folder is listed in two steps: the names at once (a folder of 10,000
// files shows its names without a pause), then their sizes, times and
// attributes a batch at a time while the event loop runs, so the window
// never freezes over a large or slow folder.
#pragma once

#include "projects/egenskaber.h"
#include "projects/file_listing.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QAbstractItemView;
class QItemSelectionModel;
class QKeyEvent;
class QListView;
class QMimeData;
class NameDelegate;
class QStackedLayout;
class QTimer;
class QTreeView;

// The files of a TFileList: one row per file, the eight columns.
class FileListModel : public QAbstractTableModel {
 public:
  enum Column { kName, kSize, kType, kModified, kCreated, kAccessed, kAttributes, kShortName, kColumns };

  explicit FileListModel(QObject* parent = nullptr);

  // Lists the names of `folder` that match `mask`; details come with
  // fillDetails().
  void list(const QString& folder, const QString& mask);
  // Reads the details of up to `count` more files; false once all are read.
  bool fillDetails(int count);
  bool detailed() const { return detailed_ >= entries_.size(); }

  QString folder() const { return folder_; }
  QString pathOf(int row) const;
  QString nameOf(int row) const;
  int rowOf(const QString& name) const;
  // The file's facts, read now when the batches have not come to it yet.
  const morvel::FileFacts& factsOf(int row);
  ListedFileFacts listedFacts(int row);

  // Renaming in place: false (and the name kept) when the file could not
  // be renamed.
  std::function<void(const QString& message)> onRenameFailed;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  void sort(int column, Qt::SortOrder order) override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  Qt::DropActions supportedDragActions() const override;

 private:
  struct Entry {
    std::string name;  // the file system's bytes
    QString shown;
    bool detailed = false;
    morvel::FileFacts facts;
    QString shortName;
  };
  void readDetails(Entry& entry);
  QString typeOf(const Entry& entry) const;
  QIcon iconOf(const Entry& entry) const;
  QString cell(const Entry& entry, int column) const;

  QString folder_;
  std::string folder8_;  // with a "/" at its end
  std::vector<Entry> entries_;
  std::size_t detailed_ = 0;
  // Kind and icon by extension, looked up once.
  mutable QHash<QString, QString> types_;
  mutable QHash<QString, QIcon> icons_;
};

class TFileList : public QWidget {
 public:
  // `name`: the list's own name ("lwHTML", "lwMedie").
  explicit TFileList(const QString& name, QWidget* parent = nullptr);

  QString folder() const { return model_->folder(); }
  // Lists the folder (nothing for a folder that does not exist).
  void setFolder(const QString& folder);
  QString mask() const { return mask_; }
  void setMask(const QString& mask);
  // Reads the folder again, keeping the selection where the files are.
  void refresh();

  // 0 large icons, 1 small icons, 2 list, 3 details.
  int viewStyle() const { return viewStyle_; }
  void setViewStyle(int style);

  int count() const { return model_->rowCount(); }
  QStringList names() const;
  // The full paths of the selected files, in the list's order.
  QStringList selectedFiles() const;
  // The selected file the commands act on: the current one when it is
  // selected, else the first selected; empty without a selection.
  QString selectedFile() const;
  ListedFileFacts listedFacts(const QString& file) const;
  void selectAll();
  // Selects the named files only; the first becomes the current one.
  void selectFiles(const QStringList& names);
  // Starts editing the selected file's name in place.
  void editName();
  bool editing() const;
  bool hasFocusWithin() const;
  // Reads every file's details now (for a test or a sort).
  void finishDetails();
  QAbstractItemView* view() const;
  FileListModel& model() const { return *model_; }

  // What the pane does on the list's events.
  std::function<void()> onOpen;                      // double click, Enter
  std::function<void()> onSelection;                 // another file clicked or reached by a key
  std::function<void(const QPoint& screen)> onMenu;  // right click, Shift+F10, the menu key
  // A key the list does not handle itself (Delete, the pane's commands);
  // true when the pane took it. `takesKey` says so without acting, so that
  // the list has those keys before the window's shortcuts.
  std::function<bool(QKeyEvent* key)> onKey;
  std::function<bool(const QKeyEvent* key)> takesKey;
  // Drops of other windows' data (the publishing window's files).
  std::function<bool(const QMimeData* data)> acceptsDrop;
  std::function<void(const QMimeData* data)> dropped;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void startDetails();
  bool handleKey(QKeyEvent* key);
  static bool ownKey(const QKeyEvent* key);

  FileListModel* model_;
  QItemSelectionModel* selection_;
  QListView* icons_;
  QTreeView* details_;
  QStackedLayout* stack_;
  QTimer* detailTimer_;
  NameDelegate* names_;
  QString mask_;
  int viewStyle_ = 3;
};
