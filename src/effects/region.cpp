#include "effects/region.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kx {

namespace {

// Shapes are scanned row by row; rows beyond this distance from the picture are never
// drawn, and the limit keeps a wild coordinate from making a scan of billions of rows.
constexpr int kRowLimit = 1 << 24;
// Shape coordinates are clamped to this range so that the exact integer tests of ellipse
// and polygon edges cannot overflow.
constexpr int kCoordLimit = 1 << 28;
int ClampCoord(int v) { return std::clamp(v, -kCoordLimit, kCoordLimit); }

enum class Op { kUnion, kIntersect, kXor, kSubtract };

bool Apply(Op op, bool a, bool b) {
  switch (op) {
    case Op::kUnion: return a || b;
    case Op::kIntersect: return a && b;
    case Op::kXor: return a != b;
    case Op::kSubtract: return a && !b;
  }
  return false;
}

// Combines two sorted, non-touching span lists.
void CombineSpans(const Span* a, int na, const Span* b, int nb, Op op, std::vector<Span>& out) {
  out.clear();
  int ia = 0, ib = 0;  // boundary indices: 2k is span k's X0, 2k+1 its X1
  bool inA = false, inB = false, cur = false;
  int start = 0;
  while (ia < 2 * na || ib < 2 * nb) {
    const int xa = ia < 2 * na ? ((ia & 1) ? a[ia / 2].X1 : a[ia / 2].X0) : INT_MAX;
    const int xb = ib < 2 * nb ? ((ib & 1) ? b[ib / 2].X1 : b[ib / 2].X0) : INT_MAX;
    const int x = std::min(xa, xb);
    if (xa == x) { inA = !inA; ++ia; }
    if (xb == x) { inB = !inB; ++ib; }
    const bool in = Apply(op, inA, inB);
    if (in && !cur) {
      start = x;
      cur = true;
    } else if (!in && cur) {
      out.push_back({start, x});
      cur = false;
    }
  }
}

Region Combine(const Region& a, const Region& b, Op op) {
  const auto& ab = a.Bands();
  const auto& bb = b.Bands();
  const size_t na = ab.size(), nb = bb.size();
  Region::Builder out;
  out.Reserve(na + nb, a.Spans().size() + b.Spans().size());
  std::vector<Span> tmp;
  size_t i = 0, j = 0;
  int y = INT_MIN;
  while (i < na || j < nb) {
    const int64_t ya = i < na ? std::max(ab[i].Top, y) : INT64_MAX;
    const int64_t yb = j < nb ? std::max(bb[j].Top, y) : INT64_MAX;
    const int64_t top = std::min(ya, yb);
    const bool aOn = i < na && ya == top;
    const bool bOn = j < nb && yb == top;
    int64_t bottom = INT64_MAX;
    bottom = std::min(bottom, aOn ? int64_t{ab[i].Bottom} : ya);
    bottom = std::min(bottom, bOn ? int64_t{bb[j].Bottom} : yb);
    const Span* sa = aOn ? a.Spans().data() + ab[i].First : nullptr;
    const Span* sb = bOn ? b.Spans().data() + bb[j].First : nullptr;
    CombineSpans(sa, aOn ? ab[i].Count : 0, sb, bOn ? bb[j].Count : 0, op, tmp);
    out.AddBand(static_cast<int>(top), static_cast<int>(bottom), tmp.data(),
                static_cast<int>(tmp.size()));
    y = static_cast<int>(bottom);
    if (aOn && ab[i].Bottom == bottom) ++i;
    if (bOn && bb[j].Bottom == bottom) ++j;
  }
  return out.Finish();
}

// Exact test whether the centre of column x, given as d = 2x + 1 - (left + right), lies in
// the ellipse of width w and height h on the row whose doubled offset from the centre is dy.
bool InsideEllipse(int64_t d, int64_t dy, int64_t w, int64_t h) {
  // |d|, |dy|, w, h < 2^30 (coordinates are clamped), so the products fit.
  const __int128 lhs = static_cast<__int128>(d * d) * (h * h) + static_cast<__int128>(dy * dy) * (w * w);
  const __int128 rhs = static_cast<__int128>(w * w) * (h * h);
  return lhs < rhs;
}

}  // namespace

