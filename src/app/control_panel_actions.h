// The control panel's action list: every command a button, toggle switch,
// monitor window menu or the notification-area menu runs, with its caption,
// image and state, bound to the control panel's operations. The window side
// gives what only it can do (show itself, open the about window, end the
// loop, beep) through TQD_ControlPanelCommands; everything else is here and
// tested natively.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/main_form.h"
#include "ui/action.h"

struct TQD_ControlPanelCommands {
  std::function<void(bool AVisible)> SetWindowVisible = [](bool) {};
  std::function<void()> OpenAboutScreen = [] {};
  // The settings dialogs: each created, shown modally and destroyed.
  std::function<void()> OpenGeneralSettings = [] {};
  std::function<void(TQD_MonitorKind AKind)> OpenMonitorSettings = [](TQD_MonitorKind) {};
  std::function<void()> OpenColorSettings = [] {};
  std::function<void()> ExitApp = [] {};
  std::function<void()> Beep = [] {};
  std::function<void(const std::string& AText)> ShowInformation = [](const std::string&) {};
  // Runs a command once the current message is handled: a monitor window's
  // menu may disable, and so destroy, the window that shows it.
  std::function<void(std::function<void()>)> RunLater = [](std::function<void()> A) { A(); };
  // The shared memory viewer is a window of the window side. Both run at
  // once: the custom reading list editor opens the viewer and links to it
  // in one step, and the close box's handler expects it gone on return.
  std::function<void()> EnableSharedMemoryViewer = [] {};
  std::function<void()> DisableSharedMemoryViewer = [] {};
};

inline constexpr char QD_CollectorResetText[] = "Data collector has been reinitialized.";

class TQD_ControlPanelActions {
 public:
  // Builds every action and sets the states of creation: exactly one of
  // ShowControlPanel and HideControlPanel is enabled and visible.
  TQD_ControlPanelActions(TQD_MainForm& AForm, TQD_ControlPanelCommands ACommands);

  TQD_ActionList& List() { return FList; }
  TQD_Action& operator[](const char* AName) const;

  // The notification-area icon's menu, and each monitor window's context menu.
  const TQD_PopupMenuModel& TrayMenu() const { return *FTrayMenu; }
  const TQD_PopupMenuModel& MonitorMenu(TQD_MonitorKind AKind) const {
    return *FMonitorMenus[static_cast<size_t>(AKind)];
  }

  // The user closed the control panel: hidden, as by HideControlPanel.
  void FormClose();
  // A double-click on the HWiNFO status panel.
  void StatusPanel3DblClick();

 private:
  void SetControlPanelVisible(bool AVisible);
  void UpdateVisibilityActions();

  TQD_MainForm& FForm;
  TQD_ControlPanelCommands FCommands;
  TQD_ActionList FList;
  std::unique_ptr<TQD_PopupMenuModel> FTrayMenu;
  std::array<std::unique_ptr<TQD_PopupMenuModel>, kMonitorKindCount> FMonitorMenus;
};
