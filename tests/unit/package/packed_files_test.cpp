// The package's files read in place from the saver's own file: every read equals the bytes
// packed, truncated and hostile indexes give exactly what the extraction to files gives,
// and a file needed on disk is written once.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "media/picture_decoder.h"
#include "package/container.h"
#include "package/file_loader.h"
#include "package/package.h"
#include "package/package_writer.h"
#include "package/paths.h"
#include "picture_fixture.h"
#include "test_support.h"

namespace kx {
namespace {

using test::TempDir;

std::string Bytes(size_t n, int seed) {
  std::string s(n, '\0');
  uint32_t v = static_cast<uint32_t>(seed) * 2654435761u + 1;
  for (char& c : s) {
    v = v * 134775813u + 1;
    c = static_cast<char>(v >> 24);
  }
  return s;
}

std::vector<std::string> OnDisk(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The bytes on disk, not through the package's file layer.
std::string DiskBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string PictureBytes() {
  const std::vector<uint8_t> b = BuildPictureFile(testing::SamplePicture());
  return std::string(b.begin(), b.end());
}

PackageSource Sample() {
  PackageSource s;
  s.fileListIni = FileListIni({"KXImage0.kxp"});
  s.settingsIni = "[Default]\r\nDuration=7\r\n";
  s.uiIni = "[UI]\r\n";
  // Sizes around the copy chunks of the readers (1001 bytes, 64 KiB), an empty file, a
  // picture file and a JPEG picture.
  s.files = {{"C:\\author\\KXImage0.kxp", PictureBytes()},
             {"empty.wav", ""},
             {"one.bin", "x"},
             {"D:\\m\\block.bin", Bytes(1001, 1)},
             {"big.mp3", Bytes(65536 * 2 + 17, 2)},
             {"Photo.JPG", [] {
                const std::vector<uint8_t> j = testing::SolidJpeg(16, 8, MakePixel(10, 20, 30));
                return std::string(j.begin(), j.end());
              }()}};
  s.guiText = "object MainWindow: TfmKXCOnfigWindow\r\nend\r\n";
  return s;
}

struct Saver {
  TempDir dir;
  std::string path;
  std::string work;
  explicit Saver(const std::string& bytes) {
    path = dir.Write("Saver.scr", bytes);
    work = dir / "work/";
    fs::MakeDirectory(work);
  }
};

TEST(PackedFiles, EveryReadEqualsTheBytesPacked) {
  const PackageSource src = Sample();
  Saver s(std::string(70000, 'M') + BuildPackage(src));
  TKXCProject project;
  ASSERT_TRUE(ExtractPackage(project, s.path, s.work).ok);
  for (const auto& [line, bytes] : src.files) {
    const std::string path = s.work + FileNamePart(line);
    std::string whole;
    ASSERT_TRUE(fs::ReadFile(path, whole)) << line;
    EXPECT_EQ(whole, bytes) << line;
    // Piecewise, with seeks, never beyond the file's own bytes.
    fs::InputFile in(path);
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(in.Size(), static_cast<int64_t>(bytes.size()));
    std::string back(bytes.size() + 100, '?');
    const size_t half = bytes.size() / 2;
    ASSERT_TRUE(in.Seek(static_cast<int64_t>(half)));
    EXPECT_EQ(in.Read(back.data(), back.size()), bytes.size() - half);
    EXPECT_EQ(back.substr(0, bytes.size() - half), bytes.substr(half));
    EXPECT_EQ(in.Read(back.data(), 1), 0u);
    EXPECT_FALSE(in.Seek(static_cast<int64_t>(bytes.size()) + 1));
    std::vector<uint8_t> v;
    std::string error;
    ASSERT_TRUE(ReadWholeFile(path, v, error)) << error;
    EXPECT_EQ(std::string(v.begin(), v.end()), bytes);
  }
  // Letter case does not matter, as on Windows.
  std::string upper;
  EXPECT_TRUE(fs::ReadFile(s.work + "PHOTO.jpg", upper));
  // The readers of the engine use the same paths: a picture file, a JPEG picture, the GUI text.
  TFileLoader loader;
  ASSERT_TRUE(loader.LoadFull(project.FileList.Names[0])) << loader.Error();
  EXPECT_EQ(loader.Title, "Lake");
  Bitmap32 photo;
  std::string error;
  ASSERT_TRUE(LoadPictureFile(s.work + "Photo.JPG", photo, error)) << error;
  EXPECT_EQ(photo.Width(), 16);
  EXPECT_EQ(project.Setting.Duration, 7);
  EXPECT_EQ(OnDisk(s.work), std::vector<std::string>{});
  // Names that are not packed are plain files: missing, or on disk.
  EXPECT_FALSE(fs::FileExists(s.work + "other.txt"));
  EXPECT_FALSE(fs::FileExists(s.work + "sub/one.bin"));
  RemovePackage(s.work);
  EXPECT_FALSE(fs::DirectoryExists(s.work));
}

// The files that the extraction to disk gives for a saver: the oracle that the reads in
// place must equal, whatever the package holds.
std::map<std::string, std::string> ExtractedToDisk(const std::string& saver, const std::string& folder,
                                                   bool& namesWritten) {
  ExtractContainerParts(saver, {folder + kProjectFile, folder + kNamesFile, folder + kContentFile,
                                folder + kGuiFile});
  namesWritten = fs::FileExists(folder + kNamesFile);
  std::string names;
  fs::ReadFile(folder + kNamesFile, names);
  std::vector<std::string> targets;
  for (const std::string& line : SplitLines(names)) {
    const std::string n = FileNamePart(line);
    bool fixed = false;
    for (const char* f : {kProjectFile, kNamesFile, kContentFile, kGuiFile, kFinalFile}) fixed = fixed || EqualNoCase(n, f);
    targets.push_back(IsSafeContentName(n) && !fixed ? folder + n : "");
  }
  if (fs::FileExists(folder + kContentFile)) ExtractContainerParts(folder + kContentFile, targets);
  std::map<std::string, std::string> files;
  for (const std::string& n : OnDisk(folder)) {
    if (n == kContentFile) continue;
    fs::ReadFile(folder + n, files[n]);
  }
  return files;
}

void ExpectSameAsExtraction(const std::string& bytes, const std::string& what) {
  Saver s(bytes);
  const std::string oracle = s.dir / "oracle/";
  fs::MakeDirectory(oracle);
  bool namesWritten = false;
  const std::map<std::string, std::string> expected = ExtractedToDisk(s.path, oracle, namesWritten);
  TKXCProject project;
  const bool ok = ExtractPackage(project, s.path, s.work).ok;
  EXPECT_EQ(ok, namesWritten) << what;
  EXPECT_EQ(OnDisk(s.work), std::vector<std::string>{}) << what;
  if (ok) {
    for (const auto& [name, data] : expected) {
      std::string got;
      EXPECT_TRUE(fs::ReadFile(s.work + name, got)) << what << ": " << name;
      EXPECT_EQ(got, data) << what << ": " << name;
    }
    // And nothing more than that: every line of the name list reads or is absent alike.
    std::string names;
    fs::ReadFile(s.work + kNamesFile, names);
    for (const std::string& line : SplitLines(names)) {
      const std::string n = FileNamePart(line);
      if (!n.empty()) {
        EXPECT_EQ(fs::FileExists(s.work + n), expected.count(n) > 0) << what << ": " << line;
      }
    }
  }
  RemovePackage(s.work);
  EXPECT_FALSE(fs::DirectoryExists(s.work)) << what;
}

TEST(PackedFiles, TruncatedPackagesReadAsTheExtractionWrote) {
  PackageSource src = Sample();
  src.files.resize(4);
  src.files[3].second = Bytes(3000, 3);
  const std::string package = std::string(40, 'M') + BuildPackage(src);
  // Cut at every length through the fixed parts and the content index up to the first
  // content file's bytes, in steps through the rest.
  const std::string m = ContainerMarker();
  const size_t project = package.find(m, 41), content = package.find(m, project + 1);
  ASSERT_NE(content, std::string::npos);
  const size_t dense = content + kMarkerLength + 4 + 4 + 16;
  for (size_t cut = 0; cut <= package.size(); cut += (cut < dense ? 1 : 53))
    ExpectSameAsExtraction(package.substr(0, cut), "cut at " + std::to_string(cut));
}

TEST(PackedFiles, HostileIndexesReadAsTheExtractionWrote) {
  auto le = [](int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[static_cast<size_t>(i)] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
  };
  const std::string names = "a.bin\r\nb.bin\r\nc.bin\r\n";
  const std::string project = WriteContainer({FileListIni({"a.bin"}), "", ""});
  auto package = [&](const std::string& content, int32_t count = 4) {
    return "MZ" + ContainerMarker() + le(count) + le(static_cast<int32_t>(project.size())) + project +
           le(static_cast<int32_t>(names.size())) + names + le(static_cast<int32_t>(content.size())) + content +
           le(3) + "gui";
  };
  const std::string m = ContainerMarker();
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"content lengths past the end", package(m + le(3) + le(2) + "aa" + le(0x7fffffff) + "bbb")},
      {"negative content length", package(m + le(3) + le(-5) + le(2) + "bb" + le(1) + "c")},
      {"content count larger than the parts", package(m + le(0x7fffffff) + le(1) + "a")},
      {"negative content count", package(m + le(-1) + le(1) + "a")},
      {"no marker in the content part", package("plain bytes")},
      {"content marker cut short", package(m.substr(0, 12))},
      {"content count cut short", package(m + "\x02\0")},
      {"package count larger than the parts", package(m + le(1) + le(1) + "a", 0x7fffffff)},
      {"package of one part", package(m + le(1) + le(1) + "a", 1)},
      {"negative package count", package(m + le(1) + le(1) + "a", -4)},
      {"names length past the end",
       "MZ" + m + le(4) + le(static_cast<int32_t>(project.size())) + project + le(0x7ffffff0) + names},
  };
  for (const auto& c : cases) ExpectSameAsExtraction(c.bytes, c.what);
}

TEST(PackedFiles, AFileNeededOnDiskIsWrittenOnce) {
  const PackageSource src = Sample();
  Saver s(BuildPackage(src));
  TKXCProject project;
  ASSERT_TRUE(ExtractPackage(project, s.path, s.work).ok);
  const std::string music = s.work + "big.mp3";
  const uint64_t before = fs::PackedBytesWritten();
  ASSERT_TRUE(fs::EnsureOnDisk(music));
  EXPECT_EQ(fs::PackedBytesWritten() - before, 65536u * 2 + 17);
  EXPECT_TRUE(DiskBytes(music) == src.files[4].second);
  // Once: a second call writes nothing (what another program did to the file stays).
  fs::WriteFile(music, "changed");
  ASSERT_TRUE(fs::EnsureOnDisk(music));
  EXPECT_EQ(fs::PackedBytesWritten() - before, 65536u * 2 + 17);
  EXPECT_EQ(DiskBytes(music), "changed");
  // Reads keep coming from the saver's file.
  std::string read;
  fs::ReadFile(music, read);
  EXPECT_TRUE(read == src.files[4].second);
  // An empty file is written too; a path that names nothing packed is only looked at.
  EXPECT_TRUE(fs::EnsureOnDisk(s.work + "empty.wav"));
  EXPECT_TRUE(fs::FileExists(s.work + "empty.wav"));
  EXPECT_FALSE(fs::EnsureOnDisk(s.work + "missing.wav"));
  EXPECT_TRUE(fs::EnsureOnDisk(s.path));
  EXPECT_EQ(OnDisk(s.work), (std::vector<std::string>{"big.mp3", "empty.wav"}));
  // The clean-up removes what was written, and the folder with it.
  RemovePackage(s.work);
  EXPECT_FALSE(fs::DirectoryExists(s.work));
}

TEST(PackedFiles, AFailedWriteLeavesNoFileAndIsTriedAgain) {
  const PackageSource src = Sample();
  Saver s(BuildPackage(src));
  TKXCProject project;
  ASSERT_TRUE(ExtractPackage(project, s.path, s.work).ok);
  // The folder went away under the saver: the write fails and leaves nothing.
  std::filesystem::remove_all(s.work);
  EXPECT_FALSE(fs::EnsureOnDisk(s.work + "one.bin"));
  fs::MakeDirectory(s.work);
  EXPECT_EQ(OnDisk(s.work), std::vector<std::string>{});
  EXPECT_TRUE(fs::EnsureOnDisk(s.work + "one.bin"));
  EXPECT_EQ(DiskBytes(s.work + "one.bin"), "x");
  RemovePackage(s.work);
  EXPECT_FALSE(fs::DirectoryExists(s.work));
}

}  // namespace
}  // namespace kx
