// TComplexRegion: collects rectangles and makes one region of their union.
//
// The rectangle store grows in steps of 500 rectangles: when a rectangle arrives and the
// count equals the capacity, the capacity first grows by 500. Bounds are the smallest
// left and top and the largest right and bottom of every rectangle added (also of
// rectangles with no area, which add no pixels); after Clear they are
// (2147483647, 2147483647, -2147483647, -2147483647).
#pragma once

#include <optional>
#include <vector>

#include "effects/region.h"

namespace kx {

class TComplexRegion {
 public:
  static constexpr int kGrowth = 500;
  static constexpr int kClearedMin = 2147483647;
  static constexpr int kClearedMax = -2147483647;

  TComplexRegion() { Clear(); }

  // Frees the store: count and capacity 0, bounds reset.
  void Clear();
  // Appends the rectangle (left, top, right, bottom) and widens the bounds.
  void AddRect(int left, int top, int right, int bottom);
  // The union of every rectangle added, or no region when nothing was ever added.
  // A region made only of rectangles without area is the empty region.
  std::optional<Region> CreateRegion() const;

  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  RectI Bounds() const { return bounds_; }
  const RectI* Rects() const { return rects_.data(); }

 private:
  std::vector<RectI> rects_;
  int count_ = 0;
  int capacity_ = 0;
  RectI bounds_;
};

}  // namespace kx
