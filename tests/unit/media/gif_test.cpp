#include <gtest/gtest.h>

// Frames are written as aggregates that leave the trailing fields at their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include "media/gif_decoder.h"
#include "media/gif_player.h"
#include "media/gif_test_util.h"

namespace kx {
namespace {

using kx::testing::BuildGif;
using kx::testing::GifFrameDef;

const std::vector<uint32_t> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
const Pixel R = MakePixel(255, 0, 0), G = MakePixel(0, 255, 0), B = MakePixel(0, 0, 255), T = 0;

// Four frames over a 4 x 2 screen:
//   0  all red, 100 ms, left in place
//   1  at (1,0): green and a transparent pixel, 200 ms, then the previous picture comes back
//   2  at (0,1): blue, delay 0 (plays as 100 ms), then its rectangle is cleared
//   3  everything transparent except green at (3,1), 50 ms
std::vector<uint8_t> FourFrames(int loop = 0) {
  std::vector<GifFrameDef> f(4);
  f[0] = {0, 0, 4, 2, std::vector<uint8_t>(8, 1), 10, 1};
  f[1] = {1, 0, 2, 1, {2, 3}, 20, 3, 3};
  f[2] = {0, 1, 1, 1, {3}, 0, 2};
  f[3] = {0, 0, 4, 2, {0, 0, 0, 0, 0, 0, 0, 2}, 5, 1, 0};
  return BuildGif(4, 2, kPalette, f, loop);
}

void ExpectFrame(const Bitmap32& b, const std::vector<Pixel>& px, const char* name) {
  ASSERT_EQ(b.Width(), 4);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(b.GetPixel(i % 4, i / 4), px[i]) << name << " pixel " << i;
}

TEST(GifDecoderTest, ComposesDisposalAndTransparency) {
  const std::vector<uint8_t> file = FourFrames();
  GifImage image;
  std::string error;
  ASSERT_TRUE(DecodeGif(file.data(), file.size(), image, error)) << error;
  EXPECT_EQ(image.loop_count, 0);
  ASSERT_EQ(image.frames.size(), 4u);
  EXPECT_EQ(image.FindGlobalIndex(B), 3);
  EXPECT_EQ(image.FindGlobalIndex(MakePixel(1, 2, 3)), -1);

  GifAnimation anim;
  ASSERT_TRUE(image.Compose(anim, error)) << error;
  ASSERT_EQ(anim.frames.size(), 4u);
  EXPECT_EQ(anim.delays_ms, (std::vector<int>{100, 200, 100, 50}));
  ExpectFrame(anim.frames[0], {R, R, R, R, R, R, R, R}, "frame 0");
  ExpectFrame(anim.frames[1], {R, G, R, R, R, R, R, R}, "frame 1");
  ExpectFrame(anim.frames[2], {R, R, R, R, B, R, R, R}, "frame 2 (frame 1 restored)");
  ExpectFrame(anim.frames[3], {R, R, R, R, T, R, R, G}, "frame 3 (frame 2 cleared)");

  // A caller may switch a frame's transparency off before composing.
  image.frames[1].transparent_index = -1;
  ASSERT_TRUE(image.Compose(anim, error));
  ExpectFrame(anim.frames[1], {R, G, B, R, R, R, R, R}, "frame 1 opaque");
}

TEST(GifDecoderTest, StillPictureIsTheFirstFrame) {
  std::vector<GifFrameDef> f(2);
  f[0] = {0, 0, 2, 1, {0, 1}, 10, 0, 0};
  f[1] = {0, 0, 2, 1, {2, 2}, 10};
  const std::vector<uint8_t> file = BuildGif(2, 1, kPalette, f, -1);
  Bitmap32 still;
  std::string error;
  ASSERT_TRUE(DecodeGifStill(file.data(), file.size(), still, error)) << error;
  ASSERT_EQ(still.Width(), 2);
  EXPECT_EQ(still.GetPixel(0, 0), MakePixel(0, 0, 0));  // transparent shows black
  EXPECT_EQ(still.GetPixel(1, 0), R);

  // The frames after the first are not read: the still of an animation is its first
  // composed frame, and damage further on in the stream does not matter.
  const std::vector<uint8_t> four = FourFrames();
  for (size_t cut : {size_t{0}, size_t{6}, size_t{30}}) {
    const std::vector<uint8_t> part(four.begin(), four.end() - cut);
    ASSERT_TRUE(DecodeGifStill(part.data(), part.size(), still, error)) << cut << " " << error;
    ExpectFrame(still, {R, R, R, R, R, R, R, R}, "first frame");
  }
}

TEST(GifDecoderTest, InterlacedRowsAndLocalPalette) {
  GifFrameDef f{0, 0, 1, 8, {}, 10};
  for (int y = 0; y < 8; ++y) f.indices.push_back(y % 4);
  f.interlace = true;
  f.local_palette = {0x101010, 0x202020, 0x303030, 0x404040};
  const std::vector<uint8_t> file = BuildGif(1, 8, kPalette, {f}, -1);
  Bitmap32 still;
  std::string error;
  ASSERT_TRUE(DecodeGifStill(file.data(), file.size(), still, error)) << error;
  for (int y = 0; y < 8; ++y) EXPECT_EQ(PixelR(still.GetPixel(0, y)), 0x10 * (y % 4 + 1)) << y;
}

TEST(GifDecoderTest, DamagedStreams) {
  const std::vector<uint8_t> good = FourFrames();
  GifImage image;
  std::string error;
  // Cut inside the last frame: the frames before it stay.
  std::vector<uint8_t> cut(good.begin(), good.end() - 6);
  ASSERT_TRUE(DecodeGif(cut.data(), cut.size(), image, error)) << error;
  EXPECT_EQ(image.frames.size(), 3u);

  std::vector<std::pair<const char*, std::vector<uint8_t>>> bad;
  bad.push_back({"empty", {}});
  bad.push_back({"garbage", std::vector<uint8_t>(64, 0x47)});
  bad.push_back({"cut before the first frame's data ends", std::vector<uint8_t>(good.begin(), good.begin() + 60)});
  bad.push_back({"huge screen", BuildGif(65535, 65535, kPalette, {{0, 0, 1, 1, {1}}}, -1)});
  bad.push_back({"huge frame", BuildGif(4, 4, kPalette, {{0, 0, 60000, 60000, {}}}, -1)});
  // A screen or first frame larger than the stream could describe (4096 pixels a byte).
  bad.push_back({"screen beyond the data", BuildGif(8000, 8000, kPalette, {{0, 0, 1, 1, {1}}}, -1)});
  {
    std::vector<uint8_t> frame = BuildGif(1, 1, kPalette, {{0, 0, 1, 1, {1}}}, -1);
    // The image descriptor's width and height: 8000 x 8000 from a few bytes of data.
    for (size_t i = 13; i + 9 < frame.size(); ++i)
      if (frame[i] == 0x2C && frame[i + 5] == 1 && frame[i + 7] == 1) {
        frame[i + 5] = frame[i + 7] = 0x40;
        frame[i + 6] = frame[i + 8] = 0x1F;
        break;
      }
    bad.push_back({"frame beyond the data", frame});
  }
  // A zero logical screen takes the first frame's extent, offsets included: held to the
  // same limits.
  bad.push_back({"zero screen, frame far off", BuildGif(0, 0, kPalette, {{30000, 30000, 1, 1, {1}}}, -1)});
  for (auto& [name, bytes] : bad) {
    EXPECT_FALSE(DecodeGif(bytes.data(), bytes.size(), image, error)) << name;
    EXPECT_TRUE(image.frames.empty()) << name;
  }
}

GifAnimation Decode(const std::vector<uint8_t>& file) {
  GifImage image;
  GifAnimation anim;
  std::string error;
  EXPECT_TRUE(DecodeGif(file.data(), file.size(), image, error));
  EXPECT_TRUE(image.Compose(anim, error));
  return anim;
}

TEST(GifPlayerTest, FrameForElapsedTime) {
  const GifAnimation anim = Decode(FourFrames(0));  // delays 100, 200, 100, 50: cycle 450 ms
  GifPlayer player(&anim);
  struct Case {
    int speed;
    int64_t elapsed;
    int frame;
  } cases[] = {
      {100, 0, 0},   {100, 99, 0},  {100, 100, 1}, {100, 299, 1}, {100, 300, 2},
      {100, 449, 3}, {100, 450, 0}, {100, 4500 + 120, 1},
      {200, 49, 0},  {200, 50, 1},  {200, 225, 0},
      {50, 199, 0},  {50, 200, 1},
  };
  for (const Case& c : cases) {
    player.SetSpeedPercent(c.speed);
    EXPECT_EQ(player.FrameAt(c.elapsed), c.frame) << c.speed << "% at " << c.elapsed;
  }
}

TEST(GifPlayerTest, LoopingAndAdvance) {
  // Played once: the last frame stays.
  const GifAnimation once = Decode(FourFrames(-1));
  GifPlayer p(&once);
  p.Advance(449);
  EXPECT_EQ(p.FrameIndex(), 3);
  EXPECT_FALSE(p.Finished());
  p.Advance(1000000);
  EXPECT_EQ(p.FrameIndex(), 3);
  EXPECT_TRUE(p.Finished());
  // Endless playback when asked, whatever the file says.
  p.SetLoopForever(true);
  p.Reset();
  p.Advance(450 * 1000 + 100);
  EXPECT_EQ(p.FrameIndex(), 1);

  // Two repetitions after the first play: three plays.
  const GifAnimation thrice = Decode(FourFrames(2));
  GifPlayer q(&thrice);
  EXPECT_EQ(q.FrameAt(950), 0);
  EXPECT_EQ(q.FrameAt(1349), 3);
  EXPECT_EQ(q.FrameAt(5000), 3);

  // The speed applies to the time that follows it.
  const GifAnimation endless = Decode(FourFrames(0));
  GifPlayer r(&endless);
  r.Advance(50);
  r.SetSpeedPercent(200);
  r.Advance(30);  // 50 + 60 ms of file time
  EXPECT_EQ(r.FrameIndex(), 1);
  EXPECT_EQ(r.CurrentFrame(), &endless.frames[1]);

  GifPlayer none;
  EXPECT_EQ(none.CurrentFrame(), nullptr);
  none.Advance(100);
  EXPECT_EQ(none.FrameAt(10), -1);
}

}  // namespace
}  // namespace kx
