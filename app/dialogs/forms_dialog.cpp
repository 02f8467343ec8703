#include "dialogs/forms_dialog.h"

#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/edited_element.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/forms_codes.h"
#include "qtext.h"
#include "settings/settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

namespace fk = morvel::form_kind;

struct KindText {
  const char* list;
  const char* hint;
};
constexpr std::array<KindText, fk::kCount> kKinds{{
    {"Ny formular", "Ny formular"},
    {"Tekstfelt", "Tekstfelt"},
    {"Kodeord", "Kodeordsfelt"},
    {"Skjult tekstfelt", "Skjult felt"},
    {"Tekstboks", "Tekstboks"},
    {"Radioknap", "Radioknap"},
    {"Tjekboks", "Tjekboks"},
    {"Valgboks", "Valgboks"},
    {"Send-knap", "Send-knap"},
    {"Slet alt-knap", "Slet alt-knap"},
}};

QString kindText(int kind) { return QString::fromUtf8(kKinds[static_cast<std::size_t>(kind)].list); }

const QString kKindHelp =
    QStringLiteral("Vælg det formular-element, du ønsker at indsætte. Udfyld derefter de tilhørende felter.");
const QString kValueHelp = QStringLiteral(
    "Elementets tekst - fx teksten på en knap eller  i et tekstfelt, eller den tekst en radioknap returnerer, "
    "hvis den bliver afkrydset.(VALUE=)");
const QString kActionHelp = QStringLiteral("Fx adressen på et CGI-script, som håndterer formularen. (ACTION=)");
const QString kSizeHelp = QStringLiteral("Sætter feltets størrelse - dvs. længden for et tekstfelt. (SIZE=)");
const QString kLinesHelp = QStringLiteral("Sætter antallet af linier i boksen. (Tekstboks: ROWS=; Valgboks: <OPTION>)");
const QString kMaxHelp = QStringLiteral("Sætter en grænse for antallet af tegn, der kan skrives i tekstfeltet.");
const QString kWidthHelp = QStringLiteral("Sætter bredden i boksen. (COLS=)");

// The number of characters "</FORM>" takes, which the caret goes back over
// so that the user types inside the new form.
constexpr int kFormEndLength = 7;

QString text(const std::string& bytes) { return platform::fromCp1252(bytes); }
std::string bytes(const QString& field) { return platform::toCp1252(field); }

}  // namespace

TFormular::TFormular(morvel::DocumentHost& host) : QDialog(host.dialogParent()), host_(host) {
  setObjectName(QStringLiteral("TFormular"));
  // Kept beside the page while the user goes on typing in it.
  setWindowFlag(Qt::Tool);
  setModal(false);
  buildControls();
}

