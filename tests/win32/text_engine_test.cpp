// The GDI text engine under a real GDI: extents, aliased and anti-aliased
// drawing into the bitmap, rotated placement, and no GDI objects left behind.
#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>
#if defined(__GNUC__)
// mingw's inline NtCurrentTeb reads gs:[0x30], which GCC takes for an array access.
#pragma GCC diagnostic ignored "-Warray-bounds"
#endif

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "render/graphics_common.h"
#include "render/text_engine_win32.h"

namespace {

TQD_Font FontOf(int AHeight, int AOrientation = 0) {
  TQD_Font f;
  f.Name = "Tahoma";  // present in Wine's fonts; Segoe UI falls back there
  f.Height = AHeight;
  f.Orientation = AOrientation;
  return f;
}

// The bounding box of pixels that differ from ABack; empty when none do.
TRect InkBox(const TBitmap32& B, TColor32 ABack) {
  TRect r{B.Width(), B.Height(), 0, 0};
  for (int y = 0; y < B.Height(); ++y)
    for (int x = 0; x < B.Width(); ++x)
      if (B.Pixel(x, y) != ABack) {
        r.Left = std::min(r.Left, x), r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1), r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

// GDI objects of this process. Wine's GetGuiResources is a stub returning 0,
// so then the shared handle table the PEB points to (the same 24-byte cells
// on Windows and Wine, 65536 of them) is counted instead: every cell with a
// type is a live object. The tests check this counter sees objects appear.
DWORD GdiObjectCount() {
  if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  const auto* peb = reinterpret_cast<const uint8_t*>(NtCurrentTeb()->ProcessEnvironmentBlock);
  const uint8_t* table = *reinterpret_cast<const uint8_t* const*>(peb + 0xF8);  // GdiSharedHandleTable
  if (!table) return 0;
  struct TCell {
    uint64_t Object;
    uint16_t ProcessId, Count, Unique;
    uint8_t Type, Flags;
    uint64_t User;
  };
  static_assert(sizeof(TCell) == 24);
  DWORD n = 0;
  for (size_t i = 0; i < 0x10000; ++i) n += reinterpret_cast<const TCell*>(table)[i].Type != 0;
  return n;
}

}  // namespace

TEST(GdiTextEngine, ExtentsAreNonZeroAndGrowWithSizeLengthAndWeight) {
  TQD_GdiTextEngine e;
  const TSize small = e.TextExtent(FontOf(-12), "CPU 45 \xC2\xB0" "C");
  const TSize large = e.TextExtent(FontOf(-24), "CPU 45 \xC2\xB0" "C");
  EXPECT_GT(small.cx, 0);
  EXPECT_GT(small.cy, 0);
  EXPECT_GT(large.cx, small.cx);
  EXPECT_GT(large.cy, small.cy);
  EXPECT_GT(e.TextExtent(FontOf(-12), "CPU 45 \xC2\xB0" "C  1234").cx, small.cx);
  // Rotated fonts still report the width along the baseline.
  const TSize rotated = e.TextExtent(FontOf(-12, 900), "CPU 45 \xC2\xB0" "C");
  EXPECT_NEAR(rotated.cx, small.cx, 1);
  EXPECT_NEAR(rotated.cy, small.cy, 1);
  // An empty text is a line of the font's height and no width.
  const TSize empty = e.TextExtent(FontOf(-12), "");
  EXPECT_EQ(empty.cx, 0);
  EXPECT_EQ(empty.cy, small.cy);
}

TEST(GdiTextEngine, TextoutWritesOpaqueFontColourInsideTheClipOnly) {
  TQD_GdiTextEngine e;
  TBitmap32 b(120, 40);
  b.Font = FontOf(-16);
  b.Font.Color = 0x00336699;  // 0x00BBGGRR: red 0x99, green 0x66, blue 0x33
  const TRect clip{10, 0, 60, 40};
  e.Textout(b, 4, 4, clip, "HHHHHHHHHHHH");
  int drawn = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const TColor32 p = b.Pixel(x, y);
      if (p == 0) continue;
      ++drawn;
      // GDI writes alpha 0; every written pixel must come out opaque.
      ASSERT_EQ(p, 0xFF996633u) << x << "," << y;
      ASSERT_TRUE(x >= clip.Left && x < clip.Right) << x;
    }
  EXPECT_GT(drawn, 50);
}

