// The locale port on Windows: the user's number separators (GetLocaleInfoEx)
// and long time and date texts (GetTimeFormatEx, GetDateFormatEx).
#pragma once

#include "collector/locale_port.h"

class TQD_LocaleWin32 final : public TQD_LocalePort {
 public:
  TQD_LocaleWin32() { Refresh(); }
  // Reads the separators again, after the user changed the regional settings.
  void Refresh();

  char DecimalSeparator() const override { return FDecimal; }
  char ThousandSeparator() const override { return FThousand; }
  std::string LongTimeText(double ADateTime) const override;
  std::string LongDateText(double ADateTime) const override;

 private:
  char FDecimal = '.';
  char FThousand = ',';
};
