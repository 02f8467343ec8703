// TStarFtp: the FTP client. Its own socket is the control connection; a
// listening socket and a data socket carry the data connection (active
// mode: the client sends "PORT" and the server connects back).
//
// Every method returns at once and the outcome arrives as events, raised
// from the message loop: the component waits by returning to it. One
// operation runs at a time; a call while one runs is ignored (information
// Busy), a call that needs a connection while there is none likewise
// (information Disconnected).
//
// Conventions as for the program's other components: a property is read
// with Name() and written with setName(value); events are the public
// std::function members On..., whose first parameter is the sender.
// Commands and replies travel as UTF-8; a reply or listing line that is not
// valid UTF-8 is read as Windows-1252, and the names read that way go back to
// the server in Windows-1252, so that its files can be fetched, renamed and
// deleted.
//
// Whatever a server sends, the client stays safe: lines are bounded, a
// silent server times out, only the server may open the data connection,
// and names that would end a command line early are never sent.
//
// Secured (explicit FTPS): "AUTH TLS" after the greeting, and nothing of the
// login is sent before the server's certificate has been accepted; after the
// login "PBSZ 0" and "PROT P", and then the data connections are secured as
// well, resuming the control connection's TLS session (servers may insist).
// A certificate that does not check out, and a server that cannot secure a
// connection that may fall back to plain FTP, are put to the owner as events
// that it answers, at once or later, with AnswerCertificate and
// AnswerPlainFallback; the client waits for the answer by returning to the
// loop.
#pragma once

#include "ftp_certificate.h"
#include "ftp_listing.h"
#include "ftp_protocol.h"
#include "star_socket.h"
#include "tls_channel.h"

#include <optional>

#include <QElapsedTimer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QFile;
class QSaveFile;

using morvel::ftp::FtpError;
using morvel::ftp::FtpInfo;
using morvel::ftp::TFTPServerType;

enum class TTransferType { BinaryTransfer, AsciiTransfer };
enum class TFtpInfoNeeded { niHost, niUser, niPassword, niAccount };
// "Sikker forbindelse (FTPS)" off, on with "Hvis muligt", on with "Kræv".
enum class TFtpSecurity { PlainFtp, TlsIfPossible, TlsRequired };
// What the server could not secure, when the owner is asked about going on
// without: the whole connection (nothing of the login has been sent), or
// only the data connections (the login went secured).
enum class TPlainFallback { WholeConnection, DataConnections };

class TStarFtp : public TStarSocket {
 public:
  using TNotifyEvent = std::function<void(TStarFtp& Sender)>;
  using TFtpInfoEvent = std::function<void(TStarFtp& Sender, FtpInfo info, const QString& addinfo)>;
  using TFtpNeedInfoEvent = std::function<void(TStarFtp& Sender, TFtpInfoNeeded need, QString& value)>;
  using TFtpErrorEvent = std::function<void(TStarFtp& Sender, FtpError error, const QString& addinfo)>;
  using TFtpCertificateEvent = std::function<void(TStarFtp& Sender, const morvel::ftp::FtpCertificate& certificate)>;
  using TFtpFallbackEvent = std::function<void(TStarFtp& Sender, TPlainFallback what)>;

  // Private messages besides those of TStarSocket.
  static constexpr UINT kConnectionEnded = WM_USER + 2;
  static constexpr UINT kOperationFinished = WM_USER + 4;
  static constexpr UINT kContinueUpload = WM_USER + 5;
  static constexpr UINT kAskOwner = WM_USER + 6;
  static constexpr UINT kOwnerAnswered = WM_USER + 7;
  static constexpr int kBlockSize = 2048;
  static constexpr UINT_PTR kReplyTimer = 2;

  TStarFtp();
  ~TStarFtp() override;

