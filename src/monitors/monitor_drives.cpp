// The drive window's rows: every hardware drive HWiNFO reports (activity,
// temperature, rates), then, when wanted, every logical drive (letter, name,
// used and total space).
#include <string>

#include "data_logger.h"
#include "monitors.h"
#include "settings.h"

void TMonitor_Drives::AddContentRows() {
  if (!FDataLogger) return;
  const TQD_DataLogger& L = *FDataLogger;
  const bool LG = FSettings.LineGraphsEnabled.Value;
  const int VPC = FSettings.LineGraphValuesPerCol.Value;
  const double threshold = FSettings.DriveMonitor_TemperatureThreshold.Value;
  TQD_GridContainer& G = FGrid;

  auto standard = [](TQD_Label& l, bool ALeft) {
    l.Settings().Gradient = gtStandard;
    if (ALeft) l.Settings().Orientation = orLeft;
  };
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

    G.AddRow(rtStandard);
    TQD_Gauge& read = G.AddGauge(3);
    read.ApplyColorPreset(GaugeColors_Default);
    read.Settings().URID = d.ReadActivity;
    read.Settings().Orientation = orLeft;
    read.Settings().LabelPosition = glpCentered;
    TQD_Label& readName = G.AddLabel(1);
    readName.AddCaption("Read");
    standard(readName, true);
    if (LG) readName.Settings().Borders = lbNoBottom;
    TQD_Label& temp = G.AddLabel(2);
    temp.Settings().Mode = lmTemperature;
    temp.Settings().TextBackground = tbOutline;
    temp.SetTemperatureThreshold(threshold);
    temp.AddCaption(d.Temperature, dcsValue, CaptionColors_Darkest);
    TQD_Label& writeName = G.AddLabel(1);
    writeName.AddCaption("Write");
    standard(writeName, false);
    if (LG) writeName.Settings().Borders = lbNoBottom;
    TQD_Gauge& write = G.AddGauge(3);
    write.ApplyColorPreset(GaugeColors_Default);
    write.Settings().URID = d.WriteActivity;
    write.Settings().LabelPosition = glpCentered;

    if (LG) {
      G.AddRow(rtStandard);
      G.AddLineGraph(3, 1).AddGraph(d.ReadActivity, dcsValue, 3 * VPC, LineGraphColors_Default);
      TQD_Label& left = G.AddLabel(1);
      standard(left, true);
      left.Settings().Borders = lbNoTop;
      TQD_LineGraph& t = G.AddLineGraph(2, 1);
      t.Settings().Mode = lgmTemperature;
      t.AddGraph(d.Temperature, dcsValue, 2 * VPC, LineGraphColors_Temperature);
      t.LineGraphs()[0].MaxValueManual = threshold;
      TQD_Label& right = G.AddLabel(1);
      standard(right, false);
      right.Settings().Borders = lbNoTop;
      G.AddLineGraph(3, 1).AddGraph(d.WriteActivity, dcsValue, 3 * VPC, LineGraphColors_Default);
    }

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
