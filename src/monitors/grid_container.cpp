// TQD_GridContainer; see grid_container.h.
#include "monitors/grid_container.h"

#include <algorithm>
#include <cmath>

#include "widgets/color_table.h"
#include "readings/custom_readings_list.h"
#include "collector/data_logger.h"
#include "settings/settings.h"
#include "collector/units.h"

TQD_GridContainer::TQD_GridContainer(const TQD_Settings* ASettings) : FSettings(ASettings) {}

TQD_GridContainer::~TQD_GridContainer() = default;

const TQD_Settings& TQD_GridContainer::Settings() const { return FSettings ? *FSettings : AppSettings; }

void TQD_GridContainer::StopUpdating() {
  if (FUpdating > 0) --FUpdating;
  if (FUpdating == 0 && FLayoutPending) Layout();
}

void TQD_GridContainer::ResetGrid() {
  FPlacements.clear();
  FGauges.clear();
  FLabels.clear();
  FLineGraphs.clear();
  FNetGraphs.clear();
  FDividers.clear();
  FWidgets.clear();
  FRowTypeList.clear();
  FRows.clear();
  FLayoutPending = true;
  if (FUpdating == 0) Layout();
}

void TQD_GridContainer::AddRow(TQD_RowType ARowType) {
  FRows.push_back(TRowDef{});
  FRowTypeList.push_back(ARowType);
  FLayoutPending = true;
  if (FUpdating == 0) Layout();
}

void TQD_GridContainer::AddRows(TQD_RowType ARowType, int ANumRows) {
  for (int i = 0; i < ANumRows; ++i) AddRow(ARowType);
}

void TQD_GridContainer::AddDividerRow() {
  AddRow(rtDivider);
  AddDivider(kColumns);
}

void TQD_GridContainer::AddDividerRowAlt() {
  AddDividerRow();
  FDividers.back()->ApplyColorPreset(DividerColors_Alt);
}

template <typename W>
W& TQD_GridContainer::AddWidget(std::vector<W*>& AList, int AColumnSpan, int ARowSpan) {
  auto widget = std::make_unique<W>();
  W& w = *widget;
  w.SetFont(Font, FDPI);
  w.SetColorTable(FColorTable);
  TPlacement p;
  p.Widget = &w;
  p.Cell.ColumnSpan = std::clamp(AColumnSpan, 1, kColumns);
  p.Cell.RowSpan = std::max(1, ARowSpan);
  Place(p);
  FWidgets.push_back(std::move(widget));
  FPlacements.push_back(p);
  AList.push_back(&w);
  FLayoutPending = true;
  if (FUpdating == 0) Layout();
  return w;
}

// The first free cell, rows from the top and columns from the left, where
// the widget's spans fit on free cells. Widgets that fit nowhere stay
// outside the grid (an empty rectangle).
void TQD_GridContainer::Place(TPlacement& P) {
  const int rows = NumRows();
  std::vector<bool> used(static_cast<size_t>(rows) * kColumns, false);
  for (const TPlacement& q : FPlacements)
    for (int r = q.Cell.Row; r >= 0 && r < std::min(rows, q.Cell.Row + q.Cell.RowSpan); ++r)
      for (int c = q.Cell.Column; c < q.Cell.Column + q.Cell.ColumnSpan; ++c)
        used[static_cast<size_t>(r) * kColumns + c] = true;
  auto fits = [&](int r, int c) {
    if (c + P.Cell.ColumnSpan > kColumns || r + P.Cell.RowSpan > rows) return false;
    for (int rr = r; rr < r + P.Cell.RowSpan; ++rr)
      for (int cc = c; cc < c + P.Cell.ColumnSpan; ++cc)
        if (used[static_cast<size_t>(rr) * kColumns + cc]) return false;
    return true;
  };
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < kColumns; ++c)
      if (!used[static_cast<size_t>(r) * kColumns + c] && fits(r, c)) {
        P.Cell.Row = r;
        P.Cell.Column = c;
        return;
      }
  P.Cell.Row = rows;  // outside
  P.Cell.Column = 0;
}

