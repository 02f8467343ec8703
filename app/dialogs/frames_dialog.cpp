#include "dialogs/frames_dialog.h"

#include "commands/document_host.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/text_dialog.h"
#include "interaction.h"
#include "qtext.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kMostMargin = 999;
constexpr int kMostBorder = 100;
// The preview: 800 x 600 at three tenths.
constexpr double kPreviewWidth = 240.0;
constexpr double kPreviewHeight = 180.0;

QRadioButton* radio(QWidget* parent, const char* name, const QString& caption) {
  auto* r = new QRadioButton(caption, parent);
  r->setObjectName(QString::fromLatin1(name));
  return r;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption) {
  auto* c = new QCheckBox(caption, parent);
  c->setObjectName(QString::fromLatin1(name));
  return c;
}

const QString kTypeAValue = QStringLiteral("\nIndtast værdi og tast \"Enter\" eller klik på pilene.");

}  // namespace

TRammer::TRammer(morvel::DocumentHost& host, const morvel::EditedElement& element, std::string& noFramesText,
                 QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host), element_(element), noFramesText_(noFramesText) {
  setObjectName(QStringLiteral("TRammer"));
  setWindowFlag(Qt::Tool);
  buildControls();
  if (const morvel::FrameAttributes* edited = editing() ? element_.as<morvel::FrameAttributes>() : nullptr) {
    // One frame alone: only its settings show, and its name is edited
    // directly.
    setWindowTitle(QStringLiteral("Ramme - redigering"));
    layout_.setDivisionCount(1);
    layout_.settings(0, 0) = morvel::frameSettings(*edited);
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (w != grpRamme && w != cmdOk && w != cmdAnnuller && w->objectName() != QLatin1String("lblHjaelp")) w->hide();
    }
    showFrame();
    adjustSize();
    return;
  }
  setWindowTitle(QStringLiteral("Rammer"));
  buildPreview();
  selectFrame(0, 0);
}

QLineEdit* TRammer::layoutBox(int division, int frame) const {
  // The boxes of an earlier layout may wait to be deleted: only the ones
  // in use count.
  const QString name = QStringLiteral("txtLayout%1%2").arg(frame + 1).arg(division + 1);
  for (QLineEdit* box : boxes_) {
    if (box->objectName() == name) return box;
  }
  return nullptr;
}

void TRammer::buildControls() {
  QWidget* groups = buildLayoutGroups();
  grpRamme = buildFrameGroup();
  chkKant = checkBox(this, "chkKant", QStringLiteral("Kant syn&lig"));
  chkKant->setChecked(true);
  updKant = morvel::numberField(this, "updKant", "txtKant", 0, kMostBorder);
  updKant->setValue(5);
  cmdNoFrames = new QPushButton(QStringLiteral("Alternativ &tekst..."), this);
  cmdNoFrames->setObjectName(QStringLiteral("cmdNoFrames"));
  fraLayout = new QWidget(this);
  fraLayout->setObjectName(QStringLiteral("fraLayout"));
  const double scale = screen() ? screen()->logicalDotsPerInch() / 96.0 : 1.0;
  fraLayout->setFixedSize(static_cast<int>(std::lround(kPreviewWidth * scale)) + 1,
                          static_cast<int>(std::lround(kPreviewHeight * scale)) + 1);
  auto* previewLabel = new QLabel(QStringLiteral("Layout (800x600 sk&ærm):"), this);
  previewLabel->setObjectName(QStringLiteral("lblLayout"));
  previewLabel->setBuddy(fraLayout);
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;
  connectControls();

  auto* border = new QHBoxLayout;
  border->addWidget(chkKant);
  border->addSpacing(12);
  border->addWidget(morvel::buddyLabel(this, QStringLiteral("Kant&tykkelse:"), updKant));
  border->addWidget(updKant);
  border->addStretch();
  border->addWidget(cmdNoFrames);
  auto* left = new QVBoxLayout;
  left->addWidget(groups);
  left->addWidget(grpRamme);
  auto* right = new QVBoxLayout;
  right->addWidget(previewLabel);
  right->addWidget(fraLayout);
  right->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(left, 1);
  top->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(border);
  DynamicHelp* help = morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText);
  addHelpTexts(*help);
  help->add(previewLabel, help->textOf(fraLayout));
}

