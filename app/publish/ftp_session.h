// The publishing window's work with the server, without widgets: connecting
// and listing, changing, creating and renaming folders and files, the delete
// chains, and batches of uploads and downloads with their progress. It drives
// the window's client and tells the window, through the On... members, what
// to show; the window asks the user the questions and forwards the answers.
// Nothing here waits: each step goes on from the client's events.
#pragma once

#include "ftp_connections.h"
#include "ftp_listing_view.h"
#include "ftp_messages.h"
#include "ftp_progress.h"
#include "star_ftp.h"

#include <deque>
#include <functional>
#include <vector>

namespace morvel::ftp {

// A file or folder to transfer, its remote and its local path.
struct TransferItem {
  QString remote;
  QString local;
  std::int64_t listedSize = 0;  // a download's size as listed, until the server announces one
};

// The files marked for upload: full paths, or a project's documents as paths
// relative to its root folder.
struct UploadMarks {
  QStringList paths;
  QString projectRoot;  // empty: the paths are full paths
};

// Where each marked file goes below the server's folder `remoteFolder`: a
// full path under its file name, a project's document at its path relative
// to the project's root folder.
std::vector<TransferItem> uploadQueue(const QString& remoteFolder, const UploadMarks& marks);

// The folder with a "/" at its end.
QString withSlash(const QString& folder);

// Which of the selected entries of `folder` to delete, from the answers to
// the delete chain's questions: "Yes" to the files takes the folders with
// them; otherwise the folders are asked about on their own.
struct Deletions {
  QStringList files;    // remote paths
  QStringList folders;  // remote paths, removed after the files
};
using AskYesNo = std::function<bool(const QString& title, const QString& text)>;
Deletions chooseDeletions(const QString& folder, const std::vector<FtpListRow>& selected, const AskYesNo& ask);

class FtpSession {
 public:
  // Sets the client up as the window uses it: port 21, binary transfers,
  // 30 seconds for the connect and 20 for the host lookup.
  explicit FtpSession(TStarFtp& ftp);
  ~FtpSession();
  FtpSession(const FtpSession&) = delete;
  FtpSession& operator=(const FtpSession&) = delete;

  // --- What the window shows
  std::function<void(const QString& text)> OnStatus;  // the status panel
  std::function<void(bool busy)> OnBusy;
  std::function<void(bool connected)> OnConnected;
  std::function<void()> OnListing;                              // rows() and folderItems() changed
  std::function<void(const FtpErrorMessage& message)> OnError;  // a message box with an error icon
  std::function<void(bool open)> OnProgressWindow;
  std::function<void(const QString& caption)> OnProgressCaption;
  std::function<void(const ProgressTexts& texts)> OnProgress;
  std::function<void()> OnBeep;
  // The local files an upload batch has put on the server.
  std::function<void(const QStringList& localFiles)> OnPublished;
  // The server's certificate did not check out: what the user answers, with
  // the reason in words (no handler: refused).
  std::function<TCertificateAnswer(const FtpCertificate& certificate, const QString& problem)> OnCertificateQuestion;
  // Yes or No to going on without TLS (no handler: No).
  std::function<bool(const FtpQuestion& question)> OnQuestion;

  // Where a certificate the user chooses to trust is kept with the
  // connection it was trusted for.
  void setConnectionStore(FtpConnections* store) { store_ = store; }

  // With the setting on, a file's archive flag is cleared once it is stored.
  void setClearArchiveFlags(bool on) { clearArchiveFlags_ = on; }

  // --- Commands; ignored while busy (except stop and disconnect)
  // `title` names the stored connection (empty for one not saved).
  void connect(const FtpConnection& connection, const QString& password, const QString& title = {});
  void disconnect();
  void refresh();
  void changeDir(const QString& folder);
  void makeDir(const QString& name);
  void rename(const QString& oldName, const QString& newName);
  void remove(const Deletions& deletions);
  void upload(const std::vector<TransferItem>& items);
  // The selected entries of the current folder into `localFolder`, folders
  // with everything below them.
  void download(const std::vector<FtpListRow>& selection, const QString& localFolder);
  // Aborts the running transfer and the rest of the batch.
  void stop();

  bool busy() const { return busy_; }
  bool connected() const { return ftp_.Connected(); }
  bool transferring() const { return batch_ == Batch::Upload || batch_ == Batch::Download; }
  const std::vector<FtpListRow>& rows() const { return rows_; }
  QString currentFolder() const { return ftp_.InitialDirectory(); }
  QStringList folderItems() const;

 private:
  enum class Batch { None, Upload, Download, Delete };

  bool begin(Batch batch = Batch::None);
  void finish();
  void listAgain(bool tell = true);
  void setBusy(bool busy);
  void status(const QString& text);

  void listingDone();
  void operationDone(const std::function<void()>& next);
  void info(FtpInfo info, const QString& addinfo);
  void error(FtpError error);
  void connectionEnded();
  void certificateCheck(const FtpCertificate& certificate);

  void nextDeletion();
  void nextUpload();
  void fileStored();
  void uploadsDone();
  void nextDownload();
  void enterFolder(const TransferItem& folder);
  void queueListedEntries();
  void fileReceived();
  void downloadsDone();
  bool queueForDownload(const QString& name, bool isFolder, std::int64_t size, const QString& remoteFolder,
                        const QString& localFolder);
  void startTransfer(bool upload, const TransferItem& item);
  void endBatch();

  TStarFtp& ftp_;
  bool clearArchiveFlags_ = false;
  bool busy_ = false;
  Batch batch_ = Batch::None;
  bool stopped_ = false;
  bool quitWhenDone_ = false;
  bool enteringFolder_ = false;
  QString server_;
  QString title_;
  FtpConnections* store_ = nullptr;
  std::vector<FtpListRow> rows_;

  std::deque<TransferItem> files_, folders_;
  TransferItem current_;
  QString currentLocalFolder_;
  std::int64_t announcedSize_ = 0;
  TransferProgress progress_;
  QStringList published_;
  QStringList failed_;  // names not transferred or deleted
};

}  // namespace morvel::ftp
