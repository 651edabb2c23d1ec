// Integer and rounding rules that decide pixels. Every piece of geometry in the
// engine goes through these three helpers so the rules live in one place:
//   Div       truncates toward zero (C++ '/' on integers already does this);
//   MulDiv    a * b / c with a 64-bit intermediate, rounded to nearest, halves away from zero;
//   RoundHalfEven  real -> nearest integer, halves to the even neighbour.
#pragma once

#include <cmath>
#include <cstdint>

namespace kx {

constexpr int Div(int a, int b) { return b == 0 ? 0 : a / b; }

// Like the Windows call: c == 0 gives -1; the result is clamped to 32 bits.
constexpr int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const int64_t num = static_cast<int64_t>(a) * b;
  const int64_t den = c;
  const bool negative = (num < 0) != (den < 0);
  const uint64_t an = static_cast<uint64_t>(num < 0 ? -num : num);
  const uint64_t ad = static_cast<uint64_t>(den < 0 ? -den : den);
  uint64_t q = (an + ad / 2) / ad;
  int64_t r = negative ? -static_cast<int64_t>(q) : static_cast<int64_t>(q);
  if (r > INT32_MAX || r < INT32_MIN) return -1;
  return static_cast<int>(r);
}

// Adding and removing 1.5 * 2^52 rounds v to an integer under the default rounding mode
// (to nearest, halves to even) without a library call; exact for |v| < 2^51, and the
// library's nearbyint covers the rest.
inline int RoundHalfEven(double v) {
  constexpr double kMagic = 6755399441055744.0;
  constexpr double kLimit = 2251799813685248.0;
  if (v > -kLimit && v < kLimit) return static_cast<int>((v + kMagic) - kMagic);
  return static_cast<int>(std::nearbyint(v));
}

// Round(100 * i / n) computed exactly in integers, halves to even.
constexpr int RoundRatioHalfEven(int64_t num, int64_t den) {
  if (den == 0) return 0;
  if (den < 0) { num = -num; den = -den; }
  int64_t q = num / den, r = num % den;
  if (r < 0) { r += den; --q; }
  if (2 * r > den || (2 * r == den && (q & 1))) ++q;
  return static_cast<int>(q);
}

}  // namespace kx
