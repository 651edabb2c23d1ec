#include "anim/overlay_draw.h"

#include <algorithm>
#include <cstdlib>

#include "package/user_settings.h"

namespace kx {

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
