// Band and grid transitions. Every routine builds one region for the frame's progress and
// reveals the new picture through it; nothing is kept from one frame to the next.
#include "effects/band_effects.h"

#include <algorithm>
#include <optional>

#include "effects/complex_region.h"
#include "effects/draw_ops.h"
#include "effects/region.h"
#include "effects/region_shapes.h"
#include "media/intmath.h"
#include "media/random.h"

namespace kx {

namespace {

// Reveals Src through the union of the rectangles collected so far; an empty list draws
// nothing. The union is built in one sweep, once per frame.
void RevealRects(Bitmap32& Dst, const Bitmap32& Src, const TComplexRegion& rects) {
  const std::optional<Region> region = rects.CreateRegion();
  if (region && !region->IsEmpty()) RevealThroughRegion(Dst, Src, *region);
}

// Reveals Src through the union of the shapes of a grid.
void RevealShapes(Bitmap32& Dst, const Bitmap32& Src, const ShapeUnion& shapes) {
  if (shapes.Empty()) return;
  const Region region = shapes.Finish();
  if (!region.IsEmpty()) RevealThroughRegion(Dst, Src, region);
}

// Adds rectangle (l, t, r, b) or, with swap set, the same rectangle with x and y exchanged.
// That lets each builder describe its horizontal part once and reuse it for the vertical part.
void AddOriented(TComplexRegion& region, bool swap, int l, int t, int r, int b) {
  if (r <= l || b <= t) return;
  if (swap)
    region.AddRect(t, l, b, r);
  else
    region.AddRect(l, t, r, b);
}

// One part of the bars: across is the extent along the progress (W for horizontal bands),
// along the other extent (H). Coordinates are given as for the horizontal part.
void BarsPart(TComplexRegion& region, bool swap, int p, int across, int along, int e,
              int kind) {
  if (kind == 0 || across <= 0 || along <= 0) return;
  const int W = across, H = along;
  if (p <= W) {
    for (int f = 0; f < H + e; f += 2 * e) {
      switch (kind) {
        case 1:
        case 5:
          AddOriented(region, swap, W - p, f, W, f + e);
          break;
        case 2:
        case 4:
          AddOriented(region, swap, 0, f, p, f + e);
          break;
        case 3:
          AddOriented(region, swap, 0, f + e, p, f + 2 * e);
          AddOriented(region, swap, W - p, f, W, f + e);
          break;
        default:
          break;
      }
    }
  } else {
    for (int f = e; f < H + e; f += 2 * e) {
      AddOriented(region, swap, 0, f - e, W, f);
      switch (kind) {
        case 1:
        case 4:
          AddOriented(region, swap, 2 * W - p, f, W, f + e);
          break;
        case 2:
        case 5:
          AddOriented(region, swap, 0, f, p - W, f + e);
          break;
        default:
          break;
      }
    }
  }
}

void ShredPart(TComplexRegion& region, bool swap, int p, int across, int along, int kind) {
  if (kind == 0 || across <= 0 || along <= 0) return;
  const int W = across, H = along;
  const int e = std::min(W, H) / 200 + 1;
  // No jitter at the start either: with nothing to reveal the edge stays on the border, so
  // the first frame shows the old picture.
  const int j = (p < W && p > 0) ? W / 10 : 0;
  const int extra = e + H % e;
  for (int o = 0; o < H; o += e) {
    int r = p - j + Random::Next(2 * j);
    const int b = o + extra;
    switch (kind) {
      case 1:
        AddOriented(region, swap, W - r, o, W, b);
        break;
      case 2:
        AddOriented(region, swap, 0, o, r, b);
        break;
      case 3: {
        r /= 2;
        const int c = W / 2;
        AddOriented(region, swap, c - r, o, c, b);
        AddOriented(region, swap, c, o, c + r, b);
        break;
      }
      case 4:
        r /= 2;
        AddOriented(region, swap, W - r, o, W, b);
        AddOriented(region, swap, 0, o, r, b);
        break;
      default:
        break;
    }
  }
}

void SpecklePart(TComplexRegion& region, bool swap, int p, int across, int along, int kind) {
  if (kind == 0 || across <= 0 || along <= 0) return;
  const int W = across, H = along;
  // As with the shreds, nothing is scattered before the band has started to move.
  const int g = (p < W && p > 0) ? W / 10 : 0;
  const int s = std::max(g / 20, 2);
  const int c = g / s;
  const int l = (3 * g) / (4 * s);
  for (int t = 0; t < H; t += s / 2) {
    const int b = t + s;
    if (kind == 1)
      AddOriented(region, swap, W - p, t, W, b);
    else
      AddOriented(region, swap, 0, t, p, b);
    for (int i = c; i >= 1; --i) {
      const int k = Random::Next(i);
      const bool add = i <= l ? k <= 1 : k == 0;
      if (!add) continue;
      if (kind == 1) {
        const int x = W - p - s * i;
        AddOriented(region, swap, x, t, x + s, b);
      } else {
        AddOriented(region, swap, p + s * (i - 1), t, p + s * i, b);
      }
    }
  }
}

}  // namespace

void BarsRegion(TComplexRegion& region, int px, int py, int W, int H, int hk, int vk) {
  const int e = std::min(W, H) / 50 + 1;
  BarsPart(region, false, px, W, H, e, hk);
  BarsPart(region, true, py, H, W, e, vk);
}

void ShredRegion(TComplexRegion& region, int px, int py, int W, int H, int hk, int vk) {
  ShredPart(region, false, px, W, H, hk);
  ShredPart(region, true, py, H, W, vk);
}

void SpeckleRegion(TComplexRegion& region, int px, int py, int W, int H, int hk, int vk) {
  SpecklePart(region, false, px, W, H, hk);
  SpecklePart(region, true, py, H, W, vk);
}

namespace {

// Slats along x with period `period` (positive steps from 0 when forward, negative from W
// otherwise), each `a` wide; swap lays them along y instead.
void UnevenSlats(TComplexRegion& rects, bool swap, bool forward, int period, int a, int W,
                 int H) {
  if (period <= 0 || W <= 0 || H <= 0) return;
  if (forward) {
    for (int x = 0; x < W; x += period) AddOriented(rects, swap, x, 0, x + a, H);
  } else {
    for (int x = W; x > 0; x -= period) AddOriented(rects, swap, x - a, 0, x, H);
  }
}

int GridPitch(int W, int H) { return std::min(W, H) / 10 + 1; }

// The number of cells of a grid with centres p, 3p, 5p, ... while centre - p < W (and
// likewise q down to H): a size hint for the lists of shapes.
size_t GridCells(int W, int p, int H, int q) {
  const size_t cols = W > 0 ? static_cast<size_t>(W) / (2 * static_cast<size_t>(p)) + 1 : 0;
  const size_t rows = H > 0 ? static_cast<size_t>(H) / (2 * static_cast<size_t>(q)) + 1 : 0;
  return std::min<size_t>(cols * rows, 1u << 16);
}

}  // namespace

// ---- The shared bodies ----

namespace band {

void Bars(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P, int m, int hk,
          int vk) {
  TComplexRegion rects;
  BarsRegion(rects, m * X, m * Y, W, H, hk, vk);
  RevealRects(Dst, Src, rects);
}

void Shred(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P, int hk, int vk) {
  TComplexRegion rects;
  ShredRegion(rects, X, Y, W, H, hk, vk);
  RevealRects(Dst, Src, rects);
}

void Speckle(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P, int hk,
             int vk) {
  TComplexRegion rects;
  SpeckleRegion(rects, X, Y, W, H, hk, vk);
  RevealRects(Dst, Src, rects);
}

void UnevenBlind(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P,
                 bool swap, bool forward) {
  TComplexRegion rects;
  if (swap)
    UnevenSlats(rects, true, forward, Y, MulDiv(Y, P, 100), H, W);
  else
    UnevenSlats(rects, false, forward, X, MulDiv(X, P, 100), W, H);
  RevealRects(Dst, Src, rects);
}

void Rectangles(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P,
                bool vertical, bool forward) {
  const bool swap = vertical;
  const int across = vertical ? H : W;  // extent along which the blind advances
  const int along = vertical ? W : H;   // extent across which the stripes are laid
  const int progress = vertical ? Y : X;
  const int t = along / 20;
  if (progress <= 0 || t <= 0 || across <= 0) return;
  TComplexRegion rects;
  const int a = MulDiv(t, P, 100);
  for (int y = -t; y < along; y += 3 * t) AddOriented(rects, swap, 0, y - a, across, y + a);
  UnevenSlats(rects, swap, forward, progress, MulDiv(progress, P, 100), across, along);
  RevealRects(Dst, Src, rects);
}

}  // namespace band

// ---- Criss-cross ----

void CrissCrossFromBottomLeftTopRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X,
                                      int Y, int P) {
  // Only what both criss-cross patterns reveal.
  TComplexRegion a, b;
  BarsRegion(a, 2 * X, 2 * Y, W, H, 1, 1);
  BarsRegion(b, 2 * X, 2 * Y, W, H, 2, 2);
  const std::optional<Region> ra = a.CreateRegion(), rb = b.CreateRegion();
  if (!ra || !rb) return;
  const Region both = Region::Intersect(*ra, *rb);
  if (!both.IsEmpty()) RevealThroughRegion(Dst, Src, both);
}

