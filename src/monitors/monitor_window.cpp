// The monitor windows' shared behaviour; see monitor_window.h.
#include "monitors/monitor_window.h"

#include <algorithm>
#include <utility>

#include "base/cost_meter.h"
#include "base/dpi.h"
#include "collector/data_logger.h"
#include "settings/settings.h"

bool WindowVisibleOnSomeMonitor(const std::vector<TQD_ScreenRect>& AWorkAreas, int ALeft, int ATop, int AWidth,
                                int AHeight) {
  // A sliver is not enough to grab: ask for a few pixels each way.
  constexpr int kGrip = 8;
  for (const TQD_ScreenRect& a : AWorkAreas) {
    const int w = std::min(ALeft + AWidth, a.Right) - std::max(ALeft, a.Left);
    const int h = std::min(ATop + AHeight, a.Bottom) - std::max(ATop, a.Top);
    if (w >= std::min(kGrip, AWidth) && h >= std::min(kGrip, AHeight)) return true;
  }
  return false;
}

TQD_MonitorWindow::TQD_MonitorWindow(TQD_MonitorKind AKind, TQD_MonitorHost& AHost, TQD_Settings& ASettings,
                                     TQD_Clock& AClock)
    : FKind(AKind),
      FHost(AHost),
      FSettings(ASettings),
      FClock(AClock),
      FGrid(&ASettings),
      FLeft(ASettings.*MonitorDescriptor(AKind).Left),
      FTop(ASettings.*MonitorDescriptor(AKind).Top),
      FWidth(ASettings.*MonitorDescriptor(AKind).Width),
      FHeight(ASettings.*MonitorDescriptor(AKind).Height) {
  FGrid.Clock = &AClock;
  FGrid.SetDPI(FHost.DPI());
  UpdateRoundedCorners();
}

void TQD_MonitorWindow::SetDataLogger(TQD_DataLogger* ALogger) {
  FDataLogger = ALogger;
  FGrid.SetDataLogger(ALogger);
}

int64_t TQD_MonitorWindow::Now() const { return FClock.MonotonicUs(); }

void TQD_MonitorWindow::Show() { PopulateMonitorWindow(); }

void TQD_MonitorWindow::Destroying() { SaveGeometry(); }

std::string TQD_MonitorWindow::ErrorMessage() const {
  return "Please enable shared memory support in HWiNFO!";
}

void TQD_MonitorWindow::UpdateRoundedCorners() {
  const int p = FSettings.RoundedCorners.Value;
  FHost.SetCornerPreference(p >= 1 && p <= 3 ? p : 0);
}

void TQD_MonitorWindow::SaveGeometry() {
  int w = 0, h = 0, l = 0, t = 0;
  FHost.GetClientSize(w, h);
  FHost.GetPosition(l, t);
  const int dpi = FHost.DPI();
  if (!FSizeFromErrorDefaults || w != FAppliedWidth || h != FAppliedHeight) {
    FWidth.Value = ScaleFromDPI(w, dpi);
    FHeight.Value = ScaleFromDPI(h, dpi);
    FSizeFromErrorDefaults = false;
  }
  if (!FPosFromErrorDefaults || l != FAppliedLeft || t != FAppliedTop) {
    FLeft.Value = l;
    FTop.Value = t;
    FPosFromErrorDefaults = false;
  }
}

void TQD_MonitorWindow::ApplyGeometry(bool ASize, bool APos) {
  const int dpi = FHost.DPI();
  if (ASize) {
    ApplyMinClientSize();
    int w = FWidth.Value, h = FHeight.Value;
    const bool defaults = w < 0 || h < 0;
    if (defaults) {
      w = FGrid.ContentWidth();
      h = DefaultHeight();
      // The error layout's defaults are not what a full population would
      // choose: keep the size unset so that population sizes the window.
      if (!FErrorWindowPopulated) {
        FWidth.Value = w;
        FHeight.Value = h;
      }
    }
    FSizeFromErrorDefaults = defaults && FErrorWindowPopulated;
    FHost.SetClientSize(ScaleToDPI(w, dpi), ScaleToDPI(h, dpi));
    FHost.GetClientSize(FAppliedWidth, FAppliedHeight);
    FGrid.SetClientSize(FAppliedWidth, FAppliedHeight);
  }
  if (APos) {
    int cw = 0, ch = 0, ww = 0, wh = 0, sw = 0, sh = 0;
    FHost.GetClientSize(cw, ch);
    FHost.WindowSizeForClient(cw, ch, ww, wh);
    FHost.GetPrimaryScreenSize(sw, sh);
    int l = FLeft.Value, t = FTop.Value;
    // -1, -1 is "not set". Other negative positions are real on a desktop
    // whose second monitor lies left of or above the primary one; only a
    // position that no monitor shows any more is re-centred.
    const bool unset = l == -1 && t == -1;
    if (unset || !WindowVisibleOnSomeMonitor(FHost.MonitorWorkAreas(), l, t, ww, wh)) {
      l = sw / 2 - ww / 2;
      t = sh / 2 - wh / 2;
    }
    FPosFromErrorDefaults = unset && FErrorWindowPopulated;
    FHost.SetPosition(l, t);
    FAppliedLeft = l;
    FAppliedTop = t;
  }
}

