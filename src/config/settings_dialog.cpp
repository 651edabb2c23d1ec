#include "config/settings_dialog.h"

#include <algorithm>

#include "config/description_classes.h"
#include "config/text_util.h"

namespace kx {

FormSpecResult SettingsDialog::Spec() {
  FormSpecResult r = FormSpecFromText(SettingsDialogFormText(), nullptr, FormClassSet::Program);
  if (r.ok) {
    // A dialog frame: caption and close box, centred on the screen.
    WindowFrame& f = r.spec.window.frame;
    f = WindowFrame{};
    f.border = FrameBorder::Single;
    f.system_menu = true;
    f.centered = true;
  }
  return r;
}

int SettingsDialog::C(const char* name) const { return FindControl(spec_, name); }

bool SettingsDialog::Run(SettingsDialogState& state, std::string* error) {
  const FormSpecResult r = Spec();
  if (!r.ok) {
    if (error) *error = "settings dialog: " + r.error;
    return false;
  }
  spec_ = r.spec;
  std::string build_error;
  std::unique_ptr<FormWindow> window = builder_.Build(spec_, &build_error);
  if (!window) {
    if (error) *error = build_error;
    return false;
  }
  window_ = window.get();
  state_ = &state;
  ok_ = false;
  for (const char* name : {"Button1", "Button2", "Button3", "Button4", "Label3"}) window_->BindClick(C(name));
  window_->ShowModal(*this);
  window_ = nullptr;
  state_ = nullptr;
  return ok_;
}

void SettingsDialog::OnFormShow() {
  FormWindow& w = *window_;
  const DialogSettings& v = state_->values;
  w.SetChecked(C("cbMusic"), v.Music);
  w.SetChecked(C("cbSound"), v.Sound);
  w.SetChecked(C("cbDirectX"), v.DirectX);
  w.SetChecked(C("cbCustomMusic"), v.CustomMusic);
  w.SetChecked(C("cbShuffleMusic"), v.ShuffleMusic);
  w.SetChecked(C("cbTransition"), v.Transition);
  w.SetItemIndex(C("cbImageQuality"), v.DirectXQuality);
  w.SetItemIndex(C("cbImageSize"), v.ImageSize);
  w.SetItemIndex(C("cbShowImageMode"), v.ImageMode);
  w.SetItemIndex(C("cbMonitors"), v.Monitors);
  // The arrows start from the stored duration kept in their range; the box shows it as stored.
  const int updown = C("UpDown1");
  const std::optional<int> duration = cfgtext::ToInt(state_->duration_text);
  if (duration) w.SetPosition(updown, std::clamp(*duration, SettingsDialogLimits::kMinDuration, SettingsDialogLimits::kMaxDuration));
  w.SetText(C("txtDuration"), state_->duration_text.substr(0, SettingsDialogLimits::kDurationChars));
  w.SetPosition(C("tbSpeed"), v.Speed);
  const int list = C("lstMusic");
  for (const std::string& file : v.MusicList) w.ListAddRow(list, file);
  w.SetEnabled(C("Button1"), state_->ok_enabled);
}

void SettingsDialog::ReadBack() {
  const FormWindow& w = *window_;
  DialogSettings& v = state_->values;
  v.Music = w.Checked(C("cbMusic"));
  v.Sound = w.Checked(C("cbSound"));
  v.DirectX = w.Checked(C("cbDirectX"));
  v.CustomMusic = w.Checked(C("cbCustomMusic"));
  v.ShuffleMusic = w.Checked(C("cbShuffleMusic"));
  v.Transition = w.Checked(C("cbTransition"));
  v.DirectXQuality = w.ItemIndex(C("cbImageQuality"));
  v.ImageSize = w.ItemIndex(C("cbImageSize"));
  v.ImageMode = w.ItemIndex(C("cbShowImageMode"));
  v.Monitors = w.ItemIndex(C("cbMonitors"));
  v.Speed = w.Position(C("tbSpeed"));
  v.MusicList = w.ListRows(C("lstMusic"));
  state_->duration_text = w.Text(C("txtDuration")).substr(0, SettingsDialogLimits::kDurationChars);
}

void SettingsDialog::OnControlClick(int control) {
  if (!window_) return;
  FormWindow& w = *window_;
  const std::string& name = spec_.controls[static_cast<size_t>(control)].name;
  if (name == "Button1") {  // OK
    ReadBack();
    ok_ = true;
    w.Close();
  } else if (name == "Button2") {  // Cancel
    w.Close();
  } else if (name == "Button3") {  // Add
    const std::optional<std::string> file = w.RunOpenDialog(C("OpenDialog1"));
    if (file && !file->empty()) w.ListAddRow(C("lstMusic"), *file);
  } else if (name == "Button4") {  // Remove
    const int list = C("lstMusic");
    const int row = w.ListSelectedRow(list);
    if (row >= 0) w.ListDeleteRow(list, row);
  } else if (name == "Label3") {  // Reset
    w.SetPosition(C("tbSpeed"), SettingsDialogLimits::kSpeedReset);
  }
}

}  // namespace kx
