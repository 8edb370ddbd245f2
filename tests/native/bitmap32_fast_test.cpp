// The polygon fill and blend short cuts against the direct computation they
// replace, on seeded random input: the results must be identical, bit for
// bit. Set QUENDAL_TEST_SEED to replay a run; the seed is printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "render/bitmap32.h"
#include "render/bitmap32_kernels.h"

namespace {

// ---- The direct computation: every pixel of the bitmap, every edge on
// every sub-scanline, 64-bit integer blending throughout.

uint64_t DivRound(uint64_t A, uint64_t B) { return (A + B / 2) / B; }

TColor32 DirectBlend(TColor32 F, TColor32 B) {
  const uint32_t fa = F >> 24;
  if (fa == 0) return B;
  if (fa == 255) return F;
  const uint64_t af = uint64_t{fa} * 255, ab = uint64_t{B >> 24} * (255 - fa), a = af + ab;
  TColor32 out = static_cast<TColor32>(DivRound(a, 255)) << 24;
  for (int s = 0; s <= 16; s += 8)
    out |= static_cast<TColor32>(DivRound(((F >> s) & 0xFF) * af + ((B >> s) & 0xFF) * ab, a)) << s;
  return out;
}

TColor32 DirectBlendCoverage(TColor32 F, TColor32 B, uint32_t ACoverage) {
  if (ACoverage == 0) return B;
  const auto a = static_cast<uint32_t>(DivRound(uint64_t{F >> 24} * ACoverage, 255));
  return DirectBlend(SetAlpha(F, static_cast<uint8_t>(a)), B);
}

TColor32 DirectGradientColorAt(const std::vector<TGradientStop>& AStops, float T) {
  if (AStops.empty()) return 0;
  if (!(T > AStops.front().Position)) return AStops.front().Color;
  if (T >= AStops.back().Position) return AStops.back().Color;
  size_t i = 1;
  while (i < AStops.size() - 1 && T > AStops[i].Position) ++i;
  const TGradientStop& a = AStops[i - 1];
  const TGradientStop& b = AStops[i];
  const float span = b.Position - a.Position;
  const float w = span > 0 ? (T - a.Position) / span : 1.0f;
  TColor32 out = 0;
  for (int s = 0; s <= 24; s += 8) {
    const float ca = static_cast<float>((a.Color >> s) & 0xFF), cb = static_cast<float>((b.Color >> s) & 0xFF);
    out |= static_cast<TColor32>(std::lround(std::clamp(ca + (cb - ca) * w, 0.0f, 255.0f))) << s;
  }
  return out;
}

std::vector<uint8_t> DirectCoverage(int W, int H, const std::vector<TFloatPoint>& P) {
  std::vector<uint8_t> out(static_cast<size_t>(W) * H, 0);
  if (P.size() < 3 || W == 0 || H == 0) return out;
  float minY = P[0].Y, maxY = P[0].Y;
  for (const TFloatPoint& p : P) {
    minY = std::min(minY, p.Y);
    maxY = std::max(maxY, p.Y);
  }
  const int rowFirst = std::max(0, static_cast<int>(std::floor(minY)));
  const int rowLast = std::min(H - 1, static_cast<int>(std::ceil(maxY)));
  std::vector<float> cover(static_cast<size_t>(W));
  std::vector<std::pair<float, int>> crossings;
  const float w = static_cast<float>(W);
  for (int row = rowFirst; row <= rowLast; ++row) {
    std::fill(cover.begin(), cover.end(), 0.0f);
    for (int k = 0; k < 16; ++k) {
      const float ys = static_cast<float>(row) + (static_cast<float>(k) + 0.5f) / 16;
      crossings.clear();
      for (size_t i = 0; i < P.size(); ++i) {
        const TFloatPoint& a = P[i];
        const TFloatPoint& b = P[(i + 1) % P.size()];
        if (a.Y == b.Y) continue;
        const bool down = b.Y > a.Y;
        const float y0 = down ? a.Y : b.Y, y1 = down ? b.Y : a.Y;
        if (ys < y0 || ys >= y1) continue;
        crossings.emplace_back(a.X + (ys - a.Y) * (b.X - a.X) / (b.Y - a.Y), down ? 1 : -1);
      }
      std::sort(crossings.begin(), crossings.end());
      int winding = 0;
      float start = 0;
      for (const auto& [x, dir] : crossings) {
        const int before = winding;
        winding += dir;
        if (before == 0 && winding != 0) {
          start = x;
        } else if (before != 0 && winding == 0) {
          const float xa = std::clamp(start, 0.0f, w), xb = std::clamp(x, 0.0f, w);
          if (xb <= xa) continue;
          const int pa = static_cast<int>(xa), pb = static_cast<int>(std::ceil(xb)) - 1;
          if (pa == pb) {
            cover[pa] += xb - xa;
          } else {
            cover[pa] += static_cast<float>(pa + 1) - xa;
            for (int p = pa + 1; p < pb; ++p) cover[p] += 1.0f;
            cover[pb] += xb - static_cast<float>(pb);
          }
        }
      }
    }
    for (int x = 0; x < W; ++x)
      out[static_cast<size_t>(row) * W + x] = static_cast<uint8_t>(std::lround(std::min(1.0f, cover[x] / 16) * 255.0f));
  }
  return out;
}

void DirectFill(TBitmap32& B, const std::vector<TFloatPoint>& P, TFloatPoint S, TFloatPoint E,
                const std::vector<TGradientStop>& AStops) {
  if (P.size() < 3 || AStops.empty() || B.Empty()) return;
  const std::vector<uint8_t> cov = DirectCoverage(B.Width(), B.Height(), P);
  const float gx = E.X - S.X, gy = E.Y - S.Y, len2 = gx * gx + gy * gy;
  for (int y = 0; y < B.Height(); ++y)
    for (int x = 0; x < B.Width(); ++x) {
      const uint8_t c = cov[static_cast<size_t>(y) * B.Width() + x];
      if (c == 0) continue;
      const float t = len2 > 0 ? ((static_cast<float>(x) + 0.5f - S.X) * gx + (static_cast<float>(y) + 0.5f - S.Y) * gy) / len2
                               : 0.0f;
      B.SetPixel(x, y, DirectBlendCoverage(DirectGradientColorAt(AStops, t), B.Pixel(x, y), c));
    }
}

// Wu-style line: each step splits its colour between the two pixels whose
// centres straddle the line.
template <typename ColorFn>
void DirectLine(TBitmap32& B, float X1, float Y1, float X2, float Y2, bool ASkipLast, ColorFn AColorAt) {
  const float dx = X2 - X1, dy = Y2 - Y1;
  const bool steep = std::fabs(dy) > std::fabs(dx);
  const float length = std::max(std::fabs(dx), std::fabs(dy));
  const int steps = std::max(1, static_cast<int>(std::lround(length)));
  for (int i = 0; i <= (ASkipLast ? steps - 1 : steps); ++i) {
    const float t = length > 0 ? static_cast<float>(i) / static_cast<float>(steps) : 0.0f;
    const float px = X1 + dx * t, py = Y1 + dy * t;
    const float major = steep ? py : px, minor = (steep ? px : py) - 0.5f;
    const int m = static_cast<int>(std::floor(major)), lo = static_cast<int>(std::floor(minor));
    const float frac = minor - static_cast<float>(lo);
    const TColor32 c = AColorAt(i);
    const auto plot = [&](int a, int b, uint32_t w) {
      const int x = steep ? b : a, y = steep ? a : b;
      if (x < 0 || y < 0 || x >= B.Width() || y >= B.Height() || w == 0) return;
      B.SetPixel(x, y, DirectBlendCoverage(c, B.Pixel(x, y), w));
    };
    plot(m, lo, static_cast<uint32_t>(std::lround((1.0f - frac) * 255.0f)));
    plot(m, lo + 1, static_cast<uint32_t>(std::lround(frac * 255.0f)));
  }
}

// ---- Random input, biased towards what widgets draw: opaque and
// transparent colours, whole and half pixel coordinates, rectangles.

unsigned Seed() {
  const char* env = std::getenv("QUENDAL_TEST_SEED");
  const unsigned seed = env ? static_cast<unsigned>(std::strtoul(env, nullptr, 10)) : std::random_device{}();
  std::printf("bitmap32 fast paths: QUENDAL_TEST_SEED=%u\n", seed);
  return seed;
}

struct TRandom {
  std::mt19937 Rng;
  int Int(int ALow, int AHigh) { return std::uniform_int_distribution<int>(ALow, AHigh)(Rng); }
  float Real(float ALow, float AHigh) { return std::uniform_real_distribution<float>(ALow, AHigh)(Rng); }
  uint8_t Alpha() {
    switch (Int(0, 3)) {
      case 0: return 0;
      case 1: return 255;
      default: return static_cast<uint8_t>(Int(0, 255));
    }
  }
  TColor32 Color() { return SetAlpha(static_cast<TColor32>(Rng()), Alpha()); }
  // Whole, half, on a sub-scanline (1/16 + 1/32: where edges start and end
  // matters), or arbitrary; sometimes outside [ALow, AHigh].
  float Coord(float ALow, float AHigh) {
    const float v = Real(ALow - 8, AHigh + 8);
    switch (Int(0, 3)) {
      case 0: return std::round(v);
      case 1: return std::round(v * 2) / 2;
      case 2: return (std::floor(v * 16) + 0.5f) / 16;
      default: return v;
    }
  }
  std::vector<TFloatPoint> Polygon(int W, int H) {
    std::vector<TFloatPoint> p;
    switch (Int(0, 3)) {
      case 0: {  // a rectangle, in either direction
        const float l = Coord(0, W), r = Coord(0, W), t = Coord(0, H), b = Coord(0, H);
        p = {{l, t}, {r, t}, {r, b}, {l, b}};
        if (Int(0, 1)) std::reverse(p.begin(), p.end());
        break;
      }
      case 1: {  // a graph: a polyline closed along the bottom
        const int n = Int(2, 60);
        for (int i = 0; i < n; ++i) p.push_back({static_cast<float>(W) * i / (n - 1), Coord(0, H)});
        p.push_back({static_cast<float>(W), static_cast<float>(H)});
        p.push_back({0, static_cast<float>(H)});
        break;
      }
      case 2: {  // a graph between any two sides, either way round, its base anywhere
        const float l = Coord(0, W), r = Coord(0, W), base = Coord(0, H);
        const int n = Int(2, 30);
        for (int i = 0; i < n; ++i) p.push_back({l + (r - l) * i / (n - 1), Coord(0, H)});
        p.push_back({r, base});
        p.push_back({l, base});
        break;
      }
      default:  // anything, self-intersections included
        for (int i = Int(3, 12); i > 0; --i) p.push_back({Coord(0, W), Coord(0, H)});
        break;
    }
    return p;
  }
  TFloatPoint Point(int W, int H) { return {Coord(0, W), Coord(0, H)}; }
};

}  // namespace

