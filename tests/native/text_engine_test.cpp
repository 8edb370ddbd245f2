// The built-in text engine: its documented metrics, what Textout and
// RenderText write where, rotation, glyph coverage and UTF-8 handling.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <set>

#include "render/text_engine.h"
#include "render/text_engine_builtin.h"

namespace {

TQD_Font FontOf(int AHeight, bool ABold = false, int AOrientation = 0) {
  TQD_Font f;
  f.Height = AHeight;
  f.Bold = ABold;
  f.Orientation = AOrientation;
  return f;
}

// Bounding box of the pixels that differ from ABack; empty when none do.
TRect InkBox(const TBitmap32& B, TColor32 ABack = 0) {
  TRect r{B.Width(), B.Height(), 0, 0};
  for (int y = 0; y < B.Height(); ++y)
    for (int x = 0; x < B.Width(); ++x)
      if (B.Pixel(x, y) != ABack) {
        r.Left = std::min(r.Left, x), r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1), r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

std::vector<uint8_t> Mask(const TQD_Font& AFont, std::string_view AText, bool ASnap = false) {
  TQD_BuiltinTextEngine e;
  TQD_TextMask m;
  e.BuildMask(AFont, AText, ASnap, m);
  return m.Coverage;
}

}  // namespace

TEST(Font, SizeAndHeightConvertAt96DpiWithPlatformRounding) {
  TQD_Font f;
  EXPECT_EQ(f.Height, -12);
  EXPECT_EQ(f.Size(), 9);
  f.SetSize(10);
  EXPECT_EQ(f.Height, -13);  // 13.33 rounds to 13
  EXPECT_EQ(f.Size(), 10);   // 9.75 rounds to 10
  f.SetSize(8);
  EXPECT_EQ(f.Height, -11);  // 10.67 rounds to 11
  f.SetSize(9);
  EXPECT_EQ(f.Height, -12);
  f.Height = -14;  // 10.5 points: half away from zero, as MulDiv
  EXPECT_EQ(f.Size(), 11);
  EXPECT_EQ(QD_MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(QD_MulDiv(3, 1, 2), 2);
  EXPECT_EQ(QD_MulDiv(5, 7, 0), -1);
  EXPECT_EQ(QD_MulDiv(2000000000, 3, 4), 1500000000);  // no 32-bit overflow in between
}

TEST(BuiltinTextEngine, MetricsFollowTheDocumentedFormulas) {
  using M = TQD_BuiltinTextEngine;
  EXPECT_EQ(M::Metrics(FontOf(-12)).Em, 12);
  EXPECT_EQ(M::Metrics(FontOf(-12)).Advance, 7);   // round(7.2)
  EXPECT_EQ(M::Metrics(FontOf(-12)).Cell, 15);
  EXPECT_EQ(M::Metrics(FontOf(-12, true)).Advance, 8);
  EXPECT_EQ(M::Metrics(FontOf(20)).Cell, 20);      // positive: the cell height itself
  EXPECT_EQ(M::Metrics(FontOf(20)).Em, 16);
  EXPECT_EQ(M::Metrics(FontOf(-1)).Advance, 1);    // never zero wide
  EXPECT_EQ(M::Metrics(FontOf(-1)).Cell, 1);
  EXPECT_EQ(M::Metrics(FontOf(0)).Em, 12);

  TQD_BuiltinTextEngine e;
  const TSize one = e.TextExtent(FontOf(-12), "CPU");
  EXPECT_EQ(one, (TSize{21, 15}));
  EXPECT_GT(e.TextExtent(FontOf(-12), "CPU 45").cx, one.cx);
  EXPECT_GT(e.TextExtent(FontOf(-16), "CPU").cx, one.cx);
  EXPECT_EQ(e.TextExtent(FontOf(-12, true), "CPU").cx, one.cx + 3);  // bold adds a pixel per character
  EXPECT_EQ(e.TextExtent(FontOf(-12, false, 900), "CPU"), one);    // along the baseline when rotated
  EXPECT_EQ(e.TextExtent(FontOf(-12), ""), (TSize{0, 15}));
  // Width counts code points, not bytes: "°C" is two characters.
  EXPECT_EQ(e.TextExtent(FontOf(-12), "\xC2\xB0" "C").cx, 14);
}

TEST(BuiltinTextEngine, BitmapMethodsGoThroughTheCurrentEngine) {
  // An engine that reports one fixed extent shows whose metrics the bitmap used.
  struct TFixed : TQD_TextEngine {
    TSize TextExtent(const TQD_Font&, std::string_view) override { return {123, 45}; }
    void Textout(TBitmap32& B, int X, int Y, const TRect&, std::string_view) override { B.SetPixel(X, Y, 1); }
    void RenderText(TBitmap32& B, int X, int Y, std::string_view, TColor32 C) override { B.SetPixel(X, Y, C); }
  } fixed;
  TBitmap32 b(10, 10);
  EXPECT_EQ(b.TextWidth("abc"), 21);
  SetCurrentTextEngine(&fixed);
  EXPECT_EQ(b.TextWidth("abc"), 123);
  EXPECT_EQ(b.TextHeight("abc"), 45);
  b.RenderText(2, 3, "x", 0xFF00FF00);
  SetCurrentTextEngine(nullptr);
  EXPECT_EQ(b.Pixel(2, 3), 0xFF00FF00u);
  EXPECT_EQ(b.TextWidth("abc"), 21);
  EXPECT_EQ(&CurrentTextEngine(), &BuiltinTextEngine());
}

TEST(BuiltinTextEngine, TextoutWritesOpaqueFontColourOnlyInsideClipAndBitmap) {
  TBitmap32 b(80, 30);
  b.Clear(0x11223344);
  b.Font = FontOf(-16);
  b.Font.Color = 0x00336699;  // 0x00BBGGRR
  const TRect clip{10, 5, 40, 25};
  b.Textout(2, 2, clip, "MMMMMMMMMM");
  int drawn = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const TColor32 p = b.Pixel(x, y);
      if (p == 0x11223344) continue;
      ++drawn;
      ASSERT_EQ(p, 0xFF996633u) << x << "," << y;  // written, not blended
      ASSERT_TRUE(x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom) << x << "," << y;
    }
  EXPECT_GT(drawn, 40);
  // Partly or wholly off the bitmap, and with an empty clip: no crash, nothing outside.
  TBitmap32 s(8, 8);
  s.Font = FontOf(-30);
  s.Font.Color = 0xFFFFFF;
  s.Textout(-20, -10, {-100, -100, 100, 100}, "WWW");
  s.Textout(4, 4, {4, 4, 4, 10}, "WWW");
  EXPECT_FALSE(InkBox(s).IsEmpty());
  TBitmap32 e(8, 8);
  e.Font = s.Font;
  e.Textout(0, 0, {3, 3, 3, 3}, "WWW");
  EXPECT_TRUE(InkBox(e).IsEmpty());
}

TEST(BuiltinTextEngine, RenderTextBlendsByCoverageAndAlpha) {
  TBitmap32 b(120, 24);
  b.Font = FontOf(-12);
  b.RenderText(2, 2, "Quendal 45.5", 0x80FFFFFF);  // half-transparent over transparent black
  int full = 0, partial = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const uint8_t a = AlphaComponent(b.Pixel(x, y));
      ASSERT_LE(a, 0x80) << x << "," << y;  // never more opaque than the colour
      full += a == 0x80;
      partial += a > 0 && a < 0x80;
    }
  EXPECT_GT(full, 30);     // stroke interiors take the colour's own alpha
  EXPECT_GT(partial, 30);  // edges between pixels are anti-aliased

