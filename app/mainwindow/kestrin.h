// TKestrin, the main window: one editor per document in the tabs of
// TabControl1, the file pane pagFiler on the left, the tool bar ToolBar1,
// the status bar StatusBar1 and the menus. It is a shell: the commands on a
// page, the element dialogs and the project tree do their work through the
// small DocumentHost it implements, the settings dialog through
// SettingsHost.
//
// A document is a value (documents.h): its editor, file name, caption and
// time stamp. Document i (from 0) is the i-th tab of TabControl1 and its
// editor is named "Tivra" + i. The document operations live in
// documents.cpp, the menus in kestrin_menus.cpp, the tool bar in
// kestrin_toolbar.cpp, the editors' keys and mouse in
// kestrin_editor_input.cpp, the edit and search commands in
// kestrin_edit_commands.cpp, and the commands whose parts are not built yet
// in kestrin_hooks.cpp.
//
// The settings in force are a value the window keeps; the settings dialog,
// created with the window and living as long as it, edits them.
#pragma once

#include "commands/code_commands.h"
#include "commands/document_host.h"
#include "commands/entity_commands.h"
#include "commands/markup_commands.h"
#include "dialogs/element_dialogs.h"
#include "mainwindow/documents.h"
#include "markup/code_colours.h"
#include "settings/editor_settings.h"
#include "settings/settings.h"
#include "settings/settings_host.h"
#include "tivra.h"
#include "win32.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class FilePane;
class FilePanes;
class ProjectTree;
class Publishing;
class QAction;
class QActionGroup;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QSplitter;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class TFriendlyStatusBar;
class TIndstillinger;
class TTivra;

class TKestrin : public QMainWindow, public morvel::DocumentHost, public morvel::SettingsHost {
 public:
  // The store stays open while the window exists.
  explicit TKestrin(morvel::RegIniFile& store, QWidget* parent = nullptr);
  ~TKestrin() override;
  TKestrin(const TKestrin&) = delete;
  TKestrin& operator=(const TKestrin&) = delete;

  // --- Controls
  QTabWidget* TabControl1() const { return tabs_; }
  TFriendlyStatusBar* StatusBar1() const { return statusBar_; }
  QProgressBar* ProgressBar1() const { return progressBar_; }
  QLabel* lblOverskriv() const { return overwrite_; }
  QToolBar* ToolBar1() const { return toolBar_; }
  QTabWidget* pagFiler() const { return pagFiler_; }
  FilePane& htmlPane() const { return *htmlPane_; }
  FilePane& mediaPane() const { return *mediaPane_; }
  // Both file panes, their pop-up menu and their commands.
  FilePanes& filePanes() const { return *filePanes_; }
  // The project tree trwProjekt with its commands and store.
  ProjectTree& projects() const { return *projects_; }
  QMenu* popMarkTekst() const { return popMarkTekst_; }
  QMenu* popUmarkTekst() const { return popUmarkTekst_; }
  // A command of the menus by its object name ("mnuSkjulFilboks", "save"...).
  QAction* command(const QString& name) const;
  // The window as the stand-in knows it: owner of the find dialogs.
  HWND Handle() const { return hwnd_; }
  TIndstillinger& Indstillinger() const { return *indstillinger_; }

  // --- The commands that work on the documents
  morvel::MarkupCommands& markupCommands() { return markup_; }
  morvel::CodeCommands& codeCommands() { return codes_; }
  morvel::EntityCommands& entityCommands() { return entities_; }
  morvel::ElementDialogs& elementDialogs() { return elementDialogs_; }

  // --- Settings
  morvel::RegIniFile& store() override { return store_; }
  const morvel::Settings& settings() const override { return settings_; }
  void changeSettings(const morvel::Settings& settings) override { settings_ = settings; }
  void applyEditorLook(const EditorLook& look) override;
  void applyToolBarStyle() override;
  const EditorLook& editorLook() const { return look_; }

  // The files of the command line, opened when the window is first shown.
  void setCommandLineFiles(const QStringList& files);
  // The splash window of the start, closed when the window is first shown.
  void setSplash(QWidget* splash);
  // A file list from another start of the program ("a?b?", possibly empty):
  // opens the files, restores the window and brings it to the front.
  void receiveFileList(const QString& list);

