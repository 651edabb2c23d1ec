// Worked examples of the moving, stretching, pixel, zoom and rotation effects, checked
// pixel by pixel.
#include <gtest/gtest.h>

#include "effects/effects_moving.h"
#include "effects/effects_pixel.h"
#include "effects/pixel_ops.h"
#include "effects/transition.h"
#include "media/random.h"
#include "test_pictures.h"

namespace kx {
namespace {

using testing::CountDifferences;
using testing::NewPicture;
using testing::OldPicture;

// A new picture whose every column is distinct and far from the clamping limits.
Bitmap32 Columns(int w, int h) {
  Bitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, MakePixel(60 + x % 128, 60 + (x / 128) * 10, 60 + y % 100));
  return b;
}

// "Unroll from left" on 800 columns: the roll is X wide below 80, then 80, then half the
// rest; it shows the new picture's next columns mirrored and shaded.
TEST(MovingEffects, UnrollFromLeftRollThicknessAndShading) {
  const int W = 800, H = 3;
  const Bitmap32 src = Columns(W, H);
  Bitmap32 old(W, H);
  old.Fill(MakePixel(1, 2, 3));
  struct Case { int X, roll; };
  for (const Case c : {Case{40, 40}, Case{400, 80}, Case{700, 50}, Case{800, 0}, Case{5, 5}}) {
    Bitmap32 dst = old;
    UnrollFromLeft(dst, src, W, H, c.X, 0, 0);
    const int s = c.roll, half = s / 2;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        Pixel want;
        if (x < c.X) {
          want = src.GetPixel(x, y);
        } else if (x < c.X + s) {
          const int k = x - c.X, j = c.X + s - 1 - x;  // roll column k shows Src column X + s + j
          const int step = s > 1 ? 48 / half : 0;
          const int off = s > 1 ? -48 + step * std::min(k, 2 * half - k) : 0;
          want = AddToRgb(src.GetPixel(c.X + s + j, y), off);
        } else {
          want = old.GetPixel(x, y);
        }
        ASSERT_EQ(dst.GetPixel(x, y), want) << "X=" << c.X << " x=" << x << " y=" << y;
      }
  }
  // Narrower than 10 pixels: no roll at all.
  const Bitmap32 small = Columns(9, 2);
  Bitmap32 dst = OldPicture(9, 2);
  UnrollFromLeft(dst, small, 9, 2, 4, 1, 44);
  for (int x = 4; x < 9; ++x) EXPECT_EQ(dst.GetPixel(x, 0), OldPicture(9, 2).GetPixel(x, 0)) << x;
}

TEST(MovingEffects, UnrollFromBottomMirrorsTheRowsAboveTheRoll) {
  const int W = 4, H = 100, Y = 50;  // roll thickness 10, shaded rows 40..49
  Bitmap32 src(W, H), dst(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) src.SetPixel(x, y, MakePixel(100, 100, static_cast<uint8_t>(y + 60)));
  dst.Fill(MakePixel(0, 0, 0));
  UnrollFromBottom(dst, src, W, H, 2, Y, 50);
  EXPECT_EQ(dst.GetPixel(0, 50), src.GetPixel(0, 50));
  EXPECT_EQ(dst.GetPixel(0, 39), MakePixel(0, 0, 0));
  // Row y - 1 - i (y = 50) takes Src row y - 2s - 1 + i = 29 + i, shaded; the lowest roll row
  // (i = 0 of the shading) gets -48.
  // Shading offsets from the lowest roll row up: -48 -39 -30 -21 -12 -21 -30 -39 -48 -57.
  EXPECT_EQ(PixelB(dst.GetPixel(0, 49)), 29 + 60 - 48);
  EXPECT_EQ(PixelB(dst.GetPixel(0, 45)), 33 + 60 - 12);
  EXPECT_EQ(PixelB(dst.GetPixel(0, 40)), 38 + 60 - 57);
}

