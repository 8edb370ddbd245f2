// Turning numbers into the texts the monitor windows show: a reading's value
// with its unit and statistic marker (TQD_DataLogger::FormatValue, declared in
// data_logger.h), RAM and disk figures, and byte or bit counts scaled to kB,
// MiB, Gb and so on. Decimal and thousands separators come from the current
// locale (locale_port.h). Nothing here throws; bad input gives a neutral text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "collector/readings.h"

// Marker appended after a value for each caption source: " (Min)" and so on.
extern const char* const CaptionSourceSuffixes[8];

struct TQD_DisplayUnitStep {
  const char* ShortName;
  const char* Description;
  int32_t Decimals;
  uint64_t Divisor;
};

struct TQD_DisplayUnitGroup {
  const char* Name;
  int32_t Multiplier;  // 8 turns a byte count into bits
  TQD_DisplayUnitStep Steps[4];
};

// Kilobit, Kibibit, Kilobyte, Kibibyte; disk space always uses group 3.
inline constexpr int kDisplayUnitGroupCount = 4;
extern const TQD_DisplayUnitGroup DisplayUnitGroups[kDisplayUnitGroupCount];

// A signed byte count in display-unit group AGroup, e.g. 1536 in group 3 gives
// "1.5 KiB". Empty for a group number above 3.
std::string FormatScaledValue(uint32_t AGroup, int64_t AValue);

// AValue in fixed notation (12 significant digits, ADecimals decimals) with
// the locale's decimal separator and no grouping.
std::string FormatFixed(double AValue, int ADecimals);

// Minutes as "HH h MM m", rounded to whole minutes (halves to even).
std::string FormatMinutes(double AValue);

// ADividend / ADivisor, or 0.001 when the divisor is 0, so scale factors
// never divide by zero.
double SafeDivide(double ADividend, double ADivisor);

// The number core of every format above, exposed for tests: AValue rounded to
// 12 significant digits, then written in fixed notation with ADecimals
// decimals (halves away from zero at that second step), with the given UTF-8
// separators (AThousandSep empty: no grouping). A separator longer than
// kMaxSeparatorLength bytes is cut to whole characters within that length.
// Writes at most kFormatNumberMaxLength bytes and returns how many.
inline constexpr size_t kMaxSeparatorLength = 16;
// Sign, 309 integer digits of DBL_MAX with a separator after every third,
// the decimal separator and at most 20 decimals.
inline constexpr size_t kFormatNumberMaxLength = 1 + 309 + 102 * kMaxSeparatorLength + kMaxSeparatorLength + 20;
size_t FormatNumberTo(char* ABuffer, double AValue, int ADecimals, std::string_view ADecimalSep,
                      std::string_view AThousandSep);
