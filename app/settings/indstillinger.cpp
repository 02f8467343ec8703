// TIndstillinger: loading, saving and applying the settings, the colour
// scheme shown in the colour buttons, the browser list and the browse buttons.
#include "settings/indstillinger.h"

#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/colour_button.h"
#include "controls/up_down.h"
#include "interaction.h"
#include "qtext.h"
#include "settings/browser_entry_dialog.h"
#include "settings/settings_host.h"
#include "settings/settings_store.h"
#include "startup/help.h"
#include "startup/program_shortcuts.h"
#include "startup/splash.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace st = morvel::settings;

namespace {

const QString kPreviewText =
    QStringLiteral("<FONT SIZE=\"5\" FACE=\"Verdana,Arial\">Noget almindelig tekst</FONT> <!-- \"En kommentar\"-->");

// The check boxes and fields that show one setting each.
struct FlagBox {
  QCheckBox* TIndstillinger::*box;
  bool morvel::Settings::*flag;
};

const FlagBox kFlagBoxes[] = {
    {&TIndstillinger::chkTekstombrydning, &morvel::Settings::wordWrap},
    {&TIndstillinger::chkStoreBogstaver, &morvel::Settings::codesInUpperCase},
    {&TIndstillinger::chkVisMenu, &morvel::Settings::browserMenu},
    {&TIndstillinger::chkMSIE, &morvel::Settings::internalBrowserMsie},
    {&TIndstillinger::chkGemHTML, &morvel::Settings::saveBeforeBrowsing},
    {&TIndstillinger::chkOverfoer, &morvel::Settings::sendToShortcut},
    {&TIndstillinger::chkDesktop, &morvel::Settings::desktopShortcut},
    {&TIndstillinger::chkViewer, &morvel::Settings::showPictures},
    {&TIndstillinger::chkKnaptype, &morvel::Settings::oldToolButtons},
    {&TIndstillinger::chkNy, &morvel::Settings::templateDialogOnNew},
    {&TIndstillinger::chkFilnavn, &morvel::Settings::fileNamesOnTabs},
    {&TIndstillinger::chkLineal, &morvel::Settings::rulerInBrowser},
    {&TIndstillinger::chkArkivFlag, &morvel::Settings::useArchiveFlag},
    {&TIndstillinger::chkAutodato, &morvel::Settings::automaticDate},
    {&TIndstillinger::chkGenerator, &morvel::Settings::generatorLine},
    {&TIndstillinger::chkDansketegn, &morvel::Settings::danishLetterCodes},
    {&TIndstillinger::chkFarveDialog, &morvel::Settings::webColourDialog},
    {&TIndstillinger::chkWebfonte, &morvel::Settings::webFonts},
    {&TIndstillinger::chkHTMLtype, &morvel::Settings::htmlExtension},
    {&TIndstillinger::chkBevarUkendtAttrib, &morvel::Settings::keepUnknownAttributes},
};

struct TextField {
  QLineEdit* TIndstillinger::*field;
  QString morvel::Settings::*text;
};

const TextField kTextFields[] = {
    {&TIndstillinger::txtHTMLHjaelp, &morvel::Settings::htmlHelpFile},
    {&TIndstillinger::txtGrafiksti, &morvel::Settings::graphicsProgram},
    {&TIndstillinger::txtEmail, &morvel::Settings::emailAddress},
    {&TIndstillinger::txtBeskrivelse, &morvel::Settings::emailDescription},
    {&TIndstillinger::txtAabnDialog, &morvel::Settings::openDialogFolder},
    {&TIndstillinger::txtDatoFormat, &morvel::Settings::dateFormat},
};

}  // namespace

