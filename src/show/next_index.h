// The next item of a list the show walks through (its pictures, its music tracks).
#pragma once

#include "media/random.h"

namespace kx {

// The item after `current` (-1 before the first) of `count` items: in order, the next one
// wrapping to 0; shuffled, any other item drawn from the process-wide generator (0 when
// there are fewer than two).
inline int NextListIndex(int current, int count, bool inOrder) {
  if (inOrder) return current + 1 >= count ? 0 : current + 1;
  if (count < 2) return 0;
  int next;
  do {
    next = Random::Next(count);
  } while (next == current);
  return next;
}

}  // namespace kx
