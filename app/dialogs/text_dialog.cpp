#include "dialogs/text_dialog.h"

#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "controls/up_down.h"
#include "dialogs/base_dialog.h"
#include "dialogs/edited_element.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/link_codes.h"
#include "dialogs/text_dialog_codes.h"
#include "interaction.h"
#include "markup/document_title.h"
#include "markup/markup_text.h"
#include "qtext.h"
#include "settings/settings.h"
#include "startup/splash.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using Kind = morvel::ElementKind;

namespace {

QString text(const std::string& bytes) { return platform::fromCp1252(bytes); }

std::string bytes(const QLineEdit* field) { return platform::toCp1252(field->text()); }

}  // namespace

TDialog::TDialog(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host), element_(element), editing_(element.editMode) {
  setObjectName(QStringLiteral("TDialog"));
  setWindowTitle(QStringLiteral("Dialog"));
  buildControls();
  arrangeForKind();
}

void TDialog::buildControls() {
  auto field = [this](const char* name) {
    auto* f = new QLineEdit(this);
    f->setObjectName(QString::fromLatin1(name));
    f->setMinimumWidth(260);
    return f;
  };
  auto label = [this](const char* name, QLineEdit* buddy) {
    auto* l = new QLabel(QStringLiteral("&E-mailadresse:"), this);
    l->setObjectName(QString::fromLatin1(name));
    l->setBuddy(buddy);
    return l;
  };
  txt1 = field("txt1");
  txt2 = field("txt2");
  lbl1 = label("lbl1", txt1);
  lbl2 = label("lbl2", txt2);
  lbl3 = new QLabel(this);
  lbl3->setObjectName(QStringLiteral("lbl3"));
  txtKantTyk = new QLineEdit(this);
  txtKantTyk->setObjectName(QStringLiteral("txtKantTyk"));
  txtKantTyk->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtKantTyk));
  txtKantTyk->setMaximumWidth(60);
  updKantTyk = new TUpDown(txtKantTyk, 0, 100, this);
  updKantTyk->setObjectName(QStringLiteral("updKantTyk"));
  cmd1 = new QPushButton(QStringLiteral("&Gennemse..."), this);
  cmd1->setObjectName(QStringLiteral("cmd1"));
  cmdFindNetscape = new QPushButton(QStringLiteral("Netscape"), this);
  cmdFindNetscape->setObjectName(QStringLiteral("cmdFindNetscape"));
  cmdFindMSIE = new QPushButton(QStringLiteral("Explorer"), this);
  cmdFindMSIE->setObjectName(QStringLiteral("cmdFindMSIE"));
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;
  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });
  connect(cmd1, &QPushButton::clicked, this, [this] { browseSound(); });

  grid_ = new QGridLayout;
  grid_->addWidget(lbl1, 0, 0);
  grid_->addWidget(txt1, 0, 1, 1, 3);
  grid_->addWidget(cmd1, 0, 4);
  grid_->addWidget(lbl2, 1, 0);
  grid_->addWidget(txt2, 1, 1, 1, 3);
  grid_->addWidget(cmdFindNetscape, 1, 4);
  grid_->addWidget(cmdFindMSIE, 2, 4);
  grid_->addWidget(lbl3, 3, 0);
  grid_->addWidget(txtKantTyk, 3, 1);
  grid_->addWidget(updKantTyk, 3, 2, Qt::AlignLeft);
  grid_->setColumnStretch(3, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid_);
  layout->addStretch();
  help_ = morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText);
  help_->add(cmdOk, morvel::kOkHelpText);
  help_->add(cmdAnnuller, morvel::kCancelHelpText);

  for (QWidget* w :
       std::initializer_list<QWidget*>{lbl2, txt2, lbl3, txtKantTyk, updKantTyk, cmd1, cmdFindNetscape, cmdFindMSIE})
    w->hide();
}

void TDialog::arrangeForKind() {
  switch (element_.kind) {
    case Kind::Sound:
    case Kind::BackgroundSound:
      showSound();
      break;
    case Kind::Email:
      showEmail();
      break;
    case Kind::FrameSet:
      showFrameSet();
      break;
    case Kind::UserCode:
      showUserCode();
      break;
    case Kind::Title:
      showTitle();
      break;
    case Kind::NoFrames:
      showNoFrames();
      break;
    default:
      break;
  }
}

void TDialog::showSound() {
  setWindowTitle(editing_ ? QStringLiteral("Baggrundslyd - rediger") : QStringLiteral("Baggrundslyd"));
  lbl1->setText(QStringLiteral("&Lydfil:"));
  cmd1->show();
  if (const morvel::SoundAttributes* sound = element_.as<morvel::SoundAttributes>()) txt1->setText(text(sound->src));
  help_->add(txt1, QStringLiteral("Indsætter lydfil. (<EMBED SRC=>)"));
  help_->add(cmd1, QStringLiteral("Dialogboks til søgning efter lyd til indsættelse i \"Lydfil\"-feltet."));
}

