// The configuration window logic shared by every described window of one run: it opens a
// form of the GUI description as a modal window, gives it its frame and title, fills in the
// project's names, and reads and writes the user settings file for the windows.
//
// The user settings file is touched only when the executable's extension is ".SCR" or the
// first argument is "/C" (both compared upper-cased); otherwise the windows neither read nor
// write it. A write that fails is reported to the user with the file's name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/config_host.h"
#include "config/form_builder.h"
#include "config/kx_forms.h"
#include "package/project.h"
#include "package/user_settings.h"

namespace kx {

class ConfigController {
 public:
  ConfigController(const TKXForms& forms, TKXCProject& project, UserSettingsLocation settings,
                   FormBuilder& builder, ConfigHost& host)
      : forms_(forms), project_(project), settings_(std::move(settings)), builder_(builder), host_(host) {}

  // Builds the named form, shows it modally and frees it when it closes. False (with the
  // error reported through the host) when the description holds no such form or it cannot
  // be built; no window opens then.
  bool OpenDescribedForm(std::string_view name, bool save_on_close);

  // "<ScreensaverName>", "<CompanyName>", "<Website>" replaced by the project's names as
  // they are.
  std::string SubstitutePlaceholders(std::string_view text) const;
  static WindowFrame FrameFor(const WindowSpec& window);

  bool SettingsAccessAllowed() const;
  // The values of the settings dialog: the project's defaults, overlaid by the file when
  // access is allowed and it exists. Returns whether access is allowed.
  bool LoadWindowSettings(DialogSettings& out);
  // False when access is not allowed or the file could not be written (reported then).
  bool SaveWindowSettings(const DialogSettings& values);
  // Index as stored ("0" when there is none or access is not allowed).
  std::string LoadPictureIndex();
  // Key names of [Files] (empty when there is none or access is not allowed).
  std::vector<std::string> LoadUncheckedKeys();
  // Stores Index and [Files]; a window without a thumbnail grid passes nullptr and keeps
  // the stored [Files].
  void SaveWindowState(int index, const std::vector<int>* unchecked);

  // The settings dialog of "Open setting".
  void RunSettingsDialog();
  // "Set as a Wallpaper" for the picture at `index` of the picture list.
  void SetPictureAsWallpaper(int index);

  const TKXForms& Forms() const { return forms_; }
  TKXCProject& Project() { return project_; }
  const std::vector<std::string>& Pictures() const { return project_.FileList.Names; }
  ConfigHost& Host() { return host_; }

 private:
  void ReportWriteFailure(const WriteResult& r);
  // Copies the stored ImageMode, Duration, Sound, Music, Transition, Speed and ImageSize
  // into the project's settings (nothing when access is not allowed).
  void ApplyWindowSettings();

  const TKXForms& forms_;
  TKXCProject& project_;
  UserSettingsLocation settings_;
  FormBuilder& builder_;
  ConfigHost& host_;
};

}  // namespace kx