QWidget* TRammer::buildLayoutGroups() {
  auto* holder = new QWidget(this);
  holder->setObjectName(QStringLiteral("fraOpdeling"));
  auto* first = new QGroupBox(QStringLiteral("Opdeling:"), holder);
  optRaekker = radio(first, "optRaekker", QStringLiteral("&Rækker"));
  optRaekker->setChecked(true);
  optKolonner = radio(first, "optKolonner", QStringLiteral("&Kolonner"));
  updAntal = morvel::numberField(first, "updAntal", "txtAntal", 1, morvel::kMostDivisions);
  updHoejde = morvel::numberField(first, "updHoejde", "txtHoejde", 10, 90);
  lblHoejde = morvel::buddyLabel(first, QStringLiteral("H&øjde:"), updHoejde);
  lblHoejde->setObjectName(QStringLiteral("lblHoejde"));
  chkProcent1 = checkBox(first, "chkProcent1", QStringLiteral("%"));
  auto* g1 = new QGridLayout(first);
  g1->addWidget(optRaekker, 0, 0);
  g1->addWidget(optKolonner, 0, 1);
  g1->addWidget(morvel::buddyLabel(first, QStringLiteral("&Antal:"), updAntal), 1, 0);
  g1->addWidget(updAntal, 1, 1);
  g1->addWidget(lblHoejde, 2, 0);
  g1->addWidget(updHoejde, 2, 1);
  g1->addWidget(chkProcent1, 2, 2);

  grpOpdeling = new QGroupBox(holder);
  grpOpdeling->setObjectName(QStringLiteral("grpOpdeling"));
  txtRaekkeInf = new QLineEdit(grpOpdeling);
  txtRaekkeInf->setObjectName(QStringLiteral("txtRaekkeInf"));
  txtRaekkeInf->setReadOnly(true);
  txtRaekkeInf->setMaximumWidth(40);
  lblNummer = morvel::buddyLabel(grpOpdeling, QString(), txtRaekkeInf);
  lblNummer->setObjectName(QStringLiteral("lblNummer"));
  updAntalRammer = morvel::numberField(grpOpdeling, "updAntalRammer", "txtAntalRammer", 1, morvel::kMostFrames);
  updBredde = morvel::numberField(grpOpdeling, "updBredde", "txtBredde", 100, 100);
  lblBredde = morvel::buddyLabel(grpOpdeling, QStringLiteral("Bre&dde:"), updBredde);
  lblBredde->setObjectName(QStringLiteral("lblBredde"));
  chkProcent2 = checkBox(grpOpdeling, "chkProcent2", QStringLiteral("%"));
  auto* g2 = new QGridLayout(grpOpdeling);
  g2->addWidget(lblNummer, 0, 0);
  g2->addWidget(txtRaekkeInf, 0, 1);
  g2->addWidget(morvel::buddyLabel(grpOpdeling, QStringLiteral("Antal ra&mmer:"), updAntalRammer), 1, 0);
  g2->addWidget(updAntalRammer, 1, 1);
  g2->addWidget(lblBredde, 2, 0);
  g2->addWidget(updBredde, 2, 1);
  g2->addWidget(chkProcent2, 2, 2);

  auto* row = new QHBoxLayout(holder);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(first);
  row->addWidget(grpOpdeling);
  return holder;
}

