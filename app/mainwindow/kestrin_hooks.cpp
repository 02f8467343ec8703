// TKestrin: the commands whose work belongs to parts of the program that are
// not built yet (preview and picture viewer, search across documents) and
// the file panes' view. The menu items and tool buttons exist and call these
// handlers, greyed until the part that owns the work fills them in.
#include "mainwindow/kestrin.h"

#include "component/tivra_component.h"
#include "mainwindow/file_panes.h"
#include "projects/egenskaber.h"
#include "projects/project_tree.h"
#include "settings/settings_store.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QTreeWidget>

namespace st = morvel::settings;

namespace {

// The menu commands and tool buttons whose parts are not built yet. They are
// greyed until their part comes, so that none of them is silently empty.
const char* const kUnbuiltCommands[] = {
    // The picture viewer.
    "pictureViewer",
    // The search across documents.
    "mnuUdvidetSoeg", "mnuUdvidetErstat", "mnuSoegeRes",
    // The preview in browsers.
    "externalBrowser", "documentBrowser", "externalBrowserButton", "internalBrowser", "internalBrowserButton",
    "browser640", "browser800", "browser1024"};

}  // namespace

void TKestrin::disableUnbuiltCommands() {
  for (const char* name : kUnbuiltCommands) command(QString::fromLatin1(name))->setEnabled(false);
  findChild<QMenu*>(QStringLiteral("browserSizeMenu"))->setEnabled(false);
}

// --- Preview

void TKestrin::previewInExternalBrowser(bool) {
  // Shift+F11 cleared the menu setting for this one preview.
  settings_.browserMenu = st::read(store_, st::indstillinger::VisMenu);
}

void TKestrin::toggleInternalBrowser() { command(QStringLiteral("internalBrowser"))->setChecked(false); }

void TKestrin::setInternalBrowserSize(int, int) {}

void TKestrin::showPictureViewer() {}

// --- File panes, projects and properties

void TKestrin::setFileListView(int style) {
  style = qBound(0, style, 3);
  filePanes_->setViewStyle(style);
  if (viewStyles_ && style < viewStyles_->actions().size()) viewStyles_->actions().at(style)->setChecked(true);
}

void TKestrin::showProperties() {
  const QString file = activeFileName();
  if (!file.isEmpty()) morvel::properties::showFileProperties(*this, file);
}

void TKestrin::refreshFilePanesAndProjects() {
  htmlPane_->rereadFolders();
  mediaPane_->rereadFolders();
  projects_->refresh();
}

QString TKestrin::pagesFolder() {
  const QString root = projects_->rootFolderOf(activeFileName());
  return root.isEmpty() ? htmlPane_->folder() : root;
}

// --- The search across documents

void TKestrin::extendedSearch(bool) {}

void TKestrin::toggleSearchResults() { command(QStringLiteral("mnuSoegeRes"))->setChecked(false); }
