// Windows Sockets 1.1 over non-blocking POSIX sockets. A socket chosen with
// WSAAsyncSelect watches its descriptor with QSocketNotifier and posts the
// FD_* messages the way Windows re-enables them; host names are looked up
// by QHostInfo, which answers on this thread.
#include "posix_sockets.h"
#include "win32.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QObject>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace net = platform::detail::posix;

namespace {

struct SocketState {
  int fd = -1;
  HWND hwnd = nullptr;
  UINT msg = 0;
  long events = 0;
  std::unique_ptr<QSocketNotifier> readable;
  std::unique_ptr<QSocketNotifier> writable;
  bool listening = false;
  bool connecting = false;
  bool connected = false;
  bool readPosted = false;   // FD_READ/FD_ACCEPT waits for recv/accept
  bool writeWanted = false;  // a send reported WSAEWOULDBLOCK
  bool closePosted = false;
};

struct LookupTask {
  std::unique_ptr<QObject> context;  // deleting it drops the answer
};

struct SocketLibrary {
  int starts = 0;
  int lastError = 0;
  SOCKET nextHandle = 0x100;
  uintptr_t nextTask = 1;
  std::map<SOCKET, std::unique_ptr<SocketState>> sockets;
  std::map<uintptr_t, LookupTask> lookups;
};

SocketLibrary& library() {
  static SocketLibrary& l = *new SocketLibrary;  // process-wide, like the window table
  return l;
}

int failWith(int error) {
  library().lastError = error;
  return SOCKET_ERROR;
}

int fromErrno(int error) {
  switch (error) {
    case EWOULDBLOCK:
      return WSAEWOULDBLOCK;
    case EINPROGRESS:
      return WSAEWOULDBLOCK;
    case EALREADY:
      return WSAEALREADY;
    case EINTR:
      return WSAEINTR;
    case EACCES:
      return WSAEACCES;
    case EFAULT:
      return WSAEFAULT;
    case EINVAL:
      return WSAEINVAL;
    case EMFILE:
    case ENFILE:
      return WSAEMFILE;
    case EBADF:
    case ENOTSOCK:
      return WSAENOTSOCK;
    case EMSGSIZE:
      return WSAEMSGSIZE;
    case EOPNOTSUPP:
      return WSAEOPNOTSUPP;
    case EAFNOSUPPORT:
      return WSAEAFNOSUPPORT;
    case EADDRINUSE:
      return WSAEADDRINUSE;
    case EADDRNOTAVAIL:
      return WSAEADDRNOTAVAIL;
    case ENETDOWN:
      return WSAENETDOWN;
    case ENETUNREACH:
      return WSAENETUNREACH;
    case ENETRESET:
      return WSAENETRESET;
    case ECONNABORTED:
      return WSAECONNABORTED;
    case ECONNRESET:
    case EPIPE:
      return WSAECONNRESET;
    case ENOBUFS:
    case ENOMEM:
      return WSAENOBUFS;
    case EISCONN:
      return WSAEISCONN;
    case ENOTCONN:
      return WSAENOTCONN;
    case ESHUTDOWN:
      return WSAESHUTDOWN;
    case ETIMEDOUT:
      return WSAETIMEDOUT;
    case ECONNREFUSED:
      return WSAECONNREFUSED;
    case EHOSTUNREACH:
    case EHOSTDOWN:
      return WSAEHOSTUNREACH;
    default:
      return WSAEINVAL;
  }
}

// Null (with WSANOTINITIALISED or WSAENOTSOCK set) when the call must fail.
SocketState* lookUp(SOCKET s) {
  SocketLibrary& l = library();
  if (l.starts == 0) {
    l.lastError = WSANOTINITIALISED;
    return nullptr;
  }
  auto it = l.sockets.find(s);
  if (it == l.sockets.end()) {
    l.lastError = WSAENOTSOCK;
    return nullptr;
  }
  return it->second.get();
}

void postEvent(SOCKET s, SocketState& st, long event, int error) {
  if (st.hwnd && (st.events & event))
    PostMessage(st.hwnd, st.msg, static_cast<WPARAM>(s), WSAMAKESELECTREPLY(event, error));
}

// Which notifier should watch now, from the socket's state.
void rearm(SocketState& st) {
  const bool selected = st.hwnd && st.events;
  const bool wantRead = selected && !st.readPosted && !st.closePosted && !st.connecting &&
                        (st.listening ? (st.events & FD_ACCEPT) : (st.connected && (st.events & (FD_READ | FD_CLOSE))));
  const bool wantWrite = selected && (st.connecting || (st.writeWanted && st.connected));
  if (st.readable) st.readable->setEnabled(wantRead);
  if (st.writable) st.writable->setEnabled(wantWrite);
}

void onReadable(SOCKET s) {
  SocketState* st = lookUp(s);
  if (!st) return;
  st->readable->setEnabled(false);
  if (st->listening) {
    st->readPosted = true;
    postEvent(s, *st, FD_ACCEPT, 0);
    return;
  }
  char probe;
  const long n = net::receiveBytes(st->fd, &probe, 1, true);
  if (n > 0) {
    if (st->events & FD_READ) {
      st->readPosted = true;
      postEvent(s, *st, FD_READ, 0);
    }
    // Without FD_READ nobody reads: stay quiet until recv is called.
    else
      st->readPosted = true;
  } else if (n == 0 || -n != EWOULDBLOCK) {
    st->closePosted = true;
    postEvent(s, *st, FD_CLOSE, n == 0 ? 0 : fromErrno(static_cast<int>(-n)));
  }
  rearm(*st);
}

void onWritable(SOCKET s) {
  SocketState* st = lookUp(s);
  if (!st) return;
  st->writable->setEnabled(false);
  if (st->connecting) {
    st->connecting = false;
    const int error = net::pendingError(st->fd);
    st->connected = error == 0;
    postEvent(s, *st, FD_CONNECT, error ? fromErrno(error) : 0);
    if (st->connected) postEvent(s, *st, FD_WRITE, 0);
  } else {
    st->writeWanted = false;
    postEvent(s, *st, FD_WRITE, 0);
  }
  rearm(*st);
}

SOCKET adopt(int fd, bool connected) {
  SocketLibrary& l = library();
  const SOCKET s = l.nextHandle++;
  auto st = std::make_unique<SocketState>();
  st->fd = fd;
  st->connected = connected;
  st->readable = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  st->writable = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
  st->readable->setEnabled(false);
  st->writable->setEnabled(false);
  QObject::connect(st->readable.get(), &QSocketNotifier::activated, [s] { onReadable(s); });
  QObject::connect(st->writable.get(), &QSocketNotifier::activated, [s] { onWritable(s); });
  l.sockets[s] = std::move(st);
  return s;
}

const sockaddr_in* ipv4(const sockaddr* name, int namelen) {
  if (!name || namelen < static_cast<int>(sizeof(sockaddr_in))) return nullptr;
  return reinterpret_cast<const sockaddr_in*>(name);
}

// Lays a hostent with one IPv4 address out in buf; the length it needs.
int layOutHostent(const QByteArray& name, ULONG address, char* buf, int buflen) {
  struct Layout {
    hostent h;
    char* aliases[1];
    char* addresses[2];
    ULONG address;
  };
  const int needed = static_cast<int>(sizeof(Layout)) + name.size() + 1;
  if (!buf || buflen < needed) return needed;
  auto* l = reinterpret_cast<Layout*>(buf);
  char* text = buf + sizeof(Layout);
  std::memcpy(text, name.constData(), static_cast<size_t>(name.size()) + 1);
  l->address = address;
  l->aliases[0] = nullptr;
  l->addresses[0] = reinterpret_cast<char*>(&l->address);
  l->addresses[1] = nullptr;
  l->h.h_name = text;
  l->h.h_aliases = l->aliases;
  l->h.h_addrtype = AF_INET;
  l->h.h_length = 4;
  l->h.h_addr_list = l->addresses;
  return needed;
}

}  // namespace

