// The client against servers that misbehave: endless lines, silence, a
// stranger on the data port, names that would smuggle in commands, hang-ups
// in the middle of an operation, and names in the old Windows code page.
#include "ftp_messages.h"
#include "scripted_server.h"

#include <QProcess>

#include <fstream>
#include <string>
#include <utility>

namespace {

using Hostile = ScriptedTest;

// The resident memory of this process, in kilobytes.
long residentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// A server in a process of its own that sends 64 MB without a line end:
// as the reply to the connection ("reply"), or as a listing line ("listing").
class FloodServer {
 public:
  explicit FloodServer(const char* mode) {
    static const char* script = R"(
import socket, sys
flood = b'x' * 65536
def send_flood(sock, head):
    try:
        sock.sendall(head)
        for _ in range(1024):
            sock.sendall(flood)
    except OSError:
        pass
server = socket.socket()
server.bind(('127.0.0.1', 0))
server.listen(1)
print(server.getsockname()[1], flush=True)
control, _ = server.accept()
if sys.argv[1] == 'reply':
    send_flood(control, b'220 ')
    sys.exit(0)
control.sendall(b'220 Ready\r\n')
answers = {'USER': b'331 Password\r\n', 'PASS': b'230 In\r\n', 'SYST': b'215 UNIX Type: L8\r\n',
           'PWD': b'257 "/" is current\r\n', 'TYPE': b'200 OK\r\n', 'PORT': b'200 OK\r\n'}
for line in control.makefile('rb'):
    command = line.decode('latin-1').strip()
    verb = command.split(' ')[0]
    if verb == 'PORT':
        p = command[5:].split(',')
        data_address = ('.'.join(p[:4]), int(p[4]) * 256 + int(p[5]))
    if verb == 'LIST':
        control.sendall(b'150 Here it comes\r\n')
        data = socket.create_connection(data_address)
        send_flood(data, b'-rw-r--r-- 1 u g 1 Jan 1 2003 ')
        data.close()
    else:
        control.sendall(answers.get(verb, b'500 ?\r\n'))
)";
    process_.setProgram("/usr/bin/python3");
    process_.setArguments({"-c", script, mode});
    process_.start();
    if (process_.waitForStarted() && runUntil([this] { return process_.canReadLine(); }, 30000))
      port_ = static_cast<uint16_t>(process_.readLine().trimmed().toUInt());
  }
  ~FloodServer() {
    process_.kill();
    process_.waitForFinished();
  }
  uint16_t port() const { return port_; }

 private:
  QProcess process_;
  uint16_t port_ = 0;
};

}  // namespace

TEST_F(Hostile, AnEndlessLineEndsTheConnectionAndMemoryStaysFlat) {
  struct Case {
    const char* mode;
    FtpError error;
  };
  for (const Case& c : {Case{"reply", FtpError::UnexpectedReply}, Case{"listing", FtpError::DataConnection}}) {
    FloodServer server(c.mode);
    ASSERT_NE(server.port(), 0) << c.mode;
    r_.clear();
    record(ftp_, r_);
    ftp_.setFtpServer("127.0.0.1");
    ftp_.setFtpPort(server.port());
    ftp_.setUserName("u");
    ftp_.setUserPassword("p");
    const long before = residentKb();
    ftp_.Connect();
    if (std::string(c.mode) == "listing") {
      ASSERT_TRUE(waitForEvent("LoggedIn"));
      ftp_.List();
    }
    ASSERT_TRUE(waitForQuit()) << c.mode;
    const long grown = residentKb() - before;
    EXPECT_EQ(r_.errors, std::vector<FtpError>{c.error}) << c.mode;
    EXPECT_LT(grown, 16 * 1024) << c.mode << ": the client kept what the server sent";
    EXPECT_FALSE(ftp_.Connected());
    EXPECT_FALSE(ftp_.Busy());
    EXPECT_FALSE(ftp_.Success());
  }
}

