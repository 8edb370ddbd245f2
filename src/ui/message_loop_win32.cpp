// Message loop helpers; see message_loop_win32.h.
#include "ui/message_loop_win32.h"

namespace {
HWND GNavigationWindow = nullptr;
}  // namespace

void SetKeyboardNavigationWindow(HWND AWindow) { GNavigationWindow = AWindow; }

int RunMessageLoop() {
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return -1;
    if (GNavigationWindow && IsDialogMessageW(GNavigationWindow, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int PumpPendingMessages() {
  int count = 0;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    ++count;
  }
  return count;
}
