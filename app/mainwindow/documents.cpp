// TKestrin: the documents, one value each in the order of the tabs of
// TabControl1.
#include "mainwindow/documents.h"

#include "commands/code_insertion.h"
#include "component/tivra_component.h"
#include "controls/status_bar.h"
#include "interaction.h"
#include "mainwindow/file_panes.h"
#include "mainwindow/kestrin.h"
#include "mainwindow/recent_files.h"
#include "markup/date_format.h"
#include "markup/document_title.h"
#include "markup/entities.h"
#include "markup/line_ends.h"
#include "projects/file_actions.h"
#include "qtext.h"
#include "startup/splash.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSaveFile>
#include <QTabBar>
#include <QTabWidget>

#include <cstring>

namespace {

constexpr int kUndoDepth = 100;
constexpr size_t kFileNameBuffer = 4096;
// The modified-bit marker the documents use: the editor sets it with every
// change of the text, and, unlike bit 0, the program may clear it.
constexpr int kDocumentModifiedBit = 2;

const QString kNotSaved = QStringLiteral("Dokumentet er ikke gemt");

QString today() { return platform::fromCp1252(morvel::formatDateTime("ddddd", morvel::currentDateTime())); }

bool isFullPath(const QString& path) { return path.startsWith(QLatin1Char('/')); }

// The editor takes file names in Windows-1252; the program reads and writes
// the files whose names that code page cannot spell (a Cyrillic folder, say).
bool editorCanName(const QString& path) { return platform::fromCp1252(platform::toCp1252(path)) == path; }

void setLineEnd(TTivra& e, morvel::LineEnd end) {
  e.setUnixStyleSave(end == morvel::LineEnd::Lf);
  e.setMacStyleSave(end == morvel::LineEnd::Cr);
}

morvel::LineEnd lineEndOf(const TTivra& e) {
  if (e.UnixStyleSave()) return morvel::LineEnd::Lf;
  return e.MacStyleSave() ? morvel::LineEnd::Cr : morvel::LineEnd::CrLf;
}

// The text of a file as the editor would load it (zero bytes left out).
bool readText(const QString& path, std::string& text) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  text.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
  std::erase(text, '\0');
  return true;
}

// A notice, when the file had lines longer than the editor takes, that
// they are kept whole.
QString longLinesNotice(const QString& path, int lines) {
  const QString name = QFileInfo(path).fileName();
  const int longest = static_cast<int>(TIVRA_MAX_INSERTED_LINE);
  if (lines == 1)
    return QStringLiteral("%1 har en linie på over %2 tegn. Den vises delt i flere linier, men gemmes uændret.")
        .arg(name)
        .arg(longest);
  return QStringLiteral("%1 har %2 linier på over %3 tegn. De vises delt i flere linier, men gemmes uændret.")
      .arg(name)
      .arg(lines)
      .arg(longest);
}

// The path as it is spelled on disk, or empty when some part is missing.
QString longFileName(const QString& path) {
  if (!isFullPath(path) || path.contains(QLatin1Char('*'))) return QString();
  const QFileInfo info(path);
  if (!info.exists() || !info.isFile()) return QString();
  return QDir::cleanPath(info.absoluteFilePath());
}

}  // namespace

QString commandLineList(const QStringList& files) {
  QString list;
  for (const QString& f : files) list += f + QLatin1Char('?');
  return list;
}

QStringList filesOfList(const QString& list) {
  QStringList files;
  for (const QString& part : list.split(QLatin1Char('?'), Qt::SkipEmptyParts)) {
    const QString name = longFileName(part);
    if (!name.isEmpty()) files << name;
  }
  return files;
}

QString fileTimeStamp(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return QString();
  const QDateTime t = info.lastModified();
  const morvel::DateTime when{t.date().year(), t.date().month(),  t.date().day(),
                              t.time().hour(), t.time().minute(), t.time().second()};
  return platform::fromCp1252(morvel::formatDateTime("c", when));
}

QDateTime timeOfStamp(const QString& stamp) {
  return QDateTime::fromString(stamp, QStringLiteral("dd-MM-yyyy HH:mm:ss"));
}

