// An animated object of a living picture: a small image that appears after DisplaySec
// seconds, moves over the picture by its Motion kind on a worker thread of its own (one
// step every 5 milliseconds), may hide again after DisplayDurationSec and come back.
// Positions are kept in the picture's own coordinates and scaled to the fitted frame.
//
// Threads: the motion state is guarded by one mutex; the worker runs each step holding
// it, and the drawing thread reads a consistent View under it. The image bitmaps are
// touched only by the drawing thread (loading happens in Start while the worker is
// paused, and an animated GIF's frame is advanced by the drawing thread).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "media/bitmap32.h"
#include "package/ini_file.h"

namespace kx {

class TObjectThread;

// Milliseconds of the steady clock (wrapping): the default clock of the animation.
uint32_t SteadyMs();

// The generator of one object: the same linear congruential rule as the process-wide
// one, but owned by the object so that its worker never shares state with another thread.
struct ObjectRandom {
  uint32_t state = 0;
  int Next(int n) {
    state = state * 134775813u + 1u;
    if (n <= 0) return 0;
    return static_cast<int>((static_cast<uint64_t>(state) * static_cast<uint32_t>(n)) >> 32);
  }
  // Uniform on the lower .. upper - 1 of the two; a when equal.
  int Range(int a, int b) {
    const int lo = a < b ? a : b, hi = a < b ? b : a;
    return lo + Next(hi - lo);
  }
  int PlusMinusOne() { return Next(2) == 0 ? -1 : 1; }
};

struct ObjectArea {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class TAnimObject {
 public:
  using Clock = std::function<uint32_t()>;  // milliseconds, wrapping

  // What the drawing thread needs of an object, taken in one piece.
  struct View {
    bool Visible = false;
    int Left = 0, Top = 0;
    double ScaleX = 1, ScaleY = 1;
    int WidthSize = 100, HeightSize = 100;
    bool Mirrored = false;
  };

  TAnimObject();
  virtual ~TAnimObject();
  TAnimObject(const TAnimObject&) = delete;
  TAnimObject& operator=(const TAnimObject&) = delete;

  // Description keys of every object.
  void LoadCommonFromText(const IniFile& ini, const std::string& section);
  // The kind's own keys, then the common ones.
  virtual void LoadFromText(const IniFile& ini, const std::string& section);

  // The frame the object is drawn into and the picture's own size (before fitting).
  void SetFrame(int frame_width, int frame_height, int picture_width, int picture_height);
  // Stop, Init, resume the worker (when `run_worker`; tests step by hand).
  void Start(bool run_worker = true);
  virtual void Stop();
  // Resets the motion and starts a display period: the kind loads its image first.
  virtual void Init();

  // One motion step (display timing, wander points, motion, facing).
  void MotionStep();
  View TakeView() const;
  // The image to draw now; the drawing thread lets `elapsed_ms` go by first (GIF frames).
  virtual const Bitmap32* CurrentImage(int64_t elapsed_ms);
  // The image flipped left to right (key pixels stay key), with the mirror's own draw
  // settings; built again only after the image changed.
  const Bitmap32& MirroredImage();
  const std::string& Filename() const { return filename_; }
  void SetFilename(const std::string& f) { filename_ = f; }

  // Safe while the worker runs: the clock is read under the state mutex.
  void SetClock(Clock clock);
  bool WorkerRunning() const;

  // Description keys.
  int Number = 0;
  int Width = 0, Height = 0;
  bool Scaled = true;
  int WidthSize = 100, HeightSize = 100;
  int MoveAreaRectleft = 0, MoveAreaRecttop = 0, MoveAreaRectright = 0, MoveAreaRectbottom = 0;
  int SpeedKey = 10;
  int InitialDir = 0;
  int PosLeftType = 0, PosTopType = 0;
  int PosLeft = 100, PosTop = 100;
  int ObjFacing = 1;
  int Opacity = 10;
  int DisplaySec = 0;
  int DisplayDurationType = 0;
  int DisplayDurationSec = 60;
  int DisplayDurationCycle = 10;
  int Motion = 0;
  int MotionSpeed = 10;
  int MotionAreaType = 0;
  bool DirFlip = false;
  bool Redisplay = true;
  bool ResetPos = true;
  bool RestrictArea = true;

  // Motion state; read it only while no worker runs (tests) or through TakeView.
  struct State {
    double X = 0, Y = 0, WX = 0, WY = 0, VX = 0, VY = 0;
    int DX = 1, DY = 1, VDX = 1, VDY = 1, InitDX = 1, InitDY = 1;
    int RangeA = 0, RangeB = 0, StepCount = 0, Replan = 0, AngleCounter = 0, Speed = 0;
    ObjectArea Area;
    double ScaleX = 1, ScaleY = 1;
    int W = 0, H = 0;
    bool Visible = false;
    int64_t ShowTick = -1;  // -1: never shown again (also before the first Init)
    bool Mirrored = false;
  };
  const State& UnguardedState() const { return s_; }

  // Master alpha of an Opacity 0..10: round(Opacity * 25.5), halves to even, kept in 0..255.
  static uint8_t MasterAlphaOf(int opacity);

 protected:
  // The motion part of Init; called with the mutex held.
  void InitMotion();
  void StepLocked();
  void SetImageSize(int w, int h) {
    std::lock_guard<std::mutex> lock(mutex_);
    s_.W = w;
    s_.H = h;
  }
  int LeftOf() const;
  int TopOf() const;
  uint32_t Now() const { return clock_(); }

  std::string filename_;
  bool transparent_ = true;
  int transparent_type_ = 1;
  int transparent_color_ = 0;
  Bitmap32 image_;
  Bitmap32 mirror_;
  bool mirror_stale_ = true;  // image_ changed since mirror_ was built; set by every writer

 private:
  mutable std::mutex mutex_;
  State s_;
  ObjectRandom rng_;
  Clock clock_;
  int frame_w_ = 0, frame_h_ = 0, pic_w_ = 0, pic_h_ = 0;
  bool started_ = false;
  std::unique_ptr<TObjectThread> worker_;

};

}  // namespace kx
