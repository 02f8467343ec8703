// TKestrin: the documents. A document is an index into four parallel
// sequences: the tabs of TabControl1, the editors, the file names and the
// time stamps.
#include "documents.h"

#include "controls/status_bar.h"
#include "date_format.h"
#include "document_title.h"
#include "indstillinger.h"
#include "interaction.h"
#include "kestrin.h"
#include "qtext.h"
#include "tivra_component.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTabWidget>

namespace {

constexpr int kCaretWidth = 2;
constexpr int kUndoDepth = 100;
constexpr size_t kFileNameBuffer = 4096;
// The modified-bit marker the documents use: the editor sets it with every
// change of the text, and, unlike bit 0, the program may clear it.
constexpr int kDocumentModifiedBit = 2;

const QString kApplicationTitle = QStringLiteral("Brimvale's Morvel");

bool isFullPath(const QString& path) { return path.startsWith(QLatin1Char('/')); }

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
  const morvel::DateTime when{t.date().year(), t.date().month(), t.date().day(),
                              t.time().hour(), t.time().minute(), t.time().second()};
  return platform::fromCp1252(morvel::formatDateTime("c", when));
}

QString editorName(int i) { return QStringLiteral("Tivra") + QString::number(i); }

// ---------------------------------------------------------------------------
// The four sequences

TTivra* TKestrin::editor(int i) const {
  return i >= 0 && i < documentCount() ? editors_[static_cast<size_t>(i)] : nullptr;
}

QString TKestrin::fileName(int i) const { return fileNames_.value(i); }

QString TKestrin::timeStamp(int i) const { return timeStamps_.value(i); }

int TKestrin::findOpenDocument(const QString& path) const { return fileNames_.indexOf(path); }

