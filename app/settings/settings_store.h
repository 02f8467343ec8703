// The layout of the settings store: every section and value the program
// keeps, with its type and the default that applies while the store has
// none. Code that reads or writes the store names a value from here, e.g.
//
//   const int height = settings::read(store, settings::start::Hoejde);
//   settings::write(store, settings::indstillinger::Ombrydning, true);
//
// Values whose name carries a number ("Browser" + i, "Fil" + i, ...) are
// built by the functions at the end.
#pragma once

#include "registry.h"
#include "win32.h"

#include <QString>

#include <string>
#include <string_view>

namespace morvel::settings {

struct IntValue {
  std::string_view section;
  std::string_view name;
  int fallback;
};

struct BoolValue {
  std::string_view section;
  std::string_view name;
  bool fallback;
};

struct StringValue {
  std::string_view section;
  std::string_view name;
  std::string_view fallback;  // UTF-8
};

// A colour (COLORREF) whose default is either fixed or one of the system's
// colours (COLOR_WINDOW, ...), which are looked up when the value is read.
struct ColourValue {
  std::string_view section;
  std::string_view name;
  COLORREF fixed;
  int systemColour = -1;  // >= 0: the default is GetSysColor(systemColour)
};

int read(const RegIniFile& store, const IntValue& value);
bool read(const RegIniFile& store, const BoolValue& value);
QString read(const RegIniFile& store, const StringValue& value);
COLORREF read(const RegIniFile& store, const ColourValue& value);
COLORREF fallbackOf(const ColourValue& value);

void write(RegIniFile& store, const IntValue& value, int v);
void write(RegIniFile& store, const BoolValue& value, bool v);
void write(RegIniFile& store, const StringValue& value, const QString& v);
void write(RegIniFile& store, const ColourValue& value, COLORREF v);

// --- Sections
inline constexpr std::string_view kStart = "Start";
inline constexpr std::string_view kIndstillinger = "Indstillinger";
inline constexpr std::string_view kEditor = "Editor";
inline constexpr std::string_view kFiler = "Filer";
inline constexpr std::string_view kKoder = "Koder";
inline constexpr std::string_view kLinie = "Linie";
inline constexpr std::string_view kSkript = "Skript";
inline constexpr std::string_view kMeta = "Meta";  // one string per meta name
inline constexpr std::string_view kBokse = "Bokse";
inline constexpr std::string_view kFtp = "Ftp";  // the connection list; each connection has a section
inline constexpr std::string_view kUserColors = "UserColors";

// --- "Start": the main window's layout, written when it closes
namespace start {
inline constexpr IntValue Top{kStart, "Top", 5};
inline constexpr IntValue Venstre{kStart, "Venstre", 5};
inline constexpr IntValue Hoejde{kStart, "Højde", 470};
inline constexpr IntValue Bredde{kStart, "Bredde", 630};
inline constexpr IntValue Status{kStart, "Status", 1};  // 1 normal, 2 minimised, 3 maximised
inline constexpr IntValue DirHoejde{kStart, "DirHøjde", 140};
inline constexpr IntValue FilBredde{kStart, "FilBredde", 200};
inline constexpr BoolValue Filboks{kStart, "Filboks", true};
inline constexpr IntValue Vis{kStart, "Vis", 3};    // 0 large icons, 1 small icons, 2 list, 3 details
inline constexpr IntValue Fane{kStart, "Fane", 0};  // 0 "HTML", 1 "Medie", 2 "Projekter"
inline constexpr StringValue Sti{kStart, "Sti", ""};
inline constexpr StringValue StiMedie{kStart, "StiMedie", ""};
inline constexpr IntValue ViewerHoejde{kStart, "ViewerHoejde", 96};
inline constexpr IntValue SkabHoejde{kStart, "SkabHoejde", 280};
inline constexpr IntValue SkabBredde{kStart, "SkabBredde", 370};
inline constexpr IntValue FtpBredde{kStart, "FtpBredde", 430};
inline constexpr IntValue FtpVisning{kStart, "FtpVisning", 3};
inline constexpr IntValue Forbindelse{kStart, "Forbindelse", 0};
}  // namespace start

// --- "Indstillinger": the settings dialog's values
namespace indstillinger {
inline constexpr IntValue Tabulator{kIndstillinger, "Tabulator", 5};
inline constexpr StringValue Font{kIndstillinger, "Font", "Courier New"};
inline constexpr IntValue FontSize{kIndstillinger, "FontSize", 10};
inline constexpr StringValue FontStyle{kIndstillinger, "FontStyle", ""};  // "fed", "kursiv", "fed kursiv"
inline constexpr IntValue Kodefarve{kIndstillinger, "Kodefarve", 2};      // 0 none, 1, 2, 3 the user's
inline constexpr BoolValue Ombrydning{kIndstillinger, "Ombrydning", true};
inline constexpr BoolValue StoreBogstaver{kIndstillinger, "StoreBogstaver", false};
inline constexpr BoolValue VisMenu{kIndstillinger, "VisMenu", true};
inline constexpr BoolValue MSIE{kIndstillinger, "MSIE", false};
inline constexpr BoolValue GemHTML{kIndstillinger, "GemHTML", false};
inline constexpr StringValue HTMLhjaelp{kIndstillinger, "HTMLhjælp", ""};
inline constexpr StringValue Grafik{kIndstillinger, "Grafik", ""};
inline constexpr StringValue Email{kIndstillinger, "Email", ""};
inline constexpr StringValue Beskrivelse{kIndstillinger, "Beskrivelse", ""};
inline constexpr StringValue AabnDialog{kIndstillinger, "AabnDialog", ""};
inline constexpr BoolValue Overfoer{kIndstillinger, "Overfoer", false};
inline constexpr BoolValue Desktop{kIndstillinger, "Desktop", false};
inline constexpr BoolValue Viewer{kIndstillinger, "Viewer", true};
inline constexpr BoolValue Knapper{kIndstillinger, "Knapper", false};
inline constexpr BoolValue Ny{kIndstillinger, "Ny", true};
inline constexpr BoolValue Filnavn{kIndstillinger, "Filnavn", false};
inline constexpr BoolValue Lineal{kIndstillinger, "Lineal", true};
inline constexpr BoolValue Autodato{kIndstillinger, "Autodato", true};
inline constexpr StringValue Datoformat{kIndstillinger, "Datoformat", "\"Opdateret d.\" d/m/yy"};
inline constexpr BoolValue Generator{kIndstillinger, "Generator", true};
inline constexpr BoolValue AEOEAAkoder{kIndstillinger, "ÆØÅkoder", false};
inline constexpr BoolValue FarveDialog{kIndstillinger, "FarveDialog", true};
inline constexpr BoolValue WebFonte{kIndstillinger, "WebFonte", true};
inline constexpr BoolValue HTMLtype{kIndstillinger, "HTMLtype", false};
inline constexpr BoolValue BevarUkendtAttrib{kIndstillinger, "BevarUkendtAttrib", false};
// The browser list holds at most this many entries, "Browser" + i and
// "BrowserSti" + i for i = 1..kBrowsers.
inline constexpr int kBrowsers = 5;
}  // namespace indstillinger

// --- "Editor": the colours of the user's own scheme
namespace editor {
inline constexpr ColourValue AlmT{kEditor, "AlmT", 0, COLOR_WINDOWTEXT};
inline constexpr ColourValue AlmB{kEditor, "AlmB", 0, COLOR_WINDOW};
inline constexpr ColourValue ElemT{kEditor, "ElemT", RGB(0xFF, 0x00, 0x00)};
inline constexpr ColourValue AttribT{kEditor, "AttribT", RGB(0x80, 0x00, 0x80)};
inline constexpr ColourValue VaerdiT{kEditor, "VaerdiT", RGB(0x00, 0x00, 0x80)};
inline constexpr ColourValue KomT{kEditor, "KomT", RGB(0x80, 0x80, 0x80)};
inline constexpr ColourValue ElemB{kEditor, "ElemB", 0, COLOR_WINDOW};
inline constexpr ColourValue AttribB{kEditor, "AttribB", 0, COLOR_WINDOW};
inline constexpr ColourValue VaerdiB{kEditor, "VaerdiB", 0, COLOR_WINDOW};
inline constexpr ColourValue KomB{kEditor, "KomB", 0, COLOR_WINDOW};
inline constexpr BoolValue EnsBg{kEditor, "EnsBg", false};
}  // namespace editor

// --- "Linie": the horizontal line dialog's remembered values
namespace linie {
inline constexpr IntValue Laengde{kLinie, "Laengde", 100};
inline constexpr IntValue Tykkelse{kLinie, "Tykkelse", 2};
inline constexpr BoolValue Procent{kLinie, "Procent", true};
inline constexpr BoolValue TreD{kLinie, "3D", true};
inline constexpr IntValue Justering{kLinie, "Justering", 2};
}  // namespace linie

// --- "Skript": the script editor's window
namespace skript {
inline constexpr IntValue Top{kSkript, "Top", 20};
inline constexpr IntValue Venstre{kSkript, "Venstre", 20};
inline constexpr IntValue Bredde{kSkript, "Bredde", 600};
inline constexpr IntValue Hoejde{kSkript, "Højde", 450};
inline constexpr IntValue HWidth{kSkript, "HWidth", 177};
}  // namespace skript

// --- "Bokse": values that dialogs remember between uses
namespace bokse {
inline constexpr StringValue Target{kBokse, "Target", ""};
}  // namespace bokse

// --- Values of one FTP connection, in the connection's own section
namespace ftp {
inline constexpr std::string_view Server = "Server";
inline constexpr std::string_view StartBib = "StartBib";
inline constexpr std::string_view Bruger = "Bruger";
inline constexpr std::string_view Kodeord = "Kodeord";
inline constexpr std::string_view GemKode = "GemKode";
}  // namespace ftp

// --- Numbered names
std::string browserName(int i);  // "Browser" + i, i from 1
std::string browserPath(int i);  // "BrowserSti" + i
std::string recentFile(int i);   // "Fil" + i, i = 1..4, section "Filer"
// "Kode" + i + part, part 'a' (description), 'b' (start code), 'c' (end code), section "Koder"
std::string userCode(int i, char part);

}  // namespace morvel::settings
