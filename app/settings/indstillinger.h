// TIndstillinger, the settings dialog. It is created once, right after the
// main window, and lives for the whole run, keeping what its controls show
// between uses. It edits the program's settings value; the program reads the
// value, never the controls.
//
// Load makes the stored settings those in force and shows them, Save writes
// what the controls show, Apply gives the editors the look and places the
// shortcuts. OK puts what the controls show in force, saves and applies it;
// Annuller loads again; "&Anvend" puts it in force and applies it.
#pragma once

#include "markup/code_colours.h"
#include "settings/editor_settings.h"
#include "settings/settings.h"
#include "win32.h"

#include <QDialog>
#include <QStringList>

#include <array>
#include <vector>

class DynamicHelp;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TColourButton;
class TTivra;
class TUpDown;

namespace morvel {
class RegIniFile;
class SettingsHost;
}  // namespace morvel

class TIndstillinger : public QDialog {
 public:
  explicit TIndstillinger(morvel::SettingsHost& host);
  ~TIndstillinger() override;
  TIndstillinger(const TIndstillinger&) = delete;
  TIndstillinger& operator=(const TIndstillinger&) = delete;

  // --- "Tekstbehandler"
  QLineEdit* txtTabulator = nullptr;
  TUpDown* updTabulator = nullptr;
  QPushButton* cmdFont = nullptr;
  QRadioButton* optIngen = nullptr;
  QRadioButton* optMv1 = nullptr;
  QRadioButton* optMv2 = nullptr;
  QRadioButton* optBruger = nullptr;
  QGroupBox* userColours = nullptr;  // " Brugerdefineret farvning "
  TColourButton* colAlmT = nullptr;
  TColourButton* colAlmB = nullptr;
  TColourButton* colElemT = nullptr;
  TColourButton* colElemB = nullptr;
  TColourButton* colAttribT = nullptr;
  TColourButton* colAttribB = nullptr;
  TColourButton* colVaerdiT = nullptr;
  TColourButton* colVaerdiB = nullptr;
  TColourButton* colKomT = nullptr;
  TColourButton* colKomB = nullptr;
  QCheckBox* chkEnsBG = nullptr;
  QCheckBox* chkTekstombrydning = nullptr;
  QCheckBox* chkStoreBogstaver = nullptr;
  TTivra* Tivra1 = nullptr;  // the preview

  // --- "Programstier"
  QListWidget* lstBrowser = nullptr;  // the names; browserPaths() holds the programs
  QPushButton* addBrowserButton = nullptr;
  QPushButton* editBrowserButton = nullptr;
  QPushButton* deleteBrowserButton = nullptr;
  QCheckBox* chkVisMenu = nullptr;
  QCheckBox* chkMSIE = nullptr;
  QCheckBox* chkGemHTML = nullptr;
  QLineEdit* txtHTMLHjaelp = nullptr;
  QPushButton* browseHelpFileButton = nullptr;
  QLineEdit* txtGrafiksti = nullptr;
  QPushButton* browseGraphicsButton = nullptr;

  // --- "Standardoplysninger"
  QLineEdit* txtBeskrivelse = nullptr;
  QLineEdit* txtEmail = nullptr;
  QLineEdit* txtAabnDialog = nullptr;
  QPushButton* browseStartFolderButton = nullptr;

  // --- "Brugerflade"
  QCheckBox* chkDesktop = nullptr;
  QCheckBox* chkOverfoer = nullptr;
  QCheckBox* chkViewer = nullptr;
  QCheckBox* chkKnaptype = nullptr;
  QCheckBox* chkNy = nullptr;
  QCheckBox* chkFilnavn = nullptr;
  QCheckBox* chkLineal = nullptr;
  QCheckBox* chkArkivFlag = nullptr;  // not stored: unchecked in every run

  // --- "HTML-faciliteter"
  QCheckBox* chkAutodato = nullptr;
  QLineEdit* txtDatoFormat = nullptr;
  QCheckBox* chkGenerator = nullptr;
  QCheckBox* chkDansketegn = nullptr;
  QCheckBox* chkFarveDialog = nullptr;
  QCheckBox* chkWebfonte = nullptr;
  QCheckBox* chkHTMLtype = nullptr;
  QCheckBox* chkBevarUkendtAttrib = nullptr;

  // --- The buttons and the help line
  QPushButton* cmdGem = nullptr;  // "&OK"
  QPushButton* cmdAnnuller = nullptr;
  QPushButton* cmdAnvend = nullptr;
  QPushButton* cmdHjaelp = nullptr;
  QLabel* lblHjaelp = nullptr;
  QTabWidget* pages = nullptr;

  // The chosen colouring scheme: 0 none, 1 "Morvel 1", 2 "Morvel 2", 3 the user's.
  int colourScheme() const { return scheme_; }
  // The colours the colour buttons show, which the code colouring uses.
  morvel::CodeColourScheme shownColours() const;
  // The look of the editors that the controls describe.
  EditorLook editorLook() const;
  // The settings the controls show, and showing settings in them.
  morvel::Settings shownSettings() const;
  void showSettings(const morvel::Settings& settings);

  void Load();
  void Save();
  void Apply();
  void OK();
  void Annuller();
  void Anvend();
  // Escape and the window's close button are "Annuller".
  void reject() override;

 private:
  // Building the pages (indstillinger_pages.cpp)
  QWidget* buildTekstbehandler();
  QWidget* buildProgramstier();
  QWidget* buildStandardoplysninger();
  QWidget* buildBrugerflade();
  QWidget* buildHtmlFaciliteter();
  QLayout* buildButtons();
  void connectControls();
  void addHelpTexts();
  QCheckBox* checkBox(const QString& name, const QString& caption);
  QLineEdit* textField(const QString& name);
  QPushButton* button(const QString& name, const QString& caption);
  TColourButton* colourButton(const QString& name);

  // Colours
  std::array<TColourButton*, 10> colourButtons() const;
  std::array<TColourButton*, 4> codeBackgroundButtons() const;
  void chooseScheme(int scheme);
  // The chosen scheme in the colour buttons; `user` is the user's own.
  void showSchemeColours(const morvel::CodeColourScheme& user);
  void sameBackgroundToggled();
  void colourChanged(TColourButton& button);
  void enableColourControls();
  void showColours(const morvel::CodeColourScheme& colours);
  void refreshPreview();
  void setUpPreview();
  void chooseFont();
  void showFontName();

  // Browsers
  void showBrowsers(const std::vector<morvel::BrowserProgram>& browsers);
  std::vector<morvel::BrowserProgram> shownBrowsers() const;
  void addBrowser();
  void editBrowser();
  void deleteBrowser();
  void updateBrowserControls();

  // Browse buttons
  void browseFile(QLineEdit* field, const QString& title, const QString& filterName, const QStringList& masks);
  void browseFolder(QLineEdit* field);

  void placeShortcuts();
  void reportStoreFailure();

  morvel::SettingsHost& host_;
  morvel::RegIniFile& store_;
  DynamicHelp* help_ = nullptr;
  QLabel* fontName_ = nullptr;
  QStringList browserPaths_;
  int scheme_ = 2;
  // The user's own code backgrounds while "&Ens baggrund" shows the normal one.
  std::array<COLORREF, 4> ownCodeBackgrounds_{};
  bool loading_ = false;
};
