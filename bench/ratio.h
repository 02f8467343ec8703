// A console reporter that also remembers each benchmark's time per
// iteration (the median of the repetitions when there are several), so that
// a run measuring the editor beside a peer can print how the two compare.
#pragma once

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <set>
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
      if (r.error_occurred) continue;
      const std::string& name = r.run_name.function_name;
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
        times_[name] = r.GetAdjustedRealTime();
        medians_.insert(name);
      } else if (r.run_type == Run::RT_Iteration && !medians_.count(name)) {
        times_[name] = r.GetAdjustedRealTime();
      }
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
  std::set<std::string> medians_;
};

}  // namespace bench_ratio
