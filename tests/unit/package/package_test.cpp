#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "package/package.h"
#include "package/package_writer.h"
#include "package/paths.h"
#include "test_support.h"

namespace kx {
namespace {

using test::TempDir;

TEST(Paths, NamesDerivedFromThePath) {
  EXPECT_EQ(FileNamePart("C:\\author\\pics\\a.kxp"), "a.kxp");
  EXPECT_EQ(FileNamePart("D:a.kxp"), "a.kxp");
  EXPECT_EQ(FileNamePart("dir/sub/b.wav"), "b.wav");
  EXPECT_EQ(FileNamePart("plain.mp3"), "plain.mp3");
  EXPECT_EQ(BaseNameOf("C:\\Savers\\My.Saver.scr"), "My");
  EXPECT_EQ(BaseNameOf("C:\\Savers\\Sea Views.scr"), "Sea Views");
  EXPECT_EQ(BaseNameOf("C:\\Savers\\NoDot"), "NoDot");
  EXPECT_EQ(UserSettingsPathOf("C:\\Saver\\Garden.scr"), "C:\\Saver\\Garden.ini");
  EXPECT_EQ(UserSettingsPathOf("C:\\Saver\\My.Garden.scr"), "C:\\Saver\\My.Garden.ini");
  EXPECT_EQ(UserSettingsPathOf("nodot"), ".ini");
}

TEST(Paths, UnsafeContentNamesAreRefused) {
  for (const char* bad : {"", ".", "..", "CON", "con.txt", "NUL", "Com1", "LPT9.wav", "aux",
                          "a\tb", "name.", "x*y"})
    EXPECT_FALSE(IsSafeContentName(bad)) << bad;
  for (const char* good : {"KXImage0.kxp", "music.mp3", "Console.wav", "COM10.gif", "..a", "a..b"})
    EXPECT_TRUE(IsSafeContentName(good)) << good;
}

struct Fixture {
  TempDir dir;
  std::string saver;
  std::string work;
  explicit Fixture(const PackageSource& src) {
    saver = dir.Write("Sea Views.scr", std::string(50000, 'M') + BuildPackage(src));
    work = dir / "work/";
    fs::MakeDirectory(work);
  }
};

PackageSource TwoPictures() {
  PackageSource s;
  s.fileListIni = FileListIni({"KXImage0.kxp", "KXImage1.kxp"});
  s.settingsIni = "[Default]\r\nDuration=7\r\n[Advance]\r\nPreviewFile=C:\\author\\prev.jpg\r\n";
  s.uiIni = "[UI]\r\nUIFile=C:\\author\\x.kui\r\n";
  s.files = {{"C:\\author\\KXImage0.kxp", "pic0"}, {"KXImage1.kxp", "pic1"},
             {"D:\\other\\prev.jpg", "jpeg"}, {"C:\\a\\dup.wav", "first"}, {"C:\\b\\dup.wav", "second"}};
  s.guiText = "object MainWindow: TfmKXCOnfigWindow\r\nend\r\n";
  return s;
}

// The files of the working folder on disk, by name.
std::vector<std::string> OnDisk(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Package, ExtractsLoadsAndRemoves) {
  Fixture f(TwoPictures());
  TKXCProject project;
  ASSERT_TRUE(ExtractPackage(project, f.saver, f.work).ok);
  // Every file reads from the saver's own file; none of them is copied into the folder.
  EXPECT_EQ(f.dir.Read("work/KXImage0.kxp"), "pic0");
  EXPECT_EQ(f.dir.Read("work/KXImage1.kxp"), "pic1");
  EXPECT_EQ(f.dir.Read("work/dup.wav"), "second");  // the later of two equal names wins
  EXPECT_EQ(f.dir.Read("work/KXGUI.kui"), "object MainWindow: TfmKXCOnfigWindow\r\nend\r\n");
  EXPECT_TRUE(fs::FileExists(f.work + "prev.jpg"));
  EXPECT_FALSE(fs::FileExists(f.work + "KXFiles.res"));  // the content container is never a file
  EXPECT_EQ(OnDisk(f.work), std::vector<std::string>{});
  EXPECT_EQ(project.FileList.Names, (std::vector<std::string>{f.work + "KXImage0.kxp", f.work + "KXImage1.kxp"}));
  EXPECT_EQ(project.Setting.Duration, 7);
  EXPECT_EQ(project.Setting.PreviewFile, f.work + "prev.jpg");
  EXPECT_EQ(project.UISetting.UIFile, f.work + "KXGUI.kui");
  // A file the system must open by its path is written once, and removed with the folder.
  ASSERT_TRUE(fs::EnsureOnDisk(f.work + "dup.wav"));
  EXPECT_EQ(OnDisk(f.work), std::vector<std::string>{"dup.wav"});
  // Nothing of the project container is left in a shared temporary folder.
  RemovePackage(f.work);
  EXPECT_FALSE(fs::DirectoryExists(f.work));
  EXPECT_FALSE(fs::FileExists(f.work + "KXImage0.kxp"));  // the folder is no longer mounted
}

TEST(Package, EmptyPreviewStaysEmptyAndMissingPackageFails) {
  PackageSource s = TwoPictures();
  s.settingsIni = "";
  Fixture f(s);
  TKXCProject project;
  ASSERT_TRUE(ExtractPackage(project, f.saver, f.work).ok);
  EXPECT_EQ(project.Setting.PreviewFile, "");
  RemovePackage(f.work);

  TKXCProject none;
  const std::string plain = f.dir.Write("plain.scr", std::string(3000, 'M'));
  fs::MakeDirectory(f.work);
  EXPECT_FALSE(ExtractPackage(none, plain, f.work).ok);
  EXPECT_EQ(none.FileList.Count(), 0);
}

TEST(Package, HostileContentNamesNeverLeaveTheWorkingFolder) {
  PackageSource s = TwoPictures();
  s.files = {{"..\\..\\escape.txt", "x"},   {"C:\\evil\\..", "x"}, {"sub/../../up.txt", "x"},
             {"C:\\dev\\CON", "x"},        {"", "x"},            {"KXC.res", "x"},
             {"ok.wav", "fine"}};
  Fixture f(s);
  TKXCProject project;
  ExtractResult r = ExtractPackage(project, f.saver, f.work);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(f.dir.Read("work/ok.wav"), "fine");
  for (const char* name : {"escape.txt", "up.txt", "ok.wav"}) EXPECT_TRUE(fs::EnsureOnDisk(f.work + name)) << name;
  EXPECT_EQ(OnDisk(f.work), (std::vector<std::string>{"escape.txt", "ok.wav", "up.txt"}));
  EXPECT_EQ(r.skipped.size(), 4u);  // "..", "CON", "" and the fixed name; the rest keep a plain name
  EXPECT_EQ(f.dir.Read("work/escape.txt"), "x");  // only its file-name part was used
  EXPECT_EQ(f.dir.Read("work/up.txt"), "x");
  EXPECT_EQ(project.FileList.Count(), 2);  // KXC.res was not replaced by the content file
  RemovePackage(f.work);
  EXPECT_FALSE(fs::DirectoryExists(f.work));
  EXPECT_FALSE(fs::FileExists(f.dir / "escape.txt"));
  EXPECT_TRUE(fs::FileExists(f.saver));
}

TEST(WorkFolder, TakesTheNextFreeRunNumber) {
  TempDir dir;
  WorkFolder first(dir.path(), "Sea Views", 1234567);
  EXPECT_EQ(first.Get(), dir.path() + "Sea Views4567/");
  EXPECT_EQ(first.Get(), dir.path() + "Sea Views4567/");  // stable within the process
  WorkFolder second(dir.path(), "Sea Views", 4567);
  EXPECT_EQ(second.Get(), dir.path() + "Sea Views4568/");
  WorkFolder wrap(dir.path(), "W", 9999);
  fs::MakeDirectory(dir.path() + "W9999");
  EXPECT_EQ(wrap.Get(), dir.path() + "W0/");
}

}  // namespace
}  // namespace kx