TIndstillinger::TIndstillinger(morvel::SettingsHost& host) : QDialog(nullptr), host_(host), store_(host.store()) {
  setObjectName(QStringLiteral("Indstillinger"));
  setWindowTitle(QStringLiteral("Indstillinger"));
  pages = new QTabWidget(this);
  pages->setObjectName(QStringLiteral("pages"));
  pages->setUsesScrollButtons(false);  // all five captions in view
  pages->addTab(buildTekstbehandler(), QStringLiteral("Tekstbehandler"));
  pages->addTab(buildProgramstier(), QStringLiteral("Programstier"));
  pages->addTab(buildStandardoplysninger(), QStringLiteral("Standardoplysninger"));
  pages->addTab(buildBrugerflade(), QStringLiteral("Brugerflade"));
  pages->addTab(buildHtmlFaciliteter(), QStringLiteral("HTML-faciliteter"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages);
  layout->addLayout(buildButtons());

  addHelpTexts();
  setUpPreview();
  connectControls();
  // What the controls show is what is in force.
  showSettings(host_.settings());
  host_.changeSettings(shownSettings());
  host_.applyEditorLook(editorLook());
  pages->setCurrentIndex(0);
}

TIndstillinger::~TIndstillinger() = default;

void TIndstillinger::connectControls() {
  connect(cmdGem, &QPushButton::clicked, this, [this] { OK(); });
  connect(cmdAnnuller, &QPushButton::clicked, this, [this] { Annuller(); });
  connect(cmdAnvend, &QPushButton::clicked, this, [this] { Anvend(); });
  connect(cmdHjaelp, &QPushButton::clicked, this,
          [this] { morvel::help::show(this, morvel::help::pageForContext(morvel::help::kSettingsContext)); });
  connect(cmdFont, &QPushButton::clicked, this, [this] { chooseFont(); });

  const QRadioButton* schemes[] = {optIngen, optMv1, optMv2, optBruger};
  for (int i = 0; i < 4; ++i) {
    connect(schemes[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on && !loading_) chooseScheme(i);
    });
  }
  connect(chkEnsBG, &QCheckBox::toggled, this, [this] {
    if (!loading_) sameBackgroundToggled();
  });
  for (TColourButton* b : colourButtons()) b->OnColorChange = [this](TColourButton& sender) { colourChanged(sender); };
  // The tabs show the file names or titles as soon as the box changes.
  connect(chkFilnavn, &QCheckBox::toggled, this, [this](bool on) {
    morvel::Settings shown = host_.settings();
    shown.fileNamesOnTabs = on;
    host_.changeSettings(shown);
    host_.refreshCaptions();
  });

  connect(lstBrowser, &QListWidget::itemSelectionChanged, this, [this] { updateBrowserControls(); });
  connect(addBrowserButton, &QPushButton::clicked, this, [this] { addBrowser(); });
  connect(editBrowserButton, &QPushButton::clicked, this, [this] { editBrowser(); });
  connect(deleteBrowserButton, &QPushButton::clicked, this, [this] { deleteBrowser(); });

  connect(browseHelpFileButton, &QPushButton::clicked, this, [this] {
    browseFile(txtHTMLHjaelp, QStringLiteral("Find HTML-hjælpefil"), QStringLiteral("Hjælpefiler"),
               {QStringLiteral("*.hlp"), QStringLiteral("*.htm"), QStringLiteral("*.html")});
  });
  // Programs on this system carry no extension to filter by.
  connect(browseGraphicsButton, &QPushButton::clicked, this, [this] {
    browseFile(txtGrafiksti, QStringLiteral("Find grafikprogram"), QStringLiteral("Programfiler"),
               {QStringLiteral("*")});
  });
  connect(browseStartFolderButton, &QPushButton::clicked, this, [this] { browseFolder(txtAabnDialog); });
}

// ---------------------------------------------------------------------------
// Load, save, apply

void TIndstillinger::showSettings(const morvel::Settings& s) {
  loading_ = true;
  updTabulator->setPosition(s.tabSize);
  for (const FlagBox& f : kFlagBoxes) (this->*f.box)->setChecked(s.*f.flag);
  for (const TextField& f : kTextFields) (this->*f.field)->setText(s.*f.text);
  chkEnsBG->setChecked(s.sameBackground);
  scheme_ = s.colourScheme >= 0 && s.colourScheme <= 3 ? s.colourScheme : st::indstillinger::Kodefarve.fallback;
  QRadioButton* const schemes[] = {optIngen, optMv1, optMv2, optBruger};
  schemes[scheme_]->setChecked(true);
  showBrowsers(s.browsers);
  Tivra1->setFont(s.font);
  showFontName();
  loading_ = false;
  showSchemeColours(s.ownScheme);
  updateBrowserControls();
}

