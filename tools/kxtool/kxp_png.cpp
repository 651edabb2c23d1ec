#include "kxp_png.h"

#include <png.h>

#include <cstring>

#include "media/picture_decoder.h"

namespace kxtool {

bool ReadPng(const std::string& path, kx::Bitmap32& out, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    error = path + ": " + image.message;
    return false;
  }
  image.format = PNG_FORMAT_BGRA;
  if (!out.SetSize(static_cast<int>(image.width), static_cast<int>(image.height))) {
    png_image_free(&image);
    error = path + ": picture too large";
    return false;
  }
  if (!png_image_finish_read(&image, nullptr, out.Data(), 0, nullptr)) {
    error = path + ": " + image.message;
    out.SetSize(0, 0);
    return false;
  }
  return true;
}

bool WritePng(const std::string& path, const kx::Bitmap32& in, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(in.Width());
  image.height = static_cast<png_uint_32>(in.Height());
  image.format = PNG_FORMAT_BGRA;
  if (in.Empty() || !png_image_write_to_file(&image, path.c_str(), 0, in.Data(), 0, nullptr)) {
    error = path + ": " + (in.Empty() ? "empty picture" : image.message);
    return false;
  }
  return true;
}

bool ReadAnyPicture(const std::string& path, kx::Bitmap32& out, std::string& error) {
  const size_t dot = path.find_last_of('.');
  std::string ext = dot == std::string::npos ? "" : path.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".png") return ReadPng(path, out, error);
  if (ext == ".jpeg") {
    std::vector<uint8_t> bytes;
    return kx::ReadWholeFile(path, bytes, error) &&
           kx::DecodePicture(kx::PictureKind::Jpeg, bytes.data(), bytes.size(), out, error);
  }
  return kx::LoadPictureFile(path, out, error);
}

}  // namespace kxtool
