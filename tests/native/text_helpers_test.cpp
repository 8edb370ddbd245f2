// Text placement and fitting helpers and the corner-preference mapping.
#include <gtest/gtest.h>

#include "render/graphics_common.h"
#include "render/text_engine.h"

namespace {

// Records every drawing call; extents are 10 px per character by |Height|.
class TRecordingEngine : public TQD_TextEngine {
 public:
  struct TCall {
    bool Antialiased;
    int X, Y;
    TColor32 Color;  // RenderText's colour, or Textout's font colour as ARGB
    TRect Clip;
    friend bool operator==(const TCall&, const TCall&) = default;
  };
  std::vector<TCall> Calls;
  TSize TextExtent(const TQD_Font& AFont, std::string_view AText) override {
    const int h = AFont.Height < 0 ? -AFont.Height : AFont.Height;
    return {static_cast<int>(AText.size()) * h, h * 2};
  }
  void Textout(TBitmap32& B, int X, int Y, const TRect& AClip, std::string_view) override {
    Calls.push_back({false, X, Y, WinColorToColor32(B.Font.Color), AClip});
  }
  void RenderText(TBitmap32&, int X, int Y, std::string_view, TColor32 AColor) override {
    Calls.push_back({true, X, Y, AColor, {}});
  }
};

// Installs an engine for one test.
struct TEngineScope {
  explicit TEngineScope(TQD_TextEngine& E) { SetCurrentTextEngine(&E); }
  ~TEngineScope() { SetCurrentTextEngine(nullptr); }
};

}  // namespace

TEST(TextHelpers, OrientedExtentAndBackgroundRectFollowTheOrientation) {
  TBitmap32 b(10, 10);
  b.Font.Height = -12;
  const TSize e = b.TextExtent("45.5 \xC2\xB0" "C");  // built-in: (7 × 7, 15)
  ASSERT_EQ(e, (TSize{49, 15}));
  EXPECT_EQ(GetOrientedTextExtent(b, "45.5 \xC2\xB0" "C"), e);
  EXPECT_EQ(GetTextBackgroundRect(b, "45.5 \xC2\xB0" "C", 20, 30), (TRect{16, 30, 73, 45}));
  b.Font.Orientation = 900;
  EXPECT_EQ(GetOrientedTextExtent(b, "45.5 \xC2\xB0" "C"), (TSize{15, 49}));
  // Upward text: 4 px below y, cx + 4 above it, cy to the right.
  EXPECT_EQ(GetTextBackgroundRect(b, "45.5 \xC2\xB0" "C", 20, 100), (TRect{20, 100 - 49 - 4, 35, 104}));
  // The rect covers what RenderText inks, both ways.
  for (int o : {0, 900}) {
    TBitmap32 c(120, 120);
    c.Font.Orientation = o;
    c.RenderText(40, 90, "Wg|", 0xFFFFFFFF);
    const TRect r = GetTextBackgroundRect(c, "Wg|", 40, 90);
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 120; ++x)
        if (c.Pixel(x, y)) {
          ASSERT_TRUE(x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) << o;
        }
  }
}

TEST(TextHelpers, FitFontSizeGrowsKeepsOrShrinks) {
  TRecordingEngine rec;  // extent (len × px, 2 × px) with px = |Height|
  TEngineScope scope(rec);
  TBitmap32 b(10, 10);
  b.Font.SetSize(9);  // 12 px: "abcd" is 48 × 24
  const TQD_Font before = b.Font;
  // Exact fit, no margin: unchanged.
  EXPECT_EQ(FitFontSize(b, "abcd", {0, 0, 48, 24}, 0), 9);
  // Margin 60 counts as 50%: a rect twice the text still fits exactly.
  EXPECT_EQ(FitFontSize(b, "abcd", {0, 0, 96, 48}, 60), 9);
  EXPECT_EQ(FitFontSize(b, "abcd", {0, 0, 96, 48}, 50), 9);
  EXPECT_LT(FitFontSize(b, "abcd", {0, 0, 95, 48}, 50), 9);
  // Room to spare: the largest size that still fits. 30 pt = 40 px → 160 × 80.
  EXPECT_EQ(FitFontSize(b, "abcd", {0, 0, 160, 80}, 0), 30);
  EXPECT_EQ(FitFontSize(b, "abcd", {0, 0, 163, 82}, 0), 30);  // 31 pt = 41 px needs 164
  // Too small: shrinks to the first size that fits. 6 pt = 8 px → 32 × 16.
  EXPECT_EQ(FitFontSize(b, "abcd", {0, 0, 33, 17}, 0), 6);
  // Nothing fits: the floor, size 1.
  EXPECT_EQ(FitFontSize(b, "abcd", {0, 0, 2, 2}, 0), 1);
  EXPECT_EQ(FitFontSize(b, "abcd", {10, 10, 5, 5}, 0), 1);  // inverted rect
  // Rotated fonts are fitted as they lie on screen: 24 wide and 48 tall.
  b.Font.Orientation = 900;
  EXPECT_EQ(FitFontSize(b, "abcd", {0, 0, 24, 48}, 0), 9);
  b.Font.Orientation = 0;
  EXPECT_EQ(b.Font, before);  // the font is restored every time
  EXPECT_TRUE(rec.Calls.empty());
}

