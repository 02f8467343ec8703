#include "ftp_list.h"

#include "file_type_icons.h"

#include <QAbstractItemDelegate>
#include <QDropEvent>
#include <QHeaderView>
#include <QListView>
#include <QMimeData>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTreeView>

#include <algorithm>

using morvel::ftp::FtpListRow;

namespace {

// The entry's place in rows(); -1 for the new folder being named.
constexpr int kRowRole = Qt::UserRole + 1;
enum Column { kName, kSize, kType, kDate, kColumns };

// Drags carry the selected names, one a line.
class EntriesModel : public QStandardItemModel {
 public:
  using QStandardItemModel::QStandardItemModel;
  QStringList mimeTypes() const override { return {QString::fromLatin1(morvel::ftp::kFtpEntriesMime)}; }
  QMimeData* mimeData(const QModelIndexList& indexes) const override {
    QStringList names;
    for (const QModelIndex& i : indexes)
      if (i.column() == kName) names << i.data().toString();
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(morvel::ftp::kFtpEntriesMime), names.join('\n').toUtf8());
    return data;
  }
  Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }
};

}  // namespace

TFtpList::TFtpList(QWidget* parent)
    : QWidget(parent),
      model_(new EntriesModel(0, kColumns, this)),
      icons_(new QListView),
      details_(new QTreeView),
      stack_(new QStackedLayout(this)) {
  setObjectName(QStringLiteral("lwFTP"));
  model_->setHorizontalHeaderLabels(
      {QStringLiteral("Navn"), QStringLiteral("Størrelse"), QStringLiteral("Type"), QStringLiteral("Dato")});
  icons_->setObjectName(QStringLiteral("lwFTPIcons"));
  details_->setObjectName(QStringLiteral("lwFTPDetails"));
  details_->setRootIsDecorated(false);
  details_->setUniformRowHeights(true);
  details_->setAllColumnsShowFocus(true);
  details_->header()->setSectionsClickable(true);
  details_->header()->setSortIndicatorShown(false);
  icons_->setModel(model_);
  details_->setModel(model_);
  // The header has its sections once the model is set.
  details_->setColumnWidth(kName, 180);
  details_->setColumnWidth(kSize, 80);
  details_->setColumnWidth(kType, 110);
  details_->setSelectionModel(icons_->selectionModel());
  for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(icons_), static_cast<QAbstractItemView*>(details_)}) {
    v->setSelectionMode(QAbstractItemView::ExtendedSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setDragEnabled(true);
    v->setDragDropMode(QAbstractItemView::DragOnly);
    v->setDefaultDropAction(Qt::CopyAction);
    v->viewport()->setAcceptDrops(true);
    v->viewport()->installEventFilter(this);
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(v, &QWidget::customContextMenuRequested, this, [this, v](const QPoint& at) {
      if (!v->indexAt(at).isValid()) v->clearSelection();
      if (OnContextMenu) OnContextMenu(v->viewport()->mapToGlobal(at));
    });
    connect(v, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
      const int row = index.sibling(index.row(), kName).data(kRowRole).toInt();
      if (busy_ || row < 0 || row >= static_cast<int>(rows_.size())) return;
      if (OnDoubleClick) OnDoubleClick(rows_[static_cast<size_t>(row)]);
    });
    connect(v->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) { editorClosed(hint); });
    stack_->addWidget(v);
  }
  connect(details_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
    if (OnHeaderClick) OnHeaderClick(column);
  });
  connect(icons_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (OnSelectionChanged) OnSelectionChanged();
  });
  setView(List);
}

void TFtpList::setRows(const std::vector<FtpListRow>& rows) {
  rows_ = rows;
  fill();
}

void TFtpList::fill() {
  editedRow_ = -1;
  model_->removeRows(0, model_->rowCount());
  for (size_t i = 0; i < rows_.size(); ++i) {
    const FtpListRow& r = rows_[i];
    auto* name = new QStandardItem(r.isFolder ? morvel::ftp::folderIcon() : morvel::ftp::fileTypeIcon(r.name), r.name);
    name->setData(static_cast<int>(i), kRowRole);
    name->setEditable(false);
    auto* size = new QStandardItem(r.size);
    size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QList<QStandardItem*> line{name, size, new QStandardItem(r.type), new QStandardItem(r.date)};
    for (QStandardItem* item : line) item->setEditable(false);
    model_->appendRow(line);
  }
}

std::vector<FtpListRow> TFtpList::selectedRows() const {
  // In the list's order, whatever order they were clicked in.
  std::vector<int> places;
  for (const QModelIndex& index : icons_->selectionModel()->selectedRows(kName)) {
    const int row = index.data(kRowRole).toInt();
    if (row >= 0 && row < static_cast<int>(rows_.size())) places.push_back(row);
  }
  std::sort(places.begin(), places.end());
  std::vector<FtpListRow> selected;
  for (int row : places) selected.push_back(rows_[static_cast<size_t>(row)]);
  return selected;
}

