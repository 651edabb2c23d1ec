#include "effects/region.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "effects/complex_region.h"

namespace kx {
namespace {

// A bitmap model of a region over a small window, to compare region operations against.
constexpr int kLo = -4, kHi = 36;  // window [kLo, kHi) in x and y
using Mask = std::vector<bool>;
Mask MaskOf(const Region& r) {
  Mask m((kHi - kLo) * (kHi - kLo));
  for (int y = kLo; y < kHi; ++y)
    for (int x = kLo; x < kHi; ++x) m[(y - kLo) * (kHi - kLo) + (x - kLo)] = r.Contains(x, y);
  return m;
}
Mask MaskOfRects(const std::vector<RectI>& rs) {
  Mask m((kHi - kLo) * (kHi - kLo));
  for (const RectI& r : rs)
    for (int y = std::max(r.Top, kLo); y < std::min(r.Bottom, kHi); ++y)
      for (int x = std::max(r.Left, kLo); x < std::min(r.Right, kHi); ++x) m[(y - kLo) * (kHi - kLo) + (x - kLo)] = true;
  return m;
}
std::string Describe(const std::vector<RectI>& rs) {
  std::ostringstream o;
  for (const RectI& r : rs) o << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ") ";
  return o.str();
}

TEST(Region, BooleanOperationsMatchABitmapModel) {
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> coord(-2, 33);
  std::uniform_int_distribution<int> count(0, 7);
  auto randomRects = [&] {
    std::vector<RectI> rs(count(rng));
    for (RectI& r : rs) r = {coord(rng), coord(rng), coord(rng), coord(rng)};  // some inverted: empty
    return rs;
  };
  for (int round = 0; round < 300; ++round) {
    const std::vector<RectI> ra = randomRects(), rb = randomRects();
    const Region a = Region::FromRects(ra.data(), static_cast<int>(ra.size()));
    const Region b = Region::FromRects(rb.data(), static_cast<int>(rb.size()));
    const Mask ma = MaskOfRects(ra), mb = MaskOfRects(rb);
    ASSERT_TRUE(a.IsValid() && b.IsValid()) << Describe(ra) << " | " << Describe(rb);
    ASSERT_EQ(MaskOf(a), ma) << "FromRects " << Describe(ra);
    const Region ops[4] = {Region::Union(a, b), Region::Intersect(a, b), Region::Xor(a, b), Region::Subtract(a, b)};
    for (int op = 0; op < 4; ++op) {
      Mask want(ma.size());
      for (size_t i = 0; i < ma.size(); ++i)
        want[i] = op == 0 ? (ma[i] || mb[i]) : op == 1 ? (ma[i] && mb[i]) : op == 2 ? (ma[i] != mb[i]) : (ma[i] && !mb[i]);
      ASSERT_TRUE(ops[op].IsValid()) << "op " << op << ": " << Describe(ra) << " | " << Describe(rb);
      ASSERT_EQ(MaskOf(ops[op]), want) << "op " << op << ": " << Describe(ra) << " | " << Describe(rb);
    }
    // The union built pairwise is the same canonical region as the one-sweep union.
    std::vector<RectI> all = ra;
    all.insert(all.end(), rb.begin(), rb.end());
    ASSERT_EQ(Region::FromRects(all.data(), static_cast<int>(all.size())), ops[0]);
  }
}

TEST(Region, RectanglesAreHalfOpenAndEmptyWhenInverted) {
  const Region r = Region::Rect(2, 3, 5, 7);
  EXPECT_EQ(r.Area(), 12);
  EXPECT_TRUE(r.Contains(2, 3));
  EXPECT_FALSE(r.Contains(5, 3));
  EXPECT_FALSE(r.Contains(2, 7));
  EXPECT_EQ(r.Bounds(), (RectI{2, 3, 5, 7}));
  EXPECT_TRUE(Region::Rect(5, 0, 5, 9).IsEmpty());
  EXPECT_TRUE(Region::Rect(6, 0, 5, 9).IsEmpty());
  EXPECT_TRUE(Region::Ellipse(0, 0, 0, 9).IsEmpty());
  EXPECT_TRUE(Region::RoundRect(0, 9, 4, 2, 3, 3).IsEmpty());
  Region moved = r;
  moved.Offset(-10, 1);
  EXPECT_EQ(moved, Region::Rect(-8, 4, -5, 8));
}

TEST(Region, EllipseTakesThePixelsWhoseCentresLieInside) {
  const Region e = Region::Ellipse(0, 0, 4, 4);
  const Span top{1, 3}, mid{0, 4};
  ASSERT_EQ(e.Bands().size(), 3u);
  EXPECT_EQ(e.Spans()[e.Bands()[0].First], top);
  EXPECT_EQ(e.Bands()[1].Top, 1);
  EXPECT_EQ(e.Bands()[1].Bottom, 3);
  EXPECT_EQ(e.Spans()[e.Bands()[1].First], mid);
  EXPECT_EQ(e.Spans()[e.Bands()[2].First], top);
  // A large ellipse: symmetric, and its area close to pi a b.
  const Region big = Region::Ellipse(-100, 50, 301, 250);
  EXPECT_TRUE(big.IsValid());
  EXPECT_NEAR(static_cast<double>(big.Area()), 3.14159265 * 200.5 * 100, 400);
  for (int y = 50; y < 250; y += 7)
    for (int x = -100; x < 301; x += 5) ASSERT_EQ(big.Contains(x, y), big.Contains(200 - x, 299 - y)) << x << "," << y;
}

TEST(Region, RoundedRectangleReducesItsCornerEllipseToTheRectangle) {
  EXPECT_EQ(Region::RoundRect(0, 0, 10, 6, 100, 100), Region::Ellipse(0, 0, 10, 6));
  EXPECT_EQ(Region::RoundRect(0, 0, 30, 6, 100, 6), Region::RoundRect(0, 0, 30, 6, 30, 6));
  // Small corners: the rectangle minus a few corner pixels, the middle untouched.
  const Region r = Region::RoundRect(0, 0, 20, 10, 6, 6);
  EXPECT_FALSE(r.Contains(0, 0));
  EXPECT_FALSE(r.Contains(19, 9));
  EXPECT_TRUE(r.Contains(0, 5));
  EXPECT_TRUE(r.Contains(10, 0));
  EXPECT_TRUE(Region::Subtract(r, Region::Rect(0, 0, 20, 10)).IsEmpty());
  EXPECT_GT(r.Area(), 200 - 4 * 9);
  // A long curved shape as the curved reveals use: the tip is a half-ellipse.
  const Region curve = Region::RoundRect(-200, 0, 60, 51, 200, 200);
  EXPECT_TRUE(curve.Contains(59, 25));
  EXPECT_FALSE(curve.Contains(59, 0));
  EXPECT_TRUE(curve.Contains(-100, 0));
}

TEST(Region, PolygonFillsByTheWindingRule) {
  // A right triangle: row y holds the columns whose centres lie left of the hypotenuse.
  const int tri[] = {0, 0, 8, 0, 0, 8};
  const Region t = PolygonRegion(tri, 5);
  for (int y = 0; y < 8; ++y) {
    int n = 0;
    for (int x = -1; x < 9; ++x) n += t.Contains(x, y);
    EXPECT_EQ(n, 7 - y) << "row " << y;  // centres with x + 0.5 + y + 0.5 < 8
  }
  // A pentagram: its centre is wound twice and still inside (non-zero rule).
  const int star[] = {50, 0, 79, 90, 2, 35, 98, 35, 21, 90};
  const Region s = Region::Polygon(star, 5);
  EXPECT_TRUE(s.Contains(50, 45));
  EXPECT_TRUE(s.Contains(50, 10));
  EXPECT_FALSE(s.Contains(5, 80));
  // An inner square wound the other way is a hole; wound the same way it is not.
  const int holed[] = {0, 0, 20, 0, 20, 20, 0, 20, 0, 0, 5, 5, 5, 15, 15, 15, 15, 5, 5, 5};
  const int twice[] = {0, 0, 20, 0, 20, 20, 0, 20, 0, 0, 5, 5, 15, 5, 15, 15, 5, 15, 5, 5};
  EXPECT_FALSE(Region::Polygon(holed, 10).Contains(10, 10));
  EXPECT_EQ(Region::Polygon(holed, 10).Area(), 400 - 100);
  EXPECT_EQ(Region::Polygon(twice, 10), Region::Rect(0, 0, 20, 20));
  // An axis-aligned polygon covers exactly its rectangle; degenerate ones are empty.
  const int square[] = {2, 3, 9, 3, 9, 7, 2, 7};
  EXPECT_EQ(Region::Polygon(square, 4), Region::Rect(2, 3, 9, 7));
  const int flat[] = {0, 0, 10, 0, 20, 0};
  EXPECT_TRUE(Region::Polygon(flat, 3).IsEmpty());
  EXPECT_TRUE(Region::Polygon(square, 2).IsEmpty());
  // Shapes far outside the picture do not misbehave.
  const int huge[] = {-2000000000, 0, 2000000000, 0, 0, 3};
  EXPECT_FALSE(Region::Polygon(huge, 3).IsEmpty());
}

TEST(ComplexRegion, GrowsBy500AndKeepsTheBounds) {
  TComplexRegion c;
  EXPECT_EQ(c.Capacity(), 0);
  EXPECT_EQ(c.Bounds(), (RectI{2147483647, 2147483647, -2147483647, -2147483647}));
  EXPECT_FALSE(c.CreateRegion().has_value());
  c.AddRect(10, 10, 12, 12);
  EXPECT_EQ(c.Capacity(), 500);
  for (int k = 1; k < 500; ++k) c.AddRect(k, 2 * k, k + 3, 2 * k + 1);
  EXPECT_EQ(c.Capacity(), 500);
  c.AddRect(-7, 5, -6, 2000);  // the 501st
  EXPECT_EQ(c.Count(), 501);
  EXPECT_EQ(c.Capacity(), 1000);
  EXPECT_EQ(c.Bounds(), (RectI{-7, 2, 502, 2000}));
  const auto r = c.CreateRegion();
  ASSERT_TRUE(r.has_value());
  EXPECT_TRUE(r->IsValid());
  EXPECT_TRUE(r->Contains(-7, 1999));
  EXPECT_TRUE(r->Contains(11, 11));
  EXPECT_FALSE(r->Contains(-6, 5));
  c.Clear();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(c.Capacity(), 0);
  EXPECT_EQ(c.Bounds().Left, 2147483647);
  // Rectangles without area widen the bounds but add no pixels.
  c.AddRect(5, 5, 5, 9);
  ASSERT_TRUE(c.CreateRegion().has_value());
  EXPECT_TRUE(c.CreateRegion()->IsEmpty());
  EXPECT_EQ(c.Bounds(), (RectI{5, 5, 5, 9}));
}

}  // namespace
}  // namespace kx
