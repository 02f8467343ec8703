// A 64 MB file sent to and fetched from an FTP server on loopback (Debian's
// pyftpdlib, started here), in active mode, by the client and by curl.
// What a user feels when publishing a large file.
#include "ratio.h"
#include "star_ftp.h"

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

bool startServer(Setup& s) {
  static const char* script = R"(
import sys, logging
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
logging.basicConfig(level=logging.CRITICAL)
authorizer = DummyAuthorizer()
authorizer.add_user(sys.argv[1], sys.argv[2], sys.argv[3], perm='elradfmwMT')
FTPHandler.authorizer = authorizer
server = FTPServer(('127.0.0.1', 0), FTPHandler)
print(server.address[1], flush=True)
server.serve_forever()
)";
  s.server.start("/usr/bin/python3", {"-c", script, kUser, kPassword, s.serverRoot.path()});
  if (!s.server.waitForStarted() || !s.server.waitForReadyRead(30000)) return false;
  s.port = static_cast<uint16_t>(s.server.readLine().trimmed().toUInt());
  return s.port != 0;
}

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void BM_FtpSendAndFetch(benchmark::State& state) {
  TStarFtp ftp;
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

bool runCurl(const QStringList& arguments) {
  QProcess curl;
  curl.start(
      setup->curl,
      QStringList{"-s", "-S", "--ftp-port", "127.0.0.1", "--user", QString("%1:%2").arg(kUser, kPassword)} + arguments);
  return curl.waitForFinished(600000) && curl.exitStatus() == QProcess::NormalExit && curl.exitCode() == 0;
}

void BM_CurlSendAndFetch(benchmark::State& state) {
  if (setup->curl.isEmpty()) return state.SkipWithError("curl is not installed");
  const QString url = QString("ftp://127.0.0.1:%1/").arg(setup->port);
  const QString source = setup->localDir.filePath("kilde.bin");
  const QString target = setup->localDir.filePath("curl.bin");
  for (auto _ : state) {
    if (!runCurl({"-T", source, url + "curl.bin"})) return state.SkipWithError("curl could not send");
    if (!runCurl({"-o", target, url + "curl.bin"})) return state.SkipWithError("curl could not fetch");
  }
  if (readAll(target) != setup->content) state.SkipWithError("curl's fetched file differs");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 2 * kFileSize);
}

BENCHMARK(BM_FtpSendAndFetch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CurlSendAndFetch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

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
  benchmark::Shutdown();
  s.server.kill();
  s.server.waitForFinished();
  return 0;
}
