// The program's settings as one plain value: what the settings dialog
// TIndstillinger shows and edits, and what the rest of the program reads.
// The main window keeps the value in force; the settings store keeps it
// between runs. The members start at the store's defaults where those are
// fixed; the font and the user's colours come from readSettings.
#pragma once

#include "markup/code_colours.h"
#include "settings/settings_store.h"

#include <QFont>
#include <QString>

#include <vector>

namespace morvel {

// An external browser of "Programstier": its name and its program.
struct BrowserProgram {
  QString name;
  QString path;
  bool operator==(const BrowserProgram&) const = default;
};

struct Settings {
  // --- "Tekstbehandler"
  int tabSize = settings::indstillinger::Tabulator.fallback;
  QFont font;
  // 0 none, 1 "Morvel 1", 2 "Morvel 2", 3 the user's own colours.
  int colourScheme = settings::indstillinger::Kodefarve.fallback;
  // The user's own scheme as stored; with `sameBackground` the codes show
  // the normal background instead of their own.
  CodeColourScheme ownScheme;
  bool sameBackground = settings::editor::EnsBg.fallback;
  bool wordWrap = settings::indstillinger::Ombrydning.fallback;
  bool codesInUpperCase = settings::indstillinger::StoreBogstaver.fallback;

  // --- "Programstier"
  std::vector<BrowserProgram> browsers;
  bool browserMenu = settings::indstillinger::VisMenu.fallback;
  bool internalBrowserMsie = settings::indstillinger::MSIE.fallback;
  bool saveBeforeBrowsing = settings::indstillinger::GemHTML.fallback;
  QString htmlHelpFile;
  QString graphicsProgram;

  // --- "Standardoplysninger"
  QString emailDescription;
  QString emailAddress;
  QString openDialogFolder;

  // --- "Brugerflade"
  bool desktopShortcut = settings::indstillinger::Desktop.fallback;
  bool sendToShortcut = settings::indstillinger::Overfoer.fallback;
  bool showPictures = settings::indstillinger::Viewer.fallback;
  bool oldToolButtons = settings::indstillinger::Knapper.fallback;
  bool templateDialogOnNew = settings::indstillinger::Ny.fallback;
  bool fileNamesOnTabs = settings::indstillinger::Filnavn.fallback;
  bool rulerInBrowser = settings::indstillinger::Lineal.fallback;
  // Not stored: off at every start.
  bool useArchiveFlag = false;

  // --- "HTML-faciliteter"
  bool automaticDate = settings::indstillinger::Autodato.fallback;
  QString dateFormat = QString::fromUtf8(settings::indstillinger::Datoformat.fallback.data(),
                                         qsizetype(settings::indstillinger::Datoformat.fallback.size()));
  bool generatorLine = settings::indstillinger::Generator.fallback;
  bool danishLetterCodes = settings::indstillinger::AEOEAAkoder.fallback;
  bool webColourDialog = settings::indstillinger::FarveDialog.fallback;
  bool webFonts = settings::indstillinger::WebFonte.fallback;
  bool htmlExtension = settings::indstillinger::HTMLtype.fallback;
  bool keepUnknownAttributes = settings::indstillinger::BevarUkendtAttrib.fallback;
};

// The settings as the store holds them; what it lacks or cannot read
// takes its default.
Settings readSettings(const RegIniFile& store);

// The user's own colour scheme as section "Editor" holds it.
CodeColourScheme readOwnScheme(const RegIniFile& store);

// What OK in the settings dialog stores: every setting but "MSIE", which
// is written when the main window closes, and the archive flag, which is
// never stored. The user's colours are written only while they are the
// chosen scheme, and their code backgrounds only without "Ens baggrund",
// so that the user's own backgrounds come back when it is cleared.
void writeSettings(RegIniFile& store, const Settings& settings);

}  // namespace morvel