// ----- Builder -----------------------------------------------------------------------------

void Region::Builder::AddBand(int top, int bottom, const Span* spans, int count) {
  if (bottom <= top) return;
  joined_.clear();
  for (int k = 0; k < count; ++k) {
    const Span s = spans[k];
    if (s.X1 <= s.X0) continue;
    if (!joined_.empty() && s.X0 <= joined_.back().X1) {
      joined_.back().X1 = std::max(joined_.back().X1, s.X1);
    } else {
      joined_.push_back(s);
    }
  }
  if (joined_.empty()) return;
  if (!bands_.empty()) {
    Band& prev = bands_.back();
    if (prev.Bottom == top && prev.Count == static_cast<int>(joined_.size()) &&
        std::equal(joined_.begin(), joined_.end(), spans_.begin() + prev.First)) {
      prev.Bottom = bottom;
      return;
    }
  }
  bands_.push_back({top, bottom, static_cast<int>(spans_.size()), static_cast<int>(joined_.size())});
  spans_.insert(spans_.end(), joined_.begin(), joined_.end());
}

Region Region::Builder::Finish() {
  Region r;
  r.bands_ = std::move(bands_);
  r.spans_ = std::move(spans_);
  bands_.clear();
  spans_.clear();
  r.ComputeBounds();
  return r;
}

// ----- Shapes ------------------------------------------------------------------------------

Region Region::Rect(int left, int top, int right, int bottom) {
  Region r;
  if (right <= left || bottom <= top) return r;
  r.bands_.push_back({top, bottom, 0, 1});
  r.spans_.push_back({left, right});
  r.bounds_ = {left, top, right, bottom};
  return r;
}

Region Region::Ellipse(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return {};
  left = ClampCoord(left);
  top = ClampCoord(top);
  right = ClampCoord(right);
  bottom = ClampCoord(bottom);
  if (right <= left || bottom <= top) return {};
  const int64_t w = int64_t{right} - left, h = int64_t{bottom} - top;
  const int64_t c = int64_t{left} + right;
  const int y0 = std::max(top, -kRowLimit), y1 = std::min(bottom, kRowLimit);
  Builder out;
  for (int y = y0; y < y1; ++y) {
    const int64_t dy = 2 * int64_t{y} + 1 - (int64_t{top} + bottom);
    const double half = static_cast<double>(w) * std::sqrt(std::max(0.0, 1.0 - static_cast<double>(dy) * dy / (static_cast<double>(h) * h)));
    // First column whose doubled centre offset exceeds -half, then corrected exactly.
    int64_t x = static_cast<int64_t>(std::ceil((static_cast<double>(c) - 1 - half) / 2));
    const int64_t mid = FloorDiv(c, 2);
    while (x > left && InsideEllipse(2 * (x - 1) + 1 - c, dy, w, h)) --x;
    while (x <= mid && !InsideEllipse(2 * x + 1 - c, dy, w, h)) ++x;
    if (!InsideEllipse(2 * x + 1 - c, dy, w, h)) continue;
    const Span s{static_cast<int>(x), static_cast<int>(c - x)};
    out.AddBand(y, y + 1, &s, 1);
  }
  return out.Finish();
}

Region Region::RoundRect(int left, int top, int right, int bottom, int ellipseW, int ellipseH) {
  if (right <= left || bottom <= top) return {};
  const int ew = std::min(ellipseW, right - left);
  const int eh = std::min(ellipseH, bottom - top);
  if (ew <= 1 || eh <= 1) return Rect(left, top, right, bottom);
  // Two crossing rectangles between the corner ellipses' centres, plus the four corners.
  Region r = Rect(left + ew / 2, top, right - ew / 2, bottom);
  r.UnionWith(Rect(left, top + eh / 2, right, bottom - eh / 2));
  r.UnionWith(Ellipse(left, top, left + ew, top + eh));
  r.UnionWith(Ellipse(right - ew, top, right, top + eh));
  r.UnionWith(Ellipse(left, bottom - eh, left + ew, bottom));
  r.UnionWith(Ellipse(right - ew, bottom - eh, right, bottom));
  return r;
}

