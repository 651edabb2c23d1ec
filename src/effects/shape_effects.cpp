// Shape transitions. Each routine builds its shape for the frame's progress and reveals the
// new picture through it. cx and cy are the picture's middle (W div 2, H div 2) throughout.
// Where several shapes are named they are combined into the first; "outside of" shapes
// means the picture rectangle with each shape toggled out of it (exclusive or).
#include "effects/shape_effects.h"

#include <cmath>
#include <initializer_list>
#include <numbers>

#include "effects/draw_ops.h"
#include "effects/region.h"
#include "effects/region_shapes.h"
#include "media/intmath.h"

namespace kx {

namespace {

Region UnionOf(std::initializer_list<Region> shapes) {
  ShapeUnion all;
  for (const Region& s : shapes) all.Add(s);
  return all.Finish();
}

Region OutsideOf(int W, int H, std::initializer_list<Region> shapes) {
  Region r = Region::Rect(0, 0, W, H);
  for (const Region& s : shapes) r.XorWith(s);
  return r;
}

void Reveal(Bitmap32& Dst, const Bitmap32& Src, const Region& region) {
  if (!region.IsEmpty()) RevealThroughRegion(Dst, Src, region);
}

// A near-ellipse around the middle: a rounded rectangle whose corner ellipse is nine tenths
// of its size.
Region NearEllipse(int l, int t, int r, int b, int w, int h) {
  return Region::RoundRect(l, t, r, b, (9 * w) / 5, (9 * h) / 5);
}

// The ribbon of the zigzags: 24 points, the upper edge left to right then the lower edge
// right to left, laid along x (swap lays it along y).
Region Zigzag(int step, int n, int c, int m, bool swap) {
  int xy[48];
  for (int k = 0; k <= 11; ++k) {
    const int d = (k % 2 == 0) ? n : -n;
    const int along = k * step;
    const int upper = m - c + d, lower = m + c + d;
    int* a = xy + 2 * k;
    int* b = xy + 2 * (23 - k);
    if (swap) {
      a[0] = upper, a[1] = along;
      b[0] = lower, b[1] = along;
    } else {
      a[0] = along, a[1] = upper;
      b[0] = along, b[1] = lower;
    }
  }
  return Region::Polygon(xy, 24);
}

double TurnAngle(int P) { return P * std::numbers::pi / 50.0; }

}  // namespace

void RotatePoints(int* xy, int pointCount, int ox, int oy, double theta) {
  const double c = std::cos(theta), s = std::sin(theta);
  for (int i = 0; i < pointCount; ++i) {
    const double dx = xy[2 * i] - ox, dy = xy[2 * i + 1] - oy;
    xy[2 * i] = ox + RoundHalfEven(c * dx - s * dy);
    xy[2 * i + 1] = oy + RoundHalfEven(s * dx + c * dy);
  }
}

// ---- Curved and elliptic reveals ----

void CurvedRevealFromLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                          int P) {
  Reveal(Dst, Src, Region::RoundRect(-2 * W, 0, 2 * X, H + 1, 2 * W, 2 * W));
}
void CurvedRevealFromRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                           int P) {
  Reveal(Dst, Src, Region::RoundRect(W - 2 * X, 0, 3 * W, H + 1, 2 * W, 2 * W));
}
void CurvedRevealFromTop(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                         int P) {
  Reveal(Dst, Src, Region::RoundRect(0, -2 * H, W + 1, 2 * Y, 2 * H, 2 * H));
}
void CurvedRevealFromBottom(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                            int P) {
  Reveal(Dst, Src, Region::RoundRect(0, H - 2 * Y, W + 1, 3 * H, 2 * H, 2 * H));
}
void CurvedRevealFromTopLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                             int P) {
  Reveal(Dst, Src, Region::RoundRect(-W, -H, (3 * X) / 2, (3 * Y) / 2, 2 * W, 2 * H));
}
void CurvedRevealFromTopRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                              int P) {
  Reveal(Dst, Src, Region::RoundRect(W - (3 * X) / 2, -H, 2 * W, (3 * Y) / 2, 2 * W, 2 * H));
}
void CurvedRevealFromBottomLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                                int P) {
  Reveal(Dst, Src, Region::RoundRect(-W, H - (3 * Y) / 2, (3 * X) / 2, 2 * H, 2 * W, 2 * H));
}
void CurvedRevealFromBottomRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                                 int P) {
  Reveal(Dst, Src,
         Region::RoundRect(W - (3 * X) / 2, H - (3 * Y) / 2, 2 * W, 2 * H, 2 * W, 2 * H));
}
void EllipticRevealOutFromCentre(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                                 int P) {
  const int cx = W / 2, cy = H / 2;
  Reveal(Dst, Src, NearEllipse(cx - X, cy - Y, cx + X, cy + Y, X, Y));
}
void EllipticRevealInToCentre(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                              int P) {
  const int cx = W / 2, cy = H / 2;
  Reveal(Dst, Src,
         OutsideOf(W, H, {NearEllipse(X - cx, Y - cy, 3 * cx - X, 3 * cy - Y, W - X, H - Y)}));
}

