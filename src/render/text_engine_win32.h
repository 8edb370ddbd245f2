// The GDI text engine: the text port on Windows. Text is measured with
// GetTextExtentPoint32W and drawn white on black into a scratch DIB section;
// the grey levels are the glyph coverage, which the shared mask placement
// (text_engine.h) then writes (Textout: non-antialiased font, opaque
// Font.Color) or blends (RenderText: antialiased font, colour × coverage ×
// alpha) into the bitmap. Drawing into a scratch DIB rather than over the
// bitmap's own pixels keeps GDI's alpha-0 writes out of the bitmap and gives
// both calls the same clipping and placement as the built-in engine.
//
// Masks and extents of texts drawn before come from a TQD_TextMaskCache: GDI
// under Wine is by far the dearest part of a repaint, and most texts repeat.
//
// One HFONT per distinct font and quality is kept (at most kMaxCachedFonts;
// the cache is emptied when full), one memory DC and one scratch DIB that
// only grows; nothing else is created per call, so the process's GDI object
// count stays flat however often text is drawn.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "base/win32_handles_win32.h"
#include "render/text_engine.h"

class TQD_GdiTextEngine : public TQD_TextEngine {
 public:
  static constexpr size_t kMaxCachedFonts = 64;

  TQD_GdiTextEngine();
  TSize TextExtent(const TQD_Font& AFont, std::string_view AText) override;
  void Textout(TBitmap32& ABitmap, int X, int Y, const TRect& AClip, std::string_view AText) override;
  void RenderText(TBitmap32& ABitmap, int X, int Y, std::string_view AText, TColor32 AColor) override;

  // The coverage of AText in screen orientation; false when GDI failed
  // (nothing is drawn then).
  bool BuildMask(const TQD_Font& AFont, std::string_view AText, bool AAntialiased, TQD_TextMask& AMask);
  size_t CachedFontCount() const { return FFonts.size(); }

 private:
  using TFontKey = std::tuple<std::string, int, bool, bool, int, bool>;
  // The cached font; the stock GUI font when creating it failed.
  HFONT FontFor(const TQD_Font& AFont, bool AAntialiased);
  bool EnsureScratch(int AWidth, int AHeight);
  // The mask of AText from the cache, or built (and cached) now; nullptr
  // when GDI failed.
  bool MaskFor(const TQD_Font& AFont, std::string_view AText, bool AAntialiased, TQD_TextMaskView& AMask);

  TQD_MemoryDC FDC;
  std::map<TFontKey, TQD_FontHandle> FFonts;
  TQD_BitmapHandle FScratch;  // top-down 32-bit DIB section
  uint32_t* FScratchBits = nullptr;
  int FScratchWidth = 0;
  int FScratchHeight = 0;
  TQD_TextMask FMask;
  TQD_TextMaskCache FCache;  // modes: 0 aliased mask, 1 anti-aliased mask, 2 extent
};
