#include <gtest/gtest.h>

#include "package/extra_info.h"

namespace kx {
namespace {

TEST(PictureExtraInfoTest, CommaListSplitAndJoin) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  } cases[] = {
      {"[BuildScr],Filename=a.scr", {"[BuildScr]", "Filename=a.scr"}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {"\"Filename=C:\\My Saver.scr\",x", {"Filename=C:\\My Saver.scr", "x"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"a b", {"a", "b"}},  // an unquoted blank separates items too
      {"", {}},
      {"\"\"", {""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitCommaText(c.text), c.lines) << c.text;
    EXPECT_EQ(SplitCommaText(JoinCommaText(c.lines)), c.lines) << c.text;
  }
}

TEST(PictureExtraInfoTest, ReadsBothSectionsWithDefaults) {
  TExtraInfo info;
  EXPECT_FALSE(info.ScrMusic);
  EXPECT_TRUE(info.ScrSound);
  info.LoadFromText(
      "[BuildScr],\"Filename=C:\\Out\\My Saver.scr\",MusicFile=m.mp3,Music=1,Sound=0,,"
      "[BuildExe],Filename=x.exe");
  EXPECT_EQ(info.ScrFilename, "C:\\Out\\My Saver.scr");
  EXPECT_EQ(info.ScrMusicFile, "m.mp3");
  EXPECT_TRUE(info.ScrMusic);
  EXPECT_FALSE(info.ScrSound);
  EXPECT_EQ(info.ExeFilename, "x.exe");
  EXPECT_FALSE(info.ExeMusic);
  EXPECT_TRUE(info.ExeSound);

  TExtraInfo back;
  back.LoadFromText(info.ToText());
  EXPECT_EQ(back, info);
}

}  // namespace
}  // namespace kx