TEST_F(Hostile, ASilentServerTimesOutButASlowTransferDoesNot) {
  ScriptedServer server("220 Ready\r\n");
  server.answer = usualAnd({{"RETR", "150 Opening (40 bytes)\r\n"}});
  logIn(server);
  EXPECT_EQ(ftp_.TimeOutReply(), 60);
  ftp_.setTimeOutReply(1);

  // Idle, nothing is awaited: the connection stays however long it lasts.
  runUntil([] { return false; }, 2500);
  EXPECT_TRUE(ftp_.Connected());

  // Data that keeps coming, slower than the time-out in all, is no silence.
  const QString local = startRetrieve(server, "langsom.txt");
  QTcpSocket& data = server.connectData();
  for (int i = 0; i < 8; ++i) {
    data.write("fem. ");
    data.flush();
    runUntil([] { return false; }, 300);
  }
  server.closeData();
  server.reply("226 Done\r\n");
  ASSERT_TRUE(waitForEvent("FileReceived"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(readFile(local).size(), 40);

  // A command the server never answers.
  r_.clear();
  ftp_.MakeDir("ny");
  ASSERT_TRUE(waitForQuit());
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::TimedOut});
  EXPECT_EQ(morvel::ftp::errorMessage(FtpError::TimedOut, "ftp.eksempel.dk", "").title, "Tid udløbet");
  EXPECT_FALSE(ftp_.Connected());
  EXPECT_FALSE(ftp_.Busy());
}

TEST_F(Hostile, AnAbortAnsweredOnlyOnceTimesOut) {
  ScriptedServer server("220 Ready\r\n");
  // The transfer's answer to the ABOR comes, the ABOR's own never.
  server.answer = usualAnd({{"RETR", "150 Opening\r\n"}, {"ABOR", "426 Aborted\r\n"}});
  logIn(server);
  ftp_.setTimeOutReply(1);
  bool aborted = false;
  ftp_.OnFtpInfo = [&](TStarFtp& ftp, FtpInfo code, const QString&) {
    if (code == FtpInfo::DataProgress && !std::exchange(aborted, true)) ftp.Abort();
  };
  startRetrieve(server, "stor.bin");
  QTcpSocket& data = server.connectData();
  data.write(testBytes(4096));
  data.flush();
  ASSERT_TRUE(runUntil([&] { return !server.commands.isEmpty() && server.commands.last().endsWith("ABOR"); }));
  server.closeData();
  ASSERT_TRUE(waitForQuit());
  EXPECT_TRUE(aborted);
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::TimedOut});
  EXPECT_EQ(r_.countEvent("FileReceived"), 0);
  EXPECT_FALSE(QFileInfo::exists(local_.filePath("stor.bin")));
}

