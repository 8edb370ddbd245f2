// Guarded deletion of the program's settings; see settings_wipe_guard_win32.h.
#include "settings_wipe_guard_win32.h"

#include <windows.h>

#include "base/win32_handles_win32.h"
#include "settings_wipe_guard.h"

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string SettingsWipeRefusal() {
  wchar_t prefix[1024];
  const DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", prefix, 1024);
  // Unset, or too long to be ours: both read as not set.
  const std::string winePrefix = n > 0 && n < 1024 ? WideToUtf8(prefix, n) : std::string();
  return SettingsWipeRefusal(RunningUnderWine(), winePrefix, QUENDAL_TEST_BUILD_DIR);
}

::testing::AssertionResult WipeQuendalSettings() {
  const std::string refusal = SettingsWipeRefusal();
  if (!refusal.empty()) return ::testing::AssertionFailure() << refusal;
  const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quendal");
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
    return ::testing::AssertionFailure() << "cannot delete HKCU\\Software\\Quendal: "
                                         << SystemErrorText(static_cast<DWORD>(status));
  return ::testing::AssertionSuccess();
}