TEST(GdiTextEngine, RenderTextBlendsWithCoverageAndAlpha) {
  TQD_GdiTextEngine e;
  TBitmap32 b(160, 40);
  b.Font = FontOf(-20);
  b.Clear(0xFF000000);
  e.RenderText(b, 2, 2, "Quendal", 0xFFFFFFFF);
  int full = 0, partial = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const uint8_t g = GreenComponent(b.Pixel(x, y));
      ASSERT_EQ(AlphaComponent(b.Pixel(x, y)), 255);
      full += g == 255;
      partial += g > 0 && g < 255;
    }
  EXPECT_GT(full, 20);
  EXPECT_GT(partial, 20);  // anti-aliased edges
  // The ink lies inside the measured extent at the origin (a pixel of overhang allowed).
  const TSize ext = e.TextExtent(b.Font, "Quendal");
  const TRect ink = InkBox(b, 0xFF000000);
  EXPECT_GE(ink.Left, 2 - 1);
  EXPECT_GE(ink.Top, 2);
  EXPECT_LE(ink.Right, 2 + ext.cx + 1);
  EXPECT_LE(ink.Bottom, 2 + ext.cy);
  EXPECT_GT(ink.Width(), ext.cx / 2);

  // Half-transparent white over transparent black never becomes opaque.
  TBitmap32 t(160, 40);
  t.Font = FontOf(-20);
  e.RenderText(t, 2, 2, "Quendal", 0x80FFFFFF);
  int inked = 0;
  for (int y = 0; y < t.Height(); ++y)
    for (int x = 0; x < t.Width(); ++x) {
      const TColor32 p = t.Pixel(x, y);
      ASSERT_LE(AlphaComponent(p), 0x80);
      inked += AlphaComponent(p) > 0;
    }
  EXPECT_GT(inked, 20);
}

TEST(GdiTextEngine, RotatedTextLiesAboveTheOriginRunningUp) {
  TQD_GdiTextEngine e;
  TBitmap32 b(60, 200);
  b.Font = FontOf(-16, 900);
  const char* text = "Rotated text";
  const TSize ext = e.TextExtent(b.Font, text);
  e.RenderText(b, 20, 150, text, 0xFFFFFFFF);
  const TRect ink = InkBox(b, 0);
  ASSERT_FALSE(ink.IsEmpty());
  // Taller than wide: the text runs vertically, within x [20, 20 + cy) and
  // y (150 - cx, 150], allowing a pixel or two of glyph overhang.
  EXPECT_GT(ink.Height(), ink.Width());
  EXPECT_GE(ink.Left, 20 - 2);
  EXPECT_LE(ink.Right, 20 + ext.cy + 2);
  EXPECT_GE(ink.Top, 150 - ext.cx - 2);
  EXPECT_LE(ink.Bottom, 151 + 2);
  EXPECT_GT(ink.Height(), ext.cx * 3 / 4);
}

