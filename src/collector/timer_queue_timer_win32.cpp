// TTimerQueueTimer; see timer_queue_timer_win32.h.
#include "collector/timer_queue_timer_win32.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "base/app_exception.h"
#include "base/thread_stack.h"
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
  FWindowHandle.Reset(CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
  if (!FWindowHandle)
    throw std::runtime_error("Cannot create the timer window: " + SystemErrorText(GetLastError()));
  SetWindowLongPtrW(FWindowHandle.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TTimerQueueTimer::~TTimerQueueTimer() {
  SetEnabled(false);
  // A disabled timer may still have a callback running (disabling does not
  // wait), and that callback uses `this`.
  WaitForDeletedTimers();
  // Ticks still queued for the window are discarded with it (FWindowHandle).
}

void TTimerQueueTimer::WaitForDeletedTimers() {
  for (const TQD_KernelHandle& done : FDeletions) WaitForSingleObject(done.Get(), INFINITE);
  FDeletions.clear();
}

void TTimerQueueTimer::SetEnabled(bool AValue) {
  if (AValue == FEnabled) return;
  if (AValue) {
    // Events of deletions that have completed are no longer needed.
    std::erase_if(FDeletions, [](const TQD_KernelHandle& AEvent) {
      return WaitForSingleObject(AEvent.Get(), 0) == WAIT_OBJECT_0;
    });
    FThreadCount = 0;
    FCount = 0;
    // The callback only posts a message: it runs on the timer thread itself,
    // which spares a hand-over to (and under Wine, the lingering stacks of)
    // the thread pool's workers.
    FEnabled = CreateTimerQueueTimer(&FTimerHandle, nullptr, TimerCallback, this, FDueTime, FInterval,
                                     WT_EXECUTEINTIMERTHREAD) != 0;
  } else {
    // Not waiting for running callbacks here (they only post a message), but
    // noting when they are done, for the destructor.
    TQD_KernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (done) {
      // FALSE with ERROR_IO_PENDING only says that a callback is still running.
      DeleteTimerQueueTimer(nullptr, FTimerHandle, done.Get());
      FDeletions.push_back(std::move(done));
    } else {
      DeleteTimerQueueTimer(nullptr, FTimerHandle, INVALID_HANDLE_VALUE);  // no event: wait now
    }
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
  if (self->OnCallbackStart) self->OnCallbackStart();
  const uint32_t n = ++self->FThreadCount;
  // The timer thread spends its life waiting in shallow frames.
  if (n == 1) ReleaseUnusedStack();
  PostMessageW(self->FWindowHandle.Get(), WM_TQT_TIMER, 0, static_cast<LPARAM>(n));
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
