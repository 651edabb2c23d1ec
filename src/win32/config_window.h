// The configuration window described by the package.
#pragma once

#include "package/project.h"
#include "package/user_settings.h"

namespace kx::win32 {

// Loads the GUI description named by the project's UIFile, opens its "MainWindow" and
// returns when it closes.
void RunConfigWindow(TKXCProject& project, const UserSettingsLocation& settings);

}  // namespace kx::win32
