// The metrics endpoint's two costs on the largest profile, each beside the
// HWiNFO poll it follows: taking the snapshot (on the UI thread, after every
// poll while the endpoint is on) and formatting a scrape (on the worker).
#include <benchmark/benchmark.h>

#include <string>

#include "bench_report.h"
#include "collector/data_logger.h"
#include "metrics/metrics_format.h"
#include "metrics/metrics_snapshot.h"
#include "sim/fake_ports.h"
#include "sim/profiles.h"

namespace {

struct TServerLogger {
  TFakeCollector Fakes;
  std::unique_ptr<TQD_DataLogger> Logger;
  TServerLogger() {
    TSF_Profile p;
    MakeProfile("server", p);
    Fakes.SharedMemory.Block = WriteBlock(p.Block);
    Fakes.SystemInfo.CPU = p.CPUInfo;
    Fakes.SystemInfo.Drives = {{true, 0, "C:\\", "System", 1000, 400, 600}};
    Fakes.Network.Rows = {MakeIFRow(1, true), MakeIFRow(2, true)};
    Logger = std::make_unique<TQD_DataLogger>(Fakes.Ports(), false, 180, 2000);
    Logger->InternalPolling();
    Logger->InternalPolling();
    Logger->HWiPolling();
  }
};

void BM_MetricsSnapshotServer(benchmark::State& state) {
  TServerLogger rig;
  // As after every ordinary poll: the same readings as last time, new values.
  std::shared_ptr<const TQD_MetricsReadings> previous = CaptureMetricsReadings(*rig.Logger, 0);
  for (auto _ : state) {
    auto readings = CaptureMetricsReadings(*rig.Logger, 0, previous.get());
    benchmark::DoNotOptimize(readings.get());
  }
  state.counters["readings"] = static_cast<double>(rig.Logger->ReadingList().size() - 1);
}
BENCHMARK(BM_MetricsSnapshotServer);

void BM_MetricsFormatServer(benchmark::State& state) {
  TServerLogger rig;
  TQD_MetricsSnapshot snapshot;
  snapshot.HWiPollStatus = rig.Logger->LastHWiPollingStatus();
  snapshot.Readings = CaptureMetricsReadings(*rig.Logger, 0);
  snapshot.System = CaptureMetricsSystem(*rig.Logger);
  std::string text;
  for (auto _ : state) {
    FormatMetrics(snapshot, 1000, text);
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["readings"] = static_cast<double>(snapshot.Readings->Values.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_MetricsFormatServer);

TQB_Ratio kSnapshotRatio("BM_MetricsSnapshotServer", "BM_HWiNFOPollServer");
TQB_Ratio kFormatRatio("BM_MetricsFormatServer", "BM_HWiNFOPollServer");

}  // namespace
