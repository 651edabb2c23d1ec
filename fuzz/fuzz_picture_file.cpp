// A picture file (".kxp") as the show reads it: TFileLoader over the file, the region mask
// decoded from its runs, and the picture record TProject on top. The loaders read files, so
// each input is written to one scratch file of this process first.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "package/file_loader.h"
#include "package/picture_record.h"
#include "platform/file_system.h"

namespace {
const std::string& ScratchPath() {
  static const std::string path = [] {
    const char* t = std::getenv("TMPDIR");
    return std::string(t && *t ? t : "/tmp") + "/kxfuzz-picture-" + std::to_string(::getpid()) + ".kxp";
  }();
  return path;
}
struct Cleanup {
  ~Cleanup() { kx::fs::DeleteFile(ScratchPath()); }
} cleanup;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = ScratchPath();
  if (!kx::fs::WriteFile(path, std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  {
    kx::TFileLoader header;
    header.LoadHeader(path);
  }
  kx::TFileLoader loader;
  if (loader.LoadFull(path)) {
    kx::Bitmap32 mask;
    std::string error;
    loader.GetRegionMask(mask, error);
  }
  kx::TProject record;
  record.SetMessageHandler([](const std::string&) {});
  record.LoadFromFile(path);
  record.LoadThumbnail(path);
  return 0;
}
