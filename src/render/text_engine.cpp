// The current-engine switch, mask placement and UTF-8 decoding shared by the
// text engines; see text_engine.h.
#include "render/text_engine.h"

#include <algorithm>

#include "render/bitmap32_kernels.h"
#include "render/text_engine_builtin.h"

namespace {

TQD_TextEngine* gCurrent = nullptr;

}  // namespace

TQD_TextEngine& BuiltinTextEngine() {
  static TQD_BuiltinTextEngine engine;
  return engine;
}

TQD_TextEngine& CurrentTextEngine() { return gCurrent ? *gCurrent : BuiltinTextEngine(); }

void SetCurrentTextEngine(TQD_TextEngine* AEngine) { gCurrent = AEngine; }

TSize TBitmap32::TextExtent(std::string_view AText) const { return CurrentTextEngine().TextExtent(Font, AText); }

void TBitmap32::Textout(int X, int Y, const TRect& AClip, std::string_view AText) {
  CurrentTextEngine().Textout(*this, X, Y, AClip, AText);
}

void TBitmap32::RenderText(int X, int Y, std::string_view AText, TColor32 AColor) {
  CurrentTextEngine().RenderText(*this, X, Y, AText, AColor);
}

void TQD_TextMask::Reset(int ALeft, int ATop, int AWidth, int AHeight) {
  Left = ALeft;
  Top = ATop;
  Width = std::max(0, AWidth);
  Height = std::max(0, AHeight);
  Coverage.assign(static_cast<size_t>(Width) * Height, 0);
}

