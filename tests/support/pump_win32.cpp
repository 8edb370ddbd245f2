// Message pumping for Windows tests; see pump_win32.h.
#include "pump_win32.h"

#include <cstdio>
#include <cstdlib>

#include "ui/message_loop_win32.h"

bool PumpUntil(const std::function<bool()>& ADone, DWORD ATimeoutMs) {
  const DWORD start = GetTickCount();
  while (!ADone()) {
    if (GetTickCount() - start > ATimeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpPendingMessages();
  }
  return true;
}

void PumpFor(DWORD AMs) {
  const DWORD start = GetTickCount();
  do {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpPendingMessages();
  } while (GetTickCount() - start < AMs);
}

void PauseForScreenshot(const char* AWhat) {
  const char* pause = std::getenv("QUENDAL_SCREENSHOT_PAUSE_MS");
  if (!pause) return;
  std::printf("screenshot now: %s\n", AWhat);
  std::fflush(stdout);
  PumpFor(static_cast<DWORD>(std::atoi(pause)));
}
