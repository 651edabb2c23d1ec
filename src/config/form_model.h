// What a built window and each of its controls look like, with every value resolved from the
// form text: the input of a FormBuilder. Positions and sizes are in the pixels of the
// description (designed at PixelsPerInch); the builder scales them to the monitor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/picture_data.h"

namespace kx {

// 32-bit colour: top byte 0 and blue, green, red from high to low (0x00BBGGRR); or a system
// colour: top byte 0xFF (or 0x80 in older descriptions) and the system colour index in the
// low byte; or one of the two special values below.
using FormColor = uint32_t;
constexpr FormColor kColorNone = 0x1FFFFFFF;
constexpr FormColor kColorDefault = 0x20000000;
constexpr FormColor SystemColor(int index) { return 0xFF000000u | static_cast<uint32_t>(index); }
constexpr bool IsSystemColor(FormColor c) { return (c >> 24) == 0xFF || (c >> 24) == 0x80; }
constexpr int SystemColorIndex(FormColor c) { return static_cast<int>(c & 0xFF); }
constexpr FormColor kColorBtnFace = SystemColor(15);
constexpr FormColor kColorWindow = SystemColor(5);
constexpr FormColor kColorWindowText = SystemColor(8);
constexpr FormColor kColorBtnText = SystemColor(18);

// Every class a form text may use.
enum class ControlClass {
  ConfigWindow, Form, Label, Image, Preview, Thumbnail, ImageButton, BitBtn, Button, CheckBox,
  Edit, Memo, Panel, PageControl, TabSheet, Shape, ClickShape, Bevel, Timer,
  // Only in the program's own windows (the settings dialog), never in a description.
  ComboBox, UpDown, TrackBar, ListView, GroupBox, OpenDialog,
};

enum class Align { None, Top, Bottom, Left, Right, Client, Custom };
enum class TextAlign { Left, Right, Center };           // taLeftJustify, taRightJustify, taCenter
enum class TextLayout { Top, Center, Bottom };          // tlTop, tlCenter, tlBottom
enum class BorderKind { None, Single };                 // bsNone, bsSingle (edit boxes)
enum class BevelCut { None, Lowered, Raised, Space };   // bvNone, bvLowered, bvRaised, bvSpace
enum class ShapeKind { Rectangle, Square, RoundRect, RoundSquare, Ellipse, Circle };
enum class BrushKind { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };
enum class PenKind { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };
enum class BevelShapeKind { Box, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer };
enum class BevelStyleKind { Lowered, Raised };
enum class TabStyleKind { Tabs, Buttons, FlatButtons };
enum class TabPositionKind { Top, Bottom, Left, Right };
enum class ScrollBarsKind { None, Horizontal, Vertical, Both };
enum class GlyphLayout { Left, Right, Top, Bottom };    // blGlyphLeft ... blGlyphBottom
// TBitBtn Kind: a standard button's caption and its Enter / Escape role.
enum class BitBtnKind { Custom, OK, Cancel, Help, Yes, No, Close, Abort, Retry, Ignore, All };

// A column of a list view in report style.
struct ListColumnSpec {
  std::string caption;
  int width = 50;
  bool auto_size = false;  // the column fills the list's width
};

struct FontSpec {
  std::string name = "MS Sans Serif";
  int height = -11;         // pixels at PixelsPerInch; negative: character height without leading
  int charset = 1;          // DEFAULT_CHARSET
  FormColor color = kColorWindowText;
  bool bold = false, italic = false, underline = false, strike_out = false;
  // Font.Size in points is stored as height = -MulDiv(size, PixelsPerInch, 72).
};

struct ControlSpec {
  ControlClass cls = ControlClass::Label;
  std::string class_name;   // as written in the description
  std::string name;
  int parent = -1;          // index of the enclosing control in FormSpec::controls; -1: the window
  int line = 0;             // line of "object" in the form text

  // Common to every class.
  int tag = 0;
  int left = 0, top = 0, width = 0, height = 0;
  bool visible = true;
  bool enabled = true;
  int cursor = 0;           // crDefault; crArrow = -2, crHandPoint = -21 ...
  std::string hint;
  bool show_hint = false;
  Align align = Align::None;
  int tab_order = -1;

  // Text and looks.
  std::string caption;                 // Caption (labels, buttons, panels, tab sheets, check boxes)
  std::string text;                    // Text (edit box, memo)
  std::vector<std::string> lines;      // Lines.Strings / Items.Strings
  FontSpec font;                       // the effective font (the parent's when ParentFont)
  bool parent_font = true;
  FormColor color = kColorBtnFace;     // the effective colour (the parent's when ParentColor)
  bool parent_color = false;
  TextAlign alignment = TextAlign::Left;  // a panel's caption is centred unless it says otherwise
  TextLayout layout = TextLayout::Top;
  bool auto_size = false;
  bool word_wrap = false;
  bool transparent = false;
  bool center = false, stretch = false;
  bool read_only = false;
  BorderKind border = BorderKind::Single;
  bool ctl3d = true;
  bool checked = false;

