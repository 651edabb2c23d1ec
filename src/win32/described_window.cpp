#include "win32/described_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <stdexcept>

#include "config/description_classes.h"
#include "config/label_bounds.h"
#include "config/text_util.h"
#include "media/intmath.h"
#include "config/picture_render.h"
#include "win32/dpi_win32.h"
#include "win32/win32_controls.h"

namespace kx::win32 {

namespace {

const char kFormClass[] = "KXDescribedForm";
const char kControlClass[] = "KXDescribedControl";
constexpr UINT_PTR kButtonTimerBase = 2000;  // + control index: an image button's repeat timer

// What a window of ours carries: its owner object and the control it shows (-1: the window).
struct Link {
  DescribedWindow* owner;
  int control;
};

// The windows shown modally, innermost last: each new one is owned by the one before.
std::vector<HWND>& ModalStack() {
  static std::vector<HWND> stack;
  return stack;
}

LRESULT CALLBACK DescribedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
    const auto* link = static_cast<const Link*>(cs->lpCreateParams);
    SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(link->owner));
    SetWindowLongPtrA(hwnd, sizeof(LONG_PTR), link->control);
  }
  auto* owner = reinterpret_cast<DescribedWindow*>(GetWindowLongPtrA(hwnd, 0));
  if (!owner) return DefWindowProcA(hwnd, msg, wp, lp);
  const int control = static_cast<int>(GetWindowLongPtrA(hwnd, sizeof(LONG_PTR)));
  return owner->Handle(control, hwnd, msg, wp, lp);
}

bool RegisterClasses() {
  static bool done = false;
  if (done) return true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DescribedProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = nullptr;  // WM_SETCURSOR decides
  wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  wc.lpszClassName = kFormClass;
  if (!RegisterClassA(&wc)) return false;
  wc.hIcon = nullptr;
  wc.lpszClassName = kControlClass;
  if (!RegisterClassA(&wc)) return false;
  done = true;
  return true;
}

// Components with no place on the screen.
bool NonVisual(ControlClass c) { return c == ControlClass::Timer || c == ControlClass::OpenDialog; }

bool IsPushButton(ControlClass c) { return c == ControlClass::Button || c == ControlClass::BitBtn; }

// Controls with no window of their own: their container paints them in creation order (a
// later one over an earlier one) and passes their clicks on. The picture preview is one of
// them, so that labels, buttons and shapes placed over it stay visible.
bool IsGraphic(ControlClass c) {
  return c == ControlClass::Label || c == ControlClass::Image || c == ControlClass::Preview ||
         c == ControlClass::Shape || c == ControlClass::ClickShape || c == ControlClass::Bevel ||
         c == ControlClass::ImageButton;
}

// A memo's lines as its edit box holds them: Text is split at CR, LF or CR LF, and the
// lines are joined with CR LF.
std::string MemoText(const ControlSpec& c) {
  return cfgtext::JoinLines(c.lines.empty() ? cfgtext::SplitLines(c.text) : c.lines, false);
}

}  // namespace

bool DescribedWindow::Windowed(int c) const {
  const ControlClass k = Spec(c).cls;
  return !IsGraphic(k) && !NonVisual(k);
}

bool DescribedWindow::Container(int c) const {
  if (c < 0) return true;
  const ControlClass k = Spec(c).cls;
  return k == ControlClass::Panel || k == ControlClass::TabSheet || k == ControlClass::GroupBox;
}

HWND DescribedWindow::ParentWindow(int c) const {
  const int p = Spec(c).parent;
  if (Valid(p) && items_[static_cast<size_t>(p)].hwnd) return items_[static_cast<size_t>(p)].hwnd;
  return hwnd_;
}

void DescribedWindow::Styles(DWORD& style, DWORD& ex) const {
  const WindowSpec& w = spec_.window;
  style = WS_CLIPCHILDREN;
  ex = WS_EX_CONTROLPARENT;  // Tab walks through the controls of every container
  switch (w.frame.border) {
    case FrameBorder::None: style |= WS_POPUP; break;
    case FrameBorder::Sizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
    case FrameBorder::Single: style |= WS_CAPTION | WS_BORDER; ex |= WS_EX_DLGMODALFRAME; break;
  }
  if (w.frame.border != FrameBorder::None) {
    if (w.frame.system_menu) style |= WS_SYSMENU;
    if (w.frame.maximize_box) style |= WS_MAXIMIZEBOX | WS_SYSMENU;
    if (w.frame.minimize_box) style |= WS_MINIMIZEBOX | WS_SYSMENU;
  }
}

SIZE DescribedWindow::OuterSize(int dpi) const {
  const WindowSpec& w = spec_.window;
  const DpiScale at(dpi, w.pixels_per_inch);
  if (!w.client_width || !w.client_height) return SIZE{at.Px(w.width), at.Px(w.height)};
  DWORD style, ex;
  Styles(style, ex);
  RECT outer = {0, 0, at.Px(*w.client_width), at.Px(*w.client_height)};
  AdjustWindowRectForDpi(outer, style, ex, dpi);
  return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

DescribedWindow::DescribedWindow(const FormSpec& spec) : spec_(spec) {
  if (!RegisterClasses()) {
    error_ = "the window classes cannot be registered";
    return;
  }
  const WindowSpec& w = spec_.window;
  // The window opens in the middle of the primary monitor, at that monitor's density.
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  scale_ = DpiScale(DpiAtPoint(POINT{sw / 2, sh / 2}), w.pixels_per_inch);
  DWORD style, ex;
  Styles(style, ex);
  SIZE outer = OuterSize(scale_.Dpi());
  Link link{this, -1};
  hwnd_ = CreateWindowExA(ex, kFormClass, w.caption.c_str(), style, (sw - outer.cx) / 2, (sh - outer.cy) / 2,
                          outer.cx, outer.cy, nullptr, nullptr, GetModuleHandleA(nullptr), &link);
  if (!hwnd_) {
    error_ = "the window cannot be created";
    return;
  }
  // The system may draw the window at another density than the monitor's (an older system
  // with one density for all): the window's own decides.
  if (const int dpi = DpiOfWindow(hwnd_); dpi != scale_.Dpi()) {
    scale_ = DpiScale(dpi, w.pixels_per_inch);
    outer = OuterSize(dpi);
    SetWindowPos(hwnd_, nullptr, (sw - outer.cx) / 2, (sh - outer.cy) / 2, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

  items_.resize(spec_.controls.size());
  for (size_t i = 0; i < items_.size(); ++i) {
    const ControlSpec& c = spec_.controls[i];
    Item& it = items_[i];
    it.visible = c.visible;
    // A preview shows its own picture until the first picture is selected.
    if (c.cls == ControlClass::Image || c.cls == ControlClass::Preview) DecodeFormPicture(c.picture, it.design);
    if (c.cls == ControlClass::BitBtn) DecodeFormPicture(c.glyph, it.design);
    if (c.cls == ControlClass::ImageButton) {
      it.button = std::make_unique<ImageButton>(c, hwnd_, kButtonTimerBase + i);
      const int ci = static_cast<int>(i);
      it.button->model->on_repaint = [this, ci] { Invalidate(ci); };
    }
  }
  Measure();
  // Pages: the one named by ActivePage, else the first.
  for (size_t i = 0; i < items_.size(); ++i) {
    const ControlSpec& c = spec_.controls[i];
    if (c.cls != ControlClass::PageControl) continue;
    const std::vector<int> pages = PagesOf(static_cast<int>(i));
    const int named = FindControl(spec_, c.active_page);
    if (std::find(pages.begin(), pages.end(), named) != pages.end()) items_[i].active_page = named;
    else if (!pages.empty()) items_[i].active_page = pages.front();
  }
  for (size_t i = 0; i < items_.size(); ++i) CreateControl(static_cast<int>(i));
  built_ = true;
  Layout(-1);
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].hwnd) Layout(static_cast<int>(i));
  AddHints();
  // A control that lies wholly outside its container cannot be seen: Tab passes it by.
  for (size_t i = 0; i < items_.size(); ++i) {
    HWND h = items_[i].hwnd;
    if (!h || !(GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP)) continue;
    RECT inside, client, overlap;
    GetWindowRect(h, &inside);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&inside), 2);
    GetClientRect(GetParent(h), &client);
    if (!IntersectRect(&overlap, &inside, &client))
      SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) & ~WS_TABSTOP);
  }
}

