#include "config/settings_dialog_model.h"

#include <gtest/gtest.h>

#include "config/text_util.h"

namespace kx {
namespace {

SettingsDialogState State(std::vector<std::string> music, std::string duration = "10") {
  SettingsDialogState s;
  s.values.MusicList = std::move(music);
  s.duration_text = std::move(duration);
  return s;
}

TEST(SettingsDialog, MusicListHandlers) {
  SettingsDialogModel m(State({}));
  SettingsDialogState out = State({"stale.mp3"});
  m.Ok(out);
  EXPECT_TRUE(out.values.MusicList.empty());  // OK with an empty list leaves it empty

  SettingsDialogModel n(State({"a.mp3", "b.mp3"}));
  n.Remove();  // nothing selected
  EXPECT_EQ(n.rows.size(), 2u);
  n.Add(std::nullopt);  // cancelled
  n.Add("C:\\m\\c.wav");
  n.selected_row = 0;
  n.Remove();
  n.Ok(out);
  EXPECT_EQ(out.values.MusicList, (std::vector<std::string>{"b.mp3", "C:\\m\\c.wav"}));
}

TEST(SettingsDialog, DurationRange) {
  SettingsDialogModel m(State({}, "12"));
  m.StepDuration(-5);
  EXPECT_EQ(m.duration_text, "10");
  m.SetDurationText("998");
  m.StepDuration(5);
  EXPECT_EQ(m.duration_text, "999");
  m.SetDurationText("5");  // typed values are taken as typed
  EXPECT_EQ(m.duration_text, "5");
  m.SetDurationText("12345");
  EXPECT_EQ(m.duration_text, "123");
  m.SetDurationText("x");
  m.StepDuration(1);  // not a number: from the last position
  EXPECT_EQ(m.duration_text, "999");
}

TEST(SettingsDialog, ResetAndTable) {
  SettingsDialogState s = State({});
  s.values.Speed = 3;
  SettingsDialogModel m(s);
  m.Reset();
  EXPECT_EQ(m.values.Speed, 10);
  const DialogControl* d = SettingsDialogLayout::Find("UpDown1");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->left, 167);
  const DialogControl* mode = SettingsDialogLayout::Find("cbShowImageMode");
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->items.size(), 4u);
  // Parents come before their children.
  const auto& all = SettingsDialogLayout::Controls();
  for (size_t i = 0; i < all.size(); ++i) {
    if (!*all[i].parent) continue;
    bool seen = false;
    for (size_t j = 0; j < i; ++j) seen |= std::string(all[j].name) == all[i].parent;
    EXPECT_TRUE(seen) << all[i].name;
  }
}

TEST(MemoText, SplitAndJoin) {
  const auto lines = cfgtext::SplitLines("a\r\nb");
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(cfgtext::JoinLines(lines, true), "a\r\nb\r\n");
  EXPECT_EQ(cfgtext::SplitLines("a\rb\nc"), (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
}  // namespace kx
