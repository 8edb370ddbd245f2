// GDI text engine; see text_engine_win32.h.
#include "render/text_engine_win32.h"

#include <algorithm>
#include <cstring>

#include "base/cost_meter.h"
#include "base/win32_handles_win32.h"

TQD_GdiTextEngine::TQD_GdiTextEngine() : FDC(CreateCompatibleDC(nullptr)) {}

HFONT TQD_GdiTextEngine::FontFor(const TQD_Font& AFont, bool AAntialiased) {
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
    it = FFonts.emplace(std::move(key), TQD_FontHandle(CreateFontIndirectW(&lf))).first;
  }
  return it->second ? it->second.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TSize TQD_GdiTextEngine::TextExtent(const TQD_Font& AFont, std::string_view AText) {
  TQD_CostScope cost(TQD_CostKind::GdiText);
  constexpr uint8_t kExtent = 2;
  if (const TQD_TextMaskCache::TEntry* e = FCache.Find(AFont, kExtent, AText)) return e->Extent;
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
  TQD_CostScope miss(TQD_CostKind::GdiTextMissed);
  if (!BuildMask(AFont, AText, AAntialiased, FMask)) return false;  // a failure is not kept: GDI may recover
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