morvel::Settings TIndstillinger::shownSettings() const {
  morvel::Settings s;
  s.tabSize = updTabulator->Position();
  s.font = Tivra1->font();
  s.colourScheme = scheme_;
  s.sameBackground = chkEnsBG->isChecked();
  if (scheme_ == 3) {
    s.ownScheme = shownColours();
    // Behind "Ens baggrund" the codes keep their own backgrounds.
    if (s.sameBackground) {
      morvel::ColourPair* const codes[] = {&s.ownScheme.elements, &s.ownScheme.attributes, &s.ownScheme.values,
                                           &s.ownScheme.comments};
      for (std::size_t i = 0; i < ownCodeBackgrounds_.size(); ++i) codes[i]->background = ownCodeBackgrounds_[i];
    }
  } else {
    s.ownScheme = morvel::readOwnScheme(store_);
  }
  for (const FlagBox& f : kFlagBoxes) s.*f.flag = (this->*f.box)->isChecked();
  for (const TextField& f : kTextFields) s.*f.text = (this->*f.field)->text();
  s.browsers = shownBrowsers();
  return s;
}

// The stored settings are those in force again. The archive flag is never
// stored: it keeps what it is in this run.
void TIndstillinger::Load() {
  morvel::Settings stored = morvel::readSettings(store_);
  stored.useArchiveFlag = chkArkivFlag->isChecked();
  showSettings(stored);
  host_.changeSettings(shownSettings());
}

void TIndstillinger::Save() {
  morvel::writeSettings(store_, shownSettings());
  if (!store_.UpdateFile()) reportStoreFailure();
}

EditorLook TIndstillinger::editorLook() const {
  EditorLook look;
  look.font = Tivra1->font();
  look.scheme = shownColours();
  look.redSelection = optMv2->isChecked();
  look.tabSize = updTabulator->Position();
  look.wordWrap = chkTekstombrydning->isChecked();
  return look;
}

void TIndstillinger::Apply() {
  host_.applyEditorLook(editorLook());
  host_.applyToolBarStyle();
  placeShortcuts();
}

void TIndstillinger::OK() {
  host_.changeSettings(shownSettings());
  Save();
  Apply();
  accept();
}

void TIndstillinger::Annuller() {
  Load();
  QDialog::reject();
}

// The automatic conversions of letters and dates change by OK alone.
void TIndstillinger::Anvend() {
  morvel::Settings shown = shownSettings();
  shown.danishLetterCodes = host_.settings().danishLetterCodes;
  shown.automaticDate = host_.settings().automaticDate;
  host_.changeSettings(shown);
  Apply();
}

void TIndstillinger::reject() { Annuller(); }

void TIndstillinger::reportStoreFailure() {
  platform::messageBox(this,
                       QStringLiteral("Indstillingerne kan ikke gemmes i filen %1.")
                           .arg(QString::fromStdString(store_.FileName().string())),
                       morvel::productName(), MB_OK | MB_ICONSTOP);
}

// ---------------------------------------------------------------------------
// Colours

std::array<TColourButton*, 10> TIndstillinger::colourButtons() const {
  return {colAlmT, colAlmB, colElemT, colElemB, colAttribT, colAttribB, colVaerdiT, colVaerdiB, colKomT, colKomB};
}

std::array<TColourButton*, 4> TIndstillinger::codeBackgroundButtons() const {
  return {colElemB, colAttribB, colVaerdiB, colKomB};
}

morvel::CodeColourScheme TIndstillinger::shownColours() const {
  return morvel::CodeColourScheme{{colAlmT->Color(), colAlmB->Color()},
                                  {colElemT->Color(), colElemB->Color()},
                                  {colAttribT->Color(), colAttribB->Color()},
                                  {colVaerdiT->Color(), colVaerdiB->Color()},
                                  {colKomT->Color(), colKomB->Color()}};
}

void TIndstillinger::showColours(const morvel::CodeColourScheme& c) {
  const morvel::ColourPair pairs[] = {c.normal, c.elements, c.attributes, c.values, c.comments};
  const auto buttons = colourButtons();
  for (size_t i = 0; i < 5; ++i) {
    buttons[2 * i]->setColor(pairs[i].text);
    buttons[2 * i + 1]->setColor(pairs[i].background);
  }
}

