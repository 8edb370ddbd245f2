// The GPU window's rows: per GPU a header with name and memory size, usage,
// temperature and power, video memory, fans, and the titled "Core",
// "Memory" and "Video" blocks of the readings the GPU has.
#include <string>

#include "collector/data_logger.h"
#include "collector/locale_port.h"
#include "monitors/monitors.h"
#include "monitors/recipe_rows.h"
#include "settings/settings.h"
#include "collector/value_format.h"

std::string GPUMemorySizeText(uint32_t AMemoryTotal) {
  if (AMemoryTotal == 0) return {};
  std::string text = FormatFixed(AMemoryTotal / 1024.0, 1);
  // A whole number of GiB drops its separator and "0"; the separator may
  // take several bytes.
  const size_t tail = CurrentLocale().DecimalSeparator().size() + 1;
  if (text.size() > tail && text.back() == '0') text.resize(text.size() - tail);
  return text + " GiB";
}

void TMonitor_GPU::AddContentRows() {
  if (!FDataLogger) return;
  const TQD_DataLogger& L = *FDataLogger;
  const bool LG = FSettings.LineGraphsEnabled.Value;
  const int VPC = FSettings.LineGraphValuesPerCol.Value;
  const double packageThreshold = FSettings.GPUMonitor_PackageTemperatureThreshold.Value;
  const double hotspotThreshold = FSettings.GPUMonitor_HotspotTemperatureThreshold.Value;
  const double memoryThreshold = FSettings.GPUMonitor_MemoryTemperatureThreshold.Value;
  TQD_GridContainer& G = FGrid;

  const auto standard = StyleStandard;
  const auto temperature = MakeTemperatureLabel;
  auto blockName = [&](int ASpan, const std::string& ACaption) {
    TQD_Label& l = G.AddLabel(ASpan);
    l.AddCaption(ACaption);
    l.Settings().Gradient = LG ? gtDouble : gtStandard;
    if (LG) l.Settings().Orientation = orLeft;
  };
  auto graph = [&](const TQD_URID& AURID, const TQD_LineGraphColors_Str& APreset) -> TQD_LineGraph& {
    TQD_LineGraph& g = G.AddLineGraph(4, 1);
    g.AddGraph(AURID, dcsValue, 4 * VPC, APreset);
    return g;
  };
  // A temperature row: value, name, graph (or value and a longer name).
  auto temperatureRow = [&](const TQD_URID& AURID, double AThreshold, const char* AShort, const char* ALong) {
    G.AddRow(rtStandard);
    temperature(G.AddLabel(LG ? 4 : 5), AURID, AThreshold);
    if (LG) {
      blockName(2, AShort);
      TQD_LineGraph& g = graph(AURID, LineGraphColors_Temperature);
      g.Settings().Mode = lgmTemperature;
      g.LineGraphs()[0].MaxValueManual = AThreshold;
    } else {
      blockName(5, ALong);
    }
  };
  auto valueRow = [&](const TQD_URID& AURID, const TQD_LabelCaptionColors_Str* AColors,
                      const TQD_LineGraphColors_Str& APreset, const char* AShort, const char* ALong) {
    G.AddRow(rtStandard);
    TQD_Label& value = G.AddLabel(LG ? 4 : 5);
    if (AColors) value.AddCaption(AURID, dcsValue, *AColors);
    else value.AddCaption(AURID, dcsValue);
    standard(value, true);
    blockName(LG ? 2 : 5, LG ? AShort : ALong);
    if (LG) graph(AURID, APreset);
  };
  auto loadRow = [&](const TQD_URID& AURID, const char* AShort, const char* ALong) {
    G.AddRow(rtStandard);
    TQD_Gauge& g = G.AddGauge(LG ? 4 : 5);
    g.Settings().URID = AURID;
    g.Settings().LabelPosition = glpCentered;
    g.Settings().Orientation = orLeft;
    blockName(LG ? 2 : 5, LG ? AShort : ALong);
    if (LG) graph(AURID, LineGraphColors_Default);
  };

  const int numGPUs = L.NumGPUs();
  for (size_t g = 1; g < L.GPUs().size(); ++g) {
    const TQD_GPUMTR_AGPU& gpu = L.GPUs()[g];
    const TQD_LabelColors_Str noColors = {"", "", ""};
    const TQD_LabelCaptionColors_Str noCaptionColors = {"", ""};
    const TQD_LabelColors_Str& headerPreset = gpu.Vendor == 1   ? LabelColors_IntelBlue
                                              : gpu.Vendor == 2 ? LabelColors_AMDRed
                                              : gpu.Vendor == 3 ? LabelColors_NVIDIAGreen
                                                                : noColors;
    const TQD_LabelColors_Str& titlePreset = gpu.Vendor == 1   ? LabelColors_IntelBlueDark
                                             : gpu.Vendor == 2 ? LabelColors_AMDRedDark
                                             : gpu.Vendor == 3 ? LabelColors_NVIDIAGreenDark
                                                               : noColors;
    const TQD_LabelCaptionColors_Str& titleCaption = gpu.Vendor == 1   ? CaptionColors_IntelBlue
                                                     : gpu.Vendor == 2 ? CaptionColors_AMDRed
                                                     : gpu.Vendor == 3 ? CaptionColors_NVIDIAGreen
                                                                       : noCaptionColors;
    const std::string memory = GPUMemorySizeText(gpu.MemoryTotal);

    // Header.
    if (!G.GridEmpty()) G.AddDividerRow();
    G.AddRow(rtStandard);
    TQD_Label& header = G.AddLabel(10);
    header.ApplyColorPreset(headerPreset);
    standard(header, true);
    std::string caption = gpu.GPUName + " (" + memory + ")";
    if (numGPUs > 1) caption += " [#" + std::to_string(g) + "]";
    header.AddCaption(caption);

    // Usage, temperature, power.
    AddGaugeTemperatureGaugeRows(G, LG, VPC, {gpu.Usage, "Usage", GaugeColors_Usage, LineGraphColors_Usage},
                                 gpu.Temperature, packageThreshold,
                                 {gpu.Power, "Power", GaugeColors_Power, LineGraphColors_Power});

    // Video memory in use.
    G.AddDividerRow();
    TQD_NamedGaugeRow vram =
        AddNamedGaugeRow(G, LG, VPC, "VRAM", GaugeColors_RAM, gpu.MemoryAllocated, LineGraphColors_RAM);
    vram.Gauge.Settings().URID = gpu.MemoryAllocated;
    vram.Gauge.Settings().ForceGiB = true;
    vram.Gauge.Settings().MaxValueManual = gpu.MemoryTotal;
    if (vram.Graph) vram.Graph->LineGraphs()[0].MaxValueManual = gpu.MemoryTotal;
    if (gpu.MemoryTotal != 0) vram.Right.AddCaption(memory);

    // Fans.
    if (!gpu.Fans.empty()) G.AddDividerRow();
    for (size_t j = 0; j < gpu.Fans.size(); ++j)
      AddNamedGaugeRow(G, LG, VPC, "Fan " + std::to_string(j + 1), GaugeColors_Fan, gpu.Fans[j], LineGraphColors_Fan)
          .Gauge.Settings()
          .URID = gpu.Fans[j];

    auto title = [&](const char* ACaption) {
      G.AddDividerRow();
      G.AddRow(rtStandard);
      TQD_Label& l = G.AddLabel(10);
      l.ApplyColorPreset(titlePreset);
      l.AddCaption(ACaption, titleCaption);
      l.Settings().TextBackground = tbOutline;
      l.Settings().Gradient = gtDouble;
    };
    title("Core");
    if (!URIDIsEmpty(gpu.Hotspot)) temperatureRow(gpu.Hotspot, hotspotThreshold, "Hotspot", "Hotspot temperature");
    valueRow(gpu.Clock, nullptr, LineGraphColors_Clockspeed, "Clock", "Core clock");
    valueRow(gpu.Voltage, &CaptionColors_Voltage, LineGraphColors_Voltage, "Voltage", "Core Voltage");
    title("Memory");
    if (!URIDIsEmpty(gpu.MemoryTemperature))
      temperatureRow(gpu.MemoryTemperature, memoryThreshold, "Temp", "Memory Temperature");
    if (!URIDIsEmpty(gpu.MemoryClock))
      valueRow(gpu.MemoryClock, nullptr, LineGraphColors_Clockspeed, "Clock", "Memory Clock");
    if (!URIDIsEmpty(gpu.MemoryControllerLoad))
      loadRow(gpu.MemoryControllerLoad, "Controller Load", "Memory Controller Load");
    title("Video");
    if (!URIDIsEmpty(gpu.VideoClock)) valueRow(gpu.VideoClock, nullptr, LineGraphColors_Clockspeed, "Clock", "Video Clock");
    if (!URIDIsEmpty(gpu.VideoEngineLoad)) loadRow(gpu.VideoEngineLoad, "Engine Load", "Video Engine Load");
  }
}
