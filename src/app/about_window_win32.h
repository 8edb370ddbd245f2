// The about window: a modal dialog built from an in-memory template with the
// program's name, version, build date, what it is for, what it needs and its
// licence, and an OK button. Dialogs from templates are scaled by the system
// to their monitor's DPI under per-monitor (v2) awareness, and again when
// they move to another monitor.
#pragma once

#include <windows.h>

#include <string>

struct TQD_AboutInfo {
  std::string VersionText;    // "1.7"
  std::string BuildDateText;  // in the user's short date format
};

// Shows the window modally over AOwner and returns when it is closed.
void ShowAboutWindow(HWND AOwner, const TQD_AboutInfo& AInfo);
