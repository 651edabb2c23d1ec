// Shape transitions: the worked shapes of the curved reveals, triangles, rotations and
// zigzags, checked pixel by pixel on frames drawn the way the show draws them.
#include "effects/shape_effects.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numbers>

#include "effects/region.h"
#include "shape_test_frame.h"

namespace kx {
namespace {

using testing::ShapeFrame;

TEST(ShapeEffects, RotatePointsTurnsClockwiseOnScreen) {
  int xy[] = {10, 0, 0, 0};
  RotatePoints(xy, 2, 0, 0, std::numbers::pi / 2);  // (10, 0) -> (0, 10): right turns down
  EXPECT_EQ(xy[0], 0);
  EXPECT_EQ(xy[1], 10);
  EXPECT_EQ(xy[2], 0);
  EXPECT_EQ(xy[3], 0);

  // A half turn about (100, 100) mirrors through the centre.
  int half[] = {105, 93, 90, 100};
  RotatePoints(half, 2, 100, 100, std::numbers::pi);
  EXPECT_EQ(half[0], 95);
  EXPECT_EQ(half[1], 107);
  EXPECT_EQ(half[2], 110);
  EXPECT_EQ(half[3], 100);
}

TEST(ShapeEffects, DiagonalSweepClockwiseAtHalfway) {
  ShapeFrame f(800, 600);
  f.Run(DiagonalSweepClockwise, 50);  // X = 400, Y = 300
  Region expected = Region::Union(
      Region::Polygon(std::data({800, 0, 0, 0, 800, 300}), 3),
      Region::Polygon(std::data({800, 600, 0, 600, 0, 300}), 3));
  EXPECT_TRUE(f.RevealedIs([&](int x, int y) { return expected.Contains(x, y); }));
  // Half the picture, each triangle touching its own corners.
  EXPECT_NEAR(static_cast<double>(f.NewCount()), 800.0 * 600 / 2, 800);
  EXPECT_TRUE(f.IsNew(799, 0) && f.IsNew(799, 299) && !f.IsNew(799, 301));
  EXPECT_TRUE(f.IsNew(0, 599) && f.IsNew(0, 300) && !f.IsNew(0, 298));
}

TEST(ShapeEffects, RotationalRectangleAtAQuarterTurnHasItsSidesExchanged) {
  ShapeFrame f(400, 300);
  f.Run(RotationalRectangleInCenter, 25);  // X = 100, Y = 75: a = 50, b = 37
  EXPECT_TRUE(f.RevealedIs([](int x, int y) {
    return x >= 200 - 37 && x < 200 + 37 && y >= 150 - 50 && y < 150 + 50;
  }));
  f.Run(RotationalRectangleInCenter, 100);  // the whole picture, upright again
  EXPECT_EQ(f.NewCount(), 400 * 300);
  f.Run(SpiralRectangle, 100);
  EXPECT_EQ(f.NewCount(), 400 * 300);
}

TEST(ShapeEffects, ZigzagOnANarrowPictureNeverRevealsAnything) {
  ShapeFrame narrow(9, 40);
  ShapeFrame low(40, 9);
  for (int P = 0; P <= 100; P += 10) {
    narrow.Run(ZigzagHorizontal, P);
    EXPECT_EQ(narrow.NewCount(), 0) << P;
    low.Run(ZigzagVertical, P);
    EXPECT_EQ(low.NewCount(), 0) << P;
  }
}

TEST(ShapeEffects, ZigzagRibbonGrowsFromTheMiddleLine) {
  ShapeFrame f(200, 100);  // step 20, n = 10
  f.Run(ZigzagHorizontal, 50);  // c = 5 + 25 = 30: edges at 50 - 30 +- 10, 50 + 30 +- 10
  for (int x : {0, 10, 20, 100, 190}) {
    EXPECT_TRUE(f.IsNew(x, 50)) << x;
    EXPECT_FALSE(f.IsNew(x, 5)) << x;
    EXPECT_FALSE(f.IsNew(x, 94)) << x;
  }
  EXPECT_TRUE(f.IsNew(0, 30) && !f.IsNew(0, 28));    // even points: upper edge at 30
  EXPECT_TRUE(f.IsNew(20, 11) && !f.IsNew(20, 9));   // odd points: upper edge at 10
  f.Run(ZigzagHorizontal, 100);
  EXPECT_EQ(f.NewCount(), 200 * 100);
}

TEST(ShapeEffects, CurvedRevealTipReachesTheFarSideHalfway) {
  ShapeFrame f(300, 200);
  f.Run(CurvedRevealFromLeft, 50);  // tip at 2X = 300, corners still at the left edge
  EXPECT_TRUE(f.IsNew(299, 100));
  EXPECT_FALSE(f.IsNew(299, 0));
  EXPECT_FALSE(f.IsNew(50, 0));
  EXPECT_TRUE(f.IsNew(0, 0));
  f.Run(CurvedRevealFromBottomRight, 50);
  EXPECT_TRUE(f.IsNew(299, 199));
  EXPECT_FALSE(f.IsNew(0, 0));
}

TEST(ShapeEffects, RemovedShapesCoverThePictureAtTheStart) {
  // These reveal what lies outside a shrinking shape; at the start the shape covers the
  // picture up to single pixels on its boundary.
  for (TEffectProc proc : {EllipticRevealInToCentre, DiagonalCrossOut, RevealDiamondInToCentre}) {
    ShapeFrame f(320, 240);
    f.Run(proc, 0);
    EXPECT_LT(f.NewCount(), 320 + 240);
    f.Run(proc, 50);
    EXPECT_GT(f.NewCount(), 320 * 240 / 8);
    f.Run(proc, 100);
    EXPECT_EQ(f.NewCount(), 320 * 240);
  }
}

TEST(ShapeEffects, DiagonalBoxOutIsARingAroundTheInscribedDiamond) {
  ShapeFrame f(400, 300);
  f.Run(DiagonalBoxOut, 50);  // a = 100, b = 75
  EXPECT_TRUE(f.IsNew(100, 75));    // between the inscribed diamond and the outer one
  EXPECT_FALSE(f.IsNew(200, 150));  // the middle is still old
  EXPECT_FALSE(f.IsNew(0, 0));      // and so are the corners
  f.Run(DiagonalBoxOut, 100);
  EXPECT_EQ(f.NewCount(), 400 * 300);
}

}  // namespace
}  // namespace kx
