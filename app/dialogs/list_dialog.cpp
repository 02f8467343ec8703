#include "dialogs/list_dialog.h"

#include "ascii.h"
#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/edited_element.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/list_codes.h"
#include "interaction.h"
#include "markup/text_position.h"
#include "qtext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kMostItems = 999;
constexpr int kTextColumn = 1;

}  // namespace

TPunktopstilling::TPunktopstilling(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host), element_(element) {
  setObjectName(QStringLiteral("TPunktopstilling"));
  setWindowFlag(Qt::Tool);
  buildControls();
  TTivra* e = host_.activeEditor();
  if (element_.editMode || (e && e->SelLength() > 0)) {
    setWindowTitle(QStringLiteral("Punktopstilling - redigering"));
    takeSelection();
  } else {
    setWindowTitle(QStringLiteral("Punktopstilling"));
  }
}

void TPunktopstilling::buildControls() {
  optPunkter = new QRadioButton(QStringLiteral("&Punkttegn"), this);
  optPunkter->setObjectName(QStringLiteral("optPunkter"));
  optPunkter->setChecked(true);
  optTal = new QRadioButton(QStringLiteral("&Tal"), this);
  optTal->setObjectName(QStringLiteral("optTal"));
  cmbType = new QComboBox(this);
  cmbType->setObjectName(QStringLiteral("cmbType"));
  fillTypes();
  updAntal = new QSpinBox(this);
  updAntal->setObjectName(QStringLiteral("updAntal"));
  if (auto* edit = updAntal->findChild<QLineEdit*>()) edit->setObjectName(QStringLiteral("txtAntal"));
  updAntal->setRange(1, kMostItems);
  // Typed digits count once the field is left, not one by one.
  updAntal->setKeyboardTracking(false);
  StringGrid1 = new QTableWidget(0, 2, this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setHorizontalHeaderLabels({QString(), QStringLiteral("Punktopstilling")});
  StringGrid1->verticalHeader()->hide();
  StringGrid1->horizontalHeader()->setStretchLastSection(true);
  StringGrid1->setColumnWidth(0, 40);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  txtData = new QLineEdit(this);
  txtData->setObjectName(QStringLiteral("txtData"));
  txtData->installEventFilter(this);
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;
  setCount(2);

  connect(optTal, &QRadioButton::toggled, this, [this] { fillTypes(); });
  connect(updAntal, &QSpinBox::valueChanged, this, [this](int count) { setCount(count); });
  connect(StringGrid1, &QTableWidget::currentCellChanged, this, [this](int row) { selectItem(row); });
  connect(StringGrid1, &QTableWidget::cellClicked, this, [this] { txtData->setFocus(); });
  connect(txtData, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (QTableWidgetItem* item = StringGrid1->item(StringGrid1->currentRow(), kTextColumn)) item->setText(text);
  });
  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });

  auto label = [this](const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption, this);
    l->setBuddy(buddy);
    return l;
  };
  auto* kind = new QGridLayout;
  kind->addWidget(optPunkter, 0, 0);
  kind->addWidget(optTal, 1, 0);
  kind->addWidget(cmbType, 0, 1);
  kind->addWidget(label(QStringLiteral("&Antal:"), updAntal), 2, 0);
  kind->addWidget(updAntal, 2, 1);
  kind->setColumnStretch(2, 1);
  auto* text = new QHBoxLayout;
  text->addWidget(label(QStringLiteral("Te&kst:"), txtData));
  text->addWidget(txtData, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(kind);
  layout->addWidget(StringGrid1, 1);
  layout->addLayout(text);
  addHelpTexts(*morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText));
}

