// Value formatting; see value_format.h. Every format builds its text in a
// stack buffer and allocates only the result string, because the monitor
// windows format every shown value on every poll.
#include "collector/value_format.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "collector/data_logger.h"
#include "collector/hardware_model_rules.h"
#include "collector/locale_port.h"
#include "collector/units.h"

const char* const CaptionSourceSuffixes[8] = {"", " (Min)", " (Max)", " (Avg)", "", "", "", ""};

const TQD_DisplayUnitGroup DisplayUnitGroups[kDisplayUnitGroupCount] = {
    {"Kilobit",
     8,
     {{"kb", "= 1000 Bits", 1, 1000ull},
      {"Mb", "= 1000 Kilobits", 2, 1000000ull},
      {"Gb", "= 1000 Megabits", 3, 1000000000ull},
      {"Tb", "= 1000 Gigabits", 4, 1000000000000ull}}},
    {"Kibibit",
     8,
     {{"Kibit", "= 1024 Bits", 1, 1ull << 10},
      {"Mibit", "= 1024 Kibibits", 2, 1ull << 20},
      {"Gibit", "= 1024 Mebibits", 3, 1ull << 30},
      {"Tibit", "= 1024 Gibibits", 4, 1ull << 40}}},
    {"Kilobyte",
     1,
     {{"kB", "= 1000 Bytes", 1, 1000ull},
      {"MB", "= 1000 Kilobytes", 2, 1000000ull},
      {"GB", "= 1000 Megabytes", 3, 1000000000ull},
      {"TB", "= 1000 Gigabytes", 4, 1000000000000ull}}},
    {"Kibibyte",
     1,
     {{"KiB", "= 1024 Bytes", 1, 1ull << 10},
      {"MiB", "= 1024 Kibibytes", 2, 1ull << 20},
      {"GiB", "= 1024 Mebibytes", 3, 1ull << 30},
      {"TiB", "= 1024 Gibibytes", 4, 1ull << 40}}},
};

namespace {

constexpr int kSignificantDigits = 12;
constexpr int kMaxDecimals = 20;  // keeps the longest text inside kFormatNumberMaxLength

// Concatenates the parts into one string with a single allocation.
std::string Join(std::initializer_list<std::string_view> AParts) {
  size_t length = 0;
  for (std::string_view p : AParts) length += p.size();
  std::string s;
  s.reserve(length);
  for (std::string_view p : AParts) s.append(p);
  return s;
}

// At least two digits, zero-padded after the sign: -2 gives "-02".
size_t WriteTwoDigitsAtLeast(char* ABuffer, int64_t AValue) {
  char digits[24];
  size_t n = 0;
  // Work on the magnitude as unsigned so that INT64_MIN does not overflow.
  uint64_t mag = AValue < 0 ? 0 - static_cast<uint64_t>(AValue) : static_cast<uint64_t>(AValue);
  do {
    digits[n++] = static_cast<char>('0' + mag % 10);
    mag /= 10;
  } while (mag != 0);
  if (n < 2) digits[n++] = '0';
  size_t out = 0;
  if (AValue < 0) ABuffer[out++] = '-';
  while (n > 0) ABuffer[out++] = digits[--n];
  return out;
}

// At most kMaxSeparatorLength bytes, never ending inside a UTF-8 sequence:
// the output buffer is sized for separators of that length.
std::string_view Clip(std::string_view ASeparator) {
  if (ASeparator.size() <= kMaxSeparatorLength) return ASeparator;
  size_t n = kMaxSeparatorLength;
  while (n > 0 && (static_cast<unsigned char>(ASeparator[n]) & 0xC0) == 0x80) --n;
  return ASeparator.substr(0, n);
}

char* Put(char* AOut, std::string_view AText) {
  std::memcpy(AOut, AText.data(), AText.size());
  return AOut + AText.size();
}

}  // namespace

