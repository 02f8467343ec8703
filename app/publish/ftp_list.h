// lwFTP, the publishing window's list of the server's current folder: one
// model shown as large or small icons, a list, or details with the columns
// "Navn", "Størrelse", "Type" and "Dato". It starts drags of the selected
// entries (to the main window's file lists), takes drops through the
// window, and edits a name in place for a new folder or a rename.
#pragma once

#include "ftp_listing_view.h"

#include <QWidget>

#include <functional>
#include <vector>

class QAbstractItemView;
class QDropEvent;
class QListView;
class QStackedLayout;
class QStandardItemModel;
class QTreeView;

namespace morvel::ftp {

// The kind of data a drag from lwFTP carries: the selected names.
inline constexpr const char* kFtpEntriesMime = "application/x-morvel-ftp-entries";

}  // namespace morvel::ftp

class TFtpList : public QWidget {
 public:
  // The views, numbered as the window stores them.
  enum View { SmallIcons = 1, LargeIcons = 2, List = 3, Details = 4 };

  explicit TFtpList(QWidget* parent = nullptr);

  void setRows(const std::vector<morvel::ftp::FtpListRow>& rows);
  const std::vector<morvel::ftp::FtpListRow>& rows() const { return rows_; }
  std::vector<morvel::ftp::FtpListRow> selectedRows() const;
  int selectedCount() const;
  void selectAll();
  // Selects the entry of this name, if listed.
  void selectName(const QString& name);

  int view() const { return view_; }
  void setView(int view);
  // The view in use (the details' tree or the icons' list).
  QAbstractItemView* currentView() const;

  // While busy: the hourglass over the list, and no drags or double clicks.
  void setBusy(bool busy);

  // A new entry "Ny mappe" with the folder icon, its name open for editing.
  void addNewFolderEntry(const QString& name);
  // Opens the selected entry's name for editing; false when none is.
  bool editSelectedName();

  // --- Events
  std::function<void(const morvel::ftp::FtpListRow& row)> OnDoubleClick;
  std::function<void(int column)> OnHeaderClick;
  std::function<void(const QPoint& screenPoint)> OnContextMenu;
  // A name edit has ended: the entry's old name (empty for a new folder),
  // the new text, and false when it was given up (Escape).
  std::function<void(const QString& before, const QString& after, bool accepted)> OnNameEdited;
  std::function<void()> OnSelectionChanged;
  // A drag is over the list: whether it may be dropped, and the drop.
  std::function<bool(const QDropEvent& event)> OnCanDrop;
  std::function<void(const QDropEvent& event)> OnDrop;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fill();
  void editRow(int row, const QString& before);
  void editorClosed(int hint);

  std::vector<morvel::ftp::FtpListRow> rows_;
  QStandardItemModel* model_;
  QListView* icons_;
  QTreeView* details_;
  QStackedLayout* stack_;
  int view_ = List;
  bool busy_ = false;
  // The entry whose name is being edited, and its name before.
  int editedRow_ = -1;
  QString editedBefore_;
};
