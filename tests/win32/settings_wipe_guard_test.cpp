// Deleting the program's settings is refused, and leaves them in place, once
// WINEPREFIX points outside the build tree.
#include <gtest/gtest.h>
#include <windows.h>

#include "settings/registry_store_win32.h"
#include "settings_wipe_guard_win32.h"

TEST(SettingsWipeGuard, ARunOutsideThePrivatePrefixKeepsTheSettings) {
  ASSERT_TRUE(RunningUnderWine());
  ASSERT_EQ(SettingsWipeRefusal(), "") << "this test runs in the build's own Wine prefix";
  TQD_RegistryStoreWin32 registry;
  RegWriteString(registry, "Software\\Quendal\\WipeGuardTest", "Marker", "kept");

  wchar_t own[1024];
  const DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", own, 1024);
  ASSERT_TRUE(n > 0 && n < 1024);
  // As if started with a developer's own prefix.
  SetEnvironmentVariableW(L"WINEPREFIX", L"/home/developer/.wine");
  const ::testing::AssertionResult wiped = WipeQuendalSettings();
  SetEnvironmentVariableW(L"WINEPREFIX", own);

  EXPECT_FALSE(wiped);
  EXPECT_NE(std::string(wiped.message()).find("is not inside the build tree"), std::string::npos) << wiped.message();
  EXPECT_EQ(RegReadString(registry, "Software\\Quendal\\WipeGuardTest", "Marker", ""), "kept");
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quendal\\WipeGuardTest");
}
