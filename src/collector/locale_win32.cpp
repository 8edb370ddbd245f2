// The user's locale from Windows; see locale_win32.h.
#include "collector/locale_win32.h"

#include <windows.h>

#include <cmath>
#include <utility>

#include "base/win32_handles_win32.h"

namespace {

// The separator as the locale gives it, in UTF-8 (any non-ASCII character,
// several characters even); AFallback when it cannot be read.
std::string SeparatorText(LCTYPE AType, const char* AFallback) {
  wchar_t text[16];
  const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, AType, text, 16);
  if (n <= 0) return AFallback;
  return WideToUtf8(text, static_cast<size_t>(n - 1));  // n counts the terminating null
}

bool ToSystemTime(double ADateTime, SYSTEMTIME& AResult) {
  if (!std::isfinite(ADateTime)) return false;
  constexpr double kDays1601To1899 = 109205.0;  // 1601-01-01 to 1899-12-30
  const double ticks = (ADateTime + kDays1601To1899) * 864000000000.0;
  if (ticks < 0 || ticks > 9.2e18) return false;
  // Round to whole milliseconds so 12:00:00 is not shown as 11:59:59.
  ULARGE_INTEGER t;
  t.QuadPart = static_cast<ULONGLONG>(std::llround(ticks / 10000.0)) * 10000ULL;
  FILETIME ft;
  ft.dwLowDateTime = t.LowPart;
  ft.dwHighDateTime = t.HighPart;
  return FileTimeToSystemTime(&ft, &AResult) != 0;
}

}  // namespace

void TQD_LocaleWin32::Refresh() const {
  std::string decimal = SeparatorText(LOCALE_SDECIMAL, ".");
  FDecimal = decimal.empty() ? std::string(".") : std::move(decimal);  // a number needs one
  FThousand = SeparatorText(LOCALE_STHOUSAND, "");  // empty: no grouping
}

std::string TQD_LocaleWin32::LongTimeText(double ADateTime) const {
  SYSTEMTIME st;
  if (!ToSystemTime(ADateTime, st)) return {};
  wchar_t text[128];
  int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, text, 128);
  return n > 1 ? WideToUtf8(text, static_cast<size_t>(n - 1)) : std::string();
}

std::string TQD_LocaleWin32::LongDateText(double ADateTime) const {
  SYSTEMTIME st;
  if (!ToSystemTime(ADateTime, st)) return {};
  wchar_t text[128];
  int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, text, 128, nullptr);
  return n > 1 ? WideToUtf8(text, static_cast<size_t>(n - 1)) : std::string();
}
