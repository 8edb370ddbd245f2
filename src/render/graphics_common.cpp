// Drawing helpers; see graphics_common.h.
#include "render/graphics_common.h"

#include <algorithm>
#include <cmath>

// Widgets repaint every second: the stops and in-place polygons live in
// buffers that keep their storage from call to call.
namespace {

std::vector<TGradientStop>& Stops(std::initializer_list<TGradientStop> AStops) {
  thread_local std::vector<TGradientStop> stops;
  stops.assign(AStops);
  return stops;
}

const std::vector<TFloatPoint>& Polygon(std::initializer_list<TFloatPoint> APolygon) {
  thread_local std::vector<TFloatPoint> polygon;
  polygon.assign(APolygon);
  return polygon;
}

}  // namespace

void FillPolygonGradient2(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          const std::vector<TFloatPoint>& APolygon, TColor32 AStartColor, TColor32 AEndColor) {
  ABitmap.FillPolygonGradient(APolygon, AStart, AEnd, Stops({{0.0f, AStartColor}, {1.0f, AEndColor}}));
}

void FillPolygonGradient3(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          const std::vector<TFloatPoint>& APolygon, TColor32 AColor0, TColor32 AColor1,
                          TColor32 AColor2) {
  ABitmap.FillPolygonGradient(APolygon, AStart, AEnd, Stops({{0.0f, AColor0}, {0.5f, AColor1}, {1.0f, AColor2}}));
}

void FillPolygonGradient2(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          std::initializer_list<TFloatPoint> APolygon, TColor32 AStartColor, TColor32 AEndColor) {
  FillPolygonGradient2(ABitmap, AStart, AEnd, Polygon(APolygon), AStartColor, AEndColor);
}

void FillPolygonGradient3(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          std::initializer_list<TFloatPoint> APolygon, TColor32 AColor0, TColor32 AColor1,
                          TColor32 AColor2) {
  FillPolygonGradient3(ABitmap, AStart, AEnd, Polygon(APolygon), AColor0, AColor1, AColor2);
}

void DrawBevel(TBitmap32& ABitmap, const TRect& ARect, bool ALeft, bool ATop, bool ARight, bool ABottom,
               int AStrength) {
  if (AStrength == 0) return;
  auto alpha = [](int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); };
  const int t = AStrength > 0 ? AStrength : -AStrength;
  const TColor32 white = 0x00FFFFFF, black = 0x00000000;
  const TColor32 light = SetAlpha(AStrength > 0 ? white : black, alpha(t * (AStrength > 0 ? 512 : 255) / 100));
  const TColor32 dark = SetAlpha(AStrength > 0 ? black : white, alpha(t * (AStrength > 0 ? 255 : 512) / 100));
  int x1 = ARect.Left, y1 = ARect.Top, x2 = ARect.Right, y2 = ARect.Bottom;
  if (ARight) --x2;
  if (ABottom) --y2;
  if (ATop) ABitmap.HorzLineTS(x1, y1, x2, light);
  if (ABottom) ABitmap.HorzLineTS(x1, y2, x2, dark);
  if (ATop) ++y1;
  if (ABottom) --y2;
  if (ALeft) ABitmap.VertLineTS(x1, y1, y2, light);
  if (ARight) ABitmap.VertLineTS(x2, y1, y2, dark);
}

TSize GetOrientedTextExtent(const TBitmap32& ABitmap, std::string_view AText) {
  const TSize e = ABitmap.TextExtent(AText);
  return ABitmap.Font.Orientation == 900 ? TSize{e.cy, e.cx} : e;
}

TRect GetTextBackgroundRect(const TBitmap32& ABitmap, std::string_view AText, int X, int Y) {
  const TSize e = ABitmap.TextExtent(AText);
  if (ABitmap.Font.Orientation == 900) return {X, Y - e.cx - 4, X + e.cy, Y + 4};
  return {X - 4, Y, X + e.cx + 4, Y + e.cy};
}

int FitFontSize(TBitmap32& ABitmap, std::string_view AText, const TRect& ARect, unsigned AMarginPercent) {
  const int w = ARect.Width(), h = ARect.Height();
  const double share = AMarginPercent <= 50 ? AMarginPercent / 100.0 : 0.5;
  const int mx = static_cast<int>(std::lround(w * share)), my = static_cast<int>(std::lround(h * share));
  const TQD_Font saved = ABitmap.Font;
  // A positive (cell) height gives a negative size; its magnitude is the
  // sensible place to start.
  int size = std::abs(saved.Size());
  auto fits = [&](bool AStrict) {
    const TSize e = GetOrientedTextExtent(ABitmap, AText);
    return AStrict ? w > e.cx + mx && h > e.cy + my : w >= e.cx + mx && h >= e.cy + my;
  };
  int result;
  if (fits(true)) {
    // Room to spare: the last size that still fits. The cap only guards
    // against an engine whose extents stop growing.
    do {
      ABitmap.Font.SetSize(++size);
    } while (fits(false) && size < kMaxFitFontSize);
    result = fits(false) ? size : size - 1;
  } else if (fits(false)) {
    result = size;
  } else {
    result = 1;
    while (size > 1) {
      ABitmap.Font.SetSize(--size);
      if (fits(false)) {
        result = size;
        break;
      }
    }
  }
  ABitmap.Font = saved;
  return result;
}

void DrawTextWithBackground(TBitmap32& ABitmap, const TRect& AClip, int X, int Y, std::string_view AText,
                            TColor32 ATextColor, TColor32 ABackgroundColor, TQD_TextBackgroundType ABackground,
                            bool AAntialias) {
  auto draw = [&](int AX, int AY, TColor32 AColor) {
    if (AAntialias) {
      ABitmap.RenderText(AX, AY, AText, AColor);
    } else {
      ABitmap.Font.Color = Color32ToWinColor(AColor);
      ABitmap.Textout(AX, AY, AClip, AText);
    }
  };
  if (ABackground == tbRect) {
    ABitmap.FillRectTS(GetTextBackgroundRect(ABitmap, AText, X, Y), ABackgroundColor);
  } else if (ABackground == tbOutline) {
    draw(X - 1, Y, ABackgroundColor);
    draw(X + 1, Y, ABackgroundColor);
    draw(X, Y - 1, ABackgroundColor);
    draw(X, Y + 1, ABackgroundColor);
  }
  draw(X, Y, ATextColor);
}