// The server listens on 127.0.0.2 and connects back from there; a stranger
// on the same machine connects from 127.0.0.1.
TEST_F(Hostile, OnlyTheServerGetsIntoADownload) {
  ScriptedServer server("220 Ready\r\n", QHostAddress("127.0.0.2"));
  server.answer = usualAnd({{"RETR", "150 Opening (3000 bytes)\r\n"}});
  logIn(server);
  const QString local = startRetrieve(server, "side.htm", "min side");

  // A stranger quicker than the server is turned away.
  auto stranger = server.dialData(QHostAddress("127.0.0.1"));
  stranger->write("<script>ondt</script>");
  stranger->flush();
  ASSERT_TRUE(runUntil([&] { return stranger->state() == QAbstractSocket::UnconnectedState; }));

  const QByteArray content = testBytes(3000, 9);
  QTcpSocket& data = server.connectData();
  ASSERT_EQ(data.state(), QAbstractSocket::ConnectedState);
  data.write(content.left(1000));
  data.flush();
  ASSERT_TRUE(runUntil([&] { return ftp_.BytesTransferred() == 1000; }));
  // Once the server is in, nobody else even finds the port open.
  auto late = server.dialData(QHostAddress("127.0.0.1"));
  EXPECT_EQ(late->error(), QAbstractSocket::ConnectionRefusedError);
  data.write(content.mid(1000));
  server.closeData();
  server.reply("226 Done\r\n");
  ASSERT_TRUE(waitForEvent("FileReceived"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(readFile(local), content);

  // The server never comes; the stranger alone is no download.
  r_.clear();
  ftp_.Retrieve();
  ASSERT_TRUE(runUntil([&] { return server.lastCommandStarts("RETR"); }));
  stranger = server.dialData(QHostAddress("127.0.0.1"));
  stranger->write("<script>ondt</script>");
  stranger->flush();
  ASSERT_TRUE(runUntil([&] { return stranger->state() == QAbstractSocket::UnconnectedState; }));
  server.reply("425 Can't open data connection\r\n");
  ASSERT_TRUE(waitForEvent("FileReceived"));
  EXPECT_FALSE(ftp_.Success());
  EXPECT_EQ(r_.countInfo(FtpInfo::NegativeReply), 1);
  EXPECT_EQ(readFile(local), content);
  EXPECT_EQ(QDir(local_.path()).entryList(QDir::Files), QStringList{"side.htm"});
  EXPECT_TRUE(ftp_.Connected());
  EXPECT_TRUE(r_.errors.empty());
}

TEST_F(Hostile, OnlyTheServerReceivesAnUpload) {
  ScriptedServer server("220 Ready\r\n", QHostAddress("127.0.0.2"));
  server.answer = usualAnd({{"STOR", "150 Send it\r\n"}});
  logIn(server);
  const QByteArray content = testBytes(20000, 5);
  writeFile(local_.filePath("side.htm"), content);
  ftp_.setLocalFile(local_.filePath("side.htm"));
  ftp_.setRemoteFile("side.htm");
  ftp_.Store();
  ASSERT_TRUE(runUntil([&] { return server.lastCommandStarts("STOR"); }));
  auto stranger = server.dialData(QHostAddress("127.0.0.1"));
  ASSERT_TRUE(runUntil([&] { return stranger->state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_TRUE(stranger->readAll().isEmpty());

  QTcpSocket& data = server.connectData();
  QByteArray received;
  ASSERT_TRUE(runUntil([&] {
    received += data.readAll();
    return data.state() == QAbstractSocket::UnconnectedState || received.size() == content.size();
  }));
  ASSERT_TRUE(runUntil([&] {
    received += data.readAll();
    return data.state() == QAbstractSocket::UnconnectedState;
  }));
  EXPECT_EQ(received, content);
  server.reply("226 Stored\r\n");
  ASSERT_TRUE(waitForEvent("FileStored"));
  EXPECT_TRUE(ftp_.Success());
}

TEST_F(Hostile, NamesThatWouldSmuggleInACommandAreNeverSent) {
  ScriptedServer server("220 Ready\r\n");
  server.answer = usualAnd({{"MKD", "257 Created\r\n"}});
  logIn(server);
  ftp_.setInitialDirectory("/");
  const QString nul = QString("a") + QChar(0) + "b";
  struct Call {
    std::function<void()> call;
    const char* event;
  };
  const std::vector<Call> calls = {
      {[&] { ftp_.MakeDir("ny\r\nDELE index.htm"); }, "DirectoryCreated"},
      {[&] { ftp_.RemoveDir("ny\nRMD /"); }, "DirectoryDeleted"},
      {[&] { ftp_.DeleteFile(nul); }, "FileDeleted"},
      {[&] { ftp_.ChangeDir("x\ry"); }, "DirectoryChanged"},
      {[&] { ftp_.RenameFile("a.htm", "b.htm\r\nDELE index.htm"); }, "FileRenamed"},
      {[&] { ftp_.RenameFile("a.htm\nDELE index.htm", "b.htm"); }, "FileRenamed"},
      {[&] {
         ftp_.setRemoteFile("a.htm\r\nDELE index.htm");
         ftp_.setLocalFile(local_.filePath("a.htm"));
         ftp_.Retrieve();
       },
       "FileReceived"},
      {[&] { ftp_.Store(); }, "FileStored"},
  };
  const int sentBefore = static_cast<int>(server.rawCommands.size());
  for (const Call& c : calls) {
    r_.clear();
    c.call();
    ASSERT_TRUE(waitForEvent(c.event)) << c.event;
    EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::UnsendableName}) << c.event;
    EXPECT_FALSE(ftp_.Success()) << c.event;
    EXPECT_TRUE(r_.commands.isEmpty()) << c.event;
  }
  EXPECT_EQ(ftp_.InitialDirectory(), "/");
  EXPECT_TRUE(QDir(local_.path()).isEmpty());
  // The connection goes on, and the server never saw any of it.
  r_.clear();
  ftp_.MakeDir("ny");
  ASSERT_TRUE(waitForEvent("DirectoryCreated"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(server.rawCommands.mid(sentBefore), QList<QByteArray>{"MKD ny"});
}

TEST_F(Hostile, LoginDataThatWouldSmuggleInACommandIsNeverSent) {
  ScriptedServer server("220 Ready\r\n");
  server.answer = usual;
  ftp_.setInitialDirectory("public_html\r\nDELE index.htm");
  start(server);
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::UnsendableName});
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  EXPECT_FALSE(ftp_.Success());
  EXPECT_FALSE(ftp_.Connected());

  // A password asked for during the login: the client says goodbye instead.
  r_.clear();
  ftp_.setInitialDirectory("");
  ftp_.setUserPassword("");
  ftp_.OnFtpNeedInfo = [](TStarFtp&, TFtpInfoNeeded, QString& value) { value = "p\r\nDELE index.htm"; };
  ftp_.Connect();
  ASSERT_TRUE(waitForQuit());
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::UnsendableName});
  EXPECT_EQ(server.commands, (QStringList{"USER u", "QUIT"}));
}

TEST_F(Hostile, AHangUpInTheMiddleOfAnOperationIsAFailure) {
  // Before the greeting.
  {
    ScriptedServer server("", QHostAddress::LocalHost, true);
    start(server);
    ASSERT_TRUE(waitForQuit());
    EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::ConnectionReset});
    EXPECT_EQ(morvel::ftp::errorMessage(FtpError::ConnectionReset, "", "").text,
              "Forbindelsen blev afbrudt af ftp-serveren.");
    EXPECT_EQ(r_.countEvent("LoggedIn"), 0);
    EXPECT_FALSE(ftp_.Success());
    EXPECT_FALSE(ftp_.Busy());
  }
  ScriptedServer server("220 Ready\r\n");
  server.answer = usualAnd({{"RETR", "150 Opening (100 bytes)\r\n"}});
  // During a command.
  r_.clear();
  logIn(server);
  ftp_.MakeDir("ny");
  ASSERT_TRUE(runUntil([&] { return server.lastCommandIs("MKD ny"); }));
  server.closeControl();
  ASSERT_TRUE(waitForQuit());
  EXPECT_TRUE(r_.hasInfo(FtpInfo::Disconnected, "Disconnected"));
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::ConnectionReset});
  EXPECT_EQ(r_.events, std::vector<std::string>{"quit"});
  EXPECT_FALSE(ftp_.Success());
  EXPECT_FALSE(ftp_.Connected());

  // During a download whose data all came, but no word that it was complete.
  r_.clear();
  logIn(server);
  const QString local = startRetrieve(server, "side.htm", "min side");
  QTcpSocket& data = server.connectData();
  data.write(testBytes(100));
  server.closeData();
  ASSERT_TRUE(runUntil([&] { return r_.hasInfo(FtpInfo::TransferDone, "Transfer done"); }));
  server.closeControl();
  ASSERT_TRUE(waitForQuit());
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::ConnectionReset});
  EXPECT_EQ(r_.countEvent("FileReceived"), 0);
  EXPECT_EQ(readFile(local), "min side");
  EXPECT_EQ(QDir(local_.path()).entryList(QDir::Files), QStringList{"side.htm"});

  // While idle a server may end the session: that is no failure.
  r_.clear();
  logIn(server);
  server.closeControl();
  ASSERT_TRUE(waitForQuit());
  EXPECT_TRUE(r_.hasInfo(FtpInfo::Disconnected, "Disconnected"));
  EXPECT_TRUE(r_.errors.empty());
}

