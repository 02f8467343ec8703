#include "dialogs/base_dialog.h"

#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/web_colour_dialog.h"
#include "markup/document_title.h"
#include "qtext.h"
#include "settings/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TBasis::TBasis(morvel::DocumentHost& host, const morvel::EditedElement& element, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent()), host_(host), element_(element) {
  setObjectName(QStringLiteral("TBasis"));
  setWindowFlag(Qt::Tool);
  buildControls();
  morvel::PageBase page;
  // The page's own title, or the name its tab shows.
  const TTivra* e = host_.activeEditor();
  const std::string text = e ? e->TextBytes() : std::string();
  page.title = morvel::findTitle(text).title;
  if (page.title.empty())
    page.title = platform::toCp1252(QFileInfo(host_.documentName(host_.activeDocument())).completeBaseName());
  const morvel::BodyAttributes* body = editing() ? element_.as<morvel::BodyAttributes>() : nullptr;
  if (!body) {
    setWindowTitle(QStringLiteral("Basiskoder"));
    showPage(page);
    return;
  }
  setWindowTitle(QStringLiteral("Basiskoder - redigering"));
  // The page's document type line, when it has one, is shown as it stands.
  const std::string firstLine = text.substr(0, text.find_first_of("\r\n"));
  if (firstLine.find("<!DOCTYPE") != std::string::npos) page.documentType = firstLine;
  showPage(morvel::pageBase(*body, page));
  for (QWidget* w : std::initializer_list<QWidget*>{txtTitel, cmbDocType, chkBody}) w->setEnabled(false);
}

void TBasis::buildControls() {
  auto check = [this](const char* name, const QString& caption) {
    auto* c = new QCheckBox(caption, this);
    c->setObjectName(QString::fromLatin1(name));
    return c;
  };
  chkDocType = check("chkDocType", QStringLiteral("Dokumenttype:"));
  cmbDocType = new QComboBox(this);
  cmbDocType->setObjectName(QStringLiteral("cmbDocType"));
  cmbDocType->setEditable(true);
  for (const std::string_view type : morvel::kDocumentTypes)
    cmbDocType->addItem(platform::fromCp1252(std::string(type)));
  cmbDocType->setMinimumContentsLength(40);
  txtTitel = new QLineEdit(this);
  txtTitel->setObjectName(QStringLiteral("txtTitel"));
  chkBody = check("chkBody", QStringLiteral("<B&ODY>"));
  txt2 = new QLineEdit(this);
  txt2->setObjectName(QStringLiteral("txt2"));
  cmd6 = new QPushButton(QStringLiteral("&Gennemse..."), this);
  cmd6->setObjectName(QStringLiteral("cmd6"));
  chkFarver = check("chkFarver", QStringLiteral("&Medtag farver"));
  const morvel::OkCancel buttons = morvel::okCancelButtons(this);
  cmdOk = buttons.ok;
  cmdAnnuller = buttons.cancel;

  auto* colours = new QGroupBox(this);
  auto* colourGrid = new QGridLayout(colours);
  struct Colour {
    TWebColorButton*& button;
    const char* name;
    QString caption;
  };
  const Colour buttonsOfColours[] = {
      {col1, "col1", QStringLiteral("T&ekst:")},
      {col2, "col2", QStringLiteral("&Henvisning:")},
      {col3, "col3", QStringLiteral("Be&søgt henvisning:")},
      {col4, "col4", QStringLiteral("&Aktiv henvisning:")},
      {col5, "col5", QStringLiteral("Baggr&und:")},
  };
  int row = 0;
  for (const Colour& c : buttonsOfColours) {
    c.button = new TWebColorButton(host_.store(), colours);
    c.button->setObjectName(QString::fromLatin1(c.name));
    c.button->WebColorDialog = host_.settings().webColourDialog;
    colourGrid->addWidget(morvel::buddyLabel(colours, c.caption, c.button), row, 0);
    colourGrid->addWidget(c.button, row, 1);
    ++row;
  }

  connect(chkDocType, &QCheckBox::toggled, this, [this] { enableControls(); });
  connect(chkBody, &QCheckBox::toggled, this, [this] { enableControls(); });
  connect(chkFarver, &QCheckBox::toggled, this, [this] { enableControls(); });
  connect(cmd6, &QPushButton::clicked, this, [this] { browsePicture(); });
  connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });

  auto* grid = new QGridLayout;
  grid->addWidget(chkDocType, 0, 0);
  grid->addWidget(cmbDocType, 0, 1, 1, 2);
  grid->addWidget(morvel::buddyLabel(this, QStringLiteral("&Titel:"), txtTitel), 1, 0);
  grid->addWidget(txtTitel, 1, 1, 1, 2);
  grid->addWidget(chkBody, 2, 0);
  grid->addWidget(morvel::buddyLabel(this, QStringLiteral("&Baggrunds- billede:"), txt2), 3, 0);
  grid->addWidget(txt2, 3, 1);
  grid->addWidget(cmd6, 3, 2);
  grid->addWidget(chkFarver, 4, 0);
  grid->addWidget(colours, 5, 0, 1, 3);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  addHelpTexts(*morvel::endWithHelpLine(this, layout, buttons.row, kIdleHelpText));
}

