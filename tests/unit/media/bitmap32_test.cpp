#include "media/bitmap32.h"

#include <gtest/gtest.h>

#include "media/resample.h"

namespace kx {
namespace {

// A picture whose every pixel is different, so misplaced copies show.
Bitmap32 Numbered(int w, int h) {
  Bitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, MakePixel(x * 10, y * 10, 7));
  return b;
}

TEST(Bitmap32Test, SizeLimitsAndFill) {
  Bitmap32 b;
  EXPECT_TRUE(b.SetSize(3, 2));
  EXPECT_EQ(b.PixelCount(), 6u);
  EXPECT_EQ(b.GetPixel(2, 1), 0u);
  EXPECT_TRUE(b.SetSize(-1, 5));
  EXPECT_TRUE(b.Empty());
  EXPECT_FALSE(b.SetSize(100000, 100000));  // refused, not attempted
  EXPECT_TRUE(b.Empty());

  b.SetSize(4, 3);
  b.Fill(1);
  b.FillRect({-2, 1, 2, 10}, 9);  // clipped to columns 0..1, rows 1..2
  EXPECT_EQ(b.GetPixel(0, 0), 1u);
  EXPECT_EQ(b.GetPixel(1, 1), 9u);
  EXPECT_EQ(b.GetPixel(1, 2), 9u);
  EXPECT_EQ(b.GetPixel(2, 2), 1u);
}

TEST(Bitmap32Test, CopyRectClipsBothSides) {
  const Bitmap32 src = Numbered(4, 4);
  struct Case {
    Rect src_rect;
    int dx, dy;
  } cases[] = {
      {{0, 0, 4, 4}, -1, -2},   // target left and top cut
      {{-2, -1, 3, 3}, 0, 0},   // source reaches outside
      {{1, 1, 4, 4}, 2, 2},     // target right and bottom cut
      {{0, 0, 4, 4}, 10, 0},    // nothing visible
  };
  for (const Case& c : cases) {
    Bitmap32 dst(3, 3);
    dst.Fill(5);
    dst.CopyRect(src, c.src_rect, c.dx, c.dy);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 3; ++x) {
        const int sx = c.src_rect.left + x - c.dx, sy = c.src_rect.top + y - c.dy;
        const bool inside = sx >= std::max(0, c.src_rect.left) && sx < std::min(4, c.src_rect.right) &&
                            sy >= std::max(0, c.src_rect.top) && sy < std::min(4, c.src_rect.bottom);
        EXPECT_EQ(dst.GetPixel(x, y), inside ? src.GetPixel(sx, sy) : 5u) << x << "," << y;
      }
    }
  }
  // Inside one bitmap, overlapping.
  Bitmap32 b = Numbered(4, 1);
  const Bitmap32 before = b;
  b.CopyRect(b, {0, 0, 3, 1}, 1, 0);
  EXPECT_EQ(b.GetPixel(0, 0), before.GetPixel(0, 0));
  EXPECT_EQ(b.GetPixel(1, 0), before.GetPixel(0, 0));
  EXPECT_EQ(b.GetPixel(3, 0), before.GetPixel(2, 0));
}

TEST(Bitmap32Test, MirrorHorizontal) {
  Bitmap32 b = Numbered(3, 2);
  const Bitmap32 before = b;
  b.MirrorHorizontal();
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.GetPixel(x, y), before.GetPixel(2 - x, y));
}

Pixel KeyCombine(Pixel s, Pixel d, uint8_t master, const void* ctx) {
  if (s == *static_cast<const Pixel*>(ctx)) return d;
  return BlendPixel(s | 0xFF000000u, d, master);
}

