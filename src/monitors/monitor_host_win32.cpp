// The Win32 window of a monitor; see monitor_host_win32.h.
#include "monitors/monitor_host_win32.h"

#include <windowsx.h>

#include "base/cost_meter.h"
#include "ui/bitmap_blit_win32.h"
#include "ui/magnetic_win32.h"
#include "ui/menu_win32.h"
#include "base/win32_handles_win32.h"
#include "ui/window_corners_win32.h"

namespace {

const wchar_t kMonitorClass[] = L"QuendalMonitorWindow";
// No caption, resizable by its edges; owned windows get no taskbar button.
constexpr DWORD kStyle = WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

std::wstring CaptionOf(TQD_MonitorKind AKind) { return Utf8ToWide(MonitorCaption(AKind)); }

BOOL CALLBACK CollectWorkArea(HMONITOR AMonitor, HDC, LPRECT, LPARAM AData) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(AMonitor, &info)) {
    const RECT& r = info.rcWork;
    reinterpret_cast<std::vector<TQD_ScreenRect>*>(AData)->push_back({r.left, r.top, r.right, r.bottom});
  }
  return TRUE;
}

}  // namespace

TQD_MonitorHostWin32::TQD_MonitorHostWin32(TQD_MonitorKind AKind, HWND AOwner) : TQD_Window(kMonitorClass) {
  TQD_WindowCreateParams p;
  p.Caption = CaptionOf(AKind);
  p.Style = kStyle;
  p.ExStyle = kExStyle;
  p.Left = p.Top = 0;
  p.Width = p.Height = 120;
  p.Parent = AOwner;
  Create(p);
}

TQD_MonitorHostWin32::~TQD_MonitorHostWin32() { Destroy(); }

DWORD TQD_MonitorHostWin32::Style() const { return kStyle; }
DWORD TQD_MonitorHostWin32::ExStyle() const { return kExStyle; }

void TQD_MonitorHostWin32::Attach(TQD_MonitorWindow* AMonitor) {
  FMonitor = AMonitor;
  int w = 0, h = 0;
  GetClientSize(w, h);
  if (FMonitor) FMonitor->ClientResized(w, h);
}

namespace {
// Posted by ShowWhenPopulated, so the window appears once it has its size and place.
constexpr UINT WM_QD_SHOW = WM_APP + 2;
}  // namespace

void TQD_MonitorHostWin32::ShowWhenPopulated() { PostMessageW(Handle(), WM_QD_SHOW, 0, 0); }

bool TQD_MonitorHostWin32::MakeMagnetic(HWND AParent) { return MakeWindowMagnetic(Handle(), AParent); }

void TQD_MonitorHostWin32::GetClientSize(int& AWidth, int& AHeight) const {
  RECT r{};
  GetClientRect(Handle(), &r);
  AWidth = r.right - r.left;
  AHeight = r.bottom - r.top;
}

void TQD_MonitorHostWin32::WindowSizeForClient(int AClientWidth, int AClientHeight, int& AWidth,
                                               int& AHeight) const {
  RECT r{0, 0, AClientWidth, AClientHeight};
  AdjustWindowRectEx(&r, Style(), FALSE, ExStyle());
  AWidth = r.right - r.left;
  AHeight = r.bottom - r.top;
}

