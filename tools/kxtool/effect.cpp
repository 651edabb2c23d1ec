// kxtool effect: renders frames of one transition effect side by side into a PNG sheet,
// so anyone can look at an effect without running a show.
//   kxtool effect N [--old A --new B] [--size WxH] [--p 0,25,50,75,100] --out SHEET.png
//   kxtool effect --list
// Without --old/--new two built-in synthetic pictures are used. Pictures given are scaled
// to the size (default 320x240). Frames are separated by a 4-pixel grey gap.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands.h"
#include "kxp_png.h"
#include "effects/effects_table.h"
#include "effects/transition.h"
#include "media/bitmap32.h"
#include "media/picture_decoder.h"
#include "media/random.h"
#include "media/resample.h"

namespace kxtool {

namespace {

using kx::Bitmap32;
using kx::MakePixel;
using kx::Pixel;

int Fail(const std::string& message) {
  std::fprintf(stderr, "kxtool effect: %s\n", message.c_str());
  return 1;
}

bool ParseInt(const std::string& s, int& out) {
  if (s.empty() || s.size() > 9) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  out = std::atoi(s.c_str());
  return true;
}

// A warm picture: horizontal gradient with rings around the centre.
Bitmap32 SyntheticOld(int w, int h) {
  Bitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int dx = x - w / 2, dy = y - h / 2;
      const bool ring = ((dx * dx + dy * dy) / std::max(1, (w * w + h * h) / 400)) % 8 < 4;
      b.SetPixel(x, y, MakePixel(static_cast<uint8_t>(160 + 95 * x / std::max(1, w)), static_cast<uint8_t>(ring ? 120 : 60),
                                 static_cast<uint8_t>(30 + 60 * y / std::max(1, h))));
    }
  return b;
}

// A cool picture: a checkerboard of blue and teal with a white diagonal.
Bitmap32 SyntheticNew(int w, int h) {
  Bitmap32 b(w, h);
  const int cell = std::max(2, std::min(w, h) / 8);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool dark = ((x / cell) + (y / cell)) % 2 == 0;
      const bool diagonal = std::abs(x * h - y * w) < 2 * std::max(w, h);
      b.SetPixel(x, y, diagonal ? MakePixel(250, 250, 250)
                                : (dark ? MakePixel(20, 60, 180) : MakePixel(40, 170, 170)));
    }
  return b;
}

bool LoadScaled(const std::string& path, int w, int h, Bitmap32& out, std::string& error) {
  Bitmap32 picture;
  if (!ReadAnyPicture(path, picture, error)) return false;
  if (picture.Empty()) {
    error = "empty picture";
    return false;
  }
  kx::Resample(picture, out, w, h, kx::StretchFilter::Bilinear);
  return true;
}

int List() {
  for (int n = 1; n <= kx::EffectCount; ++n)
    std::printf("%3d  %s%s\n", n, kx::Effects[n].Name, kx::Effects[n].Proc ? "" : "  (no routine)");
  return 0;
}

}  // namespace

int CmdEffect(const Args& args) {
  if (args.size() == 1 && args[0] == "--list") return List();
  int number = 0, w = 320, h = 240;
  std::string oldPath, newPath, outPath;
  std::vector<int> percents = {0, 25, 50, 75, 100};
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    const bool hasValue = k + 1 < args.size();
    if (a == "--list") return List();
    if (a == "--old" && hasValue) oldPath = args[++k];
    else if (a == "--new" && hasValue) newPath = args[++k];
    else if (a == "--out" && hasValue) outPath = args[++k];
    else if (a == "--size" && hasValue) {
      const std::string v = args[++k];
      const size_t x = v.find('x');
      if (x == std::string::npos || !ParseInt(v.substr(0, x), w) || !ParseInt(v.substr(x + 1), h) || w < 1 ||
          h < 1 || w > 8192 || h > 8192)
        return Fail("bad --size '" + v + "' (WxH, 1..8192)");
    } else if (a == "--p" && hasValue) {
      percents.clear();
      std::string v = args[++k];
      size_t start = 0;
      while (start <= v.size()) {
        size_t comma = v.find(',', start);
        if (comma == std::string::npos) comma = v.size();
        int p = 0;
        if (!ParseInt(v.substr(start, comma - start), p) || p > 100) return Fail("bad --p value in '" + v + "'");
        percents.push_back(p);
        start = comma + 1;
      }
      if (percents.size() > 64) return Fail("at most 64 frames");
    } else if (number == 0 && ParseInt(a, number)) {
    } else {
      return Fail("unexpected argument '" + a + "'");
    }
  }
  if (!kx::EffectTable::IsValidNumber(number)) return Fail("give an effect number 1..169 (or --list)");
  if (!kx::Effects[number].Proc) return Fail("effect " + std::to_string(number) + " has no routine yet");
  if (outPath.empty()) return Fail("give --out SHEET.png");
  if (oldPath.empty() != newPath.empty()) return Fail("give both --old and --new, or neither");

  Bitmap32 oldPic = SyntheticOld(w, h), newPic = SyntheticNew(w, h);
  std::string error;
  if (!oldPath.empty() && (!LoadScaled(oldPath, w, h, oldPic, error) || !LoadScaled(newPath, w, h, newPic, error)))
    return Fail(error);

  constexpr int kGap = 4;
  const int64_t sheetW = static_cast<int64_t>(percents.size()) * (w + kGap) - kGap;
  if (sheetW > 65536) return Fail("sheet too wide; use fewer frames or a smaller size");
  Bitmap32 sheet(static_cast<int>(sheetW), h), work;
  sheet.Fill(MakePixel(96, 96, 96));
  kx::Random::Seed(1);
  for (size_t i = 0; i < percents.size(); ++i) {
    kx::TransitionFrame(work, oldPic, newPic, number, percents[i]);
    const int x0 = static_cast<int>(i) * (w + kGap);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) sheet.SetPixel(x0 + x, y, work.GetPixel(x, y));
  }
  if (!WritePng(outPath, sheet, error)) return Fail(error);
  std::printf("%d \"%s\": %zu frames of %dx%d -> %s\n", number, kx::Effects[number].Name, percents.size(), w, h,
              outPath.c_str());
  return 0;
}

}  // namespace kxtool
