// TfrmSkript, the script editor: a JavaScript or VBScript program in an
// editor of its own (edSkript), a tree of JavaScript objects, properties,
// methods and reserved words whose names it inserts, script files in the
// "Skript" folder, and the finished script put into the active document as
// a <SCRIPT> element. It is made when the program starts and kept, so an
// unsaved script lasts as long as the program runs.
//
// Opened from the menu it stays open beside the page for a new script (the
// last text kept); opened by the edit-element command it edits the script
// of a <SCRIPT> element, shown modally.
#pragma once

#include "dialogs/edited_element.h"

#include <QDialog>
#include <QString>

#include <string>

class QAction;
class QComboBox;
class QMenu;
class QMenuBar;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class TFriendlyStatusBar;
class TTivra;
class TfrmBrowservindue;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class TfrmSkript : public QDialog {
 public:
  explicit TfrmSkript(morvel::DocumentHost& host, QWidget* parent = nullptr);
  ~TfrmSkript() override;

  // Before showing it for a new script.
  void prepareNew();
  // Before showing it for the script of an element the edit-element command
  // took apart. False when the user keeps a script not yet saved or put
  // into a page instead; nothing changed then.
  bool prepareEdit(const morvel::EditedElement& element);

  QMenuBar* MainMenu1 = nullptr;
  QToolBar* ToolBar1 = nullptr;
  QComboBox* cmbSkript = nullptr;
  QSplitter* Splitter1 = nullptr;
  QTreeWidget* trwHieraki = nullptr;
  TTivra* edSkript = nullptr;
  TFriendlyStatusBar* StatusBar1 = nullptr;
  // A command of the menus and tool bar by its name ("mnuGem", ...).
  QAction* command(const QString& name) const;
  // The open-window dialog, made on first use and kept.
  TfrmBrowservindue& Browservindue();

  // The script's file; empty for a new script.
  QString fileName() const { return fileName_; }
  bool javaScript() const;

  // The commands
  void newScript();       // "&Ny"
  void openScript();      // "Å&bn..."
  bool saveScript();      // "&Gem"
  bool saveScriptAs();    // "Gem &som..."
  void updateDocument();  // "&Opdater og luk"
  void insertSnippet(const char* text, int caretBack);
  void insertFromTree(QTreeWidgetItem* item);

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void buildEditor();
  void buildTree();
  void buildCommands();
  void buildLayout();
  void restorePlace();
  void keepPlace();
  void languageChanged();
  void showTree(bool show);
  void refreshStatus();
  void editMenuOpening();
  bool mayDropScript(const QString& question, const QString& title);
  void loadScript(const QString& path);
  bool writeScript(const QString& path);
  void startText(const std::string& text);
  QAction* addCommand(QMenu* menu, const char* name, const QString& caption, void (TfrmSkript::*handler)());

  morvel::DocumentHost& host_;
  QString fileName_;
  // While a <SCRIPT> element is edited: the attributes it keeps.
  bool editing_ = false;
  std::string keptAttributes_;
  bool treeWanted_ = true;
  int treeWidth_ = 0;  // the tree's width until the window is first shown
  QMenu* editMenu_ = nullptr;
  QMenu* insertMenu_ = nullptr;
  TfrmBrowservindue* browserWindow_ = nullptr;
};
