// Drawing helpers; see graphics_common.h.
#include "graphics_common.h"

#include <algorithm>

void FillPolygonGradient2(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          const std::vector<TFloatPoint>& APolygon, TColor32 AStartColor, TColor32 AEndColor) {
  ABitmap.FillPolygonGradient(APolygon, AStart, AEnd, {{0.0f, AStartColor}, {1.0f, AEndColor}});
}

void FillPolygonGradient3(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          const std::vector<TFloatPoint>& APolygon, TColor32 AColor0, TColor32 AColor1,
                          TColor32 AColor2) {
  ABitmap.FillPolygonGradient(APolygon, AStart, AEnd, {{0.0f, AColor0}, {0.5f, AColor1}, {1.0f, AColor2}});
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