QGroupBox* TRammer::buildFrameGroup() {
  auto* group = new QGroupBox(QStringLiteral("Ramme:"), this);
  group->setObjectName(QStringLiteral("grpRamme"));
  txtNavn = new QLineEdit(group);
  txtNavn->setObjectName(QStringLiteral("txtNavn"));
  txtAdresse = new QLineEdit(group);
  txtAdresse->setObjectName(QStringLiteral("txtAdresse"));
  cmdAdresse = new QPushButton(QStringLiteral("&Gennemse..."), group);
  cmdAdresse->setObjectName(QStringLiteral("cmdAdresse"));
  updTopBund = morvel::numberField(group, "updTopBund", "txtTopBund", 0, kMostMargin);
  updHVenstre = morvel::numberField(group, "updHVenstre", "txtHVenstre", 0, kMostMargin);
  optAuto = radio(group, "optAuto", QStringLiteral("A&uto"));
  optJa = radio(group, "optJa", QStringLiteral("&Ja"));
  optNej = radio(group, "optNej", QStringLiteral("&Nej"));
  chkTilpasning = checkBox(group, "chkTilpasning", QStringLiteral("Tilpa&sning tilladt"));
  auto* scrolling = new QHBoxLayout;
  scrolling->addWidget(optAuto);
  scrolling->addWidget(optJa);
  scrolling->addWidget(optNej);
  scrolling->addStretch();
  auto* g = new QGridLayout(group);
  g->addWidget(morvel::buddyLabel(group, QStringLiteral("Nav&n:"), txtNavn), 0, 0);
  g->addWidget(txtNavn, 0, 1, 1, 3);
  g->addWidget(morvel::buddyLabel(group, QStringLiteral("Adr&esse:"), txtAdresse), 1, 0);
  g->addWidget(txtAdresse, 1, 1, 1, 2);
  g->addWidget(cmdAdresse, 1, 3);
  g->addWidget(morvel::buddyLabel(group, QStringLiteral("Margen, t&op og bund:"), updTopBund), 2, 0);
  g->addWidget(updTopBund, 2, 1);
  g->addWidget(morvel::buddyLabel(group, QStringLiteral("Margen, &højre og venstre:"), updHVenstre), 3, 0);
  g->addWidget(updHVenstre, 3, 1);
  g->addWidget(new QLabel(QStringLiteral("Rullegardin:"), group), 4, 0);
  g->addLayout(scrolling, 4, 1, 1, 3);
  g->addWidget(chkTilpasning, 5, 0, 1, 4);
  g->setColumnStretch(2, 1);
  return group;
}

void TRammer::addHelpTexts(DynamicHelp& help) {
  help.add(optRaekker, QStringLiteral("Opdeler browservinduet i rækker. (ROWS=)"));
  help.add(optKolonner, QStringLiteral("Opdeler browservinduet i kolonner. (COLS=)"));
  help.add(updAntal,
           QStringLiteral("Bestemmer, hvor mange rækker el. kolonner browservinduet skal deles i.") + kTypeAValue);
  help.add(txtRaekkeInf, QStringLiteral("Viser hvilken række el. kolonne, der er valgt."));
  help.add(updAntalRammer, QStringLiteral("Sætter antallet af rammer i den valgte række el. kolonne.") + kTypeAValue);
  help.add(txtNavn, QStringLiteral("Navnet identificerer rammen, så man kan åbne et dokument i en anden ramme, end "
                                   "henvisningen er i. (NAME=)"));
  help.add(txtAdresse, QStringLiteral("Adressen på HTML-dokumentet, der skal åbnes i denne ramme. (SRC=)"));
  help.add(cmdAdresse, QStringLiteral("Dialogboks til søgning efter HTML-dokumenter til indsættelse i "
                                      "\"Adresse\"-feltet."));
  help.add(updTopBund, QStringLiteral("Sætter afstanden mellem rammens indhold og dens top og bund. (MARGINHEIGHT=)") +
                           kTypeAValue);
  help.add(updHVenstre, QStringLiteral("Sætter afstanden mellem rammens indhold og dens højre og venstre kant. "
                                       "(MARGINWIDTH=)") +
                            kTypeAValue);
  const QString scrolling = QStringLiteral(
      "Bestemmer om rammen skal have et rullegardin. \"Auto\": ved behov, "
      "\"Ja\": altid, \"Nej\": aldrig. (SCROLLING=)");
  for (QWidget* w : std::initializer_list<QWidget*>{optAuto, optJa, optNej}) help.add(w, scrolling);
  help.add(chkTilpasning, QStringLiteral("Bestemmer, om brugeren kan tilpasse størrelsen af rammen. Indstillingen har "
                                         "indflydelse på naborammerne! (NORESIZE)"));
  help.add(updHoejde, QStringLiteral("Sætter højden på rækken el. bredden på kolonnen.") + kTypeAValue);
  help.add(updBredde, QStringLiteral("Sætter bredden el. højden på rammen. (Kun muligt, hvis der er flere rammer i "
                                     "rækken el. kolonnen).") +
                          kTypeAValue);
  const QString unit = QStringLiteral(
      "Bestemmer, om værdien skal være relativ (i procent) i forhold til "
      "browservinduets størrelse eller absolut (i pixels).");
  help.add(chkProcent1, unit);
  help.add(chkProcent2, unit);
  help.add(updKant, QStringLiteral("Sætter tykkelsen på rammens kant. (FRAMESPACING=)"));
  help.add(chkKant, QStringLiteral("Bestemmer, om rammekanten skal være synlig i browseren. (FRAMEBORDER=)"));
  help.add(cmdNoFrames, QStringLiteral("Dialogboks til redigering af tekst, der vises, hvis browseren ikke kan vise "
                                       "rammer. (<NOFRAMES></NOFRAMES>)"));
  help.add(fraLayout, QStringLiteral("Viser, hvordan browservinduet opdeles. Klik på en ramme for at vælge den (eller "
                                     "flyt rundt med Tab-tasten)."));
  help.add(cmdOk, morvel::kOkHelpText);
  help.add(cmdAnnuller, morvel::kCancelHelpText);
}

