#include "config/thumbnail_layout.h"

#include <algorithm>

namespace kx {

uint32_t Shade(uint32_t tint, uint32_t base, int percent) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int t = static_cast<int>((tint >> shift) & 0xFF), b = static_cast<int>((base >> shift) & 0xFF);
    const long long v = 255 - ((255LL - t) * percent + (255LL - b) * 100) / 100;
    out |= static_cast<uint32_t>(std::clamp<long long>(v, 0, 255)) << shift;
  }
  return out;
}

GridLayout ThumbnailGridModel::Layout(int width, int count) const {
  GridLayout l;
  l.col_width = picture_width + scale.Px(20);
  l.row_height = picture_height + scale.Px(20) + (show_title ? scale.Px(30) : 0);
  if (count < 0) count = 0;
  if (multi_rows) {
    l.cols = l.col_width > 0 ? width / l.col_width : 1;
    if (l.cols < 1) l.cols = 1;
    l.rows = count / l.cols + (count % l.cols > 0 ? 1 : 0);
  } else {
    l.cols = count;
    l.rows = 1;
  }
  // The grid keeps at least one row and one column.
  l.cols = std::max(1, l.cols);
  l.rows = std::max(1, l.rows);
  return l;
}

CellRect ThumbnailGridModel::Frame(const CellRect& c, bool selected) const {
  const int in = scale.Px(selected ? 11 : 10);
  return {c.left + in, c.top + in, c.left + picture_width + scale.Px(20), c.top + picture_height + scale.Px(20)};
}

void ThumbnailGridModel::ThumbnailOrigin(const CellRect& c, int& x, int& y) const {
  x = c.left + (c.right - c.left + scale.Px(10) - picture_width) / 2;
  y = c.top + scale.Px(15);
}

void ThumbnailGridModel::CheckBoxOrigin(const CellRect& c, int& x, int& y) const {
  x = c.left + scale.Px(13);
  y = c.top + picture_height + scale.Px(6);
}

bool ThumbnailGridModel::InCheckBox(const CellRect& c, int x, int y) const {
  int bx, by;
  CheckBoxOrigin(c, bx, by);
  const int n = CheckBoxSize();
  return x >= bx && x <= bx + n && y >= by && y <= by + n;
}

CellRect ThumbnailGridModel::TitleRect(const CellRect& c) const {
  return {c.left + scale.Px(10), c.top + picture_height + scale.Px(24), c.right, c.bottom};
}

int ThumbnailGridModel::PictureAt(const GridLayout& l, int col, int row, int count) {
  if (col < 0 || row < 0 || col >= l.cols) return -1;
  const long long p = static_cast<long long>(row) * l.cols + col;
  return p < count ? static_cast<int>(p) : -1;
}

int ThumbnailGridModel::SelectedIndex(const GridLayout& l, int col, int row, int count) {
  long long index = static_cast<long long>(row) * l.cols + col;
  if (index > count - 1) index = count - 1;
  if (index < 0) index = 0;
  return static_cast<int>(index);
}

bool ThumbnailGridModel::Checked(int p) const {
  return p >= 0 && static_cast<size_t>(p) < checked_.size() && checked_[static_cast<size_t>(p)];
}

void ThumbnailGridModel::SetChecked(int p, bool value) {
  if (p < 0) return;
  if (static_cast<size_t>(p) >= checked_.size()) {
    if (!value) return;
    checked_.resize(static_cast<size_t>(p) + 1, false);
  }
  checked_[static_cast<size_t>(p)] = value;
}

}  // namespace kx
