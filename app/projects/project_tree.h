// The project tree trwProjekt on the page "Projekter" of the file pane, its
// pop-up menu popProjekt and tool buttons, and its store beside the program.
//
// The tree has three levels: the top node "Morvel-projekter"; one node per
// project; under each project first its root-folder node ("- " and the
// folder, ending in "/"), then one node per document, its path relative to
// the root folder. Each node keeps its kind, which the commands read back.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class TfrmPrjFiler;

namespace morvel {
class DocumentHost;
}  // namespace morvel

enum class ProjectNodeKind { Top, Project, RootFolder, HtmlDocument, OtherFile, MissingFile };

class ProjectTree : public QObject {
 public:
  // Builds the tool buttons above `tree` (in its parent's layout) and the
  // pop-up menu. A child of `parent`; opens and names documents of `host`.
  ProjectTree(morvel::DocumentHost& host, QTreeWidget* tree, QObject* parent);
  ~ProjectTree() override;
  ProjectTree(const ProjectTree&) = delete;
  ProjectTree& operator=(const ProjectTree&) = delete;

  // --- The store
  QString storePath() const;
  // Replaces the tree with the store's, or with the top node alone when
  // there is no store.
  void load();
  // False when the store could not be written.
  bool save();
  // Writes the store and says so when it cannot.
  void saveOrWarn();

  // --- The tree, for the parts that work on projects
  QTreeWidget* tree() const { return tree_; }
  QTreeWidgetItem* topNode() const;
  QList<QTreeWidgetItem*> projectNodes() const;
  static ProjectNodeKind kind(const QTreeWidgetItem* node);
  // The project a project, root-folder or document node belongs to.
  static QTreeWidgetItem* projectOf(QTreeWidgetItem* node);
  // A project's root folder, ending in "/".
  static QString rootFolder(const QTreeWidgetItem* project);
  static QList<QTreeWidgetItem*> documentNodes(const QTreeWidgetItem* project);
  // The texts of a project's documents, in tree order.
  static QStringList documentTexts(const QTreeWidgetItem* project);
  // The full path of a document node.
  static QString documentFile(const QTreeWidgetItem* document);
  // The root folder of the first project that holds the document `file`;
  // empty when none does.
  QString rootFolderOf(const QString& file) const;
  // The root folder of the project that holds the node last selected.
  QString currentRoot() const { return currentRoot_; }
  QTreeWidgetItem* selectedNode() const;
  // Marks, kinds and order of every node again from the files.
  void refresh();

  // --- Commands
  void newProject();
  void addDocuments();
  void addActiveDocument();
  void openAllDocuments();
  void openSelected();  // a double click or Enter
  void renameSelected();
  void deleteProject();
  void removeDocument();
  void deleteDocumentFile();
  void changeRootFolder();
  void moveProject(bool copy);
  void showProjectFiles();  // "Egenskaber" on a project
  void publishSelected();
  void propertiesSelected();

  QMenu* popProjekt() const { return menu_; }
  // Brings the menu's items up to date for the selected node.
  void menuOpening();

  // The work of the publishing and search windows: publishing a list of
  // files (the captions of a project's file list relative to `root`, or one
  // full path with an empty root), and the search window with a project as
  // its scope. While one is empty its commands are greyed.
  std::function<void(const QStringList& files, const QString& root)> publishFiles;
  std::function<void(const QString& project, bool replace)> searchInProject;

 private:
  void createToolButtons();
  void createMenu();
  QAction* addMenuItem(const char* name, const QString& caption, void (ProjectTree::*handler)());
  void connectTree();
  void selectionChanged(QTreeWidgetItem* node);
  void updateToolButtons(QTreeWidgetItem* node);
  void showContextMenu(const QPoint& at);
  // Drags a document's file (to an editor, the publishing window or
  // another program); false when the node is not one.
  bool startDrag(QTreeWidgetItem* node);
  bool keyPressed(int key);
  void renamed(QTreeWidgetItem* node, const QString& before);
  void setKind(QTreeWidgetItem* node, ProjectNodeKind kind);
  void refreshDocument(QTreeWidgetItem* node, const QString& root);
  void sortChildren(QTreeWidgetItem* node);
  // Adds `file` under `project` unless it is there already; the new node.
  QTreeWidgetItem* addDocument(QTreeWidgetItem* project, const QString& file);
  bool chooseFolder(const QString& caption, QString& folder);
  bool eventFilter(QObject* watched, QEvent* event) override;

  morvel::DocumentHost& owner_;
  QTreeWidget* tree_;
  QToolBar* buttons_ = nullptr;
  QMenu* menu_ = nullptr;
  QString currentRoot_;
  QPoint dragStart_;
  QObject* viewport_ = nullptr;
  // Whether a node's text is being edited in place.
  std::function<bool()> editing_;
  // The store could not be read: it is not overwritten in this run.
  bool storeUnreadable_ = false;
  // Made on first use; a child of the main window.
  TfrmPrjFiler* fileList_ = nullptr;
};
