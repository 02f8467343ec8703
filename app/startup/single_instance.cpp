#include "startup/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <memory>

#include <unistd.h>

namespace morvel {

namespace {

// How long a start waits for a running instance to take its list. A healthy
// instance answers at once; a hung one must not keep the new start waiting.
constexpr int kHandOffMilliseconds = 5000;

}  // namespace

QString instanceSocketPath() {
  QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::tempPath();
  return QDir(folder).filePath(QStringLiteral("morvex-%1.socket").arg(::getuid()));
}

QByteArray encodeHandOff(const QString& list) {
  if (list.isEmpty()) return {};
  QByteArray bytes = QFile::encodeName(list);
  bytes.append('\0');
  return bytes;
}

QString decodeHandOff(const QByteArray& bytes) {
  const qsizetype end = bytes.indexOf('\0');
  return QFile::decodeName(end < 0 ? bytes : bytes.left(end));
}

bool handOffToRunningInstance(const QString& list) {
  QLocalSocket socket;
  socket.connectToServer(instanceSocketPath());
  if (!socket.waitForConnected(kHandOffMilliseconds)) return false;
  const QByteArray bytes = encodeHandOff(list);
  if (!bytes.isEmpty()) {
    socket.write(bytes);
    if (!socket.waitForBytesWritten(kHandOffMilliseconds)) return false;
  }
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kHandOffMilliseconds);
  return true;
}

InstanceServer::InstanceServer(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)), server_(new QLocalServer(this)) {
  // No socket options: with them the socket is made elsewhere and renamed
  // into place, which would silently take the name from a running instance.
  // The folder is the user's own; elsewhere the umask keeps others out.
  connect(server_, &QLocalServer::newConnection, this, [this] { accept(); });
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listen() {
  const QString path = instanceSocketPath();
  if (server_->listen(path)) return true;
  if (server_->serverError() != QAbstractSocket::AddressInUseError) return false;
  // A socket file that nobody answers on is left over from a run that
  // ended abruptly; one that answers belongs to a running instance.
  QLocalSocket probe;
  probe.connectToServer(path);
  if (probe.waitForConnected(kHandOffMilliseconds)) return false;
  QLocalServer::removeServer(path);
  return server_->listen(path);
}

void InstanceServer::accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    // The sender closes its end when it has written the whole list.
    auto received = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, socket, [socket, received] { received->append(socket->readAll()); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket, received] {
      received->append(socket->readAll());
      socket->deleteLater();
      handler_(decodeHandOff(*received));
    });
  }
}

}  // namespace morvel
