#include "anim/anim_objects.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <set>
#include <thread>

#include "../test_support.h"
#include "anim/anim_engine.h"
#include "anim/gif_object.h"
#include "anim/img_object.h"
#include "anim/overlay_draw.h"
#include "anim_test_support.h"
#include "media/gif_test_util.h"
#include "media/random.h"

namespace kx {
namespace {

using test::FakeClock;

// A 24-bit bottom-up BMP file of w x h pixels, colour of pixel (x, y) from `color`.
template <class F>
std::string BmpFile(int w, int h, F color) {
  const int stride = (w * 3 + 3) & ~3;
  const int size = 54 + stride * h;
  std::string b(size, '\0');
  auto le = [&](int off, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b[off + i] = static_cast<char>((v >> (8 * i)) & 255);
  };
  b[0] = 'B';
  b[1] = 'M';
  le(2, size, 4);
  le(10, 54, 4);
  le(14, 40, 4);
  le(18, w, 4);
  le(22, h, 4);
  le(26, 1, 2);
  le(28, 24, 2);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Pixel p = color(x, y);
      const int o = 54 + (h - 1 - y) * stride + x * 3;
      b[o] = static_cast<char>(PixelB(p));
      b[o + 1] = static_cast<char>(PixelG(p));
      b[o + 2] = static_cast<char>(PixelR(p));
    }
  return b;
}

// An object with no image (w = h = 0) placed in a 400 x 300 picture.
struct Bare : TAnimObject {
  explicit Bare(FakeClock& c) { SetClock(c.Fn()); SetFrame(400, 300, 400, 300); }
  void Size(int w, int h) { SetImageSize(w, h); }
};

TEST(AnimObjectTest, OpacityGivesMasterAlpha) {
  struct Case { int opacity, alpha; };
  for (const Case c : {Case{0, 0}, Case{5, 128}, Case{1, 26}, Case{10, 255}, Case{20, 255}, Case{-3, 0}})
    EXPECT_EQ(TAnimObject::MasterAlphaOf(c.opacity), c.alpha) << c.opacity;
  EXPECT_EQ(TGifObject::PlaySpeedPercent(10), 100);
  EXPECT_EQ(TGifObject::PlaySpeedPercent(12), 200);
  EXPECT_EQ(TGifObject::PlaySpeedPercent(5), 50);
}

TEST(AnimObjectTest, DisplayTiming) {
  FakeClock clock;
  {
    Bare o(clock);
    o.DisplaySec = 3;
    o.Start(false);
    EXPECT_FALSE(o.TakeView().Visible);
    clock.Advance(2999);
    o.MotionStep();
    EXPECT_FALSE(o.TakeView().Visible);
    clock.Advance(1);
    o.MotionStep();
    EXPECT_TRUE(o.TakeView().Visible);
  }
  // Type 1, shown at once for 5 seconds, then never again without Redisplay; with it (and
  // ResetPos) a new period starts in the same step, visible at once as DisplaySec is 0.
  for (bool redisplay : {false, true}) {
    Bare o(clock);
    o.DisplayDurationType = 1;
    o.DisplayDurationSec = 5;
    o.Redisplay = redisplay;
    o.Start(false);
    EXPECT_TRUE(o.TakeView().Visible);
    clock.Advance(4999);
    o.MotionStep();
    EXPECT_TRUE(o.TakeView().Visible);
    clock.Advance(1);
    o.MotionStep();
    EXPECT_EQ(o.TakeView().Visible, redisplay);
    clock.Advance(100000);
    o.MotionStep();
    EXPECT_EQ(o.TakeView().Visible, redisplay) << redisplay;
  }
}

TEST(AnimObjectTest, StartPositionRules) {
  FakeClock clock;
  Bare o(clock);
  o.MotionAreaType = 1;
  o.MoveAreaRectleft = 0;
  o.MoveAreaRecttop = 10;
  o.MoveAreaRectright = 400;
  o.MoveAreaRectbottom = 210;
  struct Case { int rule; double x; };
  for (const Case c : {Case{0, 77}, Case{1, 0}, Case{2, 400}, Case{3, 200}, Case{9, 77}}) {
    o.PosLeftType = c.rule;
    o.PosLeft = 77;
    o.Start(false);
    EXPECT_EQ(o.UnguardedState().X, c.x) << c.rule;
  }
  // Rule 5 starts outside the area: a draw r below the middle gives -r, else 800 - r.
  o.PosLeftType = 5;
  int left = 0, right = 0;
  for (uint32_t t = 0; t < 300; ++t) {
    clock.now = 5000 + t * 7919;
    o.Start(false);
    const double x = o.UnguardedState().X;
    if (x <= 0) {
      EXPECT_GT(x, -200);
      ++left;
    } else {
      EXPECT_GT(x, 400);
      EXPECT_LE(x, 600);
      ++right;
    }
  }
  EXPECT_GT(left, 50);
  EXPECT_GT(right, 50);
  // RestrictArea keeps the image inside: the area shrinks by half the image.
  o.Size(40, 20);
  o.PosLeftType = 1;
  o.PosTopType = 2;
  o.Start(false);
  EXPECT_EQ(o.UnguardedState().X, 20);
  EXPECT_EQ(o.UnguardedState().Y, 200);
  o.RestrictArea = false;
  o.Start(false);
  EXPECT_EQ(o.UnguardedState().X, -20);
  EXPECT_EQ(o.UnguardedState().Y, 220);
}

// Objects started in the same tick with random starts move apart: each draws its own
// numbers (a flock of birds does not show as one bird).
TEST(AnimObjectTest, ObjectsStartedTogetherMoveApart) {
  for (int motion : {1, 2, 9}) {
    FakeClock clock;
    Bare first(clock), second(clock);
    first.Number = 0;
    second.Number = 1;
    for (Bare* o : {&first, &second}) {
      o->Motion = motion;
      o->PosLeftType = 4;
      o->PosTopType = 4;
      o->MotionSpeed = 50;
      o->Start(false);
    }
    int apart = 0;
    for (int i = 0; i < 100; ++i) {
      first.MotionStep();
      second.MotionStep();
      const auto& a = first.UnguardedState();
      const auto& b = second.UnguardedState();
      if (std::abs(a.X - b.X) > 1 || std::abs(a.Y - b.Y) > 1) ++apart;
    }
    EXPECT_GE(apart, 90) << motion;
  }
}

// Motion 5 with InitialDir 2 always travels right and re-enters at the left.
TEST(AnimObjectTest, OneWayTravelWrapsAround) {
  FakeClock clock;
  Bare o(clock);
  o.Motion = 5;
  o.InitialDir = 2;
  o.MotionSpeed = 100;
  o.PosLeftType = 3;
  o.Start(false);
  double prev = o.UnguardedState().X;
  int wraps = 0, forward = 0;
  for (int i = 0; i < 3000; ++i) {
    o.MotionStep();
    const double x = o.UnguardedState().X;
    if (x < prev - 100) ++wraps;
    else {
      EXPECT_GE(x, prev) << i;
      ++forward;
    }
    // The wander point may pass an edge by one step (at most 10 pixels at this speed).
    EXPECT_GE(x, -10);
    EXPECT_LE(x, 410);
    prev = x;
  }
  EXPECT_GE(wraps, 2);
}

// Facing: an object looking right is mirrored while it travels left (DirFlip on).
TEST(AnimObjectTest, FacingMirrorsByDirection) {
  FakeClock clock;
  for (int facing : {1, 0, 2}) {
    Bare o(clock);
    o.Motion = 3;
    o.InitialDir = 1;  // starts to the left
    o.MotionSpeed = 50;
    o.DirFlip = true;
    o.ObjFacing = facing;
    o.PosLeftType = 3;
    o.Start(false);
    for (int i = 0; i < 5; ++i) o.MotionStep();
    EXPECT_EQ(o.TakeView().Mirrored, facing == 1) << facing;
  }
}

TEST(AnimObjectTest, CircleStaysOnItsEllipse) {
  FakeClock clock;
  Bare o(clock);
  o.Motion = 7;
  o.Start(false);
  for (int i = 0; i < 400; ++i) {
    o.MotionStep();
    const auto& s = o.UnguardedState();
    const double u = (s.X - 200) / 200, v = (s.Y - 150) / 150;
    EXPECT_NEAR(u * u + v * v, 1.0, 1e-9);
  }
}

TEST(AnimObjectsTest, ReadsSectionsByListPosition) {
  TAnimObjects list;
  list.LoadFromText(
      "[Obj0]\nObjType=IMG\nMotion=3\nOpacity=5\nFilename=a.bmp\n"
      "[Obj1]\nObjType=TXT\nMotion=4\n"
      "[Obj2]\nObjType=GIF\nMotion=7\nAnimSpeed=12\n");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_NE(dynamic_cast<TImgObject*>(&list[0]), nullptr);
  EXPECT_EQ(list[0].Motion, 3);
  EXPECT_EQ(list[0].Opacity, 5);
  EXPECT_EQ(list[0].Filename(), "a.bmp");
  // The GIF object is second in the list and reads [Obj1].
  auto* gif = dynamic_cast<TGifObject*>(&list[1]);
  ASSERT_NE(gif, nullptr);
  EXPECT_EQ(gif->Motion, 4);
  EXPECT_EQ(gif->AnimSpeed, 10);
  EXPECT_EQ(gif->RefreshFrame, false);
  EXPECT_EQ(gif->WidthSize, 100);
  list.LoadFromText("");
  EXPECT_EQ(list.Count(), 0);
}

// An IMG object: the bottom-left colour is the key; other pixels blend with the opacity;
// the engine draws it stretched by the fitting and mirrored while it faces the other way.
TEST(AnimObjectsTest, ImageObjectDrawnIntoTheComposite) {
  RandomStateGuard guard;
  test::TempDir dir;
  const Pixel key = MakePixel(0, 255, 0), red = MakePixel(255, 0, 0);
  dir.Write("obj.bmp", BmpFile(4, 2, [&](int x, int y) { return (x == 0 && y == 1) || x == 3 ? key : red; }));
  FakeClock clock;
  TProject record;
  test::MakeLivingPicture(record, 40, 20, 0, 0, 0);
  record.Picture.Fill(MakePixel(0, 0, 200));
  TAnimObjects list;
  list.LoadFromText("[Obj0]\nObjType=IMG\nFilename=elsewhere/obj.bmp\nPosLeft=10\nPosTop=8\nOpacity=5\n");
  list.ResolvePaths(dir.path());
  TAnimEngine engine;
  engine.SetClock(clock.Fn());
  // The picture was 20 x 10 in its file: objects are placed at twice their coordinates.
  engine.Attach(record, &list, 20, 10);
  engine.Prepare(false);
  auto& img = static_cast<TImgObject&>(list[0]);
  ASSERT_TRUE(img.Loaded());
  EXPECT_EQ(img.KeyColor(), key);
  clock.Advance(40);
  engine.Step();
  const Bitmap32& out = engine.Output();
  ASSERT_EQ(&out, &engine.Composite());
  // Left = round(2 * (10 - 2)) = 16, Top = round(2 * (8 - 1)) = 14; drawn 8 x 4.
  const Pixel blended = out.GetPixel(18, 14);
  EXPECT_EQ(PixelR(blended), 255 * 128 / 255);
  EXPECT_EQ(PixelB(blended), 200 * 127 / 255);
  EXPECT_EQ(PixelA(blended), 128);
  EXPECT_EQ(out.GetPixel(22, 14), record.Picture.GetPixel(22, 14));  // key column: left alone
  EXPECT_EQ(out.GetPixel(16, 16), record.Picture.GetPixel(16, 16));  // image (0, 1)
  EXPECT_EQ(out.GetPixel(10, 5), record.Picture.GetPixel(10, 5));
}

// An object looking right that travels left is drawn mirrored.
TEST(AnimObjectsTest, MirroredImageIsFlipped) {
  RandomStateGuard guard;
  test::TempDir dir;
  const Pixel key = MakePixel(0, 255, 0), red = MakePixel(255, 0, 0);
  dir.Write("obj.bmp", BmpFile(4, 2, [&](int x, int y) { return (x == 0 && y == 1) || x == 3 ? key : red; }));
  FakeClock clock;
  TProject record;
  test::MakeLivingPicture(record, 60, 20, 0, 0, 0);
  record.Picture.Fill(MakePixel(0, 0, 200));
  TAnimObjects list;
  list.LoadFromText("[Obj0]\nObjType=IMG\nFilename=" + dir.path() +
                    "obj.bmp\nPosLeftType=3\nPosTop=10\nMotion=3\nInitialDir=1\nDirFlip=1\n");
  TAnimEngine engine;
  engine.SetClock(clock.Fn());
  engine.Attach(record, &list);
  engine.Prepare(false);
  for (int i = 0; i < 3; ++i) list[0].MotionStep();
  const TAnimObject::View v = list[0].TakeView();
  ASSERT_TRUE(v.Mirrored);
  engine.Step();
  const Bitmap32& out = engine.Composite();
  EXPECT_EQ(out.GetPixel(v.Left, v.Top), record.Picture.GetPixel(v.Left, v.Top));  // was column 3
  EXPECT_EQ(PixelR(out.GetPixel(v.Left + 3, v.Top)), 255);                          // was column 0
  EXPECT_EQ(out.GetPixel(v.Left + 3, v.Top + 1), record.Picture.GetPixel(v.Left + 3, v.Top + 1));
  EXPECT_EQ(PixelR(out.GetPixel(v.Left + 1, v.Top + 1)), 255);
}

TEST(AnimObjectsTest, GifObjectPlaysItsFrames) {
  RandomStateGuard guard;
  test::TempDir dir;
  const std::vector<uint32_t> palette = {0xFF0000, 0x0000FF, 0x00FF00, 0x000000};
  std::vector<testing::GifFrameDef> frames(2);
  frames[0].width = frames[1].width = 2;
  frames[0].height = frames[1].height = 2;
  frames[0].indices = {0, 0, 2, 0};  // bottom-left is green: the key in type 1
  frames[1].indices = {1, 1, 2, 1};
  frames[0].delay_cs = frames[1].delay_cs = 10;
  const std::vector<uint8_t> gif = testing::BuildGif(2, 2, palette, frames, 0);
  dir.Write("a.gif", std::string(gif.begin(), gif.end()));
  FakeClock clock;
  TGifObject o;
  o.SetClock(clock.Fn());
  IniFile ini = IniFile::Parse("[Obj0]\nObjType=GIF\nFilename=" + dir.path() +
                               "a.gif\nTransparentType=1\nAnimSpeed=10\n");
  o.LoadFromText(ini, "Obj0");
  o.SetFrame(2, 2, 2, 2);
  o.Start(false);
  const Bitmap32* f0 = o.CurrentImage(0);
  ASSERT_NE(f0, nullptr);
  EXPECT_EQ(f0->GetPixel(0, 0), MakePixel(255, 0, 0));
  EXPECT_EQ(f0->GetPixel(0, 1), TGifObject::kKey);  // transparent: the key colour
  const Bitmap32* f1 = o.CurrentImage(100);
  EXPECT_EQ(f1->GetPixel(0, 0), MakePixel(0, 0, 255));
  const Pixel d = MakePixel(1, 2, 3);
  EXPECT_EQ(TGifObject::Combine(TGifObject::kKey, d, 255, nullptr), d);
  EXPECT_EQ(TGifObject::Combine(MakePixel(10, 20, 30), d, 255, nullptr), MakePixel(10, 20, 30));
  // A missing file: the object never shows, and nothing breaks.
  TGifObject missing;
  missing.SetClock(clock.Fn());
  missing.SetFilename(dir.path() + "none.gif");
  missing.Start(false);
  missing.MotionStep();
  EXPECT_EQ(missing.CurrentImage(10), nullptr);
  EXPECT_FALSE(missing.TakeView().Visible);
}

// The workers run while the drawing thread reads views and draws; Stop pauses between
// steps; destroying the list ends the threads. Run under ThreadSanitizer as well.
TEST(AnimObjectsTest, WorkersHandOverSafely) {
  RandomStateGuard guard;
  TProject record;
  test::MakeLivingPicture(record, 64, 48, 30, 47);
  record.Weather = {1, 50, 10, 0, 10, 9};
  test::TempDir dir;
  dir.Write("o.bmp", BmpFile(6, 4, [](int x, int) { return MakePixel(x * 40, 0, 0); }));
  auto list = std::make_unique<TAnimObjects>();
  std::string text;
  for (int i = 0; i < 3; ++i)
    text += "[Obj" + std::to_string(i) + "]\nObjType=IMG\nMotion=" + std::to_string(i + 1) +
            "\nDirFlip=1\nDisplayDurationType=1\nDisplayDurationSec=0\nFilename=" +
            dir.path() + "o.bmp\n";
  list->LoadFromText(text);
  TAnimEngine engine;
  engine.Attach(record, list.get());
  engine.Prepare(true);
  engine.SetWeather(true);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE((*list)[i].WorkerRunning());
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(60);
  while (std::chrono::steady_clock::now() < until) {
    engine.Step();
    for (int i = 0; i < list->Count(); ++i) (void)(*list)[i].TakeView();
  }
  list->StopAll();
  for (int i = 0; i < 3; ++i) EXPECT_FALSE((*list)[i].WorkerRunning());
  // Paused: nothing moves any more.
  std::vector<double> xs;
  for (int i = 0; i < 3; ++i) xs.push_back((*list)[i].UnguardedState().WX);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  for (int i = 0; i < 3; ++i) EXPECT_EQ((*list)[i].UnguardedState().WX, xs[i]);
  // Running again, then destroyed while running.
  (*list)[0].Start(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  engine.Detach();
  list.reset();
}

}  // namespace
}  // namespace kx

