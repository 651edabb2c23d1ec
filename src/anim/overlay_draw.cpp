#include "anim/overlay_draw.h"

#include <algorithm>
#include <cstdlib>

#include "package/user_settings.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kx {

void KeyedBlendRow(const Pixel* src, Pixel* dst, int count, uint8_t a, bool keyed, Pixel key) {
  const int ia = 255 - a;
  int i = 0;
#if defined(__SSE2__)
  // Four pixels at a time in 16-bit lanes: s * a + d * (255 - a) stays below 2^16, and
  // (x * 0x8081) >> 23 is x / 255 for every such x.
  const __m128i zero = _mm_setzero_si128(), va = _mm_set1_epi16(a), via = _mm_set1_epi16(static_cast<short>(ia));
  const __m128i by255 = _mm_set1_epi16(static_cast<short>(0x8081));
  const __m128i rgb = _mm_set1_epi32(0x00FFFFFF), alpha = _mm_set1_epi32(static_cast<int>(static_cast<uint32_t>(a) << 24));
  const __m128i vkey = _mm_set1_epi32(static_cast<int>(key));
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    auto half = [&](__m128i s16, __m128i d16) {
      const __m128i x = _mm_add_epi16(_mm_mullo_epi16(s16, va), _mm_mullo_epi16(d16, via));
      return _mm_srli_epi16(_mm_mulhi_epu16(x, by255), 7);
    };
    const __m128i lo = half(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
    const __m128i hi = half(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
    __m128i out = _mm_or_si128(_mm_and_si128(_mm_packus_epi16(lo, hi), rgb), alpha);
    if (keyed) {
      const __m128i same = _mm_cmpeq_epi32(s, vkey);
      out = _mm_or_si128(_mm_and_si128(same, d), _mm_andnot_si128(same, out));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
  }
#endif
  for (; i < count; ++i) {
    const Pixel s = src[i], d = dst[i];
    if (keyed && s == key) continue;
    const int r = (PixelR(s) * a + PixelR(d) * ia) / 255;
    const int g = (PixelG(s) * a + PixelG(d) * ia) / 255;
    const int b = (PixelB(s) * a + PixelB(d) * ia) / 255;
    dst[i] = MakePixel(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), a);
  }
}


void BlendLineClipped(Bitmap32& bmp, int x0, int y0, int x1, int y1, Pixel color) {
  const int dx = x1 - x0, dy = y1 - y0;
  const int n = std::max(std::abs(dx), std::abs(dy));
  if (n == 0) return;
  // Clip quickly when the whole line is outside.
  if ((x0 < 0 && x1 < 0) || (y0 < 0 && y1 < 0) || (x0 >= bmp.Width() && x1 >= bmp.Width()) ||
      (y0 >= bmp.Height() && y1 >= bmp.Height()))
    return;
  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const int ax = std::abs(dx), ay = std::abs(dy);
  int x = x0, y = y0;
  if (ax >= ay) {
    int err = ax / 2;
    for (int k = 0; k < n; ++k) {
      BlendPixelClipped(bmp, x, y, color);
      x += sx;
      err -= ay;
      if (err < 0) { y += sy; err += ax; }
    }
  } else {
    int err = ay / 2;
    for (int k = 0; k < n; ++k) {
      BlendPixelClipped(bmp, x, y, color);
      y += sy;
      err -= ax;
      if (err < 0) { x += sx; err += ay; }
    }
  }
}

int SpeedTableValue(int index) {
  if (index < 0) index = 0;
  if (index > 20) index = 20;
  return SpeedTable[index];
}

}  // namespace kx
