// The benchmarks' reporter: prints as the console reporter does and keeps, for every
// benchmark name, the fastest CPU time per iteration over its repetitions (other load on
// the machine only ever makes a run slower), so that a program can report its figures as
// ratios to a baseline measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kxbench {

class FastestTimes : public benchmark::ConsoleReporter {
 public:
  struct Entry {
    std::string name;
    double seconds;
  };
  std::vector<Entry> entries;  // in the order the benchmarks ran
  bool wall_clock = false;     // keep the real time instead (work spread over threads)

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration || r.iterations <= 0) continue;
      const double t = (wall_clock ? r.real_accumulated_time : r.cpu_accumulated_time) /
                       static_cast<double>(r.iterations);
      const std::string name = r.run_name.function_name;
      auto it = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.name == name; });
      if (it == entries.end()) entries.push_back({name, t});
      else it->seconds = std::min(it->seconds, t);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The fastest time of the first benchmark whose name starts with prefix; 0 when none.
  double Of(const std::string& prefix) const {
    for (const Entry& e : entries)
      if (e.name.rfind(prefix, 0) == 0) return e.seconds;
    return 0;
  }
};

}  // namespace kxbench
