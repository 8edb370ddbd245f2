// The control panel's window; see main_window_win32.h.
#include "app/main_window_win32.h"

#include <dbt.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "app/about_window_win32.h"
#include "app/action_images.h"
#include "app/button_glyphs_win32.h"
#include "app/color_settings_win32.h"
#include "app/control_panel_layout.h"
#include "app/general_settings_win32.h"
#include "app/monitor_settings_win32.h"
#include "base/dpi.h"
#include "base/win32_handles_win32.h"
#include "collector/locale_port.h"
#include "settings/autostart.h"
#include "settings/autostart_win32.h"
#include "settings/program_version_win32.h"
#include "ui/abort_message_win32.h"
#include "ui/icon_win32.h"
#include "ui/message_loop_win32.h"

namespace {

const wchar_t kApplicationClass[] = L"QuendalApplication";

constexpr UINT kRunLaterMessage = WM_APP + 1;
constexpr UINT kNotifyIconMessage = WM_APP + 2;
constexpr int kFirstControlID = 100;

// Loaded by name, as GetDpiForWindow is: the program still starts on systems
// before Windows 10 1607, with the metrics of the primary screen.
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);

template <typename T>
T User32(const char* AName) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(user32, AName))) : nullptr;
}

int MetricForDpi(int AIndex, int ADPI) {
  static const auto forDpi = User32<TGetSystemMetricsForDpi>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(AIndex, static_cast<UINT>(ADPI));
  return GetSystemMetrics(AIndex);
}

RECT WindowRectForClient(HWND AWindow, int AWidth, int AHeight, int ADPI) {
  RECT r{0, 0, AWidth, AHeight};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(AWindow, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(AWindow, GWL_EXSTYLE));
  static const auto forDpi = User32<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
  if (!forDpi || !forDpi(&r, style, FALSE, exStyle, static_cast<UINT>(ADPI))) AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return r;
}

COLORREF WinColor(TColor32 AColor) {
  return RGB((AColor >> 16) & 0xFF, (AColor >> 8) & 0xFF, AColor & 0xFF);
}

}  // namespace

TQD_ApplicationWindow::TQD_ApplicationWindow() : TQD_Window(kApplicationClass) {
  TQD_WindowCreateParams p;
  p.Caption = Utf8ToWide(QD_ApplicationTitle);
  p.Style = WS_POPUP;
  p.Left = p.Top = p.Width = p.Height = 0;
  Create(p);
}

