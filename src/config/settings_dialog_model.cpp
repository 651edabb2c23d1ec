#include "config/settings_dialog_model.h"

#include <algorithm>
#include <cstring>

#include "config/text_util.h"

namespace kx {

const std::vector<DialogControl>& SettingsDialogLayout::Controls() {
  using K = DialogControlKind;
  static const std::vector<DialogControl> table = {
      {"Button1", K::Button, "", 198, 264, 75, 25, "OK", {}},
      {"Button2", K::Button, "", 278, 264, 75, 25, "Cancel", {}},
      {"PageControl1", K::PageControl, "", 8, 8, 345, 249, "", {}},
      {"TabSheet1", K::TabSheet, "PageControl1", 0, 0, 0, 0, "Display Mode", {}},
      {"TabSheet2", K::TabSheet, "PageControl1", 0, 0, 0, 0, "Background Music", {}},
      {"cbMusic", K::CheckBox, "TabSheet1", 29, 14, 93, 17, "Enable Music", {}},
      {"cbSound", K::CheckBox, "TabSheet1", 142, 14, 195, 17, "Enable Sound Effects", {}},
      {"cbDirectX", K::CheckBox, "TabSheet1", 29, 40, 171, 17, "Use DirectX (Faster Animation)", {}},
      {"lblImgQuality", K::Label, "TabSheet1", 29, 69, 0, 0, "Direct X Quality", {}},
      {"cbImageQuality", K::ComboBox, "TabSheet1", 141, 67, 154, 0, "",
       {"Highest (Slower)", "Normal ", "Low (Faster)"}},
      {"Label5", K::Label, "TabSheet1", 29, 101, 0, 0, "Image Size", {}},
      {"cbImageSize", K::ComboBox, "TabSheet1", 141, 97, 154, 0, "",
       {"Original Size", "Stretch-Full", "Stretch-Proportional"}},
      {"Label6", K::Label, "TabSheet1", 30, 132, 0, 0, "Show Image", {}},
      {"cbShowImageMode", K::ComboBox, "TabSheet1", 141, 127, 154, 0, "",
       {"All images - Random", "All images - Sequential", "User's favorite (checked images) - Random",
        "Single - Selected Image"}},
      {"lblDuration", K::Label, "TabSheet1", 30, 160, 0, 0, "Image Duration", {}},
      {"txtDuration", K::Edit, "TabSheet1", 140, 157, 27, 21, "10", {}},
      {"UpDown1", K::UpDown, "TabSheet1", 167, 157, 16, 21, "", {}},
      {"lblSec", K::Label, "TabSheet1", 196, 160, 0, 0, "seconds", {}},
      {"Label8", K::Label, "TabSheet1", 30, 190, 0, 0, "Animation Speed", {}},
      {"tbSpeed", K::TrackBar, "TabSheet1", 136, 189, 162, 20, "", {}},
      {"cbCustomMusic", K::CheckBox, "TabSheet2", 7, 7, 114, 17, "Use Custom Music", {}},
      {"cbShuffleMusic", K::CheckBox, "TabSheet2", 137, 7, 97, 17, "Shuffle Playlist", {}},
      {"lstMusic", K::ListView, "TabSheet2", 7, 32, 324, 157, "File", {}},
      {"Button3", K::Button, "TabSheet2", 8, 195, 38, 21, "Add", {}},
      {"Button4", K::Button, "TabSheet2", 50, 195, 49, 21, "Remove", {}},
      // Below the client area: never seen, but their values travel with the dialog.
      {"GroupBox1", K::GroupBox, "", 13, 334, 297, 114, "Play Mode", {}},
      {"Label3", K::LinkLabel, "GroupBox1", 237, 81, 0, 0, "Reset", {}},
      {"cbTransition", K::CheckBox, "", 22, 341, 179, 17, "Enable Transition", {}},
  };
  return table;
}

const DialogControl* SettingsDialogLayout::Find(const char* name) {
  for (const DialogControl& c : Controls())
    if (std::strcmp(c.name, name) == 0) return &c;
  return nullptr;
}

SettingsDialogModel::SettingsDialogModel(const SettingsDialogState& state)
    : values(state.values), duration_text(state.duration_text), rows(state.values.MusicList) {
  values.MusicList.clear();
  SetDurationText(duration_text);
  if (const auto n = cfgtext::ToInt(duration_text))
    updown_position_ = std::clamp(*n, SettingsDialogLayout::kMinDuration, SettingsDialogLayout::kMaxDuration);
}

void SettingsDialogModel::Add(const std::optional<std::string>& chosen) {
  if (chosen && !chosen->empty()) rows.push_back(*chosen);
}

void SettingsDialogModel::Remove() {
  if (selected_row < 0 || selected_row >= static_cast<int>(rows.size())) return;
  rows.erase(rows.begin() + selected_row);
  selected_row = -1;
}

void SettingsDialogModel::StepDuration(int steps) {
  int position = updown_position_;
  if (const auto n = cfgtext::ToInt(duration_text)) position = *n;
  const long long moved = static_cast<long long>(position) + steps;
  updown_position_ = static_cast<int>(std::clamp<long long>(moved, SettingsDialogLayout::kMinDuration,
                                                            SettingsDialogLayout::kMaxDuration));
  duration_text = std::to_string(updown_position_);
}

void SettingsDialogModel::SetDurationText(const std::string& text) {
  duration_text = text.substr(0, SettingsDialogLayout::kDurationChars);
}

void SettingsDialogModel::Ok(SettingsDialogState& state) const {
  state.values = values;
  state.values.MusicList = rows;
  state.duration_text = duration_text;
}

}  // namespace kx