TQD_Gauge& TQD_GridContainer::AddGauge(int AColumnSpan) {
  TQD_Gauge& g = AddWidget(FGauges, AColumnSpan, 1);
  g.SetDataLogger(FDataLogger);
  g.Settings().TextAutoSize = Settings().FontAutosizing.Value;
  g.Settings().TextAntialiasing = Settings().FontAntialiasing.Value;
  return g;
}

TQD_Label& TQD_GridContainer::AddLabel(int AColumnSpan) {
  TQD_Label& l = AddWidget(FLabels, AColumnSpan, 1);
  l.SetDataLogger(FDataLogger);
  l.SetClock(Clock);
  l.Settings().TextAutoSize = Settings().FontAutosizing.Value;
  l.Settings().TextAntialiasing = Settings().FontAntialiasing.Value;
  return l;
}

TQD_LineGraph& TQD_GridContainer::AddLineGraph(int AColumnSpan, int ARowSpan) {
  TQD_LineGraph& g = AddWidget(FLineGraphs, AColumnSpan, ARowSpan);
  g.SetDataLogger(FDataLogger);
  g.Settings().GridLines = static_cast<TQD_LineGraphGridLines>(std::clamp(Settings().LineGraphGridLines.Value, 0, 3));
  g.Settings().TextAutoSize = Settings().FontAutosizing.Value;
  g.Settings().TextAntialiasing = Settings().FontAntialiasing.Value;
  return g;
}

TQD_NetGraph& TQD_GridContainer::AddNetGraph(int AColumnSpan, int ARowSpan) {
  TQD_NetGraph& g = AddWidget(FNetGraphs, AColumnSpan, ARowSpan);
  g.SetDataLogger(FDataLogger);
  g.Settings().GridLines =
      static_cast<TQD_NetGraphGridLines>(std::clamp(Settings().NetworkMonitor_NetGraphGridLines.Value, 0, 3));
  g.Settings().TextAutoSize = Settings().FontAutosizing.Value;
  g.Settings().TextAntialiasing = Settings().FontAntialiasing.Value;
  return g;
}

TQD_Divider& TQD_GridContainer::AddDivider(int AColumnSpan) { return AddWidget(FDividers, AColumnSpan, 1); }

void TQD_GridContainer::AddCustomRows(const TQD_CustomReadingsList* AList) {
  if (!FDataLogger || !AList) return;
  FCustomReadingsList = AList;
  if (AList->Count() == 0) return;
  AddDividerRow();  // separates the custom block from the window's own rows
  for (const TQD_CustomReadingsListItem& item : AList->Items()) {
    if (URIDIsDivider(item.URID)) AddDividerRow();
    else AddCustomRow(item);
  }
}

void TQD_GridContainer::AddCustomRow(const TQD_CustomReadingsListItem& AItem) {
  const int C = GetParamLabelWidth(AItem.Parameters);
  const int O = GetParamOrientation(AItem.Parameters);
  const int F = GetParamForcedDisplay(AItem.Parameters);
  const TQD_DynamicCaptionSource V = GetParamCaptionSource(AItem.Parameters);
  const double T = GetParamTemperatureMax(AItem.Parameters);
  const int W = kColumns - C;
  const int B = W * Settings().LineGraphValuesPerCol.Value;
  const TQD_Orientation orientation = O == 1 ? orLeft : orRight;
  const TQD_DataLogger& L = *FDataLogger;

  AddRow(rtStandard);
  auto addName = [&] {
    TQD_Label& name = AddLabel(C);
    name.AddCaption(L.FormatValue(AItem.URID, dcsLabelUser));
    name.Settings().Gradient = gtStandard;
    name.Settings().Orientation = O == 0 ? orLeft : orRight;
  };
  auto addValue = [&] {
    const int unit = L.GetUnit(AItem.URID);
    const bool graph = F == 3;
    if (unit == unitPercent || unit == unitRPM) {
      const bool fan = unit == unitRPM;
      if (graph) {
        AddLineGraph(W, 1).AddGraph(AItem.URID, dcsValue, B, fan ? LineGraphColors_Fan : LineGraphColors_Default);
      } else {
        TQD_Gauge& g = AddGauge(W);
        g.ApplyColorPreset(fan ? GaugeColors_Fan : GaugeColors_Default);
        g.Settings().URID = AItem.URID;
        g.Settings().DynamicCaptionSource = V;
        g.Settings().LabelPosition = glpCentered;
        g.Settings().Orientation = orientation;
      }
    } else if (unit == unitCelsius || unit == unitFahrenheit) {
      if (graph) {
        TQD_LineGraph& g = AddLineGraph(W, 1);
        g.Settings().Mode = lgmTemperature;
        g.AddGraph(AItem.URID, dcsValue, B, LineGraphColors_Temperature);
        g.LineGraphs()[0].MaxValueManual = T;
      } else {
        TQD_Label& l = AddLabel(W);
        l.Settings().Mode = lmTemperature;
        l.SetTemperatureThreshold(T);
        l.Settings().TextBackground = tbOutline;
        l.Settings().Orientation = orientation;
        l.AddCaption(AItem.URID, V, CaptionColors_Darkest);
      }
    } else {
      AddLabel(W).AddCaption(AItem.URID, V);
    }
  };
  if (O == 1) {
    addValue();
    addName();
  } else {
    addName();
    addValue();
  }
}

