// TKestrin, the main window: one editor per document in the tabs of
// TabControl1, the file pane pagFiler on the left, the tool bar ToolBar1,
// the status bar StatusBar1 and the menus.
//
// A document is an index i (from 0) into four parallel sequences that always
// have the same length: the tabs of TabControl1, the editors (named
// "Tivra" + i), the file names and the time stamps. The document operations
// live in documents.cpp, the menus in kestrin_menus.cpp, the tool bar in
// kestrin_toolbar.cpp, the editors' keys and mouse in kestrin_editor_input.cpp,
// the edit and search commands in kestrin_edit_commands.cpp, the markup
// commands in kestrin_markup.cpp, the code check and clean-up in
// kestrin_code_commands.cpp, and the commands whose work other parts of the
// program do in kestrin_hooks.cpp.
//
// The settings in force are a value the window keeps; the settings dialog,
// created with the window and living as long as it, edits them.
#pragma once

#include "markup/code_colours.h"
#include "markup/picture_size.h"
#include "markup/text_position.h"
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
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class FilePane;
class ProjectTree;
class QAction;
class QActionGroup;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QSplitter;
class QTabWidget;
class QToolBar;
class QToolButton;
class QTreeWidget;
class TFriendlyStatusBar;
class TIndstillinger;
class TTivra;

namespace morvel {
class RegIniFile;
}

// The commands of the tool bar and menus whose work belongs to the element
// dialogs, the markup commands, the preview, the code check and clean-up,
// the file panes, the projects, publishing and the search across documents.
// Each has a handler in kestrin_hooks.cpp that those parts fill.
enum class MarkupCommand {
  Bold,
  Italic,
  Underline,
  FontSizeUp,
  FontSizeDown,
  Heading1,
  Heading2,
  Heading3,
  Heading4,
  Heading5,
  Heading6,
  Typewriter,
  Preformatted,
  Center,
  AlignRight,
  Justify,
  LineBreak,
  Paragraph,
  HorizontalRule,
  NonBreakingSpace,
  Comment,
  TableRow,
  TableCell,
  ListItem,
  UpdateDate,
  WebColour,
  SystemColour,
  RenameTitle,
};

enum class ElementDialog {
  Font,
  Link,
  Picture,
  Sound,
  Line,
  Email,
  List,
  Frames,
  Table,
  Meta,
  Form,
  ScriptEditor,
  BaseCodes,
  NewFromTemplate,
  WebColour,
  RenameTitle,
};

class TKestrin : public QMainWindow, public morvel::SettingsHost {
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
  // The project tree trwProjekt with its commands and store.
  ProjectTree& projects() const { return *projects_; }
  QMenu* popMarkTekst() const { return popMarkTekst_; }
  QMenu* popUmarkTekst() const { return popUmarkTekst_; }
  // A command of the menus by its object name ("mnuSkjulFilboks", "save"...).
  QAction* command(const QString& name) const;
  // The window as the stand-in knows it: owner of the find dialogs.
  HWND Handle() const { return hwnd_; }
  TIndstillinger& Indstillinger() const { return *indstillinger_; }

  // --- Settings
  morvel::RegIniFile& store() override { return store_; }
  const morvel::Settings& settings() const override { return settings_; }
  void changeSettings(const morvel::Settings& settings) override { settings_ = settings; }
  void applyEditorLook(const EditorLook& look) override;
  const EditorLook& editorLook() const { return look_; }
  // The settings command: shows the settings dialog.
  void showSettings();

  // The files of the command line, opened when the window is first shown.
  void setCommandLineFiles(const QStringList& files);
  // The splash window of the start, closed when the window is first shown.
  void setSplash(QWidget* splash);
  // A file list from another start of the program ("a?b?", possibly empty):
  // opens the files, restores the window and brings it to the front.
  void receiveFileList(const QString& list);

  // --- Documents (documents.cpp)
  int documentCount() const { return static_cast<int>(editors_.size()); }
  int activeDocument() const { return active_; }
  TTivra* editor(int i) const;
  TTivra* activeEditor() const { return editor(active_); }
  QString fileName(int i) const;
  QString timeStamp(int i) const;
  // The document whose file name is exactly this path, or -1.
  int findOpenDocument(const QString& path) const;
  // -1 or the document marked "Moderside".
  int masterPage() const { return masterPage_; }
  void setMasterPage(int i) { masterPage_ = i; }
  // An empty new document, made active; its index.
  int newDocument();
  // The tool button "Nyt dokument": the template dialog or an empty document.
  void newDocumentButton();
  // The open dialog, then each chosen file.
  void openDialog();
  // Opens one file by its full path; false when it could not be read.
  bool openFile(const QString& path);
  // A command-line list: every file name followed by "?". Names that are
  // not full paths of existing files are skipped.
  void openFileList(const QString& list);
  void activateDocument(int i);
  // "[Ingen titel]" unless the text has a title.
  QString documentTitle(int i);
  // The title of a page on disk, or of the open document, or "[Ingen titel]".
  QString fileTitle(const QString& path);
  // The tab captions of all documents and the window caption.
  void refreshCaptions() override;
  // Saving: false when the document was not saved.
  bool saveDocument(int i);
  bool saveDocumentAs(int i);
  void saveAllDocuments();
  // Closing: false when the user cancelled (which also stops close all and
  // the closing of the window) or a chosen save did not happen.
  bool closeActiveDocument();
  bool closeAllDocuments();
  // Asks about each open file that another program changed since it was
  // loaded or saved; runs whenever the application becomes active.
  void checkFilesChangedByOthers();
  // Files dropped from a file manager at a point of the window.
  void dropFiles(const QStringList& files, const QPoint& at);
  // Panel 0 and the date, panels 1 and 2, the "Gem" and "Fortryd" buttons.
  void showFileName(int i);
  void refreshEditorStatus();

