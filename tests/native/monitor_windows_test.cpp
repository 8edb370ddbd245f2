// The content of the CPU, GPU, drive, network and clock windows, built from
// sensorfeed's machine profiles: row structure and content height, the
// captions and settings that tell one kind of row from another, rendered
// golden images, and that a refresh allocates nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "sim/block_writer.h"
#include "widgets/color_table.h"
#include "readings/custom_readings_list.h"
#include "collector/data_logger.h"
#include "collector/locale_port.h"
#include "sim/fake_monitor_host.h"
#include "sim/fake_ports.h"
#include "golden.h"
#include "sim/profile_machine.h"
#include "monitors/monitors.h"
#include "sim/profiles.h"
#include "settings/settings.h"

namespace {

// A machine from a profile, polled as the control panel would, with the
// windows opened on it.
class TMachine : public TProfileMachine {
 public:
  explicit TMachine(const std::string& AProfile) : TProfileMachine(AProfile) {
    Settings.FontAntialiasing.Value = true;
  }

  TQD_MonitorWindow& Open(TQD_MonitorKind AKind, const TQD_CustomReadingsList* AList = nullptr) {
    TQD_DataLogger& logger = Logger();
    Hosts.push_back(std::make_unique<TFakeMonitorHost>(AKind, 96));
    Windows.push_back(CreateMonitorWindow(AKind, *Hosts.back(), Settings, Fakes.Clock, Fakes.Timers));
    TQD_MonitorWindow& w = *Windows.back();
    TQD_Font font;
    font.Height = -15;
    w.SetFont(font);
    w.SetColorTable(&Colors);
    if (AKind != TQD_MonitorKind::Clock) w.SetDataLogger(&logger);
    w.SetCustomReadingsList(AList);
    w.Show();
    return w;
  }
  TFakeMonitorHost& HostOf(const TQD_MonitorWindow& AWindow) {
    for (size_t i = 0; i < Windows.size(); ++i)
      if (Windows[i].get() == &AWindow) return *Hosts[i];
    return *Hosts.back();
  }

  // The core's readings lose their core number: the model no longer sees it.
  void HideCore(const std::string& ACoreName) {
    for (TSF_Reading& r : Profile.Block.Readings)
      if (r.szLabelOrig.rfind(ACoreName + " ", 0) == 0 || r.szLabelOrig == ACoreName) {
        r.szLabelOrig = "Spare unit" + r.szLabelOrig.substr(ACoreName.size());
        r.szLabelUser.clear();
      }
  }

  TQD_ColorTable Colors;
  TQD_Settings Settings;

 private:
  std::vector<std::unique_ptr<TFakeMonitorHost>> Hosts;  // outlive their windows
  std::vector<std::unique_ptr<TQD_MonitorWindow>> Windows;
};

// The grid read back row by row: which widget starts in which cell.
class TRows {
 public:
  explicit TRows(TQD_GridContainer& AGrid) : FGrid(AGrid), FCells(static_cast<size_t>(AGrid.NumRows())) {
    for (const auto& w : AGrid.Widgets()) {
      const TQD_GridContainer::TCell c = AGrid.CellOf(*w);
      if (c.Row < 0 || c.Row >= AGrid.NumRows()) {
        ++Outside;
        continue;
      }
      FCells[static_cast<size_t>(c.Row)][c.Column] = w.get();
    }
  }
  int Count() const { return static_cast<int>(FCells.size()); }
  bool Divider(int ARow) const { return FGrid.RowTypes()[static_cast<size_t>(ARow)] == rtDivider; }
  TQD_Widget* At(int ARow, int AColumn) const {
    const auto& row = FCells[static_cast<size_t>(ARow)];
    const auto it = row.find(AColumn);
    return it == row.end() ? nullptr : it->second;
  }
  TQD_Label* LabelAt(int ARow, int AColumn) const { return dynamic_cast<TQD_Label*>(At(ARow, AColumn)); }
  TQD_Gauge* GaugeAt(int ARow, int AColumn) const { return dynamic_cast<TQD_Gauge*>(At(ARow, AColumn)); }
  // "G3 L1 L2 L1 G3": kind and column span of each widget starting in the row.
  std::string Shape(int ARow) const {
    std::string s;
    for (const auto& [column, w] : FCells[static_cast<size_t>(ARow)]) {
      const char* kind = dynamic_cast<TQD_Gauge*>(w)       ? "G"
                         : dynamic_cast<TQD_Label*>(w)     ? "L"
                         : dynamic_cast<TQD_LineGraph*>(w) ? "LG"
                         : dynamic_cast<TQD_NetGraph*>(w)  ? "N"
                                                           : "D";
      if (!s.empty()) s += ' ';
      s += kind + std::to_string(FGrid.CellOf(*w).ColumnSpan);
    }
    return s;
  }
  // The first caption of the label starting at the cell, "" when none.
  std::string Caption(int ARow, int AColumn) const {
    TQD_Label* l = LabelAt(ARow, AColumn);
    return l && !l->Settings().Captions.empty() ? l->Settings().Captions[0].Caption : std::string();
  }
  // Row keys for the core part: "D" for a divider row, else the caption at column 3.
  std::vector<std::string> Keys(int AFrom, int ATo) const {
    std::vector<std::string> keys;
    for (int r = AFrom; r < ATo; ++r) keys.push_back(Divider(r) ? "D" : Caption(r, 3));
    return keys;
  }
  // Every cell of every row is covered exactly once (row spans included).
  bool Tiled() const {
    std::vector<int> covered(FCells.size() * 10, 0);
    for (const auto& w : FGrid.Widgets()) {
      const TQD_GridContainer::TCell c = FGrid.CellOf(*w);
      for (int r = c.Row; r < c.Row + c.RowSpan && r < Count(); ++r)
        for (int k = c.Column; k < c.Column + c.ColumnSpan; ++k) ++covered[static_cast<size_t>(r) * 10 + k];
    }
    return std::all_of(covered.begin(), covered.end(), [](int n) { return n == 1; });
  }
  int Outside = 0;

