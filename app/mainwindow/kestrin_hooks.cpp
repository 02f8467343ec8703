// TKestrin: the commands whose work belongs to other parts of the program.
// The menu items and tool buttons exist and call these handlers; the parts
// that own the work (element dialogs, the code box, preview and picture
// viewer, file panes, projects, publishing, search across documents) fill
// them in.
#include "mainwindow/kestrin.h"

#include "component/tivra_component.h"
#include "mainwindow/file_panes.h"
#include "projects/project_tree.h"
#include "settings/settings_store.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QTreeWidget>

namespace st = morvel::settings;

// --- The code box

void TKestrin::toggleCodeBox() {
  // No code box to show yet.
  command(QStringLiteral("codeBox"))->setChecked(false);
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
  htmlPane_->setViewStyle(style);
  mediaPane_->setViewStyle(style);
  if (viewStyles_ && style < viewStyles_->actions().size()) viewStyles_->actions().at(style)->setChecked(true);
}

void TKestrin::showProperties() {}

void TKestrin::refreshFilePanesAndProjects() {
  htmlPane_->refresh();
  mediaPane_->refresh();
  projects_->refresh();
}

// --- Publishing and the search across documents

void TKestrin::showPublishing() {}

void TKestrin::publishActiveDocument() {}

void TKestrin::extendedSearch(bool) {}

void TKestrin::toggleSearchResults() { command(QStringLiteral("mnuSoegeRes"))->setChecked(false); }
