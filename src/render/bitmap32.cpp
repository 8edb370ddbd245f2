// The Bitmap32 rasteriser; see bitmap32.h. Exact integer blending; the inner
// loops' kernels come in a scalar and an SSE2 build (bitmap32_kernels.h). The polygon
// fill only visits the polygon's bounding box, finds each sub-scanline's
// crossings among the edges that reach its row, and takes short cuts
// (rectangles, whole-pixel span interiors, gradients along one axis, opaque
// pixels) that give the very same integers and floats as the direct
// computation; tests/native/bitmap32_fast_test.cpp holds them to it.
#include "render/bitmap32.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#include <utility>

#include "render/bitmap32_kernels.h"
#include "render/graphics_common.h"

namespace {

using QD_Kernels::RoundHalfAway;
using QD_Kernels::TOverOpaque;

// Sorts a sub-scanline's crossings. They come in polygon order, which for
// graphs is nearly x order: insertion sort, unless it has to move too much.
// (x, direction) pairs order totally (no NaN), so any sort gives the same.
void SortCrossings(std::pair<float, int>* ACrossings, size_t AN) {
  size_t moves = 0;
  for (size_t i = 1; i < AN; ++i) {
    if (ACrossings[i].first > ACrossings[i - 1].first) continue;  // in order: nothing to move or write
    const std::pair<float, int> v = ACrossings[i];
    size_t j = i;
    while (j > 0 && v < ACrossings[j - 1]) {
      ACrossings[j] = ACrossings[j - 1];
      --j;
    }
    ACrossings[j] = v;
    moves += i - j;
    if (moves > 8 * AN) {
      std::sort(ACrossings, ACrossings + AN);
      return;
    }
  }
}

// floor(v) as an int without the library's rounding sequence; what does not
// fit (or is NaN) comes out as INT_MIN, as the plain conversion gives it on
// x86, which lies off every bitmap.
int FloorToInt(float v) {
  if (!(std::fabs(v) < 2e9f)) return std::numeric_limits<int>::min();
  const int i = static_cast<int>(v);
  return i - (v < static_cast<float>(i));
}

// Vertical sub-scanlines per pixel row in polygon fills: 16 coverage levels
// in y, exact coverage in x.
constexpr int kSubScanlines = 16;

}  // namespace

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
  return QD_Kernels::LerpColor(a.Color, b.Color, w);
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

void TBitmap32::Clear(TColor32 AColor) {
  // Four equal bytes (transparent black, opaque white): the C library's fill
  // is several times faster than a loop over pixels.
  if ((AColor & 0xFF) * 0x01010101u == AColor) std::memset(FPixels.data(), static_cast<int>(AColor & 0xFF), FPixels.size() * sizeof(TColor32));
  else std::fill(FPixels.begin(), FPixels.end(), AColor);
}

void TBitmap32::FillRectS(const TRect& ARect, TColor32 AColor) {
  const TRect r = Clip(ARect);
  if (r.IsEmpty()) return;
  for (int y = r.Top; y < r.Bottom; ++y) std::fill(ScanLine(y) + r.Left, ScanLine(y) + r.Right, AColor);
}

