#include "anim/anim_objects.h"

#include "anim/gif_object.h"
#include "anim/img_object.h"
#include "package/ini_file.h"
#include "package/paths.h"
#include "platform/file_system.h"

namespace kx {

namespace {
// Section headers of an INI text.
int CountSections(const std::string& text) {
  int n = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    size_t a = pos;
    while (a < end && (text[a] == ' ' || text[a] == '\t')) ++a;
    if (a < end && text[a] == '[' && text.find(']', a) < end) ++n;
    pos = end + 1;
  }
  return n;
}
}  // namespace

void TAnimObjects::LoadFromText(const std::string& text) {
  Clear();
  const IniFile ini = IniFile::Parse(text);
  const int sections = CountSections(text);
  for (int n = 0; n < sections; ++n) {
    const std::string type = ini.ReadString("Obj" + std::to_string(n), "ObjType", "");
    std::unique_ptr<TAnimObject> object;
    if (type == "GIF")
      object = std::make_unique<TGifObject>();
    else if (type == "IMG")
      object = std::make_unique<TImgObject>();
    else
      continue;
    TAnimObject& added = Add(std::move(object));
    added.LoadFromText(ini, "Obj" + std::to_string(added.Number));
  }
}

TAnimObject& TAnimObjects::Add(std::unique_ptr<TAnimObject> object) {
  object->Number = Count();
  items_.push_back(std::move(object));
  return *items_.back();
}

void TAnimObjects::Clear() {
  // Destroying an object stops it and ends its worker.
  items_.clear();
}

void TAnimObjects::ResolvePaths(const std::string& folder) {
  for (auto& o : items_) {
    const std::string& f = o->Filename();
    if (f.empty() || fs::FileExists(f)) continue;
    const std::string p = folder + FileNamePart(f);
    if (fs::FileExists(p)) o->SetFilename(p);
  }
}

void TAnimObjects::StopAll() {
  for (auto& o : items_) o->Stop();
}

}  // namespace kx