TEST(FastPaths, BlendIsExactlyTheDirectComputation) {
  TRandom r{std::mt19937(Seed())};
  for (int i = 0; i < 300000; ++i) {
    const TColor32 f = r.Color(), b = r.Color();
    const uint32_t c = static_cast<uint32_t>(r.Int(-1, 1) == 0 ? 255 : r.Int(0, 255));
    ASSERT_EQ(BlendPixel(f, b), DirectBlend(f, b)) << std::hex << f << " over " << b;
    ASSERT_EQ(BlendPixelCoverage(f, b, c), DirectBlendCoverage(f, b, c)) << std::hex << f << " over " << b << " at " << c;
  }
}

TEST(FastPaths, GradientColourIsExactlyTheDirectComputation) {
  TRandom r{std::mt19937(Seed())};
  for (int i = 0; i < 20000; ++i) {
    std::vector<TGradientStop> stops;
    float position = r.Real(-0.5f, 0.5f);
    for (int k = r.Int(1, 4); k > 0; --k) {
      stops.push_back({position, r.Color()});
      position += r.Int(0, 5) ? r.Real(0, 0.7f) : 0;  // sometimes two stops at one place
    }
    for (int j = 0; j < 20; ++j) {
      const float t = j == 0 ? stops.back().Position : r.Real(-1, 2);
      ASSERT_EQ(GradientColorAt(stops, t), DirectGradientColorAt(stops, t)) << "case " << i << " at " << t;
    }
  }
}

