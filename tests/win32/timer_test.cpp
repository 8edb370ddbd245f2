// Timer-queue timers: ticks arrive on the creating thread, survive a throwing
// handler, and a poll re-entered through a nested message loop is dropped.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>

#include "pump_win32.h"
#include "base/app_exception.h"
#include "base/win32_handles_win32.h"
#include "sim/block_writer.h"
#include "collector/data_logger.h"
#include "sim/fake_ports.h"
#include "collector/timer_queue_timer_win32.h"

namespace {

// Real timers, remembered so a test can read their counters.
class TRecordingTimerFactory : public TQD_TimerFactory {
 public:
  std::unique_ptr<TQD_Timer> CreateTimer() override {
    auto t = std::make_unique<TTimerQueueTimer>();
    Created.push_back(t.get());
    return t;
  }
  std::vector<TTimerQueueTimer*> Created;
};

}  // namespace

TEST(TimerQueueTimer, TicksArriveOnTheCreatingThread) {
  TTimerQueueTimer timer;
  timer.SetInterval(15);
  const DWORD self = GetCurrentThreadId();
  int ticks = 0;
  bool otherThread = false;
  uint32_t lastCount = 0;
  bool countsIncrease = true;
  timer.OnTimer = [&](TQD_Timer& ASender) {
    ++ticks;
    otherThread |= GetCurrentThreadId() != self;
    countsIncrease &= ASender.Count() > lastCount;
    lastCount = ASender.Count();
  };
  timer.SetEnabled(true);
  ASSERT_TRUE(timer.Enabled());
  timer.SetInterval(5000);  // ignored while enabled
  EXPECT_EQ(timer.Interval(), 15u);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  EXPECT_FALSE(otherThread);
  EXPECT_TRUE(countsIncrease);
  EXPECT_GE(timer.ThreadCount(), timer.Count());

  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Enabled());
  timer.SetInterval(40);
  EXPECT_EQ(timer.Interval(), 40u);
  // Re-enabling starts counting afresh.
  timer.SetEnabled(true);
  const int before = ticks;
  ASSERT_TRUE(PumpUntil([&] { return ticks >= before + 1 && timer.Count() >= 1; }));
  EXPECT_LE(timer.Count(), timer.ThreadCount());
}

TEST(TimerQueueTimer, AThrowingHandlerReachesTheApplicationHandlerAndTicksGoOn) {
  int handled = 0;
  TQD_ExceptionHandler previous = SetApplicationExceptionHandler([&](std::exception_ptr) { ++handled; });
  TTimerQueueTimer timer;
  timer.SetInterval(15);
  int ticks = 0;
  timer.OnTimer = [&](TQD_Timer&) {
    if (++ticks == 1) throw std::runtime_error("handler failed");
  };
  timer.SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  EXPECT_EQ(handled, 1);
  SetApplicationExceptionHandler(previous);
}

TEST(TimerQueueTimer, APollReenteredThroughANestedMessageLoopIsDropped) {
  TFakeCollector fakes;
  TSF_Block block;
  block.Sensors = {{0xF0000300, 0, "CPU [#0]", ""}};
  fakes.SharedMemory.Block = WriteBlock(block);
  TRecordingTimerFactory timers;
  TQD_CollectorPorts ports = fakes.Ports();
  ports.Timers = &timers;
  TQD_DataLogger logger(ports, false, 180, 15);

  int events = 0;
  int eventsDuringNestedLoop = -1;
  uint32_t opensBefore = 0, opensAfter = 0, ticksBefore = 0, ticksAfter = 0;
  logger.OnHWiPollingDone = [&](TQD_DataLogger&, bool, bool) {
    if (++events != 1) return;
    // A handler that pumps messages (as a modal dialog would) lets further
    // ticks in; each must find the poll busy and do nothing.
    opensBefore = static_cast<uint32_t>(fakes.SharedMemory.OpenCount);
    ticksBefore = timers.Created.at(1)->Count();
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start > 200; }, 1000);
    opensAfter = static_cast<uint32_t>(fakes.SharedMemory.OpenCount);
    ticksAfter = timers.Created.at(1)->Count();
    eventsDuringNestedLoop = events;
  };
  logger.Start();
  ASSERT_TRUE(PumpUntil([&] { return events >= 3; }));
  logger.Stop();
  EXPECT_EQ(eventsDuringNestedLoop, 1);
  EXPECT_GE(ticksAfter, ticksBefore + 3);  // ticks did arrive inside the nested loop ...
  EXPECT_EQ(opensAfter, opensBefore);      // ... and none of them ran a poll
  EXPECT_EQ(logger.LastHWiPollingStatus(), hwsOK);
}

TEST(TimerQueueTimer, DestroyingADisabledTimerWaitsForTheCallbackInFlight) {
  // The timer lives in storage the test owns, so that a callback still
  // running after destruction shows as a write into the poisoned bytes.
  alignas(TTimerQueueTimer) unsigned char storage[sizeof(TTimerQueueTimer)];
  auto* timer = new (storage) TTimerQueueTimer;
  TQD_KernelHandle entered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(entered.Get());
  const HANDLE enteredEvent = entered.Get();
  timer->OnCallbackStart = [enteredEvent] {
    SetEvent(enteredEvent);
    Sleep(300);  // long enough for the owner to disable and destroy the timer
  };
  timer->SetInterval(60000);  // due at once, then not again during the test
  timer->SetEnabled(true);
  ASSERT_TRUE(timer->Enabled());
  ASSERT_EQ(WaitForSingleObject(enteredEvent, 5000), WAIT_OBJECT_0);

  // As at shutdown: stopped first, destroyed later, both while the callback runs.
  timer->SetEnabled(false);
  timer->~TTimerQueueTimer();
  std::memset(storage, 0xA5, sizeof storage);
  Sleep(1000);  // a callback that outlived the destructor would have written by now
  size_t touched = 0;
  for (unsigned char b : storage) touched += b != 0xA5;
  EXPECT_EQ(touched, 0u);
}
