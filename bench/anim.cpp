// The animation with one water region covering the lower half of the picture: the cost of
// one engine Step for each wave mode (with and without reflection, and the rows mode with
// jitter and shift), of one frame of 1000 flakes and 1000 drops, and of a full living-picture
// step (the slowest mode, reflection, 1000 drops and two objects), reported as ratios to a
// plain full-frame copy of the same size measured in the same run (CPU time of the calling
// thread with one thread, else the wall clock; the fastest of three repetitions), and the full step's time on the wall clock.
//   --size WxH     the picture's size (default 1920x1080)
//   --threads N    the engine's threads (default 1; 0 takes one per processor)
#include <benchmark/benchmark.h>

#include "fastest_times.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "anim/anim_engine.h"
#include "anim/anim_objects.h"
#include "anim/rain.h"
#include "anim/snow.h"
#include "media/random.h"
#include "package/region_mask.h"

namespace {

int kW = 1920, kH = 1080, kThreads = 1;

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

void SetUpWater(kx::TProject& record, int mode, int flags) {
  record.Picture = MakePicture();
  record.RegionMask.SetSize(kW, kH);
  record.RegionMask.FillRect({0, kH / 2, kW, kH}, kx::RegionColor(1));
  record.PictureWidth = kW;
  record.PictureHeight = kH;
  record.WaveParams[0].Mode = mode;
  record.WaveParams[0].Reflection = (flags & 1) ? 1 : 0;
  record.WaveParams[0].JitterRange = (flags & 2) ? 4 : 0;
  record.WaveParams[0].ShiftColumns = (flags & 4) ? 1 : 0;
}

// Wall-clock times of the full steps, for the absolute figure.
std::vector<double> full_step_wall;

// mode: wave mode; flags: 1 reflection, 2 jitter, 4 column shift, 8 the full living
// picture (1000 drops and two objects as well).
void EngineStep(benchmark::State& state, int mode, int flags) {
  kx::RandomStateGuard guard;
  kx::TProject record;
  SetUpWater(record, mode, flags);
  kx::TAnimObjects objects;
  if (flags & 8) {
    record.Weather = {2, 1000, 10, 80, 10, 9};
    // Two objects of a quarter of the picture's width, drawn stretched from a smaller image.
    const std::string path = (std::filesystem::temp_directory_path() / "kx_bench_object.bmp").string();
    const int w = 240, h = 160, stride = w * 3;
    std::string b(54 + stride * h, '\0');
    auto le = [&](int off, uint32_t v, int n) {
      for (int i = 0; i < n; ++i) b[off + i] = static_cast<char>((v >> (8 * i)) & 255);
    };
    b[0] = 'B', b[1] = 'M';
    le(2, static_cast<uint32_t>(b.size()), 4), le(10, 54, 4), le(14, 40, 4), le(18, w, 4), le(22, h, 4);
    le(26, 1, 2), le(28, 24, 2);
    for (size_t i = 54; i < b.size(); ++i) b[i] = static_cast<char>(i * 7);
    std::ofstream(path, std::ios::binary) << b;
    const int pw = kW / 4, ph = kH / 4;
    char text[512];
    std::snprintf(text, sizeof text,
                  "[Obj0]\nObjType=IMG\nFilename=%s\nPosLeft=%d\nPosTop=%d\nWidthSize=%d\nHeightSize=%d\n"
                  "[Obj1]\nObjType=IMG\nFilename=%s\nPosLeft=%d\nPosTop=%d\nWidthSize=%d\nHeightSize=%d\n",
                  path.c_str(), kW / 8, kH / 8, pw * 100 / w, ph * 100 / h, path.c_str(), kW / 2,
                  kH * 5 / 8, pw * 100 / w, ph * 100 / h);
    objects.LoadFromText(text);
  }
  uint32_t now = 1000;
  kx::TAnimEngine engine;
  engine.SetThreads(kThreads);
  engine.SetClock([&now] { return now; });
  engine.Attach(record, (flags & 8) ? &objects : nullptr);
  engine.SetWeather(false);
  engine.Prepare(false);
  engine.SetWeather(record.Weather.Kind > 0);
  for (auto _ : state) {
    now += 33;
    const auto t0 = std::chrono::steady_clock::now();
    engine.Step();
    benchmark::ClobberMemory();
    if (flags & 8)
      full_step_wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
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

// Takes --size and --threads out of the arguments.
void ReadOptions(int& argc, char** argv) {
  int out = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--size" && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &kW, &kH) != 2 || kW < 16 || kH < 16 || kW > 16384 || kH > 16384) {
        std::fprintf(stderr, "--size takes WIDTHxHEIGHT\n");
        std::exit(2);
      }
    } else if (a == "--threads" && i + 1 < argc) {
      kThreads = std::max(0, std::atoi(argv[++i]));
    } else {
      argv[out++] = argv[i];
    }
  }
  argc = out;
}

}  // namespace

int main(int argc, char** argv) {
  ReadOptions(argc, argv);
  std::vector<benchmark::internal::Benchmark*> all;
  all.push_back(benchmark::RegisterBenchmark("copy", FullCopy));
  for (int mode = 0; mode <= 5; ++mode)
    for (int refl = 0; refl <= 1; ++refl) {
      const std::string name = "step/mode" + std::to_string(mode) + (refl ? "+reflection" : "");
      all.push_back(benchmark::RegisterBenchmark(name.c_str(), EngineStep, mode, refl));
    }
  all.push_back(benchmark::RegisterBenchmark("step/mode1+jitter+shift", EngineStep, 1, 6));
  all.push_back(benchmark::RegisterBenchmark("step/mode1+reflection+jitter+shift", EngineStep, 1, 7));
  all.push_back(benchmark::RegisterBenchmark("snow/1000", WeatherStep<kx::TSnow>));
  all.push_back(benchmark::RegisterBenchmark("rain/1000", WeatherStep<kx::TRain>));
  // The slowest water mode (a column mode) with everything else a living picture can have.
  all.push_back(benchmark::RegisterBenchmark("living/full", EngineStep, 5, 9));
  for (benchmark::internal::Benchmark* b : all) {
    b->Repetitions(3);
    // With worker threads the calling thread mostly waits: its CPU time would make Google
    // Benchmark run far too many iterations, so they are counted on the wall clock.
    if (kThreads != 1) b->UseRealTime();
  }
  benchmark::Initialize(&argc, argv);
  kxbench::FastestTimes reporter;
  // With worker threads the calling thread's CPU time leaves their work out.
  reporter.wall_clock = kThreads != 1;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double copy = 0;
  for (const auto& e : reporter.entries)
    if (e.name == "copy") copy = e.seconds;
  if (copy <= 0) return 0;
  std::printf("\ncost in full-frame copies (%dx%d, region on the lower half, %d thread(s), %s):\n", kW, kH,
              kThreads, reporter.wall_clock ? "wall clock" : "CPU time");
  for (const auto& e : reporter.entries)
    if (e.name != "copy") std::printf("  %-36s %6.2f\n", e.name.c_str(), e.seconds / copy);
  if (!full_step_wall.empty()) {
    std::sort(full_step_wall.begin(), full_step_wall.end());
    std::printf("full living step on the wall clock: median %.2f ms, fastest %.2f ms (copy %.2f ms)\n",
                full_step_wall[full_step_wall.size() / 2] * 1e3, full_step_wall.front() * 1e3, copy * 1e3);
  }
  return 0;
}