  // --- Properties
  const QString& FtpServer() const { return ftpServer_; }
  void setFtpServer(const QString& v) { ftpServer_ = v; }
  uint16_t FtpPort() const { return ftpPort_; }
  void setFtpPort(uint16_t v) { ftpPort_ = v; }
  const QString& UserName() const { return userName_; }
  void setUserName(const QString& v) { userName_ = v; }
  const QString& UserPassword() const { return userPassword_; }
  void setUserPassword(const QString& v) { userPassword_ = v; }
  const QString& UserAccount() const { return userAccount_; }
  void setUserAccount(const QString& v) { userAccount_ = v; }
  const QString& LocalFile() const { return localFile_; }
  void setLocalFile(const QString& v) { localFile_ = v; }
  const QString& RemoteFile() const { return remoteFile_; }
  void setRemoteFile(const QString& v) { remoteFile_ = v; }
  const QString& Ftp_URL() const { return ftpUrl_; }
  void setFtp_URL(const QString& v) { ftpUrl_ = v; }
  TTransferType TransferMode() const { return transferMode_; }
  void setTransferMode(TTransferType v) { transferMode_ = v; }
  const QString& InitialDirectory() const { return initialDirectory_; }
  void setInitialDirectory(const QString& v) { initialDirectory_ = v; }
  bool WinsockStarted() const { return TStarSocket::WinsockStarted(); }
  void setWinsockStarted(bool on);
  QString Version() const { return QStringLiteral("TFtp 1.4.2"); }
  bool Success() const { return success_; }
  TFTPServerType ServerType() const { return serverType_; }
  void setServerType(TFTPServerType v) { serverType_ = v; }
  int TimeOutConnect() const { return timeOutConnect_; }
  void setTimeOutConnect(int seconds) { timeOutConnect_ = seconds; }
  int TimeOutArp() const { return timeOutArp_; }
  void setTimeOutArp(int seconds) { timeOutArp_ = seconds; }
  // Seconds the server may stay silent while an answer or transfer data is
  // awaited; 0 = for ever.
  int TimeOutReply() const { return timeOutReply_; }
  void setTimeOutReply(int seconds) { timeOutReply_ = seconds; }
  TFtpSecurity Security() const { return security_; }
  void setSecurity(TFtpSecurity v) { security_ = v; }
  // Passive data connections ("EPSV", or "PASV" where the server does not
  // know it), made by the client to the server's address.
  bool Passive() const { return passive_; }
  void setPassive(bool on) { passive_ = on; }
  // The SHA-256 fingerprint of a certificate the user chose to trust for this
  // connection although it does not check out; empty when none.
  const QString& TrustedFingerprint() const { return trustedFingerprint_; }
  void setTrustedFingerprint(const QString& v) { trustedFingerprint_ = v; }
  // A PEM file of certificates trusted besides the system's trust store
  // (a private certificate authority); empty for none.
  const QString& TrustAnchorsFile() const { return trustAnchorsFile_; }
  void setTrustAnchorsFile(const QString& path) { trustAnchorsFile_ = path; }

  // --- Events
  TFtpInfoEvent OnFtpInfo;
  TFtpNeedInfoEvent OnFtpNeedInfo;
  TNotifyEvent OnFtpReady;
  TFtpErrorEvent OnFtpError;
  TNotifyEvent OnLoggedIn, OnDirectoryChanged, OnDirectoryCreated, OnDirectoryDeleted, OnFileDeleted, OnFileReceived,
      OnFileStored, OnListingDone, OnFileRenamed;
  TNotifyEvent OnFtpQuit;
  // The server's certificate did not check out: answer with AnswerCertificate.
  TFtpCertificateEvent OnCertificateCheck;
  // The server cannot secure a connection that may go on without: answer
  // with AnswerPlainFallback.
  TFtpFallbackEvent OnPlainFallback;