TEST(GdiTextEngine, ThousandCallsLeaveTheGdiObjectCountUnchanged) {
  TQD_GdiTextEngine e;
  TBitmap32 b(200, 200);
  b.Font = FontOf(-14);
  TQD_Font rotated = FontOf(-14, 900);
  auto round = [&] {
    b.Font = FontOf(-14);
    e.TextExtent(b.Font, "42 \xC2\xB0" "C");
    e.Textout(b, 1, 1, b.BoundsRect(), "42 \xC2\xB0" "C");
    e.RenderText(b, 1, 20, "42 \xC2\xB0" "C", 0xC0FFFFFF);
    b.Font = rotated;
    e.RenderText(b, 150, 190, "42 \xC2\xB0" "C", 0xC0FFFFFF);
  };
  round();  // fonts and the scratch DIB are created once, on first use
  const DWORD before = GdiObjectCount();
  {
    // The counter itself must see objects come and go, or the check below proves nothing.
    TQD_BrushHandle probe1(CreateSolidBrush(RGB(1, 2, 3)));
    TQD_PenHandle probe2(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    ASSERT_EQ(GdiObjectCount(), before + 2);
  }
  ASSERT_EQ(GdiObjectCount(), before);
  for (int i = 0; i < 1000; ++i) round();
  EXPECT_EQ(GdiObjectCount(), before);
  EXPECT_EQ(e.CachedFontCount(), 3u);  // (14, aliased), (14, anti-aliased), (14 rotated, anti-aliased)
}

TEST(GdiTextEngine, FontCacheStaysBoundedWhenSizesVary) {
  TQD_GdiTextEngine e;
  TBitmap32 b(100, 40);
  b.Font = FontOf(-10);
  // Fitting a size measures many heights: the cache must not keep them all.
  for (int h = 1; h <= 300; ++h) e.TextExtent(FontOf(-h), "x");
  EXPECT_LE(e.CachedFontCount(), TQD_GdiTextEngine::kMaxCachedFonts);
  // And evicted fonts were deleted, not leaked.
  // (Another text: "x" would now come from the extent cache without a font.)
  const DWORD before = GdiObjectCount();
  for (int h = 1; h <= 300; ++h) e.TextExtent(FontOf(-h), "y");
  EXPECT_LE(GdiObjectCount(), before + 1);
}

TEST(GdiTextEngine, BitmapMethodsUseTheCurrentEngine) {
  TQD_GdiTextEngine e;
  TBitmap32 b(100, 40);
  b.Font = FontOf(-16);
  const TSize builtin = b.TextExtent("Quendal");
  SetCurrentTextEngine(&e);
  const TSize gdi = b.TextExtent("Quendal");
  SetCurrentTextEngine(nullptr);
  EXPECT_EQ(gdi, e.TextExtent(b.Font, "Quendal"));
  EXPECT_EQ(b.TextExtent("Quendal"), builtin);
}

// Masks come from the cache on a repeat: each draw, first or repeated, must
// equal the mask built afresh. Random input; QUENDAL_TEST_SEED replays a run.
TEST(GdiTextEngine, CachedDrawingIsExactlyTheUncachedDrawing) {
  const char* env = std::getenv("QUENDAL_TEST_SEED");
  const unsigned seed = env ? static_cast<unsigned>(std::strtoul(env, nullptr, 10)) : std::random_device{}();
  std::printf("gdi text cache: QUENDAL_TEST_SEED=%u\n", seed);
  std::mt19937 rng(seed);
  auto pick = [&](int ALow, int AHigh) { return std::uniform_int_distribution<int>(ALow, AHigh)(rng); };
  const char* texts[] = {"42 \xC2\xB0" "C", "Core 0", "1,234.5 MB/s", "Package: intel-hybrid", "", "Wf/j"};
  TQD_GdiTextEngine cached, reference;
  TBitmap32 a(120, 80), b(120, 80);
  TQD_TextMask mask;
  for (int i = 0; i < 300; ++i) {
    a.Clear(0xFF203040);
    b.Clear(0xFF203040);
    TQD_Font f = FontOf(-pick(8, 20), pick(0, 3) == 0 ? 900 : 0);
    f.Bold = pick(0, 1);
    f.Color = rng() & 0xFFFFFF;
    a.Font = b.Font = f;
    const char* text = texts[pick(0, 5)];
    const int x = pick(-10, 100), y = pick(0, 79);
    if (pick(0, 1)) {
      cached.Textout(a, x, y, a.BoundsRect(), text);
      if (reference.BuildMask(f, text, false, mask))
        WriteTextMask(b, mask, x, y, b.BoundsRect(), WinColorToColor32(f.Color), 128);
    } else {
      const TColor32 color = static_cast<TColor32>(rng());
      cached.RenderText(a, x, y, text, color);
      if (reference.BuildMask(f, text, true, mask)) BlendTextMask(b, mask, x, y, color);
    }
    ASSERT_EQ(0, std::memcmp(a.Bits(), b.Bits(), 120 * 80 * sizeof(TColor32))) << "draw " << i << " \"" << text << "\"";
    EXPECT_EQ(cached.TextExtent(f, text), reference.TextExtent(f, text));
  }
}

namespace {

// GDI's own extent of AText in AFont, measured here rather than by the engine.
TSize GdiExtent(const TQD_Font& AFont, const std::wstring& AText) {
  LOGFONTW lf{};
  lf.lfHeight = AFont.Height;
  lf.lfEscapement = lf.lfOrientation = AFont.Orientation;
  lf.lfWeight = AFont.Bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = AFont.Italic;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  lf.lfQuality = ANTIALIASED_QUALITY;
  const std::wstring face = Utf8ToWide(AFont.Name);
  std::copy_n(face.c_str(), face.size() + 1, lf.lfFaceName);
  TQD_FontHandle font(CreateFontIndirectW(&lf));
  TQD_MemoryDC dc(CreateCompatibleDC(nullptr));
  TQD_SelectObjectScope selected(dc.Get(), font.Get());
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), AText.c_str(), static_cast<int>(AText.size()), &size);
  return {size.cx, size.cy};
}

