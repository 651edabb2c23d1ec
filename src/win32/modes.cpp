// The four modes of the saver.
#include <windows.h>

#include <cstdint>

#include "package/user_settings.h"
#include "win32/app.h"
#include "win32/config_window.h"
#include "win32/preview_window.h"
#include "win32/show_window.h"

namespace kx::win32 {

namespace {

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

void RunShowMode() {
  App& app = TheApp();
  if (!app.PrepareSaver(true)) return;
  RunShow(app.Project, app.Settings);
  app.RemovePackage();
}

void RunConfigMode() {
  App& app = TheApp();
  if (!app.PrepareSaver(true)) return;
  RunConfigWindow(app.Project, app.Settings);
  app.RemovePackage();
}

void RunPreviewMode() {
  App& app = TheApp();
  // A preview process runs inside the Display Properties dialog: it never shows a box.
  if (!app.PrepareSaver(false)) ExitProcess(0);
  unsigned long long handle = 0;
  HWND window = nullptr;
  if (ParseWindowHandle(app.WindowArg, handle))
    window = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
  if (!app.Project.Setting.PreviewFile.empty() && window && IsWindow(window)) {
    // Wait until the dialog shows its preview window; stop when the window goes away.
    bool alive = true;
    while (!IsWindowVisible(window)) {
      if (!IsWindow(window)) {
        alive = false;
        break;
      }
      PumpMessages();
      Sleep(20);
    }
    // The preview picture, then the show, in a child window until the dialog lets go.
    if (alive) RunPreviewWindow(app.Project, window);
  }
  app.RemovePackage();
  ExitProcess(0);
}

void RunPasswordMode() {
  App& app = TheApp();
  char dir[260];
  UINT n = GetSystemDirectoryA(dir, sizeof dir);
  std::string path = (n > 0 && n < sizeof dir) ? std::string(dir, n) : std::string();
  if (!path.empty() && path.back() != '\\') path += '\\';
  path += "MPR.DLL";
  unsigned long long handle = 0;
  if (HMODULE lib = LoadLibraryA(path.c_str())) {
    using ChangePassword = void(WINAPI*)(LPCSTR, HWND, UINT, UINT);
    auto proc = reinterpret_cast<ChangePassword>(
        reinterpret_cast<void*>(GetProcAddress(lib, "PwdChangePasswordA")));
    // A second argument that is not a number changes nothing.
    if (proc && ParseWindowHandle(app.WindowArg, handle))
      proc("SCRSAVE", reinterpret_cast<HWND>(static_cast<uintptr_t>(handle)), 0, 0);
    FreeLibrary(lib);
  }
  ExitProcess(0);
}

}  // namespace kx::win32
