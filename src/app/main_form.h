// The control panel's logic: it owns every long-lived object (data logger,
// colour tables, custom readings lists, shared font, settings, the five
// monitor windows), turns the data logger's polling-done events into status
// texts and into populating, refreshing or rebuilding the monitor windows, and
// writes everything back to the store when it shuts down.
//
// The control panel's own window binds its buttons, toggle switches and menus
// to the operations below and shows the texts and switch states it reads here;
// nothing in this file knows about that window.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "render/bitmap32.h"
#include "widgets/color_table.h"
#include "readings/custom_readings_list.h"
#include "collector/data_logger.h"
#include "settings/key_value_store.h"
#include "monitors/monitor_host_factory.h"
#include "monitors/monitors.h"
#include "metrics/metrics_endpoint.h"
#include "settings/settings.h"

// What the control panel asks of the running system besides its ports.
struct TQD_MainFormSystem {
  // Data of the autostart entry: the full path of this executable.
  std::string ExecutablePath;
  // The operating-system test: NT platform with at least that major version.
  std::function<bool(unsigned AMajor)> IsWindowsVersionAtLeast = [](unsigned) { return true; };
  // "1.7"; may throw the system's error when the version resource is missing.
  std::function<std::string()> ProgramVersionText = [] { return std::string(); };
  // Shows the fatal error (one "Abort" button) before the application ends.
  std::function<void(const std::string& AText)> ShowFatalError = [](const std::string&) {};
};

inline constexpr char QD_WindowsTooOldText[] = "This application requires Windows Vista or newer!";

class TQD_MainForm {
 public:
  // Creates and loads everything, applies the settings and starts polling.
  // No monitor window exists yet: the first polling-done event creates them.
  TQD_MainForm(TQD_KeyValueStore& ARegistry, const TQD_CollectorPorts& ACollector,
               TQD_MonitorHostFactory& AHosts, TQD_MainFormSystem ASystem = {});
  // Runs Shutdown if it has not run.
  ~TQD_MainForm();
  TQD_MainForm(const TQD_MainForm&) = delete;
  TQD_MainForm& operator=(const TQD_MainForm&) = delete;

  // --- monitor windows, by kind ------------------------------------------------
  // Each does nothing when the window does not exist (Enable: when it does).
  void EnableMonitor(TQD_MonitorKind AKind);
  void DisableMonitor(TQD_MonitorKind AKind);
  void RebuildMonitor(TQD_MonitorKind AKind);
  void ResetMonitorSize(TQD_MonitorKind AKind);
  void ResetMonitorPos(TQD_MonitorKind AKind);
  // A click on a toggle switch that is now in the state AOn.
  void ToggleSwitchClicked(TQD_MonitorKind AKind, bool AOn);

  void EnableClock() { EnableMonitor(TQD_MonitorKind::Clock); }
  void EnableCPUMonitor() { EnableMonitor(TQD_MonitorKind::CPU); }
  void EnableGPUMonitor() { EnableMonitor(TQD_MonitorKind::GPU); }
  void EnableDriveMonitor() { EnableMonitor(TQD_MonitorKind::Drives); }
  void EnableNetworkMonitor() { EnableMonitor(TQD_MonitorKind::Network); }
  void DisableClock() { DisableMonitor(TQD_MonitorKind::Clock); }
  void DisableCPUMonitor() { DisableMonitor(TQD_MonitorKind::CPU); }
  void DisableGPUMonitor() { DisableMonitor(TQD_MonitorKind::GPU); }
  void DisableDriveMonitor() { DisableMonitor(TQD_MonitorKind::Drives); }
  void DisableNetworkMonitor() { DisableMonitor(TQD_MonitorKind::Network); }
  void RebuildClockMonitorWindow() { RebuildMonitor(TQD_MonitorKind::Clock); }
  void RebuildCPUMonitorWindow() { RebuildMonitor(TQD_MonitorKind::CPU); }
  void RebuildGPUMonitorWindow() { RebuildMonitor(TQD_MonitorKind::GPU); }
  void RebuildDriveMonitorWindow() { RebuildMonitor(TQD_MonitorKind::Drives); }
  void RebuildNetworkMonitorWindow() { RebuildMonitor(TQD_MonitorKind::Network); }
  void ResetClockWindowSize() { ResetMonitorSize(TQD_MonitorKind::Clock); }
  void ResetCPUMonitorWindowSize() { ResetMonitorSize(TQD_MonitorKind::CPU); }
  void ResetGPUMonitorWindowSize() { ResetMonitorSize(TQD_MonitorKind::GPU); }
  void ResetDriveMonitorWindowSize() { ResetMonitorSize(TQD_MonitorKind::Drives); }
  void ResetNetworkMonitorWindowSize() { ResetMonitorSize(TQD_MonitorKind::Network); }
  void ResetClockWindowPos() { ResetMonitorPos(TQD_MonitorKind::Clock); }
  void ResetCPUMonitorWindowPos() { ResetMonitorPos(TQD_MonitorKind::CPU); }
  void ResetGPUMonitorWindowPos() { ResetMonitorPos(TQD_MonitorKind::GPU); }
  void ResetDriveMonitorWindowPos() { ResetMonitorPos(TQD_MonitorKind::Drives); }
  void ResetNetworkMonitorWindowPos() { ResetMonitorPos(TQD_MonitorKind::Network); }