 private:
  TQD_GridContainer& FGrid;
  std::vector<std::map<int, TQD_Widget*>> FCells;
};

struct TCounts {
  int Std, Div, Height;
};

void ExpectCounts(TQD_MonitorWindow& AWindow, const TCounts& AExpected, const std::string& AWhat) {
  TQD_GridContainer& G = AWindow.Grid();
  EXPECT_EQ(G.NumStdRows(), AExpected.Std) << AWhat;
  EXPECT_EQ(G.NumDivRows(), AExpected.Div) << AWhat;
  EXPECT_EQ(G.ContentHeight(), AExpected.Height) << AWhat;
  TRows rows(G);
  EXPECT_EQ(rows.Outside, 0) << AWhat;
  EXPECT_TRUE(rows.Tiled()) << AWhat;
}

}  // namespace

// --- CPU --------------------------------------------------------------------

// Per CPU: header, gauges, (graphs), RAM, (fan), then core pairs: 3 rows for
// two-thread cores, 2 for one-thread cores; dividers before RAM, fan and the
// cores, and between pairs.
TEST(CPUWindow, RowsAndHeightPerProfileWithAndWithoutLineGraphs) {
  struct TCase {
    const char* Profile;
    TCounts Off, On;
  };
  const TCase cases[] = {
      // 8 two-thread P-cores (4 pairs × 3) and 4 E-cores (2 pairs × 2), a CPU fan:
      // 4 + 16 standard rows; RAM, fan, cores and 5 between-pair dividers.
      {"intel-hybrid", {20, 8, 493}, {21, 8, 515}},
      // 16 two-thread cores (8 pairs × 3) and a CPU fan: 4 + 24; 3 + 7 dividers.
      {"amd-desktop", {28, 10, 682}, {29, 10, 704}},
      // Two sockets of 56 two-thread cores, a fan on the first: 2 × (3 + 84) + 1;
      // 2 × (2 + 27) + 1 + 1.
      {"server", {175, 60, 4246}, {177, 60, 4290}},
  };
  for (const TCase& c : cases) {
    for (bool lg : {false, true}) {
      TMachine m(c.Profile);
      m.Settings.LineGraphsEnabled.Value = lg;
      const auto& cpus = m.Logger().CPUs();
      ASSERT_FALSE(URIDIsEmpty(cpus[1].Fanspeed)) << c.Profile;
      if (cpus.size() > 2) {
        ASSERT_TRUE(URIDIsEmpty(cpus[2].Fanspeed));
      }
      TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::CPU);
      ASSERT_TRUE(w.MonitorWindowPopulated()) << c.Profile;
      ExpectCounts(w, lg ? c.On : c.Off, std::string(c.Profile) + (lg ? " LG" : ""));
      EXPECT_EQ(m.HostOf(w).ClientHeight, (lg ? c.On : c.Off).Height);
      EXPECT_EQ(m.HostOf(w).ClientWidth, 540);
    }
  }
}

