// The pixel, zoom and rotation effects: cross-fade, dissolve, random bars, the pixelating
// zoom and the four pivots. Each draws one frame with the calling contract of effect.h.
#pragma once

#include "media/bitmap32.h"

namespace kx {

void Fade(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P);  // 1 "Fade"
void Pixelate(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P);  // 2 "Pixelate"
void Dissolve(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P);  // 3 "Dissolve"
void PivotFromTopLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P);  // 121 "Pivot from top left"
void PivotFromBottomLeft(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P);  // 122 "Pivot from bottom left"
void PivotFromTopRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P);  // 123 "Pivot from top right"
void PivotFromBottomRight(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P);  // 124 "Pivot from bottom right"
void RandomBarsHorizontal(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P);  // 168 "Random Bars Horizontal"
void RandomBarsVertical(Bitmap32& Dst, const Bitmap32& Src, int W, int H, int X, int Y, int P);  // 169 "Random Bars Vertical"

}  // namespace kx
