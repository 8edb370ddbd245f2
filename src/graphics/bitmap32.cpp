// The Bitmap32 rasteriser; see bitmap32.h. Everything here is the plain
// scalar reference: one pixel at a time, exact integer blending.
#include "bitmap32.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "graphics_common.h"

namespace {

uint32_t Channel(TColor32 C, int AShift) { return (C >> AShift) & 0xFF; }

// Rounded a / b for non-negative integers, b > 0.
uint64_t DivRound(uint64_t A, uint64_t B) { return (A + B / 2) / B; }

// Vertical sub-scanlines per pixel row in polygon fills: 16 coverage levels
// in y, exact coverage in x.
constexpr int kSubScanlines = 16;

}  // namespace

TColor32 BlendPixel(TColor32 F, TColor32 B) {
  const uint32_t fa = F >> 24;
  if (fa == 0) return B;
  if (fa == 255) return F;
  const uint64_t af = uint64_t{fa} * 255;
  const uint64_t ab = uint64_t{B >> 24} * (255 - fa);
  const uint64_t a = af + ab;  // > 0 since fa > 0
  TColor32 out = static_cast<TColor32>(DivRound(a, 255)) << 24;
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint64_t c = DivRound(Channel(F, shift) * af + Channel(B, shift) * ab, a);
    out |= static_cast<TColor32>(c) << shift;
  }
  return out;
}

TColor32 BlendPixelCoverage(TColor32 F, TColor32 B, uint32_t ACoverage) {
  if (ACoverage == 0) return B;
  const uint32_t a = static_cast<uint32_t>(DivRound(uint64_t{F >> 24} * ACoverage, 255));
  return BlendPixel(SetAlpha(F, static_cast<uint8_t>(a)), B);
}

TColor32 GradientColorAt(const std::vector<TGradientStop>& AStops, float T) {
  if (AStops.empty()) return 0;
  if (!(T > AStops.front().Position)) return AStops.front().Color;  // also NaN
  if (T >= AStops.back().Position) return AStops.back().Color;
  size_t i = 1;
  while (i < AStops.size() - 1 && T > AStops[i].Position) ++i;
  const TGradientStop& a = AStops[i - 1];
  const TGradientStop& b = AStops[i];
  const float span = b.Position - a.Position;
  const float w = span > 0 ? (T - a.Position) / span : 1.0f;
  TColor32 out = 0;
  for (int shift = 0; shift <= 24; shift += 8) {
    const float c = static_cast<float>(Channel(a.Color, shift)) +
                    (static_cast<float>(Channel(b.Color, shift)) - static_cast<float>(Channel(a.Color, shift))) * w;
    out |= static_cast<TColor32>(std::lround(std::clamp(c, 0.0f, 255.0f))) << shift;
  }
  return out;
}

void TBitmap32::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = AWidth;
  FHeight = AHeight;
  FPixels.assign(static_cast<size_t>(AWidth) * AHeight, 0);
}

TColor32 TBitmap32::Pixel(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  return ScanLine(Y)[X];
}

void TBitmap32::SetPixel(int X, int Y, TColor32 AColor) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  ScanLine(Y)[X] = AColor;
}

void TBitmap32::BlendPixelAt(int X, int Y, TColor32 AColor) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  TColor32& p = ScanLine(Y)[X];
  p = BlendPixel(AColor, p);
}

TRect TBitmap32::Clip(const TRect& R) const {
  return {std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, FWidth), std::min(R.Bottom, FHeight)};
}

void TBitmap32::Clear(TColor32 AColor) { std::fill(FPixels.begin(), FPixels.end(), AColor); }

void TBitmap32::FillRectS(const TRect& ARect, TColor32 AColor) {
  const TRect r = Clip(ARect);
  if (r.IsEmpty()) return;
  for (int y = r.Top; y < r.Bottom; ++y) std::fill(ScanLine(y) + r.Left, ScanLine(y) + r.Right, AColor);
}

void TBitmap32::FillRectTS(const TRect& ARect, TColor32 AColor) {
  const TRect r = Clip(ARect);
  if (r.IsEmpty() || (AColor >> 24) == 0) return;
  for (int y = r.Top; y < r.Bottom; ++y) {
    TColor32* row = ScanLine(y);
    for (int x = r.Left; x < r.Right; ++x) row[x] = BlendPixel(AColor, row[x]);
  }
}

