// Reads back the PNGs png_writer.h produces (8-bit RGBA, filter 0, stored
// deflate blocks), checking every CRC, the zlib header and the Adler-32, so
// tests can verify the encoder and compare golden images pixel by pixel.
// Anything else (compressed blocks, other colour types) is reported as an
// error rather than guessed at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/bitmap32.h"

bool DecodeStoredPng(const std::vector<uint8_t>& APng, TBitmap32& ABitmap, std::string* AError = nullptr);
bool ReadStoredPngFile(const std::string& APath, TBitmap32& ABitmap, std::string* AError = nullptr);
