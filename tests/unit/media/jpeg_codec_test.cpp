#include "media/jpeg_codec.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "media/picture_decoder.h"
#include "media/resample.h"

namespace kx {
namespace {

Bitmap32 Gradient(int w, int h) {
  Bitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, MakePixel(x * 255 / w, y * 255 / h, 128));
  return b;
}

std::vector<uint8_t> Encode(const Bitmap32& b, int q = 95) {
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_TRUE(EncodeJpeg(b, q, out, error)) << error;
  return out;
}

TEST(JpegCodecTest, RoundTripIsClose) {
  const Bitmap32 src = Gradient(64, 40);
  const std::vector<uint8_t> jpeg = Encode(src);
  Bitmap32 out;
  std::string error;
  JpegInfo info;
  ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), out, error, 0, 0, &info)) << error;
  ASSERT_EQ(out.Width(), 64);
  ASSERT_EQ(out.Height(), 40);
  EXPECT_EQ(info.width, 64);
  for (int y = 0; y < 40; y += 7)
    for (int x = 0; x < 64; x += 9) {
      const Pixel a = src.GetPixel(x, y), b = out.GetPixel(x, y);
      EXPECT_EQ(PixelA(b), 255);
      EXPECT_NEAR(PixelR(a), PixelR(b), 6);
      EXPECT_NEAR(PixelG(a), PixelG(b), 6);
      EXPECT_NEAR(PixelB(a), PixelB(b), 6);
    }
  JpegInfo header;
  ASSERT_TRUE(ReadJpegInfo(jpeg.data(), jpeg.size(), header, error));
  EXPECT_EQ(header.width, 64);
  EXPECT_EQ(header.height, 40);
}

TEST(JpegCodecTest, ScaleChoice) {
  struct Case {
    int w, h, mw, mh, scale;
  } cases[] = {
      {6000, 4000, 1620, 1080, 3},  // 2250 x 1500 is the smallest at or above the target
      {6000, 4000, 1920, 1080, 3},
      {1000, 1000, 500, 500, 4},    // exactly twice: half size
      {1000, 1000, 501, 400, 8},    // shrink below 2 in one direction: full decode
      {800, 600, 100, 75, 1},
      {801, 601, 100, 75, 1},       // ceil(801 / 8) = 101
      {1000, 1000, 0, 0, 8},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JpegScaleFor(c.w, c.h, c.mw, c.mh), c.scale) << c.w << "x" << c.h;
  }
}

TEST(JpegCodecTest, ScaledDecodeGivesReducedSizeAndFullInfo) {
  const std::vector<uint8_t> jpeg = Encode(Gradient(800, 600));
  Bitmap32 out;
  std::string error;
  JpegInfo info;
  ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), out, error, 200, 140, &info)) << error;
  EXPECT_EQ(out.Width(), 200);  // scale 2/8
  EXPECT_EQ(out.Height(), 150);
  EXPECT_EQ(info.width, 800);
  EXPECT_EQ(info.height, 600);
  EXPECT_NEAR(PixelR(out.GetPixel(100, 75)), 127, 4);
}

// Decoding and fitting in one pass gives the same pixels as decoding at the reduced scale
// and resampling the whole picture afterwards.
TEST(JpegCodecTest, FittedDecodeMatchesDecodeThenResample) {
  Bitmap32 src = Gradient(800, 600);
  for (int y = 0; y < 600; y += 3) src.FillRect({0, y, 800, y + 1}, MakePixel(250, 10, 10));
  const std::vector<uint8_t> jpeg = Encode(src);
  struct Case {
    int w, h;
    StretchFilter f;
  } cases[] = {{190, 140, StretchFilter::Lanczos}, {400, 100, StretchFilter::Bilinear},
               {799, 601, StretchFilter::Lanczos}, {37, 600, StretchFilter::Lanczos},
               {100, 80, StretchFilter::Draft}};
  for (const Case& c : cases) {
    Bitmap32 fitted, decoded, expect;
    std::string error;
    JpegInfo info;
    ASSERT_TRUE(DecodeJpegFitted(jpeg.data(), jpeg.size(), c.w, c.h, c.f, fitted, error, &info)) << error;
    EXPECT_EQ(info.width, 800);
    ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), decoded, error, c.w, c.h));
    Resample(decoded, expect, c.w, c.h, c.f);
    EXPECT_EQ(fitted, expect) << c.w << "x" << c.h;
  }
  Bitmap32 out;
  std::string error;
  std::vector<uint8_t> cut(jpeg.begin(), jpeg.begin() + jpeg.size() / 2);
  EXPECT_FALSE(DecodeJpegFitted(cut.data(), cut.size(), 100, 80, StretchFilter::Lanczos, out, error));
  EXPECT_TRUE(out.Empty());
}

