// The monitor settings dialogs; see monitor_settings_win32.h.
#include "app/monitor_settings_win32.h"

#include <stdexcept>

namespace {

struct TMonitorSettingsKind {
  TQD_MonitorKind Kind;
  const wchar_t* Caption;
  const wchar_t* ClassName;
  const TQD_SettingsPage& (*Page)();
};

const TMonitorSettingsKind kKinds[] = {
    {TQD_MonitorKind::CPU, L"Quendal - CPU monitor settings", L"QuendalCPUMonitorSettings", CPUMonitorSettingsPage},
    {TQD_MonitorKind::GPU, L"Quendal - GPU monitor settings", L"QuendalGPUMonitorSettings", GPUMonitorSettingsPage},
    {TQD_MonitorKind::Drives, L"Quendal - Drive monitor settings", L"QuendalDriveMonitorSettings",
     DriveMonitorSettingsPage},
    {TQD_MonitorKind::Network, L"Quendal - Network monitor settings", L"QuendalNetworkMonitorSettings",
     NetworkMonitorSettingsPage},
};

const TMonitorSettingsKind& KindRow(TQD_MonitorKind AKind) {
  for (const TMonitorSettingsKind& k : kKinds)
    if (k.Kind == AKind) return k;
  throw std::invalid_argument("The clock has no settings dialog");
}

void Run(TQD_Action* AAction) {
  if (AAction) AAction->Execute();
}

}  // namespace

const wchar_t* MonitorSettingsCaption(TQD_MonitorKind AKind) { return KindRow(AKind).Caption; }

TMonitor_Settings::TMonitor_Settings(HWND AOwner, TQD_MainForm& AForm, TQD_MonitorKind AKind,
                                     const TQD_SharedMemoryViewerActions& AViewer)
    : TQD_SettingsDialogFrame(KindRow(AKind).ClassName, AOwner, KindRow(AKind).Caption),
      FForm(AForm),
      FKind(AKind),
      FViewer(AViewer),
      FModel(KindRow(AKind).Page()) {
  TQD_SettingsPageWindow& general = AddPage(L"General");
  TQD_SettingsPageWindow& custom = AddPage(L"Custom sensor readings");
  CreateButtons();

  Run(FViewer.DisableSharedMemoryViewer);
  FView = std::make_unique<TQD_SettingsPageView>(general.Handle(), Font(), FModel);
  FModel.Fill(FForm.Settings(), false);
  FView->Show();

  FCustomReadingListEditor = std::make_unique<TQD_CustomReadingListEditor>(custom.Handle());
  FCustomReadingListEditor->SetDataLogger(FForm.DataLogger());
  FCustomReadingListEditor->SetCustomReadingsList(FForm.CustomReadingsList(AKind));
  FCustomReadingListEditor->SetOpenURIDSelectorAction(FViewer.EnableSharedMemoryViewer);
  FCustomReadingListEditor->SetCloseURIDSelectorAction(FViewer.DisableSharedMemoryViewer);
  if (FViewer.Viewer) FCustomReadingListEditor->SetURIDSelectorSource(FViewer.Viewer);
  FCustomReadingListEditor->Init();
  custom.OnResize = [this] {
    if (FCustomReadingListEditor) FCustomReadingListEditor->AlignToParent();
  };
  LayoutControls();
}

TMonitor_Settings::~TMonitor_Settings() {
  // The editor goes before the page it sits on.
  FCustomReadingListEditor.reset();
}

void TMonitor_Settings::ApplyButtonClick() {
  FCustomReadingListEditor->ApplySelection();
  FView->Read();
  FModel.Apply(FForm.Settings());
  FForm.ApplySettings();
}

void TMonitor_Settings::FormClose() { Run(FViewer.DisableSharedMemoryViewer); }

void TMonitor_Settings::LayoutControls() {
  TQD_SettingsDialogFrame::LayoutControls();
  if (FView) FView->Layout(DPI());
  if (FCustomReadingListEditor) FCustomReadingListEditor->AlignToParent();
}

bool ShowMonitorSettingsDialog(HWND AOwner, TQD_MainForm& AForm, TQD_MonitorKind AKind,
                               const TQD_SharedMemoryViewerActions& AViewer) {
  TMonitor_Settings dialog(AOwner, AForm, AKind, AViewer);
  return dialog.ShowModal();
}
