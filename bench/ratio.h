// A console reporter that also remembers each benchmark's time per
// iteration, so that a run measuring the editor beside a peer can print
// how the two compare.
#pragma once

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench_ratio {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal: figures written to a file stay plain text.
  RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (!r.error_occurred && r.run_type == Run::RT_Iteration)
        times_[r.run_name.function_name] = r.GetAdjustedRealTime();
    }
  }

  // Prints ours / theirs when both ran without an error.
  void printRatio(const std::string& ours, const std::string& theirs) const {
    const auto a = times_.find(ours);
    const auto b = times_.find(theirs);
    if (a != times_.end() && b != times_.end() && b->second > 0)
      std::printf("%s / %s = %.2f\n", ours.c_str(), theirs.c_str(), a->second / b->second);
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace bench_ratio
