#include "show/monitor_layout.h"

#include <gtest/gtest.h>

#include "show/show_session.h"

namespace kx {
namespace {

MonitorInfo M(int x, int y, int w, int h, bool primary = false) {
  return {Rect::FromSize(x, y, w, h), primary, 96};
}

// {1920x1080 at 0,0; 1280x1024 at 1920,0}
const std::vector<MonitorInfo> kSideBySide = {M(0, 0, 1920, 1080, true), M(1920, 0, 1280, 1024)};
// {2560x1440 at 0,0; 1080x1920 portrait at -1080,-200}, the portrait one listed first.
const std::vector<MonitorInfo> kPortraitLeft = {M(-1080, -200, 1080, 1920), M(0, 0, 2560, 1440, true)};
const std::vector<MonitorInfo> kOne = {M(0, 0, 1024, 768, true)};

struct PlanCase {
  const char* name;
  const std::vector<MonitorInfo>* monitors;
  MonitorsMode mode;
  int showMonitor;
  std::vector<ShowArea> areas;
  int showCount;
  int soundArea;
};

TEST(MonitorLayout, WhichRectangleGetsWhichShow) {
  const Rect a = Rect::FromSize(0, 0, 1920, 1080), b = Rect::FromSize(1920, 0, 1280, 1024);
  const Rect p = Rect::FromSize(-1080, -200, 1080, 1920), q = Rect::FromSize(0, 0, 2560, 1440);
  const Rect one = Rect::FromSize(0, 0, 1024, 768);
  const std::vector<PlanCase> cases = {
      {"side by side, primary only", &kSideBySide, MonitorsMode::PrimaryOnly, -1, {{a, 0, -1}, {b, -1, -1}}, 1, 0},
      {"side by side, each its own", &kSideBySide, MonitorsMode::EachOwnShow, -1, {{a, 0, -1}, {b, 1, -1}}, 2, 0},
      {"side by side, same show", &kSideBySide, MonitorsMode::SameShow, -1, {{a, 0, -1}, {b, 0, 0}}, 1, 0},
      {"side by side, spanned", &kSideBySide, MonitorsMode::Spanned, -1, {{{0, 0, 3200, 1080}, 0, -1}}, 1, 0},
      {"side by side, the configuration window on the second", &kSideBySide, MonitorsMode::PrimaryOnly, 1,
       {{a, -1, -1}, {b, 0, -1}}, 1, 1},
      {"portrait left, primary only", &kPortraitLeft, MonitorsMode::PrimaryOnly, -1, {{p, -1, -1}, {q, 0, -1}}, 1, 1},
      {"portrait left, each its own", &kPortraitLeft, MonitorsMode::EachOwnShow, -1, {{p, 0, -1}, {q, 1, -1}}, 2, 1},
      {"portrait left, same show", &kPortraitLeft, MonitorsMode::SameShow, -1, {{p, 0, 1}, {q, 0, -1}}, 1, 1},
      {"portrait left, spanned", &kPortraitLeft, MonitorsMode::Spanned, -1, {{{-1080, -200, 2560, 1720}, 0, -1}}, 1, 0},
      {"one monitor, primary only", &kOne, MonitorsMode::PrimaryOnly, -1, {{one, 0, -1}}, 1, 0},
      {"one monitor, each its own", &kOne, MonitorsMode::EachOwnShow, -1, {{one, 0, -1}}, 1, 0},
      {"one monitor, same show", &kOne, MonitorsMode::SameShow, -1, {{one, 0, -1}}, 1, 0},
      {"one monitor, spanned", &kOne, MonitorsMode::Spanned, -1, {{one, 0, -1}}, 1, 0},
      {"a monitor number that names none", &kOne, MonitorsMode::PrimaryOnly, 7, {{one, 0, -1}}, 1, 0},
  };
  for (const PlanCase& c : cases) {
    SCOPED_TRACE(c.name);
    const MonitorPlan plan = PlanMonitors(*c.monitors, c.mode, c.showMonitor);
    ASSERT_EQ(plan.areas.size(), c.areas.size());
    for (size_t i = 0; i < c.areas.size(); ++i) {
      EXPECT_EQ(plan.areas[i].bounds, c.areas[i].bounds) << "area " << i;
      EXPECT_EQ(plan.areas[i].show, c.areas[i].show) << "area " << i;
      EXPECT_EQ(plan.areas[i].mirrorOf, c.areas[i].mirrorOf) << "area " << i;
    }
    EXPECT_EQ(plan.showCount, c.showCount);
    EXPECT_EQ(plan.soundArea, c.soundArea);
  }
}

TEST(MonitorLayout, NoMonitorsFallsBackToTheReportedScreen) {
  const MonitorPlan plan = PlanMonitors({}, MonitorsMode::EachOwnShow, -1, {0, 0, 800, 600});
  ASSERT_EQ(plan.areas.size(), 1u);
  EXPECT_EQ(plan.areas[0].bounds, (Rect{0, 0, 800, 600}));
  EXPECT_EQ(plan.areas[0].show, 0);
  EXPECT_EQ(plan.showCount, 1);
}

TEST(MonitorLayout, StoredValuesOutsideTheChoicesMeanPrimaryOnly) {
  EXPECT_EQ(MonitorsModeOf(0), MonitorsMode::PrimaryOnly);
  EXPECT_EQ(MonitorsModeOf(1), MonitorsMode::EachOwnShow);
  EXPECT_EQ(MonitorsModeOf(2), MonitorsMode::SameShow);
  EXPECT_EQ(MonitorsModeOf(3), MonitorsMode::Spanned);
  EXPECT_EQ(MonitorsModeOf(-1), MonitorsMode::PrimaryOnly);
  EXPECT_EQ(MonitorsModeOf(4), MonitorsMode::PrimaryOnly);
}

TEST(MonitorLayout, PrimaryIsTheFlaggedOneElseTheOneAtTheOrigin) {
  EXPECT_EQ(PrimaryMonitorIndex(kPortraitLeft), 1);
  EXPECT_EQ(PrimaryMonitorIndex({M(-1080, -200, 1080, 1920), M(0, 0, 2560, 1440)}), 1);
  EXPECT_EQ(PrimaryMonitorIndex({M(100, 100, 10, 10), M(200, 200, 10, 10)}), 0);
  EXPECT_EQ(PrimaryMonitorIndex({}), -1);
}

TEST(MonitorLayout, MonitorAtPointsAndGaps) {
  EXPECT_EQ(MonitorAt(kPortraitLeft, -1, -1), 0);     // just left of the origin: the portrait one
  EXPECT_EQ(MonitorAt(kPortraitLeft, 0, 0), 1);
  EXPECT_EQ(MonitorAt(kPortraitLeft, -1080, 1719), 0);  // its last row
  EXPECT_EQ(MonitorAt(kPortraitLeft, 2000, 1600), 1);   // below the landscape one: nearest
  EXPECT_EQ(MonitorAt(kSideBySide, 3199, 1023), 1);
  EXPECT_EQ(MonitorAt(kSideBySide, 3199, 1050), 1);     // the gap under the smaller one
  EXPECT_EQ(MonitorAt({}, 0, 0), -1);
}

TEST(MonitorLayout, MirroredFrameIsFittedAndCentredPerMonitor) {
  // The primary's 1920x1080 frame on a 1280x1024 monitor and on a portrait one.
  EXPECT_EQ(FitCentred(1920, 1080, 1280, 1024), Rect::FromSize(0, 152, 1280, 720));
  EXPECT_EQ(FitCentred(2560, 1440, 1080, 1920), Rect::FromSize(0, 656, 1080, 608));
  EXPECT_EQ(FitCentred(1024, 768, 1024, 768), Rect::FromSize(0, 0, 1024, 768));
  EXPECT_TRUE(FitCentred(0, 768, 1024, 768).Empty());
}

// The mouse rule in virtual-screen coordinates: positions left of and above the primary
// monitor are negative, and -1 is an ordinary position there.
TEST(MonitorLayout, MouseRuleInVirtualCoordinates) {
  struct Move {
    int x, y;
    bool ends;
  };
  const std::vector<std::pair<const char*, std::vector<Move>>> cases = {
      {"recorded at -1,-1, then 3 pixels left",
       {{-1, -1, false}, {-4, -1, true}}},
      {"recorded at -1,-1, then 3 pixels down", {{-1, -1, false}, {-1, 2, true}}},
      {"2 pixels stay on a negative monitor", {{-500, -150, false}, {-502, -148, false}, {-500, -150, false}}},
      {"crossing from the portrait monitor to the primary", {{-2, 10, false}, {1, 10, true}}},
  };
  for (const auto& [name, moves] : cases) {
    SCOPED_TRACE(name);
    ShowInputState in;
    in.MouseIgnoreCount = 0;
    for (const Move& m : moves) EXPECT_EQ(MouseMoveEndsShow(in, m.x, m.y), m.ends) << m.x << "," << m.y;
  }
  // The first five moves never count, however large.
  ShowInputState in;
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(MouseMoveEndsShow(in, -3000 * i, 2000 * i));
  EXPECT_FALSE(MouseMoveEndsShow(in, -1, -1));
  EXPECT_TRUE(MouseMoveEndsShow(in, -1, 3));
}

}  // namespace
}  // namespace kx
