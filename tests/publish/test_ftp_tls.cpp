// The client secured (explicit FTPS) against a real server with TLS, whose
// certificates come from the test's own certificate authority: the whole
// work over TLS in both modes, certificates that do not check out, trusted
// and replaced certificates, and servers that cannot do TLS at all.
#include "ftp_fixture.h"
#include "ftp_messages.h"
#include "ftp_session.h"
#include "test_ca.h"

#include <QDateTime>

using morvel::RegIniFile;
using namespace morvel::ftp;

namespace {

class Ftps : public FtpServerTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pki_.isValid());
    ASSERT_TRUE(ca_.ok());
    certificate_ = ca_.serverCertificate("server", "IP:127.0.0.1,DNS:localhost");
    ASSERT_FALSE(certificate_.isEmpty());
    FtpServerTest::SetUp();
    ftp_.setSecurity(TFtpSecurity::TlsRequired);
    ftp_.setTrustAnchorsFile(ca_.caFile());
    ftp_.OnCertificateCheck = [this](TStarFtp& ftp, const FtpCertificate& c) {
      asked_.push_back(c);
      ftp.AnswerCertificate(answer_);
    };
  }

  // Whether the server received a command that begins with `verb`.
  bool serverReceived(const QString& verb) const {
    for (const QString& line : receivedCommands())
      if (line.startsWith(verb)) return true;
    return false;
  }

  QTemporaryDir pki_;
  TestCa ca_{pki_.path()};
  std::vector<FtpCertificate> asked_;
  TCertificateAnswer answer_ = TCertificateAnswer::Refuse;
};

// The client for the login: only the server's greeting and "AUTH TLS"
// passed before the failure, and the server never saw a name or password.
void expectNothingOfTheLoginSent(const FtpRecord& r, const QStringList& received) {
  EXPECT_EQ(r.commands, QStringList{"AUTH TLS"});
  for (const QString& line : received) {
    EXPECT_FALSE(line.startsWith("USER")) << line.toStdString();
    EXPECT_FALSE(line.startsWith("PASS")) << line.toStdString();
  }
}

}  // namespace

TEST_F(Ftps, EverythingTravelsSecuredInActiveAndPassiveMode) {
  const QByteArray content = testBytes(3 * 100000 + 77, 5);
  for (const bool passive : {false, true}) {
    SCOPED_TRACE(passive ? "passive" : "active");
    r_.clear();
    // The certificate is made out to the address and to the name.
    ftp_.setFtpServer(passive ? "localhost" : "127.0.0.1");
    ftp_.setPassive(passive);
    ftp_.setInitialDirectory({});
    ftp_.Connect();
    ASSERT_TRUE(waitForEvent("LoggedIn"));
    EXPECT_TRUE(ftp_.Success());
    EXPECT_TRUE(asked_.empty());
    EXPECT_EQ(r_.commands.mid(r_.commands.indexOf("AUTH TLS")),
              (QStringList{"AUTH TLS", "USER morvel", "PASS hemmelig", "PBSZ 0", "PROT P", "SYST"}));
    EXPECT_TRUE(ftp_.Secured());
    EXPECT_TRUE(ftp_.DataProtected());
    EXPECT_EQ(ftp_.ServerCertificate().problem, CertificateProblem::None);
    EXPECT_TRUE(ftp_.ServerCertificate().subject.contains("CN=Morvel testserver"));
    EXPECT_TRUE(ftp_.ServerCertificate().issuer.contains("CN=Morvel test-CA"));

    const QString name = passive ? "passiv.bin" : "aktiv.bin";
    writeFile(localPath("kilde.bin"), content);
    ftp_.setLocalFile(localPath("kilde.bin"));
    ftp_.setRemoteFile(name);
    r_.clear();
    ftp_.Store();
    ASSERT_TRUE(waitForEvent("FileStored"));
    EXPECT_TRUE(ftp_.Success());
    EXPECT_EQ(readFile(serverPath(name)), content);
    EXPECT_TRUE(ftp_.DataSessionResumed());
    EXPECT_TRUE(r_.commands.value(1).startsWith(passive ? "EPSV" : "PORT ")) << r_.commands.value(1).toStdString();

    ftp_.setLocalFile(localPath("hentet.bin"));
    ftp_.Retrieve();
    ASSERT_TRUE(waitForEvent("FileReceived"));
    EXPECT_TRUE(ftp_.Success());
    EXPECT_EQ(readFile(localPath("hentet.bin")), content);

    ftp_.List();
    ASSERT_TRUE(waitForEvent("ListingDone"));
    EXPECT_TRUE(ftp_.Success());
    EXPECT_TRUE(ftp_.FileNames().contains(name));
    EXPECT_TRUE(r_.errors.empty());

    ftp_.Quit();
    ASSERT_TRUE(runUntil([&] { return r_.countEvent("quit") > 0; }));
    EXPECT_TRUE(r_.errors.empty());
  }
  // Every data connection resumed the control connection's session, or the
  // server would have closed it.
  const QStringList received = receivedCommands();
  EXPECT_EQ(received.filter("DATA-TLS reused").size(), 6);
  EXPECT_TRUE(received.filter("DATA-TLS new").isEmpty());
}

