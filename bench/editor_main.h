// What a benchmark program that drives Tivra32 windows needs: its editor
// window, and its main function (a QApplication on the offscreen platform
// unless QT_QPA_PLATFORM names another, a first line saying which library
// and which page were measured, then the benchmarks).
#pragma once

#include "page.h"
#include "tivra.h"
#include "win32.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>
#include <string>

namespace bench_main {

// The window size every benchmark measures at.
constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A top-level editor window with the window styles of the measurement
// besides WS_OVERLAPPEDWINDOW.
inline HWND createEditor(DWORD style = 0) {
  return CreateWindowEx(0, "Tivra32", "", WS_OVERLAPPEDWINDOW | style, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr,
                        nullptr);
}

// `about` adds what else the reader of the figures should know.
inline int runWithEditor(int argc, char** argv, const std::string& about,
                         benchmark::BenchmarkReporter* reporter = nullptr) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  TivraRegister();
  const long version = TivraVer();
  std::printf("Tivra32 %ld.%02ld; page: %zu bytes, %ld lines%s%s\n", version / 100, version % 100,
              bench_page::page().size(), bench_page::pageLines(), about.empty() ? "" : "; ", about.c_str());
  benchmark::RunSpecifiedBenchmarks(reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench_main
