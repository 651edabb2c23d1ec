#include "config/thumbnail_layout.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

TEST(ThumbnailLayout, ColumnsAndRows) {
  struct Case {
    int width, count;
    bool multi, title;
    int cols, rows, row_height;
  } cases[] = {
      {416, 5, true, false, 4, 2, 80},   // four 100-pixel columns, the second row part blank
      {416, 5, false, false, 5, 1, 80},  // one row: a column per picture
      {60, 5, true, false, 1, 5, 80},    // narrower than a cell: still one column
      {416, 5, true, true, 4, 2, 110},   // titles add 30 pixels
      {400, 8, true, false, 4, 2, 80},   // exact fit: no extra row
      {416, 0, true, false, 4, 1, 80},   // the grid keeps one row
  };
  for (const Case& c : cases) {
    ThumbnailGridModel m;
    m.multi_rows = c.multi;
    m.show_title = c.title;
    const GridLayout l = m.Layout(c.width, c.count);
    EXPECT_EQ(l.col_width, 100);
    EXPECT_EQ(l.cols, c.cols) << c.width << " " << c.count;
    EXPECT_EQ(l.rows, c.rows) << c.width << " " << c.count;
    EXPECT_EQ(l.row_height, c.row_height);
  }
}

TEST(ThumbnailLayout, BlankCellsSelectTheLastPicture) {
  ThumbnailGridModel m;
  const GridLayout l = m.Layout(416, 5);
  EXPECT_EQ(ThumbnailGridModel::PictureAt(l, 0, 1, 5), 4);
  for (int col = 1; col < 4; ++col) {
    EXPECT_EQ(ThumbnailGridModel::PictureAt(l, col, 1, 5), -1);
    EXPECT_EQ(ThumbnailGridModel::SelectedIndex(l, col, 1, 5), 4);
  }
  EXPECT_EQ(ThumbnailGridModel::SelectedIndex(l, 2, 0, 5), 2);
  EXPECT_EQ(ThumbnailGridModel::SelectedIndex(l, 0, 0, 0), 0);  // no pictures: 0
}

TEST(ThumbnailLayout, CellPartsAndCheckBoxHitArea) {
  ThumbnailGridModel m;
  m.show_check_box = true;
  const CellRect cell{100, 80, 200, 160};
  const CellRect f = m.Frame(cell, false), fs = m.Frame(cell, true);
  EXPECT_EQ((std::vector<int>{f.left, f.top, f.right, f.bottom}), (std::vector<int>{110, 90, 200, 160}));
  EXPECT_EQ((std::vector<int>{fs.left, fs.top}), (std::vector<int>{111, 91}));
  int x, y;
  m.ThumbnailOrigin(cell, x, y);
  EXPECT_EQ(x, 115);
  EXPECT_EQ(y, 95);
  // Box at (113, 146); the hit area includes the far edges at +11.
  EXPECT_TRUE(m.InCheckBox(cell, 113, 146));
  EXPECT_TRUE(m.InCheckBox(cell, 124, 157));
  EXPECT_FALSE(m.InCheckBox(cell, 112, 150));
  EXPECT_FALSE(m.InCheckBox(cell, 120, 158));
  EXPECT_FALSE(m.InCheckBox(cell, 125, 150));
  const CellRect t = m.TitleRect(cell);
  EXPECT_EQ((std::vector<int>{t.left, t.top, t.right, t.bottom}), (std::vector<int>{110, 164, 200, 160}));
}

// In a window drawn at 144 dpi the pictures come scaled (80 x 60 -> 120 x 90) and the
// margins grow by the same factor: the cell is the 96 dpi cell made 1.5 times as large.
TEST(ThumbnailLayout, MarginsGrowWithTheWindowDensity) {
  ThumbnailGridModel m;
  m.scale = DpiScale(144, 96);
  m.picture_width = 120;
  m.picture_height = 90;
  m.show_check_box = true;
  m.show_title = true;
  const GridLayout l = m.Layout(624, 5);  // 416 x 1.5
  EXPECT_EQ(l.col_width, 150);
  EXPECT_EQ(l.row_height, 165);
  EXPECT_EQ(l.cols, 4);
  const CellRect cell{150, 120, 300, 285};  // (100, 80, 200, 190) x 1.5
  const CellRect f = m.Frame(cell, false), fs = m.Frame(cell, true);
  EXPECT_EQ((std::vector<int>{f.left, f.top, f.right, f.bottom}), (std::vector<int>{165, 135, 300, 240}));
  EXPECT_EQ((std::vector<int>{fs.left, fs.top}), (std::vector<int>{167, 137}));  // 16.5 rounds away from zero
  int x, y;
  m.ThumbnailOrigin(cell, x, y);
  EXPECT_EQ(x, 172);  // 150 + (150 + 15 - 120) / 2, truncated
  EXPECT_EQ(y, 143);  // 15 x 1.5 = 22.5 -> 23
  m.CheckBoxOrigin(cell, x, y);
  EXPECT_EQ(x, 170);  // 13 x 1.5 = 19.5 -> 20
  EXPECT_EQ(y, 219);  // 120 + 90 + 9
  EXPECT_EQ(m.CheckBoxSize(), 17);
  EXPECT_TRUE(m.InCheckBox(cell, 187, 236));
  EXPECT_FALSE(m.InCheckBox(cell, 188, 230));
  const CellRect t = m.TitleRect(cell);
  EXPECT_EQ((std::vector<int>{t.left, t.top}), (std::vector<int>{165, 246}));
}

TEST(ThumbnailLayout, ChecksHaveRoomForAnyNumberOfPictures) {
  ThumbnailGridModel m;
  m.ResetChecks(3);
  m.Toggle(1);
  EXPECT_TRUE(m.Checked(1));
  m.Toggle(1);
  EXPECT_FALSE(m.Checked(1));
  m.SetChecked(5000, true);
  EXPECT_TRUE(m.Checked(5000));
  EXPECT_FALSE(m.Checked(4999));
  EXPECT_FALSE(m.Checked(-1));
  m.SetChecked(-1, true);  // ignored
}

TEST(Shade, MixesChannels) {
  EXPECT_EQ(Shade(0x000000, 0xFFFFFF, 20), 0xCCCCCCu);       // 255 - 51: darkened by 20 * 2.55
  EXPECT_EQ(Shade(0x000000, 0xC0C0C0, 5), 0xB4B4B4u);        // 255 - (1275 + 6300) / 100 = 180
  EXPECT_EQ(Shade(0x336699, 0xFFFFFF, 100), 0x336699u);      // tint + base - 255
  EXPECT_EQ(Shade(0x336699, 0x808080, 100), 0x00001Au);      // red and green below 0 clamp to 0
  EXPECT_EQ(Shade(0x000000, 0x102030, 0), 0x102030u);
}

}  // namespace
}  // namespace kx
