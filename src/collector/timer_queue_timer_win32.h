// TTimerQueueTimer: a timer of the process's default timer queue whose ticks
// are handed to the creating thread. The callback, on the timer queue's own
// thread, only counts and posts WM_TQT_TIMER to a message-only window; the
// handler runs on the thread that created the timer, so OnTimer never needs a
// lock.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <vector>

#include "base/win32_handles_win32.h"
#include "collector/ports.h"

inline constexpr UINT WM_TQT_TIMER = WM_APP + 666;  // 0x829A; lParam = callback number

class TTimerQueueTimer final : public TQD_Timer {
 public:
  TTimerQueueTimer();
  ~TTimerQueueTimer() override;
  TTimerQueueTimer(const TTimerQueueTimer&) = delete;
  TTimerQueueTimer& operator=(const TTimerQueueTimer&) = delete;

  bool Enabled() const override { return FEnabled; }
  void SetEnabled(bool AValue) override;
  uint32_t DueTime() const override { return FDueTime; }
  void SetDueTime(uint32_t AValue) override;
  uint32_t Interval() const override { return FInterval; }
  void SetInterval(uint32_t AValue) override;
  uint32_t Count() const override { return FCount; }
  // Callbacks fired (on the timer queue's thread) since the timer was last enabled.
  uint32_t ThreadCount() const { return FThreadCount.load(); }
  // Runs on the timer thread at the start of every callback. Set it only while
  // the timer is disabled; tests use it to hold a callback in flight.
  std::function<void()> OnCallbackStart;

 protected:
  virtual void DoTimer();

 private:
  static void CALLBACK TimerCallback(PVOID AContext, BOOLEAN ATimerOrWaitFired);
  static LRESULT CALLBACK WindowProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam);
  // Blocks until no callback of a deleted timer can still run.
  void WaitForDeletedTimers();

  uint32_t FDueTime = 0;
  uint32_t FInterval = 1000;
  HANDLE FTimerHandle = nullptr;
  TQD_WindowHandle FWindowHandle;
  std::atomic<uint32_t> FThreadCount{0};
  uint32_t FCount = 0;
  bool FEnabled = false;
  // One event per disabling, set by the queue once that timer's last
  // callback has returned: the destructor must not free `this` before.
  std::vector<TQD_KernelHandle> FDeletions;
};

class TQD_TimerFactoryWin32 final : public TQD_TimerFactory {
 public:
  std::unique_ptr<TQD_Timer> CreateTimer() override { return std::make_unique<TTimerQueueTimer>(); }
};
