// Band and grid transitions: the worked geometry of bars, blinds, shreds, speckles and
// random squares, checked pixel by pixel on frames drawn the way the show draws them.
#include "effects/band_effects.h"

#include <gtest/gtest.h>

#include "effects/complex_region.h"
#include "effects/effects_table.h"
#include "media/random.h"
#include "shape_test_frame.h"

namespace kx {
namespace {

using testing::ShapeFrame;

TEST(BandEffects, BarsInFromRightFillsEvenBandsThenOddOnes) {
  ShapeFrame f(1024, 768);  // band thickness 768 div 50 + 1 = 16
  auto even = [](int y) { return (y / 16) % 2 == 0; };

  f.Run(BarsInFromRight, 50);  // 2X = 1024: the even bands are full, no odd band has started
  EXPECT_TRUE(f.RevealedIs([&](int x, int y) { return even(y); }));

  f.Run(BarsInFromRight, 75);  // 2X = 1536: odd bands filled from the right over 512 columns
  EXPECT_TRUE(f.RevealedIs([&](int x, int y) { return even(y) || x >= 512; }));

  f.Run(BarsInFromRight, 25);  // 2X = 512: even bands from the right
  EXPECT_TRUE(f.RevealedIs([&](int x, int y) { return even(y) && x >= 512; }));
}

TEST(BandEffects, BarsFromBothSidesFillOddBandsFromLeftAndEvenFromRight) {
  ShapeFrame f(1024, 768);
  f.Run(BarsFromBothSides, 50);
  EXPECT_TRUE(f.RevealedIs([](int x, int y) { return (y / 16) % 2 == 0 ? x >= 512 : x < 512; }));
}

TEST(BandEffects, BarsBounceVerticalKindsRunAlongColumns) {
  ShapeFrame f(200, 100);  // e = 3; 2Y = 150 at P = 75: second phase
  f.Run(BarsTopThenBottom, 75);  // even columns full, odd ones from the bottom (2H - 150 = 50)
  EXPECT_TRUE(f.RevealedIs([](int x, int y) { return (x / 3) % 2 == 0 || y >= 50; }));
  f.Run(BarsBottomThenTop, 75);  // even columns full, odd ones from the top down to 50
  EXPECT_TRUE(f.RevealedIs([](int x, int y) { return (x / 3) % 2 == 0 || y < 50; }));
}

TEST(BandEffects, CrissCrossFromBottomLeftTopRightShowsWhatBothPatternsReveal) {
  ShapeFrame f(1024, 768);
  f.Run(CrissCrossFromBottomLeftTopRight, 25);  // 2X = 512, 2Y = 384
  auto even = [](int v) { return (v / 16) % 2 == 0; };
  EXPECT_TRUE(f.RevealedIs([&](int x, int y) {
    // From the right and bottom: even rows right of 512, even columns below 384; from the
    // left and top: even rows left of 512, even columns above 384.
    const bool a = (even(y) && x >= 512) || (even(x) && y >= 384);
    const bool b = (even(y) && x < 512) || (even(x) && y < 384);
    return a && b;
  }));
  f.Run(CrissCrossFromBottomLeftTopRight, 100);
  EXPECT_EQ(f.NewCount(), 1024 * 768);
}

TEST(BandEffects, BlindsOpenSlatsFromTheirCentres) {
  ShapeFrame f(800, 600);
  f.Run(BlindVertically, 0);
  EXPECT_EQ(f.NewCount(), 0);
  f.Run(BlindVertically, 50);  // n = 21, a = 11: slats x + 10 .. x + 31 on a 42 pitch
  EXPECT_TRUE(f.RevealedIs([](int x, int y) { return x % 42 >= 10 && x % 42 < 32; }));
}

TEST(BandEffects, UnevenBlindsUseTheProgressAsPeriod) {
  ShapeFrame f(800, 600);
  f.Run(UnevenBlindFromLeft, 50);  // X = 400, a = 200
  EXPECT_TRUE(f.RevealedIs([](int x, int y) { return x < 200 || (x >= 400 && x < 600); }));
  f.Run(UnevenBlindFromRight, 50);
  EXPECT_TRUE(f.RevealedIs([](int x, int y) { return x >= 600 || (x >= 200 && x < 400); }));
  f.Run(UnevenBlindFromBottom, 50);  // Y = 300, a = 150
  EXPECT_TRUE(f.RevealedIs([](int x, int y) { return y >= 450 || (y >= 150 && y < 300); }));
}

TEST(BandEffects, RectanglesAddStripesToTheBlindAndSkipTinyPictures) {
  ShapeFrame f(400, 200);  // t = 10, a = 5 at P = 50; X = 200, b = 100
  f.Run(RectanglesFromLeftToRight, 50);
  EXPECT_TRUE(f.RevealedIs([](int x, int y) {
    // Stripes around y = -10, 20, 50, ..., 170; the next one, 200, lies below the picture.
    const bool stripe = y < 195 && ((y + 10) % 30 < 5 || (y + 10) % 30 >= 25);
    return stripe || x < 100 || (x >= 200 && x < 300);
  }));
  ShapeFrame tiny(400, 19);  // H div 20 = 0: nothing at all
  tiny.Run(RectanglesFromLeftToRight, 60);
  EXPECT_EQ(tiny.NewCount(), 0);
}

TEST(BandEffects, GridsFillThePictureAtTheEnd) {
  for (TEffectProc proc : {RectangularShred, CircularShred, DiamondShred, TriangularShred}) {
    ShapeFrame f(160, 90);
    f.Run(proc, 100);
    EXPECT_EQ(f.NewCount(), 160 * 90);
    f.Run(proc, 0);
    EXPECT_EQ(f.NewCount(), 0);
  }
  ShapeFrame f(160, 90);  // n = 10: squares of side 2a = 10 centred on a 20 pitch
  f.Run(RectangularShred, 50);
  EXPECT_TRUE(f.RevealedIs([](int x, int y) { return x % 20 >= 5 && x % 20 < 15 &&
                                                     y % 20 >= 5 && y % 20 < 15; }));
}

TEST(BandEffects, ShredEdgeJittersAroundTheProgressAndIsStraightAtTheEnd) {
  ShapeFrame f(400, 300);
  Random::Seed(99);
  f.Run(ShredFromLeft, 50);  // X = 200, jitter 40: every row reaches 160 .. 239
  EXPECT_TRUE(f.RevealedIs([&](int x, int y) {
    if (x < 160) return true;
    if (x >= 240) return false;
    return f.IsNew(x, y);
  }));
  int ragged = 0;
  for (int y = 1; y < 300; ++y) ragged += f.IsNew(200, y) != f.IsNew(200, y - 1);
  EXPECT_GT(ragged, 10);

  f.Run(ShredFromLeft, 100);
  EXPECT_EQ(f.NewCount(), 400 * 300);
  f.Run(ShredFromLeft, 0);  // nothing pokes in before the edge has moved
  EXPECT_EQ(f.NewCount(), 0);
}

TEST(BandEffects, ShredsAreReproducibleForAGeneratorStateAndDrawOncePerBand) {
  ShapeFrame f(300, 200);  // e = 2: 100 horizontal bands, 150 vertical ones
  Random::Seed(4321);
  f.Run(ShredFromCentre, 40);
  const Bitmap32 first = f.dst;
  const uint32_t after = Random::State();

  Random::Seed(4321);
  for (int i = 0; i < 250; ++i) Random::Next(1);
  EXPECT_EQ(Random::State(), after);

  Random::Seed(4321);
  f.Run(ShredFromCentre, 40);
  EXPECT_TRUE(f.dst == first);
  Random::Seed(1);
  f.Run(ShredFromCentre, 40);
  EXPECT_FALSE(f.dst == first);
}

TEST(BandEffects, SpeckleScattersAheadOfTheSolidBandOnly) {
  ShapeFrame f(400, 300);  // X = 200, g = 40, s = 2, c = 20: speckles in 200 .. 239
  Random::Seed(7);
  f.Run(SpeckleAppearFromLeft, 50);
  EXPECT_TRUE(f.RevealedIs([&](int x, int y) {
    if (x < 200) return true;
    if (x >= 240) return false;
    return f.IsNew(x, y);
  }));
  int speckles = 0;
  for (int y = 0; y < 300; ++y) speckles += f.IsNew(200, y) + f.IsNew(230, y);
  EXPECT_GT(speckles, 50);  // the first place ahead is always taken, far ones rarely

  // At full progress the part is the solid band alone and draws nothing at random.
  TComplexRegion rects;
  const uint32_t state = Random::State();
  SpeckleRegion(rects, 400, 0, 400, 300, 2, 0);
  EXPECT_EQ(Random::State(), state);
  ASSERT_TRUE(rects.CreateRegion().has_value());
  const Region picture = Region::Rect(0, 0, 400, 300);
  EXPECT_EQ(Region::Intersect(*rects.CreateRegion(), picture), picture);
  EXPECT_EQ(rects.Bounds().Right, 400);
}

TEST(BandEffects, RandomSquaresStayOnceShownAndLeaveTheGeneratorAlone) {
  ShapeFrame f(200, 120);
  Random::Seed(555);
  Bitmap32 previous;
  for (int P = 0; P <= 100; P += 5) {
    f.Run(RandomSquaresAppear, P);
    EXPECT_EQ(Random::State(), 555u);
    if (P > 0) {
      for (int y = 0; y < f.H; ++y)
        for (int x = 0; x < f.W; ++x)
          if (previous.GetPixel(x, y) == f.new_pic.GetPixel(x, y)) {
            ASSERT_TRUE(f.IsNew(x, y)) << P;
          }
    }
    previous = f.dst;
  }
  EXPECT_EQ(f.NewCount(), 200 * 120);

  Random::Seed(1);  // a second run with the same size shows the same squares
  f.Run(RandomSquaresAppear, 40);
  const Bitmap32 first = f.dst;
  Random::Seed(2);
  f.Run(RandomSquaresAppear, 40);
  EXPECT_TRUE(f.dst == first);
  EXPECT_GT(f.NewCount(), 200 * 120 / 5);
  EXPECT_LT(f.NewCount(), 200 * 120 * 3 / 5);
}

TEST(BandEffects, SizesWithoutPixelsNeverHang) {
  // Band counts and grid pitches come from the sizes; a zero or negative size must not make
  // a step of zero or below (the pictures are then empty).
  const int sizes[][2] = {{0, 0}, {0, 30}, {30, 0}, {-120, 40}, {40, -120}, {-7, -9}};
  for (int n = 61; n <= 167; ++n) {
    const bool blockOrPixel = (n >= 121 && n <= 124) || (n >= 130 && n <= 137);
    if (Effects[n].Proc == nullptr || blockOrPixel) continue;
    for (const auto& s : sizes) {
      Bitmap32 dst(s[0], s[1]);
      const Bitmap32 src(s[0], s[1]);
      for (int P : {0, 50, 100}) {
        Effects[n].Proc(dst, src, s[0], s[1], 0, 0, P);
        Effects[n].Proc(dst, src, s[0], s[1], s[0] * P / 100, s[1] * P / 100, P);
      }
      EXPECT_TRUE(dst.Empty()) << n;
    }
  }
}

}  // namespace
}  // namespace kx
