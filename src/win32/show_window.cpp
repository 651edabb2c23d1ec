// The full-screen show windows: borderless topmost windows over the monitors with the
// cursor hidden, laid out by the user's Monitors choice. One message loop runs a step of
// every show whenever no message waits; input on any window goes to a show session, which
// decides when to close, and the close ends every window.
#include "win32/show_window.h"

#include <windows.h>
#include <windowsx.h>
#include <ddraw.h>
#include <mmsystem.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>


#include "anim/img_object.h"
#include "show/monitor_layout.h"
#include "show/show_session.h"
#include "package/paths.h"
#include "win32/app.h"
#include "win32/audio_win32.h"
#include "win32/dib.h"
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

class ShowGroup;

// One window of the show, over one monitor (or over all of them). It runs a show session
// of its own, repeats another window's show fitted to its size, or stays black; input on
// any window goes to the group, which ends every window at once.
class ShowWindow final : public ShowHost {
 public:
  ShowWindow(ShowGroup& group, const Rect& bounds) : group_(group), bounds_(bounds) {}
  ~ShowWindow() override {
    if (dc_) ReleaseDC(window_, dc_);
    if (window_) DestroyWindow(window_);
  }

  bool Create() {
    WNDCLASSA wc{};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = &ShowWindow::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    window_ = CreateWindowExA(WS_EX_TOPMOST, kClassName, "", WS_POPUP, bounds_.left, bounds_.top,
                              bounds_.Width(), bounds_.Height(), nullptr, nullptr, wc.hInstance, this);
    if (!window_) return false;
    ShowWindowAsync(window_, SW_SHOW);
    UpdateWindow(window_);
    dc_ = GetDC(window_);
    return true;
  }

  // The window runs a show of its own; with sound, it plays the music and sound effects
  // (only one window of a show does) and may draw through DirectDraw.
  void AttachSession(TKXCProject& project, bool withSound) {
    if (withSound) {
      audio_ = std::make_unique<Win32Audio>(window_, TheApp().Work ? TheApp().Work->Get() : std::string(),
                                            FolderPart(TheApp().ModulePath));
    }
    main_show_ = withSound;
    session_ = std::make_unique<ShowSession>(project, *this);
  }
  void MirrorOf(ShowWindow* source) { mirror_of_ = source; }

  ShowSession* Session() { return session_.get(); }
  HWND Handle() const { return window_; }
  void Start(bool seedRandom) {
    if (session_) running_ = session_->FormShow(seedRandom);
  }
  void Step() {
    if (session_ && running_) session_->ShowIdle();
  }
  void Close() {
    if (session_) session_->FormClose();
    audio_.reset();
  }
  // A repeating window draws the source window's last frame, fitted and centred.
  void Repeat() {
    if (!mirror_of_ || !mirror_of_->session_) return;
    const Bitmap32& frame = mirror_of_->session_->Screen();
    if (frame.Empty()) return;
    const Rect r = FitCentred(frame.Width(), frame.Height(), bounds_.Width(), bounds_.Height());
    const BITMAPINFO bi = TopDownBitmapInfo(frame.Width(), frame.Height());
    SetStretchBltMode(dc_, HALFTONE);
    SetBrushOrgEx(dc_, 0, 0, nullptr);
    StretchDIBits(dc_, r.left, r.top, r.Width(), r.Height(), 0, 0, frame.Width(), frame.Height(), frame.Data(),
                  &bi, DIB_RGB_COLORS, SRCCOPY);
  }

