#include "dialogs/script_editor.h"

#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/status_bar.h"
#include "dialogs/browser_window_dialog.h"
#include "dialogs/script_codes.h"
#include "interaction.h"
#include "qtext.h"
#include "registry.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "startup/program_folder.h"
#include "startup/splash.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace st = morvel::settings;

namespace {

const QString kNewCaption = QStringLiteral("Skripteditor - Nyt skript");
const QString kEditCaption = QStringLiteral("Skripteditor - rediger skript");
constexpr int kTabStops = 2;
constexpr int kUndoDepth = 100;
// Refused by the editor below 2; the script's own changed-bit.
constexpr int kModifiedBit = 2;
constexpr std::size_t kFileNameBuffer = 4096;

// The user's own scripts; what the program ships lies in shippedFolder().
QString userScriptFolder() { return QDir(morvel::programFolder()).filePath(QStringLiteral("Skript")); }

QList<QPair<QString, QStringList>> scriptFilters() {
  return {{QStringLiteral("Skriptfiler"),
           {QStringLiteral("*.js"), QStringLiteral("*.java"), QStringLiteral("*.cgi"), QStringLiteral("*.pl")}},
          {QStringLiteral("Alle filer "), {QStringLiteral("*.*")}}};
}

// The tree's pictures: a box for an object, a dot for a property, a diamond
// for a method and a red bar for a reserved word.
QIcon nodeIcon(morvel::ScriptNodeKind kind) {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  switch (kind) {
    case morvel::ScriptNodeKind::Object:
      p.setPen(QColor(0x80, 0x60, 0x00));
      p.setBrush(QColor(0xF0, 0xD0, 0x60));
      p.drawRect(2, 3, 11, 10);
      break;
    case morvel::ScriptNodeKind::Property:
      p.setPen(QColor(0x00, 0x60, 0x00));
      p.setBrush(QColor(0x40, 0xB0, 0x40));
      p.drawEllipse(QPointF(8, 8), 4, 4);
      break;
    case morvel::ScriptNodeKind::Method: {
      p.setPen(QColor(0x50, 0x00, 0x80));
      p.setBrush(QColor(0xA0, 0x60, 0xE0));
      const QPointF diamond[] = {{8, 2}, {14, 8}, {8, 14}, {2, 8}};
      p.drawPolygon(diamond, 4);
      break;
    }
    case morvel::ScriptNodeKind::ReservedWord:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xD0, 0x00, 0x00));
      p.drawRect(3, 6, 10, 4);
      break;
  }
  return QIcon(picture);
}

using NodeIcons = std::array<QIcon, 4>;

// Saving writes the line ends the file was read with: its first line end
// decides (CR LF, LF or CR alone); a file without one gets CR LF.
void keepLineEndsOf(TTivra& editor, const QString& path) {
  QFile file(path);
  const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  const char* first = std::find_if(bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; });
  const bool lf = first != bytes.end() && *first == '\n';
  const bool cr = first != bytes.end() && *first == '\r' && (first + 1 == bytes.end() || first[1] != '\n');
  editor.setUnixStyleSave(lf);
  editor.setMacStyleSave(cr);
}

void addNodes(QTreeWidgetItem* parent, QTreeWidget* tree, const std::vector<morvel::ScriptNode>& nodes,
              const NodeIcons& icons) {
  for (const morvel::ScriptNode& node : nodes) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, QString::fromStdString(node.text));
    item->setIcon(0, icons[static_cast<std::size_t>(node.kind)]);
    addNodes(item, tree, node.children, icons);
  }
}

}  // namespace

TfrmSkript::TfrmSkript(morvel::DocumentHost& host, QWidget* parent)
    : QDialog(parent ? parent : host.dialogParent(), Qt::Window), host_(host) {
  setObjectName(QStringLiteral("TfrmSkript"));
  setWindowTitle(kNewCaption);
  setModal(false);
  buildEditor();
  buildTree();
  buildCommands();
  buildLayout();
  restorePlace();
  languageChanged();
  refreshStatus();
}

TfrmSkript::~TfrmSkript() = default;

// ---------------------------------------------------------------------------
// Building

