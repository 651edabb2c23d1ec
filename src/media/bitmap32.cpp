#include "media/bitmap32.h"

#include <algorithm>

namespace kx {

void Bitmap32::SetSize(int width, int height) {
  if (width <= 0 || height <= 0) {
    width_ = height_ = 0;
    pixels_.clear();
    return;
  }
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

void Bitmap32::Fill(Pixel p) { std::fill(pixels_.begin(), pixels_.end(), p); }

}  // namespace kx