// ---- Triangles from corners, edges and the centre ----

void RevealDiagonalFromTopLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                               int P) {
  Reveal(Dst, Src, Region::Polygon({0, 0, 2 * X, 0, 0, 2 * Y}));
}
void RevealDiagonalFromTopRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                                int P) {
  Reveal(Dst, Src, Region::Polygon({W, 0, W - 2 * X, 0, W, 2 * Y}));
}
void RevealDiagonalFromBottomLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X,
                                  int Y, int P) {
  Reveal(Dst, Src, Region::Polygon({0, H, 2 * X, H, 0, H - 2 * Y}));
}
void RevealDiagonalFromBottomRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X,
                                   int Y, int P) {
  Reveal(Dst, Src, Region::Polygon({W, H, W - 2 * X, H, W, H - 2 * Y}));
}
void DiagonalSweepAnticlockwise(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                                int P) {
  Reveal(Dst, Src,
         UnionOf({Region::Polygon({0, H, 0, 0, X, H}), Region::Polygon({W, H, W, 0, W - X, 0})}));
}
void DiagonalSweepClockwise(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                            int P) {
  Reveal(Dst, Src,
         UnionOf({Region::Polygon({W, 0, 0, 0, W, Y}), Region::Polygon({W, H, 0, H, 0, H - Y})}));
}
void StarburstClockwiseFromCenter(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X,
                                  int Y, int P) {
  const int cx = W / 2, cy = H / 2;
  Reveal(Dst, Src,
         UnionOf({Region::Polygon({cx, cy, 0, 0, X, 0}), Region::Polygon({cx, cy, 0, H, 0, H - Y}),
                  Region::Polygon({cx, cy, W, H, W - X, H}),
                  Region::Polygon({cx, cy, W, 0, W, Y})}));
}
void StarburstAnticlockwiseFromCenter(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X,
                                      int Y, int P) {
  const int cx = W / 2, cy = H / 2;
  Reveal(Dst, Src,
         UnionOf({Region::Polygon({cx, cy, 0, 0, 0, Y}), Region::Polygon({cx, cy, 0, H, X, H}),
                  Region::Polygon({cx, cy, W, H, W, H - Y}),
                  Region::Polygon({cx, cy, W, 0, W - X, 0})}));
}
void RevealVFromLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int cy = H / 2;
  Reveal(Dst, Src, Region::Polygon({0, cy - Y, 2 * X, cy, 0, cy + Y}));
}
void RevealVFromRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int cy = H / 2;
  Reveal(Dst, Src, Region::Polygon({W, cy - Y, W - 2 * X, cy, W, cy + Y}));
}
void RevealVFromTop(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int cx = W / 2;
  Reveal(Dst, Src, Region::Polygon({cx - X, 0, cx, 2 * Y, cx + X, 0}));
}
void RevealVFromBottom(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int cx = W / 2;
  Reveal(Dst, Src, Region::Polygon({cx - X, H, cx, H - 2 * Y, cx + X, H}));
}
void BowTieHorizontal(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int cy = H / 2;
  Reveal(Dst, Src,
         UnionOf({Region::Polygon({0, cy - Y, X, cy, 0, cy + Y}),
                  Region::Polygon({W, cy - Y, W - X, cy, W, cy + Y})}));
}
void BowTieVertical(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int cx = W / 2;
  Reveal(Dst, Src,
         UnionOf({Region::Polygon({cx - X, 0, cx, 2 * Y, cx + X, 0}),
                  Region::Polygon({cx - X, H, cx, H - 2 * Y, cx + X, H})}));
}
void DiagonalCrossIn(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int cx = W / 2, cy = H / 2, a = X / 2, b = Y / 2;
  Reveal(Dst, Src,
         UnionOf({Region::Polygon({0, cy - b, a, cy, 0, cy + b}),
                  Region::Polygon({W, cy - b, W - a, cy, W, cy + b}),
                  Region::Polygon({cx - a, 0, cx, b, cx + a, 0}),
                  Region::Polygon({cx - a, H, cx, H - b, cx + a, H})}));
}
void DiagonalCrossOut(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int cx = W / 2, cy = H / 2, p = (W - X) / 2, q = (H - Y) / 2;
  Reveal(Dst, Src,
         OutsideOf(W, H,
                   {Region::Polygon({0, cy - q, p, cy, 0, cy + q}),
                    Region::Polygon({W, cy - q, W - p, cy, W, cy + q}),
                    Region::Polygon({cx - p, 0, cx, q, cx + p, 0}),
                    Region::Polygon({cx - p, H, cx, H - q, cx + p, H})}));
}

