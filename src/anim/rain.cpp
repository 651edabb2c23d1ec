#include "anim/rain.h"

#include <cmath>
#include <numbers>

#include "anim/overlay_draw.h"
#include "media/intmath.h"
#include "media/random.h"

namespace kx {

void TRain::SetCount(int n) { count_ = n < 0 ? 0 : (n > kMaxCount ? kMaxCount : n); }

void TRain::Init() {
  Drops.assign(count_, Drop{});
  const int w = Bitmap ? Bitmap->Width() : 0, h = Bitmap ? Bitmap->Height() : 0;
  for (Drop& d : Drops) {
    d.X = Random::Next(w);
    d.Y = Random::Next(h);
    d.Size = Random::Next(3) + 2;
    d.Len = Random::Next(4) + 1;
  }
}

static double CosDegrees(int degrees) {
  // Whole multiples of 90 exactly, so that a straight fall never drifts sideways.
  const int m = ((degrees % 360) + 360) % 360;
  if (m == 90 || m == 270) return 0.0;
  if (m == 0) return 1.0;
  if (m == 180) return -1.0;
  return std::cos(degrees * std::numbers::pi / 180.0);
}

void TRain::Step() {
  if (!Bitmap) return;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  const double s = FrameTime / 50.0 * SpeedTableValue(SpeedIndex) / 100.0 * SpeedPercent / 100.0;
  const double cs = CosDegrees(Direction);
  for (Drop& d : Drops) {
    const double y0 = d.Y;
    d.Y += d.Size * s * 3;
    d.X += cs * (d.Y - y0);
    if (d.X < -20) d.X = Random::Next(100) + w;
    if (d.X > w + 20) d.X = -Random::Next(100);
    if (d.Size < 2) d.Size = 2;
    if (d.Size > 4) d.Size = 4;
    if (d.Y > h) d.Y = -Random::Next(100);
  }
  Draw();
}

void TRain::Draw() {
  if (!Bitmap || Bitmap->Empty()) return;
  const double cs = CosDegrees(Direction);
  // A length factor beyond any sensible value would draw lines of millions of pixels.
  const int length = Length < -1000 ? -1000 : (Length > 1000 ? 1000 : Length);
  for (const Drop& d : Drops) {
    if (!(d.X > -1e6 && d.X < 1e6 && d.Y > -1e6 && d.Y < 1e6)) continue;
    const int t = d.Size;
    const int g = 55 / (5 - t) + 200;
    const int c = (5 - t) * 20;
    const int x0 = RoundHalfEven(d.X), y0 = RoundHalfEven(d.Y);
    const int y1 = RoundHalfEven(y0 + static_cast<double>(t) * d.Len * length / 10.0);
    const int x1 = RoundHalfEven(cs * (y1 - y0) + x0);
    const int xm = RoundHalfEven(x0 + 6.0 * (x1 - x0) / 8.0);
    const int ym = RoundHalfEven(y0 + 6.0 * (y1 - y0) / 8.0);
    const int tail = RoundHalfEven((150 - c) * static_cast<double>(Opacity) * 10 / 100) & 0xFF;
    const int head = RoundHalfEven((255 - c) * static_cast<double>(Opacity) * 10 / 100) & 0xFF;
    const uint8_t gg = static_cast<uint8_t>(g);
    BlendLineClipped(*Bitmap, x0, y0, xm, ym, MakePixel(gg, gg, gg, static_cast<uint8_t>(tail)));
    BlendLineClipped(*Bitmap, xm, ym, x1, y1, MakePixel(gg, gg, gg, static_cast<uint8_t>(head)));
  }
}

}  // namespace kx
