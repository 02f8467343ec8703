#include "dialogs/table_dialog.h"

#include "commands/document_host.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/web_colour_dialog.h"
#include "interaction.h"
#include "qtext.h"
#include "settings/settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

using morvel::HorizontalAlign;
using morvel::VerticalAlign;

namespace {

constexpr int kMostRows = 50;
constexpr int kMostColumns = 20;
constexpr int kMostWidthPixels = 1600;
constexpr int kMostHeightPixels = 1200;
constexpr int kMostSpace = 999;
constexpr int kCellWidth = 180;
constexpr int kCellHeight = 20;

// The alignment lists, in the order of the enums.
void fillHorizontal(QComboBox* list) {
  list->addItems({QStringLiteral("Venstrestillet"), QStringLiteral("Centreret"), QStringLiteral("Højrestillet")});
}

void fillVertical(QComboBox* list) {
  list->addItems({QStringLiteral("Top"), QStringLiteral("Midten"), QStringLiteral("Bund")});
}

QComboBox* list(QWidget* parent, const char* name) {
  auto* l = new QComboBox(parent);
  l->setObjectName(QString::fromLatin1(name));
  return l;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption) {
  auto* c = new QCheckBox(caption, parent);
  c->setObjectName(QString::fromLatin1(name));
  return c;
}

TWebColorButton* colourButton(QDialog* dialog, morvel::DocumentHost& host, QCheckBox* include) {
  auto* b = new TWebColorButton(host.store(), dialog);
  b->setObjectName(QStringLiteral("colFarve"));
  b->WebColorDialog = host.settings().webColourDialog;
  b->setColor(morvel::kWhite);
  b->OnColorChange = [include] { include->setChecked(true); };
  return b;
}

// A size: its box, its number and its "%" box, whose range is 0..100 in
// percent and 0..`pixels` in pixels, widened to hold an edited value so
// that it is never cut down.
struct SizeControls {
  QCheckBox* on;
  QSpinBox* number;
  QCheckBox* percent;
  int pixels;

  void followUnit() const {
    QObject::connect(percent, &QCheckBox::toggled, number,
                     [number = number, pixels = pixels](bool p) { number->setMaximum(p ? 100 : pixels); });
  }
  void show(const morvel::SizeField& size) const {
    percent->setChecked(size.percent);
    number->setMaximum(std::max(size.percent ? 100 : pixels, size.value));
    number->setValue(size.value);
    on->setChecked(size.on);
  }
  morvel::SizeField value() const { return {on->isChecked(), number->value(), percent->isChecked()}; }
};

QGridLayout* sizeRow(QGridLayout* grid, int row, const SizeControls& size) {
  grid->addWidget(size.on, row, 0);
  grid->addWidget(size.number, row, 1);
  grid->addWidget(size.percent, row, 2);
  return grid;
}

}  // namespace

// ---------------------------------------------------------------------------
// TTabel

TTabel::TTabel(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host) {
  setObjectName(QStringLiteral("TTabel"));
  setWindowFlag(Qt::Tool);
  buildControls();
  showFields(morvel::TableFields{});
  prepare(element);
}

