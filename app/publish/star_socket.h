// TStarSocket: one asynchronous TCP socket with its own hidden window. The
// socket's notifications, the host lookup and the one-second time-out timer
// all arrive as messages to that window, so nothing here ever waits.
#pragma once

#include "win32.h"

#include <deque>
#include <functional>
#include <string>

class TStarSocket {
 public:
  // The private messages of the hidden window.
  static constexpr UINT kLookupDone = WM_USER;
  static constexpr UINT kSocketEvent = WM_USER + 1;
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
  // with the following FD_WRITE notifications, in order.
  bool SendQueued(std::string bytes, bool urgent = false);
  bool SendPending() const { return !outgoing_.empty(); }
  // Sends at most `length` bytes now: the count, 0 when the connection
  // takes nothing at the moment (OnWritable follows), -1 on failure.
  int SendSome(const char* data, int length);
  // At most `length` bytes: the count, 0 at the end of the data or when
  // nothing waits (WouldBlock() tells which), -1 on failure.
  int Receive(char* buffer, int length);
  bool WouldBlock() const { return lastError_ == WSAEWOULDBLOCK; }
  bool LocalAddress(ULONG& address, USHORT& port) const;
  void Close();

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

  HWND window_ = nullptr;
  SOCKET socket_ = INVALID_SOCKET;
  bool started_ = false;
  int lastError_ = 0;
  HANDLE lookup_ = nullptr;
  alignas(hostent) char hostBuffer_[MAXGETHOSTSTRUCT];
  int secondsLeft_ = 0;
  std::deque<Chunk> outgoing_;
};