void DescribedWindow::Measure() {
  const WindowSpec& w = spec_.window;
  HDC screen = GetDC(nullptr);
  if (form_font_) DeleteObject(form_font_);
  form_font_ = MakeFont(w.font, scale_.Dpi(), scale_.Design());
  for (size_t i = 0; i < items_.size(); ++i) {
    const ControlSpec& c = spec_.controls[i];
    Item& it = items_[i];
    const ScaledRect r = scale_.Rect(c.left, c.top, c.width, c.height);
    it.rect = {r.left, r.top, r.right, r.bottom};
    if (it.font) DeleteObject(it.font);
    it.font = MakeFont(c.font, scale_.Dpi(), scale_.Design());
    if (c.cls == ControlClass::BitBtn) {
      ScaleStrip(it.design, std::clamp(c.num_glyphs, 1, 4), scale_, true, it.picture);
    } else if (c.stretch) {
      it.picture = Bitmap32();  // stretched to its place when it is first drawn (fitted)
    } else {
      ScalePicture(it.design, scale_, c.transparent, it.picture);
    }
    if (c.auto_size && c.cls == ControlClass::Image && !it.design.Empty()) {
      it.rect.right = it.rect.left + scale_.Size(it.design.Width());
      it.rect.bottom = it.rect.top + scale_.Size(it.design.Height());
    }
    if (it.button) {
      it.button->Rescale(scale_, c.transparent);
      // The button takes its up face's size.
      if (c.auto_size && !it.button->up.Empty()) {
        it.rect.right = it.rect.left + it.button->up.Width();
        it.rect.bottom = it.rect.top + it.button->up.Height();
      }
    }
    if (c.auto_size && c.cls == ControlClass::Label && screen) {
      HGDIOBJ old = SelectObject(screen, it.font);
      RECT calc = it.rect;
      if (!c.word_wrap) calc.right = calc.left + 32767;
      const std::string text = c.caption.empty() ? std::string(" ") : c.caption;
      DrawTextA(screen, text.c_str(), static_cast<int>(text.size()), &calc,
                DT_CALCRECT | DT_EXPANDTABS | (c.word_wrap ? DT_WORDBREAK : 0));
      SelectObject(screen, old);
      const LabelBounds b = AutoSizeLabel(it.rect.left, it.rect.right - it.rect.left, c.alignment, c.word_wrap,
                                          calc.right - calc.left, calc.bottom - calc.top);
      it.rect = {b.left, it.rect.top, b.left + b.width, it.rect.top + b.height};
    }
  }
  if (screen) ReleaseDC(nullptr, screen);
}

