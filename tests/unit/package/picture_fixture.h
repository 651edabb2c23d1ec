// Picture files for the tests, built with the same writer as the authors' tool.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/jpeg_codec.h"
#include "package/picture_writer.h"

namespace kx::testing {

inline std::vector<uint8_t> SolidJpeg(int w, int h, Pixel color) {
  Bitmap32 b(w, h);
  b.Fill(color);
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_TRUE(EncodeJpeg(b, 90, out, error)) << error;
  return out;
}

// A complete file: 8 x 6 picture, 4 x 3 thumbnail, a 4 x 2 mask, every item present.
inline PictureFileContent SamplePicture() {
  PictureFileContent c;
  c.title = "Lake";
  c.description = "Evening, with rain";
  c.thumbnail_jpeg = SolidJpeg(4, 3, MakePixel(0, 0, 255));
  c.picture_jpeg = SolidJpeg(8, 6, MakePixel(0, 255, 0));
  c.region_runs = {4, 2, 31, 52};
  return c;
}

// Writes bytes to a fresh temporary file and removes it at the end of the scope.
class TempFile {
 public:
  explicit TempFile(const std::vector<uint8_t>& bytes, const char* name = "kx_picture.kxp") {
    path_ = ::testing::TempDir() + std::to_string(counter_++) + "_" + name;
    FILE* f = std::fopen(path_.c_str(), "wb");
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  ~TempFile() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  static inline int counter_ = 0;
  std::string path_;
};

}  // namespace kx::testing
