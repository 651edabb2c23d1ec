// The thumbnail grid's geometry and state, free of any window: how many columns and rows
// the cells take, where each part of a cell lies, which picture a cell shows, the check
// marks, and the colour mixing its frames use.
//
// A cell is PictureWidth + 20 pixels wide and PictureHeight + 20 high (30 more with
// titles). With several rows the columns are as many as fit into the control's width (at
// least one); with one row there is a column per picture. Those margins are design pixels:
// in a window drawn at another density they grow with the window (`scale`), while
// PictureWidth and PictureHeight are given already scaled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "config/dpi_scale.h"

namespace kx {

struct CellRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom excluded
};

struct GridLayout {
  int col_width = 100, row_height = 80;
  int cols = 1, rows = 1;
};

// Mixes two 0x00RRGGBB colours: each channel is 255 - ((255 - tint) * percent +
// (255 - base) * 100) / 100, truncated and clamped to 0..255. Black as tint darkens the
// base by percent * 2.55.
uint32_t Shade(uint32_t tint_rgb, uint32_t base_rgb, int percent);

class ThumbnailGridModel {
 public:
  int picture_width = 80, picture_height = 60;
  bool show_check_box = false, show_title = false, multi_rows = true;
  DpiScale scale;  // of the margins

  // Layout for `count` pictures in a control `width` pixels wide (the control's whole width,
  // not the part its frame and scroll bar leave).
  GridLayout Layout(int width, int count) const;

  // The parts of the cell whose rectangle is `cell`.
  CellRect Frame(const CellRect& cell, bool selected) const;
  void ThumbnailOrigin(const CellRect& cell, int& x, int& y) const;
  void CheckBoxOrigin(const CellRect& cell, int& x, int& y) const;  // a CheckBoxSize() square
  int CheckBoxSize() const { return scale.Px(11); }
  bool InCheckBox(const CellRect& cell, int x, int y) const;        // edges included
  CellRect TitleRect(const CellRect& cell) const;

  // Picture shown by cell (col, row), or -1 for a blank cell.
  static int PictureAt(const GridLayout& l, int col, int row, int count);
  // What selecting cell (col, row) selects: row * cols + col, kept within 0..count-1.
  static int SelectedIndex(const GridLayout& l, int col, int row, int count);

  // The check marks: any number of pictures; a picture never set reads as unchecked.
  void ResetChecks(int count) { checked_.assign(count > 0 ? static_cast<size_t>(count) : 0, false); }
  bool Checked(int picture) const;
  void SetChecked(int picture, bool value);
  void Toggle(int picture) { SetChecked(picture, !Checked(picture)); }

 private:
  std::vector<bool> checked_;
};

}  // namespace kx
