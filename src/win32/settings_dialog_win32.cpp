#include "win32/settings_dialog_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "config/settings_dialog_model.h"

namespace kx::win32 {

namespace {

const char kDialogClass[] = "KXSettingsDialog";
const char kPageClass[] = "KXSettingsPage";

struct Dialog {
  SettingsDialogModel model;
  HWND hwnd = nullptr;
  HFONT font = nullptr;
  int dpi = 96;
  std::map<std::string, HWND> controls;
  std::vector<HWND> pages;
  HWND tab = nullptr;
  bool done = false, ok = false;

  explicit Dialog(const SettingsDialogState& s) : model(s) {}
  int S(int v) const { return MulDiv(v, dpi, 96); }
  HWND Get(const char* name) const {
    auto it = controls.find(name);
    return it == controls.end() ? nullptr : it->second;
  }
};

LRESULT CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);

// Pages hand their controls' notifications to the dialog.
LRESULT CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
      return SendMessageA(GetAncestor(hwnd, GA_ROOT), msg, wp, lp);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

bool Register() {
  static bool done = false;
  if (done) return true;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                           ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DialogProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kDialogClass;
  if (!RegisterClassA(&wc)) return false;
  wc.lpfnWndProc = PageProc;
  wc.cbWndExtra = 0;
  wc.lpszClassName = kPageClass;
  if (!RegisterClassA(&wc)) return false;
  done = true;
  return true;
}

int TextWidth(HWND hwnd, HFONT font, const char* text) {
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE sz{};
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &sz);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return sz.cx;
}