TEST(FastPaths, PolygonCoverageIsExactlyTheDirectScan) {
  TRandom r{std::mt19937(Seed())};
  std::vector<uint8_t> got;
  for (int i = 0; i < 1500; ++i) {
    const int w = r.Int(1, 70), h = r.Int(1, 40);
    const TBitmap32 b(w, h);
    const std::vector<TFloatPoint> poly = r.Polygon(w, h);
    b.PolygonCoverage(poly, got);
    ASSERT_EQ(got, DirectCoverage(w, h, poly)) << "case " << i << ", " << poly.size() << " points";
  }
  // Hundreds of crossings per sub-scanline in no particular order.
  for (int i = 0; i < 40; ++i) {
    const TBitmap32 b(50, 30);
    std::vector<TFloatPoint> poly;
    for (int n = r.Int(150, 400); n > 0; --n) poly.push_back(r.Point(50, 30));
    b.PolygonCoverage(poly, got);
    ASSERT_EQ(got, DirectCoverage(50, 30, poly)) << "large case " << i;
  }
}

// Rows that only a graph's two vertical sides reach are summed as bands:
// sides and bases on and beside the first and last sub-scanline, sides half
// off the bitmap, either way round.
TEST(FastPaths, GraphRowsBetweenTwoSidesAreTheDirectScan) {
  const float first = 1.0f / 32, last = 31.0f / 32;
  const struct {
    float L, R, Top, Base;
  } cases[] = {
      {2.5f, 17.25f, 3, 9 + last},     {2.5f, 17.25f, 3 + last, 9 + first}, {17.25f, 2.5f, 3 + first, 9},
      {-3.5f, 25.5f, 2 + first, 11},   {0.75f, 0.875f, 1, 10 + last},       {4, 4.5f, 0, 8 + last + 0.001f},
      {5.5f, 14.5f, 9 + last, 3 + first},
  };
  for (const auto& c : cases) {
    const std::vector<TFloatPoint> graph = {{c.L, c.Top}, {(c.L + c.R) / 2, c.Top + 1.3f}, {c.R, c.Top + 0.4f},
                                            {c.R, c.Base}, {c.L, c.Base}};
    TBitmap32 b(20, 14);
    std::vector<uint8_t> got;
    b.PolygonCoverage(graph, got);
    EXPECT_EQ(got, DirectCoverage(20, 14, graph)) << c.L << " " << c.R << " " << c.Top << " " << c.Base;
  }
}

