// An FTP server on loopback that answers from a script: replies a real
// server seldom gives, nonsense, and the ways a hostile server misbehaves.
#pragma once

#include "ftp_fixture.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class ScriptedServer {
 public:
  // Sends the greeting to whoever connects; with `hangUp` it closes at once.
  explicit ScriptedServer(QByteArray greeting, QHostAddress address = QHostAddress::LocalHost, bool hangUp = false)
      : greeting_(std::move(greeting)) {
    server_.listen(address, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, [this, hangUp] {
      control_ = server_.nextPendingConnection();
      if (hangUp) return control_->disconnectFromHost();
      control_->write(greeting_);
      QObject::connect(control_, &QTcpSocket::readyRead, [this] { readCommands(); });
    });
  }

  uint16_t port() const { return server_.serverPort(); }
  QString address() const { return server_.serverAddress().toString(); }
  void reply(const QByteArray& text) { control_->write(text); }
  void closeControl() { control_->disconnectFromHost(); }

  // Opens a data connection to the address the last PORT named, from
  // `from` (any local address when null).
  std::unique_ptr<QTcpSocket> dialData(const QHostAddress& from = QHostAddress()) const {
    auto socket = std::make_unique<QTcpSocket>();
    if (!from.isNull()) socket->bind(from, 0);
    socket->connectToHost(QHostAddress(dataHost_), dataPort_);
    runUntil([&] { return socket->state() == QAbstractSocket::ConnectedState || socket->error() >= 0; });
    return socket;
  }
  // The server's own data connection, from its own address.
  QTcpSocket& connectData() {
    data_ = dialData(server_.serverAddress());
    return *data_;
  }
  void closeData() {
    data_->disconnectFromHost();
    runUntil([this] { return data_->state() == QAbstractSocket::UnconnectedState; });
  }
  bool lastCommandIs(const QString& command) const { return !commands.isEmpty() && commands.last() == command; }
  bool lastCommandStarts(const QString& verb) const { return !commands.isEmpty() && commands.last().startsWith(verb); }

  std::function<QByteArray(const QString&)> answer;
  QStringList commands;
  QList<QByteArray> rawCommands;  // as the bytes came, without CR LF

 private:
  void readCommands() {
    while (control_->canReadLine()) {
      const QByteArray raw = control_->readLine().chopped(2);
      rawCommands << raw;
      const QString line = QString::fromUtf8(raw).trimmed();
      commands << line;
      if (line.startsWith("PORT ")) {
        const QStringList p = line.mid(5).split(',');
        dataHost_ = QStringList(p.mid(0, 4)).join('.');
        dataPort_ = static_cast<uint16_t>(p.value(4).toUInt() * 256 + p.value(5).toUInt());
      }
      const QByteArray text = answer ? answer(line) : QByteArray();
      if (!text.isEmpty()) control_->write(text);
    }
  }

  QByteArray greeting_;
  QTcpServer server_;
  QTcpSocket* control_ = nullptr;  // owned by the server
  std::unique_ptr<QTcpSocket> data_;
  QString dataHost_;
  uint16_t dataPort_ = 0;
};

// The replies of a plain, well-behaved session.
inline QByteArray usual(const QString& command) {
  if (command.startsWith("USER")) return "331 Password\r\n";
  if (command.startsWith("PASS")) return "230 In\r\n";
  if (command.startsWith("SYST")) return "215 UNIX Type: L8\r\n";
  if (command.startsWith("TYPE") || command.startsWith("PORT")) return "200 OK\r\n";
  if (command.startsWith("PWD")) return "257 \"/\" is current\r\n";
  if (command.startsWith("QUIT")) return "221 Bye\r\n";
  return {};
}

// The usual replies, but `special` ones for commands that begin (or, for
// the ABOR behind its Telnet signs, end) with a key.
inline std::function<QByteArray(const QString&)> usualAnd(std::vector<std::pair<QString, QByteArray>> special) {
  return [special = std::move(special)](const QString& command) {
    for (const auto& [verb, reply] : special)
      if (command.startsWith(verb) || command.endsWith(verb)) return reply;
    return usual(command);
  };
}

// The client logged in to a scripted server, with all it reports recorded.
class ScriptedTest : public ::testing::Test {
 protected:
  void start(ScriptedServer& server) {
    ftp_.setFtpServer(server.address());
    ftp_.setFtpPort(server.port());
    ftp_.setUserName("u");
    ftp_.setUserPassword("p");
    record(ftp_, r_);
    ftp_.Connect();
  }
  void logIn(ScriptedServer& server) {
    if (!server.answer) server.answer = usual;
    start(server);
    ASSERT_TRUE(waitForEvent("LoggedIn"));
    r_.clear();
  }
  // Starts fetching `name` into a local file that holds `before` (none when
  // null) and waits for the server to have the RETR; the local path.
  QString startRetrieve(ScriptedServer& server, const QString& name, const QByteArray& before = {}) {
    const QString local = local_.filePath(name);
    if (!before.isNull()) writeFile(local, before);
    ftp_.setLocalFile(local);
    ftp_.setRemoteFile(name);
    ftp_.Retrieve();
    EXPECT_TRUE(runUntil([&] { return server.lastCommandStarts("RETR"); }));
    return local;
  }
  bool waitForEvent(const std::string& name) {
    return runUntil([&] { return r_.countEvent(name) > 0 || r_.countEvent("quit") > 0; }) && r_.countEvent(name) > 0;
  }
  bool waitForQuit() {
    return runUntil([&] { return r_.countEvent("quit") > 0; });
  }

  TStarFtp ftp_;
  FtpRecord r_;
  QTemporaryDir local_;
};