  // ShowHost
  int ScreenWidth() const override { return bounds_.Width(); }
  int ScreenHeight() const override { return bounds_.Height(); }
  uint32_t TickCount() override { return timeGetTime(); }
  void Sleep(int ms) override { ::Sleep(static_cast<DWORD>(ms)); }
  void ProcessMessages() override;
  void DrawToWindow(const Bitmap32& b, int x, int y) override { DrawBitmapAt(dc_, b, x, y); }
  void FillBlack() override {
    RECT r{0, 0, bounds_.Width(), bounds_.Height()};
    FillRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  bool StartDirectDraw() override { return main_show_ && directdraw_.Start(window_); }
  void DrawToSurface(const Bitmap32& b) override {
    if (directdraw_failed_) return;
    if (!directdraw_.Present(b)) directdraw_failed_ = true;
  }
  bool SurfaceLost() override { return !directdraw_failed_ && directdraw_.Lost(); }
  bool DirectDrawFailed() override { return directdraw_failed_; }
  void ShowError(const std::string& text) override {
    // Every show of the run meets the same condition: the one with the sound tells it.
    if (!main_show_) return;
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
  void SetCursorVisible(bool visible) override;

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp);

  ShowGroup& group_;
  Rect bounds_;  // virtual-screen coordinates
  std::unique_ptr<ShowSession> session_;
  ShowWindow* mirror_of_ = nullptr;
  DirectDrawPresenter directdraw_;
  bool main_show_ = false;  // the window of the show that plays sound, may use DirectDraw and tells errors
  std::unique_ptr<Win32Audio> audio_;
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  bool running_ = false;
  bool directdraw_failed_ = false;
};

// Every window of one show: made from the monitor plan, stepped in turn by one loop, and
// closed together.
class ShowGroup {
 public:
  // The monitors of the desktop, in virtual-screen coordinates.
  static std::vector<MonitorInfo> Monitors() {
    std::vector<MonitorInfo> list;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR m, HDC, LPRECT, LPARAM data) -> BOOL {
          MONITORINFO mi{};
          mi.cbSize = sizeof mi;
          if (GetMonitorInfoA(m, &mi)) {
            auto* out = reinterpret_cast<std::vector<MonitorInfo>*>(data);
            out->push_back({{mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right, mi.rcMonitor.bottom},
                            (mi.dwFlags & MONITORINFOF_PRIMARY) != 0, 96});
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    return list;
  }

  // Runs the show over the monitors. showOn: the window whose monitor gets the show
  // when the others stay black (null: the plan's choice).
  void Run(TKXCProject& project, MonitorsMode mode, HWND showOn) {
    FineTimerPeriod period;
    const std::vector<MonitorInfo> monitors = Monitors();
    int showMonitor = -1;
    if (showOn) {
      RECT r{};
      GetWindowRect(showOn, &r);
      showMonitor = MonitorAt(monitors, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    const Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const MonitorPlan plan = PlanMonitors(monitors, mode, showMonitor, screen);
    for (const ShowArea& area : plan.areas) {
      windows_.push_back(std::make_unique<ShowWindow>(*this, area.bounds));
      if (!windows_.back()->Create()) return;
    }
    for (size_t i = 0; i < plan.areas.size(); ++i) {
      const ShowArea& area = plan.areas[i];
      if (area.show >= 0 && area.mirrorOf < 0) {
        windows_[i]->AttachSession(project, static_cast<int>(i) == plan.soundArea);
        if (!input_) input_ = windows_[i].get();
      } else if (area.mirrorOf >= 0) {
        windows_[i]->MirrorOf(windows_[static_cast<size_t>(area.mirrorOf)].get());
        mirrors_ = true;
      }
    }
    // Several shows in one loop: each transition goes frame by frame, so that no monitor
    // waits for another's transition.
    int sessions = 0;
    for (auto& w : windows_) sessions += w->Session() ? 1 : 0;
    if (sessions > 1)
      for (auto& w : windows_)
        if (w->Session()) w->Session()->SetSteppedTransitions(true);
    if (plan.soundArea >= 0) SetForegroundWindow(windows_[static_cast<size_t>(plan.soundArea)]->Handle());
    // Object images missing from a living picture are looked for in the shared "images\".
    TImgObject::SetCommonImageFolder(SharedCommonFolder(FolderPart(TheApp().ModulePath), nullptr));
    // One generator for every show of the run: the first one seeds it.
    bool seed = true;
    for (auto& w : windows_) {
      w->Start(seed);
      if (w->Session()) seed = false;
    }
    while (!close_) {
      MSG msg;
      if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      } else {
        for (auto& w : windows_) {
          w->Step();
          if (close_) break;
        }
        RepeatFrames();
      }
    }
    for (auto& w : windows_) w->Close();
    windows_.clear();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  // The session that input on any window goes to (the process-wide mouse state makes
  // every session decide alike).
  ShowSession* InputSession() { return input_ ? input_->Session() : nullptr; }
  bool Closing() const { return close_; }
  void SetClosing() { close_ = true; }
  bool CursorVisible() const { return cursor_visible_; }
  void SetCursorVisible(bool v) { cursor_visible_ = v; }
  // Repeating windows follow their source, at most every 33 ms.
  void RepeatFrames() {
    if (!mirrors_) return;
    const DWORD now = timeGetTime();
    if (now - last_repeat_ < 33) return;
    last_repeat_ = now;
    for (auto& w : windows_) w->Repeat();
  }

 private:
  std::vector<std::unique_ptr<ShowWindow>> windows_;
  ShowWindow* input_ = nullptr;
  bool mirrors_ = false;
  bool close_ = false;
  bool cursor_visible_ = true;
  DWORD last_repeat_ = 0;
};

void ShowWindow::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      group_.SetClosing();
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  group_.RepeatFrames();
}

void ShowWindow::SetCursorVisible(bool visible) {
  group_.SetCursorVisible(visible);
  if (visible)
    while (ShowCursor(TRUE) < 0) {}
  else
    while (ShowCursor(FALSE) >= 0) {}
}

LRESULT CALLBACK ShowWindow::Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCCREATE)
    SetWindowLongPtrA(w, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<ShowWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  if (!self) return DefWindowProcA(w, m, wp, lp);
  // Input on a black or repeating window counts as input on the show.
  ShowSession* input = self->session_ ? self->session_.get() : self->group_.InputSession();
  switch (m) {
    case WM_MOUSEMOVE:
      // Mouse positions count in virtual-screen coordinates, whichever window saw them.
      if (input) input->MouseMove(self->bounds_.left + GET_X_LPARAM(lp), self->bounds_.top + GET_Y_LPARAM(lp));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      if (input) input->MouseDown();
      else self->group_.SetClosing();
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (input) input->KeyDown(static_cast<int>(wp));
      return m == WM_SYSKEYDOWN ? DefWindowProcA(w, m, wp, lp) : 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      if (input) input->KeyPress(static_cast<char>(wp));
      else self->group_.SetClosing();
      return 0;
    case WM_SETCURSOR:
      if (!self->group_.CursorVisible()) {
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
      if (self->session_ && !self->session_->Screen().Empty()) {
        if (!self->session_->UseDirectX())
          self->DrawToWindow(self->session_->Screen(), 0, 0);
        else
          self->DrawToSurface(self->session_->Screen());
      } else if (self->mirror_of_)
        self->Repeat();
      return 0;
    }
    case MM_MCINOTIFY:
      // The music device finished (or cut short) a command: the session plays the
      // next track when the current one has ended.
      if (self->audio_ && self->session_) {
        self->audio_->SetNotifyCode(wp);
        self->session_->MusicNotify();
        self->audio_->SetNotifyCode(0);
      }
      return 0;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_SCREENSAVE || (wp & 0xFFF0) == SC_MONITORPOWER) return 0;
      break;
    case WM_CLOSE:
      // The close takes effect when the current step (or transition) returns, and ends
      // every window of the show.
      if (!input || input->CloseQuery()) self->group_.SetClosing();
      return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

}  // namespace

void RunShow(TKXCProject& project, const UserSettingsLocation& settings) {
  if (!PrepareShowProject(project, settings)) {
    ShowMessage("This screensaver does not contain any image.", MB_ICONINFORMATION | MB_OK);
    return;
  }
  ShowGroup group;
  group.Run(project, MonitorsModeOf(project.Setting.Monitors), nullptr);
}

void ShowSinglePicture(const TKXCProject& project, const std::string& picturePath,
                       const UserSettingsLocation& settings) {
  // The window that started it (the configuration window) decides the monitor.
  HWND from = GetForegroundWindow();
  TKXCProject one = SinglePictureProject(project, picturePath);
  if (!PrepareShowProject(one, settings)) return;
  ShowGroup group;
  group.Run(one, MonitorsMode::PrimaryOnly, from);
}

}  // namespace kx::win32