TEST_F(Ftps, AnAbortedSecuredDownloadLeavesTheConnectionReady) {
  ftp_.setPassive(true);
  logIn();
  writeFile(serverPath("stor.bin"), testBytes(8 * 1024 * 1024, 3));
  writeFile(localPath("stor.bin"), "det gamle indhold");
  bool aborted = false;
  ftp_.OnFtpInfo = [&](TStarFtp& ftp, FtpInfo code, const QString&) {
    if (code == FtpInfo::DataProgress && !std::exchange(aborted, true)) ftp.Abort();
  };
  ftp_.setLocalFile(localPath("stor.bin"));
  ftp_.setRemoteFile("stor.bin");
  ftp_.Retrieve();
  ASSERT_TRUE(waitForEvent("FileReceived"));
  EXPECT_TRUE(aborted);
  EXPECT_FALSE(ftp_.Success());
  EXPECT_EQ(readFile(localPath("stor.bin")), "det gamle indhold");
  ftp_.OnFtpInfo = nullptr;
  ftp_.List();
  ASSERT_TRUE(waitForEvent("ListingDone"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_TRUE(ftp_.FileNames().contains("stor.bin"));
  EXPECT_TRUE(r_.errors.empty());
}

TEST_F(Ftps, AServerWithoutTlsNeverGetsThePassword) {
  certificate_.clear();
  ASSERT_NO_FATAL_FAILURE(startServer({}));

  // "Kræv": refused at once.
  ftp_.Connect();
  ASSERT_TRUE(runUntil([&] { return r_.countEvent("quit") > 0; }));
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::TlsRefused});
  EXPECT_FALSE(ftp_.Connected());
  ASSERT_TRUE(runUntil([&] { return serverReceived("AUTH"); }));
  expectNothingOfTheLoginSent(r_, receivedCommands());
  EXPECT_EQ(errorMessage(FtpError::TlsRefused, "ftp.eksempel.dk", {}).title, "Sikker forbindelse");

  // "Hvis muligt": the owner is asked, and a No ends it the same way.
  std::vector<TPlainFallback> questions;
  bool goOn = false;
  ftp_.OnPlainFallback = [&](TStarFtp& ftp, TPlainFallback what) {
    questions.push_back(what);
    ftp.AnswerPlainFallback(goOn);
  };
  ftp_.setSecurity(TFtpSecurity::TlsIfPossible);
  r_.clear();
  ftp_.Connect();
  ASSERT_TRUE(runUntil([&] { return r_.countEvent("quit") > 0; }));
  EXPECT_EQ(questions, std::vector<TPlainFallback>{TPlainFallback::WholeConnection});
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::TlsRefused});
  expectNothingOfTheLoginSent(r_, receivedCommands());

  // A Yes goes on with plain FTP.
  goOn = true;
  r_.clear();
  ftp_.Connect();
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_FALSE(ftp_.Secured());
  EXPECT_EQ(questions.size(), 2u);
  ftp_.List();
  ASSERT_TRUE(waitForEvent("ListingDone"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_TRUE(r_.errors.empty());
}

TEST_F(Ftps, CertificatesThatDoNotCheckOutAreRefusedUnlessAccepted) {
  struct Case {
    const char* name;
    std::string altNames;
    TestCa::Validity validity;
    bool selfSigned;
    CertificateProblem problem;
  };
  const std::vector<Case> cases = {
      {"andet-navn", "DNS:ftp.andet.example", {}, false, CertificateProblem::WrongHost},
      {"udloebet", "IP:127.0.0.1", {-60, -1}, false, CertificateProblem::Expired},
      {"selvsigneret", "IP:127.0.0.1", {}, true, CertificateProblem::SelfSigned},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString file = ca_.serverCertificate(c.name, c.altNames, c.validity, c.selfSigned);
    ASSERT_FALSE(file.isEmpty());
    ASSERT_NO_FATAL_FAILURE(startServer(file));

    // Refused: not a word of the login goes.
    forgetReceived();
    asked_.clear();
    r_.clear();
    answer_ = TCertificateAnswer::Refuse;
    ftp_.Connect();
    ASSERT_TRUE(runUntil([&] { return r_.countEvent("quit") > 0; }));
    EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::CertificateRefused});
    ASSERT_EQ(asked_.size(), 1u);
    const FtpCertificate& shown = asked_.front();
    EXPECT_EQ(shown.problem, c.problem);
    EXPECT_EQ(shown.fingerprint.size(), 95);  // 32 bytes, "AB:CD:..."
    EXPECT_TRUE(shown.subject.contains("CN=Morvel testserver"));
    EXPECT_TRUE(shown.validFrom.isValid() && shown.validTo.isValid());
    EXPECT_EQ(shown.validTo < QDateTime::currentDateTimeUtc(), c.problem == CertificateProblem::Expired);
    EXPECT_FALSE(problemText(shown, "127.0.0.1").isEmpty());
    expectNothingOfTheLoginSent(r_, receivedCommands());

    // Accepted once: the work goes on, data connections included.
    r_.clear();
    answer_ = TCertificateAnswer::AcceptOnce;
    ftp_.Connect();
    ASSERT_TRUE(waitForEvent("LoggedIn"));
    EXPECT_TRUE(ftp_.Success());
    ftp_.List();
    ASSERT_TRUE(waitForEvent("ListingDone"));
    EXPECT_TRUE(ftp_.Success());
    EXPECT_TRUE(ftp_.TrustedFingerprint().isEmpty());
    EXPECT_EQ(asked_.size(), 2u);
    EXPECT_TRUE(r_.errors.empty());
  }

  // Without anyone to answer, the certificate is refused.
  ftp_.OnCertificateCheck = nullptr;
  r_.clear();
  ftp_.Connect();
  ASSERT_TRUE(runUntil([&] { return r_.countEvent("quit") > 0; }));
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::CertificateRefused});
}

