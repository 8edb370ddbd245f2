// The invariant locale and the current-locale switch; see locale_port.h.
#include "collector/locale_port.h"

#include <cmath>
#include <cstdio>

namespace {

const TQD_InvariantLocale kInvariant;
const TQD_LocalePort* gCurrent = &kInvariant;

// Civil date from days since 1970-01-01 (Howard Hinnant's algorithm).
void CivilFromDays(long long z, int& y, unsigned& m, unsigned& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

}  // namespace

std::string TQD_InvariantLocale::LongTimeText(double ADateTime) const {
  double frac = ADateTime - std::floor(ADateTime);
  long secs = std::lround(frac * 86400.0) % 86400;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", secs / 3600, secs / 60 % 60, secs % 60);
  return buf;
}

std::string TQD_InvariantLocale::LongDateText(double ADateTime) const {
  int y;
  unsigned m, d;
  CivilFromDays(static_cast<long long>(std::floor(ADateTime)) - 25569, y, m, d);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", y, m, d);
  return buf;
}

const TQD_LocalePort& CurrentLocale() { return *gCurrent; }

void SetCurrentLocale(const TQD_LocalePort* ALocale) { gCurrent = ALocale ? ALocale : &kInvariant; }

void SystemSettingChanged(std::string_view AArea) {
  if (AArea == "intl") gCurrent->Refresh();
}
