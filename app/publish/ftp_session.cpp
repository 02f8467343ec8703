#include "ftp_session.h"

#include "projects/archive_flag.h"
#include "projects/project_paths.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace morvel::ftp {

namespace {

const QString kUpdatingListing = QStringLiteral("Opdaterer filoversigt...");

QString fileName(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

QString withSlash(const QString& folder) { return folder.endsWith('/') ? folder : folder + '/'; }

std::vector<TransferItem> uploadQueue(const QString& remoteFolder, const UploadMarks& marks) {
  const QString base = withSlash(remoteFolder);
  std::vector<TransferItem> items;
  for (const QString& path : marks.paths) {
    if (marks.projectRoot.isEmpty()) {
      items.push_back({base + fileName(path), path});
      continue;
    }
    const QString relative = QString(path).replace('\\', '/');
    const std::string local =
        resolveRelativePath(withTrailingSlash(marks.projectRoot.toStdString()), relative.toStdString());
    items.push_back({base + relative, QString::fromStdString(local)});
  }
  return items;
}

Deletions chooseDeletions(const QString& folder, const std::vector<FtpListRow>& selected, const AskYesNo& ask) {
  Deletions d;
  for (const FtpListRow& row : selected) (row.isFolder ? d.folders : d.files) << withSlash(folder) + row.name;
  const QString question = QStringLiteral("Ønsker du at slette %1?");
  if (ask(QStringLiteral("Slet filer på Internet"), question.arg(QStringLiteral("de markerede filer?"))) &&
      !d.files.isEmpty())
    return d;
  if (ask(QStringLiteral("Slet mapper på Internet"), question.arg(QStringLiteral("de markerede mapper?"))) &&
      !d.folders.isEmpty())
    return {{}, d.folders};
  return {};
}

FtpSession::FtpSession(TStarFtp& ftp) : ftp_(ftp) {
  ftp_.setFtpPort(21);
  ftp_.setTransferMode(TTransferType::BinaryTransfer);
  ftp_.setTimeOutConnect(30);
  ftp_.setTimeOutArp(20);
  ftp_.OnFtpInfo = [this](TStarFtp&, FtpInfo code, const QString& addinfo) { info(code, addinfo); };
  ftp_.OnFtpError = [this](TStarFtp&, FtpError code, const QString&) { error(code); };
  ftp_.OnFtpQuit = [this](TStarFtp&) { connectionEnded(); };
  ftp_.OnLoggedIn = [this](TStarFtp&) {
    if (!ftp_.Connected()) return connectionEnded();
    if (OnConnected) OnConnected(true);
    listAgain();
  };
  ftp_.OnListingDone = [this](TStarFtp&) { listingDone(); };
  ftp_.OnDirectoryChanged = [this](TStarFtp&) {
    if (batch_ != Batch::Download) return listAgain();
    if (ftp_.Success()) return ftp_.List();
    enteringFolder_ = false;
    failed_ << current_.remote;  // a folder that cannot be entered is left out
    nextDownload();
  };
  ftp_.OnDirectoryCreated = [this](TStarFtp&) { listAgain(); };
  ftp_.OnFileRenamed = [this](TStarFtp&) { listAgain(); };
  ftp_.OnFileDeleted = [this](TStarFtp&) { operationDone([this] { nextDeletion(); }); };
  ftp_.OnDirectoryDeleted = [this](TStarFtp&) { operationDone([this] { nextDeletion(); }); };
  ftp_.OnFileStored = [this](TStarFtp&) { fileStored(); };
  ftp_.OnFileReceived = [this](TStarFtp&) { fileReceived(); };
  ftp_.OnCertificateCheck = [this](TStarFtp&, const FtpCertificate& certificate) { certificateCheck(certificate); };
  ftp_.OnPlainFallback = [this](TStarFtp&, TPlainFallback what) {
    const FtpQuestion question = plainFallbackQuestion(what == TPlainFallback::WholeConnection, server_);
    ftp_.AnswerPlainFallback(OnQuestion && OnQuestion(question));
  };
}

FtpSession::~FtpSession() {
  for (auto* event :
       {&ftp_.OnLoggedIn, &ftp_.OnListingDone, &ftp_.OnDirectoryChanged, &ftp_.OnDirectoryCreated, &ftp_.OnFileRenamed,
        &ftp_.OnFileDeleted, &ftp_.OnDirectoryDeleted, &ftp_.OnFileStored, &ftp_.OnFileReceived, &ftp_.OnFtpQuit})
    *event = nullptr;
  ftp_.OnCertificateCheck = nullptr;
  ftp_.OnPlainFallback = nullptr;
  ftp_.OnFtpInfo = nullptr;
  ftp_.OnFtpError = nullptr;
}

// ---------------------------------------------------------------------------
// Single commands: each ends with the listing fetched again

bool FtpSession::begin(Batch batch) {
  if (busy_) return false;
  batch_ = batch;
  stopped_ = false;
  failed_.clear();
  setBusy(true);
  return true;
}

void FtpSession::finish() {
  batch_ = Batch::None;
  setBusy(false);
  // A batch that left something out does not end as if all went well.
  status(failed_.isEmpty() ? QStringLiteral("Klar")
                           : QStringLiteral("Ikke overført: %1").arg(failed_.join(QStringLiteral(", "))));
  if (std::exchange(quitWhenDone_, false)) ftp_.Quit();
}

void FtpSession::connect(const FtpConnection& connection, const QString& password, const QString& title) {
  if (!begin()) return;
  server_ = connection.server;
  title_ = title;
  ftp_.setSecurity(!connection.secure         ? TFtpSecurity::PlainFtp
                   : connection.requireSecure ? TFtpSecurity::TlsRequired
                                              : TFtpSecurity::TlsIfPossible);
  ftp_.setPassive(connection.passive);
  ftp_.setTrustedFingerprint(connection.trustedFingerprint);
  ftp_.setFtpServer(connection.server);
  ftp_.setUserName(connection.user);
  ftp_.setUserPassword(password);
  ftp_.setInitialDirectory(connection.startFolder);
  ftp_.Connect();
}

// The client takes no QUIT while it works: a transfer is stopped first, and
// the goodbye follows when the running command has ended.
void FtpSession::disconnect() {
  if (!ftp_.Connected()) return;
  if (!busy_) return ftp_.Quit();
  quitWhenDone_ = true;
  stop();
}

void FtpSession::refresh() {
  if (begin()) listAgain();
}

void FtpSession::changeDir(const QString& folder) {
  if (begin()) ftp_.ChangeDir(folder);
}

void FtpSession::makeDir(const QString& name) {
  if (!begin()) return;
  status(QStringLiteral("Opretter mappe %1").arg(name));
  ftp_.MakeDir(name);
}

void FtpSession::rename(const QString& oldName, const QString& newName) {
  if (!begin()) return;
  status(QStringLiteral("Omdøber fil"));
  ftp_.RenameFile(oldName, newName);
}

// After each command, whether it succeeded or not, the folder is listed again.
void FtpSession::listAgain(bool tell) {
  if (!ftp_.Connected()) return connectionEnded();
  if (tell) status(kUpdatingListing);
  ftp_.List();
}

void FtpSession::listingDone() {
  rows_ = listingRows(ftp_.ListingEntries());
  if (OnListing) OnListing();
  if (batch_ == Batch::Download && enteringFolder_) return queueListedEntries();
  finish();
}

// The next step of a chain, unless the connection has ended meanwhile.
void FtpSession::operationDone(const std::function<void()>& next) {
  if (!ftp_.Connected()) return connectionEnded();
  next();
}

QStringList FtpSession::folderItems() const {
  return folderListItems(server_, ftp_.InitialDirectory(), ftp_.ServerType());
}

// ---------------------------------------------------------------------------
// What the client reports

void FtpSession::info(FtpInfo code, const QString& addinfo) {
  switch (code) {
    case FtpInfo::DataProgress:
      if (ftp_.ReceivingListing())
        return status(QStringLiteral("Opdaterer filoversigt: %1 bytes").arg(ftp_.BytesTransferred()));
      if (OnProgress && transferring())
        OnProgress(progress_.report(ftp_.BytesTransferred(), announcedSize_, ftp_.TransferMilliseconds()));
      return;
    case FtpInfo::TransferSize: {
      bool announced = false;
      const std::int64_t size = addinfo.toLongLong(&announced);
      if (!transferring() || !announced) return;
      announcedSize_ = size;
      if (OnProgressCaption)
        OnProgressCaption(progressCaption(batch_ == Batch::Upload, fileName(current_.local), announcedSize_));
      return;
    }
    default: {
      const QString text = infoStatusText(code, addinfo);
      if (!text.isEmpty()) status(text);
    }
  }
}

void FtpSession::error(FtpError code) {
  const FtpErrorMessage message = errorMessage(code, server_, ftp_.LocalFile());
  if (message.text.isEmpty()) return;
  if (message.title.isEmpty()) return status(message.text);
  if (OnError) OnError(message);
}

// A fatal error or the server's goodbye: whatever was queued is dropped.
void FtpSession::connectionEnded() {
  const bool batch = transferring();
  files_.clear();
  folders_.clear();
  if (batch) {
    if (OnProgressWindow) OnProgressWindow(false);
    if (OnPublished && !published_.isEmpty()) OnPublished(published_);
  }
  published_.clear();
  batch_ = Batch::None;
  failed_.clear();
  setBusy(false);
  status(QStringLiteral("Klar"));
  if (OnConnected) OnConnected(false);
}

// A certificate the user trusts is kept with the stored connection, so that
// the next connection accepts it, and refuses another in its place.
void FtpSession::certificateCheck(const FtpCertificate& certificate) {
  const TCertificateAnswer answer = OnCertificateQuestion
                                        ? OnCertificateQuestion(certificate, problemText(certificate, server_))
                                        : TCertificateAnswer::Refuse;
  if (answer == TCertificateAnswer::Trust && store_ && !title_.isEmpty())
    store_->trustFingerprint(title_, certificate.fingerprint);
  ftp_.AnswerCertificate(answer);
}

// ---------------------------------------------------------------------------
// Deleting: the files, then the folders, then the listing

void FtpSession::remove(const Deletions& deletions) {
  if (deletions.files.isEmpty() && deletions.folders.isEmpty()) return;
  if (!begin(Batch::Delete)) return;
  for (const QString& file : deletions.files) files_.push_back({file, {}});
  for (const QString& folder : deletions.folders) folders_.push_back({folder, {}});
  nextDeletion();
}

void FtpSession::nextDeletion() {
  if (!files_.empty()) {
    current_ = files_.front();
    files_.pop_front();
    status(QStringLiteral("Sletter %1").arg(current_.remote));
    return ftp_.DeleteFile(current_.remote);
  }
  if (!folders_.empty()) {
    current_ = folders_.front();
    folders_.pop_front();
    status(QStringLiteral("Sletter mappen %1").arg(current_.remote));
    return ftp_.RemoveDir(current_.remote);
  }
  listAgain();
}

// ---------------------------------------------------------------------------
// Transfers

void FtpSession::startTransfer(bool upload, const TransferItem& item) {
  current_ = item;
  announcedSize_ = upload ? QFileInfo(item.local).size() : item.listedSize;
  status(QStringLiteral("Starter overførsel af %1").arg(fileName(item.local)));
  if (OnProgressCaption) OnProgressCaption(progressCaption(upload, fileName(item.local), announcedSize_));
  ftp_.setLocalFile(item.local);
  ftp_.setRemoteFile(item.remote);
  upload ? ftp_.Store() : ftp_.Retrieve();
}

void FtpSession::stop() {
  if (!transferring()) return;
  stopped_ = true;
  files_.clear();
  folders_.clear();
  ftp_.Abort();
}

void FtpSession::endBatch() {
  if (OnProgressWindow) OnProgressWindow(false);
  if (OnBeep) OnBeep();
  if (stopped_) failed_.clear();  // the user knows what was left
}

void FtpSession::upload(const std::vector<TransferItem>& items) {
  if (items.empty() || !begin(Batch::Upload)) return;
  files_.assign(items.begin(), items.end());
  progress_ = TransferProgress();
  published_.clear();
  if (OnProgressWindow) OnProgressWindow(true);
  nextUpload();
}

void FtpSession::nextUpload() {
  if (!ftp_.Connected()) return connectionEnded();
  if (files_.empty()) return uploadsDone();
  const TransferItem item = files_.front();
  files_.pop_front();
  startTransfer(true, item);
}

void FtpSession::fileStored() {
  if (ftp_.Success()) {
    // Only a file that reached the server counts as published.
    if (clearArchiveFlags_) clearArchiveFlag(current_.local.toStdString());
    published_ << current_.local;
    progress_.fileDone(ftp_.BytesTransferred(), ftp_.TransferMilliseconds());
  } else {
    failed_ << fileName(current_.local);
  }
  nextUpload();
}

void FtpSession::uploadsDone() {
  endBatch();
  if (OnPublished) OnPublished(published_);
  published_.clear();
  batch_ = Batch::None;
  listAgain(false);
}

void FtpSession::download(const std::vector<FtpListRow>& selection, const QString& localFolder) {
  if (selection.empty() || !begin(Batch::Download)) return;
  files_.clear();
  folders_.clear();
  progress_ = TransferProgress();
  const QString local = QDir::cleanPath(localFolder);
  QDir().mkpath(local);
  for (const FtpListRow& row : selection)
    queueForDownload(row.name, row.isFolder, row.bytes, ftp_.InitialDirectory(), local);
  if (OnProgressWindow) OnProgressWindow(true);
  nextDownload();
}

// False for a name that cannot be a file or folder name inside the local
// folder: such a name could lead outside it, so it is left out.
bool FtpSession::queueForDownload(const QString& name, bool isFolder, std::int64_t size, const QString& remoteFolder,
                                  const QString& localFolder) {
  if (!isSafeLocalName(name.toStdString())) {
    failed_ << name;
    status(QStringLiteral("%1 er sprunget over: navnet kan ikke bruges som filnavn").arg(name));
    return false;
  }
  const TransferItem item{withSlash(remoteFolder) + name, withSlash(localFolder) + name, size};
  (isFolder ? folders_ : files_).push_back(item);
  return true;
}

void FtpSession::nextDownload() {
  if (!ftp_.Connected()) return connectionEnded();
  if (!files_.empty()) {
    const TransferItem item = files_.front();
    files_.pop_front();
    return startTransfer(false, item);
  }
  if (!folders_.empty()) {
    const TransferItem folder = folders_.front();
    folders_.pop_front();
    return enterFolder(folder);
  }
  downloadsDone();
}

void FtpSession::enterFolder(const TransferItem& folder) {
  current_ = folder;
  if (!QDir().mkpath(folder.local)) {
    failed_ << fileName(folder.local);
    status(QStringLiteral("Fejl under åbning af %1").arg(folder.local));
    return nextDownload();
  }
  currentLocalFolder_ = folder.local;
  enteringFolder_ = true;
  ftp_.ChangeDir(folder.remote);
}

// Everything in the folder just entered joins the queues. Links inside it
// are not followed: one that points at a folder above would never end.
void FtpSession::queueListedEntries() {
  enteringFolder_ = false;
  for (const FtpListEntry& entry : ftp_.ListingEntries()) {
    if (stopped_ || entry.isLink || entry.name == "." || entry.name == "..") continue;
    queueForDownload(QString::fromStdString(entry.name), entry.isDirectory, listedBytes(entry.size),
                     ftp_.InitialDirectory(), currentLocalFolder_);
  }
  nextDownload();
}

void FtpSession::fileReceived() {
  if (ftp_.Success())
    progress_.fileDone(ftp_.BytesTransferred(), ftp_.TransferMilliseconds());
  else
    failed_ << fileName(current_.local);
  nextDownload();
}

void FtpSession::downloadsDone() {
  endBatch();
  finish();
}

// ---------------------------------------------------------------------------

void FtpSession::setBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (OnBusy) OnBusy(busy);
}

void FtpSession::status(const QString& text) {
  if (OnStatus) OnStatus(text);
}

}  // namespace morvel::ftp
