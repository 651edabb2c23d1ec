// The full-screen show window: a borderless topmost window over the screen with the
// cursor hidden. Its message loop runs one show step whenever no message waits; input
// goes to the show session, which decides when to close.
#include "win32/show_window.h"

#include <windows.h>
#include <windowsx.h>
#include <ddraw.h>
#include <mmsystem.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "anim/img_object.h"
#include "show/show_session.h"
#include "package/paths.h"
#include "win32/app.h"
#include "win32/audio_win32.h"
#include "win32/win32_system.h"

namespace kx::win32 {

namespace {

const char kClassName[] = "TKXfmScrSvr";

// Presents bitmaps through a DirectDraw surface of the bitmap's size that the hardware
// stretches over the whole screen. The display mode is never changed.
class DirectDrawPresenter {
 public:
  ~DirectDrawPresenter() { Release(); }

  bool Start(HWND window) {
    window_ = window;
    if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&dd_), IID_IDirectDraw7, nullptr)))
      return false;
    if (FAILED(dd_->SetCooperativeLevel(window, DDSCL_NORMAL))) return Fail();
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    d.dwFlags = DDSD_CAPS;
    d.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (FAILED(dd_->CreateSurface(&d, &primary_, nullptr))) return Fail();
    if (FAILED(dd_->CreateClipper(0, &clipper_, nullptr))) return Fail();
    clipper_->SetHWnd(0, window);
    primary_->SetClipper(clipper_);
    return true;
  }

  // Copies the bitmap into the back surface and shows it, at the display's vertical blank
  // where the system offers one. False when a surface cannot be made, locked or shown.
  bool Present(const Bitmap32& b) {
    if (!dd_ || b.Empty()) return false;
    if (!back_ || backW_ != b.Width() || backH_ != b.Height()) {
      if (back_) back_->Release();
      back_ = nullptr;
      DDSURFACEDESC2 d{};
      d.dwSize = sizeof d;
      d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
      d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
      d.dwWidth = static_cast<DWORD>(b.Width());
      d.dwHeight = static_cast<DWORD>(b.Height());
      d.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
      d.ddpfPixelFormat.dwFlags = DDPF_RGB;
      d.ddpfPixelFormat.dwRGBBitCount = 32;
      d.ddpfPixelFormat.dwRBitMask = 0x00FF0000;
      d.ddpfPixelFormat.dwGBitMask = 0x0000FF00;
      d.ddpfPixelFormat.dwBBitMask = 0x000000FF;
      if (FAILED(dd_->CreateSurface(&d, &back_, nullptr))) return false;
      backW_ = b.Width();
      backH_ = b.Height();
    }
    if (primary_->IsLost() == DDERR_SURFACELOST) primary_->Restore();
    if (back_->IsLost() == DDERR_SURFACELOST) back_->Restore();
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    if (FAILED(back_->Lock(nullptr, &d, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr))) return false;
    for (int y = 0; y < b.Height(); ++y)
      std::memcpy(static_cast<uint8_t*>(d.lpSurface) + static_cast<size_t>(y) * d.lPitch, b.Row(y),
                  static_cast<size_t>(b.Width()) * 4);
    back_->Unlock(nullptr);
    RECT screen;
    GetClientRect(window_, &screen);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&screen), 2);
    if (vblank_) vblank_ = SUCCEEDED(dd_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr));
    HRESULT r = primary_->Blt(&screen, back_, nullptr, DDBLT_WAIT, nullptr);
    if (r == DDERR_SURFACELOST && SUCCEEDED(primary_->Restore()))
      r = primary_->Blt(&screen, back_, nullptr, DDBLT_WAIT, nullptr);
    return SUCCEEDED(r);
  }

  // True when a surface lost its memory (a display change): what it showed must be
  // presented again.
  bool Lost() const {
    return (primary_ && primary_->IsLost() == DDERR_SURFACELOST) ||
           (back_ && back_->IsLost() == DDERR_SURFACELOST);
  }

 private:
  bool Fail() {
    Release();
    return false;
  }
  void Release() {
    if (back_) back_->Release();
    if (clipper_) clipper_->Release();
    if (primary_) primary_->Release();
    if (dd_) dd_->Release();
    back_ = primary_ = nullptr;
    clipper_ = nullptr;
    dd_ = nullptr;
  }

  HWND window_ = nullptr;
  IDirectDraw7* dd_ = nullptr;
  IDirectDrawSurface7* primary_ = nullptr;
  IDirectDrawSurface7* back_ = nullptr;
  IDirectDrawClipper* clipper_ = nullptr;
  int backW_ = 0, backH_ = 0;
  bool vblank_ = true;  // off once the system says it cannot wait for vertical blank
};

