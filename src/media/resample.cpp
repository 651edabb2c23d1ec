#include "media/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kx {
namespace {

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;
constexpr double kPi = 3.14159265358979323846;

double Sinc(double x) {
  if (x == 0.0) return 1.0;
  x *= kPi;
  return std::sin(x) / x;
}

double Lanczos3(double x) {
  x = std::fabs(x);
  return x < 3.0 ? Sinc(x) * Sinc(x / 3.0) : 0.0;
}

double Triangle(double x) {
  x = std::fabs(x);
  return x < 1.0 ? 1.0 - x : 0.0;
}

// Target coordinates win_lo .. win_hi - 1 of a grid of `grid` pixels mapped onto source
// coordinates src_lo .. src_hi - 1.
AxisWeights MakeWeights(int src_lo, int src_hi, int grid, int win_lo, int win_hi,
                        StretchFilter filter) {
  AxisWeights a;
  const int n = win_hi - win_lo;
  a.first.resize(n);
  a.count.resize(n);
  a.offset.resize(n);
  if (src_hi - src_lo == grid) {  // same size: each target pixel is its source pixel
    for (int i = 0; i < n; ++i) {
      a.first[i] = src_lo + win_lo + i;
      a.count[i] = 1;
      a.offset[i] = i;
    }
    a.w.assign(n, static_cast<int16_t>(kWeightOne));
    return a;
  }
  const double scale = static_cast<double>(src_hi - src_lo) / grid;
  const bool lanczos = filter == StretchFilter::Lanczos;
  const double radius = lanczos ? 3.0 : 1.0;
  const double stretch = std::max(1.0, scale);  // widen the kernel when shrinking
  const double support = radius * stretch;
  std::vector<double> tmp;
  for (int i = 0; i < n; ++i) {
    const double center = (win_lo + i + 0.5) * scale + src_lo;  // in source pixel units
    int lo = static_cast<int>(std::floor(center - support));
    int hi = static_cast<int>(std::ceil(center + support));
    lo = std::max(lo, src_lo);
    hi = std::min(hi, src_hi);
    if (hi <= lo) {  // cannot happen for sane input; sample the nearest pixel
      lo = std::clamp(static_cast<int>(center), src_lo, src_hi - 1);
      hi = lo + 1;
    }
    tmp.assign(hi - lo, 0.0);
    double total = 0.0;
    for (int s = lo; s < hi; ++s) {
      const double x = (s + 0.5 - center) / stretch;
      const double v = lanczos ? Lanczos3(x) : Triangle(x);
      tmp[s - lo] = v;
      total += v;
    }
    if (total == 0.0) {
      tmp.assign(hi - lo, 0.0);
      tmp[0] = total = 1.0;
    }
    // Trim zero weights at both ends to keep the inner loops short.
    int b = 0, e = hi - lo;
    while (b < e - 1 && tmp[b] == 0.0) ++b;
    while (e > b + 1 && tmp[e - 1] == 0.0) --e;
    a.first[i] = lo + b;
    a.count[i] = e - b;
    a.offset[i] = static_cast<int>(a.w.size());
    int sum = 0, biggest = 0;
    size_t biggest_at = a.w.size();
    for (int k = b; k < e; ++k) {
      const int q = static_cast<int>(std::lround(tmp[k] / total * kWeightOne));
      if (q > biggest || a.w.size() == biggest_at) {
        biggest = q;
        biggest_at = a.w.size();
      }
      a.w.push_back(static_cast<int16_t>(q));
      sum += q;
    }
    a.w[biggest_at] = static_cast<int16_t>(a.w[biggest_at] + (kWeightOne - sum));
  }
  return a;
}

inline uint32_t Clamp8(int v) {
  v = (v + kWeightOne / 2) >> kWeightBits;
  return static_cast<uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// One row through the horizontal weights.
void FilterRow(const Pixel* src, const AxisWeights& a, Pixel* out, int n) {
  const int16_t* wbase = a.w.data();
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i half = _mm_set1_epi32(kWeightOne / 2);
  for (int i = 0; i < n; ++i) {
    const Pixel* s = src + a.first[i];
    const int16_t* w = wbase + a.offset[i];
    const int c = a.count[i];
    __m128i sum = half;
    int k = 0;
    for (; k + 1 < c; k += 2) {
      // pixels k and k+1 as 16-bit [b0 b1 g0 g1 r0 r1 a0 a1], times [w0 w1] pairwise
      __m128i p = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + k)), zero);
      p = _mm_unpacklo_epi16(p, _mm_srli_si128(p, 8));
      const __m128i wk = _mm_set1_epi32((static_cast<uint16_t>(w[k + 1]) << 16) | static_cast<uint16_t>(w[k]));
      sum = _mm_add_epi32(sum, _mm_madd_epi16(p, wk));
    }
    if (k < c) {
      __m128i p = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(s[k])), zero);
      p = _mm_unpacklo_epi16(p, zero);
      sum = _mm_add_epi32(sum, _mm_madd_epi16(p, _mm_set1_epi32(static_cast<uint16_t>(w[k]))));
    }
    sum = _mm_srai_epi32(sum, kWeightBits);
    sum = _mm_packs_epi32(sum, sum);
    out[i] = static_cast<Pixel>(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum)));
  }
