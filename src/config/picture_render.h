// The pictures of the configuration controls: a thumbnail for the grid and the rendering
// of the preview, both resampled bilinearly to a fixed size (the aspect ratio is not kept).
#pragma once

#include <functional>
#include <string>

#include "media/bitmap32.h"

namespace kx {

// One grid entry for a path: a picture file (".KXP") gives its record's thumbnail and title
// (a failed read shows its message through `message` and still gives an entry); a JPEG,
// bitmap or GIF file gives the picture and the file name as title. A missing file, a file
// that cannot be decoded or another extension give an entry with an empty thumbnail (and
// for a readable kind, still the title), so the entries after it keep their places.
struct ThumbnailEntry {
  Bitmap32 thumbnail;  // width x height, or empty
  std::string title;
};
ThumbnailEntry BuildThumbnail(const std::string& path, int width, int height,
                              const std::function<void(const std::string&)>& message);

// The preview of a path at width x height: a picture file's picture, or a JPEG, bitmap or
// GIF file. Another extension, or a picture file that cannot be read, gives a black bitmap
// of that size; a JPEG, bitmap or GIF file that cannot be read gives false and `error`
// (`out` untouched).
bool RenderPreview(const std::string& path, int width, int height, Bitmap32& out, std::string& error);

}  // namespace kx
