// A 64 MB file sent to and fetched from an FTP server on loopback (Debian's
// pyftpdlib, started here) by the client and by curl: in plain FTP in active
// mode, and secured (explicit FTPS, with a certificate from a certificate
// authority made here) in passive mode. What a user feels when publishing a
// large file.
#include "ratio.h"
#include "star_ftp.h"
#include "test_ca.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int kFileSize = 64 * 1024 * 1024;
constexpr const char* kUser = "morvel";
constexpr const char* kPassword = "hemmelig";

struct Setup {
  QTemporaryDir serverRoot;
  QTemporaryDir localDir;
  QTemporaryDir pki;
  QString caFile;
  QString certificate;
  QProcess server;
  uint16_t port = 0;
  QByteArray content;
  QString curl;
};

Setup* setup = nullptr;

bool runUntil(const std::function<bool()>& done) {
  QDeadlineTimer limit(600000);
  while (!done()) {
    if (limit.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
  }
  return true;
}

// One server for both: TLS when the client asks for it. Its data handler
// keeps a passive data connection that starts its TLS handshake before the
// transfer command (as curl does) instead of closing it.
bool startServer(Setup& s) {
  static const char* script = R"(
import sys, logging
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import TLS_FTPHandler, TLS_DTPHandler
from pyftpdlib.servers import FTPServer
logging.basicConfig(level=logging.CRITICAL)
authorizer = DummyAuthorizer()
authorizer.add_user(sys.argv[1], sys.argv[2], sys.argv[3], perm='elradfmwMT')
class DataHandler(TLS_DTPHandler):
    def readable(self):
        if self._ssl_accepting or self._ssl_want_read:
            return True
        return self.receive
TLS_FTPHandler.authorizer = authorizer
TLS_FTPHandler.certfile = sys.argv[4]
TLS_FTPHandler.dtp_handler = DataHandler
server = FTPServer(('127.0.0.1', 0), TLS_FTPHandler)
print(server.address[1], flush=True)
server.serve_forever()
)";
  TestCa ca(s.pki.path());
  s.caFile = ca.caFile();
  s.certificate = ca.serverCertificate("server", "IP:127.0.0.1");
  if (!ca.ok() || s.certificate.isEmpty()) return false;
  s.server.start("/usr/bin/python3", {"-c", script, kUser, kPassword, s.serverRoot.path(), s.certificate});
  if (!s.server.waitForStarted() || !s.server.waitForReadyRead(30000)) return false;
  s.port = static_cast<uint16_t>(s.server.readLine().trimmed().toUInt());
  return s.port != 0;
}

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void sendAndFetch(benchmark::State& state, bool secured) {
  TStarFtp ftp;
  if (secured) {
    ftp.setSecurity(TFtpSecurity::TlsRequired);
    ftp.setPassive(true);
    ftp.setTrustAnchorsFile(setup->caFile);
  }
  ftp.setFtpServer("127.0.0.1");
  ftp.setFtpPort(setup->port);
  ftp.setUserName(kUser);
  ftp.setUserPassword(kPassword);
  bool done = false;
  bool ended = false;
  ftp.OnFtpReady = [&](TStarFtp&) { done = true; };
  ftp.OnFtpQuit = [&](TStarFtp&) { ended = true; };
  const auto run = [&](auto start) {
    done = false;
    start();
    return runUntil([&] { return done || ended; }) && !ended && ftp.Success();
  };
  if (!run([&] { ftp.Connect(); })) return state.SkipWithError("could not log in");
  const QString source = setup->localDir.filePath("kilde.bin");
  const QString target = setup->localDir.filePath("hentet.bin");
  for (auto _ : state) {
    ftp.setLocalFile(source);
    ftp.setRemoteFile("ftp.bin");
    if (!run([&] { ftp.Store(); })) return state.SkipWithError("sending failed");
    ftp.setLocalFile(target);
    if (!run([&] { ftp.Retrieve(); })) return state.SkipWithError("fetching failed");
  }
  if (readAll(target) != setup->content) state.SkipWithError("the fetched file differs");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 2 * kFileSize);
}

void BM_FtpSendAndFetch(benchmark::State& state) { sendAndFetch(state, false); }
void BM_FtpsSendAndFetch(benchmark::State& state) { sendAndFetch(state, true); }

// Plain FTP in active mode; secured in passive mode, since curl does not
// secure the data connection it accepts in active mode.
bool runCurl(bool secured, const QStringList& arguments) {
  const QStringList mode =
      secured ? QStringList{"--ssl-reqd", "--cacert", setup->caFile} : QStringList{"--ftp-port", "127.0.0.1"};
  QProcess curl;
  curl.start(setup->curl, QStringList{"-s", "-S", "--user", QString("%1:%2").arg(kUser, kPassword)} + mode + arguments);
  return curl.waitForFinished(600000) && curl.exitStatus() == QProcess::NormalExit && curl.exitCode() == 0;
}

void curlSendAndFetch(benchmark::State& state, bool secured) {
  if (setup->curl.isEmpty()) return state.SkipWithError("curl is not installed");
  const QString url = QString("ftp://127.0.0.1:%1/").arg(setup->port);
  const QString source = setup->localDir.filePath("kilde.bin");
  const QString target = setup->localDir.filePath("curl.bin");
  for (auto _ : state) {
    if (!runCurl(secured, {"-T", source, url + "curl.bin"})) return state.SkipWithError("curl could not send");
    if (!runCurl(secured, {"-o", target, url + "curl.bin"})) return state.SkipWithError("curl could not fetch");
  }
  if (readAll(target) != setup->content) state.SkipWithError("curl's fetched file differs");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 2 * kFileSize);
}

void BM_CurlSendAndFetch(benchmark::State& state) { curlSendAndFetch(state, false); }
void BM_CurlFtpsSendAndFetch(benchmark::State& state) { curlSendAndFetch(state, true); }

BENCHMARK(BM_FtpSendAndFetch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CurlSendAndFetch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_FtpsSendAndFetch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CurlFtpsSendAndFetch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  Setup s;
  setup = &s;
  if (!startServer(s)) {
    std::fprintf(stderr, "the FTP server (python3-pyftpdlib) did not start\n");
    return 1;
  }
  s.content.resize(kFileSize);
  unsigned x = 1;
  for (char& c : s.content) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
  QFile source(s.localDir.filePath("kilde.bin"));
  if (!source.open(QIODevice::WriteOnly) || source.write(s.content) != s.content.size()) return 1;
  source.close();
  s.curl = QStandardPaths::findExecutable("curl");
  std::printf("file: %d bytes, sent and fetched once per iteration; server: pyftpdlib on 127.0.0.1:%u; peer: %s\n",
              kFileSize, s.port, s.curl.isEmpty() ? "none" : qPrintable(s.curl));
  bench_ratio::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("BM_FtpSendAndFetch", "BM_CurlSendAndFetch");
  reporter.printRatio("BM_FtpsSendAndFetch", "BM_CurlFtpsSendAndFetch");
  benchmark::Shutdown();
  s.server.kill();
  s.server.waitForFinished();
  return 0;
}
