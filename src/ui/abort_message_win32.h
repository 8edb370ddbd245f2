// An error message whose one button reads "Abort": shown when the program
// cannot run at all, before anything else has started.
#pragma once

#include <windows.h>

#include <string>

// Modal on the calling thread; returns when the user pressed the button.
void ShowAbortMessage(HWND AOwner, const std::string& AText, const std::string& ACaption);
