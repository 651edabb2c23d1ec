#include "win32/preview_window.h"

#include "show/preview_show.h"
#include "win32/dib.h"

namespace kx::win32 {

namespace {

const char kClassName[] = "KxPreviewWindow";

void DrawSurface(HDC dc, const Bitmap32& b) {
  if (b.Empty()) return;
  DrawBitmapAt(dc, b, 0, 0);
}

class PreviewWindow final : public PreviewHost {
 public:
  explicit PreviewWindow(HWND parent) : parent_(parent) {}
  ~PreviewWindow() override {
    surface_ = nullptr;
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
  }

  bool Create(int& width, int& height) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &PreviewWindow::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    RECT r{};
    if (!GetClientRect(parent_, &r)) return false;
    width = r.right - r.left;
    height = r.bottom - r.top;
    window_ = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0, width, height,
                              parent_, nullptr, wc.hInstance, this);
    return window_ != nullptr;
  }

  // PreviewHost
  uint32_t TickCount() override { return GetTickCount(); }
  void Sleep(int ms) override { ::Sleep(static_cast<DWORD>(ms)); }
  bool Pump() override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) quit_ = true;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    return !quit_ && IsWindow(parent_) && IsWindow(window_);
  }
  void Present(const Bitmap32& surface) override {
    surface_ = &surface;
    if (!IsWindow(window_)) return;
    if (HDC dc = GetDC(window_)) {
      DrawSurface(dc, surface);
      ReleaseDC(window_, dc);
    }
    ValidateRect(window_, nullptr);
  }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCCREATE)
      SetWindowLongPtrA(w, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<PreviewWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (!self) return DefWindowProcA(w, m, wp, lp);
    switch (m) {
      case WM_ERASEBKGND:
        return 1;  // the paint covers the whole window
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        if (self->surface_) DrawSurface(dc, *self->surface_);
        EndPaint(w, &ps);
        return 0;
      }
      case WM_PRINTCLIENT:
        if (self->surface_) DrawSurface(reinterpret_cast<HDC>(wp), *self->surface_);
        return 0;
      case WM_DESTROY:
        self->window_ = nullptr;
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
  }

  HWND parent_;
  HWND window_ = nullptr;
  const Bitmap32* surface_ = nullptr;
  bool quit_ = false;
};

}  // namespace

void RunPreviewWindow(const TKXCProject& project, HWND parent) {
  PreviewWindow window(parent);
  int width = 0, height = 0;
  if (!window.Create(width, height)) return;
  PreviewShow show(project, width, height, window);
  show.Run();
}

}  // namespace kx::win32