TQD_MainWindow::TQD_MainWindow(HWND AOwner) : TQD_Window(QD_MainFormClass) {
  TQD_WindowCreateParams p;
  p.Caption = Utf8ToWide(QD_ApplicationTitle);
  // The system menu alone: no minimise or maximise box.
  // No WS_CLIPCHILDREN: group boxes leave their inside for the parent to paint.
  p.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  // Tab moves between the controls; no WS_EX_APPWINDOW: the hidden owner carries the taskbar entry.
  p.ExStyle = WS_EX_CONTROLPARENT;
  p.Left = p.Top = 0;
  p.Width = p.Height = 100;
  p.Parent = AOwner;
  Create(p);
  FMagnetic.HookControlPanel(Handle());

  TQD_MainFormSystem system;
  system.ExecutablePath = RunningExecutablePath();
  system.IsWindowsVersionAtLeast = IsWindowsVersionAtLeast;
  system.ProgramVersionText = [] { return GetProgramVersion(RunningExecutablePath()).VersionText; };
  system.ShowFatalError = [this](const std::string& AText) { ShowAbortMessage(Handle(), AText, QD_ApplicationTitle); };
  const TQD_CollectorPorts ports{&FSharedMemory, &FTimers, &FClock, &FSystemInfo, &FNetwork};
  FForm = std::make_unique<TQD_MainForm>(FRegistry, ports, *this, std::move(system));
  // Windows too old: nothing was loaded and the program ends at once.
  if (FForm->TerminateRequested()) return;
  SetWindowTextW(Handle(), Utf8ToWide(FForm->Caption()).c_str());

  TQD_ControlPanelCommands commands;
  commands.SetWindowVisible = [this](bool AVisible) { SetWindowVisible(AVisible); };
  commands.OpenAboutScreen = [this] {
    const TQD_ProgramVersion v = GetProgramVersion(RunningExecutablePath());
    ShowAboutWindow(Handle(), {v.VersionText, v.BuildDateText});
  };
  commands.OpenGeneralSettings = [this] { ShowGeneralSettingsDialog(Handle(), *FForm); };
  commands.OpenMonitorSettings = [this](TQD_MonitorKind AKind) {
    // The editor on the dialog's custom readings tab opens, finds and closes the one viewer.
    const TQD_SharedMemoryViewerActions viewer{&(*FActions)["EnableSharedMemoryViewer"],
                                               &(*FActions)["DisableSharedMemoryViewer"],
                                               [this] { return FViewer ? FViewer->Form() : nullptr; }};
    ShowMonitorSettingsDialog(Handle(), *FForm, AKind, viewer);
  };
  commands.OpenColorSettings = [this] { ShowColorSettingsDialog(Handle(), *FForm); };
  commands.ExitApp = [] { PostQuitMessage(0); };
  commands.Beep = [] { MessageBeep(MB_OK); };
  commands.ShowInformation = [this](const std::string& AText) {
    MessageBoxW(Handle(), Utf8ToWide(AText).c_str(), Utf8ToWide(QD_ApplicationTitle).c_str(), MB_OK | MB_ICONINFORMATION);
  };
  commands.RunLater = [this](std::function<void()> ACommand) {
    FLater.push_back(std::move(ACommand));
    PostMessageW(Handle(), kRunLaterMessage, 0, 0);
  };
  FViewer = std::make_unique<TQD_SharedMemoryViewerSlot>(Handle());
  commands.EnableSharedMemoryViewer = [this] { FViewer->Enable(FForm->DataLogger()); };
  commands.DisableSharedMemoryViewer = [this] { FViewer->Disable(); };
  FActions = std::make_unique<TQD_ControlPanelActions>(*FForm, std::move(commands));
  // The close box goes through the action, so everything bound to it follows.
  FViewer->DisableAction = &(*FActions)["DisableSharedMemoryViewer"];
  FViewer->OnToggle = [this](bool AOn) {
    if (FViewerToggle) FViewerToggle->SetChecked(AOn);
  };
  for (int k = 0; k < kMonitorKindCount; ++k)
    FMenus[static_cast<size_t>(k)] =
        std::make_unique<TQD_PopupMenu>(FActions->MonitorMenu(static_cast<TQD_MonitorKind>(k)));
  FTrayMenu = std::make_unique<TQD_PopupMenu>(FActions->TrayMenu());
  const auto images = [this](int AIndex) {
    return AIndex < static_cast<int>(FMenuImages.size()) ? FMenuImages[static_cast<size_t>(AIndex)].Get() : nullptr;
  };
  FTrayMenu->Images = images;
  for (auto& menu : FMenus) menu->Images = images;

  CreateControls();
  ScaleToDPI();
  // At the minimum size, centred on the primary screen.
  const int dpi = DPI();
  const RECT outer = WindowRectForClient(Handle(), ::ScaleToDPI(QD_ControlPanelMinWidth, dpi),
                                         ::ScaleToDPI(QD_ControlPanelMinHeight, dpi), dpi);
  const int w = outer.right - outer.left, h = outer.bottom - outer.top;
  SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2,
               w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutControls();
  SyncControls();
  FForm->OnStatusChanged = [this] { SyncControls(); };

  FNotifyIcon = std::make_unique<TQD_NotifyIcon>(Handle(), 1, kNotifyIconMessage);
  FNotifyIcon->Add(FSmallIcon.Get(), L"Quendal\n" + Utf8ToWide(FForm->StatusPanel3()));
  if (FForm->Visible()) ShowWindow(Handle(), SW_SHOW);
}

TQD_MainWindow::~TQD_MainWindow() {
  Shutdown();
  FNotifyIcon.reset();
  FForm.reset();
  // The controls go before their parent; their handles would be stale after it.
  FControls.clear();
  Destroy();
}

void TQD_MainWindow::Shutdown() {
  // The viewer reads the data logger, which the form's shutdown destroys.
  if (FViewer) FViewer->Disable();
  if (FForm) FForm->Shutdown();
}

void TQD_MainWindow::PrepareClass(WNDCLASSEXW& AClass) {
  AClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));  // a system brush
}

