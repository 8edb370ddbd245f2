// TTimerQueueTimer; see timer_queue_timer_win32.h.
#include "collector/timer_queue_timer_win32.h"

#include <stdexcept>

#include "base/app_exception.h"
#include "base/win32_handles_win32.h"

namespace {

const wchar_t kWindowClass[] = L"QuendalTimerQueueTimer";

void RegisterTimerWindowClass(WNDPROC AProc) {
  static const ATOM atom = [AProc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = AProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc);
  }();
  if (!atom) throw std::runtime_error("Cannot register the timer window class: " + SystemErrorText(GetLastError()));
}

}  // namespace

TTimerQueueTimer::TTimerQueueTimer() {
  RegisterTimerWindowClass(WindowProc);
  // A message-only window: never shown, owned by (and dispatched on) this thread.
  FWindow.Reset(CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
  if (!FWindow)
    throw std::runtime_error("Cannot create the timer window: " + SystemErrorText(GetLastError()));
  SetWindowLongPtrW(FWindow.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TTimerQueueTimer::~TTimerQueueTimer() {
  if (FEnabled) {
    // Unlike a plain disable, wait for callbacks in flight: they use `this`.
    DeleteTimerQueueTimer(nullptr, FTimerHandle, INVALID_HANDLE_VALUE);
    FEnabled = false;
  }
  // Ticks still queued for the window are discarded with it.
  FWindow.Reset();
}

void TTimerQueueTimer::SetEnabled(bool AValue) {
  if (AValue == FEnabled) return;
  if (AValue) {
    FThreadCount = 0;
    FCount = 0;
    FEnabled = CreateTimerQueueTimer(&FTimerHandle, nullptr, TimerCallback, this, FDueTime, FInterval, 0) != 0;
  } else {
    // Not waiting for running callbacks: they only post a message.
    DeleteTimerQueueTimer(nullptr, FTimerHandle, nullptr);
    FTimerHandle = nullptr;
    FEnabled = false;
  }
}

void TTimerQueueTimer::SetDueTime(uint32_t AValue) {
  if (!FEnabled) FDueTime = AValue;
}

void TTimerQueueTimer::SetInterval(uint32_t AValue) {
  if (!FEnabled) FInterval = AValue;
}

void TTimerQueueTimer::DoTimer() {
  if (OnTimer) OnTimer(*this);
}

void CALLBACK TTimerQueueTimer::TimerCallback(PVOID AContext, BOOLEAN) {
  auto* self = static_cast<TTimerQueueTimer*>(AContext);
  const uint32_t n = ++self->FThreadCount;
  PostMessageW(self->FWindow.Get(), WM_TQT_TIMER, 0, static_cast<LPARAM>(n));
}

LRESULT CALLBACK TTimerQueueTimer::WindowProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  if (AMsg == WM_TQT_TIMER) {
    auto* self = reinterpret_cast<TTimerQueueTimer*>(GetWindowLongPtrW(AWnd, GWLP_USERDATA));
    if (!self) return 0;
    self->FCount = static_cast<uint32_t>(ALParam);
    // No exception may cross the window procedure; the timer keeps running.
    try {
      self->DoTimer();
    } catch (...) {
      HandleApplicationException(std::current_exception());
    }
    return 0;
  }
  return DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
}