// ---- Random squares ----

void RandomSquaresAppear(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                         int P) {
  if (W <= 0 || H <= 0) return;
  const int m = std::min(W, H);
  const int cell = (m / 50) * 2 + 2;
  TComplexRegion rects;
  {
    // The generator restarts from a value of the picture size in every frame, so each cell
    // draws the same number every time and a square, once shown, stays. The show's own
    // sequence is put back afterwards.
    RandomStateGuard keep;
    Random::Seed(static_cast<uint32_t>(m / 50 + 1) * static_cast<uint32_t>(W + H));
    for (int x = 0; x < W; x += cell)
      for (int y = 0; y < H; y += cell)
        if (Random::Next(100) < P) rects.AddRect(x, y, x + cell, y + cell);
  }
  RevealRects(Dst, Src, rects);
}

// ---- Blinds ----

void BlindVertically(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (W <= 0 || H <= 0) return;
  const int n = W / 40 + 1;
  const int a = MulDiv(n, P, 100);
  TComplexRegion rects;
  for (int x = 0; x < W; x += 2 * n) AddOriented(rects, false, x + n - a, 0, x + n + a, H);
  RevealRects(Dst, Src, rects);
}

void BlindHorizontally(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (W <= 0 || H <= 0) return;
  const int n = H / 40 + 1;
  const int a = MulDiv(n, P, 100);
  TComplexRegion rects;
  for (int y = 0; y < H; y += 2 * n) AddOriented(rects, false, 0, y + n - a, W, y + n + a);
  RevealRects(Dst, Src, rects);
}

