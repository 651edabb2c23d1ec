// JPEG through libjpeg-turbo. Errors of the library come back as a false result with a
// short message (the library never ends the process). A stream that ends early or holds
// broken entropy-coded data is an error, not a grey-filled picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "media/bitmap32.h"

namespace kx {

struct JpegInfo {
  int width = 0;
  int height = 0;
};

// Reads the size from the stream's header without decoding the picture.
bool ReadJpegInfo(const uint8_t* data, size_t size, JpegInfo& info, std::string& error);

// Decodes the whole stream into `out` (opaque pixels, alpha 255).
// When min_width and min_height are given (> 0) and the picture is at least twice as large
// as that in both directions, it is decoded at the smallest DCT scale (n/8) whose result is
// still at least min_width x min_height, which saves most of the decoding work of a picture
// that will be shrunk anyway. `info` (optional) gets the picture's full size.
bool DecodeJpeg(const uint8_t* data, size_t size, Bitmap32& out, std::string& error,
                int min_width = 0, int min_height = 0, JpegInfo* info = nullptr);

// Decodes and resamples in one pass to exactly width x height (the whole picture over the
// whole target, shape not kept), with the DCT scale reduction of DecodeJpeg for those sizes.
// Rows are resampled as they are decoded, so the decoded picture is never held whole.
bool DecodeJpegFitted(const uint8_t* data, size_t size, int width, int height,
                      StretchFilter filter, Bitmap32& out, std::string& error,
                      JpegInfo* info = nullptr);

// The DCT scale numerator (1..8, over 8) that DecodeJpeg uses for those sizes.
int JpegScaleFor(int width, int height, int min_width, int min_height);

// Encodes `in` (alpha ignored) at the given quality 1..100.
bool EncodeJpeg(const Bitmap32& in, int quality, std::vector<uint8_t>& out, std::string& error);

}  // namespace kx
