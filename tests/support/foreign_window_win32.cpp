// Another process's windows; see foreign_window_win32.h.
#include "foreign_window_win32.h"

#include "base/win32_handles_win32.h"

std::string Text(HWND AWindow) {
  wchar_t text[256] = {};
  SendMessageTimeoutW(AWindow, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, nullptr);
  return WideToUtf8(text);
}

std::string ClassOf(HWND AWindow) {
  wchar_t name[128] = {};
  GetClassNameW(AWindow, name, 128);
  return WideToUtf8(name);
}

std::vector<HWND> Children(HWND AParent) {
  std::vector<HWND> out;
  EnumChildWindows(
      AParent,
      [](HWND AChild, LPARAM AOut) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(AOut)->push_back(AChild);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

HWND ChildWith(HWND AParent, const std::string& AClass, const std::string& AText) {
  for (HWND c : Children(AParent))
    if (ClassOf(c) == AClass && Text(c) == AText) return c;
  return nullptr;
}

bool EndSessionAsLogoff(HWND AWindow) {
  DWORD_PTR answer = 0;
  const bool asked = SendMessageTimeoutW(AWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 10000, &answer);
  SendMessageTimeoutW(AWindow, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 10000, &answer);
  return asked;
}

HWND WaitForVisibleControlPanel(DWORD AMs) {
  HWND panel = nullptr;
  return WaitFor([&] { return (panel = FindWindowW(QD_MainFormClass, nullptr)) && IsWindowVisible(panel); }, AMs)
             ? panel
             : nullptr;
}