int TFtpList::selectedCount() const { return static_cast<int>(icons_->selectionModel()->selectedRows(kName).size()); }

void TFtpList::selectAll() { currentView()->selectAll(); }

void TFtpList::selectName(const QString& name) {
  const QList<QStandardItem*> found = model_->findItems(name, Qt::MatchExactly, kName);
  if (found.isEmpty()) return;
  currentView()->setCurrentIndex(found.first()->index());
}

void TFtpList::setView(int view) {
  view_ = view >= SmallIcons && view <= Details ? view : List;
  if (view_ == Details) {
    stack_->setCurrentWidget(details_);
    return;
  }
  icons_->setViewMode(view_ == LargeIcons ? QListView::IconMode : QListView::ListMode);
  icons_->setIconSize(view_ == LargeIcons ? QSize(32, 32) : QSize(16, 16));
  icons_->setGridSize(view_ == LargeIcons ? QSize(96, 64) : QSize());
  icons_->setFlow(view_ == List ? QListView::TopToBottom : QListView::LeftToRight);
  icons_->setWrapping(true);
  icons_->setResizeMode(QListView::Adjust);
  icons_->setMovement(QListView::Static);
  // The icon mode's own drag would move the icons about; a drag here is a
  // download.
  icons_->setDragDropMode(QAbstractItemView::DragOnly);
  stack_->setCurrentWidget(icons_);
}

QAbstractItemView* TFtpList::currentView() const {
  return view_ == Details ? static_cast<QAbstractItemView*>(details_) : static_cast<QAbstractItemView*>(icons_);
}

void TFtpList::setBusy(bool busy) {
  busy_ = busy;
  for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(icons_), static_cast<QAbstractItemView*>(details_)}) {
    v->setDragEnabled(!busy);
    if (busy)
      v->viewport()->setCursor(Qt::WaitCursor);
    else
      v->viewport()->unsetCursor();
  }
}

void TFtpList::addNewFolderEntry(const QString& name) {
  auto* item = new QStandardItem(morvel::ftp::folderIcon(), name);
  item->setData(-1, kRowRole);
  QList<QStandardItem*> line{item, new QStandardItem, new QStandardItem(QStringLiteral("Filmappe")), new QStandardItem};
  model_->insertRow(0, line);
  editRow(0, {});
}

bool TFtpList::editSelectedName() {
  const QModelIndexList selected = icons_->selectionModel()->selectedRows(kName);
  if (selected.isEmpty()) return false;
  // The entry with the focus frame when it is among the selected ones.
  const QModelIndex current = currentView()->currentIndex();
  const QModelIndex name = current.isValid() ? current.sibling(current.row(), kName) : QModelIndex();
  const QModelIndex index = selected.contains(name) ? name : selected.first();
  editRow(index.row(), index.data().toString());
  return true;
}

void TFtpList::editRow(int row, const QString& before) {
  QStandardItem* item = model_->item(row, kName);
  item->setEditable(true);
  editedRow_ = row;
  editedBefore_ = before;
  QAbstractItemView* v = currentView();
  v->clearSelection();
  v->setCurrentIndex(item->index());
  v->scrollTo(item->index());
  v->edit(item->index());
}

void TFtpList::editorClosed(int hint) {
  if (editedRow_ < 0) return;
  QStandardItem* item = model_->item(editedRow_, kName);
  const QString after = item ? item->text().trimmed() : QString();
  if (item) item->setEditable(false);
  const bool accepted = hint != QAbstractItemDelegate::RevertModelCache;
  const QString before = editedBefore_;
  const bool newFolder = item && item->data(kRowRole).toInt() < 0;
  editedRow_ = -1;
  editedBefore_.clear();
  if (newFolder && !accepted) model_->removeRow(item->row());
  if (OnNameEdited) OnNameEdited(before, after, accepted);
}

bool TFtpList::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* e = static_cast<QDragMoveEvent*>(event);
      // Its own entries dropped back on the list do nothing.
      const bool may = !busy_ && e->source() != icons_ && e->source() != details_ && OnCanDrop && OnCanDrop(*e);
      if (may)
        e->acceptProposedAction();
      else
        e->ignore();
      return true;
    }
    case QEvent::Drop: {
      auto* e = static_cast<QDropEvent*>(event);
      if (busy_ || e->source() == icons_ || e->source() == details_ || !OnCanDrop || !OnCanDrop(*e)) {
        e->ignore();
        return true;
      }
      e->acceptProposedAction();
      if (OnDrop) OnDrop(*e);
      return true;
    }
    default:
      return QWidget::eventFilter(watched, event);
  }
}
