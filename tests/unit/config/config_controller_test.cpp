#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/config_controller.h"
#include "config/config_window.h"
#include "fake_config.h"
#include "platform/file_system.h"

namespace kx {
namespace {

using test::FakeBuilder;
using test::FakeHost;
using test::FakeWindow;
using test::FakeWorld;


// Two forms: the main window with labels bound to every action, and a thumbnail window.
const char kMainForm[] =
    "object MainWindow: TfmForm\r\n"
    "  Caption = '<ScreensaverName> by <CompanyName>'\r\n"
    "  Visible = False\r\n"
    "  OnShow = FormShow\r\n"
    "  object lblNext: TLabel\r\n    Tag = 3\r\n    Caption = 'Next'\r\n    OnMouseDown = BindResizer\r\n  end\r\n"
    "  object lblPrev: TLabel\r\n    Tag = 1\r\n  end\r\n"
    "  object lblHidden: TLabel\r\n    Tag = 2\r\n    Caption = '<ScreensaverName>'\r\n  end\r\n"
    "  object lblUrl: TLabel\r\n    Tag = 3\r\n  end\r\n"
    "  object lblThumbs: TLabel\r\n    Tag = 3\r\n  end\r\n"
    "  object lblPreview: TLabel\r\n    Tag = 3\r\n  end\r\n"
    "  object lblSetting: TLabel\r\n    Tag = 3\r\n  end\r\n"
    "  object lblWallpaper: TLabel\r\n    Tag = 3\r\n  end\r\n"
    "  object lblClose: TLabel\r\n    Tag = 3\r\n  end\r\n"
    "  object lblOdd: TLabel\r\n    Tag = 3\r\n  end\r\n"
    "  object Button1: TButton\r\n    Tag = 3\r\n  end\r\n"
    "  object Edit1: TEdit\r\n    Tag = 3\r\n    ReadOnly = True\r\n  end\r\n"
    "  object Panel1: TPanel\r\n    Tag = 3\r\n"
    "    object Panel2: TPanel\r\n      Tag = 3\r\n"
    "      object lblDeep: TLabel\r\n        Tag = 3\r\n        Caption = '<Website>'\r\n      end\r\n"
    "    end\r\n"
    "  end\r\n"
    "  object Pages: TPageControl\r\n    Tag = 3\r\n"
    "    object Sheet1: TTabSheet\r\n      Tag = 0\r\n"
    "      object lblOnPage: TLabel\r\n        Tag = 3\r\n        Caption = '<ScreensaverName>'\r\n      end\r\n"
    "    end\r\n"
    "  end\r\n"
    "  object Memo1: TMyMemo\r\n    Tag = 3\r\n    Text = 'About <ScreensaverName>'\r\n  end\r\n"
    "  object TTimer\r\n  end\r\n"
    "  object KXPreview1: TKXPreview\r\n    Tag = 3\r\n  end\r\n"
    "end\r\n";

const char kThumbForm[] =
    "object ThumbnailWindow: TForm\r\n"
    "  object Grid: TKXThumbnail2\r\n    Tag = 3\r\n    ShowCheckBox = True\r\n  end\r\n"
    "  object btnClose: TBitBtn\r\n    Tag = 3\r\n  end\r\n"
    "end\r\n";

std::string Actions(std::initializer_list<std::tuple<const char*, int, const char*>> list) {
  std::string s = std::to_string(list.size());
  for (const auto& [name, code, param] : list) s += std::string("\r\n") + name + "\r\n" + std::to_string(code) + "\r\n" + param + "\r\n \r\n ";
  return s;
}

class ConfigControllerTest : public testing::Test {
 protected:
  ConfigControllerTest() : builder_(world_), host_(world_) {
    forms_.AddForm(kMainForm, Actions({{"lblNext", 2, " "},
                                       {"lblPrev", 3, " "},
                                       {"lblUrl", 0, "<Website>?q=<ScreensaverName>"},
                                       {"lblThumbs", 1, " ThumbnailWindow "},
                                       {"lblPreview", 4, " "},
                                       {"lblSetting", 5, " "},
                                       {"lblWallpaper", 9, " "},
                                       {"lblClose", 262, " "},  // only the low 8 bits count: 6
                                       {"lblOdd", 7, " "},
                                       {"Button1", 6, " "},     // a button gets no click action
                                       {"KXPreview1", 4, " "}}));
    forms_.AddForm(kThumbForm, Actions({{"btnClose", 6, " "}}));
    project_.Setting.ProductName = "Bob's Garden";
    project_.Setting.Publisher = "Acme";
    project_.Setting.Website = "http://example.com/";
    project_.Setting.Speed = 100;
    project_.FileList.Names = {"C:\\p\\a.kxp", "C:\\p\\b.jpg", "C:\\p\\c.gif"};
  }
  ~ConfigControllerTest() override { std::filesystem::remove_all(dir_); }

