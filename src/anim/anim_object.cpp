#include "anim/anim_object.h"

#include <chrono>
#include <cmath>
#include <numbers>

#include "anim/object_thread.h"
#include "media/intmath.h"

namespace kx {

uint32_t SteadyMs() {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

TAnimObject::TAnimObject() : clock_(SteadyMs) {
  worker_ = std::make_unique<TObjectThread>(mutex_, [this] {
    StepLocked();  // the worker holds mutex_
  });
}

TAnimObject::~TAnimObject() { worker_.reset(); }

bool TAnimObject::WorkerRunning() const { return worker_ && !worker_->Paused(); }

uint8_t TAnimObject::MasterAlphaOf(int opacity) {
  const int a = RoundHalfEven(opacity * 2550 / 100.0);
  return static_cast<uint8_t>(a < 0 ? 0 : (a > 255 ? 255 : a));
}

void TAnimObject::LoadCommonFromText(const IniFile& ini, const std::string& sec) {
  Width = ini.ReadInteger(sec, "Width", Width);
  Height = ini.ReadInteger(sec, "Height", Height);
  Scaled = ini.ReadBool(sec, "Scaled", true);
  WidthSize = ini.ReadInteger(sec, "WidthSize", 100);
  HeightSize = ini.ReadInteger(sec, "HeightSize", 100);
  MoveAreaRectleft = ini.ReadInteger(sec, "MoveAreaRectleft", MoveAreaRectleft);
  MoveAreaRecttop = ini.ReadInteger(sec, "MoveAreaRecttop", MoveAreaRecttop);
  MoveAreaRectright = ini.ReadInteger(sec, "MoveAreaRectright", MoveAreaRectright);
  MoveAreaRectbottom = ini.ReadInteger(sec, "MoveAreaRectbottom", MoveAreaRectbottom);
  SpeedKey = ini.ReadInteger(sec, "Speed", 10);
  InitialDir = ini.ReadInteger(sec, "InitialDir", InitialDir);
  PosLeftType = ini.ReadInteger(sec, "PosLeftType", 0);
  PosTopType = ini.ReadInteger(sec, "PosTopType", 0);
  PosLeft = ini.ReadInteger(sec, "PosLeft", 100);
  PosTop = ini.ReadInteger(sec, "PosTop", 100);
  ObjFacing = ini.ReadInteger(sec, "ObjFacing", 1);
  Opacity = ini.ReadInteger(sec, "Opacity", 10);
  DisplaySec = ini.ReadInteger(sec, "DisplaySec", 0);
  DisplayDurationType = ini.ReadInteger(sec, "DisplayDurationType", 0);
  DisplayDurationSec = ini.ReadInteger(sec, "DisplayDurationSec", 60);
  DisplayDurationCycle = ini.ReadInteger(sec, "DIsplayDurationCycle", 10);
  Motion = ini.ReadInteger(sec, "Motion", 0);
  MotionSpeed = ini.ReadInteger(sec, "MotionSpeed", 10);
  MotionAreaType = ini.ReadInteger(sec, "MotionAreaType", 0);
  DirFlip = ini.ReadBool(sec, "DirFlip", false);
  Redisplay = ini.ReadBool(sec, "Redisplay", true);
  ResetPos = ini.ReadBool(sec, "ResetPos", true);
  RestrictArea = ini.ReadBool(sec, "RestrictArea", true);
}

void TAnimObject::LoadFromText(const IniFile& ini, const std::string& section) {
  LoadCommonFromText(ini, section);
}

void TAnimObject::SetClock(Clock clock) {
  std::lock_guard<std::mutex> lock(mutex_);
  clock_ = std::move(clock);
}

void TAnimObject::SetFrame(int fw, int fh, int pw, int ph) {
  std::lock_guard<std::mutex> lock(mutex_);
  frame_w_ = fw;
  frame_h_ = fh;
  pic_w_ = pw;
  pic_h_ = ph;
}

void TAnimObject::Start(bool run_worker) {
  Stop();
  Init();
  if (run_worker) worker_->Resume();
  started_ = true;
}

void TAnimObject::Stop() {
  if (!started_) return;
  worker_->Pause();
  started_ = false;
}

void TAnimObject::Init() {
  std::lock_guard<std::mutex> lock(mutex_);
  InitMotion();
}

int TAnimObject::LeftOf() const { return RoundHalfEven(s_.ScaleX * (s_.X - s_.W / 2.0)); }
int TAnimObject::TopOf() const { return RoundHalfEven(s_.ScaleY * (s_.Y - s_.H / 2.0)); }

void TAnimObject::InitMotion() {
  State& s = s_;
  const uint32_t now = Now();
  // The clock mixed with the object's number: objects that start in the same tick do
  // not draw the same numbers and move apart.
  rng_.state = now ^ (static_cast<uint32_t>(Number) * 0x9E3779B9u);
  s.Visible = DisplaySec == 0;
  s.ShowTick = now;
  s.AngleCounter = 0;
  s.Mirrored = false;
  s.StepCount = 0;
  s.Replan = rng_.Next(300) + 50;
  s.RangeA = rng_.Next(1000);
  s.RangeB = rng_.Next(1000);

  ObjectArea a;
  if (MotionAreaType != 0)
    a = {MoveAreaRectleft, MoveAreaRecttop, MoveAreaRectright, MoveAreaRectbottom};
  else
    a = {0, 0, pic_w_, pic_h_};
  const int hw = s.W / 2, hh = s.H / 2;
  const int sw = RoundHalfEven(hw * WidthSize / 100.0), sh = RoundHalfEven(hh * HeightSize / 100.0);
  if (RestrictArea)
    a = {a.left + hw, a.top + hh, a.right - sw, a.bottom - sh};
  else
    a = {a.left - hw, a.top - hh, a.right + sw, a.bottom + sh};
  s.Area = a;

  auto start = [&](int rule, int stored, int low, int high) -> int {
    switch (rule) {
      case 1: return low;
      case 2: return high;
      case 3: return low + (high - low) / 2;
      case 4: return rng_.Range(low, high);
      case 5: {
        const int r = rng_.Range(low, high);
        return r < low + (high - low) / 2 ? low - r : 2 * high - r;
      }
      default: return stored;
    }
  };
  const int x0 = start(PosLeftType, PosLeft, a.left, a.right);
  const int y0 = start(PosTopType, PosTop, a.top, a.bottom);

  s.DX = rng_.PlusMinusOne();
  s.DY = rng_.PlusMinusOne();
  switch (InitialDir) {
    case 1: s.DX = -1; break;
    case 2: s.DX = 1; break;
    case 3: s.DY = -1; break;
    case 4: s.DY = 1; break;
    case 5: s.DX = -1; s.DY = -1; break;
    case 6: s.DX = 1; s.DY = -1; break;
    case 7: s.DX = -1; s.DY = 1; break;
    case 8: s.DX = 1; s.DY = 1; break;
    default: break;
  }
  s.VDX = s.InitDX = s.DX;
  s.VDY = s.InitDY = s.DY;

  s.ScaleX = pic_w_ > 0 ? static_cast<double>(frame_w_) / pic_w_ : 1.0;
  s.ScaleY = pic_h_ > 0 ? static_cast<double>(frame_h_) / pic_h_ : 1.0;
  s.X = s.WX = s.VX = x0;
  s.Y = s.WY = s.VY = y0;
  s.Speed = MotionSpeed * 10;
}

void TAnimObject::MotionStep() {
  std::lock_guard<std::mutex> lock(mutex_);
  StepLocked();
}

void TAnimObject::StepLocked() {
  State& s = s_;
  const uint32_t now = Now();
  auto since = [&](int64_t tick) { return static_cast<int64_t>(static_cast<uint32_t>(now - static_cast<uint32_t>(tick))); };
  // 1. Display timing.
  if (!s.Visible && s.ShowTick != -1 && since(s.ShowTick) >= static_cast<int64_t>(DisplaySec) * 1000)
    s.Visible = true;
  if (s.Visible && DisplayDurationType == 1 && s.ShowTick != -1 &&
      since(s.ShowTick) >= (static_cast<int64_t>(DisplaySec) + DisplayDurationSec) * 1000) {
    s.Visible = false;
    if (Redisplay) {
      if (ResetPos) InitMotion();
      s.ShowTick = now;
    } else {
      s.ShowTick = -1;
    }
  }
  if (!s.Visible) return;

  // 3. Wander points.
  const ObjectArea& a = s.Area;
  const double sp = s.Speed / 1000.0;
  s.WX += rng_.Next(1000) * (sp * s.DX) / 100;
  s.WY += rng_.Next(1000) * (sp * s.DY) / 100;
  if (a.left >= s.WX) s.DX = 1;
  if (a.top >= s.WY) s.DY = 1;
  if (!(a.right > s.WX)) s.DX = -1;
  if (!(a.bottom > s.WY)) s.DY = -1;
  s.VX += rng_.Next(s.RangeA) * (sp * s.VDX) / 100;
  s.VY += rng_.Next(s.RangeB) * (sp * s.VDY) / 100;
  s.StepCount += 1;
  if (a.left >= s.VX || !(s.VX < a.right) || a.top >= s.VY || !(a.bottom > s.VY)) s.StepCount = s.Replan;
  if (s.StepCount >= s.Replan) {
    if (rng_.Next(10) == 0) s.VDX = rng_.PlusMinusOne();
    s.VDY = rng_.Next(3) - 1;
    if (a.left >= s.VX) s.VDX = 1;
    if (!(a.right > s.VX)) s.VDX = -1;
    if (a.top >= s.VY) s.VDY = 1;
    if (!(a.bottom > s.VY)) s.VDY = -1;
    s.Replan = rng_.Next(300) + 50;
    s.RangeA = rng_.Next(800) + 200;
    s.RangeB = rng_.Next(1000);
    s.StepCount = 0;
  }
  s.AngleCounter += 1;

  // 4., 5. Motion.
  const int prev = LeftOf();
  const int cx = a.left + (a.right - a.left) / 2, cy = a.top + (a.bottom - a.top) / 2;
  switch (Motion) {
    case 1: s.X = s.VX; s.Y = s.VY; break;
    case 2: s.X = s.WX; s.Y = s.WY; break;
    case 3: s.X = s.WX; break;
    case 4: s.Y = s.WY; break;
    case 5:
      if (s.InitDX < 0)
        s.X = s.DX > 0 ? (a.left + a.right - s.WX) : s.WX;
      else
        s.X = s.DX > 0 ? s.WX : (a.left + a.right - s.WX);
      break;
    case 6:
      if (s.InitDY < 0)
        s.Y = s.DY > 0 ? (a.top + a.bottom - s.WY) : s.WY;
      else
        s.Y = s.DY > 0 ? s.WY : (a.top + a.bottom - s.WY);
      break;
    case 7: {
      const double an = -static_cast<double>(s.AngleCounter) * std::numbers::pi / 180.0 * s.Speed / 1000.0;
      s.X = std::sin(an) * ((a.right - a.left) / 2 - s.W / 2) + cx;
      s.Y = std::cos(an) * ((a.bottom - a.top) / 2 - s.H / 2) + cy;
      break;
    }
    case 9:
      s.X += (rng_.Next(9) - 4) * s.Speed / 1000.0;
      s.Y += (rng_.Next(9) - 4) * s.Speed / 1000.0;
      break;
    default: break;
  }
  // 6. Facing.
  const int cur = LeftOf();
  if (ObjFacing == 1)
    s.Mirrored = (cur < prev || (cur == prev && s.Mirrored)) && DirFlip;
  else if (ObjFacing == 0)
    s.Mirrored = (cur > prev || (cur == prev && s.Mirrored)) && DirFlip;
}

TAnimObject::View TAnimObject::TakeView() const {
  std::lock_guard<std::mutex> lock(mutex_);
  View v;
  v.Visible = s_.Visible;
  v.Left = LeftOf();
  v.Top = TopOf();
  v.ScaleX = s_.ScaleX;
  v.ScaleY = s_.ScaleY;
  v.WidthSize = WidthSize;
  v.HeightSize = HeightSize;
  v.Mirrored = s_.Mirrored;
  return v;
}

const Bitmap32* TAnimObject::CurrentImage(int64_t) { return image_.Empty() ? nullptr : &image_; }

const Bitmap32& TAnimObject::MirroredImage() {
  if (mirror_stale_) {
    mirror_.Assign(image_);  // the mirror keeps its own draw settings
    mirror_.MirrorHorizontal();
    mirror_stale_ = false;
  }
  return mirror_;
}

}  // namespace kx
