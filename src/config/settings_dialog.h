// The settings dialog that "Open setting" opens: a fixed window of the program, described
// by its own form text and built by the same builder as the windows of a description. It
// edits the user's display, show and music settings.
#pragma once

#include <string>

#include "config/config_host.h"
#include "config/description_classes.h"
#include "config/form_builder.h"

namespace kx {

// The dialog's form text.
const char* SettingsDialogFormText();

struct SettingsDialogLimits {
  static constexpr int kMinDuration = 10, kMaxDuration = 999, kDurationChars = 3;
  static constexpr int kSpeedReset = 10;
};

class SettingsDialog : public FormEvents {
 public:
  explicit SettingsDialog(FormBuilder& builder) : builder_(builder) {}

  // The dialog's window description (the form text read with the program's classes).
  static FormSpecResult Spec();

  // Shows the dialog filled from `state` and waits for it to close. With OK, `state` takes
  // what the controls hold (the duration as typed, the music list top to bottom) and the
  // result is true. False when cancelled or when the window cannot be built (`error` says why).
  bool Run(SettingsDialogState& state, std::string* error = nullptr);

  void OnFormShow() override;
  void OnFormClose() override {}
  void OnControlClick(int control) override;
  void OnSelectItem(int, int) override {}

 private:
  int C(const char* name) const;
  void ReadBack();

  FormBuilder& builder_;
  FormSpec spec_;
  FormWindow* window_ = nullptr;
  SettingsDialogState* state_ = nullptr;
  bool ok_ = false;
};

}  // namespace kx
