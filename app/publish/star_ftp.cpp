#include "star_ftp.h"

#include "qtext.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <limits>
#include <utility>

using namespace morvel::ftp;

namespace {

std::string toWire(const QString& text) { return text.toUtf8().toStdString(); }

// `legacy` tells whether the bytes were not UTF-8 and so read as Windows-1252.
QString fromWire(std::string_view bytes, bool* legacy = nullptr) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (legacy) *legacy = utf8.hasError();
  return utf8.hasError() ? platform::fromCp1252(bytes) : text;
}

QString fixedText(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TStarFtp::TStarFtp() {
  OnConnected = [this](int error) { controlConnected(error); };
  OnReadable = [this] { controlReadable(); };
  OnClosed = [this](int error) { controlClosed(error); };
  OnLookupDone = [this](int error, ULONG address) {
    if (error) return socketError(error);
    info(FtpInfo::Resolved, QString::fromStdString(Dotted(address)));
    connectTo(address);
  };
  OnTimeOut = [this] { fatalError(FtpError::TimedOut); };
  OnTlsReady = [this](bool ok) { controlSecured(ok); };

  listener_.OnIncoming = [this] { dataIncoming(); };
  dataSocket_.OnConnected = [this](int error) {
    if (!error) return dataOpened();
    if (!aborting_) fatalError(FtpError::DataConnection);
  };
  dataSocket_.OnTimeOut = [this] {
    if (!aborting_) fatalError(FtpError::DataConnection);
  };
  dataSocket_.OnTlsReady = [this](bool ok) { dataSecured(ok); };
  dataSocket_.OnReadable = [this] { dataReadable(); };
  dataSocket_.OnWritable = [this] {
    if (data_ == DataKind::Store) continueUpload();
  };
  dataSocket_.OnClosed = [this](int error) { dataClosed(error); };
}

TStarFtp::~TStarFtp() {
  // No events from a component that is going away.
  OnFtpInfo = nullptr;
  OnFtpError = nullptr;
  if (download_) download_->cancelWriting();
  closeData();
  Close();
}

void TStarFtp::setWinsockStarted(bool on) {
  if (on) {
    if (!StartWinsock()) lightError(FtpError::NoSocketLibrary);
    return;
  }
  closeData();
  dropControl();
  listener_.ReleaseWinsock();
  dataSocket_.ReleaseWinsock();
  ReleaseWinsock();
  connected_ = false;
}

// ---------------------------------------------------------------------------
// Starting operations

bool TStarFtp::mayStart(bool needsConnection) {
  if (busy_) {
    info(FtpInfo::Busy);
    return false;
  }
  if (needsConnection && !connected_) {
    info(FtpInfo::Disconnected);
    return false;
  }
  return true;
}

void TStarFtp::begin(Operation op) {
  busy_ = true;
  success_ = true;
  operation_ = op;
}

// Starts an operation that needs the connection and sends names; false when
// the call was refused (nothing changes then) or a name could not be sent
// (the operation has ended).
bool TStarFtp::beginWithNames(Operation op, std::initializer_list<QString> names) {
  if (!mayStart(true)) return false;
  begin(op);
  return !refuseUnsendable(names);
}

bool TStarFtp::sendable(const QString& argument) const { return isSendable(encodeArgument(argument)); }

// A name with a line end or NUL would end the command early and let the
// rest pass for a command of its own: such a name ends the operation before
// anything goes to the server.
bool TStarFtp::refuseUnsendable(std::initializer_list<QString> arguments) {
  for (const QString& argument : arguments) {
    if (sendable(argument)) continue;
    lightError(FtpError::UnsendableName);
    finish();
    return true;
  }
  return false;
}

void TStarFtp::Connect() {
  if (!mayStart(false)) return;
  if (connected_) {
    // A new connection replaces the old one.
    closeData();
    dropControl();
    connected_ = false;
  }
  begin(Operation::LoggedIn);
  if (!StartWinsock() || !listener_.StartWinsock() || !dataSocket_.StartWinsock()) {
    lightError(FtpError::NoSocketLibrary);
    return finish();
  }
  if (ftpServer_.isEmpty()) ftpServer_ = askFor(TFtpInfoNeeded::niHost, ftpServer_);
  if (ftpServer_.isEmpty()) {
    lightError(FtpError::NoServerName);
    return finish();
  }
  const std::string server = toWire(ftpServer_.trimmed());
  if (server.empty()) {
    lightError(FtpError::NoServerName);
    return finish();
  }
  legacyNames_.clear();
  protectData_ = false;
  dataResumed_ = false;
  epsvRefused_ = false;
  certificate_ = {};
  acceptedFingerprint_.clear();
  resumable_.reset();
  if (refuseUnsendable({userName_, userPassword_, userAccount_, initialDirectory_})) return;
  replies_.reset();
  state_ = State::Greeting;
  if (!CreateSocket()) return socketError(LastError());
  if (server[0] >= '0' && server[0] <= '9') {
    const ULONG address = inet_addr(server.c_str());
    if (address == INADDR_NONE) return fatalError(FtpError::InvalidAddress);
    return connectTo(address);
  }
  info(FtpInfo::LookingUp, ftpServer_);
  if (!LookUp(server, timeOutArp_)) socketError(LastError());
}

void TStarFtp::connectTo(ULONG address) {
  serverIp_ = address;
  serverAddress_ = QString::fromStdString(Dotted(address));
  if (!ConnectTo(address, ftpPort_ ? ftpPort_ : 21, timeOutConnect_)) socketError(LastError());
}

void TStarFtp::Quit() {
  if (!mayStart(true)) return;
  begin(Operation::None);
  sendCommand("QUIT", State::Quit);
}

void TStarFtp::ChangeDir(const QString& dir) {
  if (!beginWithNames(Operation::DirectoryChanged, {dir})) return;
  initialDirectory_ = dir;
  sendCommand("CWD", dir, State::Cwd);
}

void TStarFtp::MakeDir(const QString& dir) {
  if (beginWithNames(Operation::DirectoryCreated, {dir})) sendCommand("MKD", dir, State::Mkd);
}

void TStarFtp::RemoveDir(const QString& dir) {
  if (beginWithNames(Operation::DirectoryDeleted, {dir})) sendCommand("RMD", dir, State::Rmd);
}

void TStarFtp::DeleteFile(const QString& name) {
  if (beginWithNames(Operation::FileDeleted, {name})) sendCommand("DELE", name, State::Dele);
}

void TStarFtp::RenameFile(const QString& oldName, const QString& newName) {
  if (!beginWithNames(Operation::FileRenamed, {oldName, newName})) return;
  renameTo_ = newName;
  sendCommand("RNFR", oldName, State::Rnfr);
}

void TStarFtp::List(bool saveToLocalFile) {
  if (!mayStart(true)) return;
  begin(Operation::ListingDone);
  saveListing_ = saveToLocalFile;
  sendCommand("PWD", State::ListPwd);
}

void TStarFtp::Retrieve() {
  if (!mayStart(true)) return;
  begin(Operation::FileReceived);
  if (remoteFile_.isEmpty()) {
    lightError(FtpError::NoRemoteFile);
    return finish();
  }
  if (refuseUnsendable({remoteFile_})) return;
  // Into a new file beside the old one, which it replaces only when the
  // whole file has arrived: a failed transfer leaves the old file as it was.
  download_ = std::make_unique<QSaveFile>(localFile_);
  if (localFile_.isEmpty() || !download_->open(QIODevice::WriteOnly)) {
    download_.reset();
    lightError(FtpError::LocalFileOpen);
    return finish();
  }
  sendCommand(transferMode_ == TTransferType::AsciiTransfer ? "TYPE A" : "TYPE I", State::RetrieveType);
}

void TStarFtp::Store() {
  if (!mayStart(true)) return;
  begin(Operation::FileStored);
  if (remoteFile_.isEmpty()) {
    lightError(FtpError::NoRemoteFile);
    return finish();
  }
  if (refuseUnsendable({remoteFile_})) return;
  upload_ = std::make_unique<QFile>(localFile_);
  if (localFile_.isEmpty() || !upload_->open(QIODevice::ReadOnly)) {
    upload_.reset();
    lightError(FtpError::LocalFileOpen);
    return finish();
  }
  sendCommand(transferMode_ == TTransferType::AsciiTransfer ? "TYPE A" : "TYPE I", State::StoreType);
}

void TStarFtp::Abort() {
  if (aborting_ || (state_ != State::Retrieve && state_ != State::Store)) return;
  aborting_ = true;
  success_ = false;
  // The server answers the transfer and then the ABOR; the operation ends
  // after both, so that no answer is left over for the next command.
  abortRepliesLeft_ = controlDone_ ? 1 : 2;
  // Inside TLS the Telnet signs cannot go as urgent data, which would break
  // the TLS connection: the ABOR goes alone, as secured clients send it.
  if (!Secured()) {
    SendQueued(std::string("\xFF\xF4", 2));        // Telnet IAC IP
    SendQueued(std::string("\xFF\xF2", 2), true);  // IAC DM as urgent data: the Synch
  }
  info(FtpInfo::SendingCommand, "ABOR\r\n");
  // Nothing follows the ABOR: a further IAC DM in the normal data would
  // stand in front of the next command, and servers that do not read Telnet
  // signs refuse that command as unknown.
  if (!SendQueued("ABOR\r\n")) return socketError(LastError());
  if (data_ == DataKind::Store && !dataDone_) {
    closeData();
    dataSideDone();
  }
}

// ---------------------------------------------------------------------------
// The control connection

void TStarFtp::controlConnected(int error) {
  if (error) return socketError(error);
  connected_ = true;
  activity();
  SetTimer(Window(), kReplyTimer, 1000, nullptr);
  info(FtpInfo::Connected, serverAddress_);
}

void TStarFtp::controlReadable() {
  const int n = Receive(buffer_, kBlockSize);
  if (n < 0) return socketError(LastError());
  if (n == 0) return;
  activity();
  const std::string_view text(buffer_, static_cast<size_t>(n));
  info(FtpInfo::ControlData, fromWire(text));
  replies_.append(text);
  handleReplies();
}

void TStarFtp::controlClosed(int error) {
  if (error) return socketError(error);
  // Whatever the server said before it closed is still read and handled.
  for (;;) {
    const int n = Receive(buffer_, kBlockSize);
    if (n <= 0) break;
    const std::string_view text(buffer_, static_cast<size_t>(n));
    info(FtpInfo::ControlData, fromWire(text));
    replies_.append(text);
  }
  handleReplies();
  if (!connected_) return;
  if (state_ != State::Idle && state_ != State::Quit) {
    // The server went away in the middle of an operation, which therefore
    // did not succeed, whatever arrived of it.
    info(FtpInfo::Disconnected, fixedText(kDisconnectedText));
    return fatalError(FtpError::ConnectionReset);
  }
  disconnected();
}

void TStarFtp::disconnected() {
  closeData();
  ShutdownTls();
  dropControl();
  connected_ = false;
  state_ = State::Idle;
  info(FtpInfo::Disconnected, fixedText(kDisconnectedText));
  PostMessage(Window(), kOperationFinished, 0, 0);
  PostMessage(Window(), kConnectionEnded, 0, 0);
}

void TStarFtp::dropControl() {
  KillTimer(Window(), kReplyTimer);
  Close();
}

// Once a second while connected: a server that stays silent for longer than
// the time-out while something is awaited from it ends the connection.
void TStarFtp::replyTimerTick() {
  // While the owner is asked, it is the client that keeps the server waiting.
  if (state_ == State::Idle || state_ == State::AwaitCertificate || state_ == State::AwaitFallback ||
      timeOutReply_ <= 0)
    return activity();
  if (++silentSeconds_ > timeOutReply_) fatalError(FtpError::TimedOut);
}

void TStarFtp::handleReplies() {
  // A line is never handled inside the handling of another (an event
  // handler may run the message loop); the outer loop takes it.
  if (handlingReply_) return;
  handlingReply_ = true;
  std::string reply;
  while (Open() && replies_.next(reply)) handleReply(reply);
  handlingReply_ = false;
  if (Open() && replies_.overlong()) fatalError(FtpError::UnexpectedReply);
}

void TStarFtp::sendCommand(const QString& verb, State awaiting) { sendLine(verb, toWire(verb), awaiting); }

void TStarFtp::sendCommand(const QString& verb, const QString& argument, State awaiting) {
  sendLine(verb + ' ' + argument, toWire(verb) + ' ' + encodeArgument(argument), awaiting);
}

void TStarFtp::sendLine(const QString& shown, std::string wire, State awaiting) {
  state_ = awaiting;
  info(FtpInfo::SendingCommand, shown + "\r\n");
  wire += "\r\n";
  if (!Open() || !SendQueued(std::move(wire))) socketError(LastError() ? LastError() : WSAENOTCONN);
}

// Login data asked for during the login is checked as it arrives.
void TStarFtp::sendLogin(const QString& verb, const QString& value, State awaiting) {
  if (sendable(value)) return sendCommand(verb, value, awaiting);
  lightError(FtpError::UnsendableName);
  sendCommand("QUIT", State::Quit);
}

// Each part of a path that this server sent in Windows-1252 goes back that
// way; everything else as UTF-8.
std::string TStarFtp::encodeArgument(const QString& argument) const {
  if (legacyNames_.isEmpty()) return toWire(argument);
  std::string wire;
  const QStringList parts = argument.split('/');
  for (qsizetype i = 0; i < parts.size(); ++i) {
    if (i > 0) wire += '/';
    wire += legacyNames_.contains(parts[i]) ? platform::toCp1252(parts[i]) : toWire(parts[i]);
  }
  return wire;
}

void TStarFtp::rememberLegacyPath(const QString& path) {
  for (const QString& part : path.split('/', Qt::SkipEmptyParts)) legacyNames_.insert(part);
}

QString TStarFtp::askFor(TFtpInfoNeeded need, const QString& current) {
  QString value = current;
  if (value.isEmpty() && OnFtpNeedInfo) OnFtpNeedInfo(*this, need, value);
  return value;
}

void TStarFtp::handleReply(const std::string& reply) {
  const char cls = replyClass(reply);
  switch (state_) {
    case State::AuthTls:
      return authReply(cls);
    case State::ControlHandshake:
    case State::AwaitCertificate:
    case State::AwaitFallback:
      // The server has nothing to say until the client goes on.
      return fatalError(FtpError::UnexpectedReply);
    case State::Pbsz:
      if (cls != '2') return cannotSecure(TPlainFallback::DataConnections);
      return sendCommand("PROT P", State::Prot);
    case State::Prot:
      if (cls != '2') return cannotSecure(TPlainFallback::DataConnections);
      protectData_ = true;
      return sendCommand("SYST", State::Syst);
    case State::Greeting:
    case State::User:
    case State::Pass:
    case State::Acct:
      return loginReply(cls);
    case State::Syst:
      serverType_ = serverTypeFromSyst(reply);
      operation_ = Operation::LoggedIn;
      if (!initialDirectory_.isEmpty()) return sendCommand("CWD", initialDirectory_, State::InitialCwd);
      info(FtpInfo::LoggedIn, fixedText(kLoggedInText));
      return finish();
    case State::InitialCwd:
      if (cls != '2') {
        success_ = false;
        info(FtpInfo::NegativeReply);
      }
      info(FtpInfo::LoggedIn, fixedText(kLoggedInText));
      return finish();
    case State::ListPwd: {
      if (cls != '2') return fatalError(FtpError::UnexpectedReply);
      bool legacy = false;
      initialDirectory_ = fromWire(quotedText(reply), &legacy);
      if (legacy) rememberLegacyPath(initialDirectory_);
      return sendCommand("TYPE A", State::ListType);
    }
    case State::ListType:
    case State::RetrieveType:
    case State::StoreType:
      if (cls != '2') return fatalError(FtpError::UnexpectedReply);
      return openDataPort(state_ == State::ListType       ? State::ListPort
                          : state_ == State::RetrieveType ? State::RetrievePort
                                                          : State::StorePort);
    case State::ListPort:
    case State::RetrievePort:
    case State::StorePort:
      if (dataPortReady(reply, cls)) sendTransferCommand();
      return;
    case State::List:
    case State::Retrieve:
    case State::Store:
      return transferReply(reply, cls);
    case State::Rnfr:
      if (cls == '3') return sendCommand("RNTO", renameTo_, State::Rnto);
      success_ = false;
      info(FtpInfo::NegativeReply);
      return finish();
    case State::Rnto:
    case State::Mkd:
    case State::Rmd:
    case State::Dele:
    case State::Cwd:
      if (cls != '2') {
        success_ = false;
        info(FtpInfo::NegativeReply);
      }
      return finish();
    case State::Quit:
      if (cls != '2') return fatalError(FtpError::QuitRefused);
      return disconnected();
    case State::Idle:
      return;  // nothing was asked
  }
}

void TStarFtp::loginReply(char cls) {
  switch (state_) {
    case State::Greeting:
      if (cls != '2') return fatalError(FtpError::GreetingRefused);
      if (security_ != TFtpSecurity::PlainFtp) return sendCommand("AUTH TLS", State::AuthTls);
      return sendUser();
    case State::User:
    case State::Pass:
    case State::Acct:
      if (cls == '2') return afterLogin();
      if (cls == '3' && state_ == State::User) {
        userPassword_ = askFor(TFtpInfoNeeded::niPassword, userPassword_);
        return sendLogin("PASS", userPassword_, State::Pass);
      }
      if (cls == '3' && state_ == State::Pass) {
        userAccount_ = askFor(TFtpInfoNeeded::niAccount, userAccount_);
        return sendLogin("ACCT", userAccount_, State::Acct);
      }
      lightError(FtpError::LoginRefused);
      return sendCommand("QUIT", State::Quit);
    default:
      return;
  }
}

void TStarFtp::sendUser() {
  userName_ = askFor(TFtpInfoNeeded::niUser, userName_);
  sendLogin("USER", userName_, State::User);
}

void TStarFtp::afterLogin() {
  if (Secured()) return sendCommand("PBSZ 0", State::Pbsz);
  sendCommand("SYST", State::Syst);
}

// ---------------------------------------------------------------------------
// Securing the connection

std::string TStarFtp::serverHost() const { return toWire(ftpServer_.trimmed()); }

morvel::ftp::TlsContext* TStarFtp::tlsContext() {
  const std::string anchors = trustAnchorsFile_.toStdString();
  if (!tlsContext_ || tlsContext_->extraAnchors() != anchors) tlsContext_ = std::make_unique<TlsContext>(anchors);
  return tlsContext_->valid() ? tlsContext_.get() : nullptr;
}

void TStarFtp::authReply(char cls) {
  if (cls != '2') return cannotSecure(TPlainFallback::WholeConnection);
  // Whatever came behind the go-ahead was not sent under TLS, yet would be
  // read as if it had been: a sign that someone in between speaks for the
  // server.
  if (replies_.pending()) return fatalError(FtpError::UnexpectedReply);
  TlsContext* context = tlsContext();
  state_ = State::ControlHandshake;
  if (!context || !StartTls(*context, serverHost(), nullptr)) fatalError(FtpError::TlsFailed);
}

void TStarFtp::controlSecured(bool ok) {
  if (!ok) return fatalError(FtpError::TlsFailed);
  activity();
  certificate_ = Tls()->certificate();
  switch (judgeCertificate(certificate_, trustedFingerprint_)) {
    case CertificateVerdict::Accept:
      return certificateAccepted();
    case CertificateVerdict::RefuseChanged:
      return fatalError(FtpError::CertificateChanged);
    case CertificateVerdict::Ask:
      return askOwner(State::AwaitCertificate);
  }
}

void TStarFtp::certificateAccepted() {
  acceptedFingerprint_ = certificate_.fingerprint;
  sendUser();
}

void TStarFtp::cannotSecure(TPlainFallback what) {
  if (security_ == TFtpSecurity::TlsRequired) return fatalError(FtpError::TlsRefused);
  fallback_ = what;
  askOwner(State::AwaitFallback);
}

// The question goes to the owner from the loop, not from inside the
// handling of what the server sent.
void TStarFtp::askOwner(State waiting) {
  state_ = waiting;
  certificateAnswer_.reset();
  fallbackAnswer_.reset();
  PostMessage(Window(), kAskOwner, 0, 0);
}

void TStarFtp::putQuestion() {
  if (state_ == State::AwaitCertificate) {
    if (OnCertificateCheck) return OnCertificateCheck(*this, certificate_);
    return AnswerCertificate(TCertificateAnswer::Refuse);
  }
  if (state_ == State::AwaitFallback) {
    if (OnPlainFallback) return OnPlainFallback(*this, fallback_);
    return AnswerPlainFallback(false);
  }
}

void TStarFtp::AnswerCertificate(TCertificateAnswer answer) {
  if (state_ != State::AwaitCertificate || certificateAnswer_) return;
  certificateAnswer_ = answer;
  PostMessage(Window(), kOwnerAnswered, 0, 0);
}

void TStarFtp::AnswerPlainFallback(bool goOn) {
  if (state_ != State::AwaitFallback || fallbackAnswer_) return;
  fallbackAnswer_ = goOn;
  PostMessage(Window(), kOwnerAnswered, 0, 0);
}

void TStarFtp::ownerAnswered() {
  if (state_ == State::AwaitCertificate && certificateAnswer_) {
    switch (*certificateAnswer_) {
      case TCertificateAnswer::Refuse:
        return fatalError(FtpError::CertificateRefused);
      case TCertificateAnswer::Trust:
        trustedFingerprint_ = certificate_.fingerprint;
        return certificateAccepted();
      case TCertificateAnswer::AcceptOnce:
        return certificateAccepted();
    }
  }
  if (state_ == State::AwaitFallback && fallbackAnswer_) {
    if (!*fallbackAnswer_) return fatalError(FtpError::TlsRefused);
    if (fallback_ == TPlainFallback::WholeConnection) return sendUser();
    sendCommand("SYST", State::Syst);
  }
}

void TStarFtp::transferReply(const std::string& reply, char cls) {
  if (aborting_ && cls != '1') {
    // The transfer's answer (often 426) and then the ABOR's.
    controlDone_ = true;
    if (abortRepliesLeft_ > 0) --abortRepliesLeft_;
    return finishTransferIfDone();
  }
  if (cls == '1') {
    // The server is ready for the transfer: only now do some of them take
    // the TLS handshake or the file on the data connection.
    goAhead_ = true;
    if (dataConnected_ && protectData_ && !dataSocket_.Secured()) startDataTls();
    if (state_ == State::Store && dataReady_) startUpload();
    if (state_ == State::Retrieve && !aborting_) {
      const std::string size = announcedSize(reply);
      if (reply.find('(') != std::string::npos) info(FtpInfo::TransferSize, QString::fromStdString(size));
    }
    return;
  }
  if (cls == '2') return controlSideDone();
  if (isReplyCode(reply, "426") && state_ != State::List) {
    // The data side breaks off too and ends the operation, unsuccessfully.
    success_ = false;
    return controlSideDone();
  }
  closeData();
  if (state_ == State::List) return fatalError(FtpError::UnexpectedReply);
  success_ = false;
  info(FtpInfo::NegativeReply);
  finish();
}

// ---------------------------------------------------------------------------
// The data connection

void TStarFtp::openDataPort(State awaiting) {
  ULONG address = 0;
  USHORT port = 0;
  dataSocket_.Close();
  listener_.Close();
  dataDone_ = false;
  controlDone_ = false;
  aborting_ = false;
  abortRepliesLeft_ = 0;
  dataConnected_ = false;
  dataReady_ = false;
  goAhead_ = false;
  uploadStarted_ = false;
  uploadClosing_ = false;
  dataResumed_ = false;
  if (passive_) {
    dataPortCommand_ = epsvRefused_ ? DataPortCommand::Pasv : DataPortCommand::Epsv;
    return sendCommand(epsvRefused_ ? "PASV" : "EPSV", awaiting);
  }
  dataPortCommand_ = DataPortCommand::Port;
  if (!LocalAddress(address, port) || !listener_.Listen(address) || !listener_.LocalAddress(address, port))
    return fatalError(FtpError::DataConnection);
  sendCommand("PORT", QString::fromStdString(portArgument(ntohl(address), port)), awaiting);
}

// The reply to the command that set the data connection up; true when the
// transfer command can follow.
bool TStarFtp::dataPortReady(const std::string& reply, char cls) {
  switch (dataPortCommand_) {
    case DataPortCommand::Port:
      break;
    case DataPortCommand::Epsv:
      if (cls == '2') return connectPassive(extendedPassivePort(reply));
      // A server that does not know EPSV may know PASV.
      epsvRefused_ = true;
      dataPortCommand_ = DataPortCommand::Pasv;
      sendCommand("PASV", state_);
      return false;
    case DataPortCommand::Pasv:
      if (cls == '2') return connectPassive(passivePort(reply));
      break;
  }
  if (cls != '2') fatalError(FtpError::UnexpectedReply);
  return cls == '2';
}

// Whatever address the reply names, the data connection goes to the server
// the control connection goes to: a server cannot send the client elsewhere.
bool TStarFtp::connectPassive(std::optional<uint16_t> port) {
  if (!port) {
    fatalError(FtpError::UnexpectedReply);
    return false;
  }
  if (!dataSocket_.CreateSocket() || !dataSocket_.ConnectTo(serverIp_, *port, timeOutConnect_)) {
    fatalError(FtpError::DataConnection);
    return false;
  }
  return true;
}

void TStarFtp::sendTransferCommand() {
  switch (state_) {
    case State::ListPort:
      data_ = DataKind::Listing;
      rawLines_.clear();
      directories_.clear();
      files_.clear();
      entries_.clear();
      listingText_.clear();
      parser_ = std::make_unique<FtpListingParser>(serverType_);
      return sendCommand("LIST", State::List);
    case State::RetrievePort:
      data_ = DataKind::Retrieve;
      return sendCommand("RETR", remoteFile_, State::Retrieve);
    case State::StorePort:
      data_ = DataKind::Store;
      return sendCommand("STOR", remoteFile_, State::Store);
    default:
      return;
  }
}

void TStarFtp::dataIncoming() {
  ULONG peer = INADDR_NONE;
  if (!dataSocket_.Accept(listener_, &peer)) {
    if (!aborting_) fatalError(FtpError::DataConnection);
    return;
  }
  if (peer != serverIp_) {
    // Only the server brings the data; anyone else is turned away and the
    // listener waits on for the server.
    dataSocket_.Close();
    return;
  }
  // One connection per transfer: once the server is in, nobody else gets in.
  listener_.Close();
  dataOpened();
}

void TStarFtp::dataOpened() {
  dataConnected_ = true;
  activity();
  bytes_ = 0;
  clock_.start();
  if (!protectData_) return dataReady();
  if (goAhead_) startDataTls();
}

// The client's side of TLS whichever side connected, offering the control
// connection's session for reuse.
void TStarFtp::startDataTls() {
  TlsContext* context = tlsContext();
  if (!resumable_ && Tls()) resumable_ = Tls()->session();
  if (!context || !dataSocket_.StartTls(*context, serverHost(), resumable_.get())) fatalError(FtpError::DataConnection);
}

void TStarFtp::dataSecured(bool ok) {
  if (!ok) {
    if (!aborting_) fatalError(FtpError::DataConnection);
    return;
  }
  // The data must come from the server whose certificate was accepted.
  if (!sameFingerprint(dataSocket_.Tls()->fingerprint(), acceptedFingerprint_))
    return fatalError(FtpError::DataConnection);
  dataResumed_ = dataSocket_.Tls()->resumed();
  dataReady();
}

void TStarFtp::dataReady() {
  dataReady_ = true;
  activity();
  if (data_ == DataKind::Store && state_ == State::Store && goAhead_) startUpload();
}

void TStarFtp::dataReadable() {
  // Nothing is taken from a data connection that is yet to be secured.
  if (protectData_ && !dataSocket_.Secured()) return;
  if (!readDataBlocks(32) && !aborting_) fatalError(FtpError::DataConnection);
}

// Reads what waits, at most `maxBlocks` blocks so that the loop keeps
// turning (FD_READ comes again for the rest); false on a socket failure.
bool TStarFtp::readDataBlocks(int maxBlocks) {
  for (int blocks = 0; blocks < maxBlocks && dataSocket_.Open(); ++blocks) {
    const int n = dataSocket_.Receive(buffer_, kBlockSize);
    if (n < 0) return false;
    if (n == 0) return true;
    activity();
    bytes_ += n;
    const std::string_view block(buffer_, static_cast<size_t>(n));
    if (data_ == DataKind::Listing) {
      listingText_.append(block);
      std::string line;
      while (listingText_.next(line)) listingLine(line);
      if (listingText_.overlong()) {
        fatalError(FtpError::DataConnection);
        return true;
      }
    } else if (data_ == DataKind::Retrieve && download_) {
      info(FtpInfo::DataProgress);
      if (download_->write(buffer_, n) != n) {
        download_->cancelWriting();
        download_.reset();
        closeData();
        lightError(FtpError::LocalFileWrite);
        dataSideDone();
        return true;
      }
    }
  }
  return true;
}

void TStarFtp::listingLine(const std::string& bytes) {
  bool legacy = false;
  const QString line = fromWire(bytes, &legacy);
  info(FtpInfo::DataProgress, line);
  rawLines_ << line;
  info(FtpInfo::ListingLine, line);
  if (!parser_) return;
  // The parsers read the decoded line as UTF-8.
  if (auto entry = parser_->parse(line.toStdString())) {
    const QString name = QString::fromStdString(entry->name);
    if (legacy) legacyNames_.insert(name);
    (entry->isDirectory ? directories_ : files_) << name;
    entries_.push_back(std::move(*entry));
  }
}

void TStarFtp::dataClosed(int error) {
  if (data_ == DataKind::Store) {
    // The server does not close an upload's connection unless it failed.
    closeData();
    if (!aborting_) fatalError(FtpError::DataConnection);
    return;
  }
  if (dataDone_) return;
  if (protectData_ && !dataSocket_.Secured()) {
    // It ended before it was secured: nothing that came on it is taken, and
    // the transfer has failed, whatever the server says of it.
    closeData();
    success_ = false;
    return dataSideDone();
  }
  // Everything that arrived before the close is read first.
  if (!readDataBlocks(std::numeric_limits<int>::max()) || error) {
    if (aborting_) {
      closeData();
      return dataSideDone();
    }
    return fatalError(FtpError::DataConnection);
  }
  if (dataDone_ || !connected_) return;  // a write error or an overlong line ended it meanwhile
  closeData();
  if (data_ == DataKind::Listing) {
    // A last line without its line end is a line all the same.
    const std::string rest = listingText_.takeRest();
    if (!rest.empty()) listingLine(rest);
    info(FtpInfo::ListingReady, fixedText(kListingReadyText));
    if (saveListing_) {
      QSaveFile file(localFile_);
      const QByteArray text = (rawLines_.join("\r\n") + (rawLines_.isEmpty() ? "" : "\r\n")).toUtf8();
      if (localFile_.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        lightError(FtpError::LocalFileWrite);
    }
  }
  info(FtpInfo::TransferDone, fixedText(kTransferDoneText));
  dataSideDone();
}

void TStarFtp::startUpload() {
  if (std::exchange(uploadStarted_, true)) return;
  info(FtpInfo::TransferSize, QString::number(upload_ ? upload_->size() : 0));
  block_.clear();
  blockSent_ = 0;
  continueUpload();
}

// Sends block after block while the connection takes them, then returns to
// the loop: FD_WRITE, or a message to itself after a run of blocks, brings
// it back here.
void TStarFtp::continueUpload() {
  // The connection may say it takes data before the server is ready for it.
  if (data_ != DataKind::Store || !uploadStarted_ || !upload_ || dataDone_ || aborting_) return;
  if (uploadClosing_) {
    if (!dataSocket_.SendPending()) uploadDone();
    return;
  }
  for (int blocks = 0; blocks < 64; ++blocks) {
    if (blockSent_ == block_.size()) {
      block_.resize(kBlockSize);
      const qint64 n = upload_->read(block_.data(), kBlockSize);
      if (n < 0) {
        lightError(FtpError::LocalFileRead);
        closeData();
        return dataSideDone();
      }
      block_.resize(static_cast<size_t>(n));
      blockSent_ = 0;
      if (n == 0) return finishUpload();
    }
    const int sent = dataSocket_.SendSome(block_.data() + blockSent_, static_cast<int>(block_.size() - blockSent_));
    if (sent < 0) {
      if (!aborting_) fatalError(FtpError::DataConnection);
      return;
    }
    if (sent == 0) return;  // OnWritable continues
    activity();
    blockSent_ += static_cast<size_t>(sent);
    if (blockSent_ == block_.size()) {
      bytes_ += static_cast<int64_t>(block_.size());
      info(FtpInfo::DataProgress);
      // An event handler may have aborted or ended the connection.
      if (data_ != DataKind::Store || !upload_ || aborting_) return;
    }
  }
  PostMessage(Window(), kContinueUpload, 0, 0);
}

// The server takes the end of the data connection for the end of the file:
// a secured one ends with TLS's close notice, and only once all has gone.
void TStarFtp::finishUpload() {
  if (dataSocket_.Secured()) {
    dataSocket_.ShutdownTls();
    if (dataSocket_.SendPending()) {
      uploadClosing_ = true;
      return;
    }
  }
  uploadDone();
}

void TStarFtp::uploadDone() {
  closeData();
  info(FtpInfo::TransferDone, fixedText(kTransferDoneText));
  dataSideDone();
}

void TStarFtp::closeData() {
  if (const TlsChannel* tls = dataSocket_.Tls())
    if (auto granted = tls->session()) resumable_ = std::move(granted);
  dataSocket_.Close();
  listener_.Close();
  upload_.reset();
}

void TStarFtp::dataSideDone() {
  dataDone_ = true;
  finishTransferIfDone();
}

void TStarFtp::controlSideDone() {
  controlDone_ = true;
  finishTransferIfDone();
}

void TStarFtp::finishTransferIfDone() {
  if (!dataDone_ || !controlDone_ || abortRepliesLeft_ > 0) return;
  completeTransfer();
  finish();
}

void TStarFtp::completeTransfer() {
  if (!download_) return;
  // Only a download the server called complete replaces the local file.
  if (!success_)
    download_->cancelWriting();
  else if (!download_->commit())
    lightError(FtpError::LocalFileWrite);
  download_.reset();
}

// ---------------------------------------------------------------------------
// Endings

void TStarFtp::finish() {
  state_ = State::Idle;
  PostMessage(Window(), kOperationFinished, 0, 0);
}

LRESULT TStarFtp::OtherMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kOperationFinished:
      operationFinished();
      return 0;
    case kConnectionEnded:
      connectionEnded();
      return 0;
    case kContinueUpload:
      continueUpload();
      return 0;
    case kAskOwner:
      putQuestion();
      return 0;
    case kOwnerAnswered:
      ownerAnswered();
      return 0;
    case WM_TIMER:
      if (wParam == kReplyTimer) {
        replyTimerTick();
        return 0;
      }
      break;
    default:
      break;
  }
  return TStarSocket::OtherMessage(msg, wParam, lParam);
}

