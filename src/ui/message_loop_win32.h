// The thread's message loop, and a pump for tests that drive windows without
// one.
#pragma once

#include <windows.h>

// Dispatches messages until WM_QUIT; returns its exit code (PostQuitMessage's
// argument), or -1 when GetMessageW fails.
int RunMessageLoop();
// Dispatches the messages already waiting; returns how many. A WM_QUIT found
// on the way is put back so a loop further out still sees it.
int PumpPendingMessages();
// Tab, arrow and mnemonic keys for the active window's controls when that
// window is a WS_EX_CONTROLPARENT (IsDialogMessage); true when it took the
// message. Both loops above call it.
bool TranslateDialogKeys(MSG& AMessage);
