#include "config/image_button_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace kx {
namespace {

// A timer driven by a simulated clock.
struct FakeTimer : ButtonTimer {
  bool running = false;
  int interval = 0, next_due = 0, now = 0;
  void Start(int ms) override { running = true; interval = ms; next_due = now + ms; }
  void Stop() override { running = false; }
};

struct Rig {
  FakeTimer timer;
  ImageButtonModel b{timer};
  std::vector<int> pressed_at;
  int clicks = 0;
  Rig() {
    b.on_pressed = [this] { pressed_at.push_back(timer.now); };
    b.on_click = [this] { ++clicks; };
  }
  void RunUntil(int t) {
    while (timer.running && timer.next_due <= t) {
      timer.now = timer.next_due;
      timer.next_due += timer.interval;
      b.TimerTick();
    }
    timer.now = t;
  }
};

TEST(ImageButton, StateTable) {
  Rig r;
  EXPECT_EQ(r.b.Face(), ButtonFace::Up);
  r.b.PointerEnter();
  EXPECT_EQ(r.b.Face(), ButtonFace::Over);
  r.b.PointerLeave();
  EXPECT_EQ(r.b.Face(), ButtonFace::Up);
  r.b.PointerEnter();
  r.b.LeftDown();
  EXPECT_EQ(r.b.Face(), ButtonFace::Pressed);
  EXPECT_TRUE(r.timer.running);
  r.b.PointerLeave();  // pressed outside: drawn up, timer paused
  EXPECT_EQ(r.b.Face(), ButtonFace::Up);
  EXPECT_FALSE(r.timer.running);
  r.b.PointerEnter();
  EXPECT_EQ(r.b.Face(), ButtonFace::Pressed);
  EXPECT_TRUE(r.timer.running);
  r.b.LeftUp(true);
  EXPECT_EQ(r.b.Face(), ButtonFace::Over);
  EXPECT_FALSE(r.timer.running);
  EXPECT_EQ(r.clicks, 1);
  // Released outside: no click.
  r.b.LeftDown();
  r.b.PointerLeave();
  r.b.LeftUp(false);
  EXPECT_EQ(r.b.Face(), ButtonFace::Up);
  EXPECT_EQ(r.clicks, 1);
  r.b.enabled = false;
  EXPECT_EQ(r.b.Face(), ButtonFace::Disabled);
}

TEST(ImageButton, LatchWithAllowDown) {
  Rig r;
  r.b.SetDown(true);
  EXPECT_FALSE(r.b.Down());  // no effect without AllowDown
  r.b.SetAllowDown(true);
  r.b.LeftDown();
  r.b.LeftUp(true);
  EXPECT_TRUE(r.b.Down());
  r.b.PointerLeave();
  EXPECT_EQ(r.b.Face(), ButtonFace::Pressed);  // Down wins
  r.b.SetAllowDown(false);
  EXPECT_FALSE(r.b.Down());
}

TEST(ImageButton, RepeatsAfter500ThenEvery50) {
  Rig r;
  r.b.PointerEnter();
  r.b.LeftDown();
  r.RunUntil(1000);
  ASSERT_GE(r.pressed_at.size(), 3u);
  EXPECT_EQ(r.pressed_at[0], 0);
  EXPECT_EQ(r.pressed_at[1], 500);
  EXPECT_EQ(r.pressed_at[2], 550);
  EXPECT_EQ(r.pressed_at.back(), 1000);
  EXPECT_EQ(r.pressed_at.size(), 12u);  // 0, 500, 550 ... 1000
  r.b.LeftUp(true);
  r.RunUntil(2000);
  EXPECT_EQ(r.pressed_at.size(), 12u);
}

TEST(ImageButton, Accelerator) {
  EXPECT_EQ(ImageButtonModel::Accelerator("&Open"), 'O');
  EXPECT_EQ(ImageButtonModel::Accelerator("Cl&ose"), 'O');
  EXPECT_EQ(ImageButtonModel::Accelerator("Save && &quit"), 'Q');
  EXPECT_EQ(ImageButtonModel::Accelerator("A && B"), 0);
  EXPECT_EQ(ImageButtonModel::Accelerator("Trailing&"), 0);
  EXPECT_EQ(ImageButtonModel::Accelerator(""), 0);
}

TEST(ImageButton, FaceFallBacks) {
  using D = FaceDrawing;
  struct Case {
    ButtonFace face;
    bool up, down, over, dis;
    D want;
  } cases[] = {
      {ButtonFace::Up, false, false, false, false, D::PushFace},
      {ButtonFace::Over, false, false, false, false, D::PushFace},
      {ButtonFace::Pressed, false, false, false, false, D::SunkenEdge},
      {ButtonFace::Up, true, false, false, false, D::UpPicture},
      {ButtonFace::Over, true, false, false, false, D::UpPicture},
      {ButtonFace::Pressed, true, false, false, false, D::UpPicture},
      {ButtonFace::Pressed, true, true, true, true, D::DownPicture},
      {ButtonFace::Over, true, true, true, true, D::OverPicture},
      {ButtonFace::Disabled, true, true, true, false, D::PushFace},
      {ButtonFace::Disabled, false, false, false, true, D::DisablePicture},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ImageButtonModel::Drawing(c.face, c.up, c.down, c.over, c.dis), c.want)
        << static_cast<int>(c.face) << c.up << c.down << c.over << c.dis;
}

}  // namespace
}  // namespace kx
