// TIndstillinger: loading, saving and applying the settings, the colour
// scheme shown in the colour buttons, the browser list and the browse buttons.
#include "settings/indstillinger.h"

#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/colour_button.h"
#include "controls/up_down.h"
#include "interaction.h"
#include "mainwindow/documents.h"
#include "mainwindow/kestrin.h"
#include "qtext.h"
#include "settings/browser_entry_dialog.h"
#include "settings/settings_store.h"
#include "startup/program_shortcuts.h"

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

const QString kApplicationTitle = QStringLiteral("Brimvale's Morvel");
const QString kPreviewText =
    QStringLiteral("<FONT SIZE=\"5\" FACE=\"Verdana,Arial\">Noget almindelig tekst</FONT> <!-- \"En kommentar\"-->");

// The check boxes and fields that mirror one stored value each. "MSIE" is
// read here but written when the main window closes.
struct StoredCheckBox {
  QCheckBox* TIndstillinger::*box;
  st::StoredBool value;
  bool writtenByOk = true;
};

const StoredCheckBox kStoredCheckBoxes[] = {
    {&TIndstillinger::chkTekstombrydning, st::indstillinger::Ombrydning},
    {&TIndstillinger::chkStoreBogstaver, st::indstillinger::StoreBogstaver},
    {&TIndstillinger::chkVisMenu, st::indstillinger::VisMenu},
    {&TIndstillinger::chkMSIE, st::indstillinger::MSIE, false},
    {&TIndstillinger::chkGemHTML, st::indstillinger::GemHTML},
    {&TIndstillinger::chkOverfoer, st::indstillinger::Overfoer},
    {&TIndstillinger::chkDesktop, st::indstillinger::Desktop},
    {&TIndstillinger::chkViewer, st::indstillinger::Viewer},
    {&TIndstillinger::chkKnaptype, st::indstillinger::Knapper},
    {&TIndstillinger::chkNy, st::indstillinger::Ny},
    {&TIndstillinger::chkFilnavn, st::indstillinger::Filnavn},
    {&TIndstillinger::chkLineal, st::indstillinger::Lineal},
    {&TIndstillinger::chkAutodato, st::indstillinger::Autodato},
    {&TIndstillinger::chkGenerator, st::indstillinger::Generator},
    {&TIndstillinger::chkDansketegn, st::indstillinger::AEOEAAkoder},
    {&TIndstillinger::chkFarveDialog, st::indstillinger::FarveDialog},
    {&TIndstillinger::chkWebfonte, st::indstillinger::WebFonte},
    {&TIndstillinger::chkHTMLtype, st::indstillinger::HTMLtype},
    {&TIndstillinger::chkBevarUkendtAttrib, st::indstillinger::BevarUkendtAttrib},
};

struct StoredField {
  QLineEdit* TIndstillinger::*field;
  st::StoredString value;
};

const StoredField kStoredFields[] = {
    {&TIndstillinger::txtHTMLHjaelp, st::indstillinger::HTMLhjaelp},
    {&TIndstillinger::txtGrafiksti, st::indstillinger::Grafik},
    {&TIndstillinger::txtEmail, st::indstillinger::Email},
    {&TIndstillinger::txtBeskrivelse, st::indstillinger::Beskrivelse},
    {&TIndstillinger::txtAabnDialog, st::indstillinger::AabnDialog},
    {&TIndstillinger::txtDatoFormat, st::indstillinger::Datoformat},
};

// The user's scheme as section "Editor" holds it, "Ens baggrund" aside.
morvel::CodeColourScheme storedUserColours(const morvel::RegIniFile& store) {
  using namespace st::editor;
  return morvel::CodeColourScheme{{st::read(store, AlmT), st::read(store, AlmB)},
                                  {st::read(store, ElemT), st::read(store, ElemB)},
                                  {st::read(store, AttribT), st::read(store, AttribB)},
                                  {st::read(store, VaerdiT), st::read(store, VaerdiB)},
                                  {st::read(store, KomT), st::read(store, KomB)}};
}

int storedScheme(const morvel::RegIniFile& store) {
  const int scheme = st::read(store, st::indstillinger::Kodefarve);
  return scheme >= 0 && scheme <= 3 ? scheme : st::indstillinger::Kodefarve.fallback;
}

}  // namespace

TIndstillinger::TIndstillinger(TKestrin& kestrin, morvel::RegIniFile& store)
    : QDialog(nullptr), kestrin_(kestrin), store_(store) {
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
  // The program has no help file yet to open at this dialog's topic.
  cmdHjaelp->setEnabled(false);

  addHelpTexts();
  setUpPreview();
  connectControls();
  Load();
  kestrin_.applyEditorLook(editorLook());
  chkDansketegn->setChecked(kestrin_.entityConversion());
  chkAutodato->setChecked(kestrin_.automaticDate());
  pages->setCurrentIndex(0);
}

TIndstillinger::~TIndstillinger() = default;

