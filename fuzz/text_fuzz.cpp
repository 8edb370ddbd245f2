// Fuzzes the text path with arbitrary bytes as text (names and custom texts
// reach it from outside): UTF-8 decoding, measuring and drawing with the
// built-in engine in any font, orientation and position must stay inside
// the bitmap and agree with itself.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "render/graphics_common.h"
#include "render/text_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  if (ASize < 4) return 0;
  // Four bytes choose the font and the position; the rest is the text.
  TBitmap32 b(48, 32);
  b.Font.Height = static_cast<int8_t>(AData[0]);
  b.Font.Bold = AData[1] & 1;
  b.Font.Italic = AData[1] & 2;
  b.Font.Orientation = (AData[1] & 4) ? 900 : 0;
  b.Font.Color = 0x00FFFFFF;
  const int x = static_cast<int8_t>(AData[2]), y = static_cast<int8_t>(AData[3]);
  const std::string_view text(reinterpret_cast<const char*>(AData + 4), ASize - 4);

  const std::u32string cps = DecodeUtf8(text);
  if (cps.size() != CountCodePoints(text) || cps.size() > text.size()) __builtin_trap();
  for (char32_t c : cps)
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) __builtin_trap();

  const TSize e = b.TextExtent(text);
  if (e.cx < 0 || e.cy <= 0) __builtin_trap();
  b.RenderText(x, y, text, 0x80FFFFFF);
  DrawTextWithBackground(b, {x / 2, y / 2, 40, 30}, x, y, text, 0xFFFFFFFF, 0xFF000000, tbOutline, false);
  DrawTextWithBackground(b, b.BoundsRect(), x, y, text, 0xFFFFFFFF, 0x80000000, tbRect, true);
  if (!text.empty() && text.size() < 64) FitFontSize(b, text, {0, 0, 48, 32}, AData[1]);
  return 0;
}