struct TGlyphFontCase {
  const char* Face;
  int Height;
  bool Bold, Italic;
};

// Faces Wine has or maps (Segoe UI, the bitmaps' default, falls back), the
// sizes the program draws in, and italics, whose overhangs make glyphs meet.
const TGlyphFontCase kGlyphFonts[] = {
    {"Tahoma", -9, false, false},      {"Tahoma", -11, false, false},   {"Tahoma", -12, true, false},
    {"Tahoma", -16, false, false},     {"Tahoma", -20, true, false},    {"Tahoma", -28, false, false},
    {"Segoe UI", -11, false, false},   {"Segoe UI", -12, false, true},  {"Segoe UI", -16, true, true},
    {"Segoe UI", -20, false, false},   {"Arial", -12, false, false},    {"Arial", -28, false, true},
    {"Times New Roman", -16, false, true}, {"Times New Roman", -20, true, false},
    {"DejaVu Sans", -11, false, false}, {"DejaVu Sans", -28, true, true},
    {"Bahnschrift Condensed", -17, false, false}, {"Bahnschrift Condensed", -23, false, false},
};

// Readings as the panels show them, pairs that kern or join in other
// engines, overhanging italics and every plain code point once.
std::vector<std::string> GlyphTexts() {
  std::vector<std::string> texts = {"45.5 \xC2\xB0" "C", "1234 MHz", "12.3 W", "1.234 V", "250 \xC2\xB5" "s",
                                    "09.12.2026 03:14:15", "  100 %  ", "ff fi fl", "Tj", "W.", "VAT", "AVAWAY",
                                    "f/j", "\"quoted\" [x]{y}", "\xC3\x86\xC3\x98\xC3\x85 \xC3\x9F\xC3\xBF",
                                    "a\xE2\x80\x93" "b\xE2\x80\x94" "c\xE2\x80\xA6", "\xC2\xA0\xC2\xAD",
                                    "\xE2\x96\xB2  0 KiB/s", "\xE2\x96\xBC 12 MiB/s"};
  std::string ascii, latin1;
  for (char c = 0x20; c < 0x7F; ++c) ascii += c;
  for (int c = 0xA0; c <= 0xFF; ++c) latin1 += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
  texts.push_back(ascii);
  texts.push_back(latin1);
  return texts;
}

}  // namespace