void TBitmap32::FillRectTS(const TRect& ARect, TColor32 AColor) {
  const TRect r = Clip(ARect);
  if (r.IsEmpty() || (AColor >> 24) == 0) return;
  const TOverOpaque over(AColor);
  for (int y = r.Top; y < r.Bottom; ++y) QD_Kernels::OverRun(over, ScanLine(y) + r.Left, r.Width());
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
  // length >= 0 (or NaN): RoundHalfAway is lround there, without the call.
  const int steps = std::max(1, static_cast<int>(RoundHalfAway(length)));
  const int last = ASkipLast ? steps - 1 : steps;
  auto position = [&](int i) {
    const float t = length > 0 ? static_cast<float>(i) / static_cast<float>(steps) : 0.0f;
    return TFloatPoint{X1 + dx * t, Y1 + dy * t};
  };
  // Pixel centres sit at +0.5: split the minor coordinate between the two
  // pixels whose centres straddle it.
  struct TSplit {
    int Lo;
    uint32_t W1, W2;
  };
  auto split = [](float AMinor) {
    const float minor = AMinor - 0.5f;
    const int lo = FloorToInt(minor);
    const float frac = minor - static_cast<float>(lo);
    return TSplit{lo, static_cast<uint32_t>(RoundHalfAway((1.0f - frac) * 255.0f)),
                  static_cast<uint32_t>(RoundHalfAway(frac * 255.0f))};
  };
  auto plot = [&](int a, int b, uint32_t w, TColor32 c) {
    const int x = steep ? b : a, y = steep ? a : b;
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight || w == 0) return;
    TColor32& p = ScanLine(y)[x];
    p = BlendPixelCoverage(c, p, w);
  };

  // Grid lines and tick marks run along an axis: there the minor coordinate
  // is the same at every step (X1 + 0·t is X1), so its split is too, and each
  // colour's two blends over opaque pixels are prepared once (TOverOpaque is
  // BlendPixel over an opaque pixel; BlendPixelCoverage scales the alpha as
  // below). Only the major coordinate is computed per step, as above.
  const bool finite = std::isfinite(X1) && std::isfinite(Y1) && std::isfinite(X2) && std::isfinite(Y2);
  if (finite && (steep ? dx == 0.0f : dy == 0.0f)) {
    const TFloatPoint p0 = position(0);
    const TSplit s = split(steep ? p0.X : p0.Y);
    const int minorCount = steep ? FWidth : FHeight;
    const bool in1 = s.Lo >= 0 && s.Lo < minorCount && s.W1 != 0;
    const bool in2 = s.Lo + 1 >= 0 && s.Lo + 1 < minorCount && s.W2 != 0;
    if (!in1 && !in2) {
      for (int i = 0; i <= last; ++i) AColorAt(i);  // the stipple still advances
      return;
    }
    auto scaled = [](TColor32 c, uint32_t w) {
      return SetAlpha(c, static_cast<uint8_t>(((c >> 24) * w + 127) / 255));
    };
    // The last two colours seen and their blends (a stipple alternates two).
    struct TPrepared {
      TColor32 Color;
      TOverOpaque Over1, Over2;
    };
    TPrepared memo[2] = {{0, TOverOpaque(0), TOverOpaque(0)}, {0, TOverOpaque(0), TOverOpaque(0)}};
    int memoCount = 0, memoNext = 0;
    // The pixel at major m and the one across the line from it, by index:
    // the first may lie outside the bitmap when only the second is drawn.
    const ptrdiff_t stride = steep ? FWidth : 1, across = steep ? 1 : FWidth;
    const ptrdiff_t offset1 = static_cast<ptrdiff_t>(s.Lo) * across;
    TColor32* const pixels = FPixels.data();
    const float major0 = steep ? Y1 : X1, majorDelta = steep ? dy : dx;
    const float majorEnd = static_cast<float>(steep ? FHeight : FWidth);
    auto blend = [](TColor32& p, const TOverOpaque& AOver) {
      p = (p >> 24) == 255 ? AOver(p) : BlendPixel(AOver.Color, p);
    };
    for (int i = 0; i <= last; ++i) {
      // As position(i): floor(major) lies in [0, majorEnd) exactly when major does.
      const float t = length > 0 ? static_cast<float>(i) / static_cast<float>(steps) : 0.0f;
      const float major = major0 + majorDelta * t;
      const TColor32 c = AColorAt(i);
      if (!(major >= 0.0f && major < majorEnd)) continue;
      const TPrepared* prepared = memoCount > 1 && memo[1].Color == c ? &memo[1]
                                  : memoCount > 0 && memo[0].Color == c ? &memo[0]
                                                                        : nullptr;
      if (!prepared) {
        memo[memoNext] = {c, TOverOpaque(scaled(c, s.W1)), TOverOpaque(scaled(c, s.W2))};
        prepared = &memo[memoNext];
        memoNext ^= 1;
        memoCount = std::min(memoCount + 1, 2);
      }
      // The pixel pair across the line; each blended as OverRunScalar does.
      const ptrdiff_t at = static_cast<ptrdiff_t>(major) * stride + offset1;
      if (in1) blend(pixels[at], prepared->Over1);
      if (in2) blend(pixels[at + across], prepared->Over2);
    }
    return;
  }

  for (int i = 0; i <= last; ++i) {
    const TFloatPoint pt = position(i);
    const float major = steep ? pt.Y : pt.X;
    const int m = FloorToInt(major);
    const TSplit s = split(steep ? pt.X : pt.Y);
    const TColor32 c = AColorAt(i);
    plot(m, s.Lo, s.W1, c);
    plot(m, s.Lo + 1, s.W2, c);
  }
}