  static std::string TempDir() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path d = std::filesystem::temp_directory_path() /
                                    (std::string("kx_config_") + info->name() + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(d);
    std::filesystem::create_directories(d);
    return d.string();
  }
  // The settings file's text ("" when it does not exist) and a way to lay one down.
  std::string FileText() const {
    std::ifstream in(settings_path_, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  void SetFile(const std::string& text) {
    std::ofstream(settings_path_, std::ios::binary) << text;
  }

  // Opens MainWindow; `script` runs while it is shown.
  void RunMain(std::function<void(FakeWindow&)> script, bool save_on_close = true) {
    world_.scripts["MainWindow"] = [&, script](FakeWindow& w) {
      if (script) script(w);
      main_visible_ = w.visible;
      main_index_ = w.previews[static_cast<size_t>(w.Find("KXPreview1"))];
    };
    ASSERT_TRUE(controller_.OpenDescribedForm("  MainWindow \r\n", save_on_close));
  }
  // Index of a control of the last window built (the window itself is freed by then).
  size_t Index(const std::string& name) const {
    const auto& cs = builder_.last_spec.controls;
    for (size_t i = 0; i < cs.size(); ++i)
      if (cs[i].name == name) return i;
    ADD_FAILURE() << name;
    return 0;
  }
  IniFile SettingsFile() { return IniFile::Parse(FileText()); }
  int Count(const std::string& prefix) {
    return static_cast<int>(std::count_if(world_.log.begin(), world_.log.end(),
                                          [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
  }

  FakeWorld world_;
  FakeBuilder builder_;
  FakeHost host_;
  TKXForms forms_;
  TKXCProject project_;
  std::string dir_ = TempDir();
  std::string settings_path_ = dir_ + "/Garden.ini";
  ConfigController controller_{forms_, project_, UserSettingsLocation{settings_path_, "", ""}, builder_, host_};
  std::vector<bool> main_visible_;
  std::string main_index_;
};

TEST_F(ConfigControllerTest, ShowingBindsClicksSetsVisibilityAndFillsPlaceholders) {
  RunMain([](FakeWindow& w) {
    EXPECT_TRUE(w.grid_files.empty());
    const char* clickable[] = {"lblNext", "lblDeep", "Panel1", "KXPreview1"};
    for (const char* n : clickable) EXPECT_TRUE(w.clickable[static_cast<size_t>(w.Find(n))]) << n;
    const char* not_clickable[] = {"Button1", "Edit1", "Pages", "Sheet1", "Memo1"};
    for (const char* n : not_clickable) EXPECT_FALSE(w.clickable[static_cast<size_t>(w.Find(n))]) << n;
    EXPECT_FALSE(w.read_only[static_cast<size_t>(w.Find("Edit1"))]);
  });
  const FormSpec& spec = builder_.last_spec;
  auto visible = [&](const char* name) { return static_cast<bool>(main_visible_[Index(name)]); };
  EXPECT_TRUE(visible("lblNext"));   // Tag 3
  EXPECT_TRUE(visible("lblPrev"));   // Tag 1
  EXPECT_FALSE(visible("lblHidden"));  // Tag 2
  EXPECT_TRUE(visible("Sheet1"));    // Tag 0, but pages keep their visibility
  EXPECT_EQ(world_.log.front(), "title Bob's Garden");

  // The names go in as they are: an apostrophe stays single.
  EXPECT_EQ(spec.window.caption, "Bob's Garden by Acme");
  auto caption = [&](const char* name) { return spec.controls[Index(name)].caption; };
  EXPECT_EQ(caption("lblHidden"), "Bob's Garden");
  EXPECT_EQ(caption("lblDeep"), "http://example.com/");  // inside panels
  EXPECT_EQ(caption("lblOnPage"), "<ScreensaverName>");  // on a page: left alone
  EXPECT_EQ(spec.controls[Index("Memo1")].text, "About Bob's Garden");
  // The root's Visible line and the event lines never reach the builder.
  EXPECT_EQ(spec.window.frame.border, FrameBorder::Single);
}

TEST_F(ConfigControllerTest, NextAndPreviousStopAtTheEnds) {
  struct Case {
    const char* stored_index;
    std::vector<const char*> clicks;
    const char* shown;
  };
  const Case cases[] = {
      {"0", {"lblNext"}, "C:\\p\\b.jpg"},
      {"0", {"lblPrev"}, "C:\\p\\a.kxp"},
      {"2", {"lblNext"}, "C:\\p\\c.gif"},
      {"2", {"lblNext", "lblNext", "lblPrev"}, "C:\\p\\b.jpg"},
      {"007", {}, "C:\\p\\a.kxp"},  // no picture is numbered "007"
      {"3", {}, "C:\\p\\a.kxp"},
      {"1", {"KXPreview1"}, "C:\\p\\b.jpg"},
  };
  for (const Case& c : cases) {
    SetFile(std::string("[Setting]\r\nIndex=") + c.stored_index + "\r\n");
    RunMain([&](FakeWindow& w) {
      for (const char* name : c.clicks) w.Click(name);
    });
    EXPECT_EQ(main_index_, c.shown) << c.stored_index;
  }
  EXPECT_EQ(world_.log.back(), "free MainWindow");
}

TEST_F(ConfigControllerTest, AnUnreadablePictureKeepsThePreviewAndIsReported) {
  world_.unreadable_pictures = {"C:\\p\\b.jpg"};
  std::vector<std::string> shown;
  RunMain([&](FakeWindow& w) {
    const size_t preview = static_cast<size_t>(w.Find("KXPreview1"));
    w.Click("lblNext");  // b.jpg cannot be read: a.kxp stays
    shown.push_back(w.previews[preview]);
    w.Click("lblNext");  // c.gif
    shown.push_back(w.previews[preview]);
  });
  EXPECT_EQ(shown, (std::vector<std::string>{"C:\\p\\a.kxp", "C:\\p\\c.gif"}));
  EXPECT_EQ(Count("error cannot read C:\\p\\b.jpg"), 1);
}

TEST_F(ConfigControllerTest, ClosingStoresIndexAndUncheckedPictures) {
  SetFile("[Setting]\r\nIndex=1\r\n[Files]\r\n1=\r\n9=\r\n");
  std::vector<bool> checked_at_show;
  world_.scripts["ThumbnailWindow"] = [&](FakeWindow& w) {
    checked_at_show = w.checked;
    EXPECT_EQ(w.selected_cell, (std::pair<int, int>{1, 0}));  // Index 1 in a 4-column grid
    w.ClickCell(2);                               // select picture 2 ...
    w.GridSetChecked(w.Find("Grid"), 0, false);  // ... and clear the check box of picture 0
    w.Click("btnClose");
  };
  RunMain([](FakeWindow& w) { w.Click("lblThumbs"); });
  EXPECT_EQ(checked_at_show, (std::vector<bool>{true, false, true}));
  // The thumbnail window stored its choices first, then the main window its own index,
  // leaving the grid's [Files] as it was.
  const IniFile ini = SettingsFile();
  EXPECT_EQ(ini.ReadString("Setting", "Index", "?"), "1");
  EXPECT_EQ(ini.ReadSection("Files"), (std::vector<std::string>{"0", "1"}));  // "9" is gone
  EXPECT_EQ(Count("error"), 0);
}

TEST_F(ConfigControllerTest, AWindowWithoutAGridKeepsTheUncheckedPictures) {
  SetFile("[Setting]\r\nIndex=2\r\n[Files]\r\n1=\r\n007=\r\n");
  RunMain([](FakeWindow& w) { w.Click("lblPrev"); });
  const IniFile ini = SettingsFile();
  EXPECT_EQ(ini.ReadString("Setting", "Index", "?"), "1");
  // [Files] is left exactly as stored.
  EXPECT_EQ(ini.ReadSection("Files"), (std::vector<std::string>{"1", "007"}));
}

TEST_F(ConfigControllerTest, AWindowThatDoesNotSaveWritesNothing) {
  SetFile("[Setting]\r\nIndex=2\r\n");
  world_.scripts["ThumbnailWindow"] = [](FakeWindow& w) { w.ClickCell(0); };
  ASSERT_TRUE(controller_.OpenDescribedForm("thumbnailwindow", false));
  EXPECT_EQ(FileText(), "[Setting]\r\nIndex=2\r\n");
}

TEST_F(ConfigControllerTest, AFailedWriteIsReportedWithTheFileName) {
  const std::string unwritable = dir_ + "/missing/Garden.ini";
  ConfigController controller{forms_, project_, UserSettingsLocation{unwritable, "", ""}, builder_, host_};
  world_.settings_dialog = [](SettingsDialogState&) { return true; };
  world_.scripts["MainWindow"] = [](FakeWindow& w) { w.Click("lblSetting"); };
  ASSERT_TRUE(controller.OpenDescribedForm("MainWindow", true));
  // Once for the settings dialog, once for the window's own state when it closes.
  EXPECT_EQ(Count("error The settings cannot be saved: the file \"" + unwritable + "\" cannot be written."), 2);
}

// A settings file that cannot be read is never replaced by the few keys being written.
TEST_F(ConfigControllerTest, AnUnreadableFileIsReportedAndKept) {
  const std::string path = dir_ + "/Big.ini";
  const std::string text = "[Setting]\r\nDuration=77\r\n" + std::string(kMaxUserSettingsBytes, ';');
  ASSERT_TRUE(fs::WriteFile(path, text));
  ConfigController controller{forms_, project_, UserSettingsLocation{path, "", ""}, builder_, host_};
  world_.settings_dialog = [](SettingsDialogState&) { return true; };
  world_.scripts["MainWindow"] = [](FakeWindow& w) { w.Click("lblSetting"); };
  ASSERT_TRUE(controller.OpenDescribedForm("MainWindow", true));
  EXPECT_EQ(Count("error The settings cannot be saved: the file \"" + path +
                  "\" cannot be read. Nothing was changed."), 2);
  std::string now;
  ASSERT_TRUE(fs::ReadFile(path, now));
  EXPECT_EQ(now, text);
}

TEST_F(ConfigControllerTest, WithoutAccessTheFileIsNeitherReadNorWritten) {
  world_.module_path = "C:\\Saver\\Garden.exe";
  world_.first_argument = "/s";
  SetFile("[Setting]\r\nIndex=2\r\nSpeed=0\r\n");
  RunMain([](FakeWindow& w) { w.Click("lblSetting"); });
  EXPECT_EQ(main_index_, "C:\\p\\a.kxp");
  EXPECT_EQ(FileText(), "[Setting]\r\nIndex=2\r\nSpeed=0\r\n");
  EXPECT_EQ(Count("title"), 0);
  EXPECT_EQ(Count("settings dialog ok=0"), 1);
  EXPECT_EQ(project_.Setting.Speed, 100);
}

TEST_F(ConfigControllerTest, AccessAndTitleRules) {
  struct Case {
    const char* module;
    const char* arg;
    bool access, title;
  };
  const Case cases[] = {
      {"C:\\S\\a.SCR", "", true, true},      {"C:\\S\\a.scr", "/s", true, true},
      {"C:\\S\\a.exe", "/C", true, true},    {"C:\\S\\a.exe", "/c", true, false},
      {"C:\\S\\a.exe", "/c x", false, false}, {"C:\\S.scr\\a", "", false, false},
  };
  for (const Case& c : cases) {
    world_.module_path = c.module;
    world_.first_argument = c.arg;
    world_.log.clear();
    EXPECT_EQ(controller_.SettingsAccessAllowed(), c.access) << c.module << " " << c.arg;
    controller_.OpenDescribedForm("ThumbnailWindow", false);
    EXPECT_EQ(Count("title"), c.title ? 1 : 0) << c.module << " " << c.arg;
  }
}

TEST_F(ConfigControllerTest, ActionsReachTheHost) {
  RunMain([](FakeWindow& w) {
    w.Click("lblNext");
    w.Click("lblUrl");
    w.Click("lblPreview");
    w.Click("lblOdd");
    w.Click("Button1");
    w.Click("lblClose");
  });
  EXPECT_EQ(Count("shell http://example.com/?q=Bob's Garden"), 1);  // the apostrophe stays single
  EXPECT_EQ(Count("single C:\\p\\b.jpg"), 1);
  EXPECT_EQ(Count("Close() MainWindow"), 1);  // code 262 is 6 in its low 8 bits; Button1 has no action
  EXPECT_EQ(Count("error"), 0);
}

TEST_F(ConfigControllerTest, NoPicturesMeansNoPreviewAndNoWallpaper) {
  project_.FileList.Names.clear();
  RunMain([](FakeWindow& w) {
    w.Click("lblNext");
    w.Click("lblPreview");
    w.Click("lblWallpaper");
  });
  EXPECT_EQ(Count("single"), 0);
  EXPECT_EQ(Count("ask"), 1);
  EXPECT_TRUE(world_.wallpapers.empty());
  EXPECT_EQ(SettingsFile().ReadString("Setting", "Index", "?"), "0");
}

TEST_F(ConfigControllerTest, WallpaperAsksThenWritesBesideTheExecutable) {
  world_.answer_yes = false;
  RunMain([](FakeWindow& w) { w.Click("lblWallpaper"); });
  EXPECT_EQ(Count("ask You are about to set the selected picture as wallpaper.\r\nDo you want to proceed?"), 1);
  EXPECT_TRUE(world_.wallpapers.empty());

  world_.answer_yes = true;
  RunMain([](FakeWindow& w) {
    w.Click("lblWallpaper");
    w.Click("lblNext");
    w.Click("lblWallpaper");
  });
  ASSERT_EQ(world_.wallpapers.size(), 2u);
  EXPECT_EQ(world_.wallpapers[0].second, "C:\\Saver\\Garden.scr.bmp");
  EXPECT_EQ(world_.loaded_pictures,
            (std::vector<std::string>{"C:\\p\\a.kxp (picture file)", "C:\\p\\b.jpg (general)"}));
}

TEST_F(ConfigControllerTest, SettingsDialogShowsStoredValuesAndSavesOnOk) {
  SetFile("[Setting]\r\nIndex=1\r\nSpeed=3\r\nMusic=0\r\nDuration=25\r\nMonitors=2\r\n[MusicList]\r\nC:\\m\\one.mp3=\r\n");
  SettingsDialogState seen;
  world_.settings_dialog = [&](SettingsDialogState& s) {
    seen = s;
    s.values.Speed = 12;
    s.values.CustomMusic = true;
    s.values.ImageSize = 1;
    s.values.Monitors = 3;
    s.values.MusicList = {"C:\\m\\two.mp3", "C:\\m\\three.wav"};
    s.duration_text = "30";
    return true;
  };
  RunMain([](FakeWindow& w) { w.Click("lblSetting"); });
  EXPECT_TRUE(seen.ok_enabled);
  EXPECT_EQ(seen.values.Speed, 3);
  EXPECT_FALSE(seen.values.Music);
  EXPECT_EQ(seen.values.Duration, 25);
  EXPECT_EQ(seen.values.Monitors, 2);
  EXPECT_EQ(seen.duration_text, "25");
  EXPECT_EQ(seen.values.MusicList, (std::vector<std::string>{"C:\\m\\one.mp3"}));
  // Opening the window laid the stored values over the project.
  EXPECT_EQ(project_.Setting.Speed, 45);
  EXPECT_FALSE(project_.Setting.Music);
  EXPECT_EQ(project_.Setting.Duration, 25);

  const IniFile ini = SettingsFile();
  EXPECT_EQ(ini.ReadInteger("Setting", "Speed", -1), 12);
  EXPECT_EQ(ini.ReadInteger("Setting", "Duration", -1), 30);
  EXPECT_EQ(ini.ReadInteger("Setting", "ImageSize", -1), 1);
  EXPECT_EQ(ini.ReadString("Setting", "CustomMusic", ""), "1");
  // The file holds no drawing path: the project's own (GDI, quality 0) is stored unchanged.
  EXPECT_EQ(ini.ReadString("Setting", "DirectX", ""), "0");
  EXPECT_EQ(ini.ReadInteger("Setting", "DirectXQuality", -1), 0);
  EXPECT_EQ(ini.ReadString("Setting", "ShuffleMusic", ""), "1");
  EXPECT_EQ(ini.ReadInteger("Setting", "Monitors", -1), 3);
  EXPECT_EQ(ini.ReadSection("MusicList"), (std::vector<std::string>{"C:\\m\\two.mp3", "C:\\m\\three.wav"}));
  EXPECT_EQ(ini.ReadString("Setting", "Index", "?"), "1");

  // The next window starts from the saved values.
  RunMain(nullptr);
  EXPECT_EQ(project_.Setting.Speed, 140);
  EXPECT_TRUE(project_.Setting.Stretch);
  EXPECT_FALSE(project_.Setting.Proportional);
}

TEST_F(ConfigControllerTest, SettingsDialogCancelOrBadDurationSavesNothing) {
  world_.settings_dialog = [](SettingsDialogState& s) {
    s.duration_text = "abc";
    return true;
  };
  RunMain([](FakeWindow& w) { w.Click("lblSetting"); }, false);
  EXPECT_EQ(Count("error 'abc' is not a valid integer value"), 1);
  world_.settings_dialog = [](SettingsDialogState&) { return false; };
  RunMain([](FakeWindow& w) { w.Click("lblSetting"); }, false);
  EXPECT_EQ(FileText(), "");
}

TEST_F(ConfigControllerTest, OpeningAWindowTakesOnlyTheWindowKeys) {
  // The project draws through GDI; the settings file does not mention the drawing path.
  project_.Setting.DirectX = false;
  project_.Setting.DirectXQuality = 2;
  project_.Setting.Duration = 5;
  SetFile("[Setting]\r\nDuration=40\r\nSpeed=12\r\nImageSize=0\r\nImageMode=3\r\nSound=0\r\n"
          "Music=0\r\nTransition=0\r\nDirectX=1\r\nDirectXQuality=0\r\n");
  RunMain(nullptr, false);
  const TKXCSetting& p = project_.Setting;
  EXPECT_EQ(p.Duration, 40);
  EXPECT_EQ(p.Speed, 140);
  EXPECT_FALSE(p.Stretch);
  EXPECT_EQ(p.ShowImageMode, 3);
  EXPECT_FALSE(p.Sound);
  EXPECT_FALSE(p.Music);
  EXPECT_FALSE(p.Transition);
  // Not keys of the window: the project keeps its own.
  EXPECT_FALSE(p.DirectX);
  EXPECT_EQ(p.DirectXQuality, 2);

  // Without the keys in the file, the dialog shows the project's drawing path and OK
  // stores it unchanged.
  SetFile("[Setting]\r\nIndex=0\r\n");
  SettingsDialogState seen;
  world_.settings_dialog = [&](SettingsDialogState& s) {
    seen = s;
    s.duration_text = std::to_string(s.values.Duration);
    return true;
  };
  RunMain([](FakeWindow& w) { w.Click("lblSetting"); }, false);
  EXPECT_FALSE(seen.values.DirectX);
  EXPECT_EQ(seen.values.DirectXQuality, 2);
  EXPECT_EQ(SettingsFile().ReadString("Setting", "DirectX", "?"), "0");
  EXPECT_EQ(SettingsFile().ReadInteger("Setting", "DirectXQuality", -1), 2);
  EXPECT_FALSE(project_.Setting.DirectX);
}

TEST_F(ConfigControllerTest, ASpeedOutsideTheTableFallsBackToTheResetPosition) {
  project_.Setting.Speed = 55;  // not a table value
  SettingsDialogState seen;
  world_.settings_dialog = [&](SettingsDialogState& s) {
    seen = s;
    return false;
  };
  RunMain([](FakeWindow& w) { w.Click("lblSetting"); });
  EXPECT_EQ(project_.Setting.Speed, 55);  // opening the window keeps it
  EXPECT_EQ(seen.values.Speed, 10);
  SetFile("[Setting]\r\nSpeed=21\r\n");  // outside 0..20: ignored
  RunMain(nullptr);
  EXPECT_EQ(project_.Setting.Speed, 55);
}

TEST_F(ConfigControllerTest, MissingOrBrokenFormsOpenNoWindow) {
  EXPECT_FALSE(controller_.OpenDescribedForm("Nowhere", true));
  forms_.AddForm("object Broken: TForm\r\n  object X: TLabel\r\n    Colour = 1\r\n  end\r\nend\r\n", "");
  EXPECT_FALSE(controller_.OpenDescribedForm("Broken", true));
  EXPECT_EQ(Count("open"), 0);
  EXPECT_EQ(Count("error The GUI description has no window named 'Nowhere'"), 1);
  EXPECT_EQ(Count("error Window 'Broken': line 3: class TLabel has no property 'Colour'"), 1);
  // "Show window" with a wrong name leaves the opener working.
  forms_.AddForm("object Opener: TForm\r\n  object L: TLabel\r\n  end\r\nend\r\n", Actions({{"L", 1, "Missing"}}));
  world_.scripts["Opener"] = [](FakeWindow& w) { w.Click("L"); };
  EXPECT_TRUE(controller_.OpenDescribedForm("Opener", false));
  EXPECT_EQ(Count("error The GUI description has no window named 'Missing'"), 1);
}

TEST(ConfigFrame, SixBooleansGiveTheFrame) {
  struct Case {
    bool sizeable, no_frame, max, min, buttons, maximize;
    FrameBorder border;
  };
  const Case cases[] = {
      {false, false, false, false, false, false, FrameBorder::Single},
      {true, false, true, false, true, false, FrameBorder::Sizeable},
      {true, true, false, true, false, true, FrameBorder::None},
  };
  for (const Case& c : cases) {
    WindowSpec w;
    w.sizeable = c.sizeable;
    w.no_frame = c.no_frame;
    w.maximize_button = c.max;
    w.minimize_button = c.min;
    w.show_buttons = c.buttons;
    w.maximize_on_show = c.maximize;
    const WindowFrame f = ConfigController::FrameFor(w);
    EXPECT_EQ(f.border, c.border);
    EXPECT_EQ(f.maximize_box, c.max);
    EXPECT_EQ(f.minimize_box, c.min);
    EXPECT_EQ(f.system_menu, c.buttons);
    EXPECT_EQ(f.maximized, c.maximize);
    EXPECT_TRUE(f.centered);
  }
}

}  // namespace
}  // namespace kx
