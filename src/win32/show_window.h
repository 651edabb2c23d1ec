// The full-screen show.
#pragma once

#include <string>

#include "package/project.h"
#include "package/user_settings.h"

namespace kx::win32 {

// The show: reports an empty package, lays the user's settings over the project and runs
// the full-screen show window until it closes.
void RunShow(TKXCProject& project, const UserSettingsLocation& settings);
// The show of one picture that the configuration window starts: a temporary project
// holding just that picture, with the given project's fitting and drawing settings.
void ShowSinglePicture(const TKXCProject& project, const std::string& picturePath,
                       const UserSettingsLocation& settings);

}  // namespace kx::win32
