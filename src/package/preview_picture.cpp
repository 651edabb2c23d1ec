#include "package/preview_picture.h"

#include "media/jpeg_codec.h"
#include "media/resample.h"
#include "platform/file_system.h"

namespace kx {

std::optional<Bitmap32> RenderPreviewPicture(const std::string& path, int width, int height,
                                             std::string& error) {
  if (width <= 0 || height <= 0) {
    error = "empty preview window";
    return std::nullopt;
  }
  std::string bytes;
  if (!fs::ReadFile(path, bytes, UINT64_C(256) << 20)) {
    error = "cannot read " + path;
    return std::nullopt;
  }
  Bitmap32 picture;
  // The preview window is small: decode at the smallest scale that still covers it.
  if (!DecodeJpeg(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), picture, error,
                  width, height))
    return std::nullopt;
  Bitmap32 out;
  Resample(picture, out, width, height, StretchFilter::Bilinear);
  return out;
}

}  // namespace kx
