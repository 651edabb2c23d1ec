// Profile (INI) texts: the reader, the project settings and the user settings laid over a
// project, the written text read back, and the project container with its three INI parts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "package/ini_file.h"
#include "package/project.h"
#include "package/user_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const kx::IniFile ini = kx::IniFile::Parse(text);
  kx::TKXCProject project;
  project.FileList.LoadFromIni(ini);
  project.Setting.LoadFromIni(ini);
  project.UISetting.LoadFromIni(ini);
  project.FileList.Flags.resize(project.FileList.Names.size(), "TRUE");
  kx::ApplyUserSettings(project, ini);
  int selected = 0;
  for (const std::string& f : project.FileList.Flags) selected += f == "TRUE";
  if (project.Setting.ShowImageMode == 3 && !project.FileList.Names.empty() && selected != 1)
    __builtin_trap();  // a single-picture show has exactly one picture
  // What the saver writes it reads back the same.
  const std::string written = ini.ToText();
  const kx::IniFile again = kx::IniFile::Parse(written);
  for (const char* section : {"Setting", "Files", "MusicList", "Default", "General"}) {
    if (again.ReadSection(section) != ini.ReadSection(section)) __builtin_trap();
    for (const std::string& key : ini.ReadSection(section)) {
      const std::string value = ini.ReadString(section, key, "\x02");
      // A quoted value may hold what no profile line keeps as it is when written plainly
      // (as Windows writes it too): a line break, or spaces and quotes at either end.
      if (value.find_first_of("\r\n") != std::string::npos) continue;
      if (!value.empty() && (std::string_view(" \t\"'").find(value.front()) != std::string_view::npos ||
                             std::string_view(" \t\"'").find(value.back()) != std::string_view::npos))
        continue;
      if (again.ReadString(section, key, "\x01") != value) __builtin_trap();
    }
  }
  kx::IniFile edited = ini;
  edited.WriteInteger("Setting", "Duration", 12);
  edited.EraseSection("Files");
  edited.WriteString("Files", "3", "");
  const kx::IniFile back = kx::IniFile::Parse(edited.ToText());
  if (back.ReadInteger("Setting", "Duration", 0) != 12) __builtin_trap();
  kx::IniFile::ParseInteger(text);
  kx::TKXCProject fromContainer;
  fromContainer.LoadFromContainer(text);
  return 0;
}
