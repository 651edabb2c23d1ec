#include "package/project.h"

#include "package/container.h"
#include "platform/file_system.h"

namespace kx {

std::string DefaultTransitionEffects() {
  std::string s;
  for (int i = 1; i <= 169; ++i) {
    if (i > 1) s += ',';
    s += std::to_string(i);
  }
  return s;
}

void TKXCFileList::LoadFromIni(const IniFile& ini) {
  Clear();
  Names = ini.ReadSection("FileList");
  for (const std::string& name : Names)
    Flags.push_back(ini.ReadBool("FileList", name, false) ? "TRUE" : "FALSE");
}

void TKXCSetting::LoadFromIni(const IniFile& ini) {
  const char* g = "General";
  ProductName = ini.ReadString(g, "ProductName", ProductName);
  Publisher = ini.ReadString(g, "Publisher", Publisher);
  Website = ini.ReadString(g, "Website", Website);
  const char* d = "Default";
  Stretch = ini.ReadBool(d, "Stretch", Stretch);
  Proportional = ini.ReadBool(d, "Proportional", Proportional);
  Sound = ini.ReadBool(d, "Sound", Sound);
  SoundVolume = ini.ReadInteger(d, "SoundVolume", SoundVolume);
  Random = ini.ReadBool(d, "Random", Random);
  Duration = ini.ReadInteger(d, "Duration", Duration);
  Transition = ini.ReadBool(d, "Transition", Transition);
  TransitionTime = ini.ReadInteger(d, "TransitionTime", TransitionTime);
  TransitionEffects = ini.ReadString(d, "TransitionEffects", TransitionEffects);
  Zoom = ini.ReadBool(d, "Zoom", Zoom);
  LivingZoom = ini.ReadBool(d, "LivingZoom", LivingZoom);
  ZoomDuration = ini.ReadInteger(d, "ZoomDuration", ZoomDuration);
  AutoWallpaper = ini.ReadBool(d, "AutoWallpaper", AutoWallpaper);
  Speed = ini.ReadInteger(d, "Speed", Speed);
  Music = ini.ReadBool(d, "Music", Music);
  MusicVolume = ini.ReadInteger(d, "MusicVolume", MusicVolume);
  Animation = ini.ReadBool(d, "Animation", Animation);
  ShowImageMode = ini.ReadInteger(d, "ShowImageMode", ShowImageMode);
  DirectX = ini.ReadBool(d, "DirectX", DirectX);
  DirectXQuality = ini.ReadInteger(d, "DirectXQuality", DirectXQuality);
  const char* a = "Advance";
  MusicFile = ini.ReadString(a, "MusicFile", MusicFile);
  MusicMode = ini.ReadInteger(a, "MusicMode", MusicMode);
  PreviewFile = ini.ReadString(a, "PreviewFile", PreviewFile);
  const char* b = "Build";
  BuildMethod = ini.ReadInteger(b, "BuildMethod", BuildMethod);
  BuildFileName = ini.ReadString(b, "BuildFileName", BuildFileName);
  BuildSmallThumbs = ini.ReadBool(b, "BuildSmallThumbs", true);  // fixed default
  BuildIcon = ini.ReadString(b, "BuildIcon", BuildIcon);
  BuildInstall = ini.ReadString(b, "BuildInstall", BuildInstall);
  CustomIcon = ini.ReadBool(b, "CustomIcon", false);  // fixed default
}

std::string TKXCSetting::ToIniText() const {
  IniFile ini;
  ini.WriteString("General", "ProductName", ProductName);
  ini.WriteString("General", "Publisher", Publisher);
  ini.WriteString("General", "Website", Website);
  const char* d = "Default";
  ini.WriteBool(d, "Stretch", Stretch);
  ini.WriteBool(d, "Proportional", Proportional);
  ini.WriteBool(d, "Sound", Sound);
  ini.WriteInteger(d, "SoundVolume", SoundVolume);
  ini.WriteBool(d, "Random", Random);
  ini.WriteInteger(d, "Duration", Duration);
  ini.WriteBool(d, "Transition", Transition);
  ini.WriteInteger(d, "TransitionTime", TransitionTime);
  ini.WriteString(d, "TransitionEffects", TransitionEffects);
  ini.WriteBool(d, "Zoom", Zoom);
  ini.WriteBool(d, "LivingZoom", LivingZoom);
  ini.WriteInteger(d, "ZoomDuration", ZoomDuration);
  ini.WriteBool(d, "AutoWallpaper", AutoWallpaper);
  ini.WriteInteger(d, "Speed", Speed);
  ini.WriteBool(d, "Music", Music);
  ini.WriteInteger(d, "MusicVolume", MusicVolume);
  ini.WriteBool(d, "Animation", Animation);
  ini.WriteInteger(d, "ShowImageMode", ShowImageMode);
  ini.WriteBool(d, "DirectX", DirectX);
  ini.WriteInteger(d, "DirectXQuality", DirectXQuality);
  ini.WriteString("Advance", "MusicFile", MusicFile);
  ini.WriteInteger("Advance", "MusicMode", MusicMode);
  ini.WriteString("Advance", "PreviewFile", PreviewFile);
  ini.WriteInteger("Build", "BuildMethod", BuildMethod);
  ini.WriteString("Build", "BuildFileName", BuildFileName);
  ini.WriteBool("Build", "BuildSmallThumbs", BuildSmallThumbs);
  ini.WriteString("Build", "BuildIcon", BuildIcon);
  ini.WriteString("Build", "BuildInstall", BuildInstall);
  ini.WriteBool("Build", "CustomIcon", CustomIcon);
  return ini.ToText();
}

void TUISetting::LoadFromIni(const IniFile& ini) { UIFile = ini.ReadString("UI", "UIFile", ""); }

bool TKXCProject::LoadFromContainer(std::string_view data) {
  // Only three- and four-part project containers are read; anything else keeps the
  // defaults (each member still reads an empty text, as for unreadable files).
  const MarkerPosition marker = FindMarkerIn(data);
  const bool usable = marker.found && (marker.count == 3 || marker.count == 4);
  auto parts = usable ? ReadContainerParts(data, 3) : std::nullopt;
  auto text = [&](size_t i) -> std::string_view {
    return usable && i < parts->size() ? std::string_view((*parts)[i]) : std::string_view();
  };
  FileList.LoadFromIni(IniFile::Parse(text(0)));
  Setting.LoadFromIni(IniFile::Parse(text(1)));
  UISetting.LoadFromIni(IniFile::Parse(text(2)));
  return usable;
}

bool TKXCProject::LoadFromFile(const std::string& path) {
  std::string data;
  if (!fs::ReadFile(path, data, UINT64_C(256) << 20)) data.clear();
  return LoadFromContainer(data);
}

}  // namespace kx
