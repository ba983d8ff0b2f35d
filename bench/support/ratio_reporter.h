// The benchmarks' report: Google Benchmark's console table, then each measurement as a ratio to
// its floor measured in the same run. Depends on Google Benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// A measured benchmark and its floor, by function name (BM_...). A benchmark that reports its
// floor in the counter floor_ms, measured in its own iterations, names that floor measured +
// "/floor".
struct ratio_pair {
  std::string label, measured, floor;
};

// Which time the ratios compare: wall time, or CPU time (on a shared machine wall time carries
// other people's load).
enum class ratio_time { real, cpu };

class ratio_reporter : public benchmark::ConsoleReporter {
 public:
  ratio_reporter(std::vector<ratio_pair> pairs, ratio_time time)
      : pairs_(std::move(pairs)), time_(time) {}
  void ReportRuns(const std::vector<Run>& runs) override;
  // Prints the ratios of the pairs whose two sides both ran.
  void Finalize() override;

 private:
  std::vector<ratio_pair> pairs_;
  ratio_time time_;
  std::map<std::string, double> times_;
};

// The whole main of a benchmark program: runs the benchmarks the command line selects and
// reports them with a ratio_reporter. Returns the exit status.
int RunWithRatios(int argc, char** argv, std::vector<ratio_pair> pairs, ratio_time time);