void TQD_GridContainer::AddErrorRows(const std::string& ATitle, const std::string& AMessage) {
  ResetGrid();
  auto configure = [](TQD_Label& l) {
    l.Settings().Gradient = gtStandard;
    l.Settings().Orientation = orLeft;
    l.Settings().TextAutoSize = false;
    l.Settings().TextBackground = tbOutline;
  };
  AddRow(rtStandard);
  TQD_Label& title = AddLabel(kColumns);
  configure(title);
  title.AddCaption(ATitle);
  AddRow(rtStandard);
  TQD_Label& message = AddLabel(kColumns);
  message.ApplyColorPreset(LabelColors_Error);
  configure(message);
  message.AddCaption(AMessage, CaptionColors_Error);
  // A fixed title row; the message takes the rest of the window.
  FRows[0] = TRowDef{true, static_cast<double>(kErrorTitleHeight)};
  FRows[1] = TRowDef{false, 100};
  FLayoutPending = true;
  if (FUpdating == 0) Layout();
}

void TQD_GridContainer::UpdateGridDimensions() {
  FNumStdRows = FNumDivRows = 0;
  const auto n = static_cast<double>(FRows.size());
  for (size_t i = 0; i < FRows.size(); ++i) {
    const bool divider = i < FRowTypeList.size() && FRowTypeList[i] == rtDivider;
    FRows[i] = TRowDef{false, 100.0 / n * (divider ? kDividerRatio : 1.0)};
    ++(divider ? FNumDivRows : FNumStdRows);
  }
  FLayoutPending = true;
  if (FUpdating == 0) Layout();
}

int TQD_GridContainer::ContentHeight() const {
  return static_cast<int>(std::nearbyint(FNumDivRows * kRowHeight * kDividerRatio + FNumStdRows * kRowHeight));
}

bool TQD_GridContainer::GridEmpty() const {
  return FGauges.empty() && FLabels.empty() && FLineGraphs.empty() && FDividers.empty();
}

void TQD_GridContainer::SetClientSize(int AWidth, int AHeight) {
  if (AWidth == FClientWidth && AHeight == FClientHeight) return;
  FClientWidth = std::max(0, AWidth);
  FClientHeight = std::max(0, AHeight);
  FLayoutPending = true;
  if (FUpdating == 0) Layout();
}

void TQD_GridContainer::SetDPI(int ADPI) {
  if (ADPI <= 0 || ADPI == FDPI) return;
  for (auto& w : FWidgets) w->ChangeScale(ADPI, FDPI);
  FDPI = ADPI;
  // Every text changed size, whether or not its cell did.
  FRepaintPending = true;
  FLayoutPending = true;
  if (FUpdating == 0) Layout();
}

