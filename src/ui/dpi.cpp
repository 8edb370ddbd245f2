// DPI arithmetic; see dpi.h.
#include "dpi.h"

#include <cstdint>

int QD_MulDiv(int ANumber, int ANumerator, int ADenominator) {
  if (ADenominator == 0) return -1;
  int64_t number = ANumber;
  int64_t denominator = ADenominator;
  // A positive divisor keeps the rounding rule to one sign test.
  if (denominator < 0) {
    number = -number;
    denominator = -denominator;
  }
  const int64_t product = number * ANumerator;
  // Half the divisor, truncated, moves the quotient away from zero; C++
  // division then truncates towards zero: round half away from zero.
  const int64_t result = product >= 0 ? (product + denominator / 2) / denominator
                                      : (product - denominator / 2) / denominator;
  if (result > INT32_MAX || result < -INT32_MAX) return -1;
  return static_cast<int>(result);
}
