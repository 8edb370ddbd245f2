// The scalar reference kernels of Bitmap32; see bitmap32_kernels.h. They are
// the definition the SSE2 kernels are held to.
#include <algorithm>
#include <bit>

#include "render/bitmap32.h"
#include "render/bitmap32_kernels.h"

namespace QD_Kernels {

void OverRunScalar(const TOverOpaque& AOver, TColor32* APixels, int AN) {
  for (int i = 0; i < AN; ++i)
    APixels[i] = (APixels[i] >> 24) == 255 ? AOver(APixels[i]) : BlendPixel(AOver.Color, APixels[i]);
}

void CoverageRunScalar(TColor32 F, const uint8_t* ACoverage, TColor32* APixels, int AN) {
  for (int i = 0; i < AN; ++i)
    if (ACoverage[i]) APixels[i] = BlendPixelCoverage(F, APixels[i], ACoverage[i]);
}

TColor32 LerpColorScalar(TColor32 A, TColor32 B, float W) {
  TColor32 out = 0;
  for (int shift = 0; shift <= 24; shift += 8) {
    const float c = static_cast<float>(Channel(A, shift)) +
                    (static_cast<float>(Channel(B, shift)) - static_cast<float>(Channel(A, shift))) * W;
    out |= static_cast<TColor32>(RoundHalfAway(std::clamp(c, 0.0f, 255.0f))) << shift;
  }
  return out;
}

size_t CrossingsScalar(const TEdgeLanes& ALanes, float AY, std::pair<float, int>* Out) {
  size_t count = 0;
  for (size_t j = 0; j < ALanes.Padded; ++j) {
    if (AY < ALanes.Y0[j] || AY >= ALanes.Y1[j]) continue;
    const float x = ALanes.AX[j] + (AY - ALanes.AY[j]) * ALanes.DX[j] / ALanes.DY[j];
    if (!std::isnan(x)) Out[count++] = {x, ALanes.Dir[j]};
  }
  return count;
}

void InsideRunScalar(const uint16_t* ADiff, uint16_t* AInside, uint8_t* ABytes, int AN, uint32_t ABefore) {
  uint32_t bits = ABefore;
  for (int i = 0; i < AN; ++i) {
    bits ^= ADiff[i];
    AInside[i] = static_cast<uint16_t>(bits);
    ABytes[i] = static_cast<uint8_t>((std::popcount(bits) * 255 + 8) >> 4);
  }
}

}  // namespace QD_Kernels
