// A stand-in for the Display Properties dialog in the Wine tests: it makes a window,
// writes its handle in decimal to a file, shows the window after a delay and ends after
// its lifetime (or when the window is destroyed). With a report file it also repaints
// itself with its children every 500 ms once shown, and appends one line each time:
//   MS CHILDREN WIDTH HEIGHT PRINTED R G B
// (milliseconds since shown, child windows found, the first child's client size, whether
// printing the child into a memory bitmap drew anything, and that bitmap's centre pixel).
//   preview_host.exe HANDLE_FILE SHOW_AFTER_MS LIFETIME_MS [REPORT_FILE]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(w, m, wp, lp);
}

static void Report(HWND w, const char* path, DWORD ms) {
  int children = 0;
  HWND child = nullptr;
  for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!child) child = c;
    ++children;
  }
  int cw = 0, ch = 0, printed = 0;
  unsigned r = 0, g = 0, b = 0;
  if (child) {
    RECT rc{};
    GetClientRect(child, &rc);
    cw = rc.right;
    ch = rc.bottom;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, cw > 0 ? cw : 1, ch > 0 ? ch : 1);
    HGDIOBJ old = SelectObject(mem, bmp);
    // A colour no picture of the test has: left unchanged when the child cannot be printed.
    const COLORREF sentinel = RGB(255, 0, 255);
    RECT all{0, 0, cw, ch};
    HBRUSH brush = CreateSolidBrush(sentinel);
    FillRect(mem, &all, brush);
    DeleteObject(brush);
    PrintWindow(child, mem, PW_CLIENTONLY);
    const COLORREF c = GetPixel(mem, cw / 2, ch / 2);
    printed = c != sentinel && c != CLR_INVALID;
    r = GetRValue(c);
    g = GetGValue(c);
    b = GetBValue(c);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
  }
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%lu %d %d %d %d %u %u %u\n", static_cast<unsigned long>(ms), children, cw, ch, printed, r, g, b);
    std::fclose(f);
  }
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
  if (__argc < 4) return 2;
  const DWORD showAfter = static_cast<DWORD>(std::atoi(__argv[2]));
  const DWORD lifetime = static_cast<DWORD>(std::atoi(__argv[3]));
  const char* report = __argc > 4 ? __argv[4] : nullptr;
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
  DWORD nextReport = 0;
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
      nextReport = now + 500;
    }
    if (shown && report && now >= nextReport) {
      // The dialog repaints: its background and then its children.
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      Report(w, report, now - showAfter);
      nextReport += 500;
    }
    if (now >= lifetime) break;
    Sleep(10);
  }
  DestroyWindow(w);
  return 0;
}
