// The picture drawn into the small preview window of the Display Properties dialog:
// the project's preview JPEG stretched over the window's whole size (aspect not kept).
#pragma once

#include <optional>
#include <string>

#include "media/bitmap32.h"

namespace kx {

// Loads the JPEG at path and resamples it bilinearly to width x height. nullopt with a
// message when the file cannot be read or decoded, or the size is empty.
std::optional<Bitmap32> RenderPreviewPicture(const std::string& path, int width, int height,
                                             std::string& error);

}  // namespace kx
