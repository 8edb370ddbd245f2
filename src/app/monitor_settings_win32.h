// The four monitor settings dialogs ("Quendal - CPU monitor settings" and its
// siblings): tab "General" built from the monitor's page, tab "Custom sensor
// readings" holding the custom reading list editor on the monitor's list.
// What differs between the four is one row of a table; the dialog is one class.
//
// Creation runs in this order: the viewer is closed (so the one the editor
// opens is linked to it), the General tab is filled, the editor is created,
// given the data logger, the list and the two viewer actions, and Init fills
// it. "Apply": the editor's ApplySelection, the tab's settings in table
// order, then the control panel's ApplySettings. Closing closes the viewer.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "app/main_form.h"
#include "app/settings_dialog_frame_win32.h"
#include "app/settings_page_win32.h"
#include "readings/custom_reading_list_editor_win32.h"
#include "ui/action.h"

// The control panel's shared memory viewer actions and its viewer slot.
struct TQD_SharedMemoryViewerActions {
  TQD_Action* EnableSharedMemoryViewer = nullptr;
  TQD_Action* DisableSharedMemoryViewer = nullptr;
  // The viewer Enable created, nullptr when there is none.
  std::function<TQD_URIDSelector*()> Viewer;
};

// AKind: CPU, GPU, Drives or Network.
const wchar_t* MonitorSettingsCaption(TQD_MonitorKind AKind);

class TMonitor_Settings final : public TQD_SettingsDialogFrame {
 public:
  TMonitor_Settings(HWND AOwner, TQD_MainForm& AForm, TQD_MonitorKind AKind,
                    const TQD_SharedMemoryViewerActions& AViewer);
  ~TMonitor_Settings() override;

  TQD_SettingsPageView& View() { return *FView; }
  TQD_CustomReadingListEditor& CustomReadingListEditor() { return *FCustomReadingListEditor; }

 protected:
  void ApplyButtonClick() override;
  void FormClose() override;
  void LayoutControls() override;

 private:
  TQD_MainForm& FForm;
  TQD_MonitorKind FKind;
  TQD_SharedMemoryViewerActions FViewer;
  TQD_SettingsPageModel FModel;
  std::unique_ptr<TQD_SettingsPageView> FView;
  std::unique_ptr<TQD_CustomReadingListEditor> FCustomReadingListEditor;
};

// True when the user left with "OK".
bool ShowMonitorSettingsDialog(HWND AOwner, TQD_MainForm& AForm, TQD_MonitorKind AKind,
                               const TQD_SharedMemoryViewerActions& AViewer);
