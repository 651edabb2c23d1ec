// The thumbnail grid on the screen: a scrolling window of framed cells, one per picture,
// each with its thumbnail and optionally a check box and a title. The geometry, the check
// marks and the colour mixing come from ThumbnailGridModel.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "config/thumbnail_layout.h"
#include "media/bitmap32.h"

namespace kx::win32 {

class PaintSurface;

class ThumbnailGrid {
 public:
  ThumbnailGridModel model;
  COLORREF color = RGB(255, 255, 255);
  HFONT font = nullptr;
  COLORREF font_color = RGB(0, 0, 0);
  std::function<void(int index)> on_select;  // a cell was selected (index kept in range)

  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  // Stores the picture list, lays the cells out and repaints at once; the thumbnails are
  // built afterwards by a timer, a few at a time, and each cell shows its thumbnail when it
  // is ready (selection and check boxes work from the start).
  void SetFiles(const std::vector<std::string>& files);
  int ColCount() const { return layout_.cols; }
  // Selects cell (col, row) as a click does.
  void SelectCell(int col, int row);
  void Repaint() const;
  // Another thumbnail size (the window's density changed): the thumbnails are built again
  // at that size; checks and selection stay.
  void Rescale(int picture_width, int picture_height);

  void Paint(PaintSurface& s, const RECT& client);
  // The window procedure's share; true when the message was handled (result in *out).
  bool Handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT* out);

 private:
  void Relayout();
  // Builds thumbnails for about one timer period; true when all are built.
  bool BuildSomeThumbnails();
  void UpdateScrollBars();
  void ScrollTo(int first);
  CellRect CellAt(int col, int row) const;   // client coordinates
  bool CellFromPoint(int x, int y, int& col, int& row) const;
  int VisibleCells() const;                   // rows (several rows) or columns (one row)

  HWND hwnd_ = nullptr;
  std::vector<std::string> files_;
  bool has_files_ = false;
  std::vector<Bitmap32> thumbs_;
  std::vector<std::string> titles_;
  size_t built_ = 0;  // thumbnails built so far, in picture order
  GridLayout layout_;
  int sel_col_ = 0, sel_row_ = 0;
  int first_ = 0;  // the first visible row (several rows) or column (one row)
  int width_ = -1, height_ = -1;
};

}  // namespace kx::win32
