#include "star_socket.h"

#include "host.h"
#include "tls_channel.h"

#include <utility>

TStarSocket::TStarSocket() {
  window_ = platform::createMessageWindow(
      [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) { return WindowMessage(msg, wParam, lParam); });
}

TStarSocket::~TStarSocket() {
  Close();
  ReleaseWinsock();
  DestroyWindow(window_);
}

bool TStarSocket::StartWinsock() {
  if (started_) return true;
  WSADATA data;
  const int error = WSAStartup(MAKEWORD(1, 1), &data);
  if (error) {
    lastError_ = error;
    return false;
  }
  started_ = true;
  return true;
}

void TStarSocket::ReleaseWinsock() {
  if (!started_) return;
  Close();
  WSACleanup();
  started_ = false;
}

bool TStarSocket::Fail() {
  lastError_ = WSAGetLastError();
  return false;
}

void TStarSocket::Select(long events) { WSAAsyncSelect(socket_, window_, kSocketEvent, events); }

bool TStarSocket::CreateSocket() {
  Close();
  lastError_ = 0;
  socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (socket_ == INVALID_SOCKET) return Fail();
  Select(FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE);
  return true;
}

bool TStarSocket::LookUp(const std::string& hostName, int timeOutSeconds) {
  lookup_ = WSAAsyncGetHostByName(window_, kLookupDone, hostName.c_str(), hostBuffer_, sizeof hostBuffer_);
  if (!lookup_) return Fail();
  StartTimeOut(timeOutSeconds);
  return true;
}

bool TStarSocket::ConnectTo(ULONG address, USHORT port, int timeOutSeconds) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = address;
  to.sin_port = htons(port);
  if (connect(socket_, reinterpret_cast<sockaddr*>(&to), sizeof to) == SOCKET_ERROR &&
      WSAGetLastError() != WSAEWOULDBLOCK)
    return Fail();
  StartTimeOut(timeOutSeconds);
  return true;
}

bool TStarSocket::Listen(ULONG address) {
  if (!CreateSocket()) return false;
  Select(FD_ACCEPT);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = address;
  at.sin_port = 0;
  if (bind(socket_, reinterpret_cast<sockaddr*>(&at), sizeof at) == SOCKET_ERROR) return Fail();
  if (listen(socket_, 2) == SOCKET_ERROR) return Fail();
  return true;
}

bool TStarSocket::Accept(TStarSocket& listener, ULONG* peer) {
  Close();
  sockaddr_in from{};
  int length = sizeof from;
  socket_ = accept(listener.socket_, reinterpret_cast<sockaddr*>(&from), &length);
  if (socket_ == INVALID_SOCKET) {
    lastError_ = WSAGetLastError();
    return false;
  }
  if (peer) *peer = from.sin_addr.s_addr;
  Select(FD_READ | FD_WRITE | FD_CLOSE);
  return true;
}

bool TStarSocket::SendQueued(std::string bytes, bool urgent) {
  if (!Open()) return false;
  if (tls_) return sendTls(bytes.data(), static_cast<int>(bytes.size()));
  outgoing_.push_back(Chunk{std::move(bytes), urgent});
  return Flush();
}

bool TStarSocket::Flush() {
  while (!outgoing_.empty()) {
    Chunk& c = outgoing_.front();
    const int n = send(socket_, c.bytes.data(), static_cast<int>(c.bytes.size()), c.urgent ? MSG_OOB : 0);
    if (n == SOCKET_ERROR) {
      if (WSAGetLastError() == WSAEWOULDBLOCK) return true;  // FD_WRITE continues
      outgoing_.clear();
      return Fail();
    }
    c.bytes.erase(0, static_cast<size_t>(n));
    if (c.bytes.empty()) outgoing_.pop_front();
  }
  return true;
}

int TStarSocket::SendSome(const char* data, int length) {
  lastError_ = 0;
  if (tls_) {
    // Records already made wait for the network first.
    if (handshaking_ || !outgoing_.empty()) {
      lastError_ = WSAEWOULDBLOCK;
      return 0;
    }
    // Small pieces are gathered into whole records: a record each would
    // cost its own encryption, overhead and send.
    staged_.append(data, static_cast<size_t>(length));
    if (staged_.size() >= kTlsRecord && !sealStaged()) return -1;
    return length;
  }
  const int n = send(socket_, data, length, 0);
  if (n != SOCKET_ERROR) return n;
  lastError_ = WSAGetLastError();
  return lastError_ == WSAEWOULDBLOCK ? 0 : -1;
}