void SetCheck(HWND h, bool on) { SendMessageA(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
bool GetCheck(HWND h) { return SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void AddRow(HWND list, const std::string& text) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = ListView_GetItemCount(list);
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  ListView_SetColumnWidth(list, 0, LVSCW_AUTOSIZE_USEHEADER);
}

void Build(Dialog& d) {
  const DWORD child = WS_CHILD | WS_VISIBLE;
  for (const DialogControl& c : SettingsDialogLayout::Controls()) {
    HWND parent = d.hwnd;
    int ox = 0, oy = 0;
    if (*c.parent) {
      parent = d.Get(c.parent);
      if (!parent) continue;
    }
    const DialogControl* pc = *c.parent ? SettingsDialogLayout::Find(c.parent) : nullptr;
    if (pc && pc->kind == DialogControlKind::GroupBox) {
      // A group box is no container window: its children stand on the dialog.
      ox = pc->left;
      oy = pc->top;
      parent = d.hwnd;
    }
    const int x = d.S(c.left + ox), y = d.S(c.top + oy), w = d.S(c.width);
    int h = d.S(c.height);
    const char* cls = "BUTTON";
    DWORD style = child;
    DWORD ex = 0;
    using K = DialogControlKind;
    switch (c.kind) {
      case K::Button: style |= WS_TABSTOP | BS_PUSHBUTTON; break;
      case K::CheckBox: style |= WS_TABSTOP | BS_AUTOCHECKBOX; break;
      case K::GroupBox: style |= BS_GROUPBOX; break;
      case K::Label:
      case K::LinkLabel: cls = "STATIC"; style |= SS_NOTIFY | SS_LEFT; break;
      case K::ComboBox: cls = WC_COMBOBOXA; style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST; h = d.S(200); break;
      case K::Edit: cls = "EDIT"; style |= WS_TABSTOP | ES_AUTOHSCROLL; ex = WS_EX_CLIENTEDGE; break;
      case K::UpDown: cls = UPDOWN_CLASSA; style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS; break;
      case K::TrackBar: cls = TRACKBAR_CLASSA; style |= WS_TABSTOP | TBS_NOTICKS | TBS_HORZ; break;
      case K::ListView:
        cls = WC_LISTVIEWA;
        style |= WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
        ex = WS_EX_CLIENTEDGE;
        break;
      case K::PageControl: cls = WC_TABCONTROLA; style |= WS_TABSTOP | WS_CLIPSIBLINGS; break;
      case K::TabSheet: cls = kPageClass; style = WS_CHILD | WS_CLIPSIBLINGS; break;
    }
    HWND h_ctl = nullptr;
    if (c.kind == K::TabSheet) {
      // The page covers the tab control's display area, on the dialog above the tabs.
      TCITEMA ti{};
      ti.mask = TCIF_TEXT;
      ti.pszText = const_cast<char*>(c.text);
      SendMessageA(parent, TCM_INSERTITEMA, d.pages.size(), reinterpret_cast<LPARAM>(&ti));
      RECT r;
      GetWindowRect(parent, &r);
      MapWindowPoints(nullptr, d.hwnd, reinterpret_cast<POINT*>(&r), 2);
      TabCtrl_AdjustRect(parent, FALSE, &r);
      h_ctl = CreateWindowExA(WS_EX_CONTROLPARENT, cls, "", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                              d.hwnd, nullptr, GetModuleHandleA(nullptr), nullptr);
      if (h_ctl) {
        SetWindowPos(h_ctl, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        if (d.pages.empty()) ShowWindow(h_ctl, SW_SHOW);
        d.pages.push_back(h_ctl);
      }
    } else {
      const bool auto_size = c.kind == K::Label || c.kind == K::LinkLabel;
      h_ctl = CreateWindowExA(ex, cls, c.kind == K::ListView ? "" : c.text, style, x, y, auto_size ? 1 : w,
                              auto_size ? 1 : h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(0)),
                              GetModuleHandleA(nullptr), nullptr);
      if (h_ctl) {
        SendMessageA(h_ctl, WM_SETFONT, reinterpret_cast<WPARAM>(d.font), FALSE);
        if (auto_size)
          SetWindowPos(h_ctl, nullptr, 0, 0, TextWidth(h_ctl, d.font, c.text), -d.S(SettingsDialogLayout::kFontHeight) + 2,
                       SWP_NOMOVE | SWP_NOZORDER);
      }
    }
    if (!h_ctl) continue;
    if (c.kind == K::PageControl) {
      d.tab = h_ctl;
      SendMessageA(h_ctl, WM_SETFONT, reinterpret_cast<WPARAM>(d.font), FALSE);
    }
    for (const char* item : c.items) SendMessageA(h_ctl, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    d.controls[c.name] = h_ctl;
  }
}

void Fill(Dialog& d) {
  const DialogSettings& v = d.model.values;
  SetCheck(d.Get("cbMusic"), v.Music);
  SetCheck(d.Get("cbSound"), v.Sound);
  SetCheck(d.Get("cbDirectX"), v.DirectX);
  SetCheck(d.Get("cbCustomMusic"), v.CustomMusic);
  SetCheck(d.Get("cbShuffleMusic"), v.ShuffleMusic);
  SetCheck(d.Get("cbTransition"), v.Transition);
  SendMessageA(d.Get("cbImageQuality"), CB_SETCURSEL, v.DirectXQuality, 0);
  SendMessageA(d.Get("cbImageSize"), CB_SETCURSEL, v.ImageSize, 0);
  SendMessageA(d.Get("cbShowImageMode"), CB_SETCURSEL, v.ImageMode, 0);
  HWND edit = d.Get("txtDuration"), updown = d.Get("UpDown1");
  SendMessageA(edit, EM_LIMITTEXT, SettingsDialogLayout::kDurationChars, 0);
  SendMessageA(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  SendMessageA(updown, UDM_SETRANGE32, SettingsDialogLayout::kMinDuration, SettingsDialogLayout::kMaxDuration);
  int pos = SettingsDialogLayout::kMinDuration;
  if (const char* t = d.model.duration_text.c_str(); *t) pos = std::clamp(atoi(t), SettingsDialogLayout::kMinDuration, SettingsDialogLayout::kMaxDuration);
  SendMessageA(updown, UDM_SETPOS32, 0, pos);
  SetWindowTextA(edit, d.model.duration_text.c_str());  // as given, even out of range
  HWND speed = d.Get("tbSpeed");
  SendMessageA(speed, TBM_SETRANGE, FALSE, MAKELPARAM(SettingsDialogLayout::kSpeedMin, SettingsDialogLayout::kSpeedMax));
  SendMessageA(speed, TBM_SETPOS, TRUE, d.model.values.Speed);
  HWND list = d.Get("lstMusic");
  ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.pszText = const_cast<char*>("File");
  col.cx = d.S(300);
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
  for (const std::string& row : d.model.rows) AddRow(list, row);
  EnableWindow(d.Get("Button1"), TRUE);
}

void ReadBack(Dialog& d) {
  DialogSettings& v = d.model.values;
  v.Music = GetCheck(d.Get("cbMusic"));
  v.Sound = GetCheck(d.Get("cbSound"));
  v.DirectX = GetCheck(d.Get("cbDirectX"));
  v.CustomMusic = GetCheck(d.Get("cbCustomMusic"));
  v.ShuffleMusic = GetCheck(d.Get("cbShuffleMusic"));
  v.Transition = GetCheck(d.Get("cbTransition"));
  v.DirectXQuality = static_cast<int>(SendMessageA(d.Get("cbImageQuality"), CB_GETCURSEL, 0, 0));
  v.ImageSize = static_cast<int>(SendMessageA(d.Get("cbImageSize"), CB_GETCURSEL, 0, 0));
  v.ImageMode = static_cast<int>(SendMessageA(d.Get("cbShowImageMode"), CB_GETCURSEL, 0, 0));
  v.Speed = static_cast<int>(SendMessageA(d.Get("tbSpeed"), TBM_GETPOS, 0, 0));
  char text[16] = {};
  GetWindowTextA(d.Get("txtDuration"), text, sizeof text);
  d.model.SetDurationText(text);
  // The rows, top to bottom.
  HWND list = d.Get("lstMusic");
  d.model.rows.clear();
  const int n = ListView_GetItemCount(list);
  for (int i = 0; i < n; ++i) {
    char buf[MAX_PATH * 2] = {};
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
    d.model.rows.push_back(buf);
  }
}

void AddMusic(Dialog& d) {
  char file[MAX_PATH * 4] = {};
  std::string filter = SettingsDialogLayout::kMusicFilter;
  filter += '|';
  std::replace(filter.begin(), filter.end(), '|', '\0');
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = d.hwnd;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER;
  const size_t before = d.model.rows.size();
  d.model.Add(GetOpenFileNameA(&ofn) ? std::optional<std::string>(file) : std::nullopt);
  if (d.model.rows.size() > before) AddRow(d.Get("lstMusic"), d.model.rows.back());
}

void RemoveMusic(Dialog& d) {
  HWND list = d.Get("lstMusic");
  const int sel = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  if (sel >= 0) ListView_DeleteItem(list, sel);
}

LRESULT CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* d = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, 0));
  if (msg == WM_NCCREATE) {
    d = static_cast<Dialog*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(d));
  }
  if (!d) return DefWindowProcA(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_COMMAND: {
      const HWND from = reinterpret_cast<HWND>(lp);
      if (!from) break;
      const WORD code = HIWORD(wp);
      if (from == d->Get("Button1") && code == BN_CLICKED) {
        ReadBack(*d);
        d->ok = true;
        d->done = true;
      } else if (from == d->Get("Button2") && code == BN_CLICKED) {
        d->done = true;
      } else if (from == d->Get("Button3") && code == BN_CLICKED) {
        AddMusic(*d);
      } else if (from == d->Get("Button4") && code == BN_CLICKED) {
        RemoveMusic(*d);
      } else if (from == d->Get("Label3") && code == STN_CLICKED) {
        d->model.Reset();
        SendMessageA(d->Get("tbSpeed"), TBM_SETPOS, TRUE, d->model.values.Speed);
      }
      return 0;
    }
    case WM_NOTIFY: {
      const auto* n = reinterpret_cast<const NMHDR*>(lp);
      if (n->hwndFrom == d->tab && n->code == TCN_SELCHANGE) {
        const int sel = TabCtrl_GetCurSel(d->tab);
        for (size_t i = 0; i < d->pages.size(); ++i)
          ShowWindow(d->pages[i], static_cast<int>(i) == sel ? SW_SHOW : SW_HIDE);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == d->Get("Label3")) {
        SetTextColor(reinterpret_cast<HDC>(wp), RGB(0, 0, 255));
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_CLOSE:
      d->done = true;
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

bool RunSettingsDialogWindow(SettingsDialogState& state) {
  if (!Register()) return false;
  Dialog d(state);
  HDC screen = GetDC(nullptr);
  d.dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  if (d.dpi <= 0) d.dpi = 96;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD ex = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT r = {0, 0, d.S(SettingsDialogLayout::kClientWidth), d.S(SettingsDialogLayout::kClientHeight)};
  AdjustWindowRectEx(&r, style, FALSE, ex);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HWND owner = GetActiveWindow();
  d.hwnd = CreateWindowExA(ex, kDialogClass, SettingsDialogLayout::kCaption, style,
                           (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h,
                           owner, nullptr, GetModuleHandleA(nullptr), &d);
  if (!d.hwnd) return false;
  d.font = CreateFontA(d.S(SettingsDialogLayout::kFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, SettingsDialogLayout::kFontName);
  Build(d);
  Fill(d);
  if (!state.ok_enabled) EnableWindow(d.Get("Button1"), FALSE);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(d.hwnd, SW_SHOWNORMAL);
  SetForegroundWindow(d.hwnd);
  MSG msg;
  while (!d.done) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (IsDialogMessageA(d.hwnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
  }
  DestroyWindow(d.hwnd);
  DeleteObject(d.font);
  if (d.ok) d.model.Ok(state);
  return d.ok;
}

}  // namespace kx::win32
