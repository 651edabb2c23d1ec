// The four modes of the saver.
#include <windows.h>

#include <cstdint>

#include "package/preview_picture.h"
#include "package/user_settings.h"
#include "win32/app.h"
#include "win32/config_window.h"
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

// Draws a top-down 32-bit picture onto a device context at (0, 0).
void DrawBitmap(HDC dc, const Bitmap32& b) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = b.Width();
  bi.bmiHeader.biHeight = -b.Height();
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, 0, 0, b.Width(), b.Height(), 0, 0, 0, b.Height(), b.Data(), &bi,
                    DIB_RGB_COLORS);
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
  const std::string path = app.Project.Setting.PreviewFile;
  unsigned long long handle = 0;
  HWND window = nullptr;
  if (ParseWindowHandle(app.WindowArg, handle))
    window = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
  if (!path.empty() && window && IsWindow(window)) {
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
    RECT r{};
    if (alive && GetWindowRect(window, &r)) {
      std::string error;
      auto picture = RenderPreviewPicture(path, r.right - r.left, r.bottom - r.top, error);
      if (picture) {
        HDC dc = GetDC(window);
        if (dc) {
          DrawBitmap(dc, *picture);
          ReleaseDC(window, dc);
        }
      }
    }
  }
  // The drawing stays on the window; the extracted files are not needed any longer.
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
