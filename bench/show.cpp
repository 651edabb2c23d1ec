// One show step for a still 1920x1080 picture, and one transition frame (Fade at P = 50),
// each reported as a ratio to a plain full-frame copy measured in the same run (CPU time,
// the fastest of three repetitions). The host draws nothing and never sleeps, so what is
// measured is the show's own work per step.
#include <benchmark/benchmark.h>

#include "fastest_times.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "effects/transition.h"
#include "media/jpeg_codec.h"
#include "platform/file_system.h"
#include "show/show_session.h"

namespace {

constexpr int kW = 1920, kH = 1080;

class NullHost final : public kx::ShowHost {
 public:
  int ScreenWidth() const override { return kW; }
  int ScreenHeight() const override { return kH; }
  uint32_t TickCount() override { return now; }
  void Sleep(int) override {}
  void ProcessMessages() override {}
  void DrawToWindow(const kx::Bitmap32&, int, int) override {}
  void FillBlack() override {}
  bool StartDirectDraw() override { return false; }
  void DrawToSurface(const kx::Bitmap32&) override {}
  void ShowError(const std::string&) override {}
  void RequestClose() override {}
  bool PasswordAllowsClose() override { return true; }
  void SetCursorVisible(bool) override {}
  uint32_t now = 1000;
};

kx::Bitmap32 Pattern(int seed) {
  kx::Bitmap32 b(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) b.SetPixel(x, y, kx::MakePixel((x * seed) & 255, (y + seed) & 255, (x ^ y) & 255));
  return b;
}

void FullCopy(benchmark::State& state) {
  static kx::Bitmap32 src = Pattern(3), dst(kW, kH);
  for (auto _ : state) {
    std::memcpy(dst.Data(), src.Data(), src.PixelCount() * sizeof(kx::Pixel));
    benchmark::ClobberMemory();
  }
}

void ShowStep(benchmark::State& state) {
  const std::string path = "/tmp/kxbench-still.jpg";
  std::vector<uint8_t> jpeg;
  std::string error;
  kx::EncodeJpeg(Pattern(5), 90, jpeg, error);
  kx::fs::WriteFile(path, std::string(jpeg.begin(), jpeg.end()));
  kx::TKXCProject project;
  project.FileList.Names = {path};
  project.FileList.Flags = {"TRUE"};
  NullHost host;
  kx::ShowSession session(project, host);
  session.FormShow();
  for (auto _ : state) {
    session.ShowIdle();
    benchmark::ClobberMemory();
  }
  session.FormClose();
  kx::fs::DeleteFile(path);
}

void TransitionFrame(benchmark::State& state) {
  static kx::Bitmap32 old = Pattern(3), next = Pattern(7), work(kW, kH);
  for (auto _ : state) {
    kx::TransitionFrame(work, old, next, 1, 50);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(FullCopy)->Repetitions(3)->ReportAggregatesOnly(false)->MeasureProcessCPUTime();
BENCHMARK(ShowStep)->Repetitions(3)->MeasureProcessCPUTime();
BENCHMARK(TransitionFrame)->Repetitions(3)->MeasureProcessCPUTime();


}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  kxbench::FastestTimes reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double copy = reporter.Of("FullCopy");
  for (const auto& e : reporter.entries)
    if (e.name != "FullCopy" && copy > 0) std::printf("%-16s %.2f full-frame copies\n", e.name.c_str(), e.seconds / copy);
  benchmark::Shutdown();
  return 0;
}
