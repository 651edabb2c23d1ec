#include "config/dpi_scale.h"

#include <gtest/gtest.h>

#include <set>

namespace kx {
namespace {

// One control of a window designed at 96 dpi, and what each monitor density makes of it:
// edges are scaled (MulDiv rounds halves away from zero), so neighbours stay neighbours.
TEST(DpiScale, LayoutAtEachDensity) {
  struct Case {
    int dpi;
    ScaledRect control;   // Left 10, Top 7, Width 33, Height 21
    ScaledRect neighbour; // Left 43 (touching it), Top 7, Width 1, Height 1
    int font;             // Font.Height -11
    int client_w;         // ClientWidth 401
  };
  const Case cases[] = {
      {96, {10, 7, 43, 28}, {43, 7, 44, 8}, -11, 401},
      {120, {13, 9, 54, 35}, {54, 9, 55, 10}, -14, 501},  // 12.5 -> 13, 8.75 -> 9, -13.75 -> -14
      {144, {15, 11, 65, 42}, {65, 11, 66, 12}, -17, 602},  // 10.5 -> 11, -16.5 -> -17, 601.5 -> 602
      {192, {20, 14, 86, 56}, {86, 14, 88, 16}, -22, 802},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    const DpiScale s(c.dpi, 96);
    const ScaledRect r = s.Rect(10, 7, 33, 21), n = s.Rect(43, 7, 1, 1);
    EXPECT_EQ(r.left, c.control.left);
    EXPECT_EQ(r.top, c.control.top);
    EXPECT_EQ(r.right, c.control.right);
    EXPECT_EQ(r.bottom, c.control.bottom);
    EXPECT_EQ(n.left, r.right);  // still touching
    EXPECT_EQ(n.right, c.neighbour.right);
    EXPECT_EQ(s.Px(-11), c.font);
    EXPECT_EQ(s.Px(401), c.client_w);
    EXPECT_EQ(s.Identity(), c.dpi == 96);
  }
  // A window designed at 192 dpi is halved on a 96 dpi monitor; sizes never vanish.
  const DpiScale half(96, 192);
  EXPECT_EQ(half.Px(400), 200);
  EXPECT_EQ(half.Px(1), 1);  // 0.5 rounds away from zero
  EXPECT_EQ(DpiScale(96, 400).Size(1), 1);
  EXPECT_EQ(DpiScale(96, 400).Px(1), 0);
  // Unknown densities count as 96.
  EXPECT_EQ(DpiScale(0, 0).Px(37), 37);
  EXPECT_EQ(DpiScale(144, -5).Px(10), 15);
}

Bitmap32 Filled(int w, int h, Pixel p) {
  Bitmap32 b(w, h);
  b.Fill(p);
  return b;
}

TEST(DpiScale, OpaquePictureIsResampledToTheScaledSize) {
  // Left half red, right half blue, 16 x 8; at 144 dpi 24 x 12 with a smooth seam.
  Bitmap32 src = Filled(16, 8, 0xFFFF0000u);
  src.FillRect(Rect{8, 0, 16, 8}, 0xFF0000FFu);
  Bitmap32 out;
  for (int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    const DpiScale s(dpi, 96);
    ScalePicture(src, s, false, out);
    ASSERT_EQ(out.Width(), s.Px(16));
    ASSERT_EQ(out.Height(), s.Px(8));
    EXPECT_EQ(out.GetPixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(out.GetPixel(out.Width() - 1, out.Height() - 1) & 0xFFFFFF, 0x0000FFu);
  }
  ScalePicture(src, DpiScale(144, 96), false, out);
  // Around the seam the colours are mixed, with red and blue adding up to a full channel.
  const Pixel mid = out.GetPixel(11, 5);
  EXPECT_GT(PixelR(mid), 0);
  EXPECT_GT(PixelB(mid), 0);
  EXPECT_NEAR(PixelR(mid) + PixelB(mid), 255, 2);
  Bitmap32 empty;
  ScalePicture(Bitmap32(), DpiScale(144, 96), false, empty);
  EXPECT_TRUE(empty.Empty());
}

// A lime square on the see-through fuchsia: scaled by 1.25, 1.5 and 2 and by 0.5, every
// pixel is either exactly the key or exactly lime (no pinkish edge), the bottom-left pixel
// is the key, and the square keeps about its scaled area.
TEST(DpiScale, KeyedPictureKeepsItsKeyExact) {
  const Pixel key = 0xFFFF00FFu, lime = 0xFF00FF00u;
  Bitmap32 src = Filled(32, 24, key);
  src.FillRect(Rect{8, 6, 24, 18}, lime);
  for (const auto& [dpi, design] : {std::pair{120, 96}, {144, 96}, {192, 96}, {96, 192}}) {
    SCOPED_TRACE(dpi * 1000 + design);
    const DpiScale s(dpi, design);
    Bitmap32 out;
    ScalePicture(src, s, true, out);
    ASSERT_EQ(out.Width(), s.Px(32));
    ASSERT_EQ(out.Height(), s.Px(24));
    EXPECT_EQ(out.GetPixel(0, out.Height() - 1) & 0xFFFFFF, key & 0xFFFFFF);
    std::set<Pixel> colours;
    int square = 0;
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x) {
        const Pixel p = out.GetPixel(x, y) & 0xFFFFFF;
        colours.insert(p);
        square += p == (lime & 0xFFFFFF);
      }
    EXPECT_EQ(colours, (std::set<Pixel>{key & 0xFFFFFF, lime & 0xFFFFFF}));
    const int expected = s.Px(16) * s.Px(12);
    EXPECT_NEAR(square, expected, expected / 5);
  }
  // Stretched to a place of another shape, by the same rule.
  Bitmap32 out;
  ResizePicture(src, 80, 12, true, out);
  ASSERT_EQ(out.Width(), 80);
  ASSERT_EQ(out.Height(), 12);
  std::set<Pixel> colours;
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 80; ++x) colours.insert(out.GetPixel(x, y) & 0xFFFFFF);
  EXPECT_EQ(colours, (std::set<Pixel>{key & 0xFFFFFF, lime & 0xFFFFFF}));
  EXPECT_EQ(out.GetPixel(40, 6) & 0xFFFFFF, lime & 0xFFFFFF);
}

// A colour that the mixing brings onto the key is moved off it, so it is not lost.
TEST(DpiScale, KeyedMixNeverLandsOnTheKey) {
  // Key grey 0x808080 beside opaque 0x7F7F7F and 0x818181 stripes: their mean is the key.
  Bitmap32 src = Filled(8, 4, 0xFF808080u);
  for (int x = 2; x < 8; ++x) src.FillRect(Rect{x, 0, x + 1, 3}, x % 2 ? 0xFF7F7F7Fu : 0xFF818181u);
  Bitmap32 out;
  ScalePicture(src, DpiScale(144, 96), true, out);
  int key_pixels = 0;
  for (int y = 0; y < 4; ++y)  // the upper rows are all opaque stripes (at 1.5: rows 0..3)
    for (int x = 4; x < out.Width(); ++x) key_pixels += (out.GetPixel(x, y) & 0xFFFFFF) == 0x808080u;
  EXPECT_EQ(key_pixels, 0);
}

// Two faces side by side, red and blue, each scaled alone: no purple at the seam.
TEST(DpiScale, StripFacesDoNotBleed) {
  Bitmap32 src = Filled(33, 10, 0xFFFF0000u);  // one column beyond the two faces
  src.FillRect(Rect{16, 0, 33, 10}, 0xFF0000FFu);
  for (bool keyed : {false, true}) {
    Bitmap32 out;
    ScaleStrip(src, 2, DpiScale(144, 96), keyed, out);
    ASSERT_EQ(out.Width(), 48);
    ASSERT_EQ(out.Height(), 15);
    for (int x = 0; x < 48; ++x) {
      const Pixel p = out.GetPixel(x, 0) & 0xFFFFFF;
      EXPECT_EQ(p, x < 24 ? 0xFF0000u : 0x0000FFu) << "column " << x << (keyed ? " keyed" : "");
    }
  }
  Bitmap32 none;
  ScaleStrip(Filled(3, 3, 0xFF000000u), 4, DpiScale(144, 96), false, none);  // faces narrower than a pixel
  EXPECT_TRUE(none.Empty());
}

}  // namespace
}  // namespace kx
