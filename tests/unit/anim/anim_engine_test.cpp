#include "anim/anim_engine.h"

#include <gtest/gtest.h>

#include "anim/anim_objects.h"
#include "anim/rain.h"
#include "anim/snow.h"
#include "anim_test_support.h"
#include "media/random.h"

namespace kx {
namespace {

using test::FakeClock;
using test::MakeLivingPicture;
using test::RowOf;

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.SetClock(clock.Fn());
    for (auto& w : record.WaveParams) {
      w.Waves = 0;  // angle = phase: every row of the region moves by the same offset
      w.Perspective = 0;
      w.Amplitude = 2;
    }
  }
  void Start() {
    engine.Attach(record, nullptr);
    engine.SetWeather(false);
    engine.Prepare(false);
    engine.SetWeather(record.Weather.Kind > 0);
  }
  // A fresh frame drawn at the current phase.
  const Bitmap32& FrameNow() {
    engine.ResetFrame();
    engine.Step();
    return engine.WaveFrame();
  }
  RandomStateGuard guard;
  FakeClock clock;
  TProject record;
  TAnimEngine engine;
};

TEST_F(EngineTest, NoRegionOrStillRegionLeavesThePicture) {
  MakeLivingPicture(record, 40, 30, 0, 0, 0);
  Start();
  for (int i = 0; i < 3; ++i) {
    clock.Advance(120);
    engine.Step();
  }
  EXPECT_EQ(engine.WaveFrame(), record.Picture);
  EXPECT_EQ(&engine.Output(), &engine.WaveFrame());

  // Waving off, JitterRange 0; and Waving off with jitter in a rows mode (the row moves
  // onto itself).
  for (int jitter : {0, 4}) {
    MakeLivingPicture(record, 40, 30, 10, 25, 2);
    record.WaveParams[1].Waving = 0;
    record.WaveParams[1].JitterRange = jitter;
    Start();
    clock.Advance(300);
    engine.Step();
    EXPECT_EQ(engine.WaveFrame(), record.Picture) << jitter;
  }
}

// Rows of the region show the row Amplitude * cos(phase) below them while that row is
// in the region; others keep the picture.
TEST_F(EngineTest, RowDisplacementFollowsThePhase) {
  MakeLivingPicture(record, 16, 40, 10, 29);
  record.WaveParams[0].WaveSpeed = 15;  // 15 degrees per 50 ms: 180 degrees in 600 ms
  Start();
  const Bitmap32& f0 = FrameNow();
  for (int y = 0; y < 40; ++y) {
    const int expect = (y >= 10 && y <= 27) ? y + 2 : y;
    EXPECT_EQ(RowOf(f0.GetPixel(5, y)), expect) << y;
  }
  clock.Advance(600);
  engine.Step();
  EXPECT_EQ(engine.Phase(0), 180);
  const Bitmap32& f1 = FrameNow();
  for (int y = 0; y < 40; ++y) {
    const int expect = (y >= 12 && y <= 29) ? y - 2 : y;
    EXPECT_EQ(RowOf(f1.GetPixel(5, y)), expect) << y;
  }
  // Mode 0 runs the phase down.
  record.WaveParams[0].Mode = 0;
  Start();
  clock.Advance(600);
  engine.Step();
  EXPECT_EQ(engine.Phase(0), -180);
}

TEST_F(EngineTest, SpeedHalvesThePhaseAdvance) {
  MakeLivingPicture(record, 8, 20, 5, 15);
  record.WaveParams[0].WaveSpeed = 15;
  for (int speed : {100, 50}) {
    record.AnimSpeed = speed;
    Start();
    clock.Advance(400);
    engine.Step();
    EXPECT_EQ(engine.Phase(0), speed == 100 ? 120 : 60);
  }
}

// Period 180: the main wave repeats every 180 degrees of phase; with 360 it does not.
TEST_F(EngineTest, PeriodFoldsTheAngle) {
  for (int period : {180, 360}) {
    MakeLivingPicture(record, 16, 60, 10, 49);
    record.WaveParams[0] = TWaveParam{};
    record.WaveParams[0].Amplitude = 3;
    record.WaveParams[0].Waves = 4;
    record.WaveParams[0].Period = period;
    record.WaveParams[0].Perspective = 0;
    Start();
    const Bitmap32 a = FrameNow();
    clock.Advance(600);
    engine.Step();
    const Bitmap32 b = FrameNow();
    if (period == 180)
      EXPECT_EQ(a, b);
    else
      EXPECT_NE(a, b);
  }
}

