// TKestrin: the commands whose work belongs to other parts of the program.
// The menu items and tool buttons exist and call these handlers; the parts
// that own the work (markup commands, element dialogs, preview, code check
// and clean-up, file panes, projects, publishing, search across documents)
// fill them in.
#include "kestrin.h"

#include "code_cleanup.h"
#include "documents.h"
#include "file_panes.h"
#include "indstillinger.h"
#include "settings_store.h"
#include "tivra_component.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QMenu>
#include <QTreeWidget>

namespace st = morvel::settings;

// --- Steps of saving

void TKestrin::convertCodesToUpperCase(int i) {
  TTivra* e = editor(i);
  if (!e) return;
  const std::string text = e->TextBytes();
  if (text.find('<') == std::string::npos) return;
  const std::string upper = morvel::codesToUpperCase(text);
  if (upper == text) return;
  e->GetSelection();
  const int startLine = e->StartLine(), startPos = e->StartPos(), endLine = e->EndLine(), endPos = e->EndPos();
  replaceWholeText(*e, upper);
  // Letters change case in place: the selection still covers the same text.
  e->setStartLine(startLine);
  e->setStartPos(startPos);
  e->setEndLine(endLine);
  e->setEndPos(endPos);
  e->SetSelection();
}

void TKestrin::insertGeneratorLine(int) {
  // The generator line before "</HEAD>": filled by the markup commands.
}

void TKestrin::updateAutomaticDate(int, bool, bool) {
  // The update date between its markers: filled by the markup commands.
}

// --- Markup commands and element dialogs

void TKestrin::runMarkupCommand(MarkupCommand) {}

void TKestrin::openElementDialog(ElementDialog) {}

void TKestrin::userCodeCommand(int) {}

void TKestrin::insertMenuOpening() {
  // The user's own codes: an item for each slot with a description.
  for (int i = 1; i <= 9; ++i) {
    QAction* item = command(QStringLiteral("mnuB%1").arg(i));
    const QString caption = QString::fromStdString(store_.ReadString(st::kKoder, st::userCode(i, 'a'), ""));
    item->setText(caption);
    item->setVisible(!caption.isEmpty());
  }
  if (QMenu* codes = findChild<QMenu*>(QStringLiteral("userCodesMenu")))
    codes->setEnabled(command(QStringLiteral("mnuB1"))->isVisible());
}

void TKestrin::editElement() {}

void TKestrin::showHtmlHelp() {}

// --- Code check and clean-up

void TKestrin::checkHtmlCodes() {}

void TKestrin::stripHtmlCodes() {}

void TKestrin::convertActiveCodesToUpperCase() {}

void TKestrin::toggleCodeBox() {
  // No code box to show yet.
  command(QStringLiteral("codeBox"))->setChecked(false);
}

// --- Preview

void TKestrin::previewInExternalBrowser(bool) {
  // Shift+F11 cleared the menu setting for this one preview.
  indstillinger_->chkVisMenu->setChecked(st::read(store_, st::indstillinger::VisMenu));
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

void TKestrin::insertCodeForFile(const QString&) {}

void TKestrin::loadProjectTree() {
  // Without a project store the tree holds its top node alone.
  trwProjekt_->clear();
  new QTreeWidgetItem(trwProjekt_, QStringList{QStringLiteral("Morvel-projekter")});
}

void TKestrin::saveProjectTree() {}

void TKestrin::refreshFilePanesAndProjects() {
  htmlPane_->refresh();
  mediaPane_->refresh();
}

// --- Publishing and the search across documents

void TKestrin::showPublishing() {}

void TKestrin::publishActiveDocument() {}

void TKestrin::extendedSearch(bool) {}

void TKestrin::toggleSearchResults() { command(QStringLiteral("mnuSoegeRes"))->setChecked(false); }
