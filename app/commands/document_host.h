// What the commands on a page, the element dialogs and the project tree need
// of the program: the open documents (their editors and file names), the
// settings and their store, and bringing the captions and the status bar up
// to date. The main window implements it; a test can give a small one of
// its own.
#pragma once

#include <QString>

class QWidget;
class TTivra;

namespace morvel {

class RegIniFile;
struct Settings;

class DocumentHost {
 public:
  virtual ~DocumentHost() = default;

  // The window the dialogs and messages belong to.
  virtual QWidget* dialogParent() = 0;

  // --- The documents, numbered from 0
  virtual int documentCount() const = 0;
  virtual int activeDocument() const = 0;
  // Null when there is no document i.
  virtual TTivra* editor(int i) const = 0;
  // The full path of the document's file; empty while it has none.
  virtual QString fileName(int i) const = 0;
  // The file name, or the tab's caption for a document without a file.
  virtual QString documentName(int i) const = 0;
  TTivra* activeEditor() const { return editor(activeDocument()); }
  QString activeFileName() const { return fileName(activeDocument()); }
  // An empty new document, made the active one; its number.
  virtual int newDocument() = 0;
  // Opens a file by its full path as a document, or shows it when it is
  // open already; false when it could not be read.
  virtual bool openFile(const QString& path) = 0;
  // The title of a page on disk, or of its open document, or "[Ingen titel]".
  virtual QString fileTitle(const QString& path) = 0;
  // Where the user's pages are: the root folder of the project that holds
  // the active document, else the folder of the HTML file pane. Empty when
  // the host has neither.
  virtual QString pagesFolder() { return {}; }

  // --- The settings
  virtual RegIniFile& store() = 0;
  virtual const Settings& settings() const = 0;

  // --- Bringing the window up to date
  // The tab captions of all documents and the window caption.
  virtual void refreshCaptions() = 0;
  virtual QString statusText(int panel) const = 0;
  virtual void setStatusText(int panel, const QString& text) = 0;
  // The progress of long work over the first status panel, in percent;
  // below 0 takes it away.
  virtual void showProgress(int percent) = 0;
};

}  // namespace morvel
