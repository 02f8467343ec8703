#include "dialogs/picture_dialog.h"

#include "commands/document_host.h"
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "controls/picture_image.h"
#include "dialogs/edited_element.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/picture_codes.h"
#include "interaction.h"
#include "markup/markup_text.h"
#include "markup/picture_reader.h"
#include "markup/picture_size.h"
#include "qtext.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The gap the fitted preview keeps to the box's edges on each axis.
constexpr int kFitMargin = 4;
constexpr int kLargestNumber = 9999;

std::string bytes(const QString& text) { return platform::toCp1252(text); }

}  // namespace

TfrmGrafik::TfrmGrafik(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host), element_(element) {
  setObjectName(QStringLiteral("TfrmGrafik"));
  setWindowFlag(Qt::Tool);
  buildControls();
  fill();
}

void TfrmGrafik::buildControls() {
  auto number = [this](const char* name, const char* fieldName) {
    auto* n = new QSpinBox(this);
    n->setObjectName(QString::fromLatin1(name));
    n->setRange(0, kLargestNumber);
    // The edit part of the number carries the field's own name.
    if (auto* edit = n->findChild<QLineEdit*>()) edit->setObjectName(QString::fromLatin1(fieldName));
    return n;
  };
  auto check = [this](const char* name, const QString& caption) {
    auto* c = new QCheckBox(caption, this);
    c->setObjectName(QString::fromLatin1(name));
    return c;
  };
  txtFil = new QLineEdit(this);
  txtFil->setObjectName(QStringLiteral("txtFil"));
  txtFil->setMinimumWidth(260);
  cmdFil = new QPushButton(style()->standardIcon(QStyle::SP_DirOpenIcon), QString(), this);
  cmdFil->setObjectName(QStringLiteral("cmdFil"));
  txtAltTekst = new QLineEdit(this);
  txtAltTekst->setObjectName(QStringLiteral("txtAltTekst"));
  updBredde = number("updBredde", "txtBredde");
  chkBredde = check("chkBredde", QStringLiteral("%"));
  updHoejde = number("updHoejde", "txtHoejde");
  chkHoejde = check("chkHoejde", QStringLiteral("%"));
  updRamme = number("updRamme", "txtRamme");
  cmbJust = new QComboBox(this);
  cmbJust->setObjectName(QStringLiteral("cmbJust"));
  cmbJust->addItems({QStringLiteral("Top"), QStringLiteral("Midten"), QStringLiteral("Bund"),
                     QStringLiteral("Højre om"), QStringLiteral("Venstre om")});
  updMarginTB = number("updMarginTB", "txtMarginTB");
  updMarginHV = number("updMarginHV", "txtMarginHV");
  imgBillede = new QLabel;
  imgBillede->setObjectName(QStringLiteral("imgBillede"));
  srlBillede = new QScrollArea(this);
  srlBillede->setObjectName(QStringLiteral("srlBillede"));
  srlBillede->setBackgroundRole(QPalette::Dark);
  srlBillede->setMinimumSize(220, 170);
  srlBillede->setWidget(imgBillede);
  imgBillede->hide();
  chkTilpas = check("chkTilpas", QStringLiteral("Tilp&as billede"));
  chkTilpas->setEnabled(false);
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;

  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });
  connect(cmdFil, &QPushButton::clicked, this, [this] { browse(); });
  connect(chkTilpas, &QCheckBox::toggled, this, [this] { showPreview(); });

  auto label = [this](const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption, this);
    l->setBuddy(buddy);
    return l;
  };
  auto* fields = new QGridLayout;
  fields->addWidget(label(QStringLiteral("Bille&dfil:"), txtFil), 0, 0);
  auto* file = new QHBoxLayout;
  file->addWidget(txtFil, 1);
  file->addWidget(cmdFil);
  fields->addLayout(file, 0, 1, 1, 3);
  fields->addWidget(label(QStringLiteral("Alt. &tekst:"), txtAltTekst), 1, 0);
  fields->addWidget(txtAltTekst, 1, 1, 1, 3);
  fields->addWidget(label(QStringLiteral("&Bredde:"), updBredde), 2, 0);
  fields->addWidget(updBredde, 2, 1);
  fields->addWidget(chkBredde, 2, 2);
  fields->addWidget(label(QStringLiteral("&Højde:"), updHoejde), 3, 0);
  fields->addWidget(updHoejde, 3, 1);
  fields->addWidget(chkHoejde, 3, 2);
  fields->addWidget(label(QStringLiteral("&Ramme:"), updRamme), 4, 0);
  fields->addWidget(updRamme, 4, 1);
  fields->addWidget(label(QStringLiteral("&Justering:"), cmbJust), 5, 0);
  fields->addWidget(cmbJust, 5, 1, 1, 2);
  fields->addWidget(label(QStringLiteral("&Margen top/bund:"), updMarginTB), 6, 0);
  fields->addWidget(updMarginTB, 6, 1);
  fields->addWidget(label(QStringLiteral("Margen h&øjre/venstre:"), updMarginHV), 7, 0);
  fields->addWidget(updMarginHV, 7, 1);
  fields->setRowStretch(8, 1);
  fields->setColumnStretch(3, 1);
  auto* preview = new QVBoxLayout;
  preview->addWidget(srlBillede, 1);
  preview->addWidget(chkTilpas);
  auto* top = new QHBoxLayout;
  top->addLayout(fields);
  top->addSpacing(8);
  top->addLayout(preview, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  addHelpTexts(*morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText));
}

