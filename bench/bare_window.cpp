// A bare Qt window of our own to measure the program against: a main
// window with the menus of Morvex's main window (the menu bar, its two
// pop-up menus, the same captions and shortcuts, as of this writing) and a
// plain text widget per page, holding the page. Nothing else: no editor
// control, no settings, no projects.
//
//   bare_window --screenshot FILE.png [pages...]
//
// opens the pages, shows the window, renders it into FILE.png and ends, as
// `morvex --screenshot` does.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// One entry a line: "M" a menu of the menu bar, "S" a submenu of the menu
// at hand up to "E", "P" a pop-up menu, "A" a command (a TAB before its
// shortcut), "H" a hidden command, "-" a separator.
const char* const kMenus[] = {"M&Filer",
                              "A&Ny...\tCtrl+N",
                              "AÅ&bn...\tCtrl+O",
                              "A&Gem\tCtrl+S",
                              "AGe&m som...",
                              "AGem a&lle",
                              "AGem med &ÆØÅ-koder\tCtrl+`",
                              "-",
                              "AL&uk\tCtrl+F4",
                              "ALu&k alle",
                              "-",
                              "A&Udskriv...\tCtrl+P",
                              "AIndstil &printer...",
                              "-",
                              "A&Egenskaber",
                              "ABille&dfremviser",
                              "AO&verførsel til Internet...",
                              "-",
                              "H&1.",
                              "H&2.",
                              "H&3.",
                              "H&4.",
                              "H&5.",
                              "H&6.",
                              "H&7.",
                              "H&8.",
                              "H&9.",
                              "-",
                              "A&Afslut\tAlt+F4",
                              "M&Rediger",
                              "AFo&rtryd\tCtrl+Z",
                              "A&Annuller fortryd\tCtrl+Shift+Z",
                              "-",
                              "A&Klip",
                              "AK&opier",
                              "ASæt i&nd",
                              "A&Slet",
                              "A&Marker alt\tCtrl+A",
                              "-",
                              "AS&øg...\tCtrl+F",
                              "AFind n&æste\tF3",
                              "A&Erstat...\tCtrl+R",
                              "A&Gå til linie...\tCtrl+G",
                              "-",
                              "A&Udvidet søgning...",
                              "AUd&videt erstat...",
                              "-",
                              "S&Danske tegn",
                              "A&Erstat æ, ø, å med koder",
                              "AEr&stat koder med æ, ø, å",
                              "E",
                              "ASlet &HTML-koder",
                              "AKonver&ter koder til store bogstaver",
                              "MF&ormater",
                              "A&Fed\tCtrl+B",
                              "A&Kursiv\tCtrl+I",
                              "A&Understreget\tCtrl+U",
                              "AFo&ntstørrelse +1\tCtrl++",
                              "AFon&tstørrelse -1\tCtrl+-",
                              "-",
                              "AOverskrift &1\tCtrl+Shift+1",
                              "AOverskrift &2\tCtrl+Shift+2",
                              "AOverskrift &3\tCtrl+Shift+3",
                              "AOverskrift &4\tCtrl+Shift+4",
                              "AOverskrift &5\tCtrl+Shift+5",
                              "AOverskrift &6\tCtrl+Shift+6",
                              "ASkriv&emaskine",
                              "A&Præformateret",
                              "-",
                              "A&Centrér\tCtrl+Shift+C",
                              "A&Højrejustér",
                              "A&Lige margener",
                              "-",
                              "A&Skrifttype...\tCtrl+Shift+S",
                              "A&Farve, Webfarvedialog...",
                              "AFarve, &Windowsdialog...",
                              "M&Indsæt",
                              "ALinie&skift\tCtrl+Return",
                              "A&Afsnit\tShift+Return",
                              "AVand&ret linie\tCtrl+Shift+V",
                              "AH&årdt mellemrum\tCtrl+Space",
                              "A&Kommentar\tCtrl+Shift+K",
                              "A&Opdateringsdato\tF6",
                              "-",
                              "A&Henvisning...\tCtrl+Shift+H",
                              "A&E-mail...\tCtrl+Shift+E",
                              "A&Grafik...\tCtrl+Shift+G",
                              "ALy&d...",
                              "A&Linie...\tCtrl+Shift+L",
                              "-",
                              "SBr&ugerkoder",
                              "H\tCtrl+1",
                              "H\tCtrl+2",
                              "H\tCtrl+3",
                              "H\tCtrl+4",
                              "H\tCtrl+5",
                              "H\tCtrl+6",
                              "H\tCtrl+7",
                              "H\tCtrl+8",
                              "H\tCtrl+9",
                              "E",
                              "M&Struktur",
                              "A&Tabel...\tCtrl+Shift+T",
                              "A&Række\tCtrl+Shift+R",
                              "ATabel&celle\tCtrl+Shift+D",
                              "-",
                              "APunkt&opstilling...\tCtrl+Shift+O",
                              "A&Punkt\tCtrl+Shift+U",
                              "-",
                              "ARa&mmer...",
                              "A&Formular...\tCtrl+Shift+F",
                              "-",
                              "A&Basiskoder, ny side...\tCtrl+Shift+Q",
                              "A&Meta-information...\tCtrl+Shift+M",
                              "A&Skripteditor...\tCtrl+Shift+J",
                              "MF&unktioner",
                              "ATje&k HTML-koder\tF9",
                              "AH&TML-kodeboks\tF8",
                              "A&Tekstombrydning",
                              "-",
                              "A&Moderside",
                              "A&Omdøb titel...",
                              "-",
                              "A&Indstillinger...\tCtrl+Shift+I",
                              "M&Vis",
                              "AFil&håndtering\tF7",
                              "A&Søgeresultater",
                              "-",
                              "A&Store ikoner",
                              "AS&må ikoner",
                              "AO&versigt",
                              "AD&etaljer",
                              "-",
                              "AVis side i &ekstern browser\tF11",
                              "AI&ntern browser\tF12",
                              "SIntern &browserstørrelse",
                              "A&640x480",
                              "A&800x600",
                              "A&1024x768",
                              "E",
                              "-",
                              "AOp&dater\tF5",
                              "M&Hjælp",
                              "A&Hjælp\tF1",
                              "A&Tastaturgenveje",
                              "A&Søg hjælp om...",
                              "AHT&ML-hjælp\tShift+F1",
                              "-",
                              "A&Om Morvel...",
                              "P",
                              "A&Klip",
                              "AK&opier",
                              "AS&æt ind",
                              "-",
                              "A&Fed",
                              "A&Kursiv",
                              "A&Understreget",
                              "AFo&ntstørrelse +1",
                              "AFon&tstørrelse -1",
                              "-",
                              "A&Centrér",
                              "A&Skrifttype...",
                              "A&Henvisning...",
                              "A&Kommentar",
                              "P",
                              "AL&uk dokument",
                              "-",
                              "AOverfør til Internet...",
                              "A&Åbn side i browser",
                              "AEgen&skaber",
                              "-",
                              "A&Moderside",
                              "-",
                              "AS&æt ind",
                              "-",
                              "A&Basiskoder - sideegenskaber...",
                              "A&Omdøb titel...",
                              "A&Henvisning...",
                              "A&E-mailadresse...",
                              "A&Grafik...",
                              "A&Tabel...",
                              "A&Kommentar",
                              "A&Opdateringsdato"};

