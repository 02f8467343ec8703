// TIndstillinger: the five pages, the buttons and the help texts.
#include "settings/indstillinger.h"

#include "component/tivra_component.h"
#include "controls/colour_button.h"
#include "controls/dynamic_help.h"
#include "controls/up_down.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kTabSizeMin = 1;
constexpr int kTabSizeMax = 40;
constexpr int kPreviewHeight = 52;
constexpr int kHelpLines = 3;

QLabel* labelFor(QWidget* control, const QString& caption, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setBuddy(control);
  return label;
}

QGroupBox* group(const QString& title, QWidget* parent) { return new QGroupBox(title, parent); }

}  // namespace

QCheckBox* TIndstillinger::checkBox(const QString& name, const QString& caption) {
  auto* box = new QCheckBox(caption, this);
  box->setObjectName(name);
  return box;
}

QLineEdit* TIndstillinger::textField(const QString& name) {
  auto* field = new QLineEdit(this);
  field->setObjectName(name);
  return field;
}

QPushButton* TIndstillinger::button(const QString& name, const QString& caption) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

TColourButton* TIndstillinger::colourButton(const QString& name) {
  auto* b = new TColourButton(this);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

// ---------------------------------------------------------------------------
// "Tekstbehandler"

QWidget* TIndstillinger::buildTekstbehandler() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);

  txtTabulator = textField(QStringLiteral("txtTabulator"));
  txtTabulator->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtTabulator));
  txtTabulator->setMaxLength(2);
  txtTabulator->setFixedWidth(36);
  updTabulator = new TUpDown(txtTabulator, kTabSizeMin, kTabSizeMax, this);
  updTabulator->setObjectName(QStringLiteral("updTabulator"));
  cmdFont = button(QStringLiteral("cmdFont"), QStringLiteral("Skrifttype..."));
  fontName_ = new QLabel(this);
  fontName_->setObjectName(QStringLiteral("fontName"));
  auto* top = new QHBoxLayout;
  top->addWidget(labelFor(txtTabulator, QStringLiteral("&Tabulator (antal tegn):"), page));
  top->addWidget(txtTabulator);
  top->addWidget(updTabulator);
  top->addStretch();
  top->addWidget(fontName_);
  top->addWidget(cmdFont);
  layout->addLayout(top);

  optIngen = new QRadioButton(QStringLiteral("&Ingen"), this);
  optMv1 = new QRadioButton(QStringLiteral("Morvel &1"), this);
  optMv2 = new QRadioButton(QStringLiteral("Morvel &2"), this);
  optBruger = new QRadioButton(QStringLiteral("&Bruger"), this);
  optIngen->setObjectName(QStringLiteral("optIngen"));
  optMv1->setObjectName(QStringLiteral("optMv1"));
  optMv2->setObjectName(QStringLiteral("optMv2"));
  optBruger->setObjectName(QStringLiteral("optBruger"));
  optMv2->setChecked(true);
  auto* schemes = new QHBoxLayout;
  auto* schemeLabel = labelFor(optIngen, QStringLiteral("&Kodefarvning:"), page);
  schemeLabel->setObjectName(QStringLiteral("schemeLabel"));
  schemes->addWidget(schemeLabel);
  for (QRadioButton* b : {optIngen, optMv1, optMv2, optBruger}) schemes->addWidget(b);
  schemes->addStretch();
  layout->addLayout(schemes);

  userColours = group(QStringLiteral(" Brugerdefineret farvning "), page);
  userColours->setObjectName(QStringLiteral("userColours"));
  auto* grid = new QGridLayout(userColours);
  struct Row {
    const char* caption;
    TColourButton** text;
    TColourButton** background;
    const char* textName;
    const char* backgroundName;
  };
  const Row rows[] = {
      {"Almindelig tekst:", &colAlmT, &colAlmB, "colAlmT", "colAlmB"},
      {"HTML-elementer:", &colElemT, &colElemB, "colElemT", "colElemB"},
      {"Attributter:", &colAttribT, &colAttribB, "colAttribT", "colAttribB"},
      {"Værdier:", &colVaerdiT, &colVaerdiB, "colVaerdiT", "colVaerdiB"},
      {"Kommentarer:", &colKomT, &colKomB, "colKomT", "colKomB"},
  };
  int r = 0;
  for (const Row& row : rows) {
    *row.text = colourButton(QString::fromLatin1(row.textName));
    *row.background = colourButton(QString::fromLatin1(row.backgroundName));
    grid->addWidget(new QLabel(QString::fromUtf8(row.caption), userColours), r, 0);
    grid->addWidget(*row.text, r, 1);
    grid->addWidget(*row.background, r, 2);
    ++r;
  }
  chkEnsBG = checkBox(QStringLiteral("chkEnsBG"), QStringLiteral("&Ens baggrund"));
  grid->addWidget(chkEnsBG, r, 0, 1, 3);
  grid->setColumnStretch(3, 1);
  layout->addWidget(userColours);

  chkTekstombrydning = checkBox(QStringLiteral("chkTekstombrydning"), QStringLiteral("T&ekstombrydning"));
  chkStoreBogstaver =
      checkBox(QStringLiteral("chkStoreBogstaver"), QStringLiteral("&Konvertér automatisk koder til store bogstaver"));
  layout->addWidget(chkTekstombrydning);
  layout->addWidget(chkStoreBogstaver);

  Tivra1 = new TTivra(page);
  Tivra1->setObjectName(QStringLiteral("Tivra1"));
  Tivra1->setFixedHeight(kPreviewHeight);
  layout->addWidget(Tivra1);
  layout->addStretch();
  return page;
}