int WSAStartup(WORD versionRequested, LPWSADATA data) {
  if (LOBYTE(versionRequested) < 1) return WSAVERNOTSUPPORTED;
  if (data) {
    std::memset(data, 0, sizeof *data);
    data->wVersion = MAKEWORD(1, 1);
    data->wHighVersion = MAKEWORD(1, 1);
    std::snprintf(data->szDescription, sizeof data->szDescription, "Morvel sockets");
    std::snprintf(data->szSystemStatus, sizeof data->szSystemStatus, "Running");
    data->iMaxSockets = 1024;
  }
  ++library().starts;
  return 0;
}

int WSACleanup() {
  SocketLibrary& l = library();
  if (l.starts == 0) return failWith(WSANOTINITIALISED);
  if (--l.starts == 0) {
    for (auto& [s, st] : l.sockets) net::closeSocket(st->fd);
    l.sockets.clear();
    l.lookups.clear();
  }
  return 0;
}

int WSAGetLastError() { return library().lastError; }

SOCKET socket(int af, int type, int protocol) {
  SocketLibrary& l = library();
  if (l.starts == 0) return failWith(WSANOTINITIALISED), INVALID_SOCKET;
  if (af != AF_INET || type != SOCK_STREAM || (protocol != 0 && protocol != IPPROTO_TCP))
    return failWith(WSAEAFNOSUPPORT), INVALID_SOCKET;
  const int fd = net::openStream();
  if (fd < 0) return failWith(fromErrno(-fd)), INVALID_SOCKET;
  return adopt(fd, false);
}