void TfrmSkript::buildEditor() {
  edSkript = new TTivra(this);
  edSkript->setObjectName(QStringLiteral("edSkript"));
  edSkript->setTabStopSize(kTabStops);
  edSkript->setWantTabs(true);
  edSkript->setUndoDepth(kUndoDepth);
  edSkript->setHighlight(true);
  edSkript->setMultiLineItems(true);
  edSkript->setScrollBars(TTivraScrollStyle::lsBoth);
  edSkript->setExtraHorzSpacing(TTivraSpaceStyle::slSmall);
  edSkript->setModifiedBit(kModifiedBit);
  edSkript->setFont(host_.settings().font);
  edSkript->setColor(RGB(0xFF, 0xFF, 0xFF));
  edSkript->setFontColor(RGB(0, 0, 0));
  edSkript->OnControlHighlight = [this](TTivra&, WORD wordType, LONG wordValue, const QString& word, COLORREF& fore,
                                        COLORREF& back) {
    const morvel::ColourPair c =
        morvel::scriptTokenColours(javaScript(), wordType, wordValue, platform::toCp1252(word));
    fore = c.text;
    back = c.background;
  };
  edSkript->OnChange = [this](TTivra&) { refreshStatus(); };
  // The caret's place shows once the key or the click has moved it.
  const auto later = [this] { QTimer::singleShot(0, this, [this] { refreshStatus(); }); };
  edSkript->OnKeyDown = [later](TTivra&, WORD&, Qt::KeyboardModifiers) { later(); };
  edSkript->OnMouseUp = [later](TTivra&, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { later(); };
}

void TfrmSkript::buildTree() {
  trwHieraki = new QTreeWidget(this);
  trwHieraki->setObjectName(QStringLiteral("trwHieraki"));
  trwHieraki->setHeaderHidden(true);
  trwHieraki->setToolTip(QStringLiteral("Dobbeltklik for at indsætte i skriptet"));
  using K = morvel::ScriptNodeKind;
  const NodeIcons icons{nodeIcon(K::Object), nodeIcon(K::Property), nodeIcon(K::Method), nodeIcon(K::ReservedWord)};
  addNodes(nullptr, trwHieraki, morvel::scriptObjectTree(), icons);
  connect(trwHieraki, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { insertFromTree(item); });
}

QAction* TfrmSkript::addCommand(QMenu* menu, const char* name, const QString& caption, void (TfrmSkript::*handler)()) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(QString::fromLatin1(name));
  if (handler) connect(a, &QAction::triggered, this, handler);
  return a;
}