void TDialog::showEmail() {
  lbl2->setText(QStringLiteral("&Beskrivelse:"));
  lbl2->show();
  txt2->show();
  if (editing_) {
    const morvel::LinkAttributes link = emailLink();
    setWindowTitle(QStringLiteral("E-mailadresse - rediger"));
    txt1->setText(text(morvel::emailAddress(link.href)));
    originalText_ = link.text;
  } else {
    setWindowTitle(QStringLiteral("E-mail"));
    txt1->setText(host_.settings().emailAddress);
    if (TTivra* e = host_.activeEditor()) originalText_ = e->SelTextBytes();
  }
  txt2->setText(editing_ || !originalText_.empty() ? morvel::oneLineText(originalText_)
                                                   : host_.settings().emailDescription);
  help_->add(txt1, QStringLiteral("Den nøjagtige e-mailadresse. Vises ikke i browseren. (<A HREF=mailto:></A>)"));
  help_->add(txt2,
             QStringLiteral("Den tekst, brugeren skal klikke på, for at sende mailen. Kan fx være e-mailadressen."));
}

// The link of an edited e-mail link; a new one has none.
morvel::LinkAttributes TDialog::emailLink() const {
  const morvel::LinkAttributes* link = element_.as<morvel::LinkAttributes>();
  return link ? *link : morvel::LinkAttributes{};
}

void TDialog::showFrameSet() {
  setWindowTitle(QStringLiteral("Rammer - rediger antal og størrelse"));
  const morvel::FrameSetAttributes* edited = element_.as<morvel::FrameSetAttributes>();
  const morvel::FrameSetFields fields = morvel::frameSetFields(edited ? *edited : morvel::FrameSetAttributes{});
  lbl1->setText(QStringLiteral("&Rækker:"));
  lbl2->setText(QStringLiteral("&Kolonner:"));
  lbl2->show();
  txt2->show();
  txt1->setText(text(fields.rows));
  txt2->setText(text(fields.columns));
  txt1->setEnabled(!fields.rowsGreyed);
  txt2->setEnabled(!fields.columnsGreyed);
  if (fields.rowsGreyed) txt2->setFocus();
  if (fields.columnsGreyed) txt1->setFocus();
  const QString sizeHelp = QStringLiteral(
      "Størrelse i procent \"%\" eller pixels. \"*\" angiver, at %1 fylder resten. Adskil med komma. (%2=)");
  help_->add(txt1, sizeHelp.arg(QStringLiteral("rækken"), QStringLiteral("ROWS")));
  help_->add(txt2, sizeHelp.arg(QStringLiteral("kolonnen"), QStringLiteral("COLS")));
  if (!fields.border) return;
  lbl3->setText(QStringLiteral("Rammekant, &tykkelse:"));
  lbl3->setBuddy(txtKantTyk);
  txtKantTyk->setText(text(fields.thickness));
  for (QWidget* w : std::initializer_list<QWidget*>{lbl3, txtKantTyk, updKantTyk}) w->show();
  chkSynlig = new QCheckBox(QStringLiteral("Kant, &synlig"), this);
  chkSynlig->setObjectName(QStringLiteral("chkSynlig"));
  chkSynlig->setChecked(fields.visible);
  grid_->addWidget(chkSynlig, 4, 1, 1, 3);
  help_->add(chkSynlig, QStringLiteral("Bestemmer, om rammekanten skal være synlig i browseren. (FRAMEBORDER=)"));
  help_->add(txtKantTyk, QStringLiteral("Sætter tykkelsen på rammens kant. (FRAMESPACING=)"));
}

void TDialog::showUserCode() {
  setWindowTitle(editing_ ? QStringLiteral("Rediger HTML-kode") : QStringLiteral("Tilføj HTML-kode"));
  lbl1->setText(QStringLiteral("&Beskrivelse:"));
  lbl2->setText(QStringLiteral("&Startkode:"));
  lbl3->setText(QStringLiteral("Sl&utkode:"));
  txt3 = new QLineEdit(this);
  txt3->setObjectName(QStringLiteral("txt3"));
  lbl3->setBuddy(txt3);
  grid_->addWidget(txt3, 3, 1, 1, 3);
  for (QWidget* w : std::initializer_list<QWidget*>{lbl2, txt2, lbl3}) w->show();
  help_->add(txt1, QStringLiteral("Kort beskrivelse, så du kan huske, hvad koden gør."));
  help_->add(txt2, QStringLiteral("Kode, der indsættes før markeret tekst."));
  help_->add(txt3, QStringLiteral("Kode, der indsættes efter markeret tekst."));
  help_->add(cmdOk, editing_ ? QStringLiteral("Retter koden i HTML-kodeboksen.")
                             : QStringLiteral("Tilføjer koden i HTML-kodeboksen."));
}

