// Stored-block PNG reader for tests; see png_reader.h.
#include "png_reader.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "render/png_writer.h"

namespace {

uint32_t BE32(const uint8_t* P) {
  return (uint32_t{P[0]} << 24) | (uint32_t{P[1]} << 16) | (uint32_t{P[2]} << 8) | P[3];
}

}  // namespace

bool DecodeStoredPng(const std::vector<uint8_t>& APng, TBitmap32& ABitmap, std::string* AError) {
  auto fail = [&](const std::string& AReason) {
    if (AError) *AError = AReason;
    return false;
  };
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (APng.size() < 8 || std::memcmp(APng.data(), kSignature, 8) != 0) return fail("no PNG signature");
  size_t pos = 8;
  uint32_t width = 0, height = 0;
  bool sawHeader = false, sawEnd = false;
  std::vector<uint8_t> z;
  while (!sawEnd) {
    if (APng.size() - pos < 12) return fail("truncated chunk");
    const uint32_t length = BE32(&APng[pos]);
    if (length > APng.size() - pos - 12) return fail("chunk longer than the file");
    const std::string type(reinterpret_cast<const char*>(&APng[pos + 4]), 4);
    const uint8_t* data = &APng[pos + 8];
    if (Crc32(&APng[pos + 4], length + 4) != BE32(data + length)) return fail("bad CRC in " + type);
    if (type == "IHDR") {
      if (length != 13) return fail("IHDR length");
      width = BE32(data);
      height = BE32(data + 4);
      if (data[8] != 8 || data[9] != 6 || data[10] != 0 || data[11] != 0 || data[12] != 0)
        return fail("not 8-bit RGBA, deflate, no interlace");
      if (width == 0 || height == 0 || width > 16384 || height > 16384) return fail("bad size");
      sawHeader = true;
    } else if (type == "IDAT") {
      if (!sawHeader) return fail("IDAT before IHDR");
      z.insert(z.end(), data, data + length);
    } else if (type == "IEND") {
      sawEnd = true;
    }
    pos += 12 + length;
  }
  if (!sawHeader) return fail("no IHDR");
  if (z.size() < 6) return fail("no image data");
  if (((z[0] << 8) | z[1]) % 31 != 0 || (z[0] & 0x0F) != 8) return fail("bad zlib header");
  std::vector<uint8_t> raw;
  size_t at = 2;
  for (bool last = false; !last;) {
    if (z.size() - at < 5) return fail("truncated deflate block");
    last = z[at] & 1;
    if ((z[at] >> 1) != 0) return fail("not a stored block");
    const unsigned n = z[at + 1] | (z[at + 2] << 8), nn = z[at + 3] | (z[at + 4] << 8);
    if ((n ^ 0xFFFF) != nn) return fail("stored block LEN/NLEN mismatch");
    at += 5;
    if (z.size() - at < n) return fail("stored block past the end");
    raw.insert(raw.end(), z.begin() + static_cast<std::ptrdiff_t>(at), z.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
  }
  if (z.size() - at != 4 || BE32(&z[at]) != Adler32(raw.data(), raw.size())) return fail("bad Adler-32");
  const size_t stride = 1 + 4 * static_cast<size_t>(width);
  if (raw.size() != stride * height) return fail("image data size");
  ABitmap.SetSize(static_cast<int>(width), static_cast<int>(height));
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = &raw[y * stride];
    if (row[0] != 0) return fail("filtered row");
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* p = row + 1 + 4 * x;
      ABitmap.SetPixel(static_cast<int>(x), static_cast<int>(y), Color32(p[0], p[1], p[2], p[3]));
    }
  }
  return true;
}

bool ReadStoredPngFile(const std::string& APath, TBitmap32& ABitmap, std::string* AError) {
  std::ifstream f(APath, std::ios::binary);
  if (!f) {
    if (AError) *AError = APath + ": cannot open";
    return false;
  }
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  return DecodeStoredPng(bytes, ABitmap, AError);
}
