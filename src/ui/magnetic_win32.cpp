// Window snapping on Windows; see magnetic_win32.h.
#include "ui/magnetic_win32.h"

#include <exception>

#include "base/app_exception.h"
#include "ui/window_win32.h"

static_assert(QD_WM_WINDOWPOSCHANGED == WM_WINDOWPOSCHANGED && QD_WM_COMMAND == WM_COMMAND &&
              QD_WM_SYSCOMMAND == WM_SYSCOMMAND && QD_WM_SIZING == WM_SIZING && QD_WM_MOVING == WM_MOVING &&
              QD_WM_ENTERSIZEMOVE == WM_ENTERSIZEMOVE && QD_WM_EXITSIZEMOVE == WM_EXITSIZEMOVE);
static_assert(QD_SWP_SHOWWINDOW == SWP_SHOWWINDOW && QD_SWP_HIDEWINDOW == SWP_HIDEWINDOW &&
              QD_SC_MINIMIZE == SC_MINIMIZE && QD_SC_RESTORE == SC_RESTORE);

namespace {

using TNext = TQD_Window::TNext;

TRect FromRECT(const RECT& R) { return {R.left, R.top, R.right, R.bottom}; }
RECT ToRECT(const TRect& R) { return {R.Left, R.Top, R.Right, R.Bottom}; }

// Commits the batch when it goes. A failed DeferWindowPos has freed the
// batch already and leaves nothing to commit.
class TDeferredMoves {
 public:
  explicit TDeferredMoves(int ACount) : FBatch(BeginDeferWindowPos(ACount)) {}
  ~TDeferredMoves() {
    if (FBatch) EndDeferWindowPos(FBatch);
  }
  TDeferredMoves(const TDeferredMoves&) = delete;
  TDeferredMoves& operator=(const TDeferredMoves&) = delete;
  void Move(HWND AWindow, int ALeft, int ATop) {
    if (FBatch)
      FBatch = DeferWindowPos(FBatch, AWindow, nullptr, ALeft, ATop, 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  HDWP FBatch;
};

// Hands the message to the callback, decoded. True when the callback handled
// it; AResult is then the message's result.
bool Forward(TSubClass_Proc AProc, HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
  if (!AProc) return false;
  TQD_MagneticMessage msg;
  msg.WParam = AWParam;
  if (AMessage == WM_WINDOWPOSCHANGED && ALParam) msg.WindowPosFlags = reinterpret_cast<WINDOWPOS*>(ALParam)->flags;
  RECT* rect = (AMessage == WM_SIZING || AMessage == WM_MOVING) ? reinterpret_cast<RECT*>(ALParam) : nullptr;
  if (rect) msg.Rect = FromRECT(*rect);
  bool handled = false;
  if (!AProc(ToWindowId(AWindow), AMessage, msg, handled) || !handled) return false;
  if (rect) *rect = ToRECT(msg.Rect);
  AResult = msg.Result;
  return true;
}

// The message after the window's own procedure: its result stands, and a
// failing callback neither changes it nor crosses the window procedure.
LRESULT ForwardAfter(TSubClass_Proc AProc, HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam,
                     const TNext& ANext) {
  const LRESULT result = ANext(AMessage, AWParam, ALParam);
  try {
    LRESULT ignored = 0;
    Forward(AProc, AWindow, AMessage, AWParam, ALParam, ignored);
  } catch (...) {
    HandleApplicationException(std::current_exception());
  }
  return result;
}

// The two forwarding rules: a monitor window's, and the control panel's,
// which joins the manager when it is shown.
LRESULT MagneticHook(bool AControlPanel, HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam,
                     TSubClass_Proc AProc, const TNext& ANext) {
  switch (AMessage) {
    case WM_SIZING:
    case WM_MOVING:
      try {
        LRESULT result = 0;
        if (Forward(AProc, AWindow, AMessage, AWParam, ALParam, result)) return result;
      } catch (...) {
        HandleApplicationException(std::current_exception());
      }
      break;
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
      return ForwardAfter(AProc, AWindow, AMessage, AWParam, ALParam, ANext);
    case WM_WINDOWPOSCHANGED:
      if (!AControlPanel) return ForwardAfter(AProc, AWindow, AMessage, AWParam, ALParam, ANext);
      if (ALParam && (reinterpret_cast<WINDOWPOS*>(ALParam)->flags & SWP_SHOWWINDOW)) {
        // The control panel joins when it is shown; later shows find it registered.
        const LRESULT result = ANext(AMessage, AWParam, ALParam);
        try {
          TSubClass_Proc ignored = nullptr;
          if (TMagnetic* magnetic = TMagnetic::Instance()) magnetic->AddWindow(ToWindowId(AWindow), 0, ignored);
        } catch (...) {
          HandleApplicationException(std::current_exception());
        }
        return result;
      }
      break;
    case WM_DESTROY:
      try {
        if (TMagnetic* magnetic = TMagnetic::Instance()) magnetic->RemoveWindow(ToWindowId(AWindow));
      } catch (...) {
        HandleApplicationException(std::current_exception());
      }
      break;
    default:
      break;
  }
  return ANext(AMessage, AWParam, ALParam);
}

LRESULT MonitorWindowHook(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam, uintptr_t AData,
                          const TNext& ANext) {
  return MagneticHook(false, AWindow, AMessage, AWParam, ALParam, reinterpret_cast<TSubClass_Proc>(AData), ANext);
}

LRESULT ControlPanelHook(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam, uintptr_t AData,
                         const TNext& ANext) {
  return MagneticHook(true, AWindow, AMessage, AWParam, ALParam, reinterpret_cast<TSubClass_Proc>(AData), ANext);
}

}  // namespace

bool TQD_WindowsPortWin32::IsWindow(TQD_WindowId AWindow) const { return ::IsWindow(ToHWND(AWindow)) != FALSE; }

bool TQD_WindowsPortWin32::IsWindowVisible(TQD_WindowId AWindow) const {
  return ::IsWindowVisible(ToHWND(AWindow)) != FALSE;
}

bool TQD_WindowsPortWin32::IsZoomed(TQD_WindowId AWindow) const { return ::IsZoomed(ToHWND(AWindow)) != FALSE; }

TRect TQD_WindowsPortWin32::WindowRect(TQD_WindowId AWindow) const {
  RECT r{};
  if (!GetWindowRect(ToHWND(AWindow), &r)) return {};
  return FromRECT(r);
}

TQD_Point TQD_WindowsPortWin32::CursorPos() const {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

TRect TQD_WindowsPortWin32::WorkArea(const TRect& ARect) const {
  const RECT r = ToRECT(ARect);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return FromRECT(info.rcWork);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return FromRECT(work);
}

void TQD_WindowsPortWin32::MoveWindows(const std::vector<TQD_WindowMove>& AMoves) {
  TDeferredMoves batch(static_cast<int>(AMoves.size()));
  for (const TQD_WindowMove& m : AMoves) batch.Move(ToHWND(m.Window), m.Left, m.Top);
}

bool TQD_MagneticWin32::HookControlPanel(HWND AWindow) {
  TQD_Window* window = TQD_Window::FromHandle(AWindow);
  if (!window) return false;
  window->SetMessageHook({&ControlPanelHook, reinterpret_cast<uintptr_t>(&TMagnetic::SubClassProc)});
  // Already on the screen: it will not be shown again to register.
  if (::IsWindowVisible(AWindow)) {
    TSubClass_Proc ignored = nullptr;
    FMagnetic.AddWindow(ToWindowId(AWindow), 0, ignored);
  }
  return true;
}

bool MakeWindowMagnetic(HWND AWindow, HWND AParent) {
  TMagnetic* magnetic = TMagnetic::Instance();
  TSubClass_Proc proc = nullptr;
  TQD_Window* window = TQD_Window::FromHandle(AWindow);
  // Unhooked, it would never leave the manager.
  if (!magnetic || !window || !magnetic->AddWindow(ToWindowId(AWindow), ToWindowId(AParent), proc)) return false;
  window->SetMessageHook({&MonitorWindowHook, reinterpret_cast<uintptr_t>(proc)});
  return true;
}
