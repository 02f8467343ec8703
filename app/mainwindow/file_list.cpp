#include "mainwindow/file_list.h"

#include "interaction.h"
#include "projects/file_drag.h"
#include "projects/file_transfer.h"
#include "projects/size_text.h"
#include "startup/splash.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMimeDatabase>
#include <QStackedLayout>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <numeric>

// Knows while a name is being edited in place.
class NameDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
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
  mutable bool editing_ = false;
};

namespace {

// Files whose details one turn of the event loop reads.
constexpr int kDetailBatch = 400;
constexpr int kColumnWidths[] = {160, 70, 110, 120, 120, 120, 60, 100};

std::string path8(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString fromPath8(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

QString timeText(std::int64_t seconds) {
  if (seconds < 0) return QStringLiteral("-");
  return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("dd-MM-yyyy hh:mm"));
}

bool isDetailColumn(int column) { return column != FileListModel::kName && column != FileListModel::kShortName; }

}  // namespace

// ---------------------------------------------------------------------------
// FileListModel

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent) {}

void FileListModel::list(const QString& folder, const QString& mask) {
  beginResetModel();
  folder_ = folder;
  folder8_ = path8(folder);
  if (!folder8_.empty() && folder8_.back() != '/') folder8_ += '/';
  entries_.clear();
  detailed_ = 0;
  if (!folder.isEmpty()) {
    const std::vector<std::string> names = morvel::listFiles(folder8_, path8(mask));
    const std::vector<std::string> shorts = morvel::shortNames(names);
    entries_.reserve(names.size());
    for (std::size_t k = 0; k < names.size(); ++k) {
      Entry entry;
      entry.name = names[k];
      entry.shown = fromPath8(names[k]);
      entry.shortName = QString::fromStdString(shorts[k]);
      entries_.push_back(std::move(entry));
    }
  }
  endResetModel();
}

void FileListModel::readDetails(Entry& entry) {
  if (entry.detailed) return;
  entry.facts = morvel::factsOf(folder8_ + entry.name);
  entry.detailed = true;
  ++detailed_;
}

bool FileListModel::fillDetails(int count) {
  int first = -1;
  int last = -1;
  for (std::size_t row = 0; row < entries_.size() && count > 0; ++row) {
    if (entries_[row].detailed) continue;
    readDetails(entries_[row]);
    --count;
    if (first < 0) first = static_cast<int>(row);
    last = static_cast<int>(row);
  }
  if (first >= 0) emit dataChanged(index(first, kSize), index(last, kShortName - 1));
  return !detailed();
}

QString FileListModel::pathOf(int row) const {
  if (row < 0 || row >= rowCount()) return {};
  return fromPath8(folder8_ + entries_[static_cast<std::size_t>(row)].name);
}

QString FileListModel::nameOf(int row) const {
  return row >= 0 && row < rowCount() ? entries_[static_cast<std::size_t>(row)].shown : QString();
}

int FileListModel::rowOf(const QString& name) const {
  for (std::size_t row = 0; row < entries_.size(); ++row) {
    if (entries_[row].shown == name) return static_cast<int>(row);
  }
  return -1;
}

const morvel::FileFacts& FileListModel::factsOf(int row) {
  Entry& entry = entries_.at(static_cast<std::size_t>(row));
  readDetails(entry);
  return entry.facts;
}

ListedFileFacts FileListModel::listedFacts(int row) {
  const morvel::FileFacts& facts = factsOf(row);
  const Entry& entry = entries_[static_cast<std::size_t>(row)];
  return ListedFileFacts{entry.shown,
                         folder_,
                         typeOf(entry),
                         static_cast<qint64>(facts.bytes),
                         timeText(facts.created),
                         timeText(facts.modified),
                         timeText(facts.accessed)};
}

QString FileListModel::typeOf(const Entry& entry) const {
  const QString extension = QFileInfo(entry.shown).suffix().toLower();
  auto found = types_.constFind(extension);
  if (found != types_.constEnd()) return *found;
  static const QMimeDatabase database;
  const QString type = database.mimeTypeForFile(entry.shown, QMimeDatabase::MatchExtension).comment();
  types_.insert(extension, type);
  return type;
}

