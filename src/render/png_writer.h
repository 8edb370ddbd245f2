// A small PNG encoder for previews and golden images: 8-bit RGBA,
// non-interlaced, no filtering, the image data in zlib "stored" (uncompressed)
// deflate blocks. Larger files than a real compressor makes, but no library
// in the product and any PNG reader opens them. CRC-32 and Adler-32 are
// computed here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/bitmap32.h"

// The PNG file bytes of ABitmap (straight ARGB maps directly onto PNG's
// non-premultiplied RGBA). An empty bitmap gives an empty vector: PNG has no
// zero-sized images.
std::vector<uint8_t> EncodePng(const TBitmap32& ABitmap);
// Writes EncodePng to APath; false with the reason in AError on failure.
bool WritePngFile(const TBitmap32& ABitmap, const std::string& APath, std::string* AError = nullptr);

// The checksums PNG and zlib use, exposed for tests and readers.
uint32_t Crc32(const uint8_t* AData, size_t ALength, uint32_t ACrc = 0);
uint32_t Adler32(const uint8_t* AData, size_t ALength, uint32_t AAdler = 1);
