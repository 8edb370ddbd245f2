// Rounded corners of the monitor windows on Windows 11: the corner
// preference handed to the desktop window manager.
#pragma once

#include <windows.h>

#include <cstdint>

// Sends WindowCornerPreferenceValue(APreference) (graphics_common.h) as the
// window's corner preference. The result is ignored: systems before
// Windows 11 reject the attribute and keep square corners, which is fine.
void SetWindowCornerPreference(HWND AWindow, uint8_t APreference);