TEST(JpegCodecTest, DamagedStreamsFail) {
  const std::vector<uint8_t> good = Encode(Gradient(64, 64), 90);
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"garbage", std::vector<uint8_t>(100, 0x5A)});
  cases.push_back({"only the start marker", {0xFF, 0xD8}});
  cases.push_back({"cut in the header", std::vector<uint8_t>(good.begin(), good.begin() + 100)});
  cases.push_back({"cut in the data", std::vector<uint8_t>(good.begin(), good.begin() + good.size() * 2 / 3)});
  // A header that declares far more pixels than its data could describe fails before the
  // picture is allocated.
  std::vector<uint8_t> huge = good;
  for (size_t i = 2; i + 9 < huge.size(); i += 2 + (huge[i + 2] << 8 | huge[i + 3])) {
    if (huge[i + 1] == 0xC0 || huge[i + 1] == 0xC2) {
      huge[i + 5] = huge[i + 7] = 0x3E;  // 16000 x 16000 (0x3E80)
      huge[i + 6] = huge[i + 8] = 0x80;
      break;
    }
  }
  cases.push_back({"size far beyond the data", huge});
  for (auto& [name, bytes] : cases) {
    Bitmap32 out(3, 3);
    std::string error;
    EXPECT_FALSE(DecodeJpeg(bytes.data(), bytes.size(), out, error)) << name;
    if (bytes == huge) {
      EXPECT_NE(error.find("too short"), std::string::npos) << error;
    }
    EXPECT_FALSE(error.empty()) << name;
    EXPECT_TRUE(out.Empty()) << name;
  }
}

// Grey and CMYK streams, made by ImageMagick when it is installed.
TEST(JpegCodecTest, GreyAndCmykStreams) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "no ImageMagick";
  const std::string dir = ::testing::TempDir();
  const std::string grey = dir + "kx_grey.jpg", cmyk = dir + "kx_cmyk.jpg";
  ASSERT_EQ(std::system(("convert -size 16x8 xc:'rgb(200,200,200)' -colorspace Gray " + grey).c_str()), 0);
  ASSERT_EQ(std::system(("convert -size 16x8 xc:'rgb(255,0,0)' -colorspace CMYK " + cmyk).c_str()), 0);
  Bitmap32 out;
  std::string error;
  ASSERT_TRUE(LoadPictureFile(grey, out, error)) << error;
  EXPECT_NEAR(PixelR(out.GetPixel(3, 3)), 200, 3);
  EXPECT_NEAR(PixelB(out.GetPixel(3, 3)), 200, 3);
  ASSERT_TRUE(LoadPictureFile(cmyk, out, error)) << error;
  EXPECT_GE(PixelR(out.GetPixel(3, 3)), 240);
  EXPECT_LE(PixelG(out.GetPixel(3, 3)), 20);
  std::remove(grey.c_str());
  std::remove(cmyk.c_str());
}

TEST(PictureDecoderTest, LoadFitted) {
  const std::vector<uint8_t> jpeg = Encode(Gradient(400, 300));
  const std::string path = ::testing::TempDir() + "kx_fitted.JPG";
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(jpeg.data(), 1, jpeg.size(), f);
  std::fclose(f);
  int asked_w = 0, asked_h = 0, fw = 0, fh = 0;
  const FitFunction half = [&](int w, int h, int& tw, int& th) {
    asked_w = w;
    asked_h = h;
    tw = w / 2;
    th = h / 3;
    return true;
  };
  Bitmap32 out;
  std::string error;
  ASSERT_TRUE(LoadPictureFileFitted(path, half, StretchFilter::Lanczos, out, error, &fw, &fh)) << error;
  EXPECT_EQ(asked_w, 400);
  EXPECT_EQ(asked_h, 300);
  EXPECT_EQ(fw, 400);
  EXPECT_EQ(out.Width(), 200);
  EXPECT_EQ(out.Height(), 100);
  ASSERT_TRUE(LoadPictureFileFitted(path, nullptr, StretchFilter::Lanczos, out, error));
  EXPECT_EQ(out.Width(), 400);
  std::remove(path.c_str());
}

TEST(PictureDecoderTest, KindFollowsExtension) {
  EXPECT_EQ(PictureKindOfPath("a/b.jpg"), PictureKind::Jpeg);
  EXPECT_EQ(PictureKindOfPath("C:\\x\\B.JPG"), PictureKind::Jpeg);
  EXPECT_EQ(PictureKindOfPath("photo.jpeg"), PictureKind::Unknown);
  EXPECT_EQ(PictureKindOfPath("x.Bmp"), PictureKind::Bmp);
  EXPECT_EQ(PictureKindOfPath("x.gif"), PictureKind::Gif);
  EXPECT_EQ(PictureKindOfPath("dir.jpg/file"), PictureKind::Unknown);
  EXPECT_EQ(PictureKindOfPath("KXImage0.kxp"), PictureKind::Unknown);
  Bitmap32 out;
  std::string error;
  EXPECT_FALSE(LoadPictureFile("/nonexistent/x.jpg", out, error));
}

}  // namespace
}  // namespace kx
