// The image button on the screen: its four decoded faces (as designed, and scaled to the
// window's density once, not at every paint), the window timer behind its repeat, and the
// painting of the face ImageButtonModel chooses. The button has no window of
// its own: its container paints it and hands it the mouse.
#pragma once

#include <windows.h>

#include <memory>

#include "config/dpi_scale.h"
#include "config/form_model.h"
#include "config/image_button_model.h"
#include "media/bitmap32.h"

namespace kx::win32 {

class PaintSurface;

class WindowButtonTimer : public ButtonTimer {
 public:
  WindowButtonTimer(HWND hwnd, UINT_PTR id) : hwnd_(hwnd), id_(id) {}
  ~WindowButtonTimer() override { Stop(); }
  void Start(int interval_ms) override { SetTimer(hwnd_, id_, static_cast<UINT>(interval_ms), nullptr); }
  void Stop() override { KillTimer(hwnd_, id_); }

 private:
  HWND hwnd_;
  UINT_PTR id_;
};

struct ImageButton {
  Bitmap32 up, down, over, disable;  // scaled
  Bitmap32 up_design, down_design, over_design, disable_design;
  std::unique_ptr<WindowButtonTimer> timer;
  std::unique_ptr<ImageButtonModel> model;

  // Decodes the faces and sets the latch from the description; the faces are drawn once
  // Rescale has made them.
  ImageButton(const ControlSpec& c, HWND timer_window, UINT_PTR timer_id);
  // Scales the faces from their designed size (keyed: the Transparent faces).
  void Rescale(const DpiScale& scale, bool keyed);
  void Paint(PaintSurface& s, const ControlSpec& c, const RECT& r, HFONT font) const;
};

}  // namespace kx::win32
