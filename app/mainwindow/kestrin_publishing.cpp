// TKestrin: the roads to the publishing window: "Overførsel til Internet",
// the active document, the file panes and the project tree, drags between
// the main window's lists and the window's list.
#include "mainwindow/kestrin.h"

#include "interaction.h"
#include "mainwindow/file_list.h"
#include "mainwindow/file_panes.h"
#include "projects/project_tree.h"
#include "publish/publishing.h"

#include <QDir>
#include <QListWidget>
#include <QTreeWidget>

namespace {

bool isCollapsedProject(const QTreeWidgetItem* node) {
  return node && ProjectTree::kind(node) == ProjectNodeKind::Project && !node->isExpanded();
}

bool isHtmlDocument(const QTreeWidgetItem* node) {
  return node && ProjectTree::kind(node) == ProjectNodeKind::HtmlDocument;
}

}  // namespace

void TKestrin::createPublishing() {
  publishing_ = new Publishing(*this, this);
  publishing_->OnProjectsChanged = [this] { projects_->refresh(); };
  // A whole project from the tree comes back from its file list with the
  // root folder; one document with its full path.
  projects_->publishFiles = [this](const QStringList& files, const QString& root) {
    QTreeWidgetItem* node = projects_->selectedNode();
    QTreeWidgetItem* project = node ? ProjectTree::projectOf(node) : nullptr;
    if (!root.isEmpty() && project) return publishing_->publishProject(project->text(0), root, files);
    if (node && project && node != project && ProjectTree::kind(node) != ProjectNodeKind::RootFolder)
      return publishing_->publishProjectDocument(ProjectTree::rootFolder(project), node->text(0));
    publishing_->publishFiles(files);
  };

  filePanes_->hooks.publishFiles = [this](const QStringList& files) { publishing_->publishFiles(files); };
  for (FilePane* pane : {htmlPane_, mediaPane_}) {
    publishing_->addDropSource(
        pane->fileList(), [pane] { return !pane->fileList()->selectedFiles().isEmpty(); },
        [this, pane] {
          if (TfrmFtp* w = publishing_->window()) w->uploadDropped(pane->fileList()->selectedFiles());
        });
    publishing_->acceptDownloadsOn(
        pane->fileList()->view(), [pane] { return pane->folder(); }, [pane] { pane->refresh(); });
  }
  // From the tree: an HTML document is sent at once, a collapsed project is
  // published through its file list; an open project is refused.
  trwProjekt_->setDragEnabled(true);
  trwProjekt_->setDragDropMode(QAbstractItemView::DragOnly);
  publishing_->addDropSource(
      trwProjekt_,
      [this] {
        QTreeWidgetItem* node = projects_->selectedNode();
        return isHtmlDocument(node) || isCollapsedProject(node);
      },
      [this] {
        QTreeWidgetItem* node = projects_->selectedNode();
        if (isCollapsedProject(node)) return projects_->publishSelected();
        TfrmFtp* w = publishing_->window();
        if (w && isHtmlDocument(node))
          w->uploadDroppedProjectDocument(ProjectTree::rootFolder(ProjectTree::projectOf(node)), node->text(0));
      });
}

void TKestrin::publishFiles(const QStringList& paths) { publishing_->publishFiles(paths); }

void TKestrin::showPublishing() { publishing_->open(); }

void TKestrin::publishActiveDocument() {
  const QString file = activeFileName();
  if (file.isEmpty()) {
    platform::messageBox(this, QStringLiteral("Gem dokumentet, før du overfører det til Internet."),
                         QStringLiteral("Overførsel til Internet"), MB_OK | MB_ICONINFORMATION);
    return;
  }
  publishing_->publishFiles({file});
}

bool TKestrin::closePublishing() {
  TfrmFtp* w = publishing_->window();
  return !w || w->close();
}
