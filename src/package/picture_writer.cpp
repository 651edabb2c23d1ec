#include "package/picture_writer.h"

#include <algorithm>
#include <cstdio>

namespace kx {
namespace {

struct Out {
  std::vector<uint8_t>& b;
  void Int(int32_t v) {
    uint8_t t[4];
    WriteLe32(t, v);
    b.insert(b.end(), t, t + 4);
  }
  void Bytes(const void* p, size_t n) {
    const auto* c = static_cast<const uint8_t*>(p);
    b.insert(b.end(), c, c + n);
  }
  void Str(const std::string& s) {
    Int(static_cast<int32_t>(s.size()));
    Bytes(s.data(), s.size());
  }
  void Blob(const std::vector<uint8_t>& v) {
    Int(static_cast<int32_t>(v.size()));
    Bytes(v.data(), v.size());
  }
  void Wave(const TWaveParam& w) {
    uint8_t t[TWaveParam::kSize];
    w.ToBytes(t);
    Bytes(t, sizeof t);
  }
};

}  // namespace

std::vector<uint8_t> BuildPictureFile(const PictureFileContent& c) {
  std::vector<uint8_t> bytes;
  Out o{bytes};
  o.Bytes(c.signature.data(), std::min<size_t>(c.signature.size(), 8));
  for (size_t i = c.signature.size(); i < 8; ++i) o.Bytes(" ", 1);
  o.Str(c.title);
  o.Str(c.description);
  o.Blob(c.thumbnail_jpeg);
  o.Int(c.wave_count_field);
  for (int i = 0; i < 4; ++i) o.Wave(c.waves[i]);
  o.Int(static_cast<int32_t>(c.region_runs.size()));
  for (int32_t v : c.region_runs) o.Int(v);
  o.Blob(c.picture_jpeg);
  o.Str(c.sound_name);
  uint8_t weather[TWeatherParam::kSize];
  c.weather.ToBytes(weather);
  o.Bytes(weather, sizeof weather);
  if (c.last_item >= 11) {
    for (const TSoundSlot& s : c.sound_slots) {
      uint8_t t[TSoundSlot::kSize];
      s.ToBytes(t);
      o.Bytes(t, sizeof t);
    }
  }
  if (c.last_item >= 12) o.Str(c.anim_text);
  if (c.last_item >= 13) o.Str(c.extra_text);
  if (c.last_item >= 14) {
    o.Int(c.extra_waves);
    for (int i = 0; i < std::clamp(c.extra_waves, 0, 4); ++i) o.Wave(c.waves[4 + i]);
  }
  return bytes;
}

bool WritePictureFile(const std::string& path, const PictureFileContent& content,
                      std::string& error) {
  const std::vector<uint8_t> bytes = BuildPictureFile(content);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    error = "cannot create " + path;
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    std::remove(path.c_str());
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace kx
