// Bitmap32: a picture of 32 bits per pixel, bytes blue, green, red, alpha in memory
// (0xAARRGGBB as a little-endian uint32_t), rows top to bottom and contiguous.
// It serves both as the show's Bitmap32 and as the device bitmap of the transitions
// and picture records: the Win32 layer blits it as a top-down 32-bit DIB.
//
// Besides its pixels a bitmap carries how it is drawn onto another one: a draw mode
// (opaque copy, blend by alpha, or a custom per-pixel combine routine), a master alpha
// 0..255 and the filter used when it is stretched. Drawing always clips to the target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "media/rect.h"

namespace kx {

using Pixel = uint32_t;

constexpr Pixel MakePixel(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
  return (static_cast<Pixel>(a) << 24) | (static_cast<Pixel>(r) << 16) |
         (static_cast<Pixel>(g) << 8) | b;
}
constexpr uint8_t PixelB(Pixel p) { return p & 0xFF; }
constexpr uint8_t PixelG(Pixel p) { return (p >> 8) & 0xFF; }
constexpr uint8_t PixelR(Pixel p) { return (p >> 16) & 0xFF; }
constexpr uint8_t PixelA(Pixel p) { return p >> 24; }

// How a stretched bitmap is sampled.
//   Nearest   the source pixel under each target pixel's centre, nothing mixed;
//   Draft     the fast filter of animated objects: nearest sampling, so that key colours
//             survive a stretch unchanged;
//   Bilinear  a triangle filter (widened when shrinking, so nothing is skipped);
//   Lanczos   Lanczos with 3 lobes (widened when shrinking), for fitting pictures.
enum class StretchFilter { Nearest, Draft, Bilinear, Lanczos };

// How a bitmap's pixels land on the target when it is drawn.
//   Opaque  the target pixel becomes the source pixel;
//   Blend   source over target with alpha = source alpha * master alpha / 255;
//   Custom  the bitmap's combine routine decides each target pixel.
enum class DrawMode { Opaque, Blend, Custom };

// A per-pixel combine routine: returns the new target pixel. `context` is the pointer
// given with the routine (the drawing object's own state, such as its key colour).
using CombineProc = Pixel (*)(Pixel src, Pixel dst, uint8_t master_alpha, const void* context);
// The same routine over a row of `count` pixels (it must give what the per-pixel one gives).
using CombineRowProc = void (*)(const Pixel* src, Pixel* dst, int count, uint8_t master_alpha, const void* context);

class Bitmap32 {
 public:
  Bitmap32() = default;
  Bitmap32(int width, int height) { SetSize(width, height); }

  // Negative or zero sizes give an empty bitmap. Existing pixels are not kept; new
  // pixels are 0. Sizes whose pixel count would not fit in memory sensibly (more than
  // 2^28 pixels) give an empty bitmap and a false result.
  bool SetSize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  Rect BoundsRect() const { return {0, 0, width_, height_}; }

  Pixel* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const Pixel* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  Pixel* Data() { return pixels_.data(); }
  const Pixel* Data() const { return pixels_.data(); }
  size_t PixelCount() const { return pixels_.size(); }

  Pixel GetPixel(int x, int y) const { return Row(y)[x]; }
  void SetPixel(int x, int y, Pixel p) { Row(y)[x] = p; }
  void Fill(Pixel p);
  // Fills the part of `r` inside the bitmap.
  void FillRect(const Rect& r, Pixel p);

  // Becomes a copy of `src`: size and pixels (the drawing settings stay this bitmap's).
  void Assign(const Bitmap32& src);
  // Exchanges size and pixels with `other` (the drawing settings stay with each bitmap).
  void SwapPixels(Bitmap32& other) {
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    pixels_.swap(other.pixels_);
  }
  // Plain copy of src_rect of `src` to (dst_x, dst_y), clipped on both sides; no draw mode.
  void CopyRect(const Bitmap32& src, const Rect& src_rect, int dst_x, int dst_y);

  // Draws the whole of `src` at (x, y) with src's draw mode and master alpha.
  void Draw(int x, int y, const Bitmap32& src);
  // Draws src_rect of `src` stretched into dst_rect of this bitmap, with src's stretch
  // filter, draw mode and master alpha. dst_rect may reach outside this bitmap (it is
  // clipped after the mapping, so the visible part is not distorted); src_rect is cut to
  // src's bounds. An empty rectangle draws nothing.
  void StretchDraw(const Rect& dst_rect, const Bitmap32& src, const Rect& src_rect);
  // The same with an explicit filter, ignoring src's own one.
  void StretchDraw(const Rect& dst_rect, const Bitmap32& src, const Rect& src_rect,
                   StretchFilter filter);
  // The same drawing of src's filter, limited to rows top .. bottom - 1 of this bitmap: the
  // rows drawn are those the whole drawing gives them (so bands of rows can be drawn apart).
  void StretchDrawRows(const Rect& dst_rect, const Bitmap32& src, const Rect& src_rect, int top, int bottom);

  // Mirrors the pixels left to right in place.
  void MirrorHorizontal();

  // Drawing settings, used when this bitmap is drawn onto another.
  uint8_t MasterAlpha() const { return master_alpha_; }
  void SetMasterAlpha(uint8_t a) { master_alpha_ = a; }
  DrawMode Mode() const { return mode_; }
  void SetDrawMode(DrawMode m) { mode_ = m; }
  // Sets the combine routine and switches the draw mode to Custom.
  void SetCombine(CombineProc proc, const void* context, CombineRowProc rows = nullptr) {
    combine_ = proc;
    combine_rows_ = rows;
    combine_context_ = context;
    mode_ = DrawMode::Custom;
  }
  StretchFilter Filter() const { return filter_; }
  void SetFilter(StretchFilter f) { filter_ = f; }

  // Pixels and size only: drawing settings do not take part in the comparison.
  bool operator==(const Bitmap32& o) const {
    return width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
  }

 private:
  void StretchDrawClipped(const Rect& dst_rect, const Bitmap32& src, const Rect& src_rect, StretchFilter filter,
                          const Rect& clip);
  // Combines a row of `count` source pixels onto the target row.
  void CombineRow(const Pixel* src, Pixel* dst, int count) const;

  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
  uint8_t master_alpha_ = 255;
  DrawMode mode_ = DrawMode::Opaque;
  StretchFilter filter_ = StretchFilter::Nearest;
  CombineProc combine_ = nullptr;
  CombineRowProc combine_rows_ = nullptr;
  const void* combine_context_ = nullptr;
};

// Source over target: alpha = source alpha * master / 255; each colour channel becomes
// (s * alpha + d * (255 - alpha)) / 255 rounded; the target's alpha grows the same way.
Pixel BlendPixel(Pixel src, Pixel dst, uint8_t master_alpha);

}  // namespace kx