void TIndstillinger::connectControls() {
  connect(cmdGem, &QPushButton::clicked, this, [this] { OK(); });
  connect(cmdAnnuller, &QPushButton::clicked, this, [this] { Annuller(); });
  connect(cmdAnvend, &QPushButton::clicked, this, [this] { Anvend(); });
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
  connect(chkFilnavn, &QCheckBox::toggled, this, [this] { kestrin_.refreshCaptions(); });

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

void TIndstillinger::Load() {
  loading_ = true;
  updTabulator->setPosition(st::read(store_, st::indstillinger::Tabulator));
  for (const StoredCheckBox& c : kStoredCheckBoxes) (this->*c.box)->setChecked(st::read(store_, c.value));
  for (const StoredField& f : kStoredFields) (this->*f.field)->setText(st::read(store_, f.value));
  chkEnsBG->setChecked(st::read(store_, st::editor::EnsBg));
  scheme_ = storedScheme(store_);
  QRadioButton* const schemes[] = {optIngen, optMv1, optMv2, optBruger};
  schemes[scheme_]->setChecked(true);
  loadBrowsers();
  loadFont();
  loading_ = false;
  showSchemeColours();
  updateBrowserControls();
}

void TIndstillinger::Save() {
  using namespace st::indstillinger;
  st::write(store_, Tabulator, updTabulator->Position());
  const QFont font = Tivra1->font();
  st::write(store_, Font, font.family());
  st::write(store_, FontSize, font.pointSize() > 0 ? font.pointSize() : FontSize.fallback);
  st::write(store_, FontStyle, fontStyleName(font));
  for (const StoredCheckBox& c : kStoredCheckBoxes) {
    if (c.writtenByOk) st::write(store_, c.value, (this->*c.box)->isChecked());
  }
  for (const StoredField& f : kStoredFields) st::write(store_, f.value, (this->*f.field)->text());
  saveBrowsers();
  st::write(store_, Kodefarve, scheme_);
  if (scheme_ == 3) {
    using namespace st::editor;
    const morvel::CodeColourScheme c = shownColours();
    st::write(store_, AlmT, c.normal.text);
    st::write(store_, AlmB, c.normal.background);
    st::write(store_, ElemT, c.elements.text);
    st::write(store_, AttribT, c.attributes.text);
    st::write(store_, VaerdiT, c.values.text);
    st::write(store_, KomT, c.comments.text);
    if (!chkEnsBG->isChecked()) {
      st::write(store_, ElemB, c.elements.background);
      st::write(store_, AttribB, c.attributes.background);
      st::write(store_, VaerdiB, c.values.background);
      st::write(store_, KomB, c.comments.background);
    }
    st::write(store_, EnsBg, chkEnsBG->isChecked());
  }
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
  kestrin_.applyEditorLook(editorLook());
  placeShortcuts();
}

void TIndstillinger::OK() {
  kestrin_.setEntityConversion(chkDansketegn->isChecked());
  kestrin_.setAutomaticDate(chkAutodato->isChecked());
  Save();
  Apply();
  accept();
}

void TIndstillinger::Annuller() {
  Load();
  QDialog::reject();
}

void TIndstillinger::Anvend() { Apply(); }

void TIndstillinger::reject() { Annuller(); }

void TIndstillinger::reportStoreFailure() {
  platform::messageBox(this,
                       QStringLiteral("Indstillingerne kan ikke gemmes i filen %1.")
                           .arg(QString::fromStdString(store_.FileName().string())),
                       kApplicationTitle, MB_OK | MB_ICONSTOP);
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
  showSchemeColours();
}

void TIndstillinger::showSchemeColours() {
  if (scheme_ == 3) {
    const morvel::CodeColourScheme c = storedUserColours(store_);
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

void TIndstillinger::loadFont() {
  using namespace st::indstillinger;
  Tivra1->setFont(editorFont(st::read(store_, Font), st::read(store_, FontSize), st::read(store_, FontStyle)));
  showFontName();
}

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

void TIndstillinger::loadBrowsers() {
  lstBrowser->clear();
  browserPaths_.clear();
  for (int i = 1; i <= st::indstillinger::kBrowsers; ++i) {
    const std::string path = store_.ReadString(st::kIndstillinger, st::browserPath(i), "");
    if (path.empty()) break;
    lstBrowser->addItem(QString::fromStdString(store_.ReadString(st::kIndstillinger, st::browserName(i), "")));
    browserPaths_ << QString::fromStdString(path);
  }
}

void TIndstillinger::saveBrowsers() {
  for (int i = 1; i <= st::indstillinger::kBrowsers; ++i) {
    const bool listed = i <= lstBrowser->count();
    const QString name = listed ? lstBrowser->item(i - 1)->text() : QString();
    const QString path = listed ? browserPaths_.value(i - 1) : QString();
    store_.WriteString(st::kIndstillinger, st::browserName(i), name.toStdString());
    store_.WriteString(st::kIndstillinger, st::browserPath(i), path.toStdString());
  }
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
  deleteBrowserButton->setEnabled(selected);
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
    platform::messageBox(this, text.arg(file), kApplicationTitle, MB_OK | MB_ICONSTOP);
  }
}
