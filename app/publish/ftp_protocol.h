// The FTP client's plain pieces: the codes it reports, the reading of the
// control connection's replies, the server type from "SYST", the "PORT"
// argument and the texts taken out of replies. No sockets here: the
// component feeds these with what arrives.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace morvel::ftp {

// The addinfo texts that go with some of the information codes.
inline constexpr std::string_view kDisconnectedText = "Disconnected";
inline constexpr std::string_view kTransferDoneText = "Transfer done";
inline constexpr std::string_view kListingReadyText = "Listing ready";
inline constexpr std::string_view kLoggedInText = "Logged in";
inline constexpr std::string_view kErrorText = "Error";

// Progress and traffic reported through OnFtpInfo.
enum class FtpInfo {
  Connected = 0,       // the server's dotted address
  Disconnected = 1,    // "Disconnected", or empty when not connected
  LookingUp = 2,       // the host name
  Resolved = 3,        // the dotted address
  ControlData = 4,     // the raw text from the control connection
  SendingCommand = 5,  // the command line with CR LF
  Busy = 6,            // another operation runs; the call is ignored
  DataProgress = 7,    // a block or listing line moved on the data connection
  TransferDone = 9,
  ListingReady = 10,
  LoggedIn = 11,
  TransferSize = 12,   // the size of the coming transfer, in decimal
  NegativeReply = 13,  // the operation ends unsuccessfully
  ListingLine = 14,
};

// Failures reported through OnFtpError.
enum class FtpError {
  QuitRefused = 0,
  NoSocketLibrary = 1,
  NetworkDown = 2,
  InvalidAddress = 3,
  Internal = 4,
  SocketFailure = 5,
  ConnectionAborted = 6,
  ConnectionReset = 7,
  TimedOut = 8,
  OutOfSockets = 9,
  NetworkUnreachable = 10,
  AddressNotAvailable = 11,
  ConnectionRefused = 12,
  UnexpectedReply = 13,
  UnknownSocketError = 15,
  LookupFailed = 16,
  HostUnreachable = 18,
  NoServerName = 19,
  LocalFileOpen = 21,
  LocalFileWrite = 22,
  LocalFileRead = 23,
  NoRemoteFile = 24,
  UnsendableName = 25,  // a name with CR, LF or NUL, which no command may carry
  GreetingRefused = 26,
  LoginRefused = 27,
  DataConnection = 28,
  TlsRefused = 29,          // the server cannot secure the connection, which must be secure
  TlsFailed = 30,           // the TLS handshake failed
  CertificateRefused = 31,  // the server's certificate did not check out and was not accepted
  CertificateChanged = 32,  // the server's certificate is not the one the user chose to trust
};

// Light errors leave the connection as it is; all others end it.
bool isFatal(FtpError error);

// A Windows Sockets error number as the client reports it.
FtpError ftpErrorFromSocketError(int socketError);

enum class TFTPServerType {
  ftpstDefault,
  ftpstAutoDetect,
  ftpstUNIX,
  ftpstULTRIX,
  ftpstU5000,
  ftpstSINTFTPD,
  ftpstVmsMultinet,
  ftpstVmsUcx,
  ftpstMVS,
  ftpstMacFtpd,
  ftpstClix,
  ftpstQVT,
  ftpstNCSA,
  ftpstChameleon,
  ftpstVM,
  ftpstVMVPS,
};

// From the whole reply line to "SYST".
TFTPServerType serverTypeFromSyst(std::string_view reply);

// Cuts what arrives into lines. A line ends at LF, with a CR before it
// dropped: servers that end lines with LF alone are read as well.
//
// A line may hold at most maxLine bytes. A server that sends more without a
// line end makes the splitter overlong: it lets go of what it kept, takes
// nothing more and gives no further lines, so the reader's memory stays
// bounded whatever the server sends. Each byte is searched for the line end
// once, however many pieces the line arrives in.
class LineSplitter {
 public:
  static constexpr size_t kMaxLine = 64 * 1024;

  explicit LineSplitter(size_t maxLine = kMaxLine) : maxLine_(maxLine) {}
  void append(std::string_view data);
  bool next(std::string& line);
  bool overlong() const { return overlong_; }
  // Whether bytes wait behind the lines taken.
  bool pending() const { return pending_.size() > start_; }
  // What is left without an end of line (taken out).
  std::string takeRest();
  void clear();

 private:
  void giveUp();

  std::string pending_;
  size_t start_ = 0;    // where the next line begins
  size_t scanned_ = 0;  // pending_ holds no LF between start_ and here
  size_t maxLine_;
  bool overlong_ = false;
};

// Turns the lines of the control connection into replies: a multi-line
// reply ("123-" ... "123 ") comes out once, as its closing line.
class ReplyReader {
 public:
  void append(std::string_view data) { lines_.append(data); }
  bool next(std::string& reply);
  // A reply line longer than LineSplitter::kMaxLine arrived.
  bool overlong() const { return lines_.overlong(); }
  // Whether anything has arrived behind the replies taken.
  bool pending() const { return lines_.pending() || !multiLineCode_.empty(); }
  void reset();

 private:
  LineSplitter lines_;
  std::string multiLineCode_;  // empty outside a multi-line reply
};

// The reply's first digit ('2', '3', ...), or 0 for an empty line.
inline char replyClass(std::string_view reply) { return reply.empty() ? 0 : reply[0]; }
inline bool isReplyCode(std::string_view reply, std::string_view code) { return reply.substr(0, 3) == code; }

// Whether a command argument (as it goes on the wire) keeps the command on
// one line: no CR, LF or NUL in it.
bool isSendable(std::string_view argument);

// "a,b,c,d,hi,lo" for an IPv4 address and port in host order.
std::string portArgument(uint32_t address, uint16_t port);

// The port a passive data connection is to be made to: from a reply to
// "EPSV" ("229 ... (|||6446|)") or to "PASV" ("227 ... (127,0,0,1,25,46)",
// whose address is not used: the data connection goes to the server the
// control connection goes to). Nothing when the reply names no usable port.
std::optional<uint16_t> extendedPassivePort(std::string_view reply);
std::optional<uint16_t> passivePort(std::string_view reply);

// The size a "150 ... (1234 bytes)" reply announces: the text after "(" up
// to the next space; empty when the reply has no "(".
std::string announcedSize(std::string_view reply);

// The text between the first two double quotes (the folder "PWD" reports).
std::string quotedText(std::string_view reply);

}  // namespace morvel::ftp
