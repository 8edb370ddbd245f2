// TQD_Window; see window_win32.h.
#include "ui/window_win32.h"

#include <stdexcept>

#include "base/app_exception.h"
#include "base/dpi.h"
#include "base/win32_handles_win32.h"
#include "base/win32_handles_win32.h"

namespace {

// Offset of the object pointer in the window's extra bytes.
constexpr int kSelfOffset = 0;

using TGetDpiForWindow = UINT(WINAPI*)(HWND);

TGetDpiForWindow LoadGetDpiForWindow() {
  // Loaded by name so the program still starts on systems older than 1607;
  // user32 is always loaded, so its module handle needs no freeing.
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return nullptr;
  return reinterpret_cast<TGetDpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
}

}  // namespace

int GetWindowDPI(HWND AWindow) {
  static const TGetDpiForWindow getDpiForWindow = LoadGetDpiForWindow();
  if (getDpiForWindow && AWindow) {
    const UINT dpi = getDpiForWindow(AWindow);
    if (dpi) return static_cast<int>(dpi);
  }
  TQD_WindowDC screen = QD_GetWindowDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : QD_DefaultDPI;
}

TQD_Window::TQD_Window(std::wstring AClassName) : FClassName(std::move(AClassName)) {}

TQD_Window::~TQD_Window() {
  // A subclass that handles WM_DESTROY should call Destroy in its own
  // destructor: here only the base's HandleMessage is left to receive it.
  Destroy();
}

void TQD_Window::Destroy() {
  // WM_NCDESTROY unlinks the window from the object. Should DestroyWindow
  // fail, the window must still not reach an object about to be freed.
  if (FHandle && !DestroyWindow(FHandle)) SetWindowLongPtrW(FHandle, kSelfOffset, 0);
  FHandle = nullptr;
}

TQD_Window* TQD_Window::FromHandle(HWND AHandle) {
  if (!AHandle) return nullptr;
  // Only our own class layout has the pointer in its extra bytes.
  WNDPROC proc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(AHandle, GCLP_WNDPROC));
  if (proc != &TQD_Window::WindowProc) return nullptr;
  return reinterpret_cast<TQD_Window*>(GetWindowLongPtrW(AHandle, kSelfOffset));
}

void TQD_Window::RegisterClassOnce() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, FClassName.c_str(), &existing)) {
    // Registered by an earlier window, or by someone else under our name.
    if (existing.lpfnWndProc != &TQD_Window::WindowProc || existing.cbWndExtra < static_cast<int>(sizeof(LONG_PTR)))
      throw std::runtime_error("Window class " + WideToUtf8(FClassName) + " belongs to another window procedure");
    return;
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);  // shared system cursor, never destroyed
  PrepareClass(wc);
  wc.lpfnWndProc = &TQD_Window::WindowProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.lpszClassName = FClassName.c_str();
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw std::runtime_error("Cannot register window class " + WideToUtf8(FClassName) + ": " +
                             SystemErrorText(GetLastError()));
}

void TQD_Window::Create(const TQD_WindowCreateParams& AParams) {
  if (FHandle) throw std::runtime_error("Window " + WideToUtf8(FClassName) + " already exists");
  RegisterClassOnce();
  // `this` travels in CREATESTRUCT; WindowProc stores it at WM_NCCREATE, so
  // every message from there on reaches the object.
  HWND handle = CreateWindowExW(AParams.ExStyle, FClassName.c_str(), AParams.Caption.c_str(), AParams.Style,
                                AParams.Left, AParams.Top, AParams.Width, AParams.Height, AParams.Parent,
                                nullptr, GetModuleHandleW(nullptr), this);
  if (!handle) {
    FHandle = nullptr;
    throw std::runtime_error("Cannot create window " + WideToUtf8(FClassName) + ": " +
                             SystemErrorText(GetLastError()));
  }
  FHandle = handle;
  FDPI = GetWindowDPI(handle);
}

LRESULT CALLBACK TQD_Window::WindowProc(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
  TQD_Window* self = nullptr;
  if (AMessage == WM_NCCREATE) {
    self = static_cast<TQD_Window*>(reinterpret_cast<CREATESTRUCTW*>(ALParam)->lpCreateParams);
    if (self) {
      SetWindowLongPtrW(AWnd, kSelfOffset, reinterpret_cast<LONG_PTR>(self));
      self->FHandle = AWnd;
      CountHandle(hkUser, 1);  // the window owns its HWND without a handle type
      self->FDPI = GetWindowDPI(AWnd);
    }
  } else {
    self = reinterpret_cast<TQD_Window*>(GetWindowLongPtrW(AWnd, kSelfOffset));
  }
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after WM_NCDESTROY.
  if (!self) return DefWindowProcW(AWnd, AMessage, AWParam, ALParam);

  if (AMessage == WM_NCDESTROY) {
    // The window is going: unlink both sides first, so that nothing reaches
    // a stale pointer, whatever the handler does (it may delete the object).
    SetWindowLongPtrW(AWnd, kSelfOffset, 0);
    if (self->FHandle == AWnd) self->FHandle = nullptr;
    CountHandle(hkUser, -1);
    self->FHook = {};
  }
  // Handlers may destroy the window or even the object (a menu command that
  // disables this window): nothing touches `self` after Dispatch.
  if (const TMessageHook hook = self->FHook; hook.Proc)
    return hook.Proc(AWnd, AMessage, AWParam, ALParam, hook.Data, TNext(self, AWnd));
  return self->Dispatch(AWnd, AMessage, AWParam, ALParam);
}

LRESULT TQD_Window::Dispatch(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
  try {
    if (AMessage == WM_DPICHANGED) {
      HandleDpiChanged(AWParam, ALParam);
      return 0;
    }
    LRESULT result = 0;
    if (HandleMessage(AMessage, AWParam, ALParam, result)) return result;
  } catch (...) {
    HandleApplicationException(std::current_exception());
    // A close whose handler failed must not destroy the window by default.
    if (AMessage == WM_CLOSE) return 0;
    // Otherwise the default handling keeps the window consistent (a WM_PAINT
    // that threw is still validated and does not come back at once).
  }
  return DefWindowProcW(AWnd, AMessage, AWParam, ALParam);
}

void TQD_Window::HandleDpiChanged(WPARAM AWParam, LPARAM ALParam) {
  const int oldDPI = FDPI;
  // X and Y DPI are the same on Windows; the low word is the X DPI.
  const int newDPI = LOWORD(AWParam);
  FDPI = newDPI > 0 ? newDPI : GetWindowDPI(FHandle);
  DpiChanging(oldDPI, FDPI);
  if (const RECT* suggested = reinterpret_cast<const RECT*>(ALParam)) {
    SetWindowPos(FHandle, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  DpiChanged(oldDPI, FDPI);
}
