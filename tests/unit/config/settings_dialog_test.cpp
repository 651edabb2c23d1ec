#include "config/settings_dialog.h"

#include <gtest/gtest.h>

#include "config/text_util.h"
#include "fake_config.h"

namespace kx {
namespace {

using test::FakeBuilder;
using test::FakeWindow;
using test::FakeWorld;

const ControlSpec* Find(const FormSpec& spec, const std::string& name) {
  for (const ControlSpec& c : spec.controls)
    if (c.name == name) return &c;
  return nullptr;
}

TEST(SettingsDialogForm, ControlsStandWhereTheDialogPutsThem) {
  const FormSpecResult r = SettingsDialog::Spec();
  ASSERT_TRUE(r.ok) << r.error;
  const FormSpec& s = r.spec;
  EXPECT_EQ(s.window.caption, "Settings");
  EXPECT_EQ(s.window.client_width, 364);
  EXPECT_EQ(s.window.client_height, 325);
  EXPECT_EQ(s.window.font.name, "Tahoma");
  EXPECT_EQ(s.window.font.height, -11);
  EXPECT_TRUE(s.window.frame.system_menu);

  struct Place { const char* name; ControlClass cls; const char* parent; int left, top, width; };
  const Place places[] = {
      {"Button1", ControlClass::Button, "", 198, 292, 75},
      {"Button2", ControlClass::Button, "", 278, 292, 75},
      {"PageControl1", ControlClass::PageControl, "", 8, 8, 345},
      {"cbDirectX", ControlClass::CheckBox, "TabSheet1", 29, 40, 171},
      {"cbImageQuality", ControlClass::ComboBox, "TabSheet1", 141, 67, 154},
      {"txtDuration", ControlClass::Edit, "TabSheet1", 140, 157, 27},
      {"UpDown1", ControlClass::UpDown, "TabSheet1", 167, 157, 16},
      {"lblSec", ControlClass::Label, "TabSheet1", 196, 160, 39},
      {"tbSpeed", ControlClass::TrackBar, "TabSheet1", 136, 189, 162},
      {"lblMonitors", ControlClass::Label, "TabSheet1", 30, 221, 44},
      {"cbMonitors", ControlClass::ComboBox, "TabSheet1", 141, 218, 154},
      {"lstMusic", ControlClass::ListView, "TabSheet2", 7, 32, 324},
      {"Button4", ControlClass::Button, "TabSheet2", 50, 195, 49},
      {"Label3", ControlClass::Label, "GroupBox1", 237, 81, 28},
      {"cbTransition", ControlClass::CheckBox, "", 22, 341, 179},
  };
  for (const Place& p : places) {
    const ControlSpec* c = Find(s, p.name);
    ASSERT_NE(c, nullptr) << p.name;
    EXPECT_EQ(c->cls, p.cls) << p.name;
    EXPECT_EQ(c->parent < 0 ? "" : s.controls[c->parent].name, p.parent) << p.name;
    EXPECT_EQ(c->left, p.left) << p.name;
    EXPECT_EQ(c->top, p.top) << p.name;
    EXPECT_EQ(c->width, p.width) << p.name;
  }

  const ControlSpec* mode = Find(s, "cbShowImageMode");
  EXPECT_EQ(mode->lines, (std::vector<std::string>{"All images - Random", "All images - Sequential",
                                                   "User's favorite (checked images) - Random", "Single - Selected Image"}));
  EXPECT_TRUE(mode->drop_down_list);
  const ControlSpec* monitors = Find(s, "cbMonitors");
  EXPECT_EQ(monitors->lines, (std::vector<std::string>{"Primary monitor only", "Each monitor its own show",
                                                       "Same show on every monitor", "One show across all monitors"}));
  EXPECT_TRUE(monitors->drop_down_list);
  EXPECT_EQ(Find(s, "lblMonitors")->caption, "Monitors");
  EXPECT_EQ(Find(s, "cbImageQuality")->lines[1], "Normal ");
  EXPECT_EQ(Find(s, "cbImageQuality")->item_index, 1);
  const ControlSpec* updown = Find(s, "UpDown1");
  EXPECT_EQ(updown->associate_index, Find(s, "txtDuration") - s.controls.data());
  EXPECT_EQ(updown->min, 10);
  EXPECT_EQ(updown->max, 999);
  EXPECT_EQ(Find(s, "txtDuration")->max_length, 3);
  const ControlSpec* speed = Find(s, "tbSpeed");
  EXPECT_EQ(speed->min, 0);
  EXPECT_EQ(speed->max, 20);
  EXPECT_EQ(speed->position, 10);
  EXPECT_FALSE(speed->ticks);
  EXPECT_EQ(speed->cursor, -21);
  const ControlSpec* list = Find(s, "lstMusic");
  ASSERT_EQ(list->columns.size(), 1u);
  EXPECT_EQ(list->columns[0].caption, "File");
  EXPECT_TRUE(list->columns[0].auto_size && list->report_view && list->grid_lines && list->row_select && list->read_only);
  const ControlSpec* open = Find(s, "OpenDialog1");
  EXPECT_EQ(open->filter, "Music Files|*.mp3;*.wma;*.mid;*.wav");
  EXPECT_TRUE(open->hide_read_only && open->file_must_exist && open->enable_sizing);
  const ControlSpec* reset = Find(s, "Label3");
  EXPECT_EQ(reset->font.color, 0xFF0000u);
  EXPECT_TRUE(reset->font.underline);
  EXPECT_TRUE(Find(s, "cbTransition")->checked);
  EXPECT_TRUE(Find(s, "Button1")->default_button);
  EXPECT_TRUE(Find(s, "Button2")->cancel_button);
}

TEST(SettingsDialogForm, ProgramClassesAreNotForDescriptions) {
  const char text[] =
      "object W: TForm\r\n  object C: TComboBox\r\n    Style = csDropDownList\r\n  end\r\nend\r\n";
  const FormSpecResult described = FormSpecFromText(text);
  EXPECT_FALSE(described.ok);
  EXPECT_EQ(described.error, "line 2: unknown class 'TComboBox'");
  EXPECT_TRUE(FormSpecFromText(text, nullptr, FormClassSet::Program).ok);
  // An up-down pointing at a missing control points at nothing.
  const FormSpecResult lost = FormSpecFromText(
      "object W: TForm\r\n  object U: TUpDown\r\n    Associate = Gone\r\n  end\r\nend\r\n", nullptr, FormClassSet::Program);
  ASSERT_TRUE(lost.ok) << lost.error;
  EXPECT_EQ(lost.spec.controls[0].associate_index, -1);
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  SettingsDialogState State() {
    SettingsDialogState s;
    s.ok_enabled = true;
    s.values.Music = false;
    s.values.DirectXQuality = 2;
    s.values.ImageMode = 3;
    s.values.Monitors = 3;
    s.values.Speed = 4;
    s.values.MusicList = {"C:\\m\\a.mp3", "C:\\m\\b.mid"};
    s.values.Duration = 25;
    return s;
  }
  bool Run(SettingsDialogState& s, std::function<void(FakeWindow&)> script) {
    world_.scripts["fmSettingWindow"] = std::move(script);
    SettingsDialog dialog(builder_);
    return dialog.Run(s);
  }
  FakeWorld world_;
  FakeBuilder builder_{world_};
};

TEST_F(SettingsDialogTest, ShowsTheStateAndOkTakesWhatTheControlsHold) {
  SettingsDialogState s = State();
  const bool ok = Run(s, [&](FakeWindow& w) {
    EXPECT_FALSE(w.V("cbMusic").checked);
    EXPECT_TRUE(w.V("cbSound").checked);
    EXPECT_EQ(w.V("cbImageQuality").item_index, 2);
    EXPECT_EQ(w.V("cbShowImageMode").item_index, 3);
    EXPECT_EQ(w.V("cbMonitors").item_index, 3);
    EXPECT_EQ(w.V("txtDuration").text, "25");
    EXPECT_EQ(w.V("UpDown1").position, 25);
    EXPECT_EQ(w.V("tbSpeed").position, 4);
    EXPECT_EQ(w.V("lstMusic").rows, s.values.MusicList);
    EXPECT_TRUE(w.V("Button1").enabled);
    w.V("cbMusic").checked = true;
    w.V("cbTransition").checked = false;
    w.V("cbImageSize").item_index = 2;
    w.V("cbMonitors").item_index = 1;
    w.V("txtDuration").text = "5";  // typed: taken as typed, below the arrows' range
    w.V("tbSpeed").position = 17;
    world_.open_dialog_answer = "C:\\m\\c.wav";
    w.Click("Button3");
    world_.open_dialog_answer.reset();
    w.Click("Button3");  // cancelled: no row
    w.Click("Button4");  // nothing selected: nothing removed
    w.V("lstMusic").selected = 0;
    w.Click("Button4");
    w.Click("Button1");
    EXPECT_TRUE(w.closed);
  });
  ASSERT_TRUE(ok);
  EXPECT_TRUE(s.values.Music);
  EXPECT_FALSE(s.values.Transition);
  EXPECT_EQ(s.values.ImageSize, 2);
  EXPECT_EQ(s.values.ImageMode, 3);
  EXPECT_EQ(s.values.Monitors, 1);
  EXPECT_EQ(s.values.Speed, 17);
  EXPECT_EQ(s.duration_text, "5");
  EXPECT_EQ(s.values.MusicList, (std::vector<std::string>{"C:\\m\\b.mid", "C:\\m\\c.wav"}));
  EXPECT_EQ(std::count(world_.log.begin(), world_.log.end(), "open dialog Music Files|*.mp3;*.wma;*.mid;*.wav"), 2);
}

TEST_F(SettingsDialogTest, TheDurationGoesThroughTheArrows) {
  struct Case {
    int stored;
    const char* shown;
  };
  // The arrows hold 10..999; the box shows their position, and OK saves what it shows.
  const Case cases[] = {{5, "10"}, {10, "10"}, {25, "25"}, {999, "999"}, {1500, "999"}, {-3, "10"}};
  for (const Case& c : cases) {
    SettingsDialogState s = State();
    s.values.Duration = c.stored;
    ASSERT_TRUE(Run(s, [&](FakeWindow& w) {
      EXPECT_EQ(w.V("txtDuration").text, c.shown) << c.stored;
      EXPECT_EQ(w.V("UpDown1").position, std::stoi(c.shown)) << c.stored;
      w.Click("Button1");
    }));
    EXPECT_EQ(s.duration_text, c.shown) << c.stored;
  }
}

TEST_F(SettingsDialogTest, OkWithAnEmptyListEmptiesTheMusicList) {
  SettingsDialogState s = State();
  s.values.MusicList = {"C:\\m\\a.mp3"};
  ASSERT_TRUE(Run(s, [](FakeWindow& w) {
    w.V("lstMusic").selected = 0;
    w.Click("Button4");
    w.Click("Button1");
  }));
  EXPECT_TRUE(s.values.MusicList.empty());
}

TEST_F(SettingsDialogTest, CancelResetAndADisabledOk) {
  SettingsDialogState s = State();
  const SettingsDialogState before = s;
  EXPECT_FALSE(Run(s, [](FakeWindow& w) {
    w.Click("Label3");  // Reset: the speed slider back to the middle
    EXPECT_EQ(w.V("tbSpeed").position, 10);
    w.V("cbMusic").checked = true;
    w.Click("Button2");
  }));
  EXPECT_EQ(s.values.Music, before.values.Music);
  EXPECT_EQ(s.values.Speed, before.values.Speed);

  s.ok_enabled = false;  // the settings file cannot be written
  EXPECT_FALSE(Run(s, [](FakeWindow& w) {
    EXPECT_FALSE(w.V("Button1").enabled);
    w.Click("Button1");
    EXPECT_FALSE(w.closed);
  }));
  // Closing the window with its close box is a cancel.
  s.ok_enabled = true;
  EXPECT_FALSE(Run(s, [](FakeWindow&) {}));
}

TEST(MemoText, SplitAndJoin) {
  const auto lines = cfgtext::SplitLines("a\r\nb");
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(cfgtext::JoinLines(lines, true), "a\r\nb\r\n");
  EXPECT_EQ(cfgtext::SplitLines("a\rb\nc"), (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
}  // namespace kx
