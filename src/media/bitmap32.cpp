#include "media/bitmap32.h"

#include <algorithm>

#include "media/resample.h"

namespace kx {
namespace {

constexpr int64_t kMaxPixels = int64_t{1} << 28;

inline uint32_t Mix(uint32_t s, uint32_t d, uint32_t a) {
  // (s * a + d * (255 - a)) / 255, rounded
  const uint32_t v = s * a + d * (255 - a) + 128;
  return (v + (v >> 8)) >> 8;
}

}  // namespace

Pixel BlendPixel(Pixel src, Pixel dst, uint8_t master_alpha) {
  uint32_t a = PixelA(src) * static_cast<uint32_t>(master_alpha) + 128;
  a = (a + (a >> 8)) >> 8;
  if (a == 255) return src;
  if (a == 0) return dst;
  const uint32_t b = Mix(PixelB(src), PixelB(dst), a);
  const uint32_t g = Mix(PixelG(src), PixelG(dst), a);
  const uint32_t r = Mix(PixelR(src), PixelR(dst), a);
  const uint32_t out_a = Mix(255, PixelA(dst), a);
  return b | (g << 8) | (r << 16) | (out_a << 24);
}

bool Bitmap32::SetSize(int width, int height) {
  if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > kMaxPixels) {
    const bool ok = width <= 0 || height <= 0;
    width_ = height_ = 0;
    pixels_.clear();
    pixels_.shrink_to_fit();
    return ok;
  }
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  return true;
}

void Bitmap32::Fill(Pixel p) { std::fill(pixels_.begin(), pixels_.end(), p); }

void Bitmap32::FillRect(const Rect& r, Pixel p) {
  const Rect c = r.Intersect(BoundsRect());
  if (c.Empty()) return;
  for (int y = c.top; y < c.bottom; ++y) std::fill(Row(y) + c.left, Row(y) + c.right, p);
}

void Bitmap32::Assign(const Bitmap32& src) {
  if (&src == this) return;
  width_ = src.width_;
  height_ = src.height_;
  pixels_ = src.pixels_;
}

void Bitmap32::CopyRect(const Bitmap32& src, const Rect& src_rect, int dst_x, int dst_y) {
  if (&src == this) {  // overlapping copy inside one bitmap: copy from a snapshot
    Bitmap32 snapshot;
    snapshot.Assign(src);
    CopyRect(snapshot, src_rect, dst_x, dst_y);
    return;
  }
  const Rect s = src_rect.Intersect(src.BoundsRect());
  dst_x += s.left - src_rect.left;
  dst_y += s.top - src_rect.top;
  // Clip against the target, moving the source with it.
  const Rect d = Rect::FromSize(dst_x, dst_y, s.Width(), s.Height()).Intersect(BoundsRect());
  if (d.Empty()) return;
  const int sx = s.left + (d.left - dst_x);
  const int sy = s.top + (d.top - dst_y);
  for (int y = 0; y < d.Height(); ++y) {
    std::copy_n(src.Row(sy + y) + sx, d.Width(), Row(d.top + y) + d.left);
  }
}

void Bitmap32::CombineRow(const Pixel* src, Pixel* dst, int count) const {
  switch (mode_) {
    case DrawMode::Opaque:
      std::copy_n(src, count, dst);
      return;
    case DrawMode::Blend:
      for (int i = 0; i < count; ++i) dst[i] = BlendPixel(src[i], dst[i], master_alpha_);
      return;
    case DrawMode::Custom:
      if (!combine_) {
        std::copy_n(src, count, dst);
        return;
      }
      if (combine_rows_) {
        combine_rows_(src, dst, count, master_alpha_, combine_context_);
        return;
      }
      for (int i = 0; i < count; ++i) {
        dst[i] = combine_(src[i], dst[i], master_alpha_, combine_context_);
      }
      return;
  }
}

void Bitmap32::Draw(int x, int y, const Bitmap32& src) {
  const Rect d = Rect::FromSize(x, y, src.Width(), src.Height()).Intersect(BoundsRect());
  if (d.Empty() || &src == this) return;
  for (int j = d.top; j < d.bottom; ++j) {
    src.CombineRow(src.Row(j - y) + (d.left - x), Row(j) + d.left, d.Width());
  }
}

void Bitmap32::StretchDraw(const Rect& dst_rect, const Bitmap32& src, const Rect& src_rect) {
  StretchDraw(dst_rect, src, src_rect, src.Filter());
}

void Bitmap32::StretchDraw(const Rect& dst_rect, const Bitmap32& src, const Rect& src_rect,
                           StretchFilter filter) {
  StretchDrawClipped(dst_rect, src, src_rect, filter, BoundsRect());
}

void Bitmap32::StretchDrawRows(const Rect& dst_rect, const Bitmap32& src, const Rect& src_rect, int top,
                               int bottom) {
  StretchDrawClipped(dst_rect, src, src_rect, src.Filter(), {0, top, width_, bottom});
}

void Bitmap32::StretchDrawClipped(const Rect& dst_rect, const Bitmap32& src, const Rect& src_rect,
                                  StretchFilter filter, const Rect& clip) {
  if (&src == this || dst_rect.Empty() || src_rect.Intersect(src.BoundsRect()).Empty()) return;
  const Rect visible = dst_rect.Intersect(BoundsRect()).Intersect(clip);
  if (visible.Empty()) return;
  const Rect window{visible.left - dst_rect.left, visible.top - dst_rect.top,
                    visible.right - dst_rect.left, visible.bottom - dst_rect.top};
  const int w = visible.Width();
  if (src.Mode() == DrawMode::Opaque) {
    ResampleWindow(src, src_rect, dst_rect.Width(), dst_rect.Height(), window, filter,
                   Row(visible.top) + visible.left, width_);
    return;
  }
  if (filter == StretchFilter::Nearest || filter == StretchFilter::Draft) {
    // Row by row through a one-row scratch line kept per thread, so drawing animated
    // objects on every frame allocates nothing once the line is as wide as they are.
    thread_local std::vector<Pixel> line;
    if (line.size() < static_cast<size_t>(w)) line.resize(w);
    for (int y = window.top; y < window.bottom; ++y) {
      ResampleWindow(src, src_rect, dst_rect.Width(), dst_rect.Height(),
                     {window.left, y, window.right, y + 1}, filter, line.data(), w);
      src.CombineRow(line.data(), Row(dst_rect.top + y) + visible.left, w);
    }
    return;
  }
  std::vector<Pixel> tmp(static_cast<size_t>(w) * visible.Height());
  ResampleWindow(src, src_rect, dst_rect.Width(), dst_rect.Height(), window, filter, tmp.data(),
                 w);
  for (int y = 0; y < visible.Height(); ++y) {
    src.CombineRow(tmp.data() + static_cast<size_t>(y) * w, Row(visible.top + y) + visible.left,
                   w);
  }
}

void Bitmap32::MirrorHorizontal() {
  for (int y = 0; y < height_; ++y) std::reverse(Row(y), Row(y) + width_);
}

}  // namespace kx
