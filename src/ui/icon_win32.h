// Icons from rasteriser bitmaps: the pixels (straight alpha, as icons want
// them) go into a 32-bit DIB, with an all-zero mask beside it.
#pragma once

#include <windows.h>

#include "base/win32_handles_win32.h"
#include "render/bitmap32.h"

// An empty handle when the system refuses.
TQD_IconHandle CreateIconFromBitmap32(const TBitmap32& ABitmap);

// An opaque 32-bit bitmap of ABitmap laid over ABackground (AARRGGBB), for
// menu item pictures: not every system alpha-blends those, and a
// transparent pixel drawn as black looks broken.
TQD_BitmapHandle CreateOpaqueBitmap(const TBitmap32& ABitmap, TColor32 ABackground);
