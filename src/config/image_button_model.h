// The image button's behaviour without a window: which face it shows, the latch (Down with
// AllowDown), and the repeat timer that raises "pressed" at the press, after 500 ms and then
// every 50 ms while the left button stays down over it. The window layer feeds it the mouse
// and the timer and draws the face it names.
#pragma once

#include <functional>
#include <string>

namespace kx {

enum class ButtonFace { Up, Pressed, Over, Disabled };
// What is actually drawn for a face, by the pictures the button has.
enum class FaceDrawing { UpPicture, DownPicture, OverPicture, DisablePicture, PushFace, SunkenEdge };

// The timer the button drives (a window timer, or a fake in tests).
class ButtonTimer {
 public:
  virtual ~ButtonTimer() = default;
  virtual void Start(int interval_ms) = 0;  // (re)starts with this interval
  virtual void Stop() = 0;
};

class ImageButtonModel {
 public:
  explicit ImageButtonModel(ButtonTimer& timer) : timer_(timer) {}

  std::function<void()> on_pressed;  // at the press and at every timer tick
  std::function<void()> on_click;    // the left button came up over the button
  std::function<void()> on_repaint;

  bool enabled = true;

  bool Down() const { return down_; }
  bool AllowDown() const { return allow_down_; }
  bool MouseInControl() const { return mouse_in_; }
  bool Pressing() const { return pressing_; }
  void SetDown(bool down);          // no effect unless AllowDown
  void SetAllowDown(bool allow);    // false also clears Down

  void PointerEnter();
  void PointerLeave();
  void LeftDown();
  void LeftUp(bool over_button);
  void TimerTick();

  ButtonFace Face() const;
  // The accelerator of a caption: the character after a single "&", upper-cased; 0 for none
  // ("&&" stands for "&" itself).
  static char Accelerator(const std::string& caption);
  // The face drawn with the pictures present.
  static FaceDrawing Drawing(ButtonFace face, bool has_up, bool has_down, bool has_over, bool has_disable);

 private:
  void Repaint() { if (on_repaint) on_repaint(); }

  ButtonTimer& timer_;
  bool timer_created_ = false;
  int interval_ = 500;
  bool down_ = false, allow_down_ = false, mouse_in_ = false, pressing_ = false;
};

}  // namespace kx
