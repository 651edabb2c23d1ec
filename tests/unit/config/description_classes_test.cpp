#include <gtest/gtest.h>

#include "config/description_classes.h"
#include "config/kx_forms.h"

namespace kx {
namespace {

TEST(DescriptionClasses, EveryClassFoundWhateverTheLetterCase) {
  const char* names[] = {"TfmKXCOnfigWindow", "TForm", "TLabel", "TImage", "TKXPreview", "TKXThumbnail2",
                         "TMyButton", "TBitBtn", "TButton", "TCheckBox", "TEdit", "TMyMemo", "TPanel",
                         "TPageControl", "TTabSheet", "TShape", "TMyShape", "TMyBevel", "TTimer", "TfmKXFormParent"};
  EXPECT_EQ(DescriptionClassCount(), 20);
  for (const char* n : names) EXPECT_NE(FindDescriptionClass(n), nullptr) << n;
  EXPECT_EQ(FindDescriptionClass("tfmkxconfigwindow")->cls, ControlClass::ConfigWindow);
  EXPECT_EQ(FindDescriptionClass("TSpeedButton"), nullptr);
  // The base window class carries the six window Booleans too.
  EXPECT_EQ(FindDescriptionClass("tfmkxformparent")->cls, ControlClass::ConfigWindow);
  RegisterDescriptionClasses();
  RegisterDescriptionClasses();
  EXPECT_EQ(DescriptionClassCount(), 20);
}

const char kWindowText[] =
    "object MainWindow: TfmKXConfigWindow\r\n"          // 1
    "  Left = 10\r\n"
    "  Top = 20\r\n"
    "  ClientWidth = 500\r\n"
    "  ClientHeight = 300\r\n"                           // 5
    "  Caption = '<ScreensaverName>'\r\n"
    "  Color = 16109504\r\n"
    "  Font.Charset = ANSI_CHARSET\r\n"
    "  Font.Color = clNavy\r\n"
    "  Font.Height = -13\r\n"                            // 10
    "  Font.Name = 'Verdana'\r\n"
    "  Font.Style = [fsBold]\r\n"
    "  ActiveControl = Edit1\r\n"
    "  NoFrame = True\r\n"
    "  ShowButtons = True\r\n"                           // 15
    "  SomeFutureOption = True\r\n"
    "  PixelsPerInch = 96\r\n"
    "  TextHeight = 13\r\n"
    "  object Label1: TLabel\r\n"
    "    Tag = 3\r\n"                                    // 20
    "    Left = 8\r\n"
    "    Caption = 'Next'\r\n"
    "    Alignment = taCenter\r\n"
    "    Layout = tlCenter\r\n"
    "    WordWrap = True\r\n"                            // 25
    "    Transparent = True\r\n"
    "    Cursor = crHandPoint\r\n"
    "    Font.Style = [fsUnderline]\r\n"
    "  end\r\n"
    "  object Panel1: TPanel\r\n"                        // 30
    "    Color = clWhite\r\n"
    "    BevelOuter = bvLowered\r\n"
    "    BevelInner = bvRaised\r\n"
    "    object Image1: TImage\r\n"
    "      Picture.Data = {07544269746D617000000000}\r\n"  // 35
    "      Stretch = True\r\n"
    "    end\r\n"
    "    object Label2: TLabel\r\n"
    "    end\r\n"
    "  end\r\n"                                          // 40
    "  object KXPreview1: TKXPreview\r\n"
    "    Picture.Data = {0A544A504547496D61676503000000FFD8FF}\r\n"
    "    FileText = 'ignored'\r\n"
    "  end\r\n"
    "  object PageControl1: TPageControl\r\n"            // 45
    "    ActivePage = TabSheet2\r\n"
    "    object TabSheet1: TTabSheet\r\n"
    "      Caption = 'One'\r\n"
    "    end\r\n"
    "    object TabSheet2: TTabSheet\r\n"                // 50
    "      Caption = 'Two'\r\n"
    "      object Edit1: TEdit\r\n"
    "        ReadOnly = True\r\n"
    "      end\r\n"
    "    end\r\n"                                        // 55
    "  end\r\n"
    "  object BitBtn1: TBitBtn\r\n"
    "    Glyph.Data = {03000000414243}\r\n"
    "    ParentFont = False\r\n"
    "  end\r\n"                                          // 60
    "  object Shape1: TMyShape\r\n"
    "    Shape = stEllipse\r\n"
    "    Brush.Color = $0000FF00\r\n"
    "    Pen.Width = 3\r\n"
    "  end\r\n"                                          // 65
    "  object TTimer\r\n"
    "    Interval = 250\r\n"
    "  end\r\n"
    "  object Memo1: TMyMemo\r\n"
    "    Lines.Strings = (\r\n"                          // 70
    "      'a'\r\n"
    "      'b')\r\n"
    "  end\r\n"
    "end\r\n";

TEST(FormSpecBuilder, ResolvesEveryValueOfAWindow) {
  const FormSpecResult r = FormSpecFromText(kWindowText);
  ASSERT_TRUE(r.ok) << r.error;
  const WindowSpec& w = r.spec.window;
  EXPECT_EQ(w.name, "MainWindow");
  EXPECT_EQ(w.left, 10);
  EXPECT_EQ(w.client_width, 500);
  EXPECT_EQ(w.width, 339);  // the class default; the client size decides
  EXPECT_EQ(w.caption, "<ScreensaverName>");
  EXPECT_EQ(w.color, 0x00F5CFC0u);
  EXPECT_EQ(w.font.name, "Verdana");
  EXPECT_EQ(w.font.height, -13);
  EXPECT_EQ(w.font.charset, 0);
  EXPECT_EQ(w.font.color, 0x800000u);
  EXPECT_TRUE(w.font.bold);
  EXPECT_EQ(w.active_control, "Edit1");
  EXPECT_TRUE(w.no_frame);
  EXPECT_TRUE(w.show_buttons);
  EXPECT_FALSE(w.sizeable);

  auto find = [&](const std::string& name) -> const ControlSpec& {
    for (const ControlSpec& c : r.spec.controls)
      if (c.name == name) return c;
    ADD_FAILURE() << name;
    return r.spec.controls[0];
  };
  const ControlSpec& label = find("Label1");
  EXPECT_EQ(label.cls, ControlClass::Label);
  EXPECT_EQ(label.parent, -1);
  EXPECT_EQ(label.tag, 3);
  EXPECT_EQ(label.alignment, TextAlign::Center);
  EXPECT_EQ(label.layout, TextLayout::Center);
  EXPECT_TRUE(label.word_wrap && label.transparent && label.auto_size);
  EXPECT_EQ(label.cursor, -21);
  EXPECT_EQ(label.color, 0x00F5CFC0u);  // the window's colour
  EXPECT_EQ(label.font.name, "Verdana");  // the window's font with its own style
  EXPECT_TRUE(label.font.underline);
  EXPECT_FALSE(label.parent_font);

  const ControlSpec& panel = find("Panel1");
  EXPECT_EQ(panel.bevel_outer, BevelCut::Lowered);
  EXPECT_EQ(panel.bevel_inner, BevelCut::Raised);
  const ControlSpec& label2 = find("Label2");
  EXPECT_EQ(r.spec.controls[static_cast<size_t>(label2.parent)].name, "Panel1");
  EXPECT_EQ(label2.color, 0x00FFFFFFu);  // the panel's colour
  EXPECT_TRUE(label2.parent_font);
  EXPECT_TRUE(label2.font.bold);

  const ControlSpec& image = find("Image1");
  EXPECT_EQ(image.picture.graphic_class, "TBitmap");
  EXPECT_TRUE(image.picture.Empty());
  EXPECT_TRUE(image.stretch);
  const ControlSpec& preview = find("KXPreview1");
  EXPECT_EQ(preview.picture.graphic_class, "TJPEGImage");
  EXPECT_EQ(preview.picture.bytes, (std::vector<uint8_t>{0xFF, 0xD8, 0xFF}));

  const ControlSpec& pages = find("PageControl1");
  EXPECT_EQ(pages.active_page, "TabSheet2");
  EXPECT_EQ(find("Edit1").read_only, true);
  EXPECT_EQ(find("Edit1").color, kColorWindow);
  const ControlSpec& bitbtn = find("BitBtn1");
  EXPECT_EQ(bitbtn.glyph.graphic_class, "TBitmap");
  EXPECT_EQ(bitbtn.glyph.bytes, (std::vector<uint8_t>{'A', 'B', 'C'}));
  const ControlSpec& shape = find("Shape1");
  EXPECT_EQ(shape.shape, ShapeKind::Ellipse);
  EXPECT_EQ(shape.brush_color, 0x0000FF00u);
  EXPECT_EQ(shape.pen_width, 3);
  const ControlSpec& timer = r.spec.controls[r.spec.controls.size() - 2];
  EXPECT_EQ(timer.cls, ControlClass::Timer);
  EXPECT_EQ(timer.interval, 250);
  EXPECT_EQ(find("Memo1").text, "a\r\nb\r\n");
  // Parents come before their children.
  for (size_t i = 0; i < r.spec.controls.size(); ++i) EXPECT_LT(r.spec.controls[i].parent, static_cast<int>(i));
}

TEST(FormSpecBuilder, ReferencesToMissingComponentsAreLeftUnset) {
  const FormSpecResult r = FormSpecFromText(
      "object W: TfmKXConfigWindow\r\n  ActiveControl = Nowhere\r\n"
      "  object P: TPageControl\r\n    ActivePage = Label1\r\n  end\r\n"
      "  object Label1: TLabel\r\n  end\r\nend\r\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.spec.window.active_control, "");
  EXPECT_EQ(r.spec.controls[0].active_page, "");  // not one of its pages
}

TEST(FormSpecBuilder, DesignerNotationBuildsTheSameWindow) {
  // A derived form as a designer writes it: inherited objects with creation indexes, and
  // references into another form, which stay unresolved like any missing component.
  TKXForm form;
  form.Text = {"inherited MainWindow: TMainWindow",
               "  ActiveControl = OtherForm.Button1",
               "  inherited Label1: TLabel [0]",
               "    Caption = 'Next'",
               "    FocusControl = OtherForm.Edit1",
               "  end",
               "  object Pages: TPageControl [1]",
               "    ActivePage = Sheet1",
               "    Images = MainForm.ImageList1",
               "    object Sheet1: TTabSheet",
               "    end",
               "  end",
               "  inline Panel1: TPanel",
               "  end",
               "end"};
  const FormSpecResult r = FormSpecFromText(PrepareFormText(form));
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.spec.window.name, "MainWindow");
  EXPECT_EQ(r.spec.window.active_control, "");
  ASSERT_EQ(r.spec.controls.size(), 4u);
  EXPECT_EQ(r.spec.controls[0].caption, "Next");
  EXPECT_EQ(r.spec.controls[1].active_page, "Sheet1");
  EXPECT_EQ(r.spec.controls[3].cls, ControlClass::Panel);
  // Unknown classes and properties stay errors in this notation too.
  EXPECT_EQ(FormSpecFromText("inherited W: TfmKXConfigWindow\r\n  inherited A: TSpeedButton [0]\r\n  end\r\nend\r\n").error,
            "line 2: unknown class 'TSpeedButton'");
  EXPECT_EQ(FormSpecFromText("object W: TfmKXConfigWindow\r\n  object A: TLabel\r\n    Bogus = A.B\r\n  end\r\nend\r\n").error,
            "line 3: class TLabel has no property 'Bogus'");
}

TEST(FormSpecBuilder, ButtonsEditsCheckBoxesAndPanels) {
  const FormSpecResult r = FormSpecFromText(
      "object W: TfmKXConfigWindow\r\n"
      "  object Ok: TBitBtn\r\n    Kind = bkOK\r\n    Layout = blGlyphRight\r\n    Margin = 6\r\n    Spacing = -1\r\n  end\r\n"
      "  object Quit: TBitBtn\r\n    Caption = 'Leave'\r\n    Kind = bkCancel\r\n  end\r\n"
      "  object Plain: TBitBtn\r\n  end\r\n"
      "  object Pwd: TEdit\r\n    PasswordChar = '*'\r\n  end\r\n"
      "  object Box: TCheckBox\r\n    Alignment = taLeftJustify\r\n  end\r\n"
      "  object Box2: TCheckBox\r\n  end\r\n"
      "  object P1: TPanel\r\n  end\r\n"
      "  object P2: TPanel\r\n    Alignment = taLeftJustify\r\n  end\r\n"
      "end\r\n");
  ASSERT_TRUE(r.ok) << r.error;
  const auto& c = r.spec.controls;
  ASSERT_EQ(c.size(), 8u);
  EXPECT_EQ(c[0].kind, BitBtnKind::OK);
  EXPECT_EQ(c[0].caption, "OK");          // the kind's caption when none is written
  EXPECT_TRUE(c[0].default_button);
  EXPECT_EQ(c[0].glyph_layout, GlyphLayout::Right);
  EXPECT_EQ(c[0].margin, 6);
  EXPECT_EQ(c[0].spacing, -1);
  EXPECT_EQ(c[1].caption, "Leave");       // a written caption stays
  EXPECT_TRUE(c[1].cancel_button);
  EXPECT_EQ(c[2].caption, "");
  EXPECT_EQ(c[2].margin, -1);
  EXPECT_EQ(c[2].spacing, 4);
  EXPECT_EQ(c[3].password_char, '*');
  EXPECT_TRUE(c[4].text_left);
  EXPECT_FALSE(c[5].text_left);
  EXPECT_EQ(c[6].alignment, TextAlign::Center);  // a panel centres its caption by default
  EXPECT_EQ(c[7].alignment, TextAlign::Left);
  EXPECT_EQ(FormSpecFromText("object W: TfmKXConfigWindow\r\n  object B: TBitBtn\r\n    Kind = bkMaybe\r\n  end\r\nend\r\n").error,
            "line 3: 'bkMaybe' is not a value of property 'Kind'");
}

TEST(FormSpecBuilder, ErrorsNameTheLine) {
  struct Case {
    const char* body;  // placed inside "object W: TfmKXConfigWindow" ... "end", from line 2
    const char* error;
  };
  const Case cases[] = {
      {"  object A: TSpeedButton\r\n  end\r\n", "line 2: unknown class 'TSpeedButton'"},
      {"  Colour = clRed\r\n", "line 2: class TfmKXConfigWindow has no property 'Colour'"},
      {"  object A: TLabel\r\n    Interval = 3\r\n  end\r\n", "line 3: class TLabel has no property 'Interval'"},
      {"  object A: TLabel\r\n    SomeFlag = True\r\n  end\r\n", "line 3: class TLabel has no property 'SomeFlag'"},
      {"  Left = 'ten'\r\n", "line 2: property 'Left' expects an integer, found a string"},
      {"  KeyPreview = 1\r\n", "line 2: property 'KeyPreview' expects True or False"},
      {"  Color = clPink\r\n", "line 2: unknown colour 'clPink'"},
      {"  Cursor = crFinger\r\n", "line 2: unknown cursor 'crFinger'"},
      {"  Font.Charset = KLINGON_CHARSET\r\n", "line 2: unknown character set"},
      {"  Font.Style = [fsShadow]\r\n", "line 2: 'fsShadow' is not a font style"},
      {"  object A: TLabel\r\n    Alignment = alClient\r\n  end\r\n", "line 3: 'alClient' is not a value of property 'Alignment'"},
      {"  object A: TImage\r\n    Picture.Data = {07544269746D617005000000}\r\n  end\r\n", "line 3: property 'Picture.Data': picture data length 5 exceeds"},
      {"  object A: TImage\r\n    Picture.Data = {09544269}\r\n  end\r\n", "line 3: property 'Picture.Data': picture data too short"},
      {"  object A: TLabel\r\n    object B: TLabel\r\n    end\r\n  end\r\n", "line 3: a TLabel cannot hold TLabel"},
      {"  object A: TTabSheet\r\n  end\r\n", "line 2: a TTabSheet must stand in a TPageControl"},
      {"  object A: TPageControl\r\n    object B: TLabel\r\n    end\r\n  end\r\n", "line 3: a TPageControl holds only TTabSheet pages"},
      {"  object A: TLabel\r\n  end\r\n  object a: TLabel\r\n  end\r\n", "line 4: a component named 'a' already exists"},
      {"  object A: TfmKXCOnfigWindow\r\n  end\r\n", "line 2: a TfmKXCOnfigWindow cannot stand inside another window"},
      {"  object A: TMyMemo\r\n    Lines.Strings = (1)\r\n  end\r\n", "line 3: property 'Lines.Strings' expects a list of strings"},
  };
  for (const Case& c : cases) {
    const std::string text = std::string("object W: TfmKXConfigWindow\r\n") + c.body + "end\r\n";
    const FormSpecResult r = FormSpecFromText(text);
    EXPECT_FALSE(r.ok) << c.body;
    EXPECT_EQ(r.error.rfind(c.error, 0), 0u) << c.body << "\n  got: " << r.error;
  }
  EXPECT_FALSE(FormSpecFromText("object W: TLabel\r\nend\r\n").ok);
}

TEST(FormSpecBuilder, ErrorLinesAreThoseOfTheDescription) {
  TKXForm form;
  form.Text = {"object MainWindow: TfmForm", "  OnShow = FormShow", "  OnClose = FormClose",
               "  object A: TLabel", "    Bogus = 1", "  end", "end"};
  std::vector<int> map;
  const std::string text = PrepareFormText(form, &map);
  const FormSpecResult r = FormSpecFromText(text, &map);
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(r.error_line, 5);
  EXPECT_EQ(r.error, "line 5: class TLabel has no property 'Bogus'");
}

}  // namespace
}  // namespace kx
