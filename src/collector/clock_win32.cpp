// The clock port on Windows; see clock_win32.h.
#include "collector/clock_win32.h"

#include <windows.h>

namespace {

// The performance counter in units of 1/AUnitsPerSecond s, without overflow.
int64_t CounterIn(int64_t AUnitsPerSecond) {
  static const int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart / frequency * AUnitsPerSecond + now.QuadPart % frequency * AUnitsPerSecond / frequency;
}

}  // namespace

int64_t TQD_ClockWin32::MonotonicMs() { return CounterIn(1000); }

int64_t TQD_ClockWin32::MonotonicUs() { return CounterIn(1000000); }

double TQD_ClockWin32::LocalNow() {
  SYSTEMTIME local;
  GetLocalTime(&local);
  FILETIME ft;
  SystemTimeToFileTime(&local, &ft);  // the local wall clock, read as if it were UTC
  const uint64_t ticks = (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;  // 100 ns since 1601
  constexpr double kTicksPerDay = 864000000000.0;
  constexpr double kDays1601To1899 = 109205.0;  // 1601-01-01 to 1899-12-30
  return static_cast<double>(ticks) / kTicksPerDay - kDays1601To1899;
}