TEST(CPUWindow, HybridRowsRunThreadCoreThreadForPCoresAndThreadCoreForECores) {
  TMachine m("intel-hybrid");
  const TQD_CPUMTR_ACPU& cpu = m.Logger().CPUs()[1];
  ASSERT_EQ(cpu.Cores.size(), 12u);
  ASSERT_EQ(cpu.Cores[0].HardwareThreads.size(), 2u);
  ASSERT_EQ(cpu.Cores[8].HardwareThreads.size(), 1u);
  ASSERT_FALSE(URIDIsEmpty(cpu.Fanspeed));
  m.Settings.LineGraphsEnabled.Value = true;
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::CPU);
  TRows rows(w.Grid());
  // Header, gauges, graphs, divider, RAM, divider, fan, divider: the cores start at row 8.
  EXPECT_EQ(rows.Shape(0), "L10");
  EXPECT_EQ(rows.Shape(1), "G3 L1 L2 L1 G3");
  EXPECT_EQ(rows.Shape(2), "LG3 L1 LG2 L1 LG3");
  EXPECT_EQ(rows.Shape(4), "L1 G4 LG4 L1");
  EXPECT_EQ(rows.Caption(4, 0), "RAM");
  ASSERT_TRUE(rows.Divider(5));
  EXPECT_EQ(rows.Caption(6, 0), "Fan");
  EXPECT_EQ(rows.Shape(6), "L1 G4 LG4 L1");
  ASSERT_TRUE(rows.Divider(7));
  const std::vector<std::string> expected = {
      "T0", "Core 0", "T1", "D", "T0", "Core 2", "T1", "D", "T0", "Core 4", "T1", "D",
      "T0", "Core 6", "T1", "D", "T0", "Core 8", "D",  "T0", "Core 10"};
  EXPECT_EQ(rows.Keys(8, rows.Count()), expected);
  // A P-core thread row: its gauge, "T0" and "P" on the left, mirrored on the right.
  EXPECT_EQ(rows.Shape(8), "G3 L1 L1 L1 L1 G3");
  EXPECT_EQ(rows.Caption(8, 4), "P");
  EXPECT_EQ(rows.Caption(8, 5), "P");
  EXPECT_EQ(rows.Caption(8, 6), "T0");
  EXPECT_EQ(rows.Shape(9), "L3 L1 L1 L1 L1 L3");
  EXPECT_EQ(rows.Caption(9, 6), "Core 1");
  EXPECT_EQ(rows.GaugeAt(10, 0)->Settings().URID, cpu.Cores[0].HardwareThreads[1].Usage);
  EXPECT_EQ(rows.GaugeAt(10, 7)->Settings().URID, cpu.Cores[1].HardwareThreads[1].Usage);
  // E-cores: "E" and their own gauge colours.
  const int eRow = 8 + 16;
  EXPECT_EQ(rows.Caption(eRow, 4), "E");
  EXPECT_EQ(rows.Caption(eRow, 5), "E");
  EXPECT_EQ(rows.GaugeAt(eRow, 0)->Settings().URID, cpu.Cores[8].HardwareThreads[0].Usage);
  // The sensor's "CPU [#0]: " prefix goes; one socket: no number.
  EXPECT_EQ(rows.Caption(0, 0), "Intel Core i7-12700K (12 Cores, 20 Threads)");
}

TEST(CPUWindow, TwoSocketsNumberTheirHeadersAndShareOneDivider) {
  TMachine m("server");
  m.Settings.LineGraphsEnabled.Value = false;
  ASSERT_EQ(m.Logger().CPUs().size(), 3u);
  const uint32_t inst1 = m.Logger().CPUs()[1].Usage.dwSensorInst;
  const uint32_t inst2 = m.Logger().CPUs()[2].Usage.dwSensorInst;
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::CPU);
  TRows rows(w.Grid());
  std::vector<int> headers;
  for (int r = 0; r < rows.Count(); ++r)
    if (rows.Shape(r) == "L10") headers.push_back(r);
  ASSERT_EQ(headers.size(), 2u);
  EXPECT_EQ(headers[0], 0);
  const std::string h1 = rows.Caption(headers[0], 0), h2 = rows.Caption(headers[1], 0);
  EXPECT_EQ(h1, "Intel Xeon Platinum 8480+ (112 Cores, 224 Threads) [#" + std::to_string(inst1) + "]");
  EXPECT_EQ(h2, "Intel Xeon Platinum 8480+ (112 Cores, 224 Threads) [#" + std::to_string(inst2) + "]");
  EXPECT_NE(inst1, inst2);
  // The last core row of socket 1, one divider, socket 2's header.
  const int b = headers[1];
  EXPECT_TRUE(rows.Divider(b - 1));
  EXPECT_FALSE(rows.Divider(b - 2));
  EXPECT_EQ(rows.Caption(b - 2, 3), "T1");  // two-thread cores end on thread 1
  EXPECT_EQ(rows.Caption(b - 3, 3), "Core 54");
  // Xeon cores are neither P nor E: thread label and empty neighbour joined.
  const int firstThread = 7;  // header, gauges, divider, RAM, divider, fan, divider
  ASSERT_EQ(rows.Caption(firstThread, 3), "T0");
  EXPECT_EQ(rows.LabelAt(firstThread, 3)->Settings().Borders, lbNoRight);
  EXPECT_EQ(rows.LabelAt(firstThread, 4)->Settings().Borders, lbNoLeft);
  EXPECT_TRUE(rows.LabelAt(firstThread, 4)->Settings().Captions.empty());
  EXPECT_EQ(rows.LabelAt(firstThread, 5)->Settings().Borders, lbNoRight);
  EXPECT_EQ(rows.LabelAt(firstThread, 6)->Settings().Borders, lbNoLeft);
  EXPECT_EQ(rows.Caption(firstThread, 6), "T0");
}

