// Drawing of the described controls: colours, fonts and pictures of a form description
// turned into GDI objects, and the painting of each control class onto a 32-bit surface.
#pragma once

#include <windows.h>

#include <string>

#include "config/dpi_scale.h"
#include "config/form_model.h"
#include "media/bitmap32.h"

namespace kx::win32 {

// A 32-bit top-down DIB section with a memory device context covering `area` of a
// window's client area: controls are painted into it in client coordinates and the result
// is copied to the screen in one go.
class PaintSurface {
 public:
  PaintSurface(HDC screen, const RECT& area);
  ~PaintSurface();
  PaintSurface(const PaintSurface&) = delete;
  PaintSurface& operator=(const PaintSurface&) = delete;
  bool Ok() const { return dc_ != nullptr && bits_ != nullptr; }
  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  const RECT& Area() const { return area_; }
  // The pixels (after GdiFlush): client point (x, y) at Bits() + (y - Area().top) * Width()
  // + (x - Area().left).
  uint32_t* Bits();

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
  RECT area_{};
  int width_ = 0, height_ = 0;
};

// A description colour as a GDI colour; `fallback` for the default colour.
COLORREF ToColorRef(FormColor c, COLORREF fallback);
// The font of a description scaled from its design density to the screen's.
HFONT MakeFont(const FontSpec& font, int screen_dpi, int design_dpi);
// Decodes a picture of the description (a bitmap file, a JPEG stream, or a GIF by its
// content); false when it cannot.
// Decodes the picture data (BMP, JPEG or GIF by its first bytes); on failure `out` is empty.
bool DecodeFormPicture(const PictureData& data, Bitmap32& out);
// Fills the rectangle with one colour.
void FillColor(HDC dc, const RECT& r, COLORREF c);

// Draws `picture` into rect r of the surface, clipped to `clip`; keyed: pixels equal to the
// picture's bottom-left pixel are left out.
void DrawPicture(PaintSurface& s, const RECT& r, const RECT& clip, const Bitmap32& picture, bool keyed);

// Paints a control that has no window of its own (label, image, shape, bevel) at rect r.
// Pictures come scaled to the window's density; `scale` sizes what is drawn in design
// pixels (a shape's pen).
void PaintGraphicControl(PaintSurface& s, const ControlSpec& c, const RECT& r, HFONT font,
                         const Bitmap32* picture, const DpiScale& scale);
// Paints the face of a push button (with its glyph strip, scaled, when it has one).
void PaintButton(PaintSurface& s, const ControlSpec& c, const RECT& r, HFONT font,
                 const Bitmap32* glyph, bool pressed, const DpiScale& scale);
// Paints a panel's background, bevels and caption; bevel and border widths in screen pixels.
void PaintPanel(PaintSurface& s, const ControlSpec& c, const RECT& r, HFONT font, int bevel_px, int border_px);

// The cursor a description's cursor number shows.
HCURSOR CursorFor(int cursor);

}  // namespace kx::win32
