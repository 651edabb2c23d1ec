// Where a push button with a glyph draws its glyph and its caption. Layout says on which
// side of the caption the glyph stands; Margin is the distance from that edge of the button
// to the glyph (-1: glyph and caption centred together); Spacing is the gap between glyph
// and caption (-1: with a margin, the caption is centred in what the glyph leaves; without,
// margin and gap share the free room equally). Without a glyph or a caption there is no gap.
#pragma once

#include "config/form_model.h"
#include "media/intmath.h"

namespace kx {

struct FacePoint {
  int x = 0, y = 0;
};
struct GlyphPlacement {
  FacePoint glyph, text;  // top-left corners inside the button
};

inline GlyphPlacement LayOutButtonFace(int width, int height, int glyph_w, int glyph_h, int text_w, int text_h,
                                   GlyphLayout layout, int margin, int spacing) {
  GlyphPlacement f;
  const bool across = layout == GlyphLayout::Left || layout == GlyphLayout::Right;
  if (across) {
    f.glyph.y = Div(height - glyph_h + 1, 2);
    f.text.y = Div(height - text_h + 1, 2);
  } else {
    f.glyph.x = Div(width - glyph_w + 1, 2);
    f.text.x = Div(width - text_w + 1, 2);
  }
  if (text_w == 0 || glyph_w == 0) spacing = 0;
  const int room = across ? width : height;
  const int glyph_len = across ? glyph_w : glyph_h, text_len = across ? text_w : text_h;
  if (margin == -1) {
    if (spacing == -1) {
      margin = Div(room - (glyph_len + text_len), 3);
      spacing = margin;
    } else {
      margin = Div(room - (glyph_len + spacing + text_len) + 1, 2);
    }
  } else if (spacing == -1) {
    spacing = Div(room - (margin + glyph_len) - text_len, 2);
  }
  switch (layout) {
    case GlyphLayout::Left:
      f.glyph.x = margin;
      f.text.x = f.glyph.x + glyph_w + spacing;
      break;
    case GlyphLayout::Right:
      f.glyph.x = width - margin - glyph_w;
      f.text.x = f.glyph.x - spacing - text_w;
      break;
    case GlyphLayout::Top:
      f.glyph.y = margin;
      f.text.y = f.glyph.y + glyph_h + spacing;
      break;
    case GlyphLayout::Bottom:
      f.glyph.y = height - margin - glyph_h;
      f.text.y = f.glyph.y - spacing - text_h;
      break;
  }
  return f;
}

// Which face of a glyph strip of `count` faces (normal, disabled, pressed, latched) a button
// shows; -1 when the strip has no disabled face and the normal one is to be drawn greyed.
inline int GlyphFace(int count, bool enabled, bool pressed) {
  if (!enabled) return count >= 2 ? 1 : -1;
  if (pressed && count >= 3) return 2;
  return 0;
}

}  // namespace kx
