// The network window's rows: for every hardware interface (up, or any when
// disabled ones are wanted) its name over an upload and a download graph,
// five rows each; a message when no interface qualifies.
#include "collector/data_logger.h"
#include "monitors/monitors.h"
#include "settings/settings.h"

void TMonitor_Network::AddContentRows() {
  if (!FDataLogger) return;
  const bool showDisabled = FSettings.NetworkMonitor_ShowDisabledInterfaces.Value;
  const int displayUnit = FSettings.NetworkMonitor_DisplayUnit.Value;
  TQD_GridContainer& G = FGrid;
  auto title = [&](const std::string& ACaption, const TQD_LabelColors_Str& APreset, TQD_GradientType AGradient,
                   const TQD_LabelCaptionColors_Str& AColors) {
    G.AddRow(rtStandard);
    TQD_Label& l = G.AddLabel(10);
    l.ApplyColorPreset(APreset);
    l.Settings().Gradient = AGradient;
    l.Settings().TextBackground = tbOutline;
    l.AddCaption(ACaption, AColors);
  };
  auto graph = [&](const TQD_SingleInterface& AInterface, TQD_NetGraphMode AMode) {
    G.AddRows(rtStandard, 5);
    TQD_NetGraph& g = G.AddNetGraph(10, 5);
    if (AMode == ngmDownload) g.ApplyColorPreset(NetGraphBGColors_Download);
    g.Settings().DisplayUnit = displayUnit;
    g.Settings().LabelPosition = TQD_NetGraphLabelPosition::lgpOn;
    g.Settings().TextBackground = tbOutline;
    g.Settings().Mode = AMode;
    g.AddGraph(AInterface.ID, AMode == ngmUpload ? NetGraphColors_Upload : NetGraphColors_Download);
  };
  for (const TQD_SingleInterface& nif : FDataLogger->NIFLogger().InterfaceList()) {
    if (!nif.Hardware || !(showDisabled || nif.Enabled)) continue;
    if (!G.GridEmpty()) G.AddDividerRowAlt();
    title(nif.IFName, LabelColors_Network, gtTriple, CaptionColors_Darkest2);
    graph(nif, ngmUpload);
    G.AddDividerRow();
    graph(nif, ngmDownload);
  }
  if (G.GridEmpty()) {
    title(Caption(), LabelColors_Network, gtTriple, CaptionColors_Darkest2);
    title("No enabled network interface found", LabelColors_Error, gtStandard, CaptionColors_Error);
  }
}
