// A stand-in for the Display Properties dialog in the Wine tests: it makes a window,
// writes its handle in decimal to a file, shows the window after a delay and ends after
// its lifetime (or when the window is destroyed).
//   preview_host.exe HANDLE_FILE SHOW_AFTER_MS LIFETIME_MS
#include <windows.h>

#include <cstdio>
#include <cstdlib>

static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(w, m, wp, lp);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
  if (__argc < 4) return 2;
  const DWORD showAfter = static_cast<DWORD>(std::atoi(__argv[2]));
  const DWORD lifetime = static_cast<DWORD>(std::atoi(__argv[3]));
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.lpszClassName = "KxPreviewHost";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "KxPreviewHost", "preview host", WS_POPUP, 20, 20, 152, 112,
                           nullptr, nullptr, inst, nullptr);
  if (!w) return 3;
  FILE* f = std::fopen(__argv[1], "w");
  if (!f) return 4;
  std::fprintf(f, "%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(w)));
  std::fclose(f);
  const DWORD start = GetTickCount();
  bool shown = false;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return 0;
      DispatchMessageA(&msg);
    }
    const DWORD now = GetTickCount() - start;
    if (!shown && now >= showAfter) {
      ShowWindow(w, SW_SHOWNA);
      shown = true;
    }
    if (now >= lifetime) break;
    Sleep(10);
  }
  DestroyWindow(w);
  return 0;
}
