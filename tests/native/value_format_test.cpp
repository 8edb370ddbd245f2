// Value formatting under three locales (point, comma and multi-byte
// separators): readings with units, scaled byte and bit counts, minutes, RAM
// and disk texts.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "collector/locale_port.h"
#include "logger_rig.h"
#include "collector/units.h"
#include "collector/value_format.h"

namespace {

const char* const kDeg = "\xC2\xB0";
constexpr int64_t kKiB = 1024, kMiB = kKiB << 10, kGiB = kMiB << 10, kTiB = kGiB << 10;

// Runs every test under three locales: "." decimals and "," thousands, the
// other way round, and separators of several bytes (U+066B ARABIC DECIMAL
// SEPARATOR, U+2019 RIGHT SINGLE QUOTATION MARK as used in Switzerland).
// Expected texts are written in the first form and translated.
struct TLocaleCase {
  const char* Name;
  const char* Decimal;
  const char* Thousand;
};
const TLocaleCase kLocales[] = {
    {"PointDecimals", ".", ","},
    {"CommaDecimals", ",", "."},
    {"MultiByteSeparators", "\xD9\xAB", "\xE2\x80\x99"},
};

class Formatting : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { SetCurrentLocale(&FLocale); }
  void TearDown() override { SetCurrentLocale(nullptr); }
  const TLocaleCase& Case() const { return kLocales[GetParam()]; }
  std::string L(const std::string& AText) const {
    std::string out;
    for (char c : AText) out += c == '.' ? Case().Decimal : c == ',' ? Case().Thousand : std::string(1, c);
    return out;
  }

 private:
  TQD_InvariantLocale FLocale{Case().Decimal, Case().Thousand};
};

INSTANTIATE_TEST_SUITE_P(Locales, Formatting, ::testing::Values(0, 1, 2),
                         [](const auto& AInfo) { return kLocales[AInfo.param].Name; });

TEST_P(Formatting, ReadingValuesTakeTheirUnitsDecimalsAndSuffix) {
  TLoggerRig rig;
  const uint32_t s = rig.Sensor(kBoardSensor, 0);
  const std::string degC = std::string(kDeg) + "C";
  const TQD_URID temp = rig.Reading(s, SENSOR_TYPE_TEMP, 1, "T", degC, 45.5);
  rig.Reading(s, SENSOR_TYPE_USAGE, 2, "U", "%", 99.5);
  rig.Reading(s, SENSOR_TYPE_VOLT, 3, "V", "V", 2.675);       // stored as 2.67499999…
  rig.Reading(s, SENSOR_TYPE_OTHER, 4, "R", "x", 1.005);      // stored as 1.00499999…
  rig.Reading(s, SENSOR_TYPE_CLOCK, 5, "C", "MHz", 4800.4999);
  rig.Reading(s, SENSOR_TYPE_POWER, 6, "P", "W", 123456789012345.678);
  rig.Reading(s, SENSOR_TYPE_POWER, 7, "P", "W", -0.001);
  rig.Reading(s, SENSOR_TYPE_POWER, 8, "P", "W", -5.25);
  rig.Reading(s, SENSOR_TYPE_VOLT, 9, "mV", "mV", 1.5);
  rig.Reading(s, SENSOR_TYPE_OTHER, 10, "E", "", 1.5);
  rig.Reading(s, SENSOR_TYPE_FAN, 11, "F", "rpm", 0.1234567890123456);  // units match case-sensitively
  rig.Reading(s, SENSOR_TYPE_TEMP, 12, "N", degC, std::nan(""));
  rig.Reading(s, SENSOR_TYPE_POWER, 13, "H", "W", 1e20);
  TQD_DataLogger& logger = rig.Poll();

  EXPECT_EQ(logger.FormatValue(1, dcsValueMax), L("45.50 " + degC + " (Max)"));
  EXPECT_EQ(logger.FormatValue(1, dcsValueMin), L("45.50 " + degC + " (Min)"));
  EXPECT_EQ(logger.FormatValue(1, dcsValueAvg), L("45.50 " + degC + " (Avg)"));
  EXPECT_EQ(logger.FormatValue(temp, dcsValue), L("45.50 " + degC));
  EXPECT_EQ(logger.FormatValue(2, dcsValue), "100 %");
  // Rounded to 12 significant digits first, so the shown value's half rounds up.
  EXPECT_EQ(logger.FormatValue(3, dcsValue), L("2.68 V"));
  EXPECT_EQ(logger.FormatValue(4, dcsValue), L("1.01 x"));
  EXPECT_EQ(logger.FormatValue(5, dcsValue), "4800 MHz");  // never a thousands separator
  EXPECT_EQ(logger.FormatValue(6, dcsValue), L("123456789012000.00 W"));
  EXPECT_EQ(logger.FormatValue(7, dcsValue), L("0.00 W"));  // no "-0.00"
  EXPECT_EQ(logger.FormatValue(8, dcsValue), L("-5.25 W"));
  EXPECT_EQ(logger.FormatValue(9, dcsValue), L("1.500000 mV"));
  EXPECT_EQ(logger.FormatValue(10, dcsValueMax), L("1.500000  (Max)"));
  EXPECT_EQ(logger.FormatValue(10, dcsValue), L("1.500000 "));
  EXPECT_EQ(logger.FormatValue(11, dcsValue), L("0.123457 rpm"));
  EXPECT_EQ(logger.FormatValue(12, dcsValue), "NaN " + degC);
  EXPECT_EQ(logger.FormatValue(13, dcsValue), L("100000000000000000000.00 W"));
}

