// Building one region from many pieces in a single sweep down the rows.
//
// The band and grid transitions reveal through the union of hundreds or thousands of
// rectangles (bars, shred columns, speckles) or of dozens of circles, diamonds and
// triangles. Combining them pairwise would rebuild the growing region once per piece, so
// the pieces are collected as rectangles and the union is built once per frame.
#pragma once

#include <cstddef>
#include <vector>

#include "effects/region.h"

namespace kx {

// The union of `count` rectangles (rectangles without area add nothing): the same pixels as
// Region::FromRects. The rectangles crossing the current row band are kept sorted by their
// left edge, so a band costs a pass over them rather than a sort, which keeps lists of
// many tall, thin rectangles cheap.
Region UnionOfRects(const RectI* rects, int count);

// Collects shapes and makes the region of their union.
class ShapeUnion {
 public:
  // Adds every pixel of the shape (one rectangle per span of each of its bands).
  void Add(const Region& shape);
  void AddRect(int left, int top, int right, int bottom);
  // Room for `rects` rectangles, so that adding them does not reallocate.
  void Reserve(size_t rects) { rects_.reserve(rects); }
  bool Empty() const { return rects_.empty(); }
  Region Finish() const { return UnionOfRects(rects_.data(), static_cast<int>(rects_.size())); }

 private:
  std::vector<RectI> rects_;
};

}  // namespace kx
