#include "show/monitor_layout.h"

#include <climits>
#include <cstdint>

#include "show/fitting.h"

namespace kx {

MonitorsMode MonitorsModeOf(int value) {
  return value >= 0 && value <= 3 ? static_cast<MonitorsMode>(value) : MonitorsMode::PrimaryOnly;
}

int PrimaryMonitorIndex(const std::vector<MonitorInfo>& monitors) {
  if (monitors.empty()) return -1;
  for (size_t i = 0; i < monitors.size(); ++i)
    if (monitors[i].primary) return static_cast<int>(i);
  for (size_t i = 0; i < monitors.size(); ++i) {
    const Rect& b = monitors[i].bounds;
    if (b.left <= 0 && 0 < b.right && b.top <= 0 && 0 < b.bottom) return static_cast<int>(i);
  }
  return 0;
}

Rect VirtualScreen(const std::vector<MonitorInfo>& monitors) {
  if (monitors.empty()) return {};
  Rect r = monitors[0].bounds;
  for (const MonitorInfo& m : monitors) {
    r.left = std::min(r.left, m.bounds.left);
    r.top = std::min(r.top, m.bounds.top);
    r.right = std::max(r.right, m.bounds.right);
    r.bottom = std::max(r.bottom, m.bounds.bottom);
  }
  return r;
}

int MonitorAt(const std::vector<MonitorInfo>& monitors, int x, int y) {
  int best = -1;
  int64_t bestDistance = INT64_MAX;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const Rect& b = monitors[i].bounds;
    // Distance from the point to the half-open rectangle (0 inside).
    const int64_t dx = x < b.left ? int64_t{b.left} - x : x >= b.right ? int64_t{x} - (b.right - 1) : 0;
    const int64_t dy = y < b.top ? int64_t{b.top} - y : y >= b.bottom ? int64_t{y} - (b.bottom - 1) : 0;
    const int64_t d = dx * dx + dy * dy;
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

MonitorPlan PlanMonitors(const std::vector<MonitorInfo>& monitors, MonitorsMode mode, int showMonitor,
                         Rect fallbackScreen) {
  MonitorPlan plan;
  if (monitors.empty()) {
    plan.areas.push_back({fallbackScreen, 0, -1});
    plan.showCount = 1;
    plan.soundArea = 0;
    return plan;
  }
  const int n = static_cast<int>(monitors.size());
  const int primary = PrimaryMonitorIndex(monitors);
  switch (mode) {
    case MonitorsMode::PrimaryOnly: {
      const int target = showMonitor >= 0 && showMonitor < n ? showMonitor : primary;
      for (int i = 0; i < n; ++i) plan.areas.push_back({monitors[i].bounds, i == target ? 0 : -1, -1});
      plan.showCount = 1;
      plan.soundArea = target;
      break;
    }
    case MonitorsMode::EachOwnShow:
      for (int i = 0; i < n; ++i) plan.areas.push_back({monitors[i].bounds, i, -1});
      plan.showCount = n;
      plan.soundArea = primary;
      break;
    case MonitorsMode::SameShow:
      for (int i = 0; i < n; ++i) plan.areas.push_back({monitors[i].bounds, 0, i == primary ? -1 : primary});
      plan.showCount = 1;
      plan.soundArea = primary;
      break;
    case MonitorsMode::Spanned:
      plan.areas.push_back({VirtualScreen(monitors), 0, -1});
      plan.showCount = 1;
      plan.soundArea = 0;
      break;
  }
  return plan;
}

Rect FitCentred(int frameWidth, int frameHeight, int areaWidth, int areaHeight) {
  if (frameWidth <= 0 || frameHeight <= 0 || areaWidth <= 0 || areaHeight <= 0) return {};
  const Size s = ProportionalFit(frameWidth, frameHeight, areaWidth, areaHeight);
  const int x = (areaWidth - s.width) / 2, y = (areaHeight - s.height) / 2;
  return Rect::FromSize(x, y, s.width, s.height);
}

}  // namespace kx
