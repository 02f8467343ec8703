// TKestrin: start-up and layout of the main window.
#include "kestrin.h"

#include "documents.h"
#include "qtext.h"
#include "tivra_component.h"

#include <QTabWidget>

namespace {

// "Bredde" and "Højde" of section "Start" while the store has none.
constexpr int kDefaultWidth = 630;
constexpr int kDefaultHeight = 470;

}  // namespace

TKestrin::TKestrin(const EditorSettings& settings, QWidget* parent)
    : QMainWindow(parent), settings_(settings), scheme_(colourSchemeOf(settings)), tabs_(new QTabWidget(this)) {
  setObjectName(QStringLiteral("Kestrin"));
  tabs_->setObjectName(QStringLiteral("TabControl1"));
  setCentralWidget(tabs_);
  resize(kDefaultWidth, kDefaultHeight);
  // The first document: "Nyt dokument 1" with the editor Tivra0.
  appendDocument(QStringLiteral("Nyt dokument 1"));
  QObject::connect(tabs_, &QTabWidget::currentChanged, tabs_, [this](int i) {
    if (i >= 0 && i < documentCount() && i != active_) activateDocument(i);
  });
  setWindowTitle(QStringLiteral("Brimvale's Morvel"));
}

TKestrin::~TKestrin() = default;

void TKestrin::setCommandLineFiles(const QStringList& files) { commandLineFiles_ = files; }

void TKestrin::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  if (!commandLineFiles_.isEmpty()) openFileList(commandLineList(commandLineFiles_));
  activateDocument(active_);
}

morvel::ColourPair TKestrin::tokenColours(WORD wordType, LONG wordValue, const QString& word) const {
  return morvel::tokenColours(scheme_, wordType, wordValue, platform::toCp1252(word));
}
