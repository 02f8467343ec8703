// The whole program from the outside: `morvex --screenshot` (process start,
// the main window with its pages, the first paint written out as a
// picture, the end) on the generated 10 MB page and on two ordinary pages,
// beside the bare Qt window of bench/bare_window.cpp doing the same with
// the same menus and a plain text widget. Each run is a fresh process with
// an empty settings file and program folder; the wall time of each is
// measured, and the ratios are printed.
// Goal: start-up with two pages at most 1.3 times the bare window's.
#include "page.h"
#include "ratio.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A folder of its own for the pages, the pictures and the program's
// settings; removed at the end.
struct Scratch {
  Scratch() {
    char name[] = "/tmp/morvel-startup-XXXXXX";
    if (mkdtemp(name)) folder = name;
  }
  ~Scratch() {
    std::error_code error;
    if (!folder.empty()) fs::remove_all(folder, error);
  }
  fs::path folder;
};

Scratch& scratch() {
  static Scratch s;
  return s;
}

std::string writePage(const std::string& name, const std::string& text) {
  const fs::path path = scratch().folder / name;
  std::ofstream(path, std::ios::binary) << text;
  return path.string();
}

const std::string& bigPage() {
  static const std::string path = writePage("stor.htm", bench_page::page());
  return path;
}

// Two pages of the size pages usually have: the first 150 and 400 lines
// of the generated page, closed.
const std::vector<std::string>& ordinaryPages() {
  static const std::vector<std::string> paths = [] {
    const std::string& page = bench_page::page();
    auto firstLines = [&page](int count) {
      size_t at = 0;
      for (int i = 0; i < count; ++i) at = page.find("\r\n", at) + 2;
      return page.substr(0, at) + "</BODY>\r\n</HTML>\r\n";
    };
    return std::vector<std::string>{writePage("forside.htm", firstLines(150)), writePage("om.htm", firstLines(400))};
  }();
  return paths;
}

// Runs the program to its end; the wall time in seconds, or a negative
// value when it could not start or did not end well.
double run(const std::string& program, const std::vector<std::string>& pages) {
  const std::string picture = (scratch().folder / "billede.png").string();
  std::vector<std::string> args{program, "--screenshot", picture};
  args.insert(args.end(), pages.begin(), pages.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !fs::exists(picture)) return -1;
  fs::remove(picture);
  return took.count();
}

void startUp(benchmark::State& state, const std::string& program, const std::vector<std::string>& pages) {
  // Once before measuring: the program's libraries and the pages come
  // into the file cache.
  if (run(program, pages) < 0) {
    state.SkipWithError(("could not run " + program).c_str());
    return;
  }
  for (auto _ : state) {
    const double seconds = run(program, pages);
    if (seconds < 0) {
      state.SkipWithError(("a run of " + program + " failed").c_str());
      return;
    }
    state.SetIterationTime(seconds);
  }
}

void MorvexTwoPages(benchmark::State& state) { startUp(state, MORVEX_PROGRAM, ordinaryPages()); }
void BareWindowTwoPages(benchmark::State& state) { startUp(state, BARE_WINDOW_PROGRAM, ordinaryPages()); }
void MorvexBigPage(benchmark::State& state) { startUp(state, MORVEX_PROGRAM, {bigPage()}); }
void BareWindowBigPage(benchmark::State& state) { startUp(state, BARE_WINDOW_PROGRAM, {bigPage()}); }

constexpr int kRuns = 9;
BENCHMARK(MorvexTwoPages)->UseManualTime()->Iterations(kRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(BareWindowTwoPages)->UseManualTime()->Iterations(kRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(MorvexBigPage)->UseManualTime()->Iterations(kRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(BareWindowBigPage)->UseManualTime()->Iterations(kRuns)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (scratch().folder.empty()) {
    std::fprintf(stderr, "bench_startup: no scratch folder\n");
    return 1;
  }
  // The programs draw offscreen and keep their settings in the scratch
  // folder, away from the user's own.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("MORVEL_HOME", scratch().folder.c_str(), 1);
  setenv("MORVEL_CONFIG", (scratch().folder / "Morvel.ini").c_str(), 1);
  benchmark::Initialize(&argc, argv);
  std::printf("Whole programs, %d runs each after one to warm up; big page: %zu bytes\n", kRuns,
              bench_page::page().size());
  bench_ratio::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  reporter.printRatio("MorvexTwoPages", "BareWindowTwoPages");
  reporter.printRatio("MorvexBigPage", "BareWindowBigPage");
  return 0;
}
