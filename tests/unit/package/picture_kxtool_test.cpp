// The authors' tool end to end: `kxtool kxp make` then `kxtool kxp dump` gives back every
// field. Runs the kxtool built beside this test program; skipped when it is not built.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "media/jpeg_codec.h"
#include "package/kxtool_runner.h"
#include "package/picture_fixture.h"

namespace kx {
namespace {

using test::RunTool;
using test::ToolPath;

void WriteBytes(const std::string& path, const std::vector<uint8_t>& b) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
}

// A 24-bit bitmap file of a mask: left half region 1 (red), right half region 6 (yellow).
std::vector<uint8_t> MaskBmp(int w, int h) {
  std::vector<uint8_t> f = {'B', 'M'};
  const int stride = (w * 3 + 3) & ~3;
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) f.push_back((v >> (8 * i)) & 255);
  };
  put32(54 + stride * h);
  put32(0);
  put32(54);
  put32(40);
  put32(w);
  put32(h);
  put32(1 | (24 << 16));
  for (int i = 0; i < 6; ++i) put32(0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool left = x < w / 2;
      f.push_back(0);                  // blue
      f.push_back(left ? 0 : 255);     // green
      f.push_back(255);                // red
    }
    for (int p = w * 3; p < stride; ++p) f.push_back(0);
  }
  return f;
}

TEST(PictureKxtoolTest, MakeThenDumpGivesBackEveryField) {
  const std::string tool = ToolPath();
  if (access(tool.c_str(), X_OK) != 0) GTEST_SKIP() << "kxtool is not built";
  const std::string dir = ::testing::TempDir() + "kxp_roundtrip_" + std::to_string(getpid()) + "/";
  ASSERT_EQ(system(("mkdir -p " + dir).c_str()), 0);
  WriteBytes(dir + "pic.jpg", testing::SolidJpeg(40, 30, MakePixel(10, 200, 30)));
  WriteBytes(dir + "mask.bmp", MaskBmp(40, 30));
  std::ofstream(dir + "anim.ini") << "[Obj0]\r\nObjType=GIF\r\nFilename=bird.gif\r\n";
  std::ofstream(dir + "settings.ini")
      << "[Picture]\nTitle=From settings\nDescription=Evening\n"
      << "[Wave2]\nAmplitude=3\nReflection=1\nPeriod=90\n"
      << "[Sound3]\nFile=wind.wav\nPlayMode=2\nMinSeconds=7\nMaxSeconds=8\n"
      << "[BuildScr]\nFilename=C:\\Out\\My Saver.scr\nMusic=1\n[BuildExe]\nSound=0\n";

  std::string out;
  const std::string make = tool + " kxp make --settings " + dir + "settings.ini --picture " + dir +
                           "pic.jpg --mask " + dir + "mask.bmp --out " + dir + "a.kxp" +
                           " --title Lake --sound-name brook.wav --weather 1,300,4,0,0,0" +
                           " --wave 1,9,18,20,3,1,0,1,180,4,1 --wave 8,1,2,3,4,0,1,0,5,6,0" +
                           " --sound 1,C:\\\\s\\\\a.wav,1,3,9 --anim-file " + dir + "anim.ini";
  ASSERT_EQ(RunTool(make, out), 0) << out;
  ASSERT_EQ(RunTool(tool + " kxp dump " + dir + "a.kxp", out), 0) << out;

  const char* expected[] = {
      "\"title\": \"Lake\"",
      "\"description\": \"Evening\"",
      "\"picture\": {\"width\": 40, \"height\": 30}",
      "\"thumbnail\": {\"width\": 40, \"height\": 30}",
      "\"region_mask\": {\"width\": 40, \"height\": 30, \"run_count\": 60, \"regions\": "
      "[{\"region\": 1, \"pixels\": 600, \"bounds\": [0, 0, 20, 30]}, "
      "{\"region\": 6, \"pixels\": 600, \"bounds\": [20, 0, 40, 30]}]}",
      "{\"amplitude\": 9, \"waves\": 18, \"wave_speed\": 20, \"mode\": 3, \"shift_columns\": 1, "
      "\"waving\": 0, \"perspective\": 1, \"byte19\": 0, \"period\": 180, \"jitter_range\": 4, "
      "\"byte28\": 0, \"reflection\": 1",
      "{\"amplitude\": 3, \"waves\": 17, \"wave_speed\": 15, \"mode\": 1, \"shift_columns\": 0, "
      "\"waving\": 1, \"perspective\": 1, \"byte19\": 0, \"period\": 90, \"jitter_range\": 0, "
      "\"byte28\": 0, \"reflection\": 1",
      "{\"amplitude\": 1, \"waves\": 2, \"wave_speed\": 3, \"mode\": 4, \"shift_columns\": 0, "
      "\"waving\": 1, \"perspective\": 0, \"byte19\": 0, \"period\": 5, \"jitter_range\": 6, "
      "\"byte28\": 0, \"reflection\": 0",
      "\"wave_values\": [20, 15, 15, 15, 15, 15, 15, 3]",
      "\"weather\": {\"kind\": 1, \"count\": 300, \"speed\": 4, \"angle\": 0, \"length\": 0, \"opacity\": 9}",
      "\"sound_name\": \"brook.wav\"",
      "{\"file\": \"C:\\\\s\\\\a.wav\", \"play_mode\": 1, \"min_seconds\": 3, \"max_seconds\": 9}",
      "{\"file\": \"brook.wav\", \"play_mode\": 0, \"min_seconds\": 0, \"max_seconds\": 0}",
      "{\"file\": \"wind.wav\", \"play_mode\": 2, \"min_seconds\": 7, \"max_seconds\": 8}",
      "\"first_free_sound_slot\": 3",
      "\"anim_text\": \"[Obj0]\\r\\nObjType=GIF\\r\\nFilename=bird.gif\\r\\n\"",
      "\"extra_info\": {\"scr_filename\": \"C:\\\\Out\\\\My Saver.scr\", \"scr_music_file\": \"\", "
      "\"scr_music\": true, \"scr_sound\": true, \"exe_filename\": \"\", \"exe_music_file\": \"\", "
      "\"exe_music\": false, \"exe_sound\": false}",
  };
  for (const char* e : expected) EXPECT_NE(out.find(e), std::string::npos) << e << "\n" << out;

  // A file the show would reject is an error.
  std::ofstream(dir + "bad.kxp") << "kx060697 and more";
  EXPECT_NE(RunTool(tool + " kxp dump " + dir + "bad.kxp", out), 0);
  EXPECT_NE(out.find("Incorrect Project File!"), std::string::npos) << out;
  EXPECT_EQ(system(("rm -rf " + dir).c_str()), 0);
}

}  // namespace
}  // namespace kx
