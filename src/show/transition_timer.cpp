#include "show/transition_timer.h"

namespace kx {

void TransitionTimer::Start(uint32_t start, int duration_ms) {
  start_ = start;
  last_now_ = start;
  duration_ = duration_ms < 0 ? 0 : duration_ms;
  last_percent_ = -1;
  frames_ = 0;
  stalled_ = 0;
  costs_[0] = costs_[1] = -1;
  started_ = true;
  done_ = false;
}

int TransitionTimer::Next(uint32_t now) {
  if (!started_ || done_) return -1;
  if (last_percent_ < 0) {
    last_percent_ = 0;
    last_now_ = now;
    frame_start_ = now;
    if (duration_ == 0) done_ = true;  // a transition of no time is frame 0 alone
    return 0;
  }
  if (now == last_now_) {
    if (++stalled_ < kStalledLimit) return -1;
    // The clock has stopped: the transition ends with the complete new picture.
    done_ = true;
    ++frames_;
    last_percent_ = 100;
    return 100;
  }
  stalled_ = 0;
  last_now_ = now;
  // Unsigned difference: the clock may wrap around during a transition.
  const int64_t elapsed = static_cast<uint32_t>(now - start_);
  if (frames_ == 0 && elapsed >= duration_) {
    done_ = true;  // frame 0 alone took the whole time
    return -1;
  }
  int64_t cost = costs_[0] < costs_[1] ? costs_[0] : costs_[1];
  if (cost < 0) cost = 0;
  const int64_t shown = elapsed + cost;
  if (shown >= duration_) {
    done_ = true;
    ++frames_;
    last_percent_ = 100;
    frame_start_ = now;
    return 100;
  }
  const int percent = static_cast<int>(shown * 100 / duration_);
  if (percent <= last_percent_) return -1;
  last_percent_ = percent;
  ++frames_;
  frame_start_ = now;
  return percent;
}

void TransitionTimer::FrameShown(uint32_t now) {
  if (!started_ || frames_ == 0) return;  // frame 0's cost does not count
  costs_[1] = costs_[0];
  costs_[0] = static_cast<uint32_t>(now - frame_start_);
}

}  // namespace kx