TEST(CPUWindow, AMDCoresShowTheirCCDAndCoresWithoutOneAreJoined) {
  TMachine m("amd-desktop");
  // Core 1 loses the CCD from its temperature label: the model gives it -1.
  bool renamed = false;
  for (TSF_Reading& r : m.Profile.Block.Readings)
    if (r.dwReadingID == 0x01000081 && r.szLabelOrig.find("CCD") != std::string::npos) {
      r.szLabelOrig = "Core1 Temperature";
      r.szLabelUser.clear();
      renamed = true;
    }
  ASSERT_TRUE(renamed);
  const TQD_CPUMTR_ACPU& cpu = m.Logger().CPUs()[1];
  ASSERT_EQ(cpu.Cores[0].CCD, 1);
  ASSERT_LT(cpu.Cores[1].CCD, 0);
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::CPU);
  TRows rows(w.Grid());
  int first = -1;
  for (int r = 0; r < rows.Count() && first < 0; ++r)
    if (rows.Caption(r, 3) == "T0") first = r;
  ASSERT_GE(first, 0);
  // Left: "T0" beside "CCD 1", each with all borders.
  EXPECT_EQ(rows.Caption(first, 3), "T0");
  EXPECT_EQ(rows.Caption(first, 4), "CCD 1");
  EXPECT_EQ(rows.LabelAt(first, 3)->Settings().Borders, lbAll);
  EXPECT_EQ(rows.LabelAt(first, 4)->Settings().Borders, lbAll);
  // Right (core 1, no CCD): an empty label joined to "T0".
  EXPECT_TRUE(rows.LabelAt(first, 5)->Settings().Captions.empty());
  EXPECT_EQ(rows.LabelAt(first, 5)->Settings().Borders, lbNoRight);
  EXPECT_EQ(rows.Caption(first, 6), "T0");
  EXPECT_EQ(rows.LabelAt(first, 6)->Settings().Borders, lbNoLeft);
  // Core rows of an AMD CPU carry the core power between clock and voltage.
  ASSERT_EQ(rows.Caption(first + 1, 3), "Core 0");
  TQD_Label& a = *rows.LabelAt(first + 1, 0);
  ASSERT_EQ(a.Settings().Captions.size(), 3u);
  TQD_Label& b = *rows.LabelAt(first + 1, 7);
  ASSERT_EQ(b.Settings().Captions.size(), 3u);
  // The other CCD further down.
  bool ccd2 = false;
  for (int r = 0; r < rows.Count(); ++r) ccd2 |= rows.Caption(r, 4) == "CCD 2";
  EXPECT_TRUE(ccd2);
}

TEST(CPUWindow, ThreadGaugesFollowTheShowPercentSetting) {
  const TQD_GaugeLabelPosition expected[] = {glpOff, glpBarEdge, glpCentered};
  for (int show = 0; show <= 2; ++show) {
    TMachine m("intel-hybrid");
    m.Settings.CPUMonitor_ThreadUsageShowPercent.Value = show;
    TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::CPU);
    TRows rows(w.Grid());
    int threadRows = 0;
    for (int r = 0; r < rows.Count(); ++r) {
      if (rows.Caption(r, 3) != "T0" && rows.Caption(r, 3) != "T1") continue;
      ++threadRows;
      EXPECT_EQ(rows.GaugeAt(r, 0)->Settings().LabelPosition, expected[show]) << show << " row " << r;
      EXPECT_EQ(rows.GaugeAt(r, 7)->Settings().LabelPosition, expected[show]) << show << " row " << r;
    }
    EXPECT_EQ(threadRows, 10);  // 4 P pairs × 2 + 2 E pairs
    // The package gauges keep their centred values whatever the setting.
    EXPECT_EQ(rows.GaugeAt(1, 0)->Settings().LabelPosition, glpCentered);
  }
}

TEST(CPUWindow, AMissingRightHandCoreLeavesTheRightHalfWithoutReadings) {
  // An 11-core part: the last pair has no core 11.
  TMachine m("intel-hybrid");
  m.HideCore("E-core 11");
  const TQD_CPUMTR_ACPU& cpu = m.Logger().CPUs()[1];
  ASSERT_EQ(cpu.Cores.size(), 11u);
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::CPU);
  TRows rows(w.Grid());
  const int last = rows.Count() - 1;
  ASSERT_EQ(rows.Caption(last, 3), "Core 10");
  ASSERT_EQ(rows.Caption(last - 1, 3), "T0");
  EXPECT_TRUE(URIDIsEmpty(rows.GaugeAt(last - 1, 7)->Settings().URID));
  EXPECT_FALSE(URIDIsEmpty(rows.GaugeAt(last - 1, 0)->Settings().URID));
  // The right half's labels hold no reading: an empty temperature, no values.
  TQD_Label& values = *rows.LabelAt(last, 7);
  for (const TQD_LabelCaption& c : values.Settings().Captions) EXPECT_TRUE(URIDIsEmpty(c.URID));
  EXPECT_TRUE(URIDIsEmpty(rows.LabelAt(last, 5)->Settings().Captions[0].URID));
  EXPECT_TRUE(rows.LabelAt(last - 1, 5)->Settings().Captions.empty());  // no "CCD", no "E"
  m.Poll(1);
  w.RefreshMonitorWindow();  // and it refreshes like any other row
  ExpectCounts(w, {21, 8, 515}, "11 cores, LG");  // as with 12: the last pair keeps its rows
}