  // --- Methods
  void Connect();
  void Quit();
  void ChangeDir(const QString& dir);
  void MakeDir(const QString& dir);
  void RemoveDir(const QString& dir);
  void DeleteFile(const QString& name);
  void RenameFile(const QString& oldName, const QString& newName);
  // With saveToLocalFile the raw listing is also written to LocalFile.
  void List(bool saveToLocalFile = false);
  void Retrieve();
  void Store();
  void Abort();
  // The owner's answers to the two questions; an answer to a question that is
  // no longer asked (the connection ended meanwhile) is ignored.
  void AnswerCertificate(morvel::ftp::TCertificateAnswer answer);
  void AnswerPlainFallback(bool goOn);

  // --- State
  bool Connected() const { return connected_; }
  bool Busy() const { return busy_; }
  // The control connection is secured; the data connections are.
  bool Secured() const { return TStarSocket::Secured(); }
  bool DataProtected() const { return protectData_; }
  // The server's certificate, once the control connection is secured.
  const morvel::ftp::FtpCertificate& ServerCertificate() const { return certificate_; }
  // The last secured data connection resumed the control connection's session.
  bool DataSessionResumed() const { return dataResumed_; }

  // --- The last listing, kept until the next one
  const QStringList& ListingLines() const { return rawLines_; }
  const QStringList& DirectoryNames() const { return directories_; }
  const QStringList& FileNames() const { return files_; }
  const std::vector<morvel::ftp::FtpListEntry>& ListingEntries() const { return entries_; }

  // --- Transfer counters, for OnFtpInfo
  int64_t BytesTransferred() const { return bytes_; }
  int64_t TransferMilliseconds() const { return clock_.isValid() ? clock_.elapsed() : 0; }
  bool ReceivingListing() const { return data_ == DataKind::Listing; }

 protected:
  LRESULT OtherMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  enum class State {
    Idle,
    Greeting,
    AuthTls,
    ControlHandshake,
    AwaitCertificate,
    AwaitFallback,
    User,
    Pass,
    Acct,
    Pbsz,
    Prot,
    Syst,
    InitialCwd,
    ListPwd,
    ListType,
    ListPort,
    List,
    RetrieveType,
    RetrievePort,
    Retrieve,
    StoreType,
    StorePort,
    Store,
    Rnfr,
    Rnto,
    Mkd,
    Rmd,
    Dele,
    Cwd,
    Quit,
  };
  enum class Operation {
    None,
    LoggedIn,
    DirectoryChanged,
    DirectoryCreated,
    DirectoryDeleted,
    FileDeleted,
    FileReceived,
    FileStored,
    ListingDone,
    FileRenamed,
  };
  enum class DataKind { None, Listing, Retrieve, Store };
  enum class DataPortCommand { Port, Epsv, Pasv };

  // Starting operations
  bool mayStart(bool needsConnection);
  void begin(Operation op);
  bool beginWithNames(Operation op, std::initializer_list<QString> names);
  bool sendable(const QString& argument) const;
  bool refuseUnsendable(std::initializer_list<QString> arguments);

  // The control connection
  void connectTo(ULONG address);
  void controlConnected(int error);
  void controlReadable();
  void controlClosed(int error);
  void handleReplies();
  void handleReply(const std::string& reply);
  void loginReply(char cls);
  void sendUser();
  void afterLogin();
  void authReply(char cls);
  void controlSecured(bool ok);
  void certificateAccepted();
  void cannotSecure(TPlainFallback what);
  void askOwner(State waiting);
  void putQuestion();
  void ownerAnswered();
  morvel::ftp::TlsContext* tlsContext();
  std::string serverHost() const;
  void transferReply(const std::string& reply, char cls);
  void sendCommand(const QString& verb, State awaiting);
  void sendCommand(const QString& verb, const QString& argument, State awaiting);
  void sendLine(const QString& shown, std::string wire, State awaiting);
  void sendLogin(const QString& verb, const QString& value, State awaiting);
  std::string encodeArgument(const QString& argument) const;
  void rememberLegacyPath(const QString& path);
  QString askFor(TFtpInfoNeeded need, const QString& current);
  void disconnected();
  void dropControl();
  void replyTimerTick();
  void activity() { silentSeconds_ = 0; }