// ---------------------------------------------------------------------------
// "Programstier"

QWidget* TIndstillinger::buildProgramstier() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);

  auto* browsers = group(QStringLiteral(" Browsere "), page);
  auto* grid = new QGridLayout(browsers);
  lstBrowser = new QListWidget(this);
  lstBrowser->setObjectName(QStringLiteral("lstBrowser"));
  lstBrowser->setFixedHeight(84);
  addBrowserButton = button(QStringLiteral("addBrowserButton"), QStringLiteral("&Tilføj"));
  editBrowserButton = button(QStringLiteral("editBrowserButton"), QStringLiteral("&Rediger"));
  deleteBrowserButton = button(QStringLiteral("deleteBrowserButton"), QStringLiteral("&Slet"));
  auto* listButtons = new QVBoxLayout;
  for (QPushButton* b : {addBrowserButton, editBrowserButton, deleteBrowserButton}) listButtons->addWidget(b);
  listButtons->addStretch();
  auto* listLabel = labelFor(lstBrowser, QStringLiteral("&Eksterne browsere:"), browsers);
  listLabel->setObjectName(QStringLiteral("browserListLabel"));
  grid->addWidget(listLabel, 0, 0, 1, 2);
  grid->addWidget(lstBrowser, 1, 0);
  grid->addLayout(listButtons, 1, 1);
  chkVisMenu = checkBox(QStringLiteral("chkVisMenu"), QStringLiteral("Vis &menu"));
  chkMSIE = checkBox(QStringLiteral("chkMSIE"), QStringLiteral("Benyt Internet Explorer som intern browser"));
  chkGemHTML = checkBox(QStringLiteral("chkGemHTML"), QStringLiteral("&Gem dokument ved åbning i browser"));
  grid->addWidget(chkVisMenu, 2, 0, 1, 2);
  grid->addWidget(chkMSIE, 3, 0, 1, 2);
  grid->addWidget(chkGemHTML, 4, 0, 1, 2);
  layout->addWidget(browsers);

  auto pathGroup = [&](const QString& title, const QString& caption, QLineEdit*& field, const QString& fieldName,
                       QPushButton*& browse, const QString& browseName) {
    auto* box = group(title, page);
    auto* row = new QHBoxLayout(box);
    field = textField(fieldName);
    browse = button(browseName, QStringLiteral("..."));
    browse->setFixedWidth(32);
    row->addWidget(labelFor(field, caption, box));
    row->addWidget(field, 1);
    row->addWidget(browse);
    layout->addWidget(box);
  };
  pathGroup(QStringLiteral(" HTML-hjælpefil "), QStringLiteral("Sti og filnavn:"), txtHTMLHjaelp,
            QStringLiteral("txtHTMLHjaelp"), browseHelpFileButton, QStringLiteral("browseHelpFileButton"));
  pathGroup(QStringLiteral(" Grafikprogram "), QStringLiteral("&Sti og filnavn:"), txtGrafiksti,
            QStringLiteral("txtGrafiksti"), browseGraphicsButton, QStringLiteral("browseGraphicsButton"));
  layout->addStretch();
  return page;
}