void TBitmap32::FrameRectTS(const TRect& ARect, TColor32 AColor) {
  if (ARect.IsEmpty()) return;
  HorzLineTS(ARect.Left, ARect.Top, ARect.Right - 1, AColor);
  if (ARect.Bottom - 1 > ARect.Top) HorzLineTS(ARect.Left, ARect.Bottom - 1, ARect.Right - 1, AColor);
  // The columns stop short of the rows, so each corner is blended once.
  if (ARect.Bottom - 2 >= ARect.Top + 1) {
    VertLineTS(ARect.Left, ARect.Top + 1, ARect.Bottom - 2, AColor);
    if (ARect.Right - 1 > ARect.Left) VertLineTS(ARect.Right - 1, ARect.Top + 1, ARect.Bottom - 2, AColor);
  }
}

void TBitmap32::HorzLineTS(int X1, int Y, int X2, TColor32 AColor) {
  if (X1 > X2) std::swap(X1, X2);
  FillRectTS({X1, Y, X2 + 1, Y + 1}, AColor);
}

void TBitmap32::VertLineTS(int X, int Y1, int Y2, TColor32 AColor) {
  if (Y1 > Y2) std::swap(Y1, Y2);
  FillRectTS({X, Y1, X + 1, Y2 + 1}, AColor);
}

void TBitmap32::RaiseRectTS(const TRect& ARect, int AContrast) {
  if (ARect.IsEmpty()) return;
  DrawBevel(*this, ARect, true, true, true, true, AContrast);
}

template <typename ColorFn>
void TBitmap32::AALine(float X1, float Y1, float X2, float Y2, bool ASkipLast, ColorFn AColorAt) {
  const float dx = X2 - X1, dy = Y2 - Y1;
  const bool steep = std::fabs(dy) > std::fabs(dx);
  const float length = std::max(std::fabs(dx), std::fabs(dy));
  const int steps = std::max(1, static_cast<int>(std::lround(length)));
  const int last = ASkipLast ? steps - 1 : steps;
  for (int i = 0; i <= last; ++i) {
    const float t = length > 0 ? static_cast<float>(i) / static_cast<float>(steps) : 0.0f;
    const float px = X1 + dx * t, py = Y1 + dy * t;
    // Pixel centres sit at +0.5: split the minor coordinate between the two
    // pixels whose centres straddle it.
    const float major = steep ? py : px;
    const float minor = (steep ? px : py) - 0.5f;
    const int m = static_cast<int>(std::floor(major));
    const int lo = static_cast<int>(std::floor(minor));
    const float frac = minor - static_cast<float>(lo);
    const TColor32 c = AColorAt(i);
    const auto w1 = static_cast<uint32_t>(std::lround((1.0f - frac) * 255.0f));
    const auto w2 = static_cast<uint32_t>(std::lround(frac * 255.0f));
    auto plot = [&](int a, int b, uint32_t w) {
      const int x = steep ? b : a, y = steep ? a : b;
      if (x < 0 || y < 0 || x >= FWidth || y >= FHeight || w == 0) return;
      TColor32& p = ScanLine(y)[x];
      p = BlendPixelCoverage(c, p, w);
    };
    plot(m, lo, w1);
    plot(m, lo + 1, w2);
  }
}

void TBitmap32::LineFS(float X1, float Y1, float X2, float Y2, TColor32 AColor, bool ASkipLast) {
  AALine(X1, Y1, X2, Y2, ASkipLast, [AColor](int) { return AColor; });
}

void TBitmap32::LineFSP(float X1, float Y1, float X2, float Y2) {
  if (FStipple.empty()) return;
  AALine(X1, Y1, X2, Y2, true, [this](int) {
    const auto n = static_cast<long>(FStipple.size());
    long k = static_cast<long>(std::floor(StippleCounter)) % n;
    if (k < 0) k += n;
    StippleCounter += StippleStep;
    return FStipple[static_cast<size_t>(k)];
  });
}

void TBitmap32::MoveToF(float X, float Y) { FPenPos = {X, Y}; }

void TBitmap32::LineToFS(float X, float Y) {
  // Each segment leaves out its last pixel, which the next one starts with:
  // joints are blended once.
  LineFS(FPenPos.X, FPenPos.Y, X, Y, PenColor, true);
  FPenPos = {X, Y};
}