void TIndstillinger::chooseScheme(int scheme) {
  scheme_ = scheme;
  showSchemeColours(morvel::readOwnScheme(store_));
}

void TIndstillinger::showSchemeColours(const morvel::CodeColourScheme& c) {
  if (scheme_ == 3) {
    showColours(c);
    ownCodeBackgrounds_ = {c.elements.background, c.attributes.background, c.values.background, c.comments.background};
    if (chkEnsBG->isChecked()) {
      for (TColourButton* b : codeBackgroundButtons()) b->setColor(colAlmB->Color());
    }
  } else {
    showColours(morvel::builtInColourScheme(scheme_, GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW)));
  }
  enableColourControls();
  refreshPreview();
}

// The code backgrounds the user chose stay behind "&Ens baggrund": clearing
// it shows them again, and the other colours keep the user's changes.
void TIndstillinger::sameBackgroundToggled() {
  const auto backgrounds = codeBackgroundButtons();
  for (size_t i = 0; i < backgrounds.size(); ++i) {
    if (chkEnsBG->isChecked()) {
      ownCodeBackgrounds_[i] = backgrounds[i]->Color();
      backgrounds[i]->setColor(colAlmB->Color());
    } else {
      backgrounds[i]->setColor(ownCodeBackgrounds_[i]);
    }
  }
  enableColourControls();
  refreshPreview();
}

void TIndstillinger::colourChanged(TColourButton& button) {
  if (&button == colAlmB && chkEnsBG->isChecked()) {
    for (TColourButton* b : codeBackgroundButtons()) b->setColor(colAlmB->Color());
  }
  refreshPreview();
}

void TIndstillinger::enableColourControls() {
  const bool own = scheme_ == 3;
  userColours->setEnabled(own);
  for (TColourButton* b : codeBackgroundButtons()) b->setEnabled(own && !chkEnsBG->isChecked());
}

void TIndstillinger::setUpPreview() {
  configurePageEditor(*Tivra1);
  Tivra1->setWordWrap(true);
  Tivra1->setScrollBars(TTivraScrollStyle::lsNone);
  Tivra1->setTabStop(false);
  Tivra1->OnControlHighlight = [this](TTivra&, WORD wordType, LONG wordValue, const QString& word, COLORREF& fore,
                                      COLORREF& back) {
    const morvel::ColourPair c = morvel::tokenColours(shownColours(), wordType, wordValue, platform::toCp1252(word));
    fore = c.text;
    back = c.background;
  };
  Tivra1->HandleNeeded();
  Tivra1->setText(kPreviewText);
  Tivra1->setReadOnly(true);
}

void TIndstillinger::refreshPreview() {
  Tivra1->setFontColor(colAlmT->Color());
  Tivra1->setColor(colAlmB->Color());
  if (Tivra1->HandleAllocated()) InvalidateRect(Tivra1->Handle(), nullptr, TRUE);
}

// ---------------------------------------------------------------------------
// The font

void TIndstillinger::chooseFont() {
  platform::FontDialogRequest choice{Tivra1->font()};
  platform::Request r(platform::RequestKind::Font);
  r.parentWidget = this;
  r.data = &choice;
  if (!platform::ask(r)) return;
  Tivra1->setFont(choice.font);
  showFontName();
}

void TIndstillinger::showFontName() {
  const QFont font = Tivra1->font();
  fontName_->setText(font.family() + QStringLiteral(", ") + QString::number(font.pointSize()));
}

// ---------------------------------------------------------------------------
// Browsers

void TIndstillinger::showBrowsers(const std::vector<morvel::BrowserProgram>& browsers) {
  lstBrowser->clear();
  browserPaths_.clear();
  for (const morvel::BrowserProgram& b : browsers) {
    lstBrowser->addItem(b.name);
    browserPaths_ << b.path;
  }
}

std::vector<morvel::BrowserProgram> TIndstillinger::shownBrowsers() const {
  std::vector<morvel::BrowserProgram> browsers;
  for (int i = 0; i < lstBrowser->count(); ++i)
    browsers.push_back({lstBrowser->item(i)->text(), browserPaths_.value(i)});
  return browsers;
}

