// The settings dialog without its window: the table of its controls (kind, place, text,
// items) and the state its handlers work on. The window layer creates one native control
// per table row, fills the controls from the state, and calls the handlers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/config_host.h"

namespace kx {

enum class DialogControlKind {
  Button, PageControl, TabSheet, CheckBox, Label, ComboBox, Edit, UpDown, TrackBar, ListView,
  GroupBox, LinkLabel,
};

struct DialogControl {
  const char* name;
  DialogControlKind kind;
  const char* parent;  // "" for the dialog itself
  int left, top, width, height;  // height 0: the control's natural height
  const char* text;
  std::vector<const char*> items;  // drop-down lists
};

struct SettingsDialogLayout {
  static constexpr const char* kCaption = "Settings";
  static constexpr int kClientWidth = 364, kClientHeight = 297;
  static constexpr const char* kFontName = "Tahoma";
  static constexpr int kFontHeight = -11;
  static constexpr const char* kMusicFilter = "Music Files|*.mp3;*.wma;*.mid;*.wav";
  static constexpr int kMinDuration = 10, kMaxDuration = 999, kDurationChars = 3;
  static constexpr int kSpeedMin = 0, kSpeedMax = 20, kSpeedReset = 10;
  // Every control, a parent before its children.
  static const std::vector<DialogControl>& Controls();
  static const DialogControl* Find(const char* name);
};

class SettingsDialogModel {
 public:
  // Fills the dialog from the state the window logic hands over.
  explicit SettingsDialogModel(const SettingsDialogState& state);

  DialogSettings values;          // check boxes, lists and slider (MusicList unused: see rows)
  std::string duration_text;
  std::vector<std::string> rows;  // the music list view, top to bottom
  int selected_row = -1;

  // "Add" with what the file-open dialog returned (nothing when cancelled).
  void Add(const std::optional<std::string>& chosen);
  // "Remove": the selected row, if there is one.
  void Remove();
  // "Reset": the speed slider back to the middle.
  void Reset() { values.Speed = SettingsDialogLayout::kSpeedReset; }
  // The up-down arrows: the duration text taken as a number (the last valid position when
  // it is none), moved by `steps`, kept within 10..999.
  void StepDuration(int steps);
  // Typing: at most three characters are kept.
  void SetDurationText(const std::string& text);
  // "OK": the state handed back (the music list refilled from the rows).
  void Ok(SettingsDialogState& state) const;

 private:
  int updown_position_ = SettingsDialogLayout::kMinDuration;
};

}  // namespace kx
