// Which monitor shows what. The show covers every monitor of the desktop: the user's
// Monitors setting decides whether the others stay black, run a show of their own, show the
// same show fitted to their size, or whether one show spans the whole virtual desktop.
// Rectangles are in virtual-screen coordinates, which are negative left of and above the
// primary monitor.
#pragma once

#include <vector>

#include "media/rect.h"

namespace kx {

// The user setting Monitors (absent: 0).
enum class MonitorsMode {
  PrimaryOnly = 0,  // the show on the primary monitor, every other monitor black
  EachOwnShow = 1,  // every monitor its own show
  SameShow = 2,     // the same show on every monitor, fitted to each
  Spanned = 3,      // one show over the bounding rectangle of all monitors
};
// A stored value as a mode; values outside 0..3 count as 0.
MonitorsMode MonitorsModeOf(int value);

struct MonitorInfo {
  Rect bounds;           // in virtual-screen coordinates
  bool primary = false;  // the monitor with the origin
  int dpi = 96;
};

// One window of the show.
struct ShowArea {
  Rect bounds;  // what the window covers, in virtual-screen coordinates
  // The show drawn in the window, numbered from 0; -1: the window stays black.
  int show = -1;
  // For SameShow: the area whose show this one repeats, fitted to its own size (-1: the
  // area draws its own show).
  int mirrorOf = -1;
};

struct MonitorPlan {
  std::vector<ShowArea> areas;
  int showCount = 0;  // how many shows run (each its own session)
  // The area whose show plays the music and the sound effects (-1: none).
  int soundArea = -1;
};

// The index of the primary monitor (the one flagged, else the one holding the origin, else
// the first); -1 for an empty list.
int PrimaryMonitorIndex(const std::vector<MonitorInfo>& monitors);

// The windows for a set of monitors. showMonitor names the monitor that gets the show in
// PrimaryOnly mode (-1: the primary one), for the single-picture show started from the
// configuration window, which covers that window's monitor. An empty monitor list gives
// one area of fallbackScreen (the screen the system reports).
MonitorPlan PlanMonitors(const std::vector<MonitorInfo>& monitors, MonitorsMode mode,
                         int showMonitor = -1, Rect fallbackScreen = {0, 0, 640, 480});

// The bounding rectangle of all monitors (empty for none).
Rect VirtualScreen(const std::vector<MonitorInfo>& monitors);

// The monitor that holds the point, else the nearest one; -1 for an empty list.
int MonitorAt(const std::vector<MonitorInfo>& monitors, int x, int y);

// Where a shown frame of a mirrored show goes in another area: the frame's size fitted
// proportionally into the area and centred (area-relative coordinates).
Rect FitCentred(int frameWidth, int frameHeight, int areaWidth, int areaHeight);

}  // namespace kx
