// Falling snow over a living picture: up to 1000 white flakes of size 2 to 4 that drift
// down and sideways, scaled by the frame time so their speed does not follow the step rate.
#pragma once

#include <vector>

#include "media/bitmap32.h"

namespace kx {

class TSnow {
 public:
  struct Flake {
    double X = 0, Y = 0;
    int Size = 2;
    double DX = 0;
  };
  static constexpr int kMaxCount = 1000;

  // n cut to 0..1000.
  void SetCount(int n);
  int Count() const { return count_; }
  // Places Count flakes at random in Bitmap (which must be set).
  void Init();
  // Moves every flake by one frame and draws them all into Bitmap.
  void Step();
  // Draws the flakes where they are.
  void Draw();

  Bitmap32* Bitmap = nullptr;  // drawing target, not owned
  int SpeedIndex = 2;          // index into the speed table
  int SpeedPercent = 100;      // the animation speed of the picture
  int FrameTime = 0;           // milliseconds since the previous frame
  int Opacity = 9;
  std::vector<Flake> Flakes;

 private:
  int count_ = 0;
};

}  // namespace kx
