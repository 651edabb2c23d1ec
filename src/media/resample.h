// Resampling of Bitmap32 pictures: Lanczos (3 lobes), bilinear (triangle) and nearest.
// The filters are separable: for each axis the weights of every target column and row
// are computed once (14-bit fixed point). Source rows are filtered horizontally as they
// come into a small ring of rows of target width, and each target row is made from the
// ring as soon as its last source row is in, with integer sums (SSE2 where available).
// So a picture can be resampled while it is being decoded, without holding it whole.
// When shrinking, a filter is widened by the shrink factor so every source pixel counts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/bitmap32.h"
#include "media/rect.h"

namespace kx {

// The weights of one axis: target coordinate i takes source coordinates
// first[i] .. first[i] + count[i] - 1 with the weights w[offset[i]] ...
struct AxisWeights {
  std::vector<int> first;
  std::vector<int> count;
  std::vector<int> offset;
  std::vector<int16_t> w;
};

// Resamples a picture that arrives row by row (Bilinear or Lanczos; other filters count
// as Bilinear). Columns src_left .. src_right - 1 of rows src_top .. src_bottom - 1 are
// mapped onto a grid_w x grid_h grid; the part `window` of the grid is written to `out`
// (row j of the window at out + j * out_stride). The caller pushes the source rows
// FirstRow() .. EndRow() - 1 in order; each target row is written as soon as it can be.
class RowResampler {
 public:
  RowResampler(const Rect& src_rect, int grid_w, int grid_h, const Rect& window,
               StretchFilter filter, Pixel* out, ptrdiff_t out_stride);
  int FirstRow() const { return first_row_; }
  int EndRow() const { return end_row_; }
  // The next source row; `row` points at its column 0. Rows outside FirstRow()..EndRow()-1
  // and rows after the last target row is written are ignored.
  void PushRow(int y, const Pixel* row);
  bool Done() const { return next_out_ >= out_h_; }

 private:
  void Emit();

  AxisWeights wx_, wy_;
  bool copy_columns_ = false;
  int src_left_ = 0;
  int win_left_ = 0;
  int out_w_ = 0, out_h_ = 0;
  int first_row_ = 0, end_row_ = 0;
  int ring_size_ = 1;
  int next_in_ = 0;   // the next source row expected
  int next_out_ = 0;  // the next target row to write
  std::vector<Pixel> ring_;
  std::vector<const Pixel*> rows_;
  std::vector<int> acc_;
  Pixel* out_;
  ptrdiff_t out_stride_;
};

// Maps src_rect of `src` (cut to src's bounds) onto a grid of grid_w x grid_h pixels and
// writes the part `window` of that grid (grid coordinates, cut to the grid) into `out`:
// row j of the window goes to out + j * out_stride (in pixels). Nothing is written when
// a rectangle is empty.
void ResampleWindow(const Bitmap32& src, const Rect& src_rect, int grid_w, int grid_h,
                    const Rect& window, StretchFilter filter, Pixel* out, ptrdiff_t out_stride);

// Resamples the whole of `src` to width x height into `dst` (resized).
void Resample(const Bitmap32& src, Bitmap32& dst, int width, int height, StretchFilter filter);

}  // namespace kx
