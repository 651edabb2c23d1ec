// Pixel, zoom and rotation effects. Where chance decides per pixel, row or column, the
// generator is restarted from W + H in every frame and the units are visited in a fixed
// order (pixels and rows from the bottom row up, columns left to right), so each unit
// draws the same number in every frame and the pattern only grows with P.
#include "effects/effects_pixel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "effects/draw_ops.h"
#include "effects/pixel_ops.h"
#include "media/intmath.h"
#include "media/random.h"

namespace kx {

namespace {

// The generator's draws r = Random::Next(100) for many units at once: r < P exactly when
// the new state is below ceil(P * 2^32 / 100). Eight interleaved chains, each jumping
// eight draws at a time through the generator's own sequence, keep the per-unit work
// short and branch-free. The caller saves and restores the generator's state.
class PercentDraws {
 public:
  static constexpr int kLanes = 8;

  explicit PercentDraws(int percent) {
    const uint64_t p = static_cast<uint64_t>(std::clamp(percent, 0, 100));
    threshold_ = (p << 32) / 100 + ((p << 32) % 100 != 0);
    for (int k = 0; k < kLanes; ++k) {  // s -> jumpMul_ s + jumpAdd_ is kLanes draws
      jumpMul_ *= kMul;
      jumpAdd_ = jumpAdd_ * kMul + 1u;
    }
    uint32_t st = Random::State();
    for (int k = 0; k < kLanes; ++k) lane_[k] = st = st * kMul + 1u;  // the next draws
  }

  // d := s for the units whose draw is below P, the next n draws in order.
  void Take(Pixel* d, const Pixel* s, int n) {
    int x = 0;
#if defined(__SSE2__)
    if (threshold_ > 0 && threshold_ <= 0xFFFFFFFFu) {
      const __m128i mul = _mm_set1_epi32(static_cast<int>(jumpMul_));
      const __m128i add = _mm_set1_epi32(static_cast<int>(jumpAdd_));
      const __m128i bias = _mm_set1_epi32(static_cast<int>(0x80000000u));
      const __m128i thr = _mm_xor_si128(_mm_set1_epi32(static_cast<int>(static_cast<uint32_t>(threshold_))), bias);
      __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lane_));
      __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lane_ + 4));
      for (; x + kLanes <= n; x += kLanes) {
        const __m128i mlo = _mm_cmplt_epi32(_mm_xor_si128(lo, bias), thr);
        const __m128i mhi = _mm_cmplt_epi32(_mm_xor_si128(hi, bias), thr);
        __m128i* dp = reinterpret_cast<__m128i*>(d + x);
        const __m128i* sp = reinterpret_cast<const __m128i*>(s + x);
        _mm_storeu_si128(dp, _mm_or_si128(_mm_andnot_si128(mlo, _mm_loadu_si128(dp)),
                                          _mm_and_si128(mlo, _mm_loadu_si128(sp))));
        _mm_storeu_si128(dp + 1, _mm_or_si128(_mm_andnot_si128(mhi, _mm_loadu_si128(dp + 1)),
                                              _mm_and_si128(mhi, _mm_loadu_si128(sp + 1))));
        lo = _mm_add_epi32(MulLo32(lo, mul), add);
        hi = _mm_add_epi32(MulLo32(hi, mul), add);
      }
      _mm_storeu_si128(reinterpret_cast<__m128i*>(lane_), lo);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(lane_ + 4), hi);
    }
#endif
    uint32_t m[kLanes];
    for (; x + kLanes <= n; x += kLanes) {
      Next(m, kLanes);
      for (int k = 0; k < kLanes; ++k) d[x + k] = (d[x + k] & ~m[k]) | (s[x + k] & m[k]);
    }
    if (x < n) {
      Next(m, n - x);
      for (int k = 0; x + k < n; ++k) d[x + k] = (d[x + k] & ~m[k]) | (s[x + k] & m[k]);
    }
  }

 private:
  static constexpr uint32_t kMul = 134775813u;