TEST_F(Ftps, ATrustedCertificateIsKeptAndAReplacedOneRefused) {
  ASSERT_NO_FATAL_FAILURE(startServer(ca_.serverCertificate("egen", "IP:127.0.0.1", {}, true)));
  answer_ = TCertificateAnswer::Trust;
  ftp_.Connect();
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  ASSERT_EQ(asked_.size(), 1u);
  const QString trusted = asked_.front().fingerprint;
  EXPECT_EQ(ftp_.TrustedFingerprint(), trusted);

  // The next time the same certificate needs no question.
  r_.clear();
  ftp_.Connect();
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  EXPECT_EQ(asked_.size(), 1u);

  // Another certificate in its place is refused without a question.
  ASSERT_NO_FATAL_FAILURE(startServer(ca_.serverCertificate("anden", "IP:127.0.0.1", {}, true)));
  forgetReceived();
  r_.clear();
  ftp_.Connect();
  ASSERT_TRUE(runUntil([&] { return r_.countEvent("quit") > 0; }));
  EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::CertificateChanged});
  EXPECT_EQ(asked_.size(), 1u);
  expectNothingOfTheLoginSent(r_, receivedCommands());
  EXPECT_EQ(ftp_.TrustedFingerprint(), trusted);
  EXPECT_EQ(errorMessage(FtpError::CertificateChanged, "127.0.0.1", {}).title, "Certifikat ændret");

  // One that checks out is taken, whatever was trusted before.
  ASSERT_NO_FATAL_FAILURE(startServer(ca_.serverCertificate("rigtig", "IP:127.0.0.1")));
  r_.clear();
  ftp_.Connect();
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(asked_.size(), 1u);
}