void TBitmap32::PolygonCoverage(const std::vector<TFloatPoint>& APolygon, std::vector<uint8_t>& ACoverage) const {
  ACoverage.assign(static_cast<size_t>(FWidth) * FHeight, 0);
  if (APolygon.size() < 3 || Empty()) return;
  float minY = APolygon[0].Y, maxY = APolygon[0].Y;
  for (const TFloatPoint& p : APolygon) {
    minY = std::min(minY, p.Y);
    maxY = std::max(maxY, p.Y);
  }
  const int rowFirst = std::max(0, static_cast<int>(std::floor(minY)));
  const int rowLast = std::min(FHeight - 1, static_cast<int>(std::ceil(maxY)));
  std::vector<std::pair<float, int>>& crossings = FCrossings;
  // A scanline crosses each edge at most once: room for all of them at the
  // start, rather than growing as jagged shapes come along.
  crossings.reserve(APolygon.size());
  FCoverRow.resize(static_cast<size_t>(FWidth));
  const float w = static_cast<float>(FWidth);
  for (int row = rowFirst; row <= rowLast; ++row) {
    std::fill(FCoverRow.begin(), FCoverRow.end(), 0.0f);
    for (int k = 0; k < kSubScanlines; ++k) {
      const float ys = static_cast<float>(row) + (static_cast<float>(k) + 0.5f) / kSubScanlines;
      crossings.clear();
      for (size_t i = 0; i < APolygon.size(); ++i) {
        const TFloatPoint& a = APolygon[i];
        const TFloatPoint& b = APolygon[(i + 1) % APolygon.size()];
        if (a.Y == b.Y) continue;
        const bool down = b.Y > a.Y;
        const float y0 = down ? a.Y : b.Y, y1 = down ? b.Y : a.Y;
        if (ys < y0 || ys >= y1) continue;  // half-open: shared vertices count once
        const float x = a.X + (ys - a.Y) * (b.X - a.X) / (b.Y - a.Y);
        crossings.emplace_back(x, down ? 1 : -1);
      }
      std::sort(crossings.begin(), crossings.end());
      int winding = 0;
      float spanStart = 0;
      for (const auto& [x, dir] : crossings) {
        const int before = winding;
        winding += dir;
        if (before == 0 && winding != 0) {
          spanStart = x;
        } else if (before != 0 && winding == 0) {
          // Add [spanStart, x) clipped to the row, exact in x.
          const float xa = std::clamp(spanStart, 0.0f, w), xb = std::clamp(x, 0.0f, w);
          if (xb <= xa) continue;
          const int pa = static_cast<int>(xa), pb = static_cast<int>(std::ceil(xb)) - 1;
          if (pa == pb) {
            FCoverRow[static_cast<size_t>(pa)] += (xb - xa);
          } else {
            FCoverRow[static_cast<size_t>(pa)] += static_cast<float>(pa + 1) - xa;
            for (int p = pa + 1; p < pb; ++p) FCoverRow[static_cast<size_t>(p)] += 1.0f;
            FCoverRow[static_cast<size_t>(pb)] += xb - static_cast<float>(pb);
          }
        }
      }
    }
    uint8_t* out = ACoverage.data() + static_cast<size_t>(row) * FWidth;
    for (int x = 0; x < FWidth; ++x) {
      const float c = std::min(1.0f, FCoverRow[static_cast<size_t>(x)] / kSubScanlines);
      out[x] = static_cast<uint8_t>(std::lround(c * 255.0f));
    }
  }
}

void TBitmap32::FillPolygonGradient(const std::vector<TFloatPoint>& APolygon, TFloatPoint AStart,
                                    TFloatPoint AEnd, const std::vector<TGradientStop>& AStops) {
  if (APolygon.size() < 3 || AStops.empty() || Empty()) return;
  std::vector<uint8_t>& coverage = FCoverage;
  PolygonCoverage(APolygon, coverage);
  const float gx = AEnd.X - AStart.X, gy = AEnd.Y - AStart.Y;
  const float len2 = gx * gx + gy * gy;
  for (int y = 0; y < FHeight; ++y) {
    const uint8_t* cov = coverage.data() + static_cast<size_t>(y) * FWidth;
    TColor32* row = ScanLine(y);
    for (int x = 0; x < FWidth; ++x) {
      if (cov[x] == 0) continue;
      // Position of the pixel centre projected on the gradient line.
      const float t = len2 > 0 ? ((static_cast<float>(x) + 0.5f - AStart.X) * gx +
                                  (static_cast<float>(y) + 0.5f - AStart.Y) * gy) / len2
                               : 0.0f;
      row[x] = BlendPixelCoverage(GradientColorAt(AStops, t), row[x], cov[x]);
    }
  }
}