int TStarSocket::Receive(char* buffer, int length) {
  lastError_ = 0;
  if (!Open()) return 0;
  if (tls_) return receiveTls(buffer, length);
  const int n = recv(socket_, buffer, length, 0);
  if (n != SOCKET_ERROR) return n;
  lastError_ = WSAGetLastError();
  return lastError_ == WSAEWOULDBLOCK ? 0 : -1;
}

bool TStarSocket::LocalAddress(ULONG& address, USHORT& port) const {
  sockaddr_in at{};
  int length = sizeof at;
  if (getsockname(socket_, reinterpret_cast<sockaddr*>(&at), &length) == SOCKET_ERROR) return false;
  address = at.sin_addr.s_addr;
  port = ntohs(at.sin_port);
  return true;
}

void TStarSocket::Close() {
  StopTimeOut();
  if (lookup_) {
    WSACancelAsyncRequest(lookup_);
    lookup_ = nullptr;
  }
  outgoing_.clear();
  tls_.reset();
  handshaking_ = tcpEnded_ = tlsEnded_ = false;
  held_.clear();
  staged_.clear();
  if (socket_ != INVALID_SOCKET) closesocket(socket_);
  socket_ = INVALID_SOCKET;
}

std::string TStarSocket::Dotted(ULONG address) {
  in_addr a;
  a.s_addr = address;
  return inet_ntoa(a);
}

void TStarSocket::StartTimeOut(int seconds) {
  secondsLeft_ = seconds;
  if (seconds > 0) SetTimer(window_, kTimeOutTimer, 1000, nullptr);
}

void TStarSocket::StopTimeOut() {
  secondsLeft_ = 0;
  KillTimer(window_, kTimeOutTimer);
}

LRESULT TStarSocket::WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kSocketEvent:
      // A notification that was on its way when the socket was closed.
      if (static_cast<SOCKET>(wParam) != socket_ || socket_ == INVALID_SOCKET) return 0;
      SocketEvent(WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
      return 0;
    case kTlsPending:
      if (static_cast<SOCKET>(wParam) != socket_ || !tls_) return 0;
      if (handshaking_) {
        advanceHandshake();
        return 0;
      }
      if (OnReadable) OnReadable();
      afterTlsRead();
      return 0;
    case kLookupDone:
      if (reinterpret_cast<HANDLE>(wParam) != lookup_ || !lookup_) return 0;
      LookupAnswered(WSAGETASYNCERROR(lParam));
      return 0;
    case WM_TIMER:
      if (wParam != kTimeOutTimer) return OtherMessage(msg, wParam, lParam);
      if (secondsLeft_ <= 0) return 0;
      if (--secondsLeft_ > 0) return 0;
      Close();
      if (OnTimeOut) OnTimeOut();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    default:
      return OtherMessage(msg, wParam, lParam);
  }
}

LRESULT TStarSocket::OtherMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(window_, msg, wParam, lParam);
}

void TStarSocket::LookupAnswered(int error) {
  lookup_ = nullptr;
  StopTimeOut();
  ULONG address = INADDR_NONE;
  if (!error) address = *reinterpret_cast<const ULONG*>(reinterpret_cast<const hostent*>(hostBuffer_)->h_addr);
  if (OnLookupDone) OnLookupDone(error, address);
}

