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

struct StoredInt {
  std::string_view section;
  std::string_view name;
  int fallback;
};

struct StoredBool {
  std::string_view section;
  std::string_view name;
  bool fallback;
};

struct StoredString {
  std::string_view section;
  std::string_view name;
  std::string_view fallback;  // UTF-8
};

// A colour (COLORREF) whose default is either fixed or one of the system's
// colours (COLOR_WINDOW, ...), which are looked up when the value is read.
struct StoredColour {
  std::string_view section;
  std::string_view name;
  COLORREF fixed;
  int systemColour = -1;  // >= 0: the default is GetSysColor(systemColour)
};

int read(const RegIniFile& store, const StoredInt& value);
bool read(const RegIniFile& store, const StoredBool& value);
QString read(const RegIniFile& store, const StoredString& value);
COLORREF read(const RegIniFile& store, const StoredColour& value);
COLORREF fallbackOf(const StoredColour& value);

void write(RegIniFile& store, const StoredInt& value, int v);
void write(RegIniFile& store, const StoredBool& value, bool v);
void write(RegIniFile& store, const StoredString& value, const QString& v);
void write(RegIniFile& store, const StoredColour& value, COLORREF v);

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
inline constexpr StoredInt Top{kStart, "Top", 5};
inline constexpr StoredInt Venstre{kStart, "Venstre", 5};
inline constexpr StoredInt Hoejde{kStart, "Højde", 470};
inline constexpr StoredInt Bredde{kStart, "Bredde", 630};
inline constexpr StoredInt Status{kStart, "Status", 1};  // 1 normal, 2 minimised, 3 maximised
inline constexpr StoredInt DirHoejde{kStart, "DirHøjde", 140};
inline constexpr StoredInt FilBredde{kStart, "FilBredde", 200};
inline constexpr StoredBool Filboks{kStart, "Filboks", true};
inline constexpr StoredInt Vis{kStart, "Vis", 3};    // 0 large icons, 1 small icons, 2 list, 3 details
inline constexpr StoredInt Fane{kStart, "Fane", 0};  // 0 "HTML", 1 "Medie", 2 "Projekter"
inline constexpr StoredString Sti{kStart, "Sti", ""};
inline constexpr StoredString StiMedie{kStart, "StiMedie", ""};
inline constexpr StoredInt ViewerHoejde{kStart, "ViewerHoejde", 96};
inline constexpr StoredInt SkabHoejde{kStart, "SkabHoejde", 280};
inline constexpr StoredInt SkabBredde{kStart, "SkabBredde", 370};
inline constexpr StoredInt FtpBredde{kStart, "FtpBredde", 430};
inline constexpr StoredInt FtpVisning{kStart, "FtpVisning", 3};
inline constexpr StoredInt Forbindelse{kStart, "Forbindelse", 0};
}  // namespace start

