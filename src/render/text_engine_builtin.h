// The built-in text engine: a small bitmap font typed into the source, scaled
// into a fixed glyph cell. No system fonts and no font library, so text
// measures and renders identically on every machine; native tests, golden
// images and previews rely on that. The face name is ignored.
//
// Metrics (all rounding is half away from zero):
//   em      = -Height when Height < 0 (character height, as platform fonts);
//             max(1, round(Height × 0.8)) when Height > 0 (cell height given);
//             12 when Height = 0.
//   cell    = round(em × 1.25) when Height ≤ 0, Height when Height > 0; at least 1.
//   advance = max(1, round(em × 0.6)) per code point, + 1 when Bold.
//   Heights are clamped to ±kMaxFontHeight first.
//   TextExtent(text) = (advance × number of code points, cell); the empty
//   text is (0, cell). Italic and orientation do not change the extent.
//
// Glyph cell: 6 columns (5 of glyph, 1 gap on the right) across the advance
// without the bold pixel, and 10 rows down the cell: 1 of leading, 7 above
// the baseline, 2 of descent. Bold widens every stroke by one pixel to the
// right; italic shears rows by 0.2 of their height above the baseline.
// ASCII 32..126, "°", "µ", "²", "³", "±", "·", "€" and the no-break space
// have glyphs; any other code point (and malformed UTF-8) draws a box.
//
// Textout snaps the cell grid to whole pixels and writes pixels whose
// coverage is at least one half; RenderText uses the exact grid and blends by
// the exact area each pixel shares with the glyph strokes. Orientations other
// than 900 draw as 0.
#pragma once

#include "render/text_engine.h"

class TQD_BuiltinTextEngine : public TQD_TextEngine {
 public:
  static constexpr int kMaxFontHeight = 1024;
  struct TMetrics {
    int Em = 0;
    int Cell = 0;
    int Advance = 0;
  };
  static TMetrics Metrics(const TQD_Font& AFont);

  TSize TextExtent(const TQD_Font& AFont, std::string_view AText) override;
  void Textout(TBitmap32& ABitmap, int X, int Y, const TRect& AClip, std::string_view AText) override;
  void RenderText(TBitmap32& ABitmap, int X, int Y, std::string_view AText, TColor32 AColor) override;

  // The glyph coverage of AText in AFont, in screen orientation (see
  // TQD_TextMask); ASnap selects the pixel-snapped grid Textout uses.
  void BuildMask(const TQD_Font& AFont, std::string_view AText, bool ASnap, TQD_TextMask& AMask);

 private:
  // The mask of AText, from the cache or built (and cached) now.
  TQD_TextMaskView MaskFor(const TQD_Font& AFont, std::string_view AText, bool ASnap);

  TQD_TextMaskCache FCache;
  // Scratch kept between calls so drawing text does not allocate per paint.
  std::vector<float> FArea;
  std::u32string FText;
  TQD_TextMask FMask;
};
