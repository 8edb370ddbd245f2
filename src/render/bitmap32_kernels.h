// The pixel kernels of Bitmap32's inner loops, each built twice: the scalar
// reference (bitmap32_scalar.cpp), which every compiler builds and runs where
// SSE2 is missing, and SSE2 (bitmap32_sse2.cpp), which computes the very same
// integers and floats four lanes at a time. Every x86 build has both, so the
// tests compare them on every build; Bitmap32 runs the SSE2 ones where built.
// MSVC defines no __SSE2__ for x64, where SSE2 is always there: _M_X64 says so.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "render/color32.h"

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define QD_HAVE_SSE2 1
#else
#define QD_HAVE_SSE2 0
#endif

namespace QD_Kernels {

inline uint32_t Channel(TColor32 C, int AShift) { return (C >> AShift) & 0xFF; }

// std::lround without the library call: in range, the fraction of a
// non-negative float is exact, so comparing it with one half rounds alike.
inline long RoundHalfAway(float AValue) {
  if (!(AValue >= 0.0f && AValue < 1e9f)) return std::lround(AValue);
  const auto i = static_cast<long>(AValue);
  return i + (AValue - static_cast<float>(i) >= 0.5f);  // no branch on the fraction
}

// A colour blended over many opaque pixels: its share of each channel is the
// same every time (see BlendPixel).
struct TOverOpaque {
  explicit TOverOpaque(TColor32 F)
      : Alpha(F >> 24), Rest(255 - Alpha), R(Channel(F, 16) * Alpha + 127), G(Channel(F, 8) * Alpha + 127),
        B(Channel(F, 0) * Alpha + 127), Color(F) {}
  TColor32 operator()(TColor32 P) const {
    if (Alpha == 0) return P;
    if (Alpha == 255) return Color;
    return 0xFF000000 | ((R + Channel(P, 16) * Rest) / 255) << 16 | ((G + Channel(P, 8) * Rest) / 255) << 8 |
           (B + Channel(P, 0) * Rest) / 255;
  }
  uint32_t Alpha, Rest, R, G, B;
  TColor32 Color;
};

// The edges that reach one pixel row, lane by lane: a.X, a.Y, b.X - a.X,
// b.Y - a.Y, top, bottom and winding direction. Padded is a multiple of four;
// padding lanes lie below every sub-scanline.
struct TEdgeLanes {
  const float *AX, *AY, *DX, *DY, *Y0, *Y1;
  const int* Dir;
  size_t Padded;
};

// F over a run of pixels: opaque pixels by TOverOpaque, others by BlendPixel.
void OverRunScalar(const TOverOpaque& AOver, TColor32* APixels, int AN);
// F over a run of pixels, each at its own coverage (BlendPixelCoverage);
// coverage 0 leaves the pixel alone. Text masks are drawn this way.
void CoverageRunScalar(TColor32 F, const uint8_t* ACoverage, TColor32* APixels, int AN);
// The colour a fraction W of the way from A to B, each channel rounded half away.
TColor32 LerpColorScalar(TColor32 A, TColor32 B, float W);
// The crossings (x, direction) of the sub-scanline at AY with the edges in
// ALanes, in lane order; half-open in y, so shared vertices count once; a NaN
// crossing (from a NaN or infinite vertex) is left out. Returns their count.
// Out has room for ALanes.Padded entries: lanes left out may be written past
// the count.
size_t CrossingsScalar(const TEdgeLanes& ALanes, float AY, std::pair<float, int>* Out);
// A polygon row's whole pixels: ADiff holds, per pixel, the sub-scanlines
// (one bit each of sixteen) whose inside starts or ends there. Each pixel's
// running xor of them from the first is stored in AInside, and the coverage
// byte of that many whole sub-scanlines, n·255/16 rounded, in ABytes.
// ABefore: the running xor before the first pixel.
void InsideRunScalar(const uint16_t* ADiff, uint16_t* AInside, uint8_t* ABytes, int AN, uint32_t ABefore = 0);

#if QD_HAVE_SSE2
void OverRunSSE2(const TOverOpaque& AOver, TColor32* APixels, int AN);
void CoverageRunSSE2(TColor32 F, const uint8_t* ACoverage, TColor32* APixels, int AN);
TColor32 LerpColorSSE2(TColor32 A, TColor32 B, float W);
size_t CrossingsSSE2(const TEdgeLanes& ALanes, float AY, std::pair<float, int>* Out);
void InsideRunSSE2(const uint16_t* ADiff, uint16_t* AInside, uint8_t* ABytes, int AN);
#endif

// The kernels Bitmap32 runs.
inline void OverRun(const TOverOpaque& AOver, TColor32* APixels, int AN) {
#if QD_HAVE_SSE2
  OverRunSSE2(AOver, APixels, AN);
#else
  OverRunScalar(AOver, APixels, AN);
#endif
}
inline void CoverageRun(TColor32 F, const uint8_t* ACoverage, TColor32* APixels, int AN) {
#if QD_HAVE_SSE2
  CoverageRunSSE2(F, ACoverage, APixels, AN);
#else
  CoverageRunScalar(F, ACoverage, APixels, AN);
#endif
}
inline TColor32 LerpColor(TColor32 A, TColor32 B, float W) {
#if QD_HAVE_SSE2
  return LerpColorSSE2(A, B, W);
#else
  return LerpColorScalar(A, B, W);
#endif
}
inline size_t Crossings(const TEdgeLanes& ALanes, float AY, std::pair<float, int>* Out) {
#if QD_HAVE_SSE2
  return CrossingsSSE2(ALanes, AY, Out);
#else
  return CrossingsScalar(ALanes, AY, Out);
#endif
}
inline void InsideRun(const uint16_t* ADiff, uint16_t* AInside, uint8_t* ABytes, int AN) {
#if QD_HAVE_SSE2
  InsideRunSSE2(ADiff, AInside, ABytes, AN);
#else
  InsideRunScalar(ADiff, AInside, ABytes, AN);
#endif
}

}  // namespace QD_Kernels
