// The animation at 1920x1080 with one water region covering the lower half: the cost of
// one engine Step (several wave modes), and of one frame of 1000 flakes and 1000 drops,
// reported as ratios to a plain full-frame copy measured in the same run (CPU time, the
// fastest of three repetitions).
#include <benchmark/benchmark.h>

#include "fastest_times.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "anim/anim_engine.h"
#include "anim/rain.h"
#include "anim/snow.h"
#include "media/random.h"
#include "package/region_mask.h"

namespace {

constexpr int kW = 1920, kH = 1080;

kx::Bitmap32 MakePicture() {
  kx::Bitmap32 p(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) p.SetPixel(x, y, kx::MakePixel(x & 255, y & 255, (x ^ y) & 255));
  return p;
}

void FullCopy(benchmark::State& state) {
  static kx::Bitmap32 src = MakePicture(), dst(kW, kH);
  for (auto _ : state) {
    std::memcpy(dst.Data(), src.Data(), src.PixelCount() * sizeof(kx::Pixel));
    benchmark::ClobberMemory();
  }
}

// mode: wave mode; flags: 1 reflection, 2 jitter, 4 column shift.
void EngineStep(benchmark::State& state, int mode, int flags) {
  kx::TProject record;
  record.Picture = MakePicture();
  record.RegionMask.SetSize(kW, kH);
  record.RegionMask.FillRect({0, kH / 2, kW, kH}, kx::RegionColor(1));
  record.PictureWidth = kW;
  record.PictureHeight = kH;
  record.WaveParams[0].Mode = mode;
  record.WaveParams[0].Reflection = (flags & 1) ? 1 : 0;
  record.WaveParams[0].JitterRange = (flags & 2) ? 4 : 0;
  record.WaveParams[0].ShiftColumns = (flags & 4) ? 1 : 0;
  uint32_t now = 1000;
  kx::TAnimEngine engine;
  engine.SetClock([&now] { return now; });
  engine.Attach(record, nullptr);
  engine.Prepare(false);
  for (auto _ : state) {
    now += 33;
    engine.Step();
    benchmark::ClobberMemory();
  }
}

template <class Weather>
void WeatherStep(benchmark::State& state) {
  kx::RandomStateGuard guard;
  kx::Random::Seed(99);
  kx::Bitmap32 bmp = MakePicture();
  Weather w;
  w.Bitmap = &bmp;
  w.SetCount(1000);
  w.Init();
  w.FrameTime = 33;
  w.SpeedIndex = 10;
  for (auto _ : state) {
    w.Step();
    benchmark::ClobberMemory();
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("copy", FullCopy)->Repetitions(3);
  benchmark::RegisterBenchmark("step/rows", EngineStep, 1, 0)->Repetitions(3);
  benchmark::RegisterBenchmark("step/rows+reflection", EngineStep, 1, 1)->Repetitions(3);
  benchmark::RegisterBenchmark("step/rows+jitter+shift", EngineStep, 1, 6)->Repetitions(3);
  benchmark::RegisterBenchmark("step/columns", EngineStep, 3, 0)->Repetitions(3);
  benchmark::RegisterBenchmark("snow/1000", WeatherStep<kx::TSnow>)->Repetitions(3);
  benchmark::RegisterBenchmark("rain/1000", WeatherStep<kx::TRain>)->Repetitions(3);
  benchmark::Initialize(&argc, argv);
  kxbench::FastestTimes reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double copy = 0;
  for (const auto& e : reporter.entries)
    if (e.name == "copy") copy = e.seconds;
  if (copy <= 0) return 0;
  std::printf("\ncost in full-frame copies (1920x1080, region on the lower half):\n");
  for (const auto& e : reporter.entries)
    if (e.name != "copy") std::printf("  %-28s %6.2f\n", e.name.c_str(), e.seconds / copy);
  return 0;
}
