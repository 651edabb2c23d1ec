// Each effect here is a short fixed sequence of block copies and nearest-pixel stretches.
// Notation in the comments: copy w x h (sx, sy) -> (dx, dy); stretch (sx, sy, sw, sh) ->
// (dx, dy, dw, dh). Blocks are cut at the picture's edges and empty blocks draw nothing.
#include "effects/effects_moving.h"

#include <algorithm>

#include "effects/draw_ops.h"
#include "effects/region.h"

namespace kx {

namespace {

// The whole new picture scaled into the block (dx, dy, dw, dh).
void ExpandInto(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int dx, int dy, int dw, int dh) {
  StretchRect(Dst, Src, 0, 0, W, H, dx, dy, dw, dh);
}

// The whole new picture, unscaled, placed at (dx, dy).
void SlideTo(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int dx, int dy) {
  CopyRect(Dst, Src, W, H, 0, 0, dx, dy);
}

// The block (left, top, w, h) of the new picture copied in place.
void RevealBlock(Bitmap32& Dst, const Bitmap32& Src, int left, int top, int w, int h) {
  CopyRect(Dst, Src, w, h, left, top, left, top);
}

// Thickness of a roll at the given progress along a side of the given size: a tenth of
// the side, but no more than the progress, and half the remaining distance near the end.
int RollThickness(int progress, int size) {
  int s = size / 10;
  if (progress < s) s = progress;
  else if (size - progress < 2 * s) s = (size - progress) / 2;
  return s;
}

}  // namespace

// ----- Expand: the whole new picture scaled into a growing block ---------------------------

void ExpandFromRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  ExpandInto(Dst, Src, W, H, W - X, 0, X, H);
}
void ExpandFromLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  ExpandInto(Dst, Src, W, H, 0, 0, X, H);
}
void ExpandOutFromMiddle(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  ExpandInto(Dst, Src, W, H, (W - X) / 2, 0, X, H);
}
void ExpandFromBottom(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  ExpandInto(Dst, Src, W, H, 0, H - Y, W, Y);
}
void ExpandFromTop(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  ExpandInto(Dst, Src, W, H, 0, 0, W, Y);
}
void ExpandOutFromMiddleHoriz(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  ExpandInto(Dst, Src, W, H, 0, (H - Y) / 2, W, Y);
}
void ExpandFromBottomRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  ExpandInto(Dst, Src, W, H, W - X, H - Y, X, Y);
}
void ExpandFromTopRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  ExpandInto(Dst, Src, W, H, W - X, 0, X, Y);
}
void ExpandFromTopLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  ExpandInto(Dst, Src, W, H, 0, 0, X, Y);
}
void ExpandFromBottomLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  ExpandInto(Dst, Src, W, H, 0, H - Y, X, Y);
}
void ExpandOutFromCentre(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  ExpandInto(Dst, Src, W, H, (W - X) / 2, (H - Y) / 2, X, Y);
}

// ----- Slide: the whole new picture moved in from outside ----------------------------------

void SlideInFromRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  SlideTo(Dst, Src, W, H, W - X, 0);
}
void SlideInFromLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  SlideTo(Dst, Src, W, H, X - W, 0);
}
void SlideInFromBottom(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  SlideTo(Dst, Src, W, H, 0, H - Y);
}
void SlideInFromTop(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  SlideTo(Dst, Src, W, H, 0, Y - H);
}
void SlideInFromBottomRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  SlideTo(Dst, Src, W, H, W - X, H - Y);
}
void SlideInFromTopRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  SlideTo(Dst, Src, W, H, W - X, Y - H);
}
void SlideInFromTopLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  SlideTo(Dst, Src, W, H, X - W, Y - H);
}
void SlideInFromBottomLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  SlideTo(Dst, Src, W, H, X - W, H - Y);
}

// ----- Reveal: blocks of the new picture copied in place -----------------------------------

void RevealFromLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  RevealBlock(Dst, Src, 0, 0, X, H);
}
void RevealFromRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  RevealBlock(Dst, Src, W - X, 0, X, H);
}
void RevealOutFromMiddle(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  RevealBlock(Dst, Src, (W - X) / 2, 0, X, H);
}
void RevealInFromSides(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int h = X / 2;
  RevealBlock(Dst, Src, 0, 0, h, H);
  RevealBlock(Dst, Src, W - h, 0, h, H);
}
void RevealFromTop(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  RevealBlock(Dst, Src, 0, 0, W, Y);
}
void RevealFromBottom(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  RevealBlock(Dst, Src, 0, H - Y, W, Y);
}
void RevealFromMiddleHoriz(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  RevealBlock(Dst, Src, 0, (H - Y) / 2, W, Y);
}
// A reveal from both the top and the bottom edge; nothing slides despite the name.
void SlideInFromTopBottom(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int h = Y / 2;
  RevealBlock(Dst, Src, 0, 0, W, h);
  RevealBlock(Dst, Src, 0, H - h, W, h);
}
void RevealFromTopLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  RevealBlock(Dst, Src, 0, 0, X, Y);
}
void RevealFromBottomLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  RevealBlock(Dst, Src, 0, H - Y, X, Y);
}
void RevealFromBottomRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  RevealBlock(Dst, Src, W - X, H - Y, X, Y);
}
void RevealFromTopRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  RevealBlock(Dst, Src, W - X, 0, X, Y);
}
void RevealOutFromCentre(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  RevealBlock(Dst, Src, (W - X) / 2, (H - Y) / 2, X, Y);
}
// Everything but a shrinking central rectangle shows the new picture.
void RevealInToCentre(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int a = X / 2, b = Y / 2;
  Region area = Region::Rect(0, 0, W, H);
  area.ExcludeRect(a, b, W - a, H - b);
  RevealThroughRegion(Dst, Src, area);
}
void QuartersRevealInToMiddle(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int a = X / 2, b = Y / 2;
  RevealBlock(Dst, Src, 0, 0, a, b);
  RevealBlock(Dst, Src, 0, H - b, a, b);
  RevealBlock(Dst, Src, W - a, H - b, a, b);
  RevealBlock(Dst, Src, W - a, 0, a, b);
}

// ----- Expand in: a part of the new picture, magnified, contracting to its true size -------

void ExpandInFromRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Src, 0, 0, X, H, 0, 0, 2 * W - X, H);
}
void ExpandInFromLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Src, W - X, 0, X, H, X - W, 0, 2 * W - X, H);
}
void ExpandInToMiddle(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Src, (W - X) / 2, 0, X, H, X - W, 0, 3 * W - 2 * X, H);
}
void ExpandInFromBottom(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Src, 0, 0, W, Y, 0, 0, W, 2 * H - Y);
}
void ExpandInFromTop(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Src, 0, H - Y, W, Y, 0, Y - H, W, 2 * H - Y);
}
void ExpandInToMiddleHoriz(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Src, 0, (H - Y) / 2, W, Y, 0, Y - H, W, 3 * H - 2 * Y);
}
void AppearContractToTopLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Src, 0, 0, X, Y, 0, 0, 2 * W - X, 2 * H - Y);
}
void AppearContractToBottomLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Src, 0, H - Y, X, Y, 0, Y - H, 2 * W - X, 2 * H - Y);
}
void AppearContractToBottomRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Src, W - X, H - Y, X, Y, X - W, Y - H, 2 * W - X, 2 * H - Y);
}
void AppearContractToTopRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Src, W - X, 0, X, Y, X - W, 0, 2 * W - X, 2 * H - Y);
}
void AppearContractToMiddle(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Src, (W - X) / 2, (H - Y) / 2, X, Y, X - W, Y - H, 3 * W - 2 * X, 3 * H - 2 * Y);
}

// ----- Halves and quarters squeezed ---------------------------------------------------------

void ExpandInFromSides(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int h = X / 2, s = W / 2;
  StretchRect(Dst, Src, 0, 0, s, H, 0, 0, h, H);
  StretchRect(Dst, Src, s, 0, s, H, W - h, 0, h, H);
}
void ExpandInFromTopBottom(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int h = Y / 2, s = H / 2;
  StretchRect(Dst, Src, 0, 0, W, s, 0, 0, W, h);
  StretchRect(Dst, Src, 0, s, W, s, 0, H - h, W, h);
}
void QuartersExpandToMiddle(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int a = X / 2, b = Y / 2, s = W / 2, t = H / 2;
  StretchRect(Dst, Src, 0, 0, s, t, 0, 0, a, b);
  StretchRect(Dst, Src, 0, t, s, t, 0, H - b, a, b);
  StretchRect(Dst, Src, s, t, s, t, W - a, H - b, a, b);
  StretchRect(Dst, Src, s, 0, s, t, W - a, 0, a, b);
}
// The four quarters, unscaled, each from a different side, like a pinwheel.
void QuartersSlideInToMiddle(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int a = X / 2, b = Y / 2, s = W / 2, t = H / 2;
  CopyRect(Dst, Src, s, t, 0, 0, a - s, 0);  // top left from the left
  CopyRect(Dst, Src, s, t, s, 0, s, b - t);  // top right from the top
  CopyRect(Dst, Src, s, t, s, t, W - a, t);  // bottom right from the right
  CopyRect(Dst, Src, s, t, 0, t, 0, H - b);  // bottom left from the bottom
}

