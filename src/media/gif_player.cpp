#include "media/gif_player.h"

#include <algorithm>

namespace kx {

void GifPlayer::SetAnimation(const GifAnimation* animation) {
  animation_ = animation;
  ends_.clear();
  cycle_ = 0;
  position_ = 0;
  if (!animation_) return;
  for (int d : animation_->delays_ms) {
    cycle_ += static_cast<int64_t>(std::max(d, 1)) * 100;
    ends_.push_back(cycle_);
  }
}

int64_t GifPlayer::Plays() const {
  if (forever_ || !animation_) return 0;
  const int loops = animation_->loop_count;
  if (loops == 0) return 0;
  return loops < 0 ? 1 : static_cast<int64_t>(loops) + 1;
}

void GifPlayer::Advance(int64_t ms) {
  if (ms <= 0 || cycle_ == 0) return;
  // Big jumps are reduced first so the product cannot overflow.
  const int64_t plays = Plays();
  const int64_t limit = plays == 0 ? 0 : cycle_ * plays;
  if (plays == 0) ms %= cycle_;  // whole cycles of file time change nothing
  else ms = std::min(ms, limit);
  position_ += ms * speed_;
  if (plays == 0) {
    position_ %= cycle_;
  } else if (position_ > limit) {
    position_ = limit;
  }
}

int GifPlayer::FrameAtPosition(int64_t position) const {
  if (ends_.empty()) return -1;
  const int64_t plays = Plays();
  if (plays != 0 && position >= cycle_ * plays) return static_cast<int>(ends_.size()) - 1;
  position %= cycle_;
  return static_cast<int>(std::upper_bound(ends_.begin(), ends_.end(), position) - ends_.begin());
}

int GifPlayer::FrameAt(int64_t elapsed_ms) const {
  if (cycle_ == 0) return -1;
  if (elapsed_ms < 0) elapsed_ms = 0;
  const int64_t plays = Plays();
  if (plays == 0) elapsed_ms %= cycle_;  // whole cycles of file time change nothing
  else elapsed_ms = std::min(elapsed_ms, cycle_ * plays);
  return FrameAtPosition(elapsed_ms * speed_);
}

const Bitmap32* GifPlayer::CurrentFrame() const {
  const int i = FrameIndex();
  return i < 0 ? nullptr : &animation_->frames[i];
}

bool GifPlayer::Finished() const {
  const int64_t plays = Plays();
  return cycle_ != 0 && plays != 0 && position_ >= cycle_ * plays;
}

}  // namespace kx
