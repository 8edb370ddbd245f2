// The shared memory viewer's tree content on the largest profile (about
// 2000 readings) beside the HWiNFO poll that copies the same block: a
// rebuild of the viewer should cost no more than a few polls. The tree view
// itself is measured under Wine by the readings windows display test.
#include <benchmark/benchmark.h>

#include "bench_report.h"
#include "readings/urid_selector_model.h"
#include "sim/profile_machine.h"

namespace {

void BM_URIDSelectorBuildServer(benchmark::State& state) {
  TProfileMachine machine("server");
  TQD_DataLogger& logger = machine.Logger();
  TURIDSelectorModel model;
  for (auto _ : state) {
    model.Build(&logger);
    benchmark::DoNotOptimize(model.EntryItems().data());
  }
  state.counters["readings"] = static_cast<double>(model.EntryItems().size());
}
BENCHMARK(BM_URIDSelectorBuildServer);

// Finding the last reading, as a row selected in the editor does.
void BM_URIDSelectorSelectLastServer(benchmark::State& state) {
  TProfileMachine machine("server");
  TURIDSelectorModel model;
  model.Build(&machine.Logger());
  const TQD_URID last = machine.Logger().ReadingList().back().URID();
  for (auto _ : state) benchmark::DoNotOptimize(model.SelectURID(last));
}
BENCHMARK(BM_URIDSelectorSelectLastServer);

TQB_Ratio kViewerBuildRatio("BM_URIDSelectorBuildServer", "BM_HWiNFOPollServer");

}  // namespace
