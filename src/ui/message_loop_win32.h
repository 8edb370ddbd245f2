// The thread's message loop, and a pump for tests that drive windows without
// one.
#pragma once

#include <windows.h>

// Dispatches messages until WM_QUIT; returns its exit code (PostQuitMessage's
// argument), or -1 when GetMessageW fails.
int RunMessageLoop();
// The window whose controls Tab, Shift+Tab and the arrow keys move between
// (IsDialogMessage) in RunMessageLoop; nullptr for none.
void SetKeyboardNavigationWindow(HWND AWindow);
// Dispatches the messages already waiting; returns how many. A WM_QUIT found
// on the way is put back so a loop further out still sees it.
int PumpPendingMessages();
