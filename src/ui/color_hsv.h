// Hue, saturation and value of a colour, each 0..1, and the conversions to
// and from the RGB bytes of a TColor32. The colour pickers edit colours in
// these terms; alpha is carried through untouched.
#pragma once

#include "render/color32.h"

struct TQD_HSV {
  double H = 0;  // 0..1 around the colour wheel, red at 0, green at 1/3, blue at 2/3
  double S = 0;
  double V = 0;
};

// Grey has no hue (H = 0), black no saturation (S = 0).
TQD_HSV ColorToHSV(TColor32 AColor);
// Each byte rounded to the nearest; H wraps, S and V are clamped to 0..1.
TColor32 HSVToColor(const TQD_HSV& AHSV, uint8_t AAlpha = 255);
