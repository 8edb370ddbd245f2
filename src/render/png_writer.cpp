// PNG encoder with stored deflate blocks; see png_writer.h.
#include "render/png_writer.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Table-driven CRC-32 (polynomial 0xEDB88320, reflected), as PNG defines it.
const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void PutBE32(std::vector<uint8_t>& AOut, uint32_t V) {
  AOut.push_back(static_cast<uint8_t>(V >> 24));
  AOut.push_back(static_cast<uint8_t>(V >> 16));
  AOut.push_back(static_cast<uint8_t>(V >> 8));
  AOut.push_back(static_cast<uint8_t>(V));
}

// Length, type, data, CRC over type and data.
void PutChunk(std::vector<uint8_t>& AOut, const char AType[4], const std::vector<uint8_t>& AData) {
  PutBE32(AOut, static_cast<uint32_t>(AData.size()));
  const size_t typeAt = AOut.size();
  AOut.insert(AOut.end(), AType, AType + 4);
  AOut.insert(AOut.end(), AData.begin(), AData.end());
  PutBE32(AOut, Crc32(AOut.data() + typeAt, AOut.size() - typeAt));
}

}  // namespace

uint32_t Crc32(const uint8_t* AData, size_t ALength, uint32_t ACrc) {
  const auto& t = CrcTable();
  uint32_t c = ~ACrc;
  for (size_t i = 0; i < ALength; ++i) c = t[(c ^ AData[i]) & 0xFF] ^ (c >> 8);
  return ~c;
}

uint32_t Adler32(const uint8_t* AData, size_t ALength, uint32_t AAdler) {
  constexpr uint32_t kMod = 65521;
  uint32_t a = AAdler & 0xFFFF, b = AAdler >> 16;
  while (ALength > 0) {
    // 5552 bytes is the most that cannot overflow 32 bits before the modulo.
    const size_t n = ALength < 5552 ? ALength : 5552;
    for (size_t i = 0; i < n; ++i) {
      a += AData[i];
      b += a;
    }
    a %= kMod;
    b %= kMod;
    AData += n;
    ALength -= n;
  }
  return (b << 16) | a;
}

std::vector<uint8_t> EncodePng(const TBitmap32& ABitmap) {
  if (ABitmap.Empty()) return {};
  const int w = ABitmap.Width(), h = ABitmap.Height();

  // Scanlines: filter byte 0 (None), then R, G, B, A per pixel.
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(h) * (1 + 4 * static_cast<size_t>(w)));
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);
    const TColor32* row = ABitmap.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      const TColor32 c = row[x];
      raw.push_back(RedComponent(c));
      raw.push_back(GreenComponent(c));
      raw.push_back(BlueComponent(c));
      raw.push_back(AlphaComponent(c));
    }
  }

  // zlib stream: header (deflate, 32K window, no dictionary, check bits),
  // stored blocks of at most 65535 bytes, Adler-32 of the raw data.
  std::vector<uint8_t> z;
  z.reserve(raw.size() + raw.size() / 65535 * 5 + 16);
  z.push_back(0x78);
  z.push_back(0x01);
  size_t pos = 0;
  do {
    const size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
    const bool last = pos + n == raw.size();
    z.push_back(last ? 1 : 0);  // BFINAL, BTYPE = 00 (stored)
    z.push_back(static_cast<uint8_t>(n));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n));
    z.push_back(static_cast<uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
             raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
    pos += n;
  } while (pos < raw.size());
  PutBE32(z, Adler32(raw.data(), raw.size()));

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  PutBE32(ihdr, static_cast<uint32_t>(w));
  PutBE32(ihdr, static_cast<uint32_t>(h));
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive filters, no interlace
  PutChunk(out, "IHDR", ihdr);
  PutChunk(out, "IDAT", z);
  PutChunk(out, "IEND", {});
  return out;
}

bool WritePngFile(const TBitmap32& ABitmap, const std::string& APath, std::string* AError) {
  auto fail = [&](std::string AReason) {
    if (AError) *AError = std::move(AReason);
    return false;
  };
  const std::vector<uint8_t> png = EncodePng(ABitmap);
  if (png.empty()) return fail("the bitmap is empty");
  std::FILE* f = std::fopen(APath.c_str(), "wb");
  if (!f) return fail(APath + ": " + std::strerror(errno));
  const bool written = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) return fail(APath + ": write failed");
  return true;
}
