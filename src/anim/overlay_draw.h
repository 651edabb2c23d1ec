// Pixel writes of the weather into the overlay bitmap: a single pixel and a line, both
// clipped to the bitmap and blended by alpha (white flakes, grey drops).
#pragma once

#include "media/bitmap32.h"

namespace kx {

// Blends `color` (its alpha byte is the strength) into (x, y); outside the bitmap nothing.
inline void BlendPixelClipped(Bitmap32& bmp, int x, int y, Pixel color) {
  if (x < 0 || y < 0 || x >= bmp.Width() || y >= bmp.Height()) return;
  Pixel* p = bmp.Row(y) + x;
  *p = BlendPixel(color, *p, 255);
}

// A blended line from (x0, y0) towards (x1, y1), the last point left out.
void BlendLineClipped(Bitmap32& bmp, int x0, int y0, int x1, int y1, Pixel color);

// The animated objects' combining over a row: pixels equal to `key` (when keyed) leave the
// target; the others blend each channel as (s * a + d * (255 - a)) / 255, target alpha := a.
void KeyedBlendRow(const Pixel* src, Pixel* dst, int count, uint8_t a, bool keyed, Pixel key);

// The speed table value of an index, the index kept within the table.
int SpeedTableValue(int index);

}  // namespace kx
