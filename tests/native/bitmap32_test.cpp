// Bitmap32: exact semantics of the pixel operations widgets rely on.
#include <gtest/gtest.h>

#include <random>

#include "render/bitmap32.h"
#include "render/graphics_common.h"

namespace {

// Straight-alpha source-over computed in doubles, the definition BlendPixel
// implements in integers.
TColor32 ReferenceBlend(TColor32 F, TColor32 B) {
  if ((F >> 24) == 0) return B;  // nothing over: the pixel stays as it is
  const double fa = (F >> 24) / 255.0, ba = (B >> 24) / 255.0;
  const double a = fa + ba * (1 - fa);
  TColor32 out = static_cast<TColor32>(std::lround(a * 255)) << 24;
  for (int s = 0; s <= 16; s += 8) {
    const double c = (((F >> s) & 0xFF) * fa + ((B >> s) & 0xFF) * ba * (1 - fa)) / a;
    out |= static_cast<TColor32>(std::lround(c)) << s;
  }
  return out;
}

int CountNonZero(const TBitmap32& B) {
  int n = 0;
  for (int y = 0; y < B.Height(); ++y)
    for (int x = 0; x < B.Width(); ++x) n += B.Pixel(x, y) != 0;
  return n;
}

}  // namespace

TEST(Blend, MatchesSourceOverWithinRounding) {
  const unsigned seed = 20261208;
  std::mt19937 rng(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));
  for (int i = 0; i < 200000; ++i) {
    const TColor32 f = rng(), b = rng();
    const TColor32 got = BlendPixel(f, b), want = ReferenceBlend(f, b);
    for (int s = 0; s <= 24; s += 8) {
      const int d = static_cast<int>((got >> s) & 0xFF) - static_cast<int>((want >> s) & 0xFF);
      ASSERT_LE(std::abs(d), 1) << std::hex << f << " over " << b;
    }
  }
  EXPECT_EQ(BlendPixel(0x00123456, 0x80ABCDEF), 0x80ABCDEFu);  // transparent: unchanged
  EXPECT_EQ(BlendPixel(0xFF123456, 0x80ABCDEF), 0xFF123456u);  // opaque: replaced
  EXPECT_EQ(BlendPixel(0x80FF0000, 0xFF0000FF), 0xFF80007Fu);  // half red over blue
}

TEST(Bitmap32, WrittenVersusBlendedFillOverATranslucentPixel) {
  TBitmap32 b(4, 4);
  b.Clear(0x400000FF);  // translucent blue
  b.FillRectS({0, 0, 2, 4}, 0x80FF0000);
  b.FillRectTS({2, 0, 4, 4}, 0x80FF0000);
  EXPECT_EQ(b.Pixel(1, 1), 0x80FF0000u);  // written as is, alpha included
  // Blended: alpha 128 + 64·127/255 ≈ 160; red dominates, blue keeps a share.
  EXPECT_EQ(b.Pixel(3, 1), BlendPixel(0x80FF0000, 0x400000FF));
  EXPECT_EQ(b.Pixel(3, 1) >> 24, 0xA0u);
  EXPECT_EQ(b.Pixel(3, 1), 0xA0CC0033u);
}

TEST(Bitmap32, EmptyAndOutsideRectsDrawNothing) {
  TBitmap32 b(5, 5);
  b.FillRectS({3, 3, 3, 5}, 0xFFFFFFFF);
  b.FillRectS({4, 4, 2, 2}, 0xFFFFFFFF);
  b.FillRectTS({-10, -10, -1, 3}, 0xFFFFFFFF);
  b.FrameRectTS({2, 2, 2, 2}, 0xFFFFFFFF);
  b.RaiseRectTS({1, 1, 1, 4}, 50);
  EXPECT_EQ(CountNonZero(b), 0);
  b.FillRectS({-3, -3, 2, 2}, 0xFFFFFFFF);  // clipped, not wrapped
  EXPECT_EQ(CountNonZero(b), 4);
}

