#include "package/picture_params.h"

#include <algorithm>
#include <cstring>

namespace kx {

int32_t ReadLe32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) |
                              (static_cast<uint32_t>(p[3]) << 24));
}

void WriteLe32(uint8_t* p, int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  p[0] = u & 0xFF;
  p[1] = (u >> 8) & 0xFF;
  p[2] = (u >> 16) & 0xFF;
  p[3] = u >> 24;
}

TWaveParam TWaveParam::FromBytes(const uint8_t* p) {
  TWaveParam w;
  w.Amplitude = ReadLe32(p);
  w.Waves = ReadLe32(p + 4);
  w.WaveSpeed = ReadLe32(p + 8);
  w.Mode = ReadLe32(p + 12);
  w.ShiftColumns = p[16];
  w.Waving = p[17];
  w.Perspective = p[18];
  w.Align19 = p[19];
  w.Period = ReadLe32(p + 20);
  w.JitterRange = ReadLe32(p + 24);
  w.Reserved28 = p[28];
  w.Reflection = p[29];
  w.Reserved30 = p[30];
  w.Reserved31 = p[31];
  return w;
}

void TWaveParam::ToBytes(uint8_t* p) const {
  WriteLe32(p, Amplitude);
  WriteLe32(p + 4, Waves);
  WriteLe32(p + 8, WaveSpeed);
  WriteLe32(p + 12, Mode);
  p[16] = ShiftColumns;
  p[17] = Waving;
  p[18] = Perspective;
  p[19] = Align19;
  WriteLe32(p + 20, Period);
  WriteLe32(p + 24, JitterRange);
  p[28] = Reserved28;
  p[29] = Reflection;
  p[30] = Reserved30;
  p[31] = Reserved31;
}

TWeatherParam TWeatherParam::FromBytes(const uint8_t* p) {
  return {ReadLe32(p), ReadLe32(p + 4), ReadLe32(p + 8),
          ReadLe32(p + 12), ReadLe32(p + 16), ReadLe32(p + 20)};
}

void TWeatherParam::ToBytes(uint8_t* p) const {
  WriteLe32(p, Kind);
  WriteLe32(p + 4, Count);
  WriteLe32(p + 8, Speed);
  WriteLe32(p + 12, Angle);
  WriteLe32(p + 16, Length);
  WriteLe32(p + 20, Opacity);
}

TSoundSlot TSoundSlot::FromBytes(const uint8_t* p) {
  TSoundSlot s;
  s.SoundFile.assign(reinterpret_cast<const char*>(p + 1), p[0]);
  s.PlayMode = ReadLe32(p + 256);
  s.MinSeconds = ReadLe32(p + 260);
  s.MaxSeconds = ReadLe32(p + 264);
  return s;
}

void TSoundSlot::ToBytes(uint8_t* p) const {
  std::memset(p, 0, 256);
  const size_t n = std::min(SoundFile.size(), kMaxPath);
  p[0] = static_cast<uint8_t>(n);
  std::memcpy(p + 1, SoundFile.data(), n);
  WriteLe32(p + 256, PlayMode);
  WriteLe32(p + 260, MinSeconds);
  WriteLe32(p + 264, MaxSeconds);
}

}  // namespace kx