TEST_P(Formatting, EveryUnitShowsItsDecimals) {
  TLoggerRig rig;
  const uint32_t s = rig.Sensor(kBoardSensor, 0);
  for (int u = 0; u < kHWiNFOUnitCount; ++u) rig.Reading(s, SENSOR_TYPE_OTHER, static_cast<uint32_t>(u), "r", HWiNFOUnits[u].Unit, 7.125);
  TQD_DataLogger& logger = rig.Poll();
  ASSERT_EQ(kHWiNFOUnitCount, 19);
  const char* expected[19] = {"Yes", "7 %", "7 MHz", "7.13 x", "7 T", nullptr, nullptr, "7.13 V", "7.13 A",
                              "7.13 W", "7 RPM", "7 MB", "7 GB", "7.13 KB/s", "7.13 MB/s", "7.13 Gbps",
                              "7 GT/s", "7 Wh", "00 h 07 m"};
  for (int u = 0; u < kHWiNFOUnitCount; ++u) {
    const std::string want = expected[u] ? std::string(expected[u]) : "7.13 " + std::string(HWiNFOUnits[u].Unit);
    EXPECT_EQ(logger.FormatValue(u + 1, dcsValue), L(want)) << HWiNFOUnits[u].Unit;
    EXPECT_EQ(logger.GetUnit(u + 1), u);
  }
}

