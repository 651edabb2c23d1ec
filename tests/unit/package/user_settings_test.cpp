#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "package/paths.h"
#include "package/user_settings.h"
#include "test_support.h"

namespace kx {
namespace {

using test::TempDir;

TKXCProject ThreePictures() {
  TKXCProject p;
  p.FileList.Names = {"a.kxp", "b.kxp", "c.kxp"};
  p.FileList.Flags = {"TRUE", "TRUE", "TRUE"};
  p.Setting.DirectX = false;
  p.Setting.DirectXQuality = 0;
  return p;
}

TKXCProject Apply(const std::string& text) {
  TKXCProject p = ThreePictures();
  ApplyUserSettings(p, IniFile::Parse(text));
  return p;
}

TEST(UserSettings, AbsentKeysKeepTheProjectExceptDirectX) {
  TKXCProject p = Apply("[Setting]\r\n");
  EXPECT_EQ(p.Setting.Duration, 30);
  EXPECT_TRUE(p.Setting.Stretch);
  EXPECT_EQ(p.Setting.Speed, 100);
  EXPECT_TRUE(p.Setting.DirectX);          // a hand-written file turns DirectDraw on
  EXPECT_EQ(p.Setting.DirectXQuality, 1);  // at quality 1
  EXPECT_EQ(p.FileList.Flags, (std::vector<std::string>{"TRUE", "TRUE", "TRUE"}));
}

TEST(UserSettings, PictureSelectionByImageMode) {
  struct Case { const char* text; std::vector<std::string> flags; };
  const Case cases[] = {
      {"[Setting]\r\nImageMode=3\r\n", {"TRUE", "FALSE", "FALSE"}},              // no Index: first
      {"[Setting]\r\nImageMode=3\r\nIndex=002\r\n", {"FALSE", "FALSE", "TRUE"}},
      {"[Setting]\r\nImageMode=3\r\nIndex=9\r\n", {"TRUE", "FALSE", "FALSE"}},   // out of range: 0
      {"[Setting]\r\nImageMode=2\r\n[Files]\r\n", {"TRUE", "TRUE", "TRUE"}},
      {"[Setting]\r\nImageMode=2\r\n[Files]\r\n1=\r\n7=\r\nx=\r\n", {"TRUE", "FALSE", "TRUE"}},
      {"[Setting]\r\nImageMode=1\r\n[Files]\r\n1=\r\n", {"TRUE", "TRUE", "TRUE"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Apply(c.text).FileList.Flags, c.flags) << c.text;
}

TEST(UserSettings, SizeSpeedAndMusic) {
  struct Case { const char* text; bool stretch, proportional; int speed; };
  const Case cases[] = {
      {"ImageSize=0", false, false, 100}, {"ImageSize=1", true, false, 100},
      {"ImageSize=2", true, true, 100},   {"Speed=0", true, false, 10},
      {"Speed=20", true, false, 500},     {"Speed=10", true, false, 100},
      {"Speed=21", true, false, 100},     {"Speed=-7", true, false, 100},
  };
  for (const Case& c : cases) {
    TKXCProject p = Apply(std::string("[Setting]\r\n") + c.text + "\r\n");
    EXPECT_EQ(p.Setting.Stretch, c.stretch) << c.text;
    EXPECT_EQ(p.Setting.Proportional, c.proportional) << c.text;
    EXPECT_EQ(p.Setting.Speed, c.speed) << c.text;
  }
  TKXCProject m = Apply("[Setting]\r\nCustomMusic=1\r\nShuffleMusic=0\r\nMusic=1\r\n[MusicList]\r\nC:\\m\\a.mp3=\r\nb.mid=\r\n");
  EXPECT_EQ(m.Setting.MusicFile, "C:\\m\\a.mp3;b.mid");
  EXPECT_EQ(m.Setting.MusicMode, 1);
  TKXCProject e = Apply("[Setting]\r\nCustomMusic=1\r\nMusic=1\r\n");
  EXPECT_EQ(e.Setting.MusicFile, "");  // an empty list plays nothing
  EXPECT_EQ(e.Setting.MusicMode, 0);
  EXPECT_EQ(SpeedIndexOf(100), 10);
  EXPECT_EQ(SpeedIndexOf(99), -1);
}

TEST(UserSettings, WritersRoundTripAndKeepEachOthersKeys) {
  TempDir dir;
  auto where = UserSettingsLocation::For(dir / "Garden.scr", dir / "appdata/");
  EXPECT_EQ(where.besideSaver, dir / "Garden.ini");
  DialogSettings d;
  d.ImageMode = 2;
  d.Duration = 45;
  d.CustomMusic = true;
  d.MusicList = {"x.mp3", "y.mp3"};
  ASSERT_TRUE(WriteDialogSettings(where, d).ok);
  ASSERT_TRUE(WriteWindowSettings(where, 7, {1, 2}).ok);
  d.MusicList = {"z.mp3"};
  ASSERT_TRUE(WriteDialogSettings(where, d).ok);
  const IniFile ini = LoadUserSettings(where);
  EXPECT_EQ(ini.ReadString("Setting", "Index", ""), "7");
  EXPECT_EQ(ini.ReadInteger("Setting", "Duration", 0), 45);
  EXPECT_EQ(ini.ReadSection("MusicList"), (std::vector<std::string>{"z.mp3"}));
  EXPECT_EQ(ini.ReadSection("Files"), (std::vector<std::string>{"1", "2"}));
  EXPECT_FALSE(fs::FileExists(where.perUser));
}

// The choice of monitors: absent means the primary monitor only; the dialog's writer
// stores it and the show reads it back; values outside the four choices mean 0.
TEST(UserSettings, MonitorsIsReadAndWritten) {
  struct Case { const char* text; int monitors; };
  const Case cases[] = {
      {"[Setting]\r\n", 0},           {"[Setting]\r\nMonitors=1\r\n", 1},
      {"[Setting]\r\nMonitors=3\r\n", 3}, {"[Setting]\r\nMonitors=4\r\n", 0},
      {"[Setting]\r\nMonitors=-1\r\n", 0}, {"[Setting]\r\nMonitors=two\r\n", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Apply(c.text).Setting.Monitors, c.monitors) << c.text;

  TempDir dir;
  auto where = UserSettingsLocation::For(dir / "Garden.scr", "");
  DialogSettings d;
  for (int m : {2, 0}) {
    d.Monitors = m;
    ASSERT_TRUE(WriteDialogSettings(where, d).ok);
    EXPECT_EQ(LoadUserSettings(where).ReadString("Setting", "Monitors", "absent"), std::to_string(m));
    TKXCProject p = ThreePictures();
    ReadUserSettings(p, where);
    EXPECT_EQ(p.Setting.Monitors, m);
  }
}

TEST(UserSettings, IndexOnlyWriterKeepsFiles) {
  TempDir dir;
  auto where = UserSettingsLocation::For(dir / "Garden.scr", "");
  ASSERT_TRUE(WriteWindowSettings(where, 3, {4, 9}).ok);
  ASSERT_TRUE(WriteWindowIndex(where, 5).ok);
  const IniFile ini = LoadUserSettings(where);
  EXPECT_EQ(ini.ReadString("Setting", "Index", ""), "5");
  EXPECT_EQ(ini.ReadSection("Files"), (std::vector<std::string>{"4", "9"}));
}

TEST(UserSettings, ProtectedSaverFolderFallsBackToThePerUserCopy) {
  TempDir dir;
  fs::MakeDirectory(dir / "system");
  // A folder in the way of Garden.ini cannot be written, even by an administrator.
  fs::MakeDirectory(dir / "system/Garden.ini");
  auto where = UserSettingsLocation::For(dir / "system/Garden.scr", dir / "appdata/");
  WriteResult r = WriteWindowSettings(where, 2, {});
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.path, where.perUser);
  EXPECT_EQ(where.ReadPath(), where.perUser);
  ASSERT_TRUE(WriteDialogSettings(where, DialogSettings{}).ok);
  IniFile ini = LoadUserSettings(where);
  EXPECT_EQ(ini.ReadString("Setting", "Index", ""), "2");  // both writers share the copy
}

TEST(UserSettings, FailedWriteIsReported) {
  auto where = UserSettingsLocation::For("/nonexistent-dir/x/Garden.scr", "");
  EXPECT_FALSE(WriteWindowSettings(where, 0, {}).ok);
}

// A settings file that exists but cannot be read is never replaced by one that holds only
// the keys being written.
TEST(UserSettings, UnreadableFileIsNotReplaced) {
  TempDir dir;
  auto where = UserSettingsLocation::For(dir / "Garden.scr", dir / "appdata/");
  // Far larger than any settings file the saver writes: the reader refuses it.
  std::string big = "[Setting]\r\nDuration=77\r\n";
  big += std::string(kMaxUserSettingsBytes, ';');
  dir.Write("Garden.ini", big);
  WriteResult r = WriteWindowSettings(where, 4, {1});
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.unreadable);
  EXPECT_EQ(r.path, where.besideSaver);
  EXPECT_EQ(dir.Read("Garden.ini"), big);
  EXPECT_FALSE(fs::FileExists(where.perUser));
  EXPECT_FALSE(WriteDialogSettings(where, DialogSettings{}).ok);
  EXPECT_EQ(dir.Read("Garden.ini"), big);
  if (::geteuid() != 0) {  // a file without read permission (an administrator reads it anyway)
    dir.Write("Locked.ini", "[Setting]\r\nIndex=3\r\n");
    ::chmod((dir / "Locked.ini").c_str(), 0200);
    auto locked = UserSettingsLocation::For(dir / "Locked.scr", "");
    r = WriteWindowIndex(locked, 1);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.unreadable);
    ::chmod((dir / "Locked.ini").c_str(), 0600);
    EXPECT_EQ(dir.Read("Locked.ini"), "[Setting]\r\nIndex=3\r\n");
  }
}

TEST(UserSettings, PerUserCopyIsNamedAfterTheFolderToo) {
  TempDir dir;
  const std::string appdata = dir / "appdata/";
  auto a = UserSettingsLocation::For("C:\\Savers\\Garden.scr", appdata);
  auto b = UserSettingsLocation::For("C:\\Other\\Garden.scr", appdata);
  auto sameAsA = UserSettingsLocation::For("c:/savers/Garden.scr", appdata);
  EXPECT_NE(a.perUser, b.perUser);
  EXPECT_EQ(a.perUser, sameAsA.perUser);  // the file system ignores case and the separator kind
  const std::string name = FileNamePart(a.perUser);
  EXPECT_EQ(name.rfind("Garden-", 0), 0u) << name;
  EXPECT_EQ(name.size(), std::string("Garden-12345678.ini").size()) << name;
  EXPECT_EQ(a.olderPerUser, appdata + "Garden.ini");

  // Two protected savers of the same name keep their own choices.
  for (const char* f : {"one", "two"}) {
    fs::MakeDirectory(dir / f);
    fs::MakeDirectory(dir / f + "/Garden.ini");  // in the way: the folder cannot be written
  }
  auto one = UserSettingsLocation::For(dir / "one/Garden.scr", appdata);
  auto two = UserSettingsLocation::For(dir / "two/Garden.scr", appdata);
  ASSERT_TRUE(WriteWindowIndex(one, 1).ok);
  ASSERT_TRUE(WriteWindowIndex(two, 2).ok);
  EXPECT_EQ(LoadUserSettings(one).ReadString("Setting", "Index", ""), "1");
  EXPECT_EQ(LoadUserSettings(two).ReadString("Setting", "Index", ""), "2");
}

TEST(UserSettings, CopyUnderTheOlderNameIsStillRead) {
  TempDir dir;
  fs::MakeDirectory(dir / "system");
  fs::MakeDirectory(dir / "system/Garden.ini");
  fs::MakeDirectory(dir / "appdata");
  dir.Write("appdata/Garden.ini", "[Setting]\r\nDuration=77\r\nIndex=1\r\n");
  auto where = UserSettingsLocation::For(dir / "system/Garden.scr", dir / "appdata/");
  EXPECT_EQ(where.ReadPath(), where.olderPerUser);
  TKXCProject p = ThreePictures();
  ReadUserSettings(p, where);
  EXPECT_EQ(p.Setting.Duration, 77);
  // The first write moves the choices into the saver's own copy; the older one stays as it was.
  WriteResult r = WriteWindowIndex(where, 2);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.path, where.perUser);
  EXPECT_EQ(where.ReadPath(), where.perUser);
  const IniFile ini = LoadUserSettings(where);
  EXPECT_EQ(ini.ReadInteger("Setting", "Duration", 0), 77);
  EXPECT_EQ(ini.ReadString("Setting", "Index", ""), "2");
  EXPECT_EQ(dir.Read("appdata/Garden.ini"), "[Setting]\r\nDuration=77\r\nIndex=1\r\n");
}

TEST(UserSettings, FileBesideTheSaverIsUsedAgainOnceWritable) {
  TempDir dir;
  fs::MakeDirectory(dir / "system");
  fs::MakeDirectory(dir / "system/Garden.ini");
  auto where = UserSettingsLocation::For(dir / "system/Garden.scr", dir / "appdata/");
  DialogSettings d;
  d.Duration = 50;
  ASSERT_EQ(WriteDialogSettings(where, d).path, where.perUser);
  // The folder can be written again.
  fs::RemoveDirectory(dir / "system/Garden.ini");
  WriteResult r = WriteWindowIndex(where, 2);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.path, where.besideSaver);
  EXPECT_FALSE(fs::FileExists(where.perUser));
  EXPECT_EQ(where.ReadPath(), where.besideSaver);
  const IniFile ini = LoadUserSettings(where);
  EXPECT_EQ(ini.ReadInteger("Setting", "Duration", 0), 50);  // nothing of the copy is lost
  EXPECT_EQ(ini.ReadString("Setting", "Index", ""), "2");
}

}  // namespace
}  // namespace kx
