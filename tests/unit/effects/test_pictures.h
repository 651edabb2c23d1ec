// Synthetic pictures and small helpers shared by the effect tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "media/bitmap32.h"

namespace kx::testing {

// The "old" picture: smooth gradients with a fourth byte that differs from the new one.
inline Bitmap32 OldPicture(int w, int h) {
  Bitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y, MakePixel(static_cast<uint8_t>(40 + (x * 5) % 170), static_cast<uint8_t>(60 + (y * 3) % 150),
                                 static_cast<uint8_t>(90 + ((x + y) * 2) % 120), 0x11));
  return b;
}

// The "new" picture: a checker of coloured cells with a diagonal, no pixel equal to the
// old picture's pixel at the same place (the fourth bytes differ).
inline Bitmap32 NewPicture(int w, int h) {
  Bitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool cell = ((x / 4) + (y / 3)) % 2 == 0;
      const uint8_t r = static_cast<uint8_t>(cell ? 220 - (x % 50) : 30 + (y * 7) % 90);
      const uint8_t g = static_cast<uint8_t>((x * 11 + y * 13) % 256);
      const uint8_t bl = static_cast<uint8_t>(x == y ? 255 : 120 + (x * y) % 100);
      b.SetPixel(x, y, MakePixel(r, g, bl, 0xEE));
    }
  return b;
}

inline uint64_t HashPixels(const Bitmap32& b) {
  uint64_t h = 1469598103934665603ULL;
  auto mix = [&](uint32_t v) {
    for (int k = 0; k < 4; ++k) {
      h ^= (v >> (8 * k)) & 0xFF;
      h *= 1099511628211ULL;
    }
  };
  mix(static_cast<uint32_t>(b.Width()));
  mix(static_cast<uint32_t>(b.Height()));
  for (size_t i = 0; i < b.PixelCount(); ++i) mix(b.Data()[i]);
  return h;
}

// Writes a binary PPM (blue, green, red of each pixel); returns false on failure.
inline bool WritePpm(const std::string& path, const Bitmap32& b) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fprintf(f, "P6\n%d %d\n255\n", b.Width(), b.Height());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const Pixel p = b.GetPixel(x, y);
      const unsigned char rgb[3] = {PixelR(p), PixelG(p), PixelB(p)};
      std::fwrite(rgb, 1, 3, f);
    }
  return std::fclose(f) == 0;
}

// Counts the pixels whose blue, green or red differ between two pictures of the same
// size (blending keeps the destination's fourth byte, so it is not compared).
inline int CountDifferences(const Bitmap32& a, const Bitmap32& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  int n = 0;
  for (size_t i = 0; i < a.PixelCount(); ++i) n += ((a.Data()[i] ^ b.Data()[i]) & 0x00FFFFFFu) != 0;
  return n;
}

}  // namespace kx::testing