void TDialog::showTitle() {
  setWindowTitle(QStringLiteral("Titel - rediger"));
  lbl1->setText(QStringLiteral("&Titel:"));
  if (TTivra* e = host_.activeEditor()) txt1->setText(text(morvel::findTitle(e->TextBytes()).title));
  help_->add(txt1, QStringLiteral("Dokumenttitlen, som vises i web-browserens titellinie. (<TITLE></TITLE>)"));
}

void TDialog::showNoFrames() {
  setWindowTitle(QStringLiteral("Rammer - alternativ tekst"));
  lbl1->setText(QStringLiteral("&Tekst:"));
  txt1->hide();
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setMinimumHeight(120);
  Memo1->installEventFilter(this);
  lbl1->setBuddy(Memo1);
  grid_->addWidget(Memo1, 0, 1, 1, 4);
  grid_->setAlignment(lbl1, Qt::AlignTop);
  help_->add(Memo1, QStringLiteral("Tekst, der vises, hvis browseren ikke kan vise rammer (<NOFRAMES></NOFRAMES>)"));
}

bool TDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Memo1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      confirm();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TDialog::browseSound() {
  const QString chosen = morvel::chooseFile(
      this, host_, QStringLiteral("Lydfiler"),
      {{QStringLiteral("Lydfiler"), {QStringLiteral("*.wav"), QStringLiteral("*.au"), QStringLiteral("*.mid")}},
       {QStringLiteral("Alle filer "), {QStringLiteral("*.*")}}});
  // The page refers to the sound by its address from the page's folder.
  if (!chosen.isEmpty()) txt1->setText(morvel::addressFromActivePage(host_, chosen));
}

void TDialog::replaceSelection(const std::string& code) {
  if (TTivra* e = host_.activeEditor()) e->InsertBytes(code);
}

void TDialog::confirm() {
  switch (element_.kind) {
    case Kind::Sound:
    case Kind::BackgroundSound:
      replaceSelection(morvel::soundCode(bytes(txt1)));
      break;
    case Kind::Email: {
      const morvel::LinkAttributes edited = emailLink();
      const morvel::LinkFields link{bytes(txt1), edited.target, edited.name,
                                    morvel::textFromField(txt2->text(), originalText_)};
      replaceSelection(morvel::emailLinkCode(link, element_.keptAttributes));
      break;
    }
    case Kind::FrameSet: {
      std::optional<morvel::FrameSetBorder> border;
      if (chkSynlig) border = morvel::FrameSetBorder{chkSynlig->isChecked(), bytes(txtKantTyk)};
      replaceSelection(morvel::frameSetCode(bytes(txt1), bytes(txt2), border, element_.keptAttributes));
      break;
    }
    case Kind::Title:
      renameTitle();
      break;
    case Kind::UserCode:
      // A code without a description would end the list of user codes in
      // the store, and the codes after it would be lost.
      if (txt1->text().trimmed().isEmpty()) {
        platform::messageBox(this, QStringLiteral("Du skal angive en beskrivelse af koden."), morvel::productName(),
                             MB_OK | MB_ICONEXCLAMATION);
        txt1->setFocus();
        return;
      }
      break;
    default:
      break;
  }
  accept();
}

void TDialog::renameTitle() {
  TTivra* e = host_.activeEditor();
  if (!e) return;
  const morvel::TitleChange change = morvel::titleChange(e->TextBytes(), bytes(txt1));
  switch (change.kind) {
    case morvel::TitleChange::Replace:
    case morvel::TitleChange::InsertInHead:
      // The selection stays on the text it covered.
      morvel::editText(*e, {{change.position, change.eraseLength, change.insert}});
      break;
    case morvel::TitleChange::Damaged:
      // Nothing changed, so the tab keeps its caption (reading the damaged
      // title for it would tell the same fault twice).
      platform::messageBox(this, QStringLiteral("Der er fejl i titelkoden."), morvel::productName(),
                           MB_OK | MB_ICONEXCLAMATION);
      return;
    case morvel::TitleChange::NoHead: {
      // Without a head the page base dialog makes one, with this title.
      hide();
      TBasis base(host_, morvel::newElement());
      base.txtTitel->setText(txt1->text());
      platform::runModal(&base, host_.dialogParent());
      break;
    }
  }
  host_.refreshCaptions();
}
