// Summary lines printed after every benchmark ran: each bench file registers
// a function that reads the runs (by benchmark name) and prints its lines.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>

using TBenchRuns = std::map<std::string, benchmark::BenchmarkReporter::Run>;
using TBenchSummary = std::function<void(const TBenchRuns& ARuns)>;

// Returns a dummy so that a file can register from a static initialiser.
int AddBenchSummary(TBenchSummary ASummary);
// A run's mean real time per iteration in microseconds.
double MicrosecondsPerIteration(const benchmark::BenchmarkReporter::Run& ARun);