void TStarSocket::SocketEvent(int event, int error) {
  switch (event) {
    case FD_CONNECT:
      StopTimeOut();
      if (OnConnected) OnConnected(error);
      break;
    case FD_READ:
      if (tls_ && handshaking_) return advanceHandshake();
      if (OnReadable) OnReadable();
      afterTlsRead();
      break;
    case FD_WRITE:
      if (!Flush()) {
        if (OnClosed) OnClosed(lastError_);
        break;
      }
      if (outgoing_.empty() && OnWritable) OnWritable();
      break;
    case FD_ACCEPT:
      if (OnIncoming) OnIncoming();
      break;
    case FD_CLOSE:
      if (tls_ && handshaking_) return handshakeEnded(false);
      if (tls_) return tlsEnded(error);
      if (OnClosed) OnClosed(error);
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------
// TLS

bool TStarSocket::StartTls(morvel::ftp::TlsContext& context, const std::string& host, SSL_SESSION* resume) {
  if (!Open()) return false;
  tls_ = std::make_unique<morvel::ftp::TlsChannel>(context, host, resume);
  handshaking_ = true;
  tcpEnded_ = tlsEnded_ = false;
  // The client speaks first.
  if (!tls_->valid() || tls_->handshake() == morvel::ftp::TlsChannel::Step::Failed || !flushTls()) {
    tls_.reset();
    handshaking_ = false;
    lastError_ = WSAECONNABORTED;
    return false;
  }
  // What arrived before is read from the loop: the network tells of it
  // only once it has been asked.
  PostMessage(window_, kTlsPending, static_cast<WPARAM>(socket_), 0);
  return true;
}

void TStarSocket::ShutdownTls() {
  if (!tls_ || handshaking_ || !Open()) return;
  sealStaged();
  tls_->shutdown();
  flushTls();
}

// What the network has for the TLS connection: the count moved into it, 0
// at the end of the connection, -1 on a failure, -2 when nothing waits.
int TStarSocket::pullCiphertext() {
  const int n = recv(socket_, cipher_, sizeof cipher_, 0);
  if (n > 0) {
    tls_->feed(cipher_, static_cast<size_t>(n));
    return n;
  }
  if (n == 0) return 0;
  lastError_ = WSAGetLastError();
  return lastError_ == WSAEWOULDBLOCK ? -2 : -1;
}

bool TStarSocket::flushTls() {
  std::string bytes = tls_->takeOutgoing();
  if (bytes.empty()) return true;
  outgoing_.push_back(Chunk{std::move(bytes), false});
  return Flush();
}

bool TStarSocket::sealStaged() {
  if (staged_.empty()) return true;
  const std::string staged = std::exchange(staged_, {});
  return sendTls(staged.data(), static_cast<int>(staged.size()));
}

bool TStarSocket::sendTls(const char* data, int length) {
  if (handshaking_) {
    held_.append(data, static_cast<size_t>(length));
    return true;
  }
  // What was gathered goes first.
  if (!staged_.empty() && !sealStaged()) return false;
  if (!tls_->write(data, length)) {
    lastError_ = WSAECONNABORTED;
    return false;
  }
  return flushTls();
}

int TStarSocket::receiveTls(char* buffer, int length) {
  if (handshaking_) {
    lastError_ = WSAEWOULDBLOCK;
    return 0;
  }
  for (;;) {
    const int n = tls_->read(buffer, length);
    // Reading may have to answer the server (a key update, the close notice).
    flushTls();
    if (n < 0) lastError_ = WSAECONNABORTED;
    if (n != 0 || tls_->peerClosed() || tcpEnded_) return n;
    const int got = pullCiphertext();
    if (got == -2) return 0;  // WouldBlock() tells
    if (got < 0) return -1;
    if (got == 0) tcpEnded_ = true;
  }
}

void TStarSocket::advanceHandshake() {
  bool ended = false;
  for (int reads = 0; reads < 8; ++reads) {
    const int got = pullCiphertext();
    if (got == -2) break;
    if (got < 0) return handshakeEnded(false);
    if (got == 0) {
      ended = true;
      break;
    }
  }
  const morvel::ftp::TlsChannel::Step step = tls_->handshake();
  if (!flushTls() || step == morvel::ftp::TlsChannel::Step::Failed) return handshakeEnded(false);
  if (step == morvel::ftp::TlsChannel::Step::Waiting) {
    if (ended) handshakeEnded(false);
    return;
  }
  handshakeEnded(true);
}

void TStarSocket::handshakeEnded(bool ok) {
  handshaking_ = false;
  if (ok && !held_.empty()) {
    const std::string held = std::exchange(held_, {});
    ok = sendTls(held.data(), static_cast<int>(held.size()));
  }
  if (!ok) lastError_ = WSAECONNABORTED;
  const SOCKET s = socket_;
  if (OnTlsReady) OnTlsReady(ok);
  // The server may have sent more behind its last handshake message.
  if (ok && s == socket_ && tls_) afterTlsRead();
}

// After plain bytes were read: those still waiting inside the TLS connection
// are read on the next turn of the loop, and the end of the connection is
// told once nothing is left.
void TStarSocket::afterTlsRead() {
  if (!tls_ || handshaking_ || !Open() || tlsEnded_) return;
  if (!tls_->readable() && !tls_->peerClosed() && !tcpEnded_) {
    // Asking the network again also lets it tell of the next bytes.
    const int got = pullCiphertext();
    if (got == -1) return tlsEnded(lastError_);
    if (got == 0) tcpEnded_ = true;
  }
  if (tls_->readable()) {
    PostMessage(window_, kTlsPending, static_cast<WPARAM>(socket_), 0);
    return;
  }
  if (tls_->peerClosed() || tcpEnded_) tlsEnded(0);
}

void TStarSocket::tlsEnded(int error) {
  if (tlsEnded_) return;
  tlsEnded_ = true;
  // The server's close notice is answered with ours.
  if (tls_->peerClosed()) ShutdownTls();
  if (OnClosed) OnClosed(error);
}
