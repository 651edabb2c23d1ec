#include "effects/region_shapes.h"

#include <algorithm>
#include <cstdint>

namespace kx {

namespace {

// Working lists of the sweep, kept from one frame to the next so that a frame allocates
// only the region it returns. Effects run on the drawing thread; thread_local keeps any
// other caller safe.
struct SweepLists {
  std::vector<RectI> items, sorted;
  std::vector<int> ys, counts;
  std::vector<uint8_t> edge;
  std::vector<const RectI*> active, fresh, merged;
  std::vector<Span> row;
};

}  // namespace

Region UnionOfRects(const RectI* rects, int count) {
  if (rects == nullptr || count <= 0) return {};
  thread_local SweepLists lists;
  std::vector<RectI>& items = lists.items;
  items.clear();
  for (int k = 0; k < count; ++k)
    if (!rects[k].IsEmpty()) items.push_back(rects[k]);
  if (items.empty()) return {};

  // Row edges where the set of crossing rectangles changes, and the rectangles in the order
  // of their top rows. When the rows span a range not much larger than the list, counting
  // beats sorting.
  std::vector<int>& ys = lists.ys;
  ys.clear();
  int64_t lo = items[0].Top, hi = items[0].Bottom;
  for (const RectI& r : items) {
    lo = std::min<int64_t>(lo, r.Top);
    hi = std::max<int64_t>(hi, r.Bottom);
  }
  const int64_t range = hi - lo + 1;
  if (range <= 4 * static_cast<int64_t>(items.size()) + 4096) {
    std::vector<int>& counts = lists.counts;
    counts.assign(static_cast<size_t>(range) + 1, 0);
    for (const RectI& r : items) counts[static_cast<size_t>(r.Top - lo) + 1] += 1;
    std::vector<uint8_t>& edge = lists.edge;
    edge.assign(static_cast<size_t>(range), 0);
    for (const RectI& r : items) {
      edge[static_cast<size_t>(r.Top - lo)] = 1;
      edge[static_cast<size_t>(r.Bottom - lo)] = 1;
    }
    for (int64_t k = 0; k < range; ++k)
      if (edge[static_cast<size_t>(k)]) ys.push_back(static_cast<int>(lo + k));
    for (size_t k = 1; k < counts.size(); ++k) counts[k] += counts[k - 1];
    std::vector<RectI>& sorted = lists.sorted;
    sorted.resize(items.size());
    for (const RectI& r : items) sorted[static_cast<size_t>(counts[static_cast<size_t>(r.Top - lo)]++)] = r;
    items.swap(sorted);
  } else {
    for (const RectI& r : items) {
      ys.push_back(r.Top);
      ys.push_back(r.Bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    std::stable_sort(items.begin(), items.end(),
                     [](const RectI& a, const RectI& b) { return a.Top < b.Top; });
  }

  auto byLeft = [](const RectI* a, const RectI* b) { return a->Left < b->Left; };
  std::vector<const RectI*>& active = lists.active;
  std::vector<const RectI*>& fresh = lists.fresh;
  std::vector<const RectI*>& merged = lists.merged;
  std::vector<Span>& row = lists.row;
  active.clear();
  Region::Builder out;
  size_t next = 0;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    const int top = ys[k], bottom = ys[k + 1];
    active.erase(std::remove_if(active.begin(), active.end(),
                                [top](const RectI* r) { return r->Bottom <= top; }),
                 active.end());
    fresh.clear();
    while (next < items.size() && items[next].Top <= top) fresh.push_back(&items[next++]);
    if (!fresh.empty()) {
      std::sort(fresh.begin(), fresh.end(), byLeft);
      merged.resize(active.size() + fresh.size());
      std::merge(active.begin(), active.end(), fresh.begin(), fresh.end(), merged.begin(), byLeft);
      active.swap(merged);
    }
    if (active.empty()) continue;
    row.clear();
    for (const RectI* r : active) {
      if (!row.empty() && r->Left <= row.back().X1)
        row.back().X1 = std::max(row.back().X1, r->Right);
      else
        row.push_back({r->Left, r->Right});
    }
    out.AddBand(top, bottom, row.data(), static_cast<int>(row.size()));
  }
  return out.Finish();
}

void ShapeUnion::Add(const Region& shape) {
  const std::vector<Span>& spans = shape.Spans();
  for (const Region::Band& b : shape.Bands())
    for (int k = 0; k < b.Count; ++k)
      rects_.push_back({spans[b.First + k].X0, b.Top, spans[b.First + k].X1, b.Bottom});
}

void ShapeUnion::AddRect(int left, int top, int right, int bottom) {
  if (right > left && bottom > top) rects_.push_back({left, top, right, bottom});
}

}  // namespace kx
