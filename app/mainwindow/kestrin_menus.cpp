// TKestrin: the menu bar, the editors' pop-up menus popMarkTekst and
// popUmarkTekst, and what each menu brings up to date when it opens.
#include "mainwindow/kestrin.h"

#include "commands/code_insertion.h"
#include "settings/settings_store.h"

#include "component/tivra_component.h"
#include "dialogs/code_box.h"
#include "host.h"
#include "mainwindow/documents.h"
#include "mainwindow/recent_files.h"
#include "settings/indstillinger.h"
#include "startup/help.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <functional>

namespace {

namespace st = morvel::settings;

using Handler = std::function<void()>;

// The Qt keys that give the Windows virtual-key code `vk`, so that a
// shortcut defined by that code works on the keyboards the stand-in knows.
QList<QKeySequence> shortcutsFor(Qt::KeyboardModifiers modifiers, int vk) {
  QList<QKeySequence> keys;
  for (int key = Qt::Key_Space; key <= Qt::Key_ydiaeresis; ++key) {
    if (platform::virtualKeyFromQt(key) == vk) keys << QKeySequence(QKeyCombination(modifiers, Qt::Key(key)));
  }
  return keys;
}

// Return and the keypad's Enter with the same modifiers.
QList<QKeySequence> enterKeys(Qt::KeyboardModifiers modifiers) {
  return {QKeySequence(QKeyCombination(modifiers, Qt::Key_Return)),
          QKeySequence(QKeyCombination(modifiers, Qt::Key_Enter))};
}

QMenu* addMenu(QWidget* owner, QMenu* parent, const QString& name, const QString& caption) {
  QMenu* menu = parent ? parent->addMenu(caption) : static_cast<QMenuBar*>(owner)->addMenu(caption);
  menu->setObjectName(name);
  return menu;
}

QAction* add(QObject* receiver, QMenu* menu, const QString& name, const QString& caption, const Handler& handler,
             const QList<QKeySequence>& keys = {}) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  a->setShortcuts(keys);
  if (handler) QObject::connect(a, &QAction::triggered, receiver, handler);
  return a;
}

QList<QKeySequence> key(QKeyCombination k) { return {QKeySequence(k)}; }

bool textEmpty(const TTivra* e) { return !e || morvel::isEmptyText(*e); }

bool clipboardHasText() { return IsClipboardFormatAvailable(CF_TEXT) != FALSE; }

}  // namespace

QAction* TKestrin::command(const QString& name) const { return findChild<QAction*>(name); }

void TKestrin::createMenus() {
  createFileMenu();
  createEditMenu();
  createFormatMenu();
  createInsertMenu();
  createStructureMenu();
  createFunctionsMenu();
  createViewMenu();
  createHelpMenu();
}