  // Clock, CPU, GPU, drives, network: each that exists.
  void RebuildAllEnabledMonitorWindows();

  // --- collector and settings ----------------------------------------------------
  // The next HWiNFO poll rebuilds the hardware model.
  void ResetCollector();
  // Autostart entry, corners, font, data logger, working colours into the live
  // table; after start-up also a rebuild of every window at the next event.
  void ApplySettings();
  // Whether the autostart entry names this executable now: what the general
  // settings dialog shows, whatever the setting says.
  bool AutostartRegistered();

  // --- control panel visibility ------------------------------------------------------
  void ShowControlPanel();
  void HideControlPanel();
  bool Visible() const { return FVisible; }
  // Exactly one of the two actions is enabled (and shown) at a time.
  bool ShowControlPanelEnabled() const { return !FVisible; }
  bool HideControlPanelEnabled() const { return FVisible; }

  // --- event handlers ------------------------------------------------------------------
  // Both polling-done events of the data logger.
  void UpdateMonitors(TQD_DataLogger& Sender, bool RebuildDriveMonitor, bool RebuildNetworkMonitor);
  // The clock's OnUpdateDone: after each of its ticks and when it goes.
  void UpdateMonitorClock(TMonitor_Clock& Sender);
  void UpdateMonitorCPU() { UpdateMonitor(TQD_MonitorKind::CPU); }
  void UpdateMonitorGPU() { UpdateMonitor(TQD_MonitorKind::GPU); }
  void UpdateMonitorDrives() { UpdateMonitor(TQD_MonitorKind::Drives); }
  void UpdateMonitorNetwork() { UpdateMonitor(TQD_MonitorKind::Network); }

  // Raised after every change of the status or render-time texts or of the
  // toggle switches that a polling-done event or the clock made, so the
  // control panel's window can show them.
  std::function<void()> OnStatusChanged;

  // --- persistence ---------------------------------------------------------------------
  // Everything reaches the store here and nowhere else (the autostart entry
  // aside), so a logoff must pass through one of these: SaveState when the
  // session is asked to end (another program may still cancel that), Shutdown
  // when it does end, and Shutdown again (harmlessly) at exit.

  // Writes what would be lost if the process ended now (switch states, window
  // geometry, lists, settings, colours) and keeps everything running.
  void SaveState();
  // The end: polling stopped, switch states into the settings, the windows
  // destroyed (each stores its geometry), lists, settings and colours written,
  // the data logger destroyed. Runs once; later calls do nothing, and so does
  // every operation that needs a window or the data logger.
  void Shutdown();
  bool ShutDown() const { return FShutDown; }

  // --- state ---------------------------------------------------------------------------
  const std::string& Caption() const { return FCaption; }
  // The operating system is too old: the error was shown, nothing else was
  // created, and the application must end without running its loop.
  bool TerminateRequested() const { return FTerminateRequested; }
  bool FirstRun() const { return FFirstRun; }
  bool UpdateBusy() const { return FUpdateBusy; }
  bool RebuildPending() const { return FRebuild; }

  const std::string& StatusPanel1() const { return FStatusPanel1; }
  const std::string& StatusPanel2() const { return FStatusPanel2; }
  // The HWiNFO status, also what the notification-area icon's tip shows.
  const std::string& StatusPanel3() const { return FStatusPanel3; }
  const std::string& RenderTime(TQD_MonitorKind AKind) const { return FRenderTime[Slot(AKind)]; }
  const std::string& Clock_RenderTime() const { return RenderTime(TQD_MonitorKind::Clock); }
  const std::string& CPUMonitor_RenderTime() const { return RenderTime(TQD_MonitorKind::CPU); }
  const std::string& GPUMonitor_RenderTime() const { return RenderTime(TQD_MonitorKind::GPU); }
  const std::string& DriveMonitor_RenderTime() const { return RenderTime(TQD_MonitorKind::Drives); }
  const std::string& NetworkMonitor_RenderTime() const { return RenderTime(TQD_MonitorKind::Network); }

