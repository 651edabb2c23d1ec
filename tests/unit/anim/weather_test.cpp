#include <gtest/gtest.h>

#include "anim/rain.h"
#include "anim/snow.h"
#include "media/random.h"

namespace kx {
namespace {

TEST(WeatherTest, CountIsCappedAndZeroDrawsNothing) {
  RandomStateGuard guard;
  Bitmap32 bmp(50, 40);
  bmp.Fill(MakePixel(0, 0, 0));
  TSnow snow;
  snow.Bitmap = &bmp;
  snow.SetCount(5000);
  snow.Init();
  EXPECT_EQ(snow.Flakes.size(), 1000u);
  TRain rain;
  rain.Bitmap = &bmp;
  rain.SetCount(5000);
  rain.Init();
  EXPECT_EQ(rain.Drops.size(), 1000u);

  snow.SetCount(0);
  snow.Init();
  rain.SetCount(0);
  rain.Init();
  snow.FrameTime = rain.FrameTime = 70;
  snow.Step();
  rain.Step();
  Bitmap32 black(50, 40);
  black.Fill(MakePixel(0, 0, 0));
  EXPECT_EQ(bmp, black);
}

// Step distances: a size-3 flake falls 3 pixels in 70 ms at speed 100 %, a size-3 drop
// 9 pixels in 50 ms; at Angle 90 a drop never moves sideways.
TEST(WeatherTest, StepDistances) {
  RandomStateGuard guard;
  Random::Seed(7);
  Bitmap32 bmp(200, 400);
  TSnow snow;
  snow.Bitmap = &bmp;
  snow.Flakes = {{100.0, 10.0, 3, 0.0}, {100.0, 10.0, 3, 1.0}};
  snow.FrameTime = 70;
  snow.SpeedIndex = 10;
  snow.SpeedPercent = 100;
  snow.Step();
  for (const auto& f : snow.Flakes) {
    if (f.Size != 3) continue;  // a 1-in-20 size change happened: skip that flake
    EXPECT_DOUBLE_EQ(f.Y, 13.0);
  }
  EXPECT_DOUBLE_EQ(snow.Flakes[0].X, 100.0);
  EXPECT_DOUBLE_EQ(snow.Flakes[1].X, 101.0);

  snow.Flakes = {{100.0, 10.0, 3, 0.0}};
  snow.SpeedPercent = 50;
  snow.Step();
  if (snow.Flakes[0].Size == 3) {
    EXPECT_DOUBLE_EQ(snow.Flakes[0].Y, 11.5);
  }

  TRain rain;
  rain.Bitmap = &bmp;
  rain.Drops = {{50.0, 10.0, 3, 2}};
  rain.FrameTime = 50;
  rain.SpeedIndex = 10;
  rain.SpeedPercent = 100;
  rain.Direction = 180 - 90;
  for (int i = 0; i < 5; ++i) rain.Step();
  EXPECT_DOUBLE_EQ(rain.Drops[0].Y, 10.0 + 5 * 9.0);
  EXPECT_DOUBLE_EQ(rain.Drops[0].X, 50.0);

  rain.Drops = {{50.0, 10.0, 3, 2}};
  rain.Direction = 180 - 45;  // cos 135 degrees: drifts left as far as it falls
  rain.Step();
  EXPECT_NEAR(rain.Drops[0].X, 50.0 - 9.0 * 0.70710678, 1e-6);
}

TEST(WeatherTest, RecyclingAtTheEdges) {
  RandomStateGuard guard;
  Bitmap32 bmp(100, 80);
  TSnow snow;
  snow.Bitmap = &bmp;
  snow.FrameTime = 70;
  snow.SpeedIndex = 10;
  int wrapped_right = 0, wrapped_left = 0;
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    Random::Seed(seed);
    snow.Flakes = {{0.5, 10.0, 3, -1.0}, {50.0, 79.0, 3, 0.0}};
    snow.Step();
    const double x = snow.Flakes[0].X;
    // Left the left edge: W + 0..49, and then unless that was exactly W, 0..-49.
    EXPECT_TRUE((x == 100.0) || (x <= 0.0 && x > -50.0)) << x;
    (x == 100.0 ? wrapped_right : wrapped_left)++;
    const double y = snow.Flakes[1].Y;
    EXPECT_TRUE(y <= 0.0 && y > -100.0) << y;
  }
  EXPECT_GT(wrapped_left, 0);
  EXPECT_GT(wrapped_right, 0);  // an offset of 0 (one chance in 50 per try)
}

// Alphas of the flakes and drops with the default opacities, and pixels at the edges.
TEST(WeatherTest, DrawingAlphasAndClipping) {
  struct Case { int size; int centre_alpha; };
  for (const Case c : {Case{2, 144}, Case{3, 180}, Case{4, 216}}) {
    Bitmap32 bmp(20, 20);
    bmp.Fill(0);
    TSnow snow;
    snow.Bitmap = &bmp;
    snow.Opacity = 9;
    snow.Flakes = {{10.0, 10.0, c.size, 0.0}};
    snow.Draw();
    // Blending white over transparent black: the alpha byte is the flake's alpha.
    EXPECT_EQ(PixelA(bmp.GetPixel(10, 10)), c.centre_alpha) << c.size;
    EXPECT_EQ(PixelR(bmp.GetPixel(10, 10)), c.centre_alpha) << c.size;
  }
  {
    Bitmap32 bmp(20, 20);
    bmp.Fill(0);
    TSnow snow;
    snow.Bitmap = &bmp;
    snow.Flakes = {{0.0, 0.0, 4, 0.0}, {19.0, 19.0, 4, 0.0}, {-1.0, 25.0, 3, 0.0}};
    snow.Draw();  // pixels outside the bitmap are skipped
    EXPECT_NE(bmp.GetPixel(0, 0), 0u);
    EXPECT_NE(bmp.GetPixel(19, 19), 0u);
  }
  {
    Bitmap32 bmp(20, 40);
    bmp.Fill(0);
    TRain rain;
    rain.Bitmap = &bmp;
    rain.Opacity = 6;
    rain.Direction = 90;
    rain.Length = 10;
    rain.Drops = {{5.0, 4.0, 2, 4}};  // y1 = 4 + 8 = 12, split at 10
    rain.Draw();
    EXPECT_EQ(PixelA(bmp.GetPixel(5, 4)), 54);   // tail
    EXPECT_EQ(PixelA(bmp.GetPixel(5, 9)), 54);
    EXPECT_EQ(PixelA(bmp.GetPixel(5, 10)), 117);  // head
    EXPECT_EQ(PixelA(bmp.GetPixel(5, 11)), 117);
    EXPECT_EQ(bmp.GetPixel(5, 12), 0u);  // the last point is left out
    EXPECT_EQ(PixelR(bmp.GetPixel(5, 11)), 117 * 218 / 255 + 0);
    rain.Drops = {{-3.0, -5.0, 4, 4}, {19.0, 38.0, 4, 4}, {5.0, 4.0, 4, 4}};
    rain.Length = 1000000;  // absurd length: still bounded work, nothing outside written
    rain.Draw();
  }
}

}  // namespace
}  // namespace kx