  // The data connection
  void openDataPort(State awaiting);
  bool dataPortReady(const std::string& reply, char cls);
  bool connectPassive(std::optional<uint16_t> port);
  void sendTransferCommand();
  void dataIncoming();
  void dataOpened();
  void startDataTls();
  void dataSecured(bool ok);
  void dataReady();
  void dataReadable();
  bool readDataBlocks(int maxBlocks);
  void dataClosed(int error);
  void listingLine(const std::string& line);
  void startUpload();
  void continueUpload();
  void finishUpload();
  void uploadDone();
  void closeData();
  void dataSideDone();
  void controlSideDone();
  void finishTransferIfDone();
  void completeTransfer();

  // Endings
  void finish();
  void operationFinished();
  void connectionEnded();
  void info(FtpInfo code, const QString& text = {});
  void lightError(FtpError error);
  void fatalError(FtpError error);
  void socketError(int socketError);

  QString ftpServer_, userName_, userPassword_, userAccount_, localFile_, remoteFile_, ftpUrl_, initialDirectory_;
  uint16_t ftpPort_ = 21;
  TTransferType transferMode_ = TTransferType::BinaryTransfer;
  TFTPServerType serverType_ = TFTPServerType::ftpstDefault;
  int timeOutConnect_ = 0;
  int timeOutArp_ = 0;
  int timeOutReply_ = 60;
  int silentSeconds_ = 0;
  TFtpSecurity security_ = TFtpSecurity::PlainFtp;
  bool passive_ = false;
  QString trustedFingerprint_, trustAnchorsFile_;

  bool connected_ = false;
  bool busy_ = false;
  bool success_ = true;
  bool handlingReply_ = false;
  bool aborting_ = false;
  int abortRepliesLeft_ = 0;
  bool saveListing_ = false;
  State state_ = State::Idle;
  Operation operation_ = Operation::None;
  QString renameTo_;
  QString serverAddress_;  // dotted
  ULONG serverIp_ = INADDR_NONE;
  QSet<QString> legacyNames_;  // names this server sent in Windows-1252
  morvel::ftp::ReplyReader replies_;

  std::unique_ptr<morvel::ftp::TlsContext> tlsContext_;
  morvel::ftp::FtpCertificate certificate_;
  QString acceptedFingerprint_;  // of the certificate the control connection was accepted with
  // The session the next data connection offers: the control connection's,
  // or the newer one granted on the last data connection (servers may take
  // each only once).
  std::shared_ptr<SSL_SESSION> resumable_;
  bool protectData_ = false;
  bool dataResumed_ = false;
  TPlainFallback fallback_ = TPlainFallback::WholeConnection;
  std::optional<morvel::ftp::TCertificateAnswer> certificateAnswer_;
  std::optional<bool> fallbackAnswer_;

  TStarSocket listener_;
  TStarSocket dataSocket_;
  DataKind data_ = DataKind::None;
  DataPortCommand dataPortCommand_ = DataPortCommand::Port;
  bool epsvRefused_ = false;
  bool dataConnected_ = false;
  bool dataReady_ = false;  // connected, and secured where the data is protected
  bool goAhead_ = false;    // the server has answered the transfer command with 1xx
  bool uploadStarted_ = false;
  bool uploadClosing_ = false;  // the last block is out; TLS's close notice goes
  bool dataDone_ = false;
  bool controlDone_ = false;
  morvel::ftp::LineSplitter listingText_;
  std::unique_ptr<morvel::ftp::FtpListingParser> parser_;
  std::unique_ptr<QSaveFile> download_;
  std::unique_ptr<QFile> upload_;
  std::string block_;  // the upload block being sent
  size_t blockSent_ = 0;
  int64_t bytes_ = 0;
  QElapsedTimer clock_;
  char buffer_[kBlockSize];

  QStringList rawLines_, directories_, files_;
  std::vector<morvel::ftp::FtpListEntry> entries_;
};
