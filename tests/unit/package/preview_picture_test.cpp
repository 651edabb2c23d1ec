#include <gtest/gtest.h>

#include "media/jpeg_codec.h"
#include "package/preview_picture.h"
#include "test_support.h"

namespace kx {
namespace {

// A 400x100 picture: red on the left half, blue on the right, green in the bottom row band.
std::string TwoHalvesJpeg() {
  Bitmap32 b(400, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 400; ++x)
      b.SetPixel(x, y, y >= 80 ? MakePixel(0, 255, 0) : x < 200 ? MakePixel(255, 0, 0) : MakePixel(0, 0, 255));
  std::vector<uint8_t> jpeg;
  std::string error;
  EXPECT_TRUE(EncodeJpeg(b, 95, jpeg, error)) << error;
  return std::string(jpeg.begin(), jpeg.end());
}

TEST(PreviewPicture, StretchesOverTheWholeWindowWithoutKeepingTheAspect) {
  test::TempDir dir;
  const std::string path = dir.Write("preview.jpg", TwoHalvesJpeg());
  std::string error;
  auto out = RenderPreviewPicture(path, 152, 112, error);
  ASSERT_TRUE(out) << error;
  ASSERT_EQ(out->Width(), 152);
  ASSERT_EQ(out->Height(), 112);
  auto near = [](Pixel p, int r, int g, int b) {
    return std::abs(PixelR(p) - r) < 40 && std::abs(PixelG(p) - g) < 40 && std::abs(PixelB(p) - b) < 40;
  };
  // Corners: no border is left black; the halves meet in the middle column.
  EXPECT_TRUE(near(out->GetPixel(0, 0), 255, 0, 0));
  EXPECT_TRUE(near(out->GetPixel(151, 0), 0, 0, 255));
  EXPECT_TRUE(near(out->GetPixel(0, 111), 0, 255, 0));
  EXPECT_TRUE(near(out->GetPixel(151, 111), 0, 255, 0));
  EXPECT_TRUE(near(out->GetPixel(70, 40), 255, 0, 0));
  EXPECT_TRUE(near(out->GetPixel(82, 40), 0, 0, 255));
  // The green band keeps its share of the height (80..100 of 100 is 89.6..112 of 112).
  EXPECT_TRUE(near(out->GetPixel(10, 85), 255, 0, 0));
  EXPECT_TRUE(near(out->GetPixel(10, 95), 0, 255, 0));
}

TEST(PreviewPicture, FailuresDrawNothing) {
  test::TempDir dir;
  std::string jpeg = TwoHalvesJpeg();
  std::string error;
  EXPECT_FALSE(RenderPreviewPicture(dir / "missing.jpg", 100, 100, error));
  EXPECT_FALSE(RenderPreviewPicture(dir.Write("cut.jpg", jpeg.substr(0, jpeg.size() / 3)), 100, 100, error));
  EXPECT_FALSE(RenderPreviewPicture(dir.Write("junk.jpg", "not a picture"), 100, 100, error));
  EXPECT_FALSE(RenderPreviewPicture(dir.Write("ok.jpg", jpeg), 0, 100, error));
}

}  // namespace
}  // namespace kx