TEST(FastPaths, GradientFillIsExactlyTheDirectFill) {
  TRandom r{std::mt19937(Seed())};
  for (int i = 0; i < 1500; ++i) {
    const int w = r.Int(1, 70), h = r.Int(1, 40);
    TBitmap32 fast(w, h), direct(w, h);
    // A background of mixed alphas, as a widget's buffer may hold.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const TColor32 c = r.Int(0, 3) ? SetAlpha(r.Color(), 255) : r.Color();
        fast.SetPixel(x, y, c);
        direct.SetPixel(x, y, c);
      }
    const std::vector<TFloatPoint> poly = r.Polygon(w, h);
    // Horizontal, vertical, diagonal and degenerate gradient lines.
    TFloatPoint s = r.Point(w, h), e = r.Point(w, h);
    switch (r.Int(0, 3)) {
      case 0: e.Y = s.Y; break;
      case 1: e.X = s.X; break;
      case 2: e = s; break;
      default: break;
    }
    std::vector<TGradientStop> stops;
    for (int k = r.Int(1, 3), j = 0; j < k; ++j) stops.push_back({static_cast<float>(j) / std::max(1, k - 1), r.Color()});
    fast.FillPolygonGradient(poly, s, e, stops);
    DirectFill(direct, poly, s, e, stops);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(fast.Pixel(x, y), direct.Pixel(x, y)) << "case " << i << " at " << x << "," << y;
  }
}

