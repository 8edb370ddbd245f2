// The control panel's logic; see main_form.h.
#include "app/main_form.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "base/busy_guard.h"
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

}  // namespace

TQD_MainForm::TQD_MainForm(TQD_KeyValueStore& ARegistry, const TQD_CollectorPorts& ACollector,
                           TQD_MonitorHostFactory& AHosts, TQD_MainFormSystem ASystem)
    : FRegistry(ARegistry), FCollector(ACollector), FHosts(AHosts), FSystem(std::move(ASystem)) {
  // Nothing is loaded or started after the message: a timer started here
  // would tick into the message loop and open windows before the end, and
  // Shutdown must not write back settings that were never loaded. The owner
  // of this object ends the application without running the loop.
  if (FSystem.IsWindowsVersionAtLeast && !FSystem.IsWindowsVersionAtLeast(6)) {
    FTerminateRequested = true;
    FShutDown = true;
    if (FSystem.ShowFatalError) FSystem.ShowFatalError(QD_WindowsTooOldText);
    return;
  }

  const std::string version = FSystem.ProgramVersionText ? FSystem.ProgramVersionText() : std::string();
  FCaption = std::string(QD_ApplicationTitle) + " " + version;
  FMetrics.SetVersion(version);

  for (const TQD_MonitorDescriptor& d : QD_MonitorDescriptors) {
    if (!d.CustomReadingsKey) continue;
    auto& list = FCustomReadings[Slot(d.Kind)];
    list = std::make_unique<TQD_CustomReadingsList>(d.CustomReadingsKey);
    list->LoadFromRegistry(FRegistry);
  }

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

  // Each poll's figures go to the metrics endpoint first, whatever the windows do.
  FDataLogger->OnHWiPollingDone = [this](TQD_DataLogger& ASender, bool ADrive, bool ANetwork) {
    FMetrics.HWiPollingDone(ASender);
    UpdateMonitors(ASender, ADrive, ANetwork);
  };
  FDataLogger->OnInternalPollingDone = [this](TQD_DataLogger& ASender, bool ADrive, bool ANetwork) {
    FMetrics.InternalPollingDone(ASender);
    UpdateMonitors(ASender, ADrive, ANetwork);
  };

  FDataLogger->Start();
}

TQD_MainForm::~TQD_MainForm() {
  // Whoever listened may be gone already.
  OnStatusChanged = nullptr;
  Shutdown();
}

TQD_OptionBoolean& TQD_MainForm::OnSwitch(TQD_MonitorKind AKind) {
  return FSettings.*MonitorDescriptor(AKind).On;
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
  // A polling-done event reports once, when it is through.
  if (!FUpdateBusy) StatusChanged();
  // Window snapping takes the window on last, once it is complete.
  FHosts.MonitorWindowEnabled(*slot.Host, *slot.Window);
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
  // Said at once rather than at the next polling-done event: the panel
  // should not show a time for a window that is gone.
  FRenderTime[Slot(AKind)] = "Disabled";
  if (!FShutDown && !FUpdateBusy) StatusChanged();
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

  if (!FShutDown)
    FMetrics.Apply(FSettings.MetricsEndpointEnabled.Value, FSettings.MetricsEndpointPort.Value,
                   FSettings.MetricsEndpointAllInterfaces.Value, FDataLogger.get());

  // Populated windows only change through a rebuild; the next event does it.
  if (!FFirstRun) FRebuild = true;
}

bool TQD_MainForm::AutostartRegistered() { return IsAutostartRegistered(FRegistry, FSystem.ExecutablePath); }

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
  if (!FDataLogger) return;
  const TQD_BusyGuard busy(FUpdateBusy);
  if (!busy) return;

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
  for (const auto& list : FCustomReadings)
    if (list) list->SaveToRegistry(FRegistry);
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
  FMetrics.Stop();

  // Disabling clears the switches, so their states are stored first.
  StoreToggleSwitchStates();
  for (TQD_MonitorKind k : kDestroyOrder) DisableMonitor(k);
  WriteRegistry();
  FDataLogger.reset();
}
