// TStarSocket: one asynchronous TCP socket with its own hidden window. The
// socket's notifications, the host lookup and the one-second time-out timer
// all arrive as messages to that window, so nothing here ever waits.
//
// A connection can be secured with TLS (the client's side) at any point:
// from then on what is sent and received are the bytes inside the TLS
// connection, and the events keep their meaning (readable: plain bytes wait;
// closed: the TLS connection or the TCP connection under it has ended).
#pragma once

#include "win32.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace morvel::ftp {
class TlsContext;
class TlsChannel;
}  // namespace morvel::ftp
using SSL_SESSION = struct ssl_session_st;

class TStarSocket {
 public:
  // The private messages of the hidden window.
  static constexpr UINT kLookupDone = WM_USER;
  static constexpr UINT kSocketEvent = WM_USER + 1;
  // Plain bytes wait inside the TLS connection with nothing more to come
  // from the network.
  static constexpr UINT kTlsPending = WM_USER + 3;
  // The timer of the lookup and connect time-out; derived classes use others.
  static constexpr UINT_PTR kTimeOutTimer = 1;

  TStarSocket();
  virtual ~TStarSocket();
  TStarSocket(const TStarSocket&) = delete;
  TStarSocket& operator=(const TStarSocket&) = delete;

  // --- The socket library (counted per process; each object starts it once)
  bool StartWinsock();
  void ReleaseWinsock();
  bool WinsockStarted() const { return started_; }

  // --- Events; `error` is a Windows Sockets error number or 0
  std::function<void(int error)> OnConnected, OnClosed;
  std::function<void()> OnReadable, OnWritable, OnIncoming, OnTimeOut;
  // The first IPv4 address (network order) of the looked-up name.
  std::function<void(int error, ULONG address)> OnLookupDone;
  // The TLS handshake has ended; false when it failed.
  std::function<void(bool ok)> OnTlsReady;

  // --- Operations; false with LastError() set when the call failed
  bool CreateSocket();
  bool LookUp(const std::string& hostName, int timeOutSeconds);
  // Starts the connect; OnConnected tells how it went.
  bool ConnectTo(ULONG address, USHORT port, int timeOutSeconds);
  // Bound to the address with a port of the system's choice, backlog 2.
  bool Listen(ULONG address);
  // Takes the waiting connection of a listening socket into this object;
  // `peer` receives the address (network order) it comes from.
  bool Accept(TStarSocket& listener, ULONG* peer = nullptr);
  // Queues bytes and sends what the connection takes now; the rest goes
  // with the following FD_WRITE notifications, in order. Inside TLS nothing
  // can be urgent: the bytes go in order with the rest.
  bool SendQueued(std::string bytes, bool urgent = false);
  bool SendPending() const { return !outgoing_.empty(); }
  // Sends at most `length` bytes now: the count, 0 when the connection
  // takes nothing at the moment (OnWritable follows), -1 on failure. Inside
  // TLS the bytes are gathered into records of 16 KB; ShutdownTls sends the
  // rest.
  int SendSome(const char* data, int length);
  // At most `length` bytes: the count, 0 at the end of the data or when
  // nothing waits (WouldBlock() tells which), -1 on failure.
  int Receive(char* buffer, int length);
  bool WouldBlock() const { return lastError_ == WSAEWOULDBLOCK; }
  bool LocalAddress(ULONG& address, USHORT& port) const;
  void Close();

  // --- TLS over the connection
  // Starts the handshake (OnTlsReady tells how it ended); `host` is the name
  // the server's certificate must be made out to, `resume` a session of the
  // same server offered for reuse (may be null).
  bool StartTls(morvel::ftp::TlsContext& context, const std::string& host, SSL_SESSION* resume);
  bool Secured() const { return tls_ != nullptr; }
  const morvel::ftp::TlsChannel* Tls() const { return tls_.get(); }
  // Sends what SendSome gathered and TLS's close notice; SendPending()
  // tells when it has gone.
  void ShutdownTls();

  bool Open() const { return socket_ != INVALID_SOCKET; }
  int LastError() const { return lastError_; }
  HWND Window() const { return window_; }
  static std::string Dotted(ULONG address);

 protected:
  // Messages of the hidden window that this class does not handle, timers
  // other than its own time-out among them.
  virtual LRESULT OtherMessage(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  struct Chunk {
    std::string bytes;
    bool urgent;
  };
  LRESULT WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void SocketEvent(int event, int error);
  void LookupAnswered(int error);
  void StartTimeOut(int seconds);
  void StopTimeOut();
  bool Fail();
  bool Flush();
  void Select(long events);
  int receiveTls(char* buffer, int length);
  bool sendTls(const char* data, int length);
  bool sealStaged();
  int pullCiphertext();
  bool flushTls();
  void advanceHandshake();
  void handshakeEnded(bool ok);
  void afterTlsRead();
  void tlsEnded(int error);

  HWND window_ = nullptr;
  SOCKET socket_ = INVALID_SOCKET;
  bool started_ = false;
  int lastError_ = 0;
  HANDLE lookup_ = nullptr;
  alignas(hostent) char hostBuffer_[MAXGETHOSTSTRUCT];
  int secondsLeft_ = 0;
  std::deque<Chunk> outgoing_;

  std::unique_ptr<morvel::ftp::TlsChannel> tls_;
  bool handshaking_ = false;
  bool tcpEnded_ = false;  // the TCP connection under TLS has ended
  bool tlsEnded_ = false;  // OnClosed has told of the end
  static constexpr size_t kTlsRecord = 16 * 1024;
  std::string held_;        // plain bytes sent before the handshake ended
  std::string staged_;      // plain bytes SendSome gathered for the next record
  char cipher_[17 * 1024];  // more than one TLS record
};
