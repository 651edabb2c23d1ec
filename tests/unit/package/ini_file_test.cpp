#include <gtest/gtest.h>

#include "package/ini_file.h"

namespace kx {
namespace {

TEST(IniFile, ReadsWithTheWindowsProfileRules) {
  const IniFile ini = IniFile::Parse(
      "; comment\r\n"
      "[General]\r\n"
      "  Name =  Sea Views  \r\n"
      "name=second wins not\r\n"
      "Quoted=\"a b\"\r\n"
      "[default]\r\n"
      "Duration=12\r\n"
      "Hex=$1F\r\n"
      "Hex2=0x10\r\n"
      "Bad=12abc\r\n"
      "Empty=\r\n"
      "Neg=-5\r\n"
      "[General]\r\n"
      "Late=1\r\n");
  EXPECT_EQ(ini.ReadString("GENERAL", "NAME", "d"), "Sea Views");
  EXPECT_EQ(ini.ReadString("General", "Quoted", "d"), "a b");
  EXPECT_EQ(ini.ReadString("General", "Late", "d"), "d");  // first section of a name wins
  EXPECT_EQ(ini.ReadString("General", "Missing", "d"), "d");
  struct { const char* key; int want; } ints[] = {
      {"Duration", 12}, {"Hex", 31}, {"Hex2", 16}, {"Bad", 7}, {"Empty", 7}, {"Neg", -5}, {"None", 7}};
  for (auto& c : ints) EXPECT_EQ(ini.ReadInteger("Default", c.key, 7), c.want) << c.key;
  EXPECT_TRUE(ini.ReadBool("Default", "Duration", false));
  EXPECT_FALSE(ini.ReadBool("Default", "Bad", false));
  EXPECT_EQ(ini.ReadSection("general"), (std::vector<std::string>{"Name", "Quoted"}));
  EXPECT_TRUE(ini.ReadSection("nothing").empty());
}

TEST(IniFile, WritesKeepOtherLinesAndEraseWholeSections) {
  IniFile ini = IniFile::Parse("[Setting]\r\nDuration=5\r\n\r\n[Files]\r\n1=\r\n[Other]\r\nK=V\r\n");
  ini.WriteInteger("setting", "duration", 30);
  ini.WriteBool("Setting", "Sound", false);
  ini.EraseSection("FILES");
  ini.WriteString("Files", "3", "");
  EXPECT_EQ(ini.ToText(), "[Setting]\r\nDuration=30\r\nSound=0\r\n\r\n[Other]\r\nK=V\r\n[Files]\r\n3=\r\n");
}

}  // namespace
}  // namespace kx
