// The sockets stand-in: notifications posted the way Windows posts them.
#include "event_wait.h"

#include "host.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kSocketMessage = WM_USER + 1;
constexpr UINT kLookupMessage = WM_USER;

struct Notice {
  SOCKET socket;
  int event;
  int error;
};

class Winsock : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
    EXPECT_EQ(data.wVersion, MAKEWORD(1, 1));
    window_ = platform::createMessageWindow([this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (msg == kSocketMessage)
        notices_.push_back({static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam)});
      if (msg == kLookupMessage) lookupReply_ = lParam, lookupDone_ = true;
      return 0;
    });
  }
  void TearDown() override {
    DestroyWindow(window_);
    WSACleanup();
  }

  bool waitFor(SOCKET s, int event) {
    return runUntil([&] {
      for (const Notice& n : notices_)
        if (n.socket == s && n.event == event) return true;
      return false;
    });
  }
  int count(SOCKET s, int event) const {
    int c = 0;
    for (const Notice& n : notices_) c += n.socket == s && n.event == event;
    return c;
  }

  // A listening socket on 127.0.0.1 and its port.
  SOCKET listener(USHORT& port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = inet_addr("127.0.0.1");
    EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
    EXPECT_EQ(listen(s, 2), 0);
    int length = sizeof at;
    EXPECT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&at), &length), 0);
    port = ntohs(at.sin_port);
    WSAAsyncSelect(s, window_, kSocketMessage, FD_ACCEPT);
    return s;
  }

  HWND window_ = nullptr;
  std::vector<Notice> notices_;
  LPARAM lookupReply_ = 0;
  bool lookupDone_ = false;
};

}  // namespace

TEST_F(Winsock, ConnectAcceptDataAndCloseArriveAsNotifications) {
  USHORT port = 0;
  const SOCKET server = listener(port);
  const SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  ASSERT_NE(client, INVALID_SOCKET);
  ASSERT_EQ(WSAAsyncSelect(client, window_, kSocketMessage, FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE), 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = inet_addr("127.0.0.1");
  to.sin_port = htons(port);
  if (connect(client, reinterpret_cast<sockaddr*>(&to), sizeof to) == SOCKET_ERROR) {
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
  }

  ASSERT_TRUE(waitFor(server, FD_ACCEPT));
  const SOCKET peer = accept(server, nullptr, nullptr);
  ASSERT_NE(peer, INVALID_SOCKET);
  ASSERT_EQ(WSAAsyncSelect(peer, window_, kSocketMessage, FD_READ | FD_CLOSE), 0);
  ASSERT_TRUE(waitFor(client, FD_CONNECT));
  ASSERT_TRUE(waitFor(client, FD_WRITE));

  // Bytes 0x80-0xFF travel as they are; the close comes after the data.
  std::string sent;
  for (int i = 0; i < 256; ++i) sent += static_cast<char>(i);
  ASSERT_EQ(send(client, sent.data(), static_cast<int>(sent.size()), 0), 256);
  ASSERT_EQ(closesocket(client), 0);
  ASSERT_TRUE(waitFor(peer, FD_READ));
  // No second FD_READ before recv is called.
  runUntil([] { return false; }, 100);
  EXPECT_EQ(count(peer, FD_READ), 1);
  EXPECT_EQ(count(peer, FD_CLOSE), 0);

  std::string received;
  char buffer[100];
  while (received.size() < sent.size()) {
    const int n = recv(peer, buffer, sizeof buffer, 0);
    if (n == SOCKET_ERROR) {
      ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
      ASSERT_TRUE(runUntil([&] { return count(peer, FD_READ) > 1; }));
      continue;
    }
    received.append(buffer, static_cast<size_t>(n));
  }
  EXPECT_EQ(received, sent);
  ASSERT_TRUE(waitFor(peer, FD_CLOSE));
  EXPECT_EQ(recv(peer, buffer, sizeof buffer, 0), 0);
  closesocket(peer);
  closesocket(server);
}

TEST_F(Winsock, FailuresReportWindowsErrorNumbers) {
  USHORT port = 0;
  const SOCKET server = listener(port);
  closesocket(server);  // nothing listens on the port now
  const SOCKET client = socket(AF_INET, SOCK_STREAM, 0);
  WSAAsyncSelect(client, window_, kSocketMessage, FD_CONNECT);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = inet_addr("127.0.0.1");
  to.sin_port = htons(port);
  connect(client, reinterpret_cast<sockaddr*>(&to), sizeof to);
  ASSERT_TRUE(waitFor(client, FD_CONNECT));
  EXPECT_EQ(notices_.back().error, WSAECONNREFUSED);
  closesocket(client);

  EXPECT_EQ(closesocket(client), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  EXPECT_EQ(inet_addr("1.2.3"), INADDR_NONE);
  EXPECT_EQ(inet_addr("256.1.1.1"), INADDR_NONE);
  in_addr a;
  a.s_addr = inet_addr("192.168.1.5");
  EXPECT_STREQ(inet_ntoa(a), "192.168.1.5");
}

TEST_F(Winsock, HostNamesAreLookedUpWithoutWaiting) {
  alignas(hostent) char buffer[MAXGETHOSTSTRUCT];
  const HANDLE task = WSAAsyncGetHostByName(window_, kLookupMessage, "localhost", buffer, sizeof buffer);
  ASSERT_NE(task, nullptr);
  ASSERT_TRUE(runUntil([&] { return lookupDone_; }));
  ASSERT_EQ(WSAGETASYNCERROR(lookupReply_), 0);
  const hostent* h = reinterpret_cast<const hostent*>(buffer);
  EXPECT_STREQ(h->h_name, "localhost");
  in_addr a;
  a.s_addr = *reinterpret_cast<const ULONG*>(h->h_addr);
  EXPECT_STREQ(inet_ntoa(a), "127.0.0.1");

  // A cancelled lookup never answers.
  lookupDone_ = false;
  const HANDLE cancelled = WSAAsyncGetHostByName(window_, kLookupMessage, "localhost", buffer, sizeof buffer);
  EXPECT_EQ(WSACancelAsyncRequest(cancelled), 0);
  runUntil([] { return false; }, 300);
  EXPECT_FALSE(lookupDone_);
}

TEST(WinsockLibrary, CallsBeforeStartingAreRefused) {
  EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
  EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
}