void TQD_MainWindow::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto& entries = ControlPanelControls();
  FControls.resize(entries.size());
  FPanelBrushes.resize(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const TQD_PanelControl& s = entries[i];
    TControl& c = FControls[i];
    c.Entry = &s;
    const int id = kFirstControlID + static_cast<int>(i);
    const std::wstring text = Utf8ToWide(s.Text);
    // Monitor rows come first, in kind order; the viewer's row has no kind.
    if (s.Row <= kMonitorKindCount) c.Kind = s.Row - 1;
    const auto standard = [&](const wchar_t* AClass, DWORD AStyle, DWORD AExStyle = 0) {
      c.Owned.Reset(CreateWindowExW(AExStyle, AClass, text.c_str(), WS_CHILD | WS_VISIBLE | AStyle, 0, 0, 0, 0,
                                    Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr));
      if (!c.Owned) throw std::runtime_error("Cannot create the control " + std::string(s.Name) + ": " +
                                             SystemErrorText(GetLastError()));
      c.Handle = c.Owned.Get();
    };
    switch (s.Type) {
      case TQD_PanelControlType::Group: standard(L"BUTTON", BS_GROUPBOX); break;
      case TQD_PanelControlType::ToggleSwitch:
        c.Toggle = std::make_unique<TQD_ToggleSwitch>();
        c.Toggle->CreateChild(Handle(), id, text);
        c.Handle = c.Toggle->Handle();
        if (c.Kind < 0) FViewerToggle = c.Toggle.get();
        break;
      case TQD_PanelControlType::RenderTime:
      case TQD_PanelControlType::StatusPanel:
        // SS_NOTIFY: the HWiNFO status panel answers double-clicks.
        standard(L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | SS_NOTIFY, WS_EX_STATICEDGE);
        c.Shown = s.Text;
        FPanelBrushes[i].Reset(CreateSolidBrush(WinColor(s.Color)));
        break;
      case TQD_PanelControlType::Button:
        standard(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP);
        c.Action = &(*FActions)[s.Name];
        break;
    }
  }
}

void TQD_MainWindow::ScaleToDPI() {
  const int dpi = DPI();
  FFont.Reset(CreateFontW(-QD_MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          L"Tahoma"));
  for (const TControl& c : FControls) SendMessageW(c.Handle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), TRUE);
  ScaleButtonGlyphs();

  TQD_IconHandle small = CreateIconFromBitmap32(RenderApplicationIcon(MetricForDpi(SM_CXSMICON, dpi)));
  TQD_IconHandle big = CreateIconFromBitmap32(RenderApplicationIcon(MetricForDpi(SM_CXICON, dpi)));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
  if (FNotifyIcon) FNotifyIcon->SetIcon(small.Get());
  // The old icons are no longer shown anywhere once replaced.
  FSmallIcon = std::move(small);
  FBigIcon = std::move(big);
}

void TQD_MainWindow::ScaleButtonGlyphs() {
  const int size = ButtonGlyphSize(DPI());
  std::vector<TQD_IconHandle> glyphs;
  for (int i = 0; i < QD_ActionImageCount; ++i) glyphs.push_back(CreateButtonGlyph(static_cast<TQD_ActionImage>(i), DPI()));
  for (const TControl& c : FControls)
    if (c.Action && c.Action->ImageIndex >= 0) SetButtonGlyph(c.Handle, glyphs[static_cast<size_t>(c.Action->ImageIndex)]);
  // Buttons do not own their images: the old set goes only after the new one is in.
  FGlyphs = std::move(glyphs);
  // Menus are built when shown and find the current set then.
  FMenuImages.clear();
  const COLORREF menu = GetSysColor(COLOR_MENU);
  const TColor32 menuColor = 0xFF000000u | GetRValue(menu) << 16 | GetGValue(menu) << 8 | GetBValue(menu);
  for (int i = 0; i < QD_ActionImageCount; ++i)
    FMenuImages.push_back(CreateOpaqueBitmap(RenderActionImage(static_cast<TQD_ActionImage>(i), size), menuColor));
}