void TQD_MonitorWindow::ShowErrorLayout() {
  // The reason may change while the sensor stays missing (HWiNFO not polled
  // yet at the first event, then running without a GPU): show the current one.
  std::string message = ErrorMessage();
  if (FErrorWindowPopulated) {
    if (message == FErrorMessage) return;
    SaveGeometry();  // where the user moved or sized it meanwhile
  }
  FErrorWindowPopulated = true;
  FErrorMessage = std::move(message);
  FGrid.StartUpdating();
  FGrid.AddErrorRows(Caption(), FErrorMessage);
  ApplyGeometry(true, true);
  FGrid.StopUpdating();
  FGrid.AddMouseControls(OnMouseDown, PopupMenu);
  FGrid.RepaintAll();
  FHost.InvalidateWidgets();
}

void TQD_MonitorWindow::PopulateMonitorWindow() {
  if (UsesHWiNFO() && !SensorFound()) {
    ShowErrorLayout();
    return;
  }
  if (FMonitorWindowPopulated) return;
  FMonitorWindowPopulated = true;
  FErrorWindowPopulated = false;
  if (UsesHWiNFO() && FDataLogger) FDataLogger->HWiPollingReset();
  const int64_t start = Now();
  FGrid.StartUpdating();
  FGrid.ResetGrid();
  AddContentRows();
  if (HasCustomRows()) FGrid.AddCustomRows(FCustomReadingsList);
  FGrid.UpdateGridDimensions();
  ApplyGeometry(true, true);
  FGrid.StopUpdating();
  FGrid.RepaintAll();
  FGrid.AddMouseControls(OnMouseDown, PopupMenu);
  WidgetsMarked(start);
}

void TQD_MonitorWindow::RebuildMonitorWindow() {
  SaveGeometry();
  FMonitorWindowPopulated = false;
  PopulateMonitorWindow();
}

void TQD_MonitorWindow::ResetMonitorWindow(bool ASize, bool APos) {
  SaveGeometry();
  if (ASize) {
    FWidth.Value = FHeight.Value = -1;
    FMonitorWindowPopulated = false;
    PopulateMonitorWindow();
  }
  if (APos) {
    FLeft.Value = FTop.Value = -1;
    ApplyGeometry(false, true);
  }
}

void TQD_MonitorWindow::RefreshMonitorWindow() { RepaintChangedWidgets(false); }

void TQD_MonitorWindow::RepaintChangedWidgets(bool AIncludeNetGraphs) {
  static constexpr TQD_CostKind kCost[kMonitorKindCount] = {TQD_CostKind::ClockTick, TQD_CostKind::RefreshCPU,
                                                            TQD_CostKind::RefreshGPU, TQD_CostKind::RefreshDrives,
                                                            TQD_CostKind::RefreshNetwork};
  TQD_CostScope cost(kCost[static_cast<size_t>(FKind)]);
  const int64_t start = Now();
  bool any = false;
  if (AIncludeNetGraphs)
    for (TQD_NetGraph* g : FGrid.NetGraphs()) any |= g->ManualRepaint();
  for (TQD_Gauge* g : FGrid.Gauges()) any |= g->ManualRepaint();
  for (TQD_Label* l : FGrid.Labels()) any |= l->ManualRepaint();
  for (TQD_LineGraph* g : FGrid.LineGraphs()) any |= g->ManualRepaint();
  if (any) WidgetsMarked(start);
}

void TQD_MonitorWindow::WidgetsMarked(int64_t AStart) {
  // The latest marking only: a hidden window is not painted for as long as
  // it stays hidden, and its markings meanwhile are no paint's cost.
  FMarkingUs = Now() - AStart;
  FPaintPending = true;
  FHost.InvalidateWidgets();
}

void TQD_MonitorWindow::Painted(int64_t AMicroseconds) {
  if (!FPaintPending) return;  // uncovered, not changed: the last duration stands
  FPaintPending = false;
  FLastPaintDuration = static_cast<int32_t>((FMarkingUs + AMicroseconds) / 1000);
}

void TQD_MonitorWindow::ClientResized(int AWidth, int AHeight) { FGrid.SetClientSize(AWidth, AHeight); }

void TQD_MonitorWindow::ApplyMinClientSize() {
  const int dpi = FHost.DPI();
  FHost.SetMinClientSize(ScaleToDPI(TQD_GridContainer::MinWidth, dpi), ScaleToDPI(MinHeight(), dpi));
}

void TQD_MonitorWindow::DpiChanged(int ANewDPI) {
  ApplyMinClientSize();
  FGrid.SetDPI(ANewDPI);
  FHost.InvalidateWidgets();
}
