// The user's locale as the formatting code needs it: number separators, and
// the long time and long date texts the clock shows.
#pragma once

#include <string>

class TQD_LocalePort {
 public:
  virtual ~TQD_LocalePort() = default;
  virtual char DecimalSeparator() const = 0;
  virtual char ThousandSeparator() const = 0;  // 0: none
  // ADateTime: days since 1899-12-30, local time.
  virtual std::string LongTimeText(double ADateTime) const = 0;
  virtual std::string LongDateText(double ADateTime) const = 0;
};

// A fixed locale: point decimals, comma thousands, ISO-like time and date.
// The default for tests and for hosts without a Windows locale.
class TQD_InvariantLocale : public TQD_LocalePort {
 public:
  TQD_InvariantLocale(char ADecimal = '.', char AThousand = ',') : FDecimal(ADecimal), FThousand(AThousand) {}
  char DecimalSeparator() const override { return FDecimal; }
  char ThousandSeparator() const override { return FThousand; }
  std::string LongTimeText(double ADateTime) const override;
  std::string LongDateText(double ADateTime) const override;

 private:
  char FDecimal;
  char FThousand;
};

// The locale every formatting call uses unless given another one. Starts as
// the invariant locale; the program sets the system's at start.
const TQD_LocalePort& CurrentLocale();
void SetCurrentLocale(const TQD_LocalePort* ALocale);  // nullptr: back to invariant