void TfrmSkript::buildCommands() {
  MainMenu1 = new QMenuBar(this);
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  QMenu* file = MainMenu1->addMenu(QStringLiteral("&Filer"));
  addCommand(file, "mnuNy", QStringLiteral("&Ny"), &TfrmSkript::newScript)->setShortcut(Qt::CTRL | Qt::Key_N);
  addCommand(file, "mnuAabn", QStringLiteral("Å&bn..."), &TfrmSkript::openScript)->setShortcut(Qt::CTRL | Qt::Key_O);
  QAction* save = addCommand(file, "mnuGem", QStringLiteral("&Gem"), nullptr);
  save->setShortcut(Qt::CTRL | Qt::Key_S);
  connect(save, &QAction::triggered, this, [this] { saveScript(); });
  connect(addCommand(file, "mnuGemSom", QStringLiteral("Gem &som..."), nullptr), &QAction::triggered, this,
          [this] { saveScriptAs(); });
  file->addSeparator();
  addCommand(file, "mnuOpdater", QStringLiteral("&Opdater og luk"), &TfrmSkript::updateDocument)
      ->setToolTip(QStringLiteral("Opdater HTML-dokument"));
  connect(addCommand(file, "mnuLuk", QStringLiteral("&Luk"), nullptr), &QAction::triggered, this, &QDialog::reject);

  editMenu_ = MainMenu1->addMenu(QStringLiteral("&Rediger"));
  connect(editMenu_, &QMenu::aboutToShow, this, [this] { editMenuOpening(); });
  auto forward = [this](QMenu* menu, const char* name, const QString& caption, void (TTivra::*operation)(),
                        const QKeySequence& key = {}) {
    QAction* a = addCommand(menu, name, caption, nullptr);
    a->setShortcut(key);
    connect(a, &QAction::triggered, this, [this, operation] {
      (edSkript->*operation)();
      refreshStatus();
    });
    return a;
  };
  forward(editMenu_, "mnuFortryd", QStringLiteral("Fo&rtryd"), &TTivra::Undo, Qt::CTRL | Qt::Key_Z);
  forward(editMenu_, "mnuGentag", QStringLiteral("&Annuller fortryd"), &TTivra::Redo, Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
  editMenu_->addSeparator();
  forward(editMenu_, "mnuKlip", QStringLiteral("&Klip"), &TTivra::Cut);
  forward(editMenu_, "mnuKopier", QStringLiteral("K&opier"), &TTivra::Copy);
  forward(editMenu_, "mnuSaetInd", QStringLiteral("Sæt i&nd"), &TTivra::Paste);
  forward(editMenu_, "mnuSlet", QStringLiteral("&Slet"), &TTivra::ClearSelection);
  forward(editMenu_, "mnuMarkerAlt", QStringLiteral("&Marker alt"), &TTivra::SelectAll, Qt::CTRL | Qt::Key_A);
  editMenu_->addSeparator();
  forward(editMenu_, "mnuSoeg", QStringLiteral("S&øg..."), &TTivra::FindDialog, Qt::CTRL | Qt::Key_F);
  forward(editMenu_, "mnuFindNaeste", QStringLiteral("Find n&æste"), &TTivra::FindNext, Qt::Key_F3);
  forward(editMenu_, "mnuErstat", QStringLiteral("&Erstat..."), &TTivra::ReplaceDialog, Qt::CTRL | Qt::Key_R);

  insertMenu_ = MainMenu1->addMenu(QStringLiteral("&Indsæt"));
  insertMenu_->setObjectName(QStringLiteral("mnuIndsaet"));
  connect(addCommand(insertMenu_, "mnuSpoergeboks", QStringLiteral("&Spørgeboks"), nullptr), &QAction::triggered, this,
          [this] { insertSnippet(morvel::kConfirmSnippet.text.data(), morvel::kConfirmSnippet.caretBack); });
  connect(addCommand(insertMenu_, "mnuAdvarselsboks", QStringLiteral("&Advarselsboks"), nullptr), &QAction::triggered,
          this, [this] { insertSnippet(morvel::kAlertSnippet.text.data(), morvel::kAlertSnippet.caretBack); });
  connect(addCommand(insertMenu_, "mnuSkriv", QStringLiteral("S&kriv i dokument"), nullptr), &QAction::triggered, this,
          [this] { insertSnippet(morvel::kWriteSnippet.text.data(), morvel::kWriteSnippet.caretBack); });
  insertMenu_->addSeparator();
  connect(addCommand(insertMenu_, "mnuBrowservindue", QStringLiteral("Å&bn browservindue..."), nullptr),
          &QAction::triggered, this, [this] { platform::runModal(&Browservindue(), this); });
  command(QStringLiteral("mnuBrowservindue"))->setToolTip(QStringLiteral("Åbn browservindue"));

  QMenu* view = MainMenu1->addMenu(QStringLiteral("&Vis"));
  QAction* tree = addCommand(view, "mnuJavaobjekttrae", QStringLiteral("Java&objekttræ"), nullptr);
  tree->setCheckable(true);
  tree->setChecked(true);
  tree->setToolTip(QStringLiteral("Javaobjekttræ"));
  connect(tree, &QAction::triggered, this, [this](bool on) { showTree(on); });

  cmbSkript = new QComboBox(this);
  cmbSkript->setObjectName(QStringLiteral("cmbSkript"));
  cmbSkript->setEditable(true);
  cmbSkript->addItems({QString::fromLatin1(morvel::kJavaScript.data()), QString::fromLatin1(morvel::kVBScript.data())});
  cmbSkript->setToolTip(QStringLiteral("Skriptets sprog"));
  connect(cmbSkript, &QComboBox::currentTextChanged, this, [this] { languageChanged(); });

  QStyle* style = QApplication::style();
  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  const std::pair<const char*, QIcon> buttons[] = {
      {"mnuNy", style->standardIcon(QStyle::SP_FileIcon)},
      {"mnuAabn", style->standardIcon(QStyle::SP_DialogOpenButton)},
      {"mnuGem", style->standardIcon(QStyle::SP_DialogSaveButton)},
      {nullptr, {}},
      {"mnuFortryd", style->standardIcon(QStyle::SP_ArrowBack)},
      {"mnuGentag", style->standardIcon(QStyle::SP_ArrowForward)},
      {nullptr, {}},
      {"mnuJavaobjekttrae", style->standardIcon(QStyle::SP_FileDialogListView)},
      {"mnuSpoergeboks", style->standardIcon(QStyle::SP_MessageBoxQuestion)},
      {"mnuAdvarselsboks", style->standardIcon(QStyle::SP_MessageBoxWarning)},
      {"mnuSkriv", style->standardIcon(QStyle::SP_FileDialogContentsView)},
      {"mnuBrowservindue", style->standardIcon(QStyle::SP_DesktopIcon)},
      {nullptr, {}},
      {"mnuOpdater", style->standardIcon(QStyle::SP_DialogApplyButton)},
  };
  for (const auto& [name, icon] : buttons) {
    if (!name) {
      ToolBar1->addSeparator();
      continue;
    }
    QAction* a = command(QString::fromLatin1(name));
    a->setIcon(icon);
    ToolBar1->addAction(a);
    ToolBar1->widgetForAction(a)->installEventFilter(this);
  }
  ToolBar1->addSeparator();
  ToolBar1->addWidget(cmbSkript);
  cmbSkript->installEventFilter(this);
  trwHieraki->installEventFilter(this);
}

void TfrmSkript::buildLayout() {
  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->addWidget(trwHieraki);
  Splitter1->addWidget(edSkript);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setChildrenCollapsible(false);
  StatusBar1 = new TFriendlyStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->AddPanel(QStringLiteral("0 tegn"), 90);
  StatusBar1->AddPanel(QStringLiteral("1 : 1"), 90);
  StatusBar1->AddPanel(QString(), 0);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(MainMenu1);
  layout->addWidget(ToolBar1);
  layout->addWidget(Splitter1, 1);
  layout->addWidget(StatusBar1);
}

QAction* TfrmSkript::command(const QString& name) const { return findChild<QAction*>(name); }

TfrmBrowservindue& TfrmSkript::Browservindue() {
  if (!browserWindow_) browserWindow_ = new TfrmBrowservindue(*edSkript, this);
  return *browserWindow_;
}

// ---------------------------------------------------------------------------
// Place and state

void TfrmSkript::restorePlace() {
  const morvel::RegIniFile& store = host_.store();
  move(st::read(store, st::skript::Venstre), st::read(store, st::skript::Top));
  resize(st::read(store, st::skript::Bredde), st::read(store, st::skript::Hoejde));
  treeWidth_ = std::max(40, st::read(store, st::skript::HWidth));
}

// The splitter takes its sizes once it is laid out.
void TfrmSkript::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (treeWidth_ > 0) {
    Splitter1->setSizes({treeWidth_, std::max(100, Splitter1->width() - treeWidth_)});
    treeWidth_ = 0;
  }
}