Region Region::Polygon(const int* xy, int pointCount) {
  if (xy == nullptr || pointCount < 3) return {};
  struct Edge {
    int64_t xa, ya, xb, yb;  // ya < yb
    int dir;
  };
  std::vector<Edge> edges;
  edges.reserve(pointCount);
  int64_t minY = INT64_MAX, maxY = INT64_MIN;
  for (int k = 0; k < pointCount; ++k) {
    const int n = (k + 1) % pointCount;
    const int64_t x0 = ClampCoord(xy[2 * k]), y0 = ClampCoord(xy[2 * k + 1]);
    const int64_t x1 = ClampCoord(xy[2 * n]), y1 = ClampCoord(xy[2 * n + 1]);
    minY = std::min(minY, y0);
    maxY = std::max(maxY, y0);
    if (y0 == y1) continue;
    if (y0 < y1) edges.push_back({x0, y0, x1, y1, 1});
    else edges.push_back({x1, y1, x0, y0, -1});
  }
  if (edges.empty()) return {};
  struct Crossing {
    int64_t x;
    int dir;
  };
  std::vector<Crossing> cross;
  std::vector<Span> row;
  Builder out;
  const int64_t y0 = std::max<int64_t>(minY, -kRowLimit), y1 = std::min<int64_t>(maxY, kRowLimit);
  for (int64_t y = y0; y < y1; ++y) {
    cross.clear();
    const int64_t yc2 = 2 * y + 1;  // doubled row centre
    for (const Edge& e : edges) {
      if (2 * e.ya > yc2 || yc2 >= 2 * e.yb) continue;
      // First column whose centre is at or right of the crossing: ceil(x - 0.5).
      const int64_t den = 2 * (e.yb - e.ya);
      const int64_t num = (2 * e.xa - 1) * (e.yb - e.ya) + (yc2 - 2 * e.ya) * (e.xb - e.xa);
      cross.push_back({CeilDiv(num, den), e.dir});
    }
    std::sort(cross.begin(), cross.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    row.clear();
    int winding = 0;
    int64_t start = 0;
    for (const Crossing& c : cross) {
      const int before = winding;
      winding += c.dir;
      if (before == 0 && winding != 0) start = c.x;
      else if (before != 0 && winding == 0 && c.x > start) {
        row.push_back({static_cast<int>(start), static_cast<int>(c.x)});
      }
    }
    out.AddBand(static_cast<int>(y), static_cast<int>(y + 1), row.data(), static_cast<int>(row.size()));
  }
  return out.Finish();
}

Region Region::FromRects(const RectI* rects, int count) {
  if (rects == nullptr || count <= 0) return {};
  std::vector<int> order;
  std::vector<int> ys;
  order.reserve(count);
  ys.reserve(2 * static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) {
    if (rects[k].IsEmpty()) continue;
    order.push_back(k);
    ys.push_back(rects[k].Top);
    ys.push_back(rects[k].Bottom);
  }
  if (order.empty()) return {};
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::sort(order.begin(), order.end(), [&](int a, int b) { return rects[a].Top < rects[b].Top; });
  std::vector<int> active;
  std::vector<Span> row;
  Builder out;
  size_t next = 0;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    const int top = ys[k], bottom = ys[k + 1];
    active.erase(std::remove_if(active.begin(), active.end(), [&](int r) { return rects[r].Bottom <= top; }),
                 active.end());
    while (next < order.size() && rects[order[next]].Top <= top) active.push_back(order[next++]);
    if (active.empty()) continue;
    row.clear();
    for (int r : active) row.push_back({rects[r].Left, rects[r].Right});
    std::sort(row.begin(), row.end(), [](const Span& a, const Span& b) { return a.X0 < b.X0; });
    out.AddBand(top, bottom, row.data(), static_cast<int>(row.size()));
  }
  return out.Finish();
}