// Composed masks must be BuildMask's to the last byte, and composed extents
// GDI's, in every font of the table, with glyphs just built or cached; the
// table needs more glyphs than the engine keeps, so its glyph cache is also
// emptied on the way.
TEST(GdiTextEngine, ComposedMasksAndExtentsAreExactlyGdis) {
  TQD_GdiTextEngine composer, reference;
  TQD_TextMask composed, built;
  int composedMasks = 0, refusedMasks = 0;
  for (int pass = 0; pass < 2; ++pass)
    for (const TGlyphFontCase& fc : kGlyphFonts)
      for (const std::string& text : GlyphTexts())
        for (bool aa : {false, true}) {
          TQD_Font f;
          f.Name = fc.Face;
          f.Height = fc.Height;
          f.Bold = fc.Bold;
          f.Italic = fc.Italic;
          SCOPED_TRACE(::testing::Message() << fc.Face << " " << fc.Height << (fc.Bold ? " bold" : "")
                                            << (fc.Italic ? " italic" : "") << (aa ? " aa" : " aliased") << " \""
                                            << text << "\" pass " << pass);
          TSize extent;
          for (int orientation : {0, 900}) {
            f.Orientation = orientation;
            ASSERT_TRUE(composer.ComposeExtent(f, text, extent)) << orientation;
            ASSERT_EQ(extent, GdiExtent(f, Utf8ToWide(text))) << orientation;
          }
          f.Orientation = 0;
          if (!composer.ComposeMask(f, text, aa, composed)) {
            ++refusedMasks;
            continue;
          }
          ++composedMasks;
          ASSERT_TRUE(reference.BuildMask(f, text, aa, built));
          ASSERT_EQ(composed.Left, built.Left);
          ASSERT_EQ(composed.Top, built.Top);
          ASSERT_EQ(composed.Width, built.Width);
          ASSERT_EQ(composed.Height, built.Height);
          for (int j = 0; j < built.Height; ++j)
            for (int i = 0; i < built.Width; ++i)
              ASSERT_EQ(composed.At(i, j), built.At(i, j)) << "at " << i << "," << j;
        }
  std::printf("glyph composition: %d masks composed, %d refused\n", composedMasks, refusedMasks);
  // Both ways were taken: most masks composed, and the table holds texts
  // whose glyphs meet ("Tj" in bold, italics), which must have been refused.
  EXPECT_GT(composedMasks, refusedMasks);
  EXPECT_GT(refusedMasks, 0);
}

// Readings in upright plain text are composed, and extents of rotated ones;
// what GDI might shape, reorder or combine, and rotated masks, are left to it.
TEST(GdiTextEngine, OnlyPlainTextIsComposed) {
  struct TCase {
    const char* Text;
    int Orientation;
    bool Mask, Extent;
  } cases[] = {
      {"45.5 \xC2\xB0" "C", 0, true, true},
      {"\xE2\x96\xB2 1234 MHz", 0, true, true},
      {"45.5 \xC2\xB0" "C", 900, false, true},                // rotated
      {"", 0, false, false},                                    // nothing to compose
      {"e\xCC\x81", 0, false, false},                           // combining acute accent
      {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D 1", 0, false, false},  // Hebrew, right to left
      {"\xE2\x86\x92 5", 0, false, false},                      // an arrow outside the plain ranges
      {"tab\there", 0, false, false},                           // a control character
      {"\xC3", 0, false, false},                                // malformed UTF-8
  };
  TQD_GdiTextEngine e;
  TQD_TextMask mask;
  for (const TCase& c : cases) {
    TQD_Font f = FontOf(-12, c.Orientation);
    TSize extent;
    EXPECT_EQ(e.ComposeMask(f, c.Text, true, mask), c.Mask) << c.Text;
    EXPECT_EQ(e.ComposeExtent(f, c.Text, extent), c.Extent) << c.Text;
  }
}