TEST_P(Formatting, YesNoMinutesAndNames) {
  TLoggerRig rig;
  const uint32_t s = rig.Sensor(kBoardSensor, 3, "Board", "My board");
  rig.Reading(s, SENSOR_TYPE_OTHER, 1, "Throttling", "Yes/No", 0);
  rig.Reading(s, SENSOR_TYPE_OTHER, 2, "Throttling", "Yes/No", 1);
  rig.Reading(s, SENSOR_TYPE_OTHER, 3, "Throttling", "Yes/No", std::nan(""));
  rig.Reading(s, SENSOR_TYPE_OTHER, 4, "Remaining", "mins", 125.4);
  rig.Block.Readings[0].szLabelUser = "Throttled?";
  TQD_DataLogger& logger = rig.Poll();

  EXPECT_EQ(logger.FormatValue(1, dcsValue), "No");
  EXPECT_EQ(logger.FormatValue(2, dcsValueAvg), "Yes (Avg)");
  EXPECT_EQ(logger.FormatValue(3, dcsValue), "Yes");
  EXPECT_EQ(logger.FormatValue(3, dcsValueMin), "Yes (Min)");
  EXPECT_EQ(logger.FormatValue(4, dcsValueMax), "02 h 05 m");  // no unit, no suffix

  EXPECT_EQ(logger.FormatValue(1, dcsLabelOrig), "Throttling");
  EXPECT_EQ(logger.FormatValue(1, dcsLabelUser), "Throttled?");
  EXPECT_EQ(logger.FormatValue(1, dcsSensorNameOrig), "Board");
  EXPECT_EQ(logger.FormatValue(1, dcsSensorNameUser), "My board");
  EXPECT_EQ(logger.FormatValue(1, static_cast<TQD_DynamicCaptionSource>(8)), "");
}

TEST_P(Formatting, MissingReadingsGiveADash) {
  TLoggerRig rig;
  TQD_DataLogger& logger = rig.Get();
  EXPECT_EQ(logger.FormatValue(0, dcsValue), "-");  // before the first poll
  EXPECT_EQ(logger.FormatValue(1, dcsValue), "-");
  rig.Reading(rig.Sensor(kBoardSensor, 0), SENSOR_TYPE_TEMP, 1, "T", "W", 1);
  rig.Poll();
  EXPECT_EQ(logger.FormatValue(0, dcsValue), "-");
  EXPECT_EQ(logger.FormatValue(0, dcsLabelOrig), "-");
  EXPECT_EQ(logger.FormatValue(2, dcsLabelOrig), "-");
  EXPECT_EQ(logger.FormatValue(-1, dcsValue), "-");
  EXPECT_EQ(logger.FormatValue(TQD_URID::CreateNew(kBoardSensor, 0, 2), dcsValue), "-");
  EXPECT_EQ(logger.FormatValue(TQD_URID::CreateNew(kBoardSensor, 0, 1), dcsValue), L("1.00 W"));
}