  // --- Steps of saving that the clean-up and markup commands provide.
  void convertCodesToUpperCase(int i);
  void insertGeneratorLine(int i);
  void updateAutomaticDate(int i, bool ask, bool atEnd);

  // --- Putting codes into the active document (kestrin_markup.cpp); the
  // element dialogs insert their codes with these two.
  void wrapSelection(const QString& start, const QString& end);
  void insertText(const QString& text);
  // The codes for a file (a picture, a sound or a link) at the caret.
  void insertCodeForFile(const QString& path);
  // Where the "</FONT>" that closes the FONT start code at the start of the
  // selection of document i lies; none when it is missing.
  std::optional<morvel::TextPosition> matchingFontEnd(int i);

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

  // --- Commands of the main window
  void toggleFilePanes();
  void setFilePanesShown(bool show);
  bool filePanesShown() const;
  void refreshCommand();           // "Op&dater"
  void toggleWordWrap();           // "&Tekstombrydning"
  void toggleMasterPage(bool on);  // "&Moderside"
  void findCommand();              // "S&øg..."
  void replaceCommand();           // "&Erstat..."
  void selectAllCommand();         // "&Marker alt"
  void showAbout();
  void showProperties();  // "&Egenskaber"

  // --- Markup commands (kestrin_markup.cpp)
  void runMarkupCommand(MarkupCommand c);
  void userCodeCommand(int i);
  void updateDateCommand();  // F6
  void baseCodesCommand();   // "&Basiskoder, ny side..."
  void showHtmlHelp();       // Shift+F1

  // --- Code check and clean-up (kestrin_code_commands.cpp)
  void checkHtmlCodes();
  void stripHtmlCodes();
  void convertActiveCodesToUpperCase();

  // --- Commands that other parts of the program fill (kestrin_hooks.cpp)
  void openElementDialog(ElementDialog d);
  void editElement();  // F4
  void toggleCodeBox();
  void previewInExternalBrowser(bool firstBrowser);
  void toggleInternalBrowser();
  void setInternalBrowserSize(int width, int height);
  bool internalBrowserShown() const { return false; }
  void showPictureViewer();
  void showPublishing();
  void publishActiveDocument();
  void extendedSearch(bool replace);
  void toggleSearchResults();
  void setFileListView(int style);
  // The size of `path` times the scale when the picture viewer shows it.
  std::optional<morvel::PictureSize> viewerPictureSize(const QString& path) const;
  void loadProjectTree();
  void saveProjectTree();
  void refreshFilePanesAndProjects();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Layout and start-up (kestrin.cpp)
  void createStatusBar();
  void createFilePanes();
  void createHiddenControls();
  void readStartSettings();
  void writeStartSettings();
  void layoutStatusBar();
  void applyToolBarStyle();
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
  TTivra* createEditor(int index);
  void configureEditor(TTivra& editor);
  void appendDocument(const QString& caption);
  void updateCaptions(int i);
  bool writeEncoded(TTivra& editor, const QString& path);
  bool loadIntoEditor(int i, const QString& path);
  bool askToSaveBeforeClose(int i);
  void removeDocument(int i);
  // The file name, or the tab's caption for a document without a file.
  QString documentName(int i) const;
  void copyIntoPaneFolder(const QString& file, FilePane& pane);
  // Edit commands (kestrin_edit_commands.cpp)
  LRESULT windowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void showFindDialog(bool replace);
  void findReplaceMessage(FINDREPLACE& record);

  morvel::RegIniFile& store_;
  HWND hwnd_ = nullptr;
  EditorLook look_;
  morvel::Settings settings_;

  QTabWidget* tabs_;
  QSplitter* splForm_ = nullptr;
  QSplitter* splFind_ = nullptr;
  QTabWidget* pagFiler_ = nullptr;
  FilePane* htmlPane_ = nullptr;
  FilePane* mediaPane_ = nullptr;
  QTreeWidget* trwProjekt_ = nullptr;
  ProjectTree* projects_ = nullptr;  // a child object of the window
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
  QMenu* recentSeparatorMenu_ = nullptr;
  QAction* recentSeparator_ = nullptr;
  QActionGroup* viewStyles_ = nullptr;
  std::unique_ptr<TIndstillinger> indstillinger_;

  std::vector<TTivra*> editors_;
  QStringList fileNames_;
  QStringList timeStamps_;
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
  int viewerHeight_ = 96;
  bool viewerHeightRead_ = false;
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
