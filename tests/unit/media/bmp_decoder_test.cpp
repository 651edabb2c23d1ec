#include "media/bmp_decoder.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(v & 255);
  b.push_back((v >> 8) & 255);
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

struct Layout {
  int header = 40;  // 12, 40 or 108
  int w = 3, h = 2, bpp = 8;
  uint32_t compression = 0;
  std::vector<uint32_t> palette;  // 0xRRGGBB
  std::vector<uint32_t> masks;    // written after a 40-byte header, inside a bigger one
  Bytes pixels;                   // as stored
};

Bytes Build(const Layout& s) {
  Bytes info;
  Put32(info, s.header);
  if (s.header == 12) {
    Put16(info, s.w);
    Put16(info, s.h);
    Put16(info, 1);
    Put16(info, s.bpp);
  } else {
    Put32(info, s.w);
    Put32(info, static_cast<uint32_t>(s.h));
    Put16(info, 1);
    Put16(info, s.bpp);
    Put32(info, s.compression);
    Put32(info, static_cast<uint32_t>(s.pixels.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, static_cast<uint32_t>(s.palette.size()));
    Put32(info, 0);
    if (s.header > 40) {
      for (size_t i = 0; i < 4; ++i) Put32(info, i < s.masks.size() ? s.masks[i] : 0);
      info.resize(s.header, 0);
    } else {
      for (uint32_t m : s.masks) Put32(info, m);
    }
  }
  for (uint32_t c : s.palette) {
    info.push_back(c & 255);
    info.push_back((c >> 8) & 255);
    info.push_back((c >> 16) & 255);
    if (s.header != 12) info.push_back(0);
  }
  Bytes file = {'B', 'M'};
  Put32(file, static_cast<uint32_t>(14 + info.size() + s.pixels.size()));
  Put32(file, 0);
  Put32(file, static_cast<uint32_t>(14 + info.size()));
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), s.pixels.begin(), s.pixels.end());
  return file;
}

// The picture most cases hold: top row red, green, blue; bottom row white, black, yellow.
const Pixel R = MakePixel(255, 0, 0), G = MakePixel(0, 255, 0), B = MakePixel(0, 0, 255),
            W = MakePixel(255, 255, 255), K = MakePixel(0, 0, 0), Y = MakePixel(255, 255, 0);
const std::vector<Pixel> kPicture = {R, G, B, W, K, Y};
const std::vector<uint32_t> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0xFFFF00};

TEST(BmpDecoderTest, Formats) {
  struct Case {
    const char* name;
    Layout layout;
    std::vector<Pixel> expect = kPicture;
  };
  std::vector<Case> cases;
  cases.push_back({"8 bit bottom-up", {40, 3, 2, 8, 0, kPalette, {}, {4, 0, 5, 0, 1, 2, 3, 0}}});
  cases.push_back({"8 bit core header", {12, 3, 2, 8, 0, kPalette, {}, {4, 0, 5, 0, 1, 2, 3, 0}}});
  cases.push_back({"4 bit", {40, 3, 2, 4, 0, kPalette, {}, {0x40, 0x50, 0, 0, 0x12, 0x30, 0, 0}}});
  cases.push_back({"1 bit", {40, 3, 2, 1, 0, {0x000000, 0xFFFFFF}, {}, {0x60, 0, 0, 0, 0xA0, 0, 0, 0}},
                   {W, K, W, K, W, W}});
  cases.push_back({"24 bit bottom-up", {40, 3, 2, 24, 0, {}, {},
                   {255, 255, 255, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0}}});
  cases.push_back({"24 bit top-down", {40, 3, -2, 24, 0, {}, {},
                   {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 255, 0, 0, 0}}});
  cases.push_back({"32 bit", {40, 3, 2, 32, 0, {}, {},
                   {255, 255, 255, 9, 0, 0, 0, 9, 0, 255, 255, 9, 0, 0, 255, 9, 0, 255, 0, 9, 255, 0, 0, 9}}});
  {
    // Masks blue 0xFF000000, green 0x00FF0000, red 0x0000FF00 after a 40-byte header.
    Layout s{40, 3, 2, 32, 3, {}, {0x0000FF00, 0x00FF0000, 0xFF000000}, {}};
    for (Pixel p : {W, K, Y, R, G, B}) Put32(s.pixels, (PixelB(p) << 24) | (PixelG(p) << 16) | (PixelR(p) << 8));
    cases.push_back({"32 bit bit fields", s});
    s.header = 108;  // the masks inside a version 4 header
    cases.push_back({"32 bit bit fields in V4 header", s});
  }
  {
    Layout s{40, 3, 2, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, {}};
    for (uint32_t v : {0xFFFFu, 0u, 0xFFE0u}) Put16(s.pixels, v);
    Put16(s.pixels, 0);
    for (uint32_t v : {0xF800u, 0x07E0u, 0x001Fu}) Put16(s.pixels, v);
    Put16(s.pixels, 0);
    cases.push_back({"16 bit 5-6-5", s});
    Layout t{40, 3, 2, 16, 0, {}, {}, {}};
    for (uint32_t v : {0x7FFFu, 0u, 0x7FE0u, 0u, 0x7C00u, 0x03E0u, 0x001Fu, 0u}) Put16(t.pixels, v);
    cases.push_back({"16 bit 5-5-5", t});
  }
  cases.push_back({"RLE8", {40, 3, 2, 8, 1, kPalette, {}, {0, 3, 4, 0, 5, 0, 0, 0, 1, 1, 1, 2, 1, 3, 0, 1}}});
  cases.push_back({"RLE8 delta", {40, 3, 2, 8, 1, kPalette, {}, {0, 2, 2, 1, 1, 3, 0, 1}}, {K, K, B, K, K, K}});
  cases.push_back({"RLE8 run past the row end", {40, 3, 2, 8, 1, kPalette, {}, {5, 4, 0, 0, 3, 1, 0, 1}}, {R, R, R, W, W, W}});
  cases.push_back({"RLE4", {40, 3, 2, 4, 2, kPalette, {}, {0, 3, 0x40, 0x50, 0, 0, 0, 3, 0x12, 0x30, 0, 1}}});

  for (const Case& c : cases) {
    const Bytes file = Build(c.layout);
    Bitmap32 out;
    std::string error;
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), out, error)) << c.name << ": " << error;
    ASSERT_EQ(out.Width(), 3) << c.name;
    ASSERT_EQ(out.Height(), 2) << c.name;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(out.GetPixel(i % 3, i / 3), c.expect[i]) << c.name << " pixel " << i;
  }
}