TEST(CPUWindow, AMissingAMDCoreShowsNoCCD) {
  TMachine m("amd-desktop");
  m.HideCore("Core 15");
  ASSERT_EQ(m.Logger().CPUs()[1].Cores.size(), 15u);
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::CPU);
  TRows rows(w.Grid());
  const int core = rows.Count() - 2;  // thread 0, core, thread 1
  ASSERT_EQ(rows.Caption(core, 3), "Core 14");
  for (int r : {core - 1, core + 1}) {
    ASSERT_EQ(rows.Caption(r, 3), "T" + std::to_string(r < core ? 0 : 1));
    EXPECT_EQ(rows.Caption(r, 4), "CCD 2");
    EXPECT_TRUE(rows.LabelAt(r, 5)->Settings().Captions.empty()) << rows.Caption(r, 5);
    EXPECT_EQ(rows.LabelAt(r, 5)->Settings().Borders, lbNoRight);
    EXPECT_EQ(rows.LabelAt(r, 6)->Settings().Borders, lbNoLeft);
  }
}

// --- GPU --------------------------------------------------------------------

TEST(GPUWindow, HeaderFansAndBlocksOfTheHybridDesktop) {
  TMachine m("intel-hybrid");
  ASSERT_EQ(m.Logger().NumGPUs(), 1);
  const TQD_GPUMTR_AGPU& gpu = m.Logger().GPUs()[1];
  ASSERT_EQ(gpu.MemoryTotal, 8192u);
  ASSERT_EQ(gpu.Fans.size(), 3u);
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::GPU);
  TRows rows(w.Grid());
  EXPECT_EQ(rows.Caption(0, 0), gpu.GPUName + " (8 GiB)");
  // Header, gauges, graphs, divider, VRAM, divider, three fans.
  EXPECT_EQ(rows.Caption(4, 0), "VRAM");
  EXPECT_EQ(rows.Caption(4, 9), "8 GiB");
  ASSERT_TRUE(rows.Divider(5));
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(rows.Caption(6 + j, 0), "Fan " + std::to_string(j + 1));
    EXPECT_EQ(rows.GaugeAt(6 + j, 1)->Settings().URID, gpu.Fans[static_cast<size_t>(j)]);
    EXPECT_EQ(rows.Shape(6 + j), "L1 G4 LG4 L1");
  }
  // The blocks follow, each after a divider.
  std::vector<std::string> titles;
  for (int r = 1; r < rows.Count(); ++r)
    if (rows.Shape(r) == "L10") {
      EXPECT_TRUE(rows.Divider(r - 1));
      titles.push_back(rows.Caption(r, 0));
    }
  EXPECT_EQ(titles, (std::vector<std::string>{"Core", "Memory", "Video"}));
  // Optional rows: one per reading the GPU has.
  const int optional = !URIDIsEmpty(gpu.Hotspot) + !URIDIsEmpty(gpu.MemoryTemperature) +
                       !URIDIsEmpty(gpu.MemoryClock) + !URIDIsEmpty(gpu.MemoryControllerLoad) +
                       !URIDIsEmpty(gpu.VideoClock) + !URIDIsEmpty(gpu.VideoEngineLoad);
  // 1 + 1 + 1 + 1 + 3 fans + 3 titles + clock + voltage + optional; 5 dividers.
  const int standard = 12 + optional;
  ExpectCounts(w, {standard, 5, static_cast<int>(std::nearbyint(standard * 22 + 5 * 6.6))}, "gpu intel-hybrid");
}

TEST(GPUWindow, WithoutLineGraphsRowsKeepTheirLongNames) {
  TMachine m("amd-desktop");
  m.Settings.LineGraphsEnabled.Value = false;
  const TQD_GPUMTR_AGPU& gpu = m.Logger().GPUs()[1];
  ASSERT_EQ(gpu.Fans.size(), 1u);
  ASSERT_FALSE(URIDIsEmpty(gpu.Hotspot));
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::GPU);
  TRows rows(w.Grid());
  EXPECT_EQ(rows.Caption(0, 0).find("[#"), std::string::npos);
  std::vector<std::string> names;
  for (int r = 0; r < rows.Count(); ++r)
    if (rows.Shape(r) == "L5 L5" || rows.Shape(r) == "G5 L5") names.push_back(rows.Caption(r, 5));
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names[0], "Hotspot temperature");
  EXPECT_EQ(names[1], "Core clock");
  EXPECT_EQ(names[2], "Core Voltage");
  // The hotspot label uses the hotspot threshold, graphs or not.
  int hotspot = -1;
  for (int r = 0; r < rows.Count(); ++r)
    if (rows.Caption(r, 5) == "Hotspot temperature") hotspot = r;
  ASSERT_GE(hotspot, 0);
  EXPECT_EQ(rows.LabelAt(hotspot, 0)->Settings().TemperatureThreshold,
            m.Settings.GPUMonitor_HotspotTemperatureThreshold.Value);
  EXPECT_TRUE(rows.Divider(4));
  EXPECT_EQ(rows.Caption(5, 0), "Fan 1");
  EXPECT_EQ(rows.Shape(5), "L1 G8 L1");
}