TEST_F(Hostile, ARefusedCallChangesNothingOfTheRunningOne) {
  ScriptedServer server("220 Ready\r\n");
  server.answer = [](const QString& c) -> QByteArray {
    if (c.startsWith("RNTO")) return "250 Renamed\r\n";
    return usual(c);  // RNFR is answered by hand below
  };
  logIn(server);
  ftp_.setInitialDirectory("/public_html");
  ftp_.RenameFile("gammel.htm", "ny.htm");
  ASSERT_TRUE(runUntil([&] { return server.lastCommandIs("RNFR gammel.htm"); }));
  ftp_.RenameFile("index.htm", "slettet.htm");
  ftp_.ChangeDir("/");
  ftp_.Connect();
  EXPECT_EQ(r_.countInfo(FtpInfo::Busy), 3);
  EXPECT_EQ(ftp_.InitialDirectory(), "/public_html");
  server.reply("350 Ready for RNTO\r\n");
  ASSERT_TRUE(waitForEvent("FileRenamed"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(server.commands.mid(server.commands.size() - 2), (QStringList{"RNFR gammel.htm", "RNTO ny.htm"}));
  EXPECT_TRUE(ftp_.Connected());
}

TEST_F(Hostile, NamesSentInWindows1252GoBackInWindows1252) {
  ScriptedServer server("220 Ready\r\n");
  server.answer = [](const QString& c) -> QByteArray {
    if (c.startsWith("DELE") || c.startsWith("CWD") || c.startsWith("RNTO") || c.startsWith("MKD")) return "250 OK\r\n";
    if (c.startsWith("RNFR")) return "350 Go on\r\n";
    if (c.startsWith("PWD")) return "257 \"/gr\xe5\" is current\r\n";
    return usual(c);
  };
  logIn(server);
  ftp_.List();
  ASSERT_TRUE(runUntil([&] { return server.lastCommandIs("LIST"); }));
  server.reply("150 Listing\r\n");
  QTcpSocket& data = server.connectData();
  data.write(
      "-rw-r--r-- 1 u g 5 Jan 1 2003 \xe6"
      "ble og \xf8l.htm\r\n"
      "-rw-r--r-- 1 u g 5 Jan 1 2003 p\xc3\xa6re.htm\r\n"
      "drwxr-xr-x 2 u g 512 Jan 1 2003 s\xe6r\r\n");
  server.closeData();
  server.reply("226 Done\r\n");
  ASSERT_TRUE(waitForEvent("ListingDone"));
  EXPECT_EQ(ftp_.InitialDirectory(), "/grå");
  EXPECT_EQ(ftp_.FileNames(), (QStringList{"æble og øl.htm", "pære.htm"}));
  EXPECT_EQ(ftp_.DirectoryNames(), QStringList{"sær"});

  const int before = static_cast<int>(server.rawCommands.size());
  const auto run = [&](const std::function<void()>& call, const std::string& event) {
    r_.clear();
    call();
    return waitForEvent(event) && ftp_.Success();
  };
  ASSERT_TRUE(run([&] { ftp_.DeleteFile("æble og øl.htm"); }, "FileDeleted"));
  ASSERT_TRUE(run([&] { ftp_.DeleteFile("pære.htm"); }, "FileDeleted"));
  ASSERT_TRUE(run([&] { ftp_.RenameFile("/grå/æble og øl.htm", "æble.htm"); }, "FileRenamed"));
  ASSERT_TRUE(run([&] { ftp_.ChangeDir("/grå/sær"); }, "DirectoryChanged"));
  EXPECT_EQ(server.rawCommands.mid(before), (QList<QByteArray>{"DELE \xe6"
                                                               "ble og \xf8l.htm",
                                                               "DELE p\xc3\xa6re.htm",
                                                               "RNFR /gr\xe5/\xe6"
                                                               "ble og \xf8l.htm",
                                                               // a new name goes as UTF-8
                                                               "RNTO \xc3\xa6"
                                                               "ble.htm",
                                                               "CWD /gr\xe5/s\xe6r"}));
}

// A passive reply naming another machine: the data connection still goes
// to the server, once, and a server that does not know EPSV is asked with
// PASV from then on.
TEST_F(Hostile, APassiveDataConnectionGoesOnlyToTheServer) {
  QTcpServer data;
  ASSERT_TRUE(data.listen(QHostAddress::LocalHost, 0));
  const QByteArray port =
      QByteArray::number(data.serverPort() / 256) + ',' + QByteArray::number(data.serverPort() % 256);
  ScriptedServer server("220 Ready\r\n");
  server.answer = usualAnd({{"EPSV", "500 EPSV not understood\r\n"},
                            {"PASV", "227 Entering Passive Mode (10,9,8,7," + port + ")\r\n"},
                            {"LIST", "150 Here it comes\r\n"}});
  logIn(server);
  ftp_.setPassive(true);
  std::vector<QHostAddress> peers;
  for (int round = 0; round < 2; ++round) {
    r_.clear();
    ftp_.List();
    ASSERT_TRUE(runUntil([&] { return data.hasPendingConnections(); }));
    QTcpSocket* connection = data.nextPendingConnection();
    peers.push_back(connection->peerAddress());
    connection->write("-rw-r--r-- 1 u g 5 Jan 1 2003 side.htm\r\n");
    connection->disconnectFromHost();
    ASSERT_TRUE(runUntil([&] { return server.lastCommandIs("LIST"); }));
    server.reply("226 Done\r\n");
    ASSERT_TRUE(waitForEvent("ListingDone"));
    EXPECT_TRUE(ftp_.Success());
    EXPECT_EQ(ftp_.FileNames(), QStringList{"side.htm"});
    EXPECT_FALSE(data.hasPendingConnections());
  }
  EXPECT_EQ(peers, (std::vector<QHostAddress>{QHostAddress::LocalHost, QHostAddress::LocalHost}));
  EXPECT_EQ(server.commands.filter("EPSV").size(), 1);
  EXPECT_EQ(server.commands.filter("PASV").size(), 2);
  EXPECT_TRUE(server.commands.filter("PORT").isEmpty());
}

TEST_F(Hostile, PassiveRepliesWithoutAPortAndSilentDataConnections) {
  // Nonsense for a port ends the connection.
  {
    ScriptedServer server("220 Ready\r\n");
    server.answer = usualAnd({{"EPSV", "229 Entering Extended Passive Mode (|||0|)\r\n"}});
    logIn(server);
    ftp_.setPassive(true);
    ftp_.List();
    ASSERT_TRUE(waitForQuit());
    EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::UnexpectedReply});
  }
  // A data connection that never brings anything times out.
  QTcpServer data;
  ASSERT_TRUE(data.listen(QHostAddress::LocalHost, 0));
  ScriptedServer server("220 Ready\r\n");
  server.answer =
      usualAnd({{"EPSV", "229 Entering Extended Passive Mode (|||" + QByteArray::number(data.serverPort()) + "|)\r\n"},
                {"RETR", "150 Opening\r\n"}});
  r_.clear();
  ftp_.setInitialDirectory({});
  logIn(server);
  ftp_.setPassive(true);
  ftp_.setTimeOutReply(1);
  const QString local = startRetrieve(server, "side.htm", "min side");
  ASSERT_TRUE(waitForQuit());
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::TimedOut});
  EXPECT_EQ(readFile(local), "min side");
}