TEST(Bitmap32, FrameCornersAreBlendedOnce) {
  TBitmap32 b(6, 5);
  b.Clear(0xFF000000);
  b.FrameRectTS({1, 1, 5, 4}, 0x80FFFFFF);
  const TColor32 once = BlendPixel(0x80FFFFFF, 0xFF000000);
  for (int x = 1; x < 5; ++x) {
    EXPECT_EQ(b.Pixel(x, 1), once) << x;
    EXPECT_EQ(b.Pixel(x, 3), once) << x;
  }
  EXPECT_EQ(b.Pixel(1, 2), once);
  EXPECT_EQ(b.Pixel(4, 2), once);
  EXPECT_EQ(b.Pixel(2, 2), 0xFF000000u);  // inside untouched
  EXPECT_EQ(b.Pixel(5, 1), 0xFF000000u);  // right edge is exclusive
  EXPECT_EQ(b.Pixel(1, 4), 0xFF000000u);  // bottom edge is exclusive
}

TEST(Bitmap32, LinesAreInclusive) {
  TBitmap32 b(8, 8);
  b.HorzLineTS(5, 2, 1, 0xFFFFFFFF);  // reversed ends
  b.VertLineTS(6, 3, 6, 0xFFFFFFFF);
  EXPECT_EQ(CountNonZero(b), 5 + 4);
  EXPECT_EQ(b.Pixel(1, 2), 0xFFFFFFFFu);
  EXPECT_EQ(b.Pixel(5, 2), 0xFFFFFFFFu);
  EXPECT_EQ(b.Pixel(6, 6), 0xFFFFFFFFu);
}

