// Shared by every *_bench.cpp: the one reporter prints, after the usual
// console table, each scene beside its references.
//
// - Pairs registered with TQB_Ratio print "ratio SCENE / REFERENCE = R".
// - Benchmarks named "scene/NAME/ours", "scene/NAME/cairo" and
//   "scene/NAME/floor" print one line per NAME:
//   "scene NAME: ours X us, cairo Y us, ratio Z, floor W us"
//   (the cairo part reads "cairo - us, ratio -" when built without cairo).
// - Functions registered with AddBenchSummary get every run by name and
//   print lines of their own.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

struct TQB_RatioPair {
  std::string Scene;
  std::string Reference;
};
std::vector<TQB_RatioPair>& QB_RatioPairs();

// Static registration, beside the benchmarks it compares.
struct TQB_Ratio {
  TQB_Ratio(const char* AScene, const char* AReference) { QB_RatioPairs().push_back({AScene, AReference}); }
};

using TBenchRuns = std::map<std::string, benchmark::BenchmarkReporter::Run>;
using TBenchSummary = std::function<void(const TBenchRuns& ARuns)>;
// Returns a dummy so that a file can register from a static initialiser.
int AddBenchSummary(TBenchSummary ASummary);
// A run's mean real time per iteration in microseconds.
double MicrosecondsPerIteration(const benchmark::BenchmarkReporter::Run& ARun);
