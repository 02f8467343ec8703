// TKestrin, the main window: one editor per document in the tabs of
// TabControl1.
//
// A document is an index i (from 0) into four parallel sequences that always
// have the same length: the tabs of TabControl1, the editors (named
// "Tivra" + i), the file names and the time stamps. The document operations
// live in documents.cpp.
#pragma once

#include "code_colours.h"
#include "editor_settings.h"
#include "win32.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <vector>

class QTabWidget;
class TTivra;

class TKestrin : public QMainWindow {
 public:
  explicit TKestrin(const EditorSettings& settings = defaultEditorSettings(), QWidget* parent = nullptr);
  ~TKestrin() override;
  TKestrin(const TKestrin&) = delete;
  TKestrin& operator=(const TKestrin&) = delete;

  QTabWidget* TabControl1() const { return tabs_; }

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

  // The colours of one token, by the chosen scheme.
  morvel::ColourPair tokenColours(WORD wordType, LONG wordValue, const QString& word) const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TTivra* createEditor(int index);
  void configureEditor(TTivra& editor);
  void appendDocument(const QString& caption);
  void updateCaptions(int i);

  EditorSettings settings_;
  morvel::CodeColourScheme scheme_;
  QTabWidget* tabs_;
  std::vector<TTivra*> editors_;
  QStringList fileNames_;
  QStringList timeStamps_;
  int active_ = 0;
  int masterPage_ = -1;
  int newDocumentCounter_ = 1;
  QStringList commandLineFiles_;
  bool shown_ = false;
};