int closesocket(SOCKET s) {
  if (!lookUp(s)) return SOCKET_ERROR;
  auto& sockets = library().sockets;
  auto it = sockets.find(s);
  net::closeSocket(it->second->fd);
  sockets.erase(it);
  return 0;
}

int bind(SOCKET s, const sockaddr* name, int namelen) {
  SocketState* st = lookUp(s);
  if (!st) return SOCKET_ERROR;
  const sockaddr_in* a = ipv4(name, namelen);
  if (!a) return failWith(WSAEFAULT);
  const int r = net::bindTo(st->fd, a->sin_addr.s_addr, a->sin_port);
  return r < 0 ? failWith(fromErrno(-r)) : 0;
}

int listen(SOCKET s, int backlog) {
  SocketState* st = lookUp(s);
  if (!st) return SOCKET_ERROR;
  const int r = net::listenOn(st->fd, backlog);
  if (r < 0) return failWith(fromErrno(-r));
  st->listening = true;
  rearm(*st);
  return 0;
}

SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen) {
  SocketState* st = lookUp(s);
  if (!st) return INVALID_SOCKET;
  uint32_t address = 0;
  uint16_t port = 0;
  const int fd = net::acceptFrom(st->fd, &address, &port);
  st->readPosted = false;
  rearm(*st);
  if (fd < 0) return failWith(fromErrno(-fd)), INVALID_SOCKET;
  if (addr && addrlen && *addrlen >= static_cast<int>(sizeof(sockaddr_in))) {
    auto* out = reinterpret_cast<sockaddr_in*>(addr);
    std::memset(out, 0, sizeof *out);
    out->sin_family = AF_INET;
    out->sin_addr.s_addr = address;
    out->sin_port = port;
    *addrlen = sizeof(sockaddr_in);
  }
  const SOCKET accepted = adopt(fd, true);
  // The new socket watches for the listening socket's events, as on Windows.
  SocketState& a = *library().sockets[accepted];
  a.hwnd = st->hwnd;
  a.msg = st->msg;
  a.events = st->events;
  rearm(a);
  return accepted;
}

int connect(SOCKET s, const sockaddr* name, int namelen) {
  SocketState* st = lookUp(s);
  if (!st) return SOCKET_ERROR;
  const sockaddr_in* a = ipv4(name, namelen);
  if (!a) return failWith(WSAEFAULT);
  const int r = net::connectTo(st->fd, a->sin_addr.s_addr, a->sin_port);
  if (r == 0) {
    st->connected = true;
    postEvent(s, *st, FD_CONNECT, 0);
    postEvent(s, *st, FD_WRITE, 0);
    rearm(*st);
    return 0;
  }
  if (-r == EINPROGRESS) {
    st->connecting = true;
    rearm(*st);
  }
  return failWith(fromErrno(-r));
}

int send(SOCKET s, const char* buf, int len, int flags) {
  SocketState* st = lookUp(s);
  if (!st) return SOCKET_ERROR;
  if (len < 0 || (!buf && len > 0)) return failWith(WSAEFAULT);
  const long n = net::sendBytes(st->fd, buf, len, (flags & MSG_OOB) != 0);
  if (n >= 0) return static_cast<int>(n);
  if (-n == EWOULDBLOCK) {
    st->writeWanted = true;
    rearm(*st);
  }
  return failWith(fromErrno(static_cast<int>(-n)));
}

int recv(SOCKET s, char* buf, int len, int flags) {
  SocketState* st = lookUp(s);
  if (!st) return SOCKET_ERROR;
  if (len < 0 || (!buf && len > 0)) return failWith(WSAEFAULT);
  if (flags & MSG_OOB) return failWith(WSAEOPNOTSUPP);
  const long n = net::receiveBytes(st->fd, buf, len, false);
  st->readPosted = false;
  rearm(*st);
  return n < 0 ? failWith(fromErrno(static_cast<int>(-n))) : static_cast<int>(n);
}