// ---- Grids of growing cells ----

void RectangularShred(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (W <= 0 || H <= 0) return;
  const int n = GridPitch(W, H);
  const int a = MulDiv(n, P, 100);
  TComplexRegion rects;
  for (int cx = n; cx - n < W; cx += 2 * n)
    for (int cy = n; cy - n < H; cy += 2 * n)
      AddOriented(rects, false, cx - a, cy - a, cx + a, cy + a);
  RevealRects(Dst, Src, rects);
}

void CircularShred(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (W <= 0 || H <= 0) return;
  const int n = GridPitch(W, H);
  const int r = MulDiv(3 * n, P, 200);
  if (r <= 0) return;
  ShapeUnion shapes;
  shapes.Reserve(GridCells(W, n, H, n) * (2 * static_cast<size_t>(r) + 1));
  for (int cx = n; cx - n < W; cx += 2 * n)
    for (int cy = n; cy - n < H; cy += 2 * n) shapes.Add(Region::Ellipse(cx - r, cy - r, cx + r, cy + r));
  RevealShapes(Dst, Src, shapes);
}

void DiamondShred(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (W <= 0 || H <= 0) return;
  const int n = GridPitch(W, H);
  const int b = MulDiv(n, P, 50);
  if (b <= 0) return;
  ShapeUnion shapes;
  shapes.Reserve(GridCells(W, n, H, n) * (2 * static_cast<size_t>(b) + 1));
  for (int cx = n; cx - n < W; cx += 2 * n)
    for (int cy = n; cy - n < H; cy += 2 * n)
      shapes.Add(Region::Polygon({cx - b, cy, cx, cy - b, cx + b, cy, cx, cy + b}));
  RevealShapes(Dst, Src, shapes);
}

void TriangularShred(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  if (W <= 0 || H <= 0) return;
  const int u = W / 10 + 1;
  const int v = H / 10 + 1;
  const int hu = MulDiv(u, P, 50);
  const int hv = MulDiv(v, P, 50);
  if (hu <= 0 || hv <= 0) return;
  ShapeUnion shapes;
  shapes.Reserve(GridCells(W, u, H + v, v) * (2 * static_cast<size_t>(hv) + 1));
  for (int cx = u; cx - u < W; cx += 2 * u)
    for (int cy = v; cy - v < H + v; cy += 2 * v)
      shapes.Add(Region::Polygon({cx - hu, cy - hv, cx, cy + hv, cx + hu, cy - hv}));
  RevealShapes(Dst, Src, shapes);
}

}  // namespace kx
