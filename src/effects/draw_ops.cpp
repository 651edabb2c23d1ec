#include "effects/draw_ops.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "effects/pixel_ops.h"
#include "media/intmath.h"

namespace kx {

namespace {

int64_t FloorDiv64(int64_t a, int64_t b) {  // b > 0
  int64_t q = a / b;
  if ((a % b) != 0 && a < 0) --q;
  return q;
}
int64_t CeilDiv64(int64_t a, int64_t b) { return -FloorDiv64(-a, b); }  // b > 0

// Index range [lo, hi) of a stretched block's destination steps i in 0..n-1 (n = |d|)
// that land inside 0..limit-1 of the destination and whose source position
// s + floor(i * ss / n) lies inside 0..srcLimit-1.
void StepRange(int64_t d0, int64_t d, int64_t limit, int64_t s, int64_t ss, int64_t srcLimit, int64_t& lo,
               int64_t& hi) {
  const int64_t n = d < 0 ? -d : d;
  lo = 0;
  hi = n;
  if (d > 0) {
    lo = std::max(lo, -d0);
    hi = std::min(hi, limit - d0);
  } else {
    lo = std::max(lo, d0 - limit + 1);
    hi = std::min(hi, d0 + 1);
  }
  lo = std::max(lo, CeilDiv64(-s * n, ss));
  hi = std::min(hi, CeilDiv64((srcLimit - s) * n, ss));
}

// Scratch memory reused between frames, so that a frame allocates nothing once warm.
std::vector<Pixel>& Scratch() {
  thread_local std::vector<Pixel> buffer;
  return buffer;
}
std::vector<int32_t>& ColumnMap() {
  thread_local std::vector<int32_t> map;
  return map;
}

}  // namespace

void CopyRect(Bitmap32& dst, const Bitmap32& src, int w, int h, int sx, int sy, int dx, int dy) {
  int64_t W = w, H = h, SX = sx, SY = sy, DX = dx, DY = dy;
  if (W <= 0 || H <= 0 || dst.Empty() || src.Empty()) return;
  if (SX < 0) { DX -= SX; W += SX; SX = 0; }
  if (SY < 0) { DY -= SY; H += SY; SY = 0; }
  if (DX < 0) { SX -= DX; W += DX; DX = 0; }
  if (DY < 0) { SY -= DY; H += DY; DY = 0; }
  W = std::min({W, int64_t{src.Width()} - SX, int64_t{dst.Width()} - DX});
  H = std::min({H, int64_t{src.Height()} - SY, int64_t{dst.Height()} - DY});
  if (W <= 0 || H <= 0) return;
  const size_t bytes = static_cast<size_t>(W) * sizeof(Pixel);
  const bool same = &dst == &src;
  if (same && DY > SY) {
    for (int64_t r = H - 1; r >= 0; --r)
      std::memmove(dst.Row(static_cast<int>(DY + r)) + DX, src.Row(static_cast<int>(SY + r)) + SX, bytes);
  } else if (same) {
    for (int64_t r = 0; r < H; ++r)
      std::memmove(dst.Row(static_cast<int>(DY + r)) + DX, src.Row(static_cast<int>(SY + r)) + SX, bytes);
  } else {
    for (int64_t r = 0; r < H; ++r)
      std::memcpy(dst.Row(static_cast<int>(DY + r)) + DX, src.Row(static_cast<int>(SY + r)) + SX, bytes);
  }
}

void StretchRect(Bitmap32& dst, const Bitmap32& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                 int dh) {
  if (sw <= 0 || sh <= 0 || dw == 0 || dh == 0 || dst.Empty() || src.Empty()) return;
  int64_t i0, i1, j0, j1;
  StepRange(dx, dw, dst.Width(), sx, sw, src.Width(), i0, i1);
  StepRange(dy, dh, dst.Height(), sy, sh, src.Height(), j0, j1);
  if (i1 <= i0 || j1 <= j0) return;
  const int64_t adw = dw < 0 ? -int64_t{dw} : dw;
  const int64_t adh = dh < 0 ? -int64_t{dh} : dh;

  // Source columns and rows actually read.
  const int64_t c0 = sx + FloorDiv64(i0 * sw, adw), c1 = sx + FloorDiv64((i1 - 1) * sw, adw) + 1;
  const int64_t r0 = sy + FloorDiv64(j0 * sh, adh), r1 = sy + FloorDiv64((j1 - 1) * sh, adh) + 1;
  const int64_t cw = c1 - c0;

  // Reading from dst itself: take a copy of the block first, so it is read as it was.
  const Pixel* base;
  size_t stride;
  if (&src == &dst) {
    std::vector<Pixel>& scratch = Scratch();
    scratch.resize(static_cast<size_t>(cw) * static_cast<size_t>(r1 - r0));
    for (int64_t r = r0; r < r1; ++r)
      std::memcpy(scratch.data() + static_cast<size_t>(r - r0) * cw, src.Row(static_cast<int>(r)) + c0,
                  static_cast<size_t>(cw) * sizeof(Pixel));
    base = scratch.data();
    stride = static_cast<size_t>(cw);
  } else {
    base = src.Row(static_cast<int>(r0)) + c0;
    stride = static_cast<size_t>(src.Width());
  }

  // Column map: offset within the read block for every destination step.
  const int64_t n = i1 - i0;
  std::vector<int32_t>& map = ColumnMap();
  map.resize(static_cast<size_t>(n));
  {
    int64_t q = FloorDiv64(i0 * sw, adw), rem = i0 * sw - q * adw;
    const int64_t qs = sw / adw, rs = sw % adw;
    for (int64_t k = 0; k < n; ++k) {
      map[static_cast<size_t>(k)] = static_cast<int32_t>(sx + q - c0);
      q += qs;
      rem += rs;
      if (rem >= adw) { rem -= adw; ++q; }
    }
  }
  const bool mirrorX = dw < 0;
  const int64_t firstCol = mirrorX ? dx - i0 : dx + i0;  // destination column of step i0
  const int64_t leftCol = mirrorX ? firstCol - (n - 1) : firstCol;
  const bool identityCols = !mirrorX && sw == adw;

  int64_t prevSrcRow = -1;
  Pixel* prevRow = nullptr;
  for (int64_t j = j0; j < j1; ++j) {
    const int64_t srow = sy + FloorDiv64(j * sh, adh) - r0;
    const int64_t drow = dh < 0 ? dy - j : dy + j;
    Pixel* out = dst.Row(static_cast<int>(drow)) + leftCol;
    if (srow == prevSrcRow && prevRow != nullptr) {
      std::memcpy(out, prevRow, static_cast<size_t>(n) * sizeof(Pixel));
    } else {
      const Pixel* in = base + static_cast<size_t>(srow) * stride;
      if (identityCols) {
        std::memmove(out, in + map[0], static_cast<size_t>(n) * sizeof(Pixel));
      } else if (mirrorX) {
        for (int64_t k = 0; k < n; ++k) out[n - 1 - k] = in[map[static_cast<size_t>(k)]];
      } else {
        for (int64_t k = 0; k < n; ++k) out[k] = in[map[static_cast<size_t>(k)]];
      }
    }
    prevSrcRow = srow;
    prevRow = out;
  }
}

void RevealThroughRegion(Bitmap32& dst, const Bitmap32& src, const Region& region) {
  const int W = std::min(dst.Width(), src.Width());
  const int H = std::min(dst.Height(), src.Height());
  if (W <= 0 || H <= 0) return;
  const auto& spans = region.Spans();
  for (const Region::Band& b : region.Bands()) {
    const int y0 = std::max(b.Top, 0), y1 = std::min(b.Bottom, H);
    if (y0 >= y1) continue;
    for (int k = 0; k < b.Count; ++k) {
      const int x0 = std::max(spans[b.First + k].X0, 0), x1 = std::min(spans[b.First + k].X1, W);
      if (x0 >= x1) continue;
      const size_t bytes = static_cast<size_t>(x1 - x0) * sizeof(Pixel);
      for (int y = y0; y < y1; ++y) std::memcpy(dst.Row(y) + x0, src.Row(y) + x0, bytes);
    }
  }
}

void BlendRect(Bitmap32& dst, const Bitmap32& src, int percent, int left, int top, int width, int height) {
  const int64_t W = std::min(dst.Width(), src.Width()), H = std::min(dst.Height(), src.Height());
  const int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(int64_t{left} + width, W);
  const int64_t y0 = std::max<int64_t>(top, 0), y1 = std::min<int64_t>(int64_t{top} + height, H);
  if (x0 >= x1 || y0 >= y1) return;
  const int a = std::clamp(MulDiv(256, percent, 100), 0, 256);
  for (int64_t y = y0; y < y1; ++y) {
    FadeRow(dst.Row(static_cast<int>(y)) + x0, src.Row(static_cast<int>(y)) + x0, static_cast<int>(x1 - x0), a);
  }
}

namespace {

void ShadeOffsetsColumns(int amount, int count, std::vector<int>& o) {
  o.resize(static_cast<size_t>(count));
  const int half = count / 2;
  if (half < amount) {
    const int step = amount / half;
    for (int k = 0; k < count; ++k) o[k] = -amount + step * std::min(k, 2 * half - k);
  } else {
    const int every = Div(half, amount);
    int off = -amount;
    for (int k = 0; k < count; ++k) {
      o[k] = off;
      if (every != 0 && (k + 1) % every == 0) off += (k + 1 < half) ? 1 : -1;
    }
  }
}

// Offsets indexed from the band's lowest row (i = 0) upward.
void ShadeOffsetsRows(int amount, int count, std::vector<int>& o) {
  o.resize(static_cast<size_t>(count));
  const int half = count / 2;
  int every, step;
  if (half < amount) {
    every = 1;
    step = amount / half;
  } else {
    every = Div(half, amount);
    step = 1;
  }
  int off = -amount;
  for (int i = 0; i < count; ++i) {
    o[i] = off;
    if (every != 0 && (i + 1) % every == 0) off += (i + 1 < half) ? step : -step;
  }
}

}  // namespace

void ShadeColumns(Bitmap32& dst, int amount, int first, int count) {
  if (count <= 1 || amount == 0 || dst.Empty()) return;
  std::vector<int> o;
  ShadeOffsetsColumns(amount, count, o);
  const int64_t k0 = std::max<int64_t>(0, -int64_t{first});
  const int64_t k1 = std::min<int64_t>(count, int64_t{dst.Width()} - first);
  if (k0 >= k1) return;
  for (int y = 0; y < dst.Height(); ++y) {
    Pixel* row = dst.Row(y) + first;
    for (int64_t k = k0; k < k1; ++k) row[k] = AddToRgb(row[k], o[static_cast<size_t>(k)]);
  }
}

void ShadeRows(Bitmap32& dst, int amount, int first, int count) {
  if (count <= 1 || amount == 0 || dst.Empty()) return;
  std::vector<int> o;
  ShadeOffsetsRows(amount, count, o);
  const int64_t last = int64_t{first} + count - 1;  // row of i = 0
  for (int i = 0; i < count; ++i) {
    const int64_t y = last - i;
    if (y < 0 || y >= dst.Height()) continue;
    Pixel* row = dst.Row(static_cast<int>(y));
    const int off = o[static_cast<size_t>(i)];
    for (int x = 0; x < dst.Width(); ++x) row[x] = AddToRgb(row[x], off);
  }
}

}  // namespace kx