void TKestrin::createFileMenu() {
  QMenu* m = addMenu(menuBar(), nullptr, QStringLiteral("fileMenu"), QStringLiteral("&Filer"));
  connect(m, &QMenu::aboutToShow, this, [this] { fileMenuOpening(); });
  add(
      this, m, QStringLiteral("newFromTemplate"), QStringLiteral("&Ny..."),
      [this] { elementDialogs_.open(ElementDialog::NewFromTemplate); }, key(Qt::CTRL | Qt::Key_N));
  add(
      this, m, QStringLiteral("openFiles"), QStringLiteral("Å&bn..."), [this] { openDialog(); },
      key(Qt::CTRL | Qt::Key_O));
  add(
      this, m, QStringLiteral("mnuGem"), QStringLiteral("&Gem"), [this] { saveDocument(active_); },
      key(Qt::CTRL | Qt::Key_S));
  add(this, m, QStringLiteral("saveAs"), QStringLiteral("Ge&m som..."), [this] { saveDocumentAs(active_); });
  add(this, m, QStringLiteral("saveAll"), QStringLiteral("Gem a&lle"), [this] { saveAllDocuments(); });
  // Ctrl and the key with the code VK_OEM_3: Æ on a Danish keyboard, ` on a US one.
  add(
      this, m, QStringLiteral("saveWithEntityCodes"), QStringLiteral("Gem med &ÆØÅ-koder"),
      [this] { saveWithEntityCodes(); }, shortcutsFor(Qt::ControlModifier, VK_OEM_3));
  m->addSeparator();
  add(
      this, m, QStringLiteral("close"), QStringLiteral("L&uk"), [this] { closeActiveDocument(); },
      key(Qt::CTRL | Qt::Key_F4));
  add(this, m, QStringLiteral("closeAll"), QStringLiteral("Lu&k alle"), [this] { closeAllDocuments(); });
  m->addSeparator();
  add(
      this, m, QStringLiteral("print"), QStringLiteral("&Udskriv..."),
      [this] {
        if (TTivra* e = activeEditor()) e->PrintText();
      },
      key(Qt::CTRL | Qt::Key_P));
  add(this, m, QStringLiteral("printerSetup"), QStringLiteral("Indstil &printer..."), [this] {
    if (TTivra* e = activeEditor()) e->PrintSetup();
  });
  m->addSeparator();
  add(this, m, QStringLiteral("properties"), QStringLiteral("&Egenskaber"), [this] { showProperties(); });
  add(this, m, QStringLiteral("pictureViewer"), QStringLiteral("Bille&dfremviser"), [this] { showPictureViewer(); });
  add(this, m, QStringLiteral("mnuWWW"), QStringLiteral("O&verførsel til Internet..."), [this] { showPublishing(); });
  // The recent files: hidden until the list has entries.
  recentSeparator_ = m->addSeparator();
  recentSeparator_->setVisible(false);
  for (int i = 1; i <= morvel::kRecentFiles; ++i) {
    QAction* a = add(this, m, QStringLiteral("mnuSidsteFil%1").arg(i), QString(), Handler());
    a->setVisible(false);
    connect(a, &QAction::triggered, this, [this, a] { openFile(a->data().toString()); });
  }
  m->addSeparator();
  add(
      this, m, QStringLiteral("exit"), QStringLiteral("&Afslut"), [this] { close(); }, key(Qt::ALT | Qt::Key_F4));
}