QIcon FileListModel::iconOf(const Entry& entry) const {
  const QString extension = QFileInfo(entry.shown).suffix().toLower();
  auto found = icons_.constFind(extension);
  if (found != icons_.constEnd()) return *found;
  static const QMimeDatabase database;
  const QMimeType type = database.mimeTypeForFile(entry.shown, QMimeDatabase::MatchExtension);
  const QIcon fallback = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
  const QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), fallback));
  icons_.insert(extension, icon);
  return icon;
}

QString FileListModel::cell(const Entry& entry, int column) const {
  if (column == kName) return entry.shown;
  if (column == kShortName) return entry.shortName;
  if (!entry.detailed) return {};
  switch (column) {
    case kSize:
      return QString::fromStdString(morvel::shortSizeText(entry.facts.bytes));
    case kType:
      return typeOf(entry);
    case kModified:
      return timeText(entry.facts.modified);
    case kCreated:
      return timeText(entry.facts.created);
    case kAccessed:
      return timeText(entry.facts.accessed);
    case kAttributes:
      return QString::fromLatin1(morvel::attributeText(entry.facts));
    default:
      return {};
  }
}

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Entry& entry = entries_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return cell(entry, index.column());
    case Qt::DecorationRole:
      return index.column() == kName ? QVariant(iconOf(entry)) : QVariant();
    case Qt::TextAlignmentRole:
      return index.column() == kSize ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
      return {};
  }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  static const QStringList headers{QStringLiteral("Navn"),        QStringLiteral("Størrelse"),
                                   QStringLiteral("Type"),        QStringLiteral("Ændret"),
                                   QStringLiteral("Oprettet"),    QStringLiteral("Sidst åbnet"),
                                   QStringLiteral("Attributter"), QStringLiteral("Kort navn")};
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return headers.value(section);
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
  if (index.column() == kName) flags |= Qt::ItemIsEditable;
  return flags;
}

bool FileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || index.column() != kName) return false;
  Entry& entry = entries_[static_cast<std::size_t>(index.row())];
  const QString name = value.toString().trimmed();
  if (name.isEmpty() || name == entry.shown) return false;
  const std::string name8 = path8(name);
  if (name.contains(QLatin1Char('/')) || name == QLatin1String(".") || name == QLatin1String("..") ||
      !morvel::renameWithoutReplacing(folder8_ + entry.name, folder8_ + name8)) {
    // The list shows what is on the disk: the old name stays.
    if (onRenameFailed) onRenameFailed(QStringLiteral("Der skete en fejl under omdøbningen."));
    return false;
  }
  entry.name = name8;
  entry.shown = name;
  if (entry.detailed) --detailed_;
  entry.detailed = false;
  readDetails(entry);
  entry.shortName = QString::fromStdString(morvel::shortNames({name8}).front());
  emit dataChanged(this->index(index.row(), 0), this->index(index.row(), kColumns - 1));
  return true;
}

void FileListModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= kColumns || entries_.empty()) return;
  if (isDetailColumn(column)) {
    for (Entry& entry : entries_) readDetails(entry);
  }
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<std::size_t> order_(entries_.size());
  std::iota(order_.begin(), order_.end(), std::size_t{0});
  auto key = [this, column](const Entry& e) -> std::pair<qint64, QString> {
    switch (column) {
      case kSize:
        return {static_cast<qint64>(e.facts.bytes), QString()};
      case kModified:
        return {e.facts.modified, QString()};
      case kCreated:
        return {e.facts.created, QString()};
      case kAccessed:
        return {e.facts.accessed, QString()};
      default:
        return {0, cell(e, column).toLower()};
    }
  };
  std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
    const auto x = key(entries_[a]);
    const auto y = key(entries_[b]);
    if (x != y) return order == Qt::AscendingOrder ? x < y : y < x;
    return entries_[a].shown.toLower() < entries_[b].shown.toLower();
  });
  std::vector<Entry> sorted;
  sorted.reserve(entries_.size());
  std::vector<int> newRow(entries_.size());
  for (std::size_t k = 0; k < order_.size(); ++k) {
    newRow[order_[k]] = static_cast<int>(k);
    sorted.push_back(std::move(entries_[order_[k]]));
  }
  entries_ = std::move(sorted);
  QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  for (const QModelIndex& i : before) after << index(newRow[static_cast<std::size_t>(i.row())], i.column());
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QStringList FileListModel::mimeTypes() const { return {morvel::kOwnFileDrag, QStringLiteral("text/uri-list")}; }

QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const {
  QList<int> rows;
  for (const QModelIndex& i : indexes) {
    if (!rows.contains(i.row())) rows << i.row();
  }
  std::sort(rows.begin(), rows.end());
  QStringList files;
  for (int row : rows) files << pathOf(row);
  return morvel::fileDragData(files, true);
}

Qt::DropActions FileListModel::supportedDragActions() const { return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction; }

// ---------------------------------------------------------------------------
// TFileList

TFileList::TFileList(const QString& name, QWidget* parent)
    : QWidget(parent),
      model_(new FileListModel(this)),
      selection_(new QItemSelectionModel(model_, this)),
      icons_(new QListView(this)),
      details_(new QTreeView(this)),
      stack_(new QStackedLayout(this)),
      detailTimer_(new QTimer(this)),
      names_(new NameDelegate(this)) {
  setObjectName(name);
  for (QAbstractItemView* v : std::initializer_list<QAbstractItemView*>{icons_, details_}) {
    v->setModel(model_);
    v->setItemDelegate(names_);
    QItemSelectionModel* own = v->selectionModel();
    v->setSelectionModel(selection_);
    delete own;
    v->setSelectionMode(QAbstractItemView::ExtendedSelection);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setDragEnabled(true);
    v->setDragDropMode(QAbstractItemView::DragOnly);
    v->setDefaultDropAction(Qt::CopyAction);
    v->viewport()->setAcceptDrops(true);
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    v->installEventFilter(this);
    v->viewport()->installEventFilter(this);
    connect(v, &QAbstractItemView::doubleClicked, this, [this] {
      if (onOpen) onOpen();
    });
    connect(v, &QWidget::customContextMenuRequested, this, [this, v](const QPoint& at) {
      if (onMenu) onMenu(v->viewport()->mapToGlobal(at));
    });
    stack_->addWidget(v);
  }
  icons_->setObjectName(name + QStringLiteral("Ikoner"));
  icons_->setUniformItemSizes(true);
  icons_->setLayoutMode(QListView::Batched);
  icons_->setBatchSize(500);
  icons_->setMovement(QListView::Static);
  icons_->setResizeMode(QListView::Adjust);
  details_->setObjectName(name + QStringLiteral("Detaljer"));
  details_->setRootIsDecorated(false);
  details_->setUniformRowHeights(true);
  details_->setItemsExpandable(false);
  details_->setAllColumnsShowFocus(true);
  for (int c = 0; c < FileListModel::kColumns; ++c) details_->setColumnWidth(c, kColumnWidths[c]);
  details_->header()->setSortIndicator(FileListModel::kName, Qt::AscendingOrder);
  details_->setSortingEnabled(true);
  connect(selection_, &QItemSelectionModel::currentChanged, this, [this] {
    if (onSelection) onSelection();
  });
  model_->onRenameFailed = [this](const QString& message) {
    platform::messageBox(this, message, morvel::productName(), MB_OK | MB_ICONSTOP);
  };
  detailTimer_->setSingleShot(true);
  detailTimer_->setInterval(0);
  connect(detailTimer_, &QTimer::timeout, this, [this] {
    if (model_->fillDetails(kDetailBatch)) detailTimer_->start();
  });
  setViewStyle(3);
}

void TFileList::setFolder(const QString& folder) {
  model_->list(folder, mask_);
  startDetails();
}

void TFileList::setMask(const QString& mask) {
  mask_ = mask;
  refresh();
}

void TFileList::refresh() {
  QStringList selected;
  for (const QString& file : selectedFiles()) selected << QFileInfo(file).fileName();
  const QString current = model_->nameOf(selection_->currentIndex().row());
  model_->list(model_->folder(), mask_);
  const int column = details_->header()->sortIndicatorSection();
  const Qt::SortOrder order = details_->header()->sortIndicatorOrder();
  if (column != FileListModel::kName || order != Qt::AscendingOrder) model_->sort(column, order);
  if (!current.isEmpty() && selected.contains(current)) selected.move(selected.indexOf(current), 0);
  selectFiles(selected);
  startDetails();
}

void TFileList::startDetails() {
  if (!model_->detailed()) detailTimer_->start();
}

void TFileList::finishDetails() {
  while (model_->fillDetails(kDetailBatch)) {}
  detailTimer_->stop();
}