TEST(FastPaths, FarAwayVerticesGiveTheDirectCoverage) {
  // Crossings computed from far-away vertices carry rounding of their own;
  // the visited box must still hold every pixel they touch.
  const std::vector<std::vector<TFloatPoint>> polys = {
      {{-1e7f, 2}, {5.5f, 2}, {5.5f, 9}, {-1e7f, 9}},
      {{-1e9f, -1e9f}, {1e9f, 3}, {2, 1e9f}},
      {{-3e6f, 0.3f}, {19.7f, 11.2f}, {-3e6f, 11.9f}},
  };
  TBitmap32 b(20, 12);
  std::vector<uint8_t> got;
  for (const auto& p : polys) {
    b.PolygonCoverage(p, got);
    EXPECT_EQ(got, DirectCoverage(20, 12, p));
  }
}

TEST(FastPaths, NonFiniteVerticesDoNotReachOutsideTheBitmap) {
  // A NaN reading makes a graph vertex NaN; its crossings are dropped rather
  // than sorted and used as a pixel index.
  const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
  TBitmap32 b(20, 12);
  b.Clear(0xFF000000);
  b.FillPolygonGradient({{0, 0}, {inf, 4}, {3, 8}}, {0, 0}, {20, 0}, {{0, 0xFFFFFFFF}});
  b.FillPolygonGradient({{0, 12}, {5, nan}, {10, 3}, {20, 12}}, {0, 0}, {0, 12}, {{0, 0xFFFFFFFF}});
  std::vector<uint8_t> coverage;
  b.PolygonCoverage({{nan, nan}, {nan, 5}, {4, nan}}, coverage);
  EXPECT_EQ(std::count(coverage.begin(), coverage.end(), 0), 20 * 12);
  // Far from every finite edge nothing was drawn.
  EXPECT_EQ(b.Pixel(0, 11), 0xFF000000u);
}

TEST(FastPaths, BlendedRectIsExactlyTheDirectBlend) {
  TRandom r{std::mt19937(Seed())};
  for (int i = 0; i < 2000; ++i) {
    const int w = r.Int(1, 60), h = r.Int(1, 20);
    TBitmap32 b(w, h);
    std::vector<TColor32> before;
    // Mostly opaque, as under a widget's text, so whole groups of pixels are.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        b.SetPixel(x, y, r.Int(0, 7) ? SetAlpha(r.Color(), 255) : r.Color());
        before.push_back(b.Pixel(x, y));
      }
    const TRect rect{r.Int(-3, w), r.Int(-3, h), r.Int(-3, w + 3), r.Int(-3, h + 3)};
    const TColor32 color = r.Color();
    b.FillRectTS(rect, color);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const bool inside = x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
        const TColor32 old = before[static_cast<size_t>(y) * w + x];
        ASSERT_EQ(b.Pixel(x, y), inside ? DirectBlend(color, old) : old) << "case " << i << " at " << x << "," << y;
      }
  }
}

