#include "dialogs/meta_dialog.h"

#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/element_dialogs.h"
#include "qtext.h"
#include "registry.h"
#include "settings/settings_store.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kOther = static_cast<int>(morvel::kMetaEntries) - 1;

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

TMeta::TMeta(morvel::DocumentHost& host, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host) {
  setObjectName(QStringLiteral("TMeta"));
  setWindowTitle(QStringLiteral("Meta-information"));
  setWindowFlag(Qt::Tool);
  // A default the user saved takes the place of the built-in one.
  const auto entries = morvel::metaEntries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string builtIn(entries[i].content);
    contents_[i] = fromUtf8(host_.store().ReadString(morvel::settings::kMeta, std::to_string(i), builtIn));
  }
  buildControls();
  cklNavn->setCurrentRow(0);
}

void TMeta::buildControls() {
  cklNavn = new QListWidget(this);
  cklNavn->setObjectName(QStringLiteral("cklNavn"));
  for (const morvel::MetaEntry& entry : morvel::metaEntries()) {
    auto* item = new QListWidgetItem(fromUtf8(entry.caption), cklNavn);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  txtNavn = new QLineEdit(this);
  txtNavn->setObjectName(QStringLiteral("txtNavn"));
  memIndhold = new QLineEdit(this);
  memIndhold->setObjectName(QStringLiteral("memIndhold"));
  memIndhold->installEventFilter(this);
  btnGemSomStandard = new QPushButton(QStringLiteral("&Gem som standard"), this);
  btnGemSomStandard->setObjectName(QStringLiteral("btnGemSomStandard"));
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;

  connect(cklNavn, &QListWidget::currentRowChanged, this, [this](int i) { showEntry(i); });
  connect(memIndhold, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (const int i = cklNavn->currentRow(); i >= 0) contents_[static_cast<std::size_t>(i)] = text;
  });
  connect(txtNavn, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (cklNavn->currentRow() == kOther) otherName_ = text;
  });
  connect(btnGemSomStandard, &QPushButton::clicked, this, [this] { saveAsDefault(); });
  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });

  auto* grid = new QGridLayout;
  grid->addWidget(morvel::buddyLabel(this, QStringLiteral("&Navn:"), cklNavn), 0, 0);
  grid->addWidget(cklNavn, 1, 0, 4, 1);
  grid->addWidget(morvel::buddyLabel(this, QStringLiteral("&Metanavn:"), txtNavn), 0, 1);
  grid->addWidget(txtNavn, 1, 1);
  grid->addWidget(morvel::buddyLabel(this, QStringLiteral("In&dhold:"), memIndhold), 2, 1);
  grid->addWidget(memIndhold, 3, 1);
  grid->setColumnMinimumWidth(1, 260);
  buttons.row->insertWidget(0, btnGemSomStandard);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  addHelpTexts(*morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText));
}

void TMeta::addHelpTexts(DynamicHelp& help) {
  help.add(cklNavn, QStringLiteral("Navnet på meta-informationen. Sæt kryds ved de meta-informationer, du ønsker at "
                                   "medtage i dokumentet. Udfyld Indhold-feltet for hver type. Vælg \"Andet...\" for "
                                   "at tilføje en brugertype. (NAME=)"));
  help.add(memIndhold, QStringLiteral("Indholdet af meta-informationen. Vises ikke i dokumentet, men kan læses af "
                                      "servere og søgerobotter. (CONTENT=)"));
  help.add(btnGemSomStandard, QStringLiteral("Gemmer indholdet som standard til denne meta-information."));
  help.add(cmdOk, morvel::kOkHelpText);
  help.add(cmdAnnuller, morvel::kCancelHelpText);
}

void TMeta::showEntry(int i) {
  if (i < 0) return;
  const std::size_t entry = static_cast<std::size_t>(i);
  // Only the last entry's name is the user's to give.
  txtNavn->setReadOnly(i != kOther);
  txtNavn->setText(i == kOther ? otherName_ : fromUtf8(morvel::metaEntries()[entry].name));
  memIndhold->setText(contents_[entry]);
}

// Entering the content selects all of it, so that typing replaces it.
bool TMeta::eventFilter(QObject* watched, QEvent* event) {
  if (watched == memIndhold && event->type() == QEvent::FocusIn)
    QTimer::singleShot(0, memIndhold, [field = memIndhold] { field->selectAll(); });
  return QDialog::eventFilter(watched, event);
}

void TMeta::saveAsDefault() {
  const int i = cklNavn->currentRow();
  if (i < 0) return;
  host_.store().WriteString(morvel::settings::kMeta, std::to_string(i),
                            contents_[static_cast<std::size_t>(i)].toStdString());
}

void TMeta::confirm() {
  hide();
  std::string lines;
  const auto entries = morvel::metaEntries();
  for (int i = 0; i < cklNavn->count(); ++i) {
    if (cklNavn->item(i)->checkState() != Qt::Checked) continue;
    const std::size_t entry = static_cast<std::size_t>(i);
    const std::string name = i == kOther ? platform::toCp1252(otherName_) : std::string(entries[entry].name);
    lines += morvel::metaLine(entries[entry].httpEquiv, name, platform::toCp1252(contents_[entry]));
  }
  TTivra* e = host_.activeEditor();
  if (e && !lines.empty()) {
    // Into the head: just before its end, or at the page's start.
    const std::string page = e->TextBytes();
    const morvel::TextPosition at = morvel::positionAt(page, morvel::metaInsertOffset(page));
    morvel::select(*e, at, at);
    e->InsertBytes(lines);
  }
  accept();
}
