// Fitting pictures to the screen: the still pictures' drawing size, the DirectDraw
// quality sizes, and the resizing of a living picture with its size-dependent values.
#pragma once

#include <string>

#include "media/bitmap32.h"
#include "package/picture_record.h"

namespace kx {

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// The drawing size of the DirectDraw path for DirectXQuality 0, 1, 2; {0, 0} for others.
Size DirectXQualitySize(int quality);

// The proportional fit of a w x h picture into tw x th: one side takes the target's and
// the other follows the picture's aspect (rounded half to even).
Size ProportionalFit(int w, int h, int tw, int th);

// A still picture: JPG, BMP and GIF files (by upper-cased extension); anything else,
// ".jpeg" and ".kxp" included, is a living picture.
bool IsStillPicturePath(const std::string& path);

struct StillFit {
  Size draw;   // DrawWidth, DrawHeight: what the show centres
  Size frame;  // the size FrameBitmap is resampled to ({0,0}: keep the own size)
};
// The fitting rules of a still picture: DirectDraw (quality size, whole screen), Stretch
// (screen, or proportional), or the picture's own size.
StillFit FitStillPicture(Size picture, Size screen, bool useDirectX, int quality, bool stretch,
                         bool proportional);

// Resizes a living picture's Picture (bilinear) and RegionMask (nearest) to the target,
// proportionally when asked, and rescales the wave amplitudes, jitter ranges and wave
// values with it.
void ResizeLivingPicture(bool proportional, TProject& record, int tw, int th);

}  // namespace kx
