// Damaged copies of valid JPEG, bitmap and GIF streams (bytes changed, streams cut) decode
// or fail, never crash; the sanitizer build checks the memory accesses.
#include <gtest/gtest.h>

#include "media/bmp_decoder.h"
#include "media/gif_decoder.h"
#include "media/gif_test_util.h"
#include "media/jpeg_codec.h"
#include "media/random.h"

namespace kx {
namespace {

std::vector<uint8_t> Damaged(const std::vector<uint8_t>& good) {
  std::vector<uint8_t> bytes = good;
  const int flips = 1 + Random::Next(4);
  for (int i = 0; i < flips; ++i) bytes[Random::Next(static_cast<int>(bytes.size()))] = static_cast<uint8_t>(Random::Next(256));
  if (Random::Next(3) == 0) bytes.resize(Random::Next(static_cast<int>(bytes.size())));
  return bytes;
}

TEST(DecoderDamageTest, NeverCrashes) {
  Bitmap32 picture(24, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 24; ++x) picture.SetPixel(x, y, MakePixel(x * 10, y * 15, 90));
  std::vector<uint8_t> jpeg;
  std::string error;
  ASSERT_TRUE(EncodeJpeg(picture, 80, jpeg, error));

  std::vector<uint8_t> bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 8, 0, 0, 0,
                              4, 0, 0, 0, 1, 0, 8, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                              2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 0};
  for (int row = 0; row < 4; ++row) {
    const uint8_t line[] = {3, 1, 0, 2, 2, 0, 0, 3, 1, 0, 1, 0, 0, 0};
    bmp.insert(bmp.end(), line, line + sizeof line);
  }
  bmp.push_back(0);
  bmp.push_back(1);

  std::vector<testing::GifFrameDef> frames(2);
  frames[0] = {0, 0, 4, 4, std::vector<uint8_t>(16, 1), 10, 2, 0, false, {}};
  frames[1] = {1, 1, 2, 2, {2, 3, 0, 1}, 10, 3, 0, true, {0x112233, 0x445566}};
  const std::vector<uint8_t> gif = testing::BuildGif(4, 4, {0, 0xFF0000, 0x00FF00, 0x0000FF}, frames);

  {  // the undamaged streams decode
    Bitmap32 out;
    GifImage image;
    ASSERT_TRUE(DecodeBmp(bmp.data(), bmp.size(), out, error)) << error;
    EXPECT_EQ(out.GetPixel(7, 0), MakePixel(255, 255, 255));
    ASSERT_TRUE(DecodeGif(gif.data(), gif.size(), image, error)) << error;
    EXPECT_EQ(image.frames.size(), 2u);
  }
  RandomStateGuard guard;
  Random::Seed(77);
  for (int round = 0; round < 300; ++round) {
    Bitmap32 out;
    const std::vector<uint8_t> j = Damaged(jpeg);
    DecodeJpeg(j.data(), j.size(), out, error);
    DecodeJpegFitted(j.data(), j.size(), 7, 5, StretchFilter::Lanczos, out, error);
    const std::vector<uint8_t> b = Damaged(bmp);
    DecodeBmp(b.data(), b.size(), out, error);
    const std::vector<uint8_t> g = Damaged(gif);
    GifImage image;
    GifAnimation anim;
    if (DecodeGif(g.data(), g.size(), image, error)) image.Compose(anim, error);
  }
  SUCCEED();
}

}  // namespace
}  // namespace kx
