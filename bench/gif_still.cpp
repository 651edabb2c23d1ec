// A GIF picture as a still: an animation of 24 frames of 800x600 decoded for its first
// frame only, against reading every frame and taking the first (as the still was made
// before) and against composing the whole animation (CPU time, the fastest of three
// repetitions), with the ratios at the end.
#include <benchmark/benchmark.h>

#include "fastest_times.h"

#include <cstdio>
#include <string>
#include <vector>

#include "../tests/unit/media/gif_test_util.h"
#include "media/gif_decoder.h"

namespace {

constexpr int kW = 800, kH = 600, kFrames = 24;

const std::vector<uint8_t>& File() {
  static const std::vector<uint8_t> file = [] {
    std::vector<uint32_t> palette(256);
    for (int i = 0; i < 256; ++i) palette[i] = static_cast<uint32_t>(i * 0x010203);
    std::vector<kx::testing::GifFrameDef> frames(kFrames);
    for (int n = 0; n < kFrames; ++n) {
      kx::testing::GifFrameDef& f = frames[n];
      f.width = kW;
      f.height = kH;
      f.delay_cs = 4;
      f.disposal = 1;
      f.indices.resize(static_cast<size_t>(kW) * kH);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) f.indices[static_cast<size_t>(y) * kW + x] = static_cast<uint8_t>((x / 4 + y / 3 + n * 5) & 255);
    }
    return kx::testing::BuildGif(kW, kH, palette, frames, 0);
  }();
  return file;
}

void Still(benchmark::State& state) {
  const std::vector<uint8_t>& f = File();
  for (auto _ : state) {
    kx::Bitmap32 out;
    std::string error;
    benchmark::DoNotOptimize(kx::DecodeGifStill(f.data(), f.size(), out, error));
  }
}

void AllFramesThenFirst(benchmark::State& state) {
  const std::vector<uint8_t>& f = File();
  for (auto _ : state) {
    kx::GifImage image;
    kx::Bitmap32 out;
    std::string error;
    benchmark::DoNotOptimize(kx::DecodeGif(f.data(), f.size(), image, error) && image.FirstFrame(out, error));
  }
}

void WholeAnimation(benchmark::State& state) {
  const std::vector<uint8_t>& f = File();
  for (auto _ : state) {
    kx::GifImage image;
    kx::GifAnimation anim;
    std::string error;
    benchmark::DoNotOptimize(kx::DecodeGif(f.data(), f.size(), image, error) && image.Compose(anim, error));
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("gif/still", Still)->Repetitions(3);
  benchmark::RegisterBenchmark("gif/all-frames+first", AllFramesThenFirst)->Repetitions(3);
  benchmark::RegisterBenchmark("gif/whole-animation", WholeAnimation)->Repetitions(3);
  benchmark::Initialize(&argc, argv);
  kxbench::FastestTimes reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double still = reporter.Of("gif/still");
  if (still <= 0) return 0;
  std::printf("\nGIF still of %d frames of %dx%d: %.2f ms; reading every frame %.1fx as long, composing the "
              "animation %.1fx\n", kFrames, kW, kH, still * 1e3, reporter.Of("gif/all-frames+first") / still,
              reporter.Of("gif/whole-animation") / still);
  return 0;
}