// The publishing window's part: the user's answer, and the certificate kept
// with the stored connection.
TEST_F(Ftps, TheSessionKeepsATrustedCertificateWithTheStoredConnection) {
  ASSERT_NO_FATAL_FAILURE(startServer(ca_.serverCertificate("egen", "IP:127.0.0.1", {}, true)));
  RegIniFile store(work_.filePath("Morvel.ini").toStdString());
  FtpConnections connections(store);
  FtpConnection site;
  site.server = "127.0.0.1";
  site.user = kUser;
  site.password = kPassword;
  ASSERT_TRUE(connections.save("Min side", site, 0));

  FtpSession session(ftp_);
  session.setConnectionStore(&connections);
  std::vector<FtpErrorMessage> errors;
  session.OnError = [&](const FtpErrorMessage& m) { errors.push_back(m); };
  QStringList problems;
  session.OnCertificateQuestion = [&](const FtpCertificate&, const QString& problem) {
    problems << problem;
    return TCertificateAnswer::Trust;
  };
  ftp_.setFtpPort(port_);
  session.connect(connections.load("Min side"), kPassword, "Min side");
  ASSERT_TRUE(runUntil([&] { return !session.busy(); }));
  ASSERT_TRUE(session.connected());
  EXPECT_EQ(problems, QStringList{"Certifikatet er udstedt af serveren selv og ikke af en kendt udsteder."});
  const QString kept = connections.load("Min side").trustedFingerprint;
  EXPECT_EQ(kept, ftp_.ServerCertificate().fingerprint);
  EXPECT_TRUE(RegIniFile(work_.filePath("Morvel.ini").toStdString()).ValueExists("Min side", "Fingeraftryk"));
  session.disconnect();
  ASSERT_TRUE(runUntil([&] { return !session.connected(); }));

  // Saved again with its fields, it keeps the certificate; with another
  // server it does not.
  ASSERT_TRUE(connections.save("Min side", site, 0));
  EXPECT_EQ(connections.load("Min side").trustedFingerprint, kept);

  // Replaced on the server: the user reads why nothing happened.
  ASSERT_NO_FATAL_FAILURE(startServer(ca_.serverCertificate("anden", "IP:127.0.0.1", {}, true)));
  ftp_.setFtpPort(port_);
  session.connect(connections.load("Min side"), kPassword, "Min side");
  ASSERT_TRUE(runUntil([&] { return !session.busy() && !errors.empty(); }));
  EXPECT_FALSE(session.connected());
  EXPECT_EQ(problems.size(), 1);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].title, "Certifikat ændret");
  EXPECT_TRUE(errors[0].text.contains("127.0.0.1"));

  site.server = "localhost";
  ASSERT_TRUE(connections.save("Min side", site, 0));
  EXPECT_TRUE(connections.load("Min side").trustedFingerprint.isEmpty());
}

TEST_F(Ftps, TheSessionAsksBeforeGoingOnWithoutTls) {
  ASSERT_NO_FATAL_FAILURE(startServer({}));
  FtpSession session(ftp_);
  ftp_.setFtpPort(port_);
  std::vector<FtpErrorMessage> errors;
  session.OnError = [&](const FtpErrorMessage& m) { errors.push_back(m); };
  QStringList asked;
  session.OnQuestion = [&](const FtpQuestion& q) {
    asked << q.title;
    return true;
  };
  FtpConnection site;
  site.server = "127.0.0.1";
  site.user = kUser;

  // "Kræv": no question, a message, no connection.
  session.connect(site, kPassword);
  ASSERT_TRUE(runUntil([&] { return !session.busy(); }));
  EXPECT_FALSE(session.connected());
  EXPECT_TRUE(asked.isEmpty());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].title, "Sikker forbindelse");

  // "Hvis muligt": asked, and on Yes the folder is listed over plain FTP.
  site.requireSecure = false;
  session.connect(site, kPassword);
  ASSERT_TRUE(runUntil([&] { return !session.busy(); }));
  EXPECT_TRUE(session.connected());
  EXPECT_EQ(asked, QStringList{"Usikker forbindelse"});
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_FALSE(ftp_.Secured());
}