void TTabel::buildControls() {
  txtTitel = new QLineEdit(this);
  txtTitel->setObjectName(QStringLiteral("txtTitel"));
  chkBredde = checkBox(this, "chkBredde", QStringLiteral("&Bredde:"));
  updBredde = morvel::numberField(this, "updBredde", "txtBredde", 0, 100);
  chkBreddeProcent = checkBox(this, "chkBreddeProcent", QStringLiteral("%"));
  chkHoejde = checkBox(this, "chkHoejde", QStringLiteral("&Højde:"));
  updHoejde = morvel::numberField(this, "updHoejde", "txtHoejde", 0, 100);
  chkHoejdeProcent = checkBox(this, "chkHoejdeProcent", QStringLiteral("%"));
  updraekker = morvel::numberField(this, "updraekker", "txtRaekker", 1, kMostRows);
  updKolonner = morvel::numberField(this, "updKolonner", "txtKolonner", 1, kMostColumns);
  updSpacing = morvel::numberField(this, "updSpacing", "txtSpacing", 0, kMostSpace);
  updPadding = morvel::numberField(this, "updPadding", "txtPadding", 0, kMostSpace);
  updRamme = morvel::numberField(this, "updRamme", "txtRamme", 0, kMostSpace);
  cmbJustHV = list(this, "cmbJustHV");
  fillHorizontal(cmbJustHV);
  cmbJustTB = list(this, "cmbJustTB");
  fillVertical(cmbJustTB);
  cmbOmloeb = list(this, "cmbOmloeb");
  cmbOmloeb->addItems({QStringLiteral("Ingen"), QStringLiteral("Højre om"), QStringLiteral("Venstre om")});
  chkFarve = checkBox(this, "chkFarve", QStringLiteral("&Farve:"));
  colFarve = colourButton(this, host_, chkFarve);
  StringGrid1 = new QTableWidget(this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setMinimumHeight(5 * kCellHeight);
  txtData = new QPlainTextEdit(this);
  txtData->setObjectName(QStringLiteral("txtData"));
  txtData->setMaximumHeight(3 * kCellHeight + 8);
  txtData->installEventFilter(this);
  cmdNulstil = new QPushButton(QStringLiteral("&Nulstil"), this);
  cmdNulstil->setObjectName(QStringLiteral("cmdNulstil"));
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;

  SizeControls{chkBredde, updBredde, chkBreddeProcent, kMostWidthPixels}.followUnit();
  SizeControls{chkHoejde, updHoejde, chkHoejdeProcent, kMostHeightPixels}.followUnit();
  connect(updraekker, &QSpinBox::valueChanged, this, [this] { resizeGrid(); });
  connect(updKolonner, &QSpinBox::valueChanged, this, [this] { resizeGrid(); });
  connect(StringGrid1, &QTableWidget::currentCellChanged, this,
          [this](int row, int column) { selectCell(row, column); });
  connect(StringGrid1, &QTableWidget::cellClicked, this, [this] { txtData->setFocus(); });
  connect(txtData, &QPlainTextEdit::textChanged, this, [this] { cellTextTyped(); });
  connect(cmdNulstil, &QPushButton::clicked, this, [this] { reset(); });
  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });

  auto* title = new QHBoxLayout;
  title->addWidget(morvel::buddyLabel(this, QStringLiteral("&Titel:"), txtTitel));
  title->addWidget(txtTitel, 1);
  auto* sizes = new QGridLayout;
  sizeRow(sizes, 0, {chkBredde, updBredde, chkBreddeProcent, 0});
  sizeRow(sizes, 1, {chkHoejde, updHoejde, chkHoejdeProcent, 0});
  auto* rowsLabel = morvel::buddyLabel(this, QStringLiteral("&Rækker:"), updraekker);
  auto* columnsLabel = morvel::buddyLabel(this, QStringLiteral("&Kolonner:"), updKolonner);
  sizes->addWidget(rowsLabel, 2, 0);
  sizes->addWidget(updraekker, 2, 1);
  sizes->addWidget(columnsLabel, 3, 0);
  sizes->addWidget(updKolonner, 3, 1);
  sizes->addWidget(morvel::buddyLabel(this, QStringLiteral("Ra&mme:"), updRamme), 4, 0);
  sizes->addWidget(updRamme, 4, 1);
  auto* look = new QGridLayout;
  look->addWidget(morvel::buddyLabel(this, QStringLiteral("Celle&afstand:"), updSpacing), 0, 0);
  look->addWidget(updSpacing, 0, 1);
  look->addWidget(morvel::buddyLabel(this, QStringLiteral("Cellemarg&en:"), updPadding), 1, 0);
  look->addWidget(updPadding, 1, 1);
  look->addWidget(chkFarve, 2, 0);
  look->addWidget(colFarve, 2, 1);
  look->addWidget(morvel::buddyLabel(this, QStringLiteral("Tekstom&løb:"), cmbOmloeb), 3, 0);
  look->addWidget(cmbOmloeb, 3, 1);
  auto* horizontalLabel = morvel::buddyLabel(this, QStringLiteral("&Vandret:"), cmbJustHV);
  auto* verticalLabel = morvel::buddyLabel(this, QStringLiteral("Lo&dret:"), cmbJustTB);
  look->addWidget(horizontalLabel, 4, 0);
  look->addWidget(cmbJustHV, 4, 1);
  look->addWidget(verticalLabel, 5, 0);
  look->addWidget(cmbJustTB, 5, 1);
  auto* top = new QHBoxLayout;
  top->addLayout(sizes);
  top->addSpacing(16);
  top->addLayout(look);
  auto* cellLabel = morvel::buddyLabel(this, QStringLiteral("Celletek&st:"), txtData);
  auto* titleLabel = static_cast<QLabel*>(title->itemAt(0)->widget());
  buttons.row->insertWidget(0, cmdNulstil);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(title);
  layout->addLayout(top);
  layout->addWidget(StringGrid1, 1);
  layout->addWidget(cellLabel);
  layout->addWidget(txtData);
  addHelpTexts(*morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText));
  newTableOnly_ = {titleLabel, txtTitel,      rowsLabel, updraekker,  columnsLabel, updKolonner, horizontalLabel,
                   cmbJustHV,  verticalLabel, cmbJustTB, StringGrid1, cellLabel,    txtData,     cmdNulstil};
}

