// A regression table of effect frames: for every effect with a routine, the hash of its
// frames at P = 25, 50 and 75 on two small synthetic pictures (tests/unit/effects/
// frame_hashes.txt). A change to any effect's pixels shows up here and in review.
//
// After an intended change, regenerate the table with
//   KX_UPDATE_FRAME_HASHES=1 <build>/unit_effects --gtest_filter='FrameHashes.*'
// A mismatch writes the frame and a difference picture (against the new picture: black
// where the frame already shows it) as PPM files into <build>/frame_mismatch/.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "effects/effects_table.h"
#include "effects/transition.h"
#include "media/random.h"
#include "test_pictures.h"

namespace kx {
namespace {

namespace fs = std::filesystem;

constexpr int kW = 61, kH = 43;  // odd on purpose
constexpr int kPercents[] = {25, 50, 75};

fs::path TablePath() { return fs::path(KX_SOURCE_DIR) / "tests/unit/effects/frame_hashes.txt"; }

fs::path BuildFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : exe.parent_path();
}

Bitmap32 Frame(int n, int P) {
  const Bitmap32 old = testing::OldPicture(kW, kH), src = testing::NewPicture(kW, kH);
  Bitmap32 dst = old;
  const TransitionProgress g = ProgressFor(kW, kH, P);
  Random::Seed(0x5EED);
  Effects[n].Proc(dst, src, kW, kH, g.X, g.Y, P);
  return dst;
}

Bitmap32 Difference(const Bitmap32& frame, const Bitmap32& want) {
  Bitmap32 d(frame.Width(), frame.Height());
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) {
      const Pixel a = frame.GetPixel(x, y), b = want.GetPixel(x, y);
      auto diff = [](int u, int v) { return static_cast<uint8_t>(std::min(255, 4 * std::abs(u - v))); };
      d.SetPixel(x, y, MakePixel(diff(PixelR(a), PixelR(b)), diff(PixelG(a), PixelG(b)), diff(PixelB(a), PixelB(b))));
    }
  return d;
}

std::map<std::pair<int, int>, uint64_t> ReadTable() {
  std::map<std::pair<int, int>, uint64_t> table;
  std::ifstream in(TablePath());
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    int n = 0, p = 0;
    std::string hex;
    if (ls >> n >> p >> hex) table[{n, p}] = std::strtoull(hex.c_str(), nullptr, 16);
  }
  return table;
}

TEST(FrameHashes, EveryEffectDrawsTheRecordedFrames) {
  const char* update = std::getenv("KX_UPDATE_FRAME_HASHES");
  if (update && *update && std::string(update) != "0") {
    std::ofstream out(TablePath());
    out << "# effect percent hash of the frame (" << kW << "x" << kH
        << " synthetic pictures). Regenerate: KX_UPDATE_FRAME_HASHES=1 unit_effects --gtest_filter='FrameHashes.*'\n";
    for (int n = 1; n <= EffectCount; ++n) {
      if (!Effects[n].Proc) continue;
      for (int P : kPercents) {
        char hex[32];
        std::snprintf(hex, sizeof hex, "%016" PRIx64, testing::HashPixels(Frame(n, P)));
        out << n << " " << P << " " << hex << "  " << Effects[n].Name << "\n";
      }
    }
    ASSERT_TRUE(out.good()) << "cannot write " << TablePath();
    GTEST_SKIP() << "frame hashes written to " << TablePath();
  }

  const auto table = ReadTable();
  ASSERT_FALSE(table.empty()) << "no frame hash table at " << TablePath();
  const Bitmap32 src = testing::NewPicture(kW, kH);
  for (int n = 1; n <= EffectCount; ++n) {
    if (!Effects[n].Proc) continue;
    for (int P : kPercents) {
      const auto it = table.find({n, P});
      if (it == table.end()) {
        ADD_FAILURE() << n << " " << Effects[n].Name << " P=" << P
                      << ": no recorded hash; regenerate with KX_UPDATE_FRAME_HASHES=1";
        continue;
      }
      const Bitmap32 frame = Frame(n, P);
      if (testing::HashPixels(frame) == it->second) continue;
      const fs::path dir = BuildFolder() / "frame_mismatch";
      std::error_code ec;
      fs::create_directories(dir, ec);
      const std::string base = (dir / ("effect_" + std::to_string(n) + "_p" + std::to_string(P))).string();
      testing::WritePpm(base + ".ppm", frame);
      testing::WritePpm(base + "_diff.ppm", Difference(frame, src));
      ADD_FAILURE() << n << " " << Effects[n].Name << " P=" << P << ": frame changed; see " << base << ".ppm";
    }
  }
}

}  // namespace
}  // namespace kx
