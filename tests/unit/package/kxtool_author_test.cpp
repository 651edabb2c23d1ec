// kxtool as a new author uses it: `pack` with PNG pictures converted and shown, pictures
// that do not decode stopping the pack, unknown formats listed, no picture an error, no
// project.ini packed with the defaults; the help; `render --video` through ffmpeg. Runs the
// kxtool built beside this test program with a stand-in engine (the package is found by its
// marker, whatever comes before it).
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "../../../tools/kxtool/step_times.h"
#include "package/kxtool_runner.h"
#include "package/picture_fixture.h"

namespace kx {
namespace {

using test::RunTool;
using test::ToolPath;

void WriteBytes(const std::string& path, const std::string& b) { std::ofstream(path, std::ios::binary) << b; }
void WriteBytes(const std::string& path, const std::vector<uint8_t>& b) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
}

// A PNG of one colour (BGRA pixel with its alpha).
void WritePngFile(const std::string& path, int w, int h, Pixel color) {
  std::vector<Pixel> pixels(static_cast<size_t>(w) * h, color);
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = w;
  image.height = h;
  image.format = PNG_FORMAT_BGRA;
  ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr)) << image.message;
}

std::vector<Pixel> PngPixels(const std::string& path, int& w, int& h) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  w = h = 0;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_BGRA;
  std::vector<Pixel> pixels(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  w = static_cast<int>(image.width);
  h = static_cast<int>(image.height);
  return pixels;
}

Pixel PngPixel(const std::string& path, int x, int y) {
  int w, h;
  const std::vector<Pixel> p = PngPixels(path, w, h);
  return x < w && y < h ? p[static_cast<size_t>(y) * w + x] : 0;
}

// le16 and le32 bytes of a WAVE file: 1 s of an 8-bit 8000 Hz square tone.
std::string ToneWave() {
  auto le = [](uint32_t v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 255);
    return s;
  };
  std::string data;
  for (int i = 0; i < 8000; ++i) data += static_cast<char>((i / 4) % 2 ? 0xE0 : 0x20);
  return "RIFF" + le(36 + 8000, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) + le(8000, 4) +
         le(1, 2) + le(8, 2) + "data" + le(8000, 4) + data;
}

bool Near(Pixel a, Pixel b, int tolerance) {
  return std::abs(PixelR(a) - PixelR(b)) <= tolerance && std::abs(PixelG(a) - PixelG(b)) <= tolerance &&
         std::abs(PixelB(a) - PixelB(b)) <= tolerance;
}

class KxtoolPackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tool_ = ToolPath();
    if (access(tool_.c_str(), X_OK) != 0) GTEST_SKIP() << "kxtool is not built";
    dir_ = ::testing::TempDir() + "kxtool_pack_" + std::to_string(getpid()) + "/";
    ASSERT_EQ(system(("rm -rf " + dir_ + " && mkdir -p " + dir_).c_str()), 0);
    WriteBytes(dir_ + "engine.scr", std::string("MZ stand-in engine\n"));
  }
  void TearDown() override {
    if (!dir_.empty()) {
      EXPECT_EQ(system(("rm -rf " + dir_).c_str()), 0);
    }
  }
  // A source folder with the given pictures/ files made by `fill`.
  std::string Source(const std::string& name) {
    const std::string src = dir_ + name + "/";
    EXPECT_EQ(system(("mkdir -p '" + src + "pictures'").c_str()), 0);
    return src;
  }
  int Pack(const std::string& src, const std::string& out, std::string& output) {
    return RunTool(tool_ + " pack --engine " + dir_ + "engine.scr --source '" + src + "' --out '" + out + "'", output);
  }
  // The centre of the screen one second into the show of `saver`.
  Pixel ShownCentre(const std::string& saver) {
    const std::string frames = dir_ + "frames/";
    std::string out;
    EXPECT_EQ(system(("rm -rf " + frames).c_str()), 0);
    EXPECT_EQ(RunTool(tool_ + " render '" + saver + "' --size 160x120 --seconds 1 --fps 1 --out " + frames, out), 0)
        << out;
    return PngPixel(frames + "frame-00001.png", 80, 60);
  }

  std::string tool_, dir_;
};