void TTabel::addHelpTexts(DynamicHelp& help) {
  help.add(txtTitel,
           QStringLiteral("Tabellens titel placeres som standard centreret over tabellen. (<CAPTION></CAPTION>)"));
  help.add(chkBreddeProcent,
           QStringLiteral("Bestemmer, om bredden er relativ i procent af browservinduets bredde eller "
                          "absolut (i pixels)."));
  help.add(updBredde, QStringLiteral("Sætter tabellens bredde i procent af browservinduet eller i pixels. (WIDTH=)"));
  help.add(updRamme, QStringLiteral("Sætter tykkelsen af tabellens ramme. (BORDER=)"));
  help.add(updraekker, QStringLiteral("Sætter antallet af rækker i tabellen. (Hver række udløser et sæt <TR></TR>)"));
  help.add(updKolonner, QStringLiteral("Sætter antallet af kolonner i tabellen. (Hver kolonne udløser et sæt <TD></TD> "
                                       "i hver række.)"));
  help.add(colFarve, QStringLiteral("Klik for at vælge tabellens baggrundsfarve. (BGCOLOR=)"));
  help.add(updSpacing, QStringLiteral("Sætter afstanden mellem tabellens celler. (CELLSPACING=)"));
  help.add(updPadding, QStringLiteral("Sætter afstanden mellem tabelcellernes kant og deres indhold. (CELLPADDING=)"));
  help.add(cmbOmloeb,
           QStringLiteral("Tillader tekstomløb højre om eller venstre om tabellen. (ALIGN= i <TABLE>-kode)"));
  help.add(cmbJustHV, QStringLiteral("Justerer teksten i tabelcellerne horisontalt. (ALIGN= i <TR> el. <TD>-kode)"));
  help.add(cmbJustTB, QStringLiteral("Justerer teksten i tabelcellerne vertikalt. (VALIGN=)"));
  help.add(txtData, QStringLiteral("Skriv celleteksten og tast \"Enter\" for at fortsætte til næste celle."));
  help.add(StringGrid1,
           QStringLiteral("Klik på en celle for at redigere den. Indholdet redigeres i \"Celletekst\"-boksen"));
  help.add(chkFarve, QStringLiteral("Sæt kryds, hvis tabellens baggrund skal have en farve. Ellers bliver tabellen "
                                    "transparent."));
  help.add(cmdNulstil, QStringLiteral("Sletter al tekst i tabellen og nulstiller alle indstillinger."));
  help.add(chkHoejdeProcent, QStringLiteral("Bestemmer, om højden er relativ i procent af browservinduets højde eller "
                                            "absolut (i pixels)."));
  help.add(updHoejde, QStringLiteral("Sætter tabellens højde i procent af browservinduet eller i pixels. (HEIGHT=)"));
  help.add(chkBredde, QStringLiteral("Bestemmer om tabelbredden skal medtages. Ellers tilpassesbredden automatisk "
                                     "efter indeholdet."));
  help.add(chkHoejde, QStringLiteral("Bestemmer om tabelhøjden skal medtages. Ellers tilpasseshøjden automatisk efter "
                                     "indeholdet."));
  help.add(cmdOk, morvel::kOkHelpText);
  help.add(cmdAnnuller, morvel::kCancelHelpText);
}