// A 1 ms period of the system's timers while the show runs: the clock (timeGetTime) and
// every sleep of the show, of its sounds and of its objects' workers are that fine, where
// the default period moves in 10 to 16 ms steps.
class FineTimerPeriod {
 public:
  FineTimerPeriod() : held_(timeBeginPeriod(1) == TIMERR_NOERROR) {}
  ~FineTimerPeriod() {
    if (held_) timeEndPeriod(1);
  }
  FineTimerPeriod(const FineTimerPeriod&) = delete;
  FineTimerPeriod& operator=(const FineTimerPeriod&) = delete;

 private:
  bool held_;
};

bool IsWindows9x() {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&v);
#pragma GCC diagnostic pop
  return v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

class ShowWindow final : public ShowHost {
 public:
  explicit ShowWindow(TKXCProject& project) : session_(project, *this) {}

  void Run() {
    FineTimerPeriod period;
    WNDCLASSA wc{};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = &ShowWindow::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    width_ = GetSystemMetrics(SM_CXSCREEN);
    height_ = GetSystemMetrics(SM_CYSCREEN);
    window_ = CreateWindowExA(WS_EX_TOPMOST, kClassName, "", WS_POPUP, 0, 0, width_, height_,
                              nullptr, nullptr, wc.hInstance, this);
    if (!window_) return;
    ShowWindowAsync(window_, SW_SHOW);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
    dc_ = GetDC(window_);
    audio_ = std::make_unique<Win32Audio>(window_, TheApp().Work ? TheApp().Work->Get() : std::string(),
                                          FolderPart(TheApp().ModulePath));
    // Object images missing from a living picture are looked for in the shared "images\".
    TImgObject::SetCommonImageFolder(SharedCommonFolder(FolderPart(TheApp().ModulePath), nullptr));
    running_ = session_.FormShow();
    while (!close_) {
      MSG msg;
      if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      } else if (running_) {
        session_.ShowIdle();
      } else {
        WaitMessage();
      }
    }
    session_.FormClose();
    audio_.reset();
    ReleaseDC(window_, dc_);
    DestroyWindow(window_);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  // ShowHost
  int ScreenWidth() const override { return width_; }
  int ScreenHeight() const override { return height_; }
  uint32_t TickCount() override { return timeGetTime(); }
  void Sleep(int ms) override { ::Sleep(static_cast<DWORD>(ms)); }
  void ProcessMessages() override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        close_ = true;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  void DrawToWindow(const Bitmap32& b, int x, int y) override {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = b.Width();
    bi.bmiHeader.biHeight = -b.Height();
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc_, x, y, static_cast<DWORD>(b.Width()), static_cast<DWORD>(b.Height()), 0, 0, 0,
                      static_cast<UINT>(b.Height()), b.Data(), &bi, DIB_RGB_COLORS);
  }
  void FillBlack() override {
    RECT r{0, 0, width_, height_};
    FillRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  bool StartDirectDraw() override { return directdraw_.Start(window_); }
  void DrawToSurface(const Bitmap32& b) override {
    if (directdraw_failed_) return;
    if (!directdraw_.Present(b)) directdraw_failed_ = true;
  }
  bool SurfaceLost() override { return !directdraw_failed_ && directdraw_.Lost(); }
  bool DirectDrawFailed() override { return directdraw_failed_; }
  void ShowError(const std::string& text) override {
    MessageBoxA(window_, text.c_str(), " ", MB_ICONERROR | MB_OK);
  }
  void RequestClose() override { PostMessageA(window_, WM_CLOSE, 0, 0); }
  bool PasswordAllowsClose() override {
    if (!IsWindows9x()) return true;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS)
      return true;
    SetCursorVisible(true);
    bool allow = true;
    char value[32];
    DWORD size = sizeof value - 1, type = 0;
    if (RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
        ERROR_SUCCESS) {
      int use = 0;
      if (type == REG_DWORD && size >= 4) std::memcpy(&use, value, 4);
      else if (type == REG_SZ) { value[size] = 0; use = std::atoi(value); }
      if (use != 0) {
        char dir[260];
        UINT n = GetSystemDirectoryA(dir, sizeof dir);
        std::string path(dir, n < sizeof dir ? n : 0);
        if (!path.empty() && path.back() != '\\') path += '\\';
        path += "PASSWORD.CPL";
        if (HMODULE lib = LoadLibraryA(path.c_str())) {
          using Verify = BOOL(WINAPI*)(HWND);
          auto verify = reinterpret_cast<Verify>(reinterpret_cast<void*>(GetProcAddress(lib, "VerifyScreenSavePwd")));
          if (verify) allow = verify(window_) != FALSE;
          FreeLibrary(lib);
        }
      }
    }
    RegCloseKey(key);
    SetCursorVisible(false);
    return allow;
  }
  Audio* GetAudio() override { return audio_.get(); }
  void SetCursorVisible(bool visible) override {
    cursor_visible_ = visible;
    if (visible)
      while (ShowCursor(TRUE) < 0) {}
    else
      while (ShowCursor(FALSE) >= 0) {}
  }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCCREATE)
      SetWindowLongPtrA(w, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<ShowWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (!self) return DefWindowProcA(w, m, wp, lp);
    switch (m) {
      case WM_MOUSEMOVE:
        self->session_.MouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_XBUTTONDOWN:
        self->session_.MouseDown();
        return 0;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        self->session_.KeyDown(static_cast<int>(wp));
        return m == WM_SYSKEYDOWN ? DefWindowProcA(w, m, wp, lp) : 0;
      case WM_CHAR:
      case WM_SYSCHAR:
        self->session_.KeyPress(static_cast<char>(wp));
        return 0;
      case WM_SETCURSOR:
        if (!self->cursor_visible_) {
          SetCursor(nullptr);
          return TRUE;
        }
        break;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(w, &ps);
        EndPaint(w, &ps);
        // Repaint what the screen showed: a still picture is not drawn again by the steps
        // on the DirectDraw path.
        if (!self->session_.Screen().Empty()) {
          if (!self->session_.UseDirectX())
            self->DrawToWindow(self->session_.Screen(), 0, 0);
          else
            self->DrawToSurface(self->session_.Screen());
        }
        return 0;
      }
      case MM_MCINOTIFY:
        // The music device finished (or cut short) a command: the session plays the
        // next track when the current one has ended.
        if (self->audio_) {
          self->audio_->SetNotifyCode(wp);
          self->session_.MusicNotify();
          self->audio_->SetNotifyCode(0);
        }
        return 0;
      case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_SCREENSAVE || (wp & 0xFFF0) == SC_MONITORPOWER) return 0;
        break;
      case WM_CLOSE:
        // The close takes effect when the current step (or transition) returns.
        if (self->session_.CloseQuery()) self->close_ = true;
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
  }

  ShowSession session_;
  DirectDrawPresenter directdraw_;
  std::unique_ptr<Win32Audio> audio_;
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  int width_ = 0, height_ = 0;
  bool running_ = false;
  bool directdraw_failed_ = false;
  bool close_ = false;
  bool cursor_visible_ = true;
};

}  // namespace

void RunShow(TKXCProject& project, const UserSettingsLocation& settings) {
  if (!PrepareShowProject(project, settings)) {
    ShowMessage("This screensaver does not contain any image.", MB_ICONINFORMATION | MB_OK);
    return;
  }
  ShowWindow window(project);
  window.Run();
}

void ShowSinglePicture(const TKXCProject& project, const std::string& picturePath,
                       const UserSettingsLocation& settings) {
  TKXCProject one = SinglePictureProject(project, picturePath);
  if (!PrepareShowProject(one, settings)) return;
  ShowWindow window(one);
  window.Run();
}

}  // namespace kx::win32