  // --- Documents (documents.cpp)
  QWidget* dialogParent() override { return this; }
  int documentCount() const override { return static_cast<int>(documents_.size()); }
  int activeDocument() const override { return active_; }
  // Document i, or null.
  const Document* document(int i) const;
  TTivra* editor(int i) const override;
  QString fileName(int i) const override;
  QString documentName(int i) const override;
  // The document whose file name is exactly this path, or -1.
  int findOpenDocument(const QString& path) const;
  // -1 or the document marked "Moderside".
  int masterPage() const { return masterPage_; }
  int newDocument() override;
  bool openFile(const QString& path) override;
  void activateDocument(int i);
  QString fileTitle(const QString& path) override;
  QString pagesFolder() override;
  void refreshCaptions() override;
  // Saving: false when the document was not saved.
  bool saveDocument(int i);
  bool saveDocumentAs(int i);
  // The active document saved with entity codes whatever the setting says.
  bool saveWithEntityCodes();
  // Closing: false when the user cancelled (which also stops close all and
  // the closing of the window) or a chosen save did not happen.
  bool closeActiveDocument();
  // Asks about each open file that another program changed since it was
  // loaded or saved; runs whenever the application becomes active.
  void checkFilesChangedByOthers();
  // Files dropped from a file manager at a point of the window.
  void dropFiles(const QStringList& files, const QPoint& at);
  // Files dragged from a file list or the project tree, dropped at a point
  // of the window: over the active editor the caret goes there and a link
  // to each file is inserted. False when the point is not over the editor.
  bool dropLinks(const QStringList& files, const QPoint& at);

  // --- The status bar
  QString statusText(int panel) const override;
  void setStatusText(int panel, const QString& text) override;
  void showProgress(int percent) override;

  // --- File panes and projects
  void setFilePanesShown(bool show);
  bool filePanesShown() const;
  void loadProjectTree();
  void saveProjectTree();
  void refreshFilePanesAndProjects();

  // --- Publishing (kestrin_publishing.cpp)
  Publishing& publishing() const { return *publishing_; }
  // The file panes' "Overfør til Internet...": full paths of the files.
  void publishFiles(const QStringList& paths);

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Layout and start-up (kestrin.cpp)
  void createStatusBar();
  void createFilePanes();
  void createHiddenControls();
  void readStartSettings();
  void writeStartSettings();
  void layoutStatusBar();
  void showSettings();
  void showAbout();
  void showHtmlHelp();  // Shift+F1
  // The colours of one token, by the scheme of the editors' look.
  morvel::ColourPair tokenColours(WORD wordType, LONG wordValue, const QString& word) const;
  // Menus (kestrin_menus.cpp)
  void createMenus();
  void createFileMenu();
  void createEditMenu();
  void createFormatMenu();
  void createInsertMenu();
  void createStructureMenu();
  void createFunctionsMenu();
  void createViewMenu();
  void createHelpMenu();
  void createPopupMenus();
  void fileMenuOpening();
  void editMenuOpening();
  void functionsMenuOpening();
  void insertMenuOpening();
  void popMarkTekstOpening();
  void showRecentFiles();
  // "H&TML-kodeboks": shows the code box or closes it.
  void toggleCodeBox();
  // Tool bar (kestrin_toolbar.cpp)
  void createToolBar();
  // Editors' keys and mouse (kestrin_editor_input.cpp)
  void connectEditorEvents(TTivra& editor);
  void editorKeyDown(TTivra& editor, WORD& key, Qt::KeyboardModifiers shift);
  void editorMouseDown(TTivra& editor, Qt::MouseButton button, int x, int y);
  void editorMouseMove(TTivra& editor, Qt::MouseButton button, int x, int y);
  void editorMouseUp(TTivra& editor, Qt::MouseButton button, int x, int y);
  void showEditorContextMenu(TTivra& editor, const QPoint& screenPoint);
  void showTabContextMenu(const QPoint& at);
  void finishTextDrag(TTivra& editor, int x, int y);
  void wordDoubleClicked(TTivra& editor, bool& handled);
  // Documents (documents.cpp)
  // The tool button "Nyt dokument": the template dialog or an empty document.
  void newDocumentButton();
  // The open dialog, then each chosen file.
  void openDialog();
  // A command-line list: every file name followed by "?". Names that are
  // not full paths of existing files are skipped.
  void openFileList(const QString& list);
  // "[Ingen titel]" unless the text has a title.
  QString documentTitle(int i);
  void saveAllDocuments();
  bool closeAllDocuments();
  // Panel 0 and the date, panels 1 and 2, the "Gem" and "Fortryd" buttons.
  void showFileName(int i);
  void refreshEditorStatus();
  TTivra* createEditor(int index);
  void configureEditor(TTivra& editor);
  void appendDocument(const QString& caption);
  void updateCaptions(int i);
  // The document's text to its file, with the line ends of the document;
  // false (after telling the user) when it could not be written.
  bool writeText(TTivra& editor, const QString& path);
  bool writeEncoded(TTivra& editor, const QString& path);
  bool writeFile(const QString& path, const std::string& bytes);
  bool loadIntoEditor(int i, const QString& path);
  // The document's line ends in the status bar.
  void showLineEnd(int i);
  // Once, when a file is opened: its lines longer than the editor takes are
  // kept whole.
  void showLongLinesNotice(int i);
  bool askToSaveBeforeClose(int i);
  void removeDocument(int i);
  void copyIntoPaneFolder(const QString& file, FilePane& pane);
  // Edit commands (kestrin_edit_commands.cpp)
  LRESULT windowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void showFindDialog(bool replace);
  void findReplaceMessage(FINDREPLACE& record);
  void toggleFilePanes();
  void refreshCommand();           // "Op&dater"
  void toggleWordWrap();           // "&Tekstombrydning"
  void toggleMasterPage(bool on);  // "&Moderside"
  void findCommand();              // "S&øg..."
  void replaceCommand();           // "&Erstat..."
  void selectAllCommand();         // "&Marker alt"
  // Commands whose parts are not built yet (kestrin_hooks.cpp)
  void disableUnbuiltCommands();
  void previewInExternalBrowser(bool firstBrowser);
  void toggleInternalBrowser();
  void setInternalBrowserSize(int width, int height);
  bool internalBrowserShown() const { return false; }
  void showPictureViewer();
  void showProperties();  // "&Egenskaber"
  // Publishing (kestrin_publishing.cpp)
  void createPublishing();
  void showPublishing();
  void publishActiveDocument();
  // Closes the publishing window, which may ask; false when it stays open.
  bool closePublishing();
  void extendedSearch(bool replace);
  void toggleSearchResults();
  void setFileListView(int style);