TEST(MovingEffects, BuildUpSmearsATenthOfTheNewPictureAtTheStart) {
  const Bitmap32 src = Columns(100, 2);
  Bitmap32 dst = OldPicture(100, 2);
  BuildUpFromRight(dst, src, 100, 2, 0, 0, 0);
  for (int x = 0; x < 100; ++x) ASSERT_EQ(dst.GetPixel(x, 1), src.GetPixel(x / 10, 1)) << x;
}

TEST(MovingEffects, PushMovesTheOldPictureAndSqueezeScalesIt) {
  const Bitmap32 old = OldPicture(20, 4), src = NewPicture(20, 4);
  Bitmap32 dst = old;
  PushRight(dst, src, 20, 4, 8, 2, 40);
  for (int x = 0; x < 20; ++x)
    ASSERT_EQ(dst.GetPixel(x, 3), x < 8 ? src.GetPixel(12 + x, 3) : old.GetPixel(x - 8, 3)) << x;
  // Old picture squeezed into rows 0..14, the new picture's rows 0..4 below it.
  const Bitmap32 tall = OldPicture(4, 20), tallNew = NewPicture(4, 20);
  dst = tall;
  PushSqueezeUp(dst, tallNew, 4, 20, 1, 5, 25);
  for (int y = 0; y < 20; ++y)
    ASSERT_EQ(dst.GetPixel(2, y), y < 15 ? tall.GetPixel(2, y * 20 / 15) : tallNew.GetPixel(2, y - 15)) << y;
}

TEST(MovingEffects, RevealInToCentreKeepsTheOldPictureOnlyInTheMiddle) {
  const Bitmap32 old = OldPicture(20, 10), src = NewPicture(20, 10);
  Bitmap32 dst = old;
  RevealInToCentre(dst, src, 20, 10, 8, 4, 40);  // old survives in (4, 2, 16, 8)
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool middle = x >= 4 && x < 16 && y >= 2 && y < 8;
      ASSERT_EQ(dst.GetPixel(x, y), middle ? old.GetPixel(x, y) : src.GetPixel(x, y)) << x << "," << y;
    }
}

TEST(PixelEffects, FadeAtHalfWayRoundsTowardMinusInfinity) {
  Bitmap32 dst(2, 1), src(2, 1);
  dst.SetPixel(0, 0, MakePixel(0, 255, 100));
  src.SetPixel(0, 0, MakePixel(255, 0, 100));
  dst.SetPixel(1, 0, MakePixel(10, 20, 30));
  src.SetPixel(1, 0, MakePixel(11, 19, 200));
  Fade(dst, src, 2, 1, 1, 0, 50);
  EXPECT_EQ(dst.GetPixel(0, 0), MakePixel(127, 127, 100));
  EXPECT_EQ(dst.GetPixel(1, 0), MakePixel(10, 19, 115));  // 10 + 0, 20 + floor(-0.5), 30 + 85
}

TEST(PixelEffects, PixelateAtHalfWayBlowsUpABlendedBlock) {
  const int W = 800, H = 600, P = 50;
  const TransitionProgress g = ProgressFor(W, H, P);
  ASSERT_EQ(g.X, 400);
  ASSERT_EQ(g.Y, 300);
  const Bitmap32 old = OldPicture(W, H), src = NewPicture(W, H);
  Bitmap32 dst = old;
  Pixelate(dst, src, W, H, g.X, g.Y, P);
  // Block (392, 294, 16 x 12) blended at a = 128, stretched onto (-784, -588, 2368, 1776):
  // every block pixel becomes a square of 148 x 148.
  for (int y = 0; y < H; y += 7)
    for (int x = 0; x < W; x += 3) {
      const int bx = 392 + (x + 784) / 148, by = 294 + (y + 588) / 148;
      const Pixel want = FadePixel(old.GetPixel(bx, by), src.GetPixel(bx, by), 128);
      ASSERT_EQ(dst.GetPixel(x, y), want) << x << "," << y;
    }
  EXPECT_EQ(dst.GetPixel(0, 0), dst.GetPixel(147 - 784 % 148, 147 - 588 % 148));
}

