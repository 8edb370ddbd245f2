// The autostart entry: one string value under the current user's Run key whose
// data is the full path of the executable to start at logon. Portable over the
// store port; autostart_win32.h binds it to the registry and the running
// executable's path.
#pragma once

#include <string>

#include "settings/key_value_store.h"

inline constexpr char QD_AutostartKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The program's name: the autostart value's name and the windows' title
// (UTF-8; the Win32 side converts it).
inline constexpr char QD_ApplicationTitle[] = "Quendal";

// True only when the entry exists and names exactly AExecutablePath (case
// counts): an entry left by a copy elsewhere would start that copy, not this one.
bool IsAutostartRegistered(TQD_KeyValueStore& AStore, const std::string& AExecutablePath);
void RegisterAutostart(TQD_KeyValueStore& AStore, const std::string& AExecutablePath);
void UnregisterAutostart(TQD_KeyValueStore& AStore);
