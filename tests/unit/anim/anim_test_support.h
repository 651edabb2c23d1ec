// A hand-driven clock and small living pictures for the animation tests.
#pragma once

#include <atomic>
#include <cstdint>

#include "package/picture_record.h"
#include "package/region_mask.h"

namespace kx::test {

struct FakeClock {
  std::atomic<uint32_t> now{100000};
  auto Fn() {
    return [this] { return now.load(); };
  }
  void Advance(uint32_t ms) { now += ms; }
};

// A w x h picture whose pixel (x, y) encodes its own row and column, and a mask with
// region `code` (1..6) on rows top..bottom (inclusive), all columns.
inline void MakeLivingPicture(TProject& p, int w, int h, int top, int bottom, int code = 1) {
  p.Picture.SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.Picture.SetPixel(x, y, MakePixel(y & 255, x & 255, (y >> 8) & 255));
  p.RegionMask.SetSize(w, h);
  p.RegionMask.Fill(RegionColor(0));
  if (code > 0)
    for (int y = top; y <= bottom && y < h; ++y)
      for (int x = 0; x < w; ++x) p.RegionMask.SetPixel(x, y, RegionColor(code));
  p.PictureWidth = w;
  p.PictureHeight = h;
}

inline int RowOf(Pixel p) { return PixelR(p) | (PixelB(p) << 8); }
inline int ColOf(Pixel p) { return PixelG(p); }

}  // namespace kx::test
