#include "win32/thumbnail_grid_win32.h"

#include <algorithm>

#include "config/picture_render.h"
#include "win32/app.h"
#include "win32/win32_controls.h"

namespace kx::win32 {

namespace {

void Rect(HDC dc, int l, int t, int r, int b, COLORREF pen_c, int pen_w, HBRUSH brush) {
  HPEN pen = CreatePen(PS_SOLID, pen_w, pen_c);
  HGDIOBJ op = SelectObject(dc, pen), ob = SelectObject(dc, brush);
  Rectangle(dc, l, t, r, b);
  SelectObject(dc, op);
  SelectObject(dc, ob);
  DeleteObject(pen);
}

// The timer that builds the thumbnails after the grid is shown.
constexpr UINT_PTR kFillTimer = 0x4B54;
constexpr DWORD kFillSliceMs = 30;

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

}  // namespace

void ThumbnailGrid::SetFiles(const std::vector<std::string>& files) {
  files_ = files;
  has_files_ = true;
  model.ResetChecks(static_cast<int>(files_.size()));
  thumbs_.assign(files_.size(), Bitmap32());
  titles_.assign(files_.size(), std::string());
  built_ = 0;
  Relayout();
  Repaint();
  if (hwnd_) {
    SetTimer(hwnd_, kFillTimer, USER_TIMER_MINIMUM, nullptr);
  } else {
    while (!BuildSomeThumbnails()) {
    }
  }
}

void ThumbnailGrid::Rescale(int picture_width, int picture_height) {
  model.picture_width = picture_width;
  model.picture_height = picture_height;
  if (!has_files_) return;
  thumbs_.assign(files_.size(), Bitmap32());
  built_ = 0;
  Relayout();
  Repaint();
  if (hwnd_) SetTimer(hwnd_, kFillTimer, USER_TIMER_MINIMUM, nullptr);
}

// One entry per picture: a picture that is missing or cannot be read keeps an empty cell so
// that the thumbnails after it stay with their own pictures.
bool ThumbnailGrid::BuildSomeThumbnails() {
  const int pw = std::max(1, model.picture_width), ph = std::max(1, model.picture_height);
  const auto message = [this](const std::string& text) {
    MessageBoxA(hwnd_ ? GetAncestor(hwnd_, GA_ROOT) : nullptr, text.c_str(), MessageCaption(), MB_OK | MB_ICONERROR);
  };
  const DWORD start = GetTickCount();
  const size_t from = built_;
  while (built_ < files_.size() && (built_ == from || GetTickCount() - start < kFillSliceMs)) {
    ThumbnailEntry e = BuildThumbnail(files_[built_], pw, ph, message);
    thumbs_[built_] = std::move(e.thumbnail);
    titles_[built_] = std::move(e.title);
    ++built_;
  }
  if (built_ > from) Repaint();
  return built_ >= files_.size();
}

void ThumbnailGrid::Relayout() {
  if (!has_files_ || !hwnd_) return;
  // The columns come from the control's own width, frame and scroll bar included, as the
  // grid's designer counts them: a 416-pixel grid of 100-pixel cells has 4 columns, the
  // last one partly under the scroll bar.
  RECT r;
  GetWindowRect(hwnd_, &r);
  layout_ = model.Layout(static_cast<int>(r.right - r.left), static_cast<int>(files_.size()));
  sel_col_ = std::min(sel_col_, layout_.cols - 1);
  sel_row_ = std::min(sel_row_, layout_.rows - 1);
  UpdateScrollBars();
}

int ThumbnailGrid::VisibleCells() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return model.multi_rows ? std::max(1, static_cast<int>(r.bottom - r.top) / std::max(1, layout_.row_height))
                          : std::max(1, static_cast<int>(r.right - r.left) / std::max(1, layout_.col_width));
}

void ThumbnailGrid::UpdateScrollBars() {
  if (!hwnd_) return;
  const int total = model.multi_rows ? layout_.rows : layout_.cols;
  const int page = VisibleCells();
  first_ = std::clamp(first_, 0, std::max(0, total - page));
  SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, total - 1, static_cast<UINT>(page), first_, 0};
  SetScrollInfo(hwnd_, model.multi_rows ? SB_VERT : SB_HORZ, &si, TRUE);
  ShowScrollBar(hwnd_, model.multi_rows ? SB_HORZ : SB_VERT, FALSE);
}

