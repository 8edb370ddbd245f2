// quendal_widget_sheet: a sheet of every widget kind, fed by a built-in machine
// profile through a data logger, rendered to a PNG so the widgets can be
// looked at. Usage: quendal_widget_sheet [out.png] [profile] [polls]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "widgets/color_table.h"
#include "collector/data_logger.h"
#include "sim/fake_ports.h"
#include "monitors/grid_container.h"
#include "render/png_writer.h"
#include "sim/profile_machine.h"
#include "sim/profiles.h"
#include "settings/settings.h"

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "quendal_widget_sheet.png";
  const std::string profileName = argc > 2 ? argv[2] : "intel-hybrid";
  const int polls = argc > 3 ? std::max(1, std::atoi(argv[3])) : 30;

  std::unique_ptr<TProfileMachine> machine;
  try {
    machine = std::make_unique<TProfileMachine>(profileName);
  } catch (const std::invalid_argument& e) {
    std::fprintf(stderr, "quendal_widget_sheet: %s\n", e.what());
    return 2;
  }
  TQD_DataLogger& logger = machine->Logger();
  TQD_ColorTable colors;
  TQD_Settings settings;
  settings.FontAntialiasing.Value = true;
  TQD_GridContainer grid(&settings);
  grid.Font.Height = -15;
  grid.SetColorTable(&colors);
  grid.SetDataLogger(&logger);

  const TQD_CPUMTR_ACPU& cpu = logger.CPUs().at(1);
  const TQD_URID coreTemp = cpu.Cores.empty() ? TQD_URID{} : cpu.Cores[0].Temperature;

  grid.StartUpdating();
  grid.ResetGrid();
  grid.AddRow(rtStandard);
  TQD_Label& title = grid.AddLabel(10);
  title.ApplyColorPreset(LabelColors_IntelBlue);
  title.Settings().Gradient = gtStandard;
  title.AddCaption("Widget sheet: " + machine->Profile.Name);
  grid.AddDividerRow();
  grid.AddRow(rtStandard);
  TQD_Label& name = grid.AddLabel(3);
  name.Settings().Gradient = gtTriple;
  name.AddCaption("Total usage");
  TQD_Gauge& usage = grid.AddGauge(7);
  usage.Settings().URID = cpu.Usage;
  usage.Settings().LabelPosition = glpBarEdge;
  grid.AddRow(rtStandard);
  TQD_Gauge& ram = grid.AddGauge(5);
  ram.ApplyColorPreset(GaugeColors_RAM);
  ram.Settings().Mode = gmRAMUsed;
  ram.Settings().LabelPosition = glpCentered;
  TQD_Gauge& power = grid.AddGauge(5);
  power.ApplyColorPreset(GaugeColors_Power);
  power.Settings().URID = cpu.PackagePower;
  power.Settings().Orientation = orLeft;
  power.Settings().LabelPosition = glpBarEdge;
  grid.AddRow(rtStandard);
  TQD_Label& temp = grid.AddLabel(5);
  temp.Settings().Mode = lmTemperature;
  temp.Settings().TextBackground = tbOutline;
  temp.SetTemperatureThreshold(100);
  temp.AddCaption(cpu.Temperature, dcsValue, CaptionColors_Darkest);
  TQD_Label& values = grid.AddLabel(5);
  values.ApplyColorPreset(LabelColors_Dark);
  values.Settings().Gradient = gtStandard;
  values.AddCaption(cpu.Temperature, dcsValueMin, CaptionColors_Dark);
  values.AddCaption(cpu.Temperature, dcsValueMax, CaptionColors_Power);
  grid.AddDividerRowAlt();
  grid.AddRows(rtStandard, 3);
  TQD_LineGraph& lines = grid.AddLineGraph(5, 3);
  lines.Settings().LabelPosition = lgpTopCorner;
  lines.AddGraph(cpu.Usage, dcsValue, 100, LineGraphColors_Usage);
  lines.LineGraphs()[0].ShowValueCaption = true;
  TQD_LineGraph& temps = grid.AddLineGraph(5, 3);
  temps.Settings().Mode = lgmTemperature;
  temps.AddGraph(coreTemp, dcsValue, 100, LineGraphColors_Temperature);
  temps.LineGraphs()[0].MaxValueManual = 100;
  grid.AddRows(rtStandard, 6);
  TQD_NetGraph& up = grid.AddNetGraph(10, 3);
  up.Settings().LabelPosition = TQD_NetGraphLabelPosition::lgpOn;
  up.AddGraph(MakeGuid(1), NetGraphColors_Upload);
  TQD_NetGraph& down = grid.AddNetGraph(10, 3);
  down.Settings().Mode = ngmDownload;
  down.ApplyColorPreset(NetGraphBGColors_Download);
  down.Settings().LabelPosition = TQD_NetGraphLabelPosition::lgpOn;
  down.AddGraph(MakeGuid(1), NetGraphColors_Download);
  grid.UpdateGridDimensions();
  grid.SetClientSize(grid.ContentWidth(), grid.ContentHeight());
  grid.StopUpdating();

  for (int i = 1; i <= polls; ++i) {
    machine->Poll(i);
    for (TQD_Gauge* g : grid.Gauges()) g->ManualRepaint();
    for (TQD_Label* l : grid.Labels()) l->ManualRepaint();
    for (TQD_LineGraph* g : grid.LineGraphs()) g->ManualRepaint();
    for (TQD_NetGraph* g : grid.NetGraphs()) g->ManualRepaint();
  }
  TBitmap32 sheet(grid.ClientWidth(), grid.ClientHeight());
  grid.RenderTo(sheet);
  std::string error;
  if (!WritePngFile(sheet, path, &error)) {
    std::fprintf(stderr, "quendal_widget_sheet: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", path.c_str());
  return 0;
}
