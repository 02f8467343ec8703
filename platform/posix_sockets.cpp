#include "posix_sockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::detail::posix {

namespace {

sockaddr_in makeAddress(uint32_t address, uint16_t port) {
  sockaddr_in a;
  std::memset(&a, 0, sizeof a);
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = address;
  a.sin_port = port;
  return a;
}

int failure() { return -errno; }

}  // namespace

int openStream() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  return fd < 0 ? failure() : fd;
}

int connectTo(int fd, uint32_t address, uint16_t port) {
  const sockaddr_in a = makeAddress(address, port);
  return ::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) < 0 ? failure() : 0;
}

int bindTo(int fd, uint32_t address, uint16_t port) {
  const sockaddr_in a = makeAddress(address, port);
  return ::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) < 0 ? failure() : 0;
}

int listenOn(int fd, int backlog) { return ::listen(fd, backlog) < 0 ? failure() : 0; }

int acceptFrom(int fd, uint32_t* address, uint16_t* port) {
  sockaddr_in a;
  socklen_t length = sizeof a;
  const int accepted = ::accept4(fd, reinterpret_cast<sockaddr*>(&a), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (accepted < 0) return failure();
  if (address) *address = a.sin_addr.s_addr;
  if (port) *port = a.sin_port;
  return accepted;
}

long sendBytes(int fd, const char* data, long length, bool urgent) {
  // MSG_NOSIGNAL: a peer that went away is an error to report, not a signal.
  const ssize_t n = ::send(fd, data, static_cast<size_t>(length), MSG_NOSIGNAL | (urgent ? MSG_OOB : 0));
  return n < 0 ? failure() : static_cast<long>(n);
}

long receiveBytes(int fd, char* data, long length, bool peek) {
  const ssize_t n = ::recv(fd, data, static_cast<size_t>(length), peek ? MSG_PEEK : 0);
  return n < 0 ? failure() : static_cast<long>(n);
}

int localAddress(int fd, uint32_t* address, uint16_t* port) {
  sockaddr_in a;
  socklen_t length = sizeof a;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) < 0) return failure();
  *address = a.sin_addr.s_addr;
  *port = a.sin_port;
  return 0;
}

int pendingError(int fd) {
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) < 0) return errno;
  return error;
}

void closeSocket(int fd) { ::close(fd); }

}  // namespace platform::detail::posix