TEST(GPUWindow, MemorySizeDropsAWholeDecimalWithTheLocalesSeparator) {
  const TQD_InvariantLocale point(".", ",");
  const TQD_InvariantLocale arabic("\xD9\xAB", "\xE2\x80\x99");  // U+066B, U+2019
  SetCurrentLocale(&point);
  EXPECT_EQ(GPUMemorySizeText(8192), "8 GiB");
  EXPECT_EQ(GPUMemorySizeText(7680), "7.5 GiB");
  EXPECT_EQ(GPUMemorySizeText(0), "");
  SetCurrentLocale(&arabic);
  EXPECT_EQ(GPUMemorySizeText(8192), "8 GiB");
  EXPECT_EQ(GPUMemorySizeText(12288), "12 GiB");
  EXPECT_EQ(GPUMemorySizeText(7680), "7\xD9\xAB" "5 GiB");
  EXPECT_EQ(GPUMemorySizeText(1024 * 1024), "1024 GiB");  // never grouped
  SetCurrentLocale(nullptr);
}

TEST(GPUWindow, TwoGPUsAreNumberedAndOneWithoutMemorySizeShowsEmptyBrackets) {
  TMachine m("intel-hybrid");
  // A second card: the first GPU's sensor and readings again as instance 1,
  // without the memory usage that its size is computed from.
  TSF_Block& block = m.Profile.Block;
  uint32_t gpuSensor = 0;
  for (uint32_t s = 0; s < block.Sensors.size(); ++s)
    if (block.Sensors[s].dwSensorID == 0xE0002000) gpuSensor = s;
  TSF_Sensor second = block.Sensors[gpuSensor];
  second.dwSensorInst = 1;
  second.szSensorNameOrig = "GPU [#1]: NVIDIA GeForce GT 1030";
  second.szSensorNameUser.clear();
  block.Sensors.push_back(second);
  const auto secondIndex = static_cast<uint32_t>(block.Sensors.size() - 1);
  const size_t n = block.Readings.size();
  for (size_t i = 0; i < n; ++i) {
    TSF_Reading r = block.Readings[i];
    const bool memoryUsage = r.szUnit == "%" && r.szLabelOrig.find("Memory") != std::string::npos;
    if (r.dwSensorIndex != gpuSensor || memoryUsage) continue;
    r.dwSensorIndex = secondIndex;
    block.Readings.push_back(r);
    m.Profile.Motion.push_back(m.Profile.Motion[i]);
  }
  ASSERT_EQ(m.Logger().NumGPUs(), 2);
  ASSERT_EQ(m.Logger().GPUs()[2].MemoryTotal, 0u);
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::GPU);
  TRows rows(w.Grid());
  std::vector<std::string> headers;
  std::vector<int> at;
  for (int r = 0; r < rows.Count(); ++r) {
    const std::string c = rows.Caption(r, 0);
    if (rows.Shape(r) == "L10" && c != "Core" && c != "Memory" && c != "Video") {
      headers.push_back(c);
      at.push_back(r);
    }
  }
  ASSERT_EQ(headers.size(), 2u);
  EXPECT_EQ(headers[0], m.Logger().GPUs()[1].GPUName + " (8 GiB) [#1]");
  EXPECT_EQ(headers[1], m.Logger().GPUs()[2].GPUName + " () [#2]");
  EXPECT_TRUE(rows.Divider(at[1] - 1));
  EXPECT_FALSE(rows.Divider(at[1] - 2));
  // The second card's VRAM row: no size beside the gauge.
  const int vram = at[1] + 4;
  ASSERT_EQ(rows.Caption(vram, 0), "VRAM");
  EXPECT_TRUE(rows.LabelAt(vram, 9)->Settings().Captions.empty());
}

// --- drives -------------------------------------------------------------------

