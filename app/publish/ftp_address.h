// The server field of a connection as the user writes it: a host name or
// address, optionally with "ftp://" before it and ":port" after it, since
// test and hosting servers do not all listen on port 21.
#pragma once

#include <QString>

#include <cstdint>

namespace morvel::ftp {

struct ServerAddress {
  QString host;
  std::uint16_t port = 21;
};

// The host and port of the field; port 21 when it names none. A port that
// is not a number from 1 to 65535 is left in the host, where the lookup
// will fail with the usual message.
ServerAddress serverAddress(const QString& field);

}  // namespace morvel::ftp