void ThumbnailGrid::ScrollTo(int first) {
  const int total = model.multi_rows ? layout_.rows : layout_.cols;
  const int clamped = std::clamp(first, 0, std::max(0, total - VisibleCells()));
  if (clamped == first_) return;
  first_ = clamped;
  UpdateScrollBars();
  Repaint();
}

void ThumbnailGrid::Repaint() const {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

CellRect ThumbnailGrid::CellAt(int col, int row) const {
  if (model.multi_rows) row -= first_;
  else col -= first_;
  const int l = col * layout_.col_width, t = row * layout_.row_height;
  return {l, t, l + layout_.col_width, t + layout_.row_height};
}

bool ThumbnailGrid::CellFromPoint(int x, int y, int& col, int& row) const {
  if (!has_files_ || x < 0 || y < 0) return false;
  col = x / std::max(1, layout_.col_width);
  row = y / std::max(1, layout_.row_height);
  if (model.multi_rows) row += first_;
  else col += first_;
  return col < layout_.cols && row < layout_.rows;
}

void ThumbnailGrid::SelectCell(int col, int row) {
  if (!has_files_) return;
  sel_col_ = std::clamp(col, 0, layout_.cols - 1);
  sel_row_ = std::clamp(row, 0, layout_.rows - 1);
  // Keep the selected cell in view.
  const int at = model.multi_rows ? sel_row_ : sel_col_;
  if (at < first_) ScrollTo(at);
  else if (at >= first_ + VisibleCells()) ScrollTo(at - VisibleCells() + 1);
  Repaint();
  if (on_select)
    on_select(ThumbnailGridModel::SelectedIndex(layout_, sel_col_, sel_row_, static_cast<int>(files_.size())));
}

void ThumbnailGrid::Paint(PaintSurface& s, const RECT& client) {
  HDC dc = s.Dc();
  HBRUSH back = CreateSolidBrush(color);
  FillRect(dc, &client, back);
  if (!has_files_) {
    DeleteObject(back);
    return;
  }
  const int count = static_cast<int>(files_.size());
  const COLORREF black = RGB(0, 0, 0), hi = GetSysColor(COLOR_HIGHLIGHT);
  const RECT& area = s.Area();
  for (int row = 0; row < layout_.rows; ++row) {
    for (int col = 0; col < layout_.cols; ++col) {
      const CellRect c = CellAt(col, row);
      if (c.right <= area.left || c.left >= area.right || c.bottom <= area.top || c.top >= area.bottom) continue;
      const int p = ThumbnailGridModel::PictureAt(layout_, col, row, count);
      if (p < 0) continue;
      const bool sel = col == sel_col_ && row == sel_row_;
      const CellRect f = model.Frame(c, sel);
      HBRUSH fb = CreateSolidBrush(Shade(black, color, sel ? 10 : 5));
      Rect(dc, f.left, f.top, f.right, f.bottom, sel ? Shade(hi, color, 100) : Shade(black, color, 20),
           model.scale.Size(sel ? 2 : 1), fb);
      DeleteObject(fb);
      int tx, ty;
      model.ThumbnailOrigin(c, tx, ty);
      const Bitmap32& th = thumbs_[static_cast<size_t>(p)];
      if (!th.Empty()) {
        const RECT tr = {tx, ty, tx + th.Width(), ty + th.Height()};
        DrawPicture(s, tr, area, th, false);
      }
      if (model.show_check_box) {
        int x, y;
        model.CheckBoxOrigin(c, x, y);
        // The box and its mark are drawn in design pixels, grown with the window.
        const auto px = [this](int v) { return model.scale.Px(v); };
        const int n = model.CheckBoxSize();
        Rect(dc, x, y, x + n, y + n, sel ? Shade(hi, color, 100) : Shade(black, color, 30), model.scale.Size(1), back);
        if (model.Checked(p)) {
          HPEN pen = CreatePen(PS_SOLID, model.scale.Size(2), sel ? Shade(hi, color, 100) : Shade(black, color, 30));
          HGDIOBJ op = SelectObject(dc, pen);
          Line(dc, x + px(1), y + px(4), x + px(5), y + px(8));
          Line(dc, x + px(3), y + px(8), x + px(9), y + px(2));
          SelectObject(dc, op);
          DeleteObject(pen);
          if (model.scale.Identity()) {
            SetPixel(dc, x + 3, y + 8, color);
            SetPixel(dc, x + 5, y + 8, color);
          }
        }
        const RECT inner = {x + px(1), y + px(1), x + px(10), y + px(10)};
        FrameRect(dc, &inner, back);
      }
      if (model.show_title) {
        const CellRect t = model.TitleRect(c);
        RECT tr = {t.left, t.top, t.right, t.bottom};
        HGDIOBJ of = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, sel ? hi : color);
        SetTextColor(dc, sel ? GetSysColor(COLOR_HIGHLIGHTTEXT) : font_color);
        const std::string& title = titles_[static_cast<size_t>(p)];
        DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &tr, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
        SelectObject(dc, of);
      }
    }
  }
  DeleteObject(back);
}

