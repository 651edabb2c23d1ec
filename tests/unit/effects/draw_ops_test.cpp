#include "effects/draw_ops.h"

#include <gtest/gtest.h>

#include <random>

#include "test_pictures.h"

namespace kx {
namespace {

using testing::NewPicture;
using testing::OldPicture;

// Model: dst(x, y) := src(sx + x - dx, sy + y - dy) for the block, read from a copy.
Bitmap32 ModelCopy(const Bitmap32& dst, const Bitmap32& src, int w, int h, int sx, int sy, int dx, int dy) {
  Bitmap32 out = dst;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int ox = dx + x, oy = dy + y, ix = sx + x, iy = sy + y;
      if (ox < 0 || oy < 0 || ox >= dst.Width() || oy >= dst.Height()) continue;
      if (ix < 0 || iy < 0 || ix >= src.Width() || iy >= src.Height()) continue;
      out.SetPixel(ox, oy, src.GetPixel(ix, iy));
    }
  return out;
}

TEST(DrawOps, CopyRectCutsAtEdgesAndCopiesOverlapsAsThroughACopy) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pos(-12, 20), size(-2, 24);
  for (int round = 0; round < 400; ++round) {
    const int w = size(rng), h = size(rng), sx = pos(rng), sy = pos(rng), dx = pos(rng), dy = pos(rng);
    const bool same = round % 2 == 0;
    Bitmap32 dst = OldPicture(17, 13);
    const Bitmap32 src = NewPicture(15, 11);
    const Bitmap32& from = same ? dst : src;
    const Bitmap32 want = ModelCopy(dst, same ? Bitmap32(dst) : src, w, h, sx, sy, dx, dy);
    CopyRect(dst, from, w, h, sx, sy, dx, dy);
    ASSERT_EQ(dst, want) << "same=" << same << " w=" << w << " h=" << h << " s=" << sx << "," << sy << " d=" << dx
                         << "," << dy;
  }
}

TEST(DrawOps, StretchRectSamplesNearestPixelAndMirrors) {
  // Model: step i of the destination block takes source sx + floor(i * sw / |dw|).
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> pos(-10, 18), size(1, 30), sgn(0, 1);
  for (int round = 0; round < 400; ++round) {
    const int sx = pos(rng), sy = pos(rng), sw = size(rng), sh = size(rng), dx = pos(rng), dy = pos(rng);
    const int dw = size(rng) * (sgn(rng) ? -1 : 1), dh = size(rng) * (sgn(rng) ? -1 : 1);
    const bool same = round % 3 == 0;
    Bitmap32 dst = OldPicture(16, 12);
    const Bitmap32 src = same ? dst : NewPicture(14, 10);
    Bitmap32 want = dst;
    for (int j = 0; j < std::abs(dh); ++j)
      for (int i = 0; i < std::abs(dw); ++i) {
        const int ox = dw > 0 ? dx + i : dx - i, oy = dh > 0 ? dy + j : dy - j;
        const int ix = sx + i * sw / std::abs(dw), iy = sy + j * sh / std::abs(dh);
        if (ox < 0 || oy < 0 || ox >= 16 || oy >= 12) continue;
        if (ix < 0 || iy < 0 || ix >= src.Width() || iy >= src.Height()) continue;
        want.SetPixel(ox, oy, src.GetPixel(ix, iy));
      }
    StretchRect(dst, same ? dst : src, sx, sy, sw, sh, dx, dy, dw, dh);
    ASSERT_EQ(dst, want) << "same=" << same << " src " << sx << "," << sy << "," << sw << "," << sh << " dst " << dx
                         << "," << dy << "," << dw << "," << dh;
  }
  // Zero-size source or destination draws nothing.
  Bitmap32 dst = OldPicture(8, 8);
  const Bitmap32 before = dst, src = NewPicture(8, 8);
  StretchRect(dst, src, 0, 0, 0, 8, 0, 0, 8, 8);
  StretchRect(dst, src, 0, 0, 8, 8, 0, 0, 0, 8);
  StretchRect(dst, src, 0, 0, 8, -8, 0, 0, 8, 8);
  EXPECT_EQ(dst, before);
}