// ---------------------------------------------------------------------------
// "Standardoplysninger"

QWidget* TIndstillinger::buildStandardoplysninger() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);

  auto* email = group(QStringLiteral(" E-mail "), page);
  auto* grid = new QGridLayout(email);
  txtBeskrivelse = textField(QStringLiteral("txtBeskrivelse"));
  txtEmail = textField(QStringLiteral("txtEmail"));
  grid->addWidget(labelFor(txtBeskrivelse, QStringLiteral("&Beskrivelse:"), email), 0, 0);
  grid->addWidget(txtBeskrivelse, 0, 1);
  grid->addWidget(labelFor(txtEmail, QStringLiteral("&E-mailadresse:"), email), 1, 0);
  grid->addWidget(txtEmail, 1, 1);
  layout->addWidget(email);

  auto* start = group(QStringLiteral(" Startmappe "), page);
  auto* row = new QHBoxLayout(start);
  txtAabnDialog = textField(QStringLiteral("txtAabnDialog"));
  browseStartFolderButton = button(QStringLiteral("browseStartFolderButton"), QStringLiteral("..."));
  browseStartFolderButton->setFixedWidth(32);
  row->addWidget(labelFor(txtAabnDialog, QStringLiteral("&Åbn-dialog startmappe:"), start));
  row->addWidget(txtAabnDialog, 1);
  row->addWidget(browseStartFolderButton);
  layout->addWidget(start);
  layout->addStretch();
  return page;
}

// ---------------------------------------------------------------------------
// "Brugerflade"

QWidget* TIndstillinger::buildBrugerflade() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto addGroup = [&](const QString& title, std::initializer_list<QCheckBox*> boxes) {
    auto* box = group(title, page);
    auto* column = new QVBoxLayout(box);
    for (QCheckBox* b : boxes) column->addWidget(b);
    layout->addWidget(box);
  };
  chkDesktop = checkBox(QStringLiteral("chkDesktop"), QStringLiteral("Pl&acér genvej på Skrivebord"));
  chkOverfoer = checkBox(QStringLiteral("chkOverfoer"), QStringLiteral("&Placér i Stifinders \"Overfør til\"-menu"));
  addGroup(QStringLiteral(" Programadgang "), {chkDesktop, chkOverfoer});

  chkViewer = checkBox(QStringLiteral("chkViewer"), QStringLiteral("&Vis billeder i filhåndteringen"));
  chkKnaptype = checkBox(QStringLiteral("chkKnaptype"), QStringLiteral("B&rug gammel knaptype på værktøjslinien"));
  chkNy =
      checkBox(QStringLiteral("chkNy"), QStringLiteral("Vi&s skabelon-dialogboks ved klik på \"Nyt dokument\"-knap"));
  chkFilnavn = checkBox(QStringLiteral("chkFilnavn"), QStringLiteral("Vis &filnavn i stedet for titel på faneblade"));
  chkLineal = checkBox(QStringLiteral("chkLineal"), QStringLiteral("&Lineal i intern browser"));
  addGroup(QStringLiteral(" Vis "), {chkViewer, chkKnaptype, chkNy, chkFilnavn, chkLineal});

  chkArkivFlag =
      checkBox(QStringLiteral("chkArkivFlag"), QStringLiteral("Be&nyt arkivflag ved projektopdatering til Internet"));
  addGroup(QStringLiteral(" Projekt "), {chkArkivFlag});
  layout->addStretch();
  return page;
}

