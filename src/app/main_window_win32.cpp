// The control panel's Win32 side; see main_window_win32.h.
#include "app/main_window_win32.h"

#include "settings/autostart_win32.h"
#include "settings/program_version_win32.h"
#include "base/win32_handles_win32.h"

namespace {

const wchar_t kApplicationClass[] = L"QuendalApplication";

}  // namespace

TQD_ApplicationWindow::TQD_ApplicationWindow() : TQD_Window(kApplicationClass) {
  TQD_WindowCreateParams p;
  p.Caption = QD_ApplicationTitle;
  p.Style = WS_POPUP;
  p.Left = p.Top = p.Width = p.Height = 0;
  Create(p);
}

TQD_MainWindow::TQD_MainWindow(HWND AOwner) : TQD_Window(QD_MainFormClass) {
  TQD_WindowCreateParams p;
  p.Caption = QD_ApplicationTitle;
  p.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  p.ExStyle = 0;  // no WS_EX_APPWINDOW: the hidden owner carries the taskbar entry
  p.Width = 420;
  p.Height = 300;
  p.Parent = AOwner;
  Create(p);
  BuildActions();

  TQD_MainFormSystem system;
  system.ExecutablePath = RunningExecutablePath();
  system.IsWindowsVersionAtLeast = IsWindowsVersionAtLeast;
  system.ProgramVersionText = [] { return GetProgramVersion(RunningExecutablePath()).VersionText; };
  system.ShowFatalError = [this](const std::string& AText) {
    MessageBoxW(Handle(), Utf8ToWide(AText).c_str(), QD_ApplicationTitle, MB_OK | MB_ICONERROR);
    PostQuitMessage(1);
  };
  const TQD_CollectorPorts ports{&FSharedMemory, &FTimers, &FClock, &FSystemInfo, &FNetwork};
  FForm = std::make_unique<TQD_MainForm>(FRegistry, ports, *this, std::move(system));
}

TQD_MainWindow::~TQD_MainWindow() {
  Shutdown();
  FForm.reset();
  Destroy();
}

void TQD_MainWindow::Shutdown() {
  if (FForm) FForm->Shutdown();
}

void TQD_MainWindow::BuildActions() {
  const auto later = [](TQD_Action& AAction) { AAction.Enabled = false; };  // their dialogs come later
  for (int k = 0; k < kMonitorKindCount; ++k) {
    const auto kind = static_cast<TQD_MonitorKind>(k);
    const TQD_MonitorDescriptor& d = MonitorDescriptor(kind);
    // Posted, not run: the action destroys the window whose menu runs it.
    FActions.Add(d.DisableAction, d.DisableCaption, [this, kind] {
      PostMessageW(Handle(), WM_APP + 1, static_cast<WPARAM>(kind), 0);
    });
  }
  FActions.Add("ShowControlPanel", "Show control panel", [this] { FForm->ShowControlPanel(); });
  FActions.Add("HideControlPanel", "Hide control panel", [this] { FForm->HideControlPanel(); });
  for (const TQD_MonitorDescriptor& d : QD_MonitorDescriptors)
    if (d.SettingsAction) later(FActions.Add(d.SettingsAction, d.SettingsCaption));
  later(FActions.Add("OpenGeneralSettings", "General settings"));
  later(FActions.Add("OpenColorSettings", "Color configuration"));
  later(FActions.Add("OpenAboutScreen", "About"));
  FActions.Add("ExitApp", "Exit", [] { PostQuitMessage(0); });

  for (int k = 0; k < kMonitorKindCount; ++k) {
    const auto kind = static_cast<TQD_MonitorKind>(k);
    auto model = std::make_unique<TQD_PopupMenuModel>();
    auto add = [&](const char* AName) {
      if (AName) model->AddAction(*FActions.Find(AName));
      else model->AddSeparator();
    };
    const TQD_MonitorDescriptor& d = MonitorDescriptor(kind);
    add(d.DisableAction);
    add(nullptr);
    add("ShowControlPanel");
    add("HideControlPanel");
    add(nullptr);
    if (d.SettingsAction) {
      add(d.SettingsAction);
      add(nullptr);
    }
    add("OpenGeneralSettings");
    add("OpenColorSettings");
    add(nullptr);
    add("OpenAboutScreen");
    add(nullptr);
    add("ExitApp");
    FMenus[static_cast<size_t>(k)] = std::make_unique<TQD_PopupMenu>(*model);
    FMenuModels[static_cast<size_t>(k)] = std::move(model);
  }
}

std::unique_ptr<TQD_MonitorHost> TQD_MainWindow::CreateHost(TQD_MonitorKind AKind) {
  return std::make_unique<TQD_MonitorHostWin32>(AKind, Handle());
}

void TQD_MainWindow::MonitorWindowCreated(TQD_MonitorHost& AHost, TQD_MonitorWindow& AWindow) {
  auto& host = static_cast<TQD_MonitorHostWin32&>(AHost);
  const HWND window = host.Handle();
  // A left press anywhere on the content drags the window.
  AWindow.OnMouseDown = [window](TQD_MouseButton AButton, int, int) {
    if (AButton != TQD_MouseButton::Left) return;
    ReleaseCapture();
    SendMessageW(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  };
  AWindow.PopupMenu = FMenus[static_cast<size_t>(AWindow.Kind())].get();
  host.Attach(&AWindow);
  host.ShowWhenPopulated();
}

bool TQD_MainWindow::HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
  switch (AMessage) {
    case WM_APP + 1:  // a Disable action from a monitor window's menu
      FForm->DisableMonitor(static_cast<TQD_MonitorKind>(AWParam));
      AResult = 0;
      return true;
    case WM_CLOSE:
      // Closing the control panel hides it; Exit ends the program.
      FForm->HideControlPanel();
      ShowWindow(Handle(), SW_HIDE);
      AResult = 0;
      return true;
    case WM_QUERYENDSESSION:
      // Another program may still cancel the logoff: save, but keep running.
      FForm->SaveState();
      AResult = TRUE;
      return true;
    case WM_ENDSESSION:
      // The session ends once this returns, and the process with it: save now.
      if (AWParam) {
        Shutdown();
        PostQuitMessage(0);
      }
      AResult = 0;
      return true;
    default:
      return false;
  }
}
