#include "show/preview_show.h"

#include <algorithm>
#include <string>

#include "package/preview_picture.h"
#include "show/show_session.h"

namespace kx {

// The show's window is the preview surface: every frame the show draws lands on it and is
// presented, no sooner than kFrameMs after the one before.
class PreviewShow::SessionHost final : public ShowHost {
 public:
  explicit SessionHost(PreviewShow& owner) : owner_(owner) {}
  int ScreenWidth() const override { return owner_.surface_.Width(); }
  int ScreenHeight() const override { return owner_.surface_.Height(); }
  uint32_t TickCount() override { return owner_.host_.TickCount(); }
  void Sleep(int ms) override {
    if (!owner_.ended_) owner_.host_.Sleep(ms);
  }
  void ProcessMessages() override {
    if (!owner_.ended_ && !owner_.host_.Pump()) owner_.ended_ = true;
  }
  void DrawToWindow(const Bitmap32& b, int x, int y) override {
    owner_.surface_.CopyRect(b, b.BoundsRect(), x, y);
    owner_.Present();
  }
  void FillBlack() override {
    owner_.surface_.Fill(MakePixel(0, 0, 0));
    owner_.Present();
  }
  bool StartDirectDraw() override { return false; }
  void DrawToSurface(const Bitmap32& b) override { DrawToWindow(b, 0, 0); }
  void ShowError(const std::string&) override {}  // the preview never shows a box
  void RequestClose() override {}
  bool PasswordAllowsClose() override { return true; }
  void SetCursorVisible(bool) override {}

 private:
  PreviewShow& owner_;
};

PreviewShow::PreviewShow(const TKXCProject& project, int width, int height, PreviewHost& host)
    : project_(project), host_(host) {
  surface_.SetSize(std::max(width, 0), std::max(height, 0));
  surface_.Fill(MakePixel(0, 0, 0));
  // The preview is silent and draws through the window's canvas; every picture of the
  // project takes part, in the project's order.
  TKXCSetting& s = project_.Setting;
  s.Sound = false;
  s.Music = false;
  s.DirectX = false;
  project_.FileList.Flags.assign(project_.FileList.Names.size(), "TRUE");
}

void PreviewShow::Present() {
  if (ended_) return;
  const uint32_t now = host_.TickCount();
  if (frames_ > 0) {
    const uint32_t since = now - last_present_;
    if (since < static_cast<uint32_t>(kFrameMs)) host_.Sleep(kFrameMs - static_cast<int>(since));
  }
  last_present_ = host_.TickCount();
  ++frames_;
  host_.Present(surface_);
}

bool PreviewShow::Wait(int milliseconds) {
  const uint32_t start = host_.TickCount();
  while (!ended_) {
    if (!host_.Pump()) {
      ended_ = true;
      break;
    }
    const uint32_t passed = host_.TickCount() - start;
    if (passed >= static_cast<uint32_t>(milliseconds)) return true;
    host_.Sleep(std::min<int>(50, milliseconds - static_cast<int>(passed)));
  }
  return false;
}

void PreviewShow::Run() {
  if (surface_.Empty()) return;
  std::string error;
  if (!project_.Setting.PreviewFile.empty()) {
    if (auto picture = RenderPreviewPicture(project_.Setting.PreviewFile, surface_.Width(), surface_.Height(), error))
      surface_ = std::move(*picture);
  }
  Present();
  const int64_t duration = std::clamp<int64_t>(project_.Setting.Duration, 0, 24 * 3600);
  if (!Wait(static_cast<int>(duration * 1000))) return;
  if (project_.FileList.Names.empty()) {
    while (Wait(1000)) {
    }
    return;
  }
  SessionHost sessionHost(*this);
  ShowSession session(project_, sessionHost);
  show_started_ = true;
  if (session.FormShow()) {
    while (!ended_) {
      session.ShowIdle();
      sessionHost.ProcessMessages();
    }
  } else {
    while (Wait(1000)) {
    }
  }
  session.FormClose();
}

}  // namespace kx
