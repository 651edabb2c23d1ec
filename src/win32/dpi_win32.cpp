#include "win32/dpi_win32.h"

namespace kx::win32 {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

template <typename Fn>
Fn Lookup(const char* dll, const char* name) {
  HMODULE m = GetModuleHandleA(dll);
  if (!m) m = LoadLibraryA(dll);
  return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int MonitorDpi(HMONITOR monitor) {
  static const auto for_monitor = Lookup<GetDpiForMonitorFn>("shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (monitor && for_monitor && SUCCEEDED(for_monitor(monitor, kEffectiveDpi, &x, &y)) && y > 0)
    return static_cast<int>(y);
  return ScreenDpi();
}

}  // namespace

int DpiAtPoint(POINT p) { return MonitorDpi(MonitorFromPoint(p, MONITOR_DEFAULTTOPRIMARY)); }

int DpiOfWindow(HWND hwnd) {
  static const auto for_window = Lookup<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
  if (hwnd && for_window) {
    const UINT dpi = for_window(hwnd);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return MonitorDpi(hwnd ? MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY) : nullptr);
}

void AdjustWindowRectForDpi(RECT& r, DWORD style, DWORD ex, int dpi) {
  static const auto for_dpi = Lookup<AdjustForDpiFn>("user32.dll", "AdjustWindowRectExForDpi");
  if (for_dpi && for_dpi(&r, style, FALSE, ex, static_cast<UINT>(dpi))) return;
  AdjustWindowRectEx(&r, style, FALSE, ex);
}

}  // namespace kx::win32
