// Icon files (.ico) from rasteriser bitmaps, for the program's icon resource:
// one 32-bit entry per bitmap (a BMP without file header, twice the height,
// its straight-alpha pixels bottom-up, then the 1-bit mask), as the resource
// compiler and every Windows version read them.
#pragma once

#include <cstdint>
#include <vector>

#include "render/bitmap32.h"

// The file's bytes; empty when there is no image or one is empty or larger
// than the format's 256 pixels.
std::vector<uint8_t> EncodeIco(const std::vector<TBitmap32>& AImages);
