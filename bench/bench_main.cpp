// The benchmark executable's main: console output as usual, then the
// summary lines the bench files registered.
#include "bench_report.h"

#include <vector>

namespace {

std::vector<TBenchSummary>& Summaries() {
  static std::vector<TBenchSummary> s;
  return s;
}

class TSummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& ARuns) override {
    ConsoleReporter::ReportRuns(ARuns);
    for (const Run& r : ARuns)
      if (r.run_type == Run::RT_Iteration && r.iterations > 0) FRuns[r.benchmark_name()] = r;
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const TBenchSummary& s : Summaries()) s(FRuns);
  }

 private:
  TBenchRuns FRuns;
};

}  // namespace

int AddBenchSummary(TBenchSummary ASummary) {
  Summaries().push_back(std::move(ASummary));
  return static_cast<int>(Summaries().size());
}

double MicrosecondsPerIteration(const benchmark::BenchmarkReporter::Run& ARun) {
  return ARun.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(benchmark::kMicrosecond) /
         benchmark::GetTimeUnitMultiplier(ARun.time_unit);
}

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TSummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
