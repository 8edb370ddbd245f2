// The five monitor windows. The clock is complete here; the hardware windows
// carry their sensor checks and error texts, and their content rows.
#pragma once

#include <functional>
#include <memory>

#include "monitors/monitor_window.h"
#include "collector/ports.h"

class TMonitor_Clock : public TQD_MonitorWindow {
 public:
  TMonitor_Clock(TQD_MonitorHost& AHost, TQD_Settings& ASettings, TQD_Clock& AClock, TQD_TimerFactory& ATimers);
  ~TMonitor_Clock() override;

  void Show() override;
  // Stores the geometry, stops the timer, then reports once more.
  void Destroying() override;
  // The clock refreshes itself every second; there is nothing to refresh from outside.
  void RefreshMonitorWindow() override {}
  // One tick: repaint the labels, measure, report.
  void Tick();

  // Raised after each tick and when the window goes.
  std::function<void(TMonitor_Clock& Sender)> OnUpdateDone;

 protected:
  bool UsesHWiNFO() const override { return false; }
  bool HasCustomRows() const override { return false; }
  void AddContentRows() override;
  int DefaultHeight() const override { return TQD_GridContainer::MinHeightClock; }
  int MinHeight() const override { return TQD_GridContainer::MinHeightClock; }

 private:
  std::unique_ptr<TQD_Timer> FTimer;
  bool FTimerBusy = false;
};

class TMonitor_CPU : public TQD_MonitorWindow {
 public:
  TMonitor_CPU(TQD_MonitorHost& AHost, TQD_Settings& ASettings, TQD_Clock& AClock)
      : TQD_MonitorWindow(TQD_MonitorKind::CPU, AHost, ASettings, AClock) {}

 protected:
  bool SensorFound() const override;
  void AddContentRows() override;
};

class TMonitor_GPU : public TQD_MonitorWindow {
 public:
  TMonitor_GPU(TQD_MonitorHost& AHost, TQD_Settings& ASettings, TQD_Clock& AClock)
      : TQD_MonitorWindow(TQD_MonitorKind::GPU, AHost, ASettings, AClock) {}

 protected:
  bool SensorFound() const override;
  std::string ErrorMessage() const override;
  void AddContentRows() override;
};

// The memory size in a GPU's header: MiB as GiB with one decimal, or none
// when that decimal is 0 ("8", "7.5" with the locale's separator); empty for 0.
std::string GPUMemorySizeText(uint32_t AMemoryTotal);

class TMonitor_Drives : public TQD_MonitorWindow {
 public:
  TMonitor_Drives(TQD_MonitorHost& AHost, TQD_Settings& ASettings, TQD_Clock& AClock)
      : TQD_MonitorWindow(TQD_MonitorKind::Drives, AHost, ASettings, AClock) {}

 protected:
  bool SensorFound() const override;
  std::string ErrorMessage() const override;
  void AddContentRows() override;
};

class TMonitor_Network : public TQD_MonitorWindow {
 public:
  TMonitor_Network(TQD_MonitorHost& AHost, TQD_Settings& ASettings, TQD_Clock& AClock)
      : TQD_MonitorWindow(TQD_MonitorKind::Network, AHost, ASettings, AClock) {}
  void RefreshMonitorWindow() override;

 protected:
  bool UsesHWiNFO() const override { return false; }
  void AddContentRows() override;
};

// Creates the window of a kind over a host (the control panel's factory).
std::unique_ptr<TQD_MonitorWindow> CreateMonitorWindow(TQD_MonitorKind AKind, TQD_MonitorHost& AHost,
                                                       TQD_Settings& ASettings, TQD_Clock& AClock,
                                                       TQD_TimerFactory& ATimers);
