#include "config/image_button_model.h"

namespace kx {

void ImageButtonModel::SetDown(bool down) {
  if (!allow_down_ || down == down_) return;
  down_ = down;
  Repaint();
}

void ImageButtonModel::SetAllowDown(bool allow) {
  allow_down_ = allow;
  if (!allow && down_) {
    down_ = false;
    Repaint();
  }
}

void ImageButtonModel::PointerEnter() {
  if (mouse_in_) return;
  if (pressing_ && timer_created_) timer_.Start(interval_);
  mouse_in_ = true;
  Repaint();
}

void ImageButtonModel::PointerLeave() {
  if (!mouse_in_) return;
  if (timer_created_) timer_.Stop();
  mouse_in_ = false;
  Repaint();
}

void ImageButtonModel::LeftDown() {
  mouse_in_ = true;
  if (pressing_) return;
  timer_created_ = true;
  interval_ = 500;
  timer_.Start(interval_);
  if (on_pressed) on_pressed();
  pressing_ = true;
  Repaint();
}

void ImageButtonModel::TimerTick() {
  if (interval_ != 50) {
    interval_ = 50;
    timer_.Start(interval_);
  }
  if (on_pressed) on_pressed();
}

void ImageButtonModel::LeftUp(bool over_button) {
  if (!pressing_) return;
  if (timer_created_) timer_.Stop();
  if (allow_down_) down_ = !down_;
  pressing_ = false;
  Repaint();
  if (over_button && on_click) on_click();
}

char ImageButtonModel::Accelerator(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const char c = caption[i + 1];
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return 0;
}

ButtonFace ImageButtonModel::Face() const {
  if (!enabled) return ButtonFace::Disabled;
  if (down_ || (mouse_in_ && pressing_)) return ButtonFace::Pressed;
  if (mouse_in_) return ButtonFace::Over;
  return ButtonFace::Up;
}

FaceDrawing ImageButtonModel::Drawing(ButtonFace face, bool up, bool down, bool over, bool disable) {
  switch (face) {
    case ButtonFace::Up: return up ? FaceDrawing::UpPicture : FaceDrawing::PushFace;
    case ButtonFace::Pressed:
      return down ? FaceDrawing::DownPicture : up ? FaceDrawing::UpPicture : FaceDrawing::SunkenEdge;
    case ButtonFace::Over:
      return over ? FaceDrawing::OverPicture : up ? FaceDrawing::UpPicture : FaceDrawing::PushFace;
    case ButtonFace::Disabled: return disable ? FaceDrawing::DisablePicture : FaceDrawing::PushFace;
  }
  return FaceDrawing::PushFace;
}

}  // namespace kx
