// The client under test with everything it reports recorded, and a real FTP
// server (pyftpdlib, run by Debian's python) serving a temporary folder.
#pragma once

#include "event_wait.h"
#include "star_ftp.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <ostream>
#include <string>
#include <vector>

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

struct FtpRecord {
  std::vector<std::pair<FtpInfo, QString>> infos;
  std::vector<FtpError> errors;
  std::vector<std::string> events;  // "ready", "LoggedIn", "quit", ...
  QStringList commands;             // the command lines sent, without CR LF

  int countEvent(const std::string& name) const {
    int n = 0;
    for (const auto& e : events) n += e == name;
    return n;
  }
  bool hasInfo(FtpInfo code, const QString& text) const {
    for (const auto& [c, t] : infos)
      if (c == code && t == text) return true;
    return false;
  }
  int countInfo(FtpInfo code) const {
    int n = 0;
    for (const auto& i : infos) n += i.first == code;
    return n;
  }
  void clear() { *this = FtpRecord(); }
};

// Hooks every event of the client to the record.
inline void record(TStarFtp& ftp, FtpRecord& r) {
  ftp.OnFtpInfo = [&r](TStarFtp&, FtpInfo code, const QString& text) {
    r.infos.emplace_back(code, text);
    if (code == FtpInfo::SendingCommand) r.commands << text.chopped(2);
  };
  ftp.OnFtpError = [&r](TStarFtp&, FtpError error, const QString& text) {
    EXPECT_EQ(text, "Error");
    r.errors.push_back(error);
  };
  ftp.OnFtpReady = [&r](TStarFtp&) { r.events.push_back("ready"); };
  ftp.OnFtpQuit = [&r](TStarFtp&) { r.events.push_back("quit"); };
  const auto note = [&r](const char* name) { return [&r, name](TStarFtp&) { r.events.push_back(name); }; };
  ftp.OnLoggedIn = note("LoggedIn");
  ftp.OnDirectoryChanged = note("DirectoryChanged");
  ftp.OnDirectoryCreated = note("DirectoryCreated");
  ftp.OnDirectoryDeleted = note("DirectoryDeleted");
  ftp.OnFileDeleted = note("FileDeleted");
  ftp.OnFileReceived = note("FileReceived");
  ftp.OnFileStored = note("FileStored");
  ftp.OnListingDone = note("ListingDone");
  ftp.OnFileRenamed = note("FileRenamed");
}

inline QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

// Every byte value, then pseudo-random bytes: `size` bytes in all.
inline QByteArray testBytes(int size, unsigned seed = 1) {
  QByteArray bytes;
  bytes.reserve(size);
  for (int i = 0; i < size && i < 256; ++i) bytes += static_cast<char>(i);
  unsigned x = seed;
  while (bytes.size() < size) {
    x = x * 1103515245u + 12345u;
    bytes += static_cast<char>(x >> 16);
  }
  return bytes;
}

class FtpServerTest : public ::testing::Test {
 protected:
  static constexpr const char* kUser = "morvel";
  static constexpr const char* kPassword = "hemmelig";

  void SetUp() override {
    ASSERT_TRUE(serverRoot_.isValid() && localDir_.isValid() && work_.isValid());
    ASSERT_NO_FATAL_FAILURE(startServer(certificate_));

    ftp_.setFtpServer("127.0.0.1");
    ftp_.setFtpPort(port_);
    ftp_.setUserName(kUser);
    ftp_.setUserPassword(kPassword);
    record(ftp_, r_);
  }

  // The server, secured (FTPS, explicit) with the certificate and key in
  // `certificate` when it is given; it writes each command it receives, and
  // for each secured data connection whether it resumed the control
  // connection's session, to receivedCommands(). Like some servers, it
  // insists on that reuse: a data connection without is closed at once.
  void startServer(const QString& certificate) {
    static const char* script = R"(
import sys, logging
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, TLS_FTPHandler, TLS_DTPHandler
from pyftpdlib.servers import FTPServer
logging.basicConfig(level=logging.CRITICAL)
user, password, root, received, certificate = sys.argv[1:6]
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm='elradfmwMT')
log = open(received, 'a', buffering=1)
class Handler(TLS_FTPHandler if certificate else FTPHandler):
    def pre_process_command(self, line, cmd, arg):
        log.write(line + '\n')
        return super().pre_process_command(line, cmd, arg)
Handler.authorizer = authorizer
if certificate:
    from OpenSSL._util import lib
    class DataHandler(TLS_DTPHandler):
        def handle_ssl_established(self):
            reused = lib.SSL_session_reused(self.socket._ssl) == 1
            log.write('DATA-TLS %s\n' % ('reused' if reused else 'new'))
            if not reused:
                self.close()
    Handler.certfile = certificate
    Handler.dtp_handler = DataHandler
    Handler.tls_control_required = True
    Handler.tls_data_required = True
server = FTPServer(('127.0.0.1', 0), Handler)
print(server.address[1], flush=True)
server.serve_forever()
)";
    stopServer();
    server_.setProgram("/usr/bin/python3");
    server_.setArguments({"-c", script, kUser, kPassword, serverRoot_.path(), receivedFile(), certificate});
    server_.setProcessChannelMode(QProcess::SeparateChannels);
    server_.start();
    ASSERT_TRUE(server_.waitForStarted()) << "python3-pyftpdlib is needed";
    ASSERT_TRUE(runUntil([this] { return server_.canReadLine() || server_.state() != QProcess::Running; }))
        << "the FTP server did not start";
    port_ = static_cast<uint16_t>(server_.readLine().trimmed().toUInt());
    ASSERT_NE(port_, 0) << server_.readAllStandardError().toStdString();
    ftp_.setFtpPort(port_);
  }

  void stopServer() {
    if (server_.state() == QProcess::NotRunning) return;
    server_.kill();
    server_.waitForFinished();
  }

  QString receivedFile() const { return work_.filePath("received.txt"); }
  void forgetReceived() { QFile::resize(receivedFile(), 0); }
  // What the server received, one command (or data connection) a line.
  QStringList receivedCommands() const {
    return QString::fromUtf8(readFile(receivedFile())).split('\n', Qt::SkipEmptyParts);
  }

  void TearDown() override { stopServer(); }

  // Waits for the event of the operation (or the end of the connection).
  bool waitForEvent(const std::string& name) {
    return runUntil([&] { return r_.countEvent(name) > 0 || r_.countEvent("quit") > 0; }) && r_.countEvent(name) > 0;
  }

  void logIn() {
    ftp_.Connect();
    ASSERT_TRUE(waitForEvent("LoggedIn"));
    ASSERT_TRUE(ftp_.Success());
    ASSERT_TRUE(ftp_.Connected());
    r_.clear();
  }

  QString serverPath(const QString& name) const { return serverRoot_.filePath(name); }
  QString localPath(const QString& name) const { return localDir_.filePath(name); }

  QTemporaryDir serverRoot_;
  QTemporaryDir localDir_;
  QTemporaryDir work_;
  QString certificate_;  // set before SetUp for a secured server
  QProcess server_;
  uint16_t port_ = 0;
  TStarFtp ftp_;
  FtpRecord r_;
};
