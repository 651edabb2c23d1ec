// The saver's entry point: reads the screensaver switch and runs one mode.
//   /s  the full-screen show          /c (or nothing)  the configuration window
//   /p  preview into window N         /a  change the screensaver password for window N
// Only the first two characters of the first argument count ("/c:1234" is /c).
#include <windows.h>

#include <cstdlib>

#include "package/paths.h"
#include "win32/app.h"
#include "win32/win32_system.h"

namespace kx::win32 {

App& TheApp() {
  static App app;
  return app;
}

const char* MessageCaption() {
  const std::string& title = TheApp().Title;
  return title.empty() ? " " : title.c_str();
}

int ShowMessage(const std::string& text, unsigned flags) {
  return MessageBoxA(nullptr, text.c_str(), MessageCaption(), flags | MB_TASKMODAL | MB_SETFOREGROUND);
}

bool ParseWindowHandle(const std::string& text, unsigned long long& value) {
  if (text.empty() || text.size() > 20) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return true;
}

bool App::PrepareSaver(bool report) {
  static WorkFolder folder(TempFolder(), BaseName, GetTickCount());
  Work = &folder;
  const std::string& w = folder.Get();
  ExtractResult r = ExtractPackage(Project, ModulePath, w);
  if (!r.ok) {
    kx::RemovePackage(w);
    if (report)
      ShowMessage("This screensaver's pictures cannot be read: the file \"" + ModulePath +
                      "\" holds no package, or the folder \"" + (w.empty() ? TempFolder() : w) +
                      "\" cannot be written.",
                  MB_ICONERROR | MB_OK);
    return false;
  }
  return true;
}

void App::RemovePackage() {
  if (Work) kx::RemovePackage(Work->Get());
}

}  // namespace kx::win32

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace kx;
  using namespace kx::win32;
  App& app = TheApp();
  app.ModulePath = ModuleLongPath();
  app.BaseName = BaseNameOf(app.ModulePath);
  app.Settings = UserSettingsLocation::For(app.ModulePath, PerUserFolder());
  app.FirstArg = __argc > 1 ? UpperCase(__argv[1]) : std::string();
  app.WindowArg = __argc > 2 ? UpperCase(__argv[2]) : std::string();
  app.Switch = app.FirstArg.substr(0, 2);
  const std::string& s = app.Switch;

  if (s == "/A" || s == "-A" || s == "A") {
    RunPasswordMode();
    return 0;
  }
  if (s == "/S" || s == "-S" || s == "S")
    RunShowMode();
  else if (s == "/C" || s == "-C" || s == "C" || s.empty())
    RunConfigMode();
  else if (s == "/P" || s == "-P" || s == "P")
    RunPreviewMode();
  return 0;
}
