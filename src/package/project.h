// The project: what the author of a saver decided. It travels in the package as the
// project container "KXC.res" holding three INI texts (file list, settings, GUI settings)
// and, in newer packages, a fourth part with installer data that the engine ignores.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "package/ini_file.h"

namespace kx {

// The pictures of the show in show order, with their selection flags "TRUE"/"FALSE".
struct TKXCFileList {
  std::vector<std::string> Names;
  std::vector<std::string> Flags;

  void Clear() { Names.clear(); Flags.clear(); }
  void LoadFromIni(const IniFile& ini);
  int Count() const { return static_cast<int>(Names.size()); }
};

std::string DefaultTransitionEffects();  // "1,2,...,169"

struct TKXCSetting {
  // [General]
  std::string ProductName = "My Screensaver";
  std::string Publisher;
  std::string Website;
  // [Default]
  bool Stretch = true;
  bool Proportional = false;
  bool Sound = true;
  int SoundVolume = 100;
  bool Random = true;
  int Duration = 30;
  bool Transition = true;
  int TransitionTime = 2000;
  std::string TransitionEffects = DefaultTransitionEffects();
  bool Zoom = false;
  bool LivingZoom = false;
  int ZoomDuration = 5;
  bool AutoWallpaper = false;
  int Speed = 100;
  bool Music = true;
  int MusicVolume = 100;
  bool Animation = true;
  int ShowImageMode = 0;
  bool DirectX = false;
  int DirectXQuality = 0;
  // The user's choice of monitors (only the user settings hold it): 0 the primary
  // monitor, the others black; 1 every monitor its own show; 2 the same show on every
  // monitor; 3 one show across all monitors.
  int Monitors = 0;
  // [Advance]
  std::string MusicFile;
  int MusicMode = 0;
  std::string PreviewFile;
  // [Build]
  int BuildMethod = 2;
  std::string BuildFileName;
  bool BuildSmallThumbs = true;
  std::string BuildIcon;
  std::string BuildInstall;
  bool CustomIcon = false;

  void LoadFromIni(const IniFile& ini);
  // The settings as an INI text in the layout the authoring tool writes.
  std::string ToIniText() const;
};

struct TUISetting {
  std::string UIFile;
  void LoadFromIni(const IniFile& ini);
};

class TKXCProject {
 public:
  TKXCFileList FileList;
  TKXCSetting Setting;
  TUISetting UISetting;

  // Loads all three members from the project container at path. The container's parts
  // are read in memory (no temporary files). A part count other than 3 or 4, or no
  // container at all, leaves the defaults and an empty file list; returns false then.
  bool LoadFromFile(const std::string& path);
  bool LoadFromContainer(std::string_view data);
};

}  // namespace kx
