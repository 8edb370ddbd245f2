// The control panel's Win32 side: the window registered under the fixed class
// that marks a running instance, owned by a hidden application window so it
// has no taskbar button of its own, and everything the control panel logic
// needs of the system: the registry, the real collector ports, the monitor
// windows and their context menus. The visible control panel (buttons,
// toggles, tray icon) builds on this window.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "ui/action.h"
#include "collector/clock_win32.h"
#include "app/main_form.h"
#include "ui/menu_win32.h"
#include "monitors/monitor_host_win32.h"
#include "collector/network_win32.h"
#include "settings/registry_store_win32.h"
#include "collector/shared_memory_win32.h"
#include "collector/system_info_win32.h"
#include "collector/timer_queue_timer_win32.h"
#include "ui/window_win32.h"
#include "ui/magnetic_win32.h"

inline constexpr wchar_t QD_MainFormClass[] = L"{6BA1E94A-3E85-4257-B2B7-887912881909}";

// The hidden application window: the owner of the control panel.
class TQD_ApplicationWindow final : public TQD_Window {
 public:
  TQD_ApplicationWindow();
  ~TQD_ApplicationWindow() override { Destroy(); }
};

class TQD_MainWindow final : public TQD_Window, public TQD_MonitorHostFactory {
 public:
  explicit TQD_MainWindow(HWND AOwner);
  ~TQD_MainWindow() override;

  TQD_MainForm& Form() { return *FForm; }
  // Saves everything now (windows' geometry, lists, settings, colours): at
  // exit and when the session ends.
  void Shutdown();

 protected:
  bool HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) override;

 private:
  // Window snapping: before everything else and gone after everything else.
  TQD_MagneticWin32 FMagnetic;
  void MonitorWindowEnabled(TQD_MonitorHost& AHost, TQD_MonitorWindow& AWindow) override;

  std::unique_ptr<TQD_MonitorHost> CreateHost(TQD_MonitorKind AKind) override;
  void MonitorWindowCreated(TQD_MonitorHost& AHost, TQD_MonitorWindow& AWindow) override;
  void BuildActions();

  TQD_RegistryStoreWin32 FRegistry;
  TQD_SharedMemoryWin32 FSharedMemory;
  TQD_TimerFactoryWin32 FTimers;
  TQD_ClockWin32 FClock;
  TQD_SystemInfoWin32 FSystemInfo;
  TQD_NetworkWin32 FNetwork;
  TQD_ActionList FActions;
  std::array<std::unique_ptr<TQD_PopupMenuModel>, kMonitorKindCount> FMenuModels;
  std::array<std::unique_ptr<TQD_PopupMenu>, kMonitorKindCount> FMenus;
  std::unique_ptr<TQD_MainForm> FForm;
};
