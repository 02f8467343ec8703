// The main function of a benchmark program that drives Tivra32 windows:
// a QApplication on the offscreen platform (unless QT_QPA_PLATFORM names
// another), a first line saying which library and which page were
// measured, then the benchmarks.
#pragma once

#include "page.h"
#include "tivra.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>
#include <string>

namespace bench_main {

// `about` adds what else the reader of the figures should know.
inline int runWithEditor(int argc, char** argv, const std::string& about,
                         benchmark::BenchmarkReporter* reporter = nullptr) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  // Calling the library also keeps the linker from dropping it: its window
  // class is registered when it loads.
  const long version = TivraVer();
  std::printf("Tivra32 %ld.%02ld; page: %zu bytes, %ld lines%s%s\n", version / 100, version % 100, bench_page::page().size(),
              bench_page::pageLines(), about.empty() ? "" : "; ", about.c_str());
  benchmark::RunSpecifiedBenchmarks(reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench_main