void TTabel::prepare(const morvel::EditedElement& element) {
  element_ = element;
  const morvel::TableAttributes* edited = element_.editMode ? element_.as<morvel::TableAttributes>() : nullptr;
  for (QWidget* w : newTableOnly_) w->setVisible(!edited);
  if (edited) {
    setWindowTitle(QStringLiteral("Tabel - redigering"));
    showFields(morvel::tableFields(*edited, fields()));
    adjustSize();
    return;
  }
  setWindowTitle(QStringLiteral("Tabel"));
  cmbOmloeb->setCurrentIndex(static_cast<int>(morvel::TableFlow::None));
  cmbJustHV->setCurrentIndex(static_cast<int>(HorizontalAlign::Left));
  cmbJustTB->setCurrentIndex(static_cast<int>(VerticalAlign::Middle));
  resizeGrid();
  // The selected text is the first cell's.
  const TTivra* e = host_.activeEditor();
  StringGrid1->item(1, 1)->setText(e ? platform::fromCp1252(e->SelTextBytes()) : QString());
  StringGrid1->setCurrentCell(1, 1);
  selectCell(1, 1);
  adjustSize();
}

void TTabel::showFields(const morvel::TableFields& t) {
  txtTitel->setText(platform::fromCp1252(t.title));
  SizeControls{chkBredde, updBredde, chkBreddeProcent, kMostWidthPixels}.show(t.width);
  SizeControls{chkHoejde, updHoejde, chkHoejdeProcent, kMostHeightPixels}.show(t.height);
  updraekker->setValue(t.rows);
  updKolonner->setValue(t.columns);
  updSpacing->setValue(t.spacing);
  updPadding->setValue(t.padding);
  cmbJustHV->setCurrentIndex(static_cast<int>(t.rowAlign));
  cmbJustTB->setCurrentIndex(static_cast<int>(t.rowVAlign));
  updRamme->setValue(t.border);
  chkFarve->setChecked(t.colourOn);
  colFarve->setColor(t.colour);
  cmbOmloeb->setCurrentIndex(static_cast<int>(t.flow));
  otherAlign_ = t.otherAlign;
}

morvel::TableFields TTabel::fields() const {
  morvel::TableFields t;
  t.title = platform::toCp1252(txtTitel->text());
  t.width = SizeControls{chkBredde, updBredde, chkBreddeProcent, kMostWidthPixels}.value();
  t.height = SizeControls{chkHoejde, updHoejde, chkHoejdeProcent, kMostHeightPixels}.value();
  t.rows = updraekker->value();
  t.columns = updKolonner->value();
  t.spacing = updSpacing->value();
  t.padding = updPadding->value();
  t.rowAlign = static_cast<HorizontalAlign>(cmbJustHV->currentIndex());
  t.rowVAlign = static_cast<VerticalAlign>(cmbJustTB->currentIndex());
  t.border = updRamme->value();
  t.colourOn = chkFarve->isChecked();
  t.colour = colFarve->Color();
  t.flow = static_cast<morvel::TableFlow>(cmbOmloeb->currentIndex());
  t.otherAlign = otherAlign_;
  return t;
}

