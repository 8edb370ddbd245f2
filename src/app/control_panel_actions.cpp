// The control panel's action list; see control_panel_actions.h.
#include "app/control_panel_actions.h"

#include <stdexcept>

#include "app/action_images.h"

TQD_ControlPanelActions::TQD_ControlPanelActions(TQD_MainForm& AForm, TQD_ControlPanelCommands ACommands)
    : FForm(AForm), FCommands(std::move(ACommands)) {
  TQD_MainForm& form = FForm;
  const auto add = [this](const char* AName, const char* ACaption, int AImage, std::function<void()> ARun) {
    TQD_Action& a = FList.Add(AName, ACaption, std::move(ARun));
    a.ImageIndex = AImage;
    return &a;
  };

  for (const TQD_MonitorDescriptor& d : QD_MonitorDescriptors) {
    const TQD_MonitorKind k = d.Kind;
    add(d.EnableAction, d.EnableCaption, aiEnable, [&form, k] { form.EnableMonitor(k); });
    add(d.DisableAction, d.DisableCaption, aiDisable,
        [this, &form, k] { FCommands.RunLater([&form, k] { form.DisableMonitor(k); }); });
  }
  add("EnableSharedMemoryViewer", "Enable shared memory viewer", aiEnable,
      [this] { FCommands.EnableSharedMemoryViewer(); });
  add("DisableSharedMemoryViewer", "Disable shared memory viewer", aiDisable,
      [this] { FCommands.DisableSharedMemoryViewer(); });
  for (const TQD_MonitorDescriptor& d : QD_MonitorDescriptors) {
    const TQD_MonitorKind k = d.Kind;
    add(d.RebuildAction, d.RebuildCaption, aiRebuild, [&form, k] { form.RebuildMonitor(k); });
  }
  add("RebuildAllEnabledMonitorWindows", "Rebuild all enabled monitor windows", aiRebuild,
      [&form] { form.RebuildAllEnabledMonitorWindows(); });
  for (const TQD_MonitorDescriptor& d : QD_MonitorDescriptors) {
    const TQD_MonitorKind k = d.Kind;
    add(d.ResetSizeAction, "Reset size", aiResetSize, [&form, k] { form.ResetMonitorSize(k); });
    add(d.ResetPosAction, "Reset position", aiResetPosition, [&form, k] { form.ResetMonitorPos(k); });
  }
  // A dialog runs its own loop: it opens once the click or menu command that
  // asked for it has returned, as the window showing that menu may be rebuilt.
  for (const TQD_MonitorDescriptor& d : QD_MonitorDescriptors) {
    const TQD_MonitorKind k = d.Kind;
    if (d.SettingsAction)
      add(d.SettingsAction, d.SettingsCaption, aiMonitorSettings,
          [this, k] { FCommands.RunLater([this, k] { FCommands.OpenMonitorSettings(k); }); });
  }
  add("OpenGeneralSettings", "General settings", aiGeneralSettings,
      [this] { FCommands.RunLater([this] { FCommands.OpenGeneralSettings(); }); });
  add("OpenColorSettings", "Color configuration", aiColorConfiguration,
      [this] { FCommands.RunLater([this] { FCommands.OpenColorSettings(); }); });
  add("OpenAboutScreen", "About", aiAbout, [this] { FCommands.OpenAboutScreen(); });
  add("ShowControlPanel", "Show control panel", aiShowControlPanel, [this] { SetControlPanelVisible(true); });
  add("HideControlPanel", "Hide control panel", aiHideControlPanel, [this] { SetControlPanelVisible(false); });
  add("ApplySettings", "Apply settings", aiApply, [&form] { form.ApplySettings(); });
  add("ResetCollector", "Reset data collector", aiResetCollector, [&form] { form.ResetCollector(); });
  add("ExitApp", "Exit", aiExit, [this] { FCommands.ExitApp(); });

  FTrayMenu = std::make_unique<TQD_PopupMenuModel>(
      FList, std::initializer_list<const char*>{"ShowControlPanel", "HideControlPanel", "-", "OpenGeneralSettings",
                                                "OpenColorSettings", "-", "OpenAboutScreen", "-", "ExitApp"});
  for (const TQD_MonitorDescriptor& d : QD_MonitorDescriptors) {
    auto menu = std::make_unique<TQD_PopupMenuModel>(
        FList, std::initializer_list<const char*>{d.DisableAction, "-", "ShowControlPanel", "HideControlPanel", "-"});
    if (d.SettingsAction) {
      menu->AddAction((*this)[d.SettingsAction]);
      menu->AddSeparator();
    }
    for (const char* name : {"OpenGeneralSettings", "OpenColorSettings", "-", "OpenAboutScreen", "-", "ExitApp"}) {
      if (std::string(name) == "-")
        menu->AddSeparator();
      else
        menu->AddAction((*this)[name]);
    }
    FMonitorMenus[static_cast<size_t>(d.Kind)] = std::move(menu);
  }
  UpdateVisibilityActions();
}

TQD_Action& TQD_ControlPanelActions::operator[](const char* AName) const {
  TQD_Action* a = FList.Find(AName);
  if (!a) throw std::invalid_argument(std::string("No action ") + AName);
  return *a;
}

void TQD_ControlPanelActions::SetControlPanelVisible(bool AVisible) {
  if (AVisible)
    FForm.ShowControlPanel();
  else
    FForm.HideControlPanel();
  FCommands.SetWindowVisible(FForm.Visible());
  UpdateVisibilityActions();
}

void TQD_ControlPanelActions::UpdateVisibilityActions() {
  TQD_Action& show = (*this)["ShowControlPanel"];
  TQD_Action& hide = (*this)["HideControlPanel"];
  show.Enabled = show.Visible = !FForm.Visible();
  hide.Enabled = hide.Visible = FForm.Visible();
}

void TQD_ControlPanelActions::FormClose() { SetControlPanelVisible(false); }

void TQD_ControlPanelActions::StatusPanel3DblClick() {
  FForm.ResetCollector();
  FForm.RebuildAllEnabledMonitorWindows();
  FCommands.Beep();
  FCommands.ShowInformation(QD_CollectorResetText);
}
