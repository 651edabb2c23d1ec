// JPEG streams through the wrapper: the header, the whole picture, the picture decoded at a
// reduced scale for a smaller target, and the fitted decode to an exact size.
#include <cstddef>
#include <cstdint>
#include <string>

#include "media/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The first byte chooses the target size of the reduced and fitted decodes.
  const int w = 1 + (data[0] & 15) * 7, h = 1 + (data[0] >> 4) * 5;
  ++data;
  --size;
  std::string error;
  kx::JpegInfo info;
  kx::ReadJpegInfo(data, size, info, error);
  kx::Bitmap32 out;
  if (kx::DecodeJpeg(data, size, out, error, 0, 0, &info)) {
    if (out.Width() != info.width || out.Height() != info.height) __builtin_trap();
  }
  kx::DecodeJpeg(data, size, out, error, w, h);
  if (kx::DecodeJpegFitted(data, size, w, h, kx::StretchFilter::Lanczos, out, error)) {
    if (out.Width() != w || out.Height() != h) __builtin_trap();
  }
  kx::DecodeJpegFitted(data, size, w, h, kx::StretchFilter::Draft, out, error);
  return 0;
}