void TKestrin::appendDocument(const QString& caption) {
  const int index = documentCount();
  TTivra* e = createEditor(index);
  editors_.push_back(e);
  fileNames_ << QString();
  timeStamps_ << QString();
  tabs_->addTab(e, caption);
  e->HandleNeeded();
  e->SetModified(false);
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

void configurePageEditor(TTivra& e) {
  e.setCaretWidth(kCaretWidth);
  e.setExtraHorzSpacing(TTivraSpaceStyle::slLarge);
  e.setExtraVertSpacing(TTivraSpaceStyle::slSmall);
  e.setHighlight(true);
  e.setMultiLineItems(true);
  e.setStartInComments(true);
  e.setSyntax(kDocumentSyntax);
}

void replaceWholeText(TTivra& e, const std::string& text) {
  if (e.TextBytes() == text) return;
  e.SelectAll();
  e.InsertBytes(text);
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
// Operations

int TKestrin::newDocument() {
  ++newDocumentCounter_;
  appendDocument(QStringLiteral("Nyt dokument ") + QString::number(newDocumentCounter_));
  const int i = documentCount() - 1;
  tabs_->setCurrentIndex(i);
  activateDocument(i);
  return i;
}

bool TKestrin::openFile(const QString& path) {
  if (const int open = findOpenDocument(path); open >= 0) {
    tabs_->setCurrentIndex(open);
    activateDocument(open);
    return true;
  }
  TTivra* e = editor(active_);
  const bool untouched = e && fileName(active_).isEmpty() && e->LineCount() <= 1 && e->LineLength(1) <= 0;
  const int i = untouched ? active_ : newDocument();
  e = editor(i);
  if (!e->LoadFile(path)) {
    // Keep no name: saving would put an empty text over the file.
    platform::messageBox(this, QStringLiteral("Kan ikke åbne filen %1.").arg(path), kApplicationTitle,
                         MB_OK | MB_ICONSTOP);
    return false;
  }
  if (entityConversion_) {
    const std::string text = e->TextBytes();
    const std::string decoded = decodeText(text);
    if (decoded != text) e->setTextBytes(decoded);
  }
  SetFocus(e->Handle());
  e->SetModified(false);
  fileNames_[i] = path;
  timeStamps_[i] = fileTimeStamp(path);
  tabs_->setCurrentIndex(i);
  activateDocument(i);
  return true;
}

void TKestrin::openFileList(const QString& list) {
  for (const QString& file : filesOfList(list)) openFile(file);
}

void TKestrin::activateDocument(int i) {
  TTivra* e = editor(i);
  if (!e) return;
  active_ = i;
  showFileName(i);
  updateCaptions(i);
  if (tabs_->currentIndex() != i) tabs_->setCurrentIndex(i);
  if (isVisible()) SetFocus(e->Handle());
}

QString TKestrin::documentTitle(int i) {
  TTivra* e = editor(i);
  if (!e) return QString();
  const morvel::TitleSearch found = morvel::findTitle(e->TextBytes());
  if (found.damaged)
    platform::messageBox(this, QStringLiteral("Der er fejl i titelkoden."), kApplicationTitle, MB_OK);
  if (found.title.empty()) return platform::fromCp1252(morvel::kNoTitle);
  return platform::fromCp1252(found.title);
}

void TKestrin::showFileName(int i) {
  const QString file = fileName(i);
  statusBar_->setPanelText(0, file.isEmpty() ? QStringLiteral("Dokumentet er ikke gemt") : file);
}

void TKestrin::refreshCaptions() {
  for (int i = 0; i < documentCount(); ++i) {
    if (i != active_) updateCaptions(i);
  }
  // The active one last: the window caption is its title.
  if (editor(active_)) updateCaptions(active_);
}

void TKestrin::updateCaptions(int i) {
  const QString title = documentTitle(i);
  const QString file = fileName(i);
  const bool showFile = indstillinger_->chkFilnavn->isChecked() && !file.isEmpty();
  // A tab reads "&" as the mark of its shortcut letter; a title shows it as it is.
  QString caption = showFile ? QFileInfo(file).fileName() : title;
  tabs_->setTabText(i, caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
  setWindowTitle(kApplicationTitle + QStringLiteral(" - ") + title);
}

// ---------------------------------------------------------------------------
// Saving

bool TKestrin::saveDocument(int i) {
  TTivra* e = editor(i);
  if (!e) return false;
  const QString file = fileName(i);
  if (file.isEmpty() || QFileInfo(file).fileName().startsWith(QLatin1String("~mvtemp"))) return saveDocumentAs(i);
  // With entity codes the file gets the encoded text and the editor keeps its own.
  const bool saved = entityConversion_ ? writeEncoded(*e, file) : e->SaveFile(file);
  if (!saved) return false;
  e->SetModified(false);
  timeStamps_[i] = fileTimeStamp(file);
  return true;
}

bool TKestrin::saveDocumentAs(int i) {
  TTivra* e = editor(i);
  if (!e) return false;
  if (i != active_) activateDocument(i);
  const bool htmlMode = indstillinger_->chkHTMLtype->isChecked();
  std::string name = platform::toCp1252(QFileInfo(fileName(i)).fileName());
  name.resize(kFileNameBuffer, '\0');
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = e->Handle();
  ofn.lpstrFilter = "HTML-dokumenter\0*.htm*;*.shtml;*.phtml;*.asp\0Style Sheets\0*.css\0Skabeloner\0*.mvs\0";
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrDefExt = htmlMode ? nullptr : "htm";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  if (!GetSaveFileName(&ofn)) return false;
  QString chosen = platform::fromCp1252(name.c_str());
  // A template is written as it is; the document stays what it was.
  if (chosen.endsWith(QLatin1String(".mvs"))) return e->SaveFile(chosen);
  if (htmlMode && !chosen.contains(QLatin1String(".html")) &&
      (chosen.size() < 4 || chosen[chosen.size() - 4] != QLatin1Char('.')))
    chosen += QStringLiteral(".html");
  fileNames_[i] = chosen;
  const bool saved = saveDocument(i);
  showFileName(i);
  updateCaptions(i);
  return saved;
}

bool TKestrin::writeEncoded(TTivra& e, const QString& path) {
  const std::string encoded = encodeText(e.TextBytes());
  QSaveFile file(path);
  const bool written = file.open(QIODevice::WriteOnly) &&
                       file.write(encoded.data(), static_cast<qint64>(encoded.size())) ==
                           static_cast<qint64>(encoded.size()) &&
                       file.commit();
  if (!written) {
    platform::messageBox(this, QStringLiteral("Kan ikke skrive filen %1.").arg(path), kApplicationTitle,
                         MB_OK | MB_ICONSTOP);
  }
  return written;
}
