// The preview in the Screen Saver dialog: the project's preview picture, stretched over the
// preview window, for the project's Duration; then the show itself at the window's size
// (the project's pictures in its order, with its transitions; no sound, no music), at most
// 15 frames a second, until the host says the preview is over (its parent window went away).
#pragma once

#include <cstdint>

#include "media/bitmap32.h"
#include "package/project.h"

namespace kx {

// The window the preview draws in, and its clock.
class PreviewHost {
 public:
  virtual ~PreviewHost() = default;
  virtual uint32_t TickCount() = 0;
  virtual void Sleep(int milliseconds) = 0;
  // Lets the window's messages run; false once the preview is to end.
  virtual bool Pump() = 0;
  // The surface has changed: the window shows it (and repaints from it later).
  virtual void Present(const Bitmap32& surface) = 0;
};

class PreviewShow {
 public:
  // The shortest time between two presented frames: at most 15 frames a second.
  static constexpr int kFrameMs = 67;

  PreviewShow(const TKXCProject& project, int width, int height, PreviewHost& host);

  // The preview picture (black when there is none or it cannot be read), then the show,
  // until Pump answers false.
  void Run();

  // What the window shows now.
  const Bitmap32& Surface() const { return surface_; }
  int FramesPresented() const { return frames_; }
  // Whether the show has started (the preview picture's time is over).
  bool ShowStarted() const { return show_started_; }

 private:
  class SessionHost;
  bool Wait(int milliseconds);
  void Present();

  TKXCProject project_;
  PreviewHost& host_;
  Bitmap32 surface_;
  int frames_ = 0;
  bool show_started_ = false;
  bool ended_ = false;
  uint32_t last_present_ = 0;
};

}  // namespace kx
