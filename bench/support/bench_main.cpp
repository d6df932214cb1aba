// The main of every benchmark program: the usual console table, then one line per pairing
// with the operation's time, its anchor's time and the ratio. With repetitions each time is
// the fastest repetition (the machine's other load only ever adds time), and the console
// shows the aggregates instead of every repetition.
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench/support/compare.h"

namespace corvala::bench {
namespace {

std::vector<std::pair<std::string, std::string>>& Pairings() {
  static std::vector<std::pair<std::string, std::string>> pairings;
  return pairings;
}

struct Timing {
  double bestNs = 0;
  int runs = 0;
};

const std::string kRealTimeMark = "/real_time";
const std::string kManualTimeMark = "/manual_time";

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The console table as usual, and the CPU time per iteration of each run kept by name.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  // Colour only on a terminal, so piped output stays plain text.
  CollectingReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    std::vector<Run> shown;
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1) shown.push_back(run);
    }
    if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      // A run marked UseRealTime or UseManualTime (work done in another process, say)
      // counts by the time it reports, under its name without the mark.
      std::string name = run.benchmark_name();
      bool ownTime = false;
      for (const std::string& mark : {kRealTimeMark, kManualTimeMark}) {
        if (!EndsWith(name, mark)) continue;
        name.resize(name.size() - mark.size());
        ownTime = true;
      }
      Timing& timing = timings_[name];
      double ns = (ownTime ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime()) * 1e9 /
                  benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (timing.runs == 0 || ns < timing.bestNs) timing.bestNs = ns;
      timing.runs += 1;
    }
  }

  const Timing* Find(const std::string& name) const {
    auto it = timings_.find(name);
    return it == timings_.end() ? nullptr : &it->second;
  }
  const std::map<std::string, Timing>& Timings() const { return timings_; }

 private:
  std::map<std::string, Timing> timings_;
};

std::string Shown(const std::string& name) {
  return name.rfind("BM_", 0) == 0 ? name.substr(3) : name;
}

void PrintComparisons(const CollectingReporter& reporter) {
  bool first = true;
  for (const auto& [operation, anchor] : Pairings()) {
    // Every run of the operation (with or without arguments) beside the anchor's run
    // with the same argument suffix.
    for (const auto& [name, timing] : reporter.Timings()) {
      if (name.rfind(operation, 0) != 0) continue;
      std::string suffix = name.substr(operation.size());
      if (!suffix.empty() && suffix[0] != '/') continue;
      const Timing* anchorTiming = reporter.Find(anchor + suffix);
      if (anchorTiming == nullptr) continue;
      double operationNs = timing.bestNs;
      double anchorNs = anchorTiming->bestNs;
      if (first) std::printf("\n");
      first = false;
      std::printf("%s: %.2f ns, %s: %.2f ns, ratio %.2f\n", Shown(name).c_str(), operationNs,
                  Shown(anchor + suffix).c_str(), anchorNs,
                  anchorNs > 0 ? operationNs / anchorNs : 0.0);
    }
  }
  std::fflush(stdout);
}

}  // namespace

bool Compare(const char* operation, const char* anchor) {
  Pairings().emplace_back(operation, anchor);
  return true;
}

}  // namespace corvala::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  corvala::bench::CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  corvala::bench::PrintComparisons(reporter);
  benchmark::Shutdown();
  return 0;
}