TEST_F(KxtoolPackTest, PngPicturesAreConvertedToWhatTheShowDisplays) {
  const std::string src = Source("Lake Views");
  WritePngFile(src + "pictures/opaque.png", 64, 48, MakePixel(200, 40, 30));
  // Half-transparent blue: the show draws it over its black background.
  WritePngFile(src + "pictures/glass.png", 64, 48, MakePixel(0, 0, 240, 128));
  WriteBytes(src + "pictures/scan.tif", std::string("II*\0 not read", 13));
  WriteBytes(src + "pictures/web.webp", std::string("RIFF....WEBP"));
  std::string out;
  ASSERT_EQ(Pack(src, dir_ + "a.scr", out), 0) << out;
  EXPECT_NE(out.find("pictures/opaque.png: PNG 64x48, converted to opaque.jpg (JPEG)"), std::string::npos) << out;
  EXPECT_NE(out.find("pictures/glass.png: PNG 64x48 with transparency, converted to glass.bmp (32-bit bitmap)"),
            std::string::npos) << out;
  EXPECT_NE(out.find("): scan.tif, web.webp"), std::string::npos) << out;
  // No project.ini: the defaults, named after the folder.
  EXPECT_NE(out.find("has no project.ini: the saver gets the default settings and ProductName=Lake Views"),
            std::string::npos) << out;
  EXPECT_NE(out.find("a.scr: 2 pictures, 2 files"), std::string::npos) << out;

  ASSERT_EQ(RunTool(tool_ + " inspect " + dir_ + "a.scr", out), 0) << out;
  EXPECT_NE(out.find("ProductName=Lake Views"), std::string::npos) << out;
  EXPECT_NE(out.find("glass.bmp"), std::string::npos) << out;
  EXPECT_EQ(out.find(".png"), std::string::npos) << out;

  // Each picture first in the show, by a file list that still names the PNG files.
  std::ofstream(src + "project.ini") << "[General]\r\nProductName=Lake\r\n[Default]\r\nShowImageMode=1\r\n[FileList]\r\nopaque.png=1\r\nglass.png=1\r\n";
  ASSERT_EQ(Pack(src, dir_ + "opaque.scr", out), 0) << out;
  EXPECT_TRUE(Near(ShownCentre(dir_ + "opaque.scr"), MakePixel(200, 40, 30), 6));
  std::ofstream(src + "project.ini") << "[General]\r\nProductName=Lake\r\n[Default]\r\nShowImageMode=1\r\n[FileList]\r\nglass.png=1\r\nopaque.png=1\r\n";
  ASSERT_EQ(Pack(src, dir_ + "glass.scr", out), 0) << out;
  EXPECT_TRUE(Near(ShownCentre(dir_ + "glass.scr"), MakePixel(0, 0, 120), 2));
  ASSERT_EQ(RunTool(tool_ + " inspect " + dir_ + "glass.scr", out), 0) << out;
  EXPECT_NE(out.find("  0 glass.bmp TRUE"), std::string::npos) << out;
}

TEST_F(KxtoolPackTest, PacksThatMustStopSayWhy) {
  const std::vector<uint8_t> jpeg = testing::SolidJpeg(64, 48, MakePixel(10, 200, 30));
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // pictures/ files
    const char* message;
  } cases[] = {
      {"truncated JPEG",
       {{"good.jpg", std::string(jpeg.begin(), jpeg.end())},
        {"cut.jpg", std::string(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 2))}},
       "kxtool pack: pictures/cut.jpg does not decode: "},
      {"PNG that is not one", {{"fake.png", "not a png at all"}}, "kxtool pack: pictures/fake.png does not decode: "},
      {"only unknown formats", {{"a.tif", "II*"}, {"b.webp", "RIFF"}}, "has no picture: put"},
      {"empty pictures folder", {}, "has no picture: put"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string src = Source("case" + std::to_string(n++));
    for (const auto& [name, bytes] : c.files) WriteBytes(src + "pictures/" + name, bytes);
    const std::string saver = dir_ + "out" + std::to_string(n) + ".scr";
    std::string out;
    EXPECT_EQ(Pack(src, saver, out), 1) << c.name << "\n" << out;
    EXPECT_NE(out.find(c.message), std::string::npos) << c.name << "\n" << out;
    EXPECT_NE(access(saver.c_str(), F_OK), 0) << c.name << ": a saver was written";
  }
  // Asked for, a saver without pictures is packed (it shows its own message).
  std::string out;
  EXPECT_EQ(RunTool(tool_ + " pack --engine " + dir_ + "engine.scr --source " + Source("empty") + " --out " + dir_ +
                        "empty.scr --allow-empty", out), 0) << out;
  EXPECT_NE(out.find("empty.scr: 0 pictures"), std::string::npos) << out;
}

