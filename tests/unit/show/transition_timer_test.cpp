#include "show/transition_timer.h"

#include <gtest/gtest.h>

#include <vector>

namespace kx {
namespace {

struct Frame {
  uint32_t shown;  // when the frame was on the screen
  int percent;
};

// Drives a timer as the show does: asks before each frame, draws a frame costing `cost`
// (the first one `first`) and says when it was shown, waits a millisecond when no frame
// is due.
std::vector<Frame> Drive(uint32_t start, int duration, uint32_t first, uint32_t cost) {
  TransitionTimer t;
  t.Start(start, duration);
  std::vector<Frame> frames;
  uint32_t now = start;
  for (int guard = 0; !t.Done() && guard < 100000; ++guard) {
    const int p = t.Next(now);
    if (p < 0) {
      ++now;
      continue;
    }
    now += frames.empty() ? first : cost;
    t.FrameShown(now);
    frames.push_back({now, p});
  }
  EXPECT_TRUE(t.Done());
  return frames;
}

TEST(TransitionTimerTest, ProgressFollowsTheTimeWhateverTheFramesCost) {
  struct Case { int duration; uint32_t first, cost; };
  const Case cases[] = {
      {2000, 2, 2},   {2000, 6, 6},     {2000, 20, 20}, {2000, 18, 6}, {2000, 2, 6},
      {2000, 300, 5}, {1000, 40, 40},   {500, 1, 1},    {100, 0, 0},   {2000, 1999, 50},
  };
  for (const Case& c : cases) {
    // Also across the clock's wrap-around.
    for (uint32_t start : {100000u, 0xFFFFFF00u}) {
      const std::vector<Frame> f = Drive(start, c.duration, c.first, c.cost);
      ASSERT_GE(f.size(), 2u) << c.duration << " " << c.first << " " << c.cost;
      EXPECT_EQ(f.front().percent, 0);
      EXPECT_EQ(f.back().percent, 100);
      for (size_t i = 1; i < f.size(); ++i) EXPECT_GT(f[i].percent, f[i - 1].percent) << i;
      // The last frame is on the screen once the time is over, within a frame or two (the
      // first frames do not know yet what a frame costs).
      const uint32_t end = f.back().shown - start;
      EXPECT_GE(end, static_cast<uint32_t>(c.duration));
      EXPECT_LE(end, c.duration + 2 * c.cost + 1);
      // Every frame shows the progress of the time at which it is on the screen, within
      // what one frame costs.
      const int slack = static_cast<int>(c.cost * 100 / c.duration) + 1;
      for (size_t i = 1; i + 1 < f.size(); ++i)
        EXPECT_NEAR(f[i].percent, static_cast<int>((f[i].shown - start) * 100 / c.duration), slack) << i;
    }
  }
}

TEST(TransitionTimerTest, EndsWithFrameZeroWhenThereIsNoTimeLeft) {
  // No time at all, or a frame 0 that took longer than the whole transition.
  for (const auto& [duration, first] : {std::pair{0, 5u}, std::pair{2000, 2500u}, std::pair{-3, 1u}}) {
    const std::vector<Frame> f = Drive(5000, duration, first, 5);
    ASSERT_EQ(f.size(), 1u) << duration;
    EXPECT_EQ(f[0].percent, 0);
  }
}

TEST(TransitionTimerTest, AStoppedClockStillEndsTheTransition) {
  TransitionTimer t;
  t.Start(700, 2000);
  EXPECT_EQ(t.Next(700), 0);
  EXPECT_EQ(t.Next(750), 2);
  int calls = 0;
  int p = -1;
  while ((p = t.Next(750)) < 0 && calls < 10 * TransitionTimer::kStalledLimit) ++calls;
  EXPECT_EQ(p, 100);
  EXPECT_TRUE(t.Done());
  EXPECT_LT(calls, TransitionTimer::kStalledLimit);
  EXPECT_EQ(t.Next(3000), -1);  // nothing after the end
  // A clock that moves now and then is not a stopped one.
  t.Start(0, 2000);
  EXPECT_EQ(t.Next(0), 0);
  for (int i = 0; i < 3 * TransitionTimer::kStalledLimit; ++i) t.Next(static_cast<uint32_t>(i / 2));
  EXPECT_FALSE(t.Done());
}

}  // namespace
}  // namespace kx
