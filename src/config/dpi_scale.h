// The one factor that scales a described window from the density it was designed at (its
// PixelsPerInch) to the density of the monitor it is on: positions, sizes, font heights and
// pictures alike, so that a window looks as designed, only larger or smaller.
//
// Edges are scaled, not sizes: a control from left to left + width covers
// Px(left) .. Px(left + width), so that controls that touch at design size still touch.
#pragma once

#include "media/bitmap32.h"
#include "media/intmath.h"

namespace kx {

struct ScaledRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom excluded
};

class DpiScale {
 public:
  DpiScale() = default;
  // A monitor density or design density of 0 or less counts as 96.
  DpiScale(int monitor_dpi, int design_ppi)
      : dpi_(monitor_dpi > 0 ? monitor_dpi : 96), design_(design_ppi > 0 ? design_ppi : 96) {}

  int Dpi() const { return dpi_; }
  int Design() const { return design_; }
  bool Identity() const { return dpi_ == design_; }

  // Design pixels to monitor pixels, rounded by MulDiv.
  int Px(int v) const { return MulDiv(v, dpi_, design_); }
  ScaledRect Rect(int left, int top, int width, int height) const {
    return {Px(left), Px(top), Px(left + width), Px(top + height)};
  }
  // A size that must not vanish (a picture, a pen): at least 1 when v is.
  int Size(int v) const {
    const int s = Px(v);
    return v > 0 && s < 1 ? 1 : s;
  }

 private:
  int dpi_ = 96;
  int design_ = 96;
};

// `src` scaled by the factor into `out`: Size(width) x Size(height). Opaque pictures are
// resampled bilinearly (when shrinking every source pixel counts). A keyed picture, whose
// bottom-left pixel's colour is see-through, is resampled by coverage: the see-through
// pixels add no colour, a target pixel less than half covered becomes the key colour and
// any other takes the mean of the opaque pixels under it, so no edge takes on a tint of the
// key and the target's bottom-left pixel is the key again. The identity factor copies.
void ScalePicture(const Bitmap32& src, const DpiScale& scale, bool keyed, Bitmap32& out);

// `src` resized to width x height by the same rules (a picture stretched to its place).
void ResizePicture(const Bitmap32& src, int width, int height, bool keyed, Bitmap32& out);

// A strip of `faces` pictures side by side (a button's glyphs), each face scaled on its own
// so that no face bleeds into its neighbour; the faces are width / faces wide (the columns
// beyond are left out).
void ScaleStrip(const Bitmap32& src, int faces, const DpiScale& scale, bool keyed, Bitmap32& out);

}  // namespace kx
