// The executable's own version resource, the Windows version test and the
// user's locale as the Win32 ports read them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <fstream>

#include "settings/autostart_win32.h"
#include "readings/custom_readings_list.h"
#include "settings/file_io.h"
#include "collector/locale_win32.h"
#include "collector/value_format.h"
#include "settings/program_version_win32.h"
#include "base/win32_handles_win32.h"
#include "settings_wipe_guard_win32.h"

namespace {

TEST(ProgramVersion, ComesFromThisExecutablesVersionResource) {
  const TQD_ProgramVersion v = GetProgramVersion();
  EXPECT_EQ(v.Major, QD_EXPECTED_MAJOR);
  EXPECT_EQ(v.Minor, QD_EXPECTED_MINOR);
  EXPECT_EQ(v.VersionText, std::to_string(QD_EXPECTED_MAJOR) + "." + std::to_string(QD_EXPECTED_MINOR));
  EXPECT_EQ(v.BuildDays, QD_EXPECTED_BUILD_DAYS);

  // The build date is no later than today, and its text is that date in the
  // user's short format.
  SYSTEMTIME now;
  GetSystemTime(&now);
  FILETIME nowFt, epochFt;
  SystemTimeToFileTime(&now, &nowFt);
  SYSTEMTIME epoch{};
  epoch.wYear = 2000;
  epoch.wMonth = 1;
  epoch.wDay = 1;
  SystemTimeToFileTime(&epoch, &epochFt);
  auto ticks = [](FILETIME f) { return (ULONGLONG{f.dwHighDateTime} << 32) | f.dwLowDateTime; };
  const long long today = static_cast<long long>((ticks(nowFt) - ticks(epochFt)) / 864000000000ULL);
  EXPECT_GT(v.BuildDays, 9000);  // after 2024
  EXPECT_LE(v.BuildDays, today + 1);

  ULARGE_INTEGER build;
  build.QuadPart = ticks(epochFt) + static_cast<ULONGLONG>(v.BuildDays) * 864000000000ULL;
  FILETIME buildFt{build.LowPart, build.HighPart};
  SYSTEMTIME buildDate;
  ASSERT_TRUE(FileTimeToSystemTime(&buildFt, &buildDate));
  wchar_t text[64];
  int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &buildDate, nullptr, text, 64, nullptr);
  ASSERT_GT(n, 1);
  EXPECT_EQ(v.BuildDateText, WideToUtf8(text, static_cast<size_t>(n - 1)));
  EXPECT_NE(v.BuildDateText.find(std::to_string(buildDate.wYear % 100)), std::string::npos) << v.BuildDateText;
}

TEST(ProgramVersion, AFileWithoutVersionResourceRaisesTheSystemsReason) {
  const std::string path = RunningExecutablePath() + ".noversion.txt";
  std::ofstream(path) << "not an executable";
  try {
    GetProgramVersion(path);
    ADD_FAILURE() << "no error for a file without version resource";
  } catch (const TQD_FileError& e) {
    EXPECT_EQ(e.FileName(), path);
    EXPECT_GT(std::string(e.what()).size(), path.size() + 20) << e.what();
  }
  DeleteFileW(Utf8ToWide(path).c_str());
  EXPECT_THROW(GetProgramVersion(path), TQD_FileError);  // gone altogether
}

TEST(WindowsVersion, IsAtLeastVistaAndBelowAnImpossibleMajor) {
  EXPECT_TRUE(IsWindowsVersionAtLeast(6));
  EXPECT_TRUE(IsWindowsVersionAtLeast(5));
  EXPECT_FALSE(IsWindowsVersionAtLeast(1000));
}

TEST(LocaleWin32, ParameterTextsUseTheUsersDecimalSeparator) {
  TQD_LocaleWin32 locale;
  const std::string decimal(locale.DecimalSeparator());
  ASSERT_FALSE(decimal.empty());
  EXPECT_NE(decimal, locale.ThousandSeparator());
  const std::string text = "T=85" + decimal + "5";
  SetCurrentLocale(&locale);
  EXPECT_EQ(GetParamTemperatureMax(text), 85.5);
  SetCurrentLocale(nullptr);
  EXPECT_EQ(GetParamTemperatureMax(text, locale), 85.5);
}

TEST(LocaleWin32, MultiByteSeparatorsAreReadAgainWhenTheRegionalSettingsChange) {
  ASSERT_EQ(SettingsWipeRefusal(), "") << "this test changes the user's regional settings";
  auto read = [](LCTYPE AType) {
    wchar_t text[16] = {};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, AType, text, 16);
    return std::wstring(text);
  };
  const std::wstring oldDecimal = read(LOCALE_SDECIMAL), oldThousand = read(LOCALE_STHOUSAND);
  TQD_LocaleWin32 locale;
  SetCurrentLocale(&locale);
  const std::string before(locale.DecimalSeparator());

  ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L"\u066B"));  // Arabic decimal separator
  ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, L"\u2019"));
  EXPECT_EQ(locale.DecimalSeparator(), before);  // until the system says so
  SystemSettingChanged("intl");
  const std::string decimal(locale.DecimalSeparator()), thousand(locale.ThousandSeparator());
  const double parsed = GetParamTemperatureMax("T=85\xD9\xAB" "5");
  const std::string scaled = FormatScaledValue(3, 5000 * (int64_t{1} << 40) + (int64_t{1} << 39));

  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, oldDecimal.c_str());
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, oldThousand.c_str());
  SystemSettingChanged("intl");
  SetCurrentLocale(nullptr);
  EXPECT_EQ(decimal, "\xD9\xAB");
  EXPECT_EQ(thousand, "\xE2\x80\x99");
  EXPECT_EQ(parsed, 85.5);
  EXPECT_EQ(scaled, "5\xE2\x80\x99" "000\xD9\xAB" "5000 TiB");
  EXPECT_EQ(locale.DecimalSeparator(), before);
}

TEST(LocaleWin32, LongTimeAndDateTexts) {
  TQD_LocaleWin32 locale;
  // 2024-03-15 13:45:30 as days since 1899-12-30.
  const double when = 45366.0 + (13 * 3600 + 45 * 60 + 30) / 86400.0;
  const std::string time = locale.LongTimeText(when);
  const std::string date = locale.LongDateText(when);
  EXPECT_NE(time.find("45"), std::string::npos) << time;
  EXPECT_NE(time.find("30"), std::string::npos) << time;
  EXPECT_NE(date.find("2024"), std::string::npos) << date;
  EXPECT_NE(date.find("15"), std::string::npos) << date;
  EXPECT_EQ(locale.LongDateText(NAN), "");
}

}  // namespace