void DescribedWindow::Rescale(int dpi, const RECT* suggested) {
  if (!hwnd_) return;
  scale_ = DpiScale(dpi, spec_.window.pixels_per_inch);
  built_ = false;  // no layout while the controls change
  Measure();
  for (size_t i = 0; i < items_.size(); ++i) {
    Item& it = items_[i];
    const ControlSpec& c = spec_.controls[i];
    if (!it.hwnd) continue;
    if (it.native) SendMessageA(it.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(it.font), FALSE);
    if (it.grid) {
      it.grid->font = it.font;
      it.grid->model.scale = scale_;
      it.grid->Rescale(std::max(1, S(c.picture_width)), std::max(1, S(c.picture_height)));
    }
    if (c.cls == ControlClass::ListView)
      for (size_t k = 0; k < c.columns.size(); ++k)
        if (!c.columns[k].auto_size) SendMessageA(it.hwnd, LVM_SETCOLUMNWIDTH, k, S(c.columns[k].width));
    if (c.cls == ControlClass::TabSheet) continue;  // its page control places it
    MoveWindow(it.hwnd, it.rect.left, it.rect.top, it.rect.right - it.rect.left, WindowHeight(static_cast<int>(i)),
               FALSE);
  }
  built_ = true;
  if (suggested) {
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Layout(-1);
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].hwnd) Layout(static_cast<int>(i));
  for (size_t i = 0; i < items_.size(); ++i) {
    const ControlSpec& c = spec_.controls[i];
    if (c.cls == ControlClass::ListView) FitListColumns(static_cast<int>(i));
    if (c.cls == ControlClass::Preview) {
      // A picture that can no longer be read stays as it was, stretched to the new size.
      try {
        PreviewRedraw(static_cast<int>(i));
      } catch (const std::exception&) {
      }
    }
    if (tips_ && !items_[i].hwnd && c.show_hint && !c.hint.empty()) {
      TOOLINFOA ti{};
      ti.cbSize = sizeof ti;
      ti.hwnd = ParentWindow(static_cast<int>(i));
      ti.uId = i + 1;
      ti.rect = items_[i].rect;
      SendMessageA(tips_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
  }
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

int DescribedWindow::WindowHeight(int c) const {
  const ControlSpec& s = Spec(c);
  const RECT& r = items_[static_cast<size_t>(c)].rect;
  int height = r.bottom - r.top;
  // A drop-down list's window height includes its open list.
  if (s.cls == ControlClass::ComboBox) height += S(14) * std::clamp(static_cast<int>(s.lines.size()), 1, 8) + S(4);
  return height;
}

// Controls with ShowHint and a hint show it as a tooltip: a windowed control as itself, a
// label, image, shape or bevel as its place on its parent.
void DescribedWindow::AddHints() {
  for (size_t i = 0; i < items_.size(); ++i) {
    const ControlSpec& c = spec_.controls[i];
    if (!c.show_hint || c.hint.empty() || NonVisual(c.cls)) continue;
    if (!tips_) {
      INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
      InitCommonControlsEx(&icc);
      tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
      if (!tips_) return;
    }
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_SUBCLASS;
    ti.lpszText = const_cast<char*>(c.hint.c_str());
    if (items_[i].hwnd) {
      ti.uFlags |= TTF_IDISHWND;
      ti.hwnd = ParentWindow(static_cast<int>(i));
      ti.uId = reinterpret_cast<UINT_PTR>(items_[i].hwnd);
    } else {
      ti.hwnd = ParentWindow(static_cast<int>(i));
      ti.uId = i + 1;
      ti.rect = items_[i].rect;
    }
    SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

DescribedWindow::~DescribedWindow() {
  Withdraw();
  for (Item& it : items_) {
    if (it.font) DeleteObject(it.font);
    if (it.brush) DeleteObject(it.brush);
  }
  if (form_font_) DeleteObject(form_font_);
  if (form_brush_) DeleteObject(form_brush_);
}

void DescribedWindow::CreateControl(int c) {
  const ControlSpec& s = Spec(c);
  Item& it = items_[static_cast<size_t>(c)];
  if (s.cls == ControlClass::Timer) {
    // A described timer has no handler: it only runs.
    if (s.timer_enabled && s.interval > 0) SetTimer(hwnd_, 100 + static_cast<UINT_PTR>(c), static_cast<UINT>(s.interval), nullptr);
    return;
  }
  if (!Windowed(c)) return;
  HWND parent = ParentWindow(c);
  const int pc = s.parent;
  bool visible = it.visible;
  if (s.cls == ControlClass::TabSheet && Valid(pc)) {
    visible = items_[static_cast<size_t>(pc)].active_page == c;
    it.rect = PageArea(pc);
  }
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0);
  DWORD ex = Container(c) || s.cls == ControlClass::PageControl ? WS_EX_CONTROLPARENT : 0;
  const char* cls = kControlClass;
  std::string text;
  Link link{this, c};
  void* param = &link;
  const COLORREF back = ToColorRef(s.color, GetSysColor(COLOR_BTNFACE));
  switch (s.cls) {
    case ControlClass::Edit:
    case ControlClass::Memo:
      cls = "EDIT";
      param = nullptr;
      style |= WS_TABSTOP | (s.read_only ? ES_READONLY : 0);
      if (s.border == BorderKind::Single) {
        if (s.ctl3d) ex |= WS_EX_CLIENTEDGE;
        else style |= WS_BORDER;
      }
      if (s.cls == ControlClass::Memo) {
        style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        if (!s.word_wrap) style |= ES_AUTOHSCROLL;
        if (s.scroll_bars == ScrollBarsKind::Vertical || s.scroll_bars == ScrollBarsKind::Both) style |= WS_VSCROLL;
        if (s.scroll_bars == ScrollBarsKind::Horizontal || s.scroll_bars == ScrollBarsKind::Both) style |= WS_HSCROLL;
        text = MemoText(s);
      } else {
        style |= ES_AUTOHSCROLL | (s.password_char ? ES_PASSWORD : 0);
        text = s.text;
      }
      it.brush = CreateSolidBrush(ToColorRef(s.color, GetSysColor(COLOR_WINDOW)));
      break;
    case ControlClass::Thumbnail:
      style |= WS_TABSTOP | (s.multi_rows ? WS_VSCROLL : WS_HSCROLL);
      if (s.border == BorderKind::Single) {
        if (s.ctl3d) ex |= WS_EX_CLIENTEDGE;
        else style |= WS_BORDER;
      }
      it.grid = std::make_unique<ThumbnailGrid>();
      // The thumbnails grow with the window, so that the grid keeps its columns.
      it.grid->model.picture_width = std::max(1, S(s.picture_width));
      it.grid->model.picture_height = std::max(1, S(s.picture_height));
      it.grid->model.scale = scale_;
      it.grid->model.show_check_box = s.show_check_box;
      it.grid->model.show_title = s.show_title;
      it.grid->model.multi_rows = s.multi_rows;
      it.grid->color = ToColorRef(s.color, GetSysColor(COLOR_WINDOW));
      it.grid->font = it.font;
      it.grid->font_color = ToColorRef(s.font.color, GetSysColor(COLOR_WINDOWTEXT));
      it.grid->on_select = [this, c](int index) {
        if (items_[static_cast<size_t>(c)].select_bound && events_) events_->OnSelectItem(c, index);
      };
      break;
    case ControlClass::CheckBox:
      cls = "BUTTON";
      param = nullptr;
      style |= WS_TABSTOP | BS_AUTOCHECKBOX | (s.text_left ? BS_LEFTTEXT : 0);
      text = s.caption;
      it.brush = CreateSolidBrush(back);
      break;
    case ControlClass::Button:
    case ControlClass::BitBtn:
      style |= WS_TABSTOP;
      break;
    case ControlClass::ComboBox:
      cls = WC_COMBOBOXA;
      param = nullptr;
      style |= WS_TABSTOP | WS_VSCROLL | (s.drop_down_list ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
      break;
    case ControlClass::UpDown:
      cls = UPDOWN_CLASSA;
      param = nullptr;
      style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
      break;
    case ControlClass::TrackBar:
      cls = TRACKBAR_CLASSA;
      param = nullptr;
      style |= WS_TABSTOP | TBS_HORZ | (s.ticks ? TBS_AUTOTICKS : TBS_NOTICKS);
      break;
    case ControlClass::ListView:
      cls = WC_LISTVIEWA;
      param = nullptr;
      style |= WS_TABSTOP | LVS_SINGLESEL | LVS_SHOWSELALWAYS | (s.report_view ? LVS_REPORT : LVS_LIST);
      if (s.border == BorderKind::Single) ex |= WS_EX_CLIENTEDGE;
      break;
    default:
      break;
  }
  if (cls != kControlClass) {
    static bool common_controls = false;
    if (!common_controls) {
      INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
      common_controls = InitCommonControlsEx(&icc) != FALSE;
    }
  }
  if (!s.enabled) style |= WS_DISABLED;
  const RECT& r = it.rect;
  it.hwnd = CreateWindowExA(ex, cls, text.c_str(), style, r.left, r.top, r.right - r.left, WindowHeight(c),
                            parent, nullptr, GetModuleHandleA(nullptr), param);
  if (!it.hwnd) return;
  if (it.grid) it.grid->Attach(it.hwnd);
  it.native = cls != kControlClass;
  if (cls != kControlClass) {
    SendMessageA(it.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(it.font), FALSE);
    if (s.cls == ControlClass::CheckBox) SendMessageA(it.hwnd, BM_SETCHECK, s.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  switch (s.cls) {
    case ControlClass::Edit:
      if (s.max_length > 0) SendMessageA(it.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(s.max_length), 0);
      if (s.password_char)
        SendMessageA(it.hwnd, EM_SETPASSWORDCHAR, static_cast<WPARAM>(static_cast<unsigned char>(s.password_char)), 0);
      break;
    case ControlClass::ComboBox:
      for (const std::string& line : s.lines) SendMessageA(it.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
      SendMessageA(it.hwnd, CB_SETCURSEL, static_cast<WPARAM>(s.item_index), 0);
      break;
    case ControlClass::UpDown:
      if (Valid(s.associate_index) && items_[static_cast<size_t>(s.associate_index)].hwnd)
        SendMessageA(it.hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(items_[static_cast<size_t>(s.associate_index)].hwnd), 0);
      SendMessageA(it.hwnd, UDM_SETRANGE32, static_cast<WPARAM>(s.min), s.max);
      SendMessageA(it.hwnd, UDM_SETPOS32, 0, s.position);
      break;
    case ControlClass::TrackBar:
      SendMessageA(it.hwnd, TBM_SETRANGEMIN, FALSE, s.min);
      SendMessageA(it.hwnd, TBM_SETRANGEMAX, FALSE, s.max);
      SendMessageA(it.hwnd, TBM_SETPOS, TRUE, s.position);
      break;
    case ControlClass::ListView: {
      DWORD lv_ex = 0;
      if (s.grid_lines) lv_ex |= LVS_EX_GRIDLINES;
      if (s.row_select) lv_ex |= LVS_EX_FULLROWSELECT;
      SendMessageA(it.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, lv_ex, lv_ex);
      for (size_t i = 0; i < s.columns.size(); ++i) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = const_cast<char*>(s.columns[i].caption.c_str());
        col.cx = S(s.columns[i].width);
        SendMessageA(it.hwnd, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
      }
      FitListColumns(c);
      break;
    }
    default:
      break;
  }
}

// Auto-sized columns share what the other columns leave of the list's width.
void DescribedWindow::FitListColumns(int c) {
  const ControlSpec& s = Spec(c);
  HWND h = items_[static_cast<size_t>(c)].hwnd;
  if (!h || !s.report_view) return;
  RECT client;
  GetClientRect(h, &client);
  int fixed = 0, autos = 0;
  for (const ListColumnSpec& col : s.columns) {
    if (col.auto_size) ++autos;
    else fixed += S(col.width);
  }
  if (autos == 0) return;
  const int each = std::max(S(20), static_cast<int>((client.right - client.left - fixed) / autos));
  for (size_t i = 0; i < s.columns.size(); ++i)
    if (s.columns[i].auto_size) SendMessageA(h, LVM_SETCOLUMNWIDTH, i, each);
}

RECT DescribedWindow::ClientOf(int container) const {
  RECT r{};
  HWND h = container < 0 ? hwnd_ : items_[static_cast<size_t>(container)].hwnd;
  if (h) GetClientRect(h, &r);
  if (container >= 0 && Spec(container).cls == ControlClass::Panel) {
    const ControlSpec& p = Spec(container);
    int inset = S(p.border_width);
    if (p.bevel_outer != BevelCut::None) inset += S(p.bevel_width);
    if (p.bevel_inner != BevelCut::None) inset += S(p.bevel_width);
    InflateRect(&r, -inset, -inset);
  }
  return r;
}

std::vector<int> DescribedWindow::PagesOf(int pc) const {
  std::vector<int> pages;
  for (size_t i = 0; i < spec_.controls.size(); ++i)
    if (spec_.controls[i].parent == pc && spec_.controls[i].cls == ControlClass::TabSheet)
      pages.push_back(static_cast<int>(i));
  return pages;
}

RECT DescribedWindow::PageArea(int pc) const {
  const Item& it = items_[static_cast<size_t>(pc)];
  RECT r = {0, 0, it.rect.right - it.rect.left, it.rect.bottom - it.rect.top};
  const int tab_h = std::abs(S(Spec(pc).font.height)) + S(8);
  r.top += tab_h;
  InflateRect(&r, -S(2), -S(2));
  return r;
}

RECT DescribedWindow::TabRect(int pc, int page) const {
  const int tab_h = std::abs(S(Spec(pc).font.height)) + S(8);
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, items_[static_cast<size_t>(pc)].font);
  int x = S(2);
  RECT found{};
  for (int p : PagesOf(pc)) {
    if (!Spec(p).tab_visible) continue;
    SIZE sz{};
    const std::string& t = Spec(p).caption;
    GetTextExtentPoint32A(dc, t.c_str(), static_cast<int>(t.size()), &sz);
    const RECT r = {x, S(2), x + sz.cx + S(12), tab_h + S(2)};
    if (p == page) found = r;
    x = r.right;
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  return found;
}

void DescribedWindow::ShowPage(int pc, int page) {
  Item& it = items_[static_cast<size_t>(pc)];
  it.active_page = page;
  for (int p : PagesOf(pc))
    if (HWND h = items_[static_cast<size_t>(p)].hwnd) ShowWindow(h, p == page ? SW_SHOW : SW_HIDE);
  Invalidate(pc);
}

void DescribedWindow::Layout(int container) {
  if (!built_) return;
  if (container >= 0 && Spec(container).cls == ControlClass::PageControl) {
    for (int p : PagesOf(container)) {
      Item& page = items_[static_cast<size_t>(p)];
      page.rect = PageArea(container);
      if (page.hwnd)
        MoveWindow(page.hwnd, page.rect.left, page.rect.top, page.rect.right - page.rect.left,
                   page.rect.bottom - page.rect.top, TRUE);
    }
    return;
  }
  RECT a = ClientOf(container);
  const Align order[] = {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client};
  for (Align al : order) {
    for (size_t i = 0; i < items_.size(); ++i) {
      const ControlSpec& c = spec_.controls[i];
      Item& it = items_[i];
      if (c.parent != container || c.align != al || !it.visible || NonVisual(c.cls)) continue;
      const int w = it.rect.right - it.rect.left, h = it.rect.bottom - it.rect.top;
      switch (al) {
        case Align::Top: it.rect = {a.left, a.top, a.right, a.top + h}; a.top += h; break;
        case Align::Bottom: it.rect = {a.left, a.bottom - h, a.right, a.bottom}; a.bottom -= h; break;
        case Align::Left: it.rect = {a.left, a.top, a.left + w, a.bottom}; a.left += w; break;
        case Align::Right: it.rect = {a.right - w, a.top, a.right, a.bottom}; a.right -= w; break;
        default: it.rect = a; break;
      }
      if (it.hwnd)
        MoveWindow(it.hwnd, it.rect.left, it.rect.top, it.rect.right - it.rect.left, it.rect.bottom - it.rect.top, TRUE);
    }
  }
}

void DescribedWindow::Invalidate(int c) {
  if (!Valid(c)) {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
    return;
  }
  const Item& it = items_[static_cast<size_t>(c)];
  if (it.hwnd) {
    InvalidateRect(it.hwnd, nullptr, FALSE);
  } else {
    HWND parent = ParentWindow(c);
    if (parent) InvalidateRect(parent, &it.rect, FALSE);
  }
}

void DescribedWindow::PaintChildren(int container, PaintSurface& s, const RECT& clip) {
  for (size_t i = 0; i < items_.size(); ++i) {
    const ControlSpec& c = spec_.controls[i];
    Item& it = items_[i];
    if (c.parent != container || !IsGraphic(c.cls) || !it.visible) continue;
    RECT overlap;
    if (!IntersectRect(&overlap, &it.rect, &clip)) continue;
    if (it.button) {
      it.button->Paint(s, c, it.rect, it.font);
    } else if (c.cls == ControlClass::Preview && !it.preview.Empty()) {
      // The rendered picture, stretched when the preview changed size since it was rendered.
      DrawPicture(s, it.rect, overlap, it.preview, false);
    } else if (c.stretch && (c.cls == ControlClass::Image || c.cls == ControlClass::Preview) && !it.design.Empty()) {
      // A stretched picture is resampled to its place once, not at every paint.
      const int w = it.rect.right - it.rect.left, h = it.rect.bottom - it.rect.top;
      if (it.fitted.Width() != w || it.fitted.Height() != h) ResizePicture(it.design, w, h, c.transparent, it.fitted);
      PaintGraphicControl(s, c, it.rect, it.font, &it.fitted, scale_);
    } else {
      PaintGraphicControl(s, c, it.rect, it.font, &it.picture, scale_);
    }
  }
}

void DescribedWindow::Paint(int c, HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  // Only the part to be painted gets a surface: a control may be far larger than the screen.
  RECT area;
  if (!IntersectRect(&area, &ps.rcPaint, &client)) {
    EndPaint(hwnd, &ps);
    return;
  }
  PaintSurface s(dc, area);
  if (s.Ok()) {
    HDC m = s.Dc();
    if (c < 0) {
      FillColor(m, client, ToColorRef(spec_.window.color, GetSysColor(COLOR_BTNFACE)));
    } else {
      const ControlSpec& k = Spec(c);
      Item& it = items_[static_cast<size_t>(c)];
      switch (k.cls) {
        case ControlClass::Panel: PaintPanel(s, k, client, it.font, S(k.bevel_width), S(k.border_width)); break;
        case ControlClass::Button:
        case ControlClass::BitBtn:
          PaintButton(s, k, client, it.font, &it.picture, it.pressed, scale_);
          if (GetFocus() == hwnd) {
            RECT focus = client;
            InflateRect(&focus, -S(4), -S(4));
            DrawFocusRect(m, &focus);
          }
          break;
        case ControlClass::PageControl: {
          FillColor(m, client, GetSysColor(COLOR_BTNFACE));
          RECT area = PageArea(c);
          InflateRect(&area, S(2), S(2));
          DrawEdge(m, &area, EDGE_RAISED, BF_RECT);
          HGDIOBJ old = SelectObject(m, it.font);
          SetBkMode(m, TRANSPARENT);
          SetTextColor(m, ToColorRef(k.font.color, GetSysColor(COLOR_BTNTEXT)));
          // The other tabs stand a little lower, above the page's frame; the chosen tab is
          // drawn last, a little larger, and opens into its page.
          const int frame_top = area.top;
          for (int pass = 0; pass < 2; ++pass) {
            for (int p : PagesOf(c)) {
              const bool active = p == it.active_page;
              if (!Spec(p).tab_visible || active != (pass == 1)) continue;
              RECT t = TabRect(c, p);
              if (active) {
                t.left -= 2;
                t.right += 2;
                t.top -= 2;
                t.bottom = frame_top + 2;
              } else {
                t.top += 2;
                t.bottom = frame_top;
              }
              FillColor(m, t, GetSysColor(COLOR_BTNFACE));
              DrawEdge(m, &t, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
              RECT text = t;
              if (active) text.bottom = frame_top;
              const std::string& cap = Spec(p).caption;
              DrawTextA(m, cap.c_str(), static_cast<int>(cap.size()), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            }
          }
          SelectObject(m, old);
          break;
        }
        case ControlClass::Thumbnail:
          if (it.grid) it.grid->Paint(s, client);
          break;
        case ControlClass::GroupBox: {
          // An etched frame whose top runs through the middle of the caption.
          FillColor(m, client, ToColorRef(k.color, GetSysColor(COLOR_BTNFACE)));
          HGDIOBJ old = SelectObject(m, it.font);
          TEXTMETRICA tm{};
          GetTextMetricsA(m, &tm);
          RECT frame = client;
          frame.top += tm.tmHeight / 2;
          DrawEdge(m, &frame, EDGE_ETCHED, BF_RECT);
          if (!k.caption.empty()) {
            SIZE sz{};
            GetTextExtentPoint32A(m, k.caption.c_str(), static_cast<int>(k.caption.size()), &sz);
            RECT t = {S(8), 0, S(8) + sz.cx + 4, tm.tmHeight};
            FillColor(m, t, ToColorRef(k.color, GetSysColor(COLOR_BTNFACE)));
            SetBkMode(m, TRANSPARENT);
            SetTextColor(m, k.enabled ? ToColorRef(k.font.color, GetSysColor(COLOR_BTNTEXT)) : GetSysColor(COLOR_GRAYTEXT));
            TextOutA(m, t.left + 2, 0, k.caption.c_str(), static_cast<int>(k.caption.size()));
          }
          SelectObject(m, old);
          break;
        }
        default: FillColor(m, client, ToColorRef(k.color, GetSysColor(COLOR_BTNFACE))); break;
      }
    }
    PaintChildren(c, s, area);
    BitBlt(dc, area.left, area.top, s.Width(), s.Height(), m, area.left, area.top, SRCCOPY);
  }
  EndPaint(hwnd, &ps);
}

int DescribedWindow::HitGraphic(int container, POINT p) const {
  for (size_t i = items_.size(); i-- > 0;) {
    const ControlSpec& c = spec_.controls[i];
    const Item& it = items_[i];
    if (c.parent == container && IsGraphic(c.cls) && it.visible && c.enabled && PtInRect(&it.rect, p))
      return static_cast<int>(i);
  }
  return -1;
}

void DescribedWindow::Click(int c) {
  if (!Valid(c) || !items_[static_cast<size_t>(c)].click || !events_ || !Spec(c).enabled) return;
  events_->OnControlClick(c);
}

void DescribedWindow::Hover(int container, HWND hwnd, POINT p) {
  int hit = HitGraphic(container, p);
  if (hit >= 0 && !items_[static_cast<size_t>(hit)].button) hit = -1;
  // While a button is held, only that button can be entered or left.
  if (pressed_graphic_ >= 0 && items_[static_cast<size_t>(pressed_graphic_)].button)
    hit = PtInRect(&items_[static_cast<size_t>(pressed_graphic_)].rect, p) ? pressed_graphic_ : -1;
  if (hit == hover_button_) return;
  if (Valid(hover_button_) && items_[static_cast<size_t>(hover_button_)].button)
    items_[static_cast<size_t>(hover_button_)].button->model->PointerLeave();
  hover_button_ = hit;
  if (hit >= 0) {
    items_[static_cast<size_t>(hit)].button->model->PointerEnter();
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
    TrackMouseEvent(&tme);
  }
}

LRESULT DescribedWindow::Handle(int c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (Valid(c) && items_[static_cast<size_t>(c)].grid && msg != WM_PAINT && msg != WM_ERASEBKGND) {
    LRESULT r = 0;
    if (items_[static_cast<size_t>(c)].grid->Handle(msg, wp, lp, &r)) return r;
  }
  switch (msg) {
    case WM_MOUSEMOVE: {
      const POINT p = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      Hover(c, hwnd, p);
      break;
    }
    case WM_MOUSELEAVE:
      if (pressed_graphic_ < 0) Hover(c, hwnd, POINT{-32768, -32768});
      return 0;
    case WM_PAINT:
      Paint(c, hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      if (c < 0) Close();
      return 0;
    case WM_GETDPISCALEDSIZE:
      // The window's size at the new density is the description's size scaled, exactly.
      if (c < 0 && !IsZoomed(hwnd) && spec_.window.frame.border != FrameBorder::Sizeable) {
        *reinterpret_cast<SIZE*>(lp) = OuterSize(static_cast<int>(LOWORD(wp)));
        return TRUE;
      }
      break;
    case WM_DPICHANGED:
      // Moved to a monitor of another density: everything is scaled again, and the window
      // goes where the system suggests.
      if (c < 0) {
        const int dpi = HIWORD(wp);
        if (dpi > 0) Rescale(dpi, reinterpret_cast<const RECT*>(lp));
        return 0;
      }
      break;
    case WM_TIMER:
      if (c < 0 && wp >= kButtonTimerBase) {
        const int b = static_cast<int>(wp - kButtonTimerBase);
        if (Valid(b) && items_[static_cast<size_t>(b)].button) items_[static_cast<size_t>(b)].button->model->TimerTick();
      }
      return 0;
    case WM_SIZE:
      if (c < 0 || Valid(c)) {
        Layout(c);
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) != hwnd) {
        // Asked by a standard control: its own cursor unless the description gives one.
        for (size_t i = 0; i < items_.size(); ++i) {
          if (items_[i].hwnd != reinterpret_cast<HWND>(wp)) continue;
          if (LOWORD(lp) == HTCLIENT && spec_.controls[i].cursor != 0 && !items_[i].grid) {
            SetCursor(CursorFor(spec_.controls[i].cursor));
            return TRUE;
          }
          break;
        }
        return FALSE;
      }
      if (LOWORD(lp) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd, &p);
        const int hit = HitGraphic(c, p);
        const int cursor = hit >= 0 ? Spec(hit).cursor : (Valid(c) ? Spec(c).cursor : 0);
        SetCursor(CursorFor(cursor));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN: {
      const POINT p = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (Valid(c) && Spec(c).cls == ControlClass::PageControl) {
        for (int page : PagesOf(c)) {
          if (!Spec(page).tab_visible) continue;
          const RECT t = TabRect(c, page);
          if (PtInRect(&t, p)) ShowPage(c, page);
        }
        return 0;
      }
      const int hit = HitGraphic(c, p);
      if (hit >= 0) {
        pressed_graphic_ = hit;
        SetCapture(hwnd);
        if (items_[static_cast<size_t>(hit)].button) {
          hover_button_ = hit;
          items_[static_cast<size_t>(hit)].button->model->LeftDown();
        }
      } else if (Valid(c)) {
        if (IsPushButton(Spec(c).cls) && Spec(c).enabled) SetFocus(hwnd);
        items_[static_cast<size_t>(c)].pressed = true;
        SetCapture(hwnd);
        Invalidate(c);
      }
      return 0;
    }
    case WM_GETDLGCODE:
      if (Valid(c) && IsPushButton(Spec(c).cls))
        return DLGC_BUTTON | (Spec(c).default_button ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (Valid(c) && IsPushButton(Spec(c).cls)) Invalidate(c);
      break;
    case WM_KEYDOWN:
      // Space presses a push button that has the focus; letting it go clicks.
      if (Valid(c) && IsPushButton(Spec(c).cls) && wp == VK_SPACE && !(lp & (1 << 30))) {
        items_[static_cast<size_t>(c)].pressed = true;
        Invalidate(c);
        return 0;
      }
      break;
    case WM_KEYUP:
      if (Valid(c) && IsPushButton(Spec(c).cls) && wp == VK_SPACE && items_[static_cast<size_t>(c)].pressed) {
        items_[static_cast<size_t>(c)].pressed = false;
        Invalidate(c);
        Click(c);
        return 0;
      }
      break;
    case WM_LBUTTONUP: {
      const POINT p = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (GetCapture() == hwnd) ReleaseCapture();
      const int graphic = pressed_graphic_;
      pressed_graphic_ = -1;
      if (graphic >= 0) {
        const bool over = HitGraphic(c, p) == graphic;
        if (items_[static_cast<size_t>(graphic)].button) {
          items_[static_cast<size_t>(graphic)].button->model->LeftUp(over);
          Hover(c, hwnd, p);
        }
        if (over) Click(graphic);
        return 0;
      }
      if (Valid(c) && items_[static_cast<size_t>(c)].pressed) {
        items_[static_cast<size_t>(c)].pressed = false;
        Invalidate(c);
        RECT client;
        GetClientRect(hwnd, &client);
        if (PtInRect(&client, p)) Click(c);
      }
      return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const HWND child = reinterpret_cast<HWND>(lp);
      for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].hwnd != child || !items_[i].brush) continue;
        const ControlSpec& k = spec_.controls[i];
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, ToColorRef(k.font.color, GetSysColor(COLOR_WINDOWTEXT)));
        const bool edit = k.cls == ControlClass::Edit || k.cls == ControlClass::Memo;
        SetBkColor(dc, ToColorRef(k.color, GetSysColor(edit ? COLOR_WINDOW : COLOR_BTNFACE)));
        return reinterpret_cast<LRESULT>(items_[i].brush);
      }
      break;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void DescribedWindow::ShowModal(FormEvents& events) {
  if (!hwnd_) return;
  events_ = &events;
  closing_ = false;
  std::vector<HWND>& stack = ModalStack();
  HWND owner = stack.empty() ? nullptr : stack.back();
  if (owner) {
    SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    EnableWindow(owner, FALSE);
  }
  stack.push_back(hwnd_);
  events.OnFormShow();
  ShowWindow(hwnd_, spec_.window.frame.maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  SetForegroundWindow(hwnd_);
  // The focus starts on ActiveControl, else on the first control Tab reaches.
  const int active = FindControl(spec_, spec_.window.active_control);
  HWND focus = Valid(active) ? items_[static_cast<size_t>(active)].hwnd : nullptr;
  if (!focus) focus = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (focus) SetFocus(focus);
  MSG msg;
  while (!closing_) {
    const BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (r < 0) break;
    if (AcceleratorKey(msg)) continue;
    // Tab, Shift+Tab and the arrows between controls, as in a dialog.
    if (IsDialogMessageA(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  events.OnFormClose();
  stack.pop_back();
  if (owner) {
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
  }
  Withdraw();
  events_ = nullptr;
}

// Takes the window off the screen at once and destroys it. Hiding a captioned window first
// would, under Wine on an X display without a window manager, hold the thread two seconds
// waiting for the manager's answer with the window still in sight: a user sees the click
// on "Close window" do nothing and clicks again. A window already marked hidden is
// destroyed without that wait; what it covered is then redrawn.
void DescribedWindow::Withdraw() {
  if (!hwnd_) return;
  for (size_t i = 0; i < items_.size(); ++i) KillTimer(hwnd_, 100 + i);
  for (Item& it : items_) it.button.reset();  // stops the repeat timers
  RECT covered{};
  const bool shown = IsWindowVisible(hwnd_) != FALSE;
  if (shown) {
    GetWindowRect(hwnd_, &covered);
    SetWindowLongPtrA(hwnd_, GWL_STYLE, GetWindowLongPtrA(hwnd_, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE));
  }
  DestroyWindow(hwnd_);  // its controls and the tooltip window it owns with it
  hwnd_ = nullptr;
  tips_ = nullptr;
  for (Item& it : items_) it.hwnd = nullptr;
  if (shown) RedrawWindow(nullptr, &covered, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// A key that matches the "&" letter of an enabled, visible image button's caption clicks it
// (with Alt, or without when the focus is not in a text box) and is consumed.
bool DescribedWindow::AcceleratorKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  if (!IsWindowVisible(hwnd_) || !IsWindowEnabled(hwnd_) || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)))
    return false;
  const bool alt = msg.message == WM_SYSKEYDOWN;
  const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  if (!alt && ctrl && (msg.wParam == VK_TAB || msg.wParam == VK_NEXT || msg.wParam == VK_PRIOR)) {
    // Ctrl+Tab and Ctrl+Page Down show the next page, with Shift or Page Up the previous one,
    // of the page control that holds the focus (else the window's first).
    const bool back = msg.wParam == VK_PRIOR || (msg.wParam == VK_TAB && (GetKeyState(VK_SHIFT) & 0x8000));
    int pc = -1;
    for (size_t i = 0; i < items_.size() && pc < 0; ++i)
      if (spec_.controls[i].cls == ControlClass::PageControl && items_[i].hwnd && IsChild(items_[i].hwnd, GetFocus()))
        pc = static_cast<int>(i);
    for (size_t i = 0; i < items_.size() && pc < 0; ++i)
      if (spec_.controls[i].cls == ControlClass::PageControl && items_[i].visible) pc = static_cast<int>(i);
    if (pc < 0) return false;
    std::vector<int> pages;
    for (int p : PagesOf(pc))
      if (Spec(p).tab_visible) pages.push_back(p);
    if (pages.size() < 2) return true;
    const auto at = std::find(pages.begin(), pages.end(), items_[static_cast<size_t>(pc)].active_page);
    const int n = static_cast<int>(pages.size());
    const int index = at == pages.end() ? 0 : static_cast<int>(at - pages.begin());
    const int page = pages[static_cast<size_t>((index + (back ? n - 1 : 1)) % n)];
    ShowPage(pc, page);
    // The focus goes to the new page's first control that Tab reaches.
    if (HWND h = items_[static_cast<size_t>(page)].hwnd)
      for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if ((GetWindowLongA(c, GWL_STYLE) & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE)) {
          SetFocus(c);
          break;
        }
    return true;
  }
  if (!alt && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
    // Enter clicks the default button and Escape the cancel button; an open drop-down list
    // and a multi-line text box keep their keys.
    HWND focus = GetFocus();
    char cls[16] = {};
    GetClassNameA(focus, cls, sizeof cls);
    if (lstrcmpiA(cls, "EDIT") == 0 && (GetWindowLongA(focus, GWL_STYLE) & ES_MULTILINE) && msg.wParam == VK_RETURN)
      return false;
    if (lstrcmpiA(cls, "COMBOBOX") == 0 && SendMessageA(focus, CB_GETDROPPEDSTATE, 0, 0)) return false;
    if (HWND p = GetParent(focus); p && lstrcmpiA(cls, "EDIT") == 0) {
      // The edit box inside a drop-down list.
      char pcls[16] = {};
      GetClassNameA(p, pcls, sizeof pcls);
      if (lstrcmpiA(pcls, "COMBOBOX") == 0 && SendMessageA(p, CB_GETDROPPEDSTATE, 0, 0)) return false;
    }
    if (msg.wParam == VK_RETURN) {
      // Enter on a push button that has the focus clicks that button.
      for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].hwnd != focus || !IsPushButton(spec_.controls[i].cls)) continue;
        if (!items_[i].click || !spec_.controls[i].enabled) break;
        Click(static_cast<int>(i));
        return true;
      }
    }
    for (size_t i = 0; i < items_.size(); ++i) {
      const ControlSpec& c = spec_.controls[i];
      const bool wanted = msg.wParam == VK_RETURN ? c.default_button : c.cancel_button;
      if (!wanted || !items_[i].click || !c.enabled || !items_[i].visible) continue;
      Click(static_cast<int>(i));
      return true;
    }
    return false;
  }
  if (!alt) {
    char cls[16] = {};
    GetClassNameA(GetFocus(), cls, sizeof cls);
    if (lstrcmpiA(cls, "EDIT") == 0) return false;
  }
  const UINT key = MapVirtualKeyA(static_cast<UINT>(msg.wParam), MAPVK_VK_TO_CHAR) & 0x7FFF;
  if (key == 0) return false;
  const char upper = key >= 'a' && key <= 'z' ? static_cast<char>(key - 'a' + 'A') : static_cast<char>(key);
  for (size_t i = 0; i < items_.size(); ++i) {
    const ControlSpec& c = spec_.controls[i];
    if (!items_[i].button || !items_[i].visible || !c.enabled) continue;
    const char acc = ImageButtonModel::Accelerator(c.caption);
    if (acc == 0 || acc != upper) continue;
    // The button and every container up to the window must be showing.
    bool showing = true;
    for (int p = c.parent; Valid(p) && showing; p = Spec(p).parent)
      showing = items_[static_cast<size_t>(p)].visible &&
                (!items_[static_cast<size_t>(p)].hwnd || IsWindowVisible(items_[static_cast<size_t>(p)].hwnd));
    if (!showing) continue;
    Click(static_cast<int>(i));
    return true;
  }
  return false;
}

void DescribedWindow::Close() {
  closing_ = true;
  if (hwnd_) PostMessageA(hwnd_, WM_NULL, 0, 0);
}

void DescribedWindow::SetVisible(int c, bool visible) {
  if (!Valid(c)) return;
  Item& it = items_[static_cast<size_t>(c)];
  if (Spec(c).cls == ControlClass::TabSheet) return;  // pages show as their tabs are chosen
  if (it.visible == visible) return;
  if (!it.hwnd) Invalidate(c);  // the old place
  it.visible = visible;
  if (it.hwnd) ShowWindow(it.hwnd, visible ? SW_SHOWNA : SW_HIDE);
  if (Spec(c).align != Align::None && Spec(c).align != Align::Custom) {
    Layout(Spec(c).parent);
    Invalidate(Spec(c).parent);
  }
  Invalidate(c);
}

void DescribedWindow::SetReadOnly(int c, bool read_only) {
  if (!Valid(c)) return;
  const ControlClass k = Spec(c).cls;
  if ((k == ControlClass::Edit || k == ControlClass::Memo) && items_[static_cast<size_t>(c)].hwnd)
    SendMessageA(items_[static_cast<size_t>(c)].hwnd, EM_SETREADONLY, read_only ? TRUE : FALSE, 0);
}

void DescribedWindow::BindClick(int c) {
  if (Valid(c)) items_[static_cast<size_t>(c)].click = true;
}

void DescribedWindow::RepaintActivePage(int pc) {
  if (!Valid(pc)) return;
  Invalidate(pc);
  const int page = items_[static_cast<size_t>(pc)].active_page;
  if (Valid(page)) Invalidate(page);
}

void DescribedWindow::GridSetFiles(int g, const std::vector<std::string>& files) {
  if (Valid(g) && items_[static_cast<size_t>(g)].grid) items_[static_cast<size_t>(g)].grid->SetFiles(files);
}

int DescribedWindow::GridColCount(int g) const {
  return Valid(g) && items_[static_cast<size_t>(g)].grid ? items_[static_cast<size_t>(g)].grid->ColCount() : 1;
}

void DescribedWindow::GridSetChecked(int g, int p, bool checked) {
  if (Valid(g) && items_[static_cast<size_t>(g)].grid) items_[static_cast<size_t>(g)].grid->model.SetChecked(p, checked);
}

bool DescribedWindow::GridChecked(int g, int p) const {
  if (!Valid(g) || !items_[static_cast<size_t>(g)].grid) return true;
  return items_[static_cast<size_t>(g)].grid->model.Checked(p);
}

void DescribedWindow::GridBindSelectItem(int g) {
  if (Valid(g)) items_[static_cast<size_t>(g)].select_bound = true;
}

void DescribedWindow::GridRepaint(int g) {
  if (Valid(g) && items_[static_cast<size_t>(g)].grid) items_[static_cast<size_t>(g)].grid->Repaint();
}

void DescribedWindow::GridSelectCell(int g, int col, int row) {
  if (Valid(g) && items_[static_cast<size_t>(g)].grid) items_[static_cast<size_t>(g)].grid->SelectCell(col, row);
}

// The preview renders the picture at its current size; a picture that cannot be read
// leaves the one shown before and is reported as the window reports a failed load.
void DescribedWindow::PreviewLoadFile(int p, const std::string& path) {
  if (!Valid(p)) return;
  Item& it = items_[static_cast<size_t>(p)];
  it.preview_file = path;
  Bitmap32 rendered;
  std::string error;
  if (!RenderPreview(path, it.rect.right - it.rect.left, it.rect.bottom - it.rect.top, rendered, error))
    throw std::runtime_error(error.empty() ? "The picture \"" + path + "\" cannot be read." : error);
  it.preview = std::move(rendered);
  Invalidate(p);
}

// Rendering again gives the same bitmap unless the preview changed size since the load.
void DescribedWindow::PreviewRedraw(int p) {
  if (!Valid(p) || items_[static_cast<size_t>(p)].preview_file.empty()) return;
  const Item& it = items_[static_cast<size_t>(p)];
  if (it.preview.Width() != it.rect.right - it.rect.left || it.preview.Height() != it.rect.bottom - it.rect.top)
    PreviewLoadFile(p, it.preview_file);
  Invalidate(p);
}

HWND DescribedWindow::Native(int c, ControlClass cls) const {
  if (!Valid(c) || Spec(c).cls != cls) return nullptr;
  return items_[static_cast<size_t>(c)].hwnd;
}

bool DescribedWindow::Checked(int c) const {
  HWND h = Native(c, ControlClass::CheckBox);
  return h && SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DescribedWindow::SetChecked(int c, bool checked) {
  if (HWND h = Native(c, ControlClass::CheckBox)) SendMessageA(h, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int DescribedWindow::ItemIndex(int c) const {
  HWND h = Native(c, ControlClass::ComboBox);
  return h ? static_cast<int>(SendMessageA(h, CB_GETCURSEL, 0, 0)) : -1;
}

void DescribedWindow::SetItemIndex(int c, int index) {
  if (HWND h = Native(c, ControlClass::ComboBox)) SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string DescribedWindow::Text(int c) const {
  if (!Valid(c) || !items_[static_cast<size_t>(c)].hwnd) return {};
  HWND h = items_[static_cast<size_t>(c)].hwnd;
  const int n = GetWindowTextLengthA(h);
  std::string text(static_cast<size_t>(std::max(0, n)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(h, text.data(), static_cast<int>(text.size()))));
  // A memo's Text is all its lines, each followed by CR LF.
  if (Spec(c).cls == ControlClass::Memo) return cfgtext::JoinLines(cfgtext::SplitLines(text), true);
  return text;
}

void DescribedWindow::SetText(int c, const std::string& text) {
  if (!Valid(c) || !items_[static_cast<size_t>(c)].hwnd) return;
  // A memo splits the text into lines at CR, LF or CR LF.
  const std::string shown =
      Spec(c).cls == ControlClass::Memo ? cfgtext::JoinLines(cfgtext::SplitLines(text), false) : text;
  SetWindowTextA(items_[static_cast<size_t>(c)].hwnd, shown.c_str());
}

int DescribedWindow::Position(int c) const {
  if (HWND h = Native(c, ControlClass::UpDown)) return static_cast<int>(SendMessageA(h, UDM_GETPOS32, 0, 0));
  if (HWND h = Native(c, ControlClass::TrackBar)) return static_cast<int>(SendMessageA(h, TBM_GETPOS, 0, 0));
  return 0;
}

void DescribedWindow::SetPosition(int c, int position) {
  if (HWND h = Native(c, ControlClass::UpDown)) SendMessageA(h, UDM_SETPOS32, 0, position);
  if (HWND h = Native(c, ControlClass::TrackBar)) SendMessageA(h, TBM_SETPOS, TRUE, position);
}

void DescribedWindow::SetEnabled(int c, bool enabled) {
  if (!Valid(c)) return;
  spec_.controls[static_cast<size_t>(c)].enabled = enabled;
  if (HWND h = items_[static_cast<size_t>(c)].hwnd) EnableWindow(h, enabled ? TRUE : FALSE);
  Invalidate(c);
}

std::vector<std::string> DescribedWindow::ListRows(int c) const {
  std::vector<std::string> rows;
  HWND h = Native(c, ControlClass::ListView);
  if (!h) return rows;
  const int n = static_cast<int>(SendMessageA(h, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    std::vector<char> buf(1024);
    for (;;) {
      LVITEMA item{};
      item.iSubItem = 0;
      item.pszText = buf.data();
      item.cchTextMax = static_cast<int>(buf.size());
      const int len = static_cast<int>(SendMessageA(h, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)));
      if (len < static_cast<int>(buf.size()) - 1 || buf.size() >= 65536) {
        rows.emplace_back(buf.data(), static_cast<size_t>(std::max(0, len)));
        break;
      }
      buf.resize(buf.size() * 4);  // a longer path than the buffer
    }
  }
  return rows;
}

void DescribedWindow::ListAddRow(int c, const std::string& caption) {
  HWND h = Native(c, ControlClass::ListView);
  if (!h) return;
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageA(h, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<char*>(caption.c_str());
  SendMessageA(h, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  FitListColumns(c);  // a vertical scroll bar may have come
}

void DescribedWindow::ListDeleteRow(int c, int row) {
  if (HWND h = Native(c, ControlClass::ListView)) {
    SendMessageA(h, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    FitListColumns(c);
  }
}

int DescribedWindow::ListSelectedRow(int c) const {
  HWND h = Native(c, ControlClass::ListView);
  return h ? static_cast<int>(SendMessageA(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) : -1;
}

std::optional<std::string> DescribedWindow::RunOpenDialog(int c) {
  if (!Valid(c) || Spec(c).cls != ControlClass::OpenDialog) return std::nullopt;
  const ControlSpec& s = Spec(c);
  // "Name|pattern|Name|pattern" becomes the dialog's pairs of zero-ended strings.
  std::string filter = s.filter;
  filter.append(2, '|');
  std::replace(filter.begin(), filter.end(), '|', '\0');
  std::vector<char> file(32768, '\0');
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = s.filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = s.caption.empty() ? nullptr : s.caption.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | (s.hide_read_only ? OFN_HIDEREADONLY : 0) |
              (s.file_must_exist ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : 0) | (s.enable_sizing ? OFN_ENABLESIZING : 0);
  if (!GetOpenFileNameA(&ofn)) return std::nullopt;
  return std::string(file.data());
}

}  // namespace kx::win32
