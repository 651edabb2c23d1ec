// Plays a composed GIF animation from the clock of its caller: the drawing thread tells
// the player how much time went by (Advance) and reads the frame to draw. No thread of
// its own. The speed is a percentage (100 = the file's delays, 200 = twice as fast);
// looping follows the file (play once, or repeat) unless the caller asks for endless
// playback. When a finite playback ends, the last frame stays.
#pragma once

#include <cstdint>
#include <vector>

#include "media/gif_decoder.h"

namespace kx {

class GifPlayer {
 public:
  GifPlayer() = default;
  explicit GifPlayer(const GifAnimation* animation) { SetAnimation(animation); }

  // The animation is not owned and must outlive its use here; null stops the player.
  void SetAnimation(const GifAnimation* animation);
  // Percent of the normal speed, kept within 1..100000.
  void SetSpeedPercent(int percent) { speed_ = percent < 1 ? 1 : (percent > 100000 ? 100000 : percent); }
  int SpeedPercent() const { return speed_; }
  // Endless playback whatever the file says.
  void SetLoopForever(bool on) { forever_ = on; }

  // Back to the start of the first frame.
  void Reset() { position_ = 0; }
  // Lets `ms` milliseconds of real time go by (negative values count as 0).
  void Advance(int64_t ms);

  int FrameIndex() const { return FrameAtPosition(position_); }
  const Bitmap32* CurrentFrame() const;
  bool Finished() const;
  // The frame shown `elapsed_ms` after the start at the current speed, without moving.
  int FrameAt(int64_t elapsed_ms) const;

 private:
  // Positions count in hundredths of a millisecond of the file's own time.
  int FrameAtPosition(int64_t position) const;
  int64_t Plays() const;  // how many times the animation plays; 0: endlessly

  const GifAnimation* animation_ = nullptr;
  std::vector<int64_t> ends_;  // end of each frame in the cycle, hundredths of ms
  int64_t cycle_ = 0;
  int64_t position_ = 0;
  int speed_ = 100;
  bool forever_ = false;
};

}  // namespace kx