bool changedSince(const QString& path, const QString& stamp) {
  const QDateTime now = timeOfStamp(fileTimeStamp(path));
  const QDateTime then = timeOfStamp(stamp);
  if (!now.isValid()) return false;
  return !then.isValid() || now > then;
}

QString htmlModeName(const QString& chosen) {
  if (chosen.contains(QLatin1String(".html"))) return chosen;
  if (chosen.size() >= 4 && chosen[chosen.size() - 4] == QLatin1Char('.')) return chosen;
  return chosen + QStringLiteral(".html");
}

QString editorName(int i) { return QStringLiteral("Tivra") + QString::number(i); }

// ---------------------------------------------------------------------------
// The documents

const Document* TKestrin::document(int i) const {
  return i >= 0 && i < documentCount() ? &documents_[static_cast<size_t>(i)] : nullptr;
}

TTivra* TKestrin::editor(int i) const {
  const Document* d = document(i);
  return d ? d->editor : nullptr;
}

QString TKestrin::fileName(int i) const {
  const Document* d = document(i);
  return d ? d->fileName : QString();
}

int TKestrin::findOpenDocument(const QString& path) const {
  for (int i = 0; i < documentCount(); ++i) {
    if (documents_[static_cast<size_t>(i)].fileName == path) return i;
  }
  return -1;
}

void TKestrin::appendDocument(const QString& caption) {
  const int index = documentCount();
  TTivra* e = createEditor(index);
  documents_.push_back(Document{e, QString(), caption, QString()});
  tabs_->addTab(e, caption);
  e->HandleNeeded();
  e->SetModified(false);
  connectEditorEvents(*e);
}

// ---------------------------------------------------------------------------
// Editors

TTivra* TKestrin::createEditor(int index) {
  auto* e = new TTivra(tabs_);
  e->setObjectName(editorName(index));
  e->setVisible(false);
  configureEditor(*e);
  return e;
}

void TKestrin::configureEditor(TTivra& e) {
  configurePageEditor(e);
  e.setTabStop(false);
  e.setUndoDepth(kUndoDepth);
  e.setWantTabs(true);
  ::applyEditorLook(e, look_);
  setEditorWordWrap(e, look_.wordWrap);
  e.setModifiedBit(kDocumentModifiedBit);
  e.OnControlHighlight = [this](TTivra&, WORD wordType, LONG wordValue, const QString& word, COLORREF& fore,
                                COLORREF& back) {
    const morvel::ColourPair c = tokenColours(wordType, wordValue, word);
    fore = c.text;
    back = c.background;
  };
}

// ---------------------------------------------------------------------------
// New and open

int TKestrin::newDocument() {
  ++newDocumentCounter_;
  appendDocument(QStringLiteral("Nyt dokument ") + QString::number(newDocumentCounter_));
  const int i = documentCount() - 1;
  tabs_->setCurrentIndex(i);
  activateDocument(i);
  return i;
}

void TKestrin::newDocumentButton() {
  if (settings_.templateDialogOnNew)
    elementDialogs_.open(ElementDialog::NewFromTemplate);
  else
    newDocument();
}

