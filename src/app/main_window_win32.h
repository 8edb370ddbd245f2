// The control panel's window: registered under the fixed class that marks a
// running instance, owned by a hidden application window so it has no
// taskbar button of its own. It lays out the controls of
// control_panel_layout.h as real child windows (group boxes, toggle
// switches, buttons with their action's image, status panels), binds them,
// the monitor windows' context menus and the notification-area icon's menu
// to one action list, and shows what the control panel logic reports. It
// also holds everything that logic needs of the system: the registry, the
// real collector ports and the monitor windows.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "app/control_panel_actions.h"
#include "app/control_panel_layout.h"
#include "app/main_form.h"
#include "base/win32_handles_win32.h"
#include "collector/clock_win32.h"
#include "collector/network_win32.h"
#include "collector/shared_memory_win32.h"
#include "collector/system_info_win32.h"
#include "collector/timer_queue_timer_win32.h"
#include "monitors/monitor_host_win32.h"
#include "readings/urid_selector_form_win32.h"
#include "settings/registry_store_win32.h"
#include "ui/menu_win32.h"
#include "ui/notify_icon_win32.h"
#include "ui/toggle_switch_win32.h"
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
  void PrepareClass(WNDCLASSEXW& AClass) override;
  void DpiChanging(int AOldDPI, int ANewDPI) override;
  void DpiChanged(int AOldDPI, int ANewDPI) override;

 private:
  // Window snapping: before everything else and gone after everything else.
  TQD_MagneticWin32 FMagnetic;
  void MonitorWindowEnabled(TQD_MonitorHost& AHost, TQD_MonitorWindow& AWindow) override;

  struct TControl {
    const TQD_PanelControl* Entry;
    HWND Handle = nullptr;
    TQD_WindowHandle Owned;                    // standard controls
    std::unique_ptr<TQD_ToggleSwitch> Toggle;  // our own
    TQD_Action* Action = nullptr;              // buttons
    int Kind = -1;                             // toggle and render time: the monitor kind
    std::string Shown;                         // panels: the text on screen
  };

  std::unique_ptr<TQD_MonitorHost> CreateHost(TQD_MonitorKind AKind) override;
  void MonitorWindowCreated(TQD_MonitorHost& AHost, TQD_MonitorWindow& AWindow) override;
  void CreateControls();
  // Font, glyphs and the window icons at the window's DPI.
  void ScaleToDPI();
  // The button glyphs at S = MulDiv(16, dpi, 96).
  void ScaleButtonGlyphs();
  void LayoutControls();
  // Texts, switch states, action states and the tray tip from the logic;
  // the panel's texts only when it is visible, or when ATexts says so.
  void SyncControls();
  void SyncControls(bool ATexts);
  void SetWindowVisible(bool AVisible);
  void Command(int AID, int ANotification);
  bool SetMinTrackSize(MINMAXINFO& AInfo) const;
  void PaintBackground(HDC ADC);

  TQD_RegistryStoreWin32 FRegistry;
  TQD_SharedMemoryWin32 FSharedMemory;
  TQD_TimerFactoryWin32 FTimers;
  TQD_ClockWin32 FClock;
  TQD_SystemInfoWin32 FSystemInfo;
  TQD_NetworkWin32 FNetwork;
  std::unique_ptr<TQD_MainForm> FForm;
  std::unique_ptr<TQD_ControlPanelActions> FActions;
  std::array<std::unique_ptr<TQD_PopupMenu>, kMonitorKindCount> FMenus;
  std::unique_ptr<TQD_PopupMenu> FTrayMenu;
  std::unique_ptr<TQD_NotifyIcon> FNotifyIcon;

  std::vector<TControl> FControls;
  TQD_FontHandle FFont;
  std::vector<TQD_IconHandle> FGlyphs;  // by action image
  std::vector<TQD_BitmapHandle> FMenuImages;  // by action image
  TQD_IconHandle FSmallIcon, FBigIcon;
  std::vector<TQD_BrushHandle> FPanelBrushes;  // by control, for panels
  std::vector<std::function<void()>> FLater;  // TQD_ControlPanelCommands::RunLater
  // The shared memory viewer, owned by this window; its switch is FViewerToggle.
  std::unique_ptr<TQD_SharedMemoryViewerSlot> FViewer;
  TQD_ToggleSwitch* FViewerToggle = nullptr;
};
