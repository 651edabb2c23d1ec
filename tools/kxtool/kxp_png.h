// PNG files for the authors' tool, through libpng's simplified interface. The saver itself
// never reads PNG; only kxtool and the tests link this.
#pragma once

#include <string>

#include "media/bitmap32.h"

namespace kxtool {

bool ReadPng(const std::string& path, kx::Bitmap32& out, std::string& error);
bool WritePng(const std::string& path, const kx::Bitmap32& in, std::string& error);

// Any picture the tool accepts: PNG by its extension, otherwise the engine's own decoders
// (JPEG, Windows bitmap, GIF).
bool ReadAnyPicture(const std::string& path, kx::Bitmap32& out, std::string& error);

}  // namespace kxtool
