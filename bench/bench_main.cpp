// The benchmarks' main: the console report plus the ratio lines described
// in bench_report.h.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "bench_report.h"

std::vector<TQB_RatioPair>& QB_RatioPairs() {
  static std::vector<TQB_RatioPair> pairs;
  return pairs;
}

namespace {

std::vector<TBenchSummary>& Summaries() {
  static std::vector<TBenchSummary> s;
  return s;
}

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& ARuns) override {
    ConsoleReporter::ReportRuns(ARuns);
    for (const Run& r : ARuns) {
      if (r.run_type != Run::RT_Iteration || r.iterations == 0) continue;
      FRuns[r.benchmark_name()] = r;
      const double us = r.GetAdjustedCPUTime() * 1e6 / benchmark::GetTimeUnitMultiplier(r.time_unit);
      // With --benchmark_repetitions the fastest run counts: it is the one
      // least disturbed by whatever else the machine was doing.
      const std::string name = r.run_name.function_name;
      if (FTimes.count(name) && FTimes[name] <= us) continue;
      FTimes[name] = us;
      // "scene/NAME/KIND": kept per scene, in the order first seen.
      const size_t last = name.rfind('/');
      if (name.rfind("scene/", 0) != 0 || last <= 6) continue;
      const std::string scene = name.substr(6, last - 6), kind = name.substr(last + 1);
      if (!FScenes.count(scene)) FOrder.push_back(scene);
      FScenes[scene][kind] = us;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const TQB_RatioPair& p : QB_RatioPairs()) {
      auto s = FTimes.find(p.Scene), r = FTimes.find(p.Reference);
      if (s == FTimes.end() || r == FTimes.end() || r->second <= 0) continue;
      std::printf("ratio %s / %s = %.1f\n", p.Scene.c_str(), p.Reference.c_str(), s->second / r->second);
    }
    for (const std::string& scene : FOrder) {
      std::map<std::string, double>& t = FScenes[scene];
      if (!t.count("ours")) continue;
      const double ours = t["ours"];
      std::string floor = t.count("floor") ? Format(t["floor"]) : "-";
      if (t.count("floor") && t["floor"] > 0) {
        char r[32];
        std::snprintf(r, sizeof r, " (ours %.1fx)", ours / t["floor"]);
        floor += r;
      }
      if (t.count("cairo") && t["cairo"] > 0)
        std::printf("scene %s: ours %s us, cairo %s us, ratio %.2f, floor %s us\n", scene.c_str(),
                    Format(ours).c_str(), Format(t["cairo"]).c_str(), ours / t["cairo"], floor.c_str());
      else
        std::printf("scene %s: ours %s us, cairo - us, ratio -, floor %s us\n", scene.c_str(), Format(ours).c_str(),
                    floor.c_str());
    }
    for (const TBenchSummary& summary : Summaries()) summary(FRuns);
    std::fflush(stdout);
  }

 private:
  static std::string Format(double AMicroseconds) {
    char s[32];
    std::snprintf(s, sizeof s, AMicroseconds < 10 ? "%.2f" : "%.1f", AMicroseconds);
    return s;
  }
  TBenchRuns FRuns;
  std::map<std::string, double> FTimes;
  std::map<std::string, std::map<std::string, double>> FScenes;
  std::vector<std::string> FOrder;
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
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