morvel::TableCells TTabel::cells() const {
  morvel::TableCells cells;
  for (int r = 1; r < StringGrid1->rowCount(); ++r) {
    std::vector<std::string>& row = cells.emplace_back();
    for (int c = 1; c < StringGrid1->columnCount(); ++c) {
      const QTableWidgetItem* item = StringGrid1->item(r, c);
      // Lines typed in the cell text end in CR LF, as the page's do.
      QString text = item ? item->text() : QString();
      text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
      row.push_back(platform::toCp1252(text));
    }
  }
  return cells;
}

void TTabel::resizeGrid() {
  const int rows = updraekker->value() + 1;
  const int columns = updKolonner->value() + 1;
  StringGrid1->setRowCount(rows);
  StringGrid1->setColumnCount(columns);
  const bool highDpi = screen() && screen()->logicalDotsPerInch() >= 120;
  const int fixed = highDpi ? 20 : 16;
  StringGrid1->setColumnWidth(0, fixed);
  StringGrid1->setRowHeight(0, fixed);
  for (int c = 1; c < columns; ++c) StringGrid1->setColumnWidth(c, kCellWidth);
  for (int r = 1; r < rows; ++r) StringGrid1->setRowHeight(r, kCellHeight);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      auto* item = StringGrid1->item(r, c);
      if (!item) {
        item = new QTableWidgetItem;
        StringGrid1->setItem(r, c, item);
      }
      if (r == 0 || c == 0) {
        // The numbers: grey and not to be chosen.
        item->setText(r == 0 && c == 0 ? QString() : QString::number(r == 0 ? c : r));
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(palette().button());
        item->setTextAlignment(Qt::AlignCenter);
      }
    }
  }
  const int row = StringGrid1->currentRow();
  const int column = StringGrid1->currentColumn();
  if (row < 1 || column < 1 || row >= rows || column >= columns) StringGrid1->setCurrentCell(1, 1);
}

void TTabel::selectCell(int row, int column) {
  if (row < 1 || column < 1) {
    // The numbers are not cells: the first cell of their row or column.
    StringGrid1->setCurrentCell(std::max(row, 1), std::max(column, 1));
    return;
  }
  const QTableWidgetItem* item = StringGrid1->item(row, column);
  const QSignalBlocker quiet(txtData);
  txtData->setPlainText(item ? item->text() : QString());
}

void TTabel::cellTextTyped() {
  QTableWidgetItem* item = StringGrid1->item(StringGrid1->currentRow(), StringGrid1->currentColumn());
  if (item && StringGrid1->currentRow() > 0 && StringGrid1->currentColumn() > 0) item->setText(txtData->toPlainText());
}

bool TTabel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtData && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // Enter moves on to the next cell and never closes the dialog.
      const morvel::GridCell next = morvel::nextGridCell({StringGrid1->currentColumn(), StringGrid1->currentRow()},
                                                         updKolonner->value(), updraekker->value());
      StringGrid1->setCurrentCell(next.row, next.column);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TTabel::reset() {
  const int answer = platform::messageBox(this, QStringLiteral("Ønsker du at slette /nulstille alt i dialogboksen?"),
                                          QStringLiteral("Nulstil dialogboks"), MB_YESNO | MB_ICONWARNING);
  if (answer != IDYES) return;
  for (int r = 1; r < StringGrid1->rowCount(); ++r) {
    for (int c = 1; c < StringGrid1->columnCount(); ++c) StringGrid1->item(r, c)->setText(QString());
  }
  showFields(morvel::resetTableFields(fields()));
  resizeGrid();
  StringGrid1->setCurrentCell(1, 1);
  selectCell(1, 1);
}

void TTabel::confirm() {
  hide();
  const morvel::TableFields table = fields();
  const std::string code = element_.editMode ? morvel::tableStartTag(table, element_.keptAttributes)
                                             : morvel::tableCode(table, cells(), element_.keptAttributes);
  if (TTivra* e = host_.activeEditor()) e->InsertBytes(code);
  accept();
}