namespace kx {
namespace {

// Two overlapping stretched objects, half see-through, drawn over water: the bands of rows
// that the engine's threads draw meet inside both objects, and the frame is the same with
// any number of threads.
TEST(AnimObjectsTest, ThreadCountDoesNotChangeTheObjects) {
  test::TempDir dir;
  dir.Write("obj.bmp", BmpFile(5, 3, [](int x, int y) { return x == 4 && y == 2 ? MakePixel(0, 255, 0) : MakePixel(40 * x, 90 * y, 200); }));
  auto frame = [&](int threads) {
    RandomStateGuard guard;
    FakeClock clock;
    TProject record;
    test::MakeLivingPicture(record, 64, 45, 25, 44);
    record.WaveParams[0].Mode = 3;
    TAnimObjects list;
    list.LoadFromText("[Obj0]\nObjType=IMG\nFilename=" + dir.path() +
                      "obj.bmp\nPosLeft=3\nPosTop=4\nWidthSize=600\nHeightSize=700\nOpacity=5\n"
                      "[Obj1]\nObjType=IMG\nFilename=" + dir.path() +
                      "obj.bmp\nPosLeft=12\nPosTop=9\nWidthSize=800\nHeightSize=900\nOpacity=3\n");
    TAnimEngine engine;
    engine.SetThreads(threads);
    engine.SetClock(clock.Fn());
    engine.Attach(record, &list);
    engine.Prepare(false);
    clock.Advance(40);
    engine.Step();
    Bitmap32 out;
    out.Assign(engine.Composite());
    engine.Detach();
    return out;
  };
  const Bitmap32 one = frame(1);
  TProject plain;
  test::MakeLivingPicture(plain, 64, 45, 25, 44);
  ASSERT_NE(one.GetPixel(20, 15), plain.Picture.GetPixel(20, 15));  // both objects are drawn there
  for (int threads : {2, 7}) EXPECT_EQ(frame(threads), one) << threads << " threads";
}

}  // namespace
}  // namespace kx

