// The CPU window's rows: per processor a header, usage/temperature/power,
// RAM, the CPU fan, then the cores two per row, mirrored (even core on the
// left, the next odd core on the right), each with its hardware threads.
#include <string>

#include "collector/data_logger.h"
#include "monitors/monitors.h"
#include "monitors/recipe_rows.h"
#include "settings/settings.h"

namespace {

// The header text: the processor name after the sensor's "[#n]: " prefix,
// its core and thread counts, and the socket number on multi-socket machines.
std::string CPUHeader(const TQD_DataLogger& L, const TQD_CPUMTR_ACPU& ACPU) {
  const std::string sensor = L.FormatValue(ACPU.Usage, dcsSensorNameOrig);
  const size_t at = sensor.find("]: ");
  std::string name = at != std::string::npos ? sensor.substr(at + 3) : (sensor.size() > 2 ? sensor.substr(2) : "");
  const TQD_CPUINFO& info = L.CPUInfo();
  name += " (" + std::to_string(info.NumPhysicalCores) + " Cores, " + std::to_string(info.NumLogicalProcessors) +
          " Threads)";
  if (info.NumCPUs > 1) name += " [#" + std::to_string(ACPU.Usage.dwSensorInst) + "]";
  return name;
}

}  // namespace

void TMonitor_CPU::AddContentRows() {
  if (!FDataLogger) return;
  const TQD_DataLogger& L = *FDataLogger;
  const bool LG = FSettings.LineGraphsEnabled.Value;
  const int VPC = FSettings.LineGraphValuesPerCol.Value;
  const double packageThreshold = FSettings.CPUMonitor_PackageTemperatureThreshold.Value;
  const double coreThreshold = FSettings.CPUMonitor_CoreTemperatureThreshold.Value;
  const int showPercent = FSettings.CPUMonitor_ThreadUsageShowPercent.Value;
  const uint32_t vendor = L.CPUInfo().Vendor;
  TQD_GridContainer& G = FGrid;

  const auto standard = StyleStandard;
  const auto temperature = MakeTemperatureLabel;
  auto threadGauge = [&](const TQD_CPUMTR_ACore& ACore, int AThread, bool ALeft) {
    TQD_Gauge& g = G.AddGauge(3);
    if (AThread < static_cast<int>(ACore.HardwareThreads.size()))
      g.Settings().URID = ACore.HardwareThreads[static_cast<size_t>(AThread)].Usage;
    if (ALeft) g.Settings().Orientation = orLeft;
    g.ApplyColorPreset(ACore.IsECore ? GaugeColors_ECore : GaugeColors_PCore);
    if (showPercent == 1) g.Settings().LabelPosition = glpBarEdge;
    if (showPercent == 2) g.Settings().LabelPosition = glpCentered;
  };
  auto hybridCoreLabel = [&](const TQD_CPUMTR_ACore& ACore, bool ALeft) {
    TQD_Label& l = G.AddLabel(1);
    standard(l, ALeft);
    if (ACore.IsPCore) {
      l.ApplyColorPreset(LabelColors_PCore);
      l.AddCaption("P", CaptionColors_IntelRed);
    }
    if (ACore.IsECore) {
      l.ApplyColorPreset(LabelColors_ECore);
      l.AddCaption("E", CaptionColors_IntelBlue);
    }
  };

  for (size_t k = 1; k < L.CPUs().size(); ++k) {
    const TQD_CPUMTR_ACPU& cpu = L.CPUs()[k];

    // Header.
    if (!G.GridEmpty()) G.AddDividerRow();
    G.AddRow(rtStandard);
    TQD_Label& header = G.AddLabel(10);
    standard(header, true);
    if (vendor == 1) header.ApplyColorPreset(LabelColors_IntelBlue);
    if (vendor == 2) header.ApplyColorPreset(LabelColors_AMDRed);
    header.AddCaption(CPUHeader(L, cpu));

    // Usage, package temperature, package power.
    AddGaugeTemperatureGaugeRows(G, LG, VPC, {cpu.Usage, "Usage", GaugeColors_Usage, LineGraphColors_Usage},
                                 cpu.Temperature, packageThreshold,
                                 {cpu.PackagePower, "Power", GaugeColors_Power, LineGraphColors_Power});

    // RAM.
    G.AddDividerRow();
    TQD_NamedGaugeRow ram = AddNamedGaugeRow(G, LG, VPC, "RAM", GaugeColors_RAM, TQD_URID{}, LineGraphColors_RAM);
    ram.Gauge.Settings().Mode = gmRAMUsed;
    if (ram.Graph) ram.Graph->Settings().Mode = lgmRAM;
    ram.Right.AddCaption("");
    ram.Right.Settings().Mode = lmRAMTotal;

    // CPU fan.
    if (!URIDIsEmpty(cpu.Fanspeed)) {
      G.AddDividerRow();
      AddNamedGaugeRow(G, LG, VPC, "Fan", GaugeColors_Fan, cpu.Fanspeed, LineGraphColors_Fan).Gauge.Settings().URID =
          cpu.Fanspeed;
    }
    G.AddDividerRow();

    // Cores, two per row. A missing odd partner shows no readings, and no
    // CCD either (a default core's CCD of 0 would read "CCD 0").
    TQD_CPUMTR_ACore none;
    none.CCD = -1;
    const int C = static_cast<int>(cpu.Cores.size());
    auto ccd = [&](const TQD_CPUMTR_ACore& X) { return vendor == 2 && X.CCD >= 0; };
    auto threadRow = [&](int i, int t) {
      const TQD_CPUMTR_ACore& A = cpu.Cores[static_cast<size_t>(i)];
      const TQD_CPUMTR_ACore& B = i + 1 < C ? cpu.Cores[static_cast<size_t>(i + 1)] : none;
      G.AddRow(rtStandard);
      threadGauge(A, t, true);
      const std::string thread = "T" + std::to_string(t);
      if (A.IsPCore || A.IsECore) {
        TQD_Label& t1 = G.AddLabel(1);
        t1.AddCaption(thread, CaptionColors_Dark2);
        standard(t1, true);
        hybridCoreLabel(A, true);
      } else {
        TQD_Label& t1 = G.AddLabel(1);
        t1.ApplyColorPreset(LabelColors_Dark);
        t1.AddCaption(thread, CaptionColors_Dark2);
        if (!ccd(A)) t1.Settings().Borders = lbNoRight;
        standard(t1, true);
        TQD_Label& t2 = G.AddLabel(1);
        t2.ApplyColorPreset(LabelColors_Dark);
        if (ccd(A)) t2.AddCaption("CCD " + std::to_string(A.CCD), CaptionColors_Darker);
        else t2.Settings().Borders = lbNoLeft;
        standard(t2, true);
      }
      if (B.IsPCore || B.IsECore) {
        hybridCoreLabel(B, false);
        TQD_Label& t2 = G.AddLabel(1);
        t2.AddCaption(thread, CaptionColors_Dark2);
        standard(t2, false);
      } else {
        TQD_Label& c1 = G.AddLabel(1);
        c1.ApplyColorPreset(LabelColors_Dark);
        if (ccd(B)) c1.AddCaption("CCD " + std::to_string(B.CCD), CaptionColors_Darker);
        else c1.Settings().Borders = lbNoRight;
        standard(c1, false);
        TQD_Label& t2 = G.AddLabel(1);
        t2.ApplyColorPreset(LabelColors_Dark);
        t2.AddCaption(thread, CaptionColors_Dark2);
        if (!ccd(B)) t2.Settings().Borders = lbNoLeft;
      }
      threadGauge(B, t, false);
    };
    auto coreRow = [&](int i) {
      const TQD_CPUMTR_ACore& A = cpu.Cores[static_cast<size_t>(i)];
      const TQD_CPUMTR_ACore& B = i + 1 < C ? cpu.Cores[static_cast<size_t>(i + 1)] : none;
      G.AddRow(rtStandard);
      TQD_Label& a = G.AddLabel(3);
      a.AddCaption(A.Clock, dcsValue);
      if (vendor == 2) a.AddCaption(A.Power, dcsValue, CaptionColors_Power);
      a.AddCaption(A.Voltage, dcsValue, CaptionColors_Voltage);
      standard(a, true);
      TQD_Label& nameA = G.AddLabel(1);
      nameA.ApplyColorPreset(LabelColors_Black);
      nameA.AddCaption("Core " + std::to_string(i));
      temperature(G.AddLabel(1), A.Temperature, coreThreshold);
      temperature(G.AddLabel(1), B.Temperature, coreThreshold);
      TQD_Label& nameB = G.AddLabel(1);
      nameB.ApplyColorPreset(LabelColors_Black);
      nameB.AddCaption("Core " + std::to_string(i + 1));
      TQD_Label& b = G.AddLabel(3);
      b.AddCaption(B.Voltage, dcsValue, CaptionColors_Voltage);
      if (vendor == 2) b.AddCaption(B.Power, dcsValue, CaptionColors_Power);
      b.AddCaption(B.Clock, dcsValue);
      standard(b, false);
    };
    for (int i = 0; i < C; i += 2) {
      const int T = static_cast<int>(cpu.Cores[static_cast<size_t>(i)].HardwareThreads.size());
      if (T == 1) {
        threadRow(i, 0);
        coreRow(i);
      } else if (T == 2) {
        threadRow(i, 0);
        coreRow(i);
        threadRow(i, 1);
      } else {
        for (int t = 0; t < T; ++t) threadRow(i, t);
        coreRow(i);
      }
      if (i < C - 2) G.AddDividerRow();
    }
  }
}
