#include "media/picture_decoder.h"

#include <cstdio>

#include "media/bmp_decoder.h"
#include "media/gif_decoder.h"
#include "media/jpeg_codec.h"
#include "media/resample.h"
#include "platform/file_system.h"

namespace kx {

PictureKind PictureKindOfPath(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t sep = path.find_last_of("\\/:");
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return PictureKind::Unknown;
  std::string ext = path.substr(dot);
  for (char& c : ext) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  if (ext == ".JPG") return PictureKind::Jpeg;
  if (ext == ".BMP") return PictureKind::Bmp;
  if (ext == ".GIF") return PictureKind::Gif;
  return PictureKind::Unknown;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, std::string& error,
                   size_t max_bytes) {
  out.clear();
  fs::InputFile f(path);
  if (!f.IsOpen()) {
    error = "cannot open " + path;
    return false;
  }
  bool ok = static_cast<uint64_t>(f.Size()) <= max_bytes;
  if (ok) {
    out.resize(static_cast<size_t>(f.Size()));
    ok = f.Read(out.data(), out.size()) == out.size();
  }
  if (!ok) {
    out.clear();
    error = "cannot read " + path;
  }
  return ok;
}

bool DecodePicture(PictureKind kind, const uint8_t* data, size_t size, Bitmap32& out,
                   std::string& error, int min_width, int min_height, int* full_width,
                   int* full_height) {
  bool ok = false;
  switch (kind) {
    case PictureKind::Jpeg: {
      JpegInfo info;
      ok = DecodeJpeg(data, size, out, error, min_width, min_height, &info);
      if (ok && full_width) *full_width = info.width;
      if (ok && full_height) *full_height = info.height;
      return ok;
    }
    case PictureKind::Bmp:
      ok = DecodeBmp(data, size, out, error);
      break;
    case PictureKind::Gif:
      ok = DecodeGifStill(data, size, out, error);
      break;
    case PictureKind::Unknown:
      error = "unknown picture type";
      return false;
  }
  if (ok && full_width) *full_width = out.Width();
  if (ok && full_height) *full_height = out.Height();
  return ok;
}

bool LoadPictureFile(const std::string& path, Bitmap32& out, std::string& error, int min_width,
                     int min_height, int* full_width, int* full_height) {
  const PictureKind kind = PictureKindOfPath(path);
  if (kind == PictureKind::Unknown) {
    error = "unknown picture type: " + path;
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  return DecodePicture(kind, bytes.data(), bytes.size(), out, error, min_width, min_height,
                       full_width, full_height);
}

bool LoadPictureFileFitted(const std::string& path, const FitFunction& fit, StretchFilter filter,
                           Bitmap32& out, std::string& error, int* full_width, int* full_height) {
  const PictureKind kind = PictureKindOfPath(path);
  if (kind == PictureKind::Unknown) {
    error = "unknown picture type: " + path;
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  int w = 0, h = 0, tw = 0, th = 0;
  if (kind == PictureKind::Jpeg) {
    JpegInfo info;
    if (!ReadJpegInfo(bytes.data(), bytes.size(), info, error)) return false;
    w = info.width;
    h = info.height;
    if (full_width) *full_width = w;
    if (full_height) *full_height = h;
    if (fit && fit(w, h, tw, th) && tw > 0 && th > 0) {
      return DecodeJpegFitted(bytes.data(), bytes.size(), tw, th, filter, out, error);
    }
    return DecodeJpeg(bytes.data(), bytes.size(), out, error);
  }
  Bitmap32 picture;
  if (!DecodePicture(kind, bytes.data(), bytes.size(), picture, error, 0, 0, &w, &h)) return false;
  if (full_width) *full_width = w;
  if (full_height) *full_height = h;
  if (fit && fit(w, h, tw, th) && tw > 0 && th > 0) {
    Resample(picture, out, tw, th, filter);
  } else {
    out.Assign(picture);
  }
  return true;
}

}  // namespace kx
