// Windows bitmap files (.bmp). Reads the file header and an info header of any of the
// known sizes (12-byte core header, 40-byte info header with optional colour masks after
// it, and the 52, 56, 64, 108 and 124-byte versions), then the pixels:
//   1, 4 and 8 bits through the colour table (3-byte entries for the core header);
//   16 and 32 bits as BI_RGB (5-5-5 / 8-8-8 with an unused byte) or BI_BITFIELDS masks;
//   24 bits as blue, green, red;
//   BI_RLE8 and BI_RLE4 runs (skipped pixels stay black).
// Rows are bottom-up for a positive height and top-down for a negative one. Every offset
// and length is checked against the file; a short or inconsistent file is an error.
// The result is opaque (alpha 255).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "media/bitmap32.h"

namespace kx {

bool DecodeBmp(const uint8_t* data, size_t size, Bitmap32& out, std::string& error);

}  // namespace kx