namespace kx {
namespace {

// The objects' combining over whole rows gives what their per-pixel routine gives, for every
// opacity, with and without the key colour, over rows of every length up to a few pixels past
// a multiple of four.
TEST(AnimObjectsTest, RowCombiningMatchesThePixelRoutine) {
  RandomStateGuard guard;
  Random::Seed(7);
  std::vector<Pixel> src(23), dst(23);
  const Pixel key = MakePixel(0, 255, 0);
  for (int a = 0; a <= 255; ++a) {
    for (size_t i = 0; i < src.size(); ++i) {
      src[i] = i % 5 == 2 ? key : static_cast<Pixel>(Random::Next(1 << 30)) * 4 + static_cast<Pixel>(i);
      dst[i] = static_cast<Pixel>(Random::Next(1 << 30)) * 3 + static_cast<Pixel>(a);
    }
    src[3] = 0xFFFFFFFFu, dst[3] = 0;
    src[4] = 0, dst[4] = 0xFFFFFFFFu;
    for (int count : {1, 4, 7, 23})
      for (bool keyed : {false, true}) {
        std::vector<Pixel> rows = dst, pixels = dst;
        KeyedBlendRow(src.data(), rows.data(), count, static_cast<uint8_t>(a), keyed, key);
        for (int i = 0; i < count; ++i) {
          if (keyed && src[i] == key) continue;
          const int ia = 255 - a;
          pixels[i] = MakePixel(static_cast<uint8_t>((PixelR(src[i]) * a + PixelR(dst[i]) * ia) / 255),
                                static_cast<uint8_t>((PixelG(src[i]) * a + PixelG(dst[i]) * ia) / 255),
                                static_cast<uint8_t>((PixelB(src[i]) * a + PixelB(dst[i]) * ia) / 255), static_cast<uint8_t>(a));
        }
        ASSERT_EQ(rows, pixels) << "opacity " << a << " count " << count << (keyed ? " keyed" : "");
        if (keyed) {
          std::vector<Pixel> gif = dst;
          TGifObject::CombineRows(src.data(), gif.data(), count, static_cast<uint8_t>(a), nullptr);
          for (int i = 0; i < count; ++i)
            ASSERT_EQ(gif[i], TGifObject::Combine(src[i], dst[i], static_cast<uint8_t>(a), nullptr)) << i;
        }
      }
  }
}

}  // namespace
}  // namespace kx