void TFileList::setViewStyle(int style) {
  viewStyle_ = std::clamp(style, 0, 3);
  if (viewStyle_ == 3) {
    stack_->setCurrentWidget(details_);
    return;
  }
  const bool large = viewStyle_ == 0;
  icons_->setViewMode(large ? QListView::IconMode : QListView::ListMode);
  icons_->setIconSize(large ? QSize(32, 32) : QSize(16, 16));
  icons_->setGridSize(large ? QSize(96, 64) : QSize());
  icons_->setWordWrap(large);
  icons_->setFlow(viewStyle_ == 2 ? QListView::TopToBottom : QListView::LeftToRight);
  icons_->setWrapping(true);
  icons_->setMovement(QListView::Static);
  stack_->setCurrentWidget(icons_);
}

QAbstractItemView* TFileList::view() const {
  return viewStyle_ == 3 ? static_cast<QAbstractItemView*>(details_) : icons_;
}

QStringList TFileList::names() const {
  QStringList list;
  for (int row = 0; row < model_->rowCount(); ++row) list << model_->nameOf(row);
  return list;
}

QStringList TFileList::selectedFiles() const {
  QList<int> rows;
  for (const QModelIndex& i : selection_->selectedRows()) rows << i.row();
  std::sort(rows.begin(), rows.end());
  QStringList files;
  for (int row : rows) files << model_->pathOf(row);
  return files;
}

QString TFileList::selectedFile() const {
  const QModelIndex current = selection_->currentIndex();
  if (current.isValid() && selection_->isRowSelected(current.row())) return model_->pathOf(current.row());
  const QStringList selected = selectedFiles();
  return selected.isEmpty() ? QString() : selected.first();
}

ListedFileFacts TFileList::listedFacts(const QString& file) const {
  const int row = model_->rowOf(QFileInfo(file).fileName());
  if (row < 0) return {};
  return model_->listedFacts(row);
}

void TFileList::selectAll() { view()->selectAll(); }

void TFileList::selectFiles(const QStringList& names) {
  selection_->clearSelection();
  bool first = true;
  for (const QString& name : names) {
    const int row = model_->rowOf(name);
    if (row < 0) continue;
    const QModelIndex index = model_->index(row, 0);
    selection_->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (first) selection_->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    first = false;
  }
}

void TFileList::editName() {
  const int row = model_->rowOf(QFileInfo(selectedFile()).fileName());
  if (row < 0) return;
  const QModelIndex index = model_->index(row, FileListModel::kName);
  view()->setCurrentIndex(index);
  view()->edit(index);
}

bool TFileList::editing() const { return names_->editing(); }

bool TFileList::hasFocusWithin() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus && (focus == this || isAncestorOf(focus));
}

bool TFileList::ownKey(const QKeyEvent* key) {
  const bool plain = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
  return ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_F2) && plain) ||
         (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) || key->key() == Qt::Key_Menu;
}

bool TFileList::handleKey(QKeyEvent* key) {
  const bool plain = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
  if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && plain) {
    if (onOpen) onOpen();
    return true;
  }
  if (key->key() == Qt::Key_F2 && plain) {
    editName();
    return true;
  }
  if ((key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) || key->key() == Qt::Key_Menu) {
    const QModelIndex current = selection_->currentIndex();
    const QRect place = current.isValid() ? view()->visualRect(current) : QRect();
    if (onMenu) onMenu(view()->viewport()->mapToGlobal(place.isValid() ? place.center() : QPoint(4, 4)));
    return true;
  }
  return onKey && onKey(key);
}

bool TFileList::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (watched != icons_ && watched != details_) break;
      if (event->type() == QEvent::ShortcutOverride) {
        // The list's keys come before the window's shortcuts (F2, F5,
        // Ctrl+Shift+C, ...) while it has the focus.
        if (ownKey(key) || (takesKey && takesKey(key))) event->accept();
        return false;
      }
      if (handleKey(key)) return true;
      break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (acceptsDrop && acceptsDrop(drag->mimeData())) {
        drag->acceptProposedAction();
      } else {
        drag->ignore();
      }
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      if (acceptsDrop && acceptsDrop(drop->mimeData()) && dropped) {
        drop->acceptProposedAction();
        dropped(drop->mimeData());
      } else {
        drop->ignore();
      }
      return true;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}