TEST(DriveWindow, LogicalDrivesFollowTheSwitches) {
  struct TCase {
    bool Show, FixedOnly;
    int Logical;
  };
  for (const TCase& c : {TCase{true, false, 3}, TCase{true, true, 2}, TCase{false, true, 0}}) {
    TMachine m("intel-hybrid");
    m.Settings.LineGraphsEnabled.Value = false;
    m.Settings.DriveMonitor_ShowLogicalDrives.Value = c.Show;
    m.Settings.DriveMonitor_ShowLogicalDrivesFixedOnly.Value = c.FixedOnly;
    ASSERT_EQ(m.Logger().NumHardwareDrives(), 2);
    TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::Drives);
    // Per drive: header, gauges, divider, rates; one divider between drives;
    // each logical drive adds a divider and a row.
    ExpectCounts(w, {6 + c.Logical, 3 + c.Logical, static_cast<int>(std::nearbyint((6 + c.Logical) * 22 + (3 + c.Logical) * 6.6))},
                 "logical " + std::to_string(c.Logical));
    TRows rows(w.Grid());
    int logicalRows = 0;
    for (int r = 0; r < rows.Count(); ++r)
      if (rows.Shape(r) == "L1 L2 G4 L3") {
        ++logicalRows;
        EXPECT_TRUE(rows.Divider(r - 1));
        EXPECT_EQ(rows.LabelAt(r, 0)->Settings().Mode, lmDisk);
        const int index = rows.LabelAt(r, 0)->Settings().DiskModeDriveIndex;
        if (c.FixedOnly) {
          EXPECT_NE(index, 3) << "the removable E: has no row";
        }
      }
    EXPECT_EQ(logicalRows, c.Logical);
  }
}

TEST(DriveWindow, HardwareDriveRowsWithLineGraphs) {
  TMachine m("server");
  m.Settings.DriveMonitor_ShowLogicalDrives.Value = false;
  ASSERT_EQ(m.Logger().NumHardwareDrives(), 4);
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::Drives);
  TRows rows(w.Grid());
  EXPECT_EQ(rows.Shape(0), "L10");
  EXPECT_EQ(rows.Shape(1), "G3 L1 L2 L1 G3");
  EXPECT_EQ(rows.Caption(1, 3), "Read");
  EXPECT_EQ(rows.Caption(1, 6), "Write");
  EXPECT_EQ(rows.LabelAt(1, 3)->Settings().Borders, lbNoBottom);
  EXPECT_EQ(rows.Shape(2), "LG3 L1 LG2 L1 LG3");
  EXPECT_TRUE(rows.Divider(3));
  EXPECT_EQ(rows.Shape(4), "LG3 L2 L2 LG3");
  // 4 × 4 standard rows; 4 + 3 dividers.
  ExpectCounts(w, {16, 7, 398}, "server drives");
}

// --- network ------------------------------------------------------------------

TEST(NetworkWindow, OneSectionIsElevenRowsAndADivider) {
  TMachine m("intel-hybrid");
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::Network);
  ExpectCounts(w, {11, 1, 249}, "one interface");
  EXPECT_EQ(m.HostOf(w).ClientHeight, 249);
  TRows rows(w.Grid());
  EXPECT_EQ(rows.Caption(0, 0), "Adapter 1");
  EXPECT_EQ(rows.Shape(1), "N10");
  EXPECT_TRUE(rows.Divider(6));
  EXPECT_EQ(rows.Shape(7), "N10");
  ASSERT_EQ(w.Grid().NumNetGraphs(), 2);
  EXPECT_EQ(w.Grid().NetGraphs()[0]->Settings().Mode, ngmUpload);
  EXPECT_EQ(w.Grid().NetGraphs()[1]->Settings().Mode, ngmDownload);
  // The disabled adapter joins when disabled ones are wanted, after an Alt divider.
  m.Settings.NetworkMonitor_ShowDisabledInterfaces.Value = true;
  w.RebuildMonitorWindow();
  ExpectCounts(w, {22, 3, 504}, "two interfaces");
  EXPECT_EQ(TRows(w.Grid()).Caption(13, 0), "Adapter 2");
}

TEST(NetworkWindow, NoQualifyingInterfaceShowsTheMessageRowsAndCustomRowsFollow) {
  TMachine m("intel-hybrid");
  for (TQD_IFRow& r : m.Fakes.Network.Rows) r.InterfaceAndOperStatusFlags = 0;  // not hardware
  TQD_CustomReadingsList list;
  list.Add(TQD_URID::CreateNew(0xF0000300, 0, 0x7000000), "");
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::Network, &list);
  TRows rows(w.Grid());
  ASSERT_GE(rows.Count(), 4);
  EXPECT_EQ(rows.Caption(0, 0), "Network Monitor");
  EXPECT_EQ(rows.Caption(1, 0), "No enabled network interface found");
  EXPECT_TRUE(rows.Divider(2));
  EXPECT_EQ(rows.Shape(3), "L5 G5");
  ExpectCounts(w, {3, 1, 73}, "no interface");
}

