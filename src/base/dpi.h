// DPI arithmetic shared by every window: geometry is stored at 96 DPI and
// scaled to the window's DPI with the system's MulDiv rounding, so portable
// code (geometry rules, tests on Linux) gets exactly the pixels Windows would.
#pragma once

#include "base/mul_div.h"

inline constexpr int QD_DefaultDPI = 96;

// A length at 96 DPI in pixels at ADPI, and back.
inline int ScaleToDPI(int AValue96, int ADPI) { return QD_MulDiv(AValue96, ADPI, QD_DefaultDPI); }
inline int ScaleFromDPI(int AValue, int ADPI) { return QD_MulDiv(AValue, QD_DefaultDPI, ADPI); }
