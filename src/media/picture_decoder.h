// The general picture loader: a JPEG, Windows bitmap or GIF file (first frame) into a
// Bitmap32. The decoder follows the file's extension (".jpg", ".bmp", ".gif", any case);
// LoadPictureFile fails for any other extension. Files are read whole into memory first.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "media/bitmap32.h"

namespace kx {

enum class PictureKind { Unknown, Jpeg, Bmp, Gif };

PictureKind PictureKindOfPath(const std::string& path);

// Reads a whole file; false (with a message) when it cannot be read or is larger than
// max_bytes.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, std::string& error,
                   size_t max_bytes = size_t{1} << 30);

// Decodes the bytes of a picture of the given kind. min_width and min_height let a JPEG
// that will be shrunk at least twofold decode at a reduced scale (see DecodeJpeg);
// full_width and full_height (optional) get the picture's own size.
bool DecodePicture(PictureKind kind, const uint8_t* data, size_t size, Bitmap32& out,
                   std::string& error, int min_width = 0, int min_height = 0,
                   int* full_width = nullptr, int* full_height = nullptr);

bool LoadPictureFile(const std::string& path, Bitmap32& out, std::string& error,
                     int min_width = 0, int min_height = 0, int* full_width = nullptr,
                     int* full_height = nullptr);

// Decides the fitted size of a picture from its own size; false keeps the own size.
using FitFunction = std::function<bool(int width, int height, int& fit_width, int& fit_height)>;

// Loads a picture and fits it with `filter` in one go: `fit` is asked with the picture's own
// size (which full_width and full_height also receive). A JPEG is then decoded at the
// reduced DCT scale the fitted size allows and resampled row by row as it is decoded;
// other kinds are decoded whole and resampled.
bool LoadPictureFileFitted(const std::string& path, const FitFunction& fit, StretchFilter filter,
                           Bitmap32& out, std::string& error, int* full_width = nullptr,
                           int* full_height = nullptr);

}  // namespace kx