void TBitmap32::LineFS(float X1, float Y1, float X2, float Y2, TColor32 AColor, bool ASkipLast) {
  AALine(X1, Y1, X2, Y2, ASkipLast, [AColor](int) { return AColor; });
}

void TBitmap32::LineFSP(float X1, float Y1, float X2, float Y2) {
  if (FStipple.empty()) return;
  AALine(X1, Y1, X2, Y2, true, [this](int) {
    const auto n = static_cast<long>(FStipple.size());
    const auto f = static_cast<long>(std::floor(StippleCounter));
    // The position in the pattern, counting backwards for negative counters;
    // a mask where the pattern's length is a power of two (the usual 2).
    long k = (n & (n - 1)) == 0 ? f & (n - 1) : f % n;
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

TBitmap32::TPolygonBox TBitmap32::PolygonBox(const std::vector<TFloatPoint>& APolygon) const {
  TPolygonBox box;
  if (APolygon.size() < 3 || Empty()) return box;
  float minX = APolygon[0].X, maxX = APolygon[0].X, minY = APolygon[0].Y, maxY = APolygon[0].Y;
  for (const TFloatPoint& p : APolygon) {
    minX = std::min(minX, p.X);
    maxX = std::max(maxX, p.X);
    minY = std::min(minY, p.Y);
    maxY = std::max(maxY, p.Y);
  }
  // Clamped in float first, so huge or non-finite coordinates convert safely.
  const float h = static_cast<float>(FHeight), w = static_cast<float>(FWidth);
  auto toInt = [](float v, float lo, float hi) { return static_cast<int>(std::isnan(v) ? lo : std::clamp(v, lo, hi)); };
  box.RowFirst = std::max(0, toInt(std::floor(minY), -1, h));
  box.RowLast = std::min(FHeight - 1, toInt(std::ceil(maxY), -1, h));
  // Crossings lie between the vertices up to a few ulps of the polygon's
  // width; the slack covers that. Unordered bounds (NaN) take the whole width.
  if (minX <= maxX) {
    const float slack = 2.0f + (maxX - minX) * 1e-6f;
    box.ColFirst = std::max(0, toInt(std::floor(minX - slack), -1, w));
    box.ColEnd = std::min(FWidth, toInt(std::floor(maxX + slack), -1, w) + 1);
  } else {
    box.ColFirst = 0;
    box.ColEnd = FWidth;
  }
  return box;
}

// Widgets draw on the UI thread only, a hundred and more bitmaps of them in
// five windows: one scratch per thread, grown to the widest bitmap filled and
// kept, instead of a set in every bitmap. No fill runs inside another.
struct TBitmap32::TScratch {
  std::vector<float> CoverRow;
  std::vector<std::pair<float, int>> Crossings;  // x, winding direction
  std::vector<uint8_t> CoverBytes;
  std::vector<TEdge> Edges;
  struct TSpan {
    float XA, XB;  // clipped to the row
    int PA, PB;    // first and last pixel touched
    int K;         // sub-scanline
  };
  std::vector<TSpan> Spans;
  std::vector<uint16_t> InsideDiff;  // xor-difference of the sub-scanlines holding a pixel inside
  std::vector<uint16_t> Inside;      // those sub-scanlines, one bit each
  std::vector<uint8_t> EdgeMark;     // 0, or 1 + the first sub-scanline an edge pixel is owed by
  std::vector<int> EdgePixels;
  std::vector<const TEdge*> Active, Joined;  // a row's edges; the next row's, being built
  std::vector<std::pair<int, int>> EdgeRows;  // first and last row an edge can cross
  std::vector<uint32_t> BucketStarts, EdgesByFirstRow;
  std::vector<float> Lanes;  // the active edges, lane by lane
  std::vector<int> LaneDirs;
  std::vector<TColor32> ColorRow;
};

TBitmap32::TScratch& TBitmap32::Scratch() {
  thread_local TScratch scratch;
  return scratch;
}

template <typename RowFn>
void TBitmap32::ScanPolygon(const std::vector<TFloatPoint>& APolygon, const TPolygonBox& ABox, RowFn ARow) const {
  if (ABox.RowFirst > ABox.RowLast || ABox.ColFirst >= ABox.ColEnd) return;
  TScratch& scratch = Scratch();
  const int c0 = ABox.ColFirst, c1 = ABox.ColEnd;
  const float w = static_cast<float>(FWidth);
  scratch.CoverBytes.resize(static_cast<size_t>(FWidth));
  uint8_t* bytes = scratch.CoverBytes.data();
  auto toByte = [](float ASum) {
    if (ASum == 0.0f) return uint8_t{0};
    if (ASum >= static_cast<float>(kSubScanlines)) return uint8_t{255};
    const float c = std::min(1.0f, ASum / kSubScanlines);
    return static_cast<uint8_t>(RoundHalfAway(c * 255.0f));
  };
  auto subScanline = [](int ARow, int K) {
    return static_cast<float>(ARow) + (static_cast<float>(K) + 0.5f) / kSubScanlines;
  };
  // Edges that cross sub-scanlines, in polygon order. Scratch is sized for
  // every edge of the polygon up front: how many are horizontal changes with
  // the data, the polygon's size does not, so repaints allocate nothing.
  // They start with the edge into the leftmost vertex: for a graph (a line
  // left to right, closed along its base) that is the left side, so each
  // sub-scanline's crossings come out in x order and sorting them only checks.
  // Any start gives the same sorted crossings.
  const size_t n = APolygon.size();
  size_t leftmost = 0;
  for (size_t i = 1; i < n; ++i)
    if (APolygon[i].X < APolygon[leftmost].X) leftmost = i;
  scratch.Edges.clear();
  scratch.Edges.reserve(n);
  for (size_t k = 0; k < n; ++k) {
    const size_t i = (leftmost + n - 1 + k) % n;
    const TFloatPoint& a = APolygon[i];
    const TFloatPoint& b = APolygon[(i + 1) % n];
    if (a.Y == b.Y) continue;
    const bool down = b.Y > a.Y;
    scratch.Edges.push_back({a, b, down ? a.Y : b.Y, down ? b.Y : a.Y, down ? 1 : -1});
  }
  scratch.Active.reserve(APolygon.size());
  scratch.Joined.reserve(APolygon.size());
  scratch.Lanes.reserve(((APolygon.size() + 3) & ~size_t{3}) * 6);
  scratch.LaneDirs.reserve((APolygon.size() + 3) & ~size_t{3});
  const size_t spansNeeded = kSubScanlines * (APolygon.size() / 2 + 1);
  if (scratch.Spans.size() < spansNeeded) scratch.Spans.resize(spansNeeded);
  if (scratch.Crossings.size() < APolygon.size()) scratch.Crossings.resize(APolygon.size());

  // A row that only two opposite vertical edges reach, both over the same
  // sub-scanlines (every row of a rectangle, the rows of a graph below its
  // line): each of those sub-scanlines sees the same span, so a pixel's sum is
  // n equal terms, added in the same order as the general scan adds them. A
  // vertical edge with finite ends crosses every sub-scanline at its own x
  // (the general scan's a.X + (y - a.Y) * 0 / dy).
  auto bandSides = [](const TEdge& A, const TEdge& B) {
    for (const TEdge* e : {&A, &B})
      if (e->A.X != e->B.X || !std::isfinite(e->A.X) || !std::isfinite(e->Y0) || !std::isfinite(e->Y1)) return false;
    return A.Dir == -B.Dir;
  };
  // For two such edges: false, and nothing done, when they differ on a
  // sub-scanline of the row.
  auto bandRow = [&](int AIndex, const TEdge& A, const TEdge& B) {
    // Sub-scanlines rise with k: a row both edges span from its first
    // sub-scanline to its last has all of them (most rows of a band).
    const float first = subScanline(AIndex, 0), last = subScanline(AIndex, kSubScanlines - 1);
    int n = 0;
    if (A.Y0 <= first && last < A.Y1 && B.Y0 <= first && last < B.Y1) {
      n = kSubScanlines;
    } else {
      for (int k = 0; k < kSubScanlines; ++k) {
        const float ys = subScanline(AIndex, k);
        const bool inA = !(ys < A.Y0 || ys >= A.Y1), inB = !(ys < B.Y0 || ys >= B.Y1);
        if (inA != inB) return false;
        n += inA;
      }
    }
    if (n == 0) return true;
    const float xa = std::clamp(std::min(A.A.X, B.A.X), 0.0f, w), xb = std::clamp(std::max(A.A.X, B.A.X), 0.0f, w);
    if (xb <= xa) return true;
    const int pa = static_cast<int>(xa), pb = static_cast<int>(std::ceil(xb)) - 1;
    auto repeated = [n](float AValue) {
      float sum = 0;
      for (int i = 0; i < n; ++i) sum += AValue;
      return sum;
    };
    std::fill(bytes + c0, bytes + c1, uint8_t{0});
    if (pa == pb) {
      bytes[pa] = toByte(repeated(xb - xa));
    } else {
      bytes[pa] = toByte(repeated(static_cast<float>(pa + 1) - xa));
      if (pb > pa + 1) std::fill(bytes + pa + 1, bytes + pb, toByte(static_cast<float>(n)));
      bytes[pb] = toByte(repeated(xb - static_cast<float>(pb)));
    }
    ARow(AIndex, c0, c1, static_cast<const uint8_t*>(bytes));
    return true;
  };
  const std::vector<TEdge>& allEdges = scratch.Edges;
  // A rectangle, or any polygon whose only non-horizontal edges are two such
  // edges over the same rows: nothing else is needed.
  if (allEdges.size() == 2 && bandSides(allEdges[0], allEdges[1]) && allEdges[0].Y0 == allEdges[1].Y0 &&
      allEdges[0].Y1 == allEdges[1].Y1) {
    for (int row = ABox.RowFirst; row <= ABox.RowLast; ++row) bandRow(row, allEdges[0], allEdges[1]);
    return;
  }

  // Every row sets the sums of its edge pixels back to 0, as it does their marks.
  if (scratch.CoverRow.size() < static_cast<size_t>(FWidth)) scratch.CoverRow.resize(static_cast<size_t>(FWidth), 0.0f);
  float* cover = scratch.CoverRow.data();
  scratch.InsideDiff.resize(static_cast<size_t>(FWidth) + 1);
  uint16_t* insideDiff = scratch.InsideDiff.data();
  scratch.Inside.resize(static_cast<size_t>(FWidth));
  uint16_t* inside = scratch.Inside.data();
  // Every row clears the marks it set, so the marks are all 0 between fills.
  if (scratch.EdgeMark.size() < static_cast<size_t>(FWidth)) scratch.EdgeMark.resize(static_cast<size_t>(FWidth), 0);
  uint8_t* mark = scratch.EdgeMark.data();
  // One slot more than the pixels: the last write of a full list is dropped.
  if (scratch.EdgePixels.size() < static_cast<size_t>(FWidth) + 1) scratch.EdgePixels.resize(static_cast<size_t>(FWidth) + 1);
  int* edges = scratch.EdgePixels.data();
  std::vector<std::pair<float, int>>& crossings = scratch.Crossings;

  // An edge can cross the sub-scanlines of the rows r with !(Y0 >= r + 1) and
  // !(Y1 <= r): from floor(Y0) to ceil(Y1) − 1, or every row where an end is
  // NaN. The edges are put in buckets by their first row (in polygon order
  // within each); a row's active list is the last row's without the edges
  // that ended, merged with its bucket, so it stays in polygon order.
  const int rowCount = ABox.RowLast - ABox.RowFirst + 1;
  const float lowest = -1.0f, highest = static_cast<float>(FHeight) + 1.0f;
  std::vector<std::pair<int, int>>& edgeRows = scratch.EdgeRows;
  if (edgeRows.size() < n) edgeRows.resize(n);  // for every edge, as the edges are
  std::vector<uint32_t>& starts = scratch.BucketStarts;  // row k's bucket: [starts[k], starts[k + 1])
  // Sized for the bitmap's height, not the polygon's: repaints allocate nothing.
  if (starts.size() < static_cast<size_t>(FHeight) + 2) starts.resize(static_cast<size_t>(FHeight) + 2);
  std::fill_n(starts.begin(), rowCount + 2, 0u);
  std::vector<uint32_t>& byFirstRow = scratch.EdgesByFirstRow;
  if (byFirstRow.size() < n) byFirstRow.resize(n);
  for (size_t i = 0; i < allEdges.size(); ++i) {
    const TEdge& e = allEdges[i];
    const int first = std::isnan(e.Y0) ? ABox.RowFirst
                                       : std::max(ABox.RowFirst, static_cast<int>(std::floor(std::clamp(e.Y0, lowest, highest))));
    const int last = std::isnan(e.Y1) ? ABox.RowLast
                                      : std::min(ABox.RowLast, static_cast<int>(std::ceil(std::clamp(e.Y1, lowest, highest))) - 1);
    edgeRows[i] = {first, last};
    if (first <= last) ++starts[static_cast<size_t>(first - ABox.RowFirst) + 2];
  }
  for (size_t k = 2; k < static_cast<size_t>(rowCount) + 2; ++k) starts[k] += starts[k - 1];
  for (size_t i = 0; i < allEdges.size(); ++i)
    if (const auto [first, last] = edgeRows[i]; first <= last)
      byFirstRow[starts[static_cast<size_t>(first - ABox.RowFirst) + 1]++] = static_cast<uint32_t>(i);
  scratch.Active.clear();
  for (int row = ABox.RowFirst; row <= ABox.RowLast; ++row) {
    // The edges that can cross this row's sub-scanlines, in polygon order.
    const TEdge* const edge0 = allEdges.data();
    std::erase_if(scratch.Active, [&](const TEdge* e) { return edgeRows[static_cast<size_t>(e - edge0)].second < row; });
    const uint32_t join0 = starts[static_cast<size_t>(row - ABox.RowFirst)],
                   join1 = starts[static_cast<size_t>(row - ABox.RowFirst) + 1];
    if (join0 < join1) {
      std::vector<const TEdge*>& joined = scratch.Joined;
      joined.clear();
      size_t kept = 0;
      for (uint32_t k = join0; k < join1; ++k) {
        const TEdge* e = edge0 + byFirstRow[k];
        while (kept < scratch.Active.size() && scratch.Active[kept] < e) joined.push_back(scratch.Active[kept++]);
        joined.push_back(e);
      }
      joined.insert(joined.end(), scratch.Active.begin() + static_cast<ptrdiff_t>(kept), scratch.Active.end());
      std::swap(scratch.Active, joined);
    }
    if (scratch.Active.empty()) continue;
    if (scratch.Active.size() == 2 && bandSides(*scratch.Active[0], *scratch.Active[1]) &&
        bandRow(row, *scratch.Active[0], *scratch.Active[1]))
      continue;
    // The active edges as lanes of four: a.X, a.Y, b.X − a.X, b.Y − a.Y,
    // top, bottom, direction. Padding lanes lie below every sub-scanline.
    const size_t lanes = (scratch.Active.size() + 3) & ~size_t{3};
    if (crossings.size() < lanes) crossings.resize(lanes);
    scratch.Lanes.resize(lanes * 6);
    scratch.LaneDirs.resize(lanes);
    float *ax = scratch.Lanes.data(), *ay = ax + lanes, *dx = ay + lanes, *dy = dx + lanes, *y0 = dy + lanes,
          *y1 = y0 + lanes;
    for (size_t j = 0; j < lanes; ++j) {
      if (j < scratch.Active.size()) {
        const TEdge& e = *scratch.Active[j];
        ax[j] = e.A.X, ay[j] = e.A.Y, dx[j] = e.B.X - e.A.X, dy[j] = e.B.Y - e.A.Y, y0[j] = e.Y0, y1[j] = e.Y1;
        scratch.LaneDirs[j] = e.Dir;
      } else {
        ax[j] = ay[j] = dx[j] = 0, dy[j] = 1, y0[j] = std::numeric_limits<float>::infinity(), y1[j] = -y0[j];
        scratch.LaneDirs[j] = 0;
      }
    }
    const QD_Kernels::TEdgeLanes edgeLanes{ax, ay, dx, dy, y0, y1, scratch.LaneDirs.data(), lanes};
    // First the spans of every sub-scanline, then their sums. A sub-scanline
    // has at most one span per two crossings: scratch.Spans was sized for that.
    size_t spanCount = 0;
    for (int k = 0; k < kSubScanlines; ++k) {
      const float ys = subScanline(row, k);
      const size_t count = QD_Kernels::Crossings(edgeLanes, ys, crossings.data());
      SortCrossings(crossings.data(), count);
      int winding = 0;
      float spanStart = 0;
      for (size_t i = 0; i < count; ++i) {
        const auto [x, dir] = crossings[i];
        const int before = winding;
        winding += dir;
        if (before == 0 && winding != 0) {
          spanStart = x;
        } else if (before != 0 && winding == 0) {
          // [spanStart, x) clipped to the row, exact in x.
          const float xa = std::clamp(spanStart, 0.0f, w), xb = std::clamp(x, 0.0f, w);
          if (xb <= xa) continue;
          // ceil(xb) − 1 for xb > 0: truncated, one less where xb is whole.
          const int pb = static_cast<int>(xb) - (xb == static_cast<float>(static_cast<int>(xb)));
          scratch.Spans[spanCount++] = {xa, xb, static_cast<int>(xa), pb, k};
        }
      }
    }
    // A pixel strictly inside a span gets 1 from it; only the pixels at the
    // ends of spans (the edge pixels) get fractions. Spans of one sub-scanline
    // are disjoint, so a pixel lies inside at most one of them: the
    // sub-scanlines that hold it inside are a set of bits, kept as an xor-
    // difference array, and a pixel that never is an end sums whole numbers,
    // as many as it has bits. Edge pixels are summed in float in sub-scanline
    // order, each sub-scanline adding its 1 or its fractions (the end of a
    // span is never inside another span of the same sub-scanline).
    std::fill(insideDiff + c0, insideDiff + c1 + 1, uint16_t{0});
    // Each edge pixel listed once, without a branch: every end is written to
    // the next slot, which only a pixel not yet marked keeps.
    size_t edgeCount = 0;
    const TScratch::TSpan* const spans = scratch.Spans.data();
    for (const TScratch::TSpan& sp : std::span(spans, spanCount)) {
      if (sp.PB > sp.PA + 1) {
        insideDiff[sp.PA + 1] ^= static_cast<uint16_t>(1u << sp.K);
        insideDiff[sp.PB] ^= static_cast<uint16_t>(1u << sp.K);
      }
      edges[edgeCount] = sp.PA;
      edgeCount += mark[sp.PA] == 0;
      mark[sp.PA] = 1;
      edges[edgeCount] = sp.PB;
      edgeCount += mark[sp.PB] == 0;
      mark[sp.PB] = 1;
    }
    // A whole pixel's byte is toByte(n) of its n sub-scanlines: n·255/16 is
    // exact in float, so that is n·255/16 rounded half up, as the kernel has it.
    QD_Kernels::InsideRun(insideDiff + c0, inside + c0, bytes + c0, c1 - c0);
    // The 1s an edge pixel is owed by the sub-scanlines before AK.
    auto settle = [&](int e, int AK) {
      const uint32_t owed = inside[e] & ((1u << AK) - 1) & ~((1u << (mark[e] - 1)) - 1);
      for (uint32_t b = owed; b; b &= b - 1) cover[e] += 1.0f;
      mark[e] = static_cast<uint8_t>(AK + 1);
    };
    for (const TScratch::TSpan& sp : std::span(spans, spanCount)) {
      const int pa = sp.PA, pb = sp.PB;
      settle(pa, sp.K);
      if (pa == pb) {
        cover[pa] += (sp.XB - sp.XA);
        continue;
      }
      cover[pa] += static_cast<float>(pa + 1) - sp.XA;
      settle(pb, sp.K);
      cover[pb] += sp.XB - static_cast<float>(pb);
    }
    for (int e : std::span(edges, edgeCount)) {
      settle(e, kSubScanlines);
      bytes[e] = toByte(cover[e]);
      cover[e] = 0.0f;
      mark[e] = 0;
    }
    ARow(row, c0, c1, static_cast<const uint8_t*>(bytes));
  }
}

void TBitmap32::PolygonCoverage(const std::vector<TFloatPoint>& APolygon, std::vector<uint8_t>& ACoverage) const {
  ACoverage.assign(static_cast<size_t>(FWidth) * FHeight, 0);
  ScanPolygon(APolygon, PolygonBox(APolygon), [&](int ARow, int X0, int X1, const uint8_t* ACov) {
    std::copy(ACov + X0, ACov + X1, ACoverage.data() + static_cast<size_t>(ARow) * FWidth + X0);
  });
}

void TBitmap32::FillPolygonGradient(const std::vector<TFloatPoint>& APolygon, TFloatPoint AStart,
                                    TFloatPoint AEnd, const std::vector<TGradientStop>& AStops) {
  if (APolygon.size() < 3 || AStops.empty() || Empty()) return;
  const TPolygonBox box = PolygonBox(APolygon);
  if (box.RowFirst > box.RowLast || box.ColFirst >= box.ColEnd) return;
  const float gx = AEnd.X - AStart.X, gy = AEnd.Y - AStart.Y;
  const float len2 = gx * gx + gy * gy;
  // Position of the pixel centre projected on the gradient line.
  auto colorAt = [&](int x, int y) {
    const float t = len2 > 0 ? ((static_cast<float>(x) + 0.5f - AStart.X) * gx +
                                (static_cast<float>(y) + 0.5f - AStart.Y) * gy) / len2
                             : 0.0f;
    return GradientColorAt(AStops, t);
  };
  // When the gradient runs along one axis the other term is ±0 and the
  // colour depends on one coordinate only: one lookup per column or per row.
  const bool finite = std::isfinite(AStart.X) && std::isfinite(AStart.Y) && std::isfinite(gx) && std::isfinite(gy);
  const bool perColumn = finite && len2 > 0 && gy == 0;
  const bool perRow = finite && !perColumn && (len2 > 0 ? gx == 0 : true);
  // ScanPolygon leaves the colour row alone.
  TScratch& scratch = Scratch();
  scratch.ColorRow.resize(static_cast<size_t>(FWidth));
  TColor32* colors = scratch.ColorRow.data();
  bool opaqueColumns = true;
  if (perColumn)
    for (int x = box.ColFirst; x < box.ColEnd; ++x) {
      colors[x] = colorAt(x, box.RowFirst);
      opaqueColumns = opaqueColumns && (colors[x] >> 24) == 255;
    }
  ScanPolygon(APolygon, box, [&](int ARow, int X0, int X1, const uint8_t* ACov) {
    TColor32* row = ScanLine(ARow);
    if (perRow || perColumn) {
      const TColor32 c = perRow ? colorAt(X0, ARow) : 0;
      const TOverOpaque over(c);
      // Fully covered runs of opaque colour replace the pixels outright.
      const bool opaque = perRow ? (c >> 24) == 255 : opaqueColumns;
      int x = X0;
      while (x < X1) {
        if (ACov[x] == 255 && (opaque || perRow)) {
          int e = x + 1;
          while (e < X1 && ACov[e] == 255) ++e;
          if (!opaque) QD_Kernels::OverRun(over, row + x, e - x);
          else if (perRow) std::fill(row + x, row + e, c);
          else std::copy(colors + x, colors + e, row + x);
          x = e;
          continue;
        }
        if (perRow) {
          // Up to the next fully covered pixel: one colour at each coverage.
          int e = x + 1;
          while (e < X1 && ACov[e] != 255) ++e;
          QD_Kernels::CoverageRun(c, ACov + x, row + x, e - x);
          x = e;
          continue;
        }
        if (ACov[x]) row[x] = BlendPixelCoverage(colors[x], row[x], ACov[x]);
        ++x;
      }
    } else {
      for (int x = X0; x < X1; ++x)
        if (ACov[x]) row[x] = BlendPixelCoverage(colorAt(x, ARow), row[x], ACov[x]);
    }
  });
}
