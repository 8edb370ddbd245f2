// The SSE2 kernels of Bitmap32; see bitmap32_kernels.h. Each gives exactly
// what its scalar reference gives: the same integer formulas, or the same
// float operations in the same order per lane.
#include "render/bitmap32_kernels.h"

#if QD_HAVE_SSE2
#include <emmintrin.h>

#include <cstring>

#include "render/bitmap32.h"

namespace QD_Kernels {

// Opaque pixels four at a time: every sum stays below 65153, and for
// x <= 65534 (x + 1 + (x >> 8)) >> 8 is exactly x / 255. A group with a
// pixel that is not opaque goes the scalar way.
void OverRunSSE2(const TOverOpaque& AOver, TColor32* APixels, int AN) {
  int i = 0;
  if (AOver.Alpha != 0 && AOver.Alpha != 255) {
    const __m128i zero = _mm_setzero_si128(), alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i rest = _mm_set1_epi16(static_cast<short>(AOver.Rest));
    const auto r = static_cast<short>(AOver.R), g = static_cast<short>(AOver.G), b = static_cast<short>(AOver.B);
    const __m128i share = _mm_set_epi16(0, r, g, b, 0, r, g, b);
    const __m128i one = _mm_set1_epi16(1);
    auto channels = [&](__m128i APix) {
      const __m128i x = _mm_add_epi16(_mm_mullo_epi16(APix, rest), share);
      return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, one), _mm_srli_epi16(x, 8)), 8);
    };
    for (; i + 4 <= AN; i += 4) {
      __m128i* at = reinterpret_cast<__m128i*>(APixels + i);
      const __m128i v = _mm_loadu_si128(at);
      if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(v, alpha), alpha)) != 0xFFFF) {
        OverRunScalar(AOver, APixels + i, 4);
        continue;
      }
      const __m128i lo = channels(_mm_unpacklo_epi8(v, zero)), hi = channels(_mm_unpackhi_epi8(v, zero));
      _mm_storeu_si128(at, _mm_or_si128(_mm_packus_epi16(lo, hi), alpha));
    }
  }
  OverRunScalar(AOver, APixels + i, AN - i);
}

// Four pixels at a time where all four are opaque. Over an opaque pixel
// BlendPixelCoverage is, with a = (Fa·coverage + 127) / 255,
//   out.c = (Fc·a + 127 + Bc·(255 − a)) / 255, out.a = 255,
// which also gives B for a = 0 and F for a = 255; every sum stays below
// 65153, where the shift form of / 255 is exact (see OverRunSSE2). Groups
// with a pixel that is not opaque go the scalar way; groups of coverage 0 are
// left alone.
void CoverageRunSSE2(TColor32 F, const uint8_t* ACoverage, TColor32* APixels, int AN) {
  int i = 0;
  const uint32_t fa = F >> 24;
  if (fa != 0) {
    const __m128i zero = _mm_setzero_si128(), alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i one = _mm_set1_epi16(1), round = _mm_set1_epi16(127), full = _mm_set1_epi16(255);
    const __m128i fa16 = _mm_set1_epi16(static_cast<short>(fa));
    const auto r = static_cast<short>(Channel(F, 16)), g = static_cast<short>(Channel(F, 8)),
               b = static_cast<short>(Channel(F, 0));
    const __m128i color = _mm_set_epi16(0, r, g, b, 0, r, g, b);
    auto div255 = [&](__m128i x) { return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, one), _mm_srli_epi16(x, 8)), 8); };
    // Two pixels' channels blended at their alphas (each repeated over its four lanes).
    auto channels = [&](__m128i APix, __m128i AAlpha) {
      const __m128i x = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(color, AAlpha), round),
                                      _mm_mullo_epi16(APix, _mm_sub_epi16(full, AAlpha)));
      return div255(x);
    };
    for (; i + 4 <= AN; i += 4) {
      uint32_t cov;
      std::memcpy(&cov, ACoverage + i, sizeof cov);
      if (cov == 0) continue;
      __m128i* at = reinterpret_cast<__m128i*>(APixels + i);
      const __m128i v = _mm_loadu_si128(at);
      if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(v, alpha), alpha)) != 0xFFFF) {
        CoverageRunScalar(F, ACoverage + i, APixels + i, 4);
        continue;
      }
      const __m128i c16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(cov)), zero);
      const __m128i a = div255(_mm_add_epi16(_mm_mullo_epi16(c16, fa16), round));
      const __m128i pairs = _mm_unpacklo_epi16(a, a);  // a0 a0 a1 a1 a2 a2 a3 a3
      const __m128i lo = channels(_mm_unpacklo_epi8(v, zero), _mm_unpacklo_epi32(pairs, pairs));
      const __m128i hi = channels(_mm_unpackhi_epi8(v, zero), _mm_unpackhi_epi32(pairs, pairs));
      _mm_storeu_si128(at, _mm_or_si128(_mm_packus_epi16(lo, hi), alpha));
    }
  }
  CoverageRunScalar(F, ACoverage + i, APixels + i, AN - i);
}

