#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "media/jpeg_codec.h"
#include "package/picture_writer.h"
#include "show/fitting.h"
#include "show/show_session.h"
#include "fake_show_host.h"
#include "test_support.h"

namespace kx {
namespace {

using test::FakeShowHost;

// Solid-colour JPEG pictures written into a temporary folder.
class Pictures {
 public:
  std::string Add(const std::string& name, int w, int h, Pixel colour) {
    Bitmap32 b(w, h);
    b.Fill(colour);
    std::vector<uint8_t> jpeg;
    std::string error;
    EncodeJpeg(b, 92, jpeg, error);
    return dir_.Write(name, std::string(jpeg.begin(), jpeg.end()));
  }
  std::string Path(const std::string& name) const { return dir_ / name; }
  std::string Broken(const std::string& name) { return dir_.Write(name, "not a jpeg"); }
  // A living picture of one colour; with snow over it when `snow` is on.
  std::string Living(const std::string& name, int w, int h, Pixel colour, bool snow) {
    Bitmap32 b(w, h);
    b.Fill(colour);
    std::vector<uint8_t> jpeg;
    std::string error;
    EncodeJpeg(b, 92, jpeg, error);
    PictureFileContent c;
    c.picture_jpeg = jpeg;
    c.thumbnail_jpeg = jpeg;
    if (snow) c.weather = TWeatherParam{1, 3, 10, 0, 10, 0};
    EXPECT_TRUE(WritePictureFile(dir_ / name, c, error)) << error;
    return dir_ / name;
  }