size_t FormatNumberTo(char* ABuffer, double AValue, int ADecimals, std::string_view ADecimalSep,
                      std::string_view AThousandSep) {
  ADecimalSep = Clip(ADecimalSep);
  AThousandSep = Clip(AThousandSep);
  char* out = ABuffer;
  if (std::isnan(AValue)) {
    std::memcpy(out, "NaN", 3);
    return 3;
  }
  if (std::isinf(AValue)) {
    if (AValue < 0) *out++ = '-';
    std::memcpy(out, "Inf", 3);
    return static_cast<size_t>(out - ABuffer) + 3;
  }
  const int decimals = ADecimals < 0 ? 0 : ADecimals > kMaxDecimals ? kMaxDecimals : ADecimals;

  // Step 1: the value's 12 significant digits, d.ddddddddddd e±x, correctly
  // rounded from the binary value. Everything after works on these decimal
  // digits, so 2.675 (stored as 2.67499999...) counts as the 2.675 it shows.
  char sci[40];
  const std::to_chars_result sr =
      std::to_chars(sci, sci + sizeof sci, std::fabs(AValue), std::chars_format::scientific,
                    kSignificantDigits - 1);
  int digit[kSignificantDigits];
  digit[0] = sci[0] - '0';
  for (int i = 1; i < kSignificantDigits; ++i) digit[i] = sci[i + 1] - '0';
  const char* e = sci + kSignificantDigits + 1;  // at 'e'
  int exponent = 0;
  {
    const char* p = e + 1;
    const bool negativeExponent = *p == '-';
    ++p;
    for (; p < sr.ptr; ++p) exponent = exponent * 10 + (*p - '0');
    if (negativeExponent) exponent = -exponent;
  }

  // Step 2: round those digits to the decimals, halves away from zero.
  // digit[i] has the place value 10^(exponent - i); keep the first `keep`.
  const int keep = exponent + 1 + decimals;
  if (keep < 0) {
    for (int& d : digit) d = 0;
  } else if (keep < kSignificantDigits) {
    const bool up = digit[keep] >= 5;
    for (int i = keep; i < kSignificantDigits; ++i) digit[i] = 0;
    if (up) {
      int j = keep - 1;
      while (j >= 0 && digit[j] == 9) digit[j--] = 0;
      if (j >= 0) {
        ++digit[j];
      } else {  // 9.99 → 10.0: every kept digit was 9 and is now 0
        digit[0] = 1;
        ++exponent;
      }
    }
  }
  bool zero = true;
  for (int d : digit) zero = zero && d == 0;

  // The digit at place value 10^APower; zeros outside the 12 significant ones.
  auto digitAt = [&](int APower) -> char {
    const int i = exponent - APower;
    return static_cast<char>('0' + (i >= 0 && i < kSignificantDigits ? digit[i] : 0));
  };

  // Step 3: write it. A value that rounds to zero shows no minus sign.
  if (!zero && std::signbit(AValue)) *out++ = '-';
  const int topPower = zero || exponent < 0 ? 0 : exponent;
  for (int power = topPower; power >= 0; --power) {
    *out++ = digitAt(power);
    if (!AThousandSep.empty() && power > 0 && power % 3 == 0) out = Put(out, AThousandSep);
  }
  if (decimals > 0) {
    out = Put(out, ADecimalSep);
    for (int power = -1; power >= -decimals; --power) *out++ = digitAt(power);
  }
  return static_cast<size_t>(out - ABuffer);
}

std::string FormatScaledValue(uint32_t AGroup, int64_t AValue) {
  if (AGroup >= kDisplayUnitGroupCount) return {};
  const TQD_DisplayUnitGroup& group = DisplayUnitGroups[AGroup];
  const uint64_t multiplier = static_cast<uint64_t>(group.Multiplier);

  // |v| = |AValue| × Multiplier. Taken as unsigned so that neither INT64_MIN
  // nor a product beyond 63 bits wraps into a wrong sign or step; a product
  // beyond 64 bits is above every divisor anyway.
  const uint64_t magnitude = AValue < 0 ? 0 - static_cast<uint64_t>(AValue) : static_cast<uint64_t>(AValue);
  const bool beyond64 = magnitude > UINT64_MAX / multiplier;
  const uint64_t scaled = beyond64 ? UINT64_MAX : magnitude * multiplier;

  int step = 0;
  for (int s = 3; s >= 1; --s)
    if (group.Steps[s].Divisor <= scaled) {
      step = s;
      break;
    }
  const TQD_DisplayUnitStep& unit = group.Steps[step];

  double q = (beyond64 ? static_cast<double>(magnitude) * static_cast<double>(multiplier)
                       : static_cast<double>(scaled)) /
             static_cast<double>(unit.Divisor);
  if (AValue < 0) q = -q;
  const int decimals = q == std::trunc(q) ? 0 : unit.Decimals;

  const TQD_LocalePort& locale = CurrentLocale();
  char number[kFormatNumberMaxLength];
  const size_t n = FormatNumberTo(number, q, decimals, locale.DecimalSeparator(), locale.ThousandSeparator());
  return Join({std::string_view(number, n), " ", unit.ShortName});
}