void TfrmSkript::keepPlace() {
  morvel::RegIniFile& store = host_.store();
  if (!isMinimized() && !isMaximized() && !isFullScreen()) {
    st::write(store, st::skript::Top, y());
    st::write(store, st::skript::Venstre, x());
    st::write(store, st::skript::Bredde, width());
    st::write(store, st::skript::Hoejde, height());
  }
  if (trwHieraki->isVisible()) st::write(store, st::skript::HWidth, trwHieraki->width());
}

bool TfrmSkript::javaScript() const { return morvel::isJavaScript(platform::toCp1252(cmbSkript->currentText())); }

// The tree and the insertion commands are for JavaScript; the colours
// follow the language.
void TfrmSkript::languageChanged() {
  const bool js = javaScript();
  QAction* tree = command(QStringLiteral("mnuJavaobjekttrae"));
  tree->setEnabled(js);
  for (const char* name : {"mnuSpoergeboks", "mnuAdvarselsboks", "mnuSkriv", "mnuBrowservindue"})
    command(QString::fromLatin1(name))->setEnabled(js);
  insertMenu_->setEnabled(js);
  trwHieraki->setVisible(js && treeWanted_);
  if (edSkript->HandleAllocated()) InvalidateRect(edSkript->Handle(), nullptr, TRUE);
}

void TfrmSkript::showTree(bool show) {
  treeWanted_ = show;
  command(QStringLiteral("mnuJavaobjekttrae"))->setChecked(show);
  trwHieraki->setVisible(show && javaScript());
}

