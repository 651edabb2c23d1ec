#include "anim/snow.h"

#include "anim/overlay_draw.h"
#include "media/intmath.h"
#include "media/random.h"

namespace kx {

void TSnow::SetCount(int n) { count_ = n < 0 ? 0 : (n > kMaxCount ? kMaxCount : n); }

void TSnow::Init() {
  Flakes.assign(count_, Flake{});
  const int w = Bitmap ? Bitmap->Width() : 0, h = Bitmap ? Bitmap->Height() : 0;
  for (Flake& f : Flakes) {
    f.X = Random::Next(w);
    f.Y = Random::Next(h);
    f.DX = 1 - Random::Next(3);
    f.Size = Random::Next(3) + 2;
  }
}

void TSnow::Step() {
  if (!Bitmap) return;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  const double s = FrameTime / 70.0 * SpeedTableValue(SpeedIndex) / 100.0 * SpeedPercent / 100.0;
  for (Flake& f : Flakes) {
    f.Y += s * f.Size;
    f.X += s * f.DX;
    if (Random::Next(20) == 0) f.Size += Random::Next(3) - 1;
    if (f.X < 0) f.X = Random::Next(50) + w;
    if (f.X > w) f.X = -Random::Next(50);
    if (f.Size < 2) f.Size = 2;
    if (f.Size > 4) f.Size = 4;
    if (f.Y > h - 1) f.Y = -Random::Next(100);
  }
  Draw();
}

void TSnow::Draw() {
  if (!Bitmap || Bitmap->Empty()) return;
  Bitmap32& b = *Bitmap;
  for (const Flake& f : Flakes) {
    // Far-off positions (a broken frame time) must not overflow the conversion.
    if (!(f.X > -1e6 && f.X < 1e6 && f.Y > -1e6 && f.Y < 1e6)) continue;
    const int x = RoundHalfEven(f.X), y = RoundHalfEven(f.Y);
    const int t = f.Size, c = (4 - t) * 40;
    auto white = [&](int k) {
      const int a = RoundHalfEven((k - c) * static_cast<double>(Opacity) * 10 / 100) & 0xFF;
      return MakePixel(255, 255, 255, static_cast<uint8_t>(a));
    };
    const Pixel a240 = white(240);
    BlendPixelClipped(b, x, y, a240);
    if (t == 2) {
      const Pixel a = white(140);
      BlendPixelClipped(b, x + 1, y, a);
      BlendPixelClipped(b, x, y + 1, a);
    } else if (t == 3) {
      const Pixel a = white(200), d = white(100);
      BlendPixelClipped(b, x - 1, y, a);
      BlendPixelClipped(b, x, y - 1, a);
      BlendPixelClipped(b, x + 1, y, a);
      BlendPixelClipped(b, x, y + 1, a);
      BlendPixelClipped(b, x - 1, y - 1, d);
      BlendPixelClipped(b, x + 1, y - 1, d);
      BlendPixelClipped(b, x - 1, y + 1, d);
      BlendPixelClipped(b, x + 1, y + 1, d);
    } else if (t == 4) {
      static constexpr int kOff[11][2] = {{-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {0, 2}, {1, -1},
                                          {1, 0},  {1, 1},  {1, 2},  {2, 0}, {2, 1}};
      for (const auto& o : kOff) BlendPixelClipped(b, x + o[0], y + o[1], a240);
    }
  }
}

}  // namespace kx
