#include <gtest/gtest.h>

#include "package/container.h"
#include "package/project.h"

namespace kx {
namespace {

std::string ProjectContainer(const std::string& files, const std::string& settings,
                             const std::string& ui, bool fourth = false) {
  std::vector<std::string> parts = {files, settings, ui};
  if (fourth) parts.push_back(WriteContainer({WriteContainer({"[Setup]\r\n", "", ""}), ""}));
  return WriteContainer(parts);
}

TEST(Project, DefaultsWhenSettingsAreMissing) {
  TKXCProject p;
  ASSERT_TRUE(p.LoadFromContainer(ProjectContainer("", "[General]\r\nPublisher=Me\r\n", "")));
  const TKXCSetting& s = p.Setting;
  EXPECT_EQ(s.ProductName, "My Screensaver");
  EXPECT_EQ(s.Publisher, "Me");
  EXPECT_EQ(s.Duration, 30);
  EXPECT_EQ(s.TransitionTime, 2000);
  EXPECT_TRUE(s.Stretch);
  EXPECT_FALSE(s.Proportional);
  EXPECT_TRUE(s.Music);
  EXPECT_EQ(s.BuildMethod, 2);
  EXPECT_TRUE(s.BuildSmallThumbs);
  ASSERT_EQ(s.TransitionEffects.substr(0, 6), "1,2,3,");
  EXPECT_EQ(s.TransitionEffects.substr(s.TransitionEffects.size() - 8), ",168,169");
  EXPECT_EQ(p.FileList.Count(), 0);
}

TEST(Project, ReadsEveryKindOfKey) {
  TKXCProject p;
  p.Setting.BuildSmallThumbs = false;
  p.Setting.CustomIcon = true;
  ASSERT_TRUE(p.LoadFromContainer(ProjectContainer(
      "[FileListHeader]\r\nHeader=1\r\n[FileList]\r\nKXImage0.kxp=1\r\nKXImage1.kxp=0\r\nKXImage2.kxp=x\r\n",
      "[default]\r\nstretch=2\r\nProportional=1\r\nDuration=abc\r\nTransitionEffects=7\r\n"
      "DirectXQuality=2\r\n[Advance]\r\nMusicFile=a.mp3;b.mp3\r\nPreviewFile=C:\\x\\p.jpg\r\n"
      "[Build]\r\nBuildSmallThumbs=0\r\n",
      "[UI]\r\nUIFile=C:\\author\\gui.kui\r\n", /*fourth=*/true)));
  EXPECT_EQ(p.FileList.Names, (std::vector<std::string>{"KXImage0.kxp", "KXImage1.kxp", "KXImage2.kxp"}));
  EXPECT_EQ(p.FileList.Flags, (std::vector<std::string>{"TRUE", "FALSE", "FALSE"}));
  EXPECT_TRUE(p.Setting.Stretch);   // any nonzero number is on
  EXPECT_TRUE(p.Setting.Proportional);
  EXPECT_EQ(p.Setting.Duration, 30);  // not a number: the default
  EXPECT_EQ(p.Setting.TransitionEffects, "7");
  EXPECT_EQ(p.Setting.DirectXQuality, 2);
  EXPECT_EQ(p.Setting.MusicFile, "a.mp3;b.mp3");
  EXPECT_FALSE(p.Setting.BuildSmallThumbs);
  EXPECT_FALSE(p.Setting.CustomIcon);  // fixed default, whatever the field held before
  EXPECT_EQ(p.UISetting.UIFile, "C:\\author\\gui.kui");
}

TEST(Project, OtherPartCountsKeepTheDefaults) {
  for (int count : {0, 2, 5}) {
    std::vector<std::string> parts(count, "[FileList]\r\na=1\r\n[Default]\r\nDuration=9\r\n");
    TKXCProject p;
    EXPECT_FALSE(p.LoadFromContainer(WriteContainer(parts))) << count;
    EXPECT_EQ(p.FileList.Count(), 0);
    EXPECT_EQ(p.Setting.Duration, 30);
  }
  TKXCProject p;
  EXPECT_FALSE(p.LoadFromFile("/nonexistent/KXC.res"));
}

}  // namespace
}  // namespace kx
