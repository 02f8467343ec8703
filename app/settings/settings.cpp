#include "settings/settings.h"

#include "settings/editor_settings.h"

namespace morvel {

namespace st = settings;
namespace ind = settings::indstillinger;

namespace {

// The check boxes of the settings dialog, one stored value each. "MSIE" is
// read with the others but written when the main window closes.
struct StoredFlag {
  bool Settings::*flag;
  st::StoredBool value;
  bool writtenByOk = true;
};

const StoredFlag kStoredFlags[] = {
    {&Settings::wordWrap, ind::Ombrydning},
    {&Settings::codesInUpperCase, ind::StoreBogstaver},
    {&Settings::browserMenu, ind::VisMenu},
    {&Settings::internalBrowserMsie, ind::MSIE, false},
    {&Settings::saveBeforeBrowsing, ind::GemHTML},
    {&Settings::sendToShortcut, ind::Overfoer},
    {&Settings::desktopShortcut, ind::Desktop},
    {&Settings::showPictures, ind::Viewer},
    {&Settings::oldToolButtons, ind::Knapper},
    {&Settings::templateDialogOnNew, ind::Ny},
    {&Settings::fileNamesOnTabs, ind::Filnavn},
    {&Settings::rulerInBrowser, ind::Lineal},
    {&Settings::automaticDate, ind::Autodato},
    {&Settings::generatorLine, ind::Generator},
    {&Settings::danishLetterCodes, ind::AEOEAAkoder},
    {&Settings::webColourDialog, ind::FarveDialog},
    {&Settings::webFonts, ind::WebFonte},
    {&Settings::htmlExtension, ind::HTMLtype},
    {&Settings::keepUnknownAttributes, ind::BevarUkendtAttrib},
};

struct StoredText {
  QString Settings::*text;
  st::StoredString value;
};

const StoredText kStoredTexts[] = {
    {&Settings::htmlHelpFile, ind::HTMLhjaelp},     {&Settings::graphicsProgram, ind::Grafik},
    {&Settings::emailAddress, ind::Email},          {&Settings::emailDescription, ind::Beskrivelse},
    {&Settings::openDialogFolder, ind::AabnDialog}, {&Settings::dateFormat, ind::Datoformat},
};

int storedScheme(const RegIniFile& store) {
  const int scheme = st::read(store, ind::Kodefarve);
  return scheme >= 0 && scheme <= 3 ? scheme : ind::Kodefarve.fallback;
}

// The list ends at the first entry without a program.
std::vector<BrowserProgram> readBrowsers(const RegIniFile& store) {
  std::vector<BrowserProgram> browsers;
  for (int i = 1; i <= ind::kBrowsers; ++i) {
    const std::string path = store.ReadString(st::kIndstillinger, st::browserPath(i), "");
    if (path.empty()) break;
    browsers.push_back({QString::fromStdString(store.ReadString(st::kIndstillinger, st::browserName(i), "")),
                        QString::fromStdString(path)});
  }
  return browsers;
}

// Every entry is written, the unused ones empty.
void writeBrowsers(RegIniFile& store, const std::vector<BrowserProgram>& browsers) {
  for (int i = 1; i <= ind::kBrowsers; ++i) {
    const bool listed = static_cast<std::size_t>(i) <= browsers.size();
    const BrowserProgram entry = listed ? browsers[static_cast<std::size_t>(i - 1)] : BrowserProgram{};
    store.WriteString(st::kIndstillinger, st::browserName(i), entry.name.toStdString());
    store.WriteString(st::kIndstillinger, st::browserPath(i), entry.path.toStdString());
  }
}

void writeOwnScheme(RegIniFile& store, const CodeColourScheme& c, bool sameBackground) {
  using namespace st::editor;
  st::write(store, AlmT, c.normal.text);
  st::write(store, AlmB, c.normal.background);
  st::write(store, ElemT, c.elements.text);
  st::write(store, AttribT, c.attributes.text);
  st::write(store, VaerdiT, c.values.text);
  st::write(store, KomT, c.comments.text);
  if (!sameBackground) {
    st::write(store, ElemB, c.elements.background);
    st::write(store, AttribB, c.attributes.background);
    st::write(store, VaerdiB, c.values.background);
    st::write(store, KomB, c.comments.background);
  }
  st::write(store, EnsBg, sameBackground);
}

}  // namespace

CodeColourScheme readOwnScheme(const RegIniFile& store) {
  using namespace st::editor;
  return CodeColourScheme{{st::read(store, AlmT), st::read(store, AlmB)},
                          {st::read(store, ElemT), st::read(store, ElemB)},
                          {st::read(store, AttribT), st::read(store, AttribB)},
                          {st::read(store, VaerdiT), st::read(store, VaerdiB)},
                          {st::read(store, KomT), st::read(store, KomB)}};
}

Settings readSettings(const RegIniFile& store) {
  Settings s;
  s.tabSize = st::read(store, ind::Tabulator);
  s.font = editorFont(st::read(store, ind::Font), st::read(store, ind::FontSize), st::read(store, ind::FontStyle));
  s.colourScheme = storedScheme(store);
  s.ownScheme = readOwnScheme(store);
  s.sameBackground = st::read(store, st::editor::EnsBg);
  for (const StoredFlag& f : kStoredFlags) s.*f.flag = st::read(store, f.value);
  for (const StoredText& t : kStoredTexts) s.*t.text = st::read(store, t.value);
  s.browsers = readBrowsers(store);
  return s;
}

void writeSettings(RegIniFile& store, const Settings& s) {
  st::write(store, ind::Tabulator, s.tabSize);
  st::write(store, ind::Font, s.font.family());
  st::write(store, ind::FontSize, s.font.pointSize() > 0 ? s.font.pointSize() : ind::FontSize.fallback);
  st::write(store, ind::FontStyle, fontStyleName(s.font));
  for (const StoredFlag& f : kStoredFlags) {
    if (f.writtenByOk) st::write(store, f.value, s.*f.flag);
  }
  for (const StoredText& t : kStoredTexts) st::write(store, t.value, s.*t.text);
  writeBrowsers(store, s.browsers);
  st::write(store, ind::Kodefarve, s.colourScheme);
  if (s.colourScheme == 3) writeOwnScheme(store, s.ownScheme, s.sameBackground);
}

}  // namespace morvel
