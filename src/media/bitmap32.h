// Bitmap32: a picture of 32 bits per pixel, bytes blue, green, red, alpha in memory
// (0xAARRGGBB as a little-endian uint32_t), rows top to bottom and contiguous.
// It serves both as the show's Bitmap32 and as the device bitmap of the transitions
// and picture records: the Win32 layer blits it as a top-down 32-bit DIB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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

class Bitmap32 {
 public:
  Bitmap32() = default;
  Bitmap32(int width, int height) { SetSize(width, height); }

  // Negative or zero sizes give an empty bitmap. Existing pixels are not kept.
  void SetSize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }

  Pixel* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const Pixel* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  Pixel* Data() { return pixels_.data(); }
  const Pixel* Data() const { return pixels_.data(); }
  size_t PixelCount() const { return pixels_.size(); }

  Pixel GetPixel(int x, int y) const { return Row(y)[x]; }
  void SetPixel(int x, int y, Pixel p) { Row(y)[x] = p; }
  void Fill(Pixel p);

  bool operator==(const Bitmap32& o) const {
    return width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

}  // namespace kx
