#include "config/description_classes.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <span>

#include "config/form_names.h"
#include "config/form_text_reader.h"
#include "config/text_util.h"
#include "media/intmath.h"
#include "package/paths.h"

namespace kx {
namespace {

constexpr DescriptionClass kClasses[] = {
    {"TfmKXCOnfigWindow", ControlClass::ConfigWindow, 339, 478, true},
    {"TForm", ControlClass::Form, 339, 478, true},
    // The base window class: the same six window Booleans as the configuration window.
    {"TfmKXFormParent", ControlClass::ConfigWindow, 339, 478, true},
    {"TLabel", ControlClass::Label, 65, 17, false},
    {"TImage", ControlClass::Image, 105, 105, false},
    {"TKXPreview", ControlClass::Preview, 105, 105, false},
    {"TKXThumbnail2", ControlClass::Thumbnail, 350, 250, false},
    {"TMyButton", ControlClass::ImageButton, 75, 25, false},
    {"TBitBtn", ControlClass::BitBtn, 75, 25, false},
    {"TButton", ControlClass::Button, 75, 25, false},
    {"TCheckBox", ControlClass::CheckBox, 97, 17, false},
    {"TEdit", ControlClass::Edit, 121, 21, false},
    {"TMyMemo", ControlClass::Memo, 185, 89, false},
    {"TPanel", ControlClass::Panel, 185, 41, true},
    {"TPageControl", ControlClass::PageControl, 289, 193, true},
    {"TTabSheet", ControlClass::TabSheet, 281, 165, true},
    {"TShape", ControlClass::Shape, 65, 65, false},
    {"TMyShape", ControlClass::ClickShape, 65, 65, false},
    {"TMyBevel", ControlClass::Bevel, 50, 50, false},
    {"TTimer", ControlClass::Timer, 0, 0, false},
};
static_assert(std::size(kClasses) == 20, "a form text may use twenty classes");

// The further classes of the program's own windows. A description cannot use them.
constexpr DescriptionClass kProgramClasses[] = {
    {"TfmSettingWindow", ControlClass::Form, 339, 478, true},
    {"TComboBox", ControlClass::ComboBox, 145, 21, false},
    {"TUpDown", ControlClass::UpDown, 16, 24, false},
    {"TTrackBar", ControlClass::TrackBar, 150, 45, false},
    {"TListView", ControlClass::ListView, 250, 150, false},
    {"TGroupBox", ControlClass::GroupBox, 185, 105, true},
    {"TOpenDialog", ControlClass::OpenDialog, 0, 0, false},
};

// ---- value kinds a property accepts -------------------------------------------------------

enum class PType { Int, Bool, Str, Color, Cursor, Charset, Enum, FontStyle, Picture, Bitmap, Strings, Ref, Real, Set, Columns, Any };

struct Val {
  int64_t i = 0;
  bool b = false;
  std::string s;
  FormColor color = 0;
  int index = 0;  // Enum
  std::vector<std::string> strs;
  PictureData pic;
  int style = 0;  // FontStyle bits: 1 bold, 2 italic, 4 underline, 8 strike out
  std::vector<ListColumnSpec> columns;
};

struct Target {
  ControlSpec& c;
  WindowSpec* w;             // the window, for window properties
  const ControlSpec& parent; // the enclosing control (the window's look for top-level controls)
};

using ApplyFn = void (*)(Target&, const Val&);

struct PropDef {
  const char* name;  // "Font.*" matches every path starting with "Font."
  PType type;
  ApplyFn apply;     // nullptr: accepted without effect
  const char* const* names = nullptr;  // Enum
  int name_count = 0;
};

#define ENUM(arr) arr, static_cast<int>(std::size(arr))

constexpr const char* kAlignNames[] = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"};
constexpr const char* kTextAlignNames[] = {"taLeftJustify", "taRightJustify", "taCenter"};
constexpr const char* kLayoutNames[] = {"tlTop", "tlCenter", "tlBottom"};
constexpr const char* kBorderNames[] = {"bsNone", "bsSingle"};
constexpr const char* kBevelCutNames[] = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
constexpr const char* kShapeNames[] = {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle"};
constexpr const char* kBrushNames[] = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};
constexpr const char* kPenNames[] = {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"};
constexpr const char* kBevelShapeNames[] = {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"};
constexpr const char* kBevelStyleNames[] = {"bsLowered", "bsRaised"};
constexpr const char* kTabStyleNames[] = {"tsTabs", "tsButtons", "tsFlatButtons"};
constexpr const char* kTabPositionNames[] = {"tpTop", "tpBottom", "tpLeft", "tpRight"};
constexpr const char* kScrollBarNames[] = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
constexpr const char* kGlyphLayoutNames[] = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};
constexpr const char* kBitBtnKindNames[] = {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo",
                                            "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"};
constexpr const char* kLeftRightNames[] = {"taLeftJustify", "taRightJustify"};

int Clamp32(int64_t v) { return static_cast<int>(v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : v); }

// ---- property groups -----------------------------------------------------------------------

const PropDef kCommon[] = {
    {"Tag", PType::Int, [](Target& t, const Val& v) { t.c.tag = static_cast<int>(static_cast<uint32_t>(v.i)); }},
    {"Left", PType::Int, [](Target& t, const Val& v) { t.c.left = Clamp32(v.i); }},
    {"Top", PType::Int, [](Target& t, const Val& v) { t.c.top = Clamp32(v.i); }},
    {"Width", PType::Int, [](Target& t, const Val& v) { t.c.width = Clamp32(v.i); }},
    {"Height", PType::Int, [](Target& t, const Val& v) { t.c.height = Clamp32(v.i); }},
    {"Cursor", PType::Cursor, [](Target& t, const Val& v) { t.c.cursor = Clamp32(v.i); }},
    {"Hint", PType::Str, [](Target& t, const Val& v) { t.c.hint = v.s; }},
    {"ShowHint", PType::Bool, [](Target& t, const Val& v) { t.c.show_hint = v.b; }},
    {"ParentShowHint", PType::Bool, nullptr},
    {"Align", PType::Enum, [](Target& t, const Val& v) { t.c.align = static_cast<Align>(v.index); }, ENUM(kAlignNames)},
    {"Visible", PType::Bool, [](Target& t, const Val& v) { t.c.visible = v.b; }},
    {"Enabled", PType::Bool, [](Target& t, const Val& v) { t.c.enabled = v.b; }},
    {"TabOrder", PType::Int, [](Target& t, const Val& v) { t.c.tab_order = Clamp32(v.i); }},
    {"TabStop", PType::Bool, nullptr},
    {"Anchors", PType::Any, nullptr},
    {"Constraints.*", PType::Any, nullptr},
    {"Margins.*", PType::Any, nullptr},
    {"AlignWithMargins", PType::Bool, nullptr},
    {"ExplicitLeft", PType::Int, nullptr},
    {"ExplicitTop", PType::Int, nullptr},
    {"ExplicitWidth", PType::Int, nullptr},
    {"ExplicitHeight", PType::Int, nullptr},
    {"DragCursor", PType::Cursor, nullptr},
    {"DragKind", PType::Any, nullptr},
    {"DragMode", PType::Any, nullptr},
    {"HelpContext", PType::Int, nullptr},
    {"HelpType", PType::Any, nullptr},
    {"HelpKeyword", PType::Str, nullptr},
    {"BiDiMode", PType::Any, nullptr},
    {"ParentBiDiMode", PType::Bool, nullptr},
    {"PopupMenu", PType::Any, nullptr},
};

const PropDef kFont[] = {
    {"Font.Charset", PType::Charset, [](Target& t, const Val& v) { t.c.font.charset = Clamp32(v.i); t.c.parent_font = false; }},
    {"Font.Color", PType::Color, [](Target& t, const Val& v) { t.c.font.color = v.color; t.c.parent_font = false; }},
    {"Font.Height", PType::Int, [](Target& t, const Val& v) { t.c.font.height = Clamp32(v.i); t.c.parent_font = false; }},
    {"Font.Size", PType::Int, [](Target& t, const Val& v) { t.c.font.height = -MulDiv(Clamp32(v.i), 96, 72); t.c.parent_font = false; }},
    {"Font.Name", PType::Str, [](Target& t, const Val& v) { t.c.font.name = v.s; t.c.parent_font = false; }},
    {"Font.Style", PType::FontStyle, [](Target& t, const Val& v) {
       t.c.font.bold = v.style & 1; t.c.font.italic = v.style & 2;
       t.c.font.underline = v.style & 4; t.c.font.strike_out = v.style & 8; t.c.parent_font = false; }},
    {"Font.Pitch", PType::Any, nullptr},
    {"Font.Quality", PType::Any, nullptr},
    {"ParentFont", PType::Bool, [](Target& t, const Val& v) {
       t.c.parent_font = v.b; if (v.b) t.c.font = t.parent.font; }},
};

const PropDef kColor[] = {
    {"Color", PType::Color, [](Target& t, const Val& v) { t.c.color = v.color; t.c.parent_color = false; }},
    {"ParentColor", PType::Bool, [](Target& t, const Val& v) {
       t.c.parent_color = v.b; if (v.b) t.c.color = t.parent.color; }},
};

const PropDef kCaption[] = {
    {"Caption", PType::Str, [](Target& t, const Val& v) { t.c.caption = v.s; t.c.caption_set = true; }},
};

const PropDef kCtl3D[] = {
    {"Ctl3D", PType::Bool, [](Target& t, const Val& v) { t.c.ctl3d = v.b; }},
    {"ParentCtl3D", PType::Bool, nullptr},
    // Border settings are taken out of a form text before it is read; written by hand they
    // are still understood.
    {"BorderStyle", PType::Enum, [](Target& t, const Val& v) { t.c.border = static_cast<BorderKind>(v.index); }, ENUM(kBorderNames)},
};

const PropDef kWindow[] = {
    {"ClientWidth", PType::Int, [](Target& t, const Val& v) { t.w->client_width = Clamp32(v.i); }},
    {"ClientHeight", PType::Int, [](Target& t, const Val& v) { t.w->client_height = Clamp32(v.i); }},
    {"KeyPreview", PType::Bool, [](Target& t, const Val& v) { t.w->key_preview = v.b; }},
    {"AutoScroll", PType::Bool, [](Target& t, const Val& v) { t.w->auto_scroll = v.b; }},
    {"ActiveControl", PType::Ref, [](Target& t, const Val& v) { t.w->active_control = v.s; }},
    {"PixelsPerInch", PType::Int, [](Target& t, const Val& v) { t.w->pixels_per_inch = Clamp32(v.i); }},
    {"TextHeight", PType::Int, [](Target& t, const Val& v) { t.w->text_height = Clamp32(v.i); }},
    {"OldCreateOrder", PType::Bool, nullptr},
    {"Position", PType::Any, nullptr},
    {"WindowState", PType::Any, nullptr},
    {"Scaled", PType::Bool, nullptr},
    {"Icon.Data", PType::Any, nullptr},
    {"HorzScrollBar.*", PType::Any, nullptr},
    {"VertScrollBar.*", PType::Any, nullptr},
    {"Padding.*", PType::Any, nullptr},
    {"AlphaBlend", PType::Bool, nullptr},
    {"AlphaBlendValue", PType::Int, nullptr},
    {"TransparentColor", PType::Bool, nullptr},
    {"TransparentColorValue", PType::Color, nullptr},
    {"DefaultMonitor", PType::Any, nullptr},
    {"Menu", PType::Any, nullptr},
    {"Ctl3D", PType::Bool, nullptr},
    {"HelpFile", PType::Str, nullptr},
    {"PrintScale", PType::Any, nullptr},
    {"DesignSize", PType::Any, nullptr},
    {"BorderIcons", PType::Any, nullptr},
    {"BorderStyle", PType::Any, nullptr},
    {"FormStyle", PType::Any, nullptr},
};

const PropDef kWindowBooleans[] = {
    {"Sizeable", PType::Bool, [](Target& t, const Val& v) { t.w->sizeable = v.b; }},
    {"NoFrame", PType::Bool, [](Target& t, const Val& v) { t.w->no_frame = v.b; }},
    {"MaximizeButton", PType::Bool, [](Target& t, const Val& v) { t.w->maximize_button = v.b; }},
    {"MinimizeButton", PType::Bool, [](Target& t, const Val& v) { t.w->minimize_button = v.b; }},
    {"ShowButtons", PType::Bool, [](Target& t, const Val& v) { t.w->show_buttons = v.b; }},
    {"MaximizeOnShow", PType::Bool, [](Target& t, const Val& v) { t.w->maximize_on_show = v.b; }},
};

const PropDef kLabel[] = {
    {"Alignment", PType::Enum, [](Target& t, const Val& v) { t.c.alignment = static_cast<TextAlign>(v.index); }, ENUM(kTextAlignNames)},
    {"AutoSize", PType::Bool, [](Target& t, const Val& v) { t.c.auto_size = v.b; }},
    {"WordWrap", PType::Bool, [](Target& t, const Val& v) { t.c.word_wrap = v.b; }},
    {"Transparent", PType::Bool, [](Target& t, const Val& v) { t.c.transparent = v.b; }},
    {"Layout", PType::Enum, [](Target& t, const Val& v) { t.c.layout = static_cast<TextLayout>(v.index); }, ENUM(kLayoutNames)},
    {"ShowAccelChar", PType::Bool, nullptr},
    {"FocusControl", PType::Any, nullptr},
};

const PropDef kImage[] = {
    {"Picture.Data", PType::Picture, [](Target& t, const Val& v) { t.c.picture = v.pic; }},
    {"AutoSize", PType::Bool, [](Target& t, const Val& v) { t.c.auto_size = v.b; }},
    {"Center", PType::Bool, [](Target& t, const Val& v) { t.c.center = v.b; }},
    {"Stretch", PType::Bool, [](Target& t, const Val& v) { t.c.stretch = v.b; }},
    {"Transparent", PType::Bool, [](Target& t, const Val& v) { t.c.transparent = v.b; }},
    {"Proportional", PType::Bool, nullptr},
    {"IncrementalDisplay", PType::Bool, nullptr},
};

const PropDef kThumbnail[] = {
    {"PictureWidth", PType::Int, [](Target& t, const Val& v) { t.c.picture_width = Clamp32(v.i); }},
    {"PictureHeight", PType::Int, [](Target& t, const Val& v) { t.c.picture_height = Clamp32(v.i); }},
    {"ShowCheckBox", PType::Bool, [](Target& t, const Val& v) { t.c.show_check_box = v.b; }},
    {"ShowTitle", PType::Bool, [](Target& t, const Val& v) { t.c.show_title = v.b; }},
    {"MultiRows", PType::Bool, [](Target& t, const Val& v) { t.c.multi_rows = v.b; }},
    {"ScrollBars", PType::Enum, [](Target& t, const Val& v) { t.c.scroll_bars = static_cast<ScrollBarsKind>(v.index); }, ENUM(kScrollBarNames)},
    {"ColCount", PType::Int, [](Target& t, const Val& v) { t.c.col_count = Clamp32(v.i); }},
    {"RowCount", PType::Int, [](Target& t, const Val& v) { t.c.row_count = Clamp32(v.i); }},
    {"DefaultColWidth", PType::Int, [](Target& t, const Val& v) { t.c.default_col_width = Clamp32(v.i); }},
    {"DefaultRowHeight", PType::Int, [](Target& t, const Val& v) { t.c.default_row_height = Clamp32(v.i); }},
    {"DefaultDrawing", PType::Bool, nullptr},
    {"FixedCols", PType::Int, nullptr},
    {"FixedRows", PType::Int, nullptr},
    {"FixedColor", PType::Color, nullptr},
    {"Options", PType::Any, nullptr},
    {"GridLineWidth", PType::Int, nullptr},
    {"ColWidths", PType::Any, nullptr},
    {"RowHeights", PType::Any, nullptr},
};

const PropDef kImageButton[] = {
    {"ShowCaption", PType::Bool, [](Target& t, const Val& v) { t.c.show_caption = v.b; }},
    {"ButtonUp.Data", PType::Picture, [](Target& t, const Val& v) { t.c.button_up = v.pic; }},
    {"ButtonDown.Data", PType::Picture, [](Target& t, const Val& v) { t.c.button_down = v.pic; }},
    {"ButtonOver.Data", PType::Picture, [](Target& t, const Val& v) { t.c.button_over = v.pic; }},
    {"ButtonDisable.Data", PType::Picture, [](Target& t, const Val& v) { t.c.button_disable = v.pic; }},
    {"Transparent", PType::Bool, [](Target& t, const Val& v) { t.c.transparent = v.b; }},
    {"AutoSize", PType::Bool, [](Target& t, const Val& v) { t.c.auto_size = v.b; }},
    {"AllowDown", PType::Bool, [](Target& t, const Val& v) { t.c.allow_down = v.b; if (!v.b) t.c.down = false; }},
    {"Down", PType::Bool, [](Target& t, const Val& v) { if (t.c.allow_down) t.c.down = v.b; }},
};

const PropDef kButton[] = {
    {"Default", PType::Bool, [](Target& t, const Val& v) { t.c.default_button = v.b; }},
    {"Cancel", PType::Bool, [](Target& t, const Val& v) { t.c.cancel_button = v.b; }},
    {"ModalResult", PType::Any, nullptr},
    {"WordWrap", PType::Bool, [](Target& t, const Val& v) { t.c.word_wrap = v.b; }},
};

const PropDef kBitBtn[] = {
    {"Glyph.Data", PType::Bitmap, [](Target& t, const Val& v) { t.c.glyph = v.pic; }},
    {"NumGlyphs", PType::Int, [](Target& t, const Val& v) { t.c.num_glyphs = Clamp32(v.i); }},
    {"Kind", PType::Enum, [](Target& t, const Val& v) {
       t.c.kind = static_cast<BitBtnKind>(v.index);
       if (t.c.kind == BitBtnKind::OK || t.c.kind == BitBtnKind::Yes) t.c.default_button = true;
       if (t.c.kind == BitBtnKind::Cancel || t.c.kind == BitBtnKind::No) t.c.cancel_button = true; },
     ENUM(kBitBtnKindNames)},
    {"Layout", PType::Enum, [](Target& t, const Val& v) { t.c.glyph_layout = static_cast<GlyphLayout>(v.index); }, ENUM(kGlyphLayoutNames)},
    {"Margin", PType::Int, [](Target& t, const Val& v) { t.c.margin = std::max(-1, Clamp32(v.i)); }},
    {"Spacing", PType::Int, [](Target& t, const Val& v) { t.c.spacing = std::max(-1, Clamp32(v.i)); }},
    {"Style", PType::Any, nullptr},
};

const PropDef kCheckBox[] = {
    {"Checked", PType::Bool, [](Target& t, const Val& v) { t.c.checked = v.b; }},
    {"State", PType::Any, nullptr},
    {"AllowGrayed", PType::Bool, nullptr},
    {"Alignment", PType::Enum, [](Target& t, const Val& v) { t.c.text_left = v.index == 0; }, ENUM(kLeftRightNames)},
    {"WordWrap", PType::Bool, [](Target& t, const Val& v) { t.c.word_wrap = v.b; }},
};

const PropDef kEdit[] = {
    {"Text", PType::Str, [](Target& t, const Val& v) { t.c.text = v.s; }},
    {"ReadOnly", PType::Bool, [](Target& t, const Val& v) { t.c.read_only = v.b; }},
    {"AutoSize", PType::Bool, [](Target& t, const Val& v) { t.c.auto_size = v.b; }},
    {"MaxLength", PType::Int, [](Target& t, const Val& v) { t.c.max_length = std::max(0, Clamp32(v.i)); }},
    {"PasswordChar", PType::Str, [](Target& t, const Val& v) { t.c.password_char = v.s.empty() ? 0 : v.s[0]; }},
    {"CharCase", PType::Any, nullptr},
    {"AutoSelect", PType::Bool, nullptr},
    {"HideSelection", PType::Bool, nullptr},
    {"OEMConvert", PType::Bool, nullptr},
    {"ImeMode", PType::Any, nullptr},
    {"ImeName", PType::Str, nullptr},
};

const PropDef kMemo[] = {
    {"Text", PType::Str, [](Target& t, const Val& v) { t.c.text = v.s; }},
    {"Lines.Strings", PType::Strings, [](Target& t, const Val& v) {
       t.c.text.clear();
       for (const std::string& s : v.strs) t.c.text += s + "\r\n"; }},
    {"WordWrap", PType::Bool, [](Target& t, const Val& v) { t.c.word_wrap = v.b; }},
    {"ReadOnly", PType::Bool, [](Target& t, const Val& v) { t.c.read_only = v.b; }},
    {"Alignment", PType::Enum, [](Target& t, const Val& v) { t.c.alignment = static_cast<TextAlign>(v.index); }, ENUM(kTextAlignNames)},
    {"ScrollBars", PType::Enum, [](Target& t, const Val& v) { t.c.scroll_bars = static_cast<ScrollBarsKind>(v.index); }, ENUM(kScrollBarNames)},
    {"MaxLength", PType::Int, nullptr},
    {"WantReturns", PType::Bool, nullptr},
    {"WantTabs", PType::Bool, nullptr},
    {"HideSelection", PType::Bool, nullptr},
    {"OEMConvert", PType::Bool, nullptr},
    {"ImeMode", PType::Any, nullptr},
    {"ImeName", PType::Str, nullptr},
};

const PropDef kPanel[] = {
    {"BevelInner", PType::Enum, [](Target& t, const Val& v) { t.c.bevel_inner = static_cast<BevelCut>(v.index); }, ENUM(kBevelCutNames)},
    {"BevelOuter", PType::Enum, [](Target& t, const Val& v) { t.c.bevel_outer = static_cast<BevelCut>(v.index); }, ENUM(kBevelCutNames)},
    {"BevelWidth", PType::Int, [](Target& t, const Val& v) { t.c.bevel_width = Clamp32(v.i); }},
    {"BorderWidth", PType::Int, [](Target& t, const Val& v) { t.c.border_width = Clamp32(v.i); }},
    {"Alignment", PType::Enum, [](Target& t, const Val& v) { t.c.alignment = static_cast<TextAlign>(v.index); }, ENUM(kTextAlignNames)},
    {"FullRepaint", PType::Bool, nullptr},
    {"Locked", PType::Bool, nullptr},
    {"UseDockManager", PType::Bool, nullptr},
    {"DockSite", PType::Bool, nullptr},
    {"ParentBackground", PType::Bool, nullptr},
    {"AutoSize", PType::Bool, nullptr},
};

const PropDef kPageControl[] = {
    {"ActivePage", PType::Ref, [](Target& t, const Val& v) { t.c.active_page = v.s; }},
    {"HotTrack", PType::Bool, [](Target& t, const Val& v) { t.c.hot_track = v.b; }},
    {"Style", PType::Enum, [](Target& t, const Val& v) { t.c.tab_style = static_cast<TabStyleKind>(v.index); }, ENUM(kTabStyleNames)},
    {"TabPosition", PType::Enum, [](Target& t, const Val& v) { t.c.tab_position = static_cast<TabPositionKind>(v.index); }, ENUM(kTabPositionNames)},
    {"MultiLine", PType::Bool, nullptr},
    {"OwnerDraw", PType::Bool, nullptr},
    {"RaggedRight", PType::Bool, nullptr},
    {"ScrollOpposite", PType::Bool, nullptr},
    {"TabHeight", PType::Int, nullptr},
    {"TabWidth", PType::Int, nullptr},
    {"TabIndex", PType::Int, nullptr},
    {"Images", PType::Any, nullptr},
};

const PropDef kTabSheet[] = {
    {"TabVisible", PType::Bool, [](Target& t, const Val& v) { t.c.tab_visible = v.b; }},
    {"PageIndex", PType::Int, nullptr},
    {"ImageIndex", PType::Int, nullptr},
    {"Highlighted", PType::Bool, nullptr},
};

const PropDef kShape[] = {
    {"Shape", PType::Enum, [](Target& t, const Val& v) { t.c.shape = static_cast<ShapeKind>(v.index); }, ENUM(kShapeNames)},
    {"Brush.Color", PType::Color, [](Target& t, const Val& v) { t.c.brush_color = v.color; }},
    {"Brush.Style", PType::Enum, [](Target& t, const Val& v) { t.c.brush_style = static_cast<BrushKind>(v.index); }, ENUM(kBrushNames)},
    {"Pen.Color", PType::Color, [](Target& t, const Val& v) { t.c.pen_color = v.color; }},
    {"Pen.Width", PType::Int, [](Target& t, const Val& v) { t.c.pen_width = Clamp32(v.i); }},
    {"Pen.Style", PType::Enum, [](Target& t, const Val& v) { t.c.pen_style = static_cast<PenKind>(v.index); }, ENUM(kPenNames)},
    {"Pen.Mode", PType::Any, nullptr},
    {"Brush.Bitmap", PType::Any, nullptr},
};

const PropDef kBevel[] = {
    {"Shape", PType::Enum, [](Target& t, const Val& v) { t.c.bevel_shape = static_cast<BevelShapeKind>(v.index); }, ENUM(kBevelShapeNames)},
    {"Style", PType::Enum, [](Target& t, const Val& v) { t.c.bevel_style = static_cast<BevelStyleKind>(v.index); }, ENUM(kBevelStyleNames)},
};

const PropDef kTimer[] = {
    {"Tag", PType::Int, [](Target& t, const Val& v) { t.c.tag = static_cast<int>(static_cast<uint32_t>(v.i)); }},
    {"Left", PType::Int, [](Target& t, const Val& v) { t.c.left = Clamp32(v.i); }},
    {"Top", PType::Int, [](Target& t, const Val& v) { t.c.top = Clamp32(v.i); }},
    {"Enabled", PType::Bool, [](Target& t, const Val& v) { t.c.timer_enabled = v.b; }},
    {"Interval", PType::Int, [](Target& t, const Val& v) { t.c.interval = Clamp32(v.i); }},
};

constexpr const char* kComboStyleNames[] = {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"};
constexpr const char* kTickStyleNames[] = {"tsNone", "tsAuto", "tsManual"};
constexpr const char* kViewStyleNames[] = {"vsIcon", "vsSmallIcon", "vsList", "vsReport"};

const PropDef kComboBox[] = {
    {"Items.Strings", PType::Strings, [](Target& t, const Val& v) { t.c.lines = v.strs; }},
    {"ItemIndex", PType::Int, [](Target& t, const Val& v) { t.c.item_index = Clamp32(v.i); }},
    {"Style", PType::Enum, [](Target& t, const Val& v) { t.c.drop_down_list = v.index == 2; }, ENUM(kComboStyleNames)},
    {"ItemHeight", PType::Int, nullptr},
    {"DropDownCount", PType::Int, nullptr},
    {"Text", PType::Str, [](Target& t, const Val& v) { t.c.text = v.s; }},
};

const PropDef kUpDown[] = {
    {"Associate", PType::Ref, [](Target& t, const Val& v) { t.c.associate = v.s; }},
    {"Min", PType::Int, [](Target& t, const Val& v) { t.c.min = Clamp32(v.i); }},
    {"Max", PType::Int, [](Target& t, const Val& v) { t.c.max = Clamp32(v.i); }},
    {"Position", PType::Int, [](Target& t, const Val& v) { t.c.position = Clamp32(v.i); }},
    {"Thousands", PType::Bool, nullptr},
    {"Wrap", PType::Bool, nullptr},
    {"Increment", PType::Int, nullptr},
    {"ArrowKeys", PType::Bool, nullptr},
    {"Orientation", PType::Any, nullptr},
};

const PropDef kTrackBar[] = {
    {"Min", PType::Int, [](Target& t, const Val& v) { t.c.min = Clamp32(v.i); }},
    {"Max", PType::Int, [](Target& t, const Val& v) { t.c.max = Clamp32(v.i); }},
    {"Position", PType::Int, [](Target& t, const Val& v) { t.c.position = Clamp32(v.i); }},
    {"TickStyle", PType::Enum, [](Target& t, const Val& v) { t.c.ticks = v.index != 0; }, ENUM(kTickStyleNames)},
    {"Frequency", PType::Int, nullptr},
    {"PageSize", PType::Int, nullptr},
    {"Orientation", PType::Any, nullptr},
    {"ThumbLength", PType::Int, nullptr},
};

const PropDef kListView[] = {
    {"Columns", PType::Columns, [](Target& t, const Val& v) { t.c.columns = v.columns; }},
    {"ViewStyle", PType::Enum, [](Target& t, const Val& v) { t.c.report_view = v.index == 3; }, ENUM(kViewStyleNames)},
    {"GridLines", PType::Bool, [](Target& t, const Val& v) { t.c.grid_lines = v.b; }},
    {"RowSelect", PType::Bool, [](Target& t, const Val& v) { t.c.row_select = v.b; }},
    {"ReadOnly", PType::Bool, [](Target& t, const Val& v) { t.c.read_only = v.b; }},
    {"HideSelection", PType::Bool, nullptr},
};

const PropDef kOpenDialog[] = {
    {"Filter", PType::Str, [](Target& t, const Val& v) { t.c.filter = v.s; }},
    {"Options", PType::Set, [](Target& t, const Val& v) {
       for (const std::string& o : v.strs) {
         if (EqualNoCase(o, "ofHideReadOnly")) t.c.hide_read_only = true;
         else if (EqualNoCase(o, "ofFileMustExist")) t.c.file_must_exist = true;
         else if (EqualNoCase(o, "ofEnableSizing")) t.c.enable_sizing = true;
       }
     }},
    {"Left", PType::Int, nullptr},
    {"Top", PType::Int, nullptr},
    {"Title", PType::Str, [](Target& t, const Val& v) { t.c.caption = v.s; }},
};

using Group = std::span<const PropDef>;

std::vector<Group> GroupsOf(ControlClass cls) {
  switch (cls) {
    case ControlClass::ConfigWindow: return {kCommon, kFont, kColor, kCaption, kWindow, kWindowBooleans};
    case ControlClass::Form: return {kCommon, kFont, kColor, kCaption, kWindow};
    case ControlClass::Label: return {kCommon, kFont, kColor, kCaption, kLabel};
    case ControlClass::Image: return {kCommon, kImage};
    case ControlClass::Preview: return {kCommon, kImage};
    case ControlClass::Thumbnail: return {kCommon, kFont, kColor, kCtl3D, kThumbnail};
    case ControlClass::ImageButton: return {kCommon, kFont, kCaption, kImageButton};
    case ControlClass::BitBtn: return {kCommon, kFont, kCaption, kButton, kBitBtn};
    case ControlClass::Button: return {kCommon, kFont, kCaption, kButton};
    case ControlClass::CheckBox: return {kCommon, kFont, kColor, kCaption, kCtl3D, kCheckBox};
    case ControlClass::Edit: return {kCommon, kFont, kColor, kCtl3D, kEdit};
    case ControlClass::Memo: return {kCommon, kFont, kColor, kCtl3D, kMemo};
    case ControlClass::Panel: return {kCommon, kFont, kColor, kCaption, kCtl3D, kPanel};
    case ControlClass::PageControl: return {kCommon, kFont, kPageControl};
    case ControlClass::TabSheet: return {kCommon, kFont, kColor, kCaption, kTabSheet};
    case ControlClass::Shape:
    case ControlClass::ClickShape: return {kCommon, kShape};
    case ControlClass::Bevel: return {kCommon, kBevel};
    case ControlClass::Timer: return {kTimer};
    case ControlClass::ComboBox: return {kCommon, kFont, kColor, kComboBox};
    case ControlClass::UpDown: return {kCommon, kUpDown};
    case ControlClass::TrackBar: return {kCommon, kTrackBar};
    case ControlClass::ListView: return {kCommon, kFont, kColor, kCtl3D, kListView};
    case ControlClass::GroupBox: return {kCommon, kFont, kColor, kCaption, kCtl3D};
    case ControlClass::OpenDialog: return {kOpenDialog};
  }
  return {};
}

const PropDef* FindProp(ControlClass cls, std::string_view path) {
  for (const Group& g : GroupsOf(cls)) {
    for (const PropDef& d : g) {
      const std::string_view n = d.name;
      if (n.size() >= 2 && n.substr(n.size() - 2) == ".*") {
        const std::string_view prefix = n.substr(0, n.size() - 1);
        if (path.size() > prefix.size() && EqualNoCase(path.substr(0, prefix.size()), prefix)) return &d;
      } else if (EqualNoCase(n, path)) {
        return &d;
      }
    }
  }
  return nullptr;
}

const char* KindName(FormValueKind k) {
  switch (k) {
    case FormValueKind::Integer: return "an integer";
    case FormValueKind::Real: return "a real number";
    case FormValueKind::String: return "a string";
    case FormValueKind::Identifier: return "a name";
    case FormValueKind::Set: return "a set";
    case FormValueKind::Binary: return "binary data";
    case FormValueKind::List: return "a list";
    case FormValueKind::Collection: return "a collection";
  }
  return "?";
}

struct BuildFailure {
  int line;
  std::string message;
};

[[noreturn]] void Fail(int line, const std::string& message) { throw BuildFailure{line, message}; }

// Checks a value against what the property accepts and converts it.
Val Convert(const PropDef& d, const FormProperty& p) {
  const FormValue& v = p.value;
  Val out;
  auto wrong = [&](const char* want) {
    Fail(p.line, "property '" + p.path + "' expects " + want + ", found " + KindName(v.kind));
  };
  const bool ident = v.kind == FormValueKind::Identifier;
  switch (d.type) {
    case PType::Any:
      return out;
    case PType::Int:
      if (v.kind != FormValueKind::Integer) wrong("an integer");
      out.i = v.integer;
      return out;
    case PType::Real:
      if (v.kind == FormValueKind::Integer) out.i = v.integer;
      else if (v.kind != FormValueKind::Real) wrong("a number");
      return out;
    case PType::Bool:
      if (ident && EqualNoCase(v.text, "True")) out.b = true;
      else if (ident && EqualNoCase(v.text, "False")) out.b = false;
      else wrong("True or False");
      return out;
    case PType::Str:
      if (v.kind != FormValueKind::String) wrong("a string");
      out.s = v.text;
      return out;
    case PType::Color:
      if (v.kind == FormValueKind::Integer) {
        out.color = static_cast<FormColor>(static_cast<uint64_t>(v.integer));
      } else if (ident) {
        auto c = ColorFromName(v.text);
        if (!c) Fail(p.line, "unknown colour '" + v.text + "'");
        out.color = *c;
      } else {
        wrong("a colour");
      }
      return out;
    case PType::Cursor:
      if (v.kind == FormValueKind::Integer) {
        out.i = v.integer;
      } else if (ident) {
        auto c = CursorFromName(v.text);
        if (!c) Fail(p.line, "unknown cursor '" + v.text + "'");
        out.i = *c;
      } else {
        wrong("a cursor");
      }
      return out;
    case PType::Charset:
      if (v.kind == FormValueKind::Integer) {
        out.i = v.integer;
      } else if (ident) {
        auto c = CharsetFromName(v.text);
        if (!c) Fail(p.line, "unknown character set '" + v.text + "'");
        out.i = *c;
      } else {
        wrong("a character set");
      }
      return out;
    case PType::Enum:
      if (!ident) wrong("a name");
      for (int i = 0; i < d.name_count; ++i) {
        if (EqualNoCase(d.names[i], v.text)) {
          out.index = i;
          return out;
        }
      }
      Fail(p.line, "'" + v.text + "' is not a value of property '" + p.path + "'");
    case PType::FontStyle:
      if (v.kind != FormValueKind::Set) wrong("a set");
      for (const std::string& s : v.set) {
        if (EqualNoCase(s, "fsBold")) out.style |= 1;
        else if (EqualNoCase(s, "fsItalic")) out.style |= 2;
        else if (EqualNoCase(s, "fsUnderline")) out.style |= 4;
        else if (EqualNoCase(s, "fsStrikeOut")) out.style |= 8;
        else Fail(p.line, "'" + s + "' is not a font style");
      }
      return out;
    case PType::Picture:
    case PType::Bitmap: {
      if (v.kind != FormValueKind::Binary) wrong("binary data");
      std::string err;
      const bool ok = d.type == PType::Picture ? ParsePictureData(v.binary, out.pic, &err)
                                               : ParseBitmapData(v.binary, out.pic, &err);
      if (!ok) Fail(p.line, "property '" + p.path + "': " + err);
      return out;
    }
    case PType::Strings:
      if (v.kind != FormValueKind::List) wrong("a list of strings");
      for (const FormValue& item : v.list) {
        if (item.kind != FormValueKind::String) Fail(p.line, "property '" + p.path + "' expects a list of strings");
        out.strs.push_back(item.text);
      }
      return out;
    case PType::Set:
      if (v.kind != FormValueKind::Set) wrong("a set");
      out.strs = v.set;
      return out;
    case PType::Columns:
      if (v.kind != FormValueKind::Collection) wrong("a collection");
      for (const std::vector<FormProperty>& item : v.items) {
        ListColumnSpec col;
        for (const FormProperty& ip : item) {
          const FormValue& iv = ip.value;
          if (EqualNoCase(ip.path, "Caption") && iv.kind == FormValueKind::String) col.caption = iv.text;
          else if (EqualNoCase(ip.path, "Width") && iv.kind == FormValueKind::Integer) col.width = Clamp32(iv.integer);
          else if (EqualNoCase(ip.path, "AutoSize") && iv.kind == FormValueKind::Identifier)
            col.auto_size = EqualNoCase(iv.text, "True");
          else Fail(ip.line, "a list column has no property '" + ip.path + "' of that kind");
        }
        out.columns.push_back(col);
      }
      return out;
    case PType::Ref:
      if (!ident) wrong("a component name");
      out.s = EqualNoCase(v.text, "nil") ? "" : v.text;
      return out;
  }
  return out;
}

void ApplyProperties(const FormObject& obj, ControlClass cls, Target& t) {
  for (const FormProperty& p : obj.properties) {
    const PropDef* d = FindProp(cls, p.path);
    if (!d) {
      // Descriptions also carry Boolean window options and text properties on previews that
      // mean nothing here; they are accepted without effect.
      const FormValue& v = p.value;
      const bool boolean = v.kind == FormValueKind::Identifier &&
                           (EqualNoCase(v.text, "True") || EqualNoCase(v.text, "False"));
      if (cls == ControlClass::ConfigWindow && boolean) continue;
      if (cls == ControlClass::Preview && v.kind == FormValueKind::String) continue;
      Fail(p.line, "class " + obj.class_name + " has no property '" + p.path + "'");
    }
    const Val v = Convert(*d, p);
    if (d->apply) d->apply(t, v);
  }
}

// The caption a standard button kind brings when the description writes none.
std::string KindCaption(BitBtnKind kind) {
  static const char* const kCaptions[] = {"", "OK", "Cancel", "&Help", "&Yes", "&No",
                                          "&Close", "Abort", "&Retry", "&Ignore", "&All"};
  return kCaptions[static_cast<int>(kind)];
}

bool TakesParentColor(ControlClass cls) {
  switch (cls) {
    case ControlClass::Label:
    case ControlClass::Panel:
    case ControlClass::TabSheet:
    case ControlClass::CheckBox:
    case ControlClass::PageControl:
    case ControlClass::Image:
    case ControlClass::Preview:
    case ControlClass::ImageButton:
    case ControlClass::BitBtn:
    case ControlClass::Button:
    case ControlClass::Bevel:
    case ControlClass::Shape:
    case ControlClass::ClickShape:
    case ControlClass::Form:
    case ControlClass::GroupBox:
      return true;
    default:
      return false;
  }
}

class SpecBuilder {
 public:
  explicit SpecBuilder(FormClassSet set) : set_(set) {}

  FormSpec Build(const FormObject& root) {
    const DescriptionClass* rc = Find(root.class_name);
    if (!rc) Fail(root.line, "unknown class '" + root.class_name + "'");
    if (rc->cls != ControlClass::ConfigWindow && rc->cls != ControlClass::Form)
      Fail(root.line, "the root object must be a window, not " + root.class_name);
    FormSpec spec;
    WindowSpec& w = spec.window;
    w.name = root.name;
    ControlSpec look;  // the window's common properties while they are applied
    look.cls = rc->cls;
    look.width = w.width;
    look.height = w.height;
    look.color = kColorBtnFace;
    look.parent_font = false;
    ControlSpec outer = look;  // class defaults, for ParentFont / ParentColor on the root
    Target t{look, &w, outer};
    ApplyProperties(root, rc->cls, t);
    w.caption = look.caption;
    w.tag = look.tag;
    w.left = look.left;
    w.top = look.top;
    w.width = look.width;
    w.height = look.height;
    w.color = look.color;
    w.font = look.font;
    Note(root.name, root.line);
    for (const FormObject& child : root.children) AddControl(spec, child, -1, look, *rc);
    Resolve(spec);
    return spec;
  }

 private:
  const DescriptionClass* Find(std::string_view name) const {
    if (const DescriptionClass* c = FindDescriptionClass(name)) return c;
    if (set_ == FormClassSet::Program)
      for (const DescriptionClass& c : kProgramClasses)
        if (EqualNoCase(c.name, name)) return &c;
    return nullptr;
  }

  void Note(const std::string& name, int line) {
    if (name.empty()) return;
    for (const std::string& n : names_)
      if (EqualNoCase(n, name)) Fail(line, "a component named '" + name + "' already exists");
    names_.push_back(name);
  }

  void AddControl(FormSpec& spec, const FormObject& obj, int parent_index, const ControlSpec& parent,
                  const DescriptionClass& parent_class) {
    const DescriptionClass* dc = Find(obj.class_name);
    if (!dc) Fail(obj.line, "unknown class '" + obj.class_name + "'");
    if (dc->cls == ControlClass::ConfigWindow)
      Fail(obj.line, "a " + obj.class_name + " cannot stand inside another window");
    if (dc->cls != ControlClass::Timer && dc->cls != ControlClass::OpenDialog) {
      if (!parent_class.holds_controls)
        Fail(obj.line, "a " + std::string(parent_class.name) + " cannot hold " + obj.class_name);
      if ((parent_class.cls == ControlClass::PageControl) != (dc->cls == ControlClass::TabSheet))
        Fail(obj.line, dc->cls == ControlClass::TabSheet ? "a TTabSheet must stand in a TPageControl"
                                                         : "a TPageControl holds only TTabSheet pages");
    }
    Note(obj.name, obj.line);
    ControlSpec c;
    c.cls = dc->cls;
    c.class_name = obj.class_name;
    c.name = obj.name;
    c.parent = parent_index;
    c.line = obj.line;
    c.width = dc->width;
    c.height = dc->height;
    c.font = parent.font;
    c.parent_font = true;
    if (TakesParentColor(dc->cls)) {
      c.color = parent.color;
      c.parent_color = true;
    } else {
      c.color = kColorWindow;
    }
    c.auto_size = dc->cls == ControlClass::Label || dc->cls == ControlClass::ImageButton ||
                  dc->cls == ControlClass::Edit;
    c.transparent = dc->cls == ControlClass::ImageButton;
    if (dc->cls == ControlClass::Memo) c.scroll_bars = ScrollBarsKind::None;
    if (dc->cls == ControlClass::Panel) c.alignment = TextAlign::Center;
    Target t{c, nullptr, parent};
    ApplyProperties(obj, dc->cls, t);
    if (dc->cls == ControlClass::BitBtn && !c.caption_set) c.caption = KindCaption(c.kind);
    const int index = static_cast<int>(spec.controls.size());
    spec.controls.push_back(c);
    // A timer has no place on the screen; what stands inside one keeps the enclosing control.
    for (const FormObject& child : obj.children) AddControl(spec, child, index, spec.controls[index], *dc);
  }

  void Resolve(FormSpec& spec) {
    // References to components that are not in the window are left unset.
    auto find = [&](const std::string& name) { return FindControl(spec, name); };
    if (!spec.window.active_control.empty() && find(spec.window.active_control) < 0)
      spec.window.active_control.clear();
    for (ControlSpec& c : spec.controls) {
      if (c.associate.empty()) continue;
      c.associate_index = find(c.associate);
      if (c.associate_index < 0) c.associate.clear();
    }
    for (size_t i = 0; i < spec.controls.size(); ++i) {
      ControlSpec& c = spec.controls[i];
      if (c.cls != ControlClass::PageControl || c.active_page.empty()) continue;
      const int page = find(c.active_page);
      if (page < 0 || spec.controls[page].parent != static_cast<int>(i)) c.active_page.clear();
      else c.active_page = spec.controls[page].name;
    }
  }

  FormClassSet set_;
  std::vector<std::string> names_;
};

}  // namespace

int FindControl(const FormSpec& spec, std::string_view name) {
  if (name.empty()) return -1;  // unnamed components are not referred to
  for (size_t i = 0; i < spec.controls.size(); ++i)
    if (EqualNoCase(spec.controls[i].name, name)) return static_cast<int>(i);
  return -1;
}

const DescriptionClass* FindDescriptionClass(std::string_view name) {
  for (const DescriptionClass& c : kClasses)
    if (EqualNoCase(c.name, name)) return &c;
  return nullptr;
}

int DescriptionClassCount() { return static_cast<int>(std::size(kClasses)); }

void RegisterDescriptionClasses() {}

FormSpecResult BuildFormSpec(const FormObject& root, FormClassSet set) {
  FormSpecResult r;
  try {
    SpecBuilder b(set);
    r.spec = b.Build(root);
    r.ok = true;
  } catch (const BuildFailure& f) {
    r.error_line = f.line;
    r.message = f.message;
    r.error = "line " + std::to_string(f.line) + ": " + f.message;
  }
  return r;
}

FormSpecResult FormSpecFromText(std::string_view text, const std::vector<int>* line_map, FormClassSet set) {
  FormSpecResult r;
  const FormReadResult read = FormTextReader::Read(text);
  if (read.ok) {
    r = BuildFormSpec(read.root, set);
    if (r.ok) return r;
  } else {
    r.error_line = read.error_line;
    r.message = read.message;
  }
  if (line_map && r.error_line >= 1 && r.error_line <= static_cast<int>(line_map->size()))
    r.error_line = (*line_map)[static_cast<size_t>(r.error_line - 1)];
  r.error = "line " + std::to_string(r.error_line) + ": " + r.message;
  return r;
}

}  // namespace kx