void TFormular::buildControls() {
  auto line = [this](const char* name) {
    auto* l = new QLineEdit(this);
    l->setObjectName(QString::fromLatin1(name));
    return l;
  };
  auto combo = [this](const char* name, const QStringList& items) {
    auto* c = new QComboBox(this);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->addItems(items);
    return c;
  };
  cmbObjekt = new QComboBox(this);
  cmbObjekt->setObjectName(QStringLiteral("cmbObjekt"));
  kinds_ = new QButtonGroup(this);
  auto* buttons = new QGridLayout;
  const bool oldStyle = host_.settings().oldToolButtons;
  for (int kind = 0; kind < fk::kCount; ++kind) {
    cmbObjekt->addItem(kindText(kind));
    auto* b = new QToolButton(this);
    b->setObjectName(QStringLiteral("btn%1").arg(kind));
    b->setText(kindText(kind));
    b->setToolTip(QString::fromUtf8(kKinds[static_cast<std::size_t>(kind)].hint));
    b->setCheckable(true);
    b->setAutoRaise(!oldStyle);
    kinds_->addButton(b, kind);
    buttons->addWidget(b, kind / 5, kind % 5);
    btn[static_cast<std::size_t>(kind)] = b;
  }
  txtNavn = line("txtNavn");
  txtTekst = line("txtTekst");
  cmbMetode = combo("cmbMetode", {QStringLiteral("GET"), QStringLiteral("POST")});
  cmbFormat =
      combo("cmbFormat", {QStringLiteral("application/x-www-form-urlencoded"), QStringLiteral("multipart/form-data")});
  chkAfkrydset = new QCheckBox(QStringLiteral("Afkrydset"), this);
  chkAfkrydset->setObjectName(QStringLiteral("chkAfkrydset"));
  txtStoerrelse = line("txtStoerrelse");
  txtMax = line("txtMax");
  txtDiverse = line("txtDiverse");
  const morvel::OkCancel ok = morvel::okCancelButtons(this);
  cmdOk = ok.ok;
  cmdAnnuller = ok.cancel;

  connect(cmbObjekt, &QComboBox::activated, this, [this](int kind) { chooseKind(kind); });
  connect(kinds_, &QButtonGroup::idClicked, this, [this](int kind) { chooseKind(kind); });
  connect(cmdOk, &QPushButton::clicked, this, [this] { insertElement(); });

  auto* grid = new QGridLayout;
  auto row = [this, grid](const QString& caption, QWidget* control) {
    auto* l = new QLabel(caption, this);
    l->setBuddy(control);
    const int at = grid->rowCount();
    grid->addWidget(l, at, 0);
    grid->addWidget(control, at, 1);
    return l;
  };
  row(QStringLiteral("&Navn:"), txtNavn);
  lblTekst_ = row(QStringLiteral("&Tekst:"), txtTekst);
  row(QStringLiteral("&Metode:"), cmbMetode);
  row(QStringLiteral("&Dataformat:"), cmbFormat);
  grid->addWidget(chkAfkrydset, grid->rowCount(), 1);
  lblStoerrelse_ = row(QStringLiteral("&Størrelse:"), txtStoerrelse);
  lblMax_ = row(QStringLiteral("Ma&x. antal tegn:"), txtMax);
  row(QStringLiteral("Avanceret:"), txtDiverse);

  QLabel* helpLine = morvel::helpLine(this);
  help_ = new DynamicHelp(helpLine, kIdleHelpText);
  help_->add(cmbObjekt, kKindHelp);
  for (QToolButton* b : btn) help_->add(b, kKindHelp);
  help_->add(txtNavn, QStringLiteral("Navn, som identificerer elementet. Radioknapper, der hører sammen, gives samme "
                                     "navn. (NAME=)"));
  help_->add(cmbMetode, QStringLiteral("Metoden afhænger af den protokol, som anvendes til at behandle formularen. "
                                       "(METHOD=)"));
  help_->add(cmbFormat, QStringLiteral("Her angives dataformatet, såfremt den behandlende protokol ikke selv "
                                       "fastsætter et. (ENCTYPE=)"));
  help_->add(chkAfkrydset, QStringLiteral("Angiver om knappen skal være afkrydset. Hvis flere radioknapper har samme "
                                          "navn, kan kun én være afkrydset. (CHECKED=)"));
  help_->add(txtDiverse, QStringLiteral("Andre attributter inkl. fx Java-hændelser. Skal angives med både "
                                        "attributnavn og værdi, fx: OnSubmit=\"return tjekfelter()\""));
  help_->add(cmdOk, morvel::kOkHelpText);
  help_->add(cmdAnnuller, morvel::kCancelHelpText);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(cmbObjekt);
  layout->addLayout(buttons);
  layout->addLayout(grid);
  layout->addLayout(ok.row);
  layout->addWidget(helpLine);
  chooseKind(fk::kForm);
}