void TfrmGrafik::addHelpTexts(DynamicHelp& help) {
  help.add(txtFil,
           QStringLiteral("Filnavn. Brug dialogboksen for at autodetektere billedets bredde og højde. (<IMG SRC=>)"));
  help.add(cmdFil, QStringLiteral("Klik for dialogboks til søgning efter billedfiler til indsættelse i "
                                  "\"Billedfil\"-feltet. Detekterer bredde og højde."));
  help.add(txtAltTekst,
           QStringLiteral("Tekst, der vises, hvis browseren ikke viser grafik, eller hvis musen føres over "
                          "billedet. (ALT=)"));
  help.add(updRamme, QStringLiteral("Sætter tykkelsen på billedrammen. Vælges værdien 0, får billedet ingen ramme. "
                                    "(BORDER=)"));
  const QString width = QStringLiteral(
      "Sætter bredden på billedet. Autodetekteres, hvis filen findes med knappen med "
      "mappen. (WIDTH=)");
  help.add(updBredde, width);
  help.add(chkBredde, width);
  const QString height = QStringLiteral(
      "Sætter højden på billedet. Autodetekteres, hvis filen findes med knappen med "
      "mappen. (HEIGHT=)");
  help.add(updHoejde, height);
  help.add(chkHoejde, height);
  help.add(cmbJust, QStringLiteral("Bestemmer, hvorledes omgivende tekst justeres.Vælg \"Højre om\" eller \"Venstre "
                                   "om\" for tekstomløb. (ALIGN=)"));
  help.add(updMarginTB, QStringLiteral("Sætter top- og bundafstand mellem tekst og billede ved brug af tekstomløb. "
                                       "(VSPACE=)"));
  help.add(updMarginHV, QStringLiteral("Sætter højre- og venstreafstand mellem tekst og billede ved brug af "
                                       "tekstomløb. (HSPACE=)"));
  help.add(cmdOk, morvel::kOkHelpText);
  help.add(cmdAnnuller, morvel::kCancelHelpText);
  help.add(chkTilpas, QStringLiteral("Klik for at tilpasse billedet til rammen. Ellers vises billeder i naturlig "
                                     "størrelse."));
}

QString TfrmGrafik::pageFolder() const {
  const QString page = host_.activeFileName();
  return page.isEmpty() ? QString() : QFileInfo(page).absolutePath();
}

