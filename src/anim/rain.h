// Falling rain over a living picture: up to 1000 grey streaks of size 2 to 4 falling at an
// angle, each drawn as a faint tail and a stronger head; scaled by the frame time.
#pragma once

#include <vector>

#include "media/bitmap32.h"

namespace kx {

class TRain {
 public:
  struct Drop {
    double X = 0, Y = 0;
    int Size = 2;
    int Len = 1;
  };
  static constexpr int kMaxCount = 1000;

  void SetCount(int n);
  int Count() const { return count_; }
  void Init();
  void Step();
  void Draw();

  Bitmap32* Bitmap = nullptr;  // drawing target, not owned
  int SpeedIndex = 2;
  int FrameTime = 0;
  int Direction = 90;  // fall direction in degrees, 90 straight down
  int SpeedPercent = 100;
  int Length = 10;     // 10 is the nominal drop length
  int Opacity = 6;
  std::vector<Drop> Drops;

 private:
  int count_ = 0;
};

}  // namespace kx
