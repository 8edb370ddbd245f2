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
// The texts that do not repeat are mostly readings that change every second
// ("45.5 °C", "1234 MHz"); those are put together from cached glyphs. GDI
// draws a run of plain Latin text glyph by glyph, each at whole pixels and
// the pen moved on by a whole-pixel advance, so where no two glyphs' ink
// meet, the run's mask is the glyphs' masks laid side by side, bit for bit,
// and its extent the sum of the glyphs' extents. The pen's advance is not
// always the measured one (under Wine an aliased glyph may move the pen a
// pixel less than it measures), so it is read off GDI's drawing of the
// glyph followed by a probe glyph. Anything else (rotation, text outside the plain ranges,
// glyphs whose ink meets) is drawn by GDI as a whole.
//
// One HFONT per distinct font and quality is kept (at most kMaxCachedFonts;
// the cache is emptied when full), one memory DC and one scratch DIB that
// only grows; nothing else is created per call, so the process's GDI object
// count stays flat however often text is drawn.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/cost_meter.h"
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
  // The same mask put together from cached glyphs; false when that could
  // differ from BuildMask's (see above) or GDI failed, AMask undefined then.
  bool ComposeMask(const TQD_Font& AFont, std::string_view AText, bool AAntialiased, TQD_TextMask& AMask);
  // The extent as the sum of cached glyph extents; false for an empty,
  // rotated or not plain text, or when GDI failed.
  bool ComposeExtent(const TQD_Font& AFont, std::string_view AText, TSize& AExtent);
  size_t CachedFontCount() const { return FFonts.size(); }

  static constexpr size_t kMaxCachedGlyphs = 2048;  // the glyph cache is emptied when full
  static constexpr size_t kMaxGlyphCoverage = 4096;  // bytes of ink box; bigger glyphs are not kept
  // Code points drawn without shaping, reordering or combining.
  static bool IsPlainCodePoint(char32_t C);

 private:
  using TFontKey = std::tuple<std::string, int, bool, bool, int, bool>;
  // Nonzero coverage in its box, placed relative to the pen at the top-left of the cell.
  struct TInk {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    std::vector<uint8_t> Coverage;
  };
  struct TFontEntry {
    TQD_FontHandle Font;
    uint32_t Serial;  // never reused: glyphs of an evicted font never match again
    int ProbeState = 0;  // 0 not built, 1 built, -1 unusable
    TInk Probe;          // kProbe as GDI draws it alone
  };
  // A glyph as GDI draws it alone: its extent and the pen's advance after it.
  struct TGlyph {
    bool HasMask = false;
    bool Composable = false;  // ink whole, not too big, and the pen's advance known
    int Advance = 0;  // the extent's width
    int CellHeight = 0;
    int PenAdvance = 0;
    TInk Ink;
  };
  static constexpr char kProbe = '|';
  // The cached font; the stock GUI font when creating it failed.
  HFONT FontFor(const TQD_Font& AFont, bool AAntialiased) { return FontEntryFor(AFont, AAntialiased).Handle; }
  struct TFontRef {
    uint32_t Serial;
    HFONT Handle;
    TFontEntry* Entry;  // valid until the font cache is emptied
  };
  TFontRef FontEntryFor(const TQD_Font& AFont, bool AAntialiased);
  // The cached glyph, measured (and rasterised when AWithMask) now if
  // needed, AMiss then started; nullptr when GDI failed. Valid until the
  // glyph cache is emptied (FGlyphGeneration tells).
  const TGlyph* GlyphFor(const TQD_Font& AFont, bool AAntialiased, const TFontRef& AFontRef, char32_t C,
                         bool AWithMask, std::optional<TQD_CostScope>& AMiss);
  // The ink of FGlyphMask; false when it touches the mask's edge (GDI may
  // have cut it there) or is too big to keep.
  bool KeepInk(TInk& AInk) const;
  // Decodes AText into FCodePoints; false unless it is non-empty, plain and
  // (unless ARotatedToo) unrotated.
  bool DecodePlain(const TQD_Font& AFont, std::string_view AText, bool ARotatedToo);
  // FCodePoints' glyphs into FTextGlyphs, their cell height into ACellHeight
  // and the sum of their extents into AWidth; false when one is missing (or
  // not composable, when AWithMask) or the heights differ.
  bool GlyphsOfText(const TQD_Font& AFont, bool AAntialiased, bool AWithMask, int& AWidth, int& ACellHeight);
  bool EnsureScratch(int AWidth, int AHeight);
  // The mask of AText from the cache, or built (and cached) now; nullptr
  // when GDI failed.
  bool MaskFor(const TQD_Font& AFont, std::string_view AText, bool AAntialiased, TQD_TextMaskView& AMask);

  TQD_MemoryDC FDC;
  std::map<TFontKey, TFontEntry> FFonts;
  TQD_BitmapHandle FScratch;  // top-down 32-bit DIB section
  uint32_t* FScratchBits = nullptr;
  int FScratchWidth = 0;
  int FScratchHeight = 0;
  TQD_TextMask FMask;
  TQD_TextMaskCache FCache;  // modes: 0 aliased mask, 1 anti-aliased mask, 2 extent
  uint32_t FNextFontSerial = 1;
  std::unordered_map<uint64_t, TGlyph> FGlyphs;  // by font serial, quality and code point
  uint32_t FGlyphGeneration = 0;  // counts the times FGlyphs was emptied
  std::vector<const TGlyph*> FTextGlyphs;
  TQD_TextMask FGlyphMask;
  TQD_TextMask FPairMask;
  std::u32string FCodePoints;
};