// ---------------------------------------------------------------------------
// "HTML-faciliteter"

QWidget* TIndstillinger::buildHtmlFaciliteter() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);

  auto* autoInsert = group(QStringLiteral(" Autoindsæt "), page);
  auto* grid = new QGridLayout(autoInsert);
  chkAutodato =
      checkBox(QStringLiteral("chkAutodato"), QStringLiteral("&Indsæt opdateringsdato, når dokumentet ændres"));
  txtDatoFormat = textField(QStringLiteral("txtDatoFormat"));
  chkGenerator = checkBox(QStringLiteral("chkGenerator"), QStringLiteral("Indsæt \"Generator\"-&META-element "));
  grid->addWidget(chkAutodato, 0, 0, 1, 2);
  grid->addWidget(labelFor(txtDatoFormat, QStringLiteral("Datoformat:"), autoInsert), 1, 0);
  grid->addWidget(txtDatoFormat, 1, 1);
  grid->addWidget(chkGenerator, 2, 0, 1, 2);
  layout->addWidget(autoInsert);

  auto addGroup = [&](const QString& title, std::initializer_list<QCheckBox*> boxes) {
    auto* box = group(title, page);
    auto* column = new QVBoxLayout(box);
    for (QCheckBox* b : boxes) column->addWidget(b);
    layout->addWidget(box);
  };
  chkDansketegn = checkBox(QStringLiteral("chkDansketegn"), QStringLiteral("&Konverter automatisk æ, ø og å"));
  chkFarveDialog = checkBox(QStringLiteral("chkFarveDialog"), QStringLiteral("&Brug Webfarvedialogboks "));
  chkWebfonte = checkBox(QStringLiteral("chkWebfonte"), QStringLiteral("Br&ug Webfontliste"));
  addGroup(QStringLiteral(" Kompatibilitet "), {chkDansketegn, chkFarveDialog, chkWebfonte});

  chkHTMLtype = checkBox(QStringLiteral("chkHTMLtype"), QStringLiteral("&Gem HTML-dokumenter som '.html'-filer"));
  chkBevarUkendtAttrib = checkBox(QStringLiteral("chkBevarUkendtAttrib"),
                                  QStringLiteral("B&evar ukendt indhold i HTML-kode ved højrekliksredigering"));
  addGroup(QStringLiteral(" Diverse "), {chkHTMLtype, chkBevarUkendtAttrib});
  layout->addStretch();
  return page;
}

// ---------------------------------------------------------------------------
// The buttons and the help line

QLayout* TIndstillinger::buildButtons() {
  auto* layout = new QVBoxLayout;
  lblHjaelp = new QLabel(this);
  lblHjaelp->setObjectName(QStringLiteral("lblHjaelp"));
  lblHjaelp->setWordWrap(true);
  lblHjaelp->setFrameShape(QFrame::StyledPanel);
  lblHjaelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblHjaelp->setFixedHeight(lblHjaelp->fontMetrics().lineSpacing() * kHelpLines + 8);
  layout->addWidget(lblHjaelp);

  cmdGem = button(QStringLiteral("cmdGem"), QStringLiteral("&OK"));
  cmdAnnuller = button(QStringLiteral("cmdAnnuller"), QStringLiteral("Annuller"));
  cmdAnvend = button(QStringLiteral("cmdAnvend"), QStringLiteral("&Anvend"));
  cmdHjaelp = button(QStringLiteral("cmdHjaelp"), QStringLiteral("&Hjælp"));
  cmdGem->setDefault(true);
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QPushButton* b : {cmdGem, cmdAnnuller, cmdAnvend, cmdHjaelp}) row->addWidget(b);
  layout->addLayout(row);
  return layout;
}

