// The POSIX calls under the Windows Sockets stand-in. The system's socket
// headers and win32.h declare the same names, so the calls live in a source
// file of their own behind this plain interface. Addresses and ports are in
// network order; failures return -errno.
#pragma once

#include <cstdint>

namespace platform::detail::posix {

int openStream();  // a non-blocking TCP socket
int connectTo(int fd, uint32_t address, uint16_t port);
int bindTo(int fd, uint32_t address, uint16_t port);
int listenOn(int fd, int backlog);
int acceptFrom(int fd, uint32_t* address, uint16_t* port);  // non-blocking too
long sendBytes(int fd, const char* data, long length, bool urgent);
long receiveBytes(int fd, char* data, long length, bool peek);
int localAddress(int fd, uint32_t* address, uint16_t* port);
int pendingError(int fd);  // SO_ERROR: the outcome of a connect
void closeSocket(int fd);

}  // namespace platform::detail::posix
