// GDI text engine; see text_engine_win32.h.
#include "render/text_engine_win32.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "base/cost_meter.h"
#include "base/utf8.h"
#include "base/win32_handles_win32.h"

TQD_GdiTextEngine::TQD_GdiTextEngine() : FDC(CreateCompatibleDC(nullptr)) {}

TQD_GdiTextEngine::TFontRef TQD_GdiTextEngine::FontEntryFor(const TQD_Font& AFont, bool AAntialiased) {
  TFontKey key{AFont.Name, AFont.Height, AFont.Bold, AFont.Italic, AFont.Orientation, AAntialiased};
  auto it = FFonts.find(key);
  if (it == FFonts.end()) {
    // Fonts are only ever selected for the length of one call, so none of
    // these is in use when the cache is emptied.
    if (FFonts.size() >= kMaxCachedFonts) FFonts.clear();
    LOGFONTW lf{};
    lf.lfHeight = AFont.Height;
    // TrueType fonts rotate only when escapement and orientation agree.
    lf.lfEscapement = AFont.Orientation;
    lf.lfOrientation = AFont.Orientation;
    lf.lfWeight = AFont.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = AFont.Italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    // Grey-scale, not ClearType: the coverage must not depend on the subpixel order.
    lf.lfQuality = AAntialiased ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = Utf8ToWide(AFont.Name);
    const size_t n = std::min(face.size(), size_t{LF_FACESIZE - 1});  // longer names are cut, as GDI would
    std::copy_n(face.c_str(), n, lf.lfFaceName);
    lf.lfFaceName[n] = L'\0';
    it = FFonts.emplace(std::move(key), TFontEntry{TQD_FontHandle(CreateFontIndirectW(&lf)), FNextFontSerial++})
             .first;
  }
  TFontEntry& f = it->second;
  return {f.Serial, f.Font ? f.Font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), &f};
}

bool TQD_GdiTextEngine::IsPlainCodePoint(char32_t C) {
  return (C >= 0x20 && C <= 0x7E) || (C >= 0xA0 && C <= 0xFF) || C == 0x2013 || C == 0x2014 || C == 0x2026 ||
         C == 0x25B2 || C == 0x25BC;
}

bool TQD_GdiTextEngine::DecodePlain(const TQD_Font& AFont, std::string_view AText, bool ARotatedToo) {
  if ((AFont.Orientation != 0 && !ARotatedToo) || AText.empty()) return false;
  DecodeUtf8(AText, FCodePoints);
  return std::all_of(FCodePoints.begin(), FCodePoints.end(), IsPlainCodePoint);
}

namespace {

// Lays AInk into AMask with the pen at (APen, ABaseTop) of the mask's
// pixels, cutting what falls outside as GDI's scratch would; false when ink
// lands on ink, whose blend GDI does its own way.
template <typename Ink>
bool LayInk(TQD_TextMask& AMask, const Ink& AInk, int APen, int ABaseTop) {
  const int ox = APen + AInk.Left, oy = ABaseTop + AInk.Top;
  for (int j = 0; j < AInk.Height; ++j) {
    const int y = oy + j;
    if (y < 0 || y >= AMask.Height) continue;
    const uint8_t* src = AInk.Coverage.data() + static_cast<size_t>(j) * AInk.Width;
    for (int i = 0; i < AInk.Width; ++i) {
      const int x = ox + i;
      if (!src[i] || x < 0 || x >= AMask.Width) continue;
      uint8_t& d = AMask.At(x, y);
      if (d) return false;
      d = src[i];
    }
  }
  return true;
}

}  // namespace

bool TQD_GdiTextEngine::KeepInk(TInk& AInk) const {
  const TQD_TextMask& m = FGlyphMask;
  int i0 = m.Width, i1 = 0, j0 = m.Height, j1 = 0;
  for (int j = 0; j < m.Height; ++j)
    for (int i = 0; i < m.Width; ++i)
      if (m.At(i, j)) {
        i0 = std::min(i0, i), i1 = std::max(i1, i + 1);
        j0 = std::min(j0, j), j1 = std::max(j1, j + 1);
      }
  AInk.Coverage.clear();
  AInk.Left = AInk.Top = AInk.Width = AInk.Height = 0;
  if (i0 >= i1) return true;  // no ink, as for a space
  if (i0 == 0 || j0 == 0 || i1 == m.Width || j1 == m.Height) return false;
  if (static_cast<size_t>(i1 - i0) * (j1 - j0) > kMaxGlyphCoverage) return false;
  AInk.Left = m.Left + i0;
  AInk.Top = m.Top + j0;
  AInk.Width = i1 - i0;
  AInk.Height = j1 - j0;
  for (int j = j0; j < j1; ++j) {
    const auto row = m.Coverage.begin() + static_cast<ptrdiff_t>(j) * m.Width + i0;
    AInk.Coverage.insert(AInk.Coverage.end(), row, row + AInk.Width);
  }
  return true;
}