#if defined(__SSE2__)
  // The low 32 bits of four 32 x 32-bit products.
  static __m128i MulLo32(__m128i a, __m128i b) {
    const __m128i even = _mm_mul_epu32(a, b);
    const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
    return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                              _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
  }
#endif

  // Masks (all ones when the draw is below P) for the next n draws, 1 <= n <= kLanes.
  void Next(uint32_t* mask, int n) {
    for (int k = 0; k < n; ++k) mask[k] = lane_[k] < threshold_ ? ~0u : 0u;
    if (n == kLanes) {
      for (int k = 0; k < kLanes; ++k) lane_[k] = lane_[k] * jumpMul_ + jumpAdd_;
      return;
    }
    uint32_t next[kLanes];
    for (int k = 0; k < kLanes; ++k)
      next[k] = k + n < kLanes ? lane_[k + n] : lane_[k + n - kLanes] * jumpMul_ + jumpAdd_;
    std::memcpy(lane_, next, sizeof lane_);
  }

  uint64_t threshold_;
  uint32_t jumpMul_ = 1, jumpAdd_ = 0;
  uint32_t lane_[kLanes];
};

bool SameSize(const Bitmap32& Dst, const Bitmap32& Src, int W, int H) {
  return W > 0 && H > 0 && Dst.Width() == W && Dst.Height() == H && Src.Width() == W && Src.Height() == H;
}

// Narrows [x0, x1) to the x with lo <= v0 + c * x < hi.
void KeepLinearInside(int64_t v0, int64_t c, int64_t lo, int64_t hi, int64_t& x0, int64_t& x1) {
  if (c == 0) {
    if (v0 < lo || v0 >= hi) x1 = x0;
    return;
  }
  if (c > 0) {
    x0 = std::max(x0, CeilDiv(lo - v0, c));          // v0 + c x >= lo
    x1 = std::min(x1, CeilDiv(hi - v0, c));          // v0 + c x < hi
  } else {
    x0 = std::max(x0, FloorDiv(hi - v0, c) + 1);     // v0 + c x < hi  <=>  x > (hi - v0) / c
    x1 = std::min(x1, FloorDiv(lo - v0, c) + 1);     // v0 + c x >= lo <=>  x <= (lo - v0) / c
  }
}

// Draws src turned by theta about the pivot (px, py); pixels whose source lies outside
// src keep their value. 16.16 fixed point, one sine and one cosine per frame: Dst (x, y)
// takes Src (px + (a >> 16), py - (b >> 16)) with a = cs u - sn e, b = cs e + sn u,
// u = x + 1 - px, e = py + 1 - y. In each row the columns whose source lies inside Src
// are found first, so the copy loop needs no tests.
void RotateBitmap(Bitmap32& Dst, const Bitmap32& Src, int px, int py, double theta) {
  const int W = Dst.Width(), H = Dst.Height();
  const int64_t sn = static_cast<int64_t>(std::trunc(std::sin(-theta) * 65536.0));
  const int64_t cs = static_cast<int64_t>(std::trunc(std::cos(-theta) * 65536.0));
  const Pixel* const src = Src.Data();
  for (int y = 0; y < H; ++y) {
    const int64_t e = int64_t{py} + 1 - y;
    const int64_t u0 = int64_t{1} - px;  // u at x = 0
    const int64_t a0 = cs * u0 - sn * e, b0 = cs * e + sn * u0;
    int64_t x0 = 0, x1 = W;
    // 0 <= px + (a >> 16) < W  and  0 <= py - (b >> 16) < H
    KeepLinearInside(a0, cs, -int64_t{px} * 65536, (int64_t{W} - px) * 65536, x0, x1);
    KeepLinearInside(b0, sn, (int64_t{py} - H + 1) * 65536, (int64_t{py} + 1) * 65536, x0, x1);
    if (x0 >= x1) continue;
    Pixel* const out = Dst.Row(y);
    int64_t a = a0 + cs * x0, b = b0 + sn * x0;
    for (int64_t x = x0; x < x1; ++x, a += cs, b += sn)
      out[x] = src[(py - (b >> 16)) * W + px + (a >> 16)];
  }
}

}  // namespace

