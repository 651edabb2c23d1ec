// The density of the monitor a window is on. Newer systems tell it per monitor
// (GetDpiForWindow, GetDpiForMonitor); older ones, and Wine versions without those calls,
// have one density for the whole screen (LOGPIXELSY). The calls are looked up at run time.
#pragma once

#include <windows.h>

namespace kx::win32 {

// The density of the monitor that holds the point (the primary monitor's for a point off
// every monitor).
int DpiAtPoint(POINT p);
// The density the window is drawn at.
int DpiOfWindow(HWND hwnd);
// AdjustWindowRectEx for a window drawn at `dpi` (its frame and caption at that density
// where the system can tell them).
void AdjustWindowRectForDpi(RECT& r, DWORD style, DWORD ex, int dpi);

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

}  // namespace kx::win32