// ---------------------------------------------------------------------------
// TTabelcelle

TTabelcelle::TTabelcelle(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host), element_(element) {
  setObjectName(QStringLiteral("TTabelcelle"));
  setWindowFlag(Qt::Tool);
  buildControls();
  if (isCell()) {
    setWindowTitle(QStringLiteral("Tabelcelle - redigering"));
    const morvel::TableCellAttributes* cell = element_.as<morvel::TableCellAttributes>();
    showFields(morvel::cellFields(cell ? *cell : morvel::TableCellAttributes{}));
  } else {
    setWindowTitle(QStringLiteral("Tabelrække - redigering"));
    const morvel::TableRowAttributes* row = element_.as<morvel::TableRowAttributes>();
    showFields(morvel::rowFields(row ? *row : morvel::TableRowAttributes{}));
    for (QWidget* w : cellOnly_) w->hide();
  }
  adjustSize();
}

void TTabelcelle::buildControls() {
  cmbJustTB = list(this, "cmbJustTB");
  fillVertical(cmbJustTB);
  cmbJustHV = list(this, "cmbJustHV");
  fillHorizontal(cmbJustHV);
  updRaekker = morvel::numberField(this, "updRaekker", "txtRaekker", 1, kMostRows);
  updKolonner = morvel::numberField(this, "updKolonner", "txtKolonner", 1, kMostRows);
  chkBredde = checkBox(this, "chkBredde", QStringLiteral("Celle&bredde:"));
  updBredde = morvel::numberField(this, "updBredde", "txtBredde", 0, 100);
  chkProcentB = checkBox(this, "chkProcentB", QStringLiteral("%"));
  chkHoejde = checkBox(this, "chkHoejde", QStringLiteral("Celle&højde:"));
  updHoejde = morvel::numberField(this, "updHoejde", "txtHoejde", 1, 100);
  chkProcentH = checkBox(this, "chkProcentH", QStringLiteral("%"));
  chkFarve = checkBox(this, "chkFarve", QStringLiteral("Farve"));
  colFarve = colourButton(this, host_, chkFarve);
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;

  SizeControls{chkBredde, updBredde, chkProcentB, kMostWidthPixels}.followUnit();
  SizeControls{chkHoejde, updHoejde, chkProcentH, kMostHeightPixels}.followUnit();
  // A size can be set only while it is included.
  for (auto [box, number] : {std::pair{chkBredde, updBredde}, std::pair{chkHoejde, updHoejde}}) {
    number->setEnabled(false);
    number->setReadOnly(true);
    connect(box, &QCheckBox::toggled, number, [number = number](bool on) {
      number->setEnabled(on);
      number->setReadOnly(!on);
    });
  }
  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });

  auto* grid = new QGridLayout;
  grid->addWidget(morvel::buddyLabel(this, QStringLiteral("&Lodret:"), cmbJustTB), 0, 0);
  grid->addWidget(cmbJustTB, 0, 1, 1, 2);
  grid->addWidget(morvel::buddyLabel(this, QStringLiteral("&Vandret:"), cmbJustHV), 1, 0);
  grid->addWidget(cmbJustHV, 1, 1, 1, 2);
  auto* rowsLabel = morvel::buddyLabel(this, QStringLiteral("&Rækker:"), updRaekker);
  auto* columnsLabel = morvel::buddyLabel(this, QStringLiteral("&Kolonner:"), updKolonner);
  grid->addWidget(rowsLabel, 2, 0);
  grid->addWidget(updRaekker, 2, 1);
  grid->addWidget(columnsLabel, 3, 0);
  grid->addWidget(updKolonner, 3, 1);
  sizeRow(grid, 4, {chkBredde, updBredde, chkProcentB, 0});
  sizeRow(grid, 5, {chkHoejde, updHoejde, chkProcentH, 0});
  grid->addWidget(chkFarve, 6, 0);
  grid->addWidget(colFarve, 6, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  addHelpTexts(*morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText));
  cellOnly_ = {rowsLabel,   updRaekker, columnsLabel, updKolonner, chkBredde, updBredde,
               chkProcentB, chkHoejde,  updHoejde,    chkProcentH, chkFarve,  colFarve};
}

