// The user's own choices, kept in a profile file beside the saver (Garden.scr gives
// Garden.ini) and laid over the project settings before a show. When the folder beside
// the saver cannot be written (a saver installed in a protected system folder), the
// writers keep a per-user copy under the user's application data folder instead. That
// copy is named after the saver's folder as well as its name ("Garden-1A2B3C4D.ini"), so
// two savers of the same name in different folders never share one.
// Readers read the per-user copy when it exists, else the file beside the saver, else a
// per-user copy under the older name without the folder ("Garden.ini"), so that settings
// kept by earlier versions are not lost.
// Writers load the file readers read, change it and always try the file beside the saver
// first: once it can be written again (a saver moved out of a protected folder), the
// per-user copy is removed and the file beside the saver is the one in use again. A file
// that exists but cannot be read at the moment of a write is not replaced: nothing is
// written (the write would keep only the keys being changed).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "package/ini_file.h"
#include "package/project.h"

namespace kx {

// Animation speed in percent by the user setting Speed (0..20).
inline constexpr int SpeedTable[21] = {10, 20, 30, 45, 50, 60, 70, 75, 80, 90, 100,
                                       120, 140, 160, 180, 200, 220, 240, 360, 480, 500};
// The index whose table value equals percent, or -1.
int SpeedIndexOf(int percent);

struct UserSettingsLocation {
  std::string besideSaver;  // UserSettingsPath: the saver's long path cut before its last "." + ".ini"
  std::string perUser;      // the per-user copy ("" when the platform has no such folder)
  std::string olderPerUser; // the per-user copy's name in earlier versions (only read)

  // The locations for a saver: perUserFolder is the per-user application folder of the
  // engine (ending with its separator), or "".
  static UserSettingsLocation For(const std::string& modulePath, const std::string& perUserFolder);
  // The file readers use: the per-user copy when it exists, else the one beside the saver
  // when it exists, else the older per-user copy when it exists, else the one beside the saver.
  std::string ReadPath() const;
};

// Reads the settings file (an empty IniFile when there is none).
IniFile LoadUserSettings(const UserSettingsLocation& where);
bool UserSettingsExist(const UserSettingsLocation& where);

// Lays the user's choices over the project's settings and selection flags. Does nothing
// when no settings file exists.
void ReadUserSettings(TKXCProject& project, const UserSettingsLocation& where);
void ApplyUserSettings(TKXCProject& project, const IniFile& ini);

// What the settings dialog writes.
struct DialogSettings {
  int ImageSize = 1;
  int ImageMode = 0;
  int Speed = 10;
  bool Sound = true;
  bool Music = true;
  bool Transition = true;
  int Duration = 30;
  bool DirectX = true;
  int DirectXQuality = 1;
  bool CustomMusic = false;
  bool ShuffleMusic = true;
  int Monitors = 0;  // 0..3, see TKXCSetting::Monitors
  std::vector<std::string> MusicList;
};

// Settings files are small: a larger file is not one the saver wrote and is not read.
inline constexpr uint64_t kMaxUserSettingsBytes = 1u << 20;

// The outcome of a write: ok, and the file that was written (or that failed). unreadable:
// the settings file exists but could not be read, so nothing was written.
struct WriteResult {
  bool ok = false;
  bool unreadable = false;
  std::string path;
};

// Writes the dialog's twelve keys of [Setting] and the [MusicList] section.
WriteResult WriteDialogSettings(const UserSettingsLocation& where, const DialogSettings& s);
// Writes Index (as a decimal string) and the [Files] section with one key per unchecked picture.
WriteResult WriteWindowSettings(const UserSettingsLocation& where, int index,
                                const std::vector<int>& unchecked);
// Writes Index only and leaves [Files] as it is (a window without a thumbnail grid).
WriteResult WriteWindowIndex(const UserSettingsLocation& where, int index);

}  // namespace kx
