// TfrmFtp: what is marked for upload, the batches of uploads and downloads
// with the progress window, drops on the list, and what the session reports.
#include "controls/status_bar.h"
#include "ftp_list.h"
#include "ftp_window.h"
#include "interaction.h"
#include "progress_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

using namespace morvel::ftp;

namespace {

const QString kCaption = QStringLiteral("Overførsel til Internet");

// The local files among dropped addresses; folders are not sent.
QStringList droppedFiles(const QMimeData* data) {
  QStringList files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) files << url.toLocalFile();
  return files;
}

}  // namespace

void TfrmFtp::connectSession() {
  session_->OnStatus = [this](const QString& text) { setStatus(text); };
  session_->OnBusy = [this](bool busy) {
    setBusy(busy);
    if (!busy) batchEnded();
  };
  session_->OnConnected = [this](bool connected) {
    if (!connected) {
      // Nothing listed can be acted on without the connection.
      lwFTP->setRows({});
      cmbMappe->clear();
      StatusBar1->setPanelText(0, objectCountText({}));
      StatusBar1->setPanelText(1, QString());
    }
    updateCommands();
  };
  session_->OnListing = [this] { showListing(); };
  session_->OnError = [this](const FtpErrorMessage& error) { showError(error); };
  session_->OnProgressWindow = [this](bool open) { showProgressWindow(open); };
  session_->OnProgressCaption = [this](const QString& caption) {
    if (progress_) progress_->startFile(caption);
  };
  session_->OnProgress = [this](const ProgressTexts& texts) {
    if (progress_) progress_->showProgress(texts);
  };
  session_->OnBeep = [] { QApplication::beep(); };
  session_->setConnectionStore(&connections_);
  session_->OnCertificateQuestion = [this](const FtpCertificate& certificate, const QString& problem) {
    return askAboutCertificate(certificate, problem);
  };
  session_->OnQuestion = [this](const FtpQuestion& question) {
    return message(question.title, question.text, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
  };
  session_->OnPublished = [this](const QStringList&) {
    if (OnProjectsChanged) OnProjectsChanged();
  };
}

// ---------------------------------------------------------------------------
// Marks

void TfrmFtp::markFiles(const QStringList& paths) {
  marks_ = {paths, {}};
  project_.clear();
  QStringList names;
  for (const QString& path : paths) names << QFileInfo(path).fileName();
  if (!paths.isEmpty()) setStatus(markedStatusText(names));
  updateCommands();
}

void TfrmFtp::markProjectFiles(const QString& project, const QString& root, const QStringList& relative) {
  marks_ = {relative, root};
  project_ = project;
  if (!project.isEmpty())
    setStatus(QStringLiteral("%1 fil(er) markeret til overførsel").arg(relative.size()));
  else if (!relative.isEmpty())
    setStatus(markedStatusText(relative));
  updateCommands();
}

void TfrmFtp::publishProject(const QString& project, const QString& root, const QStringList& relative) {
  markProjectFiles(project, root, relative);
  if (session_->connected()) {
    message(kCaption,
            QStringLiteral("Da forbindelsen til serveren allerede er etableret, skal du sikre dig, at du står i "
                           "projektets rodbibliotek, før du starter overførslen af projektet."),
            MB_OK | MB_ICONINFORMATION);
    return;
  }
  const int index = connections_.indexForProject(project);
  if (index >= 0) return connectionChosen(index);
  message(kCaption,
          QStringLiteral("Du har endnu ikke oprettet en forbindelse, der skal gælde ved overførsel af projektet "
                         "\"%1\". Når du har angivet de ønskede indstillinger for overførslen, så gem dem under "
                         "navnet \"%1\", hvis du ønsker, de skal være standardindstillinger for dette projekt.")
              .arg(project),
          MB_OK | MB_ICONINFORMATION);
  panEgenskaber->show();
}

// ---------------------------------------------------------------------------
// Uploads

void TfrmFtp::startUpload() {
  if (!session_->connected() || session_->busy() || !hasMarks()) return;
  const std::vector<TransferItem> items = uploadQueue(session_->currentFolder(), marks_);
  marks_ = {};
  session_->upload(items);
  updateCommands();
}

bool TfrmFtp::connectedForDrop() {
  if (session_->connected()) return true;
  message(kCaption, QStringLiteral("Du skal være forbundet til serveren for at kunne overføre filer."),
          MB_OK | MB_ICONINFORMATION);
  return false;
}

void TfrmFtp::uploadDropped(const QStringList& paths) {
  if (!connectedForDrop()) return;
  markFiles(paths);
  startUpload();
}

void TfrmFtp::uploadDroppedProjectDocument(const QString& root, const QString& relative) {
  if (!connectedForDrop()) return;
  markProjectFiles({}, root, {relative});
  startUpload();
}

// ---------------------------------------------------------------------------
// Batches

void TfrmFtp::showProgressWindow(bool open) {
  if (open) {
    if (!progress_) {
      progress_ = new TProgress(this);
      progress_->OnCancel = [this] { session_->stop(); };
    }
    progress_->showAtCorner();
    return;
  }
  // The window lives from the start of a batch to its end.
  if (TProgress* window = progress_.data()) {
    progress_ = nullptr;
    window->hide();
    window->deleteLater();
  }
}

void TfrmFtp::batchEnded() {
  if (downloadFolder_.isEmpty()) return;
  const QString folder = std::exchange(downloadFolder_, QString());
  if (OnDownloaded) OnDownloaded(folder);
}

// ---------------------------------------------------------------------------
// Drops on the list

// One of the main window's lists the drag started from, or null.
const TfrmFtp::DropSource* TfrmFtp::dropSourceOf(const QDropEvent& event) const {
  const auto* from = qobject_cast<const QWidget*>(event.source());
  if (!from) return nullptr;
  for (const DropSource& source : dropSources_)
    if (from == source.widget || source.widget->isAncestorOf(from)) return &source;
  return nullptr;
}

bool TfrmFtp::canDrop(const QDropEvent& event) const {
  if (session_->busy()) return false;
  if (const DropSource* source = dropSourceOf(event)) return source->canDrop();
  return !droppedFiles(event.mimeData()).isEmpty();
}

void TfrmFtp::dropped(const QDropEvent& event) {
  if (const DropSource* source = dropSourceOf(event)) return source->drop();
  uploadDropped(droppedFiles(event.mimeData()));
}