TEST_P(Formatting, ScaledValuesPickTheirStepByMagnitude) {
  struct Case {
    uint32_t Group;
    int64_t Value;
    const char* Text;
  };
  const Case cases[] = {
      {3, 512, "0.5 KiB"},
      {3, 1536, "1.5 KiB"},
      {3, kMiB, "1 MiB"},
      {3, 0, "0 KiB"},
      {3, kKiB, "1 KiB"},  // |v| equal to a divisor takes that step
      {3, kKiB - 1, "1.0 KiB"},
      {3, kTiB, "1 TiB"},
      {3, -1536, "-1.5 KiB"},  // sign kept, step chosen by magnitude
      {3, -kMiB, "-1 MiB"},
      {3, -3 * kGiB / 2, "-1.500 GiB"},
      {3, 5000 * kTiB, "5,000 TiB"},
      {3, 5000 * kTiB + kTiB / 2, "5,000.5000 TiB"},
      {2, 999999, "1,000.0 kB"},
      {2, 1000000, "1 MB"},
      {2, 999999999, "1,000.00 MB"},
      {2, 1234567890123, "1.2346 TB"},
      {0, 125, "1 kb"},
      {0, 1000, "8 kb"},
      {0, 125000, "1 Mb"},
      {1, 128, "1 Kibit"},
      {1, 3 * kGiB / 8, "3 Gibit"},
      // Products beyond 64 bits neither wrap nor lose their sign.
      {0, std::numeric_limits<int64_t>::max(), "73,786,976.2948 Tb"},
      {0, std::numeric_limits<int64_t>::min(), "-73,786,976.2948 Tb"},
      {3, std::numeric_limits<int64_t>::min(), "-8,388,608 TiB"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatScaledValue(c.Group, c.Value), L(c.Text)) << c.Group << " " << c.Value;
  EXPECT_EQ(FormatScaledValue(4, 1024), "");
  EXPECT_EQ(FormatScaledValue(0xFFFFFFFF, 1024), "");
}

TEST_P(Formatting, RAMTexts) {
  TLoggerRig rig;
  rig.Fakes.SystemInfo.RAM = TQD_RAMINFO{16 * uint64_t(kGiB), 16 * uint64_t(kGiB) - 256 * uint64_t(kMiB), 0,
                                         8 * uint64_t(kGiB)};
  rig.Logger = std::make_unique<TQD_DataLogger>(rig.Fakes.Ports(), false, 180, 2000);
  EXPECT_EQ(rig.Logger->FormatRAMTotal(), "16 GiB");  // 15.75 rounds up
  EXPECT_EQ(rig.Logger->FormatRAMUsed(), L("7.75 GiB"));

  rig.Fakes.SystemInfo.RAM.Available = rig.Fakes.SystemInfo.RAM.TotalInstalled;
  rig.Logger = std::make_unique<TQD_DataLogger>(rig.Fakes.Ports(), true, 180, 2000);
  EXPECT_EQ(rig.Logger->FormatRAMTotal(), "16 GiB");
  EXPECT_EQ(rig.Logger->FormatRAMUsed(), L("0.00 GiB"));

  // The installed-memory query failed: Total 0 while memory is available.
  rig.Fakes.SystemInfo.RAM.TotalInstalled = 0;
  rig.Logger = std::make_unique<TQD_DataLogger>(rig.Fakes.Ports(), true, 180, 2000);
  EXPECT_EQ(rig.Logger->FormatRAMTotal(), "0 GiB");
  EXPECT_EQ(rig.Logger->FormatRAMUsed(), L("0.00 GiB"));
}

TEST_P(Formatting, DiskTexts) {
  TLoggerRig rig;
  rig.Fakes.SystemInfo.Drives = {
      TQD_DRVMTR_ALogicalDrive{true, 2, "C:\\", "System", 512 * kGiB, 100 * kGiB + kGiB / 4,
                               411 * kGiB + 3 * kGiB / 4},
      TQD_DRVMTR_ALogicalDrive{false, 3, "D:\\", "", -1, -1, 0},  // no medium
  };
  TQD_DataLogger& logger = rig.Get();
  EXPECT_EQ(logger.FormatDiskTotalSpace(1), "512 GiB");
  EXPECT_EQ(logger.FormatDiskFreeSpace(1), L("100.250 GiB"));
  EXPECT_EQ(logger.FormatDiskUsedSpace(1), L("411.750 GiB"));
  EXPECT_EQ(logger.FormatDiskTotalSpace(2), "-");  // unknown, not a size
  EXPECT_EQ(logger.FormatDiskUsedSpace(2), "-");
  EXPECT_EQ(logger.FormatDiskTotalSpace(0), "0 KiB");  // the placeholder
  EXPECT_EQ(logger.FormatDiskFreeSpace(3), "-");
  EXPECT_EQ(logger.FormatDiskUsedSpace(-1), "-");
}

TEST_P(Formatting, NumberCoreAtTheExtremes) {
  char buf[kFormatNumberMaxLength];
  auto fmt = [&](double v, int decimals, std::string_view thousands) {
    const size_t n = FormatNumberTo(buf, v, decimals, Case().Decimal, thousands);
    EXPECT_LE(n, kFormatNumberMaxLength);
    return std::string(buf, n);
  };
  const std::string sep = Case().Thousand;
  const std::string biggest = fmt(-DBL_MAX, 99, sep);  // decimals are capped
  const std::string head = L("-179,769,313,486,000");
  EXPECT_EQ(biggest.substr(0, head.size()), head);
  EXPECT_EQ(biggest.size(), 1u + 309 + 102 * sep.size() + std::string(Case().Decimal).size() + 20);
  EXPECT_EQ(fmt(5e-324, 6, ""), L("0.000000"));
  EXPECT_EQ(fmt(-0.0, 2, ""), L("0.00"));
  EXPECT_EQ(fmt(9.995, 2, ""), L("10.00"));  // the carry runs through every digit
  EXPECT_EQ(fmt(0.006, 2, ""), L("0.01"));
  EXPECT_EQ(fmt(0.004, 2, ""), L("0.00"));
  EXPECT_EQ(fmt(999999.5, 0, sep), L("1,000,000"));
  EXPECT_EQ(fmt(-std::numeric_limits<double>::infinity(), 2, ""), "-Inf");
  EXPECT_EQ(fmt(0.1234567890123456, 15, ""), L("0.123456789012000"));
}

TEST(FormatNumber, OverlongSeparatorsAreCutToWholeCharactersThatFitTheBuffer) {
  std::string apostrophes;
  for (int i = 0; i < 20; ++i) apostrophes += "\xE2\x80\x99";  // 60 bytes
  char buf[kFormatNumberMaxLength];
  const size_t n = FormatNumberTo(buf, -DBL_MAX, 20, apostrophes, apostrophes);
  EXPECT_EQ(n, 1u + 309 + 102 * 15 + 15 + 20);  // five whole characters each
  EXPECT_EQ(std::string(buf, 8), "-179" + apostrophes.substr(0, 4));
}

TEST(FormatMinutes, RoundsHalvesToEvenAndPadsToTwoDigits) {
  EXPECT_EQ(FormatMinutes(125.4), "02 h 05 m");
  EXPECT_EQ(FormatMinutes(1500), "25 h 00 m");
  EXPECT_EQ(FormatMinutes(0.5), "00 h 00 m");
  EXPECT_EQ(FormatMinutes(1.5), "00 h 02 m");
  EXPECT_EQ(FormatMinutes(2.5), "00 h 02 m");
  EXPECT_EQ(FormatMinutes(59.5), "01 h 00 m");
  EXPECT_EQ(FormatMinutes(6000), "100 h 00 m");
  EXPECT_EQ(FormatMinutes(-125), "-02 h -05 m");  // both parts truncate toward zero
  EXPECT_EQ(FormatMinutes(-30), "00 h -30 m");
  EXPECT_EQ(FormatMinutes(std::nan("")), "00 h 00 m");
  EXPECT_EQ(FormatMinutes(1e300), "153722867280912930 h 07 m");
}

TEST(SafeDivide, ZeroDivisorGivesOneThousandth) {
  EXPECT_DOUBLE_EQ(SafeDivide(1, 0), 0.001);
  EXPECT_DOUBLE_EQ(SafeDivide(0, -0.0), 0.001);
  EXPECT_DOUBLE_EQ(SafeDivide(-6, 3), -2);
  EXPECT_DOUBLE_EQ(SafeDivide(1, 4), 0.25);
}

TEST(DisplayUnitGroups, SettingsListNamesEachGroupByItsFirstStep) {
  const char* expected[4] = {"Kilobit (1 kb = 1000 Bits)", "Kibibit (1 Kibit = 1024 Bits)",
                             "Kilobyte (1 kB = 1000 Bytes)", "Kibibyte (1 KiB = 1024 Bytes)"};
  for (int g = 0; g < kDisplayUnitGroupCount; ++g) {
    const TQD_DisplayUnitGroup& group = DisplayUnitGroups[g];
    EXPECT_EQ(std::string(group.Name) + " (1 " + group.Steps[0].ShortName + " " + group.Steps[0].Description + ")",
              expected[g]);
    for (int s = 0; s < 4; ++s) EXPECT_EQ(group.Steps[s].Decimals, s + 1);
  }
  EXPECT_STREQ(DisplayUnitGroups[1].Steps[3].Description, "= 1024 Gibibits");
  EXPECT_STREQ(CaptionSourceSuffixes[dcsLabelOrig], "");
}

}  // namespace
