// Drawing helpers; see graphics_common.h.
#include "render/graphics_common.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

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

bool SameBits(float A, float B) { return std::bit_cast<uint32_t>(A) == std::bit_cast<uint32_t>(B); }
bool SameBits(TFloatPoint A, TFloatPoint B) { return SameBits(A.X, B.X) && SameBits(A.Y, B.Y); }

bool SameStops(const std::vector<TGradientStop>& A, const std::vector<TGradientStop>& B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i)
    if (A[i].Color != B[i].Color || !SameBits(A[i].Position, B[i].Position)) return false;
  return true;
}

// The fast case of FillGradient; false when APolygon and the gradient are not
// that case. Opaque stops and whole-pixel edges give every covered pixel full
// coverage and a colour that depends on x alone (or y alone), so whatever
// lay beneath does not show and the copies equal the rasterised line. The
// line's colours depend on nothing but its place, the gradient and the stops:
// with all of those the same as last time, the bitmap's kept line is reused.
bool FillRectByCopies(TBitmap32& B, const std::vector<TFloatPoint>& P, TFloatPoint S, TFloatPoint E,
                      const std::vector<TGradientStop>& AStops) {
  if (P.size() != 4 || AStops.empty()) return false;
  for (const TGradientStop& s : AStops)
    if (AlphaComponent(s.Color) != 255) return false;
  const bool alongX = S.Y == E.Y && S.X != E.X, alongY = S.X == E.X && S.Y != E.Y;
  if (!alongX && !alongY) return false;
  // A rectangle: every edge axis-parallel, with non-zero extent on both axes.
  float x0 = P[0].X, x1 = P[0].X, y0 = P[0].Y, y1 = P[0].Y;
  for (size_t i = 0; i < 4; ++i) {
    const TFloatPoint a = P[i], b = P[(i + 1) % 4];
    if ((a.X == b.X) == (a.Y == b.Y)) return false;
    x0 = std::min(x0, a.X), x1 = std::max(x1, a.X), y0 = std::min(y0, a.Y), y1 = std::max(y1, a.Y);
  }
  constexpr float kLimit = 1 << 24;  // floats hold every integer below this
  for (float v : {x0, x1, y0, y1})
    if (!(std::fabs(v) < kLimit) || v != std::floor(v)) return false;
  const int l = std::max(static_cast<int>(x0), 0), r = std::min(static_cast<int>(x1), B.Width());
  const int t = std::max(static_cast<int>(y0), 0), b = std::min(static_cast<int>(y1), B.Height());
  if (l >= r || t >= b) return true;  // wholly outside: the rasteriser draws nothing either
  const float fl = static_cast<float>(l), fr = static_cast<float>(r);
  const float ft = static_cast<float>(t), fb = static_cast<float>(b);
  TBitmap32::TGradientLine& kept = B.GradientLine;
  const int first = alongX ? l : t, end = alongX ? r : b, across = alongX ? t : l;
  if (!(kept.Valid && kept.AlongX == alongX && kept.First == first && kept.End == end && kept.Across == across &&
        SameBits(kept.Start, S) && SameBits(kept.Stop, E) && SameStops(kept.Stops, AStops))) {
    thread_local std::vector<TFloatPoint> line;  // not Polygon(): P may be that buffer
    if (alongX) line.assign({{fl, ft}, {fr, ft}, {fr, ft + 1}, {fl, ft + 1}});
    else line.assign({{fl, ft}, {fl + 1, ft}, {fl + 1, fb}, {fl, fb}});
    B.FillPolygonGradient(line, S, E, AStops);
    kept.Colors.resize(static_cast<size_t>(end - first));
    for (int k = first; k < end; ++k)
      kept.Colors[static_cast<size_t>(k - first)] = alongX ? B.ScanLine(t)[k] : B.ScanLine(k)[l];
    kept.Valid = true;
    kept.AlongX = alongX;
    kept.First = first, kept.End = end, kept.Across = across;
    kept.Start = S, kept.Stop = E;
    kept.Stops.assign(AStops.begin(), AStops.end());
  }
  const TColor32* colors = kept.Colors.data();
  if (alongX) {
    for (int y = t; y < b; ++y) std::memcpy(B.ScanLine(y) + l, colors, static_cast<size_t>(r - l) * sizeof(TColor32));
  } else {
    for (int y = t; y < b; ++y) {
      TColor32* row = B.ScanLine(y);
      std::fill(row + l, row + r, colors[y - t]);
    }
  }
  return true;
}

}  // namespace

void FillGradient(TBitmap32& ABitmap, const std::vector<TFloatPoint>& APolygon, TFloatPoint AStart, TFloatPoint AEnd,
                  const std::vector<TGradientStop>& AStops) {
  if (!FillRectByCopies(ABitmap, APolygon, AStart, AEnd, AStops))
    ABitmap.FillPolygonGradient(APolygon, AStart, AEnd, AStops);
}

void FillPolygonGradient2(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          const std::vector<TFloatPoint>& APolygon, TColor32 AStartColor, TColor32 AEndColor) {
  FillGradient(ABitmap, APolygon, AStart, AEnd, Stops({{0.0f, AStartColor}, {1.0f, AEndColor}}));
}

void FillPolygonGradient3(TBitmap32& ABitmap, TFloatPoint AStart, TFloatPoint AEnd,
                          const std::vector<TFloatPoint>& APolygon, TColor32 AColor0, TColor32 AColor1,
                          TColor32 AColor2) {
  FillGradient(ABitmap, APolygon, AStart, AEnd, Stops({{0.0f, AColor0}, {0.5f, AColor1}, {1.0f, AColor2}}));
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