void TRammer::connectControls() {
  auto changed = [this](auto change) {
    return [this, change](auto value) {
      if (showing_) return;
      change(value);
      layoutChanged();
    };
  };
  connect(optKolonner, &QRadioButton::toggled, this, changed([this](bool on) { layout_.setColumns(on); }));
  connect(updAntal, &QSpinBox::valueChanged, this, changed([this](int count) {
            const int before = layout_.divisionCount();
            layout_.setDivisionCount(count);
            // A new division becomes the current one.
            division_ = count > before ? layout_.divisionCount() - 1 : std::min(division_, layout_.divisionCount() - 1);
          }));
  connect(updHoejde, &QSpinBox::valueChanged, this,
          changed([this](int size) { layout_.setDivisionSize(division_, size); }));
  connect(chkProcent1, &QCheckBox::toggled, this,
          changed([this](bool on) { layout_.setDivisionPercentMode(division_, on); }));
  connect(updAntalRammer, &QSpinBox::valueChanged, this,
          changed([this](int count) { layout_.setFrameCount(division_, count); }));
  connect(updBredde, &QSpinBox::valueChanged, this,
          changed([this](int size) { layout_.setFrameSize(division_, frame_, size); }));
  connect(chkProcent2, &QCheckBox::toggled, this,
          changed([this](bool on) { layout_.setFramePercentMode(division_, frame_, on); }));

  auto frameChanged = [this] {
    if (showing_) return;
    morvel::FrameSettings& f = frameSettings();
    f.address = platform::toCp1252(txtAdresse->text());
    f.marginHeight = updTopBund->value();
    f.marginWidth = updHVenstre->value();
    f.scrolling = optJa->isChecked()    ? morvel::FrameScrolling::Yes
                  : optNej->isChecked() ? morvel::FrameScrolling::No
                                        : morvel::FrameScrolling::Auto;
    f.resizable = chkTilpasning->isChecked();
  };
  connect(txtAdresse, &QLineEdit::textChanged, this, frameChanged);
  connect(updTopBund, &QSpinBox::valueChanged, this, frameChanged);
  connect(updHVenstre, &QSpinBox::valueChanged, this, frameChanged);
  for (QRadioButton* r : {optAuto, optJa, optNej}) connect(r, &QRadioButton::toggled, this, frameChanged);
  connect(chkTilpasning, &QCheckBox::toggled, this, frameChanged);
  connect(txtNavn, &QLineEdit::textEdited, this, [this](const QString& name) { renameFrame(division_, frame_, name); });
  connect(cmdAdresse, &QPushButton::clicked, this, [this] { browseAddress(); });
  connect(cmdNoFrames, &QPushButton::clicked, this, [this] { editNoFramesText(); });
  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });
}