TEST(PixelEffects, DissolveIsTheSameInEveryFrameAndOnlyGrows) {
  const Bitmap32 old = OldPicture(50, 30), src = NewPicture(50, 30);
  Random::Seed(4242);
  auto frame = [&](int P) {
    Bitmap32 d = old;
    Dissolve(d, src, 50, 30, 0, 0, P);
    return d;
  };
  const Bitmap32 a = frame(30), b = frame(30), c = frame(60);
  EXPECT_EQ(Random::State(), 4242u);
  EXPECT_EQ(a, b);
  int changedA = 0, changedC = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 50; ++x) {
      const bool inA = a.GetPixel(x, y) == src.GetPixel(x, y), inC = c.GetPixel(x, y) == src.GetPixel(x, y);
      changedA += inA;
      changedC += inC;
      ASSERT_TRUE(!inA || inC) << x << "," << y;
    }
  EXPECT_GT(changedA, 300);
  EXPECT_LT(changedA, 600);
  EXPECT_GT(changedC, changedA);
  // The first pixel visited is the bottom-left one, with the first draw from W + H.
  Random::Seed(80);
  const bool first = Random::Next(100) < 30;
  EXPECT_EQ(a.GetPixel(0, 29) == src.GetPixel(0, 29), first);
}

TEST(PixelEffects, RandomBarsCopyWholeRowsAndColumns) {
  const Bitmap32 old = OldPicture(30, 20), src = NewPicture(30, 20);
  Bitmap32 h = old, v = old;
  RandomBarsHorizontal(h, src, 30, 20, 0, 0, 50);
  RandomBarsVertical(v, src, 30, 20, 0, 0, 50);
  Random::Seed(50);
  for (int y = 19; y >= 0; --y) {
    const bool take = Random::Next(100) < 50;
    for (int x = 0; x < 30; ++x) ASSERT_EQ(h.GetPixel(x, y), (take ? src : old).GetPixel(x, y)) << x << "," << y;
  }
  Random::Seed(50);
  for (int x = 0; x < 30; ++x) {
    const bool take = Random::Next(100) < 50;
    for (int y = 0; y < 20; ++y) ASSERT_EQ(v.GetPixel(x, y), (take ? src : old).GetPixel(x, y)) << x << "," << y;
  }
}

TEST(PixelEffects, PivotsDrawNothingAtTheStartAndSwingIn) {
  const Bitmap32 old = OldPicture(40, 30), src = NewPicture(40, 30);
  for (auto* pivot : {PivotFromTopLeft, PivotFromBottomLeft, PivotFromTopRight, PivotFromBottomRight}) {
    Bitmap32 dst = old;
    pivot(dst, src, 40, 30, 0, 0, 0);
    EXPECT_EQ(dst, old);
    const TransitionProgress g = ProgressFor(40, 30, 50);
    pivot(dst, src, 40, 30, g.X, g.Y, 50);
    const int changed = CountDifferences(dst, old);
    EXPECT_GT(changed, 200);
    EXPECT_LT(changed, 1100);
  }
  // "Pivot from top left" half way (an eighth turn about the point below the bottom-left
  // corner): the new picture covers the part above the diagonal from that corner.
  Bitmap32 dst = old;
  PivotFromTopLeft(dst, src, 40, 30, 20, 15, 50);
  EXPECT_EQ(dst.GetPixel(0, 0), src.GetPixel(22, 10));  // u = 2, e = 31 -> (-1 + 23, 30 - 20)
  EXPECT_EQ(dst.GetPixel(39, 29), old.GetPixel(39, 29));
  EXPECT_EQ(dst.GetPixel(39, 0), old.GetPixel(39, 0));
}

}  // namespace
}  // namespace kx