const TQD_GdiTextEngine::TGlyph* TQD_GdiTextEngine::GlyphFor(const TQD_Font& AFont, bool AAntialiased,
                                                             const TFontRef& AFontRef, char32_t C, bool AWithMask,
                                                             std::optional<TQD_CostScope>& AMiss) {
  const uint64_t key = (uint64_t{AFontRef.Serial} << 32) | (uint64_t{AAntialiased} << 31) | C;
  auto it = FGlyphs.find(key);
  if (it != FGlyphs.end() && (it->second.HasMask || !AWithMask)) return &it->second;
  if (!AMiss) AMiss.emplace(TQD_CostKind::GdiTextMissed);
  if (!FDC || C > 0xFFFF) return nullptr;  // plain code points are all in the BMP
  if (it == FGlyphs.end()) {
    // Fonts of a few panels in a few sizes need a few hundred glyphs; past
    // that the fonts in use have changed, and the old glyphs can go.
    if (FGlyphs.size() >= kMaxCachedGlyphs) {
      FGlyphs.clear();
      ++FGlyphGeneration;
    }
    it = FGlyphs.emplace(key, TGlyph{}).first;
  }
  TGlyph& g = it->second;
  if (!AWithMask) {
    const wchar_t ch = static_cast<wchar_t>(C);
    TQD_SelectObjectScope font(FDC.Get(), AFontRef.Handle);
    SIZE size{};
    if (!GetTextExtentPoint32W(FDC.Get(), &ch, 1, &size)) {
      FGlyphs.erase(it);
      return nullptr;
    }
    g.Advance = static_cast<int>(size.cx);
    g.CellHeight = static_cast<int>(size.cy);
    return &g;
  }
  TFontEntry& font = *AFontRef.Entry;
  // A failure of GDI is not kept, as it may recover; a probe without ink
  // or cut off is, and leaves the font's glyphs to GDI.
  const char probe[] = {kProbe, '\0'};
  if (font.ProbeState == 0 && BuildMask(AFont, probe, AAntialiased, FGlyphMask))
    font.ProbeState = KeepInk(font.Probe) && !font.Probe.Coverage.empty() ? 1 : -1;
  if (font.ProbeState == 0) {
    FGlyphs.erase(it);
    return nullptr;
  }
  std::string text;
  AppendUtf8(C, text);
  if (!BuildMask(AFont, text, AAntialiased, FGlyphMask)) {
    FGlyphs.erase(it);
    return nullptr;
  }
  const int margin = -FGlyphMask.Left;
  g.HasMask = true;
  g.Advance = FGlyphMask.Width - 2 * margin;
  g.CellHeight = FGlyphMask.Height - 2 * margin;
  if (!KeepInk(g.Ink) || font.ProbeState != 1) return &g;
  // The pen's advance: where GDI put the probe after the glyph. Exactly one
  // placement must give GDI's drawing of the pair, or the glyph is not laid
  // by hand.
  text += kProbe;
  if (!BuildMask(AFont, text, AAntialiased, FPairMask)) {
    FGlyphs.erase(it);
    return nullptr;
  }
  int found = 0;
  for (int d = -margin; d <= g.Advance + margin; ++d) {
    FGlyphMask.Reset(FPairMask.Left, FPairMask.Top, FPairMask.Width, FPairMask.Height);
    if (LayInk(FGlyphMask, g.Ink, margin, margin) && LayInk(FGlyphMask, font.Probe, margin + d, margin) &&
        FGlyphMask.Coverage == FPairMask.Coverage) {
      g.PenAdvance = d;
      ++found;
    }
  }
  g.Composable = found == 1;
  return &g;
}

