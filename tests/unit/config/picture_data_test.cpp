#include <gtest/gtest.h>

#include "config/picture_data.h"

namespace kx {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> b) {
  std::vector<uint8_t> v;
  for (int x : b) v.push_back(static_cast<uint8_t>(x));
  return v;
}

TEST(PictureData, SplitsClassNameAndStream) {
  struct Case {
    std::vector<uint8_t> data;
    bool glyph;  // a bitmap-only property: no class name
    bool ok;
    const char* cls;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {{}, false, true, "", {}},
      {Bytes({7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 0, 0, 0, 0}), false, true, "TBitmap", {}},
      {Bytes({7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 2, 0, 0, 0, 'B', 'M', 9}), false, true, "TBitmap", Bytes({'B', 'M'})},
      {Bytes({10, 'T', 'J', 'P', 'E', 'G', 'I', 'm', 'a', 'g', 'e', 1, 0, 0, 0, 0xFF}), false, true, "TJPEGImage", Bytes({0xFF})},
      {Bytes({5, 'T', 'I', 'c', 'o', 'n', 1, 2, 3}), false, true, "TIcon", Bytes({1, 2, 3})},  // kept whole
      {Bytes({7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 0xFF, 0xFF, 0xFF, 0xFF}), false, false, "", {}},
      {Bytes({7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 0, 0}), false, false, "", {}},
      {Bytes({200, 'T'}), false, false, "", {}},
      {Bytes({2, 0, 0, 0, 'B', 'M'}), true, true, "TBitmap", Bytes({'B', 'M'})},
      {Bytes({3, 0, 0, 0, 'B', 'M'}), true, false, "", {}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    PictureData pic;
    std::string error;
    const bool ok = c.glyph ? ParseBitmapData(c.data, pic, &error) : ParsePictureData(c.data, pic, &error);
    EXPECT_EQ(ok, c.ok) << "case " << i;
    if (!ok) {
      EXPECT_FALSE(error.empty()) << "case " << i;
      continue;
    }
    EXPECT_EQ(pic.graphic_class, c.cls) << "case " << i;
    EXPECT_EQ(pic.bytes, c.bytes) << "case " << i;
  }
}

}  // namespace
}  // namespace kx