// --- "Indstillinger": the settings dialog's values
namespace indstillinger {
inline constexpr StoredInt Tabulator{kIndstillinger, "Tabulator", 5};
inline constexpr StoredString Font{kIndstillinger, "Font", "Courier New"};
inline constexpr StoredInt FontSize{kIndstillinger, "FontSize", 10};
inline constexpr StoredString FontStyle{kIndstillinger, "FontStyle", ""};  // "fed", "kursiv", "fed kursiv"
inline constexpr StoredInt Kodefarve{kIndstillinger, "Kodefarve", 2};      // 0 none, 1, 2, 3 the user's
inline constexpr StoredBool Ombrydning{kIndstillinger, "Ombrydning", true};
inline constexpr StoredBool StoreBogstaver{kIndstillinger, "StoreBogstaver", false};
inline constexpr StoredBool VisMenu{kIndstillinger, "VisMenu", true};
inline constexpr StoredBool MSIE{kIndstillinger, "MSIE", false};
inline constexpr StoredBool GemHTML{kIndstillinger, "GemHTML", false};
inline constexpr StoredString HTMLhjaelp{kIndstillinger, "HTMLhjælp", ""};
inline constexpr StoredString Grafik{kIndstillinger, "Grafik", ""};
inline constexpr StoredString Email{kIndstillinger, "Email", ""};
inline constexpr StoredString Beskrivelse{kIndstillinger, "Beskrivelse", ""};
inline constexpr StoredString AabnDialog{kIndstillinger, "AabnDialog", ""};
inline constexpr StoredBool Overfoer{kIndstillinger, "Overfoer", false};
inline constexpr StoredBool Desktop{kIndstillinger, "Desktop", false};
inline constexpr StoredBool Viewer{kIndstillinger, "Viewer", true};
inline constexpr StoredBool Knapper{kIndstillinger, "Knapper", false};
inline constexpr StoredBool Ny{kIndstillinger, "Ny", true};
inline constexpr StoredBool Filnavn{kIndstillinger, "Filnavn", false};
inline constexpr StoredBool Lineal{kIndstillinger, "Lineal", true};
inline constexpr StoredBool Autodato{kIndstillinger, "Autodato", true};
inline constexpr StoredString Datoformat{kIndstillinger, "Datoformat", "\"Opdateret d.\" d/m/yy"};
inline constexpr StoredBool Generator{kIndstillinger, "Generator", true};
inline constexpr StoredBool AEOEAAkoder{kIndstillinger, "ÆØÅkoder", false};
inline constexpr StoredBool FarveDialog{kIndstillinger, "FarveDialog", true};
inline constexpr StoredBool WebFonte{kIndstillinger, "WebFonte", true};
inline constexpr StoredBool HTMLtype{kIndstillinger, "HTMLtype", false};
inline constexpr StoredBool BevarUkendtAttrib{kIndstillinger, "BevarUkendtAttrib", false};
// The browser list holds at most this many entries, "Browser" + i and
// "BrowserSti" + i for i = 1..kBrowsers.
inline constexpr int kBrowsers = 5;
}  // namespace indstillinger

// --- "Editor": the colours of the user's own scheme
namespace editor {
inline constexpr StoredColour AlmT{kEditor, "AlmT", 0, COLOR_WINDOWTEXT};
inline constexpr StoredColour AlmB{kEditor, "AlmB", 0, COLOR_WINDOW};
inline constexpr StoredColour ElemT{kEditor, "ElemT", RGB(0xFF, 0x00, 0x00)};
inline constexpr StoredColour AttribT{kEditor, "AttribT", RGB(0x80, 0x00, 0x80)};
inline constexpr StoredColour VaerdiT{kEditor, "VaerdiT", RGB(0x00, 0x00, 0x80)};
inline constexpr StoredColour KomT{kEditor, "KomT", RGB(0x80, 0x80, 0x80)};
inline constexpr StoredColour ElemB{kEditor, "ElemB", 0, COLOR_WINDOW};
inline constexpr StoredColour AttribB{kEditor, "AttribB", 0, COLOR_WINDOW};
inline constexpr StoredColour VaerdiB{kEditor, "VaerdiB", 0, COLOR_WINDOW};
inline constexpr StoredColour KomB{kEditor, "KomB", 0, COLOR_WINDOW};
inline constexpr StoredBool EnsBg{kEditor, "EnsBg", false};
}  // namespace editor

// --- "Linie": the horizontal line dialog's remembered values
namespace linie {
inline constexpr StoredInt Laengde{kLinie, "Laengde", 100};
inline constexpr StoredInt Tykkelse{kLinie, "Tykkelse", 2};
inline constexpr StoredBool Procent{kLinie, "Procent", true};
inline constexpr StoredBool TreD{kLinie, "3D", true};
inline constexpr StoredInt Justering{kLinie, "Justering", 2};
}  // namespace linie

// --- "Skript": the script editor's window
namespace skript {
inline constexpr StoredInt Top{kSkript, "Top", 20};
inline constexpr StoredInt Venstre{kSkript, "Venstre", 20};
inline constexpr StoredInt Bredde{kSkript, "Bredde", 600};
inline constexpr StoredInt Hoejde{kSkript, "Højde", 450};
inline constexpr StoredInt HWidth{kSkript, "HWidth", 177};
}  // namespace skript

// --- "Bokse": values that dialogs remember between uses
namespace bokse {
inline constexpr StoredString Target{kBokse, "Target", ""};
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
