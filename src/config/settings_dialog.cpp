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

namespace {

// Which control of the dialog shows which setting. A new row of the dialog is one more line
// here (and its control in the form text).
struct CheckBinding {
  const char* control;
  bool DialogSettings::*value;
};
constexpr CheckBinding kChecks[] = {
    {"cbMusic", &DialogSettings::Music},
    {"cbSound", &DialogSettings::Sound},
    {"cbDirectX", &DialogSettings::DirectX},
    {"cbCustomMusic", &DialogSettings::CustomMusic},
    {"cbShuffleMusic", &DialogSettings::ShuffleMusic},
    {"cbTransition", &DialogSettings::Transition},
};

struct ItemBinding {
  const char* control;
  int DialogSettings::*value;
};
constexpr ItemBinding kLists[] = {
    {"cbImageQuality", &DialogSettings::DirectXQuality},
    {"cbImageSize", &DialogSettings::ImageSize},
    {"cbShowImageMode", &DialogSettings::ImageMode},
    {"cbMonitors", &DialogSettings::Monitors},
};
// Sliders and up-down arrows: the setting is the position.
constexpr ItemBinding kPositions[] = {
    {"tbSpeed", &DialogSettings::Speed},
};

}  // namespace

void SettingsDialog::OnFormShow() {
  FormWindow& w = *window_;
  const DialogSettings& v = state_->values;
  for (const CheckBinding& b : kChecks) w.SetChecked(C(b.control), v.*b.value);
  for (const ItemBinding& b : kLists) w.SetItemIndex(C(b.control), v.*b.value);
  for (const ItemBinding& b : kPositions) w.SetPosition(C(b.control), v.*b.value);
  // The duration goes through the arrows: the box shows their position, so a stored value
  // outside 10..999 is shown (and saved on OK) as the nearest end of that range.
  const int duration = std::clamp(v.Duration, SettingsDialogLimits::kMinDuration, SettingsDialogLimits::kMaxDuration);
  w.SetPosition(C("UpDown1"), duration);
  w.SetText(C("txtDuration"), std::to_string(duration));
  const int list = C("lstMusic");
  for (const std::string& file : v.MusicList) w.ListAddRow(list, file);
  w.SetEnabled(C("Button1"), state_->ok_enabled);
}

void SettingsDialog::ReadBack() {
  const FormWindow& w = *window_;
  DialogSettings& v = state_->values;
  for (const CheckBinding& b : kChecks) v.*b.value = w.Checked(C(b.control));
  for (const ItemBinding& b : kLists) v.*b.value = w.ItemIndex(C(b.control));
  for (const ItemBinding& b : kPositions) v.*b.value = w.Position(C(b.control));
  v.MusicList = w.ListRows(C("lstMusic"));
  // A value typed into the box is taken as typed (at most three characters).
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
