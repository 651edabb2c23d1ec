// The windows of the show and of the configuration.
#pragma once

#include "package/project.h"
#include "package/user_settings.h"

namespace kx::win32 {

// The show: reports an empty package, lays the user's settings over the project and runs
// the full-screen show window until it closes.
void RunShow(TKXCProject& project, const UserSettingsLocation& settings);
// The configuration window described by the package; returns when it closes.
void RunConfigWindow(TKXCProject& project, const UserSettingsLocation& settings);

}  // namespace kx::win32