bool TQD_GdiTextEngine::GlyphsOfText(const TQD_Font& AFont, bool AAntialiased, bool AWithMask, int& AWidth,
                                     int& ACellHeight) {
  const TFontRef font = FontEntryFor(AFont, AAntialiased);
  // A text with a glyph GDI has to draw or measure counts as asked of GDI.
  std::optional<TQD_CostScope> miss;
  // Twice at most: when the cache is emptied on the way, the glyphs found
  // before are gone, but the text's glyphs then fit.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const uint32_t generation = FGlyphGeneration;
    FTextGlyphs.clear();
    AWidth = 0;
    ACellHeight = -1;
    for (char32_t c : FCodePoints) {
      const TGlyph* g = GlyphFor(AFont, AAntialiased, font, c, AWithMask, miss);
      if (!g || (AWithMask && !g->Composable) || (ACellHeight >= 0 && g->CellHeight != ACellHeight)) return false;
      FTextGlyphs.push_back(g);
      AWidth += g->Advance;
      ACellHeight = g->CellHeight;
    }
    if (generation == FGlyphGeneration) return true;
  }
  return false;
}

bool TQD_GdiTextEngine::ComposeExtent(const TQD_Font& AFont, std::string_view AText, TSize& AExtent) {
  int cx = 0, cy = 0;
  // Extents are measured in the anti-aliased font, as TextExtent does.
  if (!DecodePlain(AFont, AText, true) || !GlyphsOfText(AFont, true, false, cx, cy)) return false;
  AExtent = {cx, cy};
  return true;
}

bool TQD_GdiTextEngine::ComposeMask(const TQD_Font& AFont, std::string_view AText, bool AAntialiased,
                                    TQD_TextMask& AMask) {
  int cx = 0, cy = 0;
  if (!DecodePlain(AFont, AText, false) || !GlyphsOfText(AFont, AAntialiased, true, cx, cy)) return false;
  // The same box as BuildMask's.
  const int margin = cy / 2 + 2;
  const int w = cx + 2 * margin, h = cy + 2 * margin;
  if (w <= 0 || h <= 0 || static_cast<long long>(w) * h > 64LL * 1024 * 1024) return false;
  AMask.Reset(-margin, -margin, w, h);
  int pen = margin;
  for (const TGlyph* g : FTextGlyphs) {
    if (!LayInk(AMask, g->Ink, pen, margin)) return false;
    pen += g->PenAdvance;
  }
  return true;
}

TSize TQD_GdiTextEngine::TextExtent(const TQD_Font& AFont, std::string_view AText) {
  TQD_CostScope cost(TQD_CostKind::GdiText);
  constexpr uint8_t kExtent = 2;
  if (const TQD_TextMaskCache::TEntry* e = FCache.Find(AFont, kExtent, AText)) return e->Extent;
  TSize composed;
  if (ComposeExtent(AFont, AText, composed)) {
    FCache.Store(AFont, kExtent, AText, nullptr, composed);
    return composed;
  }
  TQD_CostScope miss(TQD_CostKind::GdiTextMissed);
  if (!FDC) return {};
  TQD_SelectObjectScope font(FDC.Get(), FontFor(AFont, true));
  const std::wstring text = Utf8ToWide(std::string(AText));
  SIZE size{};
  if (!text.empty() && GetTextExtentPoint32W(FDC.Get(), text.c_str(), static_cast<int>(text.size()), &size)) {
    FCache.Store(AFont, kExtent, AText, nullptr, {size.cx, size.cy});
    return {size.cx, size.cy};
  }
  // An empty text still has the font's height, as every line does.
  TEXTMETRICW tm{};
  if (!GetTextMetricsW(FDC.Get(), &tm)) return {};
  if (text.empty()) FCache.Store(AFont, kExtent, AText, nullptr, {0, tm.tmHeight});
  return {0, tm.tmHeight};
}

bool TQD_GdiTextEngine::MaskFor(const TQD_Font& AFont, std::string_view AText, bool AAntialiased,
                                TQD_TextMaskView& AMask) {
  const uint8_t mode = AAntialiased ? 1 : 0;
  if (const TQD_TextMaskCache::TEntry* e = FCache.Find(AFont, mode, AText)) {
    AMask = e->Mask;
    return true;
  }
  if (!ComposeMask(AFont, AText, AAntialiased, FMask)) {
    TQD_CostScope miss(TQD_CostKind::GdiTextMissed);
    if (!BuildMask(AFont, AText, AAntialiased, FMask)) return false;  // a failure is not kept: GDI may recover
  }
  FCache.Store(AFont, mode, AText, &FMask);
  AMask = FMask;
  return true;
}