void Fade(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  BlendRect(Dst, Src, P, 0, 0, W, H);
}

void Dissolve(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (!SameSize(Dst, Src, W, H)) return;
  RandomStateGuard keep;
  Random::Seed(static_cast<uint32_t>(W + H));
  // Every draw is in 0..99: nothing is copied at P <= 0 and everything at P >= 100.
  if (P <= 0) return;
  if (P >= 100) {
    std::memcpy(Dst.Data(), Src.Data(), Src.PixelCount() * sizeof(Pixel));
    return;
  }
  PercentDraws draws(P);
  for (int y = H - 1; y >= 0; --y) draws.Take(Dst.Row(y), Src.Row(y), W);
}

void RandomBarsHorizontal(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (!SameSize(Dst, Src, W, H)) return;
  RandomStateGuard keep;
  Random::Seed(static_cast<uint32_t>(W + H));
  for (int y = H - 1; y >= 0; --y)
    if (Random::Next(100) < P) std::memcpy(Dst.Row(y), Src.Row(y), static_cast<size_t>(W) * sizeof(Pixel));
}

void RandomBarsVertical(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (!SameSize(Dst, Src, W, H)) return;
  RandomStateGuard keep;
  Random::Seed(static_cast<uint32_t>(W + H));
  // Decide a run of columns first (a mask per column), then copy it row by row.
  constexpr int kChunk = 256;
  uint32_t take[kChunk];
  for (int x0 = 0; x0 < W; x0 += kChunk) {
    const int n = std::min(kChunk, W - x0);
    uint32_t any = 0;
    for (int k = 0; k < n; ++k) any |= (take[k] = Random::Next(100) < P ? ~0u : 0u);
    if (!any) continue;
    for (int y = 0; y < H; ++y) MaskedCopyRow(Dst.Row(y) + x0, Src.Row(y) + x0, take, n);
  }
}

// Zooms into the old picture until its pixels are large blocks, cross-fades at the deepest
// point (P 41..59), and zooms back out of the new picture.
void Pixelate(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  int k, u, v;
  const Bitmap32* zoom;
  if (P <= 50) {
    k = 180 - MulDiv(P, 82, 50);
    u = X;
    v = Y;
    zoom = &Dst;
  } else {
    k = 180 + MulDiv(P - 100, 82, 50);
    u = W - X;
    v = H - Y;
    zoom = &Src;
  }
  const int xs = MulDiv(u, k, 100), ys = MulDiv(v, k, 100);
  const int sw = std::max(W - 2 * xs, 2), sh = std::max(H - 2 * ys, 2);
  if (P >= 41 && P <= 59) {
    BlendRect(Dst, Src, 5 * P - 200, xs, ys, sw, sh);
    zoom = &Dst;
  }
  StretchRect(Dst, *zoom, xs, ys, sw, sh, -2 * xs, -2 * ys, W + 4 * xs, H + 4 * ys);
}

// The pivots: the new picture swings into place about a point just outside one corner.
void PivotFromTopLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (!SameSize(Dst, Src, W, H)) return;
  RotateBitmap(Dst, Src, -1, H, (100 - P) * std::numbers::pi / 200);
}
void PivotFromBottomLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (!SameSize(Dst, Src, W, H)) return;
  RotateBitmap(Dst, Src, -1, -1, (P - 100) * std::numbers::pi / 200);
}
void PivotFromTopRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (!SameSize(Dst, Src, W, H)) return;
  RotateBitmap(Dst, Src, W, H, (P - 100) * std::numbers::pi / 200);
}
void PivotFromBottomRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (!SameSize(Dst, Src, W, H)) return;
  RotateBitmap(Dst, Src, W, -1, (100 - P) * std::numbers::pi / 200);
}

}  // namespace kx
