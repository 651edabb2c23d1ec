// The fixed-size records of a picture file: wave records (32 bytes), the weather record
// (24 bytes) and sound slots (268 bytes). All integers are 32-bit signed little-endian.
// Boolean bytes keep the byte the file holds (0 off, anything else on), so a record
// written back is the record that was read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kx {

struct TWaveParam {
  static constexpr size_t kSize = 32;
  int32_t Amplitude = 6;     // offset 0: peak displacement; scaled with the picture's width
  int32_t Waves = 17;        // offset 4: wave periods over the picture's height
  int32_t WaveSpeed = 15;    // offset 8: phase advance per 50 ms; copied into WaveValues
  int32_t Mode = 1;          // offset 12: motion mode
  uint8_t ShiftColumns = 0;  // offset 16
  uint8_t Waving = 1;        // offset 17: the region's waving is on
  uint8_t Perspective = 1;   // offset 18
  uint8_t Align19 = 0;       // offset 19: alignment byte
  int32_t Period = 360;      // offset 20: the wave angle is taken modulo this
  int32_t JitterRange = 0;   // offset 24: scaled with the picture's height
  uint8_t Reserved28 = 0;    // offset 28
  uint8_t Reflection = 0;    // offset 29: the region mirrors the rows above it
  uint8_t Reserved30 = 0;    // offsets 30, 31
  uint8_t Reserved31 = 0;

  static TWaveParam FromBytes(const uint8_t* p);
  void ToBytes(uint8_t* p) const;
  bool operator==(const TWaveParam&) const = default;
};

struct TWeatherParam {
  static constexpr size_t kSize = 24;
  int32_t Kind = 0;     // 0 none, 1 snow, 2 rain
  int32_t Count = 0;    // flakes or drops
  int32_t Speed = 0;    // index into the animation speed table
  int32_t Angle = 0;    // rain: drops fall at 180 - Angle degrees
  int32_t Length = 0;   // rain: drop length factor, 10 nominal
  int32_t Opacity = 0;  // 0: the kind's default

  static TWeatherParam FromBytes(const uint8_t* p);
  void ToBytes(uint8_t* p) const;
  bool operator==(const TWeatherParam&) const = default;
};

struct TSoundSlot {
  static constexpr size_t kSize = 268;
  static constexpr size_t kMaxPath = 255;
  std::string SoundFile;   // empty: a free slot; at most 255 characters
  int32_t PlayMode = 0;    // 0 looped, 1 random wait between Min and Max, 2 every MinSeconds
  int32_t MinSeconds = 0;
  int32_t MaxSeconds = 0;

  static TSoundSlot FromBytes(const uint8_t* p);
  // A SoundFile longer than 255 characters is cut.
  void ToBytes(uint8_t* p) const;
  bool operator==(const TSoundSlot&) const = default;
};

using TWaveParams = std::array<TWaveParam, 8>;
using TSoundSlots = std::array<TSoundSlot, 8>;

int32_t ReadLe32(const uint8_t* p);
void WriteLe32(uint8_t* p, int32_t v);

}  // namespace kx
