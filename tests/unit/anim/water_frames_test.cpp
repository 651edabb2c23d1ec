// The water frames of every wave mode, with and without reflection, jitter, sideways shift
// and perspective, over regions of ragged shape that meet each other: the frames of three
// steps are hashed and compared with the hashes the engine has always given, and the same
// frames come out whatever number of threads draws them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "anim/anim_engine.h"
#include "anim_test_support.h"
#include "media/random.h"
#include "package/region_mask.h"

namespace kx {
namespace {

constexpr int kModes = 7, kFlagSets = 16;

// Shape 0: region 1 fills the lower part with a ragged left edge, region 2 is a block inside
// it with its own record, region 3 a strip near the top. Shape 1: regions 1 and 3 take whole
// rows (the lower part, and a band near the top).
void MakeWater(TProject& p, int w, int h, int shape) {
  test::MakeLivingPicture(p, w, h, 0, 0, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      p.Picture.SetPixel(x, y, MakePixel((x * 7 + y) & 255, (y * 3) & 255, (x ^ (y * 5)) & 255));
      int code = 0;
      if (shape == 0) {
        if (y >= h * 2 / 5 && x >= (y * 3) % 11) code = 1;
        if (y >= h / 2 && y < h * 4 / 5 && x >= w / 2 && x < w * 4 / 5) code = 2;
        if (y >= 3 && y < h / 5 && x >= w / 8 && x < w / 2) code = 3;
      } else {
        if (y >= h * 2 / 5) code = 1;
        if (y >= 3 && y < h / 4) code = 3;
      }
      p.RegionMask.SetPixel(x, y, RegionColor(code));
    }
}

void SetCase(TProject& p, int mode, int flags) {
  static constexpr int kPeriods[] = {360, 0, 100, 500, -200};
  for (int i = 0; i < 3; ++i) {
    TWaveParam& wp = p.WaveParams[i];
    wp = TWaveParam{};
    wp.Mode = (mode + 3 * i) % kModes;
    wp.Reflection = (flags & 1) ? 1 : 0;
    wp.JitterRange = (flags & 2) ? 5 : 0;
    wp.ShiftColumns = (flags & 4) ? 1 : 0;
    wp.Perspective = (flags & 8) ? 1 : 0;
    wp.Period = kPeriods[(mode + flags + i) % 5];
    wp.Waves = (flags + i) % 3 == 0 ? 17 : ((flags + i) % 3 == 1 ? 3 : 0);
    wp.Amplitude = 3 + (flags + mode + i) % 5;
    wp.WaveSpeed = 15 + 7 * i;
    // The last of each group of modes keeps still, to cover the still region's jitter.
    wp.Waving = (flags == 15 && i == 1) ? 0 : 1;
  }
}

uint64_t Hash(const Bitmap32& b, uint64_t h) {
  for (int y = 0; y < b.Height(); ++y) {
    const Pixel* row = b.Row(y);
    for (int x = 0; x < b.Width(); ++x) {
      h ^= row[x];
      h *= 1099511628211ull;
    }
  }
  return h;
}

uint64_t RunCase(int shape, int mode, int flags, int threads) {
  RandomStateGuard guard;
  test::FakeClock clock;
  TProject record;
  MakeWater(record, 173, 97, shape);
  SetCase(record, mode, flags);
  TAnimEngine engine;
  engine.SetThreads(threads);
  engine.SetClock(clock.Fn());
  engine.Attach(record, nullptr);
  engine.Prepare(false);
  uint64_t h = 14695981039346656037ull;
  for (int s = 0; s < 3; ++s) {
    clock.Advance(33 + 40 * s);
    engine.Step();
    h = Hash(engine.WaveFrame(), h);
  }
  return h;
}

// The hashes of the frames as the engine drew them before it drew them in runs and bands.
const uint64_t kExpected[2][kModes][kFlagSets] = {
#include "water_frames_hashes.inc"
};

TEST(WaterFramesTest, EveryModeDrawsTheFramesItAlwaysDrew) {
  const bool print = std::getenv("KX_PRINT_WATER_HASHES") != nullptr;
  for (int shape = 0; shape < 2; ++shape) {
    if (print) std::printf("{\n");
    for (int mode = 0; mode < kModes; ++mode) {
      std::string line;
      for (int flags = 0; flags < kFlagSets; ++flags) {
        const uint64_t h = RunCase(shape, mode, flags, 1);
        if (print) {
          char buf[32];
          std::snprintf(buf, sizeof buf, "0x%016llxull, ", static_cast<unsigned long long>(h));
          line += buf;
        } else {
          EXPECT_EQ(h, kExpected[shape][mode][flags]) << "shape " << shape << " mode " << mode << " flags " << flags;
        }
      }
      if (print) std::printf("{%s},\n", line.c_str());
    }
    if (print) std::printf("},\n");
  }
}

TEST(WaterFramesTest, ThreadCountDoesNotChangeTheFrames) {
  for (int shape = 0; shape < 2; ++shape)
    for (int mode = 0; mode < kModes; ++mode)
      for (int flags = 0; flags < kFlagSets; ++flags) {
        const uint64_t one = RunCase(shape, mode, flags, 1);
        for (int threads : {2, 7})
          EXPECT_EQ(RunCase(shape, mode, flags, threads), one) << shape << " " << mode << " " << flags << " " << threads;
      }
}

}  // namespace
}  // namespace kx
