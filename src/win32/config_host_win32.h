// The configuration window's outside world on Windows: message boxes, the shell, the show
// of one picture, picture loading and the desktop wallpaper.
#pragma once

#include "config/config_host.h"
#include "package/project.h"
#include "package/user_settings.h"

namespace kx::win32 {

class Win32ConfigHost : public ConfigHost {
 public:
  Win32ConfigHost(const TKXCProject& project, const UserSettingsLocation& settings)
      : project_(project), settings_(settings) {}

  std::string ModulePath() const override;
  std::string FirstArgument() const override;
  void SetApplicationTitle(const std::string& title) override;
  bool AskYesNo(const std::string& question) override;
  void ReportError(const std::string& message) override;
  void ShellOpen(const std::string& target) override;
  void ShowSinglePicture(const std::string& path) override;
  bool RunSettingsDialog(SettingsDialogState& state) override;
  bool LoadPicture(const std::string& path, bool picture_file, Bitmap32& out) override;
  void SetWallpaper(const Bitmap32& picture, const std::string& bitmap_path) override;

  const std::string& Title() const { return title_; }

 private:
  const TKXCProject& project_;
  const UserSettingsLocation& settings_;
  std::string title_;
};

// A 24-bit bottom-up Windows bitmap file of the picture.
std::string EncodeBitmapFile(const Bitmap32& picture);

}  // namespace kx::win32