TEST(FastPaths, LinesAreExactlyTheDirectLines) {
  TRandom r{std::mt19937(Seed())};
  for (int i = 0; i < 3000; ++i) {
    const int w = r.Int(1, 40), h = r.Int(1, 40);
    TBitmap32 fast(w, h), direct(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const TColor32 c = r.Int(0, 3) ? SetAlpha(r.Color(), 255) : r.Color();
        fast.SetPixel(x, y, c);
        direct.SetPixel(x, y, c);
      }
    TFloatPoint a = r.Point(w, h), b = r.Point(w, h);
    // Grid lines and ticks run along an axis, in either direction, on or off
    // the bitmap, and may be a single point.
    switch (r.Int(0, 5)) {
      case 0: b.Y = a.Y; break;
      case 1: b.X = a.X; break;
      case 2: b = a; break;
      default: break;
    }
    if (r.Int(0, 1)) {
      const TColor32 color = r.Color();
      const bool skipLast = r.Int(0, 1);
      fast.LineFS(a.X, a.Y, b.X, b.Y, color, skipLast);
      DirectLine(direct, a.X, a.Y, b.X, b.Y, skipLast, [&](int) { return color; });
    } else {
      // Stipples of any length, from any counter, negative ones included.
      std::vector<TColor32> pattern;
      for (int n = r.Int(1, 5); n > 0; --n) pattern.push_back(r.Color());
      float counter = r.Real(-20, 20);
      const float step = r.Int(0, 1) ? 1.0f : r.Real(-2, 2);
      fast.SetStipple(pattern);
      fast.StippleCounter = counter;
      fast.StippleStep = step;
      fast.LineFSP(a.X, a.Y, b.X, b.Y);
      DirectLine(direct, a.X, a.Y, b.X, b.Y, true, [&](int) {
        const auto n = static_cast<long>(pattern.size());
        long k = static_cast<long>(std::floor(counter)) % n;
        if (k < 0) k += n;
        counter += step;
        return pattern[static_cast<size_t>(k)];
      });
      ASSERT_EQ(fast.StippleCounter, counter);
    }
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(fast.Pixel(x, y), direct.Pixel(x, y)) << "case " << i << " at " << x << "," << y;
  }
}

