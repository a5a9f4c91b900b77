// The figures the README quotes, each beside its bound, after Google
// Benchmark's own table.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tagging/file_name.h"
#include "tagging/song_info.h"
#include "tagging/uniform_values.h"

namespace kscgen::bench {

// What the run does for one video after its name is read: the initials,
// the uniform values, its KSC text and its notes, kept from the optimizer.
void FinishSong(std::string_view base, const UniformValues& uniform, const NameFindings& findings,
                SongInfo& song);

// Keeps each run's figures for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      std::string name = run.run_name.function_name;
      if (!run.aggregate_name.empty()) name += "_" + run.aggregate_name;
      seconds[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      cpu_seconds[name] =
          run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      for (const auto& [key, counter] : run.counters) counters[key] = counter.value;
    }
  }
  std::map<std::string, double> seconds;
  std::map<std::string, double> cpu_seconds;  // the process's own time, whatever else runs
  std::map<std::string, double> counters;
};

// Prints the summary of the runs `reporter` kept: a figure whose benchmark
// did not run (left out by a filter) is left out.
void PrintSummary(SummaryReporter& reporter);

}  // namespace kscgen::bench