// The four channels side by side: the same float operations, clamp and
// rounding (truncate, then up where the fraction is at least one half).
// Non-finite weights take the scalar way (lround's results for them).
TColor32 LerpColorSSE2(TColor32 A, TColor32 B, float W) {
  if (!std::isfinite(W)) return LerpColorScalar(A, B, W);
  const __m128i zero = _mm_setzero_si128();
  auto floats = [&](TColor32 C) {
    return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(C)), zero), zero));
  };
  const __m128 fa = floats(A), fb = floats(B);
  __m128 c = _mm_add_ps(fa, _mm_mul_ps(_mm_sub_ps(fb, fa), _mm_set1_ps(W)));
  c = _mm_min_ps(_mm_max_ps(c, _mm_setzero_ps()), _mm_set1_ps(255.0f));
  const __m128i whole = _mm_cvttps_epi32(c);
  const __m128i up = _mm_castps_si128(_mm_cmpge_ps(_mm_sub_ps(c, _mm_cvtepi32_ps(whole)), _mm_set1_ps(0.5f)));
  const __m128i rounded = _mm_sub_epi32(whole, up);
  const __m128i words = _mm_packs_epi32(rounded, rounded);
  return static_cast<TColor32>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}

// Four edges at a time: the same operations per lane.
size_t CrossingsSSE2(const TEdgeLanes& ALanes, float AY, std::pair<float, int>* Out) {
  size_t count = 0;
  const __m128 y = _mm_set1_ps(AY);
  for (size_t j = 0; j < ALanes.Padded; j += 4) {
    const __m128 outside =
        _mm_or_ps(_mm_cmplt_ps(y, _mm_loadu_ps(ALanes.Y0 + j)), _mm_cmpge_ps(y, _mm_loadu_ps(ALanes.Y1 + j)));
    int keep = ~_mm_movemask_ps(outside) & 0xF;
    if (!keep) continue;
    const __m128 x = _mm_add_ps(
        _mm_loadu_ps(ALanes.AX + j),
        _mm_div_ps(_mm_mul_ps(_mm_sub_ps(y, _mm_loadu_ps(ALanes.AY + j)), _mm_loadu_ps(ALanes.DX + j)),
                   _mm_loadu_ps(ALanes.DY + j)));
    keep &= _mm_movemask_ps(_mm_cmpord_ps(x, x));
    alignas(16) float xs[4];
    _mm_store_ps(xs, x);
    // Every lane written, only those kept counted: no branch per lane.
    for (int l = 0; l < 4; ++l) {
      Out[count] = {xs[l], ALanes.Dir[j + static_cast<size_t>(l)]};
      count += static_cast<size_t>(keep >> l) & 1;
    }
  }
  return count;
}

// Eight pixels at a time: the running xor as a prefix scan across the lanes
// plus the last group's, the bits counted by halves, quarters, nibbles and
// bytes, n·255 ≤ 4080 in sixteen bits.
void InsideRunSSE2(const uint16_t* ADiff, uint16_t* AInside, uint8_t* ABytes, int AN) {
  __m128i carry = _mm_setzero_si128();  // the running xor in every lane
  int i = 0;
  const __m128i m1 = _mm_set1_epi16(0x5555), m2 = _mm_set1_epi16(0x3333), m4 = _mm_set1_epi16(0x0F0F);
  const __m128i m8 = _mm_set1_epi16(0x001F), k255 = _mm_set1_epi16(255), half = _mm_set1_epi16(8);
  for (; i + 8 <= AN; i += 8) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ADiff + i));
    v = _mm_xor_si128(v, _mm_slli_si128(v, 2));
    v = _mm_xor_si128(v, _mm_slli_si128(v, 4));
    v = _mm_xor_si128(v, _mm_slli_si128(v, 8));
    v = _mm_xor_si128(v, carry);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(AInside + i), v);
    const __m128i top = _mm_shufflehi_epi16(v, 0xFF);
    carry = _mm_unpackhi_epi64(top, top);
    __m128i c = _mm_sub_epi16(v, _mm_and_si128(_mm_srli_epi16(v, 1), m1));
    c = _mm_add_epi16(_mm_and_si128(c, m2), _mm_and_si128(_mm_srli_epi16(c, 2), m2));
    c = _mm_and_si128(_mm_add_epi16(c, _mm_srli_epi16(c, 4)), m4);
    c = _mm_and_si128(_mm_add_epi16(c, _mm_srli_epi16(c, 8)), m8);
    const __m128i bytes = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(c, k255), half), 4);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(ABytes + i), _mm_packus_epi16(bytes, bytes));
  }
  // The rest by the scalar kernel, from the running xor on.
  InsideRunScalar(ADiff + i, AInside + i, ABytes + i, AN - i, static_cast<uint16_t>(_mm_cvtsi128_si32(carry)));
}

}  // namespace QD_Kernels

#endif