TEST(Bevel, StrengthSetsColoursAndAlphas) {
  TBitmap32 b(10, 10);
  DrawBevel(b, {0, 0, 10, 10}, true, true, true, true, 0);
  EXPECT_EQ(CountNonZero(b), 0);

  DrawBevel(b, {0, 0, 10, 10}, true, true, true, true, 10);
  EXPECT_EQ(b.Pixel(4, 0), 0x33FFFFFFu);  // top: white, alpha 10·512/100 = 51
  EXPECT_EQ(b.Pixel(0, 4), 0x33FFFFFFu);  // left
  EXPECT_EQ(b.Pixel(4, 9), 0x19000000u);  // bottom: black, alpha 10·255/100 = 25
  EXPECT_EQ(b.Pixel(9, 4), 0x19000000u);  // right
  EXPECT_EQ(b.Pixel(9, 0), 0x33FFFFFFu);  // the top row runs to Right-1
  EXPECT_EQ(b.Pixel(4, 4), 0u);

  TBitmap32 n(10, 10);
  DrawBevel(n, {0, 0, 10, 10}, true, true, true, true, -10);
  EXPECT_EQ(n.Pixel(4, 0), 0x19000000u);  // top and left: black at 25
  EXPECT_EQ(n.Pixel(0, 4), 0x19000000u);
  EXPECT_EQ(n.Pixel(4, 9), 0x33FFFFFFu);  // bottom and right: white at 51
  EXPECT_EQ(n.Pixel(9, 4), 0x33FFFFFFu);

  TBitmap32 s(4, 4);
  DrawBevel(s, {0, 0, 4, 4}, true, true, true, true, 400);  // alphas clamp at 255
  EXPECT_EQ(s.Pixel(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(s.Pixel(1, 3), 0xFF000000u);
}

TEST(Bevel, RightSideOnlyRunsTopToBottomInclusive) {
  TBitmap32 b(10, 10);
  DrawBevel(b, {2, 2, 6, 6}, false, false, true, false, 10);
  for (int y = 2; y <= 6; ++y) EXPECT_EQ(b.Pixel(5, y), 0x19000000u) << y;
  EXPECT_EQ(CountNonZero(b), 5);
  TBitmap32 edge(6, 6);  // at the bitmap's edge the last pixel is clipped
  DrawBevel(edge, {2, 2, 6, 6}, false, false, true, false, 10);
  EXPECT_EQ(CountNonZero(edge), 4);
}

TEST(StippledLine, AlternatesThePatternAndLeavesOutTheLastPixel) {
  TBitmap32 b(12, 3);
  b.SetStipple({0xFFFF0000, 0xFF00FF00});
  b.StippleCounter = 0;
  b.LineFSP(0.5f, 1.5f, 8.5f, 1.5f);  // along pixel centres: no spill into rows 0 and 2
  for (int x = 0; x < 8; ++x) EXPECT_EQ(b.Pixel(x, 1), x % 2 ? 0xFF00FF00u : 0xFFFF0000u) << x;
  EXPECT_EQ(b.Pixel(8, 1), 0u);  // last pixel not drawn
  EXPECT_EQ(CountNonZero(b), 8);
  EXPECT_EQ(b.StippleCounter, 8.0f);  // the counter runs on for a following line
}

TEST(AALine, SplitsBetweenPixelsOffTheCentre) {
  TBitmap32 b(6, 4);
  b.LineFS(0.5f, 1.0f, 4.5f, 1.0f, 0xFFFFFFFF);  // exactly between rows 0 and 1
  for (int x = 0; x <= 4; ++x) {
    EXPECT_EQ(b.Pixel(x, 0) >> 24, 128u) << x;
    EXPECT_EQ(b.Pixel(x, 1) >> 24, 128u) << x;
  }
  TBitmap32 joint(10, 3);
  joint.PenColor = 0x80FFFFFF;
  joint.MoveToF(0.5f, 1.5f);
  joint.LineToFS(4.5f, 1.5f);
  joint.LineToFS(8.5f, 1.5f);
  EXPECT_EQ(joint.Pixel(4, 1), joint.Pixel(3, 1));  // the joint is not blended twice
}

TEST(Gradient, ColoursAtAndBetweenStopsAndClampedOutside) {
  const std::vector<TGradientStop> stops = {{0.0f, 0xFF000000}, {0.5f, 0x80FF0000}, {1.0f, 0x0000FF00}};
  EXPECT_EQ(GradientColorAt(stops, -3.0f), 0xFF000000u);
  EXPECT_EQ(GradientColorAt(stops, 0.0f), 0xFF000000u);
  EXPECT_EQ(GradientColorAt(stops, 0.25f), 0xC0800000u);  // alpha is interpolated too
  EXPECT_EQ(GradientColorAt(stops, 0.5f), 0x80FF0000u);
  EXPECT_EQ(GradientColorAt(stops, 0.75f), 0x40808000u);
  EXPECT_EQ(GradientColorAt(stops, 1.0f), 0x0000FF00u);
  EXPECT_EQ(GradientColorAt(stops, 7.0f), 0x0000FF00u);

  // A horizontal gradient across a rect-shaped polygon: each pixel centre
  // takes the colour at its projection; left and right of the line clamp.
  TBitmap32 b(10, 1);
  FillPolygonGradient2(b, {2, 0}, {8, 0}, {{0, 0}, {10, 0}, {10, 1}, {0, 1}}, 0xFF000000, 0xFF0000FF);
  EXPECT_EQ(b.Pixel(0, 0), 0xFF000000u);
  EXPECT_EQ(b.Pixel(1, 0), 0xFF000000u);
  EXPECT_EQ(b.Pixel(4, 0), GradientColorAt({{0, 0xFF000000}, {1, 0xFF0000FF}}, 2.5f / 6));
  EXPECT_EQ(b.Pixel(9, 0), 0xFF0000FFu);
}

TEST(PolygonFill, NonZeroWindingFillsSelfOverlap) {
  // Two overlapping squares traced in the same direction: the overlap has
  // winding 2 and is filled (even-odd would leave it empty).
  TBitmap32 b(12, 12);
  const std::vector<TFloatPoint> poly = {{1, 1}, {7, 1}, {7, 7}, {1, 7}, {1, 1},
                                         {4, 4}, {10, 4}, {10, 10}, {4, 10}, {4, 4}};
  b.FillPolygonGradient(poly, {0, 0}, {1, 0}, {{0, 0xFFFFFFFF}});
  EXPECT_EQ(b.Pixel(5, 5), 0xFFFFFFFFu);  // overlap
  EXPECT_EQ(b.Pixel(2, 2), 0xFFFFFFFFu);
  EXPECT_EQ(b.Pixel(8, 8), 0xFFFFFFFFu);
  EXPECT_EQ(b.Pixel(8, 2), 0u);
  EXPECT_EQ(b.Pixel(11, 11), 0u);
}

TEST(PolygonFill, EdgesAreAntiAliasedByArea) {
  TBitmap32 b(4, 4);
  std::vector<uint8_t> coverage;
  b.PolygonCoverage({{0.5f, 0}, {4, 0}, {4, 4}, {0.5f, 4}}, coverage);
  EXPECT_EQ(coverage[0], 128);  // half of pixel 0 is inside
  EXPECT_EQ(coverage[1], 255);
  // A triangle's area is conserved overall: 8 px² of 16.
  b.PolygonCoverage({{0, 0}, {4, 0}, {0, 4}}, coverage);
  double sum = 0;
  for (uint8_t c : coverage) sum += c / 255.0;
  EXPECT_NEAR(sum, 8.0, 0.1);
}
