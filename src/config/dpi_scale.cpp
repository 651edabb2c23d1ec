#include "config/dpi_scale.h"

#include <algorithm>

#include "media/resample.h"

namespace kx {

namespace {

// Keyed resampling: every opaque pixel enters with full coverage (alpha 255) and its colour,
// every see-through pixel with nothing; the sums are taken apart again afterwards.
void ScaleKeyed(const Bitmap32& src, int width, int height, Bitmap32& out) {
  const Pixel key = src.GetPixel(0, src.Height() - 1) & 0x00FFFFFFu;
  Bitmap32 covered;
  if (!covered.SetSize(src.Width(), src.Height())) return;
  for (int y = 0; y < src.Height(); ++y) {
    const Pixel* from = src.Row(y);
    Pixel* to = covered.Row(y);
    for (int x = 0; x < src.Width(); ++x) {
      const Pixel c = from[x] & 0x00FFFFFFu;
      to[x] = c == key ? 0 : c | 0xFF000000u;
    }
  }
  Bitmap32 scaled;
  Resample(covered, scaled, width, height, StretchFilter::Bilinear);
  if (scaled.Width() != width || scaled.Height() != height) return;
  // A colour that comes out equal to the key would turn see-through: one step of blue off.
  const Pixel nudged = (key & 0xFFu) == 0xFFu ? key - 1 : key + 1;
  for (int y = 0; y < height; ++y) {
    Pixel* row = scaled.Row(y);
    for (int x = 0; x < width; ++x) {
      const Pixel p = row[x];
      const int a = PixelA(p);
      if (a < 128) {
        row[x] = key | 0xFF000000u;
        continue;
      }
      auto channel = [a](int v) { return std::min(255, (v * 255 + a / 2) / a); };
      Pixel c = static_cast<Pixel>(channel(PixelR(p)) << 16 | channel(PixelG(p)) << 8 | channel(PixelB(p)));
      if (c == key) c = nudged;
      row[x] = c | 0xFF000000u;
    }
  }
  // The see-through colour is read from the bottom-left pixel.
  scaled.SetPixel(0, height - 1, key | 0xFF000000u);
  out.SwapPixels(scaled);
}

}  // namespace

void ResizePicture(const Bitmap32& src, int w, int h, bool keyed, Bitmap32& out) {
  Bitmap32 result;
  if (!src.Empty() && w > 0 && h > 0) {
    if (w == src.Width() && h == src.Height()) result.Assign(src);
    else if (keyed) ScaleKeyed(src, w, h, result);
    else Resample(src, result, w, h, StretchFilter::Bilinear);
  }
  out.SwapPixels(result);
}

void ScalePicture(const Bitmap32& src, const DpiScale& scale, bool keyed, Bitmap32& out) {
  ResizePicture(src, scale.Size(src.Width()), scale.Size(src.Height()), keyed, out);
}

void ScaleStrip(const Bitmap32& src, int faces, const DpiScale& scale, bool keyed, Bitmap32& out) {
  Bitmap32 result;
  const int n = std::max(1, faces);
  const int fw = src.Width() / n;
  if (src.Empty() || fw <= 0) {
    out.SwapPixels(result);
    return;
  }
  const int sw = scale.Size(fw), sh = scale.Size(src.Height());
  if (!result.SetSize(sw * n, sh)) {
    out = Bitmap32();
    return;
  }
  Bitmap32 face, scaled;
  for (int i = 0; i < n; ++i) {
    if (!face.SetSize(fw, src.Height())) break;
    face.CopyRect(src, Rect::FromSize(i * fw, 0, fw, src.Height()), 0, 0);
    ScalePicture(face, scale, keyed, scaled);
    if (scaled.Width() == sw && scaled.Height() == sh) result.CopyRect(scaled, scaled.BoundsRect(), i * sw, 0);
  }
  out.SwapPixels(result);
}

}  // namespace kx
