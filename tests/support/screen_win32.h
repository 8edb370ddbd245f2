// What the screen shows of a window, for tests that check a window drew
// something rather than a flat colour.
#pragma once

#include <windows.h>

#include <cstddef>

// Distinct colours in the window's client area as the screen shows it.
size_t DistinctColours(HWND AWindow);
