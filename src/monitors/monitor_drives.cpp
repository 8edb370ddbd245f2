// The drive window's rows: every hardware drive HWiNFO reports (activity,
// temperature, rates), then, when wanted, every logical drive (letter, name,
// used and total space).
#include <string>

#include "collector/data_logger.h"
#include "monitors/monitors.h"
#include "monitors/recipe_rows.h"
#include "settings/settings.h"

void TMonitor_Drives::AddContentRows() {
  if (!FDataLogger) return;
  const TQD_DataLogger& L = *FDataLogger;
  const bool LG = FSettings.LineGraphsEnabled.Value;
  const int VPC = FSettings.LineGraphValuesPerCol.Value;
  const double threshold = FSettings.DriveMonitor_TemperatureThreshold.Value;
  TQD_GridContainer& G = FGrid;

  const auto standard = StyleStandard;
  auto rateLabel = [&](int ASpan, const TQD_LabelColors_Str& APreset, const TQD_URID& AURID) {
    TQD_Label& l = G.AddLabel(ASpan);
    l.ApplyColorPreset(APreset);
    l.Settings().Gradient = gtDouble;
    l.Settings().TextBackground = tbOutline;
    l.AddCaption(AURID, dcsValue);
  };

  for (size_t h = 1; h < L.HardwareDrives().size(); ++h) {
    const TQD_DRVMTR_AHardwareDrive& d = L.HardwareDrives()[h];
    if (!G.GridEmpty()) G.AddDividerRow();
    G.AddRow(rtStandard);
    TQD_Label& header = G.AddLabel(10);
    header.ApplyColorPreset(LabelColors_Drives);
    header.Settings().Gradient = gtTriple;
    header.AddCaption(d.Name);

    AddGaugeTemperatureGaugeRows(G, LG, VPC, {d.ReadActivity, "Read", GaugeColors_Default, LineGraphColors_Default},
                                 d.Temperature, threshold,
                                 {d.WriteActivity, "Write", GaugeColors_Default, LineGraphColors_Default});

    G.AddDividerRow();
    G.AddRow(rtStandard);
    if (LG) G.AddLineGraph(3, 1).AddGraph(d.ReadRate, dcsValue, 3 * VPC, LineGraphColors_DiskRead);
    rateLabel(LG ? 2 : 5, LabelColors_DrivesLo, d.ReadRate);
    rateLabel(LG ? 2 : 5, LabelColors_DrivesHi, d.WriteRate);
    if (LG) G.AddLineGraph(3, 1).AddGraph(d.WriteRate, dcsValue, 3 * VPC, LineGraphColors_DiskWrite);
  }

  if (!FSettings.DriveMonitor_ShowLogicalDrives.Value) return;
  const bool fixedOnly = FSettings.DriveMonitor_ShowLogicalDrivesFixedOnly.Value;
  auto diskLabel = [&](int ASpan, int ADrive, TQD_LabelDiskModeValue AValue, bool ALeft) {
    TQD_Label& l = G.AddLabel(ASpan);
    l.Settings().Mode = lmDisk;
    l.Settings().DiskModeDriveIndex = ADrive;
    l.Settings().DiskModeValue = AValue;
    l.AddCaption("");
    standard(l, ALeft);
  };
  for (size_t d = 1; d < L.LogicalDrives().size(); ++d) {
    if (fixedOnly && !L.LogicalDrives()[d].Fixed) continue;
    const int index = static_cast<int>(d);
    G.AddDividerRow();
    G.AddRow(rtStandard);
    diskLabel(1, index, dmLetter, true);
    diskLabel(2, index, dmName, false);
    TQD_Gauge& used = G.AddGauge(4);
    used.ApplyColorPreset(GaugeColors_DiskUsed);
    used.Settings().Mode = gmDiskUsed;
    used.Settings().DiskModeDriveIndex = index;
    used.Settings().LabelPosition = glpCentered;
    diskLabel(3, index, dmTotalSpace, false);
  }
}
