// Golden image of the built-in text engine: a sheet of samples must match
// tests/golden/text_builtin.png within a small per-channel tolerance, so any
// change to glyphs, metrics or placement is noticed. Regenerate deliberately
// with QUENDAL_UPDATE_GOLDEN=1 and look at the PNG before committing it; a
// mismatch leaves the new rendering beside the golden as text_builtin.png.new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "graphics_common.h"
#include "png_reader.h"
#include "png_writer.h"

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
  const char* root = std::getenv("QUENDAL_SOURCE_DIR");
  ASSERT_NE(root, nullptr) << "QUENDAL_SOURCE_DIR is not set (ctest sets it)";
  const std::string path = std::string(root) + "/tests/golden/text_builtin.png";
  const TBitmap32 sheet = SampleSheet();
  if (std::getenv("QUENDAL_UPDATE_GOLDEN")) {
    std::string error;
    ASSERT_TRUE(WritePngFile(sheet, path, &error)) << error;
  }
  TBitmap32 golden;
  std::string error;
  ASSERT_TRUE(ReadStoredPngFile(path, golden, &error)) << error;
  ASSERT_EQ(golden.Width(), sheet.Width());
  ASSERT_EQ(golden.Height(), sheet.Height());
  int worst = 0, differing = 0;
  for (int y = 0; y < sheet.Height(); ++y)
    for (int x = 0; x < sheet.Width(); ++x) {
      const TColor32 a = sheet.Pixel(x, y), g = golden.Pixel(x, y);
      int d = 0;
      for (int s = 0; s <= 24; s += 8) d = std::max(d, std::abs(int((a >> s) & 0xFF) - int((g >> s) & 0xFF)));
      worst = std::max(worst, d);
      differing += d > 2;
    }
  if (differing) WritePngFile(sheet, path + ".new");
  EXPECT_EQ(differing, 0) << "worst channel difference " << worst << "; see " << path << ".new";
}
