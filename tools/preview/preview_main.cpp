// quendal_preview: draws a sheet of text samples with the text port (the
// built-in engine on this host) and writes it as a PNG, so the glyphs and the
// text helpers can be looked at. Usage: quendal_preview [out.png] [scale]
// (scale: whole-pixel zoom, default 2).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "render/graphics_common.h"
#include "render/png_writer.h"
#include "render/text_engine.h"

namespace {

constexpr TColor32 kBack = 0xFF202428;
constexpr TColor32 kPanel = 0xFF30363C;

TBitmap32 Scaled(const TBitmap32& ASource, int AScale) {
  TBitmap32 out(ASource.Width() * AScale, ASource.Height() * AScale);
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) out.SetPixel(x, y, ASource.Pixel(x / AScale, y / AScale));
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "quendal_preview.png";
  const int scale = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;

  TBitmap32 b(420, 300);
  b.Clear(kBack);
  const TRect all = b.BoundsRect();
  int y = 6;
  auto line = [&](int AHeight, bool ABold, bool AItalic, const char* AText, bool AAntialias) {
    b.Font = TQD_Font{};
    b.Font.Height = AHeight;
    b.Font.Bold = ABold;
    b.Font.Italic = AItalic;
    DrawTextWithBackground(b, all, 8, y, AText, 0xFFE8ECEF, 0, tbOff, AAntialias);
    y += b.TextHeight(AText) + 2;
  };
  line(-12, false, false, "RenderText 9 pt: CPU 45.5 \xC2\xB0" "C  1234 MHz  \xC2\xB5s", true);
  line(-12, false, false, "Textout 9 pt:    CPU 45.5 \xC2\xB0" "C  1234 MHz  \xC2\xB5s", false);
  line(-12, true, false, "Bold: The quick brown fox jumps over", true);
  line(-12, false, true, "Italic: the lazy dog 0123456789", true);
  line(-9, false, false, "Small 7 pt: !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~ \xE2\x82\xAC \xC2\xB1 \xE4\xB8\xAD", true);
  line(-20, false, false, "Large: Quendal gjpqy", true);
  line(-20, false, false, "Large: Quendal gjpqy", false);

  // Backgrounds, anti-aliased and aliased.
  b.Font = TQD_Font{};
  b.Font.Height = -16;
  y += 8;
  DrawTextWithBackground(b, all, 12, y, "tbRect 62%", 0xFFFFFFFF, 0xC0A03030, tbRect, true);
  DrawTextWithBackground(b, all, 150, y, "tbOutline", 0xFFFFFFFF, 0xFFC03030, tbOutline, true);
  DrawTextWithBackground(b, all, 270, y, "aliased", 0xFFFFD040, 0xFF000000, tbOutline, false);
  y += b.TextHeight("X") + 8;
  // Half-transparent text over a panel and over the background.
  b.FillRectS({8, y, 200, y + 24}, kPanel);
  b.RenderText(12, y + 4, "alpha 50% over panel", 0x80FFFFFF);
  y += 30;

  // Rotated text, running upward, with its background rect.
  b.Font = TQD_Font{};
  b.Font.Height = -14;
  b.Font.Orientation = 900;
  DrawTextWithBackground(b, all, 360, 200, "Rotated 900", 0xFFFFFFFF, 0xC0306090, tbRect, true);
  DrawTextWithBackground(b, all, 388, 200, "Textout 900", 0xFF80FF80, 0xFF000000, tbOutline, false);
  // The fitted size of a label cell.
  b.Font = TQD_Font{};
  const TRect cell{8, y, 200, y + 40};
  b.FrameRectTS(cell, 0xFF808080);
  b.Font.SetSize(FitFontSize(b, "Fitted 20%", cell, 20));
  const TSize e = GetOrientedTextExtent(b, "Fitted 20%");
  b.RenderText(cell.Left + (cell.Width() - e.cx) / 2, cell.Top + (cell.Height() - e.cy) / 2, "Fitted 20%",
               0xFFFFFFFF);

  std::string error;
  if (!WritePngFile(Scaled(b, scale), path, &error)) {
    std::fprintf(stderr, "quendal_preview: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", path.c_str());
  return 0;
}