TEST_F(EngineTest, ReflectionMirrorsTheRowsAbove) {
  MakeLivingPicture(record, 12, 40, 20, 35, 3);
  record.WaveParams[2].Reflection = 1;
  record.WaveParams[2].Waving = 0;
  Start();
  ASSERT_TRUE(engine.AnyReflection());
  const Bitmap32& copy = engine.ReflectionCopy();
  for (int y = 20; y <= 35; ++y) EXPECT_EQ(RowOf(copy.GetPixel(3, y)), 2 * 20 - y - 1) << y;
  EXPECT_EQ(RowOf(copy.GetPixel(3, 19)), 19);
  // A still region shows the reflection from the first step on.
  clock.Advance(50);
  engine.Step();
  EXPECT_EQ(RowOf(engine.WaveFrame().GetPixel(3, 20)), 19);
  EXPECT_EQ(RowOf(engine.WaveFrame().GetPixel(3, 21)), 18);
  engine.ResetFrame();
  EXPECT_EQ(engine.WaveFrame(), record.Picture);
}

// Column modes wave along the columns, and ShiftColumns takes pixels from the side.
TEST_F(EngineTest, ColumnWaveAndShift) {
  MakeLivingPicture(record, 30, 30, 5, 25);
  record.WaveParams[0].Mode = 3;
  record.WaveParams[0].Waves = 0;
  Start();
  // With no waves over the picture the column wave is the phase alone: offset 2 again.
  const Bitmap32& f = FrameNow();
  EXPECT_EQ(RowOf(f.GetPixel(7, 10)), 12);

  MakeLivingPicture(record, 30, 30, 5, 25);
  record.WaveParams[0].Mode = 1;
  record.WaveParams[0].Waving = 0;
  record.WaveParams[0].ShiftColumns = 1;
  Start();
  const Bitmap32& g = FrameNow();
  EXPECT_EQ(test::ColOf(g.GetPixel(7, 10)), 5);   // cos 0 * 2: from two columns left
  EXPECT_EQ(test::ColOf(g.GetPixel(1, 10)), 0);   // clamped at the first column
  EXPECT_EQ(RowOf(g.GetPixel(7, 10)), 10);
}

// Broken wave records (period 0, huge values) and a mask of another size never crash.
TEST_F(EngineTest, BrokenRecordsAreSafe) {
  MakeLivingPicture(record, 20, 20, 2, 18);
  record.WaveParams[0].Period = 0;
  record.WaveParams[0].Amplitude = 2000000000;
  record.WaveParams[0].Waves = 2000000000;
  record.WaveParams[0].JitterRange = 1000;
  record.WaveParams[0].ShiftColumns = 1;
  record.WaveParams[0].Perspective = 1;
  Start();
  clock.Advance(1000);
  engine.Step();
  record.RegionMask.SetSize(7, 3);
  Start();
  engine.Step();
  EXPECT_EQ(engine.WaveFrame(), record.Picture);
}

TEST_F(EngineTest, WeatherDrawsIntoTheComposite) {
  MakeLivingPicture(record, 64, 48, 30, 47);
  record.Weather = {1, 5000, 10, 0, 10, 9};
  Start();
  ASSERT_NE(engine.Snow(), nullptr);
  EXPECT_EQ(engine.Snow()->Flakes.size(), 1000u);
  clock.Advance(70);
  engine.Step();
  EXPECT_EQ(&engine.Output(), &engine.Composite());
  EXPECT_NE(engine.Composite(), engine.WaveFrame());

  record.Weather = {2, 100, 10, 90, 10, 6};
  Start();
  ASSERT_NE(engine.Rain(), nullptr);
  EXPECT_EQ(engine.Rain()->Direction, 90);
  EXPECT_EQ(engine.Snow(), nullptr);
  engine.SetWeather(false);
  EXPECT_EQ(engine.Rain(), nullptr);
}

}  // namespace
}  // namespace kx
