// Device-independent bitmaps of the engine's 32-bit pictures: the header that describes a
// picture top-down, and its drawing at its own size.
#pragma once

#include <windows.h>

#include "media/bitmap32.h"

namespace kx::win32 {

inline BITMAPINFO TopDownBitmapInfo(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

inline void DrawBitmapAt(HDC dc, const Bitmap32& b, int x, int y) {
  const BITMAPINFO bi = TopDownBitmapInfo(b.Width(), b.Height());
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(b.Width()), static_cast<DWORD>(b.Height()), 0, 0, 0,
                    static_cast<UINT>(b.Height()), b.Data(), &bi, DIB_RGB_COLORS);
}

}  // namespace kx::win32
