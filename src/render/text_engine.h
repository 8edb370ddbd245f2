// The text port: measuring and drawing text into a TBitmap32. Widgets only
// ever reach text through the bitmap's TextExtent/Textout/RenderText, which
// use the current engine: GDI on Windows, the deterministic built-in engine
// everywhere else (and in golden tests, so images match across machines).
//
// Geometry shared by every engine (X, Y is the top-left of the text cell):
// - orientation 0: the text occupies x in [X, X + cx), y in [Y, Y + cy);
// - orientation 900: the text runs upward from (X, Y), its baseline pointing
//   up the screen and the tops of the glyphs to the left; it occupies
//   x in [X, X + cy) and y in (Y - cx, Y], i.e. rows Y - cx + 1 .. Y;
// with (cx, cy) = TextExtent (cx along the baseline, also when rotated).
// Glyph overhangs (italics, descenders) may reach a little outside this box.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/bitmap32.h"

class TQD_TextEngine {
 public:
  virtual ~TQD_TextEngine() = default;
  // Width along the baseline and cell height, whatever the orientation.
  virtual TSize TextExtent(const TQD_Font& AFont, std::string_view AText) = 0;
  // Aliased and without alpha: every pixel the glyphs cover is written with
  // ABitmap.Font.Color (0x00BBGGRR) as an opaque ARGB colour; clipped to
  // AClip and to the bitmap.
  virtual void Textout(TBitmap32& ABitmap, int X, int Y, const TRect& AClip, std::string_view AText) = 0;
  // Anti-aliased in ABitmap.Font, each pixel blended with AColor at
  // coverage × AColor's alpha; clipped to the bitmap.
  virtual void RenderText(TBitmap32& ABitmap, int X, int Y, std::string_view AText, TColor32 AColor) = 0;
};

// The engine every bitmap uses. Starts as the built-in engine; the program
// sets the GDI engine at start on Windows. The engine is not owned.
TQD_TextEngine& CurrentTextEngine();
void SetCurrentTextEngine(TQD_TextEngine* AEngine);  // nullptr: back to built-in
TQD_TextEngine& BuiltinTextEngine();

// Opaque ARGB from a platform colour 0x00BBGGRR.
constexpr TColor32 WinColorToColor32(uint32_t C) {
  return 0xFF000000u | ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

// Coverage of rendered text, already in screen orientation: pixel (i, j) of
// the mask lies on bitmap pixel (X + Left + i, Y + Top + j) for text drawn at
// (X, Y). Engines produce it; the placement below is shared.
// A mask's placement and coverage without owning it (engines' scratch masks
// and cached ones both write through this).
struct TQD_TextMaskView {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  const uint8_t* Coverage = nullptr;
  uint8_t At(int I, int J) const { return Coverage[static_cast<size_t>(J) * Width + I]; }
};

struct TQD_TextMask {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Coverage;  // 0..255, Width × Height, rows top-down
  void Reset(int ALeft, int ATop, int AWidth, int AHeight);
  uint8_t& At(int I, int J) { return Coverage[static_cast<size_t>(J) * Width + I]; }
  uint8_t At(int I, int J) const { return Coverage[static_cast<size_t>(J) * Width + I]; }
  operator TQD_TextMaskView() const { return {Left, Top, Width, Height, Coverage.data()}; }
};

// Writes AColor to every pixel whose coverage is at least AThreshold, inside
// AClip and the bitmap.
void WriteTextMask(TBitmap32& ABitmap, const TQD_TextMaskView& AMask, int X, int Y, const TRect& AClip,
                   TColor32 AColor, uint8_t AThreshold);
// Blends AColor with its alpha scaled by each pixel's coverage.
void BlendTextMask(TBitmap32& ABitmap, const TQD_TextMaskView& AMask, int X, int Y, TColor32 AColor);

// Finished text masks (and extents), so that text drawn again, as most text
// on a monitor is, skips the glyph rasterising. Whole texts are kept, not
// single glyphs: a mask built glyph by glyph differs in the last bit from
// the one built for the whole run (the built-in engine sums float coverage
// along the run, GDI blends overlapping glyphs and kerns pairs), and a cached
// picture must be exactly the uncached one. The key is everything the mask
// depends on: face, height, weight, italic, orientation, the engine's mode
// (aliased, anti-aliased, extent) and the text; colour is applied when the
// mask is written, so it is not part of the key.
//
// Direct-mapped by hash, every slot's storage reserved up front: storing
// never allocates, so the per-poll path stays allocation-free. Coverage goes
// into one block shared by all slots, written ring-wise: a caption of a big
// graph takes tens of kilobytes, a gauge's value a few hundred bytes, so
// slots of one fixed size would either waste memory or miss the big ones. An
// entry whose coverage has since been written over is a miss. The block is
// left uninitialised, so pages never written cost no resident memory; but a
// running program writes all of it within seconds, so it is kept small: the
// texts that change every second are put together from cached glyphs by the
// GDI engine, so what must survive here is the texts drawn again every
// refresh (captions of graphs), a few dozen kilobytes. Texts and faces longer
// than a slot keeps, and masks larger than kMaxCoverage, are not kept; the
// caller draws them uncached.
class TQD_TextMaskCache {
 public:
  static constexpr size_t kSlots = 256;
  static constexpr size_t kMaxTextLength = 64;
  static constexpr size_t kMaxFaceLength = 32;
  static constexpr size_t kCoverageLength = size_t{1} << 18;  // the shared block
  static constexpr size_t kMaxCoverage = size_t{1} << 16;

  struct TEntry {
    bool Used = false;
    uint64_t Hash = 0;
    uint8_t Mode = 0;
    int Height = 0;
    bool Bold = false;
    bool Italic = false;
    int Orientation = 0;
    std::string Face;
    std::string Text;
    TSize Extent{};
    TQD_TextMaskView Mask;  // into the cache's coverage block
    uint64_t MaskStart = 0;  // where the mask was written, counted as FWritten counts
  };

  TQD_TextMaskCache();
  // The entry for this key, or nullptr.
  const TEntry* Find(const TQD_Font& AFont, uint8_t AMode, std::string_view AText) const;
  // Keeps a copy of AMask (or only AExtent when AMask is null) when it fits a
  // slot, replacing whatever the slot held.
  void Store(const TQD_Font& AFont, uint8_t AMode, std::string_view AText, const TQD_TextMask* AMask,
             TSize AExtent = {});
  void Clear();

 private:
  static uint64_t Hash(const TQD_Font& AFont, uint8_t AMode, std::string_view AText);
  std::vector<TEntry> FSlots;
  std::unique_ptr<uint8_t[]> FCoverage;  // kCoverageLength bytes
  // Bytes of the block handed out since construction (skipped tails
  // included); a mask written at S is intact while FWritten <= S + length.
  uint64_t FWritten = 0;
};

// Decodes UTF-8 into code points; every byte of a malformed sequence becomes
// U+FFFD, so each input byte is accounted for and nothing is read past the end.
std::u32string DecodeUtf8(std::string_view AText);
void DecodeUtf8(std::string_view AText, std::u32string& AOut);  // reuses AOut's storage
// The number of code points DecodeUtf8 gives, without allocating.
size_t CountCodePoints(std::string_view AText);
