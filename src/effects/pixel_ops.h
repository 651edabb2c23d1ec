// Per-pixel helpers shared by the drawing operations and the pixel effects. They work on
// blue, green and red and keep the destination's fourth byte.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "media/bitmap32.h"

namespace kx {

// d := d + floor(a * (s - d) / 256) for blue, green and red, a in 0..256.
// Computed as (d * (256 - a) + s * a) >> 8, which is the same number, with red and blue
// in one 32-bit lane pair.
inline Pixel FadePixel(Pixel d, Pixel s, uint32_t a) {
  const uint32_t na = 256 - a;
  const uint32_t rb = (((d & 0x00FF00FFu) * na + (s & 0x00FF00FFu) * a) >> 8) & 0x00FF00FFu;
  const uint32_t g = (((d & 0x0000FF00u) * na + (s & 0x0000FF00u) * a) >> 8) & 0x0000FF00u;
  return (d & 0xFF000000u) | rb | g;
}

// The same over a row. With SSE2 four pixels at a time in 16-bit lanes (the products
// and their sum stay below 65536); the fourth byte gets weight 0 and keeps its value.
inline void FadeRow(Pixel* d, const Pixel* s, int n, int a) {
  int x = 0;
#if defined(__SSE2__)
  const short w = static_cast<short>(a), nw = static_cast<short>(256 - a);
  const __m128i wv = _mm_setr_epi16(w, w, w, 0, w, w, w, 0);
  const __m128i nwv = _mm_setr_epi16(nw, nw, nw, 256, nw, nw, nw, 256);
  const __m128i zero = _mm_setzero_si128();
  for (; x + 4 <= n; x += 4) {
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + x));
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + x));
    const __m128i lo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), nwv),
                                                    _mm_mullo_epi16(_mm_unpacklo_epi8(sv, zero), wv)), 8);
    const __m128i hi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), nwv),
                                                    _mm_mullo_epi16(_mm_unpackhi_epi8(sv, zero), wv)), 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x), _mm_packus_epi16(lo, hi));
  }
#endif
  for (; x < n; ++x) d[x] = FadePixel(d[x], s[x], static_cast<uint32_t>(a));
}

// d[k] := s[k] where mask[k] is all ones, keeps d[k] where it is 0.
inline void MaskedCopyRow(Pixel* d, const Pixel* s, const uint32_t* mask, int n) {
  int k = 0;
#if defined(__SSE2__)
  for (; k + 4 <= n; k += 4) {
    const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + k));
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + k));
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + k));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + k), _mm_or_si128(_mm_andnot_si128(m, dv), _mm_and_si128(m, sv)));
  }
#endif
  for (; k < n; ++k) d[k] = (d[k] & ~mask[k]) | (s[k] & mask[k]);
}

inline uint32_t ClampChannel(int v) { return v < 0 ? 0u : (v > 255 ? 255u : static_cast<uint32_t>(v)); }

// Adds offset to blue, green and red, each clamped to 0..255.
inline Pixel AddToRgb(Pixel p, int offset) {
  const uint32_t b = ClampChannel(static_cast<int>(p & 0xFF) + offset);
  const uint32_t g = ClampChannel(static_cast<int>((p >> 8) & 0xFF) + offset);
  const uint32_t r = ClampChannel(static_cast<int>((p >> 16) & 0xFF) + offset);
  return (p & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

}  // namespace kx
