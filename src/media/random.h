// The process-wide random generator: a 32-bit linear congruential generator,
// state := state * 134775813 + 1; a draw in 0..n-1 is the upper 32 bits of state * n.
// Everything that draws by chance in the show (picture order, effect choice, music
// order, effects, objects, weather) uses this one generator on the drawing thread.
#pragma once

#include <cstdint>

namespace kx {

class Random {
 public:
  static uint32_t& State() { return state_; }
  static void Seed(uint32_t s) { state_ = s; }
  // A draw in 0..n-1; the state advances on every draw, n <= 0 gives 0.
  static int Next(int n) {
    state_ = state_ * 134775813u + 1u;
    if (n <= 0) return 0;
    return static_cast<int>((static_cast<uint64_t>(state_) * static_cast<uint32_t>(n)) >> 32);
  }

 private:
  static inline uint32_t state_ = 0;
};

// Saves the generator state and restores it when leaving scope.
class RandomStateGuard {
 public:
  RandomStateGuard() : saved_(Random::State()) {}
  ~RandomStateGuard() { Random::State() = saved_; }
  RandomStateGuard(const RandomStateGuard&) = delete;
  RandomStateGuard& operator=(const RandomStateGuard&) = delete;

 private:
  uint32_t saved_;
};

}  // namespace kx