void addMenus(QMainWindow& window) {
  QMenu* menu = nullptr;
  QMenu* outer = nullptr;
  std::vector<QMenu*> popups;
  for (const char* entry : kMenus) {
    const QString text = QString::fromUtf8(entry + 1);
    const QString caption = text.section(QLatin1Char('\t'), 0, 0);
    const QString keys = text.section(QLatin1Char('\t'), 1);
    switch (entry[0]) {
      case 'M':
        menu = window.menuBar()->addMenu(caption);
        break;
      case 'S':
        outer = menu;
        menu = menu->addMenu(caption);
        break;
      case 'E':
        menu = outer;
        break;
      case 'P':
        popups.push_back(new QMenu(&window));
        menu = popups.back();
        break;
      case '-':
        menu->addSeparator();
        break;
      default: {
        QAction* action = menu->addAction(caption);
        if (!keys.isEmpty()) action->setShortcut(QKeySequence(keys));
        action->setVisible(entry[0] != 'H');
        break;
      }
    }
  }
}

// The page's bytes as the program's editor holds them: one byte a
// character.
QString readPage(const char* name) {
  QFile file(QString::fromLocal8Bit(name));
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromLatin1(file.readAll());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || std::strcmp(argv[1], "--screenshot") != 0) {
    std::fprintf(stderr, "usage: bare_window --screenshot FILE.png [pages...]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QMainWindow window;
  addMenus(window);
  auto* pages = new QTabWidget(&window);
  for (int i = 3; i < argc; ++i) {
    auto* text = new QPlainTextEdit(pages);
    text->setPlainText(readPage(argv[i]));
    pages->addTab(text, QString::fromLocal8Bit(argv[i]));
  }
  window.setCentralWidget(pages);
  // The main window's size when no settings say otherwise.
  window.resize(630, 470);
  window.show();
  QApplication::processEvents();
  return window.grab().toImage().save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
