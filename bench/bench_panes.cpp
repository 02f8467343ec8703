// A folder of 10,000 files in a file list: how long until its names show
// (the window waits for nothing more), and how long until every size, time,
// attribute and type is there (read a batch at a time while the event loop
// runs); Qt's own listing of the folder with sizes and times as the peer.
// The link collection on the 10 MB page, every kind: each kind reads the
// page about once.
#include "mainwindow/file_list.h"
#include "page.h"
#include "projects/link_collection.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 10000;

// The folder, made once for the run and removed at its end.
class Folder {
 public:
  Folder() : path_(fs::temp_directory_path() / ("morvel-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(path_);
    for (int i = 0; i < kFiles; ++i) {
      std::ofstream(path_ / ("side" + std::to_string(i) + (i % 10 == 0 ? ".gif" : ".htm")))
          << std::string(i % 4096, 'x');
    }
  }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  QString path() const { return QString::fromStdString(path_.string()); }

 private:
  fs::path path_;
};

const Folder& folder() {
  static const Folder f;
  return f;
}

void BM_FileListNames(benchmark::State& state) {
  TFileList list(QStringLiteral("lwHTML"));
  list.setMask(QStringLiteral("*.*"));
  for (auto _ : state) {
    list.setFolder(folder().path());
    benchmark::DoNotOptimize(list.count());
  }
  if (list.count() != kFiles) state.SkipWithError("not every file was listed");
  state.counters["files"] = list.count();
}

void BM_FileListWithDetails(benchmark::State& state) {
  TFileList list(QStringLiteral("lwHTML"));
  list.setMask(QStringLiteral("*.*"));
  for (auto _ : state) {
    list.setFolder(folder().path());
    list.finishDetails();
    benchmark::DoNotOptimize(list.model().index(kFiles - 1, FileListModel::kType).data());
  }
  state.counters["files"] = list.count();
}

void BM_QtEntryInfoList(benchmark::State& state) {
  for (auto _ : state) {
    const QFileInfoList files = QDir(folder().path()).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    qint64 bytes = 0;
    for (const QFileInfo& f : files) bytes += f.size() + f.lastModified().toSecsSinceEpoch() % 2;
    benchmark::DoNotOptimize(bytes);
  }
}

void BM_LinkCollectionAllKinds(benchmark::State& state) {
  const std::string page = morvel::joinedLines(bench_page::page());
  morvel::LinkOptions options;
  options.first = morvel::LinkKind::Frame;
  options.last = morvel::LinkKind::Target;
  std::size_t rows = 0;
  for (auto _ : state) {
    rows = morvel::collectLinks(page, "/ingen/", options).size();
    benchmark::DoNotOptimize(rows);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
  state.counters["rows"] = static_cast<double>(rows);
}

BENCHMARK(BM_FileListNames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileListWithDetails)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtEntryInfoList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinkCollectionAllKinds)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  std::printf("folder: %d files; page: %zu bytes\n", kFiles, bench_page::page().size());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
