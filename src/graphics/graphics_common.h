// Drawing helpers shared by the widgets: platform colour conversion, two- and
// three-stop gradient polygons, bevels, text placement and fitting.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "bitmap32.h"

enum TQD_GradientType : uint8_t { gtOff, gtStandard, gtDouble, gtTriple };
enum TQD_Orientation : uint8_t { orRight, orLeft };
enum TQD_TextBackgroundType : uint8_t { tbOff, tbRect, tbOutline };

// 0x00BBGGRR, alpha dropped: the colour a platform font takes.
constexpr uint32_t Color32ToWinColor(TColor32 C) {
  return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

void FillPolygonGradient2(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          const std::vector<TFloatPoint>& APolygon, TColor32 AStartColor, TColor32 AEndColor);
void FillPolygonGradient3(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          const std::vector<TFloatPoint>& APolygon, TColor32 AColor0, TColor32 AColor1,
                          TColor32 AColor2);

// Light and dark lines on the chosen sides. Strength s > 0: light = white at
// alpha s·512/100, dark = black at alpha s·255/100 (clamped to 0..255);
// s < 0 swaps black and white; 0 draws nothing.
void DrawBevel(TBitmap32& ABitmap, const TRect& ARect, bool ALeft, bool ATop, bool ARight, bool ABottom,
               int AStrength);
