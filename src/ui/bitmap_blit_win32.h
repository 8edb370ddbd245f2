// Copies widget pixels to the screen. TBitmap32 pixels are 32-bit BGRA in
// memory, top-down, which is exactly a BI_RGB 32 bpp DIB with a negative
// height, so SetDIBitsToDevice reads them in place: no copy, no allocation.
// The alpha byte is ignored by GDI; the widgets draw opaque pixels where the
// window shows them.
#pragma once

#include <windows.h>

#include "render/bitmap32.h"

// Copies ASource (clipped to the bitmap) of ABitmap to ADC with its top-left
// corner at (ADestX, ADestY) in the DC's logical coordinates. True when the
// copy succeeded or there was nothing to copy.
bool BlitBitmap32(HDC ADC, int ADestX, int ADestY, const TBitmap32& ABitmap, const TRect& ASource);
// The whole bitmap.
inline bool BlitBitmap32(HDC ADC, int ADestX, int ADestY, const TBitmap32& ABitmap) {
  return BlitBitmap32(ADC, ADestX, ADestY, ABitmap, ABitmap.BoundsRect());
}