 private:
  test::TempDir dir_;
};

TKXCProject ProjectOf(const std::vector<std::string>& paths) {
  TKXCProject p;
  p.FileList.Names = paths;
  p.FileList.Flags.assign(paths.size(), "TRUE");
  p.Setting.Duration = 2;
  p.Setting.TransitionTime = 200;
  return p;
}

// Runs the show's steps for the given simulated seconds; returns the files loaded in order.
std::vector<std::string> RunShowFor(ShowSession& s, FakeShowHost& host, int seconds) {
  std::vector<std::string> loaded = {s.LoadedFile()};
  const uint32_t end = host.now + static_cast<uint32_t>(seconds) * 1000;
  while (host.now < end) {
    s.ShowIdle();
    if (s.LoadedFile() != loaded.back()) loaded.push_back(s.LoadedFile());
  }
  return loaded;
}

// Runs the show until its first transition has run; returns how long the transition
// lasted (the step that ran it, less the one draw that follows it).
uint32_t FirstTransitionLength(ShowSession& s, FakeShowHost& host) {
  for (int guard = 0; guard < 100000 && s.TransitionsRun() == 0; ++guard) {
    const uint32_t before = host.now;
    s.ShowIdle();
    if (s.TransitionsRun() > 0) return host.now - before - host.drawCostMs;
  }
  return 0;
}

class ShowSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { ProcessInputState() = ShowInputState{}; }
  Pictures pics;
};

TEST_F(ShowSessionTest, PictureOrderByImageMode) {
  const std::string a = pics.Add("a.jpg", 64, 48, MakePixel(255, 0, 0));
  const std::string b = pics.Add("b.jpg", 64, 48, MakePixel(0, 255, 0));
  const std::string c = pics.Add("c.jpg", 64, 48, MakePixel(0, 0, 255));
  for (int mode : {1, 3}) {
    TKXCProject p = ProjectOf({a, b, c});
    p.Setting.ShowImageMode = mode;
    FakeShowHost host(320, 240);
    ShowSession s(p, host);
    ASSERT_TRUE(s.FormShow());
    EXPECT_EQ(RunShowFor(s, host, 9), (std::vector<std::string>{a, b, c, a, b})) << mode;
  }
  for (int mode : {0, 2, 7}) {
    TKXCProject p = ProjectOf({a, b, c});
    p.Setting.ShowImageMode = mode;
    FakeShowHost host(320, 240);
    ShowSession s(p, host);
    ASSERT_TRUE(s.FormShow());
    std::vector<std::string> order = RunShowFor(s, host, 30);
    EXPECT_GE(order.size(), 10u);
    for (size_t i = 1; i < order.size(); ++i) EXPECT_NE(order[i], order[i - 1]) << mode;
  }
  // Two pictures in random order alternate strictly.
  TKXCProject two = ProjectOf({a, b});
  FakeShowHost host(320, 240);
  ShowSession s(two, host);
  ASSERT_TRUE(s.FormShow());
  std::vector<std::string> order = RunShowFor(s, host, 20);
  for (size_t i = 2; i < order.size(); ++i) EXPECT_EQ(order[i], order[i - 2]);
}

// Shows on several monitors start at the same moment: seeded again from the same clock,
// every monitor would start with the same picture; the later shows draw from the
// generator the first one seeded, in turn, and so start elsewhere at least sometimes.
TEST_F(ShowSessionTest, ShowsOfOneRunShareOneGenerator) {
  std::vector<std::string> paths;
  for (int i = 0; i < 6; ++i) paths.push_back(pics.Add("p" + std::to_string(i) + ".jpg", 16, 12, MakePixel(0, 0, 0)));
  int differ = 0;
  for (uint32_t clock = 1000; clock < 1010; ++clock) {
    TKXCProject p = ProjectOf(paths);
    FakeShowHost host1(320, 240), host2(200, 100);
    host1.now = host2.now = clock;
    ShowSession first(p, host1), again(p, host2), shared(p, host2);
    ASSERT_TRUE(first.FormShow());
    ASSERT_TRUE(again.FormShow());
    EXPECT_EQ(again.NextFile(), first.NextFile()) << "a second seed from the same clock repeats the picture";
    host1.now = host2.now = clock;
    ASSERT_TRUE(first.FormShow());
    ASSERT_TRUE(shared.FormShow(false));
    if (shared.NextFile() != first.NextFile()) ++differ;
  }
  EXPECT_GT(differ, 3);
}

TEST_F(ShowSessionTest, StayingOnOnePicture) {
  const std::string a = pics.Add("a.jpg", 64, 48, MakePixel(255, 0, 0));
  const std::string b = pics.Add("b.jpg", 64, 48, MakePixel(0, 255, 0));
  struct Case { std::vector<std::string> list; bool autoAdvance; };
  // Key Random off; one picture; the same path twice: never a second load, no transition.
  for (const Case& c : {Case{{a, b}, false}, Case{{a}, true}, Case{{a, a}, true}}) {
    TKXCProject p = ProjectOf(c.list);
    p.Setting.Random = c.autoAdvance;
    p.Setting.ShowImageMode = 1;
    FakeShowHost host(320, 240);
    ShowSession s(p, host);
    ASSERT_TRUE(s.FormShow());
    EXPECT_EQ(RunShowFor(s, host, 12).size(), 1u);
    EXPECT_EQ(s.TransitionsRun(), 0);
    EXPECT_GT(host.draws, 300);  // still drawn every step
  }
}

TEST_F(ShowSessionTest, APictureThatFailsIsSkippedAtOnce) {
  const std::string a = pics.Add("a.jpg", 64, 48, MakePixel(255, 0, 0));
  const std::string bad = pics.Broken("bad.jpg");
  const std::string c = pics.Add("c.jpg", 64, 48, MakePixel(0, 0, 255));
  TKXCProject p = ProjectOf({a, bad, c, pics.Path("missing.kxp")});
  p.Setting.ShowImageMode = 1;
  FakeShowHost host(320, 240);
  ShowSession s(p, host);
  ASSERT_TRUE(s.FormShow());
  const uint32_t start = host.now;
  while (s.LoadedFile() == a) s.ShowIdle();
  // The broken picture cost one step: c follows 2 s after a, not 4 s.
  EXPECT_EQ(s.LoadedFile(), c);
  EXPECT_LT(host.now - start, 2600u);
}

TEST_F(ShowSessionTest, FirstPictureFailingLeavesABlackWindowThatCloses) {
  const std::string bad = pics.Broken("bad.jpg");
  TKXCProject p = ProjectOf({bad});
  FakeShowHost host(320, 240);
  ShowSession s(p, host);
  EXPECT_TRUE(s.FormShow());
  s.ShowIdle();
  EXPECT_EQ(s.Screen().GetPixel(160, 120), MakePixel(0, 0, 0));
  s.MouseDown();
  EXPECT_EQ(host.closeRequests, 1);
}

TEST_F(ShowSessionTest, AFailedPictureChangesNothingOnTheScreen) {
  const Pixel red = MakePixel(255, 0, 0), green = MakePixel(0, 255, 0);
  const std::string still = pics.Add("red.jpg", 64, 48, red);
  const std::string living = pics.Living("green.kxp", 64, 48, green, false);
  const std::string broken = pics.Broken("broken.kxp");
  const std::string missing = pics.Path("missing.kxp");
  auto isRed = [](Pixel p) { return PixelR(p) > 200 && PixelG(p) < 60; };
  auto isGreen = [](Pixel p) { return PixelG(p) > 200 && PixelR(p) < 60; };
  struct Case { std::vector<std::string> list; bool transitions; };
  // A still picture, then a living one, each followed by pictures that fail; the still
  // picture again after the living one (its objects and animation stop).
  for (const Case& c : {Case{{still, missing}, true}, Case{{still, broken, living, missing, still, broken}, true},
                        Case{{living, broken, still, missing}, false}}) {
    TKXCProject p = ProjectOf(c.list);
    p.Setting.ShowImageMode = 1;
    p.Setting.Transition = c.transitions;
    FakeShowHost host(320, 240);
    ShowSession s(p, host);
    ASSERT_TRUE(s.FormShow());
    std::vector<std::string> shown;
    const uint32_t end = host.now + 14000;
    while (host.now < end) {
      s.ShowIdle();
      if (shown.empty() || shown.back() != s.LoadedFile()) shown.push_back(s.LoadedFile());
      // Between pictures the screen always shows the picture that was loaded last.
      const Pixel centre = s.Screen().GetPixel(160, 120);
      if (s.LoadedFile() == still)
        ASSERT_TRUE(s.IsStillPicture() && isRed(centre)) << shown.size();
      else
        ASSERT_TRUE(!s.IsStillPicture() && isGreen(centre)) << shown.size();
    }
    EXPECT_GT(s.LoadsFailed(), 0);
    EXPECT_GE(shown.size(), c.list.size() > 2 ? 4u : 1u);
  }
}

TEST_F(ShowSessionTest, AFirstPictureThatFailsIsSkippedAtOnce) {
  const std::string bad = pics.Broken("bad.jpg");
  const std::string a = pics.Add("a.jpg", 64, 48, MakePixel(255, 0, 0));
  for (bool autoAdvance : {true, false}) {
    TKXCProject p = ProjectOf({bad, pics.Path("missing.kxp"), a});
    p.Setting.ShowImageMode = 1;
    p.Setting.Random = autoAdvance;
    FakeShowHost host(320, 240);
    ShowSession s(p, host);
    ASSERT_TRUE(s.FormShow());
    EXPECT_EQ(s.LoadedFile(), "");
    const uint32_t start = host.now;
    for (int i = 0; i < 3 && s.LoadedFile().empty(); ++i) s.ShowIdle();
    EXPECT_EQ(s.LoadedFile(), a);
    EXPECT_LT(host.now - start, 1000u);  // one step and a transition, not a Duration
    // Once shown, a picture stays its Duration (or for ever without AutoAdvance).
    RunShowFor(s, host, 1);
    EXPECT_EQ(s.LoadsFailed(), 2);
  }
}

TEST_F(ShowSessionTest, WhenEveryPictureFailsTheShowWaitsADuration) {
  TKXCProject p = ProjectOf({pics.Broken("a.jpg"), pics.Broken("b.jpg"), pics.Path("c.kxp")});
  p.Setting.Duration = 2;
  FakeShowHost host(320, 240);
  ShowSession s(p, host);
  ASSERT_TRUE(s.FormShow());
  RunShowFor(s, host, 10);
  // Three tries at the start and three every 2 s: not one per step.
  EXPECT_LE(s.LoadsFailed(), 3 * 6 + 3);
  EXPECT_GE(s.LoadsFailed(), 3 * 4);
  EXPECT_EQ(s.Screen().GetPixel(160, 120), MakePixel(0, 0, 0));
}

TEST_F(ShowSessionTest, TransitionIntoALivingPictureStartsFromAComposedFrame) {
  const std::string a = pics.Add("a.jpg", 64, 48, MakePixel(255, 0, 0));
  const std::string living = pics.Living("snow.kxp", 64, 48, MakePixel(0, 200, 0), true);
  for (bool directx : {false, true}) {
    TKXCProject p = ProjectOf({a, living});
    p.Setting.ShowImageMode = 1;
    p.Setting.TransitionTime = 2000;
    p.Setting.DirectX = directx;
    FakeShowHost host(320, 240);
    host.drawCostMs = 6;
    ShowSession s(p, host);
    int greenAtFrame0 = -1;
    host.onDraw = [&](const Bitmap32&) {
      if (!s.InTransition() || s.LastFrameCount() != 0 || greenAtFrame0 >= 0) return;
      // Frame 0 reads the new picture as the animation composed it, snow over green.
      const Bitmap32& next = s.TransitionNewBitmap();
      greenAtFrame0 = 0;
      for (int x = 0; x < next.Width(); ++x)
        greenAtFrame0 += PixelG(next.GetPixel(x, next.Height() / 2)) > 150 ? 1 : 0;
      greenAtFrame0 = greenAtFrame0 * 100 / next.Width();
    };
    ASSERT_TRUE(s.FormShow());
    const uint32_t length = FirstTransitionLength(s, host);
    EXPECT_EQ(s.LoadedFile(), living);
    EXPECT_GE(greenAtFrame0, 90) << directx;
    EXPECT_GE(length, 1700u) << directx;
    EXPECT_LE(length, 2300u) << directx;
  }
}

TEST_F(ShowSessionTest, DirectDrawPresentsAStillPictureOnceAndFallsBackToTheCanvas) {
  TKXCProject p = ProjectOf({pics.Add("a.jpg", 64, 48, MakePixel(255, 0, 0))});
  p.Setting.DirectX = true;
  p.Setting.DirectXQuality = 1;
  FakeShowHost host(320, 240);
  ShowSession s(p, host);
  ASSERT_TRUE(s.FormShow());
  RunShowFor(s, host, 5);
  EXPECT_EQ(host.surfaceDraws, 1);
  EXPECT_EQ(host.draws, 0);
  EXPECT_GT(host.sleeps, 100);  // the steps still keep their pace
  host.surfaceLost = true;      // the display changed: presented again
  s.ShowIdle();
  EXPECT_EQ(host.surfaceDraws, 2);
  host.surfaceLost = false;
  RunShowFor(s, host, 1);
  EXPECT_EQ(host.surfaceDraws, 2);
  // Presenting fails: the rest of the show draws on the canvas, fitted for it.
  host.surfaceFailed = true;
  RunShowFor(s, host, 1);
  EXPECT_FALSE(s.UseDirectX());
  EXPECT_GT(host.draws, 20);
  EXPECT_EQ(host.surfaceDraws, 2);
  EXPECT_EQ(s.DrawWidth(), 320);
  EXPECT_EQ(PixelR(s.Screen().GetPixel(160, 120)) > 200, true);
  // A failure during a transition ends it; the canvas takes over.
  TKXCProject two = ProjectOf({pics.Add("b.jpg", 64, 48, MakePixel(0, 0, 255)), pics.Path("a.jpg")});
  two.Setting.DirectX = true;
  two.Setting.ShowImageMode = 1;
  FakeShowHost h2(320, 240);
  h2.surfaceFailsAfter = 5;
  ShowSession t(two, h2);
  ASSERT_TRUE(t.FormShow());
  RunShowFor(t, h2, 4);
  EXPECT_EQ(t.TransitionsRun(), 1);
  EXPECT_FALSE(t.UseDirectX());
  EXPECT_EQ(PixelR(t.Screen().GetPixel(160, 120)) > 200, true);
}

TEST_F(ShowSessionTest, NothingSelectedReportsAndStaysBlack) {
  TKXCProject p = ProjectOf({pics.Add("a.jpg", 64, 48, MakePixel(255, 0, 0))});
  p.FileList.Flags = {"FALSE"};
  FakeShowHost host(320, 240);
  ShowSession s(p, host);
  EXPECT_FALSE(s.FormShow());
  EXPECT_EQ(host.errors, (std::vector<std::string>{"Unable to run screensaver.\r\nPlease configure!"}));
  s.ShowIdle();
  EXPECT_EQ(host.draws, 0);
}

TEST_F(ShowSessionTest, TransitionsLastTheirTimeWhateverTheFramesCost) {
  const std::string a = pics.Add("a.jpg", 64, 48, MakePixel(255, 0, 0));
  const std::string b = pics.Add("b.jpg", 64, 48, MakePixel(0, 255, 0));
  struct Case { uint32_t first, cost; };
  // Steady frames of 2, 6 and 20 ms; a frame 0 three times dearer, or a third as dear.
  for (const Case& c : {Case{2, 2}, Case{6, 6}, Case{20, 20}, Case{18, 6}, Case{60, 20}, Case{2, 6}, Case{7, 20}}) {
    TKXCProject p = ProjectOf({a, b});
    p.Setting.ShowImageMode = 1;
    p.Setting.TransitionTime = 2000;
    p.Setting.TransitionEffects = "1";
    FakeShowHost host(320, 240);
    host.drawCostMs = c.cost;
    ShowSession s(p, host);
    host.onDraw = [&](const Bitmap32&) {
      if (s.InTransition() && s.LastFrameCount() == 0) host.drawCosts.push_front(c.first);
    };
    ASSERT_TRUE(s.FormShow());
    const uint32_t length = FirstTransitionLength(s, host);
    EXPECT_GE(length, 1700u) << c.first << " " << c.cost;
    EXPECT_LE(length, 2300u) << c.first << " " << c.cost;
    EXPECT_EQ(s.LoadedFile(), b);
    EXPECT_LE(s.LastFrameCount(), 100);
    EXPECT_GE(s.LastFrameCount(), std::min(90, 2000 / static_cast<int>(c.cost) / 2)) << c.cost;
    // The last frame is the whole new picture.
    EXPECT_EQ(PixelG(s.Screen().GetPixel(160, 120)) > 200, true);
    EXPECT_EQ(s.LastEffect(), 1);
  }
  // A clock that moves in 16 ms steps (the default timer period of Windows) with frames
  // cheaper than one step.
  for (uint32_t cost : {2u, 6u, 20u}) {
    TKXCProject p = ProjectOf({a, b});
    p.Setting.TransitionTime = 2000;
    FakeShowHost host(320, 240);
    host.drawCostMs = cost;
    host.tickQuantum = 16;
    ShowSession s(p, host);
    ASSERT_TRUE(s.FormShow());
    const uint32_t length = FirstTransitionLength(s, host);
    EXPECT_GE(length, 1700u) << cost;
    EXPECT_LE(length, 2300u) << cost;
  }
  // No time, or a frame 0 dearer than the whole time: frame 0 alone.
  for (const auto& [time, cost] : {std::pair{0, 5u}, std::pair{50, 60u}}) {
    TKXCProject p = ProjectOf({a, b});
    p.Setting.TransitionTime = time;
    FakeShowHost host(320, 240);
    host.drawCostMs = cost;
    ShowSession s(p, host);
    ASSERT_TRUE(s.FormShow());
    RunShowFor(s, host, 3);
    ASSERT_EQ(s.TransitionsRun(), 1) << time;
    EXPECT_EQ(s.LastFrameCount(), 0) << time;
  }
  // A clock that stops during the transition still lets it end.
  {
    TKXCProject p = ProjectOf({a, b});
    p.Setting.TransitionTime = 2000;
    FakeShowHost host(320, 240);
    ShowSession s(p, host);
    host.onDraw = [&](const Bitmap32&) { host.frozen = s.InTransition(); };
    ASSERT_TRUE(s.FormShow());
    RunShowFor(s, host, 3);
    EXPECT_EQ(s.TransitionsRun(), 1);
    EXPECT_FALSE(s.InTransition());
  }
  // Transitions off: the screen is blackened and the next picture drawn without frames.
  TKXCProject p = ProjectOf({a, b});
  p.Setting.Transition = false;
  FakeShowHost host(320, 240);
  ShowSession s(p, host);
  ASSERT_TRUE(s.FormShow());
  RunShowFor(s, host, 3);
  EXPECT_EQ(s.TransitionsRun(), 0);
  EXPECT_EQ(host.blackFills, 1);
}

// Two shows in one loop (two monitors) with stepped transitions: a step of one returns while
// its transition runs, the other keeps stepping meanwhile, and each transition still lasts
// its time on the one clock they share.
TEST_F(ShowSessionTest, SteppedTransitionsLetAnotherShowGoOn) {
  const std::string a = pics.Add("a.jpg", 64, 48, MakePixel(255, 0, 0));
  const std::string b = pics.Add("b.jpg", 64, 48, MakePixel(0, 255, 0));
  TKXCProject p = ProjectOf({a, b});
  p.Setting.ShowImageMode = 1;
  p.Setting.Duration = 1;
  p.Setting.TransitionTime = 2000;
  FakeShowHost h1(320, 240), h2(200, 150);
  h1.drawCostMs = h2.drawCostMs = 6;
  ShowSession s1(p, h1), s2(p, h2);
  s1.SetSteppedTransitions(true);
  s2.SetSteppedTransitions(true);
  ASSERT_TRUE(s1.FormShow());
  ASSERT_TRUE(s2.FormShow());
  uint32_t started = 0, ended = 0;
  int otherSteps = 0, longestStep = 0;
  for (int guard = 0; guard < 100000 && ended == 0; ++guard) {
    const uint32_t before = h1.now;
    const bool was = s1.InTransition();
    s1.ShowIdle();
    h2.now = h1.now = std::max(h1.now, h2.now);
    longestStep = std::max(longestStep, static_cast<int>(h1.now - before));
    if (!was && s1.InTransition()) started = before;
    if (was && !s1.InTransition()) ended = h1.now;
    const int drawsBefore = h2.draws;
    s2.ShowIdle();
    h2.now = h1.now = std::max(h1.now, h2.now);
    if (s1.InTransition() && h2.draws > drawsBefore) ++otherSteps;
  }
  ASSERT_GT(ended, 0u);
  EXPECT_GE(ended - started, 1700u);
  EXPECT_LE(ended - started, 2300u);
  EXPECT_GT(otherSteps, 30);      // the other monitor drew all along
  EXPECT_LE(longestStep, 100);    // no step waited for a whole transition
  EXPECT_EQ(s1.LoadedFile(), b);
  EXPECT_EQ(PixelG(s1.Screen().GetPixel(160, 120)) > 200, true);
}

// Stretch off and a picture larger than the screen: the session draws it at its own size at
// negative offsets that keep its middle visible, halved with truncation toward zero.
TEST_F(ShowSessionTest, LargerPictureAtItsOwnSizeKeepsItsMiddleVisible) {
  TKXCProject p = ProjectOf({pics.Add("large.jpg", 601, 401, MakePixel(250, 250, 250))});
  p.Setting.Stretch = false;
  p.Setting.Proportional = false;
  p.Setting.DirectX = false;
  FakeShowHost host(320, 240);
  ShowSession s(p, host);
  ASSERT_TRUE(s.FormShow());
  s.ShowIdle();
  EXPECT_EQ(s.DrawWidth(), 601);
  EXPECT_EQ(s.DrawHeight(), 401);
  EXPECT_EQ(host.lastX, -140);  // (320 - 601) div 2: -140.5 truncated, not -141
  EXPECT_EQ(host.lastY, -80);   // (240 - 401) div 2
}

TEST_F(ShowSessionTest, StillPictureFittedAndCentredOnTheScreen) {
  // 200x100 on 320x240 with Stretch and Proportional: full width, centred vertically.
  TKXCProject p = ProjectOf({pics.Add("wide.jpg", 200, 100, MakePixel(250, 250, 250))});
  p.Setting.Proportional = true;
  p.Setting.DirectX = false;
  FakeShowHost host(320, 240);
  ShowSession s(p, host);
  ASSERT_TRUE(s.FormShow());
  s.ShowIdle();
  EXPECT_EQ(s.DrawWidth(), 320);
  EXPECT_EQ(s.DrawHeight(), 160);
  EXPECT_EQ(host.lastY, 40);
  EXPECT_EQ(PixelR(s.Screen().GetPixel(160, 120)) > 200, true);
  EXPECT_EQ(s.Screen().GetPixel(160, 20), MakePixel(0, 0, 0));
  // With DirectDraw the picture fills the quality size, and the screen.
  p.Setting.DirectX = true;
  p.Setting.DirectXQuality = 2;
  FakeShowHost dx(320, 240);
  ShowSession d(p, dx);
  ASSERT_TRUE(d.FormShow());
  d.ShowIdle();
  EXPECT_TRUE(d.UseDirectX());
  EXPECT_EQ(dx.surfaceW, 640);
  EXPECT_EQ(dx.surfaceH, 480);
  EXPECT_EQ(d.DrawWidth(), 320);
  // DirectDraw that cannot start falls back to the canvas silently.
  FakeShowHost nodx(320, 240);
  nodx.directDrawWorks = false;
  ShowSession n(p, nodx);
  ASSERT_TRUE(n.FormShow());
  n.ShowIdle();
  EXPECT_FALSE(n.UseDirectX());
  EXPECT_GT(nodx.draws, 0);
  EXPECT_TRUE(nodx.errors.empty());
}

TEST(Fitting, RulesOfTheStillPicture) {
  struct Case { Size pic, screen; bool dx; int q; bool stretch, prop; Size draw, frame; };
  const Case cases[] = {
      {{2000, 500}, {1024, 768}, false, 0, true, true, {1024, 256}, {1024, 256}},   // wider than the screen
      {{800, 600}, {1024, 768}, false, 0, true, true, {1024, 768}, {1024, 768}},    // same aspect: height rule
      {{600, 800}, {1024, 768}, false, 0, true, true, {576, 768}, {576, 768}},
      {{3000, 2000}, {1024, 768}, false, 0, false, false, {3000, 2000}, {0, 0}},    // own size, centred
      {{500, 500}, {1024, 768}, false, 0, true, false, {1024, 768}, {1024, 768}},
      {{500, 500}, {1920, 1080}, true, 0, false, false, {1920, 1080}, {1024, 768}}, // DirectX ignores Stretch
      {{500, 500}, {1920, 1080}, true, 1, true, true, {1920, 1080}, {800, 600}},
      {{500, 500}, {1920, 1080}, true, 2, true, true, {1920, 1080}, {640, 480}},
      {{500, 500}, {1920, 1080}, true, 5, true, true, {1920, 1080}, {0, 0}},
  };
  for (const Case& c : cases) {
    StillFit f = FitStillPicture(c.pic, c.screen, c.dx, c.q, c.stretch, c.prop);
    EXPECT_EQ(f.draw, c.draw) << c.pic.width << "x" << c.pic.height;
    EXPECT_EQ(f.frame, c.frame) << c.pic.width << "x" << c.pic.height;
  }
  EXPECT_TRUE(IsStillPicturePath("C:\\w\\a.JPG"));
  EXPECT_TRUE(IsStillPicturePath("b.gif"));
  EXPECT_FALSE(IsStillPicturePath("photo.jpeg"));  // a living picture
  EXPECT_FALSE(IsStillPicturePath("KXImage0.kxp"));
}

TEST(Fitting, LivingPictureRescalesItsWaveValues) {
  TProject r;
  r.Picture.SetSize(400, 300);
  r.RegionMask.SetSize(400, 300);
  r.WaveParams[0].Amplitude = 6;
  r.WaveParams[0].JitterRange = 3;
  r.WaveValues[0] = 15;
  ResizeLivingPicture(true, r, 1024, 600);  // proportional: 800 x 600
  EXPECT_EQ(r.Picture.Width(), 800);
  EXPECT_EQ(r.Picture.Height(), 600);
  EXPECT_EQ(r.RegionMask.Width(), 800);
  EXPECT_EQ(r.WaveParams[0].Amplitude, 12);
  EXPECT_EQ(r.WaveParams[0].JitterRange, 6);
  EXPECT_EQ(r.WaveValues[0], 60);
  ResizeLivingPicture(false, r, 1000, 600);  // 1.25 x 1: amplitude 12 * 1.25 = 15
  EXPECT_EQ(r.WaveParams[0].Amplitude, 15);
  EXPECT_EQ(r.WaveValues[0], 75);
}

TEST_F(ShowSessionTest, MouseAndKeyRules) {
  TKXCProject p = ProjectOf({pics.Add("a.jpg", 64, 48, MakePixel(255, 0, 0))});
  FakeShowHost host(320, 240);
  ShowSession s(p, host);
  ASSERT_TRUE(s.FormShow());
  for (int i = 0; i < 5; ++i) s.MouseMove(i * 500, 0);  // the first five are ignored
  EXPECT_EQ(host.closeRequests, 0);
  s.MouseMove(1000, 1000);  // only records the position
  s.MouseMove(1002, 998);   // 2 pixels stay
  EXPECT_EQ(host.closeRequests, 0);
  s.MouseMove(1005, 998);   // 3 pixels close
  EXPECT_EQ(host.closeRequests, 1);
  EXPECT_TRUE(s.CloseQuery());
  EXPECT_EQ(ProcessInputState().MouseIgnoreCount, 5);  // the next five are ignored again
  s.KeyDown(0x10);  // Shift
  s.KeyDown(0x25);  // an arrow
  s.KeyDown(0x70);  // F1 toggles and never closes
  EXPECT_TRUE(ProcessInputState().F1Toggle);
  s.KeyDown(0x70);
  EXPECT_FALSE(ProcessInputState().F1Toggle);
  EXPECT_EQ(host.closeRequests, 1);
  s.KeyPress(' ');
  s.MouseDown();
  EXPECT_EQ(host.closeRequests, 3);
}

TEST(ShowProject, PreparationAndTheSinglePictureShow) {
  test::TempDir dir;
  auto where = UserSettingsLocation::For(dir / "Garden.scr", "");
  TKXCProject empty;
  EXPECT_FALSE(PrepareShowProject(empty, where));
  TKXCProject p;
  p.FileList.Names = {"a", "b"};
  p.FileList.Flags = {"FALSE", "FALSE"};
  p.Setting.Stretch = false;
  p.Setting.DirectXQuality = 2;
  ASSERT_TRUE(PrepareShowProject(p, where));
  EXPECT_EQ(p.FileList.Flags, (std::vector<std::string>{"TRUE", "TRUE"}));
  // The one-picture project takes the fitting settings; a settings file written for the
  // whole package that unchecks picture 0 leaves it with nothing to show.
  TKXCProject one = SinglePictureProject(p, "x.jpg");
  EXPECT_EQ(one.FileList.Names, (std::vector<std::string>{"x.jpg"}));
  EXPECT_FALSE(one.Setting.Stretch);
  EXPECT_FALSE(one.Setting.Music);
  dir.Write("Garden.ini", "[Setting]\r\nImageMode=2\r\n[Files]\r\n0=\r\n");
  ASSERT_TRUE(PrepareShowProject(one, where));
  FakeShowHost host(320, 240);
  ShowSession s(one, host);
  EXPECT_FALSE(s.FormShow());
  EXPECT_EQ(host.errors.size(), 1u);
}

}  // namespace
}  // namespace kx
