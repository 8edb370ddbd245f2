// The user's locale as the formatting code needs it: number separators, and
// the long time and long date texts the clock shows.
#pragma once

#include <string>
#include <string_view>
#include <utility>

class TQD_LocalePort {
 public:
  virtual ~TQD_LocalePort() = default;
  // UTF-8, as the locale gives them: one character or several, of any length
  // in bytes. The decimal separator is never empty; an empty thousands
  // separator means no grouping. A view lasts until the next Refresh.
  virtual std::string_view DecimalSeparator() const = 0;
  virtual std::string_view ThousandSeparator() const = 0;
  // ADateTime: days since 1899-12-30, local time.
  virtual std::string LongTimeText(double ADateTime) const = 0;
  virtual std::string LongDateText(double ADateTime) const = 0;
  // Reads the user's settings again after they changed. Const because the
  // port only mirrors the system's settings; a fixed locale has none to read.
  virtual void Refresh() const {}
};

// A fixed locale: point decimals, comma thousands, ISO-like time and date.
// The default for tests and for hosts without a Windows locale.
class TQD_InvariantLocale : public TQD_LocalePort {
 public:
  explicit TQD_InvariantLocale(std::string ADecimal = ".", std::string AThousand = ",")
      : FDecimal(std::move(ADecimal)), FThousand(std::move(AThousand)) {}
  std::string_view DecimalSeparator() const override { return FDecimal; }
  std::string_view ThousandSeparator() const override { return FThousand; }
  std::string LongTimeText(double ADateTime) const override;
  std::string LongDateText(double ADateTime) const override;

 private:
  std::string FDecimal;
  std::string FThousand;
};

// The locale every formatting call uses unless given another one. Starts as
// the invariant locale; the program sets the system's at start.
const TQD_LocalePort& CurrentLocale();
void SetCurrentLocale(const TQD_LocalePort* ALocale);  // nullptr: back to invariant

// The system says that a setting changed (the area WM_SETTINGCHANGE names, in
// UTF-8). "intl" is the regional settings: the current locale reads them
// again, so the next value formatted or parameter parsed uses them.
void SystemSettingChanged(std::string_view AArea);
