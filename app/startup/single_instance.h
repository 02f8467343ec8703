// One running Morvex per user. A second start hands its file list to the
// first one through a local socket and ends.
//
// The list is the command-line list of the documents ("a?b?": every name
// followed by "?"), sent as its bytes in the local 8-bit encoding of file
// names with the terminating zero. A start without file names sends nothing
// and only brings the first instance forward.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace morvel {

// The socket of the current user: in $XDG_RUNTIME_DIR when it is set (a
// folder of the user's own), otherwise in the temporary folder; the name
// carries the user id.
QString instanceSocketPath();

// Hands the list to a running instance. True when one took it; false when
// none runs (or it did not answer).
bool handOffToRunningInstance(const QString& list);

// The first instance's end: listens on the socket and gives every list that
// arrives to the handler, as soon as the sender has finished.
class InstanceServer : public QObject {
 public:
  using Handler = std::function<void(const QString& list)>;
  explicit InstanceServer(Handler handler, QObject* parent = nullptr);
  ~InstanceServer() override;
  InstanceServer(const InstanceServer&) = delete;
  InstanceServer& operator=(const InstanceServer&) = delete;

  // False when the socket could not be created (another instance took it
  // first, or the folder is not writable).
  bool listen();

 private:
  void accept();

  Handler handler_;
  QLocalServer* server_;
};

// The bytes that travel for a list, and the list they carry.
QByteArray encodeHandOff(const QString& list);
QString decodeHandOff(const QByteArray& bytes);

}  // namespace morvel
