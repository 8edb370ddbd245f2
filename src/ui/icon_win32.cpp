// Icons from rasteriser bitmaps; see icon_win32.h.
#include "ui/icon_win32.h"

#include <cstdint>
#include <cstring>
#include <vector>

TQD_IconHandle CreateIconFromBitmap32(const TBitmap32& ABitmap) {
  if (ABitmap.Empty()) return {};
  BITMAPV5HEADER h{};
  h.bV5Size = sizeof h;
  h.bV5Width = ABitmap.Width();
  h.bV5Height = -ABitmap.Height();  // top-down, as the bitmap's rows are
  h.bV5Planes = 1;
  h.bV5BitCount = 32;
  h.bV5Compression = BI_BITFIELDS;
  h.bV5RedMask = 0x00FF0000;
  h.bV5GreenMask = 0x0000FF00;
  h.bV5BlueMask = 0x000000FF;
  h.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  const TQD_WindowDC screen = QD_GetWindowDC(nullptr);
  TQD_BitmapHandle color(CreateDIBSection(screen.Get(), reinterpret_cast<const BITMAPINFO*>(&h), DIB_RGB_COLORS,
                                          &bits, nullptr, 0));
  if (!color || !bits) return {};
  std::memcpy(bits, ABitmap.Bits(), static_cast<size_t>(ABitmap.Width()) * ABitmap.Height() * 4);
  // The alpha channel decides where it is read; the mask still matters where
  // the system draws the icon by its mask (grayed, on a disabled button).
  const size_t stride = static_cast<size_t>((ABitmap.Width() + 15) / 16 * 2);  // rows of whole WORDs
  std::vector<uint8_t> maskBits(stride * ABitmap.Height(), 0);
  for (int y = 0; y < ABitmap.Height(); ++y)
    for (int x = 0; x < ABitmap.Width(); ++x)
      if ((ABitmap.Pixel(x, y) >> 24) < 128) maskBits[y * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  TQD_BitmapHandle mask(CreateBitmap(ABitmap.Width(), ABitmap.Height(), 1, 1, maskBits.data()));
  if (!mask) return {};
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = color.Get();
  info.hbmMask = mask.Get();
  // The icon gets copies of both bitmaps; ours go at scope end.
  return TQD_IconHandle(CreateIconIndirect(&info));
}

TQD_BitmapHandle CreateOpaqueBitmap(const TBitmap32& ABitmap, TColor32 ABackground) {
  if (ABitmap.Empty()) return {};
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = ABitmap.Width();
  bi.bmiHeader.biHeight = -ABitmap.Height();
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TQD_BitmapHandle bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return {};
  auto* out = static_cast<uint32_t*>(bits);
  const TColor32* in = ABitmap.Bits();
  for (size_t i = 0, n = static_cast<size_t>(ABitmap.Width()) * ABitmap.Height(); i < n; ++i)
    out[i] = BlendPixel(in[i], ABackground | 0xFF000000u);
  return bitmap;
}