void TKestrin::createEditMenu() {
  QMenu* m = addMenu(menuBar(), nullptr, QStringLiteral("editMenu"), QStringLiteral("&Rediger"));
  connect(m, &QMenu::aboutToShow, this, [this] { editMenuOpening(); });
  auto forward = [this](void (TTivra::*operation)()) {
    return [this, operation] {
      if (TTivra* e = activeEditor()) (e->*operation)();
    };
  };
  add(this, m, QStringLiteral("undo"), QStringLiteral("Fo&rtryd"), forward(&TTivra::Undo), key(Qt::CTRL | Qt::Key_Z));
  add(this, m, QStringLiteral("redo"), QStringLiteral("&Annuller fortryd"), forward(&TTivra::Redo),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  m->addSeparator();
  add(this, m, QStringLiteral("cut"), QStringLiteral("&Klip"), forward(&TTivra::Cut));
  add(this, m, QStringLiteral("copy"), QStringLiteral("K&opier"), forward(&TTivra::Copy));
  add(this, m, QStringLiteral("paste"), QStringLiteral("Sæt i&nd"), forward(&TTivra::Paste));
  add(this, m, QStringLiteral("deleteSelection"), QStringLiteral("&Slet"), forward(&TTivra::ClearSelection));
  add(
      this, m, QStringLiteral("selectAll"), QStringLiteral("&Marker alt"), [this] { selectAllCommand(); },
      key(Qt::CTRL | Qt::Key_A));
  m->addSeparator();
  add(
      this, m, QStringLiteral("find"), QStringLiteral("S&øg..."), [this] { findCommand(); }, key(Qt::CTRL | Qt::Key_F));
  add(this, m, QStringLiteral("findNext"), QStringLiteral("Find n&æste"), forward(&TTivra::FindNext), key(Qt::Key_F3));
  add(
      this, m, QStringLiteral("replace"), QStringLiteral("&Erstat..."), [this] { replaceCommand(); },
      key(Qt::CTRL | Qt::Key_R));
  add(this, m, QStringLiteral("goToLine"), QStringLiteral("&Gå til linie..."), forward(&TTivra::GotoLineDialog),
      key(Qt::CTRL | Qt::Key_G));
  m->addSeparator();
  add(this, m, QStringLiteral("mnuUdvidetSoeg"), QStringLiteral("&Udvidet søgning..."),
      [this] { extendedSearch(false); });
  add(this, m, QStringLiteral("mnuUdvidetErstat"), QStringLiteral("Ud&videt erstat..."),
      [this] { extendedSearch(true); });
  m->addSeparator();
  QMenu* danish = addMenu(this, m, QStringLiteral("danishLettersMenu"), QStringLiteral("&Danske tegn"));
  add(this, danish, QStringLiteral("encodeDanishLetters"), QStringLiteral("&Erstat æ, ø, å med koder"),
      [this] { entities_.encodeActiveDocument(); });
  add(this, danish, QStringLiteral("decodeDanishLetters"), QStringLiteral("Er&stat koder med æ, ø, å"),
      [this] { entities_.decodeActiveDocument(); });
  add(this, m, QStringLiteral("stripCodes"), QStringLiteral("Slet &HTML-koder"), [this] { codes_.stripHtmlCodes(); });
  add(this, m, QStringLiteral("codesToUpperCase"), QStringLiteral("Konver&ter koder til store bogstaver"),
      [this] { codes_.convertCodesToUpperCase(active_); });
}

void TKestrin::createFormatMenu() {
  QMenu* m = addMenu(menuBar(), nullptr, QStringLiteral("formatMenu"), QStringLiteral("F&ormater"));
  auto markup = [this](morvel::MarkupCommand c) { return [this, c] { markup_.run(c); }; };
  add(this, m, QStringLiteral("bold"), QStringLiteral("&Fed"), markup(morvel::MarkupCommand::Bold),
      key(Qt::CTRL | Qt::Key_B));
  add(this, m, QStringLiteral("italic"), QStringLiteral("&Kursiv"), markup(morvel::MarkupCommand::Italic),
      key(Qt::CTRL | Qt::Key_I));
  add(this, m, QStringLiteral("underline"), QStringLiteral("&Understreget"), markup(morvel::MarkupCommand::Underline),
      key(Qt::CTRL | Qt::Key_U));
  add(this, m, QStringLiteral("fontSizeUp"), QStringLiteral("Fo&ntstørrelse +1"),
      markup(morvel::MarkupCommand::FontSizeUp), shortcutsFor(Qt::ControlModifier, VK_OEM_PLUS));
  add(this, m, QStringLiteral("fontSizeDown"), QStringLiteral("Fon&tstørrelse -1"),
      markup(morvel::MarkupCommand::FontSizeDown), shortcutsFor(Qt::ControlModifier, VK_OEM_MINUS));
  m->addSeparator();
  const morvel::MarkupCommand headings[] = {morvel::MarkupCommand::Heading1, morvel::MarkupCommand::Heading2,
                                            morvel::MarkupCommand::Heading3, morvel::MarkupCommand::Heading4,
                                            morvel::MarkupCommand::Heading5, morvel::MarkupCommand::Heading6};
  const Qt::Key digits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5, Qt::Key_6};
  for (int n = 1; n <= 6; ++n) {
    // Shift with a digit gives another character on most keyboards; the
    // key itself is what counts.
    QAction* a = add(this, m, QStringLiteral("heading%1").arg(n), QStringLiteral("Overskrift &%1").arg(n),
                     markup(headings[n - 1]), shortcutsFor(Qt::ControlModifier | Qt::ShiftModifier, '0' + n));
    if (a->shortcuts().isEmpty()) a->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | digits[n - 1]));
  }
  add(this, m, QStringLiteral("typewriter"), QStringLiteral("Skriv&emaskine"),
      markup(morvel::MarkupCommand::Typewriter));
  add(this, m, QStringLiteral("preformatted"), QStringLiteral("&Præformateret"),
      markup(morvel::MarkupCommand::Preformatted));
  m->addSeparator();
  add(this, m, QStringLiteral("center"), QStringLiteral("&Centrér"), markup(morvel::MarkupCommand::Center),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  add(this, m, QStringLiteral("alignRight"), QStringLiteral("&Højrejustér"), markup(morvel::MarkupCommand::AlignRight));
  add(this, m, QStringLiteral("justify"), QStringLiteral("&Lige margener"), markup(morvel::MarkupCommand::Justify));
  m->addSeparator();
  add(
      this, m, QStringLiteral("fontDialog"), QStringLiteral("&Skrifttype..."),
      [this] { elementDialogs_.open(ElementDialog::Font); }, key(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  add(this, m, QStringLiteral("webColour"), QStringLiteral("&Farve, Webfarvedialog..."),
      [this] { elementDialogs_.open(ElementDialog::WebColour); });
  add(this, m, QStringLiteral("systemColour"), QStringLiteral("Farve, &Windowsdialog..."),
      markup(morvel::MarkupCommand::SystemColour));
}

void TKestrin::createInsertMenu() {
  QMenu* m = addMenu(menuBar(), nullptr, QStringLiteral("insertMenu"), QStringLiteral("&Indsæt"));
  connect(m, &QMenu::aboutToShow, this, [this] { insertMenuOpening(); });
  auto markup = [this](morvel::MarkupCommand c) { return [this, c] { markup_.run(c); }; };
  auto dialog = [this](ElementDialog d) { return [this, d] { elementDialogs_.open(d); }; };
  add(this, m, QStringLiteral("lineBreak"), QStringLiteral("Linie&skift"), markup(morvel::MarkupCommand::LineBreak),
      enterKeys(Qt::ControlModifier));
  add(this, m, QStringLiteral("paragraph"), QStringLiteral("&Afsnit"), markup(morvel::MarkupCommand::Paragraph),
      enterKeys(Qt::ShiftModifier));
  add(this, m, QStringLiteral("horizontalRule"), QStringLiteral("Vand&ret linie"),
      markup(morvel::MarkupCommand::HorizontalRule), key(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
  add(this, m, QStringLiteral("nonBreakingSpace"), QStringLiteral("H&årdt mellemrum"),
      markup(morvel::MarkupCommand::NonBreakingSpace), key(Qt::CTRL | Qt::Key_Space));
  add(this, m, QStringLiteral("comment"), QStringLiteral("&Kommentar"), markup(morvel::MarkupCommand::Comment),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
  add(this, m, QStringLiteral("updateDate"), QStringLiteral("&Opdateringsdato"),
      markup(morvel::MarkupCommand::UpdateDate), key(Qt::Key_F6));
  m->addSeparator();
  add(this, m, QStringLiteral("linkDialog"), QStringLiteral("&Henvisning..."), dialog(ElementDialog::Link),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_H));
  add(this, m, QStringLiteral("emailDialog"), QStringLiteral("&E-mail..."), dialog(ElementDialog::Email),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
  add(this, m, QStringLiteral("pictureDialog"), QStringLiteral("&Grafik..."), dialog(ElementDialog::Picture),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_G));
  add(this, m, QStringLiteral("soundDialog"), QStringLiteral("Ly&d..."), dialog(ElementDialog::Sound));
  add(this, m, QStringLiteral("lineDialog"), QStringLiteral("&Linie..."), dialog(ElementDialog::Line),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
  m->addSeparator();
  QMenu* codes = addMenu(this, m, QStringLiteral("userCodesMenu"), QStringLiteral("Br&ugerkoder"));
  const Qt::Key digits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,
                            Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9};
  for (int i = 1; i <= 9; ++i) {
    QAction* a = add(
        this, codes, QStringLiteral("mnuB%1").arg(i), QString(), [this, i] { markup_.userCode(i); },
        key(Qt::CTRL | digits[i - 1]));
    a->setVisible(false);
  }
  insertMenuOpening();
}

void TKestrin::createStructureMenu() {
  QMenu* m = addMenu(menuBar(), nullptr, QStringLiteral("structureMenu"), QStringLiteral("&Struktur"));
  auto markup = [this](morvel::MarkupCommand c) { return [this, c] { markup_.run(c); }; };
  auto dialog = [this](ElementDialog d) { return [this, d] { elementDialogs_.open(d); }; };
  add(this, m, QStringLiteral("tableDialog"), QStringLiteral("&Tabel..."), dialog(ElementDialog::Table),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  add(this, m, QStringLiteral("tableRow"), QStringLiteral("&Række"), markup(morvel::MarkupCommand::TableRow),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
  add(this, m, QStringLiteral("tableCell"), QStringLiteral("Tabel&celle"), markup(morvel::MarkupCommand::TableCell),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
  m->addSeparator();
  add(this, m, QStringLiteral("listDialog"), QStringLiteral("Punkt&opstilling..."), dialog(ElementDialog::List),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
  add(this, m, QStringLiteral("listItem"), QStringLiteral("&Punkt"), markup(morvel::MarkupCommand::ListItem),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_U));
  m->addSeparator();
  add(this, m, QStringLiteral("framesDialog"), QStringLiteral("Ra&mmer..."), dialog(ElementDialog::Frames));
  add(this, m, QStringLiteral("formDialog"), QStringLiteral("&Formular..."), dialog(ElementDialog::Form),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
  m->addSeparator();
  add(
      this, m, QStringLiteral("baseCodes"), QStringLiteral("&Basiskoder, ny side..."),
      [this] { elementDialogs_.baseCodes(); }, key(Qt::CTRL | Qt::SHIFT | Qt::Key_Q));
  add(this, m, QStringLiteral("metaDialog"), QStringLiteral("&Meta-information..."), dialog(ElementDialog::Meta),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
  add(this, m, QStringLiteral("scriptEditor"), QStringLiteral("&Skripteditor..."), dialog(ElementDialog::ScriptEditor),
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_J));
}

void TKestrin::createFunctionsMenu() {
  QMenu* m = addMenu(menuBar(), nullptr, QStringLiteral("functionsMenu"), QStringLiteral("F&unktioner"));
  connect(m, &QMenu::aboutToShow, this, [this] { functionsMenuOpening(); });
  add(
      this, m, QStringLiteral("checkCodes"), QStringLiteral("Tje&k HTML-koder"), [this] { codes_.checkHtmlCodes(); },
      key(Qt::Key_F9));
  add(
      this, m, QStringLiteral("codeBox"), QStringLiteral("H&TML-kodeboks"), [this] { toggleCodeBox(); },
      key(Qt::Key_F8))
      ->setCheckable(true);
  add(this, m, QStringLiteral("wordWrap"), QStringLiteral("&Tekstombrydning"), [this] {
    toggleWordWrap();
  })->setCheckable(true);
  m->addSeparator();
  QAction* master = add(this, m, QStringLiteral("masterPage"), QStringLiteral("&Moderside"), Handler());
  master->setCheckable(true);
  connect(master, &QAction::toggled, this, [this](bool on) { toggleMasterPage(on); });
  add(this, m, QStringLiteral("renameTitle"), QStringLiteral("&Omdøb titel..."),
      [this] { elementDialogs_.open(ElementDialog::RenameTitle); });
  m->addSeparator();
  add(
      this, m, QStringLiteral("showSettings"), QStringLiteral("&Indstillinger..."), [this] { showSettings(); },
      key(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
}

void TKestrin::createViewMenu() {
  QMenu* m = addMenu(menuBar(), nullptr, QStringLiteral("viewMenu"), QStringLiteral("&Vis"));
  // The check mark is the panes' state: a click has set it already.
  QAction* panes =
      add(this, m, QStringLiteral("mnuSkjulFilboks"), QStringLiteral("Fil&håndtering"), Handler(), key(Qt::Key_F7));
  panes->setCheckable(true);
  connect(panes, &QAction::triggered, this, [this](bool checked) { setFilePanesShown(checked); });
  add(this, m, QStringLiteral("mnuSoegeRes"), QStringLiteral("&Søgeresultater"), [this] {
    toggleSearchResults();
  })->setCheckable(true);
  m->addSeparator();
  viewStyles_ = new QActionGroup(this);
  const QString styles[] = {QStringLiteral("&Store ikoner"), QStringLiteral("S&må ikoner"), QStringLiteral("O&versigt"),
                            QStringLiteral("D&etaljer")};
  const QString names[] = {QStringLiteral("viewLargeIcons"), QStringLiteral("viewSmallIcons"),
                           QStringLiteral("viewList"), QStringLiteral("viewDetails")};
  for (int style = 0; style < 4; ++style) {
    QAction* a = add(this, m, names[style], styles[style], [this, style] { setFileListView(style); });
    a->setCheckable(true);
    viewStyles_->addAction(a);
  }
  m->addSeparator();
  add(
      this, m, QStringLiteral("externalBrowser"), QStringLiteral("Vis side i &ekstern browser"),
      [this] { previewInExternalBrowser(false); }, key(Qt::Key_F11));
  add(
      this, m, QStringLiteral("internalBrowser"), QStringLiteral("I&ntern browser"),
      [this] { toggleInternalBrowser(); }, key(Qt::Key_F12))
      ->setCheckable(true);
  QMenu* sizes = addMenu(this, m, QStringLiteral("browserSizeMenu"), QStringLiteral("Intern &browserstørrelse"));
  add(this, sizes, QStringLiteral("browser640"), QStringLiteral("&640x480"),
      [this] { setInternalBrowserSize(640, 360); });
  add(this, sizes, QStringLiteral("browser800"), QStringLiteral("&800x600"),
      [this] { setInternalBrowserSize(800, 480); });
  add(this, sizes, QStringLiteral("browser1024"), QStringLiteral("&1024x768"),
      [this] { setInternalBrowserSize(1024, 648); });
  m->addSeparator();
  add(
      this, m, QStringLiteral("refresh"), QStringLiteral("Op&dater"), [this] { refreshCommand(); }, key(Qt::Key_F5));
}

void TKestrin::createHelpMenu() {
  QMenu* m = addMenu(menuBar(), nullptr, QStringLiteral("helpMenu"), QStringLiteral("&Hjælp"));
  add(
      this, m, QStringLiteral("helpContents"), QStringLiteral("&Hjælp"),
      [this] { morvel::help::show(this, morvel::help::contentsPage()); }, key(Qt::Key_F1));
  add(this, m, QStringLiteral("keyboardShortcuts"), QStringLiteral("&Tastaturgenveje"),
      [this] { morvel::help::show(this, morvel::help::pageForContext(morvel::help::kKeyboardShortcutsContext)); });
  add(this, m, QStringLiteral("searchHelp"), QStringLiteral("&Søg hjælp om..."),
      [this] { morvel::help::show(this, morvel::help::searchPage()); });
  add(
      this, m, QStringLiteral("htmlHelp"), QStringLiteral("HT&ML-hjælp"), [this] { showHtmlHelp(); },
      key(Qt::SHIFT | Qt::Key_F1));
  m->addSeparator();
  add(this, m, QStringLiteral("about"), QStringLiteral("&Om Morvel..."), [this] { showAbout(); });
}

void TKestrin::createPopupMenus() {
  auto markup = [this](morvel::MarkupCommand c) { return [this, c] { markup_.run(c); }; };
  auto dialog = [this](ElementDialog d) { return [this, d] { elementDialogs_.open(d); }; };
  auto forward = [this](void (TTivra::*operation)()) {
    return [this, operation] {
      if (TTivra* e = activeEditor()) (e->*operation)();
    };
  };

  // Formatting commands for a selection.
  popMarkTekst_ = new QMenu(this);
  popMarkTekst_->setObjectName(QStringLiteral("popMarkTekst"));
  connect(popMarkTekst_, &QMenu::aboutToShow, this, [this] { popMarkTekstOpening(); });
  QMenu* p = popMarkTekst_;
  add(this, p, QStringLiteral("selectionCut"), QStringLiteral("&Klip"), forward(&TTivra::Cut));
  add(this, p, QStringLiteral("selectionCopy"), QStringLiteral("K&opier"), forward(&TTivra::Copy));
  add(this, p, QStringLiteral("selectionPaste"), QStringLiteral("S&æt ind"), forward(&TTivra::Paste));
  p->addSeparator();
  add(this, p, QStringLiteral("selectionBold"), QStringLiteral("&Fed"), markup(morvel::MarkupCommand::Bold));
  add(this, p, QStringLiteral("selectionItalic"), QStringLiteral("&Kursiv"), markup(morvel::MarkupCommand::Italic));
  add(this, p, QStringLiteral("selectionUnderline"), QStringLiteral("&Understreget"),
      markup(morvel::MarkupCommand::Underline));
  add(this, p, QStringLiteral("selectionFontSizeUp"), QStringLiteral("Fo&ntstørrelse +1"),
      markup(morvel::MarkupCommand::FontSizeUp));
  add(this, p, QStringLiteral("selectionFontSizeDown"), QStringLiteral("Fon&tstørrelse -1"),
      markup(morvel::MarkupCommand::FontSizeDown));
  p->addSeparator();
  add(this, p, QStringLiteral("selectionCenter"), QStringLiteral("&Centrér"), markup(morvel::MarkupCommand::Center));
  add(this, p, QStringLiteral("selectionFont"), QStringLiteral("&Skrifttype..."), dialog(ElementDialog::Font));
  add(this, p, QStringLiteral("selectionLink"), QStringLiteral("&Henvisning..."), dialog(ElementDialog::Link));
  add(this, p, QStringLiteral("selectionComment"), QStringLiteral("&Kommentar"),
      markup(morvel::MarkupCommand::Comment));

  // The document commands come first: a right click on a tab shows only
  // them (the first seven items).
  popUmarkTekst_ = new QMenu(this);
  popUmarkTekst_->setObjectName(QStringLiteral("popUmarkTekst"));
  connect(popUmarkTekst_, &QMenu::aboutToShow, this, [this] { functionsMenuOpening(); });
  p = popUmarkTekst_;
  add(this, p, QStringLiteral("documentClose"), QStringLiteral("L&uk dokument"), [this] { closeActiveDocument(); });
  p->addSeparator();
  add(this, p, QStringLiteral("popTilWWW"), QStringLiteral("Overfør til Internet..."),
      [this] { publishActiveDocument(); });
  add(this, p, QStringLiteral("documentBrowser"), QStringLiteral("&Åbn side i browser"),
      [this] { previewInExternalBrowser(false); });
  add(this, p, QStringLiteral("documentProperties"), QStringLiteral("Egen&skaber"), [this] { showProperties(); });
  p->addSeparator();
  QAction* master = add(this, p, QStringLiteral("documentMasterPage"), QStringLiteral("&Moderside"), Handler());
  master->setCheckable(true);
  connect(master, &QAction::toggled, this, [this](bool on) { toggleMasterPage(on); });
  p->addSeparator();
  add(this, p, QStringLiteral("documentPaste"), QStringLiteral("S&æt ind"), forward(&TTivra::Paste));
  p->addSeparator();
  add(this, p, QStringLiteral("documentBaseCodes"), QStringLiteral("&Basiskoder - sideegenskaber..."),
      [this] { elementDialogs_.baseCodes(); });
  add(this, p, QStringLiteral("documentRenameTitle"), QStringLiteral("&Omdøb titel..."),
      dialog(ElementDialog::RenameTitle));
  add(this, p, QStringLiteral("documentLink"), QStringLiteral("&Henvisning..."), dialog(ElementDialog::Link));
  add(this, p, QStringLiteral("documentEmail"), QStringLiteral("&E-mailadresse..."), dialog(ElementDialog::Email));
  add(this, p, QStringLiteral("documentPicture"), QStringLiteral("&Grafik..."), dialog(ElementDialog::Picture));
  add(this, p, QStringLiteral("documentTable"), QStringLiteral("&Tabel..."), dialog(ElementDialog::Table));
  add(this, p, QStringLiteral("documentComment"), QStringLiteral("&Kommentar"), markup(morvel::MarkupCommand::Comment));
  add(this, p, QStringLiteral("documentUpdateDate"), QStringLiteral("&Opdateringsdato"),
      markup(morvel::MarkupCommand::UpdateDate));
}

// ---------------------------------------------------------------------------
// Menus opening

void TKestrin::fileMenuOpening() {
  const TTivra* e = activeEditor();
  command(QStringLiteral("mnuGem"))->setEnabled(e && e->Modified());
  command(QStringLiteral("print"))->setEnabled(!textEmpty(e));
  command(QStringLiteral("properties"))->setEnabled(!activeFileName().isEmpty());
  showRecentFiles();
}

void TKestrin::showRecentFiles() {
  const QStringList files = morvel::recentFiles(store_);
  if (files.value(0).isEmpty()) return;
  recentSeparator_->setVisible(true);
  // Items once shown stay for the run; an empty entry ends the list.
  for (int i = 1; i <= morvel::kRecentFiles && !files.value(i - 1).isEmpty(); ++i) {
    QAction* item = command(QStringLiteral("mnuSidsteFil%1").arg(i));
    const QString path = files.value(i - 1);
    // The path shows as it is: an "&" in it marks no shortcut letter.
    item->setText(QStringLiteral("&%1. ").arg(i) + QString(path).replace(QLatin1Char('&'), QStringLiteral("&&")));
    item->setData(path);
    item->setVisible(true);
  }
}

void TKestrin::editMenuOpening() {
  const TTivra* e = activeEditor();
  const bool selection = e && e->SelLength() > 0;
  const bool text = !textEmpty(e);
  command(QStringLiteral("paste"))->setEnabled(clipboardHasText());
  command(QStringLiteral("undo"))->setEnabled(e && e->CanUndo());
  command(QStringLiteral("redo"))->setEnabled(e && e->CanRedo());
  for (const char* name : {"cut", "copy", "deleteSelection"}) command(QString::fromLatin1(name))->setEnabled(selection);
  for (const char* name : {"find", "findNext", "replace", "goToLine", "stripCodes"})
    command(QString::fromLatin1(name))->setEnabled(text);
}

void TKestrin::functionsMenuOpening() {
  TTivra* e = activeEditor();
  const QString upper = e ? e->Text().toUpper() : QString();
  const bool browser = internalBrowserShown();
  // Setting the check marks must not toggle the master page itself.
  for (const char* name : {"masterPage", "documentMasterPage"}) {
    QAction* a = command(QString::fromLatin1(name));
    const QSignalBlocker quiet(a);
    a->setChecked(masterPage_ >= 0 && masterPage_ == active_);
  }
  const bool titled = (upper.contains(QLatin1String("<TITLE>")) || upper.contains(QLatin1String("<HEAD>"))) && !browser;
  command(QStringLiteral("renameTitle"))->setEnabled(titled);
  command(QStringLiteral("documentRenameTitle"))->setEnabled(titled);
  command(QStringLiteral("checkCodes"))->setEnabled(!textEmpty(e) && !browser);
  command(QStringLiteral("documentPaste"))->setEnabled(clipboardHasText());
  command(QStringLiteral("documentProperties"))->setEnabled(!activeFileName().isEmpty());
}

void TKestrin::insertMenuOpening() {
  // The user's own codes: an item for each slot with a description.
  for (int i = 1; i <= 9; ++i) {
    QAction* item = command(QStringLiteral("mnuB%1").arg(i));
    const QString caption = QString::fromStdString(store_.ReadString(st::kKoder, st::userCode(i, 'a'), ""));
    item->setText(caption);
    item->setVisible(!caption.isEmpty());
  }
  if (QMenu* codes = findChild<QMenu*>(QStringLiteral("userCodesMenu")))
    codes->setEnabled(command(QStringLiteral("mnuB1"))->isVisible());
}

void TKestrin::toggleCodeBox() {
  TKodeboks& box = elementDialogs_.codeBox();
  if (!box.OnClose) {
    // However the box is closed, the menu item and the tool button let go.
    box.OnClose = [this] {
      command(QStringLiteral("codeBox"))->setChecked(false);
      command(QStringLiteral("codeBoxButton"))->setChecked(false);
    };
    // The keys Ctrl+1 to Ctrl+9 follow the user codes at once.
    box.OnUserCodesChanged = [this] { insertMenuOpening(); };
  }
  const bool show = command(QStringLiteral("codeBox"))->isChecked();
  command(QStringLiteral("codeBoxButton"))->setChecked(show);
  if (!show) {
    box.reject();
    return;
  }
  box.show();
  box.raise();
  box.activateWindow();
}

void TKestrin::popMarkTekstOpening() { command(QStringLiteral("selectionPaste"))->setEnabled(clipboardHasText()); }
