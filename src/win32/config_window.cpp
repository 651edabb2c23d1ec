#include "win32/config_window.h"

#include <windows.h>

#include "config/config_controller.h"
#include "config/kx_forms.h"
#include "platform/file_system.h"
#include "win32/app.h"
#include "win32/config_host_win32.h"
#include "win32/form_builder_win32.h"

namespace kx::win32 {

void RunConfigWindow(TKXCProject& project, const UserSettingsLocation& settings) {
  // A saver packed without a GUI description has no configuration window.
  std::string text;
  if (!fs::ReadFile(project.UISetting.UIFile, text) || text.find_first_not_of(" \t\r\n") == std::string::npos)
    return;
  TKXForms forms;
  std::string error;
  if (!forms.LoadFromText(text, &error)) {
    ShowMessage("The configuration window cannot be read: " + error, MB_ICONERROR | MB_OK);
    if (!forms.FindForm("MainWindow")) return;
  }
  Win32FormBuilder builder;
  Win32ConfigHost host(project, settings);
  ConfigController controller(forms, project, settings, builder, host);
  controller.OpenDescribedForm("MainWindow", true);
}

}  // namespace kx::win32
