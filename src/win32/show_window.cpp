#include "win32/show_window.h"

#include <windows.h>

#include "win32/app.h"

namespace kx::win32 {

void RunShow(TKXCProject& project, const UserSettingsLocation& settings) {
  if (project.FileList.Names.empty()) {
    ShowMessage("This screensaver does not contain any image.", MB_ICONINFORMATION | MB_OK);
    return;
  }
  for (std::string& flag : project.FileList.Flags) flag = "TRUE";
  ReadUserSettings(project, settings);
}

void RunConfigWindow(TKXCProject&, const UserSettingsLocation&) {}

}  // namespace kx::win32