void TRammer::selectFrame(int division, int frame) {
  division_ = division;
  frame_ = frame;
  showLayout();
  markSelectedBox();
}

void TRammer::layoutChanged() {
  buildPreview();
  selectFrame(division_, layout_.frameCount(division_) - 1);
}

void TRammer::showLayout() {
  showing_ = true;
  const bool columns = layout_.columns();
  optKolonner->setChecked(columns);
  optRaekker->setChecked(!columns);
  updAntal->setValue(layout_.divisionCount());
  // A row's size is a height and its frames' a width; with columns the
  // other way round.
  lblHoejde->setText(columns ? QStringLiteral("Bre&dde:") : QStringLiteral("H&øjde:"));
  lblBredde->setText(columns ? QStringLiteral("H&øjde:") : QStringLiteral("Bre&dde:"));
  grpOpdeling->setTitle(columns ? QStringLiteral("Opdeling af kolonner:") : QStringLiteral("Opdeling af rækker:"));
  lblNummer->setText(columns ? QStringLiteral("Ko&lonne nummer:") : QStringLiteral("R&ække nummer:"));
  txtRaekkeInf->setText(QString::number(division_ + 1));
  updAntalRammer->setValue(layout_.frameCount(division_));

  auto showSize = [](QSpinBox* number, QCheckBox* unit, const morvel::Share& share, morvel::SizeLimits limits) {
    unit->setChecked(share.inPercent);
    number->setRange(limits.minimum, limits.maximum);
    number->setSingleStep(limits.step);
    number->setValue(morvel::FrameLayout::shownSize(share));
    // A lone frame fills its division.
    const bool fixed = limits.minimum == limits.maximum;
    number->setEnabled(!fixed);
    number->setReadOnly(fixed);
  };
  showSize(updHoejde, chkProcent1, layout_.division(division_).size, layout_.divisionLimits(division_));
  showSize(updBredde, chkProcent2, layout_.frame(division_, frame_).size, layout_.frameLimits(division_, frame_));
  showing_ = false;
  showFrame();
}

void TRammer::showFrame() {
  showing_ = true;
  const morvel::FrameSettings& f = frameSettings();
  txtNavn->setText(platform::fromCp1252(f.name));
  txtAdresse->setText(platform::fromCp1252(f.address));
  updTopBund->setValue(f.marginHeight);
  updHVenstre->setValue(f.marginWidth);
  optAuto->setChecked(f.scrolling == morvel::FrameScrolling::Auto);
  optJa->setChecked(f.scrolling == morvel::FrameScrolling::Yes);
  optNej->setChecked(f.scrolling == morvel::FrameScrolling::No);
  chkTilpasning->setChecked(f.resizable);
  showing_ = false;
}