TEST_F(KxtoolPackTest, HelpAndTheBuiltInEngine) {
  std::string out;
  EXPECT_EQ(RunTool(tool_ + " --help", out), 0);
  EXPECT_NE(out.find("kxtool pack --source FOLDER --out SAVER.scr"), std::string::npos) << out;
  EXPECT_NE(out.find("kxtool render SAVER"), std::string::npos) << out;
  EXPECT_EQ(RunTool(tool_ + " render --help", out), 0);
  EXPECT_EQ(out.find("kxtool pack"), std::string::npos) << out;
  EXPECT_NE(out.find("usage: kxtool render SAVER"), std::string::npos) << out;
  EXPECT_EQ(RunTool(tool_ + " frobnicate", out), 2);
  EXPECT_NE(out.find("unknown command 'frobnicate'"), std::string::npos) << out;

  const std::string src = Source("plain");
  WriteBytes(src + "pictures/a.jpg", testing::SolidJpeg(32, 24, MakePixel(1, 2, 3)));
  const int rc = RunTool(tool_ + " pack --source " + src + " --out " + dir_ + "b.scr", out);
  if (out.find("built without an engine") != std::string::npos) {
    EXPECT_EQ(rc, 2);
    GTEST_SKIP() << "this kxtool carries no engine";
  }
  ASSERT_EQ(rc, 0) << out;
  std::ifstream f(dir_ + "b.scr", std::ios::binary);
  char mz[2] = {};
  f.read(mz, 2);
  EXPECT_EQ(std::string(mz, 2), "MZ");
  EXPECT_EQ(RunTool(tool_ + " inspect " + dir_ + "b.scr", out), 0) << out;
  EXPECT_NE(out.find("  0 a.jpg TRUE"), std::string::npos) << out;
}

// render --stats counts step times in fixed bins: the median and the 99th percentile are
// those of the sorted times to within their bin, whatever the number of steps.
TEST(StepHistogramTest, PercentilesOfKnownTimes) {
  struct Case {
    std::vector<double> ms;
    double median, p99;
  };
  std::vector<double> ramp;  // 0.005, 0.015, ... 9.995 ms: 1000 steps
  for (int i = 0; i < 1000; ++i) ramp.push_back(i * 0.01 + 0.005);
  std::vector<double> tail(990, 2.0);  // most steps 2 ms, the slowest 1 % at 250 ms
  tail.insert(tail.end(), 10, 250.0);
  const Case cases[] = {
      {{3.3}, 3.305, 3.305},
      {ramp, 5.005, 9.905},
      {tail, 2.005, 250.5},
      {{-1.0, 0.0, 20000.0}, 0.005, 10000},  // below zero counts as the shortest, above 10 s as 10 s
  };
  for (const Case& c : cases) {
    kxtool::StepHistogram h;
    for (double v : c.ms) h.Add(v);
    EXPECT_EQ(h.Count(), c.ms.size());
    EXPECT_NEAR(h.Median(), c.median, 1e-9) << c.ms.size();
    EXPECT_NEAR(h.Percentile99(), c.p99, 1e-9) << c.ms.size();
  }
  EXPECT_EQ(kxtool::StepHistogram().Median(), 0);
}

TEST_F(KxtoolPackTest, RenderStatsCountsEveryKindOfStep) {
  const std::string src = Source("stats");
  WritePngFile(src + "pictures/a.png", 64, 48, MakePixel(200, 40, 30));
  WritePngFile(src + "pictures/b.png", 64, 48, MakePixel(20, 60, 220));
  std::ofstream(src + "project.ini") << "[General]\r\nProductName=Stats\r\n[Default]\r\nDuration=1\r\n"
                                        "TransitionTime=500\r\n";
  std::string out;
  ASSERT_EQ(Pack(src, dir_ + "s.scr", out), 0) << out;
  ASSERT_EQ(RunTool(tool_ + " render " + dir_ + "s.scr --size 160x120 --seconds 4 --fps 1 --stats --out " + dir_ + "sf", out), 0)
      << out;
  EXPECT_NE(out.find("step times at 160x120"), std::string::npos) << out;
  EXPECT_NE(out.find("living            none"), std::string::npos) << out;
  for (const char* kind : {"still   ", "transition frame"}) {
    const size_t at = out.find(std::string("  ") + kind);
    ASSERT_NE(at, std::string::npos) << kind << "\n" << out;
    const std::string line = out.substr(at, out.find('\n', at) - at);
    EXPECT_NE(line.find("steps, median"), std::string::npos) << line;
    EXPECT_NE(line.find("99th percentile"), std::string::npos) << line;
  }
  // Without --stats nothing is counted or printed.
  ASSERT_EQ(RunTool(tool_ + " render " + dir_ + "s.scr --size 160x120 --seconds 2 --fps 1 --out " + dir_ + "sf", out), 0) << out;
  EXPECT_EQ(out.find("step times"), std::string::npos) << out;
}