  // Opaque colour over an opaque background: alpha stays, grey edges appear.
  TBitmap32 o(120, 24);
  o.Clear(0xFF000000);
  o.Font = FontOf(-12);
  o.RenderText(2, 2, "Quendal 45.5", 0xFFFFFFFF);
  std::set<uint8_t> levels;
  for (int y = 0; y < o.Height(); ++y)
    for (int x = 0; x < o.Width(); ++x) {
      ASSERT_EQ(AlphaComponent(o.Pixel(x, y)), 255);
      levels.insert(GreenComponent(o.Pixel(x, y)));
    }
  EXPECT_GT(levels.size(), 4u);
  // A fully transparent colour changes nothing.
  TBitmap32 t = o;
  t.RenderText(2, 2, "Quendal", 0x00FF0000);
  EXPECT_EQ(std::memcmp(t.Bits(), o.Bits(), 4 * 120 * 24), 0);
}

TEST(BuiltinTextEngine, TextLiesInItsCell) {
  TBitmap32 b(100, 40);
  b.Font = FontOf(-16);
  const TSize ext = b.TextExtent("Hgjy|");
  b.RenderText(10, 5, "Hgjy|", 0xFFFFFFFF);
  const TRect ink = InkBox(b);
  EXPECT_GE(ink.Left, 10);
  EXPECT_GE(ink.Top, 5);
  EXPECT_LE(ink.Right, 10 + ext.cx);
  EXPECT_LE(ink.Bottom, 5 + ext.cy);
  EXPECT_GT(ink.Height(), ext.cy * 3 / 4);  // ascenders to descenders fill most of the cell
}