int getsockname(SOCKET s, sockaddr* name, int* namelen) {
  SocketState* st = lookUp(s);
  if (!st) return SOCKET_ERROR;
  if (!name || !namelen || *namelen < static_cast<int>(sizeof(sockaddr_in))) return failWith(WSAEFAULT);
  uint32_t address = 0;
  uint16_t port = 0;
  const int r = net::localAddress(st->fd, &address, &port);
  if (r < 0) return failWith(fromErrno(-r));
  auto* out = reinterpret_cast<sockaddr_in*>(name);
  std::memset(out, 0, sizeof *out);
  out->sin_family = AF_INET;
  out->sin_addr.s_addr = address;
  out->sin_port = port;
  *namelen = sizeof(sockaddr_in);
  return 0;
}

ULONG inet_addr(const char* cp) {
  if (!cp) return INADDR_NONE;
  unsigned parts[4];
  char tail;
  if (std::sscanf(cp, "%3u.%3u.%3u.%3u%c", &parts[0], &parts[1], &parts[2], &parts[3], &tail) != 4) return INADDR_NONE;
  for (unsigned p : parts)
    if (p > 255) return INADDR_NONE;
  return htonl((parts[0] << 24) | (parts[1] << 16) | (parts[2] << 8) | parts[3]);
}

char* inet_ntoa(in_addr in) {
  static char text[16];
  const auto& b = in.S_un.S_un_b;
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", b.s_b1, b.s_b2, b.s_b3, b.s_b4);
  return text;
}

int WSAAsyncSelect(SOCKET s, HWND hwnd, UINT msg, long events) {
  SocketState* st = lookUp(s);
  if (!st) return SOCKET_ERROR;
  if (events && !IsWindow(hwnd)) return failWith(WSAEINVAL);
  st->hwnd = events ? hwnd : nullptr;
  st->msg = msg;
  st->events = events;
  st->readPosted = false;
  // A connected socket that can take data says so at once.
  if (st->connected && !st->writeWanted) postEvent(s, *st, FD_WRITE, 0);
  rearm(*st);
  return 0;
}

HANDLE WSAAsyncGetHostByName(HWND hwnd, UINT msg, const char* name, char* buf, int buflen) {
  SocketLibrary& l = library();
  if (l.starts == 0) return failWith(WSANOTINITIALISED), nullptr;
  if (!name || !IsWindow(hwnd)) return failWith(WSAEINVAL), nullptr;
  const uintptr_t id = l.nextTask++;
  const HANDLE task = reinterpret_cast<HANDLE>(id);
  LookupTask& t = l.lookups[id];
  t.context = std::make_unique<QObject>();
  const QByteArray hostName(name);
  QHostInfo::lookupHost(QString::fromLatin1(hostName), t.context.get(), [=](const QHostInfo& info) {
    int error = info.error() == QHostInfo::NoError
                    ? 0
                    : (info.error() == QHostInfo::HostNotFound ? WSAHOST_NOT_FOUND : WSATRY_AGAIN);
    ULONG address = INADDR_NONE;
    if (!error) {
      error = WSANO_DATA;
      for (const QHostAddress& a : info.addresses()) {
        if (a.protocol() != QAbstractSocket::IPv4Protocol) continue;
        address = htonl(a.toIPv4Address());
        error = 0;
        break;
      }
    }
    int needed = 0;
    if (!error) {
      needed = layOutHostent(hostName, address, buf, buflen);
      if (needed > buflen) error = WSAENOBUFS;
    }
    // The context is the object this answer is delivered to: let it go
    // once the answer has been given.
    auto done = library().lookups.find(id);
    if (done != library().lookups.end()) {
      done->second.context.release()->deleteLater();
      library().lookups.erase(done);
    }
    PostMessage(hwnd, msg, reinterpret_cast<WPARAM>(task), WSAMAKEASYNCREPLY(needed, error));
  });
  return task;
}

int WSACancelAsyncRequest(HANDLE task) {
  SocketLibrary& l = library();
  if (l.starts == 0) return failWith(WSANOTINITIALISED);
  if (l.lookups.erase(reinterpret_cast<uintptr_t>(task)) == 0) return failWith(WSAEINVAL);
  return 0;
}
