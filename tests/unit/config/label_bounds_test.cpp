#include <gtest/gtest.h>

#include "config/label_bounds.h"

namespace kx {
namespace {

TEST(AutoSizeLabel, RightJustifiedKeepsItsRightEdge) {
  struct Case {
    TextAlign alignment;
    bool word_wrap;
    int text_width;
    LabelBounds want;
  };
  // A label designed at left 100, 80 wide (right edge 180); its caption now measures
  // text_width x 13.
  const Case cases[] = {
      {TextAlign::Right, false, 120, {60, 120, 13}},   // grows to the left
      {TextAlign::Right, false, 30, {150, 30, 13}},    // shrinks toward its right edge
      {TextAlign::Left, false, 120, {100, 120, 13}},   // grows to the right
      {TextAlign::Center, false, 30, {100, 30, 13}},
      {TextAlign::Right, true, 120, {100, 80, 13}},    // word-wrapped: the width stays
  };
  for (const Case& c : cases) {
    const LabelBounds b = AutoSizeLabel(100, 80, c.alignment, c.word_wrap, c.text_width, 13);
    EXPECT_EQ(b.left, c.want.left) << c.text_width;
    EXPECT_EQ(b.width, c.want.width) << c.text_width;
    EXPECT_EQ(b.height, c.want.height) << c.text_width;
    if (c.alignment == TextAlign::Right && !c.word_wrap) {
      EXPECT_EQ(b.left + b.width, 180);
    }
  }
}

}  // namespace
}  // namespace kx
