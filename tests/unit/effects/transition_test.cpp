#include "effects/transition.h"

#include <gtest/gtest.h>

#include <map>

#include "effects/effects_table.h"
#include "media/random.h"
#include "media/worker_pool.h"
#include "test_pictures.h"

namespace kx {
namespace {

TEST(Transition, ProgressFollowsTheLongerSide) {
  struct Case { int W, H, P, X, Y; };
  for (const Case c : {Case{1024, 768, 50, 512, 384}, Case{600, 800, 33, 198, 264}, Case{800, 600, 0, 0, 0},
                       Case{800, 600, 100, 800, 600}, Case{1, 1, 50, 1, 1}, Case{0, 5, 50, 0, 0}}) {
    const TransitionProgress g = ProgressFor(c.W, c.H, c.P);
    EXPECT_EQ(g.X, c.X) << c.W << "x" << c.H << " P=" << c.P;
    EXPECT_EQ(g.Y, c.Y) << c.W << "x" << c.H << " P=" << c.P;
  }
}

TEST(Transition, FrameCountAndPercentages) {
  EXPECT_EQ(TransitionFrameCount(2000, 249), 8);
  EXPECT_EQ(TransitionFrameCount(2000, 0), 2000);
  EXPECT_EQ(TransitionFrameCount(2000, 2500), 0);  // frame 0 costs more than the whole time
  EXPECT_EQ(TransitionFrameCount(0, 10), 0);      // only frame 0
  EXPECT_EQ(TransitionFrameCount(-5, 10), 0);
  const int three[] = {33, 67, 100};
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(FramePercent(i, 3), three[i - 1]);
  const int eight[] = {12, 25, 38, 50, 62, 75, 88, 100};
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(FramePercent(i, 8), eight[i - 1]);
  EXPECT_EQ(FramePercent(0, 8), 0);
  EXPECT_EQ(FramePercent(1, 0), 0);
}

TEST(Transition, ListIsSplitAtCommasAndCleanedWhenBuilt) {
  struct Case { const char* text; std::vector<int> want; };
  const Case cases[] = {
      {"", {1}},
      {"   ", {1}},
      {"7", {7}},
      {"1,1,2", {1, 1, 2}},
      {" 5 , 9", {5, 9}},
      {"0,170,-3,5", {5}},              // out of range: left out
      {"5,99999999999", {5, 0}},        // beyond 32 bits: not a number
      {"0,170", {1}},                   // nothing usable: Fade
      {"abc,5", {0, 5}},                // not a number: a transition without effect
      {"4,,6", {4, 0, 6}},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildTransitionList(c.text), c.want) << '"' << c.text << '"';
  // The project default lists every number; numbers without a routine are left out.
  std::string all;
  for (int n = 1; n <= 169; ++n) all += (n > 1 ? "," : "") + std::to_string(n);
  const std::vector<int> list = BuildTransitionList(all);
  int withProc = 0;
  for (int n = 1; n <= 169; ++n) withProc += Effects.HasProc(n);
  EXPECT_EQ(static_cast<int>(list.size()), withProc);
}

TEST(Transition, ChoiceDrawsUniformlyFromTheList) {
  Random::Seed(1);
  for (int k = 0; k < 20; ++k) EXPECT_EQ(ChooseEffect({7}), 7);
  std::map<int, int> seen;
  for (int k = 0; k < 3000; ++k) ++seen[ChooseEffect({1, 1, 2})];
  EXPECT_NEAR(seen[1], 2000, 120);
  EXPECT_NEAR(seen[2], 1000, 120);
  // The draw is the generator's: index Random::Next(count).
  Random::Seed(77);
  const int idx = Random::Next(5);
  Random::Seed(77);
  EXPECT_EQ(ChooseEffect({10, 11, 12, 13, 14}), 10 + idx);
}

TEST(Transition, FrameStartsFromTheOldPictureAndCallsTheEffect) {
  const Bitmap32 old = testing::OldPicture(32, 24), next = testing::NewPicture(32, 24);
  Bitmap32 work(5, 5);
  ASSERT_TRUE(TransitionFrame(work, old, next, 8, 50));  // "Reveal from left": X = 16
  for (int x = 0; x < 32; ++x) EXPECT_EQ(work.GetPixel(x, 10), (x < 16 ? next : old).GetPixel(x, 10)) << x;
  EXPECT_FALSE(TransitionFrame(work, old, next, 170, 50));
  EXPECT_EQ(work, old);
  EXPECT_FALSE(TransitionFrame(work, old, testing::NewPicture(3, 3), 8, 50));
  EXPECT_EQ(work, old);
}

// Every effect's frame, at a few progresses and with a height that no band count divides,
// is the same drawn with the show's pool of 1, 2 or 7 threads as without one.
TEST(Transition, ThreadCountDoesNotChangeTheFrame) {
  const Bitmap32 old = testing::OldPicture(61, 43), next = testing::NewPicture(61, 43);
  WorkerPool one(1), two(2), seven(7);
  for (int effect = 1; effect <= EffectCount; ++effect) {
    if (!Effects.HasProc(effect)) continue;
    for (int percent : {1, 37, 99}) {
      auto frame = [&](WorkerPool* pool) {
        RandomStateGuard guard;
        Random::Seed(1234);
        Bitmap32 work;
        TransitionFrame(work, old, next, effect, percent, pool);
        return work;
      };
      const Bitmap32 plain = frame(nullptr);
      for (WorkerPool* pool : {&one, &two, &seven})
        EXPECT_EQ(frame(pool), plain) << "effect " << effect << " at " << percent << "%, " << pool->Threads() << " threads";
    }
  }
}

}  // namespace
}  // namespace kx
