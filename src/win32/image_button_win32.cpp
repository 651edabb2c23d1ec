#include "win32/image_button_win32.h"

#include "win32/win32_controls.h"

namespace kx::win32 {

ImageButton::ImageButton(const ControlSpec& c, HWND timer_window, UINT_PTR timer_id) {
  DecodeFormPicture(c.button_up, up_design);
  DecodeFormPicture(c.button_down, down_design);
  DecodeFormPicture(c.button_over, over_design);
  DecodeFormPicture(c.button_disable, disable_design);
  timer = std::make_unique<WindowButtonTimer>(timer_window, timer_id);
  model = std::make_unique<ImageButtonModel>(*timer);
  model->enabled = c.enabled;
  model->SetAllowDown(c.allow_down);
  model->SetDown(c.down);
}

void ImageButton::Rescale(const DpiScale& scale, bool keyed) {
  ScalePicture(up_design, scale, keyed, up);
  ScalePicture(down_design, scale, keyed, down);
  ScalePicture(over_design, scale, keyed, over);
  ScalePicture(disable_design, scale, keyed, disable);
}

void ImageButton::Paint(PaintSurface& s, const ControlSpec& c, const RECT& r, HFONT font) const {
  HDC dc = s.Dc();
  const ButtonFace face = model->Face();
  const FaceDrawing how =
      ImageButtonModel::Drawing(face, !up.Empty(), !down.Empty(), !over.Empty(), !disable.Empty());
  auto picture = [&](const Bitmap32& b, bool keyed) {
    const RECT at = {r.left, r.top, r.left + b.Width(), r.top + b.Height()};
    DrawPicture(s, at, r, b, keyed);
  };
  RECT box = r;
  switch (how) {
    case FaceDrawing::UpPicture: picture(up, c.transparent); break;
    case FaceDrawing::DownPicture: picture(down, c.transparent); break;
    case FaceDrawing::OverPicture: picture(over, c.transparent); break;
    case FaceDrawing::DisablePicture: picture(disable, c.transparent); break;
    case FaceDrawing::PushFace: DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONPUSH); break;
    case FaceDrawing::SunkenEdge: DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT); break;
  }
  if (face == ButtonFace::Disabled || !c.show_caption || c.caption.empty()) return;
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(c.font.color, GetSysColor(COLOR_BTNTEXT)));
  RECT calc = {0, 0, 0, 0};
  DrawTextA(dc, c.caption.c_str(), static_cast<int>(c.caption.size()), &calc, DT_CALCRECT | DT_SINGLELINE);
  const int tw = calc.right - calc.left, th = calc.bottom - calc.top;
  RECT at = {r.left + (r.right - r.left - tw) / 2, r.top + (r.bottom - r.top - th) / 2, 0, 0};
  at.right = at.left + tw;
  at.bottom = at.top + th;
  DrawTextA(dc, c.caption.c_str(), static_cast<int>(c.caption.size()), &at, DT_SINGLELINE);
  SelectObject(dc, old);
}

}  // namespace kx::win32
