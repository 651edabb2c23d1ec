#include "config/picture_render.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace kx {
namespace {

using test::TempDir;

// A 24-bit Windows bitmap: left half red, right half blue.
std::string TwoColourBmp(int w, int h) {
  const int stride = (w * 3 + 3) & ~3;
  std::string b;
  auto u16 = [&](int v) { b += static_cast<char>(v & 0xFF); b += static_cast<char>((v >> 8) & 0xFF); };
  auto u32 = [&](int v) { u16(v & 0xFFFF); u16((v >> 16) & 0xFFFF); };
  b += "BM";
  u32(54 + stride * h); u32(0); u32(54);
  u32(40); u32(w); u32(h); u16(1); u16(24); u32(0); u32(stride * h); u32(2835); u32(2835); u32(0); u32(0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b += x < w / 2 ? std::string("\x00\x00\xFF", 3) : std::string("\xFF\x00\x00", 3);
    b.append(static_cast<size_t>(stride - w * 3), '\0');
  }
  return b;
}

TEST(PictureRender, PreviewIsSqueezedToTheControlSize) {
  TempDir dir;
  const std::string bmp = dir.Write("wide.bmp", TwoColourBmp(800, 600));
  Bitmap32 out;
  std::string error;
  ASSERT_TRUE(RenderPreview(bmp, 236, 176, out, error)) << error;
  EXPECT_EQ(out.Width(), 236);
  EXPECT_EQ(out.Height(), 176);
  EXPECT_EQ(out.GetPixel(5, 170) & 0xFFFFFF, 0xFF0000u);    // red on the left
  EXPECT_EQ(out.GetPixel(230, 5) & 0xFFFFFF, 0x0000FFu);    // blue on the right
  // Another extension: an empty (black) bitmap of the control's size.
  const std::string txt = dir.Write("notes.txt", "hello");
  ASSERT_TRUE(RenderPreview(txt, 50, 40, out, error));
  EXPECT_EQ(out.Width(), 50);
  EXPECT_EQ(out.GetPixel(10, 10) & 0xFFFFFF, 0u);
}

TEST(PictureRender, UnreadablePictureKeepsThePreviousPreview) {
  TempDir dir;
  const std::string bad = dir.Write("broken.JPG", "not a jpeg at all");
  Bitmap32 out(7, 5);
  std::string error;
  EXPECT_FALSE(RenderPreview(bad, 236, 176, out, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(out.Width(), 7);
  EXPECT_FALSE(RenderPreview(dir / "missing.gif", 236, 176, out, error));
}

TEST(PictureRender, ThumbnailsKeepTheirPlaces) {
  TempDir dir;
  const std::string bmp = dir.Write("Pic.BMP", TwoColourBmp(160, 120));
  int messages = 0;
  const auto count = [&](const std::string&) { ++messages; };
  const ThumbnailEntry ok = BuildThumbnail(bmp, 80, 60, count);
  EXPECT_EQ(ok.thumbnail.Width(), 80);
  EXPECT_EQ(ok.thumbnail.Height(), 60);
  EXPECT_EQ(ok.title, "Pic.BMP");
  // Missing, unsupported and broken files give empty entries instead of dropping out.
  EXPECT_TRUE(BuildThumbnail(dir / "gone.jpg", 80, 60, count).thumbnail.Empty());
  EXPECT_TRUE(BuildThumbnail(dir.Write("x.png", "png"), 80, 60, count).thumbnail.Empty());
  const ThumbnailEntry broken = BuildThumbnail(dir.Write("b.gif", "GIF89a"), 80, 60, count);
  EXPECT_TRUE(broken.thumbnail.Empty());
  EXPECT_EQ(broken.title, "b.gif");
  // A picture file that cannot be read tells the user and still takes its place.
  const ThumbnailEntry kxp = BuildThumbnail(dir.Write("c.kxp", "junk"), 80, 60, count);
  EXPECT_TRUE(kxp.thumbnail.Empty());
  EXPECT_EQ(messages, 1);
}

}  // namespace
}  // namespace kx
