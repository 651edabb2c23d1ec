// `kxtool pack` with a .jpeg picture: the saver shows JPEG pictures named .jpg, so the
// picture is stored as .jpg, in the file list too, and the tool says so. Runs the kxtool
// built beside this test program; skipped when it is not built.
#include <unistd.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "package/picture_fixture.h"
#include "platform/file_system.h"
#include "test_support.h"

namespace kx {
namespace {

std::string Tool() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "";
  std::string self(buf, static_cast<size_t>(n));
  return self.substr(0, self.find_last_of('/') + 1) + "kxtool";
}

std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

TEST(PackKxtoolTest, AJpegPictureIsStoredAsJpg) {
  const std::string tool = Tool();
  if (access(tool.c_str(), X_OK) != 0) GTEST_SKIP() << "kxtool is not built";
  test::TempDir dir;
  const std::vector<uint8_t> jpeg = testing::SolidJpeg(16, 12, MakePixel(200, 0, 0));
  const std::string bytes(jpeg.begin(), jpeg.end());
  dir.Write("engine.scr", "MZ an engine without a package");
  fs::MakeDirectory(dir / "src");
  fs::MakeDirectory(dir / "src/pictures");
  dir.Write("src/pictures/photo.jpeg", bytes);
  dir.Write("src/pictures/b.jpg", bytes);
  // Listed by the name the author gave it, and without a file list.
  for (const std::string list : {"[FileList]\r\nphoto.jpeg=1\r\nb.jpg=0\r\n", ""}) {
    dir.Write("src/project.ini", "[General]\r\nProductName=J\r\n" + list);
    const std::string packed = RunCommand(tool + " pack --engine '" + dir / "engine.scr" + "' --source '" + dir / "src" +
                                   "' --out '" + dir / "J.scr" + "'");
    EXPECT_NE(packed.find("photo.jpeg is stored as photo.jpg"), std::string::npos) << packed;
    const std::string shown = RunCommand(tool + " inspect '" + dir / "J.scr" + "'");
    EXPECT_NE(shown.find("photo.jpg TRUE"), std::string::npos) << shown;
    EXPECT_EQ(shown.find(".jpeg"), std::string::npos) << shown;
  }
}

}  // namespace
}  // namespace kx
