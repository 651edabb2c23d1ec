// What the show needs from the window it runs in. The Win32 show window implements it;
// kxtool render implements it headless with a simulated clock; tests use a fake.
#pragma once

#include <cstdint>
#include <string>

#include "media/bitmap32.h"

namespace kx {

class Audio;

class ShowHost {
 public:
  virtual ~ShowHost() = default;

  virtual int ScreenWidth() const = 0;
  virtual int ScreenHeight() const = 0;
  // Milliseconds from an arbitrary start, and waiting. The show measures every step,
  // transition frame and sound tick with this clock, so it must move in steps of about a
  // millisecond (the Win32 host holds a 1 ms timer period while the show runs).
  virtual uint32_t TickCount() = 0;
  virtual void Sleep(int milliseconds) = 0;
  // Lets pending window messages run (input handlers may request the close).
  virtual void ProcessMessages() = 0;

  // The window's canvas: draws the bitmap at (x, y); the rest of the screen keeps what
  // it had. FillBlack blackens the whole screen.
  virtual void DrawToWindow(const Bitmap32& bitmap, int x, int y) = 0;
  virtual void FillBlack() = 0;

  // The DirectDraw path: starts it (false when it cannot start: the canvas is used), and
  // presents a bitmap as the back surface at the bitmap's size, stretched to the screen.
  virtual bool StartDirectDraw() = 0;
  virtual void DrawToSurface(const Bitmap32& bitmap) = 0;
  // True when the surface lost what it showed (the display changed): a still picture is
  // presented only once and again after this.
  virtual bool SurfaceLost() { return false; }
  // True once presenting through the surface has failed: the show draws through the
  // window's canvas from then on.
  virtual bool DirectDrawFailed() { return false; }

  virtual void ShowError(const std::string& text) = 0;
  virtual void RequestClose() = 0;
  // The system's password check before closing (only some Windows versions leave it to
  // the saver); true allows the close.
  virtual bool PasswordAllowsClose() = 0;
  virtual void SetCursorVisible(bool visible) = 0;
  // Music and sound effects; null when the host has no sound.
  virtual Audio* GetAudio() { return nullptr; }
};

}  // namespace kx
