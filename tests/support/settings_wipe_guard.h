// The end-to-end tests start from empty settings by deleting
// HKCU\Software\Quendal. That is only allowed in the Wine prefix the test run
// made for itself inside the build tree: anywhere else the key holds a real
// user's settings. This is the decision; settings_wipe_guard_win32.h asks it
// about the running process and does the deleting.
#pragma once

#include <string>
#include <string_view>

// Why the settings must not be deleted, or an empty text when they may:
// under Wine, with WINEPREFIX (a Unix path) a folder strictly inside
// ABuildDir, both absolute and free of "." and ".." steps.
std::string SettingsWipeRefusal(bool AUnderWine, std::string_view AWinePrefix, std::string_view ABuildDir);
