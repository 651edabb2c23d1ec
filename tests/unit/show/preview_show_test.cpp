#include "show/preview_show.h"

#include <gtest/gtest.h>

#include "media/jpeg_codec.h"
#include "test_support.h"

namespace kx {
namespace {

std::string WriteJpeg(test::TempDir& dir, const std::string& name, int w, int h, Pixel colour) {
  Bitmap32 b(w, h);
  b.Fill(colour);
  std::vector<uint8_t> jpeg;
  std::string error;
  EncodeJpeg(b, 92, jpeg, error);
  return dir.Write(name, std::string(jpeg.begin(), jpeg.end()));
}

enum Colour { kBlack, kRed, kGreen, kBlue, kMixed };
Colour ColourOf(Pixel p) {
  const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  if (r < 40 && g < 40 && b < 40) return kBlack;
  if (r > 200 && g < 40 && b < 40) return kRed;
  if (g > 200 && r < 40 && b < 40) return kGreen;
  if (b > 200 && r < 40 && g < 40) return kBlue;
  return kMixed;
}

// A preview window on a simulated clock: it records every presented frame and ends the
// preview (its parent goes away) at a chosen time.
class MemoryPreviewHost : public PreviewHost {
 public:
  struct Frame {
    uint32_t at;
    int width, height;
    Colour centre, corner;
  };
  uint32_t TickCount() override { return now; }
  void Sleep(int ms) override { now += static_cast<uint32_t>(ms); }
  bool Pump() override {
    ++pumps;
    return now - start < lifetime;
  }
  void Present(const Bitmap32& s) override {
    frames.push_back({now - start, s.Width(), s.Height(), ColourOf(s.GetPixel(s.Width() / 2, s.Height() / 2)),
                      ColourOf(s.GetPixel(0, 0))});
  }
  uint32_t start = 50000, now = 50000, lifetime = 12000;
  int pumps = 0;
  std::vector<Frame> frames;
};

TKXCProject PreviewProject(test::TempDir& dir) {
  TKXCProject p;
  p.FileList.Names = {WriteJpeg(dir, "green.jpg", 64, 48, MakePixel(0, 255, 0)),
                      WriteJpeg(dir, "blue.jpg", 64, 48, MakePixel(0, 0, 255))};
  p.FileList.Flags = {"TRUE", "FALSE"};  // the preview shows every picture
  p.Setting.PreviewFile = WriteJpeg(dir, "preview.jpg", 80, 60, MakePixel(255, 0, 0));
  p.Setting.Duration = 2;
  p.Setting.TransitionTime = 600;
  p.Setting.TransitionEffects = "1";
  p.Setting.ShowImageMode = 1;  // in order: green, then blue
  p.Setting.Stretch = true;
  p.Setting.Proportional = false;
  return p;
}

TEST(PreviewShow, ThePictureForDurationThenTheShowAtMost15FramesASecond) {
  test::TempDir dir;
  MemoryPreviewHost host;
  PreviewShow preview(PreviewProject(dir), 152, 112, host);
  preview.Run();
  ASSERT_FALSE(host.frames.empty());
  EXPECT_TRUE(preview.ShowStarted());
  // The preview picture first, over the whole window, for the project's Duration.
  EXPECT_EQ(host.frames[0].at, 0u);
  EXPECT_EQ(host.frames[0].centre, kRed);
  EXPECT_EQ(host.frames[0].corner, kRed);
  size_t firstShow = 0;
  while (firstShow < host.frames.size() && host.frames[firstShow].centre == kRed) ++firstShow;
  ASSERT_LT(firstShow, host.frames.size());
  EXPECT_GE(host.frames[firstShow].at, 2000u);
  EXPECT_LT(host.frames[firstShow].at, 2200u);
  // Then the show at the window's size: the first picture, a transition, the second.
  EXPECT_EQ(host.frames[firstShow].centre, kGreen);
  EXPECT_EQ(host.frames[firstShow].corner, kGreen);  // stretched over the window
  bool mixed = false, blue = false;
  for (size_t i = firstShow; i < host.frames.size(); ++i) {
    const auto& f = host.frames[i];
    EXPECT_EQ(f.width, 152);
    EXPECT_EQ(f.height, 112);
    if (blue) continue;
    if (f.centre == kBlue || f.corner == kBlue) {
      blue = true;
      EXPECT_GE(f.at, 4000u);  // green stays for Duration
    }
    if (f.centre == kMixed) mixed = true;  // a transition frame: the fade between the two
  }
  EXPECT_TRUE(blue);
  EXPECT_TRUE(mixed);
  // Never more than 15 frames a second.
  for (size_t i = 1; i < host.frames.size(); ++i)
    EXPECT_GE(host.frames[i].at - host.frames[i - 1].at, static_cast<uint32_t>(PreviewShow::kFrameMs))
        << "frame " << i;
  // It ended when its host said so, not long after.
  EXPECT_GE(host.now - host.start, host.lifetime);
  EXPECT_LT(host.now - host.start, host.lifetime + 1000);
}

TEST(PreviewShow, EndsDuringThePictureAndWithoutAPreviewFile) {
  test::TempDir dir;
  {
    MemoryPreviewHost host;
    host.lifetime = 500;  // the dialog closes before Duration is over
    PreviewShow preview(PreviewProject(dir), 100, 80, host);
    preview.Run();
    EXPECT_FALSE(preview.ShowStarted());
    ASSERT_EQ(host.frames.size(), 1u);
    EXPECT_EQ(host.frames[0].centre, kRed);
  }
  {
    // A preview file that cannot be read: black, then the show.
    TKXCProject p = PreviewProject(dir);
    p.Setting.PreviewFile = dir.Write("broken.jpg", "not a jpeg");
    MemoryPreviewHost host;
    host.lifetime = 3000;
    PreviewShow preview(p, 100, 80, host);
    preview.Run();
    ASSERT_GE(host.frames.size(), 2u);
    EXPECT_EQ(host.frames[0].centre, kBlack);
    EXPECT_EQ(host.frames.back().centre, kGreen);
  }
  {
    // An empty window draws nothing.
    MemoryPreviewHost host;
    PreviewShow preview(PreviewProject(dir), 0, 0, host);
    preview.Run();
    EXPECT_TRUE(host.frames.empty());
  }
}

}  // namespace
}  // namespace kx
