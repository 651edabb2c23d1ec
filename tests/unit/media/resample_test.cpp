#include "media/resample.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace kx {
namespace {

int MaxDiff(Pixel a, Pixel b) {
  int m = 0;
  for (int s = 0; s < 32; s += 8) m = std::max(m, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
  return m;
}

struct Size {
  int sw, sh, dw, dh;
};
const Size kSizes[] = {{10, 10, 10, 10}, {10, 8, 3, 2},  {5, 4, 17, 13},
                       {100, 3, 7, 9},   {1, 1, 4, 4},   {64, 48, 63, 47}};

TEST(ResampleTest, FlatColourStaysFlat) {
  const Pixel c = MakePixel(12, 200, 99, 180);
  for (StretchFilter f : {StretchFilter::Nearest, StretchFilter::Bilinear, StretchFilter::Lanczos}) {
    for (const Size& s : kSizes) {
      Bitmap32 src(s.sw, s.sh), dst;
      src.Fill(c);
      Resample(src, dst, s.dw, s.dh, f);
      ASSERT_EQ(dst.Width(), s.dw);
      for (size_t i = 0; i < dst.PixelCount(); ++i) ASSERT_EQ(dst.Data()[i], c) << s.sw << "->" << s.dw;
    }
  }
}

TEST(ResampleTest, SameSizeIsACopy) {
  Bitmap32 src(9, 7), dst;
  for (size_t i = 0; i < src.PixelCount(); ++i) src.Data()[i] = static_cast<Pixel>(i * 2654435761u);
  for (StretchFilter f : {StretchFilter::Bilinear, StretchFilter::Lanczos}) {
    Resample(src, dst, 9, 7, f);
    EXPECT_EQ(dst, src);
  }
}

// A linear ramp stays a linear ramp (within rounding) when shrunk or enlarged, away from
// the borders; a filter that drops pixels or misplaces the centres fails this.
TEST(ResampleTest, RampKeepsItsValues) {
  const int sw = 240;
  Bitmap32 src(sw, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < sw; ++x) src.SetPixel(x, y, MakePixel(x, x, x));
  for (StretchFilter f : {StretchFilter::Bilinear, StretchFilter::Lanczos}) {
    for (int dw : {80, 100, 37, 480}) {
      Bitmap32 dst;
      Resample(src, dst, dw, 2, f);
      for (int x = dw / 10; x < dw - dw / 10; ++x) {
        const double expect = (x + 0.5) * sw / dw - 0.5;
        EXPECT_NEAR(PixelR(dst.GetPixel(x, 1)), expect, 1.01) << dw << " x=" << x;
      }
    }
  }
}

TEST(ResampleTest, ShrinkAveragesEveryPixel) {
  // A one-pixel checker shrunk 4x is mid grey: no source pixel is skipped.
  Bitmap32 src(64, 64), dst;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) src.SetPixel(x, y, ((x + y) & 1) ? MakePixel(255, 255, 255) : MakePixel(0, 0, 0));
  for (StretchFilter f : {StretchFilter::Bilinear, StretchFilter::Lanczos}) {
    Resample(src, dst, 16, 16, f);
    for (int y = 2; y < 14; ++y)
      for (int x = 2; x < 14; ++x) EXPECT_LE(MaxDiff(dst.GetPixel(x, y), MakePixel(128, 128, 128)), 3);
  }
}

TEST(ResampleTest, LanczosOvershootIsClamped) {
  Bitmap32 src(8, 1), dst;
  for (int x = 0; x < 8; ++x) src.SetPixel(x, 0, x < 4 ? MakePixel(0, 0, 0) : MakePixel(255, 255, 255));
  Resample(src, dst, 29, 1, StretchFilter::Lanczos);
  int prev = 0;
  for (int x = 0; x < 29; ++x) {
    const int v = PixelR(dst.GetPixel(x, 0));
    if (x < 13) {
      EXPECT_LE(v, 40);  // small ringing, not a wrapped sum
    } else if (x > 16) {
      EXPECT_GE(v, 215);
    }
    prev = v;
  }
  EXPECT_EQ(prev, 255);
}

}  // namespace
}  // namespace kx