void TIndstillinger::addHelpTexts() {
  help_ = new DynamicHelp(lblHjaelp, kIdleHelpText);
  const QString scheme = QStringLiteral("Bestemmer, hvorledes Morvel skal farveformatere HTML-koden i dokumentet.");
  const QString font = QStringLiteral("Ændrer skrifttypen i tekstbehandleren");
  const QString tabSize = QStringLiteral("Sætter, hvor mange tegn tabulatoren rykker pr. gang.");
  const QString saves = QStringLiteral("Gennemfører de valgte ændringer og gemmer indstillingerne.");

  help_->add(optIngen, QStringLiteral("Kodeformatering slået fra."));
  for (QWidget* w : std::initializer_list<QWidget*>{optMv1, optMv2, optBruger, userColours,
                                                    findChild<QLabel*>(QStringLiteral("schemeLabel"))})
    help_->add(w, scheme);
  for (TColourButton* b : colourButtons()) help_->add(b, scheme);
  help_->add(cmdFont, font);
  help_->add(fontName_, font);
  help_->add(txtTabulator, tabSize);
  help_->add(updTabulator, tabSize);
  help_->add(chkEnsBG, QStringLiteral("Sæt kryds, hvis du ønsker at al kode skal have samme baggrundsfarve som "
                                      "almindelig tekst."));
  help_->add(chkTekstombrydning, QStringLiteral("Teksten ombrydes som standard i tekstbehandleren."));
  help_->add(chkStoreBogstaver, QStringLiteral("HTML-elementer og -parametre konverteres til store bogstaver, hver "
                                               "gang dokumentet gemmes."));

  help_->add(chkMSIE, QStringLiteral("Benyt Internet Explorer som browser. Kræver at Internet Explorer 3 (eller "
                                     "nyere) er installeret på din computer."));
  const QString list = QStringLiteral(
      "Web-browsere til at gennemse din web-side i, når du taster F11 ( eller "
      "klikker \"Vis side i ekstern browser\").");
  help_->add(lstBrowser, list);
  help_->add(findChild<QLabel*>(QStringLiteral("browserListLabel")), list);
  help_->add(chkVisMenu, QStringLiteral("Bestemmer om der skal vises en menu med browserne, eller om Morvel skal "
                                        "bruge den første browser på listen, ved valg af \"Vis side i ekstern "
                                        "browser\"."));
  help_->add(addBrowserButton, QStringLiteral("Klik her for at tilføje en ekstern webbrowser til browser-menuen."));
  help_->add(deleteBrowserButton, QStringLiteral("Sletter den markerede browser fra browser-menuen."));
  help_->add(editBrowserButton, QStringLiteral("Klik her for at redigere den markerede browsers navn og sti."));
  help_->add(chkGemHTML, QStringLiteral("Gemmer automatisk dit dokument før gennemsyn i web-browser. Ellers gemmes "
                                        "dokumentet i en midlertidig fil."));
  help_->add(txtHTMLHjaelp, QStringLiteral("Du tilknytte en HTML-hjælpefil som fx HTML Reference Library. Så kan du "
                                           "markere HTML-kode i tekstbehandleren, som du vil have hjælp til, og "
                                           "taste Shift+F1."));
  help_->add(browseHelpFileButton, QStringLiteral("Klik her for at finde HTML-hjælpefilen."));
  help_->add(txtGrafiksti, QStringLiteral("Grafikfiler åbnes i dette program, når du dobbeltklikker på dem i Morvels "
                                          "filhåndtering."));
  help_->add(browseGraphicsButton, QStringLiteral("Klik her for at finde grafikprogrammet."));

  help_->add(txtEmail, QStringLiteral("Adressen bliver brugt som standard, når e-mail-dialogboksen åbnes."));
  help_->add(txtBeskrivelse, QStringLiteral("Beskrivelsen bliver brugt som standard, når e-mail-dialogboksen åbnes."));
  help_->add(txtAabnDialog, QStringLiteral("Du kan vælge, hvilken mappe Åbn-dialogboksen skal starte i."));
  help_->add(browseStartFolderButton, QStringLiteral("Klik her for at vælge en mappe."));

  help_->add(chkDesktop, QStringLiteral("Opretter en genvej til Morvel på Windows' Skrivebord."));
  help_->add(chkOverfoer, QStringLiteral("Opretter et menupunkt i Stifinders \"Overfør til\"-menu."));
  help_->add(chkViewer, QStringLiteral("Bestemmer om grafikfiler skal vises, når de markeres."));
  help_->add(chkKnaptype, QStringLiteral("Bruger den gamle knaptype i stedet for den nye flade."));
  help_->add(chkNy, QStringLiteral("Sæt kryds, hvis skabelon-dialogboksen skal vises, når der trykkes på \"Nyt "
                                   "dokument\"-knappen. Fjern krydset, hvis du ønsker et tomt dokument."));
  help_->add(chkFilnavn, QStringLiteral("Sæt kryds, hvis du ønsker, at websidens filnavn skal vises på fanebladene i "
                                        "Morvels tekstbehandler. Ellers vises websidens titel."));
  help_->add(chkArkivFlag, QStringLiteral("Morvel kan holde styr på, hvilke filer der er overført til Internet ved at "
                                          "sætte filens arkivflag. Flaget benyttes også af backup-programmer ved "
                                          "supplerende backup."));

  help_->add(chkAutodato, QStringLiteral("Indsætter og vedligeholder automatisk dato for seneste opdatering i dine "
                                         "HTML-dokumenter."));
  help_->add(txtDatoFormat, QStringLiteral("Sætter dato- og tidsformatet. Eks. 1: dd.mm.yy = 01.01.1998. Eks. 2: "
                                           "dddd 'd.' d. mmmm, yyyy kl. hh:mm = torsdag d. 1. januar, 1998 kl. 19:32"));
  help_->add(chkGenerator, QStringLiteral("Indsætter META-elementet <META NAME=\"Generator\" CONTENT=\"Brimvale's "
                                          "Morvel 2\">"));
  help_->add(chkDansketegn, QStringLiteral("Indsætter internationale koder i stedet for æ, ø og å i .htm-filen, når "
                                           "du gemmer, og indsætter æ, ø og å, når du åbner filen. "));
  help_->add(chkFarveDialog, QStringLiteral("Viser dialogboks til valg af \"Web-sikre\" farver. Fjern afkrydsning, "
                                            "hvis du vil have Windows' standard farve-dialogboks."));
  help_->add(chkWebfonte, QStringLiteral("Indsætter skriftsæt, som lister flere alternativer til både Mac og PC. "
                                         "Fjern krydset for at få en liste over skrifttyper på din computer."));
  help_->add(chkHTMLtype, QStringLiteral("Gemmer HTML-dokumenter med filtypenavnet \".html\" i stedet for \".htm\"."));
  help_->add(chkBevarUkendtAttrib, QStringLiteral("Ukendt indhold kan både være fejl i HTML-koden eller attributter, "
                                                  "Morvel ikke kender. Avancerede brugere bør sætte kryds."));

  help_->add(cmdGem, saves + QStringLiteral(" Lukker dialogboksen."));
  help_->add(cmdAnvend, saves);
  help_->add(cmdAnnuller, QStringLiteral("Ser bort fra de foretagne valg og lukker dialogboksen."));
}
