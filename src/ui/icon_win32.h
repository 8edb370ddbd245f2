// Icons from rasteriser bitmaps: the pixels (straight alpha, as icons want
// them) go into a 32-bit DIB, with an all-zero mask beside it.
#pragma once

#include <windows.h>

#include "base/gdi_handles_win32.h"
#include "render/bitmap32.h"

// An empty handle when the system refuses.
TQD_IconHandle CreateIconFromBitmap32(const TBitmap32& ABitmap);