#else
  for (int i = 0; i < n; ++i) {
    const Pixel* s = src + a.first[i];
    const int16_t* w = wbase + a.offset[i];
    const int c = a.count[i];
    int sb = 0, sg = 0, sr = 0, sa = 0;
    for (int k = 0; k < c; ++k) {
      const Pixel p = s[k];
      const int wk = w[k];
      sb += static_cast<int>(p & 0xFF) * wk;
      sg += static_cast<int>((p >> 8) & 0xFF) * wk;
      sr += static_cast<int>((p >> 16) & 0xFF) * wk;
      sa += static_cast<int>(p >> 24) * wk;
    }
    out[i] = Clamp8(sb) | (Clamp8(sg) << 8) | (Clamp8(sr) << 16) | (Clamp8(sa) << 24);
  }
#endif
}

// One target row from `count` intermediate rows with their weights.
void FilterColumn(const Pixel* const* rows, const int16_t* w, int count, Pixel* out, int n,
                  std::vector<int>& acc) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i half = _mm_set1_epi32(kWeightOne / 2);
  for (; i + 4 <= n; i += 4) {
    __m128i s0 = half, s1 = half, s2 = half, s3 = half;
    int k = 0;
    for (; k + 1 < count; k += 2) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + i));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + i));
      const __m128i wk = _mm_set1_epi32((static_cast<uint16_t>(w[k + 1]) << 16) | static_cast<uint16_t>(w[k]));
      const __m128i lo = _mm_unpacklo_epi8(a, b), hi = _mm_unpackhi_epi8(a, b);
      s0 = _mm_add_epi32(s0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), wk));
      s1 = _mm_add_epi32(s1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), wk));
      s2 = _mm_add_epi32(s2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), wk));
      s3 = _mm_add_epi32(s3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), wk));
    }
    if (k < count) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + i));
      const __m128i wk = _mm_set1_epi32(static_cast<uint16_t>(w[k]));
      const __m128i lo = _mm_unpacklo_epi8(a, zero), hi = _mm_unpackhi_epi8(a, zero);
      s0 = _mm_add_epi32(s0, _mm_madd_epi16(_mm_unpacklo_epi16(lo, zero), wk));
      s1 = _mm_add_epi32(s1, _mm_madd_epi16(_mm_unpackhi_epi16(lo, zero), wk));
      s2 = _mm_add_epi32(s2, _mm_madd_epi16(_mm_unpacklo_epi16(hi, zero), wk));
      s3 = _mm_add_epi32(s3, _mm_madd_epi16(_mm_unpackhi_epi16(hi, zero), wk));
    }
    const __m128i p01 = _mm_packs_epi32(_mm_srai_epi32(s0, kWeightBits), _mm_srai_epi32(s1, kWeightBits));
    const __m128i p23 = _mm_packs_epi32(_mm_srai_epi32(s2, kWeightBits), _mm_srai_epi32(s3, kWeightBits));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(p01, p23));
  }
#endif
  if (i >= n) return;
  const int rest = n - i;
  acc.assign(static_cast<size_t>(rest) * 4, 0);
  for (int k = 0; k < count; ++k) {
    const Pixel* m = rows[k] + i;
    const int wk = w[k];
    int* a = acc.data();
    for (int x = 0; x < rest; ++x) {
      const Pixel p = m[x];
      a[4 * x] += static_cast<int>(p & 0xFF) * wk;
      a[4 * x + 1] += static_cast<int>((p >> 8) & 0xFF) * wk;
      a[4 * x + 2] += static_cast<int>((p >> 16) & 0xFF) * wk;
      a[4 * x + 3] += static_cast<int>(p >> 24) * wk;
    }
  }
  const int* a = acc.data();
  for (int x = 0; x < rest; ++x) {
    out[i + x] = Clamp8(a[4 * x]) | (Clamp8(a[4 * x + 1]) << 8) | (Clamp8(a[4 * x + 2]) << 16) |
                 (Clamp8(a[4 * x + 3]) << 24);
  }
}