// One box per frame, sized by its shares of the preview.
void TRammer::buildPreview() {
  // The old boxes leave the list before they go: hiding the one with the
  // focus moves the focus on, and that must not select a frame that is
  // about to change.
  std::vector<QLineEdit*> old;
  old.swap(boxes_);
  for (QLineEdit* box : old) {
    box->removeEventFilter(this);
    box->hide();
    box->deleteLater();
  }
  const double scale = screen() ? screen()->logicalDotsPerInch() / 96.0 : 1.0;
  const bool columns = layout_.columns();
  const double across = (columns ? kPreviewHeight : kPreviewWidth) * scale / 100.0;
  const double along = (columns ? kPreviewWidth : kPreviewHeight) * scale / 100.0;
  double divisionStart = 0;
  for (int d = 0; d < layout_.divisionCount(); ++d) {
    const double divisionSize = along * layout_.division(d).size.percent;
    double frameStart = 0;
    for (int f = 0; f < layout_.frameCount(d); ++f) {
      const double frameSize = across * layout_.frame(d, f).size.percent;
      auto* box = new QLineEdit(platform::fromCp1252(layout_.frame(d, f).settings.name), fraLayout);
      box->setObjectName(QStringLiteral("txtLayout%1%2").arg(f + 1).arg(d + 1));
      const QRect place =
          columns ? QRect(static_cast<int>(std::lround(divisionStart)), static_cast<int>(std::lround(frameStart)),
                          static_cast<int>(std::lround(divisionSize)), static_cast<int>(std::lround(frameSize)))
                  : QRect(static_cast<int>(std::lround(frameStart)), static_cast<int>(std::lround(divisionStart)),
                          static_cast<int>(std::lround(frameSize)), static_cast<int>(std::lround(divisionSize)));
      box->setGeometry(place);
      box->setAlignment(Qt::AlignCenter);
      box->installEventFilter(this);
      connect(box, &QLineEdit::textEdited, this, [this, d, f](const QString& name) { renameFrame(d, f, name); });
      box->show();
      boxes_.push_back(box);
      frameStart += frameSize;
    }
    divisionStart += divisionSize;
  }
}

// The selected frame's box in the colour of tips, the others in the colour
// of fields.
void TRammer::markSelectedBox() {
  for (int d = 0; d < layout_.divisionCount(); ++d) {
    for (int f = 0; f < layout_.frameCount(d); ++f) {
      QLineEdit* box = layoutBox(d, f);
      if (!box) continue;
      QPalette colours = box->palette();
      colours.setColor(QPalette::Base,
                       palette().color(d == division_ && f == frame_ ? QPalette::ToolTipBase : QPalette::Base));
      box->setPalette(colours);
    }
  }
}

// Clicking or tabbing into a box selects its frame.
bool TRammer::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    for (int d = 0; d < layout_.divisionCount(); ++d) {
      for (int f = 0; f < layout_.frameCount(d); ++f) {
        if (watched == layoutBox(d, f)) selectFrame(d, f);
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TRammer::renameFrame(int division, int frame, const QString& name) {
  layout_.settings(division, frame).name = platform::toCp1252(name);
  if (division == division_ && frame == frame_ && txtNavn->text() != name) txtNavn->setText(name);
  if (QLineEdit* box = layoutBox(division, frame); box && box->text() != name) box->setText(name);
}

void TRammer::browseAddress() {
  const QString chosen = morvel::chooseFile(this, host_, QStringLiteral("HTML-dokumenter"),
                                            {{QStringLiteral("HTML-dokumenter"), morvel::kPageMasks},
                                             {QStringLiteral("Alle filer "), {QStringLiteral("*.*")}}});
  if (!chosen.isEmpty()) txtAdresse->setText(morvel::addressFromActivePage(host_, chosen));
}

void TRammer::editNoFramesText() {
  TDialog text(host_, morvel::newElement(morvel::ElementKind::NoFrames), this);
  QString shown = platform::fromCp1252(noFramesText_);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.Memo1->setPlainText(shown);
  if (platform::runModal(&text, this) != QDialog::Accepted) return;
  QString typed = text.Memo1->toPlainText();
  typed.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  noFramesText_ = platform::toCp1252(typed);
}

void TRammer::confirm() {
  hide();
  // A number typed but not yet entered counts.
  for (QSpinBox* margin : {updTopBund, updHVenstre}) margin->interpretText();
  std::string code;
  if (editing()) {
    morvel::FrameSettings& f = frameSettings();
    f.name = platform::toCp1252(txtNavn->text());
    code = morvel::frameCode(f, element_.keptAttributes);
  } else {
    updKant->interpretText();
    code = morvel::frameSetCode(layout_, chkKant->isChecked(), updKant->value(), noFramesText_);
  }
  if (TTivra* e = host_.activeEditor()) e->InsertBytes(code);
  accept();
}
