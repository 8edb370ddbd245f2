// Message loop helpers; see message_loop_win32.h.
#include "ui/message_loop_win32.h"

bool TranslateDialogKeys(MSG& AMessage) {
  // Only keys are the dialog manager's business (it would merely dispatch
  // anything else), and finding the active window is a request to the
  // server under Wine: other messages are not asked about.
  if (AMessage.message < WM_KEYFIRST || AMessage.message > WM_KEYLAST) return false;
  // Windows with child controls opt in with WS_EX_CONTROLPARENT; monitor
  // windows and the like keep every key to themselves.
  const HWND active = GetActiveWindow();
  if (!active || !(GetWindowLongPtrW(active, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) return false;
  if (AMessage.hwnd != active && !IsChild(active, AMessage.hwnd)) return false;
  return IsDialogMessageW(active, &AMessage) != FALSE;
}

int RunMessageLoop() {
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return -1;
    if (TranslateDialogKeys(msg)) continue;
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
    if (TranslateDialogKeys(msg)) {
      ++count;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    ++count;
  }
  return count;
}
