// The locale port on Windows: the user's number separators (GetLocaleInfoEx)
// and long time and date texts (GetTimeFormatEx, GetDateFormatEx).
#pragma once

#include <string>
#include <string_view>

#include "collector/locale_port.h"

class TQD_LocaleWin32 final : public TQD_LocalePort {
 public:
  TQD_LocaleWin32() { Refresh(); }
  // Reads the separators again, after the user changed the regional settings
  // (the control panel calls it on WM_SETTINGCHANGE "intl").
  void Refresh() const override;

  std::string_view DecimalSeparator() const override { return FDecimal; }
  std::string_view ThousandSeparator() const override { return FThousand; }
  std::string LongTimeText(double ADateTime) const override;
  std::string LongDateText(double ADateTime) const override;

 private:
  mutable std::string FDecimal = ".";
  mutable std::string FThousand = ",";
};
