// The clock port on Windows: QueryPerformanceCounter and GetLocalTime.
#pragma once

#include "collector/ports.h"

class TQD_ClockWin32 final : public TQD_Clock {
 public:
  int64_t MonotonicMs() override;
  int64_t MonotonicUs() override;
  double LocalNow() override;
};
