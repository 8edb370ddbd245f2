// The five monitor windows; see monitors.h.
#include "monitors/monitors.h"
#include "base/busy_guard.h"

#include "base/cost_meter.h"
#include "collector/data_logger.h"
#include "settings/settings.h"

// --- clock -------------------------------------------------------------------

TMonitor_Clock::TMonitor_Clock(TQD_MonitorHost& AHost, TQD_Settings& ASettings, TQD_Clock& AClock,
                               TQD_TimerFactory& ATimers)
    : TQD_MonitorWindow(TQD_MonitorKind::Clock, AHost, ASettings, AClock), FTimer(ATimers.CreateTimer()) {
  FTimer->SetInterval(1000);
  FTimer->SetDueTime(1000);
  FTimer->OnTimer = [this](TQD_Timer&) { Tick(); };
}

TMonitor_Clock::~TMonitor_Clock() = default;

void TMonitor_Clock::Show() {
  PopulateMonitorWindow();
  FTimerBusy = false;
  FTimer->SetEnabled(true);
}

void TMonitor_Clock::Destroying() {
  SaveGeometry();
  FTimer.reset();
  if (OnUpdateDone) OnUpdateDone(*this);
}

void TMonitor_Clock::AddContentRows() {
  FGrid.AddRow(rtStandard);
  TQD_Label& time = FGrid.AddLabel(5);
  time.ApplyColorPreset(LabelColors_Clock);
  time.Font().Bold = true;
  time.Settings().Mode = lmClock;
  time.Settings().Borders = lbNone;
  time.Settings().Gradient = gtStandard;
  time.Settings().Orientation = orLeft;
  time.AddCaption("-");
  TQD_Label& date = FGrid.AddLabel(5);
  date.ApplyColorPreset(LabelColors_Date);
  date.Settings().Mode = lmDate;
  date.Settings().Borders = lbNone;
  date.Settings().Gradient = gtStandard;
  date.AddCaption("-", CaptionColors_Dark);
}

void TMonitor_Clock::Tick() {
  const TQD_BusyGuard busy(FTimerBusy);
  if (!busy) return;
  TQD_CostScope cost(TQD_CostKind::ClockTick);
  const int64_t start = Now();
  bool any = false;
  for (TQD_Label* l : FGrid.Labels()) any |= l->ManualRepaint();
  if (any) WidgetsMarked(start);
  if (OnUpdateDone) OnUpdateDone(*this);
}

// --- hardware windows ----------------------------------------------------------

bool TMonitor_CPU::SensorFound() const { return FDataLogger && FDataLogger->CPUSensorFound(); }
bool TMonitor_GPU::SensorFound() const { return FDataLogger && FDataLogger->GPUSensorFound(); }
bool TMonitor_Drives::SensorFound() const { return FDataLogger && FDataLogger->DriveSensorFound(); }

namespace {

bool LastHWiNFOPollFailed(const TQD_DataLogger* ALogger) {
  return !ALogger || ALogger->LastHWiPollingStatus() != hwsOK;
}

}  // namespace

std::string TMonitor_GPU::ErrorMessage() const {
  return LastHWiNFOPollFailed(FDataLogger) ? TQD_MonitorWindow::ErrorMessage() : "No dedicated GPU detected!";
}

std::string TMonitor_Drives::ErrorMessage() const {
  return LastHWiNFOPollFailed(FDataLogger) ? TQD_MonitorWindow::ErrorMessage() : "No drive detected!";
}


// Custom rows hold gauges, labels and line graphs: they refresh too, or they
// would freeze beside the moving network graphs.
void TMonitor_Network::RefreshMonitorWindow() { RepaintChangedWidgets(true); }

std::unique_ptr<TQD_MonitorWindow> CreateMonitorWindow(TQD_MonitorKind AKind, TQD_MonitorHost& AHost,
                                                       TQD_Settings& ASettings, TQD_Clock& AClock,
                                                       TQD_TimerFactory& ATimers) {
  switch (AKind) {
    case TQD_MonitorKind::Clock: return std::make_unique<TMonitor_Clock>(AHost, ASettings, AClock, ATimers);
    case TQD_MonitorKind::CPU: return std::make_unique<TMonitor_CPU>(AHost, ASettings, AClock);
    case TQD_MonitorKind::GPU: return std::make_unique<TMonitor_GPU>(AHost, ASettings, AClock);
    case TQD_MonitorKind::Drives: return std::make_unique<TMonitor_Drives>(AHost, ASettings, AClock);
    case TQD_MonitorKind::Network: break;
  }
  return std::make_unique<TMonitor_Network>(AHost, ASettings, AClock);
}
