// One busy flag held for one scope. Handlers that a nested message loop can
// re-enter (the polls, the clock's tick, the polling-done event) drop a call
// that arrives while they run instead of queueing it. The flag is cleared on
// every way out, an exception included: a flag left set would stop that
// handler for good.
#pragma once

class TQD_BusyGuard {
 public:
  explicit TQD_BusyGuard(bool& AFlag) : FFlag(AFlag), FEntered(!AFlag) { FFlag = true; }
  ~TQD_BusyGuard() {
    if (FEntered) FFlag = false;
  }
  TQD_BusyGuard(const TQD_BusyGuard&) = delete;
  TQD_BusyGuard& operator=(const TQD_BusyGuard&) = delete;
  // False when the flag was already set: the caller returns at once.
  explicit operator bool() const { return FEntered; }

 private:
  bool& FFlag;
  bool FEntered;
};
