// PNG writer: checksums against published values, the file structure, and a
// full round trip through an independent stored-block reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

#include "png_reader.h"
#include "render/png_writer.h"

namespace {

uint32_t BE32(const uint8_t* P) {
  return (uint32_t{P[0]} << 24) | (uint32_t{P[1]} << 16) | (uint32_t{P[2]} << 8) | P[3];
}

}  // namespace

TEST(PngWriter, ChecksumsMatchPublishedValues) {
  const auto* digits = reinterpret_cast<const uint8_t*>("123456789");
  EXPECT_EQ(Crc32(digits, 9), 0xCBF43926u);  // the CRC-32 check value
  EXPECT_EQ(Crc32(digits + 4, 5, Crc32(digits, 4)), 0xCBF43926u);  // continued
  EXPECT_EQ(Adler32(reinterpret_cast<const uint8_t*>("Wikipedia"), 9), 0x11E60398u);
  EXPECT_EQ(Adler32(nullptr, 0), 1u);
  // Long runs of 0xFF exercise the deferred modulo.
  std::vector<uint8_t> ff(100000, 0xFF);
  uint32_t a = 1, b = 0;
  for (uint8_t v : ff) a = (a + v) % 65521, b = (b + a) % 65521;
  EXPECT_EQ(Adler32(ff.data(), ff.size()), (b << 16) | a);
}

TEST(PngWriter, HeaderDescribesAn8BitRgbaImage) {
  TBitmap32 b(3, 2);
  const std::vector<uint8_t> png = EncodePng(b);
  ASSERT_GT(png.size(), 8u + 25u);
  EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1A\n", 8), 0);
  EXPECT_EQ(BE32(&png[8]), 13u);
  EXPECT_EQ(std::memcmp(&png[12], "IHDR", 4), 0);
  EXPECT_EQ(BE32(&png[16]), 3u);
  EXPECT_EQ(BE32(&png[20]), 2u);
  EXPECT_EQ(png[24], 8);  // bits per channel
  EXPECT_EQ(png[25], 6);  // RGBA
  EXPECT_EQ(BE32(&png[29]), Crc32(&png[12], 17));
  // Ends with the fixed IEND chunk.
  const uint8_t iend[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  EXPECT_EQ(std::memcmp(&png[png.size() - 12], iend, 12), 0);
  EXPECT_TRUE(EncodePng(TBitmap32()).empty());
}

TEST(PngWriter, RoundTripsEveryPixelAcrossSeveralStoredBlocks) {
  const unsigned seed = 4242;
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  // 181 × 97 × 4 + 97 filter bytes ≈ 70 kB: more than one 65535-byte block.
  TBitmap32 b(181, 97);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, rng());
  const std::vector<uint8_t> png = EncodePng(b);
  TBitmap32 back;
  std::string error;
  ASSERT_TRUE(DecodeStoredPng(png, back, &error)) << error;
  ASSERT_EQ(back.Width(), b.Width());
  ASSERT_EQ(back.Height(), b.Height());
  EXPECT_EQ(std::memcmp(back.Bits(), b.Bits(), sizeof(TColor32) * b.Width() * b.Height()), 0);
  // Straight ARGB maps onto RGBA byte order: a known pixel, byte by byte.
  TBitmap32 one(1, 1);
  one.SetPixel(0, 0, 0x80112233);
  const std::vector<uint8_t> p1 = EncodePng(one);
  const uint8_t want[5] = {0, 0x11, 0x22, 0x33, 0x80};  // filter byte, R, G, B, A
  EXPECT_NE(std::search(p1.begin(), p1.end(), want, want + 5), p1.end());
}

TEST(PngWriter, ReaderRejectsCorruption) {
  TBitmap32 b(4, 4), back;
  b.Clear(0xFF00FF00);
  std::vector<uint8_t> png = EncodePng(b);
  std::string error;
  ASSERT_TRUE(DecodeStoredPng(png, back, &error)) << error;
  std::vector<uint8_t> bad = png;
  bad[50] ^= 1;  // inside the IDAT data: its CRC no longer matches
  EXPECT_FALSE(DecodeStoredPng(bad, back, &error));
  bad.assign(png.begin(), png.begin() + 40);
  EXPECT_FALSE(DecodeStoredPng(bad, back, &error));
}

TEST(PngWriter, WritesAFileAndReportsUnwritablePaths) {
  TBitmap32 b(5, 3), back;
  b.Clear(0xC0102030);
  const std::string path = ::testing::TempDir() + "quendal_png_writer_test.png";
  std::string error;
  ASSERT_TRUE(WritePngFile(b, path, &error)) << error;
  ASSERT_TRUE(ReadStoredPngFile(path, back, &error)) << error;
  EXPECT_EQ(back.Pixel(4, 2), 0xC0102030u);
  std::remove(path.c_str());
  EXPECT_FALSE(WritePngFile(b, "/nonexistent-dir/x.png", &error));
  EXPECT_NE(error.find("nonexistent-dir"), std::string::npos);
  EXPECT_FALSE(WritePngFile(TBitmap32(), path, &error));
}
