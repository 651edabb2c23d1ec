// A described window on the screen: the top-level window and its controls built from a
// FormSpec. Labels, images, picture previews, image buttons, shapes and bevels have no
// window of their own: their container paints them in creation order and passes their
// clicks on. Everything is scaled by one factor, from the description's design density to
// that of the monitor the window is on: positions, sizes, fonts and pictures (scaled once
// and kept, not at every paint). Moved to a monitor of another density, the window scales
// itself again.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "config/dpi_scale.h"
#include "config/form_builder.h"
#include "media/bitmap32.h"
#include "win32/image_button_win32.h"
#include "win32/thumbnail_grid_win32.h"

namespace kx::win32 {

class DescribedWindow : public FormWindow {
 public:
  // Creates the window hidden; Ok() tells whether it could.
  explicit DescribedWindow(const FormSpec& spec);
  ~DescribedWindow() override;
  bool Ok() const { return hwnd_ != nullptr; }
  const std::string& Error() const { return error_; }

  void ShowModal(FormEvents& events) override;
  void Close() override;
  void SetVisible(int control, bool visible) override;
  void SetReadOnly(int control, bool read_only) override;
  void BindClick(int control) override;
  void RepaintActivePage(int page_control) override;
  void GridSetFiles(int grid, const std::vector<std::string>& files) override;
  int GridColCount(int grid) const override;
  void GridSetChecked(int grid, int picture, bool checked) override;
  bool GridChecked(int grid, int picture) const override;
  void GridBindSelectItem(int grid) override;
  void GridRepaint(int grid) override;
  void GridSelectCell(int grid, int col, int row) override;
  void PreviewLoadFile(int preview, const std::string& path) override;
  void PreviewRedraw(int preview) override;
  bool Checked(int control) const override;
  void SetChecked(int control, bool checked) override;
  int ItemIndex(int control) const override;
  void SetItemIndex(int control, int index) override;
  std::string Text(int control) const override;
  void SetText(int control, const std::string& text) override;
  int Position(int control) const override;
  void SetPosition(int control, int position) override;
  void SetEnabled(int control, bool enabled) override;
  std::vector<std::string> ListRows(int list) const override;
  void ListAddRow(int list, const std::string& caption) override;
  void ListDeleteRow(int list, int row) override;
  int ListSelectedRow(int list) const override;
  std::optional<std::string> RunOpenDialog(int dialog) override;

  // The window procedure's work for the window itself (control -1) or a control.
  LRESULT Handle(int control, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 private:
  struct Item {
    RECT rect{};             // inside the parent's client area, screen pixels
    HWND hwnd = nullptr;     // windowed controls
    HFONT font = nullptr;
    HBRUSH brush = nullptr;  // background of edit boxes and check boxes
    bool visible = true;
    bool click = false;
    bool pressed = false;
    bool native = false;     // a standard control (it takes WM_SETFONT)
    Bitmap32 design;         // image or glyph strip as the description holds it
    Bitmap32 picture;        // the same scaled to the window's density
    Bitmap32 fitted;         // a stretched picture at its place's size, made when it is first drawn
    int active_page = -1;    // page control: the control index of the page shown
    std::unique_ptr<ThumbnailGrid> grid;
    bool select_bound = false;
    std::unique_ptr<ImageButton> button;
    std::string preview_file;
    Bitmap32 preview;        // rendered at the preview's size when it was loaded
  };

  bool Valid(int c) const { return c >= 0 && c < static_cast<int>(items_.size()); }
  const ControlSpec& Spec(int c) const { return spec_.controls[static_cast<size_t>(c)]; }
  int S(int v) const { return scale_.Px(v); }  // design pixels to screen pixels
  // The window's styles and its outer size at a density (the client size the description
  // gives, or its outer size).
  void Styles(DWORD& style, DWORD& ex) const;
  SIZE OuterSize(int dpi) const;
  // Fonts, places and scaled pictures of every control from the description at scale_.
  void Measure();
  // Scales the window and its controls to another density; `suggested` is where the
  // system proposes the window to be.
  void Rescale(int dpi, const RECT* suggested);
  int WindowHeight(int c) const;  // the height of a windowed control's window
  bool Windowed(int c) const;
  bool Container(int c) const;
  HWND ParentWindow(int c) const;
  void CreateControl(int c);
  HWND Native(int c, ControlClass cls) const;  // the standard control's window, if it is one
  void FitListColumns(int list);
  void Layout(int container);
  RECT ClientOf(int container) const;
  RECT PageArea(int page_control) const;
  RECT TabRect(int page_control, int page) const;
  std::vector<int> PagesOf(int page_control) const;
  void ShowPage(int page_control, int page);
  void Paint(int control, HWND hwnd);
  void PaintChildren(int container, class PaintSurface& s, const RECT& clip);
  int HitGraphic(int container, POINT p) const;
  void Invalidate(int c);
  void Click(int c);
  void AddHints();
  void Hover(int container, HWND hwnd, POINT p);
  bool AcceleratorKey(const MSG& msg);
  void Withdraw();  // off the screen and destroyed; the window can no longer be shown

  FormSpec spec_;
  std::vector<Item> items_;
  HWND hwnd_ = nullptr;
  HWND tips_ = nullptr;  // the tooltip window of the controls' hints
  HFONT form_font_ = nullptr;
  HBRUSH form_brush_ = nullptr;
  DpiScale scale_;
  FormEvents* events_ = nullptr;
  bool closing_ = false;
  bool built_ = false;  // every control is created: layout may run
  int pressed_graphic_ = -1;
  int hover_button_ = -1;  // the image button under the pointer
  std::string error_;
};

}  // namespace kx::win32
