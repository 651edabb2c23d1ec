#include "effects/complex_region.h"

#include <algorithm>

#include "effects/region_shapes.h"

namespace kx {

void TComplexRegion::Clear() {
  std::vector<RectI>().swap(rects_);
  count_ = 0;
  capacity_ = 0;
  bounds_ = {kClearedMin, kClearedMin, kClearedMax, kClearedMax};
}

void TComplexRegion::AddRect(int left, int top, int right, int bottom) {
  if (count_ == capacity_) {
    capacity_ += kGrowth;
    rects_.reserve(static_cast<size_t>(capacity_));
  }
  rects_.push_back({left, top, right, bottom});
  ++count_;
  bounds_.Left = std::min(bounds_.Left, left);
  bounds_.Top = std::min(bounds_.Top, top);
  bounds_.Right = std::max(bounds_.Right, right);
  bounds_.Bottom = std::max(bounds_.Bottom, bottom);
}

std::optional<Region> TComplexRegion::CreateRegion() const {
  if (count_ == 0) return std::nullopt;
  return UnionOfRects(rects_.data(), count_);
}

}  // namespace kx