void NearestWindow(const Bitmap32& src, const Rect& sr, int grid_w, int grid_h, const Rect& win,
                   Pixel* out, ptrdiff_t stride) {
  // 32.32 fixed point steps; the sample is the source pixel under the target pixel's centre.
  const uint64_t step_x = (static_cast<uint64_t>(sr.Width()) << 32) / grid_w;
  const uint64_t step_y = (static_cast<uint64_t>(sr.Height()) << 32) / grid_h;
  const uint64_t x0 = step_x / 2 + step_x * win.left;
  uint64_t y = step_y / 2 + step_y * win.top;
  for (int j = win.top; j < win.bottom; ++j, y += step_y, out += stride) {
    const int sy = std::min(sr.top + static_cast<int>(y >> 32), sr.bottom - 1);
    const Pixel* row = src.Row(sy) + sr.left;
    const int last = sr.Width() - 1;
    uint64_t x = x0;
    for (int i = 0; i < win.Width(); ++i, x += step_x) {
      out[i] = row[std::min(static_cast<int>(x >> 32), last)];
    }
  }
}

}  // namespace

RowResampler::RowResampler(const Rect& src_rect, int grid_w, int grid_h, const Rect& window,
                           StretchFilter filter, Pixel* out, ptrdiff_t out_stride)
    : out_(out), out_stride_(out_stride) {
  const Rect win = window.Intersect({0, 0, grid_w, grid_h});
  if (src_rect.Empty() || win.Empty()) return;
  if (filter != StretchFilter::Lanczos) filter = StretchFilter::Bilinear;
  out_w_ = win.Width();
  out_h_ = win.Height();
  src_left_ = src_rect.left;
  win_left_ = win.left;
  copy_columns_ = src_rect.Width() == grid_w;
  if (!copy_columns_) wx_ = MakeWeights(src_rect.left, src_rect.right, grid_w, win.left, win.right, filter);
  wy_ = MakeWeights(src_rect.top, src_rect.bottom, grid_h, win.top, win.bottom, filter);
  // The ring must hold every row a target row needs at the moment it is written: from its
  // first row up to the last row pushed so far.
  first_row_ = wy_.first[0];
  int last_pushed = 0;
  for (int j = 0; j < out_h_; ++j) {
    first_row_ = std::min(first_row_, wy_.first[j]);
    last_pushed = std::max(last_pushed, wy_.first[j] + wy_.count[j]);
    end_row_ = std::max(end_row_, last_pushed);
    ring_size_ = std::max(ring_size_, last_pushed - wy_.first[j]);
  }
  next_in_ = first_row_;
  ring_.resize(static_cast<size_t>(ring_size_) * out_w_);
  rows_.resize(ring_size_);
}

void RowResampler::PushRow(int y, const Pixel* row) {
  if (Done() || y != next_in_ || y >= end_row_) return;
  Pixel* slot = ring_.data() + static_cast<size_t>(y % ring_size_) * out_w_;
  if (copy_columns_) {
    std::copy_n(row + src_left_ + win_left_, out_w_, slot);
  } else {
    FilterRow(row, wx_, slot, out_w_);
  }
  ++next_in_;
  Emit();
}

void RowResampler::Emit() {
  while (next_out_ < out_h_ && wy_.first[next_out_] + wy_.count[next_out_] <= next_in_) {
    const int j = next_out_;
    for (int k = 0; k < wy_.count[j]; ++k) {
      rows_[k] = ring_.data() + static_cast<size_t>((wy_.first[j] + k) % ring_size_) * out_w_;
    }
    FilterColumn(rows_.data(), wy_.w.data() + wy_.offset[j], wy_.count[j], out_ + j * out_stride_,
                 out_w_, acc_);
    ++next_out_;
  }
}

void ResampleWindow(const Bitmap32& src, const Rect& src_rect, int grid_w, int grid_h,
                    const Rect& window, StretchFilter filter, Pixel* out, ptrdiff_t out_stride) {
  const Rect sr = src_rect.Intersect(src.BoundsRect());
  const Rect win = window.Intersect({0, 0, grid_w, grid_h});
  if (sr.Empty() || win.Empty() || grid_w <= 0 || grid_h <= 0) return;
  if (filter == StretchFilter::Nearest || filter == StretchFilter::Draft) {
    NearestWindow(src, sr, grid_w, grid_h, win, out, out_stride);
    return;
  }
  if (sr.Width() == grid_w && sr.Height() == grid_h) {  // same size: a copy
    for (int j = 0; j < win.Height(); ++j) {
      std::copy_n(src.Row(sr.top + win.top + j) + sr.left + win.left, win.Width(), out + j * out_stride);
    }
    return;
  }
  RowResampler r(sr, grid_w, grid_h, win, filter, out, out_stride);
  for (int y = r.FirstRow(); y < r.EndRow() && !r.Done(); ++y) r.PushRow(y, src.Row(y));
}

void Resample(const Bitmap32& src, Bitmap32& dst, int width, int height, StretchFilter filter) {
  if (&src == &dst) {
    Bitmap32 copy;
    copy.Assign(src);
    Resample(copy, dst, width, height, filter);
    return;
  }
  dst.SetSize(width, height);
  if (dst.Empty() || src.Empty()) return;
  ResampleWindow(src, src.BoundsRect(), width, height, dst.BoundsRect(), filter, dst.Data(),
                 width);
}

}  // namespace kx