TEST(BuiltinTextEngine, RotatedTextRunsUpwardFromTheOrigin) {
  const char* text = "Rot 90";
  TBitmap32 flat(100, 100), up(100, 100);
  flat.Font = FontOf(-14);
  up.Font = FontOf(-14, false, 900);
  const TSize ext = up.TextExtent(text);
  flat.RenderText(0, 0, text, 0xFFFFFFFF);
  up.RenderText(30, 80, text, 0xFFFFFFFF);
  const TRect ink = InkBox(up);
  ASSERT_FALSE(ink.IsEmpty());
  // x in [X, X + cy), y in (Y - cx, Y].
  EXPECT_GE(ink.Left, 30);
  EXPECT_LE(ink.Right, 30 + ext.cy);
  EXPECT_GT(ink.Top, 80 - ext.cx);
  EXPECT_LE(ink.Bottom, 81);
  // Exactly the flat text turned a quarter counter-clockwise: flat pixel (i, j)
  // lands on (X + j, Y - i), so the first letter sits at the bottom.
  for (int j = 0; j < ext.cy; ++j)
    for (int i = 0; i < ext.cx; ++i) {
      const int a = AlphaComponent(flat.Pixel(i, j)), r = AlphaComponent(up.Pixel(30 + j, 80 - i));
      ASSERT_NEAR(a, r, 1) << i << "," << j;
    }
}

TEST(BuiltinTextEngine, GlyphsAreDistinctAndUnknownCodePointsDrawABox) {
  const TQD_Font f = FontOf(-14);
  std::set<std::vector<uint8_t>> seen;
  for (char c = 33; c <= 126; ++c) {
    const std::vector<uint8_t> m = Mask(f, std::string(1, c), true);
    EXPECT_TRUE(std::any_of(m.begin(), m.end(), [](uint8_t v) { return v != 0; })) << c;
    EXPECT_TRUE(seen.insert(m).second) << "glyph of '" << c << "' repeats another";
  }
  const auto blank = Mask(f, " ");
  EXPECT_TRUE(std::all_of(blank.begin(), blank.end(), [](uint8_t v) { return v == 0; }));
  const auto degree = Mask(f, "\xC2\xB0"), box = Mask(f, "\xE4\xB8\xAD"), o = Mask(f, "o");
  EXPECT_NE(degree, box);
  EXPECT_NE(degree, o);
  EXPECT_EQ(Mask(f, "\xF0\x9F\x98\x80"), box);  // any other code point: the same box
  EXPECT_EQ(Mask(f, "\xFF"), box);              // malformed bytes too
}

