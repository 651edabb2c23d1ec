// Writes the seed corpora of the fuzz targets, made with the writers the saver and the
// authors' tool use: fuzz_make_seeds OUT_FOLDER gives OUT_FOLDER/<target>/seed-<n>.
#include <sys/stat.h>

#include <cstdio>
#include <tuple>
#include <string>
#include <vector>

#include "media/gif_test_util.h"
#include "media/jpeg_codec.h"
#include "package/container.h"
#include "package/ini_file.h"
#include "package/picture_writer.h"
#include "package/project.h"
#include "package/region_mask.h"
#include "platform/file_system.h"

namespace {

using Bytes = std::vector<uint8_t>;
std::string root;

void Put(const std::string& target, const std::string& data) {
  static std::string last;
  static int n = 0;
  if (target != last) {
    last = target;
    n = 0;
    ::mkdir((root + target).c_str(), 0755);
  }
  kx::fs::WriteFile(root + target + "/seed-" + std::to_string(n++), data);
}
void Put(const std::string& target, const Bytes& b) { Put(target, std::string(b.begin(), b.end())); }

kx::Bitmap32 Gradient(int w, int h) {
  kx::Bitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.Row(y)[x] = kx::MakePixel(x * 255 / w, y * 255 / h, (x ^ y) & 255);
  return b;
}

Bytes Jpeg(int w, int h, int quality) {
  Bytes out;
  std::string error;
  kx::EncodeJpeg(Gradient(w, h), quality, out, error);
  return out;
}

// A small Windows bitmap with the 40-byte info header.
Bytes Bmp(int w, int h, int bpp, uint32_t compression, const Bytes& pixels, int colors) {
  Bytes b;
  auto u16 = [&](uint32_t v) { b.push_back(v & 255); b.push_back((v >> 8) & 255); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  const uint32_t offset = 14 + 40 + 4 * colors + (compression == 3 ? 12 : 0);
  b.push_back('B');
  b.push_back('M');
  u32(offset + pixels.size());
  u32(0);
  u32(offset);
  u32(40);
  u32(static_cast<uint32_t>(w));
  u32(static_cast<uint32_t>(h));
  u16(1);
  u16(bpp);
  u32(compression);
  u32(pixels.size());
  u32(2835);
  u32(2835);
  u32(colors);
  u32(0);
  if (compression == 3) {
    u32(0xF800);
    u32(0x07E0);
    u32(0x001F);
  }
  for (int i = 0; i < colors; ++i) u32(0x00102030u * (i + 1));
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

std::string GuiDescription(const std::string& formText) {
  // The form count, then per form its line count and lines, then its actions.
  std::string lines;
  int count = 0;
  size_t pos = 0;
  while (pos < formText.size()) {
    size_t e = formText.find('\n', pos);
    lines += formText.substr(pos, e - pos + 1);
    ++count;
    pos = e + 1;
  }
  return "1\r\n" + std::to_string(count) + "\r\n" + lines +
         "2\r\nLabel1\r\n6\r\nThumbs\r\n \r\n \r\nButton1\r\n0\r\n \r\n \r\n \r\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_make_seeds OUT_FOLDER\n");
    return 2;
  }
  root = std::string(argv[1]) + "/";
  ::mkdir(argv[1], 0755);

  // JPEG: the first byte is the fitted target size.
  for (auto [w, h, q] : {std::tuple{8, 8, 75}, {17, 9, 90}, {40, 24, 30}}) {
    Bytes j = Jpeg(w, h, q);
    j.insert(j.begin(), static_cast<uint8_t>(w * 3 + h));
    Put("jpeg", j);
  }

  // BMP: each depth the decoder reads.
  Put("bmp", Bmp(3, 2, 24, 0, Bytes(2 * 12, 0x40), 0));
  Put("bmp", Bmp(4, -2, 32, 0, Bytes(32, 0x80), 0));
  Put("bmp", Bmp(5, 3, 8, 0, Bytes(24, 1), 4));
  Put("bmp", Bmp(9, 2, 1, 0, Bytes(8, 0xA5), 2));
  Put("bmp", Bmp(6, 2, 4, 0, Bytes(8, 0x12), 3));
  Put("bmp", Bmp(3, 2, 16, 3, Bytes(16, 0x5A), 0));
  Put("bmp", Bmp(4, 2, 8, 1, Bytes{2, 1, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 1, 0, 1}, 4));
  Put("bmp", Bmp(4, 2, 4, 2, Bytes{4, 0x12, 0, 0, 0, 3, 0x12, 0x30, 0, 0, 0, 1}, 3));

  // GIF: a still, an animation with every disposal, an interlaced frame, a local palette.
  using kx::testing::GifFrameDef;
  const std::vector<uint32_t> pal{0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  Put("gif", kx::testing::BuildGif(2, 2, pal, {GifFrameDef{0, 0, 2, 2, {0, 1, 2, 3}}}));
  {
    std::vector<GifFrameDef> frames;
    for (int d = 0; d < 4; ++d) {
      GifFrameDef f{d & 1, d >> 1, 3, 2, {1, 2, 3, 0, 1, 2}};
      f.disposal = d;
      f.transparent = d == 1 ? 0 : -1;
      f.delay_cs = d;
      frames.push_back(f);
    }
    frames[2].interlace = true;
    frames[3].local_palette = {0xFFFFFF, 0x808080};
    frames[3].indices = {0, 1, 0, 1, 0, 1};
    Put("gif", kx::testing::BuildGif(5, 4, pal, frames, 3));
  }

  // Picture files: a living picture with every item, and files that end after item 10 to 13.
  {
    kx::PictureFileContent c;
    c.title = "Pond";
    c.description = "A pond";
    c.thumbnail_jpeg = Jpeg(8, 6, 50);
    c.picture_jpeg = Jpeg(16, 12, 50);
    kx::Bitmap32 mask(16, 12);
    mask.Fill(kx::RegionColor(0));
    for (int y = 6; y < 12; ++y)
      for (int x = 0; x < 16; ++x) mask.Row(y)[x] = kx::RegionColor(x < 8 ? 1 : 3);
    c.region_runs = kx::EncodeRegionMask(mask);
    c.sound_name = "water.wav";
    c.weather.Kind = 1;
    c.weather.Count = 20;
    c.sound_slots[0].SoundFile = "birds.wav";
    c.sound_slots[0].PlayMode = 1;
    c.sound_slots[0].MinSeconds = 2;
    c.sound_slots[0].MaxSeconds = 5;
    c.anim_text = "[Obj0]\r\nObjType=IMG\r\nFilename=duck.bmp\r\nMotion=3\r\n";
    c.extra_text = "x";
    Put("picture_file", kx::BuildPictureFile(c));
    for (int last : {10, 12}) {
      c.last_item = last;
      Put("picture_file", kx::BuildPictureFile(c));
    }
    kx::PictureFileContent still;
    still.thumbnail_jpeg = Jpeg(4, 4, 40);
    still.picture_jpeg = Jpeg(8, 8, 40);
    still.last_item = 10;
    Put("picture_file", kx::BuildPictureFile(still));
  }

  // INI texts: the project's three parts, user settings as the writers leave them, the
  // project container holding them.
  const std::string fileList = "[Files]\r\nCount=3\r\nFile0=a.kxp\r\nFile1=b.jpg\r\nFile2=c.gif\r\n"
                               "[Flags]\r\nFile0=TRUE\r\nFile1=FALSE\r\n";
  kx::TKXCSetting setting;
  setting.TransitionEffects = "1,5,169";
  const std::string settingText = setting.ToIniText();
  const std::string gui = "[UI]\r\nUIFile=KXGUI.kui\r\n";
  {
    kx::IniFile user;
    user.WriteInteger("Setting", "ImageSize", 2);
    user.WriteInteger("Setting", "ImageMode", 2);
    user.WriteInteger("Setting", "Speed", 12);
    user.WriteBool("Setting", "CustomMusic", true);
    user.WriteString("Setting", "Index", "1");
    user.WriteString("MusicList", "C:\\Music\\a.mp3", "");
    user.WriteString("Files", "1", "");
    Put("ini", user.ToText());
  }
  Put("ini", fileList);
  Put("ini", settingText);
  Put("ini", "; comment\r\n[Setting]\r\n ImageMode = \"3\"\r\nIndex=$1\r\nDuration=0x10\r\n[setting]\r\nSpeed=99\r\n");
  Put("ini", kx::WriteContainer({fileList, settingText, gui}));

  // Containers: the package's four parts, and a container inside a part.
  Put("container", kx::WriteContainer({fileList, kx::WriteContainer({fileList, settingText, gui}), "gui", "x"}));
  Put("container", "engine bytes before the package " + kx::WriteContainer({"a", "", "bc"}));

  // GUI descriptions.
  const std::string window =
      "object MainWindow: TfmForm\r\n"
      "  Left = 10\r\n  Top = 20\r\n  ClientWidth = 300\r\n  ClientHeight = 200\r\n"
      "  Caption = '<ScreensaverName>'\r\n  Color = clNavy\r\n  Font.Style = [fsBold]\r\n"
      "  ActiveControl = Edit1\r\n  OnShow = FormShow\r\n"
      "  object Label1: TLabel\r\n    Caption = 'Next'\r\n    Alignment = taCenter\r\n  end\r\n"
      "  object Panel1: TPanel\r\n    BevelOuter = bvLowered\r\n"
      "    object Image1: TImage\r\n      Picture.Data = {07544269746D617000000000}\r\n    end\r\n  end\r\n"
      "  object KXPreview1: TKXPreview\r\n  end\r\n"
      "  object PageControl1: TPageControl\r\n    ActivePage = TabSheet1\r\n"
      "    object TabSheet1: TTabSheet\r\n      object Edit1: TEdit\r\n      end\r\n    end\r\n  end\r\n"
      "  object Shape1: TMyShape\r\n    Brush.Color = $0000FF00\r\n  end\r\n"
      "  object Memo1: TMyMemo\r\n    Lines.Strings = (\r\n      'a'\r\n      'b')\r\n  end\r\n"
      "end\r\n";
  Put("gui", GuiDescription(window));
  Put("gui", window);

  // Animated objects.
  Put("anim_text", "[Obj0]\r\nObjType=IMG\r\nFilename=duck.bmp\r\nMotion=3\r\nOpacity=5\r\nPosLeft=10\r\n"
                   "PosTop=8\r\nInitialDir=1\r\nDirFlip=1\r\n[Obj1]\r\nObjType=GIF\r\nFilename=bird.gif\r\n"
                   "Motion=7\r\nAnimSpeed=12\r\n[Obj2]\r\nObjType=TXT\r\n");
  Put("anim_text", "[Obj0]\r\nObjType=IMG\r\nPosLeftType=3\r\nMotion=4\r\nDisplayTime=5\r\nHideTime=2\r\n");

  // Transition lists.
  Put("transitions", kx::DefaultTransitionEffects());
  Put("transitions", " 3, 17 ,x,200,-1,,169");
  return 0;
}