void TKestrin::openDialog() {
  std::string names(kFileNameBuffer * 8, '\0');
  const std::string folder = platform::toCp1252(firstOpenDialog_ ? settings_.openDialogFolder : lastOpenFolder_);
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd_;
  ofn.lpstrTitle =
      "\xC5"
      "bn";
  ofn.lpstrFilter =
      "HTML-dokumenter\0*.htm*;*.shtml;*.phtml;*.asp\0Style Sheets\0*.css\0Skabeloner\0*.mvs\0Tekstfiler\0*.txt\0";
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = names.data();
  ofn.nMaxFile = static_cast<DWORD>(names.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_EXPLORER;
  firstOpenDialog_ = false;
  if (!GetOpenFileName(&ofn)) return;
  // One file: its full path. Several: the folder, then each name.
  QStringList parts;
  for (const char* p = names.c_str(); *p; p += std::strlen(p) + 1) parts << platform::fromCp1252(p);
  QStringList files;
  if (parts.size() == 1) {
    files = parts;
  } else {
    for (int k = 1; k < parts.size(); ++k) files << QDir(parts[0]).filePath(parts[k]);
  }
  if (!files.isEmpty()) lastOpenFolder_ = QFileInfo(files.first()).absolutePath();
  for (const QString& f : files) openFile(f);
}

bool TKestrin::loadIntoEditor(int i, const QString& path) {
  TTivra* e = editor(i);
  // The document is saved with the line ends its file has.
  const std::optional<morvel::LineEnd> lineEnd = morvel::fileLineEnd(QFile::encodeName(path).toStdString());
  bool loaded = false;
  if (lineEnd && editorCanName(path)) {
    loaded = e->LoadFile(path);
  } else if (std::string text; lineEnd && readText(path, text)) {
    e->setTextBytes(text);
    e->EmptyUndoBuffer();
    loaded = true;
  }
  if (!loaded) {
    platform::messageBox(this, QStringLiteral("Kan ikke åbne filen %1.").arg(path), morvel::productName(),
                         MB_OK | MB_ICONSTOP);
    return false;
  }
  setLineEnd(*e, *lineEnd);
  if (i == active_) showLineEnd(i);
  entities_.decodeLoadedText(*e);
  e->SetModified(false);
  return true;
}

bool TKestrin::openFile(const QString& path) {
  if (const int open = findOpenDocument(path); open >= 0) {
    tabs_->setCurrentIndex(open);
    activateDocument(open);
    return true;
  }
  // Loading a name that does not exist would make an empty file of it.
  if (!QFileInfo(path).isFile()) {
    platform::messageBox(this, QStringLiteral("Kan ikke åbne filen %1.").arg(path), morvel::productName(),
                         MB_OK | MB_ICONSTOP);
    return false;
  }
  const int before = active_;
  TTivra* e = editor(active_);
  const bool untouched = e && fileName(active_).isEmpty() && morvel::isEmptyText(*e);
  const int i = untouched ? active_ : newDocument();
  // A file that cannot be read leaves the document without a name: saving
  // would put an empty text over the file. A tab made for it goes again.
  if (!loadIntoEditor(i, path)) {
    if (!untouched) {
      removeDocument(i);
      --newDocumentCounter_;
      tabs_->setCurrentIndex(before);
      activateDocument(before);
    }
    return false;
  }
  e = editor(i);
  SetFocus(e->Handle());
  Document& d = documents_[static_cast<size_t>(i)];
  d.fileName = path;
  d.timeStamp = fileTimeStamp(path);
  tabs_->setCurrentIndex(i);
  activateDocument(i);
  showLongLinesNotice(i);
  return true;
}

void TKestrin::openFileList(const QString& list) {
  for (const QString& file : filesOfList(list)) openFile(file);
}

// ---------------------------------------------------------------------------
// Activation, titles and captions

void TKestrin::activateDocument(int i) {
  TTivra* e = editor(i);
  if (!e) return;
  active_ = i;
  showFileName(i);
  updateCaptions(i);
  if (tabs_->currentIndex() != i) tabs_->setCurrentIndex(i);
  if (isVisible()) SetFocus(e->Handle());
  command(QStringLiteral("wordWrap"))->setChecked(e->WordWrap());
  overwrite_->setEnabled(!e->InsertMode());
  refreshEditorStatus();
}

void TKestrin::showLongLinesNotice(int i) {
  const TTivra* e = editor(i);
  if (!e) return;
  if (const int lines = e->LongLines(); lines > 0) statusBar_->setPanelText(0, longLinesNotice(fileName(i), lines));
}

void TKestrin::showLineEnd(int i) {
  if (const TTivra* e = editor(i)) statusBar_->setPanelText(3, QString::fromLatin1(morvel::lineEndName(lineEndOf(*e))));
}

void TKestrin::showFileName(int i) {
  const QString file = fileName(i);
  statusBar_->setPanelText(0, file.isEmpty() ? kNotSaved : file);
  showLineEnd(i);
  statusBar_->setPanelText(4, today());
}

void TKestrin::refreshEditorStatus() {
  TTivra* e = activeEditor();
  if (!e) return;
  command(QStringLiteral("saveButton"))->setEnabled(e->Modified());
  command(QStringLiteral("undoButton"))->setEnabled(e->CanUndo());
  // F9 works without the menu being opened first, so its state follows the text.
  command(QStringLiteral("checkCodes"))->setEnabled(!morvel::isEmptyText(*e) && !internalBrowserShown());
  e->GetSelection();
  statusBar_->setPanelText(1, QString::number(e->TextBytes().size()) + QStringLiteral(" tegn"));
  statusBar_->setPanelText(2, QString::number(e->EndLine()) + QStringLiteral(" : ") + QString::number(e->EndPos() + 1));
}

QString TKestrin::documentTitle(int i) {
  TTivra* e = editor(i);
  if (!e) return QString();
  const morvel::TitleSearch found = morvel::findTitle(e->TextBytes());
  if (found.damaged)
    platform::messageBox(this, QStringLiteral("Der er fejl i titelkoden."), morvel::productName(), MB_OK);
  if (found.title.empty()) return platform::fromCp1252(morvel::kNoTitle);
  return platform::fromCp1252(found.title);
}

QString TKestrin::fileTitle(const QString& path) {
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) {
    const QByteArray bytes = file.readAll();
    const morvel::TitleSearch found = morvel::findTitle(std::string_view(bytes.constData(), bytes.size()));
    const QByteArray trimmed = QByteArray::fromStdString(found.title).trimmed();
    if (!trimmed.isEmpty() && trimmed != "-1") return platform::fromCp1252(morvel::decodeEntities(found.title));
  }
  const int open = findOpenDocument(path);
  const QString title = open >= 0 ? documentTitle(open) : platform::fromCp1252(morvel::kNoTitle);
  return platform::fromCp1252(morvel::decodeEntities(platform::toCp1252(title)));
}