void TfrmSkript::refreshStatus() {
  const bool modified = edSkript->Modified();
  command(QStringLiteral("mnuGem"))->setEnabled(modified);
  command(QStringLiteral("mnuFortryd"))->setEnabled(edSkript->CanUndo());
  command(QStringLiteral("mnuGentag"))->setEnabled(edSkript->CanRedo());
  edSkript->GetSelection();
  StatusBar1->setPanelText(0, QString::number(edSkript->TextBytes().size()) + QStringLiteral(" tegn"));
  StatusBar1->setPanelText(
      1, QString::number(edSkript->EndLine()) + QStringLiteral(" : ") + QString::number(edSkript->EndPos() + 1));
}

void TfrmSkript::editMenuOpening() {
  const bool selection = edSkript->SelLength() > 0;
  command(QStringLiteral("mnuSaetInd"))->setEnabled(IsClipboardFormatAvailable(CF_TEXT) != FALSE);
  for (const char* name : {"mnuKlip", "mnuKopier", "mnuSlet"})
    command(QString::fromLatin1(name))->setEnabled(selection);
}

// The control under the mouse tells what it does in the last panel.
bool TfrmSkript::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter) StatusBar1->setPanelText(2, static_cast<QWidget*>(watched)->toolTip());
  if (event->type() == QEvent::Leave) StatusBar1->setPanelText(2, QString());
  return QDialog::eventFilter(watched, event);
}

// The text starts afresh: unchanged, with nothing to undo.
void TfrmSkript::startText(const std::string& text) {
  edSkript->setTextBytes(text);
  edSkript->EmptyUndoBuffer();
  edSkript->SetModified(false);
  refreshStatus();
}

// ---------------------------------------------------------------------------
// Opening

void TfrmSkript::prepareNew() {
  editing_ = false;
  keptAttributes_.clear();
  if (windowTitle() == kEditCaption) setWindowTitle(kNewCaption);
  const bool oldButtons = host_.settings().oldToolButtons;
  for (QToolButton* b : ToolBar1->findChildren<QToolButton*>()) b->setAutoRaise(!oldButtons);
}

bool TfrmSkript::prepareEdit(const morvel::EditedElement& element) {
  if (!mayDropScript(QStringLiteral("Ønsker du at åbne et nyt skript uden at gemme eller opdatere det eksisterende?"),
                     kEditCaption))
    return false;
  prepareNew();
  editing_ = true;
  keptAttributes_ = element.keptAttributes;
  fileName_.clear();
  setWindowTitle(kEditCaption);
  const morvel::ScriptAttributes* script = element.as<morvel::ScriptAttributes>();
  cmbSkript->setEditText(script ? platform::fromCp1252(script->language) : QString());
  startText(script ? morvel::scriptOfContent(script->content) : std::string());
  return true;
}

// A script that is neither saved nor in a page is dropped only when the
// user says so.
bool TfrmSkript::mayDropScript(const QString& question, const QString& title) {
  if (!edSkript->Modified() || morvel::isEmptyText(*edSkript)) return true;
  return platform::messageBox(this, question, title, MB_YESNO | MB_ICONWARNING) == IDYES;
}

void TfrmSkript::done(int result) {
  keepPlace();
  editing_ = false;
  keptAttributes_.clear();
  QDialog::done(result);
}

// ---------------------------------------------------------------------------
// Inserting

void TfrmSkript::updateDocument() {
  if (TTivra* page = host_.activeEditor()) {
    const std::string language = platform::toCp1252(cmbSkript->currentText().trimmed());
    page->InsertBytes(morvel::scriptElement(language, keptAttributes_, edSkript->TextBytes()));
  }
  edSkript->SetModified(false);
  refreshStatus();
  done(QDialog::Accepted);
}

void TfrmSkript::insertSnippet(const char* text, int caretBack) {
  morvel::insertAtCaret(*edSkript, QString::fromLatin1(text));
  morvel::TextPosition caret = morvel::selectionOf(*edSkript).caret;
  caret.column = std::max(0, caret.column - caretBack);
  morvel::select(*edSkript, caret, caret);
  SetFocus(edSkript->Handle());
  refreshStatus();
}

