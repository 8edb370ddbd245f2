// Window corner preference through DwmSetWindowAttribute; see window_corners_win32.h.
#include "ui/window_corners_win32.h"

#include <dwmapi.h>

#include "render/graphics_common.h"

namespace {
// DWMWA_WINDOW_CORNER_PREFERENCE; spelled out because older SDK headers
// (and mingw's) may not define it.
constexpr DWORD kWindowCornerPreference = 33;
}  // namespace

void SetWindowCornerPreference(HWND AWindow, uint8_t APreference) {
  const int value = WindowCornerPreferenceValue(APreference);  // a 4-byte int, as the DWM expects
  DwmSetWindowAttribute(AWindow, kWindowCornerPreference, &value, sizeof value);
}
