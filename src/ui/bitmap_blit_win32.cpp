// BlitBitmap32; see bitmap_blit_win32.h.
#include "ui/bitmap_blit_win32.h"

#include <algorithm>

bool BlitBitmap32(HDC ADC, int ADestX, int ADestY, const TBitmap32& ABitmap, const TRect& ASource) {
  const int left = std::max(ASource.Left, 0);
  const int top = std::max(ASource.Top, 0);
  const int right = std::min(ASource.Right, ABitmap.Width());
  const int bottom = std::min(ASource.Bottom, ABitmap.Height());
  if (right <= left || bottom <= top) return true;
  // Clipping the source moves the destination with it.
  ADestX += left - ASource.Left;
  ADestY += top - ASource.Top;
  const int rows = bottom - top;

  // The DIB handed over starts at the first source row and is exactly as
  // high as the copy. With ySrc 0 and all of its rows copied, the top-down
  // and bottom-up readings of SetDIBitsToDevice's source origin agree, so no
  // implementation's quirk there can shift the rows.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = ABitmap.Width();  // row stride of the pixels
  info.bmiHeader.biHeight = -rows;           // negative: top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const int copied = SetDIBitsToDevice(ADC, ADestX, ADestY, static_cast<DWORD>(right - left),
                                       static_cast<DWORD>(rows), left, 0, 0, static_cast<UINT>(rows),
                                       ABitmap.ScanLine(top), &info, DIB_RGB_COLORS);
  return copied > 0;
}
