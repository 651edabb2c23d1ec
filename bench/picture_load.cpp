// Picture loading and fitting, as ratios to baselines measured in the same run:
//   - a 6000 x 4000 JPEG decoded and fitted to 1920 x 1080 (proportional, Lanczos), against
//     a plain full-size decode of the same stream by libjpeg-turbo into a ready buffer;
//   - the bilinear resize of a 1920 x 1080 picture to 1280 x 720 (a living picture fitted
//     to a smaller screen), against a plain copy of the 1080p frame.
// Ratios use CPU time (the machine may be shared). The test picture is made in code:
// smooth gradients with fine texture and noise, so the entropy decoder has as much to do
// as with a photograph.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "media/bitmap32.h"
#include "media/jpeg_codec.h"
#include "media/random.h"
#include "media/resample.h"

namespace {

constexpr int kBigW = 6000, kBigH = 4000;
constexpr int kScreenW = 1920, kScreenH = 1080;

const std::vector<uint8_t>& BigJpeg() {
  static const std::vector<uint8_t> jpeg = [] {
    kx::Bitmap32 b(kBigW, kBigH);
    kx::Random::Seed(12345);
    for (int y = 0; y < kBigH; ++y) {
      kx::Pixel* row = b.Row(y);
      for (int x = 0; x < kBigW; ++x) {
        const int n = kx::Random::Next(24);
        const int t = ((x / 7) ^ (y / 5)) & 15;
        row[x] = kx::MakePixel(static_cast<uint8_t>((x * 200 / kBigW) + n + t),
                               static_cast<uint8_t>((y * 180 / kBigH) + n),
                               static_cast<uint8_t>(((x + y) * 150 / (kBigW + kBigH)) + n + t));
      }
    }
    std::vector<uint8_t> out;
    std::string error;
    if (!kx::EncodeJpeg(b, 90, out, error)) std::fprintf(stderr, "encode: %s\n", error.c_str());
    return out;
  }();
  return jpeg;
}

// The fitted size of a picture on the screen, keeping its shape.
void FitSize(int w, int h, int& tw, int& th) {
  tw = kScreenW;
  th = kScreenH;
  if (static_cast<int64_t>(w) * th > static_cast<int64_t>(h) * tw) {
    th = static_cast<int>((static_cast<int64_t>(h) * tw + w / 2) / w);
  } else {
    tw = static_cast<int>((static_cast<int64_t>(w) * th + h / 2) / h);
  }
}

// Baseline: libjpeg-turbo's full decode into a buffer allocated once.
void BM_FullDecodeBaseline(benchmark::State& state) {
  const std::vector<uint8_t>& jpeg = BigJpeg();
  std::vector<uint8_t> pixels(static_cast<size_t>(kBigW) * kBigH * 4);
  for (auto _ : state) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = pixels.data() + static_cast<size_t>(cinfo.output_scanline) * kBigW * 4;
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(pixels.data());
  }
}

// What the show does: read the size, decode at the DCT scale the fitted size allows and
// resample each row with Lanczos as it comes (the picture is never held whole).
void BM_DecodeAndFitLanczos(benchmark::State& state) {
  const std::vector<uint8_t>& jpeg = BigJpeg();
  for (auto _ : state) {
    kx::JpegInfo info;
    std::string error;
    kx::ReadJpegInfo(jpeg.data(), jpeg.size(), info, error);
    int tw, th;
    FitSize(info.width, info.height, tw, th);
    kx::Bitmap32 fitted;
    kx::DecodeJpegFitted(jpeg.data(), jpeg.size(), tw, th, kx::StretchFilter::Lanczos, fitted, error);
    benchmark::DoNotOptimize(fitted.Data());
  }
}

// The same in two steps: the whole picture decoded at the reduced scale, then resampled.
void BM_DecodeThenFitLanczos(benchmark::State& state) {
  const std::vector<uint8_t>& jpeg = BigJpeg();
  int tw, th;
  FitSize(kBigW, kBigH, tw, th);
  for (auto _ : state) {
    kx::Bitmap32 decoded, fitted;
    std::string error;
    kx::DecodeJpeg(jpeg.data(), jpeg.size(), decoded, error, tw, th);
    kx::Resample(decoded, fitted, tw, th, kx::StretchFilter::Lanczos);
    benchmark::DoNotOptimize(fitted.Data());
  }
}

kx::Bitmap32 Frame1080p() {
  kx::Bitmap32 b(kScreenW, kScreenH);
  for (int y = 0; y < kScreenH; ++y)
    for (int x = 0; x < kScreenW; ++x) b.SetPixel(x, y, kx::MakePixel(x & 255, y & 255, (x ^ y) & 255));
  return b;
}

// Baseline: a plain copy of a 1080p frame.
void BM_Copy1080pBaseline(benchmark::State& state) {
  const kx::Bitmap32 src = Frame1080p();
  kx::Bitmap32 dst(kScreenW, kScreenH);
  for (auto _ : state) {
    std::memcpy(dst.Data(), src.Data(), src.PixelCount() * sizeof(kx::Pixel));
    benchmark::DoNotOptimize(dst.Data());
  }
}

void BM_Bilinear1080pTo720p(benchmark::State& state) {
  const kx::Bitmap32 src = Frame1080p();
  kx::Bitmap32 dst;
  for (auto _ : state) {
    kx::Resample(src, dst, 1280, 720, kx::StretchFilter::Bilinear);
    benchmark::DoNotOptimize(dst.Data());
  }
}

BENCHMARK(BM_FullDecodeBaseline)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DecodeAndFitLanczos)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DecodeThenFitLanczos)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Copy1080pBaseline)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Bilinear1080pTo720p)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Collects the medians to print the ratios after the run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.aggregate_name == "median") medians[r.run_name.function_name] = r.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> medians;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  BigJpeg();  // made before timing starts
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ratio = [&](const char* a, const char* b) {
    const auto ia = reporter.medians.find(a), ib = reporter.medians.find(b);
    if (ia == reporter.medians.end() || ib == reporter.medians.end() || ib->second <= 0) return;
    std::printf("%-24s / %-24s = %.2f\n", a, b, ia->second / ib->second);
  };
  std::printf("\nRatios of median CPU times:\n");
  ratio("BM_DecodeAndFitLanczos", "BM_FullDecodeBaseline");
  ratio("BM_DecodeThenFitLanczos", "BM_FullDecodeBaseline");
  ratio("BM_Bilinear1080pTo720p", "BM_Copy1080pBaseline");
  ratio("BM_Bilinear1080pTo720p", "BM_FullDecodeBaseline");
  benchmark::Shutdown();
  return 0;
}
