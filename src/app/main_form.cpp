// The control panel's logic; see main_form.h.
#include "app/main_form.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "settings/autostart.h"

namespace {

constexpr TQD_MonitorKind kAllKinds[] = {TQD_MonitorKind::Clock, TQD_MonitorKind::CPU, TQD_MonitorKind::GPU,
                                         TQD_MonitorKind::Drives, TQD_MonitorKind::Network};
// Windows go in the reverse order of their creation.
constexpr TQD_MonitorKind kDestroyOrder[] = {TQD_MonitorKind::Network, TQD_MonitorKind::Drives,
                                             TQD_MonitorKind::GPU, TQD_MonitorKind::CPU, TQD_MonitorKind::Clock};

std::string Milliseconds(int64_t AValue) { return std::to_string(AValue) + " ms"; }

// HH:MM:SS of a date-time (days since 1899-12-30, time as the fraction).
std::string TimeOfDayText(double ADateTime) {
  double day = ADateTime - std::floor(ADateTime);
  auto seconds = static_cast<int64_t>(std::floor(day * 86400.0 + 0.5)) % 86400;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

// Clears the flag on every way out, also when a window throws: a flag left
// set would stop every later polling-done event from reaching the windows.
class TBusyScope {
 public:
  explicit TBusyScope(bool& AFlag) : FFlag(AFlag) { FFlag = true; }
  ~TBusyScope() { FFlag = false; }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

TQD_MainForm::TQD_MainForm(TQD_KeyValueStore& ARegistry, const TQD_CollectorPorts& ACollector,
                           TQD_MonitorHostFactory& AHosts, TQD_MainFormSystem ASystem)
    : FRegistry(ARegistry), FCollector(ACollector), FHosts(AHosts), FSystem(std::move(ASystem)) {
  // Creation goes on after the message: the application ends before its
  // message loop would start, and the owner of this object checks for that.
  if (FSystem.IsWindowsVersionAtLeast && !FSystem.IsWindowsVersionAtLeast(6)) {
    FTerminateRequested = true;
    if (FSystem.ShowFatalError) FSystem.ShowFatalError(QD_WindowsTooOldText);
  }

  FCaption = std::string(QD_ApplicationTitle) + " " +
             (FSystem.ProgramVersionText ? FSystem.ProgramVersionText() : std::string());

  FCPUMonitorCustomReadings.LoadFromRegistry(FRegistry);
  FGPUMonitorCustomReadings.LoadFromRegistry(FRegistry);
  FDriveMonitorCustomReadings.LoadFromRegistry(FRegistry);
  FNetworkMonitorCustomReadings.LoadFromRegistry(FRegistry);

  FColorTable.ReadFromRegistry(FRegistry);
  FWorkingColorTable.Assign(FColorTable);

  LoadSettings(FRegistry, FSettings);
  // The entry, not the stored settings, says whether Windows starts us.
  FSettings.RunOnStartup.Value = IsAutostartRegistered(FRegistry, FSystem.ExecutablePath);

  FVisible = !FSettings.StartMinimized.Value;

  FDataLogger = std::make_unique<TQD_DataLogger>(
      FCollector, FSettings.RAMIncludeReserved.Value,
      static_cast<uint32_t>(FSettings.NetworkMonitor_NetGraphBufferLen.Value),
      static_cast<uint32_t>(FSettings.HWiNFOPollingInterval.Value));

  ApplySettings();

  auto update = [this](TQD_DataLogger& ASender, bool ADrive, bool ANetwork) {
    UpdateMonitors(ASender, ADrive, ANetwork);
  };
  FDataLogger->OnHWiPollingDone = update;
  FDataLogger->OnInternalPollingDone = update;

  FDataLogger->Start();
}

TQD_MainForm::~TQD_MainForm() {
  // Whoever listened may be gone already.
  OnStatusChanged = nullptr;
  Shutdown();
}

TQD_CustomReadingsList* TQD_MainForm::CustomReadingsList(TQD_MonitorKind AKind) {
  switch (AKind) {
    case TQD_MonitorKind::Clock: return nullptr;
    case TQD_MonitorKind::CPU: return &FCPUMonitorCustomReadings;
    case TQD_MonitorKind::GPU: return &FGPUMonitorCustomReadings;
    case TQD_MonitorKind::Drives: return &FDriveMonitorCustomReadings;
    case TQD_MonitorKind::Network: break;
  }
  return &FNetworkMonitorCustomReadings;
}

TQD_OptionBoolean& TQD_MainForm::OnSwitch(TQD_MonitorKind AKind) {
  switch (AKind) {
    case TQD_MonitorKind::Clock: return FSettings.Clock_On;
    case TQD_MonitorKind::CPU: return FSettings.CPUMonitor_On;
    case TQD_MonitorKind::GPU: return FSettings.GPUMonitor_On;
    case TQD_MonitorKind::Drives: return FSettings.DriveMonitor_On;
    case TQD_MonitorKind::Network: break;
  }
  return FSettings.NetworkMonitor_On;
}

// --- monitor windows ---------------------------------------------------------------

void TQD_MainForm::EnableMonitor(TQD_MonitorKind AKind) {
  TWindowSlot& slot = FWindows[Slot(AKind)];
  if (FShutDown || slot.Window) return;

  std::unique_ptr<TQD_MonitorHost> host = FHosts.CreateHost(AKind);
  std::unique_ptr<TQD_MonitorWindow> window =
      CreateMonitorWindow(AKind, *host, FSettings, *FCollector.Clock, *FCollector.Timers);
  // Everything the window draws with is in place before Show populates it.
  window->SetColorTable(&FColorTable);
  if (AKind != TQD_MonitorKind::Clock) {
    window->SetDataLogger(FDataLogger.get());
    window->SetCustomReadingsList(CustomReadingsList(AKind));
  }
  window->SetFont(FFont);
  FHosts.MonitorWindowCreated(*host, *window);

  slot.Host = std::move(host);
  slot.Window = std::move(window);
  FToggleSwitch[Slot(AKind)] = true;
  slot.Window->Show();
  if (AKind == TQD_MonitorKind::Clock)
    static_cast<TMonitor_Clock&>(*slot.Window).OnUpdateDone = [this](TMonitor_Clock& ASender) {
      UpdateMonitorClock(ASender);
    };
}

void TQD_MainForm::DisableMonitor(TQD_MonitorKind AKind) {
  TWindowSlot& slot = FWindows[Slot(AKind)];
  // The slot is empty before the window goes, so that what the window
  // reports while it is destroyed (the clock's last update) finds it gone.
  std::unique_ptr<TQD_MonitorWindow> window = std::move(slot.Window);
  std::unique_ptr<TQD_MonitorHost> host = std::move(slot.Host);
  FToggleSwitch[Slot(AKind)] = false;
  if (window) window->Destroying();
  window.reset();
  host.reset();
}

void TQD_MainForm::RebuildMonitor(TQD_MonitorKind AKind) {
  if (TQD_MonitorWindow* w = MonitorWindow(AKind)) w->RebuildMonitorWindow();
}

void TQD_MainForm::ResetMonitorSize(TQD_MonitorKind AKind) {
  if (TQD_MonitorWindow* w = MonitorWindow(AKind)) w->ResetMonitorWindow(true, false);
}

void TQD_MainForm::ResetMonitorPos(TQD_MonitorKind AKind) {
  if (TQD_MonitorWindow* w = MonitorWindow(AKind)) w->ResetMonitorWindow(false, true);
}

void TQD_MainForm::ToggleSwitchClicked(TQD_MonitorKind AKind, bool AOn) {
  if (AOn)
    EnableMonitor(AKind);
  else
    DisableMonitor(AKind);
}

void TQD_MainForm::RebuildAllEnabledMonitorWindows() {
  for (TQD_MonitorKind k : kAllKinds) RebuildMonitor(k);
}

// --- collector and settings ------------------------------------------------------

void TQD_MainForm::ResetCollector() {
  if (FDataLogger) FDataLogger->HWiPollingReset();
}

void TQD_MainForm::ApplySettings() {
  // Written at once: the entry is the setting.
  const bool registered = IsAutostartRegistered(FRegistry, FSystem.ExecutablePath);
  if (registered != FSettings.RunOnStartup.Value) {
    if (registered)
      UnregisterAutostart(FRegistry);
    else
      RegisterAutostart(FRegistry, FSystem.ExecutablePath);
  }

  for (TQD_MonitorKind k : kAllKinds)
    if (TQD_MonitorWindow* w = MonitorWindow(k)) w->UpdateRoundedCorners();

  FFont.Name = FSettings.FontName.Value;
  FFont.SetSize(FSettings.FontSize.Value);
  FFont.Bold = FSettings.FontBold.Value;
  FFont.Italic = FSettings.FontItalic.Value;
  for (TQD_MonitorKind k : kAllKinds)
    if (TQD_MonitorWindow* w = MonitorWindow(k)) w->SetFont(FFont);

  if (FDataLogger) {
    FDataLogger->SetRAMInfoIncludeReserved(FSettings.RAMIncludeReserved.Value);
    FDataLogger->SetHWiPollingInterval(static_cast<uint32_t>(FSettings.HWiNFOPollingInterval.Value));
    // Negative is "not set" as 0 is: never a huge unsigned total.
    FDataLogger->SetGPUMemoryTotalManual(
        static_cast<uint32_t>(std::max(0, FSettings.GPUMonitor_VRAMTotalManualMiB.Value)));
    FDataLogger->SetNIFLoggerBufferLen(static_cast<uint32_t>(FSettings.NetworkMonitor_NetGraphBufferLen.Value));
  }

  FColorTable.Assign(FWorkingColorTable);

  // Populated windows only change through a rebuild; the next event does it.
  if (!FFirstRun) FRebuild = true;
}

// --- control panel visibility --------------------------------------------------------

void TQD_MainForm::ShowControlPanel() {
  FVisible = true;
  FSettings.StartMinimized.Value = false;
}

void TQD_MainForm::HideControlPanel() {
  FVisible = false;
  FSettings.StartMinimized.Value = true;
}

// --- polling dispatch ----------------------------------------------------------------

void TQD_MainForm::UpdateMonitors(TQD_DataLogger& Sender, bool RebuildDriveMonitor, bool RebuildNetworkMonitor) {
  (void)Sender;
  // A nested message loop (a rebuild, a dialog) may deliver the next event
  // while this one runs: it is dropped, not queued.
  if (FUpdateBusy || !FDataLogger) return;
  TBusyScope busy(FUpdateBusy);

  switch (FDataLogger->LastInternalPollingStatus()) {
    case insOK: FStatusPanel2 = "System info polling status: OK"; break;
    case insNotPolled:
    case insFailed: FStatusPanel2 = "Error polling system information!"; break;
    default: break;
  }
  switch (FDataLogger->LastHWiPollingStatus()) {
    case hwsOK:
      // The block reads fine but HWiNFO has stopped moving it.
      FStatusPanel3 = FDataLogger->HWiDataStale()
                          ? "HWiNFO polling status: no new data since " +
                                TimeOfDayText(FDataLogger->HWiDataMovedLocalTime())
                          : "HWiNFO polling status: OK";
      break;
    case hwsNotPolled:
    case hwsReadError: FStatusPanel3 = "Error reading HWiNFO shared memory!"; break;
    case hwsDead:
    case hwsNoMapping: FStatusPanel3 = "Please enable shared memory support in HWiNFO!"; break;
    default: break;
  }

  // HWiNFO gone (closed, DEAD, unreadable): the hardware windows would keep
  // a layout of readings that no longer exist. They go to their error layout
  // instead, and populate afresh, for whatever hardware HWiNFO then reports,
  // once it is back.
  const bool hwiOK = FDataLogger->LastHWiPollingStatus() == hwsOK;
  const bool hwiLost = FHWiWasOK && !hwiOK;
  FHWiWasOK = hwiOK;

  if (FFirstRun) {
    for (TQD_MonitorKind k : kAllKinds)
      if (OnSwitch(k).Value) EnableMonitor(k);
    FFirstRun = false;
  } else if (FRebuild) {
    RebuildAllEnabledMonitorWindows();
    FRebuild = false;
  } else if (hwiLost) {
    RebuildCPUMonitorWindow();
    RebuildGPUMonitorWindow();
    RebuildDriveMonitorWindow();
    if (RebuildNetworkMonitor)
      RebuildNetworkMonitorWindow();
    else
      UpdateMonitorNetwork();
  } else {
    UpdateMonitorCPU();
    UpdateMonitorGPU();
    if (RebuildDriveMonitor)
      RebuildDriveMonitorWindow();
    else
      UpdateMonitorDrives();
    if (RebuildNetworkMonitor)
      RebuildNetworkMonitorWindow();
    else
      UpdateMonitorNetwork();
  }

  int64_t total = 0;
  for (TQD_MonitorKind k : kAllKinds)
    if (const TQD_MonitorWindow* w = MonitorWindow(k)) total += w->LastPaintDuration();
  FStatusPanel1 = "Total rendering time: " + std::to_string(total) + " ms";

  StatusChanged();
}

void TQD_MainForm::UpdateMonitorClock(TMonitor_Clock& Sender) {
  (void)Sender;
  const TQD_MonitorWindow* clock = MonitorWindow(TQD_MonitorKind::Clock);
  FRenderTime[Slot(TQD_MonitorKind::Clock)] = clock ? Milliseconds(clock->LastPaintDuration()) : "Disabled";
  StatusChanged();
}

bool TQD_MainForm::PollsAllowPopulation(TQD_MonitorKind AKind) const {
  const bool internalOK = FDataLogger && FDataLogger->LastInternalPollingStatus() == insOK;
  if (AKind == TQD_MonitorKind::Network) return internalOK;
  return internalOK && FDataLogger->LastHWiPollingStatus() == hwsOK;
}

void TQD_MainForm::UpdateMonitor(TQD_MonitorKind AKind) {
  TQD_MonitorWindow* w = MonitorWindow(AKind);
  if (!w) {
    FRenderTime[Slot(AKind)] = "Disabled";
    return;
  }
  if (w->MonitorWindowPopulated())
    w->RefreshMonitorWindow();
  else if (PollsAllowPopulation(AKind))
    w->PopulateMonitorWindow();
  FRenderTime[Slot(AKind)] = Milliseconds(w->LastPaintDuration());
}

void TQD_MainForm::StatusChanged() {
  if (OnStatusChanged) OnStatusChanged();
}

// --- persistence -----------------------------------------------------------------------

void TQD_MainForm::StoreToggleSwitchStates() {
  for (TQD_MonitorKind k : kAllKinds) OnSwitch(k).Value = FToggleSwitch[Slot(k)];
}

void TQD_MainForm::WriteRegistry() {
  FCPUMonitorCustomReadings.SaveToRegistry(FRegistry);
  FGPUMonitorCustomReadings.SaveToRegistry(FRegistry);
  FDriveMonitorCustomReadings.SaveToRegistry(FRegistry);
  FNetworkMonitorCustomReadings.SaveToRegistry(FRegistry);
  SaveSettings(FRegistry, FSettings);
  FColorTable.WriteToRegistry(FRegistry);
}

void TQD_MainForm::SaveState() {
  if (FShutDown) return;
  StoreToggleSwitchStates();
  // Neither size nor position reset: the window only stores its geometry.
  for (TQD_MonitorKind k : kAllKinds)
    if (TQD_MonitorWindow* w = MonitorWindow(k)) w->ResetMonitorWindow(false, false);
  WriteRegistry();
}

void TQD_MainForm::Shutdown() {
  if (FShutDown) return;
  FShutDown = true;
  // No poll may reach windows that are being torn down.
  if (FDataLogger) FDataLogger->Stop();

  // Disabling clears the switches, so their states are stored first.
  StoreToggleSwitchStates();
  for (TQD_MonitorKind k : kDestroyOrder) DisableMonitor(k);
  WriteRegistry();
  FDataLogger.reset();
}
