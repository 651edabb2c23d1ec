#include "show/fitting.h"

#include "media/intmath.h"
#include "media/resample.h"
#include "package/paths.h"

namespace kx {

Size DirectXQualitySize(int quality) {
  switch (quality) {
    case 0: return {1024, 768};
    case 1: return {800, 600};
    case 2: return {640, 480};
    default: return {0, 0};
  }
}

Size ProportionalFit(int w, int h, int tw, int th) {
  if (w <= 0 || h <= 0 || th <= 0) return {tw, th};
  const double aspect = static_cast<double>(w) / h;
  if (static_cast<int64_t>(h) * tw / th < w)
    th = RoundHalfEven(tw / aspect);
  else
    tw = RoundHalfEven(th * aspect);
  return {tw, th};
}

bool IsStillPicturePath(const std::string& path) {
  const std::string ext = UpperCase(ExtensionOf(path));
  return ext == ".JPG" || ext == ".BMP" || ext == ".GIF";
}

StillFit FitStillPicture(Size picture, Size screen, bool useDirectX, int quality, bool stretch,
                         bool proportional) {
  StillFit f;
  if (useDirectX) {
    f.draw = screen;
    f.frame = DirectXQualitySize(quality);
    return f;
  }
  if (stretch) {
    f.draw = proportional ? ProportionalFit(picture.width, picture.height, screen.width, screen.height)
                          : screen;
    f.frame = f.draw;
    return f;
  }
  f.draw = picture;
  return f;
}

void ResizeLivingPicture(bool proportional, TProject& record, int tw, int th) {
  const int w = record.Picture.Width(), h = record.Picture.Height();
  if (w <= 0 || h <= 0 || tw <= 0 || th <= 0) return;
  if (proportional) {
    Size s = ProportionalFit(w, h, tw, th);
    tw = s.width;
    th = s.height;
    if (tw <= 0 || th <= 0) return;
  }
  const double sx = static_cast<double>(tw) / w, sy = static_cast<double>(th) / h;
  const double area = static_cast<double>(tw) * th / (static_cast<double>(w) * h);
  for (int i = 0; i < 8; ++i) {
    record.WaveParams[i].Amplitude = RoundHalfEven(sx * record.WaveParams[i].Amplitude);
    record.WaveParams[i].JitterRange = RoundHalfEven(sy * record.WaveParams[i].JitterRange);
    record.WaveValues[i] = RoundHalfEven(area * record.WaveValues[i]);
  }
  Bitmap32 picture;
  Resample(record.Picture, picture, tw, th, StretchFilter::Bilinear);
  record.Picture = std::move(picture);
  if (!record.RegionMask.Empty()) {
    Bitmap32 mask;
    Resample(record.RegionMask, mask, tw, th, StretchFilter::Nearest);
    record.RegionMask = std::move(mask);
  }
  record.PictureWidth = tw;
  record.PictureHeight = th;
}

}  // namespace kx