TEST(DrawOps, RevealThroughRegionCopiesOnlyTheRegionInsideThePicture) {
  Bitmap32 dst = OldPicture(10, 8);
  const Bitmap32 old = dst, src = NewPicture(10, 8);
  Region r = Region::Rect(-5, -5, 3, 3);
  r.UnionWith(Region::Rect(8, 6, 40, 40));
  RevealThroughRegion(dst, src, r);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x)
      ASSERT_EQ(dst.GetPixel(x, y), r.Contains(x, y) ? src.GetPixel(x, y) : old.GetPixel(x, y)) << x << "," << y;
}

TEST(DrawOps, BlendRectMovesEachByteTowardTheSourceAndKeepsTheFourthByte) {
  Bitmap32 dst(3, 1), src(3, 1);
  dst.SetPixel(0, 0, MakePixel(0, 255, 10, 0x12));
  src.SetPixel(0, 0, MakePixel(255, 0, 11, 0x34));
  dst.SetPixel(1, 0, MakePixel(1, 2, 3, 0x12));
  src.SetPixel(1, 0, MakePixel(200, 100, 50, 0x34));
  BlendRect(dst, src, 50, 0, 0, 1, 1);  // a = 128: 0 -> 127, 255 -> 127, 10 -> 10
  EXPECT_EQ(dst.GetPixel(0, 0), MakePixel(127, 127, 10, 0x12));
  BlendRect(dst, src, 100, 1, 0, 5, 5);  // cut at the edge; 100 gives the source colour
  EXPECT_EQ(dst.GetPixel(1, 0), MakePixel(200, 100, 50, 0x12));
  EXPECT_EQ(dst.GetPixel(2, 0), 0u);
}

TEST(DrawOps, ShadeColumnsOffsetsClimbToTheMiddleAndFallBack) {
  // Count 80, amount 48: half = 40 < 48, step 1: -48 .. -8 at column 40, back to -47.
  Bitmap32 b(82, 2);
  b.Fill(MakePixel(100, 100, 100));
  ShadeColumns(b, 48, 1, 80);
  EXPECT_EQ(PixelR(b.GetPixel(0, 0)), 100);
  EXPECT_EQ(PixelR(b.GetPixel(81, 1)), 100);
  for (int k = 0; k < 80; ++k) ASSERT_EQ(PixelB(b.GetPixel(1 + k, 1)), 100 - 48 + std::min(k, 80 - k)) << k;
  // half >= amount: the offset changes by 1 every half div amount columns.
  Bitmap32 c(10, 1);
  c.Fill(MakePixel(10, 10, 10));
  ShadeColumns(c, 2, 0, 10);  // half 5, every 2: -2 -2 -1 -1 0 0 -1 -1 -2 -2
  const int want[] = {8, 8, 9, 9, 10, 10, 9, 9, 8, 8};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(PixelG(c.GetPixel(k, 0)), want[k]) << k;
  // Results are clamped; count 1 or amount 0 does nothing; columns outside are skipped.
  Bitmap32 d(4, 1);
  d.Fill(MakePixel(5, 5, 5));
  ShadeColumns(d, 48, -2, 4);  // half 2, step 24: offsets -48 -24 0 -24 on columns -2..1
  EXPECT_EQ(d.GetPixel(0, 0), MakePixel(5, 5, 5));
  EXPECT_EQ(d.GetPixel(1, 0), MakePixel(0, 0, 0));
  ShadeColumns(d, 48, 3, 1);
  ShadeColumns(d, 0, 0, 4);
  EXPECT_EQ(d.GetPixel(3, 0), MakePixel(5, 5, 5));
}

TEST(DrawOps, ShadeRowsCountsFromTheLowestRow) {
  // Count 6, amount 48: half 3, step 16; from the lowest row up -48 -32 -16 -32 -48 -64.
  Bitmap32 b(2, 8);
  b.Fill(MakePixel(100, 100, 100));
  ShadeRows(b, 48, 1, 6);
  const int want[8] = {100, 36, 52, 68, 84, 68, 52, 100};
  for (int y = 0; y < 8; ++y) EXPECT_EQ(PixelR(b.GetPixel(1, y)), want[y]) << y;
}

}  // namespace
}  // namespace kx
