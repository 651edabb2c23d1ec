#include "config/picture_render.h"

#include "config/text_util.h"
#include "media/picture_decoder.h"
#include "media/resample.h"
#include "package/picture_record.h"
#include "platform/file_system.h"
#include "package/paths.h"

namespace kx {

namespace {

bool GeneralPicture(const std::string& ext) { return ext == ".JPG" || ext == ".BMP" || ext == ".GIF"; }

}  // namespace

ThumbnailEntry BuildThumbnail(const std::string& path, int width, int height,
                              const std::function<void(const std::string&)>& message) {
  ThumbnailEntry e;
  if (width <= 0 || height <= 0 || !fs::FileExists(path)) return e;
  const std::string ext = UpperCase(ExtensionOf(path));
  Bitmap32 source;
  if (ext == ".KXP") {
    TProject record;
    if (message) record.SetMessageHandler(message);
    record.LoadThumbnail(path);
    e.title = record.Title;
    source = std::move(record.Thumbnail);
  } else if (GeneralPicture(ext)) {
    std::string error;
    if (!LoadPictureFile(path, source, error, width, height)) source = Bitmap32();
    const size_t slash = path.find_last_of("\\/:");
    e.title = slash == std::string::npos ? path : path.substr(slash + 1);
  } else {
    return e;
  }
  if (!source.Empty()) Resample(source, e.thumbnail, width, height, StretchFilter::Bilinear);
  return e;
}

bool RenderPreview(const std::string& path, int width, int height, Bitmap32& out, std::string& error) {
  if (width <= 0 || height <= 0) {
    out = Bitmap32();
    return true;
  }
  const std::string ext = UpperCase(ExtensionOf(path));
  Bitmap32 source;
  if (ext == ".KXP") {
    TProject record;
    if (record.LoadFromFile(path)) source = std::move(record.Picture);
  } else if (GeneralPicture(ext)) {
    if (!LoadPictureFile(path, source, error, width, height)) return false;
  }
  Bitmap32 target;
  if (!source.Empty()) {
    Resample(source, target, width, height, StretchFilter::Bilinear);
  } else if (target.SetSize(width, height)) {
    target.Fill(0xFF000000u);
  }
  out = std::move(target);
  return true;
}

}  // namespace kx
