// DPI arithmetic shared by every window: geometry is stored at 96 DPI and
// scaled to the window's DPI with the system's MulDiv rounding, so portable
// code (geometry rules, tests on Linux) gets exactly the pixels Windows would.
// Lengths and font heights at another DPI are always derived from their
// 96-DPI value, never from the previous DPI's: chained roundings drift.
#pragma once

#include "base/mul_div.h"

inline constexpr int QD_DefaultDPI = 96;
inline constexpr int QD_PointsPerInch = 72;

// A length at 96 DPI in pixels at ADPI, and back.
constexpr int ScaleToDPI(int AValue96, int ADPI) { return QD_MulDiv(AValue96, ADPI, QD_DefaultDPI); }
constexpr int ScaleFromDPI(int AValue, int ADPI) { return QD_MulDiv(AValue, QD_DefaultDPI, ADPI); }

// Font sizes: a point is 1/72 inch, so APoints are MulDiv(APoints, ADPI, 72)
// pixels high, as the platform converts them.
constexpr int PointsToPixels(int APoints, int ADPI) { return QD_MulDiv(APoints, ADPI, QD_PointsPerInch); }
constexpr int PixelsToPoints(int APixels, int ADPI) { return QD_MulDiv(APixels, QD_PointsPerInch, ADPI); }
