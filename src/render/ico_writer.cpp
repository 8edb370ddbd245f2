// Icon files; see ico_writer.h.
#include "render/ico_writer.h"

namespace {

void Put16(std::vector<uint8_t>& AOut, uint32_t AValue) {
  AOut.push_back(static_cast<uint8_t>(AValue));
  AOut.push_back(static_cast<uint8_t>(AValue >> 8));
}
void Put32(std::vector<uint8_t>& AOut, uint32_t AValue) {
  Put16(AOut, AValue & 0xFFFF);
  Put16(AOut, AValue >> 16);
}

// Mask rows are padded to whole 32-bit words.
uint32_t MaskStride(int AWidth) { return static_cast<uint32_t>((AWidth + 31) / 32 * 4); }

uint32_t EntryLength(const TBitmap32& AImage) {
  return 40 + static_cast<uint32_t>(AImage.Width()) * AImage.Height() * 4 + MaskStride(AImage.Width()) * AImage.Height();
}

}  // namespace

std::vector<uint8_t> EncodeIco(const std::vector<TBitmap32>& AImages) {
  std::vector<uint8_t> out;
  if (AImages.empty() || AImages.size() > 0xFFFF) return out;
  for (const TBitmap32& image : AImages)
    if (image.Empty() || image.Width() > 256 || image.Height() > 256) return out;

  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon, not cursor
  Put16(out, static_cast<uint32_t>(AImages.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(AImages.size());
  for (const TBitmap32& image : AImages) {
    out.push_back(static_cast<uint8_t>(image.Width() & 0xFF));  // 256 is written as 0
    out.push_back(static_cast<uint8_t>(image.Height() & 0xFF));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, EntryLength(image));
    Put32(out, offset);
    offset += EntryLength(image);
  }
  for (const TBitmap32& image : AImages) {
    const int w = image.Width(), h = image.Height();
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(w));
    Put32(out, static_cast<uint32_t>(h * 2));  // colour and mask together
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);  // BI_RGB
    Put32(out, static_cast<uint32_t>(w) * h * 4 + MaskStride(w) * h);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = h - 1; y >= 0; --y)
      for (int x = 0; x < w; ++x) Put32(out, image.Pixel(x, y));  // BGRA in memory order
    // Transparent pixels set in the mask, for whatever draws by mask alone.
    for (int y = h - 1; y >= 0; --y) {
      std::vector<uint8_t> row(MaskStride(w), 0);
      for (int x = 0; x < w; ++x)
        if ((image.Pixel(x, y) >> 24) < 128) row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
      out.insert(out.end(), row.begin(), row.end());
    }
  }
  return out;
}