void TQD_MainWindow::LayoutControls() {
  if (FControls.empty()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  const std::vector<TRect> rects = ControlPanelLayout(client.right, client.bottom, DPI());
  HDWP batch = BeginDeferWindowPos(static_cast<int>(FControls.size()));
  for (size_t i = 0; i < FControls.size() && batch; ++i) {
    const TRect& r = rects[i];
    batch = DeferWindowPos(batch, FControls[i].Handle, nullptr, r.Left, r.Top, r.Width(), r.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch) EndDeferWindowPos(batch);
}

void TQD_MainWindow::SyncControls() { SyncControls(IsWindowVisible(Handle()) != FALSE); }

void TQD_MainWindow::SyncControls(bool ATexts) {
  if (!FForm) return;
  for (TControl& c : FControls) {
    const std::string* text = nullptr;
    switch (c.Entry->Type) {
      case TQD_PanelControlType::RenderTime: text = &FForm->RenderTime(static_cast<TQD_MonitorKind>(c.Kind)); break;
      case TQD_PanelControlType::StatusPanel: {
        const std::string name = c.Entry->Name;
        text = name == "StatusPanel1" ? &FForm->StatusPanel1()
               : name == "StatusPanel2" ? &FForm->StatusPanel2()
                                         : &FForm->StatusPanel3();
        break;
      }
      case TQD_PanelControlType::ToggleSwitch:
        if (c.Kind >= 0)
          c.Toggle->SetChecked(FForm->ToggleSwitch(static_cast<TQD_MonitorKind>(c.Kind)));
        else
          c.Toggle->SetChecked(FViewer && FViewer->Form());
        break;
      case TQD_PanelControlType::Button: {
        // This runs after every poll; under Wine a ShowWindow, even of a shown
        // window, is a SetWindowPos round trip to the server. The style bits
        // are read locally.
        const LONG style = GetWindowLongW(c.Handle, GWL_STYLE);
        if (((style & WS_DISABLED) == 0) != c.Action->Enabled) EnableWindow(c.Handle, c.Action->Enabled);
        if (((style & WS_VISIBLE) != 0) != c.Action->Visible) ShowWindow(c.Handle, c.Action->Visible ? SW_SHOWNA : SW_HIDE);
        break;
      }
      case TQD_PanelControlType::Group: break;
    }
    // A hidden panel's texts wait for WM_SHOWWINDOW: the render times change
    // after nearly every refresh, and each change is a server round trip.
    if (ATexts && text && *text != c.Shown) {
      c.Shown = *text;
      SetWindowTextW(c.Handle, Utf8ToWide(*text).c_str());
    }
  }
  if (FNotifyIcon) FNotifyIcon->SetTip(L"Quendal\n" + Utf8ToWide(FForm->StatusPanel3()));
}

void TQD_MainWindow::SetWindowVisible(bool AVisible) {
  ShowWindow(Handle(), AVisible ? SW_SHOW : SW_HIDE);
  if (AVisible) SetForegroundWindow(Handle());
  SyncControls();
}

void TQD_MainWindow::Command(int AID, int ANotification) {
  const int index = AID - kFirstControlID;
  if (index < 0 || index >= static_cast<int>(FControls.size())) return;
  TControl& c = FControls[static_cast<size_t>(index)];
  switch (c.Entry->Type) {
    case TQD_PanelControlType::Button:
      if (ANotification == BN_CLICKED) c.Action->Execute();
      break;
    case TQD_PanelControlType::ToggleSwitch:
      if (ANotification == BN_CLICKED && c.Kind >= 0)
        FForm->ToggleSwitchClicked(static_cast<TQD_MonitorKind>(c.Kind), c.Toggle->Checked());
      else if (ANotification == BN_CLICKED)
        (*FActions)[c.Toggle->Checked() ? "EnableSharedMemoryViewer" : "DisableSharedMemoryViewer"].Execute();
      // The switch shows whether the window exists, also when creating it failed.
      SyncControls();
      break;
    case TQD_PanelControlType::StatusPanel:
      if (ANotification == STN_DBLCLK && std::string(c.Entry->Name) == "StatusPanel3") FActions->StatusPanel3DblClick();
      break;
    default: break;
  }
}

bool TQD_MainWindow::SetMinTrackSize(MINMAXINFO& AInfo) const {
  if (!Handle()) return false;
  const int dpi = DPI();
  const RECT r = WindowRectForClient(Handle(), ::ScaleToDPI(QD_ControlPanelMinWidth, dpi),
                                     ::ScaleToDPI(QD_ControlPanelMinHeight, dpi), dpi);
  AInfo.ptMinTrackSize = {r.right - r.left, r.bottom - r.top};
  return true;
}

void TQD_MainWindow::DpiChanging(int, int) {
  // Nothing reaches the screen while fonts, glyphs and layout change.
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TQD_MainWindow::DpiChanged(int, int) {
  ScaleToDPI();
  LayoutControls();
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
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

// Window snapping: a monitor window is glued to the control panel.
void TQD_MainWindow::MonitorWindowEnabled(TQD_MonitorHost& AHost, TQD_MonitorWindow&) {
  static_cast<TQD_MonitorHostWin32&>(AHost).MakeMagnetic(Handle());
}

bool TQD_MainWindow::HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
  AResult = 0;
  if (AMessage == TQD_NotifyIcon::TaskbarCreatedMessage() && AMessage != 0) {
    if (FNotifyIcon) FNotifyIcon->TaskbarCreated();
    return true;
  }
  switch (AMessage) {
    case WM_GETMINMAXINFO: return SetMinTrackSize(*reinterpret_cast<MINMAXINFO*>(ALParam));
    case WM_SIZE: LayoutControls(); return true;
    case WM_SHOWWINDOW:
      // Sent before the panel shows, however it is shown.
      if (AWParam) SyncControls(true);
      return false;
    case WM_COMMAND:
      if (ALParam) Command(LOWORD(AWParam), HIWORD(AWParam));
      return true;
    case WM_CTLCOLORSTATIC: {
      const int index = GetDlgCtrlID(reinterpret_cast<HWND>(ALParam)) - kFirstControlID;
      if (index < 0 || index >= static_cast<int>(FPanelBrushes.size()) || !FPanelBrushes[static_cast<size_t>(index)])
        return false;
      const HDC dc = reinterpret_cast<HDC>(AWParam);
      SetBkColor(dc, WinColor(FControls[static_cast<size_t>(index)].Entry->Color));
      SetTextColor(dc, RGB(0, 0, 0));
      AResult = reinterpret_cast<LRESULT>(FPanelBrushes[static_cast<size_t>(index)].Get());
      return true;
    }
    case kRunLaterMessage: {
      std::vector<std::function<void()>> later;
      later.swap(FLater);
      for (auto& command : later) command();
      return true;
    }
    case kNotifyIconMessage: {
      // NOTIFYICON_VERSION_4: the event in the low word, the anchor in wParam.
      const UINT event = LOWORD(ALParam);
      if (event != WM_CONTEXTMENU && event != WM_RBUTTONUP) return true;
      TQD_PopupMenu::TShowOptions options;
      options.ForNotifyIcon = true;
      if (event == WM_CONTEXTMENU) options.Position = POINT{GET_X_LPARAM(AWParam), GET_Y_LPARAM(AWParam)};
      FTrayMenu->Show(Handle(), options);
      return true;
    }
    case WM_CLOSE:
      // Closing the control panel hides it; Exit ends the program.
      FActions->FormClose();
      return true;
    case WM_QUERYENDSESSION:
      // Another program may still cancel the logoff: save, but keep running.
      FForm->SaveState();
      AResult = TRUE;
      return true;
    case WM_SETTINGCHANGE:
      // "intl": the regional settings changed; values and parameters use the
      // new separators from the next poll and populate on.
      if (ALParam) SystemSettingChanged(WideToUtf8(reinterpret_cast<const wchar_t*>(ALParam)));
      return false;  // the default handling still runs
    case WM_DEVICECHANGE:
      // Drives came or went (a stick, a card, a disc, a mapped share): the
      // next internal poll reads the drive list again instead of waiting for
      // its periodic reading.
      if (AWParam == DBT_DEVICEARRIVAL || AWParam == DBT_DEVICEREMOVECOMPLETE)
        if (TQD_DataLogger* logger = FForm->DataLogger()) logger->DrivesChanged();
      return false;  // the default handling still runs
    case WM_ENDSESSION:
      // The session ends once this returns, and the process with it: save now.
      if (AWParam) {
        Shutdown();
        PostQuitMessage(0);
      }
      return true;
    default:
      return false;
  }
}