void TfrmSkript::insertFromTree(QTreeWidgetItem* item) {
  if (!item || item->childCount() > 0) return;
  const QString parent = item->parent() ? item->parent()->text(0) : QString();
  const std::string text = morvel::scriptInsertionText(platform::toCp1252(parent), platform::toCp1252(item->text(0)));
  morvel::insertAtCaret(*edSkript, platform::fromCp1252(text));
  SetFocus(edSkript->Handle());
  refreshStatus();
}

// ---------------------------------------------------------------------------
// Files

void TfrmSkript::newScript() {
  if (!mayDropScript(
          QStringLiteral("Ønsker du at starte på et nyt skript uden at gemme eller opdatere det eksisterende?"),
          QStringLiteral("Nyt skript")))
    return;
  startText(std::string());
  fileName_.clear();
  edSkript->setUnixStyleSave(false);
  edSkript->setMacStyleSave(false);
  setWindowTitle(kNewCaption);
}

void TfrmSkript::openScript() {
  if (!mayDropScript(QStringLiteral("Ønsker du at åbne et nyt skript uden at gemme eller opdatere det eksisterende?"),
                     QStringLiteral("Åbn skript")))
    return;
  const QString own = userScriptFolder();
  const QString shipped = morvel::shippedFolder(QStringLiteral("Skript"));
  platform::FileDialogRequest choice;
  choice.title = QStringLiteral("Åbn skript");
  choice.filters = scriptFilters();
  choice.fileMustExist = true;
  // A user without scripts of their own starts among the program's.
  const bool ownScripts = !QDir(own).entryList(QDir::Files).isEmpty();
  choice.folder = ownScripts || shipped.isEmpty() ? own : shipped;
  choice.places = {own};
  if (!shipped.isEmpty()) choice.places << shipped;
  platform::Request r(platform::RequestKind::OpenFile);
  r.parentWidget = this;
  r.caption = choice.title;
  r.data = &choice;
  if (!platform::ask(r) || choice.chosen.isEmpty()) return;
  loadScript(choice.chosen.first());
}

void TfrmSkript::loadScript(const QString& path) {
  if (!edSkript->LoadFile(path)) {
    platform::messageBox(this, QStringLiteral("Kan ikke åbne filen %1.").arg(path), morvel::productName(),
                         MB_OK | MB_ICONSTOP);
    return;
  }
  keepLineEndsOf(*edSkript, path);
  edSkript->EmptyUndoBuffer();
  edSkript->SetModified(false);
  fileName_ = path;
  setWindowTitle(QStringLiteral("Skripteditor - ") + QFileInfo(path).fileName());
  refreshStatus();
}

// What the program ships is never written over: a script of its own is
// saved among the user's.
bool TfrmSkript::saveScript() {
  const QString shipped = morvel::shippedFolder(QStringLiteral("Skript"));
  const bool ours = !shipped.isEmpty() && QFileInfo(fileName_).absolutePath() == QFileInfo(shipped).absoluteFilePath();
  if (fileName_.isEmpty() || ours || !QFileInfo(fileName_).isWritable()) return saveScriptAs();
  return writeScript(fileName_);
}

bool TfrmSkript::saveScriptAs() {
  const QString folder = userScriptFolder();
  QDir().mkpath(folder);
  std::string name = platform::toCp1252(QFileInfo(fileName_).fileName());
  name.resize(kFileNameBuffer, '\0');
  const std::string start = platform::toCp1252(folder);
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = edSkript->Handle();
  ofn.lpstrTitle = "Gem skript";
  ofn.lpstrFilter = "Skriptfiler\0*.js;*.java;*.cgi;*.pl\0Alle filer \0*.*\0";
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrInitialDir = start.c_str();
  ofn.lpstrDefExt = "js";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (!GetSaveFileName(&ofn)) return false;
  const QString path = platform::fromCp1252(name.c_str());
  if (!writeScript(path)) return false;
  fileName_ = path;
  setWindowTitle(QStringLiteral("Skripteditor - ") + QFileInfo(path).fileName());
  return true;
}

bool TfrmSkript::writeScript(const QString& path) {
  if (!edSkript->SaveFile(path)) {
    platform::messageBox(this, QStringLiteral("Kan ikke skrive filen %1.").arg(path), morvel::productName(),
                         MB_OK | MB_ICONSTOP);
    return false;
  }
  edSkript->SetModified(false);
  refreshStatus();
  return true;
}
