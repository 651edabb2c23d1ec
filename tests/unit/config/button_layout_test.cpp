#include <gtest/gtest.h>

#include "config/button_layout.h"

namespace kx {
namespace {

TEST(GlyphPlacement, LayoutMarginAndSpacing) {
  struct Case {
    GlyphLayout layout;
    int margin, spacing;
    int gx, gy, tx, ty;
  };
  // A 100 x 30 button, a 16 x 16 glyph, a 40 x 13 caption.
  const Case cases[] = {
      {GlyphLayout::Left, -1, 4, 20, 7, 40, 9},     // centred together: (100 - 60 + 1) div 2 = 20
      {GlyphLayout::Right, -1, 4, 64, 7, 20, 9},
      {GlyphLayout::Left, 5, 4, 5, 7, 25, 9},       // 5 from the left edge
      {GlyphLayout::Right, 5, 4, 79, 7, 35, 9},
      {GlyphLayout::Left, 5, -1, 5, 7, 40, 9},      // caption centred in what the glyph leaves
      {GlyphLayout::Left, -1, -1, 14, 7, 44, 9},    // margin and gap share: (100 - 56) div 3
      {GlyphLayout::Top, -1, 4, 42, -1, 30, 19},    // too tall: (30 - 33 + 1) div 2 = -1
      {GlyphLayout::Bottom, 2, 0, 42, 12, 30, -1},
  };
  for (const Case& c : cases) {
    const GlyphPlacement f = LayOutButtonFace(100, 30, 16, 16, 40, 13, c.layout, c.margin, c.spacing);
    EXPECT_EQ(f.glyph.x, c.gx) << static_cast<int>(c.layout) << " " << c.margin << " " << c.spacing;
    EXPECT_EQ(f.glyph.y, c.gy) << static_cast<int>(c.layout) << " " << c.margin << " " << c.spacing;
    EXPECT_EQ(f.text.x, c.tx) << static_cast<int>(c.layout) << " " << c.margin << " " << c.spacing;
    EXPECT_EQ(f.text.y, c.ty) << static_cast<int>(c.layout) << " " << c.margin << " " << c.spacing;
  }
  // Without a caption there is no gap: the glyph alone is centred.
  EXPECT_EQ(LayOutButtonFace(100, 30, 16, 16, 0, 0, GlyphLayout::Left, -1, 4).glyph.x, 42);
}

TEST(GlyphPlacement, GlyphFaces) {
  // Faces of a strip: normal, disabled, pressed, latched.
  EXPECT_EQ(GlyphFace(1, true, false), 0);
  EXPECT_EQ(GlyphFace(1, true, true), 0);
  EXPECT_EQ(GlyphFace(1, false, false), -1);  // no disabled face: drawn greyed
  EXPECT_EQ(GlyphFace(2, false, false), 1);
  EXPECT_EQ(GlyphFace(2, true, true), 0);
  EXPECT_EQ(GlyphFace(3, true, true), 2);
  EXPECT_EQ(GlyphFace(4, false, true), 1);
}

}  // namespace
}  // namespace kx
