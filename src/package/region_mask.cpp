#include "package/region_mask.h"

#include <algorithm>

namespace kx {
namespace {

// Region code -> mask colour. In the colour values of the file's authors (0x00BBGGRR):
// 0x0000FF, 0xFF00FF, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF.
constexpr Pixel kColors[7] = {
    MakePixel(0, 0, 0),     MakePixel(255, 0, 0), MakePixel(255, 0, 255), MakePixel(0, 0, 255),
    MakePixel(0, 255, 255), MakePixel(0, 255, 0), MakePixel(255, 255, 0),
};

}  // namespace

Pixel RegionColor(int code) { return (code >= 1 && code <= 6) ? kColors[code] : kColors[0]; }

int RegionOfPixel(Pixel p) {
  const Pixel rgb = p & 0xFFFFFF;
  for (int i = 1; i <= 6; ++i) {
    if ((kColors[i] & 0xFFFFFF) == rgb) return i;
  }
  return 0;
}

bool DecodeRegionMask(const std::vector<int32_t>& runs, Bitmap32& mask, std::string& error) {
  mask.SetSize(0, 0);
  if (runs.size() < 2) return true;
  // The size is checked against what the runs describe before the mask is allocated: the
  // writer covers every pixel with a run, so only a small mask may be left (partly) uncovered.
  constexpr int64_t kMaxUncoveredPixels = int64_t{1} << 22;
  constexpr int64_t kMaxBitmapPixels = int64_t{1} << 28;  // the largest bitmap there is
  int64_t covered = 0;
  for (size_t i = 2; i < runs.size(); ++i) covered += std::max<int32_t>(runs[i], 0) / 10;
  const int64_t pixels = int64_t{runs[0]} * runs[1];
  if (runs[0] > 0 && runs[1] > 0 && pixels > std::max(covered, kMaxUncoveredPixels)) {
    error = pixels > kMaxBitmapPixels ? "region mask too large" : "region runs do not cover the mask";
    return false;
  }
  if (!mask.SetSize(runs[0], runs[1])) {
    error = "region mask too large";
    return false;
  }
  mask.Fill(RegionColor(0));
  const int w = mask.Width(), h = mask.Height();
  int x = 0, y = 0;  // x: pixels already written in row y
  for (size_t i = 2; i < runs.size(); ++i) {
    const int32_t v = runs[i];
    int64_t n = v / 10;
    const Pixel color = RegionColor(v % 10);
    while (n > 0) {
      if (x >= w) {
        x = 0;
        ++y;
      }
      if (y >= h || w == 0) {
        mask.SetSize(0, 0);
        error = "region runs overflow the mask";
        return false;
      }
      const int k = static_cast<int>(std::min<int64_t>(n, w - x));
      std::fill_n(mask.Row(y) + x, k, color);
      x += k;
      n -= k;
    }
  }
  return true;
}

std::vector<int32_t> EncodeRegionMask(const Bitmap32& mask) {
  std::vector<int32_t> runs{mask.Width(), mask.Height()};
  constexpr int64_t kMaxRun = (INT32_MAX - 9) / 10;
  int code = -1;
  int64_t length = 0;
  const size_t n = mask.PixelCount();
  for (size_t i = 0; i < n; ++i) {
    const int c = RegionOfPixel(mask.Data()[i]);
    if (c != code || length == kMaxRun) {
      if (length > 0) runs.push_back(static_cast<int32_t>(length * 10 + code));
      code = c;
      length = 0;
    }
    ++length;
  }
  if (length > 0) runs.push_back(static_cast<int32_t>(length * 10 + code));
  return runs;
}

}  // namespace kx
