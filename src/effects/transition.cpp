#include "effects/transition.h"

#include <algorithm>
#include <cstring>

#include "effects/effects_table.h"
#include "media/intmath.h"
#include "media/random.h"
#include "media/worker_pool.h"

namespace kx {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

// A decimal integer with an optional sign; false for anything else or beyond 32 bits.
bool ParseInt(std::string_view s, int& out) {
  size_t k = 0;
  bool negative = false;
  if (k < s.size() && (s[k] == '+' || s[k] == '-')) negative = s[k++] == '-';
  if (k == s.size()) return false;
  int64_t v = 0;
  for (; k < s.size(); ++k) {
    if (s[k] < '0' || s[k] > '9') return false;
    v = v * 10 + (s[k] - '0');
    if (v > 2147483648LL) return false;
  }
  v = negative ? -v : v;
  if (v > 2147483647LL) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace

TransitionProgress ProgressFor(int width, int height, int percent) {
  TransitionProgress p;
  if (width <= 0 || height <= 0) return p;
  if (width >= height) {
    p.X = MulDiv(width, percent, 100);
    p.Y = MulDiv(p.X, height, width);
  } else {
    p.Y = MulDiv(height, percent, 100);
    p.X = MulDiv(p.Y, width, height);
  }
  return p;
}

std::vector<int> BuildTransitionList(std::string_view text) {
  std::vector<int> list;
  if (!Trim(text).empty()) {
    size_t start = 0;
    while (start <= text.size()) {
      size_t comma = text.find(',', start);
      if (comma == std::string_view::npos) comma = text.size();
      int n = 0;
      if (!ParseInt(Trim(text.substr(start, comma - start)), n)) list.push_back(0);
      else if (Effects.HasProc(n)) list.push_back(n);
      start = comma + 1;
    }
  }
  const bool usable = std::any_of(list.begin(), list.end(), [](int n) { return n != 0; });
  if (!usable) list.assign(1, 1);
  return list;
}

int ChooseEffect(const std::vector<int>& list) {
  if (list.empty()) return 1;
  return list[static_cast<size_t>(Random::Next(static_cast<int>(list.size())))];
}

int TransitionFrameCount(int transitionTimeMs, int64_t firstFrameCostMs) {
  if (transitionTimeMs <= 0) return 0;
  const int64_t cost = std::max<int64_t>(firstFrameCostMs, 0) + 1;
  return static_cast<int>(transitionTimeMs / cost);
}

int FramePercent(int i, int n) {
  if (n <= 0 || i <= 0) return 0;
  return RoundRatioHalfEven(int64_t{100} * i, n);
}

bool TransitionFrame(Bitmap32& work, const Bitmap32& old, const Bitmap32& next, int effect, int percent,
                     WorkerPool* pool) {
  if (work.Width() != old.Width() || work.Height() != old.Height()) work.SetSize(old.Width(), old.Height());
  if (!old.Empty()) {
    const size_t w = static_cast<size_t>(old.Width());
    auto copy = [&](int, int r0, int r1) {
      std::memcpy(work.Data() + w * r0, old.Data() + w * r0, w * static_cast<size_t>(r1 - r0) * sizeof(Pixel));
    };
    if (pool) pool->ForBands(old.Height(), copy);
    else copy(0, 0, old.Height());
  }
  if (!Effects.HasProc(effect) || old.Empty() || next.Width() != old.Width() || next.Height() != old.Height())
    return false;
  const int W = work.Width(), H = work.Height();
  const int P = std::clamp(percent, 0, 100);
  const TransitionProgress g = ProgressFor(W, H, P);
  Effects[effect].Proc(work, next, W, H, g.X, g.Y, P);
  return true;
}

}  // namespace kx