namespace {

// A secured server that misbehaves once the login is through: in mode
// "plaindata" it sends a listing over a data connection it never secures,
// in mode "noprot" it cannot protect data connections at all.
class MisbehavingFtps {
 public:
  MisbehavingFtps(const QString& certificate, const char* mode) {
    static const char* script = R"(
import socket, ssl, sys
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(sys.argv[1])
mode = sys.argv[2]
server = socket.socket()
server.bind(('127.0.0.1', 0))
server.listen(1)
print(server.getsockname()[1], flush=True)
plain, _ = server.accept()
plain.sendall(b'220 Ready\r\n')
plain.recv(100)
plain.sendall(b'234 Go ahead\r\n')
control = context.wrap_socket(plain, server_side=True)
answers = {'USER': b'331 Password\r\n', 'PASS': b'230 In\r\n', 'PBSZ': b'200 OK\r\n', 'SYST': b'215 UNIX\r\n',
           'PWD': b'257 "/" is current\r\n', 'TYPE': b'200 OK\r\n',
           'PROT': b'534 Not possible\r\n' if mode == 'noprot' else b'200 OK\r\n'}
listener = None
for raw in control.makefile('rb'):
    verb = raw.decode('latin-1').strip().split(' ')[0]
    if verb == 'EPSV':
        listener = socket.socket()
        listener.bind(('127.0.0.1', 0))
        listener.listen(1)
        control.sendall(b'229 Entering Extended Passive Mode (|||%d|)\r\n' % listener.getsockname()[1])
    elif verb == 'LIST':
        data, _ = listener.accept()
        data.sendall(b'-rw-r--r-- 1 u g 5 Jan 1 2003 falsk.htm\r\n')
        data.close()
        control.sendall(b'150 Here\r\n226 Done\r\n')
    else:
        control.sendall(answers.get(verb, b'500 ?\r\n'))
)";
    process_.start("/usr/bin/python3", {"-c", script, certificate, mode});
    if (process_.waitForStarted() && runUntil([this] { return process_.canReadLine(); }, 30000))
      port_ = static_cast<uint16_t>(process_.readLine().trimmed().toUInt());
  }
  ~MisbehavingFtps() {
    process_.kill();
    process_.waitForFinished();
  }
  uint16_t port() const { return port_; }

 private:
  QProcess process_;
  uint16_t port_ = 0;
};

}  // namespace

TEST_F(Ftps, DataThatCameUnsecuredIsNeverTaken) {
  MisbehavingFtps server(certificate_, "plaindata");
  ASSERT_NE(server.port(), 0);
  ftp_.setFtpPort(server.port());
  ftp_.setPassive(true);
  logIn();
  EXPECT_TRUE(ftp_.DataProtected());
  ftp_.List();
  ASSERT_TRUE(runUntil([&] { return r_.countEvent("ListingDone") > 0 || r_.countEvent("quit") > 0; }));
  EXPECT_FALSE(ftp_.Success());
  EXPECT_TRUE(ftp_.FileNames().isEmpty());
  EXPECT_TRUE(ftp_.ListingLines().isEmpty());
}

TEST_F(Ftps, AServerThatCannotProtectTheData) {
  // "Kræv": the connection ends after the refusal.
  {
    MisbehavingFtps server(certificate_, "noprot");
    ASSERT_NE(server.port(), 0);
    ftp_.setFtpPort(server.port());
    ftp_.Connect();
    ASSERT_TRUE(runUntil([&] { return r_.countEvent("quit") > 0; }));
    EXPECT_EQ(r_.errors, std::vector<FtpError>{FtpError::TlsRefused});
    EXPECT_EQ(r_.commands.last(), "PROT P");
  }
  // "Hvis muligt": asked about the data alone; on Yes logged in with the
  // control connection still secured.
  MisbehavingFtps server(certificate_, "noprot");
  ASSERT_NE(server.port(), 0);
  ftp_.setFtpPort(server.port());
  ftp_.setSecurity(TFtpSecurity::TlsIfPossible);
  std::vector<TPlainFallback> questions;
  ftp_.OnPlainFallback = [&](TStarFtp& ftp, TPlainFallback what) {
    questions.push_back(what);
    ftp.AnswerPlainFallback(true);
  };
  r_.clear();
  ftp_.Connect();
  ASSERT_TRUE(waitForEvent("LoggedIn"));
  EXPECT_TRUE(ftp_.Success());
  EXPECT_EQ(questions, std::vector<TPlainFallback>{TPlainFallback::DataConnections});
  EXPECT_TRUE(ftp_.Secured());
  EXPECT_FALSE(ftp_.DataProtected());
  EXPECT_EQ(r_.commands.last(), "SYST");
}