// ----- Combining and queries ---------------------------------------------------------------

Region Region::Union(const Region& a, const Region& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return Combine(a, b, Op::kUnion);
}
Region Region::Intersect(const Region& a, const Region& b) {
  if (a.IsEmpty() || b.IsEmpty()) return {};
  return Combine(a, b, Op::kIntersect);
}
Region Region::Xor(const Region& a, const Region& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return Combine(a, b, Op::kXor);
}
Region Region::Subtract(const Region& a, const Region& b) {
  if (a.IsEmpty() || b.IsEmpty()) return a;
  return Combine(a, b, Op::kSubtract);
}

void Region::Offset(int dx, int dy) {
  for (Band& b : bands_) {
    b.Top += dy;
    b.Bottom += dy;
  }
  for (Span& s : spans_) {
    s.X0 += dx;
    s.X1 += dx;
  }
  ComputeBounds();
}

void Region::ComputeBounds() {
  if (bands_.empty()) {
    bounds_ = {};
    return;
  }
  bounds_.Top = bands_.front().Top;
  bounds_.Bottom = bands_.back().Bottom;
  bounds_.Left = INT_MAX;
  bounds_.Right = INT_MIN;
  for (const Band& b : bands_) {
    bounds_.Left = std::min(bounds_.Left, spans_[b.First].X0);
    bounds_.Right = std::max(bounds_.Right, spans_[b.First + b.Count - 1].X1);
  }
}

bool Region::Contains(int x, int y) const {
  auto it = std::upper_bound(bands_.begin(), bands_.end(), y, [](int v, const Band& b) { return v < b.Bottom; });
  if (it == bands_.end() || y < it->Top) return false;
  for (int k = 0; k < it->Count; ++k) {
    const Span& s = spans_[it->First + k];
    if (x < s.X0) return false;
    if (x < s.X1) return true;
  }
  return false;
}

int64_t Region::Area() const {
  int64_t total = 0;
  for (const Band& b : bands_) {
    int64_t w = 0;
    for (int k = 0; k < b.Count; ++k) w += int64_t{spans_[b.First + k].X1} - spans_[b.First + k].X0;
    total += w * (int64_t{b.Bottom} - b.Top);
  }
  return total;
}

bool Region::IsValid() const {
  int prevBottom = INT_MIN;
  const Band* prev = nullptr;
  for (const Band& b : bands_) {
    if (b.Bottom <= b.Top || b.Top < prevBottom || b.Count <= 0) return false;
    if (b.First < 0 || static_cast<size_t>(b.First) + b.Count > spans_.size()) return false;
    for (int k = 0; k < b.Count; ++k) {
      const Span& s = spans_[b.First + k];
      if (s.X1 <= s.X0) return false;
      if (k > 0 && s.X0 <= spans_[b.First + k - 1].X1) return false;
    }
    if (prev && prev->Bottom == b.Top && prev->Count == b.Count &&
        std::equal(spans_.begin() + b.First, spans_.begin() + b.First + b.Count, spans_.begin() + prev->First))
      return false;
    prevBottom = b.Bottom;
    prev = &b;
  }
  Region copy = *this;
  copy.ComputeBounds();
  return copy.bounds_ == bounds_;
}

bool Region::operator==(const Region& o) const {
  if (bands_.size() != o.bands_.size()) return false;
  for (size_t k = 0; k < bands_.size(); ++k) {
    const Band& a = bands_[k];
    const Band& b = o.bands_[k];
    if (a.Top != b.Top || a.Bottom != b.Bottom || a.Count != b.Count) return false;
    if (!std::equal(spans_.begin() + a.First, spans_.begin() + a.First + a.Count, o.spans_.begin() + b.First))
      return false;
  }
  return true;
}

}  // namespace kx