void TQD_MonitorHostWin32::SetClientSize(int AWidth, int AHeight) {
  int w = 0, h = 0;
  WindowSizeForClient(std::max(AWidth, FMinClientWidth), std::max(AHeight, FMinClientHeight), w, h);
  SetWindowPos(Handle(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TQD_MonitorHostWin32::SetMinClientSize(int AWidth, int AHeight) {
  FMinClientWidth = AWidth;
  FMinClientHeight = AHeight;
}

void TQD_MonitorHostWin32::GetPosition(int& ALeft, int& ATop) const {
  RECT r{};
  GetWindowRect(Handle(), &r);
  ALeft = r.left;
  ATop = r.top;
}

void TQD_MonitorHostWin32::SetPosition(int ALeft, int ATop) {
  SetWindowPos(Handle(), nullptr, ALeft, ATop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TQD_MonitorHostWin32::GetPrimaryScreenSize(int& AWidth, int& AHeight) const {
  AWidth = GetSystemMetrics(SM_CXSCREEN);
  AHeight = GetSystemMetrics(SM_CYSCREEN);
}

std::vector<TQD_ScreenRect> TQD_MonitorHostWin32::MonitorWorkAreas() const {
  std::vector<TQD_ScreenRect> areas;
  EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

void TQD_MonitorHostWin32::SetCornerPreference(int APreference) {
  SetWindowCornerPreference(Handle(), static_cast<uint8_t>(APreference));
}

void TQD_MonitorHostWin32::InvalidateWidgets() {
  if (!FMonitor) return;
  FMonitor->Grid().TakeDirty(FDirty);
  if (FDirty.empty()) return;
  if (!FDirtyRegion) FDirtyRegion.Reset(CreateRectRgn(0, 0, 0, 0));
  if (!FCellRegion) FCellRegion.Reset(CreateRectRgn(0, 0, 0, 0));
  if (FDirtyRegion && FCellRegion) {
    SetRectRgn(FDirtyRegion.Get(), 0, 0, 0, 0);
    for (const TQD_Widget* w : FDirty) {
      const TRect& b = w->BoundsRect();
      SetRectRgn(FCellRegion.Get(), b.Left, b.Top, b.Right, b.Bottom);
      CombineRgn(FDirtyRegion.Get(), FDirtyRegion.Get(), FCellRegion.Get(), RGN_OR);
    }
    InvalidateRgn(Handle(), FDirtyRegion.Get(), FALSE);
  } else {
    for (const TQD_Widget* w : FDirty) {  // no regions to be had: cell by cell
      const TRect& b = w->BoundsRect();
      const RECT r{b.Left, b.Top, b.Right, b.Bottom};
      InvalidateRect(Handle(), &r, FALSE);
    }
  }
}

void TQD_MonitorHostWin32::Paint() {
  if (!FMonitor) {  // nothing to draw yet: the paint only validates
    TQD_PaintScope paint(Handle());
    return;
  }
  static constexpr TQD_CostKind kWindowCost[kMonitorKindCount] = {
      TQD_CostKind::PaintClock, TQD_CostKind::PaintCPU, TQD_CostKind::PaintGPU, TQD_CostKind::PaintDrives,
      TQD_CostKind::PaintNetwork};
  TQD_CostScope cost(TQD_CostKind::Paint);
  TQD_CostScope windowCost(kWindowCost[static_cast<size_t>(FMonitor->Kind())]);
  const TQD_MonitorWindow::TPaintTimer timer(FMonitor);
  TQD_PaintScope paint(Handle());
  for (const auto& w : FMonitor->Grid().Widgets()) {
    const TRect& b = w->BoundsRect();
    RECT cell{b.Left, b.Top, b.Right, b.Bottom}, hit;
    // Only what is invalid (rcPaint bounds several dirty cells, RectVisible
    // asks the update region itself): every widget drawn costs its
    // drawing, and under Wine every pixel blitted crosses to the X server.
    if (!IntersectRect(&hit, &cell, &paint.Paint().rcPaint) || !RectVisible(paint.DC(), &hit)) continue;
    const TBitmap32* drawn = nullptr;
    {
      TQD_CostScope drawCost(TQD_CostKind::Draw);
      drawn = &w->Draw();
    }
    BlitBitmap32(paint.DC(), hit.left, hit.top, *drawn,
                 TRect{hit.left - b.Left, hit.top - b.Top, hit.right - b.Left, hit.bottom - b.Top});
  }
}

void TQD_MonitorHostWin32::DpiChanging(int, int ANewDPI) {
  // The system moves and rescales the window next: hold drawing until done.
  LockWindowUpdate(Handle());
  // Before the move: the system holds the new rectangle to the minimum size.
  if (FMonitor) FMonitor->DpiChanged(ANewDPI);
}

void TQD_MonitorHostWin32::DpiChanged(int, int) {
  LockWindowUpdate(nullptr);
  InvalidateRect(Handle(), nullptr, FALSE);
}

bool TQD_MonitorHostWin32::HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
  switch (AMessage) {
    case WM_QD_SHOW:
      ShowWindow(Handle(), SW_SHOWNOACTIVATE);
      AResult = 0;
      return true;
    case WM_ERASEBKGND:
      AResult = 1;  // the widgets cover the whole client area
      return true;
    case WM_PAINT:
      Paint();
      AResult = 0;
      return true;
    case WM_SIZE:
      if (FMonitor) {
        FMonitor->ClientResized(LOWORD(ALParam), HIWORD(ALParam));
        InvalidateRect(Handle(), nullptr, FALSE);
      }
      return false;
    case WM_GETMINMAXINFO: {
      int w = 0, h = 0;
      WindowSizeForClient(FMinClientWidth, FMinClientHeight, w, h);
      auto* info = reinterpret_cast<MINMAXINFO*>(ALParam);
      info->ptMinTrackSize = {w, h};
      AResult = 0;
      return true;
    }
    case WM_LBUTTONDOWN:
      if (FMonitor && FMonitor->Grid().MouseDown(TQD_MouseButton::Left, GET_X_LPARAM(ALParam), GET_Y_LPARAM(ALParam))) {
        AResult = 0;
        return true;
      }
      return false;
    case WM_CONTEXTMENU:
      if (FMonitor) {
        POINT p{GET_X_LPARAM(ALParam), GET_Y_LPARAM(ALParam)};
        const bool keyboard = p.x == -1 && p.y == -1;
        POINT client = p;
        if (!keyboard) ScreenToClient(Handle(), &client);
        void* menu = FMonitor->Grid().PopupMenuAt(keyboard ? 0 : client.x, keyboard ? 0 : client.y);
        if (menu) {
          TQD_PopupMenu::TShowOptions options;
          if (!keyboard) options.Position = p;
          // The chosen action may destroy this window: nothing of ours after Show.
          static_cast<TQD_PopupMenu*>(menu)->Show(Handle(), options);
          AResult = 0;
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}
