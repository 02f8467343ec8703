// TKestrin, the main window: one editor per document in the tabs of
// TabControl1, the status bar StatusBar1 and the menus.
//
// A document is an index i (from 0) into four parallel sequences that always
// have the same length: the tabs of TabControl1, the editors (named
// "Tivra" + i), the file names and the time stamps. The document operations
// live in documents.cpp.
//
// The settings dialog is created with the window and lives as long as it;
// Indstillinger() gives its controls, which are the current settings.
#pragma once

#include "code_colours.h"
#include "editor_settings.h"
#include "win32.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QMenu;
class QProgressBar;
class QTabWidget;
class TFriendlyStatusBar;
class TIndstillinger;
class TTivra;

namespace morvel {
class RegIniFile;
}

class TKestrin : public QMainWindow {
 public:
  // The store stays open while the window exists.
  explicit TKestrin(morvel::RegIniFile& store, QWidget* parent = nullptr);
  ~TKestrin() override;
  TKestrin(const TKestrin&) = delete;
  TKestrin& operator=(const TKestrin&) = delete;

  QTabWidget* TabControl1() const { return tabs_; }
  TFriendlyStatusBar* StatusBar1() const { return statusBar_; }
  QProgressBar* ProgressBar1() const { return progressBar_; }
  morvel::RegIniFile& Store() const { return store_; }
  TIndstillinger& Indstillinger() const { return *indstillinger_; }

  // --- Settings
  // The in-memory flags of "ÆØÅkoder" and "Autodato": read at start-up,
  // changed by OK in the settings dialog.
  bool entityConversion() const { return entityConversion_; }
  void setEntityConversion(bool on) { entityConversion_ = on; }
  bool automaticDate() const { return automaticDate_; }
  void setAutomaticDate(bool on) { automaticDate_ = on; }
  // Gives every editor the look, and new editors from now on.
  void applyEditorLook(const EditorLook& look);
  const EditorLook& editorLook() const { return look_; }
  // The settings command: shows the settings dialog.
  void showSettings();

  // The files of the command line, opened when the window is first shown.
  void setCommandLineFiles(const QStringList& files);

  // --- Documents (documents.cpp)
  int documentCount() const { return static_cast<int>(editors_.size()); }
  int activeDocument() const { return active_; }
  TTivra* editor(int i) const;
  QString fileName(int i) const;
  QString timeStamp(int i) const;
  // The document whose file name is exactly this path, or -1.
  int findOpenDocument(const QString& path) const;
  // An empty new document, made active; its index.
  int newDocument();
  // Opens one file by its full path; false when it could not be read.
  bool openFile(const QString& path);
  // A command-line list: every file name followed by "?". Names that are
  // not full paths of existing files are skipped.
  void openFileList(const QString& list);
  void activateDocument(int i);
  // "[Ingen titel]" unless the text has a title.
  QString documentTitle(int i);
  // The tab captions of all documents and the window caption.
  void refreshCaptions();
  // Saving: false when the document was not saved.
  bool saveDocument(int i);
  bool saveDocumentAs(int i);

  // --- Danish letters and entity codes (entity_commands.cpp)
  // The conversions with the hourglass and the progress bar.
  std::string encodeText(std::string_view text);
  std::string decodeText(std::string_view text);
  // The commands on the active document.
  void encodeActiveDocument();
  void decodeActiveDocument();
  bool saveWithEntityCodes();

  // The colours of one token, by the chosen scheme.
  morvel::ColourPair tokenColours(WORD wordType, LONG wordValue, const QString& word) const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void createStatusBar();
  void createMenus();
  TTivra* createEditor(int index);
  void configureEditor(TTivra& editor);
  void appendDocument(const QString& caption);
  void updateCaptions(int i);
  void showFileName(int i);
  bool writeEncoded(TTivra& editor, const QString& path);

  morvel::RegIniFile& store_;
  EditorLook look_;
  bool entityConversion_ = false;
  bool automaticDate_ = true;
  QTabWidget* tabs_;
  TFriendlyStatusBar* statusBar_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  std::unique_ptr<TIndstillinger> indstillinger_;
  std::vector<TTivra*> editors_;
  QStringList fileNames_;
  QStringList timeStamps_;
  int active_ = 0;
  int masterPage_ = -1;
  int newDocumentCounter_ = 1;
  QStringList commandLineFiles_;
  bool shown_ = false;
};