void TStarFtp::operationFinished() {
  if (!busy_) return;
  busy_ = false;
  if (download_) {
    download_->cancelWriting();
    download_.reset();
  }
  if (aborting_) closeData();
  aborting_ = false;
  abortRepliesLeft_ = 0;
  data_ = DataKind::None;
  const Operation op = operation_;
  operation_ = Operation::None;
  if (OnFtpReady) OnFtpReady(*this);
  const TNotifyEvent* event = nullptr;
  switch (op) {
    case Operation::LoggedIn:
      event = &OnLoggedIn;
      break;
    case Operation::DirectoryChanged:
      event = &OnDirectoryChanged;
      break;
    case Operation::DirectoryCreated:
      event = &OnDirectoryCreated;
      break;
    case Operation::DirectoryDeleted:
      event = &OnDirectoryDeleted;
      break;
    case Operation::FileDeleted:
      event = &OnFileDeleted;
      break;
    case Operation::FileReceived:
      event = &OnFileReceived;
      break;
    case Operation::FileStored:
      event = &OnFileStored;
      break;
    case Operation::ListingDone:
      event = &OnListingDone;
      break;
    case Operation::FileRenamed:
      event = &OnFileRenamed;
      break;
    case Operation::None:
      break;
  }
  if (event && *event) (*event)(*this);
}

void TStarFtp::connectionEnded() {
  busy_ = false;
  operation_ = Operation::None;
  data_ = DataKind::None;
  if (OnFtpQuit) OnFtpQuit(*this);
}

void TStarFtp::info(FtpInfo code, const QString& text) {
  if (OnFtpInfo) OnFtpInfo(*this, code, text);
}

void TStarFtp::lightError(FtpError error) {
  success_ = false;
  if (OnFtpError) OnFtpError(*this, error, fixedText(kErrorText));
}

void TStarFtp::fatalError(FtpError error) {
  if (download_) {
    download_->cancelWriting();
    download_.reset();
  }
  closeData();
  dropControl();
  const bool wasConnected = connected_ || busy_;
  connected_ = false;
  success_ = false;
  state_ = State::Idle;
  aborting_ = false;
  abortRepliesLeft_ = 0;
  if (OnFtpError) OnFtpError(*this, error, fixedText(kErrorText));
  if (wasConnected) PostMessage(Window(), kConnectionEnded, 0, 0);
}

void TStarFtp::socketError(int socketError) { fatalError(ftpErrorFromSocketError(socketError)); }