bool TQD_GdiTextEngine::EnsureScratch(int AWidth, int AHeight) {
  if (AWidth <= FScratchWidth && AHeight <= FScratchHeight && FScratch) return true;
  const int w = std::max(AWidth, FScratchWidth), h = std::max(AHeight, FScratchHeight);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down rows, as TBitmap32
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TQD_BitmapHandle dib(CreateDIBSection(FDC.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits) return false;
  FScratch = std::move(dib);
  FScratchBits = static_cast<uint32_t*>(bits);
  FScratchWidth = w;
  FScratchHeight = h;
  return true;
}

bool TQD_GdiTextEngine::BuildMask(const TQD_Font& AFont, std::string_view AText, bool AAntialiased,
                                  TQD_TextMask& AMask) {
  AMask.Reset(0, 0, 0, 0);
  if (!FDC || AText.empty()) return false;
  const std::wstring text = Utf8ToWide(std::string(AText));
  if (text.empty()) return false;
  TQD_SelectObjectScope font(FDC.Get(), FontFor(AFont, AAntialiased));
  SIZE size{};
  if (!GetTextExtentPoint32W(FDC.Get(), text.c_str(), static_cast<int>(text.size()), &size)) return false;
  // Overhangs (italics, descenders, rotated bearings) reach past the extent.
  const int margin = static_cast<int>(size.cy) / 2 + 2;
  const bool rotated = AFont.Orientation == 900;
  const int w = (rotated ? size.cy : size.cx) + 2 * margin;
  const int h = (rotated ? size.cx : size.cy) + 2 * margin;
  // A runaway text gets nothing rather than a huge allocation.
  if (w <= 0 || h <= 0 || static_cast<long long>(w) * h > 64LL * 1024 * 1024) return false;
  if (!EnsureScratch(w, h)) return false;
  TQD_SelectObjectScope dib(FDC.Get(), FScratch.Get());
  if (!dib.Selected()) return false;
  for (int j = 0; j < h; ++j) std::memset(FScratchBits + static_cast<size_t>(j) * FScratchWidth, 0, w * 4u);
  SetTextColor(FDC.Get(), RGB(255, 255, 255));
  SetBkMode(FDC.Get(), TRANSPARENT);
  SetTextAlign(FDC.Get(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
  // The reference point is the top-left of the text's own cell; rotated by
  // 90° that corner lies at the bottom-left of the cell on screen.
  const int ox = margin, oy = rotated ? margin + size.cx : margin;
  if (!TextOutW(FDC.Get(), ox, oy, text.c_str(), static_cast<int>(text.size()))) return false;
  GdiFlush();  // GDI may batch; the bits must be final before they are read

  // Rotated, the cell's rows [margin, margin + cx) must land on Y - cx + 1 .. Y.
  AMask.Reset(-margin, rotated ? 1 - size.cx - margin : -margin, w, h);
  for (int j = 0; j < h; ++j) {
    const uint32_t* row = FScratchBits + static_cast<size_t>(j) * FScratchWidth;
    for (int i = 0; i < w; ++i) {
      const uint32_t p = row[i];
      AMask.At(i, j) = static_cast<uint8_t>(std::max({p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF}));
    }
  }
  return true;
}

void TQD_GdiTextEngine::Textout(TBitmap32& ABitmap, int X, int Y, const TRect& AClip, std::string_view AText) {
  TQD_CostScope cost(TQD_CostKind::GdiText);
  TQD_TextMaskView m;
  if (MaskFor(ABitmap.Font, AText, false, m))
    WriteTextMask(ABitmap, m, X, Y, AClip, WinColorToColor32(ABitmap.Font.Color), 128);
}

void TQD_GdiTextEngine::RenderText(TBitmap32& ABitmap, int X, int Y, std::string_view AText, TColor32 AColor) {
  TQD_CostScope cost(TQD_CostKind::GdiText);
  TQD_TextMaskView m;
  if (MaskFor(ABitmap.Font, AText, true, m)) BlendTextMask(ABitmap, m, X, Y, AColor);
}
