// The place of an auto-sized label once its caption is measured: the label grows or shrinks
// to its text. A right-justified label keeps its right edge (its text stays where the
// designer lined it up, whatever the caption becomes); the others keep their left edge. A
// word-wrapped label keeps its width and only takes the height of its lines.
#pragma once

#include "config/form_model.h"

namespace kx {

struct LabelBounds {
  int left = 0, width = 0, height = 0;
};

inline LabelBounds AutoSizeLabel(int left, int width, TextAlign alignment, bool word_wrap,
                                 int text_width, int text_height) {
  LabelBounds b{left, width, text_height};
  if (word_wrap) return b;
  b.width = text_width;
  if (alignment == TextAlign::Right) b.left = left + width - text_width;
  return b;
}

}  // namespace kx
