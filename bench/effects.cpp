// One frame of every effect with a routine at 1920x1080 (or --size WxH) and P = 50, reported as a ratio to
// a plain full-frame copy measured in the same run (the summary at the end; CPU time, so
// that other load on the machine counts less; the fastest of three repetitions). Before
// each frame Dst is reset to the old picture outside the timed part, as the show does.
#include <benchmark/benchmark.h>

#include "fastest_times.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "effects/effects_table.h"
#include "effects/transition.h"
#include "media/random.h"

namespace {

int kW = 1920, kH = 1080;
constexpr int kP = 50;

struct Pictures {
  kx::Bitmap32 old{kW, kH}, src{kW, kH}, dst{kW, kH};
  Pictures() {
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        old.SetPixel(x, y, kx::MakePixel(x & 255, y & 255, (x ^ y) & 255));
        src.SetPixel(x, y, kx::MakePixel((x * 3) & 255, (y * 5) & 255, (x + y) & 255));
      }
  }
  void Reset() { std::memcpy(dst.Data(), old.Data(), old.PixelCount() * sizeof(kx::Pixel)); }
};

Pictures& Pics() {
  static Pictures p;
  return p;
}

void FullCopy(benchmark::State& state) {
  Pictures& p = Pics();
  for (auto _ : state) {
    state.PauseTiming();
    p.Reset();
    state.ResumeTiming();
    std::memcpy(p.dst.Data(), p.src.Data(), p.src.PixelCount() * sizeof(kx::Pixel));
    benchmark::ClobberMemory();
  }
}

void Effect(benchmark::State& state, int n) {
  Pictures& p = Pics();
  const kx::TransitionProgress g = kx::ProgressFor(kW, kH, kP);
  for (auto _ : state) {
    state.PauseTiming();
    p.Reset();
    kx::Random::Seed(12345);
    state.ResumeTiming();
    kx::Effects[n].Proc(p.dst, p.src, kW, kH, g.X, g.Y, kP);
    benchmark::ClobberMemory();
  }
}

}  // namespace

int main(int argc, char** argv) {
  // --size WxH: the frame's size.
  int out = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &kW, &kH) != 2 || kW < 16 || kH < 16 || kW > 16384 || kH > 16384) {
        std::fprintf(stderr, "--size takes WIDTHxHEIGHT\n");
        return 2;
      }
    } else {
      argv[out++] = argv[i];
    }
  }
  argc = out;
  benchmark::RegisterBenchmark("copy", FullCopy)->Repetitions(3);
  for (int n = 1; n <= kx::EffectCount; ++n) {
    if (!kx::Effects[n].Proc) continue;
    char name[96];
    std::snprintf(name, sizeof name, "effect/%03d", n);
    benchmark::RegisterBenchmark(name, Effect, n)->Repetitions(3);
  }
  benchmark::Initialize(&argc, argv);
  kxbench::FastestTimes reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  double copy = 0;
  for (const auto& e : reporter.entries)
    if (e.name.rfind("copy", 0) == 0) copy = e.seconds;
  if (copy <= 0) return 0;
  std::vector<std::pair<double, std::string>> ratios;
  for (const auto& e : reporter.entries)
    if (e.name.rfind("copy", 0) != 0) ratios.push_back({e.seconds / copy, e.name});
  if (ratios.empty()) return 0;
  std::printf("\nframe cost in full-frame copies (%dx%d, P = 50):\n", kW, kH);
  for (const auto& [r, name] : ratios) {
    const int n = std::atoi(name.c_str() + 7);
    std::printf("  %3d %-42s %6.2f\n", n, kx::Effects[n].Name, r);
  }
  std::vector<std::pair<double, std::string>> sorted = ratios;
  std::sort(sorted.begin(), sorted.end());
  std::printf("median %.2f, max %.2f (%s)\n", sorted[sorted.size() / 2].first, sorted.back().first,
              sorted.back().second.c_str());
  return 0;
}
