// Reading the windows of another process (the real Quendal.exe) from an
// end-to-end test: texts by message, classes, children.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window_win32.h"  // QD_MainFormClass, the control panel's class

// Polls ACondition every 100 ms until it holds or AMs passed.
template <typename TCondition>
bool WaitFor(TCondition ACondition, DWORD AMs) {
  for (DWORD waited = 0; waited <= AMs; waited += 100) {
    if (ACondition()) return true;
    Sleep(100);
  }
  return false;
}

// The window's text, asked by WM_GETTEXT (GetWindowText does not ask another
// process's controls).
std::string Text(HWND AWindow);
std::string ClassOf(HWND AWindow);
std::vector<HWND> Children(HWND AParent);
// The first child (at any depth) of that class with that text, or nullptr.
HWND ChildWith(HWND AParent, const std::string& AClass, const std::string& AText);
// Quendal's control panel once it is shown, or nullptr when it was not
// within AMs.
HWND WaitForVisibleControlPanel(DWORD AMs = 30000);
// Ends the session of AWindow's program as a logoff does: WM_QUERYENDSESSION,
// then WM_ENDSESSION. False when the first went unanswered.
bool EndSessionAsLogoff(HWND AWindow);