  bool ToggleSwitch(TQD_MonitorKind AKind) const { return FToggleSwitch[Slot(AKind)]; }
  bool Clock_ToggleSwitch() const { return ToggleSwitch(TQD_MonitorKind::Clock); }
  bool CPUMonitor_ToggleSwitch() const { return ToggleSwitch(TQD_MonitorKind::CPU); }
  bool GPUMonitor_ToggleSwitch() const { return ToggleSwitch(TQD_MonitorKind::GPU); }
  bool DriveMonitor_ToggleSwitch() const { return ToggleSwitch(TQD_MonitorKind::Drives); }
  bool NetworkMonitor_ToggleSwitch() const { return ToggleSwitch(TQD_MonitorKind::Network); }

  // The window of a kind, or nullptr while it is disabled.
  TQD_MonitorWindow* MonitorWindow(TQD_MonitorKind AKind) const { return FWindows[Slot(AKind)].Window.get(); }
  // nullptr once shut down.
  TQD_DataLogger* DataLogger() const { return FDataLogger.get(); }
  TQD_Settings& Settings() { return FSettings; }
  const TQD_Settings& Settings() const { return FSettings; }
  TQD_ColorTable& ColorTable() { return FColorTable; }
  // What the colour dialog edits; ApplySettings copies it into the live table.
  TQD_ColorTable& WorkingColorTable() { return FWorkingColorTable; }
  const TQD_Font& SharedFont() const { return FFont; }
  // The metrics endpoint the settings switch on; its StatusText for the panel.
  const TQD_MetricsEndpoint& Metrics() const { return FMetrics; }
  // The custom readings list of a hardware window; nullptr for the clock.
  TQD_CustomReadingsList* CustomReadingsList(TQD_MonitorKind AKind) const { return FCustomReadings[Slot(AKind)].get(); }

 private:
  struct TWindowSlot {
    std::unique_ptr<TQD_MonitorHost> Host;
    std::unique_ptr<TQD_MonitorWindow> Window;  // goes before its host
  };

  static size_t Slot(TQD_MonitorKind AKind) { return static_cast<size_t>(AKind); }
  TQD_OptionBoolean& OnSwitch(TQD_MonitorKind AKind);
  void UpdateMonitor(TQD_MonitorKind AKind);
  // Whether the polls a not yet populated window depends on have succeeded.
  bool PollsAllowPopulation(TQD_MonitorKind AKind) const;
  void StoreToggleSwitchStates();
  void WriteRegistry();
  void StatusChanged();

  TQD_KeyValueStore& FRegistry;
  TQD_CollectorPorts FCollector;
  TQD_MonitorHostFactory& FHosts;
  TQD_MainFormSystem FSystem;

  bool FFirstRun = true;
  bool FUpdateBusy = false;
  bool FRebuild = false;
  bool FHWiWasOK = false;  // the HWiNFO status at the last polling-done event
  bool FShutDown = false;
  bool FTerminateRequested = false;
  bool FVisible = true;
  std::string FCaption;

  // By kind; none for the clock. Destroyed network first, CPU last.
  std::array<std::unique_ptr<TQD_CustomReadingsList>, kMonitorKindCount> FCustomReadings;
  TQD_Font FFont;  // the monitor windows' shared font; ApplySettings fills it from the settings
  TQD_ColorTable FColorTable;
  TQD_ColorTable FWorkingColorTable;
  TQD_Settings FSettings;
  std::unique_ptr<TQD_DataLogger> FDataLogger;
  TQD_MetricsEndpoint FMetrics;
  std::array<TWindowSlot, kMonitorKindCount> FWindows;

  std::string FStatusPanel1 = "-";
  std::string FStatusPanel2 = "-";
  std::string FStatusPanel3 = "-";
  std::array<std::string, kMonitorKindCount> FRenderTime{"Disabled", "Disabled", "Disabled", "Disabled",
                                                          "Disabled"};
  std::array<bool, kMonitorKindCount> FToggleSwitch{};
};
