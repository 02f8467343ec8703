// TfrmFtp: the commands on the server's folder: changing folders, new
// folders, renaming, the delete chain and downloading the selection.
#include "common_dialogs.h"
#include "ftp_list.h"
#include "ftp_window.h"
#include "interaction.h"

#include <QComboBox>
#include <QDir>

using namespace morvel::ftp;

namespace {

const QString kNewFolderName = QStringLiteral("Ny mappe");

}  // namespace

void TfrmFtp::folderChosen(int index) {
  if (session_->busy() || index < 0) return;
  session_->changeDir(folderOfItem(session_->folderItems(), index));
}

void TfrmFtp::levelUp() {
  if (!session_->busy()) session_->changeDir(QStringLiteral(".."));
}

void TfrmFtp::listDoubleClicked(const FtpListRow& row) {
  if (row.isFolder && !session_->busy()) session_->changeDir(row.name);
}

void TfrmFtp::newFolder() {
  if (!session_->connected() || session_->busy()) return;
  lwFTP->addNewFolderEntry(kNewFolderName);
}

void TfrmFtp::renameEntry() {
  if (session_->connected() && !session_->busy()) lwFTP->editSelectedName();
}

// An empty name, Escape, or the name unchanged does nothing on the server;
// the list shows what it showed before.
void TfrmFtp::nameEdited(const QString& before, const QString& after, bool accepted) {
  const bool newFolder = before.isEmpty();
  if (accepted && !after.isEmpty() && session_->connected()) {
    if (newFolder) return session_->makeDir(after);
    if (after != before) return session_->rename(before, after);
  }
  showListing();
}

void TfrmFtp::deleteEntries() {
  if (!session_->connected() || session_->busy()) return;
  const std::vector<FtpListRow> selected = lwFTP->selectedRows();
  if (selected.empty()) return;
  const Deletions deletions =
      chooseDeletions(session_->currentFolder(), selected, [this](const QString& caption, const QString& text) {
        return message(caption, text, MB_YESNO | MB_ICONQUESTION) == IDYES;
      });
  session_->remove(deletions);
}

void TfrmFtp::downloadTo() {
  if (!session_->connected() || session_->busy() || lwFTP->selectedCount() == 0) return;
  const QString caption = QStringLiteral("Vælg den mappe, du ønsker at overføre de markerede filer til");
  platform::FolderDialogRequest choice;
  choice.title = caption;
  choice.folder = QDir::homePath();
  platform::Request r(platform::RequestKind::BrowseFolder);
  r.parentWidget = this;
  r.caption = caption;
  r.data = &choice;
  if (!platform::ask(r) || choice.chosen.isEmpty()) return;
  downloadSelection(choice.chosen);
}

bool TfrmFtp::downloadSelection(const QString& folder) {
  const std::vector<FtpListRow> selected = lwFTP->selectedRows();
  if (!session_->connected() || session_->busy() || selected.empty()) return false;
  downloadFolder_ = folder;
  session_->download(selected, folder);
  return true;
}