void TTabelcelle::addHelpTexts(DynamicHelp& help) {
  help.add(cmbJustTB, QStringLiteral("Justerer teksten i tabelcellerne vertikalt. (VALIGN=)"));
  help.add(cmbJustHV, QStringLiteral("Justerer teksten i tabelcellerne horisontalt. (ALIGN=)"));
  help.add(updRaekker, QStringLiteral("Sætter antallet af rækker, tabelcellen spænder over. (ROWSPAN=)"));
  help.add(updKolonner, QStringLiteral("Sætter antallet af kolonner, tabelcellen spænder over. (COLSPAN=)"));
  help.add(chkBredde,
           QStringLiteral("Sæt kryds hvis du vil bestemme cellebredden. Ellers justeres cellebredden automatisk."));
  help.add(updBredde, QStringLiteral("Sætter cellebredden i procent eller pixels. (WIDTH=)"));
  help.add(chkHoejde,
           QStringLiteral("Sæt kryds hvis du vil bestemme cellehøjden. Ellers justeres cellehøjden automatisk."));
  help.add(updHoejde, QStringLiteral("Sætter cellehøjden i procent eller pixels. (HEIGHT=)"));
  help.add(chkProcentB, QStringLiteral("Bestemmer, om cellebredden er relativ i procent af tabellens bredde eller "
                                       "absolut (i pixels)."));
  help.add(chkProcentH, QStringLiteral("Bestemmer, om cellehøjden er relativ i procent af browservinduets højde eller "
                                       "absolut (i pixels)."));
  help.add(chkFarve, QStringLiteral("Sæt kryds hvis du vil give cellen en særlig farve. Ellers farves cellen som "
                                    "resten af tabellen."));
  help.add(cmdOk, morvel::kOkHelpText);
  help.add(cmdAnnuller, morvel::kCancelHelpText);
}

void TTabelcelle::showFields(const morvel::CellFields& c) {
  cmbJustTB->setCurrentIndex(static_cast<int>(c.valign));
  cmbJustHV->setCurrentIndex(static_cast<int>(c.align));
  updRaekker->setMaximum(std::max(kMostRows, c.rowSpan));
  updRaekker->setValue(c.rowSpan);
  updKolonner->setMaximum(std::max(kMostRows, c.columnSpan));
  updKolonner->setValue(c.columnSpan);
  SizeControls{chkBredde, updBredde, chkProcentB, kMostWidthPixels}.show(c.width);
  SizeControls{chkHoejde, updHoejde, chkProcentH, kMostHeightPixels}.show(c.height);
  chkFarve->setChecked(c.colourOn);
  colFarve->setColor(c.colour);
}

morvel::CellFields TTabelcelle::fields() const {
  morvel::CellFields c;
  c.valign = static_cast<VerticalAlign>(cmbJustTB->currentIndex());
  c.align = static_cast<HorizontalAlign>(cmbJustHV->currentIndex());
  c.rowSpan = updRaekker->value();
  c.columnSpan = updKolonner->value();
  c.width = SizeControls{chkBredde, updBredde, chkProcentB, kMostWidthPixels}.value();
  c.height = SizeControls{chkHoejde, updHoejde, chkProcentH, kMostHeightPixels}.value();
  c.colourOn = chkFarve->isChecked();
  c.colour = colFarve->Color();
  return c;
}

void TTabelcelle::confirm() {
  hide();
  const morvel::CellFields c = fields();
  const std::string code =
      isCell() ? morvel::cellStartTag(c, element_.keptAttributes) : morvel::rowStartTag(c, element_.keptAttributes);
  if (TTivra* e = host_.activeEditor()) e->InsertBytes(code);
  accept();
}
