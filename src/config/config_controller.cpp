#include "config/config_controller.h"

#include <algorithm>

#include "config/config_window.h"
#include "config/description_classes.h"
#include "config/settings_dialog.h"
#include "config/text_util.h"
#include "package/paths.h"

namespace kx {
namespace {

void ReplaceAll(std::string& text, std::string_view what, std::string_view with) {
  size_t at = 0;
  while ((at = text.find(what, at)) != std::string::npos) {
    text.replace(at, what.size(), with);
    at += with.size();
  }
}

// Controls whose texts carry placeholders: those standing on the window itself or inside
// panels (at any depth); pages of a tabbed container keep their texts.
bool OnWindowOrInPanels(const FormSpec& spec, const ControlSpec& c) {
  int parent = c.parent;
  for (size_t guard = 0; parent >= 0 && guard <= spec.controls.size(); ++guard) {
    const ControlSpec& p = spec.controls[static_cast<size_t>(parent)];
    if (p.cls != ControlClass::Panel) return false;
    parent = p.parent;
  }
  return parent < 0;
}

}  // namespace

std::string ConfigController::SubstitutePlaceholders(std::string_view text) const {
  std::string out(text);
  ReplaceAll(out, "<ScreensaverName>", project_.Setting.ProductName);
  ReplaceAll(out, "<CompanyName>", project_.Setting.Publisher);
  ReplaceAll(out, "<Website>", project_.Setting.Website);
  return out;
}

WindowFrame ConfigController::FrameFor(const WindowSpec& w) {
  WindowFrame f;
  f.border = w.no_frame ? FrameBorder::None : w.sizeable ? FrameBorder::Sizeable : FrameBorder::Single;
  f.system_menu = w.show_buttons;
  f.maximize_box = w.maximize_button;
  f.minimize_box = w.minimize_button;
  f.maximized = w.maximize_on_show;
  f.centered = true;
  return f;
}

bool ConfigController::SettingsAccessAllowed() const {
  return UpperCase(ExtensionOf(host_.ModulePath())) == ".SCR" ||
         UpperCase(host_.FirstArgument()) == "/C";
}

void ConfigController::ReportWriteFailure(const WriteResult& r) {
  if (r.ok) return;
  if (r.unreadable)
    host_.ReportError("The settings cannot be saved: the file \"" + r.path +
                      "\" cannot be read. Nothing was changed.");
  else
    host_.ReportError("The settings cannot be saved: the file \"" + r.path + "\" cannot be written.");
}

bool ConfigController::LoadWindowSettings(DialogSettings& out) {
  const TKXCSetting& p = project_.Setting;
  out = DialogSettings();
  out.ImageSize = p.Stretch ? (p.Proportional ? 2 : 1) : 0;
  out.ImageMode = p.ShowImageMode;
  out.Speed = SpeedIndexOf(p.Speed);
  out.Sound = p.Sound;
  out.Music = p.Music;
  out.Transition = p.Transition;
  out.Duration = p.Duration;
  out.DirectX = p.DirectX;
  out.DirectXQuality = p.DirectXQuality;
  if (!SettingsAccessAllowed()) return false;
  if (!UserSettingsExist(settings_)) return true;
  const IniFile ini = LoadUserSettings(settings_);
  const char* s = "Setting";
  out.ImageSize = ini.ReadInteger(s, "ImageSize", out.ImageSize);
  out.ImageMode = ini.ReadInteger(s, "ImageMode", out.ImageMode);
  const int speed = ini.ReadInteger(s, "Speed", out.Speed);
  if (speed >= 0 && speed <= 20) out.Speed = speed;
  out.Sound = ini.ReadBool(s, "Sound", out.Sound);
  out.Music = ini.ReadBool(s, "Music", out.Music);
  out.Transition = ini.ReadBool(s, "Transition", out.Transition);
  out.Duration = ini.ReadInteger(s, "Duration", out.Duration);
  out.DirectX = ini.ReadBool(s, "DirectX", out.DirectX);
  out.DirectXQuality = ini.ReadInteger(s, "DirectXQuality", out.DirectXQuality);
  out.CustomMusic = ini.ReadBool(s, "CustomMusic", out.CustomMusic);
  out.ShuffleMusic = ini.ReadBool(s, "ShuffleMusic", out.ShuffleMusic);
  const int monitors = ini.ReadInteger(s, "Monitors", 0);
  out.Monitors = monitors >= 0 && monitors <= 3 ? monitors : 0;
  out.MusicList = ini.ReadSection("MusicList");
  return true;
}

bool ConfigController::SaveWindowSettings(const DialogSettings& values) {
  if (!SettingsAccessAllowed()) return false;
  const WriteResult r = WriteDialogSettings(settings_, values);
  ReportWriteFailure(r);
  return r.ok;
}

std::string ConfigController::LoadPictureIndex() {
  if (!SettingsAccessAllowed()) return "0";
  return LoadUserSettings(settings_).ReadString("Setting", "Index", "0");
}

std::vector<std::string> ConfigController::LoadUncheckedKeys() {
  if (!SettingsAccessAllowed()) return {};
  return LoadUserSettings(settings_).ReadSection("Files");
}

void ConfigController::SaveWindowState(int index, const std::vector<int>* unchecked) {
  if (!SettingsAccessAllowed()) return;
  if (!unchecked) {
    ReportWriteFailure(WriteWindowIndex(settings_, index));
    return;
  }
  ReportWriteFailure(WriteWindowSettings(settings_, index, *unchecked));
}

bool ConfigController::OpenDescribedForm(std::string_view name, bool save_on_close) {
  if (UpperCase(ExtensionOf(host_.ModulePath())) == ".SCR" || host_.FirstArgument() == "/C")
    host_.SetApplicationTitle(project_.Setting.ProductName);
  const std::string form_name(cfgtext::Trim(name));
  const TKXForm* form = forms_.FindForm(form_name);
  if (!form) {
    host_.ReportError("The GUI description has no window named '" + form_name + "'.");
    return false;
  }
  RegisterDescriptionClasses();
  std::vector<int> line_map;
  const std::string text = PrepareFormText(*form, &line_map);
  FormSpecResult built = FormSpecFromText(text, &line_map);
  if (!built.ok) {
    host_.ReportError("Window '" + form_name + "': " + built.error);
    return false;
  }
  FormSpec& spec = built.spec;
  spec.window.caption = SubstitutePlaceholders(spec.window.caption);
  for (ControlSpec& c : spec.controls) {
    if (!OnWindowOrInPanels(spec, c)) continue;
    if (c.cls == ControlClass::Label || c.cls == ControlClass::BitBtn || c.cls == ControlClass::ImageButton)
      c.caption = SubstitutePlaceholders(c.caption);
    else if (c.cls == ControlClass::Memo)
      c.text = SubstitutePlaceholders(c.text);
  }
  spec.window.frame = FrameFor(spec.window);
  std::string error;
  std::unique_ptr<FormWindow> window = builder_.Build(spec, &error);
  if (!window) {
    host_.ReportError("Window '" + form_name + "': " + error);
    return false;
  }
  ApplyWindowSettings();
  ConfigWindow config_window(*this, std::move(spec), std::move(window), save_on_close);
  config_window.ShowModal();
  return true;
}

void ConfigController::ApplyWindowSettings() {
  // Only these keys reach the project when a window opens: the drawing path (DirectX,
  // DirectXQuality) stays the project's until a show lays the whole settings file over it.
  DialogSettings v;
  if (!LoadWindowSettings(v)) return;
  TKXCSetting& p = project_.Setting;
  p.ShowImageMode = v.ImageMode;
  p.Duration = v.Duration;
  p.Sound = v.Sound;
  p.Music = v.Music;
  p.Transition = v.Transition;
  if (v.Speed >= 0 && v.Speed <= 20) p.Speed = SpeedTable[v.Speed];
  p.Stretch = v.ImageSize > 0;
  p.Proportional = v.ImageSize == 2;
}

void ConfigController::RunSettingsDialog() {
  SettingsDialogState state;
  state.ok_enabled = LoadWindowSettings(state.values);
  if (state.values.Speed < 0) state.values.Speed = 10;  // a speed off the table resets to 100 %
  // What the duration box shows at first: the arrows' position, kept within their range.
  state.duration_text = std::to_string(std::clamp(state.values.Duration, SettingsDialogLimits::kMinDuration,
                                                  SettingsDialogLimits::kMaxDuration));
  if (!host_.RunSettingsDialog(state)) return;
  if (!state.ok_enabled) return;
  const std::optional<int> duration = cfgtext::ToInt(state.duration_text);
  if (!duration) {
    host_.ReportError("'" + state.duration_text + "' is not a valid integer value");
    return;
  }
  state.values.Duration = *duration;
  SaveWindowSettings(state.values);
}

void ConfigController::SetPictureAsWallpaper(int index) {
  if (!host_.AskYesNo("You are about to set the selected picture as wallpaper.\r\nDo you want to proceed?"))
    return;
  if (index < 0 || index >= static_cast<int>(Pictures().size())) return;
  const std::string target = host_.ModulePath() + ".bmp";
  const std::string& path = Pictures()[static_cast<size_t>(index)];
  Bitmap32 picture;
  if (!host_.LoadPicture(path, UpperCase(ExtensionOf(path)) == ".KXP", picture)) return;
  host_.SetWallpaper(picture, target);
}

}  // namespace kx
