// What the configuration window logic needs from the outside world. The Win32 layer
// implements it with the real calls; tests use a recording fake.
#pragma once

#include <string>

#include "package/user_settings.h"
#include "media/bitmap32.h"

namespace kx {

// The settings dialog's contents, handed to the dialog and back.
struct SettingsDialogState {
  DialogSettings values;       // shown on open (Duration through the arrows' 10..999);
                               // on OK, what the dialog's controls hold
  bool ok_enabled = false;     // the OK button is usable (the settings file may be written)
  std::string duration_text;   // on open: what the duration box shows first;
                               // on OK: the box's text as typed
};

class ConfigHost {
 public:
  virtual ~ConfigHost() = default;

  // The executable's long path, and the first command-line argument as given ("" when none).
  virtual std::string ModulePath() const = 0;
  virtual std::string FirstArgument() const = 0;

  virtual void SetApplicationTitle(const std::string& title) = 0;
  // A confirmation with the buttons Yes and No; true for Yes.
  virtual bool AskYesNo(const std::string& question) = 0;
  // The application's error display.
  virtual void ReportError(const std::string& message) = 0;
  // The shell's "open" verb on a document or address; failures are ignored.
  virtual void ShellOpen(const std::string& target) = 0;
  // The full-screen show of one picture; returns when it ends.
  virtual void ShowSinglePicture(const std::string& path) = 0;
  // The modal settings dialog; true when it closed with OK.
  virtual bool RunSettingsDialog(SettingsDialogState& state) = 0;
  // Loads a picture into a 32-bit bitmap: a picture file (".KXP") through its picture record,
  // anything else through the general picture loader. False when it cannot be read.
  virtual bool LoadPicture(const std::string& path, bool picture_file, Bitmap32& out) = 0;
  // Saves the bitmap as a Windows bitmap file at bitmap_path (overwriting), then, when the
  // current user's "Control Panel\desktop" key opens, sets TileWallpaper = "0" and makes the
  // file the desktop wallpaper (SPI_SETDESKWALLPAPER with SPIF_UPDATEINIFILE).
  virtual void SetWallpaper(const Bitmap32& picture, const std::string& bitmap_path) = 0;
};

}  // namespace kx