QString TKestrin::documentName(int i) const {
  const QString file = fileName(i);
  if (!file.isEmpty()) return file;
  return tabs_->tabText(i).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

void TKestrin::refreshCaptions() {
  for (int i = 0; i < documentCount(); ++i) {
    if (i != active_) updateCaptions(i);
  }
  // The active one last: the window caption is its title.
  if (editor(active_)) updateCaptions(active_);
  // A text loaded whole (a template) changes the counts the status shows.
  refreshEditorStatus();
}

void TKestrin::updateCaptions(int i) {
  const QString title = documentTitle(i);
  const QString file = fileName(i);
  const bool showFile = settings_.fileNamesOnTabs && !file.isEmpty();
  // A tab reads "&" as the mark of its shortcut letter; a title shows it as it is.
  QString caption = showFile ? QFileInfo(file).fileName() : title;
  if (file.isEmpty() && title == platform::fromCp1252(morvel::kNoTitle))
    caption = documents_[static_cast<size_t>(i)].caption;
  tabs_->setTabText(i, caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
  setWindowTitle(morvel::productName() + QStringLiteral(" - ") + title);
}

// ---------------------------------------------------------------------------
// Saving

bool TKestrin::saveDocument(int i) {
  TTivra* e = editor(i);
  if (!e) return false;
  if (settings_.codesInUpperCase) codes_.convertCodesToUpperCase(i);
  const QString file = fileName(i);
  if (file.isEmpty() || QFileInfo(file).fileName().startsWith(QLatin1String("~mvtemp"))) return saveDocumentAs(i);
  const QString extension = QFileInfo(file).suffix().toLower();
  if (extension != QLatin1String("css") && settings_.generatorLine) markup_.insertGeneratorLine(i);
  if (settings_.automaticDate && extension != QLatin1String("mvs") && extension != QLatin1String("css"))
    markup_.updateAutomaticDate(i, true, true);
  // With entity codes the file gets the encoded text and the editor keeps its own.
  const bool saved = settings_.danishLetterCodes ? writeEncoded(*e, file) : writeText(*e, file);
  if (!saved) return false;
  e->SetModified(false);
  if (i == active_) {
    command(QStringLiteral("saveButton"))->setEnabled(false);
    command(QStringLiteral("undoButton"))->setEnabled(false);
  }
  documents_[static_cast<size_t>(i)].timeStamp = fileTimeStamp(file);
  return true;
}

bool TKestrin::saveDocumentAs(int i) {
  TTivra* e = editor(i);
  if (!e) return false;
  if (i != active_) {
    tabs_->setCurrentIndex(i);
    activateDocument(i);
  }
  const bool htmlMode = settings_.htmlExtension;
  std::string name = platform::toCp1252(QFileInfo(fileName(i)).fileName());
  name.resize(kFileNameBuffer, '\0');
  const std::string folder = platform::toCp1252(htmlPane_->folder());
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = e->Handle();
  ofn.lpstrFilter = "HTML-dokumenter\0*.htm*;*.shtml;*.phtml;*.asp\0Style Sheets\0*.css\0Skabeloner\0*.mvs\0";
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrDefExt = htmlMode ? nullptr : "htm";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  if (!GetSaveFileName(&ofn)) return false;
  QString chosen = platform::fromCp1252(name.c_str());
  // A template is written as it is; the document stays what it was.
  if (chosen.endsWith(QLatin1String(".mvs"))) return writeText(*e, chosen);
  if (htmlMode) {
    const QString named = htmlModeName(chosen);
    // The dialog asked about the name it was given, not about this one.
    if (named != chosen && QFileInfo::exists(named) &&
        morvel::files::askToReplace(this, QStringLiteral("Gem som"), named) != morvel::files::Answer::Yes)
      return false;
    chosen = named;
  }
  documents_[static_cast<size_t>(i)].fileName = chosen;
  const bool saved = saveDocument(i);
  showFileName(i);
  updateCaptions(i);
  htmlPane_->refresh();
  return saved;
}

bool TKestrin::saveWithEntityCodes() {
  const bool setting = settings_.danishLetterCodes;
  settings_.danishLetterCodes = true;
  const bool saved = saveDocument(active_);
  settings_.danishLetterCodes = setting;
  showFileName(active_);
  updateCaptions(active_);
  return saved;
}

void TKestrin::saveAllDocuments() {
  for (int i = 0; i < documentCount(); ++i) {
    if (editor(i)->Modified()) saveDocument(i);
  }
}

// The bytes go to a file beside the old one, which takes its place once
// they are all written.
bool TKestrin::writeFile(const QString& path, const std::string& bytes) {
  QSaveFile file(path);
  const bool written =
      file.open(QIODevice::WriteOnly) &&
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) && file.commit();
  if (!written) {
    platform::messageBox(this, QStringLiteral("Kan ikke skrive filen %1.").arg(path), morvel::productName(),
                         MB_OK | MB_ICONSTOP);
  }
  return written;
}

bool TKestrin::writeText(TTivra& e, const QString& path) {
  return editorCanName(path) ? e.SaveFile(path) : writeFile(path, e.SavedTextBytes());
}

bool TKestrin::writeEncoded(TTivra& e, const QString& path) {
  return writeFile(path, entities_.encodeText(e.SavedTextBytes()));
}

// ---------------------------------------------------------------------------
// Closing

bool TKestrin::askToSaveBeforeClose(int i) {
  TTivra* e = editor(i);
  if (!e->Modified() || morvel::isEmptyText(*e)) return true;
  const QString file = fileName(i);
  const QString tab = tabs_->tabText(i).replace(QStringLiteral("&&"), QStringLiteral("&"));
  const QString what =
      file.isEmpty() ? tab : tab + QStringLiteral(" (") + QFileInfo(file).fileName() + QLatin1Char(')');
  const int answer = platform::messageBox(this, QStringLiteral("Skal ændringerne i %1 gemmes?").arg(what),
                                          QStringLiteral("Luk fil"), MB_YESNOCANCEL | MB_ICONEXCLAMATION);
  if (answer == IDCANCEL) return false;
  // Changes the user wanted kept are not thrown away because the save
  // did not happen (a cancelled save dialog, a file that cannot be written).
  if (answer == IDYES) return saveDocument(i) && !e->Modified();
  return true;
}

bool TKestrin::closeActiveDocument() {
  const int a = active_;
  TTivra* e = editor(a);
  if (!e) return false;
  if (internalBrowserShown()) toggleInternalBrowser();
  if (!askToSaveBeforeClose(a)) return false;
  if (!fileName(a).isEmpty()) morvel::recordRecentFile(store_, fileName(a));
  if (masterPage_ == a) masterPage_ = -1;
  if (documentCount() == 1) {
    e->setTextBytes(std::string());
    setLineEnd(*e, morvel::LineEnd::CrLf);
    // The closed document's text must not come back by undo.
    e->EmptyUndoBuffer();
    e->SetModified(false);
    tabs_->setTabText(0, QStringLiteral("Nyt dokument 1"));
    documents_[0] = Document{e, QString(), QStringLiteral("Nyt dokument 1"), QString()};
  } else {
    if (a < masterPage_) --masterPage_;
    removeDocument(a);
    active_ = a > 0 ? a - 1 : 0;
    tabs_->setCurrentIndex(active_);
  }
  activateDocument(active_);
  return true;
}

void TKestrin::removeDocument(int a) {
  TTivra* e = editor(a);
  // The tab goes first, so that the tab control does not activate a
  // document whose lists are half updated.
  {
    const QSignalBlocker quiet(tabs_);
    tabs_->removeTab(a);
  }
  documents_.erase(documents_.begin() + a);
  e->hide();
  e->deleteLater();
  e->setObjectName(QString());
  // Other parts find the editor of document i by the name "Tivra" + i.
  for (int k = a; k < documentCount(); ++k) editor(k)->setObjectName(editorName(k));
}

bool TKestrin::closeAllDocuments() {
  for (int t = documentCount() - 1; t >= 0; --t) {
    tabs_->setCurrentIndex(t);
    activateDocument(t);
    if (!closeActiveDocument()) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Files changed by other programs

void TKestrin::checkFilesChangedByOthers() {
  // The question itself deactivates and activates the program again.
  if (checkingFiles_) return;
  if (documentCount() == 1 && morvel::isEmptyText(*editor(0))) return;
  checkingFiles_ = true;
  for (int i = 0; i < documentCount(); ++i) {
    const QString file = fileName(i);
    if (file.isEmpty() || !QFileInfo(file).isReadable()) continue;
    if (!changedSince(file, documents_[static_cast<size_t>(i)].timeStamp)) continue;
    const QString text =
        QStringLiteral("Et andet program har ændret \r\n%1\r\nØnsker du at genindlæse dokumentet?").arg(file);
    if (platform::messageBox(this, text, QStringLiteral("Dokument ændret"), MB_YESNO | MB_ICONQUESTION) == IDYES) {
      loadIntoEditor(i, file);
      if (i == active_) refreshEditorStatus();
    }
    documents_[static_cast<size_t>(i)].timeStamp = fileTimeStamp(file);
  }
  checkingFiles_ = false;
}

// ---------------------------------------------------------------------------
// Files dropped from a file manager

void TKestrin::dropFiles(const QStringList& files, const QPoint& at) {
  // Hidden panes take no room: everything then lands in the editor.
  const int paneRight = pagFiler_->isVisibleTo(this) ? pagFiler_->mapTo(this, QPoint(pagFiler_->width(), 0)).x() : 0;
  bool misplaced = false;
  for (const QString& file : files) {
    if (at.x() > paneRight) {
      openFile(file);
    } else if (pagFiler_->currentIndex() == 0 || pagFiler_->currentIndex() == 1) {
      copyIntoPaneFolder(file, pagFiler_->currentIndex() == 0 ? *htmlPane_ : *mediaPane_);
    } else {
      misplaced = true;
    }
  }
  if (misplaced) {
    platform::messageBox(this, QStringLiteral("Du kan kun slippe filer i tekstbehandleren og i fillisten."),
                         morvel::productName(), MB_OK | MB_ICONINFORMATION);
  }
  raise();
  activateWindow();
}

void TKestrin::copyIntoPaneFolder(const QString& file, FilePane& pane) {
  morvel::files::placeFile(this, file, QDir(pane.folder()).filePath(QFileInfo(file).fileName()), true);
  pane.refresh();
}