TEST_F(KxtoolPackTest, RenderVideoHoldsTheShowAndItsMusic) {
  std::string out;
  if (RunTool("ffmpeg -version && ffprobe -version", out) != 0) GTEST_SKIP() << "ffmpeg is not installed";
  const std::string src = Source("video");
  EXPECT_EQ(system(("mkdir -p " + src + "content").c_str()), 0);
  WritePngFile(src + "pictures/a.png", 64, 48, MakePixel(200, 40, 30));
  WritePngFile(src + "pictures/b.png", 64, 48, MakePixel(20, 60, 220));
  WriteBytes(src + "content/tone.wav", ToneWave());
  std::ofstream(src + "project.ini") << "[General]\r\nProductName=Video\r\n[Default]\r\nDuration=1\r\n"
                                        "TransitionTime=600\r\nMusic=1\r\n[Advance]\r\nMusicFile=tone.wav\r\n";
  ASSERT_EQ(Pack(src, dir_ + "v.scr", out), 0) << out;
  const std::string show = " --size 160x120 --seconds 2.5 --fps 10 --seed 7";
  ASSERT_EQ(RunTool(tool_ + " render " + dir_ + "v.scr" + show + " --video " + dir_ + "show.mp4", out), 0) << out;
  EXPECT_NE(out.find("sound track: tone.wav"), std::string::npos) << out;
  EXPECT_NE(out.find("25 frames written"), std::string::npos) << out;

  ASSERT_EQ(RunTool("ffprobe -v error -show_entries stream=codec_type,width,height,r_frame_rate,nb_frames:format=duration "
                    "-of compact " + dir_ + "show.mp4", out), 0) << out;
  EXPECT_NE(out.find("codec_type=video|width=160|height=120|r_frame_rate=10/1|nb_frames=25"), std::string::npos) << out;
  EXPECT_NE(out.find("codec_type=audio"), std::string::npos) << out;
  EXPECT_NE(out.find("duration=2.5"), std::string::npos) << out;

  // Frames of the video against the PNG render of the same moments: a still picture and
  // one in the middle of a transition.
  ASSERT_EQ(RunTool(tool_ + " render " + dir_ + "v.scr" + show + " --out " + dir_ + "png", out), 0) << out;
  for (int n : {5, 13}) {
    const std::string still = dir_ + "video-" + std::to_string(n) + ".png";
    ASSERT_EQ(RunTool("ffmpeg -v error -y -i " + dir_ + "show.mp4 -vf 'select=eq(n\\," + std::to_string(n) +
                          ")' -frames:v 1 " + still, out), 0) << out;
    char name[32];
    std::snprintf(name, sizeof name, "png/frame-%05d.png", n);
    int w1, h1, w2, h2;
    const std::vector<Pixel> a = PngPixels(still, w1, h1), b = PngPixels(dir_ + name, w2, h2);
    ASSERT_EQ(w1, 160);
    ASSERT_EQ(h1, 120);
    ASSERT_EQ(w2, 160);
    ASSERT_EQ(h2, 120);
    long long diff = 0;
    for (size_t i = 0; i < a.size(); ++i)
      diff += std::abs(PixelR(a[i]) - PixelR(b[i])) + std::abs(PixelG(a[i]) - PixelG(b[i])) +
              std::abs(PixelB(a[i]) - PixelB(b[i]));
    EXPECT_LT(diff / static_cast<long long>(a.size() * 3), 4) << "frame " << n;
  }

  // Without ffmpeg: a clear message, no video.
  EXPECT_EQ(RunTool("PATH=/nonexistent " + tool_ + " render " + dir_ + "v.scr" + show + " --video " + dir_ + "x.mp4", out), 1);
  EXPECT_NE(out.find("--video needs the ffmpeg program, which is not installed"), std::string::npos) << out;
  EXPECT_EQ(RunTool(tool_ + " render " + dir_ + "v.scr" + show + " --video " + dir_ + "x.avi", out), 2);
}

}  // namespace
}  // namespace kx
