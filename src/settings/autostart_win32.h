// The autostart entry for the running executable in the real registry.
#pragma once

#include <string>

// Full path of the running executable, UTF-8.
std::string RunningExecutablePath();

bool IsAutostartRegistered();
void RegisterAutostart();
void UnregisterAutostart();
