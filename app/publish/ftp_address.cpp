#include "ftp_address.h"

namespace morvel::ftp {

ServerAddress serverAddress(const QString& field) {
  QString host = field.trimmed();
  if (host.startsWith(QLatin1String("ftp://"), Qt::CaseInsensitive)) host = host.mid(6);
  while (host.endsWith('/')) host.chop(1);
  ServerAddress address{host, 21};
  const qsizetype colon = host.lastIndexOf(':');
  // More than one colon is an IPv6 address, which has no port this way.
  if (colon <= 0 || host.indexOf(':') != colon) return address;
  bool number = false;
  const uint port = host.mid(colon + 1).toUInt(&number);
  if (!number || port == 0 || port > 65535) return address;
  return {host.left(colon), static_cast<std::uint16_t>(port)};
}

}  // namespace morvel::ftp