TEST(BuiltinTextEngine, BoldAndItalicChangeTheInk) {
  TQD_Font plain = FontOf(-14), bold = FontOf(-14, true), italic = FontOf(-14);
  italic.Italic = true;
  auto ink = [](const std::vector<uint8_t>& m) {
    long n = 0;
    for (uint8_t v : m) n += v;
    return n;
  };
  EXPECT_GT(ink(Mask(bold, "Hello")), ink(Mask(plain, "Hello")) * 5 / 4);
  EXPECT_NE(Mask(italic, "Hello"), Mask(plain, "Hello"));
  EXPECT_NEAR(ink(Mask(italic, "Hello")), ink(Mask(plain, "Hello")), ink(Mask(plain, "Hello")) / 20);
  // Descenders lean left of the cell; at the bitmap's left edge nothing is lost.
  EXPECT_NEAR(ink(Mask(italic, "j")), ink(Mask(FontOf(-14), "j")), 20);  // per-pixel rounding only
  TBitmap32 b(40, 30);
  b.Font = italic;
  b.RenderText(10, 5, "j", 0xFFFFFFFF);
  EXPECT_LT(InkBox(b).Left, 10);
}

TEST(BuiltinTextEngine, ExtremeHeightsAndLengthsStayBounded) {
  TQD_BuiltinTextEngine e;
  EXPECT_EQ(e.TextExtent(FontOf(INT_MIN), "x"), e.TextExtent(FontOf(-TQD_BuiltinTextEngine::kMaxFontHeight), "x"));
  EXPECT_EQ(e.TextExtent(FontOf(INT_MAX), "x").cy, TQD_BuiltinTextEngine::kMaxFontHeight);
  // A megabyte of text measures in full but draws only what a bitmap could show.
  const std::string longText(1 << 20, 'W');
  EXPECT_EQ(e.TextExtent(FontOf(-12), longText).cx, 7 << 20);
  TBitmap32 b(50, 20);
  b.Font = FontOf(-12);
  b.RenderText(0, 0, longText, 0xFFFFFFFF);
  EXPECT_EQ(InkBox(b).Right, 50);  // the visible part is drawn
  b.Font = FontOf(INT_MIN, true, 900);
  // Clamped to em 1024: the first glyph row starts 128 px right of X, and
  // the W's left stem runs 102 px up from Y.
  b.RenderText(-200, 19, "WW", 0xFF00FF00);
  EXPECT_EQ(b.Pixel(10, 19), 0xFF00FF00u);
  b.Textout(-200, 19, b.BoundsRect(), longText);
  EXPECT_EQ(b.Pixel(10, 19), 0xFF000000u);  // Textout writes the font's (default black) colour
}

TEST(Utf8, DecodesValidTextAndReplacesEachMalformedByte) {
  EXPECT_EQ(DecodeUtf8("A\xC2\xB0\xE2\x82\xAC\xF0\x9F\x98\x80"), (std::u32string{U'A', 0xB0, 0x20AC, 0x1F600}));
  EXPECT_EQ(DecodeUtf8(""), U"");
  EXPECT_EQ(DecodeUtf8("\xC0\xAF"), (std::u32string{0xFFFD, 0xFFFD}));             // overlong
  EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), (std::u32string(3, 0xFFFD)));             // surrogate
  EXPECT_EQ(DecodeUtf8("\xE2\x82"), (std::u32string{0xFFFD, 0xFFFD}));             // cut off at the end
  EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80"), (std::u32string(4, 0xFFFD)));         // past U+10FFFF
  EXPECT_EQ(DecodeUtf8("a\x80z"), (std::u32string{U'a', 0xFFFD, U'z'}));          // stray continuation
  EXPECT_EQ(DecodeUtf8(std::string_view("a\0b", 3)), (std::u32string{U'a', 0, U'b'}));
  // Counting agrees with decoding, malformed input included.
  for (const char* t : {"", "abc", "\xC2\xB0" "C", "\xE2\x82", "\xF0\x9F\x98\x80x", "\xC0\xAF\xED\xA0\x80\xFF"})
    EXPECT_EQ(CountCodePoints(t), DecodeUtf8(t).size()) << t;
}