  // Pictures: Picture.Data (TImage, TKXPreview), the image button's four faces, Glyph.Data.
  PictureData picture, button_up, button_down, button_over, button_disable, glyph;
  int num_glyphs = 1;
  // TBitBtn: the glyph's side, the edge-to-glyph margin (-1: centred) and the glyph-to-text
  // gap (-1: shared), and the standard kind.
  GlyphLayout glyph_layout = GlyphLayout::Left;
  int margin = -1, spacing = 4;
  BitBtnKind kind = BitBtnKind::Custom;
  bool caption_set = false;  // Caption was written (a kind's own caption does not replace it)
  bool show_caption = false, allow_down = false, down = false;

  // TPanel.
  BevelCut bevel_inner = BevelCut::None, bevel_outer = BevelCut::Raised;
  int bevel_width = 1, border_width = 0;

  // TPageControl (ActivePage is the name of one of its TTabSheet children, "" for none).
  std::string active_page;
  bool hot_track = false;
  TabStyleKind tab_style = TabStyleKind::Tabs;
  TabPositionKind tab_position = TabPositionKind::Top;
  bool tab_visible = true;  // TTabSheet

  // TShape, TMyShape.
  ShapeKind shape = ShapeKind::Rectangle;
  FormColor brush_color = 0x00FFFFFF;
  BrushKind brush_style = BrushKind::Solid;
  FormColor pen_color = 0x00000000;
  int pen_width = 1;
  PenKind pen_style = PenKind::Solid;

  // TMyBevel.
  BevelShapeKind bevel_shape = BevelShapeKind::Box;
  BevelStyleKind bevel_style = BevelStyleKind::Lowered;

  // TTimer: it has no handler in a described window, so it only runs.
  bool timer_enabled = true;
  int interval = 1000;

  // TKXThumbnail2.
  int picture_width = 80, picture_height = 60;
  bool show_check_box = false, show_title = false, multi_rows = true;
  int col_count = 5, row_count = 5, default_col_width = 64, default_row_height = 24;
  ScrollBarsKind scroll_bars = ScrollBarsKind::Vertical;

  // Buttons: Enter clicks the default button, Escape the cancel button.
  bool default_button = false, cancel_button = false;

  // TEdit: at most this many characters are typed (0: no limit); the character shown for
  // every typed one (0: the text itself).
  int max_length = 0;
  char password_char = 0;
  // TCheckBox: the caption stands left of the box (Alignment = taLeftJustify).
  bool text_left = false;

  // TComboBox (Items in `lines`): the item shown, -1 for none.
  int item_index = -1;
  bool drop_down_list = false;

  // TUpDown and TTrackBar.
  int min = 0, max = 100, position = 0;
  std::string associate;     // TUpDown: the edit box it steps (a control name; "" for none)
  int associate_index = -1;  // resolved after the whole form is read
  bool ticks = true;         // TTrackBar: TickStyle other than tsNone

  // TListView.
  std::vector<ListColumnSpec> columns;
  bool report_view = false, grid_lines = false, row_select = false;

  // TOpenDialog.
  std::string filter;  // "Text|*.txt|All|*.*"
  bool hide_read_only = false, file_must_exist = false, enable_sizing = false;
};

// How the window's frame looks; derived from the six window Booleans.
enum class FrameBorder { None, Sizeable, Single };
struct WindowFrame {
  FrameBorder border = FrameBorder::Single;
  bool system_menu = false, maximize_box = false, minimize_box = false;
  bool maximized = false;
  bool centered = true;
};

struct WindowSpec {
  std::string name;
  std::string caption;
  int tag = 0;
  int left = 0, top = 0;
  int width = 339, height = 478;
  std::optional<int> client_width, client_height;  // when set, they decide the size
  FormColor color = kColorBtnFace;
  FontSpec font;
  bool key_preview = false, auto_scroll = false;
  std::string active_control;  // name of a control of the window, "" for none
  bool sizeable = false, no_frame = false, maximize_button = false, minimize_button = false,
       show_buttons = false, maximize_on_show = false;
  int pixels_per_inch = 96;
  int text_height = 13;
  WindowFrame frame;
};

// A whole window: the window and its controls in creation order (a control's parent always
// comes before it).
struct FormSpec {
  WindowSpec window;
  std::vector<ControlSpec> controls;
};

}  // namespace kx