TEST(Bitmap32Test, DrawModes) {
  Bitmap32 dst(2, 1);
  dst.Fill(MakePixel(0, 0, 200));
  Bitmap32 src(2, 1);
  src.SetPixel(0, 0, MakePixel(100, 0, 0));
  src.SetPixel(1, 0, MakePixel(255, 255, 255, 0));  // fully transparent

  Bitmap32 opaque = dst;
  opaque.Draw(0, 0, src);
  EXPECT_EQ(opaque.GetPixel(1, 0), MakePixel(255, 255, 255, 0));

  src.SetDrawMode(DrawMode::Blend);
  src.SetMasterAlpha(128);
  Bitmap32 blended = dst;
  blended.Draw(0, 0, src);
  EXPECT_EQ(blended.GetPixel(0, 0), MakePixel(50, 0, 100));  // (100*128 + 0*127)/255, (200*127)/255
  EXPECT_EQ(blended.GetPixel(1, 0), dst.GetPixel(1, 0));

  // Custom combine: a key colour leaves the target alone.
  const Pixel key = MakePixel(100, 0, 0);
  src.SetCombine(KeyCombine, &key);
  src.SetMasterAlpha(255);
  Bitmap32 keyed = dst;
  keyed.Draw(-1, 0, src);  // only src pixel 1 lands, at x = 0
  EXPECT_EQ(keyed.GetPixel(0, 0), MakePixel(255, 255, 255));
  keyed.Draw(1, 0, src);   // src pixel 0 is the key colour
  EXPECT_EQ(keyed.GetPixel(1, 0), dst.GetPixel(1, 0));
}

TEST(Bitmap32Test, BlendRounding) {
  EXPECT_EQ(BlendPixel(MakePixel(255, 255, 255), MakePixel(0, 0, 0), 255), MakePixel(255, 255, 255));
  EXPECT_EQ(BlendPixel(MakePixel(255, 255, 255), MakePixel(0, 0, 0, 0), 0), MakePixel(0, 0, 0, 0));
  EXPECT_EQ(BlendPixel(MakePixel(255, 0, 0), MakePixel(0, 0, 0), 128), MakePixel(128, 0, 0));
}

// Stretching into a rectangle that sticks out of the target draws exactly the visible part
// of the full stretch, for every filter and draw mode.
TEST(Bitmap32Test, StretchDrawClipsAfterMapping) {
  const Bitmap32 src = Numbered(7, 5);
  for (StretchFilter f : {StretchFilter::Nearest, StretchFilter::Draft, StretchFilter::Bilinear,
                          StretchFilter::Lanczos}) {
    for (DrawMode mode : {DrawMode::Opaque, DrawMode::Blend}) {
      Bitmap32 s = src;
      s.SetDrawMode(mode);
      s.SetFilter(f);
      Bitmap32 full(13, 9);
      full.StretchDraw(full.BoundsRect(), s, {1, 1, 6, 5});
      Bitmap32 part(8, 6);
      part.Fill(MakePixel(1, 2, 3));
      part.StretchDraw({-5, -3, 8, 6}, s, {1, 1, 6, 5});
      for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
          ASSERT_EQ(part.GetPixel(x, y), full.GetPixel(x + 5, y + 3))
              << "filter " << static_cast<int>(f) << " at " << x << "," << y;
    }
  }
}

TEST(Bitmap32Test, NearestStretchPicksPixelUnderCentre) {
  const Bitmap32 src = Numbered(3, 1);
  Bitmap32 dst(6, 2);
  dst.StretchDraw(dst.BoundsRect(), src, src.BoundsRect(), StretchFilter::Nearest);
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(dst.GetPixel(x, 0), src.GetPixel(x / 2, 0));
    EXPECT_EQ(dst.GetPixel(x, 1), src.GetPixel(x / 2, 0));
  }
  Bitmap32 small(2, 1);
  small.StretchDraw(small.BoundsRect(), Numbered(6, 1), {0, 0, 6, 1}, StretchFilter::Draft);
  EXPECT_EQ(small.GetPixel(0, 0), Numbered(6, 1).GetPixel(1, 0));
  EXPECT_EQ(small.GetPixel(1, 0), Numbered(6, 1).GetPixel(4, 0));
}

}  // namespace
}  // namespace kx