void TFormular::chooseKind(int kind) {
  cmbObjekt->setCurrentIndex(kind);
  btn[static_cast<std::size_t>(kind)]->setChecked(true);
  for (QLineEdit* field : {txtNavn, txtTekst, txtStoerrelse, txtMax, txtDiverse}) field->clear();
  cmbMetode->setCurrentIndex(-1);
  cmbMetode->setEditText({});
  cmbFormat->setCurrentIndex(-1);
  cmbFormat->setEditText({});
  chkAfkrydset->setChecked(false);

  const bool form = kind == fk::kForm;
  const bool box = kind == fk::kTextArea;
  const bool choice = kind == fk::kSelect;
  const bool typed = kind == fk::kText || kind == fk::kPassword;
  auto show = [this](QWidget* control, bool visible) {
    control->setVisible(visible);
    for (QLabel* l : findChildren<QLabel*>())
      if (l->buddy() == control) l->setVisible(visible);
  };
  show(txtTekst, !box && !choice);
  show(cmbMetode, form);
  show(cmbFormat, form);
  show(chkAfkrydset, kind == fk::kRadio || kind == fk::kCheckBox);
  show(txtStoerrelse, typed || box || choice);
  show(txtMax, typed || box);
  lblTekst_->setText(form ? QStringLiteral("&Aktion:") : QStringLiteral("&Tekst:"));
  help_->add(txtTekst, form ? kActionHelp : kValueHelp);
  lblStoerrelse_->setText(box || choice ? QStringLiteral("&Linier:") : QStringLiteral("&Størrelse:"));
  help_->add(txtStoerrelse, box || choice ? kLinesHelp : kSizeHelp);
  lblMax_->setText(box ? QStringLiteral("&Bredde:") : QStringLiteral("Ma&x. antal tegn:"));
  help_->add(txtMax, box ? kWidthHelp : kMaxHelp);
}

void TFormular::prepareNew() {
  editing_ = false;
  editedType_.clear();
  setWindowTitle(QStringLiteral("Formular"));
  cmdOk->setText(QStringLiteral("&Indsæt"));
  cmdAnnuller->setText(QStringLiteral("Luk"));
  chooseKind(cmbObjekt->currentIndex());
  cmbObjekt->setFocus();
}

void TFormular::prepareEdit(const morvel::EditedElement& element) {
  editing_ = true;
  const morvel::FormAttributes* edited = element.as<morvel::FormAttributes>();
  const morvel::FormFields f =
      morvel::formFields(element.kind, edited ? *edited : morvel::FormAttributes{}, element.keptAttributes);
  editedType_ = f.type;
  showFields(f);
  setWindowTitle(f.kind == fk::kForm ? QStringLiteral("Formular-element - redigering")
                                     : kindText(f.kind) + QStringLiteral(" - redigering"));
  cmdOk->setText(QStringLiteral("&OK"));
  cmdAnnuller->setText(QStringLiteral("Annuller"));
  txtNavn->setFocus();
}

void TFormular::showFields(const morvel::FormFields& f) {
  chooseKind(f.kind);
  txtNavn->setText(text(f.name));
  txtTekst->setText(text(f.text));
  cmbMetode->setEditText(text(f.method));
  cmbFormat->setEditText(text(f.format));
  chkAfkrydset->setChecked(f.checked);
  txtStoerrelse->setText(text(f.size));
  txtMax->setText(text(f.max));
  txtDiverse->setText(text(f.further));
}

morvel::FormFields TFormular::fields() const {
  morvel::FormFields f;
  f.kind = std::max(0, cmbObjekt->currentIndex());
  f.name = bytes(txtNavn->text());
  f.text = bytes(txtTekst->text());
  f.method = bytes(cmbMetode->currentText());
  f.format = bytes(cmbFormat->currentText());
  f.checked = chkAfkrydset->isChecked();
  f.size = bytes(txtStoerrelse->text());
  f.max = bytes(txtMax->text());
  f.further = bytes(txtDiverse->text());
  f.type = editedType_;
  return f;
}

void TFormular::insertElement() {
  TTivra* e = host_.activeEditor();
  const morvel::FormFields f = fields();
  if (editing_) {
    // Only the start tag was selected: a form's content and end tag stay.
    hide();
    if (e) e->InsertBytes(morvel::formStartTag(f));
    accept();
    return;
  }
  if (!e) return;
  e->InsertBytes(morvel::newFormElement(f, e->SelTextBytes()));
  if (f.kind == fk::kForm) {
    morvel::TextPosition at = morvel::selectionOf(*e).caret;
    at.column = std::max(0, at.column - kFormEndLength);
    morvel::select(*e, at, at);
  }
}
