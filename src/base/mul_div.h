// A·B/C in 64 bits, rounded half away from zero, exactly as the platform's
// MulDiv: C = 0 or a result outside the 32-bit range gives -1. Geometry and
// font sizes convert between DPIs through it so they match Windows.
#pragma once

#include <cstdint>

constexpr int QD_MulDiv(int ANumber, int ANumerator, int ADenominator) {
  if (ADenominator == 0) return -1;
  int64_t number = ANumber;
  int64_t denominator = ADenominator;
  if (denominator < 0) {  // a positive divisor keeps the rounding to one sign test
    number = -number;
    denominator = -denominator;
  }
  const int64_t product = number * ANumerator;
  const int64_t result = product >= 0 ? (product + denominator / 2) / denominator
                                      : (product - denominator / 2) / denominator;
  if (result > INT32_MAX || result < -INT32_MAX) return -1;
  return static_cast<int>(result);
}
