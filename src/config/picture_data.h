// Picture data carried in a form text. A picture property ("Picture.Data", the image
// button's faces) holds: byte 0 = n, bytes 1..n = the graphic class name, then that class's
// data; for "TBitmap" and "TJPEGImage" a 4-byte little-endian length and that many bytes of
// a bitmap file or a JPEG stream. A bitmap-only property ("Glyph.Data") holds the 4-byte
// length and the bitmap file without a class name. The bytes are kept as they are; they are
// decoded when the control is built.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kx {

struct PictureData {
  std::string graphic_class;   // "TBitmap", "TJPEGImage", or another class name as written
  std::vector<uint8_t> bytes;  // the stream of that class (a .bmp file, a JPEG stream); may be empty
  bool Empty() const { return bytes.empty(); }
};

// Splits a picture property's binary value; false with a message when the lengths do not fit.
// Graphic classes other than the two above keep all bytes after the name.
bool ParsePictureData(const std::vector<uint8_t>& data, PictureData& out, std::string* error);
// A bitmap-only property: 4-byte length and a bitmap file; class "TBitmap".
bool ParseBitmapData(const std::vector<uint8_t>& data, PictureData& out, std::string* error);

}  // namespace kx
