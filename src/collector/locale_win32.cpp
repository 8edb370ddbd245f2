// The user's locale from Windows; see locale_win32.h.
#include "collector/locale_win32.h"

#include <windows.h>

#include <cmath>

#include "base/win32_handles_win32.h"

namespace {

// The port has one byte per separator. A separator that is not one ASCII
// character (the narrow no-break space of some locales) becomes the nearest
// thing: a blank for spaces, else AFallback.
char SeparatorChar(LCTYPE AType, char AFallback) {
  wchar_t text[8];
  int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, AType, text, 8);
  if (n <= 1) return n == 1 ? '\0' : AFallback;  // n == 1: an empty separator (none)
  if (n > 2) return AFallback;
  const wchar_t c = text[0];
  if (c < 0x80) return static_cast<char>(c);
  if (c == 0x00A0 || c == 0x202F || c == 0x2009) return ' ';
  return AFallback;
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

void TQD_LocaleWin32::Refresh() {
  FDecimal = SeparatorChar(LOCALE_SDECIMAL, '.');
  if (FDecimal == '\0') FDecimal = '.';
  FThousand = SeparatorChar(LOCALE_STHOUSAND, '\0');
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