bool ThumbnailGrid::Handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT* out) {
  *out = 0;
  switch (msg) {
    case WM_TIMER: {
      if (wp != kFillTimer) return false;
      // Stopped while a slice runs, so that a message box about a broken picture does not
      // start another slice beneath it.
      KillTimer(hwnd_, kFillTimer);
      if (!BuildSomeThumbnails()) SetTimer(hwnd_, kFillTimer, USER_TIMER_MINIMUM, nullptr);
      return true;
    }
    case WM_SIZE: {
      const int w = LOWORD(lp), h = HIWORD(lp);
      if (w != width_ || h != height_) {
        width_ = w;
        height_ = h;
        Relayout();
        Repaint();
      }
      return false;
    }
    case WM_SETCURSOR: {
      if (LOWORD(lp) != HTCLIENT || !model.show_check_box) return false;
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(hwnd_, &p);
      int col, row;
      const bool hand = CellFromPoint(p.x, p.y, col, row) && model.InCheckBox(CellAt(col, row), p.x, p.y);
      SetCursor(LoadCursor(nullptr, hand ? IDC_HAND : IDC_ARROW));
      *out = TRUE;
      return true;
    }
    case WM_LBUTTONDOWN: {
      SetFocus(hwnd_);
      const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
      int col, row;
      if (!CellFromPoint(x, y, col, row)) return true;
      if (model.show_check_box && model.InCheckBox(CellAt(col, row), x, y)) {
        const int p = ThumbnailGridModel::PictureAt(layout_, col, row, static_cast<int>(files_.size()));
        if (p >= 0) model.Toggle(p);
      }
      SelectCell(col, row);
      return true;
    }
    case WM_MOUSEWHEEL:
      ScrollTo(first_ - GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA);
      return true;
    case WM_VSCROLL:
    case WM_HSCROLL: {
      if ((msg == WM_VSCROLL) != model.multi_rows) return true;
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_ALL;
      GetScrollInfo(hwnd_, model.multi_rows ? SB_VERT : SB_HORZ, &si);
      int to = first_;
      switch (LOWORD(wp)) {
        case SB_LINEUP: to -= 1; break;
        case SB_LINEDOWN: to += 1; break;
        case SB_PAGEUP: to -= VisibleCells(); break;
        case SB_PAGEDOWN: to += VisibleCells(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: to = si.nTrackPos; break;
        case SB_TOP: to = 0; break;
        case SB_BOTTOM: to = 1 << 30; break;
        default: break;
      }
      ScrollTo(to);
      return true;
    }
    case WM_GETDLGCODE:
      *out = DLGC_WANTARROWS;
      return true;
    case WM_KEYDOWN: {
      int col = sel_col_, row = sel_row_;
      switch (wp) {
        case VK_LEFT: --col; break;
        case VK_RIGHT: ++col; break;
        case VK_UP: --row; break;
        case VK_DOWN: ++row; break;
        case VK_HOME: col = 0; break;
        case VK_END: col = layout_.cols - 1; break;
        case VK_PRIOR: row -= VisibleCells(); break;
        case VK_NEXT: row += VisibleCells(); break;
        default: return false;
      }
      if (col < 0 || row < 0 || col >= layout_.cols || row >= layout_.rows) {
        col = std::clamp(col, 0, layout_.cols - 1);
        row = std::clamp(row, 0, layout_.rows - 1);
      }
      if (col != sel_col_ || row != sel_row_) SelectCell(col, row);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace kx::win32
