#include "package/user_settings.h"

#include <functional>

#include "package/paths.h"
#include "platform/file_system.h"

namespace kx {

namespace {
const char kSetting[] = "Setting";

// Reads a settings file; false when it exists but cannot be read (or is far too large).
bool LoadSettingsFile(const std::string& path, IniFile& ini) {
  ini = IniFile();
  if (!fs::FileExists(path)) return true;
  std::string text;
  if (!fs::ReadFile(path, text, kMaxUserSettingsBytes)) return false;
  ini = IniFile::Parse(text);
  return true;
}

// A short fixed hash of the saver's folder (ignoring case and the kind of separator, as
// the file system does), eight hexadecimal digits.
std::string FolderHash(std::string_view folder) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (char c : UpperCase(folder)) {
    if (c == '/') c = '\\';
    h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
  }
  static const char digits[] = "0123456789ABCDEF";
  std::string s(8, '0');
  for (int i = 7; i >= 0; --i, h >>= 4) s[static_cast<size_t>(i)] = digits[h & 15];
  return s;
}

// Loads the file readers read, lets edit change it and saves it beside the saver, or in
// the per-user copy when the file beside the saver cannot be written.
WriteResult Update(const UserSettingsLocation& where, const std::function<void(IniFile&)>& edit) {
  WriteResult r;
  const std::string source = where.ReadPath();
  IniFile ini;
  if (!LoadSettingsFile(source, ini)) {
    r.unreadable = true;
    r.path = source;
    return r;
  }
  edit(ini);
  // Written whole or not at all: a failed write leaves no cut file behind.
  const std::string text = ini.ToText();
  r.path = where.besideSaver;
  r.ok = fs::WriteFile(where.besideSaver, text);
  if (r.ok) {
    // The file beside the saver is in use (again): the per-user copy would hide it.
    if (!where.perUser.empty() && fs::FileExists(where.perUser)) fs::DeleteFile(where.perUser);
    return r;
  }
  if (!where.perUser.empty()) {
    fs::MakeDirectory(FolderPart(where.perUser));
    r.path = where.perUser;
    r.ok = fs::WriteFile(where.perUser, text);
  }
  return r;
}
}  // namespace

int SpeedIndexOf(int percent) {
  for (int i = 0; i < 21; ++i)
    if (SpeedTable[i] == percent) return i;
  return -1;
}

UserSettingsLocation UserSettingsLocation::For(const std::string& modulePath,
                                               const std::string& perUserFolder) {
  UserSettingsLocation w;
  w.besideSaver = UserSettingsPathOf(modulePath);
  if (!perUserFolder.empty()) {
    const std::string name = FileNamePart(w.besideSaver);  // "Garden.ini"
    const std::string stem = name.substr(0, name.size() - 4);
    w.perUser = perUserFolder + stem + "-" + FolderHash(FolderPart(w.besideSaver)) + ".ini";
    w.olderPerUser = perUserFolder + name;
  }
  return w;
}

std::string UserSettingsLocation::ReadPath() const {
  if (!perUser.empty() && fs::FileExists(perUser)) return perUser;
  if (fs::FileExists(besideSaver)) return besideSaver;
  if (!olderPerUser.empty() && fs::FileExists(olderPerUser)) return olderPerUser;
  return besideSaver;
}

bool UserSettingsExist(const UserSettingsLocation& where) { return fs::FileExists(where.ReadPath()); }

IniFile LoadUserSettings(const UserSettingsLocation& where) {
  IniFile ini;
  LoadSettingsFile(where.ReadPath(), ini);
  return ini;
}

void ReadUserSettings(TKXCProject& project, const UserSettingsLocation& where) {
  const std::string path = where.ReadPath();
  if (!fs::FileExists(path)) return;
  IniFile ini;
  LoadSettingsFile(path, ini);
  ApplyUserSettings(project, ini);
}

