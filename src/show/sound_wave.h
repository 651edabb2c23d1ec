// Reading a WAVE sound file for the sound effect player. A WAVE file is a RIFF container:
// "RIFF", 32-bit size, "WAVE", then chunks (4-byte id, 32-bit little-endian length, data,
// a pad byte when the length is odd). The "fmt " chunk gives the format (PCM: tag 1, or
// the extensible tag 0xFFFE), channels, sample rate, bytes per second, block align and
// bits per sample; the "data" chunk holds the samples. Accepted: PCM, 8 or 16 bits, one
// or two channels, any rate.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kx {

struct WaveSound {
  int Channels = 0;
  int SampleRate = 0;
  int BitsPerSample = 0;
  int BlockAlign = 0;
  size_t DataOffset = 0;  // where the samples start in the file's bytes
  size_t DataSize = 0;    // whole blocks only
};

// False with a short message when the bytes are not a WAVE file the player can use. A
// data chunk that claims more bytes than the file has is cut to what is there.
bool ParseWaveSound(std::string_view bytes, WaveSound& out, std::string& error);

}  // namespace kx