// The server says yes to TLS, and then does not speak it.
TEST_F(Hostile, ASecuredLoginNeverSendsTheNameToAServerThatFailsTls) {
  struct Case {
    const char* name;
    QByteArray afterGoAhead;
    FtpError error;
  };
  const std::vector<Case> cases = {
      // Plain text behind the go-ahead, as if someone in between answered.
      {"injected", "230 Logged in\r\n", FtpError::UnexpectedReply},
      // Not TLS at all.
      {"nonsense", "", FtpError::TlsFailed},
      // Nothing at all.
      {"silent", "", FtpError::TimedOut},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedServer server("220 Ready\r\n");
    const bool nonsense = std::string(c.name) == "nonsense";
    server.answer = [&](const QString& command) -> QByteArray {
      if (command == "AUTH TLS") return "234 Go ahead\r\n" + c.afterGoAhead;
      return usual(command);
    };
    r_.clear();
    ftp_.setSecurity(TFtpSecurity::TlsRequired);
    // The silent case waits for the time-out; the others must not race it.
    ftp_.setTimeOutReply(std::string(c.name) == "silent" ? 1 : 30);
    start(server);
    if (nonsense) {
      // The client's hello may reach the server as a "line" of its own, so
      // look for the command anywhere, not only last.
      ASSERT_TRUE(runUntil([&] { return server.commands.contains("AUTH TLS"); }));
      server.reply(QByteArray(300, 'x'));
    }
    ASSERT_TRUE(waitForQuit());
    EXPECT_EQ(r_.errors, std::vector<FtpError>{c.error});
    EXPECT_EQ(r_.commands, QStringList{"AUTH TLS"});
    EXPECT_FALSE(ftp_.Connected());
    EXPECT_FALSE(ftp_.Busy());
  }
}
