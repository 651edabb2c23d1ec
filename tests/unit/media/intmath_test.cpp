#include <gtest/gtest.h>

#include "media/intmath.h"
#include "media/random.h"

namespace kx {
namespace {

TEST(IntMath, MulDivRoundsHalvesAwayFromZero) {
  struct Case { int a, b, c, want; };
  const Case cases[] = {
      {1024, 50, 100, 512}, {600, 33, 100, 198}, {800, 33, 100, 264}, {5, 1, 2, 3},
      {-5, 1, 2, -3},       {5, -1, 2, -3},      {7, 1, 0, -1},       {3, 1, 2, 2},
      {2147483647, 2, 2, 2147483647},
  };
  for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.want) << c.a << "*" << c.b << "/" << c.c;
}

TEST(IntMath, DivTruncatesAndRoundGoesHalfToEven) {
  EXPECT_EQ(Div(-7, 2), -3);
  EXPECT_EQ(Div(7, 2), 3);
  EXPECT_EQ(RoundHalfEven(12.5), 12);
  EXPECT_EQ(RoundHalfEven(37.5), 38);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  for (double v : {-2.5, -1.5, 0.49999999999999994, 2.5, 3.5, 1e6 + 0.5, -1e6 - 0.5, 123456.789, -7.25})
    EXPECT_EQ(RoundHalfEven(v), static_cast<int>(std::nearbyint(v))) << v;
  // n = 8 frames: P = round(100 i / 8)
  const int want[] = {12, 25, 38, 50, 62, 75, 88, 100};
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(RoundRatioHalfEven(100 * i, 8), want[i - 1]);
}

TEST(Random, DrawIsUpperHalfOfStateTimesN) {
  Random::Seed(0);
  EXPECT_EQ(Random::Next(100), 0);  // state 1: (1 * 100) >> 32 == 0
  EXPECT_EQ(Random::State(), 1u);
  Random::Seed(0xFFFFFFFFu);
  const uint32_t s = 0xFFFFFFFFu * 134775813u + 1u;
  EXPECT_EQ(Random::Next(10), static_cast<int>((uint64_t(s) * 10) >> 32));
  EXPECT_EQ(Random::Next(0), 0);
  {
    RandomStateGuard guard;
    Random::Seed(42);
    Random::Next(5);
  }
  EXPECT_EQ(Random::State(), s * 134775813u + 1u);
}

}  // namespace
}  // namespace kx
