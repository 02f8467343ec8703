// TKestrin: start-up and layout of the main window.
#include "kestrin.h"

#include "controls/status_bar.h"
#include "documents.h"
#include "indstillinger.h"
#include "host.h"
#include "interaction.h"
#include "qtext.h"
#include "settings_store.h"
#include "tivra_component.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QTabWidget>

namespace st = morvel::settings;

namespace {

// "Bredde" and "Højde" of section "Start" while the store has none.
constexpr int kDefaultWidth = st::start::Bredde.fallback;
constexpr int kDefaultHeight = st::start::Hoejde.fallback;

// Status bar panels: widths at 96 dots per inch (panel 0 takes the rest).
constexpr int kPanelWidths[] = {0, 80, 60, 60, 60, 140};
const QString kNotSaved = QStringLiteral("Dokumentet er ikke gemt");

int scaled(const QWidget* w, int pixelsAt96) { return pixelsAt96 * w->logicalDpiX() / 96; }

// The Qt keys that give the Windows virtual-key code `vk`, so that a
// shortcut defined by that code works on the keyboards the stand-in knows.
QList<QKeySequence> shortcutsFor(Qt::KeyboardModifiers modifiers, int vk) {
  QList<QKeySequence> keys;
  for (int key = Qt::Key_Space; key <= Qt::Key_ydiaeresis; ++key) {
    if (platform::virtualKeyFromQt(key) == vk) keys << QKeySequence(QKeyCombination(modifiers, Qt::Key(key)));
  }
  return keys;
}

}  // namespace

TKestrin::TKestrin(morvel::RegIniFile& store, QWidget* parent)
    : QMainWindow(parent), store_(store), tabs_(new QTabWidget(this)) {
  setObjectName(QStringLiteral("Kestrin"));
  tabs_->setObjectName(QStringLiteral("TabControl1"));
  setCentralWidget(tabs_);
  resize(kDefaultWidth, kDefaultHeight);
  createStatusBar();
  createMenus();
  entityConversion_ = st::read(store_, st::indstillinger::AEOEAAkoder);
  automaticDate_ = st::read(store_, st::indstillinger::Autodato);
  // The settings dialog comes before the first editor, which takes its look.
  indstillinger_ = std::make_unique<TIndstillinger>(*this, store_);
  // The first document: "Nyt dokument 1" with the editor Tivra0.
  appendDocument(QStringLiteral("Nyt dokument 1"));
  QObject::connect(tabs_, &QTabWidget::currentChanged, tabs_, [this](int i) {
    if (i >= 0 && i < documentCount() && i != active_) activateDocument(i);
  });
  setWindowTitle(QStringLiteral("Brimvale's Morvel"));
}

TKestrin::~TKestrin() = default;

void TKestrin::createStatusBar() {
  statusBar_ = new TFriendlyStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("StatusBar1"));
  const QString texts[] = {kNotSaved, QStringLiteral("0 tegn"), QStringLiteral("1:1"), QString(),
                           QStringLiteral("Dato"), QString()};
  for (int i = 0; i < 6; ++i) statusBar_->AddPanel(texts[i], i == 0 ? 0 : scaled(this, kPanelWidths[i]));
  QLabel* last = statusBar_->Panel(5);
  last->setFrameShape(QFrame::NoFrame);
  last->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  // The progress bar of long work covers the first panel while it runs.
  progressBar_ = new QProgressBar(statusBar_->Panel(0));
  progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
  progressBar_->setRange(0, 100);
  progressBar_->setTextVisible(false);
  progressBar_->hide();
  auto* cover = new QHBoxLayout(statusBar_->Panel(0));
  cover->setContentsMargins(0, 0, 0, 0);
  cover->addWidget(progressBar_);

  auto* overwrite = new QLabel(QStringLiteral("Overskriv"), statusBar_->Panel(3));
  overwrite->setObjectName(QStringLiteral("lblOverskriv"));
  overwrite->setEnabled(false);  // enabled while the editor overwrites
  auto* place = new QHBoxLayout(statusBar_->Panel(3));
  place->setContentsMargins(2, 0, 0, 0);
  place->addWidget(overwrite);
  setStatusBar(statusBar_);
}

void TKestrin::createMenus() {
  auto action = [this](QMenu* menu, const QString& name, const QString& caption, auto handler) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    QObject::connect(a, &QAction::triggered, this, handler);
    return a;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&Filer"));
  file->setObjectName(QStringLiteral("fileMenu"));
  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Rediger"));
  edit->setObjectName(QStringLiteral("editMenu"));
  QMenu* functions = menuBar()->addMenu(QStringLiteral("F&unktioner"));
  functions->setObjectName(QStringLiteral("functionsMenu"));

  // Ctrl and the key with the code VK_OEM_3: Æ on a Danish keyboard, ` on a US one.
  action(file, QStringLiteral("saveWithEntityCodes"), QStringLiteral("Gem med &ÆØÅ-koder"), [this] {
    saveWithEntityCodes();
  })->setShortcuts(shortcutsFor(Qt::ControlModifier, VK_OEM_3));

  QMenu* danish = edit->addMenu(QStringLiteral("&Danske tegn"));
  danish->setObjectName(QStringLiteral("danishLettersMenu"));
  action(danish, QStringLiteral("encodeDanishLetters"), QStringLiteral("&Erstat æ, ø, å med koder"),
         [this] { encodeActiveDocument(); });
  action(danish, QStringLiteral("decodeDanishLetters"), QStringLiteral("Er&stat koder med æ, ø, å"),
         [this] { decodeActiveDocument(); });

  action(functions, QStringLiteral("showSettings"), QStringLiteral("&Indstillinger..."), [this] {
    showSettings();
  })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
}

void TKestrin::setCommandLineFiles(const QStringList& files) { commandLineFiles_ = files; }

void TKestrin::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  if (!commandLineFiles_.isEmpty()) openFileList(commandLineList(commandLineFiles_));
  activateDocument(active_);
}

void TKestrin::applyEditorLook(const EditorLook& look) {
  look_ = look;
  for (TTivra* e : editors_) ::applyEditorLook(*e, look_);
}

void TKestrin::showSettings() { platform::runModal(indstillinger_.get(), this); }

morvel::ColourPair TKestrin::tokenColours(WORD wordType, LONG wordValue, const QString& word) const {
  return morvel::tokenColours(look_.scheme, wordType, wordValue, platform::toCp1252(word));
}
