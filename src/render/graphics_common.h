// Drawing helpers shared by the widgets: platform colour conversion, two- and
// three-stop gradient polygons, bevels, text placement and fitting.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "render/bitmap32.h"

enum TQD_GradientType : uint8_t { gtOff, gtStandard, gtDouble, gtTriple };
enum TQD_Orientation : uint8_t { orRight, orLeft };
enum TQD_TextBackgroundType : uint8_t { tbOff, tbRect, tbOutline };

// 0x00BBGGRR, alpha dropped: the colour a platform font takes.
constexpr uint32_t Color32ToWinColor(TColor32 C) {
  return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

// TBitmap32::FillPolygonGradient, pixel for pixel, faster for what widgets
// mostly fill: an opaque rectangle on whole pixels whose gradient runs along
// x or along y. Every row (or column) of such a fill is the same, so one is
// rasterised and the others are copied.
void FillGradient(TBitmap32& ABitmap, const std::vector<TFloatPoint>& APolygon, TFloatPoint AStart, TFloatPoint AEnd,
                  const std::vector<TGradientStop>& AStops);

void FillPolygonGradient2(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          const std::vector<TFloatPoint>& APolygon, TColor32 AStartColor, TColor32 AEndColor);
void FillPolygonGradient3(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          const std::vector<TFloatPoint>& APolygon, TColor32 AColor0, TColor32 AColor1,
                          TColor32 AColor2);
// The same for a polygon written in place ({{x, y}, ...}): the points go
// into a reused buffer rather than a new vector per call.
void FillPolygonGradient2(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          std::initializer_list<TFloatPoint> APolygon, TColor32 AStartColor, TColor32 AEndColor);
void FillPolygonGradient3(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          std::initializer_list<TFloatPoint> APolygon, TColor32 AColor0, TColor32 AColor1,
                          TColor32 AColor2);

// Light and dark lines on the chosen sides. Strength s > 0: light = white at
// alpha s·512/100, dark = black at alpha s·255/100 (clamped to 0..255);
// s < 0 swaps black and white; 0 draws nothing.
void DrawBevel(TBitmap32& ABitmap, const TRect& ARect, bool ALeft, bool ATop, bool ARight, bool ABottom,
               int AStrength);

// The text's size as it lies on screen: TextExtent, with width and height
// swapped when the font runs upward (orientation 900).
TSize GetOrientedTextExtent(const TBitmap32& ABitmap, std::string_view AText);

// The rect a background fills behind AText drawn at (X, Y), with (cx, cy) =
// TextExtent: 4 pixels of padding along the baseline on each side.
//   orientation 900: (X, Y − cx − 4, X + cy, Y + 4)
//   otherwise:       (X − 4, Y, X + cx + 4, Y + cy)
TRect GetTextBackgroundRect(const TBitmap32& ABitmap, std::string_view AText, int X, int Y);

// The largest font size (points) at which AText fits ARect with a total
// margin of AMarginPercent of its width and height (at most 50%): grows the
// size while it fits, keeps it when it fits exactly, shrinks it otherwise.
// The downward search stops at size 1, which is returned when even that does
// not fit; the upward search stops at kMaxFitFontSize. ABitmap.Font is the
// same afterwards.
inline constexpr int kMaxFitFontSize = 1000;
int FitFontSize(TBitmap32& ABitmap, std::string_view AText, const TRect& ARect, unsigned AMarginPercent);

// AText at (X, Y) in ATextColor over a background: tbRect fills
// GetTextBackgroundRect blended; tbOutline draws the text in the background
// colour one pixel left, right, up and down first. Anti-aliased with
// RenderText, or aliased with Textout clipped to AClip (which sets
// ABitmap.Font.Color; the text colour stays set afterwards).
void DrawTextWithBackground(TBitmap32& ABitmap, const TRect& AClip, int X, int Y, std::string_view AText,
                            TColor32 ATextColor, TColor32 ABackgroundColor, TQD_TextBackgroundType ABackground,
                            bool AAntialias);

// The window corner preference the desktop window manager gets for a setting
// value: 1 (do not round), 2 (round) and 3 (round small) pass, anything else
// is 0 (system default). See SetWindowCornerPreference.
constexpr int WindowCornerPreferenceValue(uint8_t APreference) {
  return APreference >= 1 && APreference <= 3 ? APreference : 0;
}
