// Building blocks the hardware windows' recipes share: label styling, the
// temperature label, and the three-part row (a gauge, a name, a temperature,
// a name, a gauge) with its optional line-graph row beneath, which the CPU,
// GPU and drive windows each open their sections with.
#pragma once

#include <string>

#include "monitors/grid_container.h"

// Gradient standard; with ALeft also running from the right (Left).
void StyleStandard(TQD_Label& ALabel, bool ALeft);
// A temperature label: background from the gradient, outlined text, one caption.
void MakeTemperatureLabel(TQD_Label& ALabel, const TQD_URID& AURID, double AThreshold);

struct TQD_GaugeSide {
  TQD_URID URID;
  const char* Name;
  const TQD_GaugeColors_Str& GaugePreset;
  const TQD_LineGraphColors_Str& GraphPreset;
};

// gauge(3) name(1) temperature(2) name(1) gauge(3), then with line graphs
// graph(3) label(1) temperature graph(2) label(1) graph(3). The names lose
// their bottom bevel and the labels below their top one, so each pair reads
// as one cell.
void AddGaugeTemperatureGaugeRows(TQD_GridContainer& AGrid, bool ALineGraphs, int AValuesPerColumn,
                                  const TQD_GaugeSide& ALeft, const TQD_URID& ATemperature, double AThreshold,
                                  const TQD_GaugeSide& ARight);

// name(1), then gauge(8) or gauge(4) and graph(4), then a label(1): the RAM,
// VRAM and fan rows. The gauge gets the preset and glpCentered, the graph
// (with line graphs only) AGraphURID over 4 columns of values; the caller
// sets the rest.
struct TQD_NamedGaugeRow {
  TQD_Gauge& Gauge;
  TQD_LineGraph* Graph;  // nullptr without line graphs
  TQD_Label& Right;
};
TQD_NamedGaugeRow AddNamedGaugeRow(TQD_GridContainer& AGrid, bool ALineGraphs, int AValuesPerColumn,
                                   const std::string& AName, const TQD_GaugeColors_Str& AGaugePreset,
                                   const TQD_URID& AGraphURID, const TQD_LineGraphColors_Str& AGraphPreset);