// Every x86 build has both kernel builds: the SSE2 ones the product runs are
// held to the scalar reference here, so a compiler without SSE2 runs nothing
// untested. Colours over every alpha, weights in and out of [0, 1], edges
// with NaN and infinite vertices.
TEST(FastPaths, SSE2KernelsAreExactlyTheScalarKernels) {
#if QD_HAVE_SSE2
  TRandom r{std::mt19937(Seed())};
  for (int alpha = 0; alpha <= 255; ++alpha) {
    const QD_Kernels::TOverOpaque over(SetAlpha(r.Color(), static_cast<uint8_t>(alpha)));
    std::vector<TColor32> a(37);
    for (TColor32& p : a) p = r.Int(0, 3) ? SetAlpha(r.Color(), 255) : r.Color();
    std::vector<TColor32> b = a;
    QD_Kernels::OverRunScalar(over, a.data(), static_cast<int>(a.size()));
    QD_Kernels::OverRunSSE2(over, b.data(), static_cast<int>(b.size()));
    ASSERT_EQ(a, b) << "alpha " << alpha;
  }
  // Every alpha of the colour against every coverage, over opaque pixels
  // (the SSE2 way) with a few that are not mixed in, and runs of every length
  // from 0 up so the scalar tail is covered too.
  std::vector<uint8_t> coverage(256 + 7);
  for (size_t k = 0; k < coverage.size(); ++k) coverage[k] = static_cast<uint8_t>(k < 256 ? k : r.Int(0, 1) * 255);
  for (int alpha = 0; alpha <= 255; ++alpha) {
    const TColor32 f = SetAlpha(r.Color(), static_cast<uint8_t>(alpha));
    std::shuffle(coverage.begin(), coverage.end(), r.Rng);
    std::vector<TColor32> a(coverage.size());
    for (TColor32& p : a) p = r.Int(0, 15) ? SetAlpha(r.Color(), 255) : r.Color();
    const int n = alpha < 16 ? alpha : static_cast<int>(a.size());
    const std::vector<TColor32> before = a;
    std::vector<TColor32> b = a;
    QD_Kernels::CoverageRunScalar(f, coverage.data(), a.data(), n);
    QD_Kernels::CoverageRunSSE2(f, coverage.data(), b.data(), n);
    ASSERT_EQ(a, b) << "alpha " << alpha;
    for (size_t k = 0; k < b.size(); ++k)
      ASSERT_EQ(b[k], static_cast<int>(k) < n ? DirectBlendCoverage(f, before[k], coverage[k]) : before[k])
          << "alpha " << alpha << " coverage " << int{coverage[k]};
  }
  const float specials[] = {0.0f, 1.0f, 0.5f, -0.25f, 1.75f, std::nanf(""), INFINITY, -INFINITY};
  for (int i = 0; i < 200000; ++i) {
    const TColor32 c1 = r.Color(), c2 = r.Color();
    const float w = i < 8 ? specials[i] : r.Real(-0.5f, 1.5f);
    ASSERT_EQ(QD_Kernels::LerpColorScalar(c1, c2, w), QD_Kernels::LerpColorSSE2(c1, c2, w))
        << std::hex << c1 << " " << c2 << " " << w;
  }
  for (int i = 0; i < 20000; ++i) {
    const size_t n = static_cast<size_t>(r.Int(0, 9)), padded = (n + 3) & ~size_t{3};
    std::vector<float> lane[6];
    std::vector<int> dir(padded, 0);
    for (auto& l : lane) l.assign(padded, 0.0f);
    for (size_t j = 0; j < padded; ++j) {
      if (j >= n) {
        lane[3][j] = 1, lane[4][j] = INFINITY, lane[5][j] = -INFINITY;
        continue;
      }
      TFloatPoint a = r.Point(40, 40), b = r.Point(40, 40);
      if (r.Int(0, 30) == 0) a.X = r.Int(0, 1) ? std::nanf("") : INFINITY;
      if (a.Y == b.Y) b.Y += 1;
      lane[0][j] = a.X, lane[1][j] = a.Y, lane[2][j] = b.X - a.X, lane[3][j] = b.Y - a.Y;
      lane[4][j] = std::min(a.Y, b.Y), lane[5][j] = std::max(a.Y, b.Y), dir[j] = b.Y > a.Y ? 1 : -1;
    }
    const QD_Kernels::TEdgeLanes lanes{lane[0].data(), lane[1].data(), lane[2].data(), lane[3].data(),
                                       lane[4].data(), lane[5].data(), dir.data(), padded};
    std::vector<std::pair<float, int>> s(padded), v(padded);
    const float y = r.Coord(0, 40);
    const size_t ns = QD_Kernels::CrossingsScalar(lanes, y, s.data());
    const size_t nv = QD_Kernels::CrossingsSSE2(lanes, y, v.data());
    ASSERT_EQ(ns, nv);
    s.resize(ns), v.resize(nv);
    ASSERT_EQ(s, v) << "sub-scanline " << y;
  }
  // Runs of every length up to a few groups, so the tail and the running xor
  // across groups are covered; one bit of sixteen set at a time, or many.
  for (int n = 0; n <= 40; ++n) {
    std::vector<uint16_t> diff(static_cast<size_t>(n));
    for (uint16_t& d : diff) d = static_cast<uint16_t>(r.Int(0, 1) ? 1u << r.Int(0, 15) : r.Int(0, 0xFFFF));
    std::vector<uint16_t> insideS(diff.size()), insideV(diff.size());
    std::vector<uint8_t> bytesS(diff.size()), bytesV(diff.size());
    QD_Kernels::InsideRunScalar(diff.data(), insideS.data(), bytesS.data(), n);
    QD_Kernels::InsideRunSSE2(diff.data(), insideV.data(), bytesV.data(), n);
    ASSERT_EQ(insideS, insideV) << "length " << n;
    ASSERT_EQ(bytesS, bytesV) << "length " << n;
  }
#else
  GTEST_SKIP() << "this build has the scalar kernels only";
#endif
}