void TPunktopstilling::addHelpTexts(DynamicHelp& help) {
  help.add(updAntal, QStringLiteral("Brug piletasterne eller klik med musen for at ændre antal punkter. (<LI>)"));
  help.add(optPunkter, QStringLiteral("Ordner punkterne med punkttegn. Vælg type i valgboksen. (<UL></UL>)"));
  help.add(optTal, QStringLiteral("Ordner punkterne med tal. Vælg type i valgboksen. (<OL></OL>)"));
  help.add(cmbType, QStringLiteral("Bestemmer tegn- eller taltype. (TYPE=)"));
  help.add(txtData, QStringLiteral("Skriv punktteksten her og tast \"Enter\" for at fortsætte med næste punkt."));
  help.add(StringGrid1, QStringLiteral("Klik med musen eller flyt rundt med piletasterne for at vælge et punkt."));
  help.add(cmdOk, morvel::kOkHelpText);
  help.add(cmdAnnuller, morvel::kCancelHelpText);
}

void TPunktopstilling::fillTypes() {
  cmbType->clear();
  if (optTal->isChecked())
    cmbType->addItems({QStringLiteral("1, 2, 3..."), QStringLiteral("I, II, III..."), QStringLiteral("i, ii, iii..."),
                       QStringLiteral("A, B, C..."), QStringLiteral("a, b, c...")});
  else
    cmbType->addItems({QStringLiteral("Runde"), QStringLiteral("Firkantede")});
  cmbType->setCurrentIndex(0);
}

void TPunktopstilling::setCount(int count) {
  const int before = StringGrid1->rowCount();
  StringGrid1->setRowCount(count);
  for (int row = before; row < count; ++row) {
    auto* number = new QTableWidgetItem(QString::number(row + 1));
    number->setFlags(Qt::ItemIsEnabled);
    StringGrid1->setItem(row, 0, number);
    StringGrid1->setItem(row, kTextColumn, new QTableWidgetItem);
  }
  if (updAntal->value() != count) updAntal->setValue(count);
  if (StringGrid1->currentRow() < 0) StringGrid1->setCurrentCell(0, kTextColumn);
}

void TPunktopstilling::selectItem(int row) {
  const QTableWidgetItem* item = StringGrid1->item(row, kTextColumn);
  txtData->setText(item ? item->text() : QString());
}

bool TPunktopstilling::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtData && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // Enter goes on to the next item, from the last back to the first,
      // and never closes the dialog.
      const int rows = StringGrid1->rowCount();
      StringGrid1->setCurrentCell((StringGrid1->currentRow() + 1) % rows, kTextColumn);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TPunktopstilling::takeSelection() {
  TTivra* e = host_.activeEditor();
  if (!e) return;
  if (const morvel::ListAttributes* edited = element_.editMode ? element_.as<morvel::ListAttributes>() : nullptr) {
    const bool numbered = edited->numbered;
    optTal->setChecked(numbered);
    cmbType->setCurrentIndex(morvel::listTypeIndex(numbered, edited->type));
    // The list goes up to its end tag; without one only the start tag is
    // replaced.
    const morvel::EditorText page = morvel::editorText(*e);
    const std::size_t start = page.offsetOf(morvel::selectionOf(*e).first());
    const std::size_t end = ascii::findIgnoringCase(page.bytes, numbered ? "</OL>" : "</UL>", start);
    if (end != std::string::npos) morvel::select(*e, page.positionAt(start), page.positionAt(end + 5));
  }
  const morvel::ListFields list = morvel::listFromText(e->SelTextBytes());
  if (list.numbered && !optTal->isChecked()) optTal->setChecked(true);
  setCount(std::max<int>(1, static_cast<int>(list.items.size())));
  for (std::size_t i = 0; i < list.items.size(); ++i)
    StringGrid1->item(static_cast<int>(i), kTextColumn)->setText(platform::fromCp1252(list.items[i]));
  StringGrid1->setCurrentCell(0, kTextColumn);
  selectItem(0);
}

void TPunktopstilling::confirm() {
  hide();
  morvel::ListFields list;
  list.numbered = optTal->isChecked();
  list.type = cmbType->currentIndex();
  for (int row = 0; row < StringGrid1->rowCount(); ++row)
    list.items.push_back(platform::toCp1252(StringGrid1->item(row, kTextColumn)->text()));
  if (TTivra* e = host_.activeEditor()) e->InsertBytes(morvel::listCode(list, element_.keptAttributes));
  accept();
}