void TIndstillinger::addBrowser() {
  BrowserEntryDialog entry(QString(), QString(), this);
  if (platform::runModal(&entry, this) != QDialog::Accepted || entry.name().isEmpty() || entry.path().isEmpty()) return;
  lstBrowser->addItem(entry.name());
  browserPaths_ << entry.path();
  updateBrowserControls();
}

void TIndstillinger::editBrowser() {
  const int row = lstBrowser->currentRow();
  if (row < 0 || lstBrowser->selectedItems().isEmpty()) return;
  BrowserEntryDialog entry(lstBrowser->item(row)->text(), browserPaths_.value(row), this);
  if (platform::runModal(&entry, this) != QDialog::Accepted || entry.name().isEmpty() || entry.path().isEmpty()) return;
  lstBrowser->item(row)->setText(entry.name());
  browserPaths_[row] = entry.path();
  updateBrowserControls();
}

// The entry goes from the store at once, whatever becomes of the dialog.
void TIndstillinger::deleteBrowser() {
  const int row = lstBrowser->currentRow();
  if (row < 0 || lstBrowser->selectedItems().isEmpty()) return;
  store_.WriteString(st::kIndstillinger, st::browserName(row + 1), "");
  store_.WriteString(st::kIndstillinger, st::browserPath(row + 1), "");
  if (!store_.UpdateFile()) reportStoreFailure();
  delete lstBrowser->takeItem(row);
  browserPaths_.removeAt(row);
  lstBrowser->clearSelection();
  lstBrowser->setCurrentRow(-1);
  updateBrowserControls();
}

void TIndstillinger::updateBrowserControls() {
  const bool selected = !lstBrowser->selectedItems().isEmpty();
  editBrowserButton->setEnabled(selected);
  // The last browser stays: previews need one.
  deleteBrowserButton->setEnabled(selected && lstBrowser->count() > 1);
  addBrowserButton->setEnabled(lstBrowser->count() < st::indstillinger::kBrowsers);
  chkVisMenu->setEnabled(lstBrowser->count() >= 2);
}

// ---------------------------------------------------------------------------
// Browse buttons and shortcuts

void TIndstillinger::browseFile(QLineEdit* field, const QString& title, const QString& filterName,
                                const QStringList& masks) {
  platform::FileDialogRequest choice;
  choice.title = title;
  choice.filters = {{filterName, masks}};
  choice.fileMustExist = true;
  const QFileInfo current(field->text());
  choice.folder = field->text().isEmpty() ? QDir::homePath() : current.absolutePath();
  choice.suggestedName = current.fileName();
  platform::Request r(platform::RequestKind::OpenFile);
  r.parentWidget = this;
  r.caption = title;
  r.data = &choice;
  if (platform::ask(r) && !choice.chosen.isEmpty()) field->setText(choice.chosen.first());
}

void TIndstillinger::browseFolder(QLineEdit* field) {
  platform::FolderDialogRequest choice;
  choice.folder = field->text().isEmpty() ? QDir::homePath() : field->text();
  platform::Request r(platform::RequestKind::BrowseFolder);
  r.parentWidget = this;
  r.data = &choice;
  if (platform::ask(r) && !choice.chosen.isEmpty()) field->setText(choice.chosen);
}

void TIndstillinger::placeShortcuts() {
  const QString program = QCoreApplication::applicationFilePath();
  const std::pair<bool, QString> places[] = {{chkOverfoer->isChecked(), morvel::applicationsFolder()},
                                             {chkDesktop->isChecked(), morvel::desktopFolder()}};
  for (const auto& [wanted, folder] : places) {
    if (morvel::placeShortcut(folder, wanted, program)) continue;
    const QString file = folder + QLatin1Char('/') + morvel::kShortcutFileName;
    const QString text =
        wanted ? QStringLiteral("Kan ikke oprette genvejen %1.") : QStringLiteral("Kan ikke slette genvejen %1.");
    platform::messageBox(this, text.arg(file), morvel::productName(), MB_OK | MB_ICONSTOP);
  }
}