// ----- Build up: the revealed part grows, the next strip is smeared over the rest ----------

void BuildUpFromRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  CopyRect(Dst, Src, X, H, 0, 0, 0, 0);
  const int s = std::min(W - X, W / 10);
  StretchRect(Dst, Src, X, 0, s, H, X, 0, W - X, H);
}
void BuildUpFromLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int x = W - X;
  CopyRect(Dst, Src, X, H, x, 0, x, 0);
  const int s = std::max(x - W / 10, 0);
  StretchRect(Dst, Src, s, 0, x - s, H, 0, 0, x, H);
}
void ExpandGraduallyFromBottom(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  CopyRect(Dst, Src, W, Y, 0, 0, 0, 0);
  const int s = std::min(H - Y, H / 10);
  StretchRect(Dst, Src, 0, Y, W, s, 0, Y, W, H - Y);
}
void ExpandInGraduallyFromTop(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int y = H - Y;
  CopyRect(Dst, Src, W, Y, 0, y, 0, y);
  const int s = std::max(y - H / 10, 0);
  StretchRect(Dst, Src, 0, s, W, y - s, 0, 0, W, y);
}

// ----- Unroll: a shaded roll, the back of the paper, travels ahead of the revealed part ----

void UnrollFromLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int s = RollThickness(X, W);
  StretchRect(Dst, Src, X + s, 0, s, H, X + s - 1, 0, -s, H);
  CopyRect(Dst, Src, X, H, 0, 0, 0, 0);
  ShadeColumns(Dst, 48, X, s);
}
void UnrollFromRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int s = RollThickness(X, W);
  const int x = W - X;
  StretchRect(Dst, Src, x - 2 * s - 1, 0, s, H, x - 1, 0, -s, H);
  CopyRect(Dst, Src, X, H, x, 0, x, 0);
  ShadeColumns(Dst, 48, x - s, s);
}
void UnrollFromTop(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int s = RollThickness(Y, H);
  StretchRect(Dst, Src, 0, Y + s, W, s, 0, Y + s - 1, W, -s);
  CopyRect(Dst, Src, W, Y, 0, 0, 0, 0);
  ShadeRows(Dst, 48, Y, s);
}
void UnrollFromBottom(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  const int s = RollThickness(Y, H);
  const int y = H - Y;
  StretchRect(Dst, Src, 0, y - 2 * s - 1, W, s, 0, y - 1, W, -s);
  CopyRect(Dst, Src, W, Y, 0, y, 0, y);
  ShadeRows(Dst, 48, y - s, s);
}

// ----- Push: the new picture pushes the old one out -----------------------------------------
// The old picture is read from Dst itself, which holds it on entry.

void PushRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  CopyRect(Dst, Dst, W - X, H, 0, 0, X, 0);
  CopyRect(Dst, Src, X, H, W - X, 0, 0, 0);
}
void PushLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  CopyRect(Dst, Dst, W - X, H, X, 0, 0, 0);
  CopyRect(Dst, Src, X, H, 0, 0, W - X, 0);
}
void PushSqueezeRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Dst, 0, 0, W, H, X, 0, W - X, H);
  CopyRect(Dst, Src, X, H, W - X, 0, 0, 0);
}
void PushSqueezeLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Dst, 0, 0, W, H, 0, 0, W - X, H);
  CopyRect(Dst, Src, X, H, 0, 0, W - X, 0);
}
void PushDown(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  CopyRect(Dst, Dst, W, H - Y, 0, 0, 0, Y);
  CopyRect(Dst, Src, W, Y, 0, H - Y, 0, 0);
}
void PushUp(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  CopyRect(Dst, Dst, W, H - Y, 0, Y, 0, 0);
  CopyRect(Dst, Src, W, Y, 0, 0, 0, H - Y);
}
void PushSqueezeDown(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Dst, 0, 0, W, H, 0, Y, W, H - Y);
  CopyRect(Dst, Src, W, Y, 0, H - Y, 0, 0);
}
void PushSqueezeUp(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P) {
  StretchRect(Dst, Dst, 0, 0, W, H, 0, 0, W, H - Y);
  CopyRect(Dst, Src, W, Y, 0, 0, 0, H - Y);
}

}  // namespace kx
