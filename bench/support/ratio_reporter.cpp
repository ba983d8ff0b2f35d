// The benchmarks' ratio report (see ratio_reporter.h). Depends on Google Benchmark.
#include "bench/support/ratio_reporter.h"

#include <cstdio>

void ratio_reporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  // With repetitions the median, reported after the single runs, is the figure kept.
  for (const auto& run : runs) {
    if (run.error_occurred) continue;
    if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
    const std::string& name = run.run_name.function_name;
    times_[name] = time_ == ratio_time::cpu ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
    const auto floor = run.counters.find("floor_ms");
    if (floor != run.counters.end()) times_[name + "/floor"] = floor->second.value;
  }
}

void ratio_reporter::Finalize() {
  ConsoleReporter::Finalize();
  std::printf("\nratio to floor (same run, %s time):\n", time_ == ratio_time::cpu ? "CPU" : "wall");
  for (const auto& pair : pairs_) {
    const auto measured = times_.find(pair.measured), floor = times_.find(pair.floor);
    if (measured != times_.end() && floor != times_.end() && floor->second > 0)
      std::printf("  %-55s %8.2f x\n", pair.label.c_str(), measured->second / floor->second);
  }
}

int RunWithRatios(int argc, char** argv, std::vector<ratio_pair> pairs, ratio_time time) {
  benchmark::Initialize(&argc, argv);
  ratio_reporter reporter(std::move(pairs), time);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
