// Golden image of the built-in text engine: a sheet of samples must match
// tests/golden/text_builtin.png, so any change to glyphs, metrics or
// placement is noticed (see golden.h).
#include <gtest/gtest.h>

#include "golden.h"
#include "render/graphics_common.h"

namespace {

TBitmap32 SampleSheet() {
  TBitmap32 b(260, 150);
  b.Clear(0xFF202428);
  const TRect all = b.BoundsRect();
  b.Font.Height = -12;
  DrawTextWithBackground(b, all, 6, 4, "CPU 45.5 \xC2\xB0" "C 1234 MHz", 0xFFFFFFFF, 0, tbOff, true);
  DrawTextWithBackground(b, all, 6, 20, "Textout gjpqy |{}", 0xFFFFD040, 0, tbOff, false);
  b.Font.Bold = true;
  DrawTextWithBackground(b, all, 10, 38, "Bold 62%", 0xFFFFFFFF, 0xC0A03030, tbRect, true);
  b.Font.Bold = false;
  b.Font.Italic = true;
  DrawTextWithBackground(b, all, 100, 38, "Italic", 0xFFFFFFFF, 0xFF000000, tbOutline, true);
  b.Font.Italic = false;
  b.Font.Height = -9;
  DrawTextWithBackground(b, all, 6, 58, "!\"#$%&'()*+,-./:;<=>?@[\\]^_`~ \xC2\xB5\xC2\xB2\xE2\x82\xAC\xE4\xB8\xAD", 0xFFE0E0E0, 0, tbOff, true);
  b.Font.Height = -20;
  DrawTextWithBackground(b, all, 6, 74, "Quendal", 0x80FFFFFF, 0, tbOff, true);
  b.Font.Height = -12;
  b.Font.Orientation = 900;
  DrawTextWithBackground(b, all, 210, 140, "Upward", 0xFFFFFFFF, 0xC0306090, tbRect, true);
  DrawTextWithBackground(b, {0, 0, 260, 120}, 232, 140, "Clipped", 0xFF80FF80, 0xFF000000, tbOutline, false);
  return b;
}

}  // namespace

TEST(TextGolden, BuiltinEngineSampleSheetMatchesTheGoldenImage) {
  ExpectMatchesGolden(SampleSheet(), "text_builtin");
}
