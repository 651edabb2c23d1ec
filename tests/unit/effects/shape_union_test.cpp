// The one-sweep union of many pieces must give exactly the pixels of the plain union.
#include "effects/region_shapes.h"

#include <gtest/gtest.h>

#include <vector>

#include "media/random.h"

namespace kx {
namespace {

std::vector<RectI> RandomRects(int count, int spread, int maxSide) {
  std::vector<RectI> rects;
  for (int k = 0; k < count; ++k) {
    const int l = Random::Next(spread) - spread / 4, t = Random::Next(spread) - spread / 4;
    // Some rectangles without area (and some inverted) on purpose.
    const int w = Random::Next(maxSide + 2) - 1, h = Random::Next(maxSide + 2) - 1;
    rects.push_back({l, t, l + w, t + h});
  }
  return rects;
}

TEST(ShapeUnion, SweepGivesThePixelsOfTheUnion) {
  Random::Seed(2026);
  // Compact lists (rows counted) and sparse ones spread over far rows (rows sorted).
  const struct {
    int count, spread, maxSide;
  } cases[] = {{1, 10, 5}, {7, 12, 6}, {60, 40, 12}, {300, 200, 90}, {40, 3000000, 500000}};
  for (const auto& c : cases) {
    for (int round = 0; round < 20; ++round) {
      const std::vector<RectI> rects = RandomRects(c.count, c.spread, c.maxSide);
      const Region sweep = UnionOfRects(rects.data(), static_cast<int>(rects.size()));
      const Region plain = Region::FromRects(rects.data(), static_cast<int>(rects.size()));
      ASSERT_TRUE(sweep.IsValid());
      ASSERT_EQ(sweep, plain) << c.count << " rectangles, round " << round;
    }
  }
  EXPECT_TRUE(UnionOfRects(nullptr, 0).IsEmpty());
  const RectI empty[] = {{5, 5, 5, 9}, {3, 4, 1, 8}};
  EXPECT_TRUE(UnionOfRects(empty, 2).IsEmpty());
}

TEST(ShapeUnion, CollectsShapesIntoOneRegion) {
  ShapeUnion shapes;
  EXPECT_TRUE(shapes.Empty());
  const Region a = Region::Ellipse(0, 0, 40, 30), b = Region::Ellipse(25, 10, 70, 50);
  shapes.Add(a);
  shapes.Add(b);
  shapes.AddRect(100, 100, 90, 120);  // no area: adds nothing
  EXPECT_EQ(shapes.Finish(), Region::Union(a, b));
}

}  // namespace
}  // namespace kx