TEST(NetworkWindow, RefreshRepaintsTheWidgetsOfCustomRows) {
  TMachine m("intel-hybrid");
  TQD_CustomReadingsList list;
  const TQD_URID usage = m.Logger().CPUs()[1].Usage;
  list.Add(usage, "");
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::Network, &list);
  ASSERT_EQ(w.Grid().NumGauges(), 1);
  TQD_Gauge& gauge = *w.Grid().Gauges()[0];
  std::vector<TQD_Widget*> dirty;
  w.Grid().TakeDirty(dirty);
  const double before = gauge.Values().Pos;
  const std::string shown = m.Logger().FormatValue(usage, dcsValue);
  int tick = 1;
  do m.Poll(tick++);  // until the usage moves
  while (m.Logger().FormatValue(usage, dcsValue) == shown && tick < 20);
  ASSERT_LT(tick, 20);
  w.RefreshMonitorWindow();
  EXPECT_TRUE(gauge.Dirty);
  EXPECT_NE(gauge.Values().Pos, before);
}

// --- golden images ------------------------------------------------------------

namespace {

// The window after a few polls, as the screen would show it.
TBitmap32 Render(TMachine& AMachine, TQD_MonitorKind AKind, int APolls, int AMaxHeight = 0) {
  TQD_MonitorWindow& w = AMachine.Open(AKind);
  for (int i = 1; i <= APolls; ++i) {
    AMachine.Poll(i);
    w.RefreshMonitorWindow();
  }
  if (AKind == TQD_MonitorKind::Clock) static_cast<TMonitor_Clock&>(w).Tick();
  const TFakeMonitorHost& host = AMachine.HostOf(w);
  TBitmap32 frame(host.ClientWidth, host.ClientHeight);
  w.Grid().RenderTo(frame);
  if (AMaxHeight <= 0 || frame.Height() <= AMaxHeight) return frame;
  TBitmap32 top(frame.Width(), AMaxHeight);
  for (int y = 0; y < AMaxHeight; ++y)
    for (int x = 0; x < frame.Width(); ++x) top.SetPixel(x, y, frame.Pixel(x, y));
  return top;
}

}  // namespace

TEST(MonitorGolden, EveryWindowOnEveryProfile) {
  struct TCase {
    TQD_MonitorKind Kind;
    const char* Window;
    const char* Profile;
    int MaxHeight;
  };
  const TCase cases[] = {
      {TQD_MonitorKind::CPU, "cpu", "intel-hybrid", 0},
      {TQD_MonitorKind::CPU, "cpu", "amd-desktop", 0},
      {TQD_MonitorKind::CPU, "cpu", "server", 400},  // the top: 4261 rows would be 9 MB
      {TQD_MonitorKind::GPU, "gpu", "intel-hybrid", 0},
      {TQD_MonitorKind::GPU, "gpu", "amd-desktop", 0},
      {TQD_MonitorKind::GPU, "gpu", "server", 0},  // no GPU: the error layout
      {TQD_MonitorKind::Drives, "drives", "intel-hybrid", 0},
      {TQD_MonitorKind::Drives, "drives", "amd-desktop", 0},
      {TQD_MonitorKind::Drives, "drives", "server", 0},
      // The network window shows the interfaces, the same on every profile.
      {TQD_MonitorKind::Network, "network", "intel-hybrid", 0},
      {TQD_MonitorKind::Clock, "clock", "intel-hybrid", 0},
  };
  for (const TCase& c : cases) {
    TMachine m(c.Profile);
    m.Settings.DriveMonitor_ShowLogicalDrivesFixedOnly.Value = true;
    ExpectMatchesGolden(Render(m, c.Kind, 12, c.MaxHeight), std::string("monitor_") + c.Window + "_" + c.Profile);
  }
}

// --- allocations ----------------------------------------------------------------

// Once built, the CPU window refreshes every second for as long as the
// program runs: asking every widget must not touch the heap, and neither
// must drawing the ones whose values moved, as the window's paint does.
TEST(CPUWindow, RefreshAllocatesNothing) {
  TMachine m("server");
  TQD_MonitorWindow& w = m.Open(TQD_MonitorKind::CPU);
  std::vector<TQD_Widget*> dirty;
  auto refreshAndPaint = [&] {
    w.RefreshMonitorWindow();
    w.Grid().TakeDirty(dirty);
    for (TQD_Widget* widget : dirty) widget->Draw();
  };
  m.Poll(1);
  refreshAndPaint();  // the canvas and the texts reach their working sizes
  m.Poll(2);
  refreshAndPaint();
  long idle = HeapAllocations();
  refreshAndPaint();  // nothing new
  idle = HeapAllocations() - idle;
  long moved = 0;
  size_t repainted = 0;
  for (int tick = 3; tick < 6; ++tick) {
    m.Poll(tick);
    const long before = HeapAllocations();
    refreshAndPaint();
    moved += HeapAllocations() - before;
    repainted += dirty.size();
  }
  EXPECT_GT(repainted, 300u);  // the polls did change what the window shows
  EXPECT_EQ(idle, 0);
  EXPECT_EQ(moved, 0) << "over 3 refreshes that repainted " << repainted << " widgets";
}
