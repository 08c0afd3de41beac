#pragma once
// Console reporter that also keeps each benchmark's real time per
// iteration, so a program can print its ratios against the baseline it
// measured in the same run.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) times[r.benchmark_name()] = r.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  // The time of the first benchmark whose name starts with `prefix`; 0 if none ran.
  double TimeOf(const std::string& prefix) const {
    for (const auto& [name, t] : times)
      if (name.rfind(prefix, 0) == 0) return t;
    return 0;
  }
  std::map<std::string, double> times;
};