TEST(BmpDecoderTest, DamagedFilesFail) {
  const Bytes good = Build({40, 3, 2, 24, 0, {}, {}, Bytes(24, 7)});
  std::vector<std::pair<const char*, Bytes>> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"magic only", {'B', 'M'}});
  Bytes bad_magic = good;
  bad_magic[0] = 'X';
  cases.push_back({"bad magic", bad_magic});
  cases.push_back({"pixels cut", Bytes(good.begin(), good.end() - 5)});
  cases.push_back({"header cut", Bytes(good.begin(), good.begin() + 30)});
  cases.push_back({"zero width", Build({40, 0, 2, 24, 0, {}, {}, Bytes(24, 7)})});
  cases.push_back({"bit depth 7", Build({40, 3, 2, 7, 0, {}, {}, Bytes(24, 7)})});
  cases.push_back({"JPEG compression", Build({40, 3, 2, 24, 4, {}, {}, Bytes(24, 7)})});
  cases.push_back({"huge", Build({40, 100000, 100000, 24, 0, {}, {}, Bytes(24, 7)})});
  cases.push_back({"huge negative height", Build({40, 3, INT32_MIN, 24, 0, {}, {}, Bytes(24, 7)})});
  cases.push_back({"no colour table", Build({40, 3, 2, 8, 0, {}, {}, {}})});
  cases.push_back({"RLE8 absolute run past the end", Build({40, 3, 2, 8, 1, kPalette, {}, {0, 40, 1, 2}})});
  cases.push_back({"RLE top-down", Build({40, 3, -2, 8, 1, kPalette, {}, {0, 1}})});
  cases.push_back({"RLE8 with 4 bits", Build({40, 3, 2, 4, 1, kPalette, {}, {0, 1}})});
  // Sizes the file cannot hold fail before the picture is allocated: rows that must be in
  // the file, and run-length streams shorter than an end-of-line marker per row.
  cases.push_back({"rows beyond the file", Build({40, 127, 1900576, 8, 0, kPalette, {}, Bytes(4096, 1)})});
  cases.push_back({"RLE8 stream too short for its rows", Build({40, 3, 4000, 8, 1, kPalette, {}, {0, 1}})});
  cases.push_back({"RLE4 stream too short for its pixels", Build({40, 60000, 2, 4, 2, kPalette, {}, {0, 0, 0, 1}})});
  Bytes huge_info = good;
  huge_info[14] = 0xFF;  // info header size beyond the file
  cases.push_back({"info header past the end", huge_info});
  for (auto& [name, bytes] : cases) {
    Bitmap32 out;
    std::string error;
    EXPECT_FALSE(DecodeBmp(bytes.data(), bytes.size(), out, error)) << name;
    EXPECT_FALSE(error.empty()) << name;
    EXPECT_TRUE(out.Empty()) << name;
  }
}

}  // namespace
}  // namespace kx
