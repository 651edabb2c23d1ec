// The settings dialog on the screen: a fixed window with native controls laid out from
// SettingsDialogLayout, filled from and read back into a SettingsDialogState.
#pragma once

#include "config/config_host.h"

namespace kx::win32 {

// Shows the dialog modally over the active window; true when it closed with OK (`state`
// then holds the dialog's values).
bool RunSettingsDialogWindow(SettingsDialogState& state);

}  // namespace kx::win32
