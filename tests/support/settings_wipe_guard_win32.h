// Deleting the program's settings from a Windows test, guarded by
// settings_wipe_guard.h for the running process.
#pragma once

#include <gtest/gtest.h>

#include <string>

// ntdll exports wine_get_version under Wine only.
bool RunningUnderWine();
// The refusal for this process: its Wine, its WINEPREFIX, the build tree it was built in.
std::string SettingsWipeRefusal();
// Deletes HKCU\Software\Quendal, or leaves it and fails with the reason.
::testing::AssertionResult WipeQuendalSettings();