void ApplyUserSettings(TKXCProject& project, const IniFile& ini) {
  TKXCSetting& s = project.Setting;
  const int imageSize = ini.ReadInteger(kSetting, "ImageSize", -1);
  const int imageMode = ini.ReadInteger(kSetting, "ImageMode", s.ShowImageMode);
  const int speed = ini.ReadInteger(kSetting, "Speed", -1);
  const bool sound = ini.ReadBool(kSetting, "Sound", s.Sound);
  const bool music = ini.ReadBool(kSetting, "Music", s.Music);
  const bool transition = ini.ReadBool(kSetting, "Transition", s.Transition);
  const int duration = ini.ReadInteger(kSetting, "Duration", s.Duration);
  int index = ini.ReadInteger(kSetting, "Index", 0);
  const bool directX = ini.ReadBool(kSetting, "DirectX", true);
  const int directXQuality = ini.ReadInteger(kSetting, "DirectXQuality", 1);
  const bool customMusic = ini.ReadBool(kSetting, "CustomMusic", false);
  const bool shuffleMusic = ini.ReadBool(kSetting, "ShuffleMusic", true);
  const int monitors = ini.ReadInteger(kSetting, "Monitors", 0);

  if (customMusic) {
    std::string joined;
    for (const std::string& name : ini.ReadSection("MusicList")) {
      if (!joined.empty()) joined += ';';
      joined += name;
    }
    s.MusicFile = joined;
    s.MusicMode = shuffleMusic ? 0 : 1;
  }
  const std::vector<std::string> files = ini.ReadSection("Files");
  std::vector<std::string>& flags = project.FileList.Flags;
  flags.resize(project.FileList.Names.size(), "TRUE");
  if (imageMode == 3) {
    if (index < 0 || index >= static_cast<int>(flags.size())) index = 0;
    for (size_t i = 0; i < flags.size(); ++i) flags[i] = static_cast<int>(i) == index ? "TRUE" : "FALSE";
  }
  if (imageMode == 2) {
    // Keys that name no entry (a whole-package file applied to a one-picture show)
    // deselect nothing.
    for (const std::string& key : files) {
      auto n = IniFile::ParseInteger(key);
      if (n && *n >= 0 && *n < static_cast<int>(flags.size())) flags[*n] = "FALSE";
    }
  }
  s.ShowImageMode = imageMode;
  s.Duration = duration;
  s.Sound = sound;
  s.Music = music;
  s.Transition = transition;
  s.DirectX = directX;
  s.DirectXQuality = directXQuality;
  // A value outside the four choices shows on the primary monitor only.
  s.Monitors = monitors >= 0 && monitors <= 3 ? monitors : 0;
  // Speed indexes outside the table keep the project's speed.
  if (speed != -1 && speed >= 0 && speed <= 20) s.Speed = SpeedTable[speed];
  if (imageSize != -1) {
    s.Stretch = imageSize > 0;
    s.Proportional = imageSize == 2;
  }
}

WriteResult WriteDialogSettings(const UserSettingsLocation& where, const DialogSettings& d) {
  return Update(where, [&](IniFile& ini) {
    ini.WriteInteger(kSetting, "ImageSize", d.ImageSize);
    ini.WriteInteger(kSetting, "ImageMode", d.ImageMode);
    ini.WriteInteger(kSetting, "Speed", d.Speed);
    ini.WriteBool(kSetting, "Sound", d.Sound);
    ini.WriteBool(kSetting, "Music", d.Music);
    ini.WriteBool(kSetting, "Transition", d.Transition);
    ini.WriteInteger(kSetting, "Duration", d.Duration);
    ini.WriteBool(kSetting, "DirectX", d.DirectX);
    ini.WriteInteger(kSetting, "DirectXQuality", d.DirectXQuality);
    ini.WriteBool(kSetting, "CustomMusic", d.CustomMusic);
    ini.WriteBool(kSetting, "ShuffleMusic", d.ShuffleMusic);
    ini.WriteInteger(kSetting, "Monitors", d.Monitors);
    ini.EraseSection("MusicList");
    for (const std::string& m : d.MusicList) ini.WriteString("MusicList", m, "");
  });
}

WriteResult WriteWindowSettings(const UserSettingsLocation& where, int index,
                                const std::vector<int>& unchecked) {
  return Update(where, [&](IniFile& ini) {
    ini.WriteString(kSetting, "Index", std::to_string(index));
    ini.EraseSection("Files");
    for (int i : unchecked) ini.WriteString("Files", std::to_string(i), "");
  });
}

WriteResult WriteWindowIndex(const UserSettingsLocation& where, int index) {
  return Update(where, [&](IniFile& ini) { ini.WriteString(kSetting, "Index", std::to_string(index)); });
}

}  // namespace kx
