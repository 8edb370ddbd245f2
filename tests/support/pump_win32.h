// Message pumping for Windows tests that drive windows on their own thread.
#pragma once

#include <windows.h>

#include <functional>

// Dispatches this thread's messages until ADone() holds; false when
// ATimeoutMs passed first.
bool PumpUntil(const std::function<bool()>& ADone, DWORD ATimeoutMs = 10000);
// Dispatches this thread's messages for AMs.
void PumpFor(DWORD AMs = 50);
// With QUENDAL_SCREENSHOT_PAUSE_MS set, says what is on screen and keeps
// pumping that long, so a screenshot can be taken by hand.
void PauseForScreenshot(const char* AWhat);
