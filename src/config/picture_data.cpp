#include "config/picture_data.h"

#include "config/text_util.h"
#include "package/paths.h"

namespace kx {
namespace {

bool ReadLengthPrefixed(const std::vector<uint8_t>& data, size_t at, std::vector<uint8_t>& out,
                        std::string* error) {
  if (data.size() < at + 4) {
    if (error) *error = "picture data too short for its length";
    return false;
  }
  const uint32_t len = static_cast<uint32_t>(data[at]) | (static_cast<uint32_t>(data[at + 1]) << 8) |
                       (static_cast<uint32_t>(data[at + 2]) << 16) | (static_cast<uint32_t>(data[at + 3]) << 24);
  if (len > data.size() - at - 4) {
    if (error) *error = "picture data length " + std::to_string(len) + " exceeds the " +
                        std::to_string(data.size() - at - 4) + " bytes present";
    return false;
  }
  out.assign(data.begin() + static_cast<std::ptrdiff_t>(at + 4),
             data.begin() + static_cast<std::ptrdiff_t>(at + 4 + len));
  return true;
}

}  // namespace

bool ParsePictureData(const std::vector<uint8_t>& data, PictureData& out, std::string* error) {
  out = PictureData{};
  if (data.empty()) return true;
  const size_t n = data[0];
  if (n + 1 > data.size()) {
    if (error) *error = "picture data too short for its class name";
    return false;
  }
  out.graphic_class.assign(data.begin() + 1, data.begin() + 1 + static_cast<std::ptrdiff_t>(n));
  if (EqualNoCase(out.graphic_class, "TBitmap") || EqualNoCase(out.graphic_class, "TJPEGImage"))
    return ReadLengthPrefixed(data, 1 + n, out.bytes, error);
  out.bytes.assign(data.begin() + 1 + static_cast<std::ptrdiff_t>(n), data.end());
  return true;
}

bool ParseBitmapData(const std::vector<uint8_t>& data, PictureData& out, std::string* error) {
  out = PictureData{};
  if (data.empty()) return true;
  out.graphic_class = "TBitmap";
  return ReadLengthPrefixed(data, 0, out.bytes, error);
}

}  // namespace kx
