// HSV conversions; see color_hsv.h.
#include "ui/color_hsv.h"

#include <algorithm>
#include <cmath>

TQD_HSV ColorToHSV(TColor32 AColor) {
  const double r = RedComponent(AColor) / 255.0, g = GreenComponent(AColor) / 255.0, b = BlueComponent(AColor) / 255.0;
  const double max = std::max({r, g, b}), min = std::min({r, g, b}), delta = max - min;
  TQD_HSV hsv;
  hsv.V = max;
  hsv.S = max > 0 ? delta / max : 0;
  if (delta > 0) {
    // Sixths of the wheel: between red and yellow, yellow and green, and so on.
    double h;
    if (max == r)
      h = (g - b) / delta;
    else if (max == g)
      h = 2 + (b - r) / delta;
    else
      h = 4 + (r - g) / delta;
    h /= 6;
    hsv.H = h < 0 ? h + 1 : h;
  }
  return hsv;
}

TColor32 HSVToColor(const TQD_HSV& AHSV, uint8_t AAlpha) {
  double h = AHSV.H - std::floor(AHSV.H);
  const double s = std::clamp(AHSV.S, 0.0, 1.0), v = std::clamp(AHSV.V, 0.0, 1.0);
  h *= 6;
  const int sector = std::min(static_cast<int>(h), 5);
  const double f = h - sector;
  const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  double r, g, b;
  switch (sector) {
    case 0: r = v, g = t, b = p; break;
    case 1: r = q, g = v, b = p; break;
    case 2: r = p, g = v, b = t; break;
    case 3: r = p, g = q, b = v; break;
    case 4: r = t, g = p, b = v; break;
    default: r = v, g = p, b = q; break;
  }
  auto byte = [](double c) { return static_cast<uint8_t>(std::lround(c * 255)); };
  return Color32(byte(r), byte(g), byte(b), AAlpha);
}
