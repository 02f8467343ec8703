#include "dialogs/code_box.h"

#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/text_dialog.h"
#include "dialogs/user_codes.h"
#include "interaction.h"
#include "registry.h"

#include <algorithm>

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

using morvel::UserCode;

namespace {

// The grid's column widths and row height at 96 and at 120 dots per inch.
constexpr int kColumnWidths[] = {245, 102, 88};
constexpr int kLargeColumnWidths[] = {320, 150, 110};
constexpr int kRowHeight = 16;
constexpr int kLargeRowHeight = 20;

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

std::string utf8(const QString& text) { return text.toStdString(); }

// Row 0 is the grid's header; the table's rows start at row 1.
int tableRow(int row) { return row - 1; }
int gridRow(int tableRow) { return tableRow + 1; }

}  // namespace

TKodeboks::TKodeboks(morvel::DocumentHost& host, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent(), Qt::Tool | Qt::WindowStaysOnTopHint), host_(host) {
  setObjectName(QStringLiteral("TKodeboks"));
  setWindowTitle(QStringLiteral("HTML-kodeboks"));
  setModal(false);
  buildControls();
  addHelpTexts();
  fillGrid();
  selectCell(1, 0);
}

void TKodeboks::buildControls() {
  StringGrid1 = new QTableWidget(0, morvel::kCodeColumns, this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
  StringGrid1->verticalHeader()->hide();
  StringGrid1->setWordWrap(false);
  StringGrid1->viewport()->setMouseTracking(true);
  StringGrid1->viewport()->installEventFilter(this);
  StringGrid1->installEventFilter(this);
  const bool large = logicalDpiY() >= 120;
  for (int c = 0; c < morvel::kCodeColumns; ++c)
    StringGrid1->setColumnWidth(c, large ? kLargeColumnWidths[c] : kColumnWidths[c]);
  StringGrid1->verticalHeader()->setDefaultSectionSize(large ? kLargeRowHeight : kRowHeight);
  StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  StringGrid1->horizontalHeader()->setStretchLastSection(true);
  int width = 0;
  for (int c = 0; c < morvel::kCodeColumns; ++c) width += StringGrid1->columnWidth(c);
  StringGrid1->setMinimumSize(width + 24, 20 * (large ? kLargeRowHeight : kRowHeight));
  connect(StringGrid1, &QTableWidget::currentCellChanged, this, [this] { updateButtons(); });
  connect(StringGrid1, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
    selectCell(gridRow(row), column);
    insertSelected();
    done(QDialog::Accepted);
  });

  auto button = [this](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  cmdOK = button("cmdOK", QStringLiteral("&Indsæt"));
  cmdOK->setDefault(true);
  cmdLuk = button("cmdLuk", QStringLiteral("&Luk"));
  cmdBrugerkoder = button("cmdBrugerkoder", QStringLiteral("&Brugerkoder"));
  cmdSpecialtegn = button("cmdSpecialtegn", QStringLiteral("Spe&cialtegn"));
  cmdTilfoej = button("cmdTilfoej", QStringLiteral("&Tilføj"));
  cmdRediger = button("cmdRediger", QStringLiteral("&Rediger"));
  cmdSlet = button("cmdSlet", QStringLiteral("&Slet"));
  cmdOp = button("cmdOp", QStringLiteral("▲"));
  cmdNed = button("cmdNed", QStringLiteral("▼"));
  connect(cmdOK, &QPushButton::clicked, this, [this] { insertSelected(); });
  connect(cmdLuk, &QPushButton::clicked, this, &QDialog::reject);
  connect(cmdBrugerkoder, &QPushButton::clicked, this, [this] { jumpToUserCodes(); });
  connect(cmdSpecialtegn, &QPushButton::clicked, this, [this] { jumpToSpecialCharacters(); });
  connect(cmdTilfoej, &QPushButton::clicked, this, [this] { addUserCode(); });
  connect(cmdRediger, &QPushButton::clicked, this, [this] { editUserCode(); });
  connect(cmdSlet, &QPushButton::clicked, this, [this] { deleteUserCode(); });
  connect(cmdOp, &QPushButton::clicked, this, [this] { moveUserCode(-1); });
  connect(cmdNed, &QPushButton::clicked, this, [this] { moveUserCode(1); });

  auto* buttons = new QGridLayout;
  buttons->addWidget(cmdOK, 0, 0, 1, 2);
  buttons->addWidget(cmdLuk, 1, 0, 1, 2);
  buttons->setRowMinimumHeight(2, 12);
  buttons->addWidget(cmdBrugerkoder, 3, 0, 1, 2);
  buttons->addWidget(cmdSpecialtegn, 4, 0, 1, 2);
  buttons->setRowMinimumHeight(5, 12);
  buttons->addWidget(cmdTilfoej, 6, 0, 1, 2);
  buttons->addWidget(cmdRediger, 7, 0, 1, 2);
  buttons->addWidget(cmdSlet, 8, 0, 1, 2);
  buttons->addWidget(cmdOp, 9, 0);
  buttons->addWidget(cmdNed, 9, 1);
  buttons->setRowStretch(10, 1);

  auto* body = new QHBoxLayout;
  body->addWidget(StringGrid1, 1);
  body->addLayout(buttons);
  lblHjaelp = morvel::helpLine(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addWidget(lblHjaelp);
  help_ = new DynamicHelp(lblHjaelp, kIdleHelpText);
}

void TKodeboks::addHelpTexts() {
  help_->add(cmdOK, QStringLiteral("Indsætter den markerede HTML-kode på markørens plads i dokumentet."));
  help_->add(cmdLuk, QStringLiteral("Lukker HTML-kodeboksen uden at indsætte noget i dokumentet."));
  help_->add(cmdBrugerkoder, QStringLiteral("Klik her for at gå til brugerkoderne. Kun brugeroprettede koder kan "
                                            "redigeres og slettes."));
  help_->add(cmdTilfoej, QStringLiteral("Klik her for at tilføje en brugerdefineret HTML-kode."));
  help_->add(cmdRediger, QStringLiteral("Klik her for at redigere den markerede HTML-kode. Kun brugerkoder kan "
                                        "redigeres."));
  help_->add(cmdSlet, QStringLiteral("Klik her for at slette den markerede kode. Kun brugerkoder kan slettes."));
  help_->add(cmdSpecialtegn, QStringLiteral("Klik her for at gå til specialtegnskoderne."));
  const QString move = QStringLiteral(
      "Flyt den markerede brugerkode op eller ned. De 9 første brugerkoder placeres i menupunktet \"Brugerkoder\" i "
      "menuen \"Indsæt\" og får genvejstasterne Ctrl+1 til Ctrl+9.");
  help_->add(cmdOp, move);
  help_->add(cmdNed, move);
}

// The grid's help follows the column under the mouse.
void TKodeboks::showGridHelp(int x) {
  switch (StringGrid1->columnAt(x)) {
    case 0:
      lblHjaelp->setText(
          QStringLiteral("Dobbeltklik her for at indsætte start- og slutkode og lukke "
                         "HTML-kodeboksen. Eller flyt rundt med piletasterne og tast \"Enter\" for "
                         "at indsætte koden."));
      break;
    case 1:
      lblHjaelp->setText(QStringLiteral("Dobbeltklik her for at indsætte startkoden og lukke HTML-kodeboksen."));
      break;
    default:
      lblHjaelp->setText(QStringLiteral("Dobbeltklik her for at indsætte slutkoden og lukke HTML-kodeboksen."));
      break;
  }
}

void TKodeboks::fillGrid() {
  const auto rows = morvel::builtInCodeRows();
  StringGrid1->setHorizontalHeaderLabels(
      {fromUtf8(rows[0].description), fromUtf8(rows[0].start), fromUtf8(rows[0].end)});
  for (std::size_t r = 1; r < rows.size(); ++r)
    appendRow(UserCode{std::string(rows[r].description), std::string(rows[r].start), std::string(rows[r].end)});
  for (const UserCode& code : morvel::readUserCodes(host_.store())) appendRow(code);
  // The headings of the entity codes and the user codes stand out.
  for (const int heading : {morvel::kSpecialCharactersRow, morvel::kUserCodesRow}) {
    for (int c = 0; c < morvel::kCodeColumns; ++c) {
      QFont bold = StringGrid1->font();
      bold.setBold(true);
      StringGrid1->item(tableRow(heading), c)->setFont(bold);
    }
  }
}

void TKodeboks::appendRow(const UserCode& cells) {
  const int row = StringGrid1->rowCount();
  StringGrid1->insertRow(row);
  setRowCells(gridRow(row), cells);
}

void TKodeboks::setRowCells(int row, const UserCode& cells) {
  const std::string* texts[] = {&cells.description, &cells.start, &cells.end};
  for (int c = 0; c < morvel::kCodeColumns; ++c) {
    QTableWidgetItem* item = StringGrid1->item(tableRow(row), c);
    if (!item) {
      item = new QTableWidgetItem;
      StringGrid1->setItem(tableRow(row), c, item);
    }
    item->setText(fromUtf8(*texts[c]));
  }
}

UserCode TKodeboks::rowCells(int row) const {
  UserCode cells;
  std::string* texts[] = {&cells.description, &cells.start, &cells.end};
  for (int c = 0; c < morvel::kCodeColumns; ++c) {
    if (const QTableWidgetItem* item = StringGrid1->item(tableRow(row), c)) *texts[c] = utf8(item->text());
  }
  return cells;
}

int TKodeboks::Row() const { return gridRow(StringGrid1->currentRow()); }

int TKodeboks::Col() const { return StringGrid1->currentColumn(); }

int TKodeboks::RowCount() const { return gridRow(StringGrid1->rowCount()); }

int TKodeboks::TopRow() const { return gridRow(StringGrid1->rowAt(0)); }

void TKodeboks::selectCell(int row, int column) {
  StringGrid1->setCurrentCell(tableRow(row), column);
  updateButtons();
}

// The row goes to the top of the grid, as far as the grid can scroll.
void TKodeboks::scrollToTop(int row) {
  // The scroll range follows rows just added or removed only once laid out.
  StringGrid1->doItemsLayout();
  if (QTableWidgetItem* item = StringGrid1->item(tableRow(row), 0))
    StringGrid1->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

void TKodeboks::updateButtons() {
  const int row = Row();
  const bool userCode = morvel::isUserCodeRow(row);
  cmdRediger->setEnabled(userCode);
  cmdSlet->setEnabled(userCode);
  cmdOp->setEnabled(userCode && row > morvel::kUserCodesRow + 1);
  cmdNed->setEnabled(userCode && row < RowCount() - 1);
}

void TKodeboks::showEvent(QShowEvent* event) {
  // At the top left of the screen, beside the page.
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().topLeft());
  QDialog::showEvent(event);
}

bool TKodeboks::eventFilter(QObject* watched, QEvent* event) {
  if (watched == StringGrid1->viewport()) {
    if (event->type() == QEvent::MouseMove) showGridHelp(static_cast<QMouseEvent*>(event)->position().toPoint().x());
    if (event->type() == QEvent::Leave) lblHjaelp->setText(kIdleHelpText);
  } else if (watched == StringGrid1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      insertSelected();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TKodeboks::done(int result) {
  QDialog::done(result);
  if (OnClose) OnClose();
}

// ---------------------------------------------------------------------------
// Inserting

void TKodeboks::insertSelected() {
  TTivra* e = host_.activeEditor();
  if (!e) return;
  const int row = Row();
  const morvel::CodeBoxInsertion insertion = morvel::insertionOf(row, Col(), rowCells(row));
  switch (insertion.kind) {
    case morvel::CodeBoxInsertion::Replace:
      morvel::insertAtCaret(*e, fromUtf8(insertion.start));
      break;
    case morvel::CodeBoxInsertion::Wrap:
      morvel::wrapSelection(*e, fromUtf8(insertion.start), fromUtf8(insertion.end));
      break;
    case morvel::CodeBoxInsertion::Nothing:
      break;
  }
}

// ---------------------------------------------------------------------------
// Jumps

void TKodeboks::jumpToUserCodes() {
  scrollToTop(morvel::kUserCodesRow);
  selectCell(morvel::userCodesJumpRow(RowCount() - morvel::kBuiltInCodeRows), 0);
  StringGrid1->setFocus();
}

void TKodeboks::jumpToSpecialCharacters() {
  scrollToTop(morvel::kSpecialCharactersRow);
  selectCell(morvel::kSpecialCharactersRow + 1, 1);
  StringGrid1->setFocus();
}

// ---------------------------------------------------------------------------
// The user's own codes

namespace {

UserCode fieldsOf(const TDialog& dialog) {
  return UserCode{utf8(dialog.txt1->text()), utf8(dialog.txt2->text()), utf8(dialog.txt3->text())};
}

}  // namespace

void TKodeboks::addUserCode() {
  TDialog dialog(host_, morvel::newElement(morvel::ElementKind::UserCode), this);
  if (platform::runModal(&dialog, this) != QDialog::Accepted) return;
  const UserCode code = fieldsOf(dialog);
  morvel::writeUserCode(host_.store(), morvel::firstFreeUserCode(host_.store()), code);
  appendRow(code);
  scrollToTop(morvel::kUserCodesRow);
  userCodesChanged();
}

void TKodeboks::editUserCode() {
  const int row = Row();
  if (!morvel::isUserCodeRow(row)) return;
  morvel::EditedElement element = morvel::newElement(morvel::ElementKind::UserCode);
  element.editMode = true;
  TDialog dialog(host_, element, this);
  const UserCode old = rowCells(row);
  dialog.txt1->setText(fromUtf8(old.description));
  dialog.txt2->setText(fromUtf8(old.start));
  dialog.txt3->setText(fromUtf8(old.end));
  if (platform::runModal(&dialog, this) != QDialog::Accepted) return;
  const UserCode code = fieldsOf(dialog);
  setRowCells(row, code);
  morvel::writeUserCode(host_.store(), row - morvel::kUserCodesRow, code);
  userCodesChanged();
}

void TKodeboks::deleteUserCode() {
  const int row = Row();
  if (!morvel::isUserCodeRow(row)) return;
  const QString question = QStringLiteral("Ønsker du at slette %1?").arg(fromUtf8(rowCells(row).description));
  if (platform::messageBox(this, question, QStringLiteral("Slet brugerkode"), MB_YESNO | MB_ICONWARNING) != IDYES)
    return;
  morvel::deleteUserCode(host_.store(), row - morvel::kUserCodesRow);
  StringGrid1->removeRow(tableRow(row));
  scrollToTop(morvel::kUserCodesRow);
  updateButtons();
  userCodesChanged();
}

void TKodeboks::moveUserCode(int direction) {
  const int row = Row();
  const int other = row + direction;
  if (!morvel::isUserCodeRow(row) || !morvel::isUserCodeRow(other) || other >= RowCount()) return;
  const UserCode moved = rowCells(row);
  setRowCells(row, rowCells(other));
  setRowCells(other, moved);
  morvel::swapUserCodes(host_.store(), std::min(row, other) - morvel::kUserCodesRow);
  selectCell(other, Col());
  userCodesChanged();
}

void TKodeboks::userCodesChanged() {
  // The user's codes are the user's work: on disk at once.
  host_.store().UpdateFile();
  if (OnUserCodesChanged) OnUserCodesChanged();
}