std::string FormatMinutes(double AValue) {
  const int64_t r = RoundHalfEven(AValue);
  char text[64];
  size_t n = WriteTwoDigitsAtLeast(text, r / 60);
  std::memcpy(text + n, " h ", 3);
  n += 3;
  n += WriteTwoDigitsAtLeast(text + n, r % 60);
  std::memcpy(text + n, " m", 2);
  n += 2;
  return std::string(text, n);
}

double SafeDivide(double ADividend, double ADivisor) {
  return ADivisor == 0 ? 0.001 : ADividend / ADivisor;
}

// --- data logger methods --------------------------------------------------------

std::string TQD_DataLogger::FormatValue(int AIndex, TQD_DynamicCaptionSource ASource) const {
  if (AIndex <= 0 || static_cast<size_t>(AIndex) >= FReadingsList.size()) return "-";
  const TQD_ReadingsListItem& r = FReadingsList[static_cast<size_t>(AIndex)];
  switch (ASource) {
    case dcsValue:
    case dcsValueMin:
    case dcsValueMax:
    case dcsValueAvg: {
      const double v = GetValue(AIndex, ASource);
      const char* suffix = CaptionSourceSuffixes[ASource];
      const int unit = FindHWiNFOUnit(r.szUnit.c_str());
      if (unit == unitYesNo) return Join({v == 0 ? "No" : "Yes", suffix});  // NaN counts as Yes
      if (unit == unitMinutes) return FormatMinutes(v);
      const int decimals = unit >= 0 ? HWiNFOUnits[unit].Decimals : kUnknownUnitDecimals;
      char number[kFormatNumberMaxLength];
      const size_t n = FormatNumberTo(number, v, decimals, CurrentLocale().DecimalSeparator(), {});
      return Join({std::string_view(number, n), " ", r.szUnit, suffix});
    }
    case dcsLabelOrig: return r.szLabelOrig;
    case dcsLabelUser: return r.szLabelUser;
    case dcsSensorNameOrig: return r.szSensorNameOrig;
    case dcsSensorNameUser: return r.szSensorNameUser;
  }
  return {};
}

std::string TQD_DataLogger::FormatValue(const TQD_URID& AURID, TQD_DynamicCaptionSource ASource) const {
  return FormatValue(GetReadingIndex(AURID), ASource);
}

std::string FormatFixed(double AValue, int ADecimals) {
  char number[kFormatNumberMaxLength];
  return std::string(number, FormatNumberTo(number, AValue, ADecimals, CurrentLocale().DecimalSeparator(), {}));
}

namespace {

std::string FormatGiB(uint64_t ABytes, int ADecimals) {
  return FormatFixed(static_cast<double>(ABytes) / 1073741824.0, ADecimals) + " GiB";
}

}  // namespace

std::string TQD_DataLogger::FormatRAMTotal() const { return FormatGiB(FRAMInfo.Total, 0); }

std::string TQD_DataLogger::FormatRAMUsed() const {
  // Available can exceed Total when the installed-memory query failed (Total
  // 0); an unsigned difference would then show some 17 billion GiB in use.
  const uint64_t used = FRAMInfo.Total > FRAMInfo.Available ? FRAMInfo.Total - FRAMInfo.Available : 0;
  return FormatGiB(used, 2);
}

// A drive that could not be asked (no medium, or a query that has hung for
// seconds) has -1 figures: "-" says so, where "0.0 KiB" would be a wrong size.
bool TQD_DataLogger::DriveSpaceKnown(int ADriveIndex) const {
  if (ADriveIndex < 0 || static_cast<size_t>(ADriveIndex) >= FLogicalDrives.size()) return false;
  return FLogicalDrives[static_cast<size_t>(ADriveIndex)].TotalSpace >= 0;
}

std::string TQD_DataLogger::FormatDiskTotalSpace(int ADriveIndex) const {
  if (!DriveSpaceKnown(ADriveIndex)) return "-";
  return FormatScaledValue(3, FLogicalDrives[static_cast<size_t>(ADriveIndex)].TotalSpace);
}

std::string TQD_DataLogger::FormatDiskFreeSpace(int ADriveIndex) const {
  if (!DriveSpaceKnown(ADriveIndex)) return "-";
  return FormatScaledValue(3, FLogicalDrives[static_cast<size_t>(ADriveIndex)].FreeSpace);
}

std::string TQD_DataLogger::FormatDiskUsedSpace(int ADriveIndex) const {
  if (!DriveSpaceKnown(ADriveIndex)) return "-";
  return FormatScaledValue(3, FLogicalDrives[static_cast<size_t>(ADriveIndex)].UsedSpace);
}