  morvel::RegIniFile& store_;
  HWND hwnd_ = nullptr;
  EditorLook look_;
  morvel::Settings settings_;
  morvel::MarkupCommands markup_{*this};
  morvel::CodeCommands codes_{*this};
  morvel::EntityCommands entities_{*this};
  morvel::ElementDialogs elementDialogs_{*this};

  QTabWidget* tabs_;
  QSplitter* splForm_ = nullptr;
  QSplitter* splFind_ = nullptr;
  QTabWidget* pagFiler_ = nullptr;
  FilePanes* filePanes_ = nullptr;  // a child object of the window
  FilePane* htmlPane_ = nullptr;
  FilePane* mediaPane_ = nullptr;
  QTreeWidget* trwProjekt_ = nullptr;
  ProjectTree* projects_ = nullptr;   // a child object of the window
  Publishing* publishing_ = nullptr;  // a child object of the window
  QTreeWidget* lwFind_ = nullptr;
  QListWidget* lwTmp_ = nullptr;
  TTivra* edtTmp_ = nullptr;
  QWidget* rlTop_ = nullptr;
  QWidget* rlVenstre_ = nullptr;
  TFriendlyStatusBar* statusBar_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QLabel* overwrite_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QMenu* popMarkTekst_ = nullptr;
  QMenu* popUmarkTekst_ = nullptr;
  QAction* recentSeparator_ = nullptr;
  QActionGroup* viewStyles_ = nullptr;
  std::unique_ptr<TIndstillinger> indstillinger_;

  std::vector<Document> documents_;
  int active_ = 0;
  int masterPage_ = -1;
  int newDocumentCounter_ = 1;
  QStringList commandLineFiles_;
  QPointer<QWidget> splash_;
  bool shown_ = false;
  bool panesLaidOut_ = false;
  bool checkingFiles_ = false;
  bool firstOpenDialog_ = true;
  QString lastOpenFolder_;
  // Pane widths and heights as stored; the panes take them when laid out.
  int paneWidth_ = 200;
  int folderTreeHeight_ = 140;
  QString previewFile_;

  // The selection of the active editor at the last mouse move, start first.
  TivraRange selection_{0, 0, 1, 1};
  bool overSelection_ = false;
  // A drag of selected text inside an editor.
  bool draggingText_ = false;
  TivraRange dragRange_{0, 0, 1, 1};
  QString draggedText_;

  // The find and replace dialogs and their record.
  FINDREPLACE findRecord_{};
  char findWhat_[TIVRA_MAX_FIND_TEXT + 1] = {};
  char replaceWith_[TIVRA_MAX_FIND_TEXT + 1] = {};
  HWND findDialog_ = nullptr;
};