void TfrmGrafik::fill() {
  cmbJust->setCurrentIndex(morvel::kAlignBottom);
  const morvel::PictureAttributes* edited = element_.editMode ? element_.as<morvel::PictureAttributes>() : nullptr;
  if (!edited) {
    setWindowTitle(QStringLiteral("Grafik"));
    return;
  }
  setWindowTitle(QStringLiteral("Grafik - redigering"));
  const morvel::PictureFields picture = morvel::pictureFields(*edited);
  txtFil->setText(platform::fromCp1252(picture.file));
  const QString folder = pageFolder();
  if (!folder.isEmpty() && !picture.file.empty() &&
      loadPreview(QDir(folder).filePath(platform::fromCp1252(picture.file)))) {
    chkTilpas->setEnabled(true);
    showPreview();
  }
  txtAltTekst->setText(platform::fromCp1252(picture.altText));
  cmbJust->setCurrentIndex(picture.align);
  updBredde->setValue(picture.width);
  chkBredde->setChecked(picture.widthPercent);
  updHoejde->setValue(picture.height);
  chkHoejde->setChecked(picture.heightPercent);
  updRamme->setValue(picture.border);
  updMarginTB->setValue(picture.marginTopBottom);
  updMarginHV->setValue(picture.marginSides);
}

bool TfrmGrafik::loadPreview(const QString& path) {
  const std::optional<morvel::DecodedPicture> decoded = morvel::decodePicture(QFile::encodeName(path).toStdString());
  picture_ = decoded ? QPixmap::fromImage(pictureImage(*decoded)) : QPixmap();
  return !picture_.isNull();
}

void TfrmGrafik::browse() {
  platform::FileDialogRequest choice;
  choice.title = QStringLiteral("Grafikfiler");
  choice.fileMustExist = true;
  choice.filters = {
      {QStringLiteral("Grafikfiler"), {QStringLiteral("*.gif"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}},
      {QStringLiteral("Alle filer "), {QStringLiteral("*.*")}}};
  const QString folder = pageFolder();
  if (!folder.isEmpty()) choice.folder = folder;
  platform::Request r(platform::RequestKind::OpenFile);
  r.parentWidget = this;
  r.caption = choice.title;
  r.data = &choice;
  if (!platform::ask(r) || choice.chosen.isEmpty()) return;
  const QString chosen = choice.chosen.first();
  const std::string page = bytes(host_.activeFileName());
  txtFil->setText(platform::fromCp1252(morvel::addressOfFile(bytes(chosen), page)));
  if (!morvel::takesPictureCode(bytes(chosen))) {
    imgBillede->hide();
    chkTilpas->setEnabled(false);
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  chkTilpas->setEnabled(true);
  // The numbers come from the file's header; the preview needs the whole
  // picture. Either may fail alone, and each leaves its part as it was.
  if (const std::optional<morvel::PictureSize> size = morvel::readPictureSize(chosen.toStdString())) {
    updBredde->setValue(size->width);
    updHoejde->setValue(size->height);
    chkBredde->setChecked(false);
    chkHoejde->setChecked(false);
  }
  if (!loadPreview(chosen)) picture_ = QPixmap();
  chkTilpas->setChecked(false);
  showPreview();
  QApplication::restoreOverrideCursor();
}

void TfrmGrafik::showPreview() {
  if (picture_.isNull()) {
    imgBillede->clear();
    imgBillede->hide();
    return;
  }
  imgBillede->setPixmap(picture_);
  imgBillede->setScaledContents(true);
  QSize size = picture_.size();
  if (chkTilpas->isChecked()) {
    size = fittedSize(picture_.size(), srlBillede->viewport()->size() - QSize(kFitMargin, kFitMargin));
  } else {
    // The numbers the user set, where they are pixels.
    if (updBredde->value() > 0 && !chkBredde->isChecked()) size.setWidth(updBredde->value());
    if (updHoejde->value() > 0 && !chkHoejde->isChecked()) size.setHeight(updHoejde->value());
  }
  imgBillede->resize(size);
  imgBillede->show();
}

void TfrmGrafik::confirm() {
  hide();
  morvel::PictureFields picture;
  picture.file = bytes(txtFil->text().trimmed());
  picture.altText = bytes(txtAltTekst->text());
  picture.width = updBredde->value();
  picture.widthPercent = chkBredde->isChecked();
  picture.height = updHoejde->value();
  picture.heightPercent = chkHoejde->isChecked();
  picture.border = updRamme->value();
  picture.align = cmbJust->currentIndex();
  picture.marginTopBottom = updMarginTB->value();
  picture.marginSides = updMarginHV->value();
  // The selection (the whole element when editing) gives way to the code.
  if (TTivra* e = host_.activeEditor()) e->InsertBytes(morvel::pictureCode(picture, element_.keptAttributes));
  accept();
}
