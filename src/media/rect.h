// A rectangle of pixels, half-open: it covers left <= x < right and top <= y < bottom.
#pragma once

#include <algorithm>

namespace kx {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool Empty() const { return right <= left || bottom <= top; }
  constexpr bool operator==(const Rect&) const = default;

  static constexpr Rect FromSize(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }
  constexpr Rect Intersect(const Rect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
  }
};

}  // namespace kx