// ---- Zigzag ribbons ----

void ZigzagHorizontal(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int n = H / 10;
  Reveal(Dst, Src, Zigzag(W / 10, n, MulDiv(n, P, 100) + Y / 2, H / 2, false));
}
void ZigzagVertical(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int n = W / 10;
  Reveal(Dst, Src, Zigzag(H / 10, n, MulDiv(n, P, 100) + X / 2, W / 2, true));
}

// ---- Diamonds ----

void RevealDiamondOutFromCentre(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                                int P) {
  const int cx = W / 2, cy = H / 2;
  Reveal(Dst, Src, Region::Polygon({cx - X, cy, cx, cy - Y, cx + X, cy, cx, cy + Y}));
}
void RevealDiamondInToCentre(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                             int P) {
  const int cx = W / 2, cy = H / 2;
  Reveal(Dst, Src,
         OutsideOf(W, H,
                   {Region::Polygon({X - cx, cy, cx, Y - cy, 3 * cx - X, cy, cx, 3 * cy - Y})}));
}
void DiagonalBoxOut(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int cx = W / 2, cy = H / 2, a = X / 2, b = Y / 2;
  Region ring = Region::Polygon({-a, cy, cx, -b, 2 * cx + a, cy, cx, 2 * cy + b});
  ring.XorWith(Region::Polygon({a, cy, cx, b, 2 * cx - a, cy, cx, 2 * cy - b}));
  Reveal(Dst, Src, ring);
}

// ---- Rotating shapes ----

void RotationalRectangleInCenter(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                                 int P) {
  const int cx = W / 2, cy = H / 2, a = X / 2, b = Y / 2;
  int xy[] = {cx - a, cy - b, cx + a, cy - b, cx + a, cy + b, cx - a, cy + b};
  RotatePoints(xy, 4, cx, cy, TurnAngle(P));
  Reveal(Dst, Src, Region::Polygon(xy, 4));
}
void RotationalStarInCenter(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y,
                            int P) {
  const int cx = W / 2, cy = H / 2, a = X / 2, b = Y / 2;
  int xy[] = {cx - 2 * X, cy,     cx - a, cy - b, cx,     cy - 2 * Y, cx + a, cy - b,
              cx + 2 * X, cy,     cx + a, cy + b, cx,     cy + 2 * Y, cx - a, cy + b};
  RotatePoints(xy, 8, cx, cy, TurnAngle(P));
  Reveal(Dst, Src, Region::Polygon(xy, 8));
}
void SpiralRectangle(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int cx = W / 2, cy = H / 2, a = X / 2, b = Y / 2;
  int xy[] = {cx - a, cy - b, cx + a, cy - b, cx + a, cy + b, cx - a, cy + b};
  // Turned about the progress point, which travels from the top-left to the bottom-right
  // corner.
  RotatePoints(xy, 4, X, Y, TurnAngle(P));
  Reveal(Dst, Src, Region::Polygon(xy, 4));
}

}  // namespace kx
