// The pace of one transition, driven by the time elapsed rather than by a frame count
// guessed from the first frame: frame 0 (progress 0) comes first, every later frame takes
// its progress from the milliseconds elapsed since the start, progress only grows, and the
// last frame is progress 100. The caller owns the clock and asks, before each frame, what
// progress it should draw. When the caller also says when each frame was on the screen,
// a frame shows the progress of the time at which it will appear (the time elapsed plus
// what the recent frames cost), so slow frames do not make the transition end late.
#pragma once

#include <cstdint>

namespace kx {

class TransitionTimer {
 public:
  // Consecutive looks at a clock that has not moved after which the transition ends at
  // once (a stopped clock must not hold the show in a transition for ever).
  static constexpr int kStalledLimit = 1000;

  // A transition of `duration_ms` that began at `start`. Frame 0 is due at once.
  void Start(uint32_t start, int duration_ms);

  // What to draw at `now`: the progress 0..100 of the next frame, or -1 when no new frame
  // is due yet (progress would not grow). Returns 0 exactly once, first. After frame 0,
  // a transition whose time is already over ends without more frames when its duration
  // is 0 or frame 0 alone took the whole time; otherwise progress is
  // (elapsed + frame cost) * 100 div duration and the frame is 100 once that reaches the
  // duration. The frame cost is the smaller of the last two frames after frame 0 (frame 0
  // also pays for preparing the transition), 0 until they are known.
  int Next(uint32_t now);
  // The frame handed out last is on the screen at `now`.
  void FrameShown(uint32_t now);

  // True once the last frame has been handed out.
  bool Done() const { return done_; }
  bool Active() const { return started_ && !done_; }
  // Frames handed out so far after frame 0.
  int Frames() const { return frames_; }

 private:
  uint32_t start_ = 0;
  uint32_t last_now_ = 0;
  uint32_t frame_start_ = 0;
  int64_t costs_[2] = {-1, -1};  // the last two frames' costs, newest first; -1 unknown
  int duration_ = 0;
  int last_percent_ = -1;
  int frames_ = 0;
  int stalled_ = 0;
  bool started_ = false;
  bool done_ = true;
};

}  // namespace kx