// Columns split the width in tenths; absolute rows take their (DPI-scaled)
// pixels first and proportional rows share the rest by their values. Edges
// are rounded from running sums, so cells tile the client area exactly.
void TQD_GridContainer::Layout() {
  FLayoutPending = false;
  const bool repaintAll = FRepaintPending;
  FRepaintPending = false;
  std::vector<int> xs(kColumns + 1);
  for (int c = 0; c <= kColumns; ++c) xs[c] = static_cast<int>(std::lround(static_cast<double>(FClientWidth) * c / kColumns));
  double absolute = 0, percent = 0;
  for (const TRowDef& r : FRows) (r.Absolute ? absolute : percent) += r.Absolute ? ScaleToDPI(static_cast<int>(r.Value), FDPI) : r.Value;
  const double rest = std::max(0.0, FClientHeight - absolute);
  std::vector<int> ys(FRows.size() + 1, 0);
  double y = 0;
  for (size_t i = 0; i < FRows.size(); ++i) {
    const TRowDef& r = FRows[i];
    y += r.Absolute ? ScaleToDPI(static_cast<int>(r.Value), FDPI) : (percent > 0 ? rest * r.Value / percent : 0);
    ys[i + 1] = std::min(FClientHeight, static_cast<int>(std::lround(y)));
  }
  for (TPlacement& p : FPlacements) {
    const TCell& c = p.Cell;
    TRect rect{};
    if (c.Row >= 0 && c.Row < NumRows()) {
      const int lastRow = std::min(NumRows(), c.Row + c.RowSpan);
      rect = {xs[c.Column], ys[c.Row], xs[c.Column + c.ColumnSpan], ys[lastRow]};
    }
    const bool moved = !(rect == p.Widget->BoundsRect());
    if (moved) p.Widget->SetBoundsRect(rect);
    if (moved || repaintAll) p.Widget->Repaint();
  }
}

TQD_GridContainer::TCell TQD_GridContainer::CellOf(const TQD_Widget& AWidget) const {
  for (const TPlacement& p : FPlacements)
    if (p.Widget == &AWidget) return p.Cell;
  return {};
}

void TQD_GridContainer::AddMouseControls(TQD_MouseDownHandler AOnMouseDown, void* APopupMenu) {
  for (TPlacement& p : FPlacements) {
    p.OnMouseDown = AOnMouseDown;
    p.PopupMenu = APopupMenu;
  }
}

TQD_Widget* TQD_GridContainer::HitTest(int X, int Y) const {
  for (const TPlacement& p : FPlacements) {
    const TRect& r = p.Widget->BoundsRect();
    if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return p.Widget;
  }
  return nullptr;
}

bool TQD_GridContainer::MouseDown(TQD_MouseButton AButton, int X, int Y) const {
  const TQD_Widget* w = HitTest(X, Y);
  for (const TPlacement& p : FPlacements)
    if (p.Widget == w && p.OnMouseDown) {
      p.OnMouseDown(AButton, X, Y);
      return true;
    }
  return false;
}

void* TQD_GridContainer::PopupMenuAt(int X, int Y) const {
  const TQD_Widget* w = HitTest(X, Y);
  for (const TPlacement& p : FPlacements)
    if (p.Widget == w) return p.PopupMenu;
  return nullptr;
}

void TQD_GridContainer::TakeDirty(std::vector<TQD_Widget*>& ADirty) {
  ADirty.clear();
  for (auto& w : FWidgets)
    if (w->Dirty) {
      ADirty.push_back(w.get());
      w->Dirty = false;
    }
}

void TQD_GridContainer::RepaintAll() {
  for (auto& w : FWidgets) w->Repaint();
}

void TQD_GridContainer::RenderTo(TBitmap32& ATarget) const {
  for (const auto& w : FWidgets) {
    const TRect& r = w->BoundsRect();
    const TBitmap32& b = w->Draw();
    const int x0 = std::max(0, -r.Left), x1 = std::min(b.Width(), ATarget.Width() - r.Left);
    if (x1 <= x0) continue;
    for (int y = std::max(0, -r.Top); y < b.Height() && r.Top + y < ATarget.Height(); ++y)
      std::copy(b.ScanLine(y) + x0, b.ScanLine(y) + x1, ATarget.ScanLine(r.Top + y) + r.Left + x0);
  }
}