namespace {

// The mask's columns and rows that land inside ABounds.
struct TSpan {
  int I0, I1, J0, J1;
};

TSpan VisibleSpan(const TQD_TextMaskView& AMask, int X, int Y, const TRect& ABounds) {
  const int ox = X + AMask.Left, oy = Y + AMask.Top;
  return {std::max(0, ABounds.Left - ox), std::min(AMask.Width, ABounds.Right - ox), std::max(0, ABounds.Top - oy),
          std::min(AMask.Height, ABounds.Bottom - oy)};
}

TRect Intersect(const TRect& A, const TRect& B) {
  return {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
}

}  // namespace

void WriteTextMask(TBitmap32& ABitmap, const TQD_TextMaskView& AMask, int X, int Y, const TRect& AClip,
                   TColor32 AColor, uint8_t AThreshold) {
  const TRect bounds = Intersect(AClip, ABitmap.BoundsRect());
  if (bounds.IsEmpty()) return;
  const TSpan s = VisibleSpan(AMask, X, Y, bounds);
  const uint8_t threshold = std::max<uint8_t>(AThreshold, 1);  // coverage 0 is never a glyph pixel
  for (int j = s.J0; j < s.J1; ++j) {
    TColor32* row = ABitmap.ScanLine(Y + AMask.Top + j) + X + AMask.Left;
    for (int i = s.I0; i < s.I1; ++i)
      if (AMask.At(i, j) >= threshold) row[i] = AColor;
  }
}

void BlendTextMask(TBitmap32& ABitmap, const TQD_TextMaskView& AMask, int X, int Y, TColor32 AColor) {
  if (AlphaComponent(AColor) == 0) return;
  const TSpan s = VisibleSpan(AMask, X, Y, ABitmap.BoundsRect());
  if (s.I0 >= s.I1) return;
  for (int j = s.J0; j < s.J1; ++j) {
    TColor32* row = ABitmap.ScanLine(Y + AMask.Top + j) + X + AMask.Left;
    QD_Kernels::CoverageRun(AColor, AMask.Coverage + static_cast<size_t>(j) * AMask.Width + s.I0, row + s.I0,
                            s.I1 - s.I0);
  }
}

TQD_TextMaskCache::TQD_TextMaskCache() : FSlots(kSlots), FCoverage(new uint8_t[kCoverageLength]) {
  for (TEntry& e : FSlots) {
    e.Face.reserve(kMaxFaceLength);
    e.Text.reserve(kMaxTextLength);
  }
}

uint64_t TQD_TextMaskCache::Hash(const TQD_Font& AFont, uint8_t AMode, std::string_view AText) {
  // FNV-1a over the text, then the font's numbers mixed in.
  uint64_t h = 0xcbf29ce484222325ull;
  auto mix = [&h](uint64_t V) { h = (h ^ V) * 0x100000001b3ull; };
  for (char c : AText) mix(static_cast<unsigned char>(c));
  for (char c : AFont.Name) mix(static_cast<unsigned char>(c));
  mix(static_cast<uint32_t>(AFont.Height));
  mix(static_cast<uint32_t>(AFont.Orientation));
  mix((AFont.Bold ? 1u : 0u) | (AFont.Italic ? 2u : 0u) | (uint32_t{AMode} << 2));
  return h ^ (h >> 29);
}

const TQD_TextMaskCache::TEntry* TQD_TextMaskCache::Find(const TQD_Font& AFont, uint8_t AMode,
                                                         std::string_view AText) const {
  const uint64_t h = Hash(AFont, AMode, AText);
  const TEntry& e = FSlots[h % kSlots];
  if (!e.Used || e.Hash != h || e.Mode != AMode || e.Height != AFont.Height || e.Bold != AFont.Bold ||
      e.Italic != AFont.Italic || e.Orientation != AFont.Orientation || e.Text != AText || e.Face != AFont.Name)
    return nullptr;
  if (e.Mask.Coverage && FWritten > e.MaskStart + kCoverageLength) return nullptr;  // written over since
  return &e;
}

void TQD_TextMaskCache::Store(const TQD_Font& AFont, uint8_t AMode, std::string_view AText, const TQD_TextMask* AMask,
                              TSize AExtent) {
  if (AText.size() > kMaxTextLength || AFont.Name.size() > kMaxFaceLength) return;
  if (AMask && AMask->Coverage.size() > kMaxCoverage) return;
  const uint64_t h = Hash(AFont, AMode, AText);
  const size_t slot = h % kSlots;
  TEntry& e = FSlots[slot];
  e.Used = true;
  e.Hash = h;
  e.Mode = AMode;
  e.Height = AFont.Height;
  e.Bold = AFont.Bold;
  e.Italic = AFont.Italic;
  e.Orientation = AFont.Orientation;
  e.Face.assign(AFont.Name);  // within the reserved capacity: no allocation
  e.Text.assign(AText);
  e.Extent = AExtent;
  e.Mask = {};
  if (AMask) {
    // Next in the ring; a mask that would run past the end starts over at 0.
    const size_t length = AMask->Coverage.size();
    size_t offset = static_cast<size_t>(FWritten % kCoverageLength);
    if (offset + length > kCoverageLength) {
      FWritten += kCoverageLength - offset;
      offset = 0;
    }
    e.MaskStart = FWritten;
    FWritten += length;
    uint8_t* coverage = FCoverage.get() + offset;
    std::copy(AMask->Coverage.begin(), AMask->Coverage.end(), coverage);
    e.Mask = {AMask->Left, AMask->Top, AMask->Width, AMask->Height, coverage};
  }
}

void TQD_TextMaskCache::Clear() {
  for (TEntry& e : FSlots) e.Used = false;
}

namespace {

// Walks AText code point by code point, handing each to ASink.
template <typename Sink>
void ForEachCodePoint(std::string_view AText, Sink ASink) {
  const size_t n = AText.size();
  for (size_t i = 0; i < n;) {
    const auto b0 = static_cast<unsigned char>(AText[i]);
    if (b0 < 0x80) {
      ASink(char32_t{b0});
      ++i;
      continue;
    }
    int len = 0;
    char32_t cp = 0, min = 0;
    if ((b0 & 0xE0) == 0xC0) {
      len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      len = 4, cp = b0 & 0x07, min = 0x10000;
    }
    bool ok = len > 0 && i + len <= n;
    for (int k = 1; ok && k < len; ++k) {
      const auto b = static_cast<unsigned char>(AText[i + k]);
      ok = (b & 0xC0) == 0x80;
      cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are malformed too.
    ok = ok && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    if (ok) {
      ASink(cp);
      i += len;
    } else {
      ASink(char32_t{0xFFFD});
      ++i;
    }
  }
}

}  // namespace

void DecodeUtf8(std::string_view AText, std::u32string& AOut) {
  AOut.clear();
  ForEachCodePoint(AText, [&](char32_t C) { AOut.push_back(C); });
}

std::u32string DecodeUtf8(std::string_view AText) {
  std::u32string out;
  DecodeUtf8(AText, out);
  return out;
}

size_t CountCodePoints(std::string_view AText) {
  size_t n = 0;
  ForEachCodePoint(AText, [&](char32_t) { ++n; });
  return n;
}