void TBasis::addHelpTexts(DynamicHelp& help) {
  help.add(cmdOk, morvel::kOkHelpText);
  help.add(cmdAnnuller, morvel::kCancelHelpText);
}

void TBasis::showPage(const morvel::PageBase& p) {
  chkDocType->setChecked(p.withDocumentType);
  cmbDocType->setCurrentText(platform::fromCp1252(p.documentType));
  txtTitel->setText(platform::fromCp1252(p.title));
  chkBody->setChecked(p.withBody);
  txt2->setText(platform::fromCp1252(p.backgroundPicture));
  chkFarver->setChecked(p.withColours);
  col1->setColor(p.colours.text);
  col2->setColor(p.colours.link);
  col3->setColor(p.colours.visitedLink);
  col4->setColor(p.colours.activeLink);
  col5->setColor(p.colours.background);
  enableControls();
}

morvel::PageBase TBasis::page() const {
  morvel::PageBase p;
  p.withDocumentType = chkDocType->isChecked();
  p.documentType = platform::toCp1252(cmbDocType->currentText());
  p.title = platform::toCp1252(txtTitel->text());
  p.withBody = chkBody->isChecked();
  p.backgroundPicture = platform::toCp1252(txt2->text());
  p.withColours = chkFarver->isChecked();
  p.colours = {col1->Color(), col2->Color(), col3->Color(), col4->Color(), col5->Color()};
  return p;
}

// The body's parts only with a body, its colours only when included; the
// list of document types only with a document type.
void TBasis::enableControls() {
  cmbDocType->setEnabled(chkDocType->isChecked() && !editing());
  const bool body = chkBody->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{chkFarver, txt2, cmd6}) w->setEnabled(body);
  for (TWebColorButton* c : {col1, col2, col3, col4, col5}) c->setEnabled(body && chkFarver->isChecked());
}

void TBasis::browsePicture() {
  const QString chosen = morvel::chooseFile(
      this, host_, QStringLiteral("Grafikfiler"),
      {{QStringLiteral("Grafikfiler"), {QStringLiteral("*.gif"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}},
       {QStringLiteral("Alle filer "), {QStringLiteral("*.*")}}});
  if (!chosen.isEmpty()) txt2->setText(morvel::addressFromActivePage(host_, chosen));
}

void TBasis::confirm() {
  hide();
  TTivra* e = host_.activeEditor();
  if (e) {
    const morvel::PageBase p = page();
    if (editing()) {
      e->InsertBytes(morvel::bodyTag(p, element_.keptAttributes));
    } else {
      // The caret goes to the first empty line where the page's content
      // goes, counted from where the page was put.
      const int firstLine = morvel::selectionOf(*e).first().line;
      const morvel::NewPage made = morvel::newPageCode(p);
      e->InsertBytes(made.text);
      const morvel::TextPosition content{firstLine + made.contentLine, 0};
      morvel::select(*e, content, content);
    }
  }
  // The tab shows the page's title.
  host_.refreshCaptions();
  accept();
}