TEST(TextHelpers, FitFontSizeWithTheBuiltinEngineFitsAndTheNextSizeDoesNot) {
  TBitmap32 b(10, 10);
  const TRect cell{0, 0, 150, 40};
  const int s = FitFontSize(b, "CPU 45 \xC2\xB0" "C", cell, 20);
  EXPECT_GT(s, 9);
  TBitmap32 m(10, 10);
  m.Font.SetSize(s);
  TSize e = m.TextExtent("CPU 45 \xC2\xB0" "C");
  EXPECT_LE(e.cx + 30, 150);  // margins 30 and 8
  EXPECT_LE(e.cy + 8, 40);
  m.Font.SetSize(s + 1);
  e = m.TextExtent("CPU 45 \xC2\xB0" "C");
  EXPECT_TRUE(e.cx + 30 > 150 || e.cy + 8 > 40);
  EXPECT_EQ(b.Font, TQD_Font{});
}

TEST(TextHelpers, FitFontSizeStopsWhenTheEngineStopsGrowing) {
  // A broken engine whose text never grows must not hang the search upward.
  struct TConstant : TRecordingEngine {
    TSize TextExtent(const TQD_Font&, std::string_view) override { return {5, 5}; }
  } constant;
  TEngineScope scope(constant);
  TBitmap32 b(10, 10);
  EXPECT_EQ(FitFontSize(b, "x", {0, 0, 100, 100}, 0), kMaxFitFontSize);
}

TEST(TextHelpers, DrawTextWithBackgroundOutlineDrawsFourOffsetsThenTheText) {
  TRecordingEngine rec;
  TEngineScope scope(rec);
  TBitmap32 b(60, 60);
  const TRect clip{1, 2, 50, 40};
  using TCall = TRecordingEngine::TCall;
  DrawTextWithBackground(b, clip, 20, 10, "x", 0xFF112233, 0x80445566, tbOutline, true);
  EXPECT_EQ(rec.Calls, (std::vector<TCall>{{true, 19, 10, 0x80445566, {}},
                                           {true, 21, 10, 0x80445566, {}},
                                           {true, 20, 9, 0x80445566, {}},
                                           {true, 20, 11, 0x80445566, {}},
                                           {true, 20, 10, 0xFF112233, {}}}));
  // Aliased: Textout in the colours without alpha, clipped, font colour left at the text's.
  rec.Calls.clear();
  DrawTextWithBackground(b, clip, 20, 10, "x", 0x80112233, 0x80445566, tbOutline, false);
  EXPECT_EQ(rec.Calls, (std::vector<TCall>{{false, 19, 10, 0xFF445566, clip},
                                           {false, 21, 10, 0xFF445566, clip},
                                           {false, 20, 9, 0xFF445566, clip},
                                           {false, 20, 11, 0xFF445566, clip},
                                           {false, 20, 10, 0xFF112233, clip}}));
  EXPECT_EQ(b.Font.Color, 0x00332211u);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) ASSERT_EQ(b.Pixel(x, y), 0u);  // an outline fills nothing
}

TEST(TextHelpers, DrawTextWithBackgroundRectFillsBehindTheTextOnly) {
  TBitmap32 b(80, 80);
  b.Clear(0xFF000000);
  b.Font.Height = -12;  // built-in: "ab" is 14 × 15
  DrawTextWithBackground(b, b.BoundsRect(), 10, 20, "ab", 0xFFFFFFFF, 0x80FF0000, tbRect, true);
  // The padded rect (6, 20)-(28, 35) is blended red; outside it nothing changed.
  EXPECT_EQ(b.Pixel(6, 20), BlendPixel(0x80FF0000, 0xFF000000));
  EXPECT_EQ(b.Pixel(27, 34), BlendPixel(0x80FF0000, 0xFF000000));
  EXPECT_EQ(b.Pixel(5, 20), 0xFF000000u);
  EXPECT_EQ(b.Pixel(28, 34), 0xFF000000u);
  EXPECT_EQ(b.Pixel(10, 35), 0xFF000000u);
  // And the text is drawn over it in white.
  int white = 0;
  for (int y = 20; y < 35; ++y)
    for (int x = 10; x < 24; ++x) white += b.Pixel(x, y) == 0xFFFFFFFF;
  EXPECT_GT(white, 10);

  TRecordingEngine rec;
  TEngineScope scope(rec);
  DrawTextWithBackground(b, b.BoundsRect(), 3, 4, "x", 0xFF010203, 0xFF040506, tbOff, true);
  EXPECT_EQ(rec.Calls, (std::vector<TRecordingEngine::TCall>{{true, 3, 4, 0xFF010203, {}}}));
}

TEST(WindowCorners, OnlyTheThreeKnownPreferencesPass) {
  EXPECT_EQ(WindowCornerPreferenceValue(0), 0);
  EXPECT_EQ(WindowCornerPreferenceValue(1), 1);
  EXPECT_EQ(WindowCornerPreferenceValue(2), 2);
  EXPECT_EQ(WindowCornerPreferenceValue(3), 3);
  EXPECT_EQ(WindowCornerPreferenceValue(4), 0);
  EXPECT_EQ(WindowCornerPreferenceValue(7), 0);
  EXPECT_EQ(WindowCornerPreferenceValue(255), 0);
}
