// Shared recipe rows; see recipe_rows.h.
#include "monitors/recipe_rows.h"

void StyleStandard(TQD_Label& ALabel, bool ALeft) {
  ALabel.Settings().Gradient = gtStandard;
  if (ALeft) ALabel.Settings().Orientation = orLeft;
}

void MakeTemperatureLabel(TQD_Label& ALabel, const TQD_URID& AURID, double AThreshold) {
  ALabel.Settings().Mode = lmTemperature;
  ALabel.Settings().TextBackground = tbOutline;
  ALabel.SetTemperatureThreshold(AThreshold);
  ALabel.AddCaption(AURID, dcsValue, CaptionColors_Darkest);
}

void AddGaugeTemperatureGaugeRows(TQD_GridContainer& G, bool LG, int VPC, const TQD_GaugeSide& ALeft,
                                  const TQD_URID& ATemperature, double AThreshold, const TQD_GaugeSide& ARight) {
  G.AddRow(rtStandard);
  TQD_Gauge& left = G.AddGauge(3);
  left.ApplyColorPreset(ALeft.GaugePreset);
  left.Settings().URID = ALeft.URID;
  left.Settings().Orientation = orLeft;
  left.Settings().LabelPosition = glpCentered;
  TQD_Label& leftName = G.AddLabel(1);
  leftName.AddCaption(ALeft.Name);
  StyleStandard(leftName, true);
  if (LG) leftName.Settings().Borders = lbNoBottom;
  MakeTemperatureLabel(G.AddLabel(2), ATemperature, AThreshold);
  TQD_Label& rightName = G.AddLabel(1);
  rightName.AddCaption(ARight.Name);
  StyleStandard(rightName, false);
  if (LG) rightName.Settings().Borders = lbNoBottom;
  TQD_Gauge& right = G.AddGauge(3);
  right.ApplyColorPreset(ARight.GaugePreset);
  right.Settings().URID = ARight.URID;
  right.Settings().LabelPosition = glpCentered;
  if (!LG) return;

  G.AddRows(rtStandard, 1);
  G.AddLineGraph(3, 1).AddGraph(ALeft.URID, dcsValue, 3 * VPC, ALeft.GraphPreset);
  TQD_Label& under = G.AddLabel(1);
  StyleStandard(under, true);
  under.Settings().Borders = lbNoTop;
  TQD_LineGraph& temperature = G.AddLineGraph(2, 1);
  temperature.Settings().Mode = lgmTemperature;
  temperature.AddGraph(ATemperature, dcsValue, 2 * VPC, LineGraphColors_Temperature);
  temperature.LineGraphs()[0].MaxValueManual = AThreshold;
  TQD_Label& underRight = G.AddLabel(1);
  StyleStandard(underRight, false);
  underRight.Settings().Borders = lbNoTop;
  G.AddLineGraph(3, 1).AddGraph(ARight.URID, dcsValue, 3 * VPC, ARight.GraphPreset);
}

TQD_NamedGaugeRow AddNamedGaugeRow(TQD_GridContainer& G, bool LG, int VPC, const std::string& AName,
                                   const TQD_GaugeColors_Str& AGaugePreset, const TQD_URID& AGraphURID,
                                   const TQD_LineGraphColors_Str& AGraphPreset) {
  G.AddRow(rtStandard);
  TQD_Label& name = G.AddLabel(1);
  name.AddCaption(AName);
  StyleStandard(name, true);
  TQD_Gauge& gauge = G.AddGauge(LG ? 4 : 8);
  gauge.ApplyColorPreset(AGaugePreset);
  gauge.Settings().LabelPosition = glpCentered;
  TQD_LineGraph* graph = nullptr;
  if (LG) {
    graph = &G.AddLineGraph(4, 1);
    graph->AddGraph(AGraphURID, dcsValue, 4 * VPC, AGraphPreset);
  }
  TQD_Label& right = G.AddLabel(1);
  StyleStandard(right, false);
  return {gauge, graph, right};
}
