// The CPU window on the largest profile (two sockets, 224 threads): a full
// population, a refresh after a poll, and a refresh when nothing moved. The
// GPU window on the idle benchmark's profile: a refresh after a poll (its
// temperature graphs are what an idle desktop repaints most).
// A refresh draws the widgets it marks, as the window's paint does on screen;
// besides the time per call it reports how much of the window it drew, as
// those widgets against the client area.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench_report.h"
#include "sim/block_writer.h"
#include "widgets/color_table.h"
#include "collector/data_logger.h"
#include "sim/fake_monitor_host.h"
#include "sim/fake_ports.h"
#include "monitors/monitors.h"
#include "sim/profile_machine.h"
#include "sim/profiles.h"
#include "settings/settings.h"

namespace {

struct TProfileWindow {
  TProfileMachine Machine;
  TQD_ColorTable Colors;
  TQD_Settings Settings;
  TFakeMonitorHost Host;
  std::unique_ptr<TQD_MonitorWindow> Window;
  int Tick = 0;

  explicit TProfileWindow(TQD_MonitorKind AKind = TQD_MonitorKind::CPU, const char* AProfile = "server")
      : Machine(AProfile), Host(AKind, 96) {
    Window = CreateMonitorWindow(AKind, Host, Settings, Machine.Fakes.Clock, Machine.Fakes.Timers);
    Host.Window = Window.get();  // a refresh draws what it marks, as on screen
    TQD_Font font;
    font.Height = -15;
    Window->SetFont(font);
    Window->SetColorTable(&Colors);
    Window->SetDataLogger(&Machine.Logger());
    Window->Show();
  }
  void Poll() { Machine.Poll(++Tick); }
  // Share of the client area covered by the widgets the last refresh drew.
  double TakeRepaintedShare() {
    double area = 0;
    for (const TQD_Widget* w : Host.Drawn) area += double(w->BoundsRect().Width()) * w->BoundsRect().Height();
    Host.Drawn.clear();
    return area / (double(Host.ClientWidth) * Host.ClientHeight);
  }
};

void BM_CPUServerPopulate(benchmark::State& state) {
  TProfileWindow m;
  for (auto _ : state) {
    m.Window->RebuildMonitorWindow();
    benchmark::DoNotOptimize(m.Window->Grid().NumLabels());
  }
  state.counters["widgets"] = static_cast<double>(m.Window->Grid().Widgets().size());
}
BENCHMARK(BM_CPUServerPopulate)->Unit(benchmark::kMicrosecond);

void Refresh(benchmark::State& state, TProfileWindow& m) {
  m.TakeRepaintedShare();
  double share = 0;
  int64_t n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    m.Poll();
    state.ResumeTiming();
    m.Window->RefreshMonitorWindow();
    state.PauseTiming();
    share += m.TakeRepaintedShare();
    ++n;
    state.ResumeTiming();
  }
  state.counters["repainted"] = n ? share / n : 0;
  state.counters["pixels"] = double(m.Host.ClientWidth) * m.Host.ClientHeight;
}

void BM_CPUServerRefresh(benchmark::State& state) {
  TProfileWindow m;
  Refresh(state, m);
}
BENCHMARK(BM_CPUServerRefresh)->Unit(benchmark::kMicrosecond);

void BM_GPUIntelHybridRefresh(benchmark::State& state) {
  TProfileWindow m(TQD_MonitorKind::GPU, "intel-hybrid");
  Refresh(state, m);
}
BENCHMARK(BM_GPUIntelHybridRefresh)->Unit(benchmark::kMicrosecond);

// The floor: every widget asked, none has anything new to draw.
void BM_CPUServerRefreshIdle(benchmark::State& state) {
  TProfileWindow m;
  m.Window->RefreshMonitorWindow();
  m.TakeRepaintedShare();
  double share = 0;
  int64_t n = 0;
  for (auto _ : state) {
    m.Window->RefreshMonitorWindow();
    state.PauseTiming();
    share += m.TakeRepaintedShare();
    ++n;
    state.ResumeTiming();
  }
  state.counters["repainted"] = n ? share / n : 0;
}
BENCHMARK(BM_CPUServerRefreshIdle)->Unit(benchmark::kMicrosecond);

// One line per scene: time per call and, for refreshes, the repainted share.
void Scene(const TBenchRuns& ARuns, const char* AScene, const std::string& AName) {
  const auto it = ARuns.find(AName);
  if (it == ARuns.end()) return;
  const double us = MicrosecondsPerIteration(it->second);
  const auto share = it->second.counters.find("repainted");
  if (share == it->second.counters.end())
    std::printf("scene %s: %.0f us per call\n", AScene, us);
  else
    std::printf("scene %s: %.1f us per call, repainted %.1f%% of the window\n", AScene, us,
                100.0 * share->second.value);
  // Cost per repainted pixel: flat when a refresh costs what it repaints.
  const auto pixels = it->second.counters.find("pixels");
  if (share != it->second.counters.end() && pixels != it->second.counters.end() && share->second.value > 0)
    std::printf("scene %s: %.0f us per repainted megapixel\n", AScene,
                us / (share->second.value * pixels->second.value / 1e6));
}

const int kScenes = AddBenchSummary([](const TBenchRuns& ARuns) {
  Scene(ARuns, "cpu-server-populate", "BM_CPUServerPopulate");
  Scene(ARuns, "cpu-server-refresh", "BM_CPUServerRefresh");
  Scene(ARuns, "cpu-server-refresh-idle", "BM_CPUServerRefreshIdle");
  Scene(ARuns, "gpu-intel-hybrid-refresh", "BM_GPUIntelHybridRefresh");
});

}  // namespace
